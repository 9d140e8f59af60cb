#include "tools/stand_ins/sample_page.h"

#include <algorithm>
#include <cmath>

#include "foundation/path_record.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_group.h"
#include "frames/frame_obj_star.h"
#include "graphics/fill_patterns.h"
#include "graphics/hls.h"
#include "graphics/rect_ops.h"

namespace {

constexpr int32_t kMarginPixels = 24;
constexpr ColorRef kPasteboard = MakeRgb(214, 214, 214);
constexpr ColorRef kPageEdge = MakeRgb(96, 96, 96);

const ColorRef kPalette[16] = {
    MakeRgb(255, 255, 255), MakeRgb(220, 30, 30),   MakeRgb(30, 160, 60),   MakeRgb(40, 80, 210),
    MakeRgb(255, 230, 40),  MakeRgb(60, 220, 230),  MakeRgb(210, 50, 190),  MakeRgb(250, 140, 20),
    MakeRgb(120, 60, 170),  MakeRgb(130, 80, 40),   MakeRgb(250, 170, 200), MakeRgb(200, 200, 200),
    MakeRgb(140, 140, 140), MakeRgb(70, 70, 70),    MakeRgb(20, 30, 110),   MakeRgb(0, 0, 0),
};

}  // namespace

ColorRef SampleColour(uint8_t index) { return kPalette[index & 15]; }

SamplePageDocument::SamplePageDocument(const std::string& swapFolder, IntSize page, int32_t zoomPercent)
    : page_(page), margin_(kMarginPixels)
{
    // The application turns the hatch patterns on at start-up.
    SetUseHatchBrushes(true);
    PathRecord folder{};
    ok_ = PathRecordFromPosix(swapFolder + "/", &folder) == 0 && swap_.CreateSwapFile(folder) == 0;
    if (zoomPercent <= 0)
        zoomPercent = 100;
    const int32_t width = page.width * zoomPercent / 100 + 2 * margin_;
    const int32_t height = page.height * zoomPercent / 100 + 2 * margin_;
    surface_ = QImage(width, height, QImage::Format_RGB32);
    surface_.fill(Qt::white);
    dc_ = Dc::ForImage(&surface_);
    dc_->setViewportOrg(margin_, margin_);
    pages_.InsertPages(0, 1, 0, 0);
    manager_.SetZoom(uint16_t(zoomPercent), 100, 4, 0);
    manager_.CopyPageRects();
    manager_.SetPageNumbers(FirstPageNumber(), kNoPageNumber);
    manager_.LoadCurrentPages(1);
}

SamplePageDocument::~SamplePageDocument() = default;

void SamplePageDocument::GetPageZoom(int16_t* mode, int16_t* numerator, int16_t* denominator)
{
    manager_.GetZoom(numerator, denominator, mode);
}

void SamplePageDocument::GetPageSlotRect(int16_t slot, IntRect* r)
{
    *r = slot == 0 ? IntRect{0, 0, page_.width, page_.height} : IntRect{};
}

ColorRef SamplePageDocument::GetTint(uint8_t index, uint8_t percent)
{
    const ColorRef plain = SampleColour(index);
    if (percent >= 100)
        return plain;
    int16_t h = 0, l = 0, s = 0;
    RgbToHls(plain, &h, &l, &s);
    l = int16_t(l + (kHlsScale - l) * (100 - percent) / 100);
    return HlsToRgb(h, l, s);
}

Dc* SamplePageDocument::GetViewDC() { return targets_.empty() ? dc_.get() : targets_.back(); }

void SamplePageDocument::PushDrawTarget(Dc* dc, uint32_t) { targets_.push_back(dc); }

void SamplePageDocument::PopDrawTarget()
{
    if (!targets_.empty())
        targets_.pop_back();
}

void SamplePageDocument::GetClientRectLogical(IntRect* r)
{
    *r = IntRect{-margin_, -margin_, surface_.width() - margin_, surface_.height() - margin_};
}

void SamplePageDocument::InvalidateRect(const IntRect& device, bool) { invalidated.push_back(device); }

void SamplePageDocument::InvalidateRgn(const Region& device, bool) { invalidated.push_back(device.bounds()); }

void SamplePageDocument::Refresh() { ++refreshes; }

IntPoint SamplePageDocument::SurfacePoint(const IntPoint& doc) const
{
    int16_t num = 1, den = 1, mode = 0;
    manager_.GetZoom(&num, &den, &mode);
    return IntPoint{doc.x * num / den + margin_, doc.y * num / den + margin_};
}

FrameObj* SamplePageDocument::AddFrame(int16_t type, const IntRect& rect)
{
    FrameObj* frame = frames_.CreateFrameObject(type, 1);
    if (!frame)
        return nullptr;
    frame->SetFromRect(rect);
    if (type == kFrameGroup)
        manager_.AddGroupFrame(frame);
    else
        manager_.AppendFrame(frame);
    return frame;
}

void SamplePageDocument::Paint()
{
    Dc* dc = GetViewDC();
    std::optional<Region> background;
    manager_.SubtractOpaqueFrames(&background, 0);
    int16_t num = 1, den = 1, mode = 0;
    manager_.GetZoom(&num, &den, &mode);
    IntRect page{0, 0, page_.width, page_.height};
    page.right = page.right * num / den;
    page.bottom = page.bottom * num / den;
    IntRect client;
    GetClientRectLogical(&client);

    Region clip = *background;
    IntPoint origin{0, 0};
    dc->lpToDp(&origin, 1);
    clip.offset(origin.x, origin.y);
    dc->selectClipRgn(&clip);
    dc->fillRect(client, Brush::Solid(kPasteboard));
    dc->fillRect(page, Brush::Solid(kWhite));
    dc->selectClipRgn(nullptr);
    IntRect edge = page;
    RectInset(&edge, -1, -1);
    dc->frameRect(edge, Brush::Solid(kPageEdge));

    // Everything was painted over: every frame is drawn again.
    manager_.ResetFrameStates(kDrawNeeded);
    const int32_t rop = dc->setRop2(R2_COPYPEN);
    manager_.DrawAllFiltered(dc, 1, 1);
    dc->setRop2(rop);
    manager_.DrawAllFiltered(dc, 1, 0);
    invalidated.clear();
}

// ---- the cells ----

namespace {

IntRect Inset(const IntRect& r, int32_t dx, int32_t dy)
{
    IntRect out = r;
    RectInset(&out, dx, dy);
    return out;
}

IntRect At(const IntRect& cell, int32_t left, int32_t top, int32_t width, int32_t height)
{
    return IntRect{cell.left + left, cell.top + top, cell.left + left + width, cell.top + top + height};
}

struct Look {
    uint8_t fill = kSampleWhite;
    uint8_t background = kSampleWhite;
    uint8_t border = kSampleBlack;
    int16_t borderWidth = 2;
    int16_t borderStyle = 1;
    uint8_t fillPattern = 0;
    uint8_t borderPattern = 0;
};

FrameObj* Shape(SamplePageDocument& doc, int16_t type, const IntRect& rect, const Look& look)
{
    FrameObj* f = doc.AddFrame(type, rect);
    if (!f)
        return nullptr;
    f->SetColour(look.fill, 1);
    f->SetColour(look.background, 2);
    f->SetColour(look.border, 0);
    f->SetPattern(look.fillPattern, 1);
    f->SetPattern(look.borderPattern, 0);
    f->SetBorderStyle(look.borderStyle);
    f->SetBorderWidth(look.borderWidth);
    return f;
}

constexpr uint8_t kHatchDiagCross = kFillFirstHatch + 5;
constexpr uint8_t kHatchVertical = kFillFirstHatch + 1;
constexpr uint8_t kHatchForward = kFillFirstHatch + 2;

void PlainCell(SamplePageDocument& doc, const IntRect& cell)
{
    Shape(doc, kFramePlain, Inset(cell, 30, 30),
          Look{kSampleLightGray, kSampleLightGray, kSampleBlack, 3, 1, 0, 0});
}

void RectCell(SamplePageDocument& doc, const IntRect& cell)
{
    Shape(doc, kFrameRect, Inset(cell, 25, 25), Look{kSampleRed, kSampleYellow, kSampleNavy, 9, 3, kHatchDiagCross, 0});
}

void RoundRectCell(SamplePageDocument& doc, const IntRect& cell)
{
    Shape(doc, kFrameRoundRect, Inset(cell, 25, 30), Look{kSampleBlue, kSampleBlue, kSampleDarkGray, 5, 1, 0, 0});
}

// A see-through ellipse over an opaque rectangle: where they overlap the
// ellipse's colour is combined with what lies beneath.
void EllipseCell(SamplePageDocument& doc, const IntRect& cell)
{
    Shape(doc, kFrameRect, At(cell, 20, 20, 90, 110), Look{kSampleCyan, kSampleCyan, kSampleNavy, 2, 1, 0, 0});
    Shape(doc, kFrameEllipse, At(cell, 55, 35, 110, 90),
          Look{kSampleYellow, kNoBackground, kSampleOrange, 4, 1, 0, 0});
}

void StarCell(SamplePageDocument& doc, const IntRect& cell)
{
    FrameObj* f = Shape(doc, kFrameStar, Inset(cell, 25, 15), Look{kSampleOrange, kSampleOrange, kSampleBlack, 2, 1, 0, 0});
    if (f)
        static_cast<FrameObjStar*>(f)->SetStarParams(StarParams{5, 0, 0.55});
}

void PolygonCell(SamplePageDocument& doc, const IntRect& cell)
{
    Shape(doc, kFrameRect, At(cell, 60, 20, 60, 120), Look{kSampleGreen, kSampleGreen, kSampleGreen, 0, 1, 0, 0});
    FrameObj* f = Shape(doc, kFrameStar, Inset(cell, 25, 15),
                        Look{kSamplePurple, kNoBackground, kSamplePurple, 4, 2, kHatchVertical, 0});
    if (f)
        static_cast<FrameObjStar*>(f)->SetStarParams(StarParams{6, 1, 0.75});
}

void LineCell(SamplePageDocument& doc, const IntRect& cell)
{
    FrameObj* thick = doc.AddFrame(kFrameLine, IntRect{cell.left + 20, cell.top + 30, cell.right - 20, cell.top + 50});
    if (thick) {
        thick->SetColour(kSamplePurple, 0);
        thick->SetBorderWidth(7);
        FrameGeometry g = thick->Geometry();
        g.sides = uint8_t((1 << 4) | 2);  // round start, arrow end
        thick->SetGeometry(g);
    }
    // Drawn from right to left: the line keeps its direction.
    FrameObj* thin = doc.AddFrame(kFrameLine, IntRect{cell.right - 20, cell.top + 80, cell.left + 20, cell.top + 95});
    if (thin) {
        thin->SetColour(kSampleBlack, 0);
        thin->SetBorderWidth(1);
    }
    FrameObj* dashed = doc.AddFrame(kFrameLine, IntRect{cell.left + 20, cell.bottom - 30, cell.right - 20, cell.bottom - 30});
    if (dashed) {
        dashed->SetColour(kSampleNavy, 0);
        dashed->SetBorderWidth(4);
        dashed->SetBorderStyle(7);
    }
}

void ArcCell(SamplePageDocument& doc, const IntRect& cell)
{
    FrameObj* a = doc.AddFrame(kFrameArc, At(cell, 25, 25, 130, 110));
    if (a) {
        a->SetColour(kSampleMagenta, 0);
        a->SetBorderWidth(6);
    }
    // Dragged up and to the left: another quarter.
    FrameObj* b = doc.AddFrame(kFrameArc, IntRect{cell.left + 120, cell.top + 120, cell.left + 60, cell.top + 60});
    if (b) {
        b->SetColour(kSampleBrown, 0);
        b->SetBorderWidth(2);
    }
}

void GroupCell(SamplePageDocument& doc, const IntRect& cell)
{
    FrameObj* a = Shape(doc, kFrameRect, At(cell, 25, 30, 70, 60), Look{kSamplePink, kSamplePink, kSampleBlack, 2, 1, 0, 0});
    FrameObj* b = Shape(doc, kFrameEllipse, At(cell, 75, 70, 80, 60), Look{kSampleCyan, kSampleCyan, kSampleBlack, 2, 1, 0, 0});
    FrameObj* group = doc.AddFrame(kFrameGroup, cell);
    if (!a || !b || !group)
        return;
    a->AppendId(group->FrameId());
    b->AppendId(group->FrameId());
    group->SetSelected(1);
}

// Opaque frames over others: the lower frames never paint over them. A
// white fill without a background lets the rectangle beneath show through.
void OverlapCell(SamplePageDocument& doc, const IntRect& cell)
{
    Shape(doc, kFrameRect, At(cell, 15, 15, 100, 70), Look{kSampleRed, kSampleRed, kSampleBlack, 2, 1, 0, 0});
    Shape(doc, kFrameEllipse, At(cell, 60, 40, 100, 70), Look{kSampleGreen, kSampleGreen, kSampleBlack, 2, 1, 0, 0});
    Shape(doc, kFrameRect, At(cell, 20, 95, 80, 50), Look{kSampleBlue, kSampleBlue, kSampleBlack, 1, 1, 0, 0});
    Shape(doc, kFrameRect, At(cell, 60, 105, 90, 40),
          Look{kSampleWhite, kNoBackground, kSampleBlack, 2, 1, kHatchForward, 0});
}

void HandlesCell(SamplePageDocument& doc, const IntRect& cell)
{
    FrameObj* r = Shape(doc, kFrameRect, At(cell, 20, 20, 70, 55), Look{kSampleLightGray, kSampleLightGray, kSampleBlack, 1, 1, 0, 0});
    FrameObj* e = Shape(doc, kFrameEllipse, At(cell, 95, 25, 65, 50), Look{kSamplePink, kSamplePink, kSampleBlack, 1, 1, 0, 0});
    FrameObj* l = doc.AddFrame(kFrameLine, IntRect{cell.left + 25, cell.bottom - 25, cell.right - 25, cell.top + 100});
    if (r)
        r->SetSelected(1);
    if (e) {
        e->SetSelected(1);
        e->SetLocked(1);
    }
    if (l) {
        l->SetBorderWidth(3);
        l->SetSelected(1);
    }
}

void HairlineCell(SamplePageDocument& doc, const IntRect& cell)
{
    Shape(doc, kFrameRect, At(cell, 20, 20, 140, 40), Look{kSampleWhite, kSampleWhite, kSampleBlack, 1, 1, 0, 0});
    FrameObj* sides = Shape(doc, kFrameRect, At(cell, 20, 75, 140, 30), Look{kSampleYellow, kSampleYellow, kSampleNavy, 4, 1, 0, 0});
    if (sides) {
        FrameGeometry g = sides->Geometry();
        g.sides = kSideTop | kSideBottom;
        sides->SetGeometry(g);
    }
    // A hollow border without a background draws nothing; only its frame
    // edge shows while guides are on.
    Shape(doc, kFrameRect, At(cell, 20, 120, 140, 25), Look{kSampleWhite, kNoBackground, kSampleRed, 3, 1, kFillHollow, kFillHollow});
}

}  // namespace

const std::vector<SampleCell>& ShapeSampleCells()
{
    static const std::vector<SampleCell> cells = {
        {"plain frame", PlainCell},     {"rectangle", RectCell},   {"rounded rectangle", RoundRectCell},
        {"see-through ellipse", EllipseCell}, {"star", StarCell},  {"see-through polygon", PolygonCell},
        {"lines", LineCell},            {"arcs", ArcCell},         {"group", GroupCell},
        {"opaque overlaps", OverlapCell}, {"handles", HandlesCell}, {"borders", HairlineCell},
    };
    return cells;
}

int32_t SampleCellCount() { return int32_t(ShapeSampleCells().size() + ContentSampleCells().size()); }

IntSize SamplePageSize()
{
    const int32_t rows = (SampleCellCount() + kSampleColumns - 1) / kSampleColumns;
    return IntSize{kSampleColumns * kSampleCellWidth, rows * kSampleCellHeight};
}

IntRect SampleCellRect(int32_t i)
{
    const int32_t column = i % kSampleColumns, row = i / kSampleColumns;
    return IntRect{column * kSampleCellWidth, row * kSampleCellHeight, (column + 1) * kSampleCellWidth,
                   (row + 1) * kSampleCellHeight};
}

void BuildSamplePage(SamplePageDocument& doc, double angle)
{
    CurrPageMng& manager = *doc.PageManager();
    std::vector<SampleCell> cells = ShapeSampleCells();
    const std::vector<SampleCell>& content = ContentSampleCells();
    cells.insert(cells.end(), content.begin(), content.end());
    for (size_t i = 0; i < cells.size(); ++i) {
        const IntRect cell = SampleCellRect(int32_t(i));
        const int16_t firstFrame = manager.FrameCount();
        cells[i].make(doc, cell);
        if (angle == 0)
            continue;
        const IntPoint centre{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
        for (int16_t f = firstFrame; f < manager.FrameCount(); ++f) {
            FrameObj* frame = manager.FrameAt(f);
            const uint8_t locked = frame->Attributes().locked;
            frame->SetLocked(0);
            frame->RotateAbout(angle, centre, 0);
            frame->SetLocked(locked);
        }
    }
    manager.UpdateGroups();
    manager.RecalcAll();
    manager.ClearChanged();
    manager.ResetFrameStates(kDrawNeeded);
    doc.modified = false;
}
