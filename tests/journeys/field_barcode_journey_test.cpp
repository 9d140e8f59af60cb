// A database field made a barcode: the ZIP code field chosen on the
// database tool bar and placed on the sample card, Object > Make Object a
// Barcode, Code 39 chosen in its Barcode Info, then every record printed to
// a PDF file; each card must carry bars that read back as its record's ZIP
// code.
#include <algorithm>

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include "app/main_frame.h"
#include "app/tool_bar_db.h"
#include "carddoc/labels_doc.h"
#include "app/child_frame.h"
#include "dialogs/barcode_info_dialog.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/object_info_dialog.h"
#include "dialogs/label_type_dlg.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "records/command_ids.h"
#include "records/label_stock.h"
#include "support/needed_tools.h"
#include "support/run_program.h"
#include "support/shell.h"
#include "journey_fixture.h"

namespace {

class FieldBarcodeJourney : public JourneyTest {
protected:
    // The ZIP code field placed by a click at the card point; the new frame.
    FrameObj* PlaceZipField(int x, int y)
    {
        QComboBox* fields = MainWindow()->DatabaseBar()->InsertFieldCombo();
        const int entry = fields->findText("ZipCode");
        EXPECT_GE(entry, 0);
        fields->setCurrentIndex(entry);
        Q_EMIT fields->activated(entry);
        Settle();
        CurrPageMng* pages = CardDocument()->PageManager();
        const int16_t before = pages->FrameCount();
        Click(CardPoint(x, y));
        Settle();
        if (pages->FrameCount() <= before)
            return nullptr;
        return pages->FrameAt(int16_t(pages->FrameCount() - 1));
    }

    // Blank 3.5 x 2 in cards, eight to the page, filled from the database
    // given; its ZIP code field placed on the card and made a barcode of the
    // kind named as Barcode Info lists it. The frame.
    // A new card of blank 3.5 x 2 in cards, eight to the page.
    CLabelsDoc* PlainCards()
    {
        return NewLabelSheet([](CDlgLabelType* type) {
            type->NameEdit()->setText("Plain cards");
            type->UnitsCombo()->setCurrentIndex(1);  // Inch
            type->WidthEdit()->setValue(3.5);
            type->HeightEdit()->setValue(2);
            type->AcrossEdit()->setValue(2);
            type->DownEdit()->setValue(4);
        });
    }

    FrameObj* ZipBarcodeCards(const std::string& database, const char* kind)
    {
        CLabelsDoc* sheet = PlainCards();
        EXPECT_NE(sheet, nullptr) << alerts.lastText();
        if (!sheet)
            return nullptr;
        const QString title = MainWindow()->ActiveChildFrame()->windowTitle();
        OnNextDialog(ChooseFile(database));
        EXPECT_TRUE(Trigger("File > Open > Database..."));
        EXPECT_TRUE(ChooseWindow(title.left(8)));
        MaximizeCardWindow();
        FrameObj* zip = PlaceZipField(16, 16);
        EXPECT_NE(zip, nullptr) << "no field was placed";
        if (!zip)
            return nullptr;
        EXPECT_EQ(zip->GetType(), kFrameFieldBarcode);
        EXPECT_TRUE(Trigger(kCmdBarcodeMark));
        EXPECT_TRUE(Checked(kCmdBarcodeMark));
        OnNextDialog([kind](QWidget* dialog) {
            auto* info = dynamic_cast<CDlgBarcodeInfo*>(dialog);
            ASSERT_NE(info, nullptr);
            info->TypeCombo()->setCurrentIndex(info->TypeCombo()->findText(kind));
            Accept()(dialog);
        });
        EXPECT_TRUE(Trigger(kCmdPlaceBarcode));
        Settle();
        return zip;
    }

    // What zbarimg reads on the PDF's pages at 300 dots an inch, one code a
    // line.
    std::string Decoded(const std::string& pdf)
    {
        const std::string prefix = TempFile("page");
        const ProgramRun render = RunProgramFor("pdftoppm", {"-r", "300", "-png", pdf, prefix});
        EXPECT_TRUE(render.ok) << render.failure;
        std::vector<std::string> pages;
        for (const QString& name : QDir(QString::fromStdString(TempFile(""))).entryList({"page*.png"}, QDir::Files))
            pages.push_back(TempFile(name.toStdString()));
        std::vector<std::string> arguments{"-q", "--raw"};
        arguments.insert(arguments.end(), pages.begin(), pages.end());
        return RunProgramFor("zbarimg", arguments).out;
    }
};

TEST_F(FieldBarcodeJourney, AFieldMadeABarcodePrintsBarsOfEachRecord)
{
    if (!HaveTool("pdftoppm") || !HaveTool("zbarimg"))
        SKIP_FOR_MISSING_TOOL() << "pdftoppm and zbarimg read the printed bars back";
    FrameObj* zip = ZipBarcodeCards(CopySample("Contacts.dqx"), "Code39");
    ASSERT_NE(zip, nullptr);
    ASSERT_FALSE(HasFailure());

    // On the card the frame still shows what it holds, at a size that can
    // be seen and picked.
    const FramePlacement shown = zip->Block().attr.geometry;
    EXPECT_GE(shown.width, 40);
    EXPECT_GE(shown.height, 9);

    const std::string pdf = TempFile("zip.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    Settle(100);
    const std::string codes = Decoded(pdf);
    for (const char* code : {"62701", "04101", "53703", "69001", "78701"})
        EXPECT_NE(codes.find(code), std::string::npos) << code << " not among:\n" << codes;
    EXPECT_EQ(codes.find("Barcoded"), std::string::npos) << codes;
}

// A barcode placed with Object > Place Barcode and made an ISBN in its
// Barcode Info, the prefix list left as it came: the book's number prints
// with the prefix of books (978), not of serials (977), and scans as the
// number on the book.
TEST_F(FieldBarcodeJourney, AnIsbnMadeInBarcodeInfoPrintsWithTheBooksPrefix)
{
    if (!HaveTool("pdftoppm") || !HaveTool("zbarimg"))
        SKIP_FOR_MISSING_TOOL() << "pdftoppm and zbarimg read the printed bars back";
    ASSERT_NE(PlainCards(), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    OnNextDialog([](QWidget* dialog) {
        auto* info = dynamic_cast<CDlgBarcodeInfo*>(dialog);
        ASSERT_NE(info, nullptr);
        QComboBox* type = info->TypeCombo();
        const int isbn = type->findText("ISBN");
        type->setCurrentIndex(isbn);
        Q_EMIT type->activated(isbn);
        info->DataEdit()->setText("030640615");
        Accept()(dialog);
    });
    ASSERT_TRUE(Trigger("Object > Place Barcode"));
    Click(CardPoint(16, 16));
    Settle();

    const std::string pdf = TempFile("isbn.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle(100);
    const std::string codes = Decoded(pdf);
    EXPECT_NE(codes.find("9780306406157"), std::string::npos) << codes;
    EXPECT_EQ(codes.find("977"), std::string::npos) << codes;
}

// A tracking number's Code 128 set low on its card with Object Info: its
// digits end just above the card's bottom edge, the blank below them just
// past it. Nothing is cut and nothing is said, and every card scans; moved
// further down, the edge cuts its digits and bars, and the print says so.
TEST_F(FieldBarcodeJourney, ABarcodeIsSaidCutOnlyWhenTheEdgeCutsItsInk)
{
    if (!HaveTool("pdftoppm") || !HaveTool("zbarimg"))
        SKIP_FOR_MISSING_TOOL() << "pdftoppm and zbarimg read the printed bars back";
    ASSERT_NE(PlainCards(), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    OnNextDialog([](QWidget* dialog) {
        auto* info = dynamic_cast<CDlgBarcodeInfo*>(dialog);
        ASSERT_NE(info, nullptr);
        QComboBox* type = info->TypeCombo();
        const int code128 = type->findText("Code128");
        ASSERT_GE(code128, 0);
        type->setCurrentIndex(code128);
        Q_EMIT type->activated(code128);
        info->DataEdit()->setText("9400111202555842");
        Accept()(dialog);
    });
    ASSERT_TRUE(Trigger("Object > Place Barcode"));
    Click(CardPoint(16, 16));
    Settle();
    const IntRect card = CardDocument()->PageGeometry().slots[0];
    // The barcode chosen with a click on its bars, then moved down with
    // Object Info until its frame's bottom stands `past` points below the
    // card's. (A print opens the page again: its frames are new.)
    const auto moveDownPast = [&](int past) {
        CurrPageMng* pages = CardDocument()->PageManager();
        FrameObj* code = pages->FrameAt(int16_t(pages->FrameCount() - 1));
        FramePlacement g = code->Block().attr.geometry;
        Click(CardPoint(g.x - card.left + 20, g.y - card.top + 12));
        Settle();
        const int by = card.bottom + past - (g.y + g.height);
        OnNextDialog([by](QWidget* dialog) {
            auto* info = dynamic_cast<CDlgObjectInfo*>(dialog);
            ASSERT_NE(info, nullptr);
            const int points = info->Units()->findText("Points");
            info->Units()->setCurrentIndex(points);
            Q_EMIT info->Units()->activated(points);
            const double down = info->OriginDown()->text().toDouble() + by;
            info->OriginDown()->selectAll();
            QTest::keyClicks(info->OriginDown(), QString::number(down));
            info->accept();
        });
        ASSERT_TRUE(Trigger("Object > Object Info..."));
        Settle();
        g = code->Block().attr.geometry;
        ASSERT_EQ(g.y + g.height, card.bottom + past);
    };
    const std::string pdf = TempFile("tracking.pdf");
    const auto print = [&] {
        alerts.clear();
        OnNextDialog(PrintToPdfFile(pdf));
        ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        Settle(100);
    };
    // The cards whose bars zbarimg reads, each card's cell read alone (it
    // reports a code seen twice on one page once).
    LabelTypeRecord sheet;
    LabelTypeDecode(CardDocument()->LabelLayout(), &sheet);
    const auto scanned = [&] {
        int n = 0;
        for (int row = 0; row < sheet.rows; ++row) {
            for (int column = 0; column < sheet.columns; ++column) {
                const auto dots = [](double points) { return std::to_string(int(points * 300 / 72)); };
                const double x = sheet.leftMargin + column * (sheet.cardWidth + sheet.horizontalSpacing);
                const double y = sheet.topMargin + row * (sheet.cardHeight + sheet.verticalSpacing);
                const std::string cell = TempFile("cell");
                RunProgramFor("pdftoppm", {"-r", "300", "-f", "1", "-l", "1", "-singlefile", "-png", "-x", dots(x), "-y",
                                           dots(y), "-W", dots(sheet.cardWidth), "-H", dots(sheet.cardHeight), pdf,
                                           cell});
                n += RunProgramFor("zbarimg", {"-q", "--raw", cell + ".png"}).out == "9400111202555842\n";
            }
        }
        return n;
    };

    moveDownPast(7);
    print();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_EQ(scanned(), 8);

    moveDownPast(30);
    print();
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_EQ(alerts.lastText(), "8 barcodes run past their label and were cut; a scanner can't read them. The first "
                                 "holds \"9400111202555842\".");
}

// A shop's price tags: 20 products whose ZIP code field holds the EAN-13
// printed on each pack, with its check digit; three of them (the 4th, 10th
// and 16th) were typed with a wrong one. Printed from the window, the job
// says once how many barcodes it could not make, the first record and why;
// the 17 others scan. The card printed by the tool says the same and exits
// with status 2, which its help names.
TEST_F(FieldBarcodeJourney, APrintWithWrongCheckDigitsSaysSoOnceAndTheOtherCodesScan)
{
    if (!HaveTool("pdftoppm") || !HaveTool("zbarimg"))
        SKIP_FOR_MISSING_TOOL() << "pdftoppm and zbarimg read the printed bars back";
    std::string rows;
    std::vector<std::string> good;
    for (int i = 0; i < 20; ++i) {
        std::string code = "4006381" + std::to_string(33393 + i);
        int sum = 0;
        for (int k = 0; k < 12; ++k)
            sum += (code[size_t(k)] - '0') * (k % 2 ? 3 : 1);
        int check = (10 - sum % 10) % 10;
        const bool wrong = i == 3 || i == 9 || i == 15;
        if (!wrong)
            good.push_back(code + char('0' + check));
        code += char('0' + (wrong ? (check + 1) % 10 : check));
        rows += "Item" + std::to_string(i + 1) + "\tShop\t\t\t1 Mill Lane\t\tSpringfield\tIL\t" + code + "\r\n";
    }
    const std::string text = TempFile("tags.txt");
    WriteFileBytes(text, rows);
    const std::string db = TempFile("tags.dqx");
    Tool("db new '" + db + "'");
    Tool("dbdoc import '" + db + "' '" + text + "' --delimiter 2");

    ASSERT_NE(ZipBarcodeCards(db, "EAN 13"), nullptr);
    ASSERT_FALSE(HasFailure());
    alerts.clear();

    const std::string pdf = TempFile("tags.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    Settle(100);
    const std::string said =
        "3 barcodes could not be made; each printed as a box saying \"Incorrect Data\". The first, on the card of "
        "record 4, holds \"4006381333963\": the check digit 3 is wrong: it should be 2.";
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_EQ(alerts.lastText(), said);
    const std::string codes = Decoded(pdf);
    int read = 0;
    for (const std::string& code : good)
        read += codes.find(code) != std::string::npos;
    EXPECT_EQ(read, 17) << codes;
    EXPECT_EQ(std::count(codes.begin(), codes.end(), '\n'), 17) << codes;

    const std::string card = TempFile("tags.lqx");
    OnNextDialog(ChooseFile(card));
    ASSERT_TRUE(Trigger("File > Save As..."));
    ASSERT_TRUE(Trigger("File > Close"));
    // The window holds the database open: the tool reads a copy.
    const std::string copy = TempFile("tags-copy.dqx");
    WriteFileBytes(copy, ReadFileBytes(db));
    bool ok = true;
    const std::string printed = CommandOutput(
        "LC_ALL=C '" + ToolPath() + "' print-pdf '" + card + "' '" + copy + "' '" + TempFile("tool.pdf") +
            "' 2>&1; echo \"status $?\"",
        &ok);
    EXPECT_NE(printed.find(said), std::string::npos) << printed;
    EXPECT_NE(printed.find("status 2"), std::string::npos) << printed;
    EXPECT_NE(Tool("--help").find("exit status 2: written, but a barcode could not be made"), std::string::npos);
}

}  // namespace
