#include "foundation/keys.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <utility>
#include <vector>

namespace {

KeyStateSource* g_source = nullptr;
LockKeySource* g_lockSource = nullptr;

// While the wait runs, pointer input aimed at the program's windows must not
// reach them: a move or press would start something in the widget that
// called the wait. Releases are held back and handed over afterwards, in
// order, because a widget that never sees the release of its press keeps
// the pointer grabbed.
class MouseInputHold final : public QObject {
public:
    MouseInputHold() { QCoreApplication::instance()->installEventFilter(this); }
    ~MouseInputHold() override
    {
        QCoreApplication::instance()->removeEventFilter(this);
        for (auto& [target, event] : heldReleases_) {
            if (target)
                QCoreApplication::postEvent(target, event.release());
        }
    }

protected:
    bool eventFilter(QObject* target, QEvent* event) override
    {
        if (!target->isWindowType())
            return false;
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;
        case QEvent::MouseButtonRelease:
            heldReleases_.emplace_back(target, std::unique_ptr<QEvent>(event->clone()));
            return true;
        default:
            return false;
        }
    }

private:
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> heldReleases_;
};

}  // namespace

KeyStateSource* SetKeyStateSource(KeyStateSource* source) { return std::exchange(g_source, source); }

int16_t IsKeyDown(int32_t virtualKey) { return g_source && g_source->KeyDown(virtualKey) ? 1 : 0; }

LockKeySource* SetLockKeySource(LockKeySource* source) { return std::exchange(g_lockSource, source); }

int16_t ReadKeyToggle(int32_t virtualKey)
{
    bool on = false;
    if (!g_lockSource || !g_lockSource->Toggled(virtualKey, &on))
        return -1;
    return on ? 1 : 0;
}

int16_t IsKeyToggled(int32_t virtualKey) { return ReadKeyToggle(virtualKey) == 1 ? 1 : 0; }

int16_t IsUserAbortKeyDown()
{
    if (!g_source)
        return 0;
    g_source->DeliverPendingInput();
    if (g_source->KeyDown(kVkEscape))
        return 1;
    return g_source->KeyDown(kVkPeriod) && g_source->KeyDown(kVkControl) ? 1 : 0;
}

int16_t WaitMouseHold(int32_t milliseconds)
{
    if (milliseconds <= 0 || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 1;

    const QPoint startPosition = QCursor::pos();
    const bool startLeftDown = QGuiApplication::mouseButtons() & Qt::LeftButton;
    QElapsedTimer clock;
    clock.start();

    bool held = true;
    {
        MouseInputHold hold;
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (clock.elapsed() >= milliseconds) {
                loop.quit();
                return;
            }
            const bool leftDown = QGuiApplication::mouseButtons() & Qt::LeftButton;
            if (QCursor::pos() != startPosition || leftDown != startLeftDown) {
                held = false;
                loop.quit();
            }
        });
        poll.start();
        loop.exec();
    }
    return held ? 1 : 0;
}
