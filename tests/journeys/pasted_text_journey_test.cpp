// Text pasted from another program into a frame: a NUL, which a story
// holds as a line break, is left out and said with the characters the
// card's set lacks, so the paste shows and prints as the one line it is.
#include <QClipboard>
#include <QGuiApplication>

#include "journey_fixture.h"

namespace {

class PastedTextJourney : public JourneyTest {};

TEST_F(PastedTextJourney, NulCharactersOfAPasteAreLeftOutAndSaid)
{
    const std::string path = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(path), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    // At the end of the company line, with the Text tool.
    ASSERT_TRUE(Trigger(uint32_t(33285)));
    Click(CardPoint(232, 28));
    Key(Qt::Key_End);
    QGuiApplication::clipboard()->setText(QString::fromLatin1(" abc\0def\0ghi end", 16));
    ASSERT_TRUE(Trigger("Edit > Paste"));
    EXPECT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(),
              "2 characters of the pasted text have no place in the card's character set; they were left out.");
    // The line shows past "Company abc", where "defghi en" stands.
    EXPECT_GT(Ink(ViewPixels(), CardRect(165, 18, 55, 20)), 20) << "the paste shows only up to its first NUL";

    const std::string pdf = TempFile("pasted.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle(100);
    const std::string printed = PdfText(pdf);
    EXPECT_NE(printed.find("Company abcdefghi end"), std::string::npos) << printed;
    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string dump = Tool("card dump '" + path + "'");
    EXPECT_NE(dump.find("\"Company abcdefghi end\\x0D\""), std::string::npos) << dump;
    EXPECT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
}

}  // namespace
