#include "toolbase/frame_tool.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "database/field_table.h"
#include "foundation/byte_order.h"
#include "foundation/keys.h"
#include "foundation/string_table.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_store.h"
#include "frames/standard_attributes.h"
#include "graphics/rect_ops.h"
#include "platform/dc.h"
#include "platform/key_event.h"
#include "toolbase/new_frame_tracker.h"
#include "toolbase/tracker.h"

namespace {

// Follows the button until it is let go, drawing nothing.
class ReleaseWait : public CTracker {
public:
    ReleaseWait(TrackerView* view, FrameTool* owner) : CTracker(view, owner, 0, 1)
    {
        SetAutoscroll(false);
        SetShowInRulers(false);
    }
    void DrawFeedback(const IntPoint&, const IntPoint&) override {}
    void ConstrainPoint(int16_t, IntPoint*, IntPoint*) override {}
    void AdjustPoint(int16_t, IntPoint*, const IntPoint&, const IntPoint&, int16_t, bool) override {}
};

}  // namespace

bool ToolDocument::ControlDown() { return IsKeyDown(kVkControl) != 0; }

void ToolDocument::SetUndoOwner(FrameTool* tool)
{
    FrameTool* old = undoOwner_;
    undoOwner_ = tool;
    if (old && old != tool)
        old->ClearUndo();
}

FrameTool::FrameTool(ToolDocument* document) : document_(document), defaults_(StandardFrameAttributes(0, 0)) {}

FrameTool::~FrameTool()
{
    if (document_ && document_->UndoOwner() == this)
        document_->SetUndoOwner(nullptr);
    HandleFree(undo_.saved);
    undo_.saved = nullptr;
}

int16_t FrameTool::GetKind() { return -1; }

int16_t FrameTool::GetFrameType() { return 0; }

void FrameTool::Activate(FrameTool* /*previous*/, int16_t /*kind*/)
{
    PublishGraphicAttrs();
    PublishTextAttrs();
    rememberedId_ = 0;
    document_->SetUndoOwner(nullptr);
}

void FrameTool::Deactivate()
{
    rememberedId_ = frame_ ? int16_t(frame_->FrameId()) : 0;
    frame_ = nullptr;
}

void FrameTool::PagesClosing() { Deactivate(); }

void FrameTool::PagesLoaded() {}

uint8_t FrameTool::KeyDown(const KeyEvent& /*key*/) { return 0; }

int32_t FrameTool::MouseDown(const IntPoint& viewPoint)
{
    CTracker* tracker = CreateTracker(kUndoNewFrame);
    if (!tracker)
        return 0;
    tracker->Track(viewPoint);
    FrameObj* frame = CreateFrame(tracker->Result());
    if (!frame) {
        delete tracker;
        return 0;
    }
    FinishFrame();
    tracker->SetFrame(frame);
    SaveUndo(int16_t(tracker->Mode()));
    delete tracker;
    ReturnToObjectTool();
    return 1;
}

int32_t FrameTool::RightButtonUp(const IntPoint& /*viewPoint*/) { return 0; }

bool FrameTool::CanDoEditCommand(int16_t /*command*/) { return false; }

bool FrameTool::DoEditCommand(int16_t /*command*/) { return false; }

FrameObj* FrameTool::CreateFrame(const IntRect& viewRect)
{
    frame_ = nullptr;
    if (!CanCreateIn(viewRect))
        return nullptr;
    FrameObj* frame = document_->NewFrame(GetFrameType());
    if (!frame)
        return nullptr;
    frame_ = frame;
    ApplyDefaults();
    IntRect r = viewRect;
    frame->ViewToDocRect(&r);
    frame->SetFromRect(r);
    frame->MarkChanged(0, 0);
    return frame;
}

bool FrameTool::CanCreateIn(const IntRect& viewRect)
{
    IntRect r = viewRect;
    RectNormalize(&r);
    if (r.right - r.left < 4 && r.bottom - r.top < 4)
        return false;
    CurrPageMng* pages = document_->PageManager();
    return !pages || pages->FrameCount() < CurrPageMng::kMaxFrames;
}

void FrameTool::ApplyDefaults()
{
    if (frame_)
        frame_->CopyBlockIn(defaults_);
}

void FrameTool::FinishFrame()
{
    NotifyViewChanged();
    if (frame_)
        frame_->MarkChanged(1, 0);
    RedrawPage(0, 0);
}

void FrameTool::DeleteFrame(FrameObj* frame)
{
    if (!frame)
        return;
    if (CurrPageMng* pages = document_->PageManager()) {
        const IntRect vacated = frame->ViewRect();
        if (frame->GetType() == kFrameGroup)
            pages->RemoveGroupFrame(frame);
        else
            pages->RemoveFrame(frame);
        // The text below wrapped around the frame; it flows back now.
        pages->ReflowTextMeeting(vacated);
    }
    if (frame_ == frame)
        frame_ = nullptr;
    if (FrameStore* frames = document_->Frames())
        frames->DeleteFrame(frame);
    document_->SetModified(true);
}

CTracker* FrameTool::CreateTracker(int16_t mode)
{
    auto* tracker = new CNewFrameTracker(document_->CardView(), this, uint16_t(mode));
    tracker->SetShape(uint16_t(GetFrameType()));
    return tracker;
}

void FrameTool::SetColor(int16_t value, int16_t target)
{
    switch (target) {
    case 0: defaults_.borderColour = uint8_t(value); break;
    case 1: defaults_.fillColour = uint8_t(value); break;
    case 2: defaults_.background = uint8_t(value); break;
    case 3: defaults_.textColour = value; break;
    default: break;
    }
    PublishGraphicAttrs();
}

void FrameTool::SetShade(int16_t value, int16_t target)
{
    switch (target) {
    case 0: defaults_.borderTint = uint8_t(value); break;
    case 1: defaults_.fillTint = uint8_t(value); break;
    case 3: defaults_.textTint = value; break;
    default: break;
    }
    PublishGraphicAttrs();
}

void FrameTool::SetPattern(int16_t value, int16_t target)
{
    switch (target) {
    case 0: defaults_.borderPattern = uint8_t(value); break;
    case 1: defaults_.fillPattern = uint8_t(value); break;
    case 3: defaults_.textPattern = uint8_t(value); break;
    default: break;
    }
    PublishGraphicAttrs();
}

void FrameTool::SetBorderStyle(int16_t value)
{
    defaults_.geometry.lineStyle = value;
    PublishGraphicAttrs();
}

void FrameTool::SetLineWidth(int16_t value)
{
    defaults_.geometry.lineWidth = value;
    PublishGraphicAttrs();
}

void FrameTool::SetFramePlacement(int16_t field, int32_t value, int32_t /*unused*/, bool redraw)
{
    if (!frame_)
        return;
    if (redraw)
        NotifyViewChanged();
    if (field == 0 || field == 1) {
        const FrameGeometry& g = frame_->Geometry();
        IntPoint delta{field == 0 ? value - g.x : 0, field == 1 ? value - g.y : 0};
        IntRect page;
        GetPageRect(&page);
        frame_->ClampMove(&delta, page, kGeometryCurrent, 0);
        frame_->MoveBy(delta, 0, 0);
        frame_->Recompute(1);
    } else {
        frame_->SetGeometryField(field, int16_t(value));
    }
    SaveUndo(kUndoChangeFrame);
    if (redraw) {
        frame_->MarkChanged(1, 0);
        frame_->Invalidate(1);
        RedrawPage(0, 0);
    }
    PublishGraphicAttrs();
}

void FrameTool::SetTextStyle(int32_t /*entry*/)
{
    PublishGraphicAttrs();
    PublishTextAttrs();
}

void FrameTool::SetFont(int16_t id)
{
    defaults_.fontId = id;
    PublishTextAttrs();
}

void FrameTool::SetFontSize(int16_t size)
{
    defaults_.fontSize = size;
    PublishTextAttrs();
}

void FrameTool::SetFontStyle(int16_t bits, int16_t /*on*/, int16_t /*mask*/)
{
    defaults_.fontStyle = bits;
    PublishTextAttrs();
}

void FrameTool::SetAlignment(int16_t /*value*/) { PublishTextAttrs(); }

void FrameTool::SetTextToolAttrA(int16_t /*value*/) { PublishTextAttrs(); }

void FrameTool::SetTextToolAttrB(int16_t /*value*/) { PublishTextAttrs(); }

void FrameTool::SetLineSpacing(int16_t /*value*/) { PublishTextAttrs(); }

void FrameTool::SetDatabaseField(int16_t index)
{
    defaults_.dataField = int16_t(FieldIdAtIndex(index, 0));
    PublishTextAttrs();
}

void FrameTool::SetCaseStyle(int16_t /*value*/) { PublishTextAttrs(); }

void FrameTool::SetBaselineStyle(int16_t /*value*/) { PublishTextAttrs(); }

void FrameTool::SetTextToolAttrC(int16_t /*value*/) { PublishTextAttrs(); }

void FrameTool::GetGraphicAttrs(GraphicAttrs* out)
{
    const FrameAttributes& d = defaults_;
    *out = GraphicAttrs{};
    out->textColour = d.textColour;
    out->textShade = d.textTint;
    out->lineColour = d.borderColour;
    out->lineShade = d.borderTint;
    out->linePattern = d.borderPattern;
    out->borderStyle = d.geometry.lineStyle;
    out->lineWidth = d.geometry.lineWidth;
    out->fillColour = d.fillColour;
    out->fillShade = d.fillTint;
    out->fillPattern = d.fillPattern;
    out->background = d.background;
    out->dataFieldIndex = kAttrNotSet;
    out->reserved[0] = kAttrNotSet;
    out->reserved[1] = kAttrNotSet;
    out->x = float(d.geometry.x);
    out->y = float(d.geometry.y);
    out->width = float(d.geometry.width);
    out->height = float(d.geometry.height);
    out->kind = 0;
}

void FrameTool::GetTextAttrs(TextAttrs* out)
{
    *out = TextAttrs{};
    out->fontId = defaults_.fontId;
    out->size = defaults_.fontSize;
    out->style = defaults_.fontStyle;
    out->toolWordA = kAttrNotSet;
    out->toolWordB = kAttrNotSet;
    out->styleEntry = -1;
}

void FrameTool::ReturnToObjectTool()
{
    if (!document_->ControlDown())
        document_->SelectTool(kToolObject);
}

int32_t FrameTool::GetCursor(const IntPoint& /*viewPoint*/) { return kCursorArrow; }

void FrameTool::HighlightUntilRelease(FrameObj* frame)
{
    TrackerView* view = document_->CardView();
    Dc* dc = view ? view->GetViewDC() : nullptr;
    if (!frame || !dc)
        return;
    Region outline;
    frame->GetOutlineRegion(dc, &outline);
    dc->invertRgn(outline);
    ReleaseWait wait(view, this);
    wait.Track(IntPoint{});
    dc->invertRgn(outline);
}

bool FrameTool::GetUndoMenuText(std::string* out)
{
    const char* cant = LookupString(kUndoNameBase);
    *out = cant ? cant : "";
    if (!undo_.saved)
        return false;
    const char* name = LookupString(kUndoNameBase + undo_.action);
    *out = std::string(undo_.redo ? "Redo " : "Undo ") + (name ? name : "");
    return true;
}

void FrameTool::UndoRedo()
{
    if (!undo_.saved)
        return;
    CurrPageMng* pages = document_->PageManager();
    std::vector<uint32_t> ids(HandleGetSize(undo_.saved) / 4);
    for (size_t i = 0; i < ids.size(); ++i)
        ids[i] = GetU32LE(HandleData(undo_.saved) + 4 * i);
    const int16_t action = undo_.action;
    for (uint32_t id : ids) {
        FrameObj* frame = pages ? pages->FindFrameById(uint16_t(id)) : nullptr;
        if (!frame)
            continue;
        if (action != kUndoNewFrame) {
            frame->ToggleSaved();
            continue;
        }
        pages->ClearChanged();
        frame->MarkChanged(1, 0);
        pages->InvalidateChanged(kInvalidateVacated);
        // The new frame goes, and with it this very record, whichever tool
        // is current: Ctrl keeps the tool that drew it.
        document_->SetUndoOwner(nullptr);
        NotifyViewChanged();
        if (FrameTool* text = document_->ToolOfKind(kToolText); text && text->frame_ == frame)
            text->frame_ = nullptr;
        DeleteFrame(frame);
    }
    RedrawPage(0, 0);
    if (undo_.saved)
        undo_.redo = undo_.redo ? 0 : 1;
}

bool FrameTool::SaveUndo(int16_t action)
{
    if (!frame_) {
        document_->SetUndoOwner(nullptr);
        return false;
    }
    ClearUndo();
    Handle h = HandleNew(4);
    if (!h)
        return false;
    PutU32LE(HandleData(h), frame_->FrameId());
    undo_.saved = h;
    undo_.action = action;
    document_->SetUndoOwner(this);
    document_->UndoAvailable();
    return true;
}

void FrameTool::ClearUndo()
{
    HandleFree(undo_.saved);
    undo_ = FrameUndo{};
}

void FrameTool::RedrawPage(uint8_t eraseHandles, uint8_t defer)
{
    if (CurrPageMng* pages = document_->PageManager())
        pages->RedrawCurrentPage(eraseHandles, defer, 0);
}

void FrameTool::ClearChangedMarks()
{
    if (CurrPageMng* pages = document_->PageManager())
        pages->ClearChanged();
}

void FrameTool::GetPageRect(IntRect* out) { document_->GetPageRect(out); }

uint8_t FrameTool::GetClickState() { return document_->ViewClickState(); }

void FrameTool::NotifyViewChanged()
{
    if (FrameView* view = document_->View())
        view->NotifyViewChanged();
}

void FrameTool::RefreshView()
{
    if (FrameView* view = document_->View())
        view->Refresh();
}

void FrameTool::GetZoom(int16_t* numerator, int16_t* denominator)
{
    *numerator = 1;
    *denominator = 1;
    int16_t mode = 0;
    if (CurrPageMng* pages = document_->PageManager())
        pages->GetZoom(numerator, denominator, &mode);
    if (*numerator == 0 || *denominator == 0)
        *numerator = *denominator = 1;
}

void FrameTool::ViewToDocPoint(IntPoint* p)
{
    int16_t n = 1, d = 1;
    GetZoom(&n, &d);
    p->x = int32_t(int64_t(p->x) * d / n);
    p->y = int32_t(int64_t(p->y) * d / n);
}

void FrameTool::ViewToDocRect(IntRect* r)
{
    IntPoint a{r->left, r->top}, b{r->right, r->bottom};
    ViewToDocPoint(&a);
    ViewToDocPoint(&b);
    *r = IntRect{a.x, a.y, b.x, b.y};
}

void FrameTool::DocToViewRect(IntRect* r)
{
    int16_t n = 1, d = 1;
    GetZoom(&n, &d);
    r->left = int32_t(int64_t(r->left) * n / d);
    r->top = int32_t(int64_t(r->top) * n / d);
    r->right = int32_t(int64_t(r->right) * n / d);
    r->bottom = int32_t(int64_t(r->bottom) * n / d);
}

void FrameTool::SetBarItemState(int16_t bar, bool on) { document_->SetBarItemState(bar, on); }

void FrameTool::PublishGraphicAttrs()
{
    GraphicAttrs attrs;
    GetGraphicAttrs(&attrs);
    document_->SetGraphicAttrs(attrs);
    NotifyViewChanged();
}

void FrameTool::PublishTextAttrs()
{
    TextAttrs attrs;
    GetTextAttrs(&attrs);
    document_->SetTextAttrs(attrs);
    NotifyViewChanged();
}
