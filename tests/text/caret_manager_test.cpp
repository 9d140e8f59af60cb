#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "platform/dc.h"
#include "text/caret_manager.h"
#include "text_fixture.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

class CaretHost : public TestTextHost {
public:
    FrameObjText* EditFrame() override { return editing; }
    bool ViewHasFocus() override { return focus; }

    FrameObjText* editing = nullptr;
    bool focus = true;
};

// The caret works through its own context, whose host also answers for the
// frame in edit and the focus.
class CaretTest : public TextTest {
protected:
    void SetUp() override
    {
        TextTest::SetUp();
        image.fill(kWhite);
        caretHost.dc = dc.get();
        FlowStory({"abcdef ghij"}, IntRect{20, 40, 200, 140});
        ASSERT_TRUE(BindFrame(&caretCtx, frame));
        caretCtx.SelectParagraph(0);
        caretCtx.SetCaretCharacter(2);
        caretHost.editing = frame;
    }
    // The box of the pixels that differ from the blank surface.
    QRect Marked() const
    {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != kWhite)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    QImage image{300, 200, QImage::Format_RGB32};
    std::unique_ptr<Dc> dc = Dc::ForImage(&image);
    CaretHost caretHost;
    TextContext caretCtx{&doc, &styles, &caretHost, &measurer};
    CaretManager caret{&caretCtx};
};

TEST_F(CaretTest, TogglesAOnePixelLineAndMovesByErasingFirst)
{
    caret.Show(false);
    IntPoint point;
    caret.Update(&point);
    ASSERT_TRUE(caret.IsDrawn());
    // 6 units a character: the line stands left of the third character and
    // spans the line's 15 units from the top of its ascent to the bottom of
    // its descent, as the selection does.
    EXPECT_EQ(point.x, 20 + 12);
    EXPECT_EQ(point.y, 55);
    const QRect line = Marked();
    EXPECT_EQ(line, QRect(point.x - 1, 40, 1, 15));

    caret.Update(nullptr);
    EXPECT_FALSE(caret.IsDrawn());
    EXPECT_TRUE(Marked().isEmpty());

    caret.Update(nullptr);
    caretCtx.SetCaretCharacter(5);
    caret.Update(&point);
    EXPECT_TRUE(caret.IsDrawn());
    EXPECT_EQ(Marked(), line.translated(18, 0));
    caret.Hide(false);
    EXPECT_TRUE(Marked().isEmpty());
    EXPECT_FALSE(caret.IsVisible());
}

TEST_F(CaretTest, DrawsOnlyWhenItCanAndHidingLeavesNoMark)
{
    caret.Update(nullptr);  // hidden
    caret.Show(false);
    caretHost.focus = false;
    caret.Update(nullptr);
    EXPECT_FALSE(caret.IsDrawn());
    caretHost.focus = true;
    caretHost.editing = nullptr;
    caret.Update(nullptr);
    EXPECT_TRUE(Marked().isEmpty());
    caretHost.editing = frame;

    // A line left on when the view lost the focus is still taken away.
    caret.Update(nullptr);
    ASSERT_TRUE(caret.IsDrawn());
    caretHost.focus = false;
    caret.Update(nullptr);
    EXPECT_TRUE(caret.IsDrawn());
    caret.Hide(false);
    EXPECT_TRUE(Marked().isEmpty());
    EXPECT_FALSE(caret.IsDrawn());

    // No laid-out line: the caret stands at the frame's start, and hiding
    // it still leaves no mark.
    caretHost.focus = true;
    frame->LineTable().DeleteRecords(frame->LineTable().Count(), 1);
    caret.Show(false);
    caret.Update(nullptr);
    EXPECT_GT(caret.Height(), 0);
    EXPECT_TRUE(caret.IsDrawn());
    caret.Hide(false);
    EXPECT_TRUE(Marked().isEmpty());
}

TEST_F(CaretTest, BlinksWhileShownWithTheTimer)
{
    caret.Show(true);
    ASSERT_TRUE(caret.IsBlinking());
    ASSERT_TRUE(QTest::qWaitFor([&] { return caret.IsDrawn(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !caret.IsDrawn(); }, 5000));
    EXPECT_TRUE(Marked().isEmpty());

    // Hide(0) keeps the timer; Hide(1) stops it and removes the line.
    caret.Hide(false);
    EXPECT_TRUE(caret.IsBlinking());
    caret.Show(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return caret.IsDrawn(); }, 5000));
    caret.HideAll();
    EXPECT_FALSE(caret.IsBlinking());
    EXPECT_TRUE(Marked().isEmpty());
}

}  // namespace
