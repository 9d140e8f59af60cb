#include "carddoc/zoom_tool.h"

#include <algorithm>

#include "carddoc/labels_doc.h"
#include "frames/curr_page_mng.h"
#include "graphics/rect_ops.h"

namespace {

constexpr int16_t kZoomByTool = 7;
// A drag smaller than this both ways is a click.
constexpr int32_t kClickSize = 6;

}  // namespace

int32_t ZoomTool::CurrentPercent()
{
    int16_t n = 1, d = 1;
    GetZoom(&n, &d);
    return int32_t(n) * 100 / d;
}

void ZoomTool::Activate(FrameTool* /*previous*/, int16_t /*kind*/)
{
    percent_ = CurrentPercent();
    point_ = IntPoint{};
    if (TrackerView* view = document_->CardView()) {
        IntRect client;
        view->GetClientRectLogical(&client);
        point_ = IntPoint{client.left, client.top};
        ViewToDocPoint(&point_);
    }
    PublishGraphicAttrs();
    document_->SetUndoOwner(nullptr);
}

bool ZoomTool::ZoomingOut() { return zoomOut_ != 0 || document_->ControlDown(); }

FrameObj* ZoomTool::CreateFrame(const IntRect& viewRect)
{
    frame_ = nullptr;
    IntRect r = viewRect;
    RectNormalize(&r);
    IntRect client;
    if (TrackerView* view = document_->CardView())
        view->GetClientRectLogical(&client);
    const int32_t clientW = client.right - client.left;
    const int32_t clientH = client.bottom - client.top;
    const bool click = r.right - r.left < kClickSize && r.bottom - r.top < kClickSize;
    ViewToDocRect(&r);
    if (click) {
        percent_ = CurrentPercent();
        point_ = IntPoint{r.left, r.top};
        percent_ += ZoomingOut() ? -step_ : step_;
    } else {
        const int32_t w = std::max(r.right - r.left, 1);
        const int32_t h = std::max(r.bottom - r.top, 1);
        percent_ = std::min(int32_t(int64_t(clientW) * 100 / w), int32_t(int64_t(clientH) * 100 / h));
        point_ = IntPoint{r.left + w / 2, r.top + h / 2};
    }
    ApplyZoom();
    PublishGraphicAttrs();
    return nullptr;
}

void ZoomTool::ApplyZoom()
{
    percent_ = std::clamp(percent_, kMinPercent, kMaxPercent);
    CurrPageMng* pages = document_->PageManager();
    if (!pages)
        return;
    pages->SetZoom(uint16_t(percent_), 100, kZoomByTool, 1);
    auto* doc = dynamic_cast<CLabelsDoc*>(document_);
    CardViewServices* view = doc ? doc->CardView() : nullptr;
    if (!view)
        return;
    view->ShowZoom(int16_t(percent_), 100, true);
    view->SetRulerZoom(int16_t(percent_));
    doc->UpdateScrollSizes();
    pages->ResetFrameStates(1);
    doc->RefreshView();

    IntRect client;
    view->GetClientRectLogical(&client);
    const int32_t halfW = (client.right - client.left) / 2;
    const int32_t halfH = (client.bottom - client.top) / 2;
    const PageBlock& page = doc->PageGeometry();
    const int32_t rightEdge = doc->DocToViewLength(page.pageWidth);
    const int32_t bottomEdge = doc->DocToViewLength(page.pageHeight);
    IntPoint origin = point_;
    doc->DocToViewPoint(&origin);
    origin.x = std::max(origin.x - halfW, 0);
    origin.y = std::max(origin.y - halfH, 0);
    if (origin.x > rightEdge)
        origin.x = std::max(rightEdge - halfW, 0);
    if (origin.y > bottomEdge)
        origin.y = std::max(bottomEdge - halfH, 0);
    view->ScrollTo(origin);
}

int32_t ZoomTool::RightButtonUp(const IntPoint& viewPoint)
{
    zoomOut_ = 1;
    CreateFrame(IntRect{viewPoint.x, viewPoint.y, viewPoint.x, viewPoint.y});
    zoomOut_ = 0;
    return 1;
}

void ZoomTool::SetFramePlacement(int16_t field, int32_t value, int32_t /*unused*/, bool /*redraw*/)
{
    switch (field) {
    case 0: point_.x = value; break;
    case 1: point_.y = value; break;
    case 2: step_ = int16_t(value); break;
    case 3: percent_ = value; break;
    default: break;
    }
    if (field != 2)
        ApplyZoom();
    PublishGraphicAttrs();
}

void ZoomTool::GetGraphicAttrs(GraphicAttrs* out)
{
    FrameTool::GetGraphicAttrs(out);
    out->lineColour = 0;
    out->linePattern = 1;
    out->borderStyle = 1;
    out->lineWidth = 0;
    out->x = float(point_.x);
    out->y = float(point_.y);
    out->width = float(step_);
    out->height = float(percent_);
    out->kind = 2;
}

int32_t ZoomTool::GetCursor(const IntPoint& /*viewPoint*/) { return ZoomingOut() ? kCursorZoomOut : kCursorZoomIn; }
