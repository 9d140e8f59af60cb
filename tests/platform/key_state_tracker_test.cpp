#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include "foundation/keys.h"
#include "platform/key_state_tracker.h"

namespace {

void Send(QWidget& w, QEvent::Type type, int key, quint32 scanCode, bool autoRepeat = false)
{
    QKeyEvent event(type, key, Qt::NoModifier, scanCode, 0, 0, QString(), autoRepeat);
    QCoreApplication::sendEvent(&w, &event);
}

TEST(KeyStateTracker, EscapeOrControlWithPeriodAborts)
{
    KeyStateTracker tracker;
    QWidget w;
    QTest::keyPress(&w, Qt::Key_Escape);
    EXPECT_EQ(IsUserAbortKeyDown(), 1);
    QTest::keyRelease(&w, Qt::Key_Escape);
    EXPECT_EQ(IsUserAbortKeyDown(), 0);

    QTest::keyPress(&w, Qt::Key_Period);
    EXPECT_EQ(IsUserAbortKeyDown(), 0);  // '.' alone is typing
    QTest::keyPress(&w, Qt::Key_Control);
    EXPECT_EQ(IsUserAbortKeyDown(), 1);
    QTest::keyRelease(&w, Qt::Key_Period);
    QTest::keyRelease(&w, Qt::Key_Control);
    EXPECT_EQ(IsUserAbortKeyDown(), 0);
    EXPECT_EQ(IsKeyDown(kVkControl), 0);

    QTest::keyPress(&w, Qt::Key_Q);
    EXPECT_EQ(IsKeyDown('Q'), 1);
    QTest::keyRelease(&w, Qt::Key_Q);
}

TEST(KeyStateTracker, ReleaseFollowsThePhysicalKeyAndIgnoresRepeats)
{
    KeyStateTracker tracker;
    QWidget w;
    // '.' goes down with Shift held and comes up after Shift was let go:
    // the release names another key, but the same scan code.
    Send(w, QEvent::KeyPress, Qt::Key_Period, 60);
    Send(w, QEvent::KeyRelease, Qt::Key_Greater, 60);
    EXPECT_EQ(IsKeyDown(kVkPeriod), 0);

    // A key that triggers a shortcut may only be announced.
    Send(w, QEvent::ShortcutOverride, Qt::Key_Escape, 9);
    Send(w, QEvent::KeyRelease, Qt::Key_Escape, 9, true);
    Send(w, QEvent::KeyPress, Qt::Key_Escape, 9, true);
    EXPECT_EQ(IsKeyDown(kVkEscape), 1);
    Send(w, QEvent::KeyRelease, Qt::Key_Escape, 9);
    EXPECT_EQ(IsKeyDown(kVkEscape), 0);
}

// A modifier whose release went to a window a modal dialog blocked is let
// go by the next input event that comes without it; the key an event is
// about counts as held whatever the event's modifiers say.
TEST(KeyStateTracker, AModifierReleasedUnseenIsLetGoByTheNextInput)
{
    KeyStateTracker tracker;
    QWidget w;
    QTest::keyPress(&w, Qt::Key_Control);
    QTest::keyPress(&w, Qt::Key_Shift, Qt::ControlModifier);
    EXPECT_EQ(IsKeyDown(kVkControl), 1);
    QTest::mouseMove(&w, QPoint(5, 5));
    QTest::mousePress(&w, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
    EXPECT_EQ(IsKeyDown(kVkControl), 0);
    EXPECT_EQ(IsKeyDown(kVkShift), 1);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));

    QTest::keyPress(&w, Qt::Key_Control);
    Send(w, QEvent::KeyPress, Qt::Key_A, 38);
    EXPECT_EQ(IsKeyDown(kVkControl), 0);
    EXPECT_EQ(IsKeyDown(kVkShift), 0);
}

// A loop that never returns to the event loop still sees a key pressed
// while it runs; keys released while another program has the keyboard are
// forgotten when the program loses it.
TEST(KeyStateTracker, PollingDeliversQueuedKeysAndLosingTheKeyboardForgetsThem)
{
    KeyStateTracker tracker;
    QWidget w;
    QCoreApplication::postEvent(&w, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_EQ(IsKeyDown(kVkEscape), 0);
    EXPECT_EQ(IsUserAbortKeyDown(), 1);
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &inactive);
    EXPECT_EQ(IsKeyDown(kVkEscape), 0);
}

}  // namespace
