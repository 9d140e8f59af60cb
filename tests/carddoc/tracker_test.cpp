// The mouse tracker's capture loop, driven by QTest mouse events sent from
// inside the drag.
#include <gtest/gtest.h>

#include <QTest>
#include <functional>
#include <vector>

#include "drag_steps.h"
#include "foundation/keys.h"
#include "surface_view.h"
#include "toolbase/tracker.h"

namespace {

class ShiftHeld : public KeyStateSource {
public:
    ShiftHeld() : previous_(SetKeyStateSource(this)) {}
    ~ShiftHeld() override { SetKeyStateSource(previous_); }
    bool KeyDown(int32_t key) override { return key == kVkShift; }
    void DeliverPendingInput() override {}

private:
    KeyStateSource* previous_;
};

class TrackerTest : public ::testing::Test {
protected:
    TrackerTest()
    {
        view.show();
        view.onPress = [this](const IntPoint& p) {
            tracker = std::make_unique<CTracker>(&view, nullptr, 7, 1);
            tracker->Track(p);
        };
    }

    // Presses at from; the steps run one after the other inside the drag,
    // each after the passes the one before it caused.
    void Drag(const IntPoint& from, std::vector<std::function<void()>> steps, int gapMs = 5)
    {
        QueueDragSteps(&view, std::move(steps), gapMs);
        QTest::mousePress(&view, Qt::LeftButton, {}, view.Pixel(from));
    }
    void MoveTo(const IntPoint& p) { QTest::mouseMove(&view, view.Pixel(p)); }
    void ReleaseAt(const IntPoint& p) { QTest::mouseRelease(&view, Qt::LeftButton, {}, view.Pixel(p)); }

    SurfaceView view{300, 200, 20};
    std::unique_ptr<CTracker> tracker;
};

TEST_F(TrackerTest, DragShowsTheBandAndLeavesTheViewAsItWas)
{
    const QImage before = view.surface.copy();
    QImage during;
    Drag(IntPoint{10, 10}, {[&] { MoveTo(IntPoint{60, 40}); },
                            [&] {
                                during = view.surface.copy();
                                MoveTo(IntPoint{80, 50});
                            },
                            [&] { ReleaseAt(IntPoint{80, 50}); }});
    ASSERT_TRUE(tracker);
    EXPECT_TRUE(tracker->Moved());
    EXPECT_EQ(tracker->ChangeFlags(), kTrackMoved);
    EXPECT_EQ(tracker->Mode(), 7);
    const IntRect r = tracker->Result();
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right, 80);
    EXPECT_EQ(r.bottom, 50);
    // The band showed (inverted, black on white) and the last one went.
    EXPECT_EQ(during.pixelColor(view.Pixel(IntPoint{30, 10})), QColor(Qt::black));
    EXPECT_EQ(view.surface, before);
}

TEST_F(TrackerTest, ReleaseWithoutMovingReportsNoMove)
{
    Drag(IntPoint{30, 30}, {[&] { ReleaseAt(IntPoint{30, 30}); }});
    ASSERT_TRUE(tracker);
    EXPECT_FALSE(tracker->Moved());
    EXPECT_EQ(tracker->ChangeFlags(), 0);
    EXPECT_EQ(tracker->Result().right, 30);
    EXPECT_EQ(tracker->Result().bottom, 30);
}

TEST_F(TrackerTest, PointsStayOnThePageAndTheViewScrollsOutside)
{
    view.pageRect = IntRect{0, 0, 100, 80};
    Drag(IntPoint{50, 40}, {[&] { MoveTo(IntPoint{400, 300}); }, [&] { ReleaseAt(IntPoint{400, 300}); }});
    ASSERT_TRUE(tracker);
    EXPECT_EQ(tracker->Result().right, 100);
    EXPECT_EQ(tracker->Result().bottom, 80);

    // Outside the view itself the view scrolls, and keeps scrolling while
    // the pointer stays there.
    view.pageRect = IntRect{-1000, -1000, 1000, 1000};
    Drag(IntPoint{50, 40}, {[&] { MoveTo(IntPoint{400, 40}); }, [&] { ReleaseAt(IntPoint{400, 40}); }}, 150);
    EXPECT_EQ(tracker->ChangeFlags(), kTrackScrolled);
    EXPECT_GE(view.scrolls, 3);
}

TEST_F(TrackerTest, ShiftSquaresTheBand)
{
    ShiftHeld shift;
    Drag(IntPoint{10, 10}, {[&] { MoveTo(IntPoint{40, 90}); }, [&] { ReleaseAt(IntPoint{40, 90}); }});
    ASSERT_TRUE(tracker);
    EXPECT_EQ(tracker->Result().right - tracker->Result().left, 80);
    EXPECT_EQ(tracker->Result().bottom - tracker->Result().top, 80);
}

TEST_F(TrackerTest, NoDragWithoutTheButtonOrTheWindow)
{
    // The button is already up: the drag ends at the press point.
    CTracker up(&view, nullptr, 1, 1);
    up.Track(IntPoint{12, 14});
    EXPECT_FALSE(up.Moved());
    EXPECT_EQ(up.Result().right, 12);
    EXPECT_EQ(up.Result().bottom, 14);

    // A window that goes away while the button is held ends the drag
    // instead of waiting for a release that never comes.
    Drag(IntPoint{10, 10}, {[&] { MoveTo(IntPoint{20, 20}); }, [&] { view.hide(); }});
    ASSERT_TRUE(tracker);
    EXPECT_TRUE(tracker->Moved());
    EXPECT_FALSE(CTracker::Active());
}

}  // namespace
