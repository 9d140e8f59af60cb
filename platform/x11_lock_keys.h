// The lock keys' states read from the X server's keyboard indicators
// (XKB), through the display connection Qt's X11 platform holds. On any
// other platform (Wayland, offscreen) nothing can be read.
#pragma once

#include "foundation/keys.h"

class X11LockKeySource final : public LockKeySource {
public:
    X11LockKeySource();
    ~X11LockKeySource() override;
    X11LockKeySource(const X11LockKeySource&) = delete;
    X11LockKeySource& operator=(const X11LockKeySource&) = delete;

    bool Toggled(int32_t virtualKey, bool* on) override;
    // Whether the program runs on an X server that answers.
    bool Available() const { return display_ != nullptr; }

private:
    void* display_ = nullptr;
    LockKeySource* previous_ = nullptr;
};
