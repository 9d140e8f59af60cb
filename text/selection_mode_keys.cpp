// The keys of the selection state: the frame in edit shows a selection
// [S, E), which the moves reshape or collapse and the editing keys replace.
#include <algorithm>

#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/story_store.h"
#include "frames/style_runs.h"
#include "graphics/beep.h"
#include "text/caret_geometry.h"
#include "text/caret_moves.h"
#include "text/edit_frame.h"
#include "text/edit_primitives.h"
#include "text/format_publish.h"
#include "text/key_modes.h"
#include "text/text_context.h"
#include "text/text_positions.h"

namespace {

struct Selection {
    TextPosition start;
    TextPosition end;
    bool all = false;
};

bool AllSelected(TextContext* ctx) { return ctx->Document()->Stories()->IsAllSelected(); }

void PutCaret(TextContext* ctx, const TextPosition& at, bool forward)
{
    if (ctx->SelectParagraph(int32_t(at.paragraph)))
        SetCaret(ctx, at.character, forward);
}

void ComputeCaretPoint(TextContext* ctx)
{
    IntPoint point;
    GetCaretPoint(ctx, &point, nullptr);
}

// A move without Shift, or a Shift move that left nothing selected: the
// selection collapses at the caret.
void Collapse(TextContext* ctx)
{
    ClearFrameSelection(ctx);
    PublishCaretFormat(ctx, 0xFFFF);
    ctx->edit.typingCheck = false;
    ctx->edit.lastCaret = ctx->CaretPosition();
    ctx->Host().RestartCaret();
}

// The reshaped selection is shown and published; an empty one collapses.
void Reshape(TextContext* ctx, const TextPosition& start, const TextPosition& end)
{
    if (!PositionBefore(start, end)) {
        Collapse(ctx);
        return;
    }
    SetFrameSelection(ctx, start, end);
    ComputeCaretPoint(ctx);
    ToggleHighlight(ctx);
    PublishSelectionFormat(ctx, nullptr);
}

// Before a move the highlight goes: a whole-story selection is given up,
// any other is erased (and drawn again once reshaped).
void TakeDownHighlight(TextContext* ctx, const Selection& sel)
{
    if (sel.all)
        ctx->Host().SelectAll(false, true);
    else
        ToggleHighlight(ctx);
}

// A refused move shows the selection again as it was.
void PutBackHighlight(TextContext* ctx, const Selection& sel)
{
    if (sel.all) {
        ctx->Host().SelectAll(true, true);
    } else {
        SetFrameSelection(ctx, sel.start, sel.end);
        ToggleHighlight(ctx);
    }
}

void Finish(TextContext* ctx, KeyOutcome* out)
{
    FlowEditFrame(ctx, true);
    RedrawEditFrame(ctx);
    RebindEditor(ctx);
    ctx->Host().RestartCaret();
    out->textChanged = true;
    out->Raise(ReflowLevel::kPage);
}

void DeleteKeys(TextContext* ctx, const Selection& sel, KeyOutcome* out)
{
    if (!sel.all && SelectionSplitsField(ctx, sel.start, sel.end)) {
        PlayBeep(5);
        return;
    }
    DeleteShownSelection(ctx, sel.start, sel.all);
    Finish(ctx, out);
}

void HomeEndKeys(TextContext* ctx, const KeyEvent& key, const Selection& sel, bool home)
{
    TakeDownHighlight(ctx, sel);
    const int32_t index = CaretLine(ctx);
    if (index == 0) {
        PutBackHighlight(ctx, sel);
        return;
    }
    const TextLineRecord line = ctx->Lines().At(index);
    const TextPosition first{uint32_t(line.paragraph), line.first};
    const TextPosition last{uint32_t(line.paragraph), uint16_t(std::max(line.End() - 1, 0))};
    const TextPosition target = home ? first : last;
    if (!key.shift) {
        PutCaret(ctx, target, !home);
        Collapse(ctx);
        return;
    }
    const TextPosition caret = ctx->CaretPosition();
    TextPosition start = sel.start;
    TextPosition end = sel.end;
    const int32_t startLine = ctx->Lines().FindLineOfPosition(start.character, int32_t(start.paragraph));
    const int32_t endLine = ctx->Lines().FindLineOfPosition(end.character, int32_t(end.paragraph));
    if (startLine == index && (endLine == index || end == TextPosition{first.paragraph, uint16_t(line.End())})) {
        start = home ? first : caret;
        end = home ? caret : last;
    } else if (home) {
        (PositionBefore(first, start) ? start : end) = first;
    } else {
        (PositionBefore(end, last) ? end : start) = last;
    }
    PutCaret(ctx, target, !home);
    Reshape(ctx, start, end);
}

void SideKeys(TextContext* ctx, const KeyEvent& key, const Selection& sel, bool left)
{
    TakeDownHighlight(ctx, sel);
    const TextPosition old = ctx->CaretPosition();
    if (left)
        CaretLeft(ctx);
    else
        CaretRight(ctx);
    const TextPosition now = ctx->CaretPosition();
    ctx->edit.lastCaret = now;
    if (!key.shift) {
        Collapse(ctx);
        return;
    }
    TextLineRecord firstLine;
    const bool atFrameStart = FirstFrameLine(ctx, &firstLine) &&
                              old == TextPosition{uint32_t(firstLine.paragraph), firstLine.first};
    const bool refused = left ? (BeforeFrameText(ctx, now) || atFrameStart) : PastFrameText(ctx, now);
    if (refused) {
        PlayBeep(5);
        PutCaret(ctx, old, !left);
        ctx->edit.lastCaret = old;
        PutBackHighlight(ctx, sel);
        return;
    }
    TextPosition start = sel.start;
    TextPosition end = sel.end;
    if (left)
        (PositionBefore(now, start) ? start : end) = now;
    else
        (PositionBefore(end, now) ? end : start) = now;
    Reshape(ctx, start, end);
}

void VerticalKeys(TextContext* ctx, const KeyEvent& key, const Selection& sel, bool up)
{
    ctx->Host().HideCaret();
    ctx->edit.typingCheck = false;
    IntPoint point;
    GetCaretPoint(ctx, &point, nullptr);
    TakeDownHighlight(ctx, sel);
    const int32_t index = CaretLine(ctx);
    const int32_t count = ctx->Lines().Count();
    if (!key.shift) {
        PutCaret(ctx, sel.start, true);
        Collapse(ctx);
        return;
    }
    const bool can = up ? index >= 2 : index >= 1 && index < count;
    TextPosition hit;
    TextPosition use;
    if (!can || !AimAtLine(ctx, up ? index - 1 : index + 1, point.x, &hit, &use)) {
        PlayBeep(5);
        PutBackHighlight(ctx, sel);
        return;
    }
    PutCaret(ctx, use, true);
    TextPosition start = sel.start;
    TextPosition end = sel.end;
    if (up)
        (PositionBefore(start, hit) ? end : start) = hit;
    else
        (PositionBefore(end, hit) ? end : start) = hit;
    ctx->edit.lastCaret = ctx->CaretPosition();
    Reshape(ctx, start, end);
}

void TypedKey(TextContext* ctx, const KeyEvent& key, const Selection& sel, KeyOutcome* out)
{
    if (!sel.all && SelectionSplitsField(ctx, sel.start, sel.end)) {
        PlayBeep(5);
        return;
    }
    const TextPosition from = sel.all ? TextPosition{} : sel.start;
    if (!ctx->SelectParagraph(int32_t(from.paragraph)))
        return;
    const uint8_t ch = TypedCharacter(ctx, key, from.character);
    ctx->Host().HideCaret();
    const TextPosition at = DeleteShownSelection(ctx, sel.start, sel.all);
    if (InsertCharAt(ctx, at.character, ch) && ch != kKeyEnter) {
        std::array<int16_t, kAttributeCount> values{};
        const uint16_t flags = BuildTypingRun(ctx, at.character, ctx->Host().TypingAttributes(), &values);
        if (flags) {
            ctx->edit.typingCheck = false;
            ParagraphText para = ctx->Current();
            if (SetRunAttributes(&para, at.character, at.character + 1, flags, values, true))
                ctx->StoreFlags(para);
        }
    }
    ctx->edit.lastCaret = ctx->CaretPosition();
    Finish(ctx, out);
}

}  // namespace

void SelectionModeKey(TextContext* ctx, const KeyEvent& key, KeyOutcome* out)
{
    Selection sel;
    if (!GetFrameSelection(ctx, &sel.start, &sel.end))
        return;
    sel.all = AllSelected(ctx);
    if (IsKeyDown(key, kKeyDelete) || (key.virtualKey == 0 && key.keyCode == kKeyBackspace))
        DeleteKeys(ctx, sel, out);
    else if (IsKeyDown(key, kKeyHome))
        HomeEndKeys(ctx, key, sel, true);
    else if (IsKeyDown(key, kKeyEnd))
        HomeEndKeys(ctx, key, sel, false);
    else if (IsKeyDown(key, kKeyLeft))
        SideKeys(ctx, key, sel, true);
    else if (IsKeyDown(key, kKeyRight))
        SideKeys(ctx, key, sel, false);
    else if (IsKeyDown(key, kKeyUp))
        VerticalKeys(ctx, key, sel, true);
    else if (IsKeyDown(key, kKeyDown))
        VerticalKeys(ctx, key, sel, false);
    else if (key.virtualKey == 0)
        TypedKey(ctx, key, sel, out);
}
