// The key state the engines poll, followed from the application's key events.
//
// One tracker lives as long as the application object; while it lives it is
// the KeyStateSource of foundation/keys.h. It sees every key event of the
// program through an application-wide event filter, so it knows only of
// keys pressed while one of the program's windows has the keyboard; when the
// program loses the keyboard it forgets every key, because their releases
// will go elsewhere.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <bitset>
#include <cstdint>
#include <unordered_map>

#include "foundation/keys.h"

class QKeyEvent;

class KeyStateTracker final : public QObject, public KeyStateSource {
public:
    KeyStateTracker();
    ~KeyStateTracker() override;

    bool KeyDown(int32_t virtualKey) override;
    void DeliverPendingInput() override;

    // The virtual-key code of a Qt key, 0 for keys nobody polls.
    static int32_t VirtualKeyOf(int qtKey);

protected:
    bool eventFilter(QObject* target, QEvent* event) override;

private:
    void Press(const QKeyEvent& event);
    void Release(const QKeyEvent& event);
    // Lets go of the modifier keys the event says are up, but for the one
    // the event itself is about.
    void ForgetModifiersNotHeld(Qt::KeyboardModifiers held, int32_t exceptKey);

    KeyStateSource* previous_;
    std::bitset<256> down_;
    // The key a physical key gave when it went down: its release may carry
    // another Qt key when a modifier changed in between ('.' pressed with
    // Shift, released without).
    std::unordered_map<quint32, int32_t> keyOfScanCode_;
    QElapsedTimer sinceDelivery_;
};
