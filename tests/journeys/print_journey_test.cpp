// Printing a card filled from the sample database: the preview's sheets and
// pages, the Print dialog's printers and labels, and the PDF it writes.
#include <algorithm>
#include <functional>
#include <tuple>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QToolButton>
#include <QLabel>
#include <QLineEdit>
#include <QFile>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>
#include <QRadioButton>
#include <QSpinBox>
#include <QDoubleSpinBox>

#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/tool_bar_draw_tools.h"
#include "carddoc/labels_doc.h"
#include "dialogs/label_type_dlg.h"
#include "dialogs/frame_info_dialog.h"
#include "dialogs/style_list_box.h"
#include "records/command_ids.h"
#include "support/needed_tools.h"
#include "support/run_program.h"
#include "carddoc/print_preview_dialog.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "dialogs/print_dialog.h"
#include "journey_fixture.h"
#include "support/shell.h"

namespace {

// The pages of a PDF's text: pdftotext ends each with a form feed.
qsizetype PagesOf(const std::string& text)
{
    return qsizetype(std::count(text.begin(), text.end(), '\f'));
}

class PrintJourney : public JourneyTest {
protected:
    // The sample card over the sample database of 24 people.
    void OpenCardAndDatabase()
    {
        OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
        ASSERT_TRUE(Trigger("File > Open > Database..."));
        ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    }

    // Answers the Print dialog: a PDF file, the records given (0 and 0 for
    // all). The labels it showed go to *labels.
    DialogDriver PrintToPdf(const std::string& pdf, QStringList* labels, QStringList* printers)
    {
        return [=](QWidget* dialog) {
            auto* print = dynamic_cast<CDlgPrint*>(dialog);
            ASSERT_NE(print, nullptr);
            for (QLabel* label : print->findChildren<QLabel*>()) {
                // A label with a key shows it underlined, which needs the
                // edit it leads to; without one the ampersand shows.
                if (label->text().contains('&') && !label->buddy())
                    labels->append(label->text());
            }
            for (int i = 0; i < print->PrinterList()->count(); ++i)
                printers->append(print->PrinterList()->itemText(i));
            print->PrinterList()->setCurrentIndex(print->PdfEntry());
            print->FileEdit()->setText(QString::fromStdString(pdf));
            print->accept();
        };
    }
};

// The sides of a box at a card's edges as the preview draws it in one
// cell: how many dark pixels lie across each edge, from the cell's edge
// inwards, at its middle.
struct CellBorders {
    int left = 0, top = 0, right = 0, bottom = 0;
};

CellBorders BordersIn(const QImage& pane, const QRect& cell)
{
    const auto dark = [&pane](int x, int y) { return pane.valid(x, y) && qGray(pane.pixel(x, y)) < 160; };
    const QPoint middle = cell.center();
    CellBorders b;
    while (b.left < cell.width() && dark(cell.left() + b.left, middle.y()))
        ++b.left;
    while (b.right < cell.width() && dark(cell.right() - b.right, middle.y()))
        ++b.right;
    while (b.top < cell.height() && dark(middle.x(), cell.top() + b.top))
        ++b.top;
    while (b.bottom < cell.height() && dark(middle.x(), cell.bottom() - b.bottom))
        ++b.bottom;
    return b;
}

class PreviewJourney : public JourneyTest {
protected:
    // File > New > Label... > New..: a sheet of 2 by 5 cards 252 points
    // wide, 6 points apart, on the paper whose name starts with paperName.
    void NewSheet(const QString& paperName, double height, double top, double left)
    {
        const CLabelsDoc* card = NewLabelSheet([=](CDlgLabelType* type) {
            type->NameEdit()->setText("Cards on " + paperName);
            type->UnitsCombo()->setCurrentIndex(0);  // Point
            type->WidthEdit()->setValue(252);
            type->HeightEdit()->setValue(height);
            type->TopEdit()->setValue(top);
            type->LeftEdit()->setValue(left);
            type->HorizontalEdit()->setValue(6);
            type->VerticalEdit()->setValue(6);
            type->AcrossEdit()->setValue(2);
            type->DownEdit()->setValue(5);
            type->PaperCombo()->setCurrentIndex(type->PaperCombo()->findText(paperName, Qt::MatchStartsWith));
            type->OrientationButton(1)->click();
        });
        ASSERT_NE(card, nullptr) << alerts.lastText();
    }

    // A rectangle drawn over the whole card, given a solid border through
    // Frame Info.
    void BoxAtTheCardsEdges(int width, int height)
    {
        ASSERT_TRUE(DrawRectangleFromTheCorner(CardPoint(width / 2, height / 2), CardPoint(width, height)));
        OnNextDialog([](QWidget* dialog) {
            auto* frame = dynamic_cast<CDlgFrameInfo*>(dialog);
            ASSERT_NE(frame, nullptr);
            frame->Styles()->setCurrentRow(1);  // a solid line, as wide as it is (2 points)
            frame->accept();
        });
        ASSERT_TRUE(Trigger("Object > Frame Info..."));
    }

    // The borders of every cell's box as Print Preview's pane shows them.
    std::vector<CellBorders> PreviewBorders()
    {
        std::vector<CellBorders> cells;
        OnNextDialog([&cells](QWidget* dialog) {
            if (auto* preview = dynamic_cast<CDlgPrintPreview*>(dialog)) {
                const QImage pane = preview->Pane()->grab().toImage();
                for (int row = 0; row < 5; ++row)
                    for (int column = 0; column < 2; ++column) {
                        const IntRect c = preview->CellImage(column, row);
                        cells.push_back(BordersIn(pane, QRect(c.left, c.top, c.right - c.left, c.bottom - c.top)));
                    }
            }
            Reject()(dialog);
        });
        EXPECT_TRUE(Trigger("File > Print Preview..."));
        return cells;
    }
};

TEST_F(PreviewJourney, ThePreviewDrawsEveryCardsBoxWithinItsCellAsThePrintDoes)
{
    // A box at the card's edges shows all four sides alike in every cell,
    // as the PDF prints them, on sheets whose cells fall between pixels.
    for (const auto& [paper, height, top, left] :
         {std::tuple{"Executive", 144, 4.5, 5.5}, {"B5 sheet", 136, 11.5, 2.5}}) {
        SCOPED_TRACE(paper);
        ASSERT_NO_FATAL_FAILURE(NewSheet(paper, height, top, left));
        ASSERT_NO_FATAL_FAILURE(BoxAtTheCardsEdges(252, height));
        const std::vector<CellBorders> cells = PreviewBorders();
        ASSERT_EQ(cells.size(), 10u);
        for (size_t i = 0; i < cells.size(); ++i) {
            const CellBorders& b = cells[i];
            EXPECT_GT(b.left, 0) << "cell " << i;
            EXPECT_EQ(b.left, b.right) << "cell " << i;
            EXPECT_EQ(b.top, b.bottom) << "cell " << i;
            EXPECT_EQ(b.left, b.top) << "cell " << i;
        }
        OnNextDialog(AnswerNo());  // "Save changes?"
        ASSERT_TRUE(Trigger("File > Close"));
    }
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(PrintJourney, ThePrintDialogListsThePrintersAndPrintsTheRecordsToPdf)
{
    OpenCardAndDatabase();
    const std::string pdf = TempFile("cards.pdf");
    QStringList bareAmpersands, printers;
    OnNextDialog(PrintToPdf(pdf, &bareAmpersands, &printers));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_TRUE(bareAmpersands.isEmpty()) << bareAmpersands.join(", ").toStdString();
    QStringList expected = QPrinterInfo::availablePrinterNames();
    expected << "Print to PDF file" << "Print to PostScript file";
    EXPECT_EQ(printers, expected);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    const std::string text = PdfText(pdf);
    if (text.empty())
        SKIP_FOR_MISSING_TOOL() << "pdftotext is needed";
    // 24 people, ten to a sheet: three sheets of the card's front.
    EXPECT_EQ(PagesOf(text), 3) << text;
    for (const char* name : {"Abbott Bakery", "Harbor Supply", "Bosphorus"})
        EXPECT_NE(text.find(name), std::string::npos) << name;
}

// Holiday addresses: of 20 people every fourth (from the 2nd) lives at an
// address too long for the sample card's address frame. The print from
// the window says once how many labels lost text and which was the first;
// the address that fits prints whole, with nothing said of it.
TEST_F(PrintJourney, AddressesTooLongForTheirFrameAreSaidOnceAJob)
{
    std::string rows;
    for (int i = 1; i <= 20; ++i) {
        const bool tooLong = i % 4 == 2;
        rows += "Guest" + std::to_string(i) + "\tTraveller\tGuest\tHoliday " + std::to_string(i) + "\t" +
                (tooLong ? "Flat 12b, The Old Grain Warehouse Annexe, Quayside\tSecond line of a long address"
                         : std::to_string(i) + " Mill Lane\t") +
                "\t" + (tooLong ? "Llanfairpwllgwyngyllgogerychwyrn\tGB\tLL61-5UJ-0001\t" : "Springfield\tIL\t62701\t") +
                (tooLong ? "United Kingdom" : "USA") + "\t\t217-555-0100\t\tguest@example.org\r\n";
    }
    const std::string text = TempFile("guests.txt");
    WriteFileBytes(text, rows);
    const std::string db = TempFile("guests.dqx");
    Tool("db new '" + db + "'");
    Tool("dbdoc import '" + db + "' '" + text + "' --delimiter 2");
    OnNextDialog(ChooseFile(db));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    alerts.clear();

    const std::string pdf = TempFile("guests.pdf");
    QStringList bareAmpersands, printers;
    OnNextDialog(PrintToPdf(pdf, &bareAmpersands, &printers));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_EQ(alerts.lastText(), "5 labels printed without all of their text: it did not fit its frame. The first is "
                                 "the card of record 2, in the text frame beginning \"Flat 12b, The Old Grain "
                                 "Warehous...\".");
    const std::string printed = PdfText(pdf);
    if (printed.empty())
        SKIP_FOR_MISSING_TOOL() << "pdftotext is needed";
    EXPECT_NE(printed.find("3 Mill Lane"), std::string::npos);
}

// A reader that goes by the fonts' ToUnicode maps (Ghostscript's text
// extraction, copy and paste) reads the space between words as a space,
// not as a tab.
TEST_F(PrintJourney, ThePdfsFontsTellTheSpaceAsASpace)
{
    if (!HaveTool("gs"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is needed";
    OpenCardAndDatabase();
    const std::string pdf = TempFile("spaces.pdf");
    QStringList bareAmpersands, printers;
    OnNextDialog(PrintToPdf(pdf, &bareAmpersands, &printers));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    const ProgramRun gs = RunProgramFor("gs", {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=txtwrite",
                                               "-sOutputFile=-", pdf});
    ASSERT_TRUE(gs.ok) << gs.failure;
    EXPECT_EQ(gs.out.find('\t'), std::string::npos) << gs.out;
    // Words of the bold face (the company, the name) and of the plain one.
    for (const char* words : {"Abbott Bakery", "Ada Abbott", "12 Mill Lane"})
        EXPECT_NE(gs.out.find(words), std::string::npos) << words << "\n" << gs.out;
}

TEST_F(PrintJourney, ThePreviewShowsTheSheetsTheJobPrints)
{
    OpenCardAndDatabase();
    QStringList ranges;
    QString sides;
    bool pagesShown = false;
    const std::string pdf = TempFile("from-preview.pdf");
    QStringList bareAmpersands, printers;
    OnNextDialog([&](QWidget* dialog) {
        auto* preview = dynamic_cast<CDlgPrintPreview*>(dialog);
        ASSERT_NE(preview, nullptr);
        // The card's front and back are the design's two pages.
        sides = preview->PageCountValue()->text();
        pagesShown = !preview->PagesGroup()->isHidden();
        for (int step = 0; step < 10; ++step) {
            if (preview->Page() == 1)
                ranges << preview->FromValue()->text() + "-" + preview->ToValue()->text();
            if (!preview->NextButton()->isEnabled())
                break;
            preview->NextButton()->click();
        }
        preview->accept();
    });
    OnNextDialog(PrintToPdf(pdf, &bareAmpersands, &printers));
    ASSERT_TRUE(Trigger("File > Print Preview..."));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_TRUE(pagesShown);
    EXPECT_EQ(sides, "2");
    EXPECT_EQ(ranges, QStringList({"1-10", "11-20", "21-24"}));

    const std::string text = PdfText(pdf);
    if (text.empty())
        SKIP_FOR_MISSING_TOOL() << "pdftotext is needed";
    EXPECT_EQ(PagesOf(text), ranges.size());
}

TEST_F(PrintJourney, TheCardStaysOnTheScreenBehindThePrintAndPreviewDialogs)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    // The logo: the star over its disc, 40 x 40 at (14, 14).
    const QRect logo = CardRect(14, 14, 40, 40);
    for (const char* command : {"File > Print > Sheet of Active Document...", "File > Print Preview..."}) {
        SCOPED_TRACE(command);
        // The star selected: the dialog's command lets go of it.
        Click(CardPoint(34, 34));
        const int selected = Ink(ViewPixels(), logo);
        ASSERT_GT(selected, 300);
        int behind = -1;
        OnNextDialog([this, &logo, &behind](QWidget* dialog) {
            behind = Ink(ViewPixels(), logo);
            Reject()(dialog);
        });
        ASSERT_TRUE(Trigger(command));
        EXPECT_GT(behind, selected * 3 / 4) << "the logo was wiped off while the dialog was up";
        EXPECT_GT(Ink(ViewPixels(), logo), selected * 3 / 4);
    }
}

TEST_F(PrintJourney, AfterPrintingOneSideTheWindowShowsThePageItsBarNames)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    const QRect card = CardRect(0, 0, 252, 144);
    // The back printed while the front is shown, then the front while the
    // back is shown (View's Back Page).
    for (const bool back : {true, false}) {
        SCOPED_TRACE(back ? "back printed" : "front printed");
        if (!back) {
            ASSERT_TRUE(Trigger(kCmdBackPage));
        }
        const QString side = CardWindow()->PageText();
        ASSERT_EQ(side, back ? "Front Page" : "Back Page");
        const QImage shown = ViewPixels();
        const std::string pdf = TempFile(back ? "back.pdf" : "front.pdf");
        OnNextDialog([pdf, back](QWidget* dialog) {
            auto* print = dynamic_cast<CDlgPrint*>(dialog);
            ASSERT_NE(print, nullptr);
            (back ? print->BackButton() : print->FrontButton())->click();
            PrintToPdfFile(pdf)(dialog);
        });
        ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
        EXPECT_EQ(CardWindow()->PageText().toStdString(), side.toStdString());
        EXPECT_EQ(Changed(shown, ViewPixels(), card), 0) << "the window does not show the page it names";
    }
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

// A rectangle drawn over the company line, 2 points into
// its top: the word flows to the right of it, in the window as on paper and
// in Print Preview's sheet, whose small zoom rounds the overlap away.
TEST_F(PrintJourney, ThePreviewFlowsTextAroundAFrameAsTheWindowDoes)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    // The company line: 178 x 24 at (62, 16); its word starts at the left.
    const auto leftAndRight = [](const QImage& picture, const std::function<QRect(int, int, int, int)>& rect) {
        return std::pair{Ink(picture, rect(64, 22, 34, 18)), Ink(picture, rect(134, 22, 104, 18))};
    };
    const auto window = [this](int x, int y, int w, int h) { return CardRect(x, y, w, h); };
    const auto [leftBefore, rightBefore] = leftAndRight(ViewPixels(), window);
    ASSERT_GT(leftBefore, 40);
    QToolButton* rectangle = ToolButton("Draw a rectangle");
    ASSERT_NE(rectangle, nullptr);
    rectangle->click();
    Drag(CardPoint(100, 2), {CardPoint(115, 10), CardPoint(130, 18)});
    const auto [leftShown, rightShown] = leftAndRight(ViewPixels(), window);
    ASSERT_LT(leftShown, leftBefore / 4) << "the window does not flow the text around the rectangle";
    ASSERT_GT(rightShown, 40);

    std::pair<int, int> previewed;
    OnNextDialog([&](QWidget* dialog) {
        auto* preview = dynamic_cast<CDlgPrintPreview*>(dialog);
        ASSERT_NE(preview, nullptr);
        const IntRect c = preview->CellImage(0, 0);
        const auto cell = [&c](int x, int y, int w, int h) {
            const double sx = (c.right - c.left) / 252.0, sy = (c.bottom - c.top) / 144.0;
            return QRect(c.left + int(x * sx), c.top + int(y * sy), int(w * sx), int(h * sy));
        };
        previewed = leftAndRight(preview->Pane()->grab().toImage(), cell);
        Reject()(dialog);
    });
    ASSERT_TRUE(Trigger("File > Print Preview..."));
    EXPECT_LT(previewed.first, 3) << "the preview shows the company line whole at its left";
    EXPECT_GT(previewed.second, 10);
}

// A return address with a counter over its frame's corner: after a print
// the window draws the card as before, every line in its place and the
// first flowing around the counter where it stands.
TEST_F(PrintJourney, AfterAPrintTheWindowDrawsTheCardAsBefore)
{
    constexpr uint32_t kObjectTool = 33284;
    constexpr uint32_t kTextTool = 33285;
    const std::string card = TempFile("return-address.lqx");
    ASSERT_TRUE(QFile::copy(TESSALINE_TEST_DATA_DIR "/print/return-address.lqx", QString::fromStdString(card)));
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    // The first two lines joined into one that reaches under the counter.
    ASSERT_TRUE(Trigger(kTextTool));
    Click(CardPoint(20, 10));
    Key(Qt::Key_End);
    Key(Qt::Key_Delete);
    Type(", ");
    // Nothing selected, as after the print.
    ASSERT_TRUE(Trigger(kObjectTool));
    Click(CardPoint(95, 110));
    const QRect label = CardRect(0, 0, 189, 72);
    const QImage shown = ViewPixels();
    const std::string pdf = TempFile("return-address.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
    EXPECT_EQ(Changed(shown, ViewPixels(), label), 0) << "the window draws the card otherwise after the print";
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

// The offsets of a record file's records, in the file's order.
std::vector<size_t> RecordOffsets(const std::string& bytes)
{
    std::vector<size_t> offsets;
    for (size_t at = kDbDataStart; at + dbrec::kHeadSize <= bytes.size();) {
        offsets.push_back(at);
        at += size_t(RecordLength(reinterpret_cast<const uint8_t*>(bytes.data() + at)));
    }
    return offsets;
}

class DamagedDatabasePrintJourney : public PrintJourney {
protected:
    // A database of 300 people open in its window, the sample card over it.
    void OpenCardOverPeople()
    {
        Tool("db new '" + db_ + "'");
        Tool("db fill '" + db_ + "' 300 --seed 3");
        OnNextDialog(ChooseFile(db_));
        ASSERT_TRUE(Trigger("File > Open > Database..."));
        ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
        alerts.clear();
    }

    // Prints every record to a PDF file, through the menu; the file.
    std::string PrintAll()
    {
        const std::string pdf = TempFile("people.pdf");
        QStringList bareAmpersands, printers;
        OnNextDialog(PrintToPdf(pdf, &bareAmpersands, &printers));
        EXPECT_TRUE(Trigger("File > Print > Document From Database..."));
        EXPECT_EQ(PendingDialogs(), 0u);
        return pdf;
    }

    const std::string db_ = TempFile("People.dqx");
};

// A database damaged behind the program's back (records far down the file
// lose their markers) is found when the print reaches them: the user hears
// the database message once, and no file of blank cards is left behind.
TEST_F(DamagedDatabasePrintJourney, ADamagedRecordStopsThePrintWithOneMessage)
{
    ASSERT_NO_FATAL_FAILURE(OpenCardOverPeople());
    // The window has shown (and holds) the first records; the others are
    // read when their cards print.
    std::string bytes = ReadFileBytes(db_);
    const std::vector<size_t> records = RecordOffsets(bytes);
    ASSERT_EQ(records.size(), 300u);
    for (size_t n = 200; n < 210; ++n)
        bytes[records[n]] = 'x';
    WriteFileBytes(db_, bytes);

    const std::string pdf = PrintAll();
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_EQ(alerts.lastText(), "People.dqx: Database is damaged. Please reopen the Database.");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf))) << "no blank cards are left behind";
}

// Records whose names changed behind the program's back no longer match
// their index: every card prints, and the user hears once that the index
// is damaged (it is built anew at the next open), not once per card.
TEST_F(DamagedDatabasePrintJourney, AStaleIndexIsReportedOnceAndEveryCardPrints)
{
    ASSERT_NO_FATAL_FAILURE(OpenCardOverPeople());
    std::string bytes = ReadFileBytes(db_);
    const std::vector<size_t> records = RecordOffsets(bytes);
    ASSERT_EQ(records.size(), 300u);
    // The first letter of each last name (the key the index is sorted by).
    int changed = 0;
    for (size_t n = 100; n < 300; n += 10) {
        const uint8_t* head = reinterpret_cast<const uint8_t*>(bytes.data() + records[n]);
        size_t body = records[n] + dbrec::kBodies;
        for (int32_t id = 0; id < kFieldLastName; ++id)
            body += head[dbrec::kLengths + id];
        if (head[dbrec::kLengths + kFieldLastName] == 0)
            continue;
        bytes[body] = bytes[body] == 'Q' ? 'R' : 'Q';
        ++changed;
    }
    ASSERT_GT(changed, 10);
    WriteFileBytes(db_, bytes);

    const std::string pdf = PrintAll();
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_EQ(alerts.lastText(), "[1]Index file is damaged. Please remove Index file and reopen the Database.");
    const std::string text = PdfText(pdf);
    if (text.empty())
        SKIP_FOR_MISSING_TOOL() << "pdftotext is needed";
    EXPECT_EQ(PagesOf(text), 30);
}

}  // namespace
