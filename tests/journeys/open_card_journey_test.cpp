// Opening a card the way a person does: File > Open > Document..., then the
// card is on the screen.
#include <QAction>

#include "app/child_frame.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "records/command_ids.h"
#include "journey_fixture.h"

namespace {

class OpenCardJourney : public JourneyTest {};

TEST_F(OpenCardJourney, TheSampleCardOpensFromTheFileMenuAndShowsItsPicture)
{
    // Without a document only the program's own menus are there.
    EXPECT_FALSE(Action(kCmdFileSave));
    EXPECT_TRUE(Enabled("File > Open > Document..."));

    CLabelsView* view = OpenThroughMenu(CopySample("Business Card.lqx"));
    ASSERT_NE(view, nullptr) << alerts.lastText();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_EQ(CardWindow()->windowTitle().left(17), "Business Card.lqx");

    // The card's menus replace the program's.
    EXPECT_TRUE(Enabled(kCmdFileSave));
    EXPECT_TRUE(Action("Object > Duplicate"));

    MaximizeCardWindow();
    // The logo's dark blue disc near the card's top left corner.
    const IntRect slot = CardDocument()->PageGeometry().slots[0];
    const QImage picture = ViewPixels();
    const QPoint disc = ViewPoint(IntPoint{slot.left + 14, slot.top + 14});
    ASSERT_TRUE(picture.rect().contains(disc + QPoint(40, 40)));
    int dark = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            dark += qGray(picture.pixel(disc + QPoint(x, y))) < 128;
    EXPECT_GT(dark, 400);
}

TEST_F(OpenCardJourney, ACardNamedOnTheCommandLineOpensWithTheProgram)
{
    Start({CopySample("Business Card.lqx", "Card From Line.lqx")});
    ASSERT_NE(CardView(), nullptr) << alerts.lastText();
    EXPECT_EQ(CardDocument()->Title(), "Card From Line.lqx");

    // Save writes the card again; once its window is closed, the tool reads
    // it back as a card.
    ASSERT_TRUE(Trigger(kCmdFileSave));
    ASSERT_TRUE(Trigger("File > Close"));
    EXPECT_EQ(CardView(), nullptr);
    const std::string dump = Tool("card dump '" + TempFile("Card From Line.lqx") + "'");
    EXPECT_NE(dump.find("frame"), std::string::npos) << dump.substr(0, 400);
}

}  // namespace
