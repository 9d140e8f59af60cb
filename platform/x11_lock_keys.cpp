#include "platform/x11_lock_keys.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace {

// The indicators are asked for by name: the servers number them as their
// keyboard descriptions say.
const char* IndicatorName(int32_t virtualKey)
{
    switch (virtualKey) {
    case kVkCapsLock: return "Caps Lock";
    case kVkNumLock: return "Num Lock";
    case kVkScrollLock: return "Scroll Lock";
    default: return nullptr;
    }
}

}  // namespace

X11LockKeySource::X11LockKeySource()
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>()) {
            Display* display = x11->display();
            int opcode = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
            if (display && XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
                display_ = display;
        }
    }
    previous_ = SetLockKeySource(this);
}

X11LockKeySource::~X11LockKeySource()
{
    // Another source installed meanwhile stays.
    LockKeySource* current = SetLockKeySource(previous_);
    if (current != this)
        SetLockKeySource(current);
}

bool X11LockKeySource::Toggled(int32_t virtualKey, bool* on)
{
    const char* name = IndicatorName(virtualKey);
    if (!display_ || !name)
        return false;
    auto* display = static_cast<Display*>(display_);
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return false;
    Bool state = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &state, nullptr, nullptr))
        return false;
    *on = state != False;
    return true;
}
