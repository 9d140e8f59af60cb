// The document's side of the Object tool: the Object menu's commands on the
// selection (delete, group, ungroup, duplicate, stacking order), the
// context menus and what the clipboard store asks of the document to copy
// and paste frames.
#include <QCursor>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "carddoc/card_context_menus.h"
#include "carddoc/labels_doc.h"
#include "carddoc/selection_tool.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_group.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_store.h"
#include "frames/story_store.h"
#include "frames/text_buffer.h"
#include "graphics/dib_format.h"
#include "graphics/dib_handle.h"
#include "graphics/rect_ops.h"
#include "platform/dc.h"

namespace {

SelectionTool* ObjectTool(CLabelsDoc* doc) { return SelectionToolOf(doc); }

// Pasted frames that would lie wholly off the page (they came from a larger
// card, or the mouse stood far out on the pasteboard) are moved onto it
// together, as near to where they fell as the page allows.
void MovePastedOntoPage(SelectionTool* tool, const IntRect& page)
{
    IntRect bounds{};
    for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
        IntRect r;
        tool->GetSelFrame(i)->GetBounds(&r, kGeometryCurrent);
        if (i == 0)
            bounds = r;
        else
            RectUnion(bounds, r, &bounds);
    }
    IntRect common;
    if (tool->GetSelCount() == 0 || RectIntersect(bounds, page, &common) != 0)
        return;
    auto onto = [](int32_t low, int32_t high, int32_t from, int32_t to) {
        return std::clamp(low, from, std::max(from, to - (high - low))) - low;
    };
    const IntPoint offset{onto(bounds.left, bounds.right, page.left, page.right),
                          onto(bounds.top, bounds.bottom, page.top, page.bottom)};
    tool->MoveSelectionBy(offset, 0, 1);
    tool->ComputeSelectionBounds();
}

}  // namespace

int16_t CLabelsDoc::SelectionCount()
{
    SelectionTool* tool = ObjectTool(this);
    if (!tool)
        return 0;
    return currentTool_ == kToolObject ? tool->GetSelCount() : tool->SavedSelCount();
}

FrameObj* CLabelsDoc::SelectedFrame(int16_t i)
{
    SelectionTool* tool = ObjectTool(this);
    if (!tool || i < 0 || i >= SelectionCount())
        return nullptr;
    // A frame the Object tool held when it was left is still on the page
    // only until the pages change, which empties the count.
    return currentTool_ == kToolObject ? tool->GetSelFrame(i) : tool->SavedFrame(i);
}

// ---- the Object menu ----

void CLabelsDoc::DeleteSelection()
{
    if (currentTool_ == kToolObject)
        ObjectTool(this)->DeleteSelection();
}

void CLabelsDoc::GroupSelection()
{
    SelectionTool* tool = ObjectTool(this);
    if (tool && currentTool_ == kToolObject && tool->CanGroup() && manager_->HasGroupRoom()) {
        FrameObj* group = NewFrame(kFrameGroup);
        if (group) {
            tool->ToggleHandles(false);
            tool->GroupSelection(group->FrameId());
            tool->SelectGroup(group, true);
            static_cast<FrameObjGroup*>(group)->UpdateGroup();
            tool->InvalidateSelection(false);
            SetModified(true);
        }
    }
    SetUndoOwner(nullptr);
}

void CLabelsDoc::UngroupSelection()
{
    SelectionTool* tool = ObjectTool(this);
    if (tool && currentTool_ == kToolObject && tool->CanUngroup()) {
        tool->ToggleHandles(false);
        if (FrameObj* group = tool->UngroupSelection())
            DeleteFrame(group);
        tool->InvalidateSelection(false);
        SetModified(true);
    }
    SetUndoOwner(nullptr);
}

void CLabelsDoc::DuplicateFrames(int32_t dx, int32_t dy)
{
    SelectionTool* tool = ObjectTool(this);
    if (!tool || currentTool_ != kToolObject || tool->GetSelCount() == 0)
        return;
    std::vector<FrameObj*> originals;
    for (int16_t i = 0; i < tool->GetSelCount(); ++i)
        originals.push_back(tool->GetSelFrame(i));
    SetUndoOwner(nullptr);
    tool->DeselectAll(true);
    // Stops at the first copy that cannot be made: the page is full, and
    // the copies made so far stay selected.
    for (FrameObj* original : originals) {
        FrameObj* copy = NewFrame(original->GetType());
        if (!copy)
            break;
        original->CopyTo(copy);
        copy->MoveBy(IntPoint{dx, dy}, 0, 1);
        copy->Recompute(1);
        copy->MarkChanged(1, 0);
        tool->SelectFrame(copy, false);
    }
    tool->RebuildGroups();
    tool->InvalidateSelection(false);
    manager_->RedrawCurrentPage(0, 0, 0);
    tool->PublishGraphicAttrs();
}

namespace {

enum class Stacking { kForward, kFront, kBack };

}  // namespace

static void Restack(CLabelsDoc* doc, Stacking how)
{
    SelectionTool* tool = SelectionToolOf(doc);
    CurrPageMng* pages = doc->PageManager();
    if (!tool || !pages || doc->GetCurrentToolIndex() != kToolObject)
        return;
    pages->ClearChanged();
    std::vector<FrameObj*> frames;
    for (int16_t i = 0; i < tool->GetSelCount(); ++i)
        frames.push_back(tool->GetSelFrame(i));
    int16_t n = 0;
    if (how == Stacking::kBack) {
        // The bottom-most first keeps their order among themselves; only the
        // backdrop stays beneath them.
        const int16_t floor = pages->GetBackdropFrame() ? 1 : 0;
        for (FrameObj* f : frames) {
            pages->MoveFrameTo(f, int16_t(floor + n));
            f->MarkChanged(1, 0);
            ++n;
        }
    } else {
        for (auto it = frames.rbegin(); it != frames.rend(); ++it, ++n) {
            if (how == Stacking::kForward)
                pages->MoveFrameUp(*it, n);
            else
                pages->MoveFrameBelowTop(*it, n);
            (*it)->MarkChanged(1, 0);
        }
    }
    for (FrameObj* f : frames)
        pages->InvalidateOverlaps(f, 1, 1);
    pages->RedrawCurrentPage(0, 0, 0);
    doc->SetModified(true);
    doc->SetUndoOwner(nullptr);
}

void CLabelsDoc::BringToFront() { Restack(this, Stacking::kFront); }

void CLabelsDoc::SendToBack() { Restack(this, Stacking::kBack); }

void CLabelsDoc::ShuffleForward() { Restack(this, Stacking::kForward); }

// ---- what the clipboard store asks ----

void CLabelsDoc::ClearFrameSelection()
{
    if (SelectionTool* tool = ObjectTool(this))
        tool->DeselectAll(true);
}

void CLabelsDoc::SelectFrame(FrameObj* frame)
{
    if (SelectionTool* tool = ObjectTool(this))
        tool->SelectFrame(frame, false);
}

void CLabelsDoc::FinishFramePaste()
{
    SelectionTool* tool = ObjectTool(this);
    if (!tool)
        return;
    tool->RebuildGroups();
    IntRect page;
    GetPageRect(&page);
    MovePastedOntoPage(tool, page);
    for (int16_t i = 0; i < tool->GetSelCount(); ++i)
        tool->GetSelFrame(i)->MarkChanged(1, 0);
    tool->InvalidateSelection(false);
    manager_->RedrawCurrentPage(0, 0, 0);
    tool->PublishGraphicAttrs();
    RecordPastedFrames();
}

void CLabelsDoc::RecordPastedFrames()
{
    // Pasted frames are new frames: Undo takes them away again.
    if (SelectionTool* tool = ObjectTool(this))
        tool->SaveUndo(kUndoNewFrame);
}

IntPoint CLabelsDoc::PastePoint()
{
    IntRect visible = VisibleArea();
    IntPoint at{visible.left, visible.top};
    QWidget* widget = view_ ? view_->CaptureWidget() : nullptr;
    if (!widget)
        return at;
    const QPoint local = widget->mapFromGlobal(QCursor::pos());
    if (!widget->rect().contains(local))
        return at;
    IntPoint p{local.x(), local.y()};
    view_->DPtoLPPoint(&p);
    ViewToDocPoint(&p);
    return p;
}

IntRect CLabelsDoc::VisibleArea()
{
    IntRect r{};
    if (!view_)
        return r;
    view_->GetClientRectLogical(&r);
    ViewToDocRect(&r);
    return r;
}

int32_t CLabelsDoc::WidthOfW()
{
    Dc* dc = view_ ? view_->GetViewDC() : nullptr;
    const int32_t width = dc ? dc->getTextExtent("W").width : 0;
    return std::max(ViewToDocX(width), int32_t(1));
}

QImage CLabelsDoc::PictureOfFrames(FrameObj* const* frames, int16_t count, const IntRect& bounds)
{
    // Other programs get the frames as they print: at 300 dots an inch,
    // not at the screen's 72 (the document's points), with the resolution
    // recorded in the picture.
    constexpr int32_t kNumerator = 25;
    constexpr int32_t kDenominator = 6;
    const int64_t w = int64_t(bounds.right - bounds.left) * kNumerator / kDenominator;
    const int64_t h = int64_t(bounds.bottom - bounds.top) * kNumerator / kDenominator;
    if (!view_ || count <= 0 || w <= 0 || h <= 0 || w * h > (int64_t(1) << 26))
        return QImage();
    QImage picture(int(w), int(h), QImage::Format_RGB32);
    if (picture.isNull())
        return QImage();
    picture.fill(Qt::white);
    constexpr int kDotsPerMetre = 11811;
    picture.setDotsPerMeterX(kDotsPerMetre);
    picture.setDotsPerMeterY(kDotsPerMetre);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&picture);
        dc->setViewportOrg(int32_t(-int64_t(bounds.left) * kNumerator / kDenominator),
                           int32_t(-int64_t(bounds.top) * kNumerator / kDenominator));
        manager_->PushZoom(1, kNumerator, kDenominator);
        view_->PushDrawTarget(dc.get(), 0);
        for (int16_t i = 0; i < count; ++i)
            frames[i]->Draw(dc.get());
        view_->PopDrawTarget();
        manager_->RestoreZoom(1);
        manager_->ResetFrameStates(1);
    }
    return picture;
}

std::string CLabelsDoc::TextOfFrames(FrameObj* const* frames, int16_t count)
{
    StoryStore* stories = Stories();
    if (!stories)
        return {};
    std::string text;
    std::vector<uint16_t> seen;
    for (int16_t i = 0; i < count; ++i) {
        if (!frames[i] || frames[i]->GetType() != kFrameText)
            continue;
        // The frames of a chain share one story, given once.
        const auto story = uint16_t(frames[i]->Block().storyId);
        if (story == 0 || std::find(seen.begin(), seen.end(), story) != seen.end())
            continue;
        seen.push_back(story);
        Handle plain = nullptr;
        if (stories->BindStory(story) == 0 && stories->Buffer().GetPlainText(&plain) == 0 && plain) {
            const auto* bytes = HandleData<char>(plain);
            std::string one(bytes, bytes + HandleGetSize(plain));
            while (!one.empty() && (one.back() == '\r' || one.back() == '\n' || one.back() == 0))
                one.pop_back();
            if (!one.empty())
                text += (text.empty() ? "" : "\r") + one;
        }
        HandleFree(plain);
    }
    return text;
}

bool CLabelsDoc::SetFramePicture(FrameObj* frame, const QImage& picture)
{
    auto* image = dynamic_cast<FrameObjImage*>(frame);
    if (!image || picture.isNull())
        return false;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    DibHandle dib = DibHandleNew();
    if (!dib || DibHandleCreate(dib, rgb.width(), rgb.height(), 24) != 0) {
        DibHandleFree(&dib);
        return false;
    }
    // Rows go bottom-up, as blue, green, red.
    DibRecord* r = DibHandleBlockSlot(dib);
    const uint64_t stride = DibRowStride(uint64_t(rgb.width()), 24);
    for (int32_t y = 0; y < rgb.height(); ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        uint8_t* dst = r->bits + stride * uint64_t(rgb.height() - 1 - y);
        for (int32_t x = 0; x < rgb.width(); ++x) {
            dst[3 * x] = uint8_t(src[x]);
            dst[3 * x + 1] = uint8_t(src[x] >> 8);
            dst[3 * x + 2] = uint8_t(src[x] >> 16);
        }
    }
    // The frame takes the picture over, also when it refuses it.
    return image->SetImage(dib, true) == 0;
}

bool CLabelsDoc::FillNewTextFrame(FrameObj* frame, TextBuffer* paragraphs)
{
    if (!frame || !paragraphs)
        return false;
    Handle plain = nullptr;
    if (paragraphs->GetPlainText(&plain) != 0 || !plain) {
        HandleFree(plain);
        return false;
    }
    // The text as it is: it takes the place of the new story's empty
    // paragraph rather than going in at its caret, which would leave an
    // empty paragraph before it and another after.
    const int16_t story = frames_->NewStory(frame, true);
    const bool ok = story > 0 && stories_->ReplaceStoryText(plain, uint16_t(frame->Block().storyId)) == 0;
    HandleFree(plain);
    if (ok) {
        // Laid out now, so that the frame shows its text at once.
        frames_->FlowFrame(frame->FrameId(), false);
        frame->Invalidate(1);
    }
    return ok;
}

// ---- the context menus ----

void CLabelsDoc::ShowContextMenu(const IntPoint& viewPoint)
{
    if (!view_)
        return;
    int32_t id = kContextMenuText;
    if (currentTool_ != kToolText) {
        SelectionTool* tool = ObjectSelection();
        id = ContextMenuForSelection(tool ? tool->GetSelCount() : 0, tool ? tool->GetFrameType() : 0);
    }
    if (!contextMenus_)
        contextMenus_ = std::make_unique<CardContextMenus>();
    if (QMenu* menu = contextMenus_->Popup(id))
        view_->TrackPopupMenu(menu, viewPoint);
}
