// The keys of the caret state: the frame in edit shows no selection.
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/style_runs.h"
#include "graphics/beep.h"
#include "text/caret_geometry.h"
#include "text/caret_moves.h"
#include "text/edit_frame.h"
#include "text/edit_primitives.h"
#include "text/format_publish.h"
#include "text/frame_flow.h"
#include "text/key_modes.h"
#include "text/relayout.h"
#include "text/smart_quotes.h"
#include "text/text_context.h"
#include "text/text_positions.h"

namespace {

constexpr uint8_t kSpace = 32;

// The character at p belongs to a merge field's text (from its first
// character on).
bool InField(const ParagraphText& para, int32_t p)
{
    int32_t use = 0;
    return p >= 0 && IsInFieldRun(para, p, true, &use);
}

void PublishCaret(TextContext* ctx) { PublishCaretFormat(ctx, 0xFFFF); }

void ComputeCaretPoint(TextContext* ctx)
{
    IntPoint point;
    GetCaretPoint(ctx, &point, nullptr);
}

void PutCaret(TextContext* ctx, const TextPosition& at, bool forward)
{
    if (ctx->SelectParagraph(int32_t(at.paragraph)))
        SetCaret(ctx, at.character, forward);
}

// Shift with a caret key selects what the caret passed; where it could not
// move nothing is selected and the caret stays as it was.
void SelectPassed(TextContext* ctx, const TextPosition& a, const TextPosition& b)
{
    if (a == b)
        return;
    ctx->Host().HideCaret();
    ComputeCaretPoint(ctx);
    if (PositionBefore(a, b))
        SetFrameSelection(ctx, a, b);
    else
        SetFrameSelection(ctx, b, a);
    ctx->edit.typingCheck = true;
    ToggleHighlight(ctx);
    PublishSelectionFormat(ctx, nullptr);
}

// The local re-layout after a one-character edit at p; the paragraph at
// hand and the caret stay whatever the re-layout visited.
bool LocalRelayout(TextContext* ctx, int32_t p, bool typed)
{
    const TextPosition caret = ctx->CaretPosition();
    const bool done = typed ? RelayoutAfterTyping(ctx, p) : RelayoutAfterDelete(ctx, p);
    ctx->SelectParagraph(int32_t(caret.paragraph));
    ctx->SetCaretCharacter(caret.character);
    return done;
}

// After a character was deleted at p (or paragraphs were joined): the
// lines are laid out again where that is enough, else the frame flows.
void AfterDeletion(TextContext* ctx, int32_t p, bool joined, KeyOutcome* out)
{
    out->textChanged = true;
    if (!joined && LocalRelayout(ctx, p, false)) {
        out->Raise(ReflowLevel::kLocal);
    } else {
        // The frames after this one start where it ends, whose text moved
        // even where its end position kept its value.
        FlowEditFrame(ctx, true);
        out->Raise(ReflowLevel::kFrame);
    }
    RebindEditor(ctx);
    ctx->Host().RestartCaret();
}

void DeleteKey(TextContext* ctx, KeyOutcome* out)
{
    const ParagraphText para = ctx->Current();
    const int32_t pos = ctx->Caret();
    if (InField(para, pos)) {
        PlayBeep(5);
        return;
    }
    ctx->Host().HideCaret();
    ctx->edit.typingCheck = false;
    const int32_t length = para.Length();
    const bool joined = DeleteCharAt(ctx, uint16_t(pos), true) == 0;
    ctx->edit.lastCaret = ctx->CaretPosition();
    if (!joined && ctx->Current().Length() >= length) {
        // The story's last end mark, or a join the paragraph limit refused.
        ctx->Host().RestartCaret();
        return;
    }
    AfterDeletion(ctx, pos, joined, out);
}

void BackspaceKey(TextContext* ctx, KeyOutcome* out)
{
    const ParagraphText para = ctx->Current();
    const int32_t pos = ctx->Caret();
    const int32_t paragraph = ctx->ParagraphIndex();
    if (pos > 0 && InField(para, pos - 1)) {
        PlayBeep(12);
        return;
    }
    ctx->Host().HideCaret();
    ctx->edit.typingCheck = true;
    const int32_t length = para.Length();
    int32_t at = 0;
    bool joined = false;
    if (pos >= 2) {
        at = pos - 1;
        DeleteCharAt(ctx, uint16_t(at), false);
    } else if (pos == 1) {
        DeleteCharAt(ctx, 0, true);
        ctx->SetCaretCharacter(0);
    } else if (paragraph > 0) {
        joined = DeleteCharAt(ctx, 0, false) == 0;
    }
    if (!joined && (ctx->ParagraphIndex() != paragraph || ctx->Current().Length() >= length)) {
        // The story's start, or a join the paragraph limit refused.
        ctx->Host().RestartCaret();
        return;
    }
    const TextPosition now = ctx->CaretPosition();
    ctx->edit.lastCaret = now;
    if (BeforeFrameText(ctx, now))
        CrossToFrameShowing(ctx, now);
    AfterDeletion(ctx, joined ? now.character : at, joined, out);
    ctx->Host().ShowCaret();
}

void HomeEndKey(TextContext* ctx, const KeyEvent& key, bool home)
{
    const int32_t index = CaretLine(ctx);
    if (index == 0)
        return;
    const TextLineRecord line = ctx->Lines().At(index);
    const uint32_t paragraph = uint32_t(ctx->ParagraphIndex());
    const TextPosition caret = ctx->CaretPosition();
    const TextPosition target{paragraph, uint16_t(home ? line.first : std::max(line.End() - 1, 0))};
    if (key.shift) {
        SelectPassed(ctx, caret, target);
        return;
    }
    ctx->SetCaretCharacter(target.character);
    ctx->edit.typingCheck = false;
    PublishCaret(ctx);
    ctx->edit.lastCaret = ctx->CaretPosition();
    ctx->Host().ShowCaret();
}

void LeftKey(TextContext* ctx, const KeyEvent& key)
{
    const TextPosition old = ctx->CaretPosition();
    CaretLeft(ctx);
    const TextPosition now = ctx->CaretPosition();
    if (key.shift) {
        SelectPassed(ctx, now, old);
    } else {
        ctx->edit.typingCheck = false;
        ComputeCaretPoint(ctx);
        PublishCaret(ctx);
        if (BeforeFrameText(ctx, now))
            CrossToFrameShowing(ctx, now);
        ctx->Host().ShowCaret();
    }
    ctx->edit.lastCaret = now;
    ctx->Host().RestartCaret();
}

void RightKey(TextContext* ctx, const KeyEvent& key)
{
    const TextPosition old = ctx->CaretPosition();
    CaretRight(ctx);
    const TextPosition now = ctx->CaretPosition();
    FrameObjText* frame = ctx->Frame();
    if (!ctx->Frames()->IsChained(frame) && PastFrameText(ctx, now) && TextRemainsAfterFrame(ctx)) {
        // The caret does not walk into text the frame cannot show.
        PutCaret(ctx, old, false);
        return;
    }
    ComputeCaretPoint(ctx);
    if (key.shift) {
        SelectPassed(ctx, old, now);
    } else {
        ctx->edit.typingCheck = false;
        PublishCaret(ctx);
        if (PastFrameText(ctx, now))
            CrossToFrameShowing(ctx, now);
        ctx->Host().ShowCaret();
    }
    ctx->edit.lastCaret = now;
    ctx->Host().RestartCaret();
}

void FinishVertical(TextContext* ctx, bool selected)
{
    if (selected)
        PublishSelectionFormat(ctx, nullptr);
    else
        PublishCaret(ctx);
    ctx->Host().ShowCaret();
    ctx->edit.lastCaret = ctx->CaretPosition();
}

// Shift with Up or Down selects from the caret to the place aimed at.
bool SelectAimed(TextContext* ctx, const KeyEvent& key, const TextPosition& from, const TextPosition& hit)
{
    if (!key.shift || from == hit)
        return false;
    SelectPassed(ctx, from, hit);
    return true;
}

void DownKey(TextContext* ctx, const KeyEvent& key)
{
    const LineTable lines = ctx->Lines();
    const int32_t index = CaretLine(ctx);
    const int32_t count = lines.Count();
    ctx->edit.typingCheck = false;
    IntPoint point;
    GetCaretPoint(ctx, &point, nullptr);
    const TextPosition old = ctx->CaretPosition();
    bool selected = false;
    if (index > 0 && index < count) {
        TextPosition hit;
        TextPosition use;
        if (AimAtLine(ctx, index + 1, point.x, &hit, &use)) {
            PutCaret(ctx, use, true);
            selected = SelectAimed(ctx, key, old, hit);
        }
    } else if (index > 0 && index == count) {
        const TextLineRecord last = lines.At(count);
        TextPosition next{uint32_t(last.paragraph), uint16_t(last.End())};
        bool exists = ctx->SelectParagraph(last.paragraph) && next.character < ctx->Current().Length();
        if (!exists && last.paragraph + 1 < ctx->ParagraphCount()) {
            next = TextPosition{uint32_t(last.paragraph + 1), 0};
            exists = true;
        }
        // Past the story's end there is nothing for another frame to show.
        if (exists && CrossToFrameShowing(ctx, next)) {
            PutCaret(ctx, next, true);
        } else {
            PutCaret(ctx, TextPosition{uint32_t(last.paragraph), uint16_t(std::max(last.End() - 1, 0))}, false);
        }
    }
    FinishVertical(ctx, selected);
}

void UpKey(TextContext* ctx, const KeyEvent& key)
{
    const LineTable lines = ctx->Lines();
    const int32_t count = lines.Count();
    int32_t index = CaretLine(ctx);
    if (index == 0)
        index = count;
    if (index == 0)
        return;
    ctx->edit.typingCheck = false;
    IntPoint point;
    GetCaretPoint(ctx, &point, nullptr);
    const TextPosition old = ctx->CaretPosition();
    const TextLineRecord line = lines.At(index);
    const TextPosition lineLast{uint32_t(line.paragraph), uint16_t(std::max(line.End() - 1, 0))};
    bool selected = false;
    if (index == count && PositionBefore(lineLast, old)) {
        // Beyond the frame's text: back to the end of its last line.
        PutCaret(ctx, lineLast, false);
    } else if (index == 1) {
        int32_t paragraph = line.paragraph;
        int32_t c = line.first - 1;
        if (ctx->SelectParagraph(paragraph)) {
            while (c >= 0 && ctx->Current().Char(c) == kSpace)
                --c;
        }
        if (c < 0) {
            c = 0;
            if (paragraph > 0)
                --paragraph;
        }
        const TextPosition target{uint32_t(paragraph), uint16_t(c)};
        if (BeforeFrameText(ctx, target))
            CrossToFrameShowing(ctx, target);
        PutCaret(ctx, target, false);
    } else {
        TextPosition hit;
        TextPosition use;
        if (AimAtLine(ctx, index - 1, point.x, &hit, &use)) {
            PutCaret(ctx, use, true);
            selected = SelectAimed(ctx, key, old, hit);
        }
    }
    FinishVertical(ctx, selected);
    if (!selected)
        ctx->Host().RestartCaret();
}

// Whether the position lies at or before where the frame's text starts,
// in a frame that continues a chain.
bool AtOrBeforeFrameStart(TextContext* ctx, const TextPosition& at)
{
    TextPosition start;
    TextPosition end;
    ctx->Frames()->GetFrameStart(ctx->Frame()->FrameId(), &start, &end);
    return !(start == TextPosition{}) && !PositionBefore(start, at);
}

void ApplyRun(TextContext* ctx, int32_t from, int32_t to, uint16_t flags,
              const std::array<int16_t, kAttributeCount>& values)
{
    ParagraphText para = ctx->Current();
    // The typing attributes are the whole format of the new text: its style
    // bits replace those of the run it was typed into.
    if (SetRunAttributes(&para, from, to, flags, values, true))
        ctx->StoreFlags(para);
}

void TypedKey(TextContext* ctx, const KeyEvent& key, KeyOutcome* out)
{
    const ParagraphText para = ctx->Current();
    const int32_t pos = ctx->Caret();
    int32_t use = 0;
    if (IsInFieldRun(para, pos, false, &use)) {
        PlayBeep(5);
        return;
    }
    const uint8_t ch = TypedCharacter(ctx, key, pos);
    ctx->Host().HideCaret();
    const bool breaks = ch == kKeyEnter || ch == kKeyLineBreak;
    std::array<int16_t, kAttributeCount> values{};
    uint16_t flags = 0;
    if ((pos == 0 || breaks) && TypingFormatDiffers(ctx))
        flags = BuildTypingRun(ctx, pos, ctx->Host().TypingAttributes(), &values);
    if (ch == kKeyEnter && CaretLine(ctx) == 0) {
        // Typing ahead left the frame's lines behind the text: Enter needs
        // the caret's line.
        FlowEditFrame(ctx, false);
    }
    if (!InsertCharAt(ctx, uint16_t(pos), ch)) {
        ctx->Host().RestartCaret();
        return;
    }
    out->textChanged = true;
    bool applied = false;
    if (flags && pos == 0 && ch != kKeyEnter) {
        // Enter left the text behind it untouched: the run goes to what is
        // typed next.
        ApplyRun(ctx, 0, 1, flags, values);
        ctx->edit.typingCheck = true;
        applied = true;
    } else if (flags && ch == kKeyEnter && ctx->Current().Length() == 1) {
        // Enter at the end of a paragraph: the new, empty one goes on in
        // the format being typed, not in its style's.
        flags = BuildTypingRun(ctx, 0, ctx->Host().TypingAttributes(), &values);
        if (flags)
            ApplyRun(ctx, 0, 1, flags, values);
    } else if (!flags && ctx->edit.typingCheck && ch != kKeyEnter) {
        flags = BuildTypingRun(ctx, pos, ctx->Host().TypingAttributes(), &values);
        if (flags) {
            ctx->edit.typingCheck = false;
            ApplyRun(ctx, pos, pos + 1, flags, values);
            applied = true;
        }
    }
    if (!applied)
        PublishCaret(ctx);

    bool lookUp = false;
    if (breaks) {
        FlowEditFrame(ctx, true);
        out->Raise(ReflowLevel::kFrame);
        RebindEditor(ctx);
        lookUp = CaretLine(ctx) == 0;
    } else {
        const TextPosition at{uint32_t(ctx->ParagraphIndex()), uint16_t(pos)};
        if (ctx->edit.reflowPending) {
            // The lines are behind already; they catch up when the keys stop.
            out->Raise(ReflowLevel::kDeferred);
        } else if (LocalRelayout(ctx, pos, true)) {
            out->Raise(ReflowLevel::kLocal);
            SetCaret(ctx, pos + 1, true);
            // The character may have pushed the caret out of the frame.
            lookUp = CaretLine(ctx) == 0 && ctx->Frames()->IsChained(ctx->Frame());
        } else if (AtOrBeforeFrameStart(ctx, at)) {
            // Typed where an earlier frame of the chain ends: that frame
            // flows, and the rest of the chain after it.
            CrossToFrameShowing(ctx, at);
            FlowEditFrame(ctx, true);
            out->Raise(ReflowLevel::kFrame);
            SetCaret(ctx, pos + 1, true);
            lookUp = true;
        } else {
            ctx->edit.reflowPending = true;
            out->Raise(ReflowLevel::kDeferred);
        }
    }
    const TextPosition now = ctx->CaretPosition();
    ctx->edit.lastCaret = now;
    if (lookUp)
        CrossToFrameShowing(ctx, now);
    ctx->Host().RestartCaret();
    ctx->Host().ShowCaret();
}

}  // namespace

uint8_t TypedCharacter(TextContext* ctx, const KeyEvent& key, int32_t p)
{
    const uint8_t ch = uint8_t(key.keyCode);
    if (ch == kKeyEnter && key.shift)
        return kKeyLineBreak;
    return SmartQuoteFor(ctx, ch, p);
}

void CaretModeKey(TextContext* ctx, const KeyEvent& key, KeyOutcome* out)
{
    if (IsKeyDown(key, kKeyDelete))
        DeleteKey(ctx, out);
    else if (IsKeyDown(key, kKeyHome))
        HomeEndKey(ctx, key, true);
    else if (IsKeyDown(key, kKeyEnd))
        HomeEndKey(ctx, key, false);
    else if (IsKeyDown(key, kKeyLeft))
        LeftKey(ctx, key);
    else if (IsKeyDown(key, kKeyRight))
        RightKey(ctx, key);
    else if (IsKeyDown(key, kKeyDown))
        DownKey(ctx, key);
    else if (IsKeyDown(key, kKeyUp))
        UpKey(ctx, key);
    else if (key.virtualKey == 0 && key.keyCode == kKeyBackspace)
        BackspaceKey(ctx, out);
    else if (key.virtualKey == 0)
        TypedKey(ctx, key, out);
}
