#include "text/keyboard_editing.h"

#include "foundation/alerts.h"
#include "frames/frame_obj_text.h"
#include "text/edit_frame.h"
#include "text/edit_primitives.h"
#include "text/frame_flow.h"
#include "text/key_modes.h"
#include "text/text_context.h"

namespace {

// A typed key that would make the paragraph longer: everything but
// Backspace and Enter (which splits it).
bool Grows(const KeyEvent& key)
{
    if (key.virtualKey != 0)
        return false;
    if (key.keyCode == kKeyBackspace)
        return false;
    return !(key.keyCode == kKeyEnter && !key.shift);
}

}  // namespace

uint8_t HandleKey(TextContext* ctx, const KeyEvent& key, ReflowLevel* reflow)
{
    if (reflow)
        *reflow = ReflowLevel::kNone;
    FrameObjText* frame = ctx->Host().EditFrame();
    if (!frame)
        return 0;
    if (ctx->Frame() != frame)
        BindEngineKeepingCaret(ctx, frame);
    // Keys move and edit by the frame's lines, which must be current.
    FlowIfMarked(ctx, frame);
    TextPosition start;
    TextPosition end;
    const bool selection = GetFrameSelection(ctx, &start, &end);
    // A paragraph past the limit (from an old file) is still moved in,
    // split and shortened; only typing into it is refused.
    if (!selection && Grows(key) && ctx->Current().Length() > kParagraphMaxLength) {
        AlertStopById(kTextAlertBase, kAlertParagraphTooLarge, 0);
        return 1;
    }
    // Only typed characters may run further ahead of the frame's lines.
    if (ctx->edit.reflowPending && !Grows(key))
        FlowPendingText(ctx);
    ctx->match.selected = false;
    KeyOutcome out;
    if (selection) {
        SelectionModeKey(ctx, key, &out);
    } else {
        CaretModeKey(ctx, key, &out);
        // A Shift move selected: nothing changed, and the next change keeps
        // an undo state of its own.
        if (GetFrameSelection(ctx, &start, &end))
            ctx->Host().ClearUndo();
    }
    ContinueOverflowEditing(ctx, true);
    if (out.textChanged)
        ctx->Host().SetModified();
    if (reflow)
        *reflow = out.reflow;
    return 1;
}

void FlowPendingText(TextContext* ctx)
{
    if (ctx->Frame() && ctx->edit.reflowPending)
        FlowEditFrame(ctx, true);
}
