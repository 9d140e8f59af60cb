// Dialogs a card brings up on its own or from the View menu: the Font
// Replacement dialog for a card whose fonts this computer lacks, and the
// Zoom dialog behind View Size > Other....
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/child_frame.h"
#include "carddoc/labels_doc.h"
#include "dialogs/font_replacement_dialog.h"
#include "dialogs/value_dialogs.h"
#include "records/command_ids.h"
#include "support/shell.h"
#include "typography/font_combo_box.h"
#include "journey_fixture.h"

namespace {

// Where the sample card's one font keeps its face name.
constexpr size_t kSampleFaceName = 7644;

class OpenDialogsJourney : public JourneyTest {
protected:
    // A copy of the sample whose font no computer has, or whose font is
    // the face given, recorded with the sample's own pitch and family.
    std::string CardWithMissingFont(const std::string& as, const std::string& face = "Zzyzx Sans")
    {
        const std::string path = CopySample("Business Card.lqx", as);
        std::string bytes = ReadFileBytes(path);
        EXPECT_EQ(bytes.compare(kSampleFaceName, 6, std::string("Arial\0", 6)), 0);
        bytes.replace(kSampleFaceName, face.size() + 1, face.c_str(), face.size() + 1);
        WriteFileBytes(path, bytes);
        return path;
    }
};

TEST_F(OpenDialogsJourney, ACardWithAMissingFontAsksWhatReplacesIt)
{
    const std::string path = CardWithMissingFont("Missing Font.lqx");
    QString replaced;
    bool permanentEnabled = false;
    OnNextDialog(ChooseFile(path));
    OnNextDialog([&](QWidget* dialog) {
        auto* fonts = dynamic_cast<CDlgFontReplacement*>(dialog);
        ASSERT_NE(fonts, nullptr);
        replaced = fonts->ReplacedCombo()->currentText();
        permanentEnabled = fonts->MakePermanentButton()->isEnabled();
        // Liberation Serif stands in from now on, in the card itself.
        CFontComboBox* replacing = fonts->ReplacingCombo();
        const int serif = replacing->findText("Liberation Serif");
        ASSERT_GE(serif, 0);
        replacing->setCurrentIndex(serif);
        Q_EMIT replacing->activated(serif);
        QTest::mouseClick(fonts->MakePermanentButton(), Qt::LeftButton);
        EXPECT_FALSE(fonts->MakePermanentButton()->isEnabled());
        fonts->accept();
    });
    ASSERT_TRUE(Trigger("File > Open > Document..."));
    Settle();
    ASSERT_EQ(DialogTitles().size(), 2u);
    EXPECT_EQ(DialogTitles()[1], "Font Replacement");
    EXPECT_EQ(replaced, "Zzyzx Sans");
    EXPECT_TRUE(permanentEnabled);
    ASSERT_NE(CardView(), nullptr) << alerts.lastText();

    // Saved, the card names the font chosen for it.
    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string saved = ReadFileBytes(path);
    EXPECT_NE(saved.find("Liberation Serif"), std::string::npos);
    EXPECT_EQ(saved.find("Zzyzx Sans"), std::string::npos);
}

TEST_F(OpenDialogsJourney, CancellingTheReplacementKeepsTheCardsOwnFont)
{
    const std::string path = CardWithMissingFont("Kept Font.lqx");
    OnNextDialog(ChooseFile(path));
    OnNextDialog(Reject());
    ASSERT_TRUE(Trigger("File > Open > Document..."));
    ASSERT_EQ(DialogTitles().size(), 2u);
    EXPECT_EQ(DialogTitles()[1], "Font Replacement");
    ASSERT_NE(CardView(), nullptr) << alerts.lastText();
    // The card keeps its own font: nothing was changed.
    EXPECT_FALSE(CardDocument()->IsModified());
    // A card whose fonts are all here opens without the question.
    OnNextDialog(ChooseFile(CopySample("Business Card.lqx")));
    ASSERT_TRUE(Trigger("File > Open > Document..."));
    EXPECT_EQ(DialogTitles().size(), 3u);
}

TEST_F(OpenDialogsJourney, AnInstalledFaceIsNeverOfferedAsItsOwnReplacement)
{
    // The card records Liberation Serif with the Swiss family bits of the
    // sample's Arial; the machine has it as a roman face. It is the same
    // face, so the card opens without the question.
    OnNextDialog(ChooseFile(CardWithMissingFont("Serif.lqx", "Liberation Serif")));
    ASSERT_TRUE(Trigger("File > Open > Document..."));
    Settle();
    EXPECT_EQ(DialogTitles().size(), 1u) << DialogTitles().back().toStdString();
    ASSERT_NE(CardView(), nullptr) << alerts.lastText();
    EXPECT_FALSE(CardDocument()->IsModified());
}

TEST_F(OpenDialogsJourney, ViewSizeOtherAsksForAZoomFromTenToFourHundredPercent)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    QString shown;
    bool refusedNine = false;
    OnNextDialog([&](QWidget* dialog) {
        auto* zoom = dynamic_cast<CDlgZoom*>(dialog);
        ASSERT_NE(zoom, nullptr);
        shown = zoom->Percent()->text();
        zoom->Percent()->setText("9");
        zoom->accept();
        refusedNine = zoom->isVisible() && zoom->result() != QDialog::Accepted;
        zoom->Percent()->setText("150");
        zoom->accept();
    });
    ASSERT_TRUE(Trigger("View > View Size > Other..."));
    ASSERT_EQ(DialogTitles().size(), 2u);
    EXPECT_EQ(DialogTitles()[1], "Zoom");
    EXPECT_EQ(shown, "100");
    EXPECT_TRUE(refusedNine);
    EXPECT_NE(alerts.lastText().find("between 10 and 400"), std::string::npos) << alerts.lastText();
    EXPECT_EQ(CardWindow()->ZoomText(), "150%");
    EXPECT_TRUE(Checked(kCmdLastZoom));

    // Cancel leaves the zoom as it was.
    OnNextDialog(Reject());
    ASSERT_TRUE(Trigger("View > View Size > Other..."));
    EXPECT_EQ(CardWindow()->ZoomText(), "150%");
}

}  // namespace
