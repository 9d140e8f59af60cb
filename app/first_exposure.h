// Runs a step once, when a window first shows on the screen. Only then does
// the window system tell what it put around the window (the title bar and
// borders), which a step that places the window by its frame must know.
#pragma once

#include <functional>

#include <QObject>

class QWindow;

class FirstExposure : public QObject {
public:
    // Runs step at the window's first exposure and then goes; nothing when
    // the window shows already.
    static void Watch(QWindow* window, std::function<void()> step);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FirstExposure(QWindow* window, std::function<void()> step);

    std::function<void()> step_;
};
