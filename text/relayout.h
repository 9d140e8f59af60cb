// Laying out again only what a one-character edit of the paragraph at hand
// changed, in the frame bound to the context. The lines from the edited one
// (or the one before, when text may move back onto it) are laid out anew
// until one comes out as it was; when the paragraph changed height, the
// lines below move with it. The result always equals laying the whole frame
// out again; where that cannot be had cheaply (outlines to wrap around,
// keep rules, text that would come back from the next frame) the answer is
// false and the caller flows the frame.
//
// Changed lines are reported to the host to be redrawn, and the frame's end
// position is stored, so that the rest of the chain follows.
#pragma once

#include <cstdint>

class TextContext;

// After the character at p was deleted. False also when p was its line's
// first or last character.
bool RelayoutAfterDelete(TextContext* ctx, int32_t p);
// After a character was typed at p.
bool RelayoutAfterTyping(TextContext* ctx, int32_t p);
