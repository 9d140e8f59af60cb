#include "frames/pointer_poll.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <utility>

namespace {

class DesktopPointer : public PointerPoll {
public:
    bool LeftButtonDown() override
    {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
    }
    IntPoint CursorPos() override
    {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return IntPoint{};
        const QPoint p = QCursor::pos();
        return IntPoint{p.x(), p.y()};
    }
};

DesktopPointer gDesktop;
PointerPoll* gPoll = nullptr;

}  // namespace

PointerPoll* SetPointerPoll(PointerPoll* poll) { return std::exchange(gPoll, poll); }

PointerPoll* InstalledPointerPoll() { return gPoll ? gPoll : &gDesktop; }
