#include "platform/key_state_tracker.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <utility>

namespace {

// Delivering input costs a trip through the event dispatcher; database
// passes ask once per record, so the trip is made at most this often.
constexpr qint64 kDeliveryIntervalMs = 10;

}  // namespace

KeyStateTracker::KeyStateTracker() : previous_(SetKeyStateSource(this))
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

KeyStateTracker::~KeyStateTracker()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    SetKeyStateSource(previous_);
}

int32_t KeyStateTracker::VirtualKeyOf(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;  // the same codes as the virtual keys
    switch (qtKey) {
    case Qt::Key_Shift: return kVkShift;
    case Qt::Key_Control: return kVkControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return kVkAlt;
    case Qt::Key_Escape: return kVkEscape;
    case Qt::Key_Period: return kVkPeriod;
    default: return 0;
    }
}

bool KeyStateTracker::KeyDown(int32_t virtualKey)
{
    if (virtualKey <= 0 || virtualKey >= int32_t(down_.size()))
        return false;
    if (down_[size_t(virtualKey)])
        return true;
    // Modifiers can be asked of the window system directly, which also
    // catches one pressed before the program had the keyboard.
    Qt::KeyboardModifier modifier;
    switch (virtualKey) {
    case kVkShift: modifier = Qt::ShiftModifier; break;
    case kVkControl: modifier = Qt::ControlModifier; break;
    case kVkAlt: modifier = Qt::AltModifier; break;
    default: return false;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    return QGuiApplication::queryKeyboardModifiers().testFlag(modifier);
}

void KeyStateTracker::DeliverPendingInput()
{
    if (!QCoreApplication::instance())
        return;
    if (sinceDelivery_.isValid() && sinceDelivery_.elapsed() < kDeliveryIntervalMs)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceDelivery_.start();
}

bool KeyStateTracker::eventFilter(QObject* target, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    // A key that triggers a shortcut is announced by this event and may
    // never arrive as a KeyPress.
    case QEvent::ShortcutOverride:
        Press(*static_cast<QKeyEvent*>(event));
        break;
    case QEvent::KeyRelease:
        Release(*static_cast<QKeyEvent*>(event));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        ForgetModifiersNotHeld(static_cast<QInputEvent*>(event)->modifiers(), 0);
        break;
    case QEvent::ApplicationStateChange:
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive) {
            down_.reset();
            keyOfScanCode_.clear();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(target, event);
}

void KeyStateTracker::ForgetModifiersNotHeld(Qt::KeyboardModifiers held, int32_t exceptKey)
{
    // A modifier let go while a modal dialog held the keyboard (Ctrl of a
    // shortcut that opened it, released before it showed) went to a blocked
    // window and never reached this filter; every later input event tells
    // which modifiers are really down.
    const std::pair<int32_t, Qt::KeyboardModifier> modifiers[] = {
        {kVkShift, Qt::ShiftModifier}, {kVkControl, Qt::ControlModifier}, {kVkAlt, Qt::AltModifier}};
    for (const auto& [key, modifier] : modifiers)
        if (key != exceptKey && !held.testFlag(modifier))
            down_.reset(size_t(key));
}

void KeyStateTracker::Press(const QKeyEvent& event)
{
    const int32_t key = VirtualKeyOf(event.key());
    ForgetModifiersNotHeld(event.modifiers(), key);
    if (key == 0)
        return;
    down_.set(size_t(key));
    if (event.nativeScanCode() != 0)
        keyOfScanCode_[event.nativeScanCode()] = key;
}

void KeyStateTracker::Release(const QKeyEvent& event)
{
    // The window system repeats a held key as release-press pairs.
    if (event.isAutoRepeat())
        return;
    if (event.nativeScanCode() != 0) {
        auto it = keyOfScanCode_.find(event.nativeScanCode());
        if (it != keyOfScanCode_.end()) {
            down_.reset(size_t(it->second));
            keyOfScanCode_.erase(it);
        }
    }
    if (const int32_t key = VirtualKeyOf(event.key()))
        down_.reset(size_t(key));
}
