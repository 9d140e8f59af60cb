// Printing that tells the truth: a job the user cancels leaves nothing
// behind and the file that was there before as it was; a card printed
// without a database shows what its window shows.
#include <png.h>

#include <cstdio>
#include <filesystem>

#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include "support/needed_tools.h"
#include "carddoc/labels_doc.h"
#include "dialogs/print_progress_dlg.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
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
        SKIP_FOR_MISSING_TOOL() << "pdftotext is needed";
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
        SKIP_FOR_MISSING_TOOL() << "pdftotext is needed";
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

// A PNG of more pixels than any picture may have (32768 x 8200, 269
// million): red on its left half, blue on its right.
bool WriteHugePng(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    constexpr png_uint_32 kWidth = 32768, kHeight = 8200;
    png_init_io(png, file);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[2] = {{255, 0, 0}, {0, 0, 255}};
    png_set_PLTE(png, info, palette, 2);
    png_write_info(png, info);
    std::vector<png_byte> row(kWidth, 0);
    std::fill(row.begin() + kWidth / 2, row.end(), png_byte(1));
    for (png_uint_32 y = 0; y < kHeight; ++y)
        png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

// A picture too large to hold whole comes in scaled down to what a sheet
// needs: it shows in its frame and prints, without a word.
TEST_F(PrintSafetyJourney, AHugePictureShowsAndPrints)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    const std::string png = TempFile("huge.png");
    ASSERT_TRUE(WriteHugePng(png));

    IntRect bounds;
    ASSERT_NO_FATAL_FAILURE(ImportPicture(png, {60, 70}, {110, 90}, {220, 110}, &bounds));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    const int left = bounds.left + (bounds.right - bounds.left) / 8;
    const int middle = (bounds.top + bounds.bottom) / 2;
    const QImage view = ViewPixels();
    EXPECT_EQ(view.pixel(ViewPoint(IntPoint{left, middle})) & 0xFFFFFF, 0xFF0000u);
    const int right = bounds.right - (bounds.right - bounds.left) / 8;
    EXPECT_EQ(view.pixel(ViewPoint(IntPoint{right, middle})) & 0xFFFFFF, 0x0000FFu);

    const std::string pdf = TempFile("huge.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    // The picture's runaround leaves the name beside it no room: the job
    // says so, and nothing of the picture.
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_NE(alerts.lastText().find("labels printed without all of their text"), std::string::npos)
        << alerts.lastText();
    const QString prefix = QString::fromStdString(pdf + "-page");
    QProcess render;
    render.start("pdftoppm", {"-r", "72", "-f", "1", "-l", "1", "-singlefile", "-png", QString::fromStdString(pdf), prefix});
    if (!render.waitForFinished(60000) || render.exitCode() != 0)
        SKIP_FOR_MISSING_TOOL() << "pdftoppm is needed";
    const QImage sheet(prefix + ".png");
    ASSERT_FALSE(sheet.isNull());
    const IntRect slot = CardDocument()->PageGeometry().slots[0];
    IntRect cell;
    CardDocument()->GetCellRect(&cell, 0, 0);
    const QPoint onSheet(cell.left + left - slot.left, cell.top + middle - slot.top);
    const QRgb printed = sheet.pixel(onSheet);
    EXPECT_GT(qRed(printed), 200) << std::hex << printed;
    EXPECT_LT(qBlue(printed), 60) << std::hex << printed;
}

}  // namespace
