#include "app/first_exposure.h"

#include <utility>

#include <QEvent>
#include <QWindow>

void FirstExposure::Watch(QWindow* window, std::function<void()> step)
{
    if (!window || window->isExposed())
        return;
    // Owned by the window: gone with it if it never shows.
    new FirstExposure(window, std::move(step));
}

FirstExposure::FirstExposure(QWindow* window, std::function<void()> step) : QObject(window), step_(std::move(step))
{
    window->installEventFilter(this);
}

bool FirstExposure::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
        watched->removeEventFilter(this);
        // The window's own handling of the exposure runs first.
        std::function<void()> step = std::move(step_);
        deleteLater();
        QMetaObject::invokeMethod(
            watched, [step] { step(); }, Qt::QueuedConnection);
    }
    return false;
}
