// Drives a widget's pointer the way the window system does: every event
// goes through the application's own pointer handling (button state, double
// clicks) to the top-level window, which hands it to the widget under the
// pointer. QTest's widget functions hand their events straight to the
// widget instead, past the window: input the program holds back at the
// window while a press is being handled never is, so the widget's own
// handlers take it before the drag that should have seen it.
//
// A press in the card view is handled in full before the press call
// returns (a tracker holds the mouse in a nested event loop), so whatever
// the pointer does meanwhile runs from a timer: Drag presses, then runs the
// steps one after the other inside the drag.
#pragma once

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <memory>
#include <vector>

class PointerDrive {
public:
    explicit PointerDrive(QWidget* widget) : widget_(widget) {}

    void Press(const QPoint& at, Qt::MouseButton button = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonPress, at, button);
    }
    void Move(const QPoint& at) { Send(QEvent::MouseMove, at, Qt::NoButton); }
    void Release(const QPoint& at, Qt::MouseButton button = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonRelease, at, button);
    }
    // The modifier keys every following event carries.
    void SetModifiers(Qt::KeyboardModifiers modifiers) { modifiers_ = modifiers; }

    // Presses at from; the first step runs firstMs after the press (gapMs
    // when not given), each other one gapMs after the one before ran, so
    // that the drag sees what one step did before the next. Returns once
    // every step ran: a press handled at once (a double click, a click the
    // tool takes without a drag) must not leave its release to arrive
    // inside the next drag.
    void Drag(const QPoint& from, std::vector<std::function<void()>> steps, int gapMs = 15, int firstMs = -1)
    {
        struct Chain {
            std::vector<std::function<void()>> steps;
            size_t next = 0;
        };
        auto chain = std::make_shared<Chain>();
        chain->steps = std::move(steps);
        auto runFrom = std::make_shared<std::function<void()>>();
        *runFrom = [this, chain, runFrom, gapMs] {
            if (chain->next >= chain->steps.size())
                return;
            chain->steps[chain->next++]();
            if (chain->next < chain->steps.size())
                QTimer::singleShot(gapMs, widget_, *runFrom);
        };
        if (!chain->steps.empty())
            QTimer::singleShot(firstMs < 0 ? gapMs : firstMs, widget_, *runFrom);
        Press(from);
        QElapsedTimer clock;
        clock.start();
        while (chain->next < chain->steps.size() && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::processEvents();
        // Steps left over after a drag that never ended are dropped; the
        // chain, which holds itself while it runs, is let go.
        chain->next = chain->steps.size();
        *runFrom = nullptr;
    }
    // From one place to another through the points between, then let go.
    void DragTo(const QPoint& from, const std::vector<QPoint>& through)
    {
        std::vector<std::function<void()>> steps;
        for (const QPoint& p : through)
            steps.push_back([this, p] { Move(p); });
        const QPoint end = through.empty() ? from : through.back();
        steps.push_back([this, end] { Release(end); });
        Drag(from, std::move(steps));
    }
    void Click(const QPoint& at) { DragTo(at, {}); }
    // Two clicks in quick succession at one place: the application makes
    // the second press a double click.
    void DoubleClick(const QPoint& at)
    {
        quick_ = true;
        Click(at);
        Click(at);
    }

private:
    void Send(QEvent::Type type, const QPoint& at, Qt::MouseButton button)
    {
        if (type == QEvent::MouseButtonPress)
            buttons_ |= button;
        else if (type == QEvent::MouseButtonRelease)
            buttons_ &= ~button;
        // The application's clock for double clicks is the one QTest keeps;
        // presses apart from each other are further apart than a double
        // click, unless the second click of one.
        QTest::lastMouseTimestamp += 1;
        QWidget* top = widget_->window();
        qt_handleMouseEvent(top->windowHandle(), QPointF(widget_->mapTo(top, at)), QPointF(widget_->mapToGlobal(at)),
                            buttons_, button, type, modifiers_, QTest::lastMouseTimestamp);
        if (type == QEvent::MouseButtonRelease) {
            if (!quick_)
                QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
            quick_ = false;
        }
    }

    QWidget* widget_;
    Qt::MouseButtons buttons_;
    Qt::KeyboardModifiers modifiers_ = Qt::NoModifier;
    bool quick_ = false;
};
