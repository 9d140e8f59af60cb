#include "text/text_tool_engine.h"

#include "carddoc/key_event.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/text_buffer.h"
#include "text/edit_primitives.h"
#include "text/frame_flow.h"
#include "text/relayout.h"
#include "text/selection_highlight.h"
#include "text/text_context.h"
#include "text/text_positions.h"

namespace {

constexpr uint8_t kMark = 13;

// Layout walks the paragraphs, which takes the caret along: it goes back
// where it was.
void FlowEditFrame(TextContext* ctx, FrameObjText* frame)
{
    FrameStore* frames = ctx->Frames();
    const TextPosition caret = ctx->CaretPosition();
    if (frames->FlowFrame(frame->FrameId(), true))
        frames->InvalidateChain(frame->FrameId());
    BindFrame(ctx, frame);
    if (ctx->SelectParagraph(int32_t(caret.paragraph)))
        ctx->SetCaretCharacter(caret.character);
}

void CollapseSelection(TextContext* ctx, FrameObjText* frame)
{
    FrameStore* frames = ctx->Frames();
    frames->SetEditFlagAll(frame, false);
    frames->SetTextRef(frame->FrameId(), 0, 0, 0);
    frames->SetTextRef(frame->FrameId(), 1, 0, 0);
}

// The caret one character on or back, across paragraph ends.
void MoveCaret(TextContext* ctx, bool forward)
{
    const TextPosition caret = ctx->CaretPosition();
    if (!ctx->SelectParagraph(int32_t(caret.paragraph)))
        return;
    const int32_t length = ctx->Current().Length();
    if (forward) {
        if (caret.character + 1 < length)
            SetCaret(ctx, caret.character + 1, true);
        else if (int32_t(caret.paragraph) + 1 < ctx->ParagraphCount() && ctx->SelectParagraph(int32_t(caret.paragraph) + 1))
            SetCaret(ctx, 0, true);
    } else {
        if (caret.character > 0)
            SetCaret(ctx, caret.character - 1, false);
        else if (caret.paragraph > 0 && ctx->SelectParagraph(int32_t(caret.paragraph) - 1))
            SetCaret(ctx, ctx->Current().Length() - 1, false);
    }
}

}  // namespace

uint8_t HandKeyToEngine(TextContext* ctx, const KeyEvent& key)
{
    FrameObjText* frame = ctx->Host().EditFrame();
    if (!frame)
        return 0;
    ctx->match.selected = false;
    TextPosition start;
    TextPosition end;
    const bool selection = GetFrameSelection(ctx, &start, &end);
    if (IsKeyDown(key, kKeyLeft) || IsKeyDown(key, kKeyRight)) {
        if (selection) {
            ToggleSelectionHighlight(ctx, ctx->Host().ViewDc());
            CollapseSelection(ctx, frame);
        }
        MoveCaret(ctx, IsKeyDown(key, kKeyRight));
        return 1;
    }
    if (IsCaretKey(key))
        return 1;
    ctx->Host().SetModified();
    const bool forward = IsKeyDown(key, kKeyDelete);
    if (selection) {
        ToggleSelectionHighlight(ctx, ctx->Host().ViewDc());
        DeleteSelection(ctx, forward);
        CollapseSelection(ctx, frame);
        if (ctx->SelectParagraph(int32_t(start.paragraph)))
            ctx->SetCaretCharacter(start.character);
        if (key.keyCode != kKeyBackspace && !forward)
            InsertCharAt(ctx, start.character, uint8_t(key.keyCode));
        FlowEditFrame(ctx, frame);
        return 1;
    }
    const TextPosition caret = ctx->CaretPosition();
    if (!ctx->SelectParagraph(int32_t(caret.paragraph)))
        return 1;
    if (key.keyCode == kKeyBackspace || forward) {
        const int32_t p = forward ? caret.character : caret.character - 1;
        const bool join = forward ? caret.character + 1 >= ctx->Current().Length() : caret.character == 0;
        if (join) {
            if (forward ? int32_t(caret.paragraph) + 1 >= ctx->ParagraphCount() : caret.paragraph == 0)
                return 1;
            DeleteCharAt(ctx, uint16_t(forward ? caret.character : 0), forward);
            FlowEditFrame(ctx, frame);
            return 1;
        }
        DeleteCharAt(ctx, uint16_t(p), forward);
        if (!forward)
            ctx->SetCaretCharacter(uint16_t(p));
        if (!RelayoutAfterDelete(ctx, p))
            FlowEditFrame(ctx, frame);
        return 1;
    }
    const uint8_t ch = uint8_t(key.keyCode);
    if (!InsertCharAt(ctx, caret.character, ch))
        return 1;
    if (ch == kMark || ch == 0) {
        FlowEditFrame(ctx, frame);
        return 1;
    }
    if (!RelayoutAfterTyping(ctx, caret.character))
        ctx->Frames()->SetNeedsReflow(frame->FrameId());
    return 1;
}

void ApplyTextFormat(TextContext* /*ctx*/, TextFormatCommand /*command*/, int32_t /*value*/, int32_t /*second*/,
                     int32_t /*third*/)
{
}

void SetTypingFormatCheck(TextContext* /*ctx*/, bool /*on*/) {}

void ClearBufferSelection(TextContext* /*ctx*/) {}

TextPosition LastCaretPosition(TextContext* ctx) { return ctx->CaretPosition(); }

void SetLastCaretPosition(TextContext* ctx, const TextPosition& position)
{
    if (!ctx->SelectParagraph(int32_t(position.paragraph)))
        return;
    const int32_t length = ctx->Current().Length();
    ctx->SetCaretCharacter(uint16_t(position.character < length ? position.character : length - 1));
}

bool ClipboardCanPasteText(TextContext* /*ctx*/) { return false; }

void ClipboardCopySelection(TextContext* /*ctx*/) {}

void ClipboardPasteText(TextContext* /*ctx*/) {}
