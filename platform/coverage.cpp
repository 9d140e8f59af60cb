#include "platform/coverage.h"
#include "platform/drawing_stop.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/gdi_types.h"

namespace {

using Int128 = __int128;

// Whole pixels stay well inside int so that boxes and spans cannot overflow.
int ClampPixel(double v) { return int(std::clamp(v, -double(1 << 29), double(1 << 29))); }

// A coordinate held within the device range (NaN, from a damaged record,
// counts as 0).
double DeviceCoordinate(double v) { return v == v ? std::clamp(v, -kDeviceLimit, kDeviceLimit) : 0.0; }

PixelPoint RoundPixel(const QPointF& p)
{
    return PixelPoint{int64_t(DeviceCoordinate(std::floor(p.x() + 0.5))),
                      int64_t(DeviceCoordinate(std::floor(p.y() + 0.5)))};
}

// ceil(n / d) for d > 0.
Int128 CeilDiv(Int128 n, Int128 d)
{
    const Int128 q = n / d;
    return n % d > 0 ? q + 1 : q;
}

}  // namespace

// --- Coverage ----------------------------------------------------------------

Coverage::Coverage(const QRect& box) : box_(box.isValid() ? box : QRect())
{
    if (!box_.isEmpty())
        bits_.assign(size_t(box_.width()) * size_t(box_.height()), 0);
}

void Coverage::setSpan(int y, int64_t x0, int64_t x1)
{
    if (y < box_.top() || y > box_.bottom())
        return;
    x0 = std::max<int64_t>(x0, box_.left());
    x1 = std::min<int64_t>(x1, int64_t(box_.right()) + 1);
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
        // Without a branch, so that a large box goes a vector at a time.
        for (int i = 0; i < common.width(); ++i)
            r[i] = uint8_t(r[i] & uint8_t(o[i] == 0));
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

QRect AreaPixelBounds(const QPainterPath& area)
{
    const QRectF b = area.controlPointRect();
    if (b.isNull() && area.isEmpty())
        return QRect();
    return QRect(QPoint(ClampPixel(std::floor(b.left())), ClampPixel(std::floor(b.top()))),
                 QPoint(ClampPixel(std::ceil(b.right())), ClampPixel(std::ceil(b.bottom()))));
}

// --- Curves ------------------------------------------------------------------

namespace {

// Halvings of a curve piece that may be seen: enough to bring a curve
// across the whole device range down to flat pieces.
constexpr int kMaxHalvings = 64;
// Halvings of a piece out of sight, only to count the pixels a styled line
// steps along it: up to 4096 pieces, exact for any curve up to millions of
// pixels across, and a close count beyond.
constexpr int kCountHalvings = 12;

// A cubic Bezier piece. Its halving and its flatness test are Qt's own, to
// the last bit, so a curve comes out as the same points as
// QPainterPath::toSubpathPolygons gives, only without its limit of nine
// halvings that leaves big curves visibly polygonal.
struct Cubic {
    double x1, y1, x2, y2, x3, y3, x4, y4;

    void split(Cubic* first, Cubic* second) const
    {
        double c = (x2 + x3) * .5;
        first->x2 = (x1 + x2) * .5;
        second->x3 = (x3 + x4) * .5;
        first->x1 = x1;
        second->x4 = x4;
        first->x3 = (first->x2 + c) * .5;
        second->x2 = (second->x3 + c) * .5;
        first->x4 = second->x1 = (first->x3 + second->x2) * .5;

        c = (y2 + y3) / 2;
        first->y2 = (y1 + y2) * .5;
        second->y3 = (y3 + y4) * .5;
        first->y1 = y1;
        second->y4 = y4;
        first->y3 = (first->y2 + c) * .5;
        second->y2 = (second->y3 + c) * .5;
        first->y4 = second->y1 = (first->y3 + second->y2) * .5;
    }

    bool flat() const
    {
        const double y4y1 = y4 - y1;
        const double x4x1 = x4 - x1;
        double l = std::fabs(x4x1) + std::fabs(y4y1);
        double d;
        if (l > 1.) {
            d = std::fabs(x4x1 * (y1 - y2) - y4y1 * (x1 - x2)) + std::fabs(x4x1 * (y1 - y3) - y4y1 * (x1 - x3));
        } else {
            d = std::fabs(x1 - x2) + std::fabs(y1 - y2) + std::fabs(x1 - x3) + std::fabs(y1 - y3);
            l = 1.;
        }
        return d < 0.5 * l;
    }

    QPointF end() const { return QPointF(x4, y4); }
    double minX() const { return std::min({x1, x2, x3, x4}); }
    double maxX() const { return std::max({x1, x2, x3, x4}); }
    double minY() const { return std::min({y1, y2, y3, y4}); }
    double maxY() const { return std::max({y1, y2, y3, y4}); }

    // The piece lies within its control points, so beyond one side of the
    // box nothing of it (nor of its chord) can reach into the box.
    bool beyond(const QRectF& box) const
    {
        return maxX() < box.left() || minX() > box.right() || maxY() < box.top() || minY() > box.bottom();
    }
};

Cubic CubicAt(const QPainterPath& path, int i)
{
    const QPainterPath::Element s = path.elementAt(i - 1);
    const QPainterPath::Element c1 = path.elementAt(i);
    const QPainterPath::Element c2 = path.elementAt(i + 1);
    const QPainterPath::Element e = path.elementAt(i + 2);
    return Cubic{s.x, s.y, c1.x, c1.y, c2.x, c2.y, e.x, e.y};
}

// Flat pieces go to onPoint (their end points); a piece beyond one side of
// `keep` goes whole to onBeyond.
template <typename OnPoint, typename OnBeyond>
void FlattenCubic(const Cubic& c, const QRectF& keep, const OnPoint& onPoint, const OnBeyond& onBeyond, int depth = 0)
{
    if (c.beyond(keep)) {
        onBeyond(c);
        return;
    }
    if (c.flat() || depth >= kMaxHalvings) {
        onPoint(c.end());
        return;
    }
    Cubic a, b;
    c.split(&a, &b);
    FlattenCubic(a, keep, onPoint, onBeyond, depth + 1);
    FlattenCubic(b, keep, onPoint, onBeyond, depth + 1);
}

template <typename OnPoint>
void FlattenWhole(const Cubic& c, int levels, const OnPoint& onPoint)
{
    if (c.flat() || levels == 0) {
        onPoint(c.end());
        return;
    }
    Cubic a, b;
    c.split(&a, &b);
    FlattenWhole(a, levels - 1, onPoint);
    FlattenWhole(b, levels - 1, onPoint);
}

// The figures of an area as polygons, as QPainterPath::toSubpathPolygons
// makes them, with curve pieces beyond one side of `keep` standing as their
// chords: the area's pixels inside `keep` stay the same.
std::vector<QPolygonF> FlattenArea(const QPainterPath& path, const QRectF& keep)
{
    std::vector<QPolygonF> out;
    QPolygonF current;
    const int n = path.elementCount();
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (current.size() > 1)
                out.push_back(current);
            current.clear();
            current.append(QPointF(e.x, e.y));
            break;
        case QPainterPath::LineToElement:
            current.append(QPointF(e.x, e.y));
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < n) {
                FlattenCubic(
                    CubicAt(path, i), keep, [&](const QPointF& p) { current.append(p); },
                    [&](const Cubic& piece) { current.append(piece.end()); });
                i += 2;
            }
            break;
        default:
            break;
        }
    }
    if (current.size() > 1)
        out.push_back(current);
    return out;
}

}  // namespace

// --- Areas -------------------------------------------------------------------

namespace {

// An edge of a polygon, top end first. An edge whose ends lie on whole or
// half pixels (polygons, rectangles, regions: all but curves and glyphs)
// is crossed with exact integer arithmetic, so a shape far out fills the
// same pixels as the same shape near the origin, ties included.
struct Edge {
    double yTop;
    double yBottom;
    int dir;
    bool exact;
    int64_t x2, y2, dx2, dy2;  // twice the top end and twice the run down to the bottom end
    double xTop;
    double xBottom;
    double slope;  // dx per unit of y

    // Whether the edge crosses every row at the same place, as far as the
    // columns first..last can tell: upright, or wholly beside them.
    bool steady(int first, int last) const
    {
        if (exact ? dx2 == 0 : slope == 0)
            return true;
        return std::max(xTop, xBottom) < first - 1.0 || std::min(xTop, xBottom) > last + 2.0;
    }
};

bool Twice(double v, int64_t* twice)
{
    const double t = v * 2;
    if (!(std::fabs(t) <= 2 * kDeviceLimit) || t != std::floor(t))
        return false;
    *twice = int64_t(t);
    return true;
}

// The edge from a to b; false for one that crosses no row (level, or not
// finite).
bool MakeEdge(QPointF a, QPointF b, Edge* out)
{
    if (a.y() == b.y() || !std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
        !std::isfinite(b.y()))
        return false;
    int dir = 1;
    if (a.y() > b.y()) {
        std::swap(a, b);
        dir = -1;
    }
    Edge e{};
    e.yTop = a.y();
    e.yBottom = b.y();
    e.dir = dir;
    e.xTop = a.x();
    e.xBottom = b.x();
    e.slope = (b.x() - a.x()) / (b.y() - a.y());
    int64_t ax, ay, bx, by;
    e.exact = Twice(a.x(), &ax) && Twice(a.y(), &ay) && Twice(b.x(), &bx) && Twice(b.y(), &by);
    if (e.exact) {
        e.x2 = ax;
        e.y2 = ay;
        e.dx2 = bx - ax;
        e.dy2 = by - ay;
    }
    *out = e;
    return true;
}

// The polygons' edges; transposed, with x and y exchanged (to scan columns).
void AddEdges(std::vector<Edge>& edges, const std::vector<QPolygonF>& polygons, bool transposed)
{
    for (const QPolygonF& poly : polygons) {
        const qsizetype n = poly.size();
        for (qsizetype i = 0; i < n; ++i) {
            QPointF a = poly[i];
            QPointF b = poly[(i + 1) % n];
            if (transposed) {
                a = QPointF(a.y(), a.x());
                b = QPointF(b.y(), b.x());
            }
            Edge e;
            if (MakeEdge(a, b, &e))
                edges.push_back(e);
        }
    }
}

struct Crossing {
    int64_t first;  // the first pixel whose centre is at or right of the crossing
    double x;
    int dir;
    const Edge* edge;
};

bool CrossingBefore(const Crossing& l, const Crossing& r)
{
    if (l.first != r.first)
        return l.first < r.first;
    if (l.x != r.x)
        return l.x < r.x;
    return l.dir < r.dir;
}

int64_t FirstCentre(double x) { return int64_t(std::clamp(std::ceil(x - 0.5), -4 * kDeviceLimit, 4 * kDeviceLimit)); }

// Where the edge crosses the centre line of row y.
Crossing CrossingAt(const Edge& e, int y)
{
    const double x = e.xTop + (y + 0.5 - e.yTop) * e.slope;
    if (!e.exact)
        return {FirstCentre(x), x, e.dir, &e};
    // x = (x2 + (2y + 1 - y2) dx2 / dy2) / 2, and the first centre at or
    // right of it is ceil(x - 1/2).
    const Int128 n = Int128(e.x2 - 1) * e.dy2 + Int128(int64_t(2) * y + 1 - e.y2) * e.dx2;
    return {int64_t(CeilDiv(n, Int128(2) * e.dy2)), x, e.dir, &e};
}

// An inside stretch [xa, xb) of a row, sampled through the row's centre,
// and the pixels [first, last) whose centres lie in it (none when it is too
// narrow to hold a centre).
struct Span {
    int64_t first;
    int64_t last;
    double xa;
    double xb;
};

// Walks the rows firstRow..lastRow (transposed edges: the columns) and
// reports onRows(row, count, spans) for each run of `count` rows that have
// the same spans within the columns firstColumn..lastColumn (beyond them
// the spans are to be cut off).
template <typename OnRows>
void ScanEdges(std::vector<Edge>& edges, Qt::FillRule rule, int firstRow, int lastRow, int firstColumn,
               int lastColumn, const OnRows& onRows)
{
    if (edges.empty())
        return;
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.yTop < r.yTop; });
    double maxY = edges.front().yBottom;
    for (const Edge& e : edges)
        maxY = std::max(maxY, e.yBottom);
    const int yEnd = std::min(lastRow, ClampPixel(std::ceil(maxY)));
    // The first row whose centre lies at or below v.
    auto rowAt = [](double v) { return ClampPixel(std::ceil(v - 0.5)); };

    std::vector<const Edge*> active;
    std::vector<Crossing> xs;
    std::vector<Span> spans;
    size_t next = 0;
    int y = std::max(firstRow, rowAt(edges.front().yTop));
    while (y <= yEnd) {
        const double yc = y + 0.5;
        while (next < edges.size() && edges[next].yTop <= yc)
            active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [yc](const Edge* e) { return e->yBottom <= yc; }),
                     active.end());
        if (active.empty()) {
            if (next >= edges.size())
                break;
            y = std::max(y + 1, rowAt(edges[next].yTop));
            continue;
        }
        xs.clear();
        for (const Edge* e : active)
            xs.push_back(CrossingAt(*e, y));
        // The active edges are kept in the order of their last crossings,
        // which changes little from row to row: an insertion sort costs
        // one pass plus the edges that really crossed. Where many edges
        // cross (a star of many points) a full sort takes over.
        size_t moves = 0;
        const size_t budget = 4 * xs.size() + 16;
        for (size_t i = 1; i < xs.size() && moves <= budget; ++i) {
            const Crossing c = xs[i];
            size_t j = i;
            for (; j > 0 && CrossingBefore(c, xs[j - 1]); --j)
                xs[j] = xs[j - 1];
            xs[j] = c;
            moves += i - j;
        }
        if (moves > budget)
            std::sort(xs.begin(), xs.end(), CrossingBefore);
        for (size_t i = 0; i < xs.size(); ++i)
            active[i] = xs[i].edge;
        spans.clear();
        int winding = 0;
        // Inside on both sides of a crossing (figures that overlap, a glyph
        // struck twice), the span goes on: dropout control then sees the
        // area's whole width, not a sliver between two of its edges.
        bool goesOn = false;
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            winding += xs[i].dir;
            const bool inside = rule == Qt::WindingFill ? winding != 0 : ((i + 1) & 1) != 0;
            if (inside && goesOn) {
                spans.back().last = std::max(spans.back().last, xs[i + 1].first);
                spans.back().xb = std::max(spans.back().xb, xs[i + 1].x);
            } else if (inside && (xs[i + 1].x > xs[i].x || xs[i + 1].first > xs[i].first)) {
                spans.push_back({xs[i].first, xs[i + 1].first, xs[i].x, xs[i + 1].x});
                goesOn = true;
            } else {
                goesOn = false;
            }
        }
        // While every edge across the rows is steady and none starts or
        // ends, the rows are alike: a huge rectangle costs one row.
        int count = 1;
        if (std::all_of(active.begin(), active.end(),
                        [&](const Edge* e) { return e->steady(firstColumn, lastColumn); })) {
            double event = next < edges.size() ? edges[next].yTop : std::numeric_limits<double>::infinity();
            for (const Edge* e : active)
                event = std::min(event, e->yBottom);
            const int lastAlike = std::min(yEnd, std::isinf(event) ? yEnd : rowAt(event) - 1);
            count = std::max(1, lastAlike - y + 1);
        }
        onRows(y, count, spans);
        y += count;
    }
}

}  // namespace

namespace {

// Paths of more elements than this are filled without keeping their edges.
constexpr int kStreamedFillElements = 4096;
// Edges made between two askings whether the drawing is to stop.
constexpr size_t kEdgesBetweenAsking = 4096;

// FillArea for a path of any size, in memory that follows the box alone:
// each edge, as the flattening makes it, adds its direction at the first
// pixel whose centre lies at or right of its crossing of each row (the
// place a scan puts it), and a walk along each row then sums them to the
// winding number at every centre. The pixels are those the scan gives.
void FillAreaStreamed(Coverage& cov, const QPainterPath& area)
{
    const QRect& box = cov.box();
    const size_t width = size_t(box.width());
    std::vector<int32_t> counts(width * size_t(box.height()), 0);
    // A path of a million curves may take long: now and then the drawing
    // is asked whether to stop.
    size_t made = 0;
    bool stopped = false;
    const auto add = [&](const QPointF& a, const QPointF& b) {
        if (stopped || (++made % kEdgesBetweenAsking == 0 && (stopped = DrawingShouldStop())))
            return;
        Edge e;
        if (!MakeEdge(a, b, &e))
            return;
        // The rows whose centres lie in [yTop, yBottom).
        const int first = std::max(box.top(), ClampPixel(std::ceil(e.yTop - 0.5)));
        const int last = std::min(box.bottom(), ClampPixel(std::ceil(e.yBottom - 0.5)) - 1);
        for (int y = first; y <= last; ++y) {
            const int64_t x = CrossingAt(e, y).first;
            if (x > box.right())
                continue;
            const size_t column = x <= box.left() ? 0 : size_t(x - box.left());
            counts[size_t(y - box.top()) * width + column] += e.dir;
        }
    };
    const QRectF keep = QRectF(box).adjusted(-2, -2, 2, 2);
    QPointF start, at;
    bool open = false;
    const auto close = [&] {
        if (open)
            add(at, start);
        open = false;
    };
    const int n = area.elementCount();
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = area.elementAt(i);
        const QPointF p(e.x, e.y);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            close();
            start = at = p;
            open = true;
            break;
        case QPainterPath::LineToElement:
            add(at, p);
            at = p;
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < n) {
                const auto to = [&](const QPointF& q) {
                    add(at, q);
                    at = q;
                };
                FlattenCubic(CubicAt(area, i), keep, to, [&](const Cubic& piece) { to(piece.end()); });
                i += 2;
            }
            break;
        default:
            break;
        }
    }
    close();
    if (stopped)
        return;
    const bool winding = area.fillRule() == Qt::WindingFill;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const int32_t* row = counts.data() + size_t(y - box.top()) * width;
        int64_t sum = 0;
        int spanStart = 0;
        bool inside = false;
        for (size_t k = 0; k <= width; ++k) {
            if (k < width)
                sum += row[k];
            const bool now = k < width && (winding ? sum != 0 : (sum & 1) != 0);
            if (now && !inside)
                spanStart = box.left() + int(k);
            else if (!now && inside)
                cov.setSpan(y, spanStart, box.left() + int64_t(k));
            inside = now;
        }
    }
}

}  // namespace

void FillArea(Coverage& cov, const QPainterPath& area, bool dropouts)
{
    if (area.isEmpty() || cov.isNull())
        return;
    if (!dropouts && area.elementCount() > kStreamedFillElements) {
        FillAreaStreamed(cov, area);
        return;
    }
    const QRect& box = cov.box();
    const std::vector<QPolygonF> polygons = FlattenArea(area, QRectF(box).adjusted(-2, -2, 2, 2));
    std::vector<Edge> edges;
    AddEdges(edges, polygons, false);
    ScanEdges(edges, area.fillRule(), box.top(), box.bottom(), box.left(), box.right(),
              [&](int y, int count, const std::vector<Span>& spans) {
        for (int row = y; row < y + count; ++row) {
            for (const Span& s : spans) {
                if (s.first < s.last)
                    cov.setSpan(row, s.first, s.last);
                else if (dropouts)
                    cov.set(ClampPixel(std::floor((s.xa + s.xb) / 2)), row);
            }
        }
    });
    if (!dropouts)
        return;
    // Thin horizontal parts fall between the row centres: catch them down
    // the columns.
    edges.clear();
    AddEdges(edges, polygons, true);
    ScanEdges(edges, area.fillRule(), box.left(), box.right(), box.top(), box.bottom(),
              [&](int x, int count, const std::vector<Span>& spans) {
        for (int column = x; column < x + count; ++column) {
            for (const Span& s : spans) {
                if (s.first >= s.last)
                    cov.set(column, ClampPixel(std::floor((s.xa + s.xb) / 2)));
            }
        }
    });
}

QRegion AreaToRegion(const QPainterPath& area, const QRect& bound)
{
    if (area.isEmpty() || bound.isEmpty())
        return QRegion();
    std::vector<Edge> edges;
    AddEdges(edges, FlattenArea(area, QRectF(bound).adjusted(-2, -2, 2, 2)), false);
    // Rows with the same spans are merged into one band, so a filled
    // rectangle becomes one rectangle and not one per row.
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> previous, current;
    size_t bandStart = 0;
    int64_t bandEnd = std::numeric_limits<int64_t>::min();
    ScanEdges(edges, area.fillRule(), bound.top(), bound.bottom(), bound.left(), bound.right(),
              [&](int y, int count, const std::vector<Span>& spans) {
        current.clear();
        for (const Span& s : spans) {
            const int x0 = int(std::max<int64_t>(s.first, bound.left()));
            const int x1 = int(std::min<int64_t>(s.last, int64_t(bound.right()) + 1));
            if (x0 >= x1)
                continue;
            if (!current.empty() && x0 <= current.back().second)
                current.back().second = std::max(current.back().second, x1);
            else
                current.emplace_back(x0, x1);
        }
        const int last = y + count - 1;
        if (!current.empty() && current == previous && y == bandEnd + 1) {
            for (size_t i = bandStart; i < rects.size(); ++i)
                rects[i].setBottom(last);
        } else {
            bandStart = rects.size();
            for (const auto& s : current)
                rects.emplace_back(QPoint(s.first, y), QPoint(s.second - 1, last));
            previous.swap(current);
        }
        bandEnd = last;
    });
    QRegion region;
    if (!rects.empty())
        region.setRects(rects.data(), int(rects.size()));
    return region;
}

// --- One-pixel lines -----------------------------------------------------------

namespace {

// A whole number of every style's pattern, so phases can be kept modulo it.
constexpr int64_t kPatternCycle = 24;

int64_t LineSteps(PixelPoint a, PixelPoint b) { return std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)); }

// Which pixels of a styled line are "on", by their place in the cycle.
class Pattern {
public:
    explicit Pattern(int32_t style)
    {
        // Run lengths in pixels, "on" first.
        static const uint8_t kDash[] = {18, 6, 0};
        static const uint8_t kDot[] = {3, 3, 0};
        static const uint8_t kDashDot[] = {9, 6, 3, 6, 0};
        static const uint8_t kDashDotDot[] = {9, 3, 3, 3, 3, 3, 0};
        const uint8_t* runs = nullptr;
        switch (style) {
        case PS_DASH:
            runs = kDash;
            break;
        case PS_DOT:
            runs = kDot;
            break;
        case PS_DASHDOT:
            runs = kDashDot;
            break;
        case PS_DASHDOTDOT:
            runs = kDashDotDot;
            break;
        default:
            break;
        }
        styled_ = runs != nullptr;
        if (!styled_)
            return;
        int64_t k = 0;
        while (k < kPatternCycle) {
            for (int r = 0; runs[r] != 0 && k < kPatternCycle; ++r) {
                for (int i = 0; i < runs[r] && k < kPatternCycle; ++i)
                    on_[k++] = (r & 1) == 0;
            }
        }
    }
    bool styled() const { return styled_; }
    bool on(int64_t position) const { return !styled_ || on_[position % kPatternCycle]; }

private:
    bool styled_ = false;
    bool on_[kPatternCycle] = {};
};

// The pixels of the line from a to b: step i (0 <= i < L, L the larger of
// |dx| and |dy|) goes i pixels along the major axis and
// floor((2 i D + L) / (2 L)) along the minor one (D the smaller of |dx| and
// |dy|), which is the classic stepping from a with its end pixel left out.
struct SteppedLine {
    SteppedLine(PixelPoint a, PixelPoint b)
    {
        const int64_t dx = b.x - a.x;
        const int64_t dy = b.y - a.y;
        xMajor = std::abs(dx) >= std::abs(dy);
        majorStart = xMajor ? a.x : a.y;
        minorStart = xMajor ? a.y : a.x;
        majorDir = (xMajor ? dx : dy) < 0 ? -1 : 1;
        minorDir = (xMajor ? dy : dx) < 0 ? -1 : 1;
        length = std::max(std::abs(dx), std::abs(dy));
        minorLength = std::min(std::abs(dx), std::abs(dy));
    }

    int64_t minorAt(int64_t i) const
    {
        return int64_t((Int128(2) * i * minorLength + length) / (Int128(2) * length));
    }
    PixelPoint at(int64_t i) const
    {
        const int64_t major = majorStart + majorDir * i;
        const int64_t minor = minorStart + minorDir * minorAt(i);
        return xMajor ? PixelPoint{major, minor} : PixelPoint{minor, major};
    }

    // The steps [*first, *last] whose pixels lie in the box; false when none.
    bool within(const QRect& box, int64_t* first, int64_t* last) const
    {
        if (length == 0 || box.isEmpty())
            return false;
        const int64_t majorLo = xMajor ? box.left() : box.top();
        const int64_t majorHi = xMajor ? box.right() : box.bottom();
        const int64_t minorLo = xMajor ? box.top() : box.left();
        const int64_t minorHi = xMajor ? box.bottom() : box.right();
        int64_t i0 = 0;
        int64_t i1 = length - 1;
        if (majorDir > 0) {
            i0 = std::max(i0, majorLo - majorStart);
            i1 = std::min(i1, majorHi - majorStart);
        } else {
            i0 = std::max(i0, majorStart - majorHi);
            i1 = std::min(i1, majorStart - majorLo);
        }
        if (i0 > i1)
            return false;
        // The minor offset must lie in [fLo, fHi]; it grows with i.
        const int64_t fLo = minorDir > 0 ? minorLo - minorStart : minorStart - minorHi;
        const int64_t fHi = minorDir > 0 ? minorHi - minorStart : minorStart - minorLo;
        if (fHi < 0 || fLo > minorLength)
            return false;
        if (minorLength > 0) {
            const Int128 twiceD = Int128(2) * minorLength;
            if (fLo > 0)
                i0 = std::max<int64_t>(i0, int64_t(CeilDiv(Int128(length) * (2 * fLo - 1), twiceD)));
            if (fHi < minorLength)
                i1 = std::min<int64_t>(i1, int64_t(CeilDiv(Int128(length) * (2 * fHi + 1), twiceD)) - 1);
        }
        if (i0 > i1)
            return false;
        *first = i0;
        *last = i1;
        return true;
    }

    bool xMajor;
    int64_t majorStart, minorStart;
    int majorDir, minorDir;
    int64_t length, minorLength;
};

}  // namespace

std::vector<PixelPolyline> OutlinePixelLines(const QPainterPath& outline, const QRectF& keep, bool styled)
{
    std::vector<PixelPolyline> lines;
    OutlinePixelLines(outline, keep, styled, 0, [&lines](PixelPolyline&& line) { lines.push_back(std::move(line)); });
    return lines;
}

void OutlinePixelLines(const QPainterPath& outline, const QRectF& keep, bool styled, size_t runLimit,
                       const std::function<void(PixelPolyline&&)>& onLine)
{
    PixelPolyline run;
    PixelPoint last;
    int64_t phase = 0;
    auto finish = [&] {
        if (run.points.size() >= 2)
            onLine(std::move(run));
        run = PixelPolyline();
    };
    auto lineTo = [&](const QPointF& p) {
        const PixelPoint q = RoundPixel(p);
        if (run.points.empty()) {
            run.points.push_back(last);
            run.phase = phase;
        }
        if (q == last)
            return;
        phase = (phase + LineSteps(last, q)) % kPatternCycle;
        run.points.push_back(q);
        last = q;
        // A run handed on in parts steps the same pixels: each part leaves
        // out its end pixel, which the next one begins with.
        if (runLimit != 0 && run.points.size() >= runLimit) {
            finish();
            run.points.push_back(last);
            run.phase = phase;
        }
    };
    auto skip = [&](const Cubic& piece) {
        finish();
        if (styled) {
            FlattenWhole(piece, kCountHalvings, [&](const QPointF& p) {
                const PixelPoint q = RoundPixel(p);
                phase = (phase + LineSteps(last, q)) % kPatternCycle;
                last = q;
            });
        }
        last = RoundPixel(piece.end());
    };
    const int n = outline.elementCount();
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = outline.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            finish();
            phase = 0;
            last = RoundPixel(QPointF(e.x, e.y));
            break;
        case QPainterPath::LineToElement:
            lineTo(QPointF(e.x, e.y));
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < n) {
                FlattenCubic(CubicAt(outline, i), keep, lineTo, skip);
                i += 2;
            }
            break;
        default:
            break;
        }
    }
    finish();
}

void DrawPixelLine(const PixelPolyline& line, int32_t style, Coverage& on, Coverage* gaps)
{
    if (on.isNull())
        return;
    const Pattern pattern(style);
    const QRect& box = on.box();
    int64_t phase = (line.phase % kPatternCycle + kPatternCycle) % kPatternCycle;
    for (size_t k = 0; k + 1 < line.points.size(); ++k) {
        const SteppedLine steps(line.points[k], line.points[k + 1]);
        int64_t first = 0;
        int64_t last = 0;
        if (steps.within(box, &first, &last)) {
            // Steps on from `first` with the remainder of the minor
            // offset's fraction, all within 64 bits from here.
            const Int128 start = Int128(2) * first * steps.minorLength + steps.length;
            const int64_t twiceL = 2 * steps.length;
            int64_t minor = int64_t(start / twiceL);
            int64_t rest = int64_t(start % twiceL);
            int64_t major = steps.majorStart + steps.majorDir * first;
            for (int64_t i = first; i <= last; ++i) {
                const int64_t m = steps.minorStart + steps.minorDir * minor;
                const int x = int(steps.xMajor ? major : m);
                const int y = int(steps.xMajor ? m : major);
                if (pattern.on(phase + i))
                    on.set(x, y);
                else if (gaps)
                    gaps->set(x, y);
                major += steps.majorDir;
                rest += 2 * steps.minorLength;
                if (rest >= twiceL) {
                    rest -= twiceL;
                    ++minor;
                }
            }
        }
        if (pattern.styled())
            phase = (phase + steps.length % kPatternCycle) % kPatternCycle;
    }
}

QRect PolylinePixelBounds(const PixelPolyline& line, const QRect& within)
{
    QRect bounds;
    for (size_t k = 0; k + 1 < line.points.size(); ++k) {
        const SteppedLine steps(line.points[k], line.points[k + 1]);
        int64_t first = 0;
        int64_t last = 0;
        if (!steps.within(within, &first, &last))
            continue;
        // The pixels move one way on each axis, so the ends bound them.
        const PixelPoint a = steps.at(first);
        const PixelPoint b = steps.at(last);
        bounds |= QRect(QPoint(int(std::min(a.x, b.x)), int(std::min(a.y, b.y))),
                        QPoint(int(std::max(a.x, b.x)), int(std::max(a.y, b.y))));
    }
    return bounds;
}
