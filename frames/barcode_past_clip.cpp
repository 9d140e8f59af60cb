#include "frames/barcode_past_clip.h"

#include <algorithm>

#include "barcode/barcode_measure.h"
#include "graphics/rotation.h"
#include "platform/dc.h"

bool BarcodeRunsPastClip(Dc* dc, const BarcodeRecord& rec, int16_t num, int16_t den)
{
    BarcodeRecord measured = rec;
    IntRect bounds;
    MeasureBarcode(dc, &measured, &bounds, num, den);
    if (bounds.right <= bounds.left || bounds.bottom <= bounds.top)
        return false;
    // The bounds reach a margin before the bars' origin and a margin past
    // their far side; the drawing starts that margin in from the origin.
    const int32_t left = rec.originX - bounds.left;
    const int32_t top = rec.originY - bounds.top;
    const int32_t right = rec.originX + bounds.right;
    const int32_t bottom = rec.originY + bounds.bottom;
    IntPoint corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    RotatePoint(corners, 4, rec.centreX, rec.centreY, rec.angle);
    IntRect clip;
    dc->getClipBox(&clip);
    // A device unit of slack: the label's clip is taken in to whole dots.
    return std::any_of(std::begin(corners), std::end(corners), [&clip](const IntPoint& p) {
        return p.x < clip.left - 1 || p.x > clip.right + 1 || p.y < clip.top - 1 || p.y > clip.bottom + 1;
    });
}
