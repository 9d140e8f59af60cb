// The key records of a Qt key press, as the card view hands them to the
// current tool: the seven key-downs the text reacts to, and the typed
// characters of the press in the code page.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/key_event.h"

class QKeyEvent;

// None for a key the text does not take (Page Up, function keys, a
// character outside the code page, control characters other than
// Backspace, Tab and Enter); several when the press types several
// characters. *leftOut, when given, counts the typed characters the code
// page lacks.
std::vector<KeyEvent> KeyEventsFromQt(const QKeyEvent& event, int32_t* leftOut = nullptr);
