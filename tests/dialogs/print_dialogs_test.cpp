// The dialogs of printing: Print Preview over the sample card with and
// without a database, Print Options, First Card, Change Database and the
// Print dialog itself.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <vector>

#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "carddoc/print_preview_dialog.h"
#include "database/db_document.h"
#include "database/open_database_registry.h"
#include "dialogs/change_database_dialog.h"
#include "dialogs/first_card_dialog.h"
#include "dialogs/print_dialog.h"
#include "dialogs/print_options_dialog.h"
#include "dialogs/sheet_preview_wnd.h"
#include "dialogs/up_down_buttons.h"
#include "foundation/byte_order.h"
#include "foundation/program_folder.h"
#include "frames/curr_page_mng.h"
#include "platform/dc.h"
#include "records/label_stock.h"
#include "records/preferences.h"
#include "records/print_job_record.h"
#include "support/alert_capture.h"
#include "support/generated_contacts.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

const std::string kSample = std::string(TESSALINE_TEST_DATA_DIR) + "/../../data/Samples/Business Card.lqx";

class PrintDialogs : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolderForTesting(program_.path()); }
    void TearDown() override
    {
        SetCurrentDatabase(nullptr);
        if (database_)
            database_->Close();
        doc_.reset();
        ReleaseGlobalDefPrefs();
        SetProgramFolderForTesting("");
    }
    void OpenSample()
    {
        WriteFileBytes(docs_.file("card.lqx"), ReadFileBytes(kSample));
        PathRecord path{};
        ASSERT_EQ(PathRecordFromPosix(docs_.file("card.lqx"), &path), 0);
        doc_ = OpenCardDocument(path);
        ASSERT_NE(doc_, nullptr) << alerts_.lastText();
        doc_->InitialUpdate();
    }
    void OpenDatabase(int n)
    {
        OpenGeneratedContacts(docs_, n, &database_);
        if (!HasFatalFailure())
            SetCurrentDatabase(database_.get());
    }
    static QImage PanePicture(CDlgPrintPreview& dialog)
    {
        CPrintPreviewWnd* pane = dialog.Pane();
        QImage image(pane->size(), QImage::Format_RGB32);
        auto dc = Dc::ForImage(&image);
        dialog.Paint(dc.get(), pane->width(), pane->height());
        return image;
    }
    static int Ink(const QImage& image, const IntRect& r)
    {
        int n = 0;
        for (int y = r.top + 2; y < r.bottom - 2; ++y)
            for (int x = r.left + 2; x < r.right - 2; ++x)
                n += image.valid(x, y) && qGray(image.pixel(x, y)) < 160;
        return n;
    }

    TempDir program_;
    TempDir docs_;
    AlertCapture alerts_;
    std::unique_ptr<CLabelsDoc> doc_;
    std::unique_ptr<DbDocument> database_;
};

TEST_F(PrintDialogs, PreviewStepsThroughPagesAndSheetsOfRecords)
{
    OpenSample();
    OpenDatabase(25);
    CDlgPrintPreview dialog;
    dialog.resize(760, 560);
    dialog.show();
    dialog.Init(true, doc_.get());
    EXPECT_TRUE(dialog.PagesGroup()->isVisible());
    EXPECT_EQ(dialog.ToggleLabel()->text(), QStringLiteral("View One Card"));
    EXPECT_EQ(dialog.RangeGroup()->title(), QStringLiteral("Records"));
    EXPECT_EQ(dialog.FromValue()->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.ToValue()->text(), QStringLiteral("10"));
    EXPECT_FALSE(dialog.PreviousButton()->isEnabled());

    // Every card of the first sheet is drawn and framed in green.
    QImage picture = PanePicture(dialog);
    for (int i = 0; i < 10; ++i) {
        const IntRect cell = dialog.CellImage(i % 2, i / 2);
        EXPECT_GT(Ink(picture, cell), 20) << "card " << i;
        EXPECT_EQ(picture.pixel(cell.left - 1, (cell.top + cell.bottom) / 2) & 0xFFFFFF, 0x00FF00u) << "card " << i;
    }

    // Front and back of each sheet: 1-10, 11-20, 21-25.
    const char* expected[][2] = {{"1", "10"}, {"11", "20"}, {"11", "20"}, {"21", "25"}, {"21", "25"}};
    for (const auto& range : expected) {
        EXPECT_TRUE(dialog.OnNext());
        EXPECT_EQ(dialog.FromValue()->text(), QString::fromLatin1(range[0]));
        EXPECT_EQ(dialog.ToValue()->text(), QString::fromLatin1(range[1]));
    }
    EXPECT_FALSE(dialog.NextButton()->isEnabled());
    EXPECT_TRUE(alerts_.beeps().empty());
    EXPECT_FALSE(dialog.OnNext());
    EXPECT_EQ(alerts_.beeps().size(), 1u);
    // The last sheet's front shows five cards and five empty cells.
    EXPECT_TRUE(dialog.OnPrevious());
    picture = PanePicture(dialog);
    EXPECT_GT(Ink(picture, dialog.CellImage(0, 2)), 20);
    EXPECT_EQ(Ink(picture, dialog.CellImage(1, 2)), 0);

    // One card at a time: the last card of the last sheet cannot step on.
    dialog.SetOneCardView(true);
    EXPECT_EQ(dialog.ToggleLabel()->text(), QStringLiteral("View All Cards"));
    EXPECT_EQ(dialog.RangeGroup()->title(), QStringLiteral("Cards"));
    EXPECT_EQ(dialog.ToValue()->text(), QStringLiteral("5"));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(dialog.OnNext());
    EXPECT_EQ(dialog.FromValue()->text(), QStringLiteral("5"));
    EXPECT_FALSE(dialog.OnNext());
    EXPECT_EQ(alerts_.beeps().size(), 2u);
    // The card at its own size (a card is never enlarged), in the middle
    // of the pane.
    picture = PanePicture(dialog);
    const IntRect card{(picture.width() - 252) / 2, (picture.height() - 144) / 2, (picture.width() + 252) / 2,
                       (picture.height() + 144) / 2};
    EXPECT_GT(Ink(picture, card), 500);
    EXPECT_EQ(picture.pixel(card.left - 1, (card.top + card.bottom) / 2) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(Ink(picture, IntRect{0, 0, card.left - 2, picture.height()}), 0);

    // Closing leaves the document on the page the dialog showed, with its
    // frames where they were.
    dialog.reject();
    EXPECT_EQ(doc_->GetCurrentPage(), 1);
    int16_t n = 0, d = 0, mode = 0;
    doc_->PageManager()->GetZoom(&n, &d, &mode);
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
}

TEST_F(PrintDialogs, PreviewOfAOnePageDesignWithoutRecords)
{
    // A one-sided layout has one page.
    std::vector<uint8_t> setup(kDocSetupSize, 0);
    LabelTypeRecord layout;
    GetBuiltinLabelType(&layout, 0);
    layout.sides = 1;
    LabelTypeEncode(layout, setup.data() + kDocSetupLabelType);
    doc_ = NewCardDocument(setup.data());
    ASSERT_NE(doc_, nullptr);
    doc_->InitialUpdate();
    ASSERT_EQ(doc_->GetPageCount(), 1);
    CDlgPrintPreview dialog;
    dialog.resize(700, 520);
    dialog.show();
    dialog.Init(false, doc_.get());
    EXPECT_FALSE(dialog.PagesGroup()->isVisible());
    EXPECT_FALSE(dialog.RangeGroup()->isVisible());
    EXPECT_FALSE(dialog.NextButton()->isEnabled());
    EXPECT_FALSE(dialog.PreviousButton()->isEnabled());
    const QImage picture = PanePicture(dialog);
    const IntRect sheet = dialog.SheetImage();
    EXPECT_EQ(picture.pixel(sheet.left, (sheet.top + sheet.bottom) / 2) & 0xFFFFFF, 0u) << "the sheet's edge";
    EXPECT_EQ(picture.pixel(sheet.left + 2, sheet.top + 2) & 0xFFFFFF, 0xC0C0C0u) << "the unprintable band";
}

TEST_F(PrintDialogs, PrintOptionsShowWholePointsAndRefuseOffsetsOutOfRange)
{
    uint8_t block[20] = {};
    PutF64LE(block, -3.9);
    PutF64LE(block + 8, 12.7);
    PutU32LE(block + 16, 1);
    CDlgPrintOptions dialog;
    dialog.SetOptions(block);
    EXPECT_EQ(dialog.HorizontalEdit()->text(), QStringLiteral("12"));
    EXPECT_EQ(dialog.VerticalEdit()->text(), QStringLiteral("-3"));
    EXPECT_TRUE(dialog.CropMarks()->isChecked());
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    uint8_t out[20] = {};
    dialog.GetOptions(out);
    EXPECT_EQ(GetF64LE(out + 8), 12.0);
    EXPECT_EQ(GetF64LE(out), -3.0);
    EXPECT_EQ(GetU32LE(out + 16), 1u);

    CDlgPrintOptions again;
    again.SetOptions(block);
    for (int i = 0; i < 138; ++i)
        again.HorizontalSpin()->Press(1);
    EXPECT_EQ(again.HorizontalEdit()->text(), QStringLiteral("150"));
    again.CropMarks()->setChecked(false);
    again.accept();
    EXPECT_NE(again.result(), QDialog::Accepted);
    EXPECT_EQ(alerts_.boxes().size(), 1u);
    uint8_t kept[20] = {};
    again.GetOptions(kept);
    EXPECT_EQ(GetF64LE(kept + 8), 12.0) << "nothing taken from a refused dialog";
    EXPECT_EQ(GetU32LE(kept + 16), 1u);
}

TEST_F(PrintDialogs, FirstCardPicksTheCardClickedAndSkipCardsMarksCells)
{
    PrintJobRecord job;
    LabelTypeRecord two;
    GetBuiltinLabelType(&two, 0);
    two.columns = 3;
    two.rows = 4;
    two.cardWidth = 150;
    LabelTypeEncode(two, job.layout);
    job.firstCardColumn = 1;
    job.firstCardRow = 1;

    CDlgFirstCard first;
    first.Init(kSheetFirstCard, &job, nullptr);
    EXPECT_EQ(first.windowTitle(), QStringLiteral("First card."));
    first.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
    CSheetPreviewWnd* preview = first.Preview();
    ASSERT_TRUE(preview->Layout());
    IntRect cell;
    ASSERT_TRUE(preview->GetCellRect(2, 1, &cell));
    QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    first.accept();
    EXPECT_EQ(job.firstCardColumn, 3);
    EXPECT_EQ(job.firstCardRow, 2);
    EXPECT_EQ(first.GetFirstCard(), nullptr);

    CDlgFirstCard skip;
    skip.Init(kSheetSkipCards, &job, nullptr);
    EXPECT_EQ(skip.windowTitle(), QStringLiteral("Skip Cards."));
    skip.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&skip));
    ASSERT_TRUE(skip.Preview()->Layout());
    ASSERT_TRUE(skip.Preview()->GetCellRect(0, 1, &cell));
    QTest::mouseClick(skip.Preview(), Qt::LeftButton, {}, QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    skip.accept();
    job.TakeGrid(skip.GetFirstCard());
    ASSERT_NE(job.firstCardGrid, nullptr);
    EXPECT_EQ(LabelGridCountCells(job.firstCardGrid), 1);
    EXPECT_EQ(LabelGridGetCell(job.firstCardGrid, 1, 0), 0);
}

TEST_F(PrintDialogs, ChangeDatabaseListsTheOpenDatabases)
{
    {
        CDlgChangeDatabase none;
        none.SetIndex(1);
        EXPECT_EQ(none.List()->count(), 0);
        none.accept();
        EXPECT_EQ(none.Index(), 0);
    }
    OpenDatabase(3);
    CDlgChangeDatabase one;
    one.SetIndex(1);
    ASSERT_EQ(one.List()->count(), 1);
    EXPECT_EQ(one.List()->currentText(), QStringLiteral("people.dqx"));
    one.accept();
    EXPECT_EQ(one.Index(), 1);
}

TEST_F(PrintDialogs, ThePrintDialogFollowsTheJob)
{
    PrintJobRecord job;
    LabelTypeRecord layout;
    GetBuiltinLabelType(&layout, 0);
    layout.sides = 1;
    LabelTypeEncode(layout, job.layout);
    job.noDatabase = 1;
    job.side = 2;
    {
        CDlgPrint dialog(nullptr, &job);
        EXPECT_EQ(dialog.AllButton()->text(), QStringLiteral("All"));
        EXPECT_EQ(dialog.RangeButton()->text(), QStringLiteral("Cards"));
        EXPECT_TRUE(dialog.ChangeDatabaseButton()->isHidden());
        EXPECT_TRUE(dialog.DatabaseName()->isHidden());
        EXPECT_FALSE(dialog.BackButton()->isEnabled());
        EXPECT_TRUE(dialog.FrontButton()->isChecked());
        EXPECT_EQ(job.side, kPrintSideFront);
        // To a file without a name: the dialog stays.
        dialog.PrinterList()->setCurrentIndex(dialog.PdfEntry());
        EXPECT_TRUE(dialog.FileEdit()->isEnabled());
        dialog.FileEdit()->clear();
        dialog.accept();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(alerts_.boxes().size(), 1u);
    }
    job.noDatabase = 0;
    layout.sides = 2;
    LabelTypeEncode(layout, job.layout);
    job.side = kPrintSideBack;
    CDlgPrint dialog(nullptr, &job);
    EXPECT_EQ(dialog.AllButton()->text(), QStringLiteral("All Records"));
    EXPECT_EQ(dialog.RangeButton()->text(), QStringLiteral("Records"));
    EXPECT_EQ(dialog.DatabaseName()->text(), QStringLiteral("No database is chosen"));
    EXPECT_TRUE(dialog.BackButton()->isChecked());
    dialog.PrinterList()->setCurrentIndex(dialog.PdfEntry());
    dialog.FileEdit()->setText(QString::fromStdString(docs_.file("x.pdf")));
    dialog.FromEdit()->setValue(4);
    dialog.ToEdit()->setValue(9);
    dialog.CopiesEdit()->setValue(3);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_NE(job.printer, nullptr);
    EXPECT_EQ(job.printer->outputFileName(), QString::fromStdString(docs_.file("x.pdf")));
    EXPECT_EQ(job.from, 4);
    EXPECT_EQ(job.to, 9);
    EXPECT_EQ(job.copies, 3);
    EXPECT_EQ(job.side, kPrintSideBack);
}

}  // namespace
