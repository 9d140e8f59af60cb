// The keys of text editing: what each key the text tool passes on does to
// the story of the frame in edit, to the caret and to the selection.
//
// Without a selection (the caret state) the arrows, Home and End move the
// caret and, with Shift, select; Backspace and Delete delete one character
// or join paragraphs; every other key is typed (Enter splits the paragraph,
// Shift+Enter breaks the line). With a selection shown, the moves reshape or
// collapse it, Backspace and Delete remove it and a typed key replaces it.
// The characters of a merge field are edited only as a whole.
#pragma once

#include <cstdint>

#include "platform/key_event.h"

class TextContext;

// What the frame needs after a key, the weakest first.
enum class ReflowLevel {
    // Only the caret or the selection moved.
    kNone,
    // The text changed and the local re-layout could not follow: the tool
    // flows the frame once no further key waits.
    kDeferred,
    // The lines the edit changed were laid out again and reported.
    kLocal,
    // The frame was flowed and painted anew, the rest of its chain marked.
    kFrame,
    // The frame was marked changed and the current page redrawn.
    kPage,
};

// One key for the frame in edit of the text tool. 0 when no frame is in
// edit, else 1. The level the key ended with goes to *reflow.
//
// A paragraph of more than 65500 characters takes no typed character (the
// stop alert 504 says so) but can still be navigated, split with Enter and
// shortened with Backspace and Delete. Only keys that change the text mark
// the document modified.
uint8_t HandleKey(TextContext* ctx, const KeyEvent& key, ReflowLevel* reflow = nullptr);

// After keys that answered kDeferred, once no further key waits: the frame
// flows and is painted with what was typed. Any other key than a typed
// character does this first by itself.
void FlowPendingText(TextContext* ctx);
