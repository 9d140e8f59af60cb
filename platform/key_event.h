// The key record the card view fills for the current tool, and the names
// the tools and keyboard editing read it by.
//
// The view passes on only seven keys as key-downs (the four arrows, Home,
// End and Delete), with the key's code in both words; everything typed
// arrives as a character with its character code and a virtual key of 0.
// Backspace (8), Tab (9) and Enter (13) count as typed characters, and
// Shift+Enter is typed as character 0, a line break inside a paragraph.
#pragma once

#include <cstdint>

enum : uint32_t {
    // Shift+Enter: a line break inside the paragraph.
    kKeyLineBreak = 0,
    kKeyBackspace = 8,
    kKeyTab = 9,
    kKeyEnter = 13,
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyDelete = 46,
};

struct KeyEvent {
    uint32_t keyCode = 0;
    uint32_t virtualKey = 0;
    uint8_t shift = 0;
    uint8_t ctrl = 0;
    uint8_t flag = 0;
};

// A key the view passes on as a key-down: both words hold its code, so a
// typed character whose code happens to equal one is never taken for it.
inline bool IsKeyDown(const KeyEvent& key, uint32_t code) { return key.keyCode == code && key.virtualKey == code; }

// The six keys that only move the caret or the selection: the arrows, Home
// and End.
inline bool IsCaretKey(const KeyEvent& key)
{
    return IsKeyDown(key, kKeyLeft) || IsKeyDown(key, kKeyRight) || IsKeyDown(key, kKeyUp) ||
           IsKeyDown(key, kKeyDown) || IsKeyDown(key, kKeyHome) || IsKeyDown(key, kKeyEnd);
}

// A typed character (Backspace included).
inline KeyEvent TypedKey(uint8_t ch, bool shift = false) { return KeyEvent{ch, 0, uint8_t(shift), 0, 0}; }
// One of the seven key-downs.
inline KeyEvent DownKey(uint32_t code, bool shift = false) { return KeyEvent{code, code, uint8_t(shift), 0, 0}; }
