// The mouse as a loop that follows a drag sees it: is the left button
// still down, and where is the pointer. Image frames pan their picture
// this way while the button is held. The desktop implementation lets
// pending input arrive before it answers; tests install their own.
#pragma once

#include "foundation/int_geometry.h"

class PointerPoll {
public:
    virtual ~PointerPoll() = default;
    virtual bool LeftButtonDown() = 0;
    // The pointer in screen pixels.
    virtual IntPoint CursorPos() = 0;
};

// Installs a source (null returns to the desktop's) and returns the
// previous one.
PointerPoll* SetPointerPoll(PointerPoll* poll);
PointerPoll* InstalledPointerPoll();
