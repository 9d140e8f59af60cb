// Frames carried through the clipboard: Edit > Copy of the selection, then
// Edit > Paste, as a person duplicates a part of the card.
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QString>

#include "app/main_frame.h"
#include "app/tool_bar_draw.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "typography/font_combo_box.h"
#include "typography/font_table.h"
#include "journey_fixture.h"

namespace {

class ClipboardFramesJourney : public JourneyTest {};

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST_F(ClipboardFramesJourney, ABarcodeCopiedAndPastedIsASecondBarcode)
{
    const std::string path = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(path), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    // The barcode, 73 x 29 at (172, 104): a frame with no text of its own.
    Click(CardPoint(208, 118));
    ASSERT_TRUE(Trigger("Edit > Copy"));
    ASSERT_TRUE(Enabled("Edit > Paste"));
    ASSERT_TRUE(Trigger("Edit > Paste"));
    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string dump = Tool("card dump '" + path + "'");
    EXPECT_EQ(Count(dump, ": type 11,"), 2u) << dump;
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(ClipboardFramesJourney, ACopiedFrameGivesOtherProgramsItsTextAndAPrintSharpPicture)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    // The company line: a text frame 178 x 24 at (62, 16).
    Click(CardPoint(150, 28));
    ASSERT_TRUE(Trigger("Edit > Copy"));
    const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(offered, nullptr);
    ASSERT_TRUE(offered->hasText());
    const std::string dump = Tool("card dump '" + CopySample("Business Card.lqx", "again.lqx") + "'");
    const std::string text = offered->text().toStdString();
    EXPECT_FALSE(text.empty());
    EXPECT_NE(dump.find(text), std::string::npos) << text << " is not the frame's text:\n" << dump;
    // At 300 dots an inch: 178 points are about 741 pixels.
    ASSERT_TRUE(offered->hasImage());
    const QImage picture = qvariant_cast<QImage>(offered->imageData());
    EXPECT_NEAR(picture.width(), 178 * 300 / 72, 8);
    EXPECT_NEAR(picture.height(), 24 * 300 / 72, 8);
    EXPECT_GT(Ink(picture, picture.rect()), 200) << "the picture shows no text";

    // Pasted back, the program still takes its own frame, not the text.
    ASSERT_TRUE(Trigger("Edit > Paste"));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(ClipboardFramesJourney, AFramePastedWhollyOffThePageIsMovedOntoIt)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    ASSERT_TRUE(Trigger("View > View Size > 25%"));
    // The barcode, 73 x 29 at (172, 104), copied; the mouse then far out on
    // the pasteboard, right of and below the page.
    Click(CardPoint(208, 118));
    ASSERT_TRUE(Trigger("Edit > Copy"));
    CLabelsDoc* card = CardDocument();
    IntRect page;
    card->GetPageRect(&page);
    const QPoint out = ViewPoint(IntPoint{page.right + 150, page.bottom + 150});
    ASSERT_TRUE(CardView()->rect().contains(out)) << "the pasteboard is not in sight";
    QCursor::setPos(CardView()->mapToGlobal(out));
    const int16_t before = card->PageManager()->FrameCount();
    ASSERT_TRUE(Trigger("Edit > Paste"));
    ASSERT_EQ(card->PageManager()->FrameCount(), before + 1);
    IntRect pasted;
    card->PageManager()->FrameAt(before)->GetBounds(&pasted, kGeometryCurrent);
    EXPECT_GE(pasted.left, page.left);
    EXPECT_GE(pasted.top, page.top);
    EXPECT_LE(pasted.right, page.right) << "the frame was left off the page";
    EXPECT_LE(pasted.bottom, page.bottom);
    // Where it fell as near as the page allows: at its bottom-right corner.
    EXPECT_GT(pasted.right, page.right - 10);
    EXPECT_GT(pasted.bottom, page.bottom - 10);
    // Undone as a paste is.
    ASSERT_TRUE(Trigger(uint32_t(57643)));
    EXPECT_EQ(card->PageManager()->FrameCount(), before);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(ClipboardFramesJourney, TextFromAnotherProgramPastesAsItIsAndSaysWhatTheCardCannotHold)
{
    const std::string path = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(path), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    CLabelsDoc* card = CardDocument();

    // With the Object tool: a new frame that shows the text, and holds
    // it as it is, one paragraph.
    QGuiApplication::clipboard()->setText("abc");
    const int16_t before = card->PageManager()->FrameCount();
    ASSERT_TRUE(Trigger("Edit > Paste"));
    ASSERT_EQ(card->PageManager()->FrameCount(), before + 1);
    IntRect pasted;
    card->PageManager()->FrameAt(before)->GetBounds(&pasted, kGeometryCurrent);
    const QRect shown(ViewPoint(IntPoint{pasted.left, pasted.top}), ViewPoint(IntPoint{pasted.right, pasted.bottom}));
    ASSERT_TRUE(CardView()->rect().contains(shown)) << "the new frame is out of sight";
    // Its inside, without the selection's handles and outline.
    EXPECT_GT(Ink(ViewPixels(), shown.adjusted(4, 4, -4, -4)), 15) << "the pasted frame looks empty";
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // With the Text tool, at the end of the company line: what the card's
    // character set holds goes in, and one note says how much was left out.
    ASSERT_TRUE(Trigger(uint32_t(33285)));
    Click(CardPoint(232, 28));
    Key(Qt::Key_End);
    QGuiApplication::clipboard()->setText(QStringLiteral(" \u0141\u00f3d\u017a \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac "
                                                         "\U0001F600 caf\u00e9"));
    ASSERT_TRUE(Trigger("Edit > Paste"));
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(),
              "11 characters of the pasted text have no place in the card's character set; they were left out.");

    // Typed, the same: the rest is taken, and the note comes once when the
    // typing stops.
    alerts.clear();
    for (const char16_t letter : {u'\u0141', u'x', u'\u03c9', u'y', u'\u03c9'})
        QTest::sendKeyEvent(QTest::Click, CardView(), Qt::Key_unknown, QString(QChar(letter)), Qt::NoModifier);
    EXPECT_TRUE(alerts.boxes().empty()) << "a note in the middle of typing: " << alerts.lastText();
    EXPECT_TRUE(SettleUntil([this] { return !alerts.boxes().empty(); })) << "no note once typing stopped";
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(), "3 typed characters have no place in the card's character set; they were left out.");

    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string dump = Tool("card dump '" + path + "'");
    EXPECT_NE(dump.find("  \"abc\\x0D\"\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("Company \xF3" "d   caf\xE9" "xy\\x0D\""), std::string::npos) << dump;
    EXPECT_EQ(dump.find('?'), std::string::npos) << dump;
}

TEST_F(ClipboardFramesJourney, TextPastedIntoAnotherCardKeepsItsFont)
{
    constexpr uint32_t kObjectTool = 33284;
    constexpr uint32_t kTextTool = 33285;
    // The first card's one font, which its text shows where no run sets
    // one, is DejaVu Serif instead of Arial.
    const std::string first = CopySample("Business Card.lqx", "first.lqx");
    {
        std::fstream file(first, std::ios::in | std::ios::out | std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const size_t face = bytes.find(std::string("Arial", 6));
        ASSERT_NE(face, std::string::npos);
        file.seekp(std::streamoff(face));
        file.write("DejaVu Serif", 13);
    }
    ASSERT_NE(OpenThroughMenu(first), nullptr) << alerts.lastText();
    CToolBarDraw* bar = MainWindow()->TextBar();
    const auto shown = [bar] { return bar->NameCombo()->currentText().toStdString(); };
    const int serif = bar->NameCombo()->findText("Liberation Serif");
    ASSERT_GE(serif, 0);
    // At the end of the company line: a word typed, set in a font the
    // other card lacks, copied with the space before it.
    ASSERT_TRUE(Trigger(kTextTool));
    Click(CardPoint(232, 28));
    Key(Qt::Key_End);
    Type(" Zed");
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Left, Qt::ShiftModifier);
    bar->NameCombo()->setCurrentIndex(serif);
    Q_EMIT bar->NameCombo()->activated(serif);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    ASSERT_TRUE(Trigger("Edit > Copy"));

    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx", "second.lqx")), nullptr) << alerts.lastText();
    CLabelsDoc* second = CardDocument();
    ASSERT_TRUE(Trigger(kTextTool));
    Click(CardPoint(232, 28));
    Key(Qt::Key_End);
    // This card gives its next font number to another font first.
    const int sans = bar->NameCombo()->findText("DejaVu Sans");
    ASSERT_GE(sans, 0);
    Type(" Q");
    Key(Qt::Key_Left, Qt::ShiftModifier);
    bar->NameCombo()->setCurrentIndex(sans);
    Q_EMIT bar->NameCombo()->activated(sans);
    Key(Qt::Key_End);
    ASSERT_TRUE(Trigger("Edit > Paste"));
    // From the caret after "Zed": the word keeps its run's font, and the
    // character the key reaches (the space before it, or the line's first)
    // the font its paragraph gave it.
    const auto expectKept = [&](Qt::Key reach) {
        for (int i = 0; i < 3; ++i)
            Key(Qt::Key_Left, Qt::ShiftModifier);
        EXPECT_EQ(shown(), "Liberation Serif");
        Key(reach);
        Key(Qt::Key_Right, Qt::ShiftModifier);
        EXPECT_EQ(shown(), "DejaVu Serif");
    };
    expectKept(Qt::Key_Left);

    // Two paragraphs, the name and the title, over the same in this card.
    ASSERT_TRUE(ChooseWindow("first"));
    Click(CardPoint(60, 70));
    ASSERT_TRUE(Trigger("Edit > Select All"));
    ASSERT_TRUE(Trigger("Edit > Copy"));
    ASSERT_TRUE(ChooseWindow("second"));
    Click(CardPoint(60, 70));
    ASSERT_TRUE(Trigger("Edit > Select All"));
    ASSERT_TRUE(Trigger("Edit > Paste"));
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(shown(), "DejaVu Serif");
    Key(Qt::Key_Home);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(shown(), "DejaVu Serif");

    // The first card's company frame and barcode, copied whole with the
    // Object tool, in place of this card's.
    ASSERT_TRUE(Trigger(kObjectTool));
    for (const QPoint frame : {CardPoint(150, 28), CardPoint(208, 118)}) {
        Click(frame);
        Key(Qt::Key_Delete);
    }
    ASSERT_TRUE(ChooseWindow("first"));
    ASSERT_TRUE(Trigger(kObjectTool));
    Click(CardPoint(150, 28));
    Click(CardPoint(208, 118), Qt::ShiftModifier);
    ASSERT_TRUE(Trigger("Edit > Copy"));
    ASSERT_TRUE(ChooseWindow("second"));
    QCursor::setPos(CardView()->mapToGlobal(CardPoint(62, 16)));
    ASSERT_TRUE(Trigger("Edit > Paste"));
    // The barcode's caption, the barcode alone selected.
    Click(CardPoint(150, 54));
    Click(CardPoint(208, 118));
    EXPECT_EQ(shown(), "DejaVu Serif");
    ASSERT_TRUE(Trigger(kTextTool));
    Click(CardPoint(232, 28));
    Key(Qt::Key_End);
    expectKept(Qt::Key_Home);
    // Text from another program takes the font of the place it goes to.
    QGuiApplication::clipboard()->setText("Plain");
    Key(Qt::Key_End);
    ASSERT_TRUE(Trigger("Edit > Paste"));
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(shown(), "Liberation Serif");

    std::map<std::string, int> faces;
    second->Fonts().Fonts().ForEach([&](int32_t, const FontEntry& entry) { ++faces[entry.fontSpec.faceName]; });
    EXPECT_EQ(faces, (std::map<std::string, int>{
                         {"Arial", 1}, {"DejaVu Sans", 1}, {"DejaVu Serif", 1}, {"Liberation Serif", 1}}));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace
