// Key-state tests and the mouse-hold wait.
//
// The engines poll keys instead of receiving key events: long loops ask
// IsUserAbortKeyDown once per step, and tools read the modifier keys at the
// moment of a drop or a click. Qt keeps no asynchronous key state, so the
// application installs a KeyStateSource (platform/key_state_tracker.h) that
// follows the key events; without one every key reads as up.
#pragma once

#include <cstdint>

// Virtual-key codes of the keys the system polls. Letters and digits use
// their upper-case ASCII code.
enum : int32_t {
    kVkShift = 16,
    kVkControl = 17,
    kVkAlt = 18,
    kVkEscape = 27,
    kVkPeriod = 190,
    kVkCapsLock = 20,
    kVkNumLock = 144,
    kVkScrollLock = 145,
};

class KeyStateSource {
public:
    virtual ~KeyStateSource() = default;
    virtual bool KeyDown(int32_t virtualKey) = 0;
    // Lets queued input arrive, so that a key pressed during a long loop
    // that never returns to the event loop can be seen at all.
    virtual void DeliverPendingInput() = 0;
};

// Installs a source (null removes it) and returns the previous one.
KeyStateSource* SetKeyStateSource(KeyStateSource* source);

// The lock keys' toggle states, as the desktop tells them. Qt reports no
// lock states, so the application installs a source that asks the window
// system; where it can't tell (Wayland, no display) the states are unknown.
class LockKeySource {
public:
    virtual ~LockKeySource() = default;
    // False when the state of the key can't be read here.
    virtual bool Toggled(int32_t virtualKey, bool* on) = 0;
};

// Installs a source (null removes it) and returns the previous one.
LockKeySource* SetLockKeySource(LockKeySource* source);

// 1 when the key is down at this moment, else 0.
int16_t IsKeyDown(int32_t virtualKey);
// 1 when a lock key is toggled on; 0 when it is off or can't be read.
int16_t IsKeyToggled(int32_t virtualKey);
// 1 on, 0 off, -1 when the state can't be read here.
int16_t ReadKeyToggle(int32_t virtualKey);
// 1 while Esc is down, or Ctrl together with '.'; else 0. Delivers pending
// input first.
int16_t IsUserAbortKeyDown();

// Waits until the time is up and answers 1, or answers 0 as soon as the
// pointer moves or the left button changes. Mouse presses and moves that
// arrive meanwhile are discarded. 1 at once for 0 ms or when there is no
// pointer (no GUI application).
int16_t WaitMouseHold(int32_t milliseconds);
