#include "dialogs/auto_repeat_button.h"

#include <QGuiApplication>
#include <QMouseEvent>

CAutoRepeatButton::CAutoRepeatButton(QWidget* parent) : QPushButton(parent)
{
    setAutoDefault(false);
    connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
}

void CAutoRepeatButton::Init(int32_t intervalMs) { interval_ = intervalMs > 0 ? intervalMs : 1; }

void CAutoRepeatButton::mousePressEvent(QMouseEvent* event)
{
    QPushButton::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    Q_EMIT ScrollPressed(controlId_);
    sinceReport_.start();
    // The event loop keeps running while the button is held, so the release
    // ends the repeats; polling a little more often than the interval keeps
    // each report close to its time.
    poll_.start(std::max(1, interval_ / 2));
}

void CAutoRepeatButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        poll_.stop();
    QPushButton::mouseReleaseEvent(event);
}

void CAutoRepeatButton::Poll()
{
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton) && !isDown()) {
        poll_.stop();
        return;
    }
    if (sinceReport_.elapsed() > interval_) {
        Q_EMIT ScrollPressed(controlId_);
        sinceReport_.restart();
    }
}
