#include "frames/frame_obj_line.h"

#include <algorithm>
#include <cmath>

#include "foundation/int_math.h"
#include "frames/frame_document.h"
#include "frames/frame_view_services.h"
#include "frames/wrap_point_list.h"
#include "graphics/border_geometry.h"
#include "graphics/corner_quad.h"
#include "graphics/frame_border.h"
#include "graphics/line_forms.h"
#include "graphics/placement.h"
#include "graphics/rotation.h"

namespace {

LineRecord RecordOf(const FrameGeometry& g)
{
    LineRecord r;
    LinePlacementToRecord(g, &r);
    return r;
}

IntRect BoundsOf(const std::vector<IntPoint>& pts)
{
    if (pts.empty())
        return IntRect{};
    IntRect r{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
    for (const IntPoint& p : pts) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

}  // namespace

std::vector<IntPoint> FrameObjLine::OutlinePolygon(const LineRecord& line, int32_t grow)
{
    const LineBand band = LineBandOf(line, 0);
    int32_t left = band.start.x, right = Add32(band.start.x, band.length);
    int32_t top = band.lineY, bottom = band.lineY;
    for (int32_t part : {kBorderPartBand, kBorderPartRightCap, kBorderPartLeftCap}) {
        IntPoint pts[kBorderGeometryMaxPoints];
        int32_t n = 0;
        BorderGeometry(line, 0, part, pts, &n);
        for (int32_t i = 0; i < n; ++i) {
            left = std::min(left, pts[i].x);
            right = std::max(right, pts[i].x);
            top = std::min(top, pts[i].y);
            bottom = std::max(bottom, pts[i].y);
        }
    }
    std::vector<IntPoint> box = {{left - grow, top - grow},
                                 {right + grow, top - grow},
                                 {right + grow, bottom + grow},
                                 {left - grow, bottom + grow}};
    if (band.angle != 0)
        RotatePoint(box.data(), 4, band.start.x, band.start.y, band.angle);
    return box;
}

void FrameObjLine::GetEndPoints(IntRect* out) const
{
    const LineRecord r = RecordOf(block_.attr.geometry);
    *out = IntRect{r.start.x, r.start.y, r.end.x, r.end.y};
}

void FrameObjLine::LineBounds(const LineRecord& line, IntRect* out) const { *out = BoundsOf(OutlinePolygon(line, 0)); }

void FrameObjLine::PathLine(Dc* dc, const LineRecord& line)
{
    const std::vector<IntPoint> pts = OutlinePolygon(line, 0);
    dc->moveTo(pts[0].x, pts[0].y);
    for (size_t i = 1; i <= pts.size(); ++i)
        dc->lineTo(pts[i % pts.size()].x, pts[i % pts.size()].y);
}

void FrameObjLine::SetFromRect(const IntRect& rect)
{
    MarkChanged(1, 0);
    FrameGeometry& g = block_.attr.geometry;
    LineRecord r;
    r.start = IntPoint{rect.left, rect.top};
    r.end = IntPoint{rect.right, rect.bottom};
    r.lineWidth = g.lineWidth;
    r.lineStyle = g.lineStyle;
    r.leftCap = uint8_t(g.sides >> 4);
    r.rightCap = uint8_t(g.sides & 15);
    LineRecordToPlacement(r, &g);
    Recompute(1);
}

void FrameObjLine::SetGeometryField(int16_t index, int16_t value)
{
    MarkChanged(1, 0);
    FrameGeometry& g = block_.attr.geometry;
    LineRecord r = RecordOf(g);
    double length = g.length;
    double direction = g.angle;
    switch (index) {
    case 0:
        r.start.x = value;
        break;
    case 1:
        r.start.y = value;
        break;
    case 2:
        length = value;
        break;
    case 3:
    case 4:
        direction = value;
        break;
    default:
        break;
    }
    const double radians = -direction * kRadiansPerDegree;
    r.end = IntPoint{TruncToInt32(std::round(r.start.x + length * std::cos(radians))),
                     TruncToInt32(std::round(r.start.y + length * std::sin(radians)))};
    LineRecordToPlacement(r, &g);
    Recompute(1);
}

void FrameObjLine::BoundsOfGeometry(const FrameGeometry& g, IntRect* out) const { LineBounds(RecordOf(g), out); }

void FrameObjLine::GetBounds(IntRect* out, uint8_t toView, int16_t which) const
{
    BoundsOfGeometry(GeometryOf(which), out);
    if (toView)
        DocToViewRect(out);
}

void FrameObjLine::Recompute(uint8_t withRegion)
{
    int16_t num = 1, den = 1;
    GetZoom(&num, &den);
    viewGeometry_ = block_.attr.geometry;
    PlacementScale(&viewGeometry_, num, den);
    line_ = RecordOf(viewGeometry_);
    LineBounds(line_, &viewRect_);
    RectToCornerQuad(viewRect_, &viewCorners_);
    redrawPending_ = 1;
    if (withRegion) {
        regionValid_ = 0;
        Region rebuilt;
        GetOutlineRegion(ViewDc(), &rebuilt);
    }
}

std::optional<Region> FrameObjLine::MakeOutlineRegion(Dc*, uint8_t view)
{
    // A thin line is still hit two units beside it.
    LineRecord r = view ? line_ : RecordOf(block_.attr.geometry);
    r.lineWidth = int16_t(r.lineWidth + 4);
    const std::vector<IntPoint> pts = OutlinePolygon(r, 0);
    return Region::FromPolygon(pts.data(), int(pts.size()), ALTERNATE);
}

void FrameObjLine::GetOutlineRegion(Dc* dc, Region* out)
{
    outlineRegion_ = *MakeOutlineRegion(dc, 1);
    regionValid_ = 1;
    *out = outlineRegion_;
}

std::optional<Region> FrameObjLine::InnerRegion(Dc*, const FrameGeometry& g)
{
    LineRecord r = RecordOf(g);
    r.lineWidth = int16_t(r.lineWidth + 2);
    const std::vector<IntPoint> pts = OutlinePolygon(r, 0);
    return Region::FromPolygon(pts.data(), int(pts.size()), ALTERNATE);
}

void FrameObjLine::StrokeAtWidth(Dc* dc, int16_t viewWidth)
{
    LineRecord r = line_;
    r.lineWidth = viewWidth;
    DrawFrameBorder(dc, r, 0);
}

void FrameObjLine::StrokeOutline(Dc* dc, const FrameGeometry& g)
{
    LineRecord r = RecordOf(g);
    r.leftCap = uint8_t(block_.attr.geometry.sides >> 4);
    r.rightCap = uint8_t(block_.attr.geometry.sides & 15);
    PathLine(dc, r);
}

void FrameObjLine::GetHandlePoint(IntPoint* out, int16_t n) const
{
    if (n == 1)
        *out = line_.start;
    else if (n == 2)
        *out = line_.end;
}

Region FrameObjLine::HitRegion()
{
    Region rgn;
    GetOutlineRegion(ViewDc(), &rgn);
    return rgn;
}

FrameTracker* FrameObjLine::CreateTracker(FrameView* view, int16_t mode)
{
    if (block_.attr.locked || block_.pinned || !view)
        return nullptr;
    return view->NewTracker(TrackerKind::kLine, this, mode);
}

void FrameObjLine::RotateAbout(double angle, const IntPoint& centre, int16_t mode)
{
    if (block_.attr.locked || block_.pinned)
        return;
    if (mode == 0) {
        MarkChanged(1, 1);
        LinePlacementRotateAbout(&block_.attr.geometry, angle, centre);
        Recompute(0);
    } else if (mode == 2) {
        LinePlacementRotateAbout(&dragGeometry_, angle, centre);
    }
}

void FrameObjLine::BeginDrag(uint8_t mark)
{
    dragGeometry_ = block_.attr.geometry;
    if (mark)
        MarkChanged(1, 1);
}

bool FrameObjLine::AddRectPoints(Dc*, WrapPointList* list, int32_t limit)
{
    if (!list->HasRoom(8, limit))
        return false;
    IntRect r;
    LineBounds(RecordOf(block_.attr.geometry), &r);
    const int32_t inset = block_.outlineInset;
    const IntPoint c[4] = {{r.left - inset, r.top - inset},
                           {r.right + inset, r.top - inset},
                           {r.right + inset, r.bottom + inset},
                           {r.left - inset, r.bottom + inset}};
    for (int i = 0; i < 4; ++i) {
        list->Add(c[i]);
        list->Add(c[(i + 1) % 4]);
    }
    return list->Count() > 0;
}

bool FrameObjLine::AddRotatedPoints(Dc*, WrapPointList* list, int32_t limit)
{
    const std::vector<IntPoint> pts = OutlinePolygon(RecordOf(block_.attr.geometry), block_.outlineInset);
    const int32_t n = int32_t(pts.size());
    if (!list->HasRoom(2 * n, limit))
        return false;
    for (int32_t i = 0; i < n; ++i) {
        list->Add(pts[size_t(i)]);
        list->Add(pts[size_t((i + 1) % n)]);
    }
    return list->Count() > 0;
}
