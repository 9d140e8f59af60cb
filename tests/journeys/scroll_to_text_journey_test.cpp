// The text being worked on comes into view: the caret's keys and Find/
// Replace scroll the card window to it, and what Replace changed is drawn
// cleanly.
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "app/child_frame.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "dialogs/find_replace_dialog.h"
#include "foundation/program_folder.h"
#include "journey_fixture.h"

namespace {

constexpr uint32_t kTextTool = 33285;
constexpr uint32_t kZoom200 = 32853;

class ScrollToTextJourney : public JourneyTest {
protected:
    void SetUp() override
    {
        JourneyTest::SetUp();
        ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
        // A small window on the card at twice its size: the window shows
        // only part of the page.
        CardWindow()->showNormal();
        CardWindow()->resize(520, 380);
        Settle();
        ASSERT_TRUE(Trigger(kZoom200));
        ASSERT_TRUE(Trigger(kTextTool));
    }

    bool Shown(const QPoint& p) const { return CardView()->rect().contains(p); }

    // Scrolls the window to the page's far corner with its scroll bars.
    void ScrollAway()
    {
        for (QScrollBar* bar : CardWindow()->findChildren<QScrollBar*>())
            if (bar->isVisible())
                bar->triggerAction(QAbstractSlider::SliderToMaximum);
        Settle();
    }

    // The start of the company line.
    QPoint Company() const { return CardPoint(66, 28); }
};

TEST_F(ScrollToTextJourney, TheCaretsKeysBringTheTextBackIntoView)
{
    ASSERT_TRUE(Shown(Company()));
    Click(Company());
    ScrollAway();
    ASSERT_FALSE(Shown(Company())) << "the window still shows the company line";
    Key(Qt::Key_Right);
    EXPECT_TRUE(Shown(Company())) << "the caret moved out of sight";
    // And the line is drawn there: the company's dark blue letters.
    const QImage picture = ViewPixels();
    const QRect line = CardRect(62, 16, 178, 24) & picture.rect();
    EXPECT_GT(Ink(picture, line), 100);
}

TEST_F(ScrollToTextJourney, FindNextShowsTheMatchAndReplaceRedrawsCleanly)
{
    Click(Company());
    Key(Qt::Key_End);
    Type(" Mill");
    ScrollAway();
    ASSERT_FALSE(Shown(Company()));
    Key(Qt::Key_Home);
    // Home shows the line again; the window leaves it for the search.
    ScrollAway();

    ASSERT_TRUE(Trigger("Edit > Find/Replace..."));
    auto* find = VisibleWindow<CDlgFindReplace>();
    ASSERT_NE(find, nullptr) << "Find/Replace did not open";
    find->FindEdit()->setText("Mill");
    find->ReplaceEdit()->setText("Works");
    QTest::mouseClick(find->FindNextButton(), Qt::LeftButton);
    Settle();
    EXPECT_TRUE(Shown(Company())) << "the match was left out of sight";

    ASSERT_TRUE(find->ReplaceButton()->isEnabled());
    const QImage found = ViewPixels();
    QTest::mouseClick(find->ReplaceButton(), Qt::LeftButton);
    const QImage replaced = ViewPixels();
    const QRect frame = CardRect(62, 16, 178, 24) & replaced.rect();
    EXPECT_GT(Changed(found, replaced, frame), 100) << "the new word is not on the screen";
    // What the window shows is what a full repaint draws.
    CardView()->Refresh();
    const QImage repainted = ViewPixels();
    EXPECT_LT(Changed(replaced, repainted, frame), 20) << "the replaced text was not drawn cleanly";
    QTest::mouseClick(find->CloseButton(), Qt::LeftButton);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(ScrollToTextJourney, TheSpellingCheckShowsTheWordItStopsAt)
{
    Click(Company());
    Key(Qt::Key_End);
    Type(" Zorblaxx");
    ScrollAway();
    ASSERT_FALSE(Shown(Company()));
    bool shownWhileAsked = false;
    QString asked;
    DialogDriver spelling = [this, &shownWhileAsked, &asked](QWidget* dialog) {
        shownWhileAsked = Shown(Company());
        asked = dialog->windowTitle();
        static_cast<QDialog*>(dialog)->reject();
    };
    // The program asks which dictionary to use when the one it used last
    // has gone: the one it comes with.
    OnNextDialog([this, spelling](QWidget* dialog) {
        if (!qobject_cast<QFileDialog*>(dialog))
            return spelling(dialog);
        OnNextDialog(spelling);
        ChooseFile(ProgramFolderPath() + "Dictionaries/English (US).dic")(dialog);
    });
    ASSERT_TRUE(Trigger("Text > Spelling > Story"));
    EXPECT_TRUE(shownWhileAsked) << "the spelling check asked about a word out of sight in " << asked.toStdString();
}

}  // namespace
