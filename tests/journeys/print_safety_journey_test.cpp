// Printing that tells the truth: a job the user cancels leaves nothing
// behind and the file that was there before as it was; a card printed
// without a database shows what its window shows.
#include <filesystem>

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/print_progress_dlg.h"
#include "journey_fixture.h"
#include "support/shell.h"

namespace {

class PrintSafetyJourney : public JourneyTest {};

// The names of the files in a folder.
std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(PrintSafetyJourney, CancelMidwayPrintsNothingAndKeepsTheOldFile)
{
    const std::string db = TempFile("People.dqx");
    Tool("db new '" + db + "'");
    Tool("db fill '" + db + "' 300 --seed 5");
    OnNextDialog(ChooseFile(db));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    alerts.clear();

    // The PDF of an earlier job, in a folder of its own.
    const std::string folder = TempFile("out");
    std::filesystem::create_directories(folder);
    const std::string pdf = folder + "/cards.pdf";
    WriteFileBytes(pdf, "%PDF-1.4 the earlier job\n");

    // The user presses Cancel in the progress window as page 4 of 30 prints.
    QString title;
    int cancelledAt = 0;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* progress = VisibleWindow<PrintProgressDlg>();
        if (!progress || cancelledAt)
            return;
        title = progress->windowTitle();
        const QString line = progress->PageLine()->text();
        if (!line.startsWith("Now printing page: 4 "))
            return;
        cancelledAt = 4;
        for (QPushButton* button : progress->findChildren<QPushButton*>())
            if (button->text() == "Cancel")
                button->click();
    });
    watch.start();
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    watch.stop();
    ASSERT_EQ(cancelledAt, 4) << "the progress window never reached page 4";
    EXPECT_EQ(title, "Printing progress...");
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_EQ(alerts.lastText(), "Printing canceled by user.");
    EXPECT_EQ(ReadFileBytes(pdf), "%PDF-1.4 the earlier job\n") << "the cancelled job wrote over the old file";
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"cards.pdf"}) << "a half-written file was left";
    EXPECT_EQ(VisibleWindow<PrintProgressDlg>(), nullptr);

    // The same job run to its end replaces the file whole.
    alerts.clear();
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"cards.pdf"});
    const std::string text = PdfText(pdf);
    if (text.empty())
        GTEST_SKIP() << "pdftotext is needed";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 30);
}

// Without a database the card's merge fields show their sample texts, or
// the field's name where the sample is empty, on the screen, in the
// preview and on paper alike: nothing prints as a bare "," and "Tel.".
TEST_F(PrintSafetyJourney, WithoutADatabaseTheSheetPrintsWhatTheCardShows)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    const std::string pdf = TempFile("sheet.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    const std::string text = PdfText(pdf);
    if (text.empty())
        GTEST_SKIP() << "pdftotext is needed";
    for (const char* shown : {"Company", "FirstName LastName", "Title", "Address1", "City, State ZipCode"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << " is missing from\n" << text;

    // The preview's cards are the printed ones: the preview takes the same
    // texts as the print (the sheet of the preview's Print button).
    const std::string fromPreview = TempFile("preview.pdf");
    OnNextDialog(Accept());
    OnNextDialog(PrintToPdfFile(fromPreview));
    ASSERT_TRUE(Trigger("File > Print Preview..."));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_EQ(PdfText(fromPreview), text);
}

}  // namespace
