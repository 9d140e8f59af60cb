// The two halves of keyboard editing behind HandleKey: the keys of the
// caret state and those of the selection state.
#pragma once

#include "platform/key_event.h"
#include "text/keyboard_editing.h"

class TextContext;

// What a key did, gathered as it goes.
struct KeyOutcome {
    ReflowLevel reflow = ReflowLevel::kNone;
    bool textChanged = false;

    void Raise(ReflowLevel level)
    {
        if (int(level) > int(reflow))
            reflow = level;
    }
};

void CaretModeKey(TextContext* ctx, const KeyEvent& key, KeyOutcome* out);
void SelectionModeKey(TextContext* ctx, const KeyEvent& key, KeyOutcome* out);

// The character a typed key puts in the text at p: Shift+Enter a line
// break, a quote its typographic mark when smart quotes are on.
uint8_t TypedCharacter(TextContext* ctx, const KeyEvent& key, int32_t p);
