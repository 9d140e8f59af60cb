// Printing the sample card filled from the sample database: File > Open
// the card and the database, then File > Print > Document From
// Database... to a PDF file, and read what the cards say.
#include <regex>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/main_frame.h"
#include "app/tool_bar_db.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "carddoc/print_preview_dialog.h"
#include "dbdoc/brs_list_box.h"
#include "dbdoc/cdb_document.h"
#include "dbdoc/view_browser.h"
#include "dialogs/print_dialog.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "records/command_ids.h"
#include "journey_fixture.h"

namespace {

constexpr uint32_t kTextTool = 33285;
constexpr uint32_t kCentreLines = 33264;
constexpr uint32_t kPreviewTool = 33297;

class MergeFieldsJourney : public JourneyTest {
protected:
    void OpenCard() { ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText(); }

    // File > Open > Database..., then the card's window again.
    void OpenDatabase()
    {
        OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
        ASSERT_TRUE(Trigger("File > Open > Database..."));
        ASSERT_TRUE(ChooseWindow("Business Card.lqx"));
        ASSERT_NE(CardView(), nullptr);
    }

    // Prints every record through the Print dialog into a PDF file.
    void PrintToPdf(const std::string& pdf)
    {
        OnNextDialog(PrintToPdfFile(pdf));
        EXPECT_TRUE(Trigger("File > Print > Document From Database..."));
        Settle(100);
    }

    // Where a line of the address frame (the card's third text frame) is
    // on the view: x just inside its left edge.
    QPoint AddressLine(int line)
    {
        const IntRect slot = CardDocument()->PageGeometry().slots[0];
        return ViewPoint(IntPoint{slot.left + 16, slot.top + 101 + 11 * line});
    }
};

TEST_F(MergeFieldsJourney, AnEmptyFieldPrintsNothingAndTheNextCardStillHasItsField)
{
    OpenCard();
    OpenDatabase();
    const std::string pdf = TempFile("cards.pdf");
    PrintToPdf(pdf);
    const std::string text = PdfText(pdf);
    ASSERT_FALSE(text.empty());
    // Claire Duval has no State: her card says nothing where it stands, not
    // the field's name; the records before and after keep theirs.
    EXPECT_NE(text.find("Lyon, 69001"), std::string::npos) << text;
    EXPECT_EQ(text.find("State"), std::string::npos) << text;
    EXPECT_NE(text.find("Portland, ME 04101"), std::string::npos);
    EXPECT_NE(text.find("Austin, TX 78701"), std::string::npos);
    EXPECT_NE(text.find("Tel. 303-555-0107"), std::string::npos);

    // Back on the screen the card shows the field again, and saved it keeps
    // all three fields of that line.
    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string dump = Tool("card dump '" + TempFile("Business Card.lqx") + "'");
    EXPECT_NE(dump.find("[field 9 at "), std::string::npos) << dump;
    EXPECT_NE(dump.find("[field 10 at "), std::string::npos) << dump;
}

TEST_F(MergeFieldsJourney, BoldAppliedInsideAFieldCoversEveryValueWhole)
{
    OpenCard();
    MaximizeCardWindow();
    // The first line of the address frame holds the Address1 field alone;
    // without a database it shows a stand-in shorter than most addresses.
    // Two letters inside it are made bold.
    DoubleClick(AddressLine(0));
    Click(AddressLine(0));
    Key(Qt::Key_Home);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_TRUE(Trigger("Text > Style > Bold"));

    OpenDatabase();
    const std::string pdf = TempFile("bold.pdf");
    PrintToPdf(pdf);
    const std::string xml = PdfXml(pdf);
    ASSERT_FALSE(xml.empty());
    for (const char* address : {"12 Mill Lane", "400 Dock Street", "Hauptstrasse 9", "1 Library Square"})
        EXPECT_NE(xml.find(std::string("<b>") + address + "</b>"), std::string::npos) << address << "\n" << xml;
    // Nothing else on those lines turned bold.
    EXPECT_NE(xml.find(">Springfield, IL 62701<"), std::string::npos) << xml;
}

TEST_F(MergeFieldsJourney, BoldOverFieldsAndTypedTextShowsAtOnceAndPrints)
{
    OpenCard();
    MaximizeCardWindow();
    // The address frame's second line: three fields with a comma and
    // spaces typed between them, selected whole.
    ASSERT_TRUE(Trigger("View > View Size > 200%"));
    ASSERT_TRUE(Trigger(kTextTool));
    Click(AddressLine(1));
    Key(Qt::Key_Home);
    Key(Qt::Key_End, Qt::ShiftModifier);
    const QImage selected = ViewPixels();
    Key(Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    // The line, 11 points high in the address frame at (14, 96).
    const QRect area = CardRect(14, 107, 154, 11);
    EXPECT_GT(Changed(selected, ViewPixels(), area), 100) << "the bold line is not on the screen";

    OpenDatabase();
    const std::string pdf = TempFile("mixed.pdf");
    PrintToPdf(pdf);
    const std::string xml = PdfXml(pdf);
    ASSERT_FALSE(xml.empty());
    for (const char* city : {"<b>Springfield, IL 62701</b>", "<b>Portland, ME 04101</b>", "<b>Lyon,  69001</b>"})
        EXPECT_NE(xml.find(city), std::string::npos) << city << "\n" << xml;
    EXPECT_NE(xml.find(">12 Mill Lane<"), std::string::npos) << xml;
}

TEST_F(MergeFieldsJourney, OnlyAPictureFileThatIsMissingIsReportedByNameAndRecord)
{
    OpenCard();
    OpenDatabase();
    MaximizeCardWindow();
    // A frame for the records' pictures, chosen on the database tool bar
    // and drawn right of the name.
    QComboBox* fields = MainWindow()->DatabaseBar()->InsertFieldCombo();
    const int entry = fields->findText("Picture");
    ASSERT_GE(entry, 0);
    fields->setCurrentIndex(entry);
    Q_EMIT fields->activated(entry);
    Settle();
    CurrPageMng* pages = CardDocument()->PageManager();
    const int16_t before = pages->FrameCount();
    Drag(CardPoint(188, 60), {CardPoint(200, 70), CardPoint(244, 98)});
    Settle();
    ASSERT_GT(pages->FrameCount(), before) << "no picture frame was drawn";
    ASSERT_EQ(pages->FrameAt(int16_t(pages->FrameCount() - 1))->GetType(), kFramePicture);

    // No contact names a picture: nothing is missing.
    alerts.clear();
    PrintToPdf(TempFile("none.pdf"));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // One contact names a file that is not there.
    ASSERT_TRUE(ChooseWindow("Contacts.dqx"));
    CDBDocument* contacts = DatabaseDocument();
    ASSERT_NE(contacts, nullptr);
    contacts->SelectRow(3);
    const std::string name =
        contacts->FieldEdit(0)->text().toStdString() + " " + contacts->FieldEdit(1)->text().toStdString();
    QLineEdit* picture = contacts->FieldEdit(14);
    picture->setFocus();
    Type("/nowhere/p040.jpg", picture);
    Key(Qt::Key_Return, Qt::NoModifier, picture);
    ASSERT_TRUE(ChooseWindow("Business Card.lqx"));
    alerts.clear();
    PrintToPdf(TempFile("one.pdf"));
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_EQ(alerts.lastText(), "The picture \"/nowhere/p040.jpg\" of the record of " + name +
                                     " could not be drawn (its file is missing or can't be read); the cards printed "
                                     "without it.");
}

// A card whose letter holds the FirstName field twice in a row, merged with
// records of which the first has no first name (and a company name long
// enough to fill its frame): each card shows its own record, whatever the
// card before it held, in the print and in Print Preview.
TEST_F(MergeFieldsJourney, EveryCardShowsItsOwnRecordWhateverTheCardBeforeHeld)
{
    const std::string card = TempFile("field-twice.lqx");
    ASSERT_TRUE(QFile::copy(TESSALINE_TEST_DATA_DIR "/print/field-twice.lqx", QString::fromStdString(card)));
    const std::string records = TempFile("Names.dqx");
    const std::string text = TempFile("names.txt");
    WriteFileBytes(text, "\tAardvark\tCEO\tAardvark-Longname-Featherstonehaugh-Holdings-Ltd.X\tAddr1\r\n"
                         "Ada\tAbbott\tOwner\tBakery\t12 Mill Lane\r\n"
                         "Bruno\tBarros\tBuyer\tHarbor\t400 Dock\r\n");
    Tool("db new '" + records + "'");
    Tool("dbdoc import '" + records + "' '" + text + "' --delimiter 2");

    // The tool's print and the window's.
    const std::string printed = TempFile("tool.pdf");
    Tool("print-pdf '" + card + "' '" + records + "' '" + printed + "'");
    for (const std::string& pdf : {printed, TempFile("window.pdf")}) {
        if (pdf != printed) {
            ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
            OnNextDialog(ChooseFile(records));
            ASSERT_TRUE(Trigger("File > Open > Database..."));
            ASSERT_TRUE(ChooseWindow("field-twice.lqx"));
            // The letter is on the card's back.
            OnNextDialog([&](QWidget* dialog) {
                if (auto* print = dynamic_cast<CDlgPrint*>(dialog))
                    print->BackButton()->click();
                PrintToPdfFile(pdf)(dialog);
            });
            EXPECT_TRUE(Trigger("File > Print > Document From Database..."));
            Settle(100);
        }
        const std::string said = PdfText(pdf);
        EXPECT_NE(said.find("Dear at Addr1"), std::string::npos) << said;
        EXPECT_NE(said.find("Dear AdaAda at"), std::string::npos) << said;
        EXPECT_NE(said.find("Dear BrunoBruno at"), std::string::npos) << said;
    }

    // The company's name centred in its frame.
    ASSERT_TRUE(Trigger(kTextTool));
    Click(CardPoint(100, 26));
    ASSERT_TRUE(Trigger(kCentreLines));
    // Print Preview's one-card view (a sheet holds two of these cards):
    // each card looks the same whichever card was shown before it.
    std::vector<QImage> shown;
    OnNextDialog([&](QWidget* dialog) {
        auto* preview = dynamic_cast<CDlgPrintPreview*>(dialog);
        ASSERT_NE(preview, nullptr);
        const auto grab = [&] { shown.push_back(preview->Pane()->grab().toImage()); };
        preview->SetOneCardView(true);
        grab();
        EXPECT_TRUE(preview->OnNext());
        grab();
        grab();
        EXPECT_TRUE(preview->OnPrevious());
        grab();
        grab();
        Reject()(dialog);
    });
    ASSERT_TRUE(Trigger("File > Print Preview..."));
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_NE(shown[0], shown[1]);
    EXPECT_TRUE(shown[1] == shown[2]) << "card 2 differs as reached from card 1 and shown again";
    EXPECT_TRUE(shown[0] == shown[3]) << "card 1 differs as shown first and reached from card 2";
    EXPECT_TRUE(shown[3] == shown[4]);
}

TEST_F(MergeFieldsJourney, TheCardFollowsTheRecordTheDatabaseWindowMovesTo)
{
    OpenCard();
    OpenDatabase();
    // The Preview tool turns the name frame to the current record's name.
    ASSERT_TRUE(Trigger(kPreviewTool));
    Click(CardPoint(100, 78));
    CLabelsView* card = CardView();
    const QRect name = CardRect(14, 62, 166, 32);
    const auto shown = [this, card] {
        Settle();
        return card->Surface().copy();
    };
    ASSERT_TRUE(ChooseWindow("Contacts.dqx"));
    CDBDocument* contacts = DatabaseDocument();
    ASSERT_NE(contacts, nullptr);
    const QImage first = shown();

    // Next, then a click in the list: the card shows each record at once,
    // with its own window left behind the database's.
    ASSERT_TRUE(Trigger(kCmdNextRecord));
    const QImage next = shown();
    EXPECT_GT(Changed(first, next, name), 50) << "the card still shows the first record";
    CBrsListBox* list = contacts->Browser()->List();
    QRect row;
    ASSERT_TRUE(list->GetRowRect(3, &row));
    Click(row.center(), Qt::NoModifier, list);
    ASSERT_EQ(contacts->CurrentRow(), 3);
    const QImage clicked = shown();
    EXPECT_GT(Changed(next, clicked, name), 50) << "the card still shows the second record";
    // A query that finds nobody leaves no record current.
    OnNextDialog(LastNameContains("Nobody"));
    ASSERT_TRUE(Trigger("Database > Query..."));
    ASSERT_EQ(contacts->Browser()->List()->RowCount(), 0);
    const QImage none = shown();
    EXPECT_GT(Changed(clicked, none, name), 50) << "the card still shows the record the query left";

    // What it shows is what its window shows once it is active again.
    ASSERT_TRUE(ChooseWindow("Business Card.lqx"));
    EXPECT_EQ(Changed(none, ViewPixels(), name), 0);
}

}  // namespace
