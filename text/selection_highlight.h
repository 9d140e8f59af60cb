// The text selection shown by inverting its area (NOT-XOR with black), so
// that showing it twice leaves the picture as it was.
#pragma once

class Dc;
class Region;
class TextContext;

// The selection's area in view units over the laid-out lines of the frames
// of the chain that show part of it: from the start's x to the right end of
// its line, whole lines between, and from the left end of the end's line to
// the end's x; each line from the top of its ascent to the bottom of its
// descent. The frames that show a part are marked as showing the selection.
void BuildSelectionRegion(TextContext* ctx, Region* out);
// Inverts the selection's area; an empty selection (a caret) paints nothing.
void ToggleSelectionHighlight(TextContext* ctx, Dc* dc);
