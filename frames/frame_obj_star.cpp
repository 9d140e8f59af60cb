#include "frames/frame_obj_star.h"

#include <vector>

#include "foundation/int_math.h"
#include "foundation/keys.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj_scratch_dc.h"
#include "frames/frame_shape_outline.h"
#include "frames/own_record_io.h"
#include "graphics/placement.h"
#include "graphics/rotation.h"
#include "graphics/styled_polygon.h"

namespace {

// The star's points turn with the frame about the frame's own origin, as
// its corners and handles do; the polygon drawing turns about the centre,
// so it is given a placement moved by the difference.
FramePlacement CentreTurned(const FramePlacement& p)
{
    if (p.angle == 0)
        return p;
    DoublePoint centre{p.x + p.width / 2.0, p.y + p.height / 2.0};
    const DoublePoint unturned = centre;
    RotatePoint(&centre, 1, p.x, p.y, p.angle);
    FramePlacement moved = p;
    moved.x = Add32(p.x, TruncToInt32(centre.x - unturned.x));
    moved.y = Add32(p.y, TruncToInt32(centre.y - unturned.y));
    return moved;
}

std::vector<IntPoint> StarOutline(const FramePlacement& p, const StarDescription& d)
{
    const FramePlacement moved = CentreTurned(p);
    std::vector<FloatPoint> pts = StyledPolygonPoints(moved, d);
    if (moved.angle != 0 && !pts.empty())
        RotatePoint(pts.data(), int16_t(pts.size()), moved.x + moved.width / 2.0, moved.y + moved.height / 2.0,
                    moved.angle);
    std::vector<IntPoint> out;
    out.reserve(pts.size());
    for (const FloatPoint& f : pts)
        out.push_back(IntPoint{TruncToInt32(f.x), TruncToInt32(f.y)});
    return out;
}

void TraceStar(Dc* dc, const FramePlacement& p, const StarDescription& d)
{
    const std::vector<IntPoint> pts = StarOutline(p, d);
    if (pts.empty())
        return;
    dc->moveTo(pts[0].x, pts[0].y);
    for (size_t i = 1; i < pts.size(); ++i)
        dc->lineTo(pts[i].x, pts[i].y);
    dc->lineTo(pts[0].x, pts[0].y);
}

}  // namespace

StarDescription FrameObjStar::Description() const
{
    StarDescription d;
    d.points = star_.points;
    d.starFlag = star_.shape;
    d.innerRatio = star_.acuteness;
    return d;
}

uint32_t FrameObjStar::DataSize() const { return FrameObj::DataSize() + kStarRecordSize; }

int32_t FrameObjStar::ReadBody(FileHandle file, BlockTarget target)
{
    uint8_t bytes[kStarRecordSize] = {};
    const int32_t err = ReadOwnRecord(FrameObj::ReadBody(file, target), file, bytes, sizeof bytes);
    if (err == 0)
        star_ = GetStarParams(bytes);
    return err;
}

int32_t FrameObjStar::WriteBody(FileHandle file, BlockTarget target)
{
    uint8_t bytes[kStarRecordSize];
    PutStarParams(bytes, star_);
    return WriteOwnRecord(FrameObj::WriteBody(file, target), file, bytes, sizeof bytes);
}

int32_t FrameObjStar::CopyTo(FrameObj* destination)
{
    FrameObj::CopyTo(destination);
    if (destination->GetType() == kFrameStar)
        static_cast<FrameObjStar*>(destination)->SetStarParams(star_);
    return 0;
}

void FrameObjStar::SetStarParams(const StarParams& star)
{
    star_ = star;
    modified_ = 1;
}

void FrameObjStar::PathQuad(Dc* dc, const CornerQuad& q)
{
    FramePlacement p;
    QuadToPlacement(q, &p);
    TraceStar(dc, p, Description());
}

void FrameObjStar::PathRect(Dc* dc, const IntRect& r)
{
    FrameGeometry g;
    RectToPlacement(r, &g);
    TraceStar(dc, g, Description());
}

void FrameObjStar::PathGeometry(Dc* dc, const FrameGeometry& g) { TraceStar(dc, g, Description()); }

std::optional<Region> FrameObjStar::InnerRegion(Dc*, const FrameGeometry& g)
{
    const std::vector<IntPoint> pts = StarOutline(g, Description());
    if (pts.size() < 3)
        return Region();
    return Region::FromPolygon(pts.data(), int(pts.size()), ALTERNATE);
}

void FrameObjStar::StrokeBorder(Dc* dc, int16_t width)
{
    FrameGeometry copy = viewGeometry_;
    copy.lineWidth = width;
    const FramePlacement moved = CentreTurned(copy);
    static_cast<FramePlacement&>(copy) = moved;
    DrawStyledPolygon(dc, copy, Description());
}

void FrameObjStar::FillShape(Dc* dc, uint8_t)
{
    Region inner;
    InnerViewRegion(dc, &inner);
    dc->paintRgn(inner);
}

void FrameObjStar::StrokeOutline(Dc* dc, const FrameGeometry& g) { TraceStar(dc, g, Description()); }

bool FrameObjStar::AddRotatedPoints(Dc* dc, WrapPointList* list, int32_t limit)
{
    const FrameGeometry g = block_.attr.geometry;
    const StarDescription d = Description();
    return AddSampledOutline(dc, list, limit, [&](Dc* target) { TraceStar(target, g, d); });
}

void FrameObjStar::EditInfo(int32_t arg)
{
    if (IsKeyDown(kVkShift) || !document_) {
        FrameObj::EditInfo(arg);
        return;
    }
    StarParams chosen = star_;
    if (!document_->RunStarInfo(&chosen, viewGeometry_))
        return;
    star_ = chosen;
    MarkChanged(1, 0);
    if (CurrPageMng* manager = document_->PageManager()) {
        manager->ResetFrameStates(kDrawNeeded);
        manager->RedrawCurrentPage(0, 0, 0);
    }
}
