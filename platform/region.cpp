#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <mutex>

#include "platform/coverage.h"
#include "platform/dc.h"

namespace {

QRect Bound()
{
    return QRect(QPoint(-Region::kLimit, -Region::kLimit), QPoint(Region::kLimit - 1, Region::kLimit - 1));
}

// The rectangle's pixels: right and bottom excluded, corners in any order.
// Held within +-limit, so that its sizes fit an int.
QRect PixelRect(const IntRect& r, int64_t limit = Region::kLimit)
{
    const int64_t l = std::max<int64_t>(std::min(r.left, r.right), -limit);
    const int64_t rr = std::min<int64_t>(std::max(r.left, r.right), limit);
    const int64_t t = std::max<int64_t>(std::min(r.top, r.bottom), -limit);
    const int64_t b = std::min<int64_t>(std::max(r.top, r.bottom), limit);
    if (l >= rr || t >= b)
        return QRect();
    return QRect(QPoint(int(l), int(t)), QPoint(int(rr - 1), int(b - 1)));
}

// The area of the rectangle, exact: a shape over it is cut to the bound
// only as pixels.
QRectF AreaRect(const IntRect& r)
{
    const double l = std::min(r.left, r.right);
    const double t = std::min(r.top, r.bottom);
    return QRectF(l, t, double(std::max(r.left, r.right)) - l, double(std::max(r.top, r.bottom)) - t);
}

}  // namespace

struct Region::Scan {
    std::once_flag made;
    QRegion pixels;
    // Set once `pixels` is whole, for readers that would rather not wait.
    std::atomic<bool> done{false};
};

Region::Region() = default;

Region Region::FromQRegion(const QRegion& pixels)
{
    Region r;
    r.pixels_ = pixels;
    return r;
}

Region Region::FromRect(const IntRect& r) { return FromQRegion(QRegion(PixelRect(r))); }

Region Region::FromPolygon(const IntPoint* points, int count, int32_t fillMode)
{
    if (!points || count < 3)
        return Region();
    // A rectangle along the axes (a bar of a barcode) covers the pixels a
    // rectangle region holds, and is one.
    const int corners = count == 5 && points[4].x == points[0].x && points[4].y == points[0].y ? 4 : count;
    if (corners == 4) {
        const bool across = points[0].y == points[1].y && points[1].x == points[2].x && points[2].y == points[3].y &&
                            points[3].x == points[0].x;
        const bool down = points[0].x == points[1].x && points[1].y == points[2].y && points[2].x == points[3].x &&
                          points[3].y == points[0].y;
        if (across || down)
            return FromRect(IntRect{points[0].x, points[0].y, points[2].x, points[2].y});
    }
    QPainterPath area;
    area.setFillRule(fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    area.moveTo(points[0].x, points[0].y);
    for (int i = 1; i < count; ++i)
        area.lineTo(points[i].x, points[i].y);
    area.closeSubpath();
    return FromPath(area);
}

Region Region::FromEllipse(const IntRect& r)
{
    const QRectF a = AreaRect(r);
    if (a.isEmpty())
        return Region();
    QPainterPath area;
    area.addEllipse(a);
    return FromPath(area);
}

Region Region::FromRoundRect(const IntRect& r, int32_t ellipseWidth, int32_t ellipseHeight)
{
    const QRectF a = AreaRect(r);
    if (a.isEmpty())
        return Region();
    QPainterPath area;
    area.addRoundedRect(a, std::min(std::abs(ellipseWidth) / 2.0, a.width() / 2),
                        std::min(std::abs(ellipseHeight) / 2.0, a.height() / 2));
    return FromPath(area);
}

namespace {

// Whether two paths are the same to the last bit, so that their pixels are
// too (QPainterPath's own comparison allows a little difference).
bool SamePath(const QPainterPath& a, const QPainterPath& b)
{
    if (a.elementCount() != b.elementCount() || a.fillRule() != b.fillRule())
        return false;
    for (int i = 0; i < a.elementCount(); ++i) {
        const QPainterPath::Element p = a.elementAt(i), q = b.elementAt(i);
        if (p.type != q.type || std::memcmp(&p.x, &q.x, sizeof p.x) != 0 || std::memcmp(&p.y, &q.y, sizeof p.y) != 0)
            return false;
    }
    return true;
}

}  // namespace

Region Region::FromPath(const QPainterPath& path)
{
    Region r;
    if (path.isEmpty())
        return r;
    r.shape_ = path;
    r.pixelsMade_ = false;
    // A sheet of cards draws the same letters in the same few places on
    // every page, and a card places its text by their pixels: a shape of
    // many elements made again where it was made lately takes the pixels
    // worked out then, rather than scanning it once a card.
    constexpr int kShared = 48;
    struct Recent {
        QPainterPath path;
        std::shared_ptr<Scan> scan;
    };
    thread_local std::array<Recent, 64> recent;
    thread_local size_t next = 0;
    if (path.elementCount() >= kShared) {
        for (const Recent& known : recent) {
            if (known.scan && SamePath(known.path, path)) {
                r.scan_ = known.scan;
                return r;
            }
        }
    }
    r.scan_ = std::make_shared<Scan>();
    if (path.elementCount() >= kShared) {
        recent[next] = Recent{path, r.scan_};
        next = (next + 1) % recent.size();
    }
    return r;
}

const QRegion& Region::pixels() const
{
    if (!pixelsMade_) {
        // A shape moved further than any pixel can reach is moved just
        // out of reach, where its pixels still fit an int.
        constexpr int64_t kOut = int64_t(1) << 30;
        Scan& scan = *scan_;
        std::call_once(scan.made, [&] {
            scan.pixels = AreaToRegion(shape_, Bound());
            scan.done.store(true, std::memory_order_release);
        });
        pixels_ = scan.pixels;
        pixels_.translate(int(std::clamp(shapeX_, -kOut, kOut)), int(std::clamp(shapeY_, -kOut, kOut)));
        pixelsMade_ = true;
    }
    return pixels_;
}

QRegion Region::pixelsWithin(const QRect& within) const
{
    // A shape already scanned whole (a copy of it asked for its bounds)
    // is not scanned again for a part of it: display text is cut to its
    // letters just after it was placed by their bounds.
    if (pixelsMade_ || shape_.isEmpty() || scan_->done.load(std::memory_order_acquire))
        return pixels() & within;
    constexpr int64_t kOut = int64_t(1) << 30;
    const int dx = int(std::clamp(shapeX_, -kOut, kOut));
    const int dy = int(std::clamp(shapeY_, -kOut, kOut));
    const QRect local = QRect(QPoint(int(std::clamp<int64_t>(int64_t(within.left()) - dx, INT32_MIN, INT32_MAX)),
                                     int(std::clamp<int64_t>(int64_t(within.top()) - dy, INT32_MIN, INT32_MAX))),
                              QPoint(int(std::clamp<int64_t>(int64_t(within.right()) - dx, INT32_MIN, INT32_MAX)),
                                     int(std::clamp<int64_t>(int64_t(within.bottom()) - dy, INT32_MIN, INT32_MAX)))) &
                        Bound();
    if (local.isEmpty())
        return QRegion();
    // A shape wholly within is scanned whole, once for every region made
    // of it, as a sheet of cards clips each card's text by the same shapes.
    if (local.contains(shape_.controlPointRect().toAlignedRect()))
        return pixels() & within;
    QRegion seen = AreaToRegion(shape_, local);
    seen.translate(dx, dy);
    return seen;
}

QPainterPath Region::shape() const
{
    if (shape_.isEmpty() || (shapeX_ == 0 && shapeY_ == 0))
        return shape_;
    return shape_.translated(double(shapeX_), double(shapeY_));
}

int32_t Region::combine(const Region& a, const Region& b, int32_t mode)
{
    if (mode == RGN_COPY) {
        if (this != &a)
            *this = a;
        return kind();
    }
    QRegion result;
    switch (mode) {
    case RGN_AND:
        result = a.pixels() & b.pixels();
        break;
    case RGN_OR:
        result = a.pixels() | b.pixels();
        break;
    case RGN_XOR:
        result = a.pixels() ^ b.pixels();
        break;
    case RGN_DIFF:
        result = a.pixels() - b.pixels();
        break;
    default:
        return RGN_ERROR;
    }
    *this = FromQRegion(result);
    return kind();
}

void Region::offset(int32_t dx, int32_t dy)
{
    if (!shape_.isEmpty()) {
        // The pixels are worked out again from the moved shape: moving them
        // could overflow where the shape's move is only held far away.
        pixels_ = QRegion();
        pixelsMade_ = false;
        // Held far beyond reach but short of overflowing.
        constexpr int64_t kFar = int64_t(1) << 52;
        shapeX_ = std::clamp(shapeX_ + dx, -kFar, kFar);
        shapeY_ = std::clamp(shapeY_ + dy, -kFar, kFar);
        return;
    }
    pixels_.translate(dx, dy);
}

bool Region::contains(int32_t x, int32_t y) const { return pixels().contains(QPoint(x, y)); }

bool Region::intersects(const IntRect& r) const
{
    const QRect p = PixelRect(r, 1 << 29);
    return !p.isEmpty() && pixels().intersects(p);
}

IntRect Region::bounds() const
{
    if (pixels().isEmpty())
        return IntRect{};
    const QRect b = pixels().boundingRect();
    return IntRect{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
}

bool Region::isEmpty() const { return pixels().isEmpty(); }

int32_t Region::kind() const
{
    if (pixels().isEmpty())
        return NULLREGION;
    return pixels().rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QPainterPath Region::path() const
{
    QPainterPath p;
    p.addRegion(pixels());
    return p;
}
