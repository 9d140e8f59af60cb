// Printing the sample business card into PDF files: one record per card in
// the order of the database's list, sheets and pages counted from the
// record range, the first card and the skipped cells of the first sheet,
// crop marks, a job stopped with the abort key and jobs that fail. The
// files are read back with poppler's tools (page count, text, pixels).
#include <gtest/gtest.h>

#include <fstream>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <QPrinter>
#include <QProcess>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/needed_tools.h"
#include "support/postscript_as_run.h"
#include "support/run_program.h"
#include "card_test_support.h"
#include "card_view_image.h"
#include "barcode/barcode_draw.h"
#include "barcode/barcode_record.h"
#include "carddoc/print_commands.h"
#include "carddoc/print_manager.h"
#include "carddoc/sheet_pages.h"
#include "database/db_document.h"
#include "database/field_table.h"
#include "database/merge_text.h"
#include "database/open_database_registry.h"
#include "dialogs/print_progress_dlg.h"
#include "foundation/byte_order.h"
#include "foundation/keys.h"
#include "foundation/pstr.h"
#include "foundation/win_error.h"
#include "frames/curr_page_mng.h"
#include "frames/barcode_frame_format.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_counter_barcode.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_obj_power_text.h"
#include "typography/glyph_effect.h"
#include "frames/page_record_format.h"
#include "pdf/pdf_print_job.h"
#include "platform/dc.h"
#include "platform/print_printer.h"
#include "records/label_stock.h"
#include "support/fake_printer_caps.h"
#include "support/generated_contacts.h"
#include "support/pixel_match.h"
#include "support/refusing_disk.h"
#include "support/shell.h"

namespace {

const std::string kSample = std::string(TESSALINE_TEST_DATA_DIR) + "/../../data/Samples/Business Card.lqx";
constexpr int kDpi = 36;

// Runs a program; its standard output, or nothing when it fails. A failure
// fails the test, with the program's exit code and errors, unless the
// caller only asks whether it ran.
std::string RunProgram(const QString& program, const QStringList& arguments, bool* ran = nullptr)
{
    std::vector<std::string> list;
    for (const QString& argument : arguments)
        list.push_back(argument.toStdString());
    const ProgramRun run = RunProgramFor(program.toStdString(), list);
    if (ran)
        *ran = run.ok;
    else if (!run.ok)
        ADD_FAILURE() << run.failure;
    return run.ok ? run.out : std::string();
}

bool HavePoppler()
{
    bool ran = false;
    RunProgram(QStringLiteral("pdfinfo"), {QStringLiteral("-v")}, &ran);
    if (!ran)
        RunProgram(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("command -v pdfinfo")}, &ran);
    return ran;
}

// Holds the abort key down from the n-th time it is asked on.
class AbortKeyAfter : public KeyStateSource {
public:
    explicit AbortKeyAfter(int n) : left_(n) { previous_ = SetKeyStateSource(this); }
    ~AbortKeyAfter() override { SetKeyStateSource(previous_); }
    bool KeyDown(int32_t key) override { return key == kVkEscape && --left_ < 0; }
    void DeliverPendingInput() override {}

private:
    int left_;
    KeyStateSource* previous_;
};

class PrintJob : public CardDocTest {
protected:
    void SetUp() override
    {
        CardDocTest::SetUp();
        if (!HavePoppler())
            SKIP_FOR_MISSING_TOOL() << "poppler-utils (pdfinfo, pdftotext, pdftoppm) are not installed";
        WriteFileBytes(docs_.file("card.lqx"), ReadFileBytes(kSample));
        doc_ = OpenCardDocument(DocPath("card.lqx"));
        ASSERT_NE(doc_, nullptr) << alerts_.lastText();
        doc_->InitialUpdate();
        out_ = docs_.file("out.pdf");
    }
    void TearDown() override
    {
        SetPrintDialogRunner(nullptr);
        SetCurrentDatabase(nullptr);
        if (database_)
            database_->Close();
        doc_.reset();
        CardDocTest::TearDown();
    }

    // A power-text frame over (60, 60) to (200, 110) of the first page
    // slot.
    void AddPowerText(FrameObjPowerText** frame)
    {
        const IntRect page = doc_->PageGeometry().slots[0];
        *frame = static_cast<FrameObjPowerText*>(doc_->NewFrame(kFramePowerText));
        ASSERT_NE(*frame, nullptr);
        (*frame)->SetFromRect(IntRect{page.left + 60, page.top + 60, page.left + 200, page.top + 110});
    }
    // A database of n generated contacts, made current.
    void OpenDatabase(int n)
    {
        OpenGeneratedContacts(docs_, n, &database_);
        if (!HasFatalFailure())
            SetCurrentDatabase(database_.get());
    }

    // The last names in the order of the database's list.
    std::vector<std::string> LastNames()
    {
        std::vector<std::string> names;
        for (int32_t row = 0; row < database_->RowCount(); ++row) {
            EXPECT_TRUE(database_->GotoRow(row));
            const CardRecord& record = database_->Data().Current();
            names.emplace_back(reinterpret_cast<const char*>(record.FieldBody(kFieldLastName)),
                               record.GetFieldLength(kFieldLastName));
        }
        return names;
    }

    // Prints with the Print dialog answered by `fill`, into out_.
    int32_t Print(const std::function<void(PrintJobRecord*)>& fill = {})
    {
        SetPrintDialogRunner([this, fill](QWidget*, PrintJobRecord* job) {
            job->printer = MakeJobPrinter(QString::fromStdString(out_), QString());
            job->from = 0;
            job->to = 0;
            job->copies = 1;
            if (fill)
                fill(job);
            return 1;
        });
        return doc_->PrintDocument(nullptr);
    }
    // The same job written as a PostScript file.
    int32_t PrintPostScript(const std::string& ps)
    {
        SetPrintDialogRunner([ps](QWidget*, PrintJobRecord* job) {
            job->printer = MakePostScriptFilePrinter();
            job->postScriptFile = QString::fromStdString(ps);
            job->copies = 1;
            return 1;
        });
        return doc_->PrintDocument(nullptr);
    }

    int Pages()
    {
        const std::string info = RunProgram(QStringLiteral("pdfinfo"), {QString::fromStdString(out_)});
        const size_t at = info.find("Pages:");
        return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
    }
    std::string Text(int page)
    {
        const QString n = QString::number(page);
        return RunProgram(QStringLiteral("pdftotext"),
                   {QStringLiteral("-f"), n, QStringLiteral("-l"), n, QString::fromStdString(out_), QStringLiteral("-")});
    }
    QImage Picture(int page)
    {
        const QString n = QString::number(page);
        const QString prefix = QString::fromStdString(docs_.file("page"));
        RunProgram(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-f"), n,
                                         QStringLiteral("-l"), n, QStringLiteral("-singlefile"), QStringLiteral("-png"),
                                         QString::fromStdString(out_), prefix});
        return QImage(prefix + QStringLiteral(".png"));
    }
    // Dark pixels inside cell (column, row) of the sheet, a little in from
    // its edges.
    int CellInk(const QImage& image, int column, int row)
    {
        IntRect cell;
        doc_->GetCellRect(&cell, int16_t(column), int16_t(row));
        const int left = cell.left * kDpi / 72 + 2, right = cell.right * kDpi / 72 - 2;
        const int top = cell.top * kDpi / 72 + 2, bottom = cell.bottom * kDpi / 72 - 2;
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += image.valid(x, y) && qGray(image.pixel(x, y)) < 160;
        return n;
    }
    int Columns() const { return GetI16LE(doc_->LabelLayout() + kLabelTypeColumnsOffset); }
    int Rows() const { return GetI16LE(doc_->LabelLayout() + kLabelTypeRowsOffset); }
    void SetCropMarks(bool on)
    {
        uint8_t block[kPageGuideBlockSize] = {};
        doc_->PageManager()->CopyGuideBlock(block, 0);
        PutU32LE(block + 16, on ? 1 : 0);
        doc_->PageManager()->CopyGuideBlock(block, 1);
    }

    std::unique_ptr<CLabelsDoc> doc_;
    std::unique_ptr<DbDocument> database_;
    std::string out_;
};

// Ten contacts with every field of the card filled, as the import reads
// them (tab-separated, Windows-1252).
constexpr const char* kCompleteContacts =
    "Ada\tAbbott\tOwner\tAbbott Bakery\t12 Mill Lane\t\tSpringfield\tIL\t62701\tUSA\t\t217-555-0101\t\t"
    "ada@abbottbakery.example\r\n"
    "Bruno\tBarros\tBuyer\tHarbor Supply\t400 Dock Street\tSuite 2\tPortland\tME\t04101\tUSA\t\t207-555-0102\t\t"
    "bruno@harbor.example\r\n"
    "Mei\tChen\tEngineer\tNorthwind Labs\t88 Cedar Ave\t\tMadison\tWI\t53703\tUSA\t\t608-555-0103\t\t"
    "mei.chen@northwind.example\r\n"
    "Dmitri\tDuval\tDirector\tDuval & Daughters\t5 Quay Road\t\tSavannah\tGA\t31401\tUSA\t\t912-555-0104\t\t"
    "dd@duval.example\r\n"
    "Eszter\tEgri\tDesigner\tStudio Egri\t17 Bridge St\t\tIthaca\tNY\t14850\tUSA\t\t607-555-0105\t\t"
    "eszter@egri.example\r\n"
    "Fran\xE7ois\tFournier\tChef\tLe Petit Four\t230 Rue Royale\t\tNew Orleans\tLA\t70130\tUSA\t\t504-555-0106\t\t"
    "ff@petitfour.example\r\n"
    "Greta\tGr\xFCn\tGardener\tGreen Thumb\t9 Orchard Way\t\tBoulder\tCO\t80302\tUSA\t\t303-555-0107\t\t"
    "greta@thumb.example\r\n"
    "Hiro\tHayashi\tConsultant\tHayashi Partners\t1200 Market St\t\tSan Francisco\tCA\t94102\tUSA\t\t"
    "415-555-0108\t\thiro@hayashi.example\r\n"
    "Ines\tIbarra\tAccountant\tIbarra Books\t64 Plaza Blvd\t\tTucson\tAZ\t85701\tUSA\t\t520-555-0109\t\t"
    "ines@ibarra.example\r\n"
    "Jonas\tJensen\tSales Manager\tJensen Marine\t3 Harbour View\t\tDuluth\tMN\t55802\tUSA\t\t218-555-0110\t\t"
    "jonas@jensen.example\r\n";

// The golden page and text were printed by the version that sent every
// shape to the printer as rows of pixels and every character on its own.
// A sheet must still look as it did, rasterised at 150 dpi: an edge may
// move by a pixel and change its shade by antialiasing (and the golden
// picture keeps 64 colours), so a pixel matches when a pixel of the golden
// at most one pixel away is within 48 of it in every channel, and at most
// 1000 pixels of the page (0.04 %) may fail to; a card missing, moved or in
// another colour fails by thousands. (The golden's shapes drawn over
// others, the star on its disc, have a pale rim where the white their area
// was first filled with shows through the antialiased edge; the PDF now
// leaves out a fill the next one covers, and the rim with it, which the
// card view does not show either: some 700 pixels of edges.) The text is compared exactly: every
// merged field is in the file as text.
TEST_F(PrintJob, TheSheetLooksAsItDidAndHoldsEveryMergedFieldAsText)
{
    WriteFileBytes(docs_.file("people.txt"), kCompleteContacts);
    ASSERT_EQ(Shell(docs_, "\"$T\" db new people.dqx && \"$T\" dbdoc import people.dqx people.txt --delimiter 2 "
                           ">/dev/null"),
              0);
    database_ = std::make_unique<DbDocument>();
    PathRecord path{};
    ASSERT_EQ(PathRecordFromPosix(docs_.file("people.dqx"), &path), 0);
    ASSERT_TRUE(database_->Open(path));
    SetCurrentDatabase(database_.get());

    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), 0) << alerts_.lastText();
    ASSERT_EQ(Pages(), 2);
    const std::string golden = ReadFileBytes(std::string(TESSALINE_TEST_DATA_DIR) + "/print/sample-sheet.txt");
    EXPECT_EQ(RunProgram(QStringLiteral("pdftotext"), {QString::fromStdString(out_), QStringLiteral("-")}), golden);

    const QString prefix = QString::fromStdString(docs_.file("sheet"));
    RunProgram(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-png"),
                                            QString::fromStdString(out_), prefix});
    const QImage front(prefix + QStringLiteral("-1.png"));
    const QImage back(prefix + QStringLiteral("-2.png"));
    const QImage expected(QString::fromStdString(std::string(TESSALINE_TEST_DATA_DIR) + "/print/sample-sheet-front.png"));
    ASSERT_FALSE(expected.isNull());
    ASSERT_EQ(front.size(), expected.size());
    EXPECT_LE(UnmatchedPixels(front, expected, 48), 1000);
    // The back of the card is empty.
    ASSERT_EQ(back.size(), expected.size());
    QImage white(back.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(UnmatchedPixels(back, white, 0), 0);
}

TEST_F(PrintJob, EveryRecordFillsTheNextCardSheetAfterSheet)
{
    ASSERT_NO_FATAL_FAILURE(OpenDatabase(25));
    const std::vector<std::string> names = LastNames();
    ASSERT_EQ(Columns() * Rows(), 10);
    ASSERT_EQ(doc_->GetPageCount(), 2);

    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), 0) << alerts_.lastText();
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
    // Three sheets of front and back.
    EXPECT_EQ(Pages(), 6);
    const std::string first = Text(1), third = Text(5);
    EXPECT_NE(first.find(names[0]), std::string::npos);
    EXPECT_NE(first.find(names[9]), std::string::npos);
    EXPECT_EQ(first.find(names[10]), std::string::npos);
    EXPECT_NE(third.find(names[20]), std::string::npos);
    EXPECT_NE(third.find(names[24]), std::string::npos);
    EXPECT_EQ(third.find(names[19]), std::string::npos);

    const QImage sheet1 = Picture(1), sheet3 = Picture(5);
    ASSERT_FALSE(sheet1.isNull());
    for (int i = 0; i < 10; ++i) {
        EXPECT_GT(CellInk(sheet1, i % 2, i / 2), 30) << "card " << i << " of the first sheet";
        if (i < 5)
            EXPECT_GT(CellInk(sheet3, i % 2, i / 2), 30) << "card " << i << " of the last sheet";
        else
            EXPECT_EQ(CellInk(sheet3, i % 2, i / 2), 0) << "card " << i << " of the last sheet";
    }
}

TEST_F(PrintJob, TheFirstCardAndTheSkippedCellsLeaveTheFirstSheetsCellsEmpty)
{
    ASSERT_NO_FATAL_FAILURE(OpenDatabase(12));
    const std::vector<std::string> names = LastNames();
    // Start at column 2 of row 3: five cells stay empty, so 12 records
    // need a second sheet.
    Print([](PrintJobRecord* job) {
        job->firstCardMode = kFirstCardManual;
        job->firstCardColumn = 2;
        job->firstCardRow = 3;
    });
    EXPECT_EQ(Pages(), 4);
    QImage sheet = Picture(1);
    for (int i = 0; i < 10; ++i) {
        if (i < 5)
            EXPECT_EQ(CellInk(sheet, i % 2, i / 2), 0) << "cell " << i;
        else
            EXPECT_GT(CellInk(sheet, i % 2, i / 2), 30) << "cell " << i;
    }
    EXPECT_NE(Text(3).find(names[5]), std::string::npos) << "the second sheet goes on with record 6";
    EXPECT_NE(Text(3).find(names[11]), std::string::npos);

    // Two marked cells of the grid are left empty on the first sheet only,
    // and use no record.
    Handle grid = HandleNew(kLabelGridHeaderSize + 10 * 4);
    uint8_t* g = static_cast<uint8_t*>(HandleData(grid));
    PutU32LE(g, 10);
    PutU32LE(g + 4, 2);
    PutU32LE(g + 8, 5);
    for (int i = 0; i < 10; ++i)
        PutU32LE(g + 12 + 4 * i, i == 1 || i == 6 ? 0 : 1);
    Print([grid](PrintJobRecord* job) {
        job->firstCardMode = kFirstCardSkipGrid;
        job->TakeGrid(grid);
    });
    EXPECT_EQ(Pages(), 4);
    sheet = Picture(1);
    for (int i = 0; i < 10; ++i) {
        if (i == 1 || i == 6)
            EXPECT_EQ(CellInk(sheet, i % 2, i / 2), 0) << "cell " << i;
        else
            EXPECT_GT(CellInk(sheet, i % 2, i / 2), 30) << "cell " << i;
    }
    const std::string first = Text(1), second = Text(3);
    EXPECT_NE(first.find(names[7]), std::string::npos);
    EXPECT_EQ(first.find(names[8]), std::string::npos);
    EXPECT_NE(second.find(names[8]), std::string::npos);
    sheet = Picture(3);
    EXPECT_GT(CellInk(sheet, 1, 0), 30) << "the second sheet skips nothing";
    EXPECT_GT(CellInk(sheet, 1, 1), 30);
    EXPECT_EQ(CellInk(sheet, 0, 2), 0) << "12 records end with the fourth card of the second sheet";
}

TEST_F(PrintJob, ARangeAndCopiesAndASide)
{
    ASSERT_NO_FATAL_FAILURE(OpenDatabase(25));
    const std::vector<std::string> names = LastNames();
    // From 7 to 3 prints records 3 to 7, the front page only, twice.
    Print([](PrintJobRecord* job) {
        job->from = 7;
        job->to = 3;
        job->copies = 2;
        job->side = kPrintSideFront;
    });
    EXPECT_EQ(Pages(), 2);
    const std::string text = Text(1) + Text(2);
    EXPECT_EQ(text.find(names[1]), std::string::npos);
    EXPECT_NE(text.find(names[2]), std::string::npos);
    EXPECT_NE(text.find(names[6]), std::string::npos);
    EXPECT_EQ(text.find(names[7]), std::string::npos);
    EXPECT_EQ(Text(1), Text(2));
}

TEST_F(PrintJob, WithoutADatabaseOneSheetOfTheSameCard)
{
    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(Pages(), 2);
    const QImage sheet = Picture(1);
    const int ink = CellInk(sheet, 0, 0);
    EXPECT_GT(ink, 30);
    for (int i = 1; i < 10; ++i)
        EXPECT_EQ(CellInk(sheet, i % 2, i / 2), ink) << "cell " << i;
}

TEST_F(PrintJob, CropMarksStandInTheGapsOutsideTheCards)
{
    SetCropMarks(true);
    Print([](PrintJobRecord* job) { job->side = kPrintSideFront; });
    const QImage sheet = Picture(1);
    IntRect first;
    doc_->GetCellRect(&first, 0, 0);
    // The mark left of the first card's top edge, 20 points long.
    const int y = first.top * kDpi / 72;
    int dark = 0;
    for (int x = first.left * kDpi / 72 - 9; x < first.left * kDpi / 72 - 1; ++x)
        for (int dy = -1; dy <= 1; ++dy)
            dark += qGray(sheet.pixel(x, y + dy)) < 200;
    EXPECT_GT(dark, 4);
}

TEST_F(PrintJob, ADatabaseFoundDamagedStopsThePrintAndSaysSoOnce)
{
    ASSERT_NO_FATAL_FAILURE(OpenDatabase(25));
    // Behind the program's back, a record in the middle loses its marker:
    // the cards from there on have no record to show.
    std::string bytes = ReadFileBytes(docs_.file("people.dqx"));
    size_t at = 6001;
    for (int n = 0; n < 12; ++n)
        at = bytes.find('\xFC', at + 1);
    ASSERT_NE(at, std::string::npos);
    {
        std::fstream f(docs_.file("people.dqx"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(std::streamoff(at));
        f.put('x');
    }
    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), kPrintDatabaseDamaged);
    ASSERT_EQ(alerts_.boxes().size(), 1u) << alerts_.lastText();
    EXPECT_EQ(alerts_.lastText(), "people.dqx: Database is damaged. Please reopen the Database.");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out_))) << "no blank cards are left behind";

    // Printing again is refused at once, with the same one message.
    alerts_.clear();
    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), kPrintDatabaseDamaged);
    EXPECT_EQ(alerts_.boxes().size(), 1u);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out_)));
}

TEST_F(PrintJob, ASelectionTheDiskRefusedFailsThePrintAndKeepsTheOldFile)
{
    ASSERT_NO_FATAL_FAILURE(OpenDatabase(25));
    WriteFileBytes(out_, "the sheets printed yesterday");
    {
        // The disk under the database stops taking writes while the list
        // is sorted anew: the index holds none of the records counted.
        RefusingDisk disk(RefusingDisk::Refusal::NoPermission, 1, docs_.file(""));
        database_->RebuildSelection();
    }
    ASSERT_TRUE(database_->Data().SelectionFailed());
    alerts_.clear();
    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), kPrintSelectionFailed);
    EXPECT_EQ(doc_->Printer().PagesPrinted(), 0);
    ASSERT_FALSE(alerts_.boxes().empty());
    EXPECT_NE(alerts_.lastText().find("could not be selected"), std::string::npos) << alerts_.lastText();
    EXPECT_EQ(ReadFileBytes(out_), "the sheets printed yesterday");

    // A selection built whole again prints every record.
    database_->RebuildSelection();
    ASSERT_FALSE(database_->Data().SelectionFailed());
    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), 0);
    EXPECT_NE(ReadFileBytes(out_), "the sheets printed yesterday");
}

TEST_F(PrintJob, TheAbortKeyStopsTheJobAndNoFileIsLeft)
{
    ASSERT_NO_FATAL_FAILURE(OpenDatabase(25));
    AbortKeyAfter abort(3);
    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), kPrintCancelledByUser);
    ASSERT_EQ(alerts_.boxes().size(), 1u);
    EXPECT_NE(alerts_.lastText().find("Printing canceled by user."), std::string::npos);
    EXPECT_EQ(alerts_.boxes().back().style & 0xF0, uint32_t(kMbIconInformation));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out_)));
    // The document shows its page again and prints in full afterwards.
    EXPECT_EQ(doc_->GetCurrentPage(), 1);
}

TEST_F(PrintJob, TheProgressDialogsCancelStopsTheJobAndFreesItsOwner)
{
    ASSERT_NO_FATAL_FAILURE(OpenDatabase(25));
    QWidget owner;
    owner.show();
    bool ownerDisabled = false;
    bool pressed = false;
    // Cancel is pressed while the job lets events through before its
    // first page; tried again until the progress window is there to take it.
    QTimer press;
    press.setInterval(0);
    QObject::connect(&press, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* progress = dynamic_cast<PrintProgressDlg*>(w);
            if (!progress || !progress->isVisible())
                continue;
            ownerDisabled = !owner.isEnabled();
            EXPECT_EQ(progress->windowTitle(), QStringLiteral("Printing progress..."));
            for (QPushButton* button : progress->findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("Cancel")) {
                    press.stop();
                    pressed = true;
                    button->click();
                }
        }
    });
    press.start();
    SetPrintDialogRunner([this](QWidget*, PrintJobRecord* job) {
        job->printer = MakeJobPrinter(QString::fromStdString(out_), QString());
        job->copies = 1;
        return 1;
    });
    doc_->PrintDocument(&owner);
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(doc_->Printer().LastResult(), kPrintCancelledByUser);
    EXPECT_EQ(doc_->Printer().PagesPrinted(), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out_)));
}

TEST_F(PrintJob, AFileThatCannotBeWrittenIsReportedAsAnError)
{
    out_ = docs_.file("no such folder/out.pdf");
    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), kErrPathNotFound);
    ASSERT_EQ(alerts_.boxes().size(), 1u);
    // The folder that is not there is named.
    EXPECT_NE(alerts_.lastText().find("\"" + docs_.file("no such folder") + "\" that the output goes to does not exist"),
              std::string::npos)
        << alerts_.lastText();
    EXPECT_EQ(alerts_.boxes().back().style & 0xF0, uint32_t(kMbIconStop));

    // A cancelled dialog prints nothing and says nothing.
    alerts_.clear();
    SetPrintDialogRunner([](QWidget*, PrintJobRecord*) { return 0; });
    EXPECT_EQ(doc_->PrintDocument(nullptr), kPrintDialogCancelled);
    EXPECT_TRUE(alerts_.boxes().empty());
}

TEST_F(PrintJob, ThePrintCommandsSetTheirFlagsOnlyForTheJob)
{
    ASSERT_NO_FATAL_FAILURE(OpenDatabase(25));
    const std::vector<std::string> names = LastNames();
    SetPrintDialogRunner([this](QWidget*, PrintJobRecord* job) {
        job->printer = MakeJobPrinter(QString::fromStdString(out_), QString());
        job->copies = 1;
        return 1;
    });
    // A sheet of the document: the same card in every cell, no records.
    PrintSheetOfDocument(doc_.get(), nullptr);
    EXPECT_EQ(Pages(), 2);
    EXPECT_EQ(Text(1).find(names[0]), std::string::npos);
    EXPECT_FALSE(IsCurrentDatabaseSuppressed());
    PrintDefaultCardInfo(doc_.get(), nullptr);
    EXPECT_EQ(Pages(), 2);
    EXPECT_FALSE(IsCurrentDatabaseSuppressed());
    EXPECT_FALSE(IsPreviewOnlyMode());
    // A re-sort that cannot be done stops the job before it starts, and
    // the request does not outlive the command.
    QFile::remove(QString::fromStdString(out_));
    SetBulkMailResortFlag(1);
    PrintFromDatabase(doc_.get(), nullptr);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out_)));
    EXPECT_EQ(GetBulkMailResortFlag(), 0);
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
    PrintFromDatabase(doc_.get(), nullptr);
    EXPECT_EQ(Pages(), 6);
}

TEST_F(PrintJob, ACardLargerThanThePaperIsTiledOnlyWhenTheSettingsSaySo)
{
    // One card of 900 x 1000 points: two tiles across and two down on a
    // letter sheet.
    std::vector<uint8_t> setup(kDocSetupSize, 0);
    LabelTypeRecord poster;
    GetBuiltinLabelType(&poster, 0);
    poster.cardWidth = 900;
    poster.cardHeight = 1000;
    poster.topMargin = poster.leftMargin = 0;
    poster.columns = poster.rows = 1;
    poster.sides = 1;
    LabelTypeEncode(poster, setup.data() + kDocSetupLabelType);
    doc_ = NewCardDocument(setup.data());
    ASSERT_NE(doc_, nullptr);
    doc_->InitialUpdate();
    Print();
    EXPECT_EQ(Pages(), 4);
    EXPECT_EQ(doc_->Printer().TilesAcross(), 2);
    EXPECT_EQ(doc_->Printer().TilesDown(), 2);
    PutI16LE(doc_->PrintSettings().bytes + kPrintSettingsTile, 0);
    Print();
    EXPECT_EQ(Pages(), 1);
}

// A card within a point of the paper (its size rounded) prints on one
// sheet; a larger one in as many tiles as hold it, an exact multiple of the
// paper in no more.
TEST_F(PrintJob, ACardIsTiledIntoAsManySheetsAsHoldIt)
{
    struct Case {
        double width, height;
        int across, down;
    };
    for (const Case c : {Case{613.5, 792, 1, 1}, Case{612, 793.5, 1, 1}, Case{614, 792, 2, 1}, Case{1224, 792, 2, 1},
                         Case{612, 1585, 1, 3}, Case{612, 794, 1, 2}}) {
        std::vector<uint8_t> setup(kDocSetupSize, 0);
        LabelTypeRecord poster;
        GetBuiltinLabelType(&poster, 0);
        poster.cardWidth = c.width;
        poster.cardHeight = c.height;
        poster.topMargin = poster.leftMargin = 0;
        poster.columns = poster.rows = 1;
        poster.sides = 1;
        LabelTypeEncode(poster, setup.data() + kDocSetupLabelType);
        doc_ = NewCardDocument(setup.data());
        ASSERT_NE(doc_, nullptr);
        doc_->InitialUpdate();
        Print();
        EXPECT_EQ(Pages(), c.across * c.down) << c.width << " x " << c.height;
        if (c.across * c.down > 1) {
            EXPECT_EQ(doc_->Printer().TilesAcross(), c.across) << c.width << " x " << c.height;
            EXPECT_EQ(doc_->Printer().TilesDown(), c.down) << c.width << " x " << c.height;
        }
    }
}

TEST_F(PrintJob, APdfFileTakesTheLayoutsPaperWithoutAnyPrinter)
{
    FakePrinterCaps none;
    none.installed = false;
    uint8_t layout[kLabelTypeSize];
    doc_->GetLabelLayout(layout);
    PutU32LE(layout + kLabelTypePaperOffset, 3);  // A4 in the paper table
    PutU32LE(layout + kLabelTypeOrientationOffset, 2);
    doc_->ApplyDocSetup(layout);
    Print([](PrintJobRecord* job) { job->side = kPrintSideFront; });
    const std::string info = RunProgram(QStringLiteral("pdfinfo"), {QString::fromStdString(out_)});
    // The standard A4 sheet, not the paper table's whole points.
    EXPECT_NE(info.find("841.89 x 595.276 pts (A4)"), std::string::npos) << info;
}

TEST(SheetArithmetic, PagesAndRecordsOfLaterSheets)
{
    // Two design pages, 2 x 5 cards, nothing skipped.
    SheetPage p = SheetPageFor(5, 2, 1, 2, 5, 1, 1, 0, 1);
    EXPECT_EQ(p.page, 1);
    EXPECT_EQ(p.firstRecord, 21);
    p = SheetPageFor(4, 2, 1, 2, 5, 1, 1, 0, 1);
    EXPECT_EQ(p.page, 2);
    EXPECT_EQ(p.firstRecord, 11);
    p = SheetPageFor(2, 2, 1, 2, 5, 2, 3, 0, 1);
    EXPECT_EQ(p.page, 2);
    EXPECT_EQ(p.firstRecord, 1);
    // The first sheet left 3 cells empty.
    p = SheetPageFor(3, 1, 1, 2, 5, 1, 1, 3, 1);
    EXPECT_EQ(p.firstRecord, 18);
    // Far into a long job the cells used pass 32767 and stay right.
    p = SheetPageFor(330, 1, 1, 10, 10, 1, 1, 50, 1);
    EXPECT_EQ(p.firstRecord, 1 + 329 * 100 - 50);
}

// A barcode printed at the same place of every card is worked out once;
// one whose data or place differs is drawn anew.
TEST(PrintedBarcode, ABarcodeAtTheSamePlaceAgainShowsItsOwnDataAndPlace)
{
    TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("codes.pdf")));
    printer.setResolution(1200);
    struct Page {
        const char* data;
        int32_t x;
    };
    const Page pages[] = {{"TS-0042", 1200}, {"TS-0042", 1200}, {"TS-0043", 1200}, {"TS-0042", 6000}};
    {
        auto dc = PdfPrintJobDc(&printer);
        ASSERT_TRUE(dc->beginOutput());
        LogFont font;
        std::strcpy(font.faceName, "Liberation Sans");
        dc->selectFont(font);
        dc->selectBrush(Brush::Solid(kBlack));
        for (const Page& p : pages) {
            BarcodeRecord rec;
            rec.type = kBarcodeCode39;
            rec.data[0] = uint8_t(std::strlen(p.data));
            std::memcpy(rec.data + 1, p.data, rec.data[0]);
            rec.barHeight = 36.0;
            rec.module = 1.0;
            rec.space = 1.0;
            rec.charGap = 1.0;
            rec.showText = 1;
            rec.captionSize = 10.0;
            rec.originX = rec.centreX = p.x;
            rec.originY = rec.centreY = 1200;
            EXPECT_TRUE(DrawBarcode(dc.get(), &rec, 1200, 72));
            EXPECT_TRUE(dc->newPage());
        }
        EXPECT_TRUE(dc->flush());
    }
    if (Shell(dir, "command -v pdftotext >/dev/null && command -v pdftoppm >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "poppler-utils are not installed";
    for (int n = 1; n <= 4; ++n) {
        const std::string page = std::to_string(n);
        EXPECT_EQ(Shell(dir, "pdftotext -f " + page + " -l " + page + " codes.pdf - | tr -d ' \\n\\f' | grep -q '" +
                               pages[n - 1].data + "'"),
                  0)
            << "page " << n;
    }
    // The bars stand where the page put them: the first two pages alike,
    // the last one's further right.
    ASSERT_EQ(Shell(dir, "pdftoppm -r 30 -png codes.pdf page"), 0);
    auto darkColumns = [&](int n) {
        const QImage image(QString::fromStdString(dir.file("page-" + std::to_string(n) + ".png")));
        std::vector<int> columns;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (qGray(image.pixel(x, y)) < 128) {
                    columns.push_back(x);
                    break;
                }
        return columns;
    };
    const std::vector<int> first = darkColumns(1);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(darkColumns(2), first);
    const std::vector<int> moved = darkColumns(4);
    ASSERT_FALSE(moved.empty());
    EXPECT_EQ(moved.front(), first.front() + 4 * 30);
}

TEST(SheetArithmetic, SheetsOfAJob)
{
    EXPECT_EQ(CountPrintSheets(10, 10, 0, true, false, 1).pages, 1);
    EXPECT_EQ(CountPrintSheets(10, 10, 3, true, false, 1).pages, 2);
    const PrintSheetCount c = CountPrintSheets(12, 10, 9, true, false, 2);
    EXPECT_EQ(c.sheets, 2);
    EXPECT_EQ(c.extra, 1);
    EXPECT_EQ(c.pages, 6);
    EXPECT_EQ(CountPrintSheets(15, 10, 3, true, false, 1).pages, 2);
    EXPECT_EQ(CountPrintSheets(18, 10, 3, true, false, 1).pages, 3);
    EXPECT_EQ(CountPrintSheets(10, 10, 4, false, true, 2).pages, 2);
}

// A PostScript file is written whole or not at all: a folder that is not
// there fails the job before anything is drawn, and a job stopped midway
// leaves the file that was there as it was.
TEST_F(PrintJob, APostScriptFileIsWrittenWholeOrNotAtAll)
{
    EXPECT_EQ(PrintPostScript(docs_.file("no such folder/out.ps")), kPrintDone);
    // The job's code names the cause, as a PDF file's does.
    EXPECT_EQ(doc_->Printer().LastResult(), kErrPathNotFound);
    ASSERT_EQ(alerts_.boxes().size(), 1u);
    // The folder that is not there is named.
    EXPECT_NE(alerts_.lastText().find("\"" + docs_.file("no such folder") + "\" that the output goes to does not exist"),
              std::string::npos)
        << alerts_.lastText();
    alerts_.clear();

    ASSERT_NO_FATAL_FAILURE(OpenDatabase(25));
    const std::string ps = docs_.file("kept.ps");
    WriteFileBytes(ps, "the sheet printed yesterday");
    {
        AbortKeyAfter abort(3);
        EXPECT_EQ(PrintPostScript(ps), kPrintDone);
    }
    EXPECT_EQ(doc_->Printer().LastResult(), kPrintCancelledByUser);
    EXPECT_EQ(ReadFileBytes(ps), "the sheet printed yesterday");
    EXPECT_EQ(QDir(QString::fromStdString(docs_.file(""))).entryList(QDir::Files).filter(".ps").size(), 1);

    // In full, three sheets of front and back.
    alerts_.clear();
    EXPECT_EQ(PrintPostScript(ps), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), 0) << alerts_.lastText();
    const std::string job = ReadFileBytes(ps);
    EXPECT_NE(job.find("%%Pages: 6\n"), std::string::npos);
    EXPECT_EQ(job.substr(job.size() - 16), "%%Trailer\n%%EOF\n");
}

// A power-text frame printed to a printer that takes PostScript sends its
// effect as PostScript of its own: the glyph outlines as a path that clips
// the interior's fill, in the frame's place on each card.
TEST_F(PrintJob, APostScriptJobCarriesThePowerTextEffectAsItsOwnPostScript)
{
    constexpr uint16_t kBlackIndex = 15;
    FrameObjPowerText* frame = nullptr;
    ASSERT_NO_FATAL_FAILURE(AddPowerText(&frame));
    uint8_t effect[172];
    std::memcpy(effect, frame->Effect(), sizeof effect);
    PStrFromCStr(effect, "SALE");
    // Black letters.
    PutU16LE(effect + 150, kBlackIndex);
    frame->SetEffect(effect);

    const std::string ps = docs_.file("out.ps");
    EXPECT_EQ(PrintPostScript(ps), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), 0) << alerts_.lastText();
    const std::string job = PostScriptAsRun(ReadFileBytes(ps));
    size_t layers = 0;
    for (size_t at = job.find(" newpath "); at != std::string::npos; at = job.find(" newpath ", at + 1)) {
        const size_t end = job.find('\r', at);
        ASSERT_NE(end, std::string::npos);
        const std::string layer = job.substr(at, end - at);
        if (layer.find(" rcurveto ") != std::string::npos && layer.find(" closepath  clip ") != std::string::npos &&
            layer.find(" setrgbcolor  fill ") != std::string::npos)
            ++layers;
    }
    // One interior layer on each of the ten cards of the front.
    EXPECT_EQ(layers, 10u);

    bool ran = false;
    const QString png = QString::fromStdString(docs_.file("ps.png"));
    RunProgram(QStringLiteral("gs"), {QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"),
                                      QStringLiteral("-q"), QStringLiteral("-sDEVICE=png16m"),
                                      QStringLiteral("-r%1").arg(kDpi), QStringLiteral("-dLastPage=1"),
                                      QStringLiteral("-sOutputFile=") + png, QString::fromStdString(ps)},
               &ran);
    if (!ran)
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is needed to draw the job";
    const QImage sheet(png);
    ASSERT_FALSE(sheet.isNull());
    // The letters are drawn inside the frame (its border left out), on
    // every card.
    for (int column = 0; column < Columns(); ++column) {
        for (int row = 0; row < Rows(); ++row) {
            IntRect cell;
            doc_->GetCellRect(&cell, int16_t(column), int16_t(row));
            int ink = 0;
            for (int y = (cell.top + 66) * kDpi / 72; y < (cell.top + 104) * kDpi / 72; ++y)
                for (int x = (cell.left + 66) * kDpi / 72; x < (cell.left + 194) * kDpi / 72; ++x)
                    ink += sheet.valid(x, y) && qGray(sheet.pixel(x, y)) < 160;
            EXPECT_GT(ink, 100) << column << ", " << row;
        }
    }
}

// The outline of a power-text frame printed through PostScript is as thick
// as in the PDF of the same job: both drawn by Ghostscript at 400 dpi, the
// black outline round white letters leaves as much ink in either.
TEST_F(PrintJob, APowerTextOutlineInPostScriptIsAsThickAsInThePdf)
{
    constexpr uint16_t kBlackIndex = 15;
    FrameObjPowerText* frame = nullptr;
    ASSERT_NO_FATAL_FAILURE(AddPowerText(&frame));
    GlyphEffect effect = GetGlyphEffect(frame->Effect());
    SetGlyphLine(effect.line1, "HI");
    effect.shape = 1;
    effect.alignment = kGlyphAlignCenter;
    effect.orientation = kGlyphHorizontal;
    effect.style.outlineStyle = kOutlineThick;
    effect.style.outlineColor = kBlackIndex;
    effect.style.outlineTint = 100;
    uint8_t record[172];
    PutGlyphEffect(record, effect);
    frame->SetEffect(record);

    const std::string ps = docs_.file("outline.ps");
    ASSERT_EQ(PrintPostScript(ps), kPrintDone);
    ASSERT_EQ(doc_->Printer().LastResult(), 0) << alerts_.lastText();
    ASSERT_EQ(Print(), kPrintDone);
    ASSERT_EQ(doc_->Printer().LastResult(), 0) << alerts_.lastText();

    constexpr int kSharp = 400;
    auto ink = [this](const std::string& file) {
        bool ran = false;
        const QString png = QString::fromStdString(file + ".png");
        RunProgram(QStringLiteral("gs"), {QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                                          QStringLiteral("-dNOPAUSE"), QStringLiteral("-q"),
                                          QStringLiteral("-sDEVICE=pnggray"), QStringLiteral("-r%1").arg(kSharp),
                                          QStringLiteral("-dLastPage=1"), QStringLiteral("-sOutputFile=") + png,
                                          QString::fromStdString(file)},
                   &ran);
        const QImage sheet(png);
        if (!ran || sheet.isNull())
            return -1;
        IntRect cell;
        doc_->GetCellRect(&cell, 0, 0);
        int n = 0;
        for (int y = (cell.top + 62) * kSharp / 72; y < (cell.top + 108) * kSharp / 72; ++y)
            for (int x = (cell.left + 62) * kSharp / 72; x < (cell.left + 198) * kSharp / 72; ++x)
                n += sheet.valid(x, y) && qGray(sheet.pixel(x, y)) < 128;
        return n;
    };
    const int inPdf = ink(out_);
    const int inPostScript = ink(ps);
    if (inPdf < 0 || inPostScript < 0)
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is needed to draw the jobs";
    ASSERT_GT(inPdf, 1000);
    EXPECT_GT(inPostScript, inPdf * 3 / 4) << "PDF " << inPdf << ", PostScript " << inPostScript;
    EXPECT_LT(inPostScript, inPdf * 4 / 3) << "PDF " << inPdf << ", PostScript " << inPostScript;
}

}  // namespace

namespace {

// A picture whose file went away (and that the document does not keep)
// prints as nothing: the job says so once, whatever the number of cards.
TEST_F(PrintJob, APictureThatCannotBeDrawnIsReportedOnce)
{
    const std::string png = docs_.file("logo.png");
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(QString::fromStdString(png)));
    auto* image = dynamic_cast<FrameObjImage*>(doc_->NewFrame(kFrameImage));
    ASSERT_NE(image, nullptr);
    image->SetFromRect(IntRect{20, 20, 60, 40});
    PathRecord path{};
    ASSERT_EQ(PathRecordFromPosix(png, &path), 0);
    ASSERT_EQ(image->LoadFromFile(path, 0), 0);
    EXPECT_FALSE(image->PictureUnreadable());
    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), 0);
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();

    std::remove(png.c_str());
    image->ReleaseImage(true);
    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), 0);
    ASSERT_EQ(alerts_.boxes().size(), 1u) << alerts_.lastText();
    EXPECT_NE(alerts_.lastText().find("could not be drawn"), std::string::npos) << alerts_.lastText();
}

}  // namespace

namespace {

// A barcode whose data does not encode prints its failure box, and text too
// large for its frame prints nothing of it: the job says each once, with
// how many labels and the first, and a job that loses nothing says nothing.
TEST_F(PrintJob, BarcodesNotMadeAndTextCutOffAreSaidOncePerJob)
{
    doc_ = CardWithText("Return to: Tessaline, 1 Quay Street");
    ASSERT_NE(doc_, nullptr);
    FrameObj* box = doc_->PageManager()->FrameAt(0);
    ASSERT_EQ(box->GetType(), kFrameText);
    const IntRect page = doc_->PageGeometry().slots[0];
    // Not one line of the text fits the frame's 3 points.
    box->SetFromRect(IntRect{page.left + 10, page.top + 100, page.left + 150, page.top + 103});
    auto* code = static_cast<FrameObjBarcode*>(doc_->NewFrame(kFrameBarcode));
    ASSERT_NE(code, nullptr);
    code->SetFromRect(IntRect{page.left + 10, page.top + 60, page.left + 110, page.top + 90});
    BarcodeRecord rec;
    BarcodeRecordRead(code->Record(), &rec);
    PStrFromCStr(rec.data, "4006381333932");
    rec.type = kBarcodeEan13;
    uint8_t bytes[kBarcodeRecordSize];
    BarcodeRecordWrite(rec, bytes);
    code->SetBarcodeRecord(bytes);

    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), 0);
    const int cells = Columns() * Rows();
    ASSERT_EQ(alerts_.boxes().size(), 2u) << alerts_.lastText();
    EXPECT_EQ(alerts_.boxes()[0].text,
              std::to_string(cells) + " barcodes could not be made; each printed as a box saying \"Incorrect Data\". "
                                      "The first holds \"4006381333932\": the check digit 2 is wrong: it should be 1.");
    EXPECT_EQ(alerts_.boxes()[1].text,
              std::to_string(cells) + " labels printed without all of their text: it did not fit its frame. The "
                                      "first is in the text frame beginning \"Return to: Tessaline, 1 Quay Str...\".");
    EXPECT_EQ(doc_->Printer().LastLosses().barcodes, cells);

    // With the right check digit and room for the text nothing is lost.
    // (The job opened the page again: its frames are new objects.)
    CurrPageMng* pages = doc_->PageManager();
    code = dynamic_cast<FrameObjBarcode*>(pages->FrameAt(int16_t(pages->FrameCount() - 1)));
    box = pages->FrameAt(0);
    ASSERT_NE(code, nullptr);
    PStrFromCStr(rec.data, "4006381333931");
    BarcodeRecordWrite(rec, bytes);
    code->SetBarcodeRecord(bytes);
    box->SetFromRect(IntRect{page.left + 10, page.top + 5, page.left + 250, page.top + 140});
    alerts_.clear();
    EXPECT_EQ(Print(), kPrintDone);
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
    EXPECT_EQ(doc_->Printer().LastLosses().barcodes, 0);
}

}  // namespace

namespace {

// A Code 128 of 48 characters at half-point bars is wider than the card: the
// label's edge cuts it on every card. The job says so once, with how many
// and the first one's data, and the tool that printed it exits with 2; a
// short code beside it is not counted.
TEST_F(PrintJob, BarcodesCutAtTheLabelsEdgeAreSaidOncePerJob)
{
    doc_ = NewCardDocument();
    ASSERT_NE(doc_, nullptr);
    doc_->InitialUpdate();
    const IntRect page = doc_->PageGeometry().slots[0];
    const std::string data(48, 'x');
    for (const std::string& text : {data, std::string("Ev-42")}) {
        auto* code = static_cast<FrameObjBarcode*>(doc_->NewFrame(kFrameBarcode));
        ASSERT_NE(code, nullptr);
        const int32_t top = page.top + (text == data ? 10 : 70);
        code->SetFromRect(IntRect{page.left + 10, top, page.left + 110, top + 40});
        BarcodeRecord rec;
        BarcodeRecordRead(code->Record(), &rec);
        PStrFromCStr(rec.data, text.c_str());
        rec.type = kBarcodeCode128;
        rec.module = rec.space = 0.5;
        rec.barHeight = 36;
        uint8_t bytes[kBarcodeRecordSize];
        BarcodeRecordWrite(rec, bytes);
        code->SetBarcodeRecord(bytes);
    }

    EXPECT_EQ(Print([](PrintJobRecord* job) { job->side = kPrintSideFront; }), kPrintDone);
    EXPECT_EQ(doc_->Printer().LastResult(), 0);
    const int cells = Columns() * Rows();
    ASSERT_EQ(alerts_.boxes().size(), 1u) << alerts_.lastText();
    EXPECT_EQ(alerts_.lastText(), std::to_string(cells) +
                                      " barcodes run past their label and were cut; a scanner can't read them. The "
                                      "first holds \"" + data + "\".");

    ASSERT_TRUE(doc_->OnSaveDocument(DocPath("long.lqx")));
    doc_.reset();
    EXPECT_EQ(Shell(docs_, "\"$T\" print-pdf long.lqx long.pdf >/dev/null 2>said; echo $? >status"), 0);
    EXPECT_EQ(Bytes("status"), "2\n") << Bytes("said");
    EXPECT_NE(Bytes("said").find("barcodes run past their label and were cut"), std::string::npos) << Bytes("said");
}

// A counter whose start and increment are as large as their boxes take
// passes 2^31 on the 2148th label: that label and the one before print
// their numbers whole.
TEST_F(PrintJob, ACounterPastTwoToTheThirtyFirstPrintsItsNumberWhole)
{
    doc_ = NewCardDocument();
    ASSERT_NE(doc_, nullptr);
    doc_->InitialUpdate();
    const IntRect page = doc_->PageGeometry().slots[0];
    auto* counter = static_cast<FrameObjCounterBarcode*>(doc_->NewFrame(kFrameCounterBarcode));
    ASSERT_NE(counter, nullptr);
    counter->SetFromRect(IntRect{page.left + 10, page.top + 10, page.left + 150, page.top + 40});
    uint8_t bytes[kCounterSpecSize];
    std::memcpy(bytes, counter->CounterSpec(), kCounterSpecSize);
    PutI32LE(bytes + kCounterStartOffset, 999999);
    PutI32LE(bytes + kCounterStepOffset, 999999);
    counter->SetCounterSpec(bytes);
    OpenDatabase(2148);
    ASSERT_FALSE(HasFatalFailure());

    EXPECT_EQ(Print([](PrintJobRecord* job) { job->side = kPrintSideFront; }), kPrintDone);
    ASSERT_EQ(doc_->Printer().LastResult(), 0);
    const std::string last = Text(Pages());
    EXPECT_NE(last.find("2146997853"), std::string::npos) << last;
    EXPECT_NE(last.find("2147997852"), std::string::npos) << last;
    EXPECT_EQ(last.find('-'), std::string::npos) << last;
}

// The job carries the card's file name (what a printer's queue lists), not
// the folders it lies in.
TEST_F(PrintJob, TheJobIsNamedByTheCardsFileName)
{
    EXPECT_EQ(Print(), kPrintDone);
    const std::string info = RunProgram(QStringLiteral("pdfinfo"), {QString::fromStdString(out_)});
    const size_t at = info.find("Title:");
    ASSERT_NE(at, std::string::npos) << info;
    std::string title = info.substr(at + 6, info.find('\n', at) - at - 6);
    title.erase(0, title.find_first_not_of(' '));
    EXPECT_EQ(title, "card.lqx");
}

}  // namespace
