// File > Document Setup... on a card: the Document Settings dialog offers
// the document formats of the wizard's catalogue after the two built-in
// layouts, and choosing one gives the card that format. The paper and
// orientation chosen for the sheet, there or in Print Setup, are the card's
// after it is saved and opened again; a sheet that does not fit its paper
// is not printed without a word.
#include <filesystem>
#include <regex>
#include <set>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "dialogs/label_type_dlg.h"
#include "dialogs/label_type_list.h"
#include "dialogs/page_setup_dlg.h"
#include "foundation/paper_table.h"
#include "foundation/program_folder.h"
#include "journey_fixture.h"
#include "legal_sheet.h"
#include "support/fake_printer_caps.h"
#include "support/run_program.h"
#include "support/shell.h"

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

    // Document Setup with the Legal 3x14 sheet typed in, on `paper`.
    void TypeTheLegalSheet(const QString& paper)
    {
        OnNextDialog(TypeTheLegalSheetInto(paper));
        ASSERT_TRUE(Trigger("File > Document Setup..."));
    }
    // What Document Setup shows for the sheet's paper and orientation
    // (Cancel).
    void ShownPage(QString* paper, int* orientation)
    {
        OnNextDialog([paper, orientation](QWidget* dialog) {
            if (auto* settings = dynamic_cast<CDlgLabelType*>(dialog)) {
                *paper = settings->PaperCombo()->currentText();
                for (int i = 0; i < 3; ++i)
                    if (settings->OrientationButton(i)->isChecked())
                        *orientation = i;
            }
            Reject()(dialog);
        });
        ASSERT_TRUE(Trigger("File > Document Setup..."));
    }
    // pdfinfo's page size of the file, as "612 x 1008".
    static std::string PageSize(const std::string& pdf)
    {
        const ProgramRun run = RunProgramFor("pdfinfo", {pdf});
        EXPECT_TRUE(run.ok) << run.failure;
        std::smatch size;
        return std::regex_search(run.out, size, std::regex("Page size: +([0-9.]+ x [0-9.]+) pts")) ? size[1].str()
                                                                                                   : run.out;
    }
    // The rows of cards on the first page: the heights at which the word
    // "Company" of the card's head stands, and how often it stands there.
    static size_t RowsPrinted(const std::string& pdf, size_t* cards)
    {
        const ProgramRun run = RunProgramFor("pdftotext", {"-f", "1", "-l", "1", "-bbox", pdf, "-"});
        EXPECT_TRUE(run.ok) << run.failure;
        std::set<std::string> heights;
        *cards = 0;
        const std::regex word("yMin=\"([0-9.]+)\"[^>]*>Company<");
        for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), word); it != std::sregex_iterator(); ++it) {
            heights.insert((*it)[1].str());
            ++*cards;
        }
        return heights.size();
    }
    // The sheet printed from the window into a PDF file: its page size, and
    // all 3 x 14 cards on it.
    void ExpectTheWholeLegalSheet(const std::string& name)
    {
        const std::string pdf = TempFile(name);
        OnNextDialog(PrintToPdfFile(pdf));
        ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        EXPECT_EQ(PageSize(pdf), "612 x 1008");
        size_t cards = 0;
        EXPECT_EQ(RowsPrinted(pdf, &cards), 14u) << name;
        EXPECT_EQ(cards, 42u) << name;
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

TEST_F(DocumentSettingsJourney, ATypedLegalSheetKeepsItsPaperAndOrientationWhenOpenedAgain)
{
    const std::string card = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    ASSERT_NO_FATAL_FAILURE(TypeTheLegalSheet("Legal"));
    ASSERT_NO_FATAL_FAILURE(ExpectTheWholeLegalSheet("before.pdf"));

    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    QString paper;
    int orientation = -1;
    ASSERT_NO_FATAL_FAILURE(ShownPage(&paper, &orientation));
    EXPECT_TRUE(paper.startsWith("Legal")) << paper.toStdString();
    EXPECT_EQ(orientation, 1);
    ASSERT_NO_FATAL_FAILURE(ExpectTheWholeLegalSheet("after.pdf"));
    alerts.forget(kCutBarcodesNotice);  // the sample's barcode is wider than these labels
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // The tool prints the saved card on Legal too, in PDF and PostScript.
    // (Printing leaves the card marked changed: its question is answered No.)
    OnNextDialog(AnswerNo());
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string pdf = TempFile("tool.pdf"), ps = TempFile("tool.ps");
    // Exit 2: the barcode cut at the label's edge is said.
    Tool("print-pdf '" + card + "' '" + pdf + "'; test $? = 2");
    EXPECT_EQ(PageSize(pdf), "612 x 1008");
    size_t cards = 0;
    EXPECT_EQ(RowsPrinted(pdf, &cards), 14u);
    Tool("print-ps '" + card + "' '" + ps + "'; test $? = 2");
    EXPECT_NE(ReadFileBytes(ps).find("%%BoundingBox: 0 0 612 1008"), std::string::npos);
}

TEST_F(DocumentSettingsJourney, AnOpenSheetKeepsTheLandscapeChosenForItWhenOpenedAgain)
{
    // Address Labels leave paper and orientation to the card's page
    // set-up; without a printer, Print Setup chooses that page.
    FakePrinterCaps none;
    none.installed = false;
    const std::string card = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    OnNextDialog([](QWidget* dialog) {
        auto* settings = dynamic_cast<CDlgLabelType*>(dialog);
        const int index = settings ? settings->FormatCombo()->findText("Address Labels") : -1;
        if (index < 2) {
            ADD_FAILURE() << "no Address Labels";
            Reject()(dialog);
            return;
        }
        settings->FormatCombo()->setCurrentIndex(index);
        Q_EMIT settings->FormatCombo()->activated(index);
        EXPECT_TRUE(settings->OrientationButton(0)->isChecked());
        settings->accept();
    });
    ASSERT_TRUE(Trigger("File > Document Setup..."));
    auto chooseLandscape = [](QWidget* dialog) {
        auto* page = dynamic_cast<CDlgPageSetup*>(dialog);
        if (!page) {
            ADD_FAILURE() << "the Page Setup dialog was expected";
            Reject()(dialog);
            return;
        }
        EXPECT_TRUE(page->LandscapeButton()->isEnabled());
        page->LandscapeButton()->click();
        Accept()(dialog);
    };
    OnNextDialog(chooseLandscape);
    ASSERT_TRUE(Trigger("File > Print Setup..."));

    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    bool landscape = false;
    OnNextDialog([&landscape](QWidget* dialog) {
        if (auto* page = dynamic_cast<CDlgPageSetup*>(dialog))
            landscape = page->LandscapeButton()->isChecked();
        Reject()(dialog);
    });
    ASSERT_TRUE(Trigger("File > Page Setup..."));
    EXPECT_TRUE(landscape);
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string dump = Tool("card dump '" + card + "'");
    EXPECT_NE(dump.find("page: layout orientation 0 paper 0, own orientation 2 paper 1"), std::string::npos) << dump;
}

TEST_F(DocumentSettingsJourney, ASheetThatDoesNotFitItsPaperIsNotPrintedWithoutAWord)
{
    // The Legal sheet on Letter: its last three rows are off the paper.
    const std::string card = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    ASSERT_NO_FATAL_FAILURE(TypeTheLegalSheet("Letter"));

    // The window asks first; Cancel prints nothing.
    const std::string pdf = TempFile("letter.pdf");
    alerts.answer(kIdCancel);
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_NE(alerts.lastText().find("\"Legal 3x14\" does not fit the Letter paper (612 x 792 points)"),
              std::string::npos)
        << alerts.lastText();
    EXPECT_NE(alerts.lastText().find("rows 12 to 14"), std::string::npos) << alerts.lastText();
    EXPECT_FALSE(std::filesystem::exists(pdf));
    // OK prints what fits.
    alerts.clear();
    alerts.answer(kIdOk);
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    alerts.forget(kCutBarcodesNotice);
    EXPECT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(PageSize(pdf), "612 x 792");

    // The tool refuses, says why and fails, and writes nothing.
    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    for (const char* command : {"print-pdf", "print-ps"}) {
        const std::string out = TempFile(std::string("tool.") + command);
        bool ok = true;
        const std::string said =
            CommandOutput("LC_ALL=C '" + ToolPath() + "' " + command + " '" + card + "' '" + out + "' 2>&1", &ok);
        EXPECT_FALSE(ok) << command;
        EXPECT_NE(said.find("rows 12 to 14"), std::string::npos) << said;
        EXPECT_NE(said.find("nothing is printed"), std::string::npos) << said;
        EXPECT_FALSE(std::filesystem::exists(out)) << command;
    }
}

}  // namespace

// On a German desktop the point is a thousands mark to Qt's boxes: the
// sheet's lengths typed with points, or with commas, are the same lengths.
TEST_F(DocumentSettingsJourney, LengthsTypedWithAPointOrACommaReadAlikeOnAGermanDesktop)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string card = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    ASSERT_NO_FATAL_FAILURE(TypeTheLegalSheet("Legal"));
    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    std::string dump = Tool("card dump '" + card + "'");
    EXPECT_NE(dump.find("card: 189 x 72 points"), std::string::npos) << dump.substr(0, 800);

    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    QString width;
    OnNextDialog([&width](QWidget* dialog) {
        auto* settings = dynamic_cast<CDlgLabelType*>(dialog);
        ASSERT_NE(settings, nullptr);
        width = settings->WidthEdit()->text();
        QLineEdit* line = settings->WidthEdit()->findChild<QLineEdit*>();
        line->selectAll();
        QTest::keyClicks(line, QStringLiteral("3,75"));
        QTest::keyClick(line, Qt::Key_Tab);
        line->selectAll();
        QTest::keyClicks(line, QStringLiteral("1.000"));  // no thousands mark: a length of one
        QTest::keyClick(line, Qt::Key_Tab);
        settings->accept();
    });
    ASSERT_TRUE(Trigger("File > Document Setup..."));
    QLocale::setDefault(before);
    EXPECT_EQ(width, "2,625");
    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    dump = Tool("card dump '" + card + "'");
    EXPECT_NE(dump.find("card: 72 x 72 points"), std::string::npos) << dump.substr(0, 800);
}

// A layout's name is kept only while the sheet is that layout: a grid of
// the user's own is not shown under the name of the sheet it replaced.
TEST_F(DocumentSettingsJourney, ASheetChangedByHandNoLongerCarriesItsFormatsName)
{
    const std::string card = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    int across = 0;
    OnNextDialog([&across](QWidget* dialog) {
        auto* settings = dynamic_cast<CDlgLabelType*>(dialog);
        ASSERT_NE(settings, nullptr);
        EXPECT_EQ(settings->FormatCombo()->currentText(), "Laser Tessaline #5371");
        // Chosen from the list, as the box does when it is left with a
        // format's name in it.
        if (const int listed = settings->FormatCombo()->findText("Laser Tessaline #5371"); listed >= 0)
            settings->FormatCombo()->setCurrentIndex(listed);
        across = settings->AcrossEdit()->value() + 1;
        settings->AcrossEdit()->setValue(across);
        settings->accept();
    });
    ASSERT_TRUE(Trigger("File > Document Setup..."));
    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string dump = Tool("card dump '" + card + "'");
    EXPECT_EQ(dump.find("Laser Tessaline #5371"), std::string::npos) << dump.substr(0, 800);
    EXPECT_NE(dump.find("label layout: Custom " + std::to_string(across) + "x"), std::string::npos)
        << dump.substr(0, 800);
}

// A length typed with two marks is no length: on a German desktop neither
// "1.234,5" nor "1,234.5" is taken as another number. Each is refused with
// a word and the width from before the typing comes back, with Tab as with
// Enter; nor is a length below the least one read without its point.
TEST_F(DocumentSettingsJourney, ALengthTypedWithTwoDecimalMarksIsRefusedAndTheOldOneKept)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string card = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    QString width;
    std::vector<QString> shown;
    bool stayed = false;
    QString selected;
    OnNextDialog([&](QWidget* dialog) {
        auto* settings = dynamic_cast<CDlgLabelType*>(dialog);
        ASSERT_NE(settings, nullptr);
        QDoubleSpinBox* box = settings->WidthEdit();
        width = box->text();
        const auto enter = [&](const char* typed, Qt::Key key) {
            box->setFocus();
            box->selectAll();
            Type(QString::fromLatin1(typed), box);
            Key(key, Qt::NoModifier, box);
            shown.push_back(box->text());
        };
        enter("1.234,5", Qt::Key_Tab);
        enter("3,75", Qt::Key_Tab);
        enter("0.005", Qt::Key_Tab);
        enter("1,234.5", Qt::Key_Tab);
        // A step of the arrows, then two marks with Enter, twice.
        Key(Qt::Key_Up, Qt::NoModifier, box);
        enter("1..5", Qt::Key_Return);
        selected = box->findChild<QLineEdit*>()->selectedText();
        Key(Qt::Key_Up, Qt::NoModifier, box);
        enter("2,,5", Qt::Key_Return);
        stayed = settings->isVisible();
        enter("4,5", Qt::Key_Return);
    });
    ASSERT_TRUE(Trigger("File > Document Setup..."));
    QLocale::setDefault(before);
    EXPECT_EQ(width, "3,5");
    EXPECT_EQ(shown, (std::vector<QString>{"3,5", "3,75", "3,75", "3,75", "3,76", "3,77", "4,5"}));
    EXPECT_EQ(selected, "3,76");
    EXPECT_TRUE(stayed) << "Enter on a refused length closed the dialog";
    const auto said = [](const char* typed, const char* kept) {
        return std::string("\"") + typed +
               "\" was not taken: a number has one decimal mark, a point or a comma, and no thousands mark. The box "
               "keeps " +
               kept + ".";
    };
    ASSERT_EQ(alerts.boxes().size(), 4u) << alerts.lastText();
    EXPECT_EQ(alerts.boxes()[0].text, said("1.234,5", "3,5"));
    EXPECT_EQ(alerts.boxes()[1].text, said("1,234.5", "3,75"));
    EXPECT_EQ(alerts.boxes()[2].text, said("1..5", "3,76"));
    EXPECT_EQ(alerts.boxes()[3].text, said("2,,5", "3,77"));
    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string dump = Tool("card dump '" + card + "'");
    EXPECT_NE(dump.find("card: 324 x 144 points"), std::string::npos) << dump.substr(0, 800);
}
