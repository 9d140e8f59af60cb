// Opening a card the way a person does: File > Open > Document..., then the
// card is on the screen.
#include <cstdio>
#include <deque>
#include <filesystem>

#include <QAction>

#include "app/child_frame.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "foundation/alert_sink.h"
#include "records/command_ids.h"
#include "journey_fixture.h"
#include "support/shell.h"

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

// Another program changes the open card's file behind the window: copies
// its own card over it in place, or moves it away and puts its card in its
// place. Ctrl+S then asks before it writes: save under another name, or
// replace the other program's card, or neither. The window's own saves,
// one after another, ask nothing.
TEST_F(OpenCardJourney, ASaveOverACardAnotherProgramChangedAsksFirst)
{
    const std::string mine = CopySample("Business Card.lqx", "Mine.lqx");
    const std::string theirs = CopySample("Business Card.lqx", "Theirs.lqx");
    ASSERT_NE(OpenThroughMenu(mine), nullptr) << alerts.lastText();
    const auto change = [this] {
        ASSERT_TRUE(Trigger("Edit > Select All"));
        ASSERT_TRUE(Trigger("Object > Duplicate"));
        ASSERT_TRUE(CardDocument()->IsModified());
    };
    const auto save = [this] { Key(Qt::Key_S, Qt::ControlModifier); };
    change();
    save();
    change();
    save();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_FALSE(CardDocument()->IsModified());

    // Each box gets the next answer.
    struct Answers final : AlertSink {
        AlertSink* next = SetAlertSink(this);
        std::deque<int32_t> answers;
        ~Answers() override { SetAlertSink(next); }
        int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t style) override
        {
            next->MessageBox(text, caption, style);
            const int32_t answer = answers.empty() ? kIdCancel : answers.front();
            if (!answers.empty())
                answers.pop_front();
            return answer;
        }
        void Beep(uint32_t kind) override { next->Beep(kind); }
    } answers;

    std::filesystem::copy_file(theirs, mine, std::filesystem::copy_options::overwrite_existing);
    const std::string theirCard = ReadFileBytes(theirs);
    change();
    answers.answers = {kIdCancel, kIdCancel};
    save();
    ASSERT_EQ(alerts.boxes().size(), 2u) << alerts.lastText();
    EXPECT_NE(alerts.boxes()[0].text.find("\"Mine.lqx\" has been changed by another program"), std::string::npos)
        << alerts.boxes()[0].text;
    EXPECT_EQ(ReadFileBytes(mine), theirCard);
    EXPECT_TRUE(CardDocument()->IsModified());

    const std::string elsewhere = TempFile("Elsewhere.lqx");
    answers.answers = {kIdOk};
    OnNextDialog(ChooseFile(elsewhere));
    save();
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_EQ(ReadFileBytes(mine), theirCard);
    EXPECT_EQ(CardDocument()->Title(), "Elsewhere.lqx");
    EXPECT_FALSE(CardDocument()->IsModified());
    const std::string ours = ReadFileBytes(elsewhere);
    EXPECT_NE(ours, theirCard);

    // Moved away, and the other program's card put in its place; this time
    // the window's card replaces it, when asked.
    ASSERT_EQ(std::rename(elsewhere.c_str(), TempFile("Moved.lqx").c_str()), 0);
    std::filesystem::copy_file(theirs, elsewhere);
    alerts.clear();
    change();
    answers.answers = {kIdCancel, kIdOk};
    save();
    EXPECT_EQ(alerts.boxes().size(), 2u) << alerts.lastText();
    EXPECT_FALSE(CardDocument()->IsModified());
    EXPECT_NE(ReadFileBytes(elsewhere), theirCard);
    EXPECT_EQ(ReadFileBytes(TempFile("Moved.lqx")), ours);
}

}  // namespace
