#include "frames/image_postscript.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/int_math.h"
#include "graphics/eps_bounding_box.h"
#include "graphics/postscript.h"
#include "graphics/ps_text_builders.h"

namespace {

int16_t Short(int64_t v) { return int16_t(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); }

IntRect Normalised(IntRect r)
{
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

}  // namespace

int32_t EpsPlacementText(const EpsPlacement& p, const IntRect& rawBox, Handle text)
{
    const IntRect box = Normalised(rawBox);
    const double boxWidth = double(box.right) - box.left;
    const double boxHeight = double(box.bottom) - box.top;
    if (boxWidth <= 0 || boxHeight <= 0)
        return 1;
    double sx = 0;
    double sy = 0;
    if (p.fit) {
        sx = (double(p.destination.right) - p.destination.left) / boxWidth;
        sy = (double(p.destination.bottom) - p.destination.top) / boxHeight;
    } else {
        sx = double(p.hScale) / 100.0 * p.deviceX;
        sy = double(p.vScale) / 100.0 * p.deviceY;
    }
    if (!std::isfinite(sx) || !std::isfinite(sy))
        return 1;
    const int64_t centreX = (int64_t(p.destination.left) + p.destination.right) / 2;
    const int64_t centreY = (int64_t(p.destination.top) + p.destination.bottom) / 2;
    int32_t err = PsPolygonClipPath(p.clipCorners.corners, 4, text);
    err |= PsTranslate(Short(-int64_t(p.windowOrigin.x)), Short(-int64_t(p.windowOrigin.y)), text);
    err |= PsTranslate(Short(p.frameOrigin.x), Short(p.frameOrigin.y), text);
    err |= PsRotate(Short(-TruncToInt32(p.frameAngle)), text);
    err |= PsTranslate(Short(centreX - p.frameOrigin.x), Short(centreY - p.frameOrigin.y), text);
    err |= PsRotate(Short(-int64_t(p.pictureAngle)), text);
    err |= PsScale(sx, -sy, 2, text);
    err |= PsTranslate(Short(-((int64_t(box.left) + box.right) / 2)), Short(-((int64_t(box.top) + box.bottom) / 2)),
                       text);
    err |= TextHandleAppend(text, "\n");
    return err;
}

int32_t ImageSendEps(PassThroughSink* sink, const PathRecord& file, const EpsPlacement& placement)
{
    IntRect box;
    if (!sink || EpsReadBoundingBox(&file, &box) != 0)
        return 1;
    HandleOwner text(HandleNew(1));
    if (!text.get() || TextHandleAppend(text.get(), kEpsProlog) != 0 ||
        EpsPlacementText(placement, box, text.get()) != 0 ||
        TextHandleAppend(text.get(), "%%BeginDocument:A\n") != 0)
        return 1;
    int32_t refused = PsSendCStr(sink, reinterpret_cast<const char*>(HandleData(text.get())));
    const int32_t sent = refused ? 1 : PsSendFile(sink, &file);
    refused |= PsSendCStr(sink, "%%EndDocument\n");
    refused |= PsSendCStr(sink, kEpsEpilog);
    return (refused || sent) ? 1 : 0;
}
