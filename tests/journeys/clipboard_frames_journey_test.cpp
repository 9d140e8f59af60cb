// Frames carried through the clipboard: Edit > Copy of the selection, then
// Edit > Paste, as a person duplicates a part of the card.
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

}  // namespace
