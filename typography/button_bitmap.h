// A push or tool button showing one of the program's button pictures.
#pragma once

#include <cstdint>

class QAbstractButton;

// The button shows the button picture of that id, at its own size; false
// (the button as it was) when the program has none.
bool SetButtonBitmap(QAbstractButton* button, int32_t id);
