// Frames carried through the clipboard: Edit > Copy of the selection, then
// Edit > Paste, as a person duplicates a part of the card.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

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

}  // namespace
