#include "frames/barcode_past_clip.h"

#include <algorithm>
#include <memory>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_measure.h"
#include "graphics/rotation.h"
#include "platform/dc.h"
#include "platform/ink_bounds_recorder.h"

namespace {

// Where the barcode can put ink: its measured box (margin and all), turned
// with it, and as much again around it.
IntRect ReachOf(Dc* dc, const BarcodeRecord& rec, int16_t num, int16_t den)
{
    BarcodeRecord measured = rec;
    IntRect bounds;
    MeasureBarcode(dc, &measured, &bounds, num, den);
    IntPoint corners[4] = {{rec.originX + bounds.left, rec.originY + bounds.top},
                           {rec.originX + bounds.right, rec.originY + bounds.top},
                           {rec.originX + bounds.right, rec.originY + bounds.bottom},
                           {rec.originX + bounds.left, rec.originY + bounds.bottom}};
    RotatePoint(corners, 4, rec.centreX, rec.centreY, rec.angle);
    IntRect reach{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const IntPoint& p : corners) {
        reach.left = std::min(reach.left, p.x);
        reach.top = std::min(reach.top, p.y);
        reach.right = std::max(reach.right, p.x);
        reach.bottom = std::max(reach.bottom, p.y);
    }
    const int32_t pad = std::max(reach.right - reach.left, reach.bottom - reach.top) + 64;
    return IntRect{reach.left - pad, reach.top - pad, reach.right + pad, reach.bottom + pad};
}

}  // namespace

bool BarcodeRunsPastClip(Dc* dc, const BarcodeRecord& rec, int16_t num, int16_t den)
{
    // The barcode drawn again where only its ink is measured: its bars and
    // the glyphs of its caption, not the blank space measured around them.
    const IntRect reach = ReachOf(dc, rec, num, den);
    InkBoundsRecorder recorder;
    std::unique_ptr<Dc> probe = Dc::ForRecording(&recorder, dc->getDeviceCaps(LOGPIXELSX),
                                                 IntSize{reach.right - reach.left, reach.bottom - reach.top});
    if (!probe)
        return false;
    recorder.Attach(probe.get());
    probe->setMapMode(MM_TEXT);
    probe->setWindowOrg(reach.left, reach.top);
    probe->selectFont(dc->font());
    DrawBarcode(probe.get(), &rec, num, den);
    const QRectF ink = recorder.Ink();
    if (ink.isNull())
        return false;
    IntRect clip;
    dc->getClipBox(&clip);
    // A device unit of slack: the label's clip is taken in to whole dots.
    return ink.left() < clip.left - 1 || ink.top() < clip.top - 1 || ink.right() > clip.right + 1 ||
           ink.bottom() > clip.bottom + 1;
}
