#include "frames/image_geometry.h"

#include <algorithm>
#include <cmath>

#include "foundation/int_math.h"
#include "graphics/corner_quad.h"
#include "graphics/dib_format.h"
#include "graphics/dib_image.h"
#include "graphics/placement.h"
#include "graphics/rotation.h"

namespace {

void OffsetQuad(CornerQuad* q, int32_t dx, int32_t dy)
{
    for (IntPoint& p : q->corners) {
        p.x = Add32(p.x, dx);
        p.y = Add32(p.y, dy);
    }
}

IntRect OffsetRect(IntRect r, int32_t dx, int32_t dy)
{
    r.left = Add32(r.left, dx);
    r.right = Add32(r.right, dx);
    r.top = Add32(r.top, dy);
    r.bottom = Add32(r.bottom, dy);
    return r;
}

}  // namespace

float ImageAdjustedScale(float scale, int32_t delta)
{
    const double step = std::trunc(double(ImageUsableScale(scale)) / 100.0 * delta);
    const double adjusted = double(ImageUsableScale(scale)) + step;
    return float(std::clamp(adjusted, double(kImageMinScale), double(kImageMaxScale)));
}

float ImageUsableScale(float scale)
{
    if (std::isnan(scale))
        return 100.0f;
    return std::clamp(scale, 0.0f, kImageMaxScale);
}

IntRect ImageScaledRect(const IntRect& r, float horizontal, float vertical)
{
    const double width = double(r.right) - r.left + 1;
    const double height = double(r.bottom) - r.top + 1;
    IntRect out = r;
    out.right = TruncToInt32(r.left + width * ImageUsableScale(horizontal) / 100.0 - 1);
    out.bottom = TruncToInt32(r.top + height * ImageUsableScale(vertical) / 100.0 - 1);
    return out;
}

int16_t ImageTotalAngle(int16_t pictureAngle, float frameAngle)
{
    const int32_t total = TruncToInt32(double(pictureAngle) + double(frameAngle));
    return int16_t(total % 360);
}

IntRect ImageTargetRect(const ImageBlockA& a, const FrameGeometry& frame)
{
    if (a.fit)
        return IntRect{0, 0, frame.width - 1, frame.height - 1};
    const IntRect scaled = ImageScaledRect(a.imageRect, a.hScale, a.vScale);
    return OffsetRect(scaled, -scaled.left, -scaled.top);
}

void ImageRotatedGeometry(const ImageBlockA& a, const FrameGeometry& frame, ImageBlockB* b)
{
    CornerQuad q;
    RectToCornerQuad(ImageTargetRect(a, frame), &q);
    if (TruncToInt32(frame.angle) != 0)
        RotatePoint(q.corners + 1, 3, q.corners[0].x, q.corners[0].y, frame.angle);
    OffsetQuad(&q, frame.x, frame.y);
    if (a.pictureAngle != 0) {
        const int32_t cx = int32_t((int64_t(q.corners[0].x) + q.corners[2].x) / 2);
        const int32_t cy = int32_t((int64_t(q.corners[0].y) + q.corners[2].y) / 2);
        RotatePoint(q.corners, 4, cx, cy, a.pictureAngle);
    }
    q.angle = float(ImageTotalAngle(a.pictureAngle, frame.angle));
    IntRect bounds;
    CornerQuadBounds(q, &bounds);
    b->rotatedPan = IntPoint{Sub32(bounds.left, frame.x), Sub32(bounds.top, frame.y)};
    OffsetQuad(&q, -bounds.left, -bounds.top);
    b->rotatedCorners = q;
    b->rotatedRect = OffsetRect(bounds, -bounds.left, -bounds.top);
}

void ImageDestination(const ImageBlockA& a, const ImageBlockB& b, const FrameGeometry& frame, IntRect* rect,
                      CornerQuad* corners)
{
    const IntPoint pan = a.fit ? IntPoint{} : a.pan;
    if (ImageTotalAngle(a.pictureAngle, frame.angle) != 0) {
        IntPoint turned = pan;
        RotatePoint(&turned, 1, 0, 0, frame.angle);
        const int32_t dx = Add32(Add32(frame.x, b.rotatedPan.x), turned.x);
        const int32_t dy = Add32(Add32(frame.y, b.rotatedPan.y), turned.y);
        *rect = OffsetRect(b.rotatedRect, dx, dy);
        *corners = b.rotatedCorners;
        OffsetQuad(corners, dx, dy);
        return;
    }
    if (a.fit) {
        FramePlacement p = frame;
        PlacementInsetSides(&p, frame.lineWidth, frame.sides);
        *rect = IntRect{p.x, p.y, Add32(p.x, p.width - 1), Add32(p.y, p.height - 1)};
        PlacementCorners(p, corners);
        return;
    }
    const IntRect scaled = ImageScaledRect(a.imageRect, a.hScale, a.vScale);
    *rect = OffsetRect(scaled, Add32(frame.x, pan.x), Add32(frame.y, pan.y));
    RectToCornerQuad(*rect, corners);
}

bool ImageSizeWorkable(int64_t width, int64_t height)
{
    if (width < 1 || height < 1 || width > kDibImageMaxSide || height > kDibImageMaxSide)
        return false;
    return uint64_t(width) * uint64_t(height) * 4 <= kDibMaxBlockSize;
}
