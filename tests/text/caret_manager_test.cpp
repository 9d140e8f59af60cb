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

class CaretTest : public ::testing::Test {
protected:
    CaretTest() : image(300, 200, QImage::Format_RGB32)
    {
        doc.ctx = &ctx;
        image.fill(kWhite);
        dc = Dc::ForImage(&image);
        host.dc = dc.get();
    }
    void SetUp() override
    {
        ASSERT_TRUE(dir.ok());
        // The same document as the other text tests, with a host that also
        // answers for the frame in edit and the focus.
        frame = static_cast<FrameObjText*>(doc.frames.CreateFrameObject(kFrameText, 1));
        doc.frames.SetFramePage(frame, 0, kResidencePasteboard);
        frame->SetFromRect(IntRect{17, 37, 203, 143});
        doc.frames.NewStory(frame, true);
        ASSERT_EQ(doc.stories.BindStory(uint16_t(frame->Block().storyId)), 0);
        TextBuffer& buffer = doc.stories.Buffer();
        buffer.DeleteRange(0, buffer.Count());
        const std::string text = "abcdef ghij";
        Handle h = NewParagraph();
        ASSERT_EQ(ParagraphInsertBytes(h, 0, 0, reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size())),
                  0);
        ASSERT_NE(buffer.InsertRecord(0, h, false), 0);
        doc.frames.FlowFrame(frame->FrameId(), false);
        ASSERT_TRUE(BindFrame(&ctx, frame));
        ctx.SelectParagraph(0);
        ctx.SetCaretCharacter(2);
        host.editing = frame;
    }
    // The pixels that differ from the blank surface.
    QRect Marked() const
    {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != kWhite)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    TempDir dir;
    CaretHost host;
    FixedMeasurer measurer;
    StyleSheet styles;
    TextTestDocument doc{dir.path()};
    TextContext ctx{&doc, &styles, &host, &measurer};
    FrameObjText* frame = nullptr;
    QImage image;
    std::unique_ptr<Dc> dc;
    CaretManager caret{&ctx};
};

TEST_F(CaretTest, TogglesAOnePixelLineAndMovesByErasingFirst)
{
    caret.Show(false);
    IntPoint point;
    caret.Update(&point);
    ASSERT_TRUE(caret.IsDrawn());
    // 12-point text, 6 units a character: the line stands left of the third
    // character and spans the line's 15 units from the top of its ascent
    // to the bottom of its descent, as the selection does.
    EXPECT_EQ(point.x, 20 + 12);
    const QRect line = Marked();
    EXPECT_EQ(line, QRect(point.x - 1, 40, 1, 15));
    EXPECT_EQ(point.y, 55);
    EXPECT_EQ(caret.Height(), 15);

    caret.Update(nullptr);
    EXPECT_FALSE(caret.IsDrawn());
    EXPECT_TRUE(Marked().isEmpty());

    caret.Update(nullptr);
    ctx.SetCaretCharacter(5);
    caret.Update(&point);
    EXPECT_TRUE(caret.IsDrawn());
    EXPECT_EQ(Marked(), line.translated(18, 0));
    caret.Hide(false);
    EXPECT_TRUE(Marked().isEmpty());
    EXPECT_FALSE(caret.IsVisible());
}

TEST_F(CaretTest, DrawsOnlyWhenItCanAndHidingLeavesNoMark)
{
    // Hidden: no step draws.
    caret.Update(nullptr);
    EXPECT_TRUE(Marked().isEmpty());

    caret.Show(false);
    host.focus = false;
    caret.Update(nullptr);
    EXPECT_FALSE(caret.IsDrawn());
    EXPECT_TRUE(Marked().isEmpty());

    // Another tool, or no frame in edit: nothing happens at all.
    host.focus = true;
    host.toolCurrent = false;
    caret.Update(nullptr);
    host.toolCurrent = true;
    host.editing = nullptr;
    caret.Update(nullptr);
    EXPECT_TRUE(Marked().isEmpty());
    host.editing = frame;

    // A line left on when the view lost the focus is still taken away.
    caret.Update(nullptr);
    ASSERT_TRUE(caret.IsDrawn());
    host.focus = false;
    caret.Update(nullptr);
    EXPECT_TRUE(caret.IsDrawn());
    caret.Hide(false);
    EXPECT_TRUE(Marked().isEmpty());
    EXPECT_FALSE(caret.IsDrawn());

    // Shown again with its line off: hiding leaves nothing either.
    host.focus = true;
    caret.Show(false);
    caret.Hide(false);
    EXPECT_TRUE(Marked().isEmpty());

    // No laid-out line: height 0, nothing drawn, the flag kept.
    frame->LineTable().DeleteRecords(frame->LineTable().Count(), 1);
    caret.Show(false);
    caret.Update(nullptr);
    EXPECT_EQ(caret.Height(), 0);
    EXPECT_FALSE(caret.IsDrawn());
    EXPECT_TRUE(Marked().isEmpty());
}

TEST_F(CaretTest, BlinksWhileShownWithTheTimer)
{
    caret.Show(true);
    ASSERT_TRUE(caret.IsBlinking());
    ASSERT_TRUE(QTest::qWaitFor([&] { return caret.IsDrawn(); }, 5000));
    EXPECT_FALSE(Marked().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !caret.IsDrawn(); }, 5000));
    EXPECT_TRUE(Marked().isEmpty());

    // Hide(0) keeps the timer, Hide(1) stops it and removes the line.
    caret.Hide(false);
    EXPECT_TRUE(caret.IsBlinking());
    caret.Show(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return caret.IsDrawn(); }, 5000));
    caret.HideAll();
    EXPECT_FALSE(caret.IsBlinking());
    EXPECT_TRUE(Marked().isEmpty());
}

}  // namespace
