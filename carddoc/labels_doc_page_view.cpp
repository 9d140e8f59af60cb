// The page as the view shows it: moving between pages, the page bar, and
// the drawing of the page (its background, frame and shadow, the frames in
// two layers, the guides and the areas the printer cannot reach).
#include <cstring>

#include "carddoc/card_view_services.h"
#include "carddoc/labels_doc.h"
#include "foundation/int_math.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_store.h"
#include "platform/dc.h"
#include "records/preferences_format.h"
#include "text/text_tool.h"

namespace {

constexpr ColorRef kLightGrey = 0xC0C0C0;
constexpr int16_t kZoomOther = 6;

// Saves the context's clip and narrows it to a logical rectangle; puts the
// old clip back when it ends.
class ClipTo {
public:
    ClipTo(Dc* dc, const IntRect* r) : dc_(dc)
    {
        if (!r)
            return;
        active_ = true;
        had_ = dc_->hasClip();
        if (had_)
            saved_ = dc_->clipRegion();
        dc_->intersectClipRect(r->left, r->top, r->right, r->bottom);
    }
    ~ClipTo()
    {
        if (active_)
            dc_->selectClipRgn(had_ ? &saved_ : nullptr);
    }
    ClipTo(const ClipTo&) = delete;
    ClipTo& operator=(const ClipTo&) = delete;

private:
    Dc* dc_;
    bool active_ = false;
    bool had_ = false;
    Region saved_;
};

}  // namespace

int16_t CLabelsDoc::IsFacingPage(int16_t page)
{
    if (!pageBlock_.facing)
        return 0;
    if (page == manager_->PageNumberOfSlot(0))
        return 2;
    if (page == manager_->PageNumberOfSlot(1))
        return 1;
    return 0;
}

void CLabelsDoc::GoToPage(int16_t page)
{
    display_[5] = 0;
    SwitchToPage(page);
    RefreshView();
    UpdatePageBar();
}

void CLabelsDoc::UpdatePageBar()
{
    if (!view_)
        return;
    const int16_t current = GetCurrentPage();
    const bool shown = current != kNoPageNumber;
    const int32_t page = shown ? current : 0;
    const int32_t count = GetPageCount();
    const int32_t first = pageBlock_.firstPage;
    const int32_t last = first + count - 1;
    std::string text;
    if ((pageBlock_.sides == 1 || pageBlock_.sides == 2) && shown && page - first <= 1)
        text = page - first == 0 ? "Front Page" : "Back Page";
    else
        text = "pg. " + std::to_string(page) + " of " + std::to_string(count);
    view_->SetPageText(text);
    view_->EnablePageButtons(shown && page != first, shown ? page != last : count > 0);
    int16_t n = 1, d = 1, mode = 0;
    manager_->GetZoom(&n, &d, &mode);
    // A zoom of the user's own percentage keeps showing it; the plain form
    // would read "Fit" for every percentage over 100.
    UpdateZoomBox(mode == kZoomOther);
}

void CLabelsDoc::DrawPage(Dc* dc)
{
    if (!dc || !DrawingEnabled())
        return;
    // The area is painted afresh: every frame in it is drawn, not only
    // those a redraw marked as changed.
    manager_->ResetFrameStates(kDrawDone);
    TextTool* text = IsTextToolCurrent() ? Tool() : nullptr;
    const TextPosition caret = text ? text->EditPlace() : TextPosition{};
    const bool guidesBehind = GeneralPref(kPrefGuidesInBack) != 0;
    DrawPageBackground(dc);
    DrawFrameLayer(dc, true);
    if (guidesBehind)
        DrawGuidesAndAreas(dc, false);
    DrawFrameLayer(dc, false);
    if (!guidesBehind)
        DrawGuidesAndAreas(dc, false);
    if (text)
        text->RestoreEditPlace(caret);
}

void CLabelsDoc::DrawPageBackground(Dc* dc)
{
    IntRect page{0, 0, DocToViewLength(pageBlock_.pageWidth), DocToViewLength(pageBlock_.pageHeight)};
    {
        ClipTo clip(dc, clipPage_ ? &page : nullptr);
        IntRect client{};
        if (view_)
            view_->GetClientRectLogical(&client);
        else
            client = page;
        dc->fillRect(client, Brush::Solid(kWhite));
    }
    dc->frameRect(page, Brush::Solid(kBlack));
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 2, kBlack});
    const Brush oldBrush = dc->selectBrush(Brush::Hollow());
    for (int slot = 0; slot < 2; ++slot) {
        if (manager_->PageHandleOfSlot(slot) == kNoPageHandle)
            continue;
        IntRect r = pageBlock_.slots[slot];
        DocToViewRect(&r);
        dc->rectangle(r.left, r.top, r.right, r.bottom);
        dc->moveTo(r.left + 1, r.bottom);
        dc->lineTo(r.right, r.bottom);
        dc->moveTo(r.right, r.top + 1);
        dc->lineTo(r.right, r.bottom);
    }
    dc->selectBrush(oldBrush);
    dc->selectPen(oldPen);
}

void CLabelsDoc::DrawFrameLayer(Dc* dc, bool back)
{
    const int32_t rop = dc->setRop2(R2_COPYPEN);
    const Brush oldBrush = dc->selectBrush(Brush::Solid(kBlack));
    manager_->DrawAllFiltered(dc, 1, back ? 1 : 0);
    dc->selectBrush(oldBrush);
    dc->setRop2(rop);
}

void CLabelsDoc::DrawGuidesAndAreas(Dc* dc, bool clip)
{
    IntRect page{0, 0, DocToViewLength(pageBlock_.pageWidth), DocToViewLength(pageBlock_.pageHeight)};
    ClipTo clipping(dc, clip ? &page : nullptr);

    if (ShowsNonPrintingAreas()) {
        IntRect outer = pageBlock_.slots[0];
        const int32_t* margins = NonPrintingMargins();
        IntRect printable{outer.left + margins[0], outer.top + margins[1], outer.right - margins[2],
                          outer.bottom - margins[3]};
        DocToViewRect(&outer);
        DocToViewRect(&printable);
        outer = IntRect{outer.left - 1, outer.top - 1, outer.right + 1, outer.bottom + 1};
        Region areas;
        areas.combine(Region::FromRect(outer), Region::FromRect(printable), RGN_DIFF);
        if (!areas.isEmpty())
            dc->fillRgn(areas, Brush::Solid(kLightGrey));
    }

    if (!ShowGuides() || GetCurrentPage() == kNoPageNumber)
        return;
    const Pen oldPen = dc->selectPen(Pen{PS_DASHDOT, 1, ColorRef(GeneralPref(kPrefGuideColour))});
    const int32_t cardW = TruncToInt32(pageBlock_.cardWidth);
    const int32_t cardH = TruncToInt32(pageBlock_.cardHeight);
    for (int slot = 0; slot < 2; ++slot) {
        if (manager_->PageHandleOfSlot(slot) == kNoPageHandle)
            continue;
        const IntRect& bounds = pageBlock_.slots[slot];
        for (int i = 0; i < CurrPageMng::kGuidesPerSlot; ++i) {
            const GuideEntry& guide = manager_->Guide(slot, i);
            if (guide.kind == kGuideVertical) {
                const int32_t x = DocToViewX(bounds.left + guide.position);
                dc->moveTo(x, DocToViewY(bounds.top));
                dc->lineTo(x, DocToViewY(bounds.top + cardH));
            } else if (guide.kind == kGuideHorizontal) {
                const int32_t y = DocToViewY(bounds.top + guide.position);
                dc->moveTo(DocToViewX(bounds.left), y);
                dc->lineTo(DocToViewX(bounds.left + cardW), y);
            }
        }
    }
    dc->selectPen(oldPen);
}

void CLabelsDoc::RepaintBackground()
{
    if (!view_)
        return;
    view_->NotifyViewChanged();
    Dc* dc = view_->GetViewDC();
    if (!dc)
        return;
    IntRect client;
    view_->GetClientRectLogical(&client);
    dc->fillRect(client, Brush::Solid(kWhite));
    ClipTo clip(dc, &client);
    DrawPage(dc);
}

void CLabelsDoc::DrawAllFrames() { manager_->DrawAllFrames(); }

void CLabelsDoc::DeleteFrame(FrameObj* frame)
{
    if (!frame)
        return;
    if (frame->GetType() == kFrameGroup)
        manager_->RemoveGroupFrame(frame);
    else
        manager_->RemoveFrame(frame);
    frames_->DeleteFrame(frame);
    SetModified(true);
}

bool CLabelsDoc::HasRoom() { return manager_->HasRoom(); }
