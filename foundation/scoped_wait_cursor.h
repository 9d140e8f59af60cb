// The wait cursor for as long as the object lives (a load, a save, a long
// edit); it gives back the cursor it replaced.
#pragma once

#include "foundation/cursors.h"

class ScopedWaitCursor {
public:
    ScopedWaitCursor() { SetWaitCursor(); }
    ~ScopedWaitCursor() { RestoreSavedCursor(); }
    ScopedWaitCursor(const ScopedWaitCursor&) = delete;
    ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;
};
