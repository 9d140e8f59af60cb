// The key record the card view hands the current tool: a key-down of one of
// the seven keys the text reacts to (Left, Up, Right, Down, Home, End,
// Delete) carries the virtual-key code twice; a typed character carries its
// code page byte and virtual key 0. Backspace (8), Tab (9) and Enter (13)
// come as typed characters.
#pragma once

#include <cstdint>

enum : uint32_t {
    kVkEnd = 35,
    kVkHome = 36,
    kVkLeft = 37,
    kVkUp = 38,
    kVkRight = 39,
    kVkDown = 40,
    kVkDelete = 46,
};

constexpr uint8_t kCharBackspace = 8;
constexpr uint8_t kCharTab = 9;
constexpr uint8_t kCharEnter = 13;
// Shift+Enter: a line break inside the paragraph.
constexpr uint8_t kCharLineBreak = 0;

struct KeyEvent {
    // The virtual-key code of a key-down, the character of a typed key.
    uint32_t keyCode = 0;
    // The key code again for the seven key-downs, 0 for a typed character.
    uint32_t virtualKey = 0;
    uint8_t shift = 0;
    uint8_t ctrl = 0;
    uint8_t flags = 0;
};

inline KeyEvent KeyDownEvent(uint32_t virtualKey, bool shift = false)
{
    return KeyEvent{virtualKey, virtualKey, uint8_t(shift ? 1 : 0), 0, 0};
}

inline KeyEvent TypedCharEvent(uint8_t ch, bool shift = false)
{
    return KeyEvent{ch, 0, uint8_t(shift ? 1 : 0), 0, 0};
}

// One of the seven key-downs: both words hold its code, so a typed
// character whose code happens to be 35-46 is never taken for one.
inline bool IsKeyDown(const KeyEvent& key, uint32_t virtualKey)
{
    return key.keyCode == virtualKey && key.virtualKey == virtualKey;
}

// The six keys that move the caret and change no text.
inline bool IsCaretKey(const KeyEvent& key)
{
    return key.keyCode == key.virtualKey &&
           (key.keyCode == kVkLeft || key.keyCode == kVkRight || key.keyCode == kVkUp || key.keyCode == kVkDown ||
            key.keyCode == kVkHome || key.keyCode == kVkEnd);
}
