// The trackers of particular drags: the line band and its Shift
// constraint, the barcode click, and the grab of the page; each leaves the
// view's picture as it found it.
#include <gtest/gtest.h>

#include <QTest>
#include <functional>
#include <vector>

#include "carddoc/trackers.h"
#include "drag_steps.h"
#include "foundation/keys.h"
#include "surface_view.h"

namespace {

class ShiftKey : public KeyStateSource {
public:
    ShiftKey() : previous_(SetKeyStateSource(this)) {}
    ~ShiftKey() override { SetKeyStateSource(previous_); }
    bool KeyDown(int32_t key) override { return held && key == kVkShift; }
    void DeliverPendingInput() override {}
    bool held = false;

private:
    KeyStateSource* previous_;
};

class TrackersTest : public ::testing::Test {
protected:
    TrackersTest() { view.show(); }

    // Runs the tracker from `from`; the steps run one after another inside
    // the drag.
    void Drag(CTracker* tracker, const IntPoint& from, std::vector<std::function<void()>> steps)
    {
        view.onPress = [tracker](const IntPoint& p) { tracker->Track(p); };
        QueueDragSteps(&view, std::move(steps));
        QTest::mousePress(&view, Qt::LeftButton, {}, view.Pixel(from));
    }
    void MoveTo(const IntPoint& p) { QTest::mouseMove(&view, view.Pixel(p)); }
    void ReleaseAt(const IntPoint& p) { QTest::mouseRelease(&view, Qt::LeftButton, {}, view.Pixel(p)); }

    ShiftKey keys;
    SurfaceView view{300, 200, 20};
};

TEST_F(TrackersTest, TheLineBandIsDrawnAndTakenAway)
{
    const QImage before = view.surface.copy();
    QImage during;
    CLineTracker tracker(&view, nullptr, 1, 1);
    Drag(&tracker, IntPoint{10, 10}, {[&] { MoveTo(IntPoint{110, 10}); },
                                      [&] {
                                          during = view.surface.copy();
                                          ReleaseAt(IntPoint{110, 10});
                                      }});
    EXPECT_EQ(during.pixelColor(view.Pixel(IntPoint{60, 10})), QColor(Qt::black));
    EXPECT_EQ(during.pixelColor(view.Pixel(IntPoint{60, 12})), QColor(Qt::white));
    EXPECT_EQ(view.surface, before);
    EXPECT_EQ(tracker.Result().right, 110);
    EXPECT_EQ(tracker.Result().bottom, 10);
}

TEST_F(TrackersTest, ShiftKeepsALineToRightAnglesAndDiagonals)
{
    CLineTracker tracker(&view, nullptr, 1, 1);
    keys.held = true;
    tracker.ReadModifiers();
    IntPoint end{20, 45};
    tracker.ConstrainLine(IntPoint{10, 20}, &end);
    EXPECT_EQ(end.x, 10) << "(10, 25) becomes vertical";
    EXPECT_EQ(end.y, 45);
    end = IntPoint{20, 35};
    tracker.ConstrainLine(IntPoint{10, 20}, &end);
    EXPECT_EQ(end.x, 25) << "(10, 15) becomes a diagonal of 15";
    EXPECT_EQ(end.y, 35);
    end = IntPoint{-30, 22};
    tracker.ConstrainLine(IntPoint{10, 20}, &end);
    EXPECT_EQ(end.x, view.pageRect.left) << "horizontal, and kept on the page";
    EXPECT_EQ(end.y, 20);

    keys.held = false;
    tracker.ReadModifiers();
    end = IntPoint{20, 35};
    tracker.ConstrainLine(IntPoint{10, 20}, &end);
    EXPECT_EQ(end.x, 20);
    EXPECT_EQ(end.y, 35);
}

TEST_F(TrackersTest, ABarcodeClickGivesASmallSquareAndDrawsNothing)
{
    const QImage before = view.surface.copy();
    QImage during;
    CBarcodeTracker tracker(&view, nullptr, 1, 1);
    Drag(&tracker, IntPoint{40, 40}, {[&] { MoveTo(IntPoint{70, 60}); },
                                      [&] {
                                          during = view.surface.copy();
                                          ReleaseAt(IntPoint{70, 60});
                                      }});
    EXPECT_EQ(during, before);
    const IntRect r = tracker.Result();
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right - r.left, 5);
    EXPECT_EQ(r.bottom - r.top, 5);
}

TEST_F(TrackersTest, TheGrabAlwaysReportsAScroll)
{
    CDragTracker tracker(&view, nullptr, 0, 1);
    Drag(&tracker, IntPoint{40, 40}, {[&] { ReleaseAt(IntPoint{40, 40}); }});
    EXPECT_EQ(tracker.ChangeFlags(), kTrackScrolled);
    EXPECT_FALSE(tracker.Moved());
}

}  // namespace
