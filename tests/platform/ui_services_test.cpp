#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "foundation/cursors.h"
#include "foundation/keys.h"
#include "platform/hyperlink.h"
#include "resources/artwork_resources.h"

namespace {

TEST(AppCursors, EntriesAndBounds)
{
    const int32_t count = kLastAppCursorId - kFirstAppCursorId + 1;
    ASSERT_EQ(LoadAppCursors(kFirstAppCursorId, kLastAppCursorId + 1), 0);
    EXPECT_EQ(GetAppCursor(-1), nullptr);
    EXPECT_EQ(GetAppCursor(count + 1), nullptr);
    EXPECT_EQ(GetAppCursor(count), nullptr);  // an id without a cursor
    for (int32_t i = 0; i < count; ++i)
        ASSERT_NE(GetAppCursor(i), nullptr) << i;
    // Drawn cursors, each with its hot spot inside its picture.
    EXPECT_EQ(GetAppCursor(3)->shape(), Qt::BitmapCursor);
    EXPECT_FALSE(GetAppCursor(3)->pixmap().isNull());
    FreeAppCursors();
    EXPECT_EQ(GetAppCursor(0), nullptr);
}

Qt::CursorShape OverrideShape()
{
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::BitmapCursor;  // BitmapCursor: none
}

TEST(SavedCursor, NestedCursorsRestoreInOrderAndLeaveOthersAlone)
{
    QGuiApplication::setOverrideCursor(Qt::IBeamCursor);  // somebody else's
    SetWaitCursor();
    SetArrowCursor();
    HyperlinkHandCursor();
    EXPECT_EQ(OverrideShape(), Qt::PointingHandCursor);
    RestoreSavedCursor();
    EXPECT_EQ(OverrideShape(), Qt::ArrowCursor);
    RestoreSavedCursor();
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    RestoreSavedCursor();
    RestoreSavedCursor();
    EXPECT_EQ(OverrideShape(), Qt::IBeamCursor);
    QGuiApplication::restoreOverrideCursor();
}

TEST(WaitMouseHold, MovedPointerEndsTheWait)
{
    EXPECT_EQ(WaitMouseHold(0), 1);
    EXPECT_EQ(WaitMouseHold(30), 1);

    const QPoint start = QCursor::pos();
    QTimer::singleShot(10, [start] { QCursor::setPos(start + QPoint(7, 3)); });
    EXPECT_EQ(WaitMouseHold(20000), 0);
    QCursor::setPos(start);
}

// Waits for a hold when pressed, as the selection tracker does.
class HoldingWidget : public QWidget {
public:
    int presses = 0;
    int releases = 0;
    int releasesDuringPress = -1;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        if (++presses == 1) {
            WaitMouseHold(20000);
            releasesDuringPress = releases;
        }
    }
    void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
};

// Input that arrives meanwhile does not reach the windows. A release is
// handed over after the wait, never into the running press handler, so no
// widget keeps the pointer grabbed.
TEST(WaitMouseHold, InputDuringTheWaitIsHeldBack)
{
    HoldingWidget w;
    w.resize(100, 100);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QWindow* window = w.windowHandle();
    auto post = [window](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QCoreApplication::postEvent(window, new QMouseEvent(type, QPointF(50, 50), QPointF(50, 50), button, buttons,
                                                            Qt::NoModifier));
    };
    const QPoint start = QCursor::pos();
    QTimer::singleShot(5, [=] {
        post(QEvent::MouseButtonPress, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
        post(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::RightButton);
        // Ends the wait once the input above went through it.
        QTimer::singleShot(10, [start] { QCursor::setPos(start + QPoint(1, 0)); });
    });
    post(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    QCursor::setPos(start);
    EXPECT_EQ(w.releasesDuringPress, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.presses, 1);
    EXPECT_EQ(w.releases, 1);
}

}  // namespace
