// Closes a modal window (a dialog, a message box, a pop-up menu) that stays
// open longer than a test may wait, and fails the running test naming the
// window, so that a dialog nobody answers ends its test instead of the
// suite. The time is TESSALINE_MODAL_TIMEOUT seconds (30 by default).
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

class QWidget;

class ModalWatchdog {
public:
    ModalWatchdog();
    ModalWatchdog(const ModalWatchdog&) = delete;
    ModalWatchdog& operator=(const ModalWatchdog&) = delete;

    // The seconds a modal window may stay open.
    static double Limit();

private:
    void Tick();

    QTimer timer_;
    QPointer<QWidget> window_;
    QElapsedTimer since_;
    bool closing_ = false;
    qint64 limitMs_;
};
