// Requests the program cannot carry out are refused with a word that names
// what was not done and why: files past the most documents it keeps open,
// a file whose name is not UTF-8, and a pasted text longer than a text
// frame holds.
#include <cstdio>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include "carddoc/labels_doc.h"
#include "frames/curr_page_mng.h"
#include "journey_fixture.h"

namespace {

class RefusedRequestsJourney : public JourneyTest {};

TEST_F(RefusedRequestsJourney, FilesPastTheTenthAndANameThatIsNotUtf8AreNamedAndTheWindowMenuListsEveryDocument)
{
    const std::string oddName = TempFile("Caf\xE9.lqx");
    ASSERT_EQ(CopySample("Business Card.lqx", "Caf\xE9.lqx"), oddName);
    // The test's folder can't remove a name it can't spell.
    struct RemovedAtEnd {
        std::string path;
        ~RemovedAtEnd() { std::remove(path.c_str()); }
    } removed{oddName};
    std::vector<std::string> files = {oddName};
    for (int i = 1; i <= 12; ++i)
        files.push_back(CopySample("Business Card.lqx", "Card" + std::to_string(i) + ".lqx"));
    Start(files);

    ASSERT_EQ(alerts.boxes().size(), 3u) << alerts.lastText();
    EXPECT_EQ(alerts.boxes()[0].text, TempFile("Caf?.lqx") + "\nTessaline cannot open this file: its name is not "
                                                             "UTF-8 text, the character set of the system's file "
                                                             "names. Rename the file to open it.");
    for (int i = 11; i <= 12; ++i)
        EXPECT_EQ(alerts.boxes()[size_t(i) - 10].text,
                  TempFile("Card" + std::to_string(i) + ".lqx") +
                      "\nThis file was not opened: 10 documents are open, as many as Tessaline keeps open at once. "
                      "Close one to open it.");

    QMenu* menu = Action(QStringLiteral("Window"))->menu();
    ASSERT_NE(menu, nullptr);
    Q_EMIT menu->aboutToShow();
    const std::vector<QString> items = ItemTexts(menu);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back(), "10 Card10.lqx");
    EXPECT_TRUE(ChooseWindow("Card10.lqx"));
}

TEST_F(RefusedRequestsJourney, PastedTextLongerThanAFrameHoldsIsRefusedNamingTheLimit)
{
    const std::string path = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(path), nullptr) << alerts.lastText();
    CLabelsDoc* card = CardDocument();
    const int16_t before = card->PageManager()->FrameCount();
    const auto lines = [](int n) {
        QString text;
        for (int i = 0; i < n; ++i)
            text += QString("Line %1\n").arg(i);
        return text;
    };
    // One line more than a frame holds (65,534 paste).
    QGuiApplication::clipboard()->setText(lines(65535));
    ASSERT_TRUE(Trigger("Edit > Paste"));
    EXPECT_EQ(card->PageManager()->FrameCount(), before);
    ASSERT_EQ(alerts.boxes().size(), 1u) << "the paste made nothing and said nothing";
    EXPECT_EQ(alerts.lastText(), "The text was not pasted: it has more than 65534 lines, the most a text frame holds.");

    // With the Text tool, at the end of the address's first line: its three
    // paragraphs leave room for a paste of 65,531 lines.
    alerts.clear();
    ASSERT_TRUE(Trigger(uint32_t(33285)));
    Click(CardPoint(60, 104));
    Key(Qt::Key_End);
    QGuiApplication::clipboard()->setText(lines(65532));
    ASSERT_TRUE(Trigger("Edit > Paste"));
    ASSERT_EQ(alerts.boxes().size(), 1u) << "the paste made nothing and said nothing";
    EXPECT_EQ(alerts.lastText(), "The text was not pasted: it has 65532 lines, and the text it goes into can take a "
                                 "paste of at most 65531.");
    // A last line without a line end is a line as well.
    alerts.clear();
    QGuiApplication::clipboard()->setText(lines(65533) + "Last");
    ASSERT_TRUE(Trigger("Edit > Paste"));
    ASSERT_EQ(alerts.boxes().size(), 1u) << "the paste made nothing and said nothing";
    EXPECT_EQ(alerts.lastText(), "The text was not pasted: it has 65534 lines, and the text it goes into can take a "
                                 "paste of at most 65531.");
    // The address as it was, the caret where it stood.
    Type("!");
    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string dump = Tool("card dump '" + path + "'");
    EXPECT_NE(dump.find("story 3: 3 paragraphs\n  \"Address1!\\x0D\""), std::string::npos) << dump;
}

}  // namespace
