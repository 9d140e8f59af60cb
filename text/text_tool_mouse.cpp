// The text tool's mouse: clicks and drags in the frame in edit, its
// handles, the cursor and the context menu, and Select All.
#include <memory>

#include "frames/curr_page_mng.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/story_store.h"
#include "text/find_replace.h"
#include "text/format_publish.h"
#include "text/text_context.h"
#include "text/text_positions.h"
#include "text/text_tool.h"
#include "text/text_tracker.h"
#include "toolbase/tracker.h"

namespace {

bool Before(const TextPosition& a, const TextPosition& b)
{
    return a.paragraph < b.paragraph || (a.paragraph == b.paragraph && a.character < b.character);
}

}  // namespace

CTracker* TextTool::CreateTracker(int16_t mode)
{
    TextContext* ctx = Text();
    if (!ctx || !EditFrame())
        return nullptr;
    auto* tracker = new CTextTracker(document_->CardView(), this, uint16_t(mode), ctx);
    tracker->SetFrame(EditFrame());
    return tracker;
}

int32_t TextTool::MouseDown(const IntPoint& viewPoint)
{
    TextContext* ctx = Text();
    FrameStore* frames = Frames();
    if (!ctx || !frames)
        return 0;
    FlushReflow();
    Dc* dc = ViewDc();

    // A handle of the frame in edit resizes the frame.
    if (EditFrame() && EditFrame()->HitHandle(viewPoint) != 0) {
        std::unique_ptr<FrameTracker> made(EditFrame()->CreateTracker(document_->CardView(), kUndoResizeFrame));
        auto* tracker = dynamic_cast<CTracker*>(made.get());
        if (tracker) {
            document_->SetViewCursor(kCursorHandle);
            HideCaret();
            RefreshBars();
            if (dc)
                EditFrame()->DrawHandlesPass(dc, 1);
            tracker->Track(viewPoint);
            if (tracker->Moved()) {
                ClearUndo();
                SaveUndo(kUndoResizeFrame);
                RepaintPage();
                const TextPosition caret = ctx->CaretPosition();
                FrameObjText* shows =
                    FindFrameForPosition(ctx, EditFrame(), caret.character, int32_t(caret.paragraph));
                if (shows)
                    frame_ = shows;
                BindEditor();
                if (StoryAllSelected()) {
                    SelectAll(EditFrame(), false, true);
                    SelectAll(EditFrame(), true, true);
                } else {
                    RepaintEditFrame();
                }
            } else if (dc) {
                EditFrame()->DrawHandlesPass(dc, 1);
            }
        }
        PublishGraphicAttrs();
        RefreshBars();
        ShowCaret();
        return 1;
    }

    ClearUndo();
    CurrPageMng* pages = document_->PageManager();
    FrameObj* hit = pages ? pages->FrameAtPoint(viewPoint, 0) : nullptr;
    if (!hit || hit->GetType() != kFrameText) {
        EndEdit(1);
        return 0;
    }
    auto* text = static_cast<FrameObjText*>(hit);
    if (text != EditFrame()) {
        EndEdit(1);
        SetEditFrame(text, 1);
        if (!EditFrame())
            return 0;
        PointToPosition(ctx, viewPoint);
        if (ShowsSelection() && !StoryAllSelected())
            return 1;
    }

    ctx->match.selected = false;
    std::unique_ptr<CTracker> tracker(CreateTracker(kTextTrackerMode));
    clickState_ = 0;
    if (StoryAllSelected()) {
        ToggleHighlight();
        SelectAll(EditFrame(), false, true);
    } else if (ShowsSelection()) {
        ToggleHighlight();
        frames->SetEditFlagAll(EditFrame(), false);
    }
    ctx->edit.typingCheck = false;
    clickState_ = GetClickState();
    const uint16_t id = EditFrame()->FrameId();

    if (clickState_ == 1 && tracker) {
        HideCaret();
        tracker->Track(viewPoint);
        frames->SetEditFlagAll(EditFrame(), false);
        auto* drag = static_cast<CTextTracker*>(tracker.get());
        TextPosition start;
        TextPosition end;
        // A drag that ends where it began selects nothing.
        const bool selected = tracker->Moved() && !(drag->AnchorPosition() == drag->EndPosition());
        if (selected) {
            const bool reversed = Before(drag->EndPosition(), drag->AnchorPosition());
            start = reversed ? drag->EndPosition() : drag->AnchorPosition();
            end = reversed ? drag->AnchorPosition() : drag->EndPosition();
            frames->SetEditFlag(EditFrame(), true);
        }
        frames->SetTextRef(id, 0, start.paragraph, start.character);
        frames->SetTextRef(id, 1, end.paragraph, end.character);
        BindEditor();
        // The caret stays where the mouse was let go, so that Shift with an
        // arrow key goes on from that end of the selection.
        const TextPosition released = drag->EndPosition();
        if (selected && ctx->SelectParagraph(int32_t(released.paragraph)))
            SetCaret(ctx, released.character, !Before(released, drag->AnchorPosition()));
        else
            PointToPosition(ctx, viewPoint);
        IntPoint at;
        CaretPointFromPosition(ctx, &at);
        if (!ShowsSelection()) {
            PublishCaretFormat(ctx, 0xFFFF);
            ShowCaret();
        } else {
            PublishSelectionFormat(ctx, nullptr);
            ToggleHighlight();
        }
    } else if (clickState_ >= 2) {
        HideCaret();
        PointToPosition(ctx, viewPoint);
        IntPoint at;
        CaretPointFromPosition(ctx, &at);
        const int32_t paragraph = ctx->ParagraphIndex();
        int32_t first = 0;
        int32_t last = -1;
        SelectionRangeForClick(ctx, clickState_, &first, &last);
        // The range gives its last character; the selection ends after it,
        // but never takes the paragraph's end mark: typing over a word at a
        // paragraph's end must not join the paragraph to the next.
        const int32_t mark = ctx->Current().Length() - 1;
        const int32_t after = last + 1 < mark ? last + 1 : mark;
        if (after <= first) {
            frames->SetEditFlagAll(EditFrame(), false);
            PublishCaretFormat(ctx, first);
            ShowCaret();
        } else {
            const TextPosition start{uint32_t(paragraph), uint16_t(first)};
            const TextPosition end{uint32_t(paragraph), uint16_t(after)};
            frames->SetEditFlag(EditFrame(), true);
            frames->SetTextRef(id, 0, start.paragraph, start.character);
            frames->SetTextRef(id, 1, end.paragraph, end.character);
            PublishSelectionFormat(ctx, nullptr);
            ToggleHighlight();
            ctx->edit.typingCheck = true;
            if (clickState_ == 4) {
                fourthStart_ = start;
                fourthEnd_ = end;
            }
        }
    }
    return 0;
}

int32_t TextTool::RightButtonUp(const IntPoint& viewPoint)
{
    document_->SetViewCursor(kCursorArrow);
    document_->ShowContextMenu(viewPoint);
    document_->SetViewCursor(GetCursor(viewPoint));
    return 0;
}

int32_t TextTool::GetCursor(const IntPoint& viewPoint)
{
    RefreshBars();
    if (!EditFrame())
        return kCursorArrow;
    if (EditFrame()->HitTest(viewPoint))
        return kCursorText;
    if (EditFrame()->HitHandle(viewPoint) != 0)
        return kCursorHandle;
    return kCursorArrow;
}

void TextTool::SelectAll(FrameObjText* frame, bool on, bool redraw)
{
    FrameStore* frames = Frames();
    StoryStore* stories = document_->Stories();
    if (!EditFrame() || !frame || !frames || !stories || frame->Block().storyId <= 0)
        return;
    HideCaret();
    const int16_t story = frame->Block().storyId;
    uint16_t id = frames->ChainHead(frame->FrameId(), false, 0);
    if (stories->BindStory(uint16_t(story)) == 0)
        stories->SetAllSelected(on);
    frames->SetEditFlagAll(frame, on);
    if (on) {
        for (int32_t guard = 0; id != 0 && guard < 0x10000; ++guard) {
            TextPosition start;
            TextPosition end;
            frames->GetFrameStart(id, &start, &end);
            frames->SetTextRef(id, 0, start.paragraph, start.character);
            frames->SetTextRef(id, 1, end.paragraph, end.character);
            id = frames->ChainStep(1, id, 0);
        }
    }
    if (redraw) {
        frames->MarkStoryFrames(false, story);
        RepaintPage();
        RepaintEditFrame();
    }
    BindEditor();
}
