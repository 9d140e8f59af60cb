// The names keyboard editing uses for the card view's key record
// (carddoc/key_event.h): a key-down of one of the seven keys the text reacts
// to (Left, Up, Right, Down, Home, End, Delete) carries the virtual-key code
// twice; a typed character carries its code page byte and virtual key 0.
// Backspace (8), Tab (9) and Enter (13) come as typed characters.
#pragma once

#include <cstdint>

#include "carddoc/key_event.h"

enum : uint32_t {
    kVkEnd = kKeyEnd,
    kVkHome = kKeyHome,
    kVkLeft = kKeyLeft,
    kVkUp = kKeyUp,
    kVkRight = kKeyRight,
    kVkDown = kKeyDown,
    kVkDelete = kKeyDelete,
};

constexpr uint8_t kCharBackspace = 8;
constexpr uint8_t kCharTab = 9;
constexpr uint8_t kCharEnter = 13;
// Shift+Enter: a line break inside the paragraph.
constexpr uint8_t kCharLineBreak = 0;

inline KeyEvent KeyDownEvent(uint32_t virtualKey, bool shift = false) { return DownKey(virtualKey, shift); }

inline KeyEvent TypedCharEvent(uint8_t ch, bool shift = false) { return TypedKey(ch, shift); }
