#include "text/edit_frame.h"

#include <algorithm>

#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_record_format.h"
#include "frames/frame_store.h"
#include "frames/record_header_format.h"
#include "frames/story_store.h"
#include "frames/style_runs.h"
#include "text/edit_primitives.h"
#include "text/find_replace.h"
#include "text/frame_flow.h"
#include "text/line_table.h"
#include "text/selection_highlight.h"
#include "text/text_context.h"

void SetFrameSelection(TextContext* ctx, const TextPosition& start, const TextPosition& end, bool shown)
{
    FrameObjText* frame = ctx->Frame();
    FrameStore* frames = ctx->Frames();
    if (!frame || !frames)
        return;
    frames->SetTextRef(frame->FrameId(), 0, start.paragraph, start.character);
    frames->SetTextRef(frame->FrameId(), 1, end.paragraph, end.character);
    frames->SetEditFlag(frame, shown);
}

void ClearFrameSelection(TextContext* ctx)
{
    FrameObjText* frame = ctx->Frame();
    FrameStore* frames = ctx->Frames();
    if (!frame || !frames)
        return;
    frames->SetTextRef(frame->FrameId(), 0, 0, 0);
    frames->SetTextRef(frame->FrameId(), 1, 0, 0);
    frames->SetEditFlag(frame, false);
}

void ToggleHighlight(TextContext* ctx) { ToggleSelectionHighlight(ctx, ctx->Host().ViewDc()); }

namespace {

// Puts the paragraph at hand and the caret back (clamped to the story).
void RestoreCaret(TextContext* ctx, const TextPosition& caret)
{
    const int32_t count = ctx->ParagraphCount();
    if (count <= 0)
        return;
    const int32_t paragraph = int32_t(caret.paragraph) < count ? int32_t(caret.paragraph) : count - 1;
    if (ctx->SelectParagraph(paragraph)) {
        const uint16_t length = ctx->Current().Length();
        ctx->SetCaretCharacter(caret.character < length ? caret.character : uint16_t(length ? length - 1 : 0));
    }
}

}  // namespace

void BindEngineKeepingCaret(TextContext* ctx, FrameObjText* frame)
{
    const TextPosition caret = ctx->CaretPosition();
    BindFrame(ctx, frame);
    RestoreCaret(ctx, caret);
}

void FlowIfMarked(TextContext* ctx, FrameObjText* frame)
{
    FrameStore* frames = ctx->Frames();
    uint8_t record[kFrameRecordSize] = {};
    if (!frame || !frames || frames->GetFrameRecord(frame->FrameId(), record) < 0 ||
        !HeaderHas(record, kFrameNeedsReflow))
        return;
    const TextPosition caret = ctx->CaretPosition();
    FrameObjText* bound = ctx->Frame();
    frames->FlowFrame(frame->FrameId(), false);
    if (bound)
        BindFrame(ctx, bound);
    RestoreCaret(ctx, caret);
}

bool FlowEditFrame(TextContext* ctx, bool invalidateChain)
{
    FrameObjText* frame = ctx->Frame();
    FrameStore* frames = ctx->Frames();
    if (!frame || !frames)
        return false;
    const TextPosition caret = ctx->CaretPosition();
    const bool changed = frames->FlowFrame(frame->FrameId(), false);
    ctx->edit.reflowPending = false;
    ctx->Host().FrameTextChanged(frame);
    if (changed || invalidateChain)
        frames->InvalidateChain(frame->FrameId());
    // Flowing and redrawing the page bind the engine to other frames (and
    // stories) on the way.
    BindFrame(ctx, frame);
    RestoreCaret(ctx, caret);
    return changed;
}

void RedrawEditFrame(TextContext* ctx)
{
    FrameObjText* frame = ctx->Frame();
    if (!frame)
        return;
    const TextPosition caret = ctx->CaretPosition();
    frame->MarkChanged(1, 0);
    frame->Invalidate(0);
    ctx->Document()->RedrawAfterChainChange();
    BindFrame(ctx, frame);
    RestoreCaret(ctx, caret);
}

void RebindEditor(TextContext* ctx, FrameObjText* frame)
{
    if (!frame)
        frame = ctx->Frame();
    if (!frame)
        return;
    ctx->Host().BindEditor(frame);
    BindEngineKeepingCaret(ctx, frame);
}

bool CrossToFrameShowing(TextContext* ctx, const TextPosition& position)
{
    FrameObjText* frame = ctx->Frame();
    ctx->edit.lastCaret = position;
    if (!frame || !ctx->Frames() || !ctx->Frames()->IsChained(frame))
        return false;
    const TextPosition caret = ctx->CaretPosition();
    // The search raises the page-change quiet flag while it walks the
    // chain, and may flow frames of it (binding the engine to them).
    FrameObjText* shows = FindFrameForPosition(ctx, frame, position.character, int32_t(position.paragraph));
    BindFrame(ctx, frame);
    RestoreCaret(ctx, caret);
    if (shows == frame) {
        // A frame's end is the first position it does not show, which the
        // search still counts as its own: past its last line the next
        // frame shows the position, before its first the previous one.
        const int16_t direction = PastFrameText(ctx, position) ? 1 : BeforeFrameText(ctx, position) ? 0 : -1;
        if (direction >= 0) {
            FrameStore* frames = ctx->Frames();
            const uint16_t id = frames->ChainStep(direction, frame->FrameId(), 0);
            ctx->Host().SetPageChangeQuiet(true);
            FrameObj* other = id ? frames->GetFrameObject(id) : nullptr;
            ctx->Host().SetPageChangeQuiet(false);
            if (other)
                shows = static_cast<FrameObjText*>(other);
        }
    }
    if (!shows || shows == frame)
        return false;
    // A frame marked for flowing still shows what it showed before.
    FlowIfMarked(ctx, shows);
    ctx->Host().BindEditor(shows);
    BindFrame(ctx, shows);
    RestoreCaret(ctx, caret);
    return true;
}

bool FirstFrameLine(TextContext* ctx, TextLineRecord* line)
{
    const LineTable lines = ctx->Lines();
    return lines.Count() > 0 && lines.Get(1, line);
}

bool LastFrameLine(TextContext* ctx, TextLineRecord* line)
{
    const LineTable lines = ctx->Lines();
    return lines.Count() > 0 && lines.Get(lines.Count(), line);
}

bool BeforeFrameText(TextContext* ctx, const TextPosition& position)
{
    TextLineRecord first;
    if (!FirstFrameLine(ctx, &first))
        return false;
    return PositionBefore(position, TextPosition{uint32_t(first.paragraph), first.first});
}

bool PastFrameText(TextContext* ctx, const TextPosition& position)
{
    TextLineRecord last;
    if (!LastFrameLine(ctx, &last))
        return false;
    const TextPosition lastChar{uint32_t(last.paragraph), uint16_t(last.End() > 0 ? last.End() - 1 : 0)};
    return PositionBefore(lastChar, position);
}

TextPosition DeleteShownSelection(TextContext* ctx, const TextPosition& start, bool all)
{
    FrameStore* frames = ctx->Frames();
    FrameObjText* frame = ctx->Frame();
    if (!all)
        ToggleHighlight(ctx);
    TextPosition shownStart;
    TextPosition shownEnd;
    GetFrameSelection(ctx, &shownStart, &shownEnd);
    const int32_t before = ctx->ParagraphCount();
    DeleteSelection(ctx, true);
    TextPosition at = all ? TextPosition{} : start;
    // More records went than the selection joined: the start's paragraph
    // went whole, and the caret goes to the start of what follows it.
    if (!all && before - ctx->ParagraphCount() > int32_t(shownEnd.paragraph) - int32_t(shownStart.paragraph))
        at.character = 0;
    if (all) {
        ctx->Document()->Stories()->SetAllSelected(false);
        frames->SetEditFlagAll(frame, false);
    }
    ClearFrameSelection(ctx);
    ctx->edit.typingCheck = false;
    // A paragraph record that went whole may leave the start past the story.
    const int32_t count = ctx->ParagraphCount();
    if (int32_t(at.paragraph) >= count && count > 0 && ctx->SelectParagraph(count - 1))
        at = TextPosition{uint32_t(count - 1), uint16_t(ctx->Current().Length() - 1)};
    if (ctx->SelectParagraph(int32_t(at.paragraph))) {
        const uint16_t length = ctx->Current().Length();
        at.character = std::min<uint16_t>(at.character, uint16_t(length ? length - 1 : 0));
        ctx->SetCaretCharacter(at.character);
    }
    ctx->edit.lastCaret = at;
    if (all && frames->IsChained(frame)) {
        const uint16_t head = frames->ChainHead(frame->FrameId(), false, 0);
        FrameObj* first = head ? frames->GetFrameObject(head) : nullptr;
        if (first && first != frame)
            RebindEditor(ctx, static_cast<FrameObjText*>(first));
    } else if (BeforeFrameText(ctx, at)) {
        CrossToFrameShowing(ctx, at);
    }
    return at;
}

bool SelectionSplitsField(TextContext* ctx, const TextPosition& start, const TextPosition& end)
{
    const TextPosition caret = ctx->CaretPosition();
    auto splits = [&](const TextPosition& at, int32_t character) {
        if (character < 0 || !ctx->SelectParagraph(int32_t(at.paragraph)))
            return false;
        const ParagraphText para = ctx->Current();
        int32_t fieldStart = -1;
        const int32_t length = GetFieldRunAt(para, character, &fieldStart);
        if (fieldStart < 0)
            return false;
        const int32_t from = at.paragraph == start.paragraph ? start.character : 0;
        const int32_t to = at.paragraph == end.paragraph ? end.character : para.Length();
        return fieldStart < from || fieldStart + length > to;
    };
    const bool result = splits(start, start.character) || splits(end, int32_t(end.character) - 1);
    ctx->SelectParagraph(int32_t(caret.paragraph));
    ctx->SetCaretCharacter(caret.character);
    return result;
}
