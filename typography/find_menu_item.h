// Finding an item of a menu by its command id or by its text.
#pragma once

#include <cstdint>

class QWidget;

// The position of the first item with that command id; -1 when none.
int32_t FindMenuItem(QWidget* menu, uint32_t id);
// The position of the first item whose text (Windows-1252, ampersands
// included, as far as 254 bytes of it) equals text; -1 when none.
int32_t FindMenuItem(QWidget* menu, const char* text);
