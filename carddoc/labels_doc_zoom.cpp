// The zoom of the shown pages: choosing it, placing the view after a
// change, and the conversions between document units (points) and view
// units that every tool and frame uses. The view never zooms by mapping:
// a view length is the document length times numerator / denominator,
// truncated toward zero.
#include <algorithm>
#include <cmath>

#include "carddoc/card_view_services.h"
#include "carddoc/labels_doc.h"
#include "carddoc/zoom_page_bar.h"
#include "foundation/int_math.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"

namespace {

constexpr int16_t kZoomFit = 0;
constexpr int16_t kZoomOther = 6;
constexpr int16_t kZoomByTool = 7;
constexpr int16_t kToolZoom = 12;

struct Fraction {
    int16_t numerator;
    int16_t denominator;
};
// Modes 1 to 5.
constexpr Fraction kFixedZooms[] = {{1, 4}, {1, 2}, {3, 4}, {1, 1}, {2, 1}};

}  // namespace

std::string ZoomBoxText(int16_t numerator, int16_t denominator, bool percentForm)
{
    const int32_t n = numerator;
    const int32_t d = denominator == 0 ? 1 : denominator;
    int32_t percent = 0;
    if (percentForm) {
        percent = n < 10 ? n * 100 / d : n;
    } else {
        if (d == 100)
            return "Fit";
        percent = n * 100 / d;
    }
    return std::to_string(percent) + "%";
}

void CLabelsDoc::SetZoomMode(int16_t mode, bool keepSelection)
{
    if (!view_)
        return;
    int16_t n = 1, d = 1, current = 0;
    manager_->GetZoom(&n, &d, &current);
    if (mode == kZoomFit) {
        IntRect client;
        view_->GetClientRectLogical(&client);
        const double w = pageBlock_.cardWidth, h = pageBlock_.cardHeight;
        double percent = 100;
        if (w > 0 && h > 0)
            percent = std::min((client.right - client.left) * 100.0 / w, (client.bottom - client.top) * 100.0 / h);
        // A window too small for one percent still shows the card at 1%: a
        // zoom of 0 would leave nothing to divide by.
        n = int16_t(std::clamp(TruncToInt32(percent), 1, int32_t(INT16_MAX)));
        d = 100;
        keepSelection = false;
    } else if (mode >= 1 && mode <= 5) {
        n = kFixedZooms[mode - 1].numerator;
        d = kFixedZooms[mode - 1].denominator;
    } else if (mode == kZoomOther) {
        int32_t percent = GetZoomPercent();
        if (!view_->AskZoomPercent(&percent) || percent <= 0)
            return;
        n = int16_t(std::min(percent, int32_t(INT16_MAX)));
        d = 100;
    } else if (mode != kZoomByTool) {
        return;
    }
    if (n <= 0 || d <= 0)
        n = d = 1;
    manager_->SetZoom(uint16_t(n), uint16_t(d), mode, 1);
    UpdateScrollSizes();
    ScrollToKeepInView(keepSelection);
    view_->Refresh();
    UpdateZoomBox(mode == kZoomOther);
    view_->SetRulerZoom(int16_t(std::clamp(GetZoomPercent(), 1, int32_t(INT16_MAX))));
    if (currentTool_ == kToolZoom) {
        if (FrameTool* tool = ToolOfKind(kToolZoom))
            tool->Activate(nullptr, 0);
    }
}

int32_t CLabelsDoc::GetZoomPercent()
{
    int16_t n = 1, d = 1, mode = 0;
    manager_->GetZoom(&n, &d, &mode);
    return d == 0 ? 100 : int32_t(n) * 100 / d;
}

void CLabelsDoc::UpdateZoomBox(bool percentForm)
{
    if (!view_)
        return;
    int16_t n = 1, d = 1, mode = 0;
    manager_->GetZoom(&n, &d, &mode);
    view_->ShowZoom(n, d, percentForm);
}

void CLabelsDoc::ScrollToKeepInView(bool keepSelection)
{
    if (!view_)
        return;
    IntRect client;
    view_->GetClientRectLogical(&client);
    const int32_t clientW = client.right - client.left;
    const int32_t clientH = client.bottom - client.top;

    bool placed = false;
    IntRect focus;
    if (keepSelection) {
        FrameObj* frame = nullptr;
        if (FrameTool* tool = ToolOfKind(currentTool_))
            frame = tool->CurrentFrame();
        if (!frame && currentTool_ == kToolObject && SelectionCount() > 0)
            frame = SelectedFrame(0);
        if (frame) {
            frame->GetBounds(&focus, 1, kGeometryCurrent);
            placed = true;
        }
    }
    if (!placed) {
        IntPoint at{};
        const int16_t slot = GetPageSlot(1);
        if (slot >= 0)
            at = IntPoint{pageBlock_.slots[slot].left, pageBlock_.slots[slot].top};
        DocToViewPoint(&at);
        focus.left = at.x;
        focus.top = at.y;
        focus.right = focus.left + DocToViewLength(TruncToInt32(pageBlock_.cardWidth));
        focus.bottom = focus.top + DocToViewLength(TruncToInt32(pageBlock_.cardHeight));
    }
    const int32_t focusW = focus.right - focus.left;
    const int32_t focusH = focus.bottom - focus.top;
    view_->ScrollTo(IntPoint{focus.left - (clientW - focusW) / 2, focus.top - (clientH - focusH) / 2});
}

int32_t CLabelsDoc::DocToViewLength(int32_t v)
{
    int32_t n = 1, d = 1;
    Zoom(&n, &d);
    return d == 0 ? v : int32_t(int64_t(v) * n / d);
}

double CLabelsDoc::DocToViewLengthF(double v)
{
    int32_t n = 1, d = 1;
    Zoom(&n, &d);
    return d == 0 ? v : v * n / d;
}

int32_t CLabelsDoc::DocToViewX(int32_t x) { return DocToViewLength(x); }

int32_t CLabelsDoc::ViewToDocX(int32_t x)
{
    int32_t n = 1, d = 1;
    Zoom(&n, &d);
    return n == 0 ? x : int32_t(int64_t(x) * d / n);
}

void CLabelsDoc::DocToViewPoint(IntPoint* p)
{
    p->x = DocToViewX(p->x);
    p->y = DocToViewY(p->y);
}

void CLabelsDoc::ViewToDocPoint(IntPoint* p)
{
    p->x = ViewToDocX(p->x);
    p->y = ViewToDocY(p->y);
}

void CLabelsDoc::DocToViewRect(IntRect* r)
{
    r->left = DocToViewX(r->left);
    r->top = DocToViewY(r->top);
    r->right = DocToViewX(r->right);
    r->bottom = DocToViewY(r->bottom);
}

void CLabelsDoc::ViewToDocRect(IntRect* r)
{
    r->left = ViewToDocX(r->left);
    r->top = ViewToDocY(r->top);
    r->right = ViewToDocX(r->right);
    r->bottom = ViewToDocY(r->bottom);
}
