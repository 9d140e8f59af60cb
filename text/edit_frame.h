// Keeping the frame in edit in step with an edit: its selection references
// and highlight, flowing it again and having it painted, and moving the edit
// to the frame of its chain that shows a position.
#pragma once

#include <cstdint>

#include "frames/text_position.h"

class FrameObjText;
class TextContext;
struct TextLineRecord;

inline bool PositionBefore(const TextPosition& a, const TextPosition& b)
{
    return a.paragraph < b.paragraph || (a.paragraph == b.paragraph && a.character < b.character);
}

// The frame takes the selection [start, end) as its references; with shown
// its selection flag is set, else cleared.
void SetFrameSelection(TextContext* ctx, const TextPosition& start, const TextPosition& end, bool shown = true);
// Back to the caret state: references (0, 0), flag clear.
void ClearFrameSelection(TextContext* ctx);
// Inverts the selection's area on the view.
void ToggleHighlight(TextContext* ctx);
// Whether deleting [start, end) would take part of a merge field's text
// and leave the rest: at either end a field the range does not cover whole.
bool SelectionSplitsField(TextContext* ctx, const TextPosition& start, const TextPosition& end);
// The selected text goes and the frame returns to the caret state, the
// caret where the selection began (start). A whole-story selection (all)
// leaves one empty paragraph, edited in the chain's first frame. The
// caret's position.
TextPosition DeleteShownSelection(TextContext* ctx, const TextPosition& start, bool all);

// Flows the frame in edit again (the paragraph at hand and the caret stay)
// and has its text painted anew; the rest of the chain is marked for
// flowing when the frame's end moved, or always with invalidateChain. True
// when the frame's end moved.
bool FlowEditFrame(TextContext* ctx, bool invalidateChain);
// The engine works on the frame; the paragraph at hand and the caret stay
// (clamped to the story).
void BindEngineKeepingCaret(TextContext* ctx, FrameObjText* frame);
// A frame marked for flowing (its lines are stale) flows now; the engine
// stays on the frame it works on, the caret where it is.
void FlowIfMarked(TextContext* ctx, FrameObjText* frame);
// The frame is marked changed and the current page redrawn.
void RedrawEditFrame(TextContext* ctx);
// The tool and the engine take the frame (the frame in edit again when
// null); the paragraph at hand and the caret stay.
void RebindEditor(TextContext* ctx, FrameObjText* frame = nullptr);
// When another frame of the chain shows the position, editing moves there;
// true when it moved. The caret's last place becomes the position.
bool CrossToFrameShowing(TextContext* ctx, const TextPosition& position);

// The frame's first and last laid-out lines; false without lines.
bool FirstFrameLine(TextContext* ctx, TextLineRecord* line);
bool LastFrameLine(TextContext* ctx, TextLineRecord* line);
// Whether the position lies before the first character the frame shows,
// or after the last character of its last line.
bool BeforeFrameText(TextContext* ctx, const TextPosition& position);
bool PastFrameText(TextContext* ctx, const TextPosition& position);
