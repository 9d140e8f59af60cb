// What keyboard editing keeps between keys for the frame in edit: whether
// the next typed character compares the tool's typing attributes with the
// text, where the caret was shown last, the caret's point, and whether the
// frame's lines still have to catch up with typed text.
#pragma once

#include "foundation/int_geometry.h"
#include "frames/text_position.h"

struct EditState {
    // The next typed character takes the tool's typing attributes as a
    // style run where they differ from the text's.
    bool typingCheck = false;
    // The position the caret was shown at after the last key.
    TextPosition lastCaret;
    // The caret's point (view units): x, and the bottom of its line.
    IntPoint caretPoint;
    // Typing ran ahead of the frame's lines: they are stale until the
    // frame flows again.
    bool reflowPending = false;
};
