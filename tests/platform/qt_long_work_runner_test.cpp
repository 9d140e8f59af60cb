// The application's long-work runner: the work runs on a thread of its
// own while the window's thread goes on, and the progress window's Cancel
// stops work that would not end by itself.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include <QPushButton>
#include <QTimer>

#include "platform/qt_long_work_runner.h"
#include "support/modal_answer.h"

namespace {

TEST(QtLongWorkRunner, TheWorkRunsOffTheWindowsThreadAndItsCancelStopsIt)
{
    QtLongWorkRunner runner;
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
    tick.start(10);

    std::vector<int> made;
    std::thread::id workedOn;
    EXPECT_TRUE(runner.Run("Counting", [&](const std::atomic<bool>&) {
        workedOn = std::this_thread::get_id();
        for (int i = 0; i < 20; ++i) {
            made.push_back(i);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }));
    EXPECT_EQ(made.size(), 20u);
    EXPECT_NE(workedOn, std::this_thread::get_id());
    EXPECT_GT(ticks, 0) << "the window's thread stood still while the work ran";

    // Past a moment the progress window shows; its Cancel ends the work.
    AnswerNextModal([](QWidget* window) {
        if (auto* cancel = window->findChild<QPushButton*>())
            cancel->click();
    });
    bool stopped = false;
    EXPECT_FALSE(runner.Run("Never done", [&stopped](const std::atomic<bool>& cancelled) {
        while (!cancelled)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        stopped = true;
    }));
    EXPECT_TRUE(stopped);
}

}  // namespace
