// File > Document Setup... on a card: the Document Settings dialog offers
// the document formats of the wizard's catalogue after the two built-in
// layouts, and choosing one gives the card that format.
#include <filesystem>

#include <QComboBox>

#include "dialogs/label_type_dlg.h"
#include "dialogs/label_type_list.h"
#include "foundation/program_folder.h"
#include "journey_fixture.h"

namespace {

class DocumentSettingsJourney : public JourneyTest {
protected:
    void SetUp() override
    {
        JourneyTest::SetUp();
        // The program as it runs once its folder was given the installed
        // data: the wizard's catalogue is the one it ships. (The test's
        // first start made an empty one, which seeding would keep.)
        Stop();
        std::filesystem::remove_all(ProgramFolderPath() + "Wizard");
        ASSERT_EQ(SeedFolder(std::string(TESSALINE_BINARY_DIR) + "/share/tessaline/Wizard", ProgramFolderPath() + "Wizard"), 0);
        Start();
    }
};

TEST_F(DocumentSettingsJourney, TheWizardsFormatsAreListedAndOneBecomesTheCardsLayout)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    QStringList listed;
    OnNextDialog([&listed](QWidget* dialog) {
        auto* settings = dynamic_cast<CDlgLabelType*>(dialog);
        if (!settings) {
            ADD_FAILURE() << dialog->metaObject()->className();
            Reject()(dialog);
            return;
        }
        EXPECT_EQ(settings->windowTitle(), "Document Settings");
        QComboBox* formats = settings->FormatCombo();
        for (int i = 0; i < formats->count(); ++i)
            listed << formats->itemText(i);
        const int index = formats->findText("Index Cards");
        if (index < 2) {
            settings->reject();
            return;
        }
        formats->setCurrentIndex(index);
        Q_EMIT formats->activated(index);
        settings->accept();
    });
    ASSERT_TRUE(Trigger("File > Document Setup..."));
    // The two built-in layouts first, then the catalogue's formats.
    ASSERT_GE(listed.size(), 5) << listed.join(", ").toStdString();
    EXPECT_TRUE(listed.contains("Business Cards"));
    EXPECT_TRUE(listed.contains("Shipping Labels"));

    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string dump = Tool("card dump '" + TempFile("Business Card.lqx") + "'");
    EXPECT_NE(dump.find("card: 360 x 216 points"), std::string::npos) << dump.substr(0, 800);
    EXPECT_NE(dump.find("label layout: Index Cards"), std::string::npos);
}

}  // namespace
