#include "platform/coverage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gdi_types.h"

Coverage::Coverage(const QRect& box) : box_(box.isValid() ? box : QRect())
{
    if (!box_.isEmpty())
        bits_.assign(size_t(box_.width()) * size_t(box_.height()), 0);
}

void Coverage::setSpan(int y, int x0, int x1)
{
    if (y < box_.top() || y > box_.bottom())
        return;
    x0 = std::max(x0, box_.left());
    x1 = std::min(x1, box_.right() + 1);
    if (x0 >= x1)
        return;
    uint8_t* r = bits_.data() + size_t(y - box_.top()) * size_t(box_.width());
    std::fill(r + (x0 - box_.left()), r + (x1 - box_.left()), uint8_t(1));
}

void Coverage::subtract(const Coverage& other)
{
    const QRect common = box_ & other.box_;
    if (common.isEmpty())
        return;
    for (int y = common.top(); y <= common.bottom(); ++y) {
        const uint8_t* o = other.row(y) + (common.left() - other.box_.left());
        uint8_t* r = bits_.data() + size_t(y - box_.top()) * size_t(box_.width()) + (common.left() - box_.left());
        for (int i = 0; i < common.width(); ++i) {
            if (o[i])
                r[i] = 0;
        }
    }
}

void Coverage::add(const Coverage& other, QPoint offset)
{
    const QRect moved = other.box_.translated(offset);
    const QRect common = box_ & moved;
    if (common.isEmpty())
        return;
    for (int y = common.top(); y <= common.bottom(); ++y) {
        const uint8_t* o = other.row(y - offset.y()) + (common.left() - moved.left());
        uint8_t* r = bits_.data() + size_t(y - box_.top()) * size_t(box_.width()) + (common.left() - box_.left());
        for (int i = 0; i < common.width(); ++i)
            r[i] |= o[i];
    }
}

void Coverage::intersect(const QRegion& region)
{
    if (box_.isEmpty())
        return;
    if (region.rectCount() <= 1) {
        // One rectangle (the usual clip): clear what lies outside it.
        const QRect keep = region.boundingRect() & box_;
        for (int y = box_.top(); y <= box_.bottom(); ++y) {
            uint8_t* r = bits_.data() + size_t(y - box_.top()) * size_t(box_.width());
            if (keep.isEmpty() || y < keep.top() || y > keep.bottom()) {
                std::fill(r, r + box_.width(), uint8_t(0));
                continue;
            }
            std::fill(r, r + (keep.left() - box_.left()), uint8_t(0));
            std::fill(r + (keep.right() + 1 - box_.left()), r + box_.width(), uint8_t(0));
        }
        return;
    }
    std::vector<uint8_t> keep(bits_.size(), 0);
    for (const QRect& r : region) {
        const QRect c = r & box_;
        for (int y = c.top(); y <= c.bottom(); ++y) {
            const size_t base = size_t(y - box_.top()) * size_t(box_.width());
            std::fill(keep.begin() + ptrdiff_t(base + size_t(c.left() - box_.left())),
                      keep.begin() + ptrdiff_t(base + size_t(c.right() + 1 - box_.left())), uint8_t(1));
        }
    }
    for (size_t i = 0; i < bits_.size(); ++i)
        bits_[i] &= keep[i];
}

bool Coverage::any() const
{
    return std::any_of(bits_.begin(), bits_.end(), [](uint8_t b) { return b != 0; });
}

QRegion Coverage::toRegion() const
{
    // Rows with the same spans are merged into one band, so a filled
    // rectangle becomes one rectangle and not one per row.
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> prev, cur;
    size_t prevStart = 0;
    auto spansOf = [this](int y, std::vector<std::pair<int, int>>& out) {
        out.clear();
        const uint8_t* r = row(y);
        int x = 0;
        const int w = box_.width();
        while (x < w) {
            while (x < w && !r[x])
                ++x;
            if (x >= w)
                break;
            const int s = x;
            while (x < w && r[x])
                ++x;
            out.emplace_back(s + box_.left(), x + box_.left());
        }
    };
    for (int y = box_.top(); y <= box_.bottom(); ++y) {
        spansOf(y, cur);
        if (!cur.empty() && cur == prev) {
            for (size_t i = prevStart; i < rects.size(); ++i)
                rects[i].setBottom(y);
            continue;
        }
        prevStart = rects.size();
        for (const auto& s : cur)
            rects.emplace_back(QPoint(s.first, y), QPoint(s.second - 1, y));
        prev.swap(cur);
    }
    QRegion region;
    if (!rects.empty())
        region.setRects(rects.data(), int(rects.size()));
    return region;
}

namespace {

// Whole pixels stay well inside int so that boxes and spans cannot overflow.
int ClampPixel(double v) { return int(std::clamp(v, -double(1 << 29), double(1 << 29))); }

}  // namespace

QRect AreaPixelBounds(const QPainterPath& area)
{
    const QRectF b = area.controlPointRect();
    if (b.isNull() && area.isEmpty())
        return QRect();
    return QRect(QPoint(ClampPixel(std::floor(b.left())), ClampPixel(std::floor(b.top()))),
                 QPoint(ClampPixel(std::ceil(b.right())), ClampPixel(std::ceil(b.bottom()))));
}

namespace {

struct Edge {
    double yTop;
    double yBottom;
    double xAtTop;
    double slope;  // dx per unit of y
    int dir;
};

// Walks the rows of the polygons (transposed: the columns) and reports
// each inside span [xa, xb) of each row, sampled through the row's centre.
template <typename OnSpan>
void ScanPolygons(const std::vector<QPolygonF>& polygons, Qt::FillRule rule, bool transposed, int firstRow,
                  int lastRow, OnSpan onSpan)
{
    std::vector<Edge> edges;
    for (const QPolygonF& poly : polygons) {
        const int n = int(poly.size());
        for (int i = 0; i < n; ++i) {
            QPointF a = poly[i];
            QPointF b = poly[(i + 1) % n];
            if (transposed) {
                a = QPointF(a.y(), a.x());
                b = QPointF(b.y(), b.x());
            }
            if (a.y() == b.y())
                continue;
            int dir = 1;
            if (a.y() > b.y()) {
                std::swap(a, b);
                dir = -1;
            }
            edges.push_back({a.y(), b.y(), a.x(), (b.x() - a.x()) / (b.y() - a.y()), dir});
        }
    }
    if (edges.empty())
        return;
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.yTop < r.yTop; });
    double maxY = edges.front().yTop;
    for (const Edge& e : edges)
        maxY = std::max(maxY, e.yBottom);
    const int yStart = std::max(firstRow, ClampPixel(std::floor(edges.front().yTop - 0.5)));
    const int yEnd = std::min(lastRow, ClampPixel(std::ceil(maxY)));

    std::vector<const Edge*> active;
    std::vector<std::pair<double, int>> xs;
    size_t next = 0;
    for (int y = yStart; y <= yEnd; ++y) {
        const double yc = y + 0.5;
        while (next < edges.size() && edges[next].yTop <= yc)
            active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [yc](const Edge* e) { return e->yBottom <= yc; }),
                     active.end());
        if (active.empty())
            continue;
        xs.clear();
        for (const Edge* e : active)
            xs.emplace_back(e->xAtTop + (yc - e->yTop) * e->slope, e->dir);
        std::sort(xs.begin(), xs.end());
        int winding = 0;
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            winding += xs[i].second;
            const bool inside = rule == Qt::WindingFill ? winding != 0 : ((i + 1) & 1) != 0;
            if (inside && xs[i + 1].first > xs[i].first)
                onSpan(y, xs[i].first, xs[i + 1].first);
        }
    }
}

// The first pixel whose centre is at or right of x.
int FirstCentre(double x) { return ClampPixel(std::ceil(x - 0.5)); }

}  // namespace

void FillPolygons(Coverage& cov, const std::vector<QPolygonF>& polygons, Qt::FillRule rule, bool dropouts)
{
    if (cov.isNull())
        return;
    const QRect& box = cov.box();
    ScanPolygons(polygons, rule, false, box.top(), box.bottom(), [&](int y, double xa, double xb) {
        const int x0 = FirstCentre(xa);
        const int x1 = FirstCentre(xb);
        if (x0 < x1)
            cov.setSpan(y, x0, x1);
        else if (dropouts)
            cov.set(ClampPixel(std::floor((xa + xb) / 2)), y);
    });
    if (!dropouts)
        return;
    // Thin horizontal parts fall between the row centres: catch them down
    // the columns.
    ScanPolygons(polygons, rule, true, box.left(), box.right(), [&](int x, double ya, double yb) {
        if (FirstCentre(ya) >= FirstCentre(yb))
            cov.set(x, ClampPixel(std::floor((ya + yb) / 2)));
    });
}

void FillArea(Coverage& cov, const QPainterPath& area, bool dropouts)
{
    if (area.isEmpty() || cov.isNull())
        return;
    const QList<QPolygonF> polys = area.toSubpathPolygons();
    std::vector<QPolygonF> list(polys.begin(), polys.end());
    FillPolygons(cov, list, area.fillRule(), dropouts);
}

QRegion AreaToRegion(const QPainterPath& area)
{
    Coverage cov(AreaPixelBounds(area));
    FillArea(cov, area);
    return cov.toRegion();
}

namespace {

// Run lengths in pixels of the styled one-pixel lines, "on" first.
const uint8_t kDash[] = {18, 6};
const uint8_t kDot[] = {3, 3};
const uint8_t kDashDot[] = {9, 6, 3, 6};
const uint8_t kDashDotDot[] = {9, 3, 3, 3, 3, 3};

}  // namespace

PixelLine::PixelLine(int32_t style)
{
    switch (style) {
    case PS_DASH:
        pattern_ = kDash;
        count_ = 2;
        break;
    case PS_DOT:
        pattern_ = kDot;
        count_ = 2;
        break;
    case PS_DASHDOT:
        pattern_ = kDashDot;
        count_ = 4;
        break;
    case PS_DASHDOTDOT:
        pattern_ = kDashDotDot;
        count_ = 6;
        break;
    default:
        break;
    }
    if (pattern_)
        left_ = pattern_[0];
}

void PixelLine::segment(QPoint a, QPoint b, Coverage& on, Coverage* gaps)
{
    int x = a.x();
    int y = a.y();
    const int dx = std::abs(b.x() - x);
    const int dy = -std::abs(b.y() - y);
    const int sx = x < b.x() ? 1 : -1;
    const int sy = y < b.y() ? 1 : -1;
    int err = dx + dy;
    while (x != b.x() || y != b.y()) {
        if (!pattern_ || (index_ & 1) == 0)
            on.set(x, y);
        else if (gaps)
            gaps->set(x, y);
        if (pattern_ && --left_ == 0) {
            index_ = (index_ + 1) % count_;
            left_ = pattern_[index_];
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

QRect PolylinePixelBounds(const QPolygon& line)
{
    if (line.isEmpty())
        return QRect();
    return line.boundingRect();
}
