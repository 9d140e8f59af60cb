// A picture for a reviewer: a text frame in edit on a card page at twice
// its size, in the installed Liberation fonts, once with a selection dragged
// across two paragraphs and once with the caret shown after a click and a
// typed word (a frame shows either a selection or the caret, never both).
// It is written to text-tool-edit.png in the build folder.
#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>
#include <QTimer>

#include "frames/style_runs.h"
#include "text/dc_text_measurer.h"
#include "text_tool_fixture.h"

namespace {

TEST(TextToolPicture, FrameInEditWithSelectionAndCaret)
{
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    ToolTextHost* host = nullptr;
    DcTextMeasurer measurer([&host](int16_t font, FontSpec* out) { return host && host->GetFontSpec(font, out); });
    ToolTextDocument doc(dir.path(), &measurer, 1, 1, 200);
    host = &doc.host;
    FrameObjText* frame = doc.AddTextFrame(IntRect{30, 30, 330, 230}, {});
    frame->SetColour(7, 1);
    frame->SetTint(20, 1);
    frame->SetColour(0, 2);
    frame->SetBorderWidth(1);
    doc.SetStory(frame, {"Editing a text frame",
                         "A drag selects from the place the button went down to the place it is let go, "
                         "line by line, across paragraphs.",
                         "A click puts the caret between two characters; two, three and four clicks select "
                         "a word, a line and a paragraph."});
    doc.ctx.SelectParagraph(0);
    ParagraphText heading = doc.ctx.Current();
    std::array<int16_t, kAttributeCount> values = kRunDefaults;
    values[kRankStyle] = 1;
    values[kRankSize] = 16;
    SetRunAttributes(&heading, 0, heading.Length() - 1, kRunStyle | kRunSize, values, true);
    doc.ctx.StoreFlags(heading);
    doc.Flow(frame);
    doc.view.UpdateNow();

    auto pixel = [&](const IntPoint& view) { return doc.view.surface.pixelColor(doc.view.Pixel(view)); };
    EXPECT_EQ(pixel(IntPoint{2 * 300, 2 * 225}), QColor(203, 240, 255));

    // Into editing (the text then stands on white), then a drag from
    // "selects" to "across".
    doc.Click(doc.At(frame, 1, 7), 1);
    const QColor paper = pixel(IntPoint{2 * 300, 2 * 225});
    EXPECT_EQ(paper, QColor(Qt::white));
    const QPoint a = doc.view.Pixel(doc.At(frame, 1, 7));
    const QPoint b = doc.view.Pixel(doc.At(frame, 2, 22));
    QTimer::singleShot(0, &doc.view, [&] { QTest::mouseMove(&doc.view, (a + b) / 2); });
    QTimer::singleShot(5, &doc.view, [&] {
        QTest::mouseMove(&doc.view, b);
        QTest::mouseRelease(&doc.view, Qt::LeftButton, {}, b);
    });
    QTest::mousePress(&doc.view, Qt::LeftButton, {}, a);
    EXPECT_TRUE(doc.frames.IsInEdit(frame));
    const QImage selected = doc.view.surface.copy();
    // Inside the selection the paper is inverted.
    const IntPoint inside = doc.At(frame, 2, 10);
    EXPECT_NE(pixel(IntPoint{inside.x, inside.y + 4}), paper);

    // A click ends the selection; a word typed on the view's keyboard goes
    // in at the caret, and the caret blinks on behind it.
    doc.Click(doc.At(frame, 2, 0), 1);
    EXPECT_FALSE(doc.frames.IsInEdit(frame));
    QTest::keyClicks(&doc.view, "Typed: ");
    EXPECT_EQ(doc.Paragraph(frame, 2).substr(0, 7), "Typed: ");
    // The view catches up with the typed lines; painting the text takes the
    // caret off, and the view shows it again at once.
    doc.tool.HideCaret();
    doc.view.UpdateNow();
    doc.tool.ShowCaret();
    ASSERT_TRUE(doc.caret.IsDrawn());
    const IntPoint bottom = doc.caret.Position();
    const int32_t top = bottom.y - doc.caret.Height();
    EXPECT_NE(pixel(IntPoint{bottom.x - 1, (top + bottom.y) / 2}), paper);
    const QImage withCaret = doc.view.surface.copy();
    // The next blink takes the caret away again.
    doc.tool.BlinkCaret();
    EXPECT_FALSE(doc.caret.IsDrawn());
    EXPECT_EQ(pixel(IntPoint{bottom.x - 1, top + 1}), paper);

    QImage sheet(selected.width() * 2 + 10, selected.height(), QImage::Format_RGB32);
    sheet.fill(Qt::darkGray);
    QPainter painter(&sheet);
    painter.drawImage(0, 0, selected);
    painter.drawImage(selected.width() + 10, 0, withCaret);
    painter.end();
    EXPECT_TRUE(sheet.save(QString(TESSALINE_BINARY_DIR) + "/text-tool-edit.png"));
}

}  // namespace
