#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "foundation/cursors.h"
#include "foundation/hyperlink.h"
#include "foundation/keys.h"
#include "resources/cursor_table.h"

namespace {

Qt::CursorShape OverrideShape()
{
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::BitmapCursor;  // BitmapCursor: none
}

TEST(AppCursors, IndexesOutsideTheTableGiveNull)
{
    EXPECT_EQ(GetAppCursor(0), nullptr);  // no table yet
    ASSERT_EQ(LoadAppCursors(kFirstAppCursorId, kLastAppCursorId), 0);
    const int32_t count = kLastAppCursorId - kFirstAppCursorId + 1;
    EXPECT_EQ(GetAppCursor(-1), nullptr);
    EXPECT_EQ(GetAppCursor(count), nullptr);
    for (int32_t i = 0; i < count; ++i)
        ASSERT_NE(GetAppCursor(i), nullptr) << i;
    EXPECT_EQ(GetAppCursor(3)->shape(), Qt::SizeAllCursor);
    FreeAppCursors();
    EXPECT_EQ(GetAppCursor(0), nullptr);
}

TEST(AppCursors, IdsWithoutResourceLeaveEmptyEntries)
{
    ASSERT_EQ(LoadAppCursors(kLastAppCursorId, kLastAppCursorId + 2), 0);
    EXPECT_NE(GetAppCursor(0), nullptr);
    EXPECT_EQ(GetAppCursor(1), nullptr);
    EXPECT_EQ(GetAppCursor(2), nullptr);
    EXPECT_EQ(GetAppCursor(3), nullptr);
    FreeAppCursors();
}

TEST(SavedCursor, NestedCursorsRestoreInOrder)
{
    SetWaitCursor();
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    SetArrowCursor();
    EXPECT_EQ(OverrideShape(), Qt::ArrowCursor);
    HyperlinkHandCursor();
    EXPECT_EQ(OverrideShape(), Qt::PointingHandCursor);
    RestoreSavedCursor();
    RestoreSavedCursor();
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    RestoreSavedCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(SavedCursor, RestoreNeverTakesAwayAnotherOwnersCursor)
{
    QGuiApplication::setOverrideCursor(Qt::IBeamCursor);
    RestoreSavedCursor();
    EXPECT_EQ(OverrideShape(), Qt::IBeamCursor);
    QGuiApplication::restoreOverrideCursor();
}

class ClickCounter : public QWidget {
public:
    int presses = 0;
    int releases = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
};

TEST(WaitMouseHold, StillPointerHoldsForTheWholeTime)
{
    EXPECT_EQ(WaitMouseHold(0), 1);
    EXPECT_EQ(WaitMouseHold(30), 1);
}

TEST(WaitMouseHold, MovedPointerEndsTheWait)
{
    const QPoint start = QCursor::pos();
    QTimer::singleShot(10, [start] { QCursor::setPos(start + QPoint(7, 3)); });
    EXPECT_EQ(WaitMouseHold(20000), 0);
    QCursor::setPos(start);
}

TEST(WaitMouseHold, PressedButtonEndsTheWait)
{
    ClickCounter w;
    w.resize(100, 100);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTimer::singleShot(10, [&w] { QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, QPoint(50, 50)); });
    EXPECT_EQ(WaitMouseHold(20000), 0);
    QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, QPoint(50, 50));
}

// A widget that waits for a hold when pressed, as the selection tracker does.
class HoldingWidget : public QWidget {
public:
    int presses = 0;
    int releases = 0;
    int held = -1;
    int releasesDuringPress = -1;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        ++presses;
        if (held < 0) {
            held = WaitMouseHold(60);
            releasesDuringPress = releases;
        }
    }
    void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
};

// Input that arrives meanwhile does not reach the windows; a release is
// handed over once the wait is over, so no widget keeps the pointer, and
// never while the widget's press handler is still running.
TEST(WaitMouseHold, InputDuringTheWaitIsHeldBack)
{
    HoldingWidget w;
    w.resize(100, 100);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QWindow* window = w.windowHandle();
    const QPointF at(50, 50);
    const QPointF global = w.mapToGlobal(QPoint(50, 50));
    auto post = [=](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QCoreApplication::postEvent(window, new QMouseEvent(type, at, global, button, buttons, Qt::NoModifier));
    };
    QTimer::singleShot(5, [=] {
        post(QEvent::MouseButtonPress, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
        post(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::RightButton);
    });
    post(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.held, 1);
    EXPECT_EQ(w.releasesDuringPress, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.presses, 1);
    EXPECT_EQ(w.releases, 1);
}

}  // namespace
