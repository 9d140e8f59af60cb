// Saving the card as a template, as whoever keeps the wizard's stock does
// (master mode): the template's picture shows the merge fields by their
// bracketed names, the card on the screen goes on showing them as before.
#include <QFileInfo>
#include <QSettings>

#include "journey_fixture.h"

namespace {

class TemplatesJourney : public JourneyTest {
protected:
    // Master mode is the profile's "Wizard" value; the program reads it
    // as it starts.
    void RestartInMasterMode()
    {
        Stop();
        QSettings().setValue("Wizard/MasterMode", 1);
        Start();
    }
};

TEST_F(TemplatesJourney, SavingATemplateLeavesTheCardAsItWas)
{
    RestartInMasterMode();
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    const QRect card = CardRect(0, 0, 252, 144);
    const QImage before = ViewPixels();

    // The sample holds a barcode among its text frames: the template takes
    // every frame.
    const std::string path = TempFile("Business.tp");
    OnNextDialog(ChooseFile(path));
    ASSERT_TRUE(Trigger("File > Templates > Save Template to File..."));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_GT(QFileInfo(QString::fromStdString(path)).size(), 1000);
    EXPECT_EQ(Changed(before, ViewPixels(), card), 0) << "the card kept the names the template's picture shows";
}

}  // namespace
