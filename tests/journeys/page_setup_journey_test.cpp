// Print Setup and Page Setup in a card window whose layout leaves paper and
// orientation open: the printer starts from the card's own choice, and what
// the user chooses becomes the card's, which it prints on; Cancel changes
// nothing. Without a printer the same dialog chooses the card's own page.
#include <algorithm>
#include <cstdio>

#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "support/run_program.h"
#include "carddoc/labels_doc.h"
#include "dialogs/label_type_dlg.h"
#include "dialogs/page_setup_dlg.h"
#include "foundation/paper_table.h"
#include "journey_fixture.h"
#include "records/command_ids.h"
#include "support/fake_printer_caps.h"

namespace {

constexpr int16_t kPaperCodeA4 = 9;

// What the system's page set-up dialog shows, and a change to it.
struct PageChoice {
    bool landscape = false;
    QString paper;
};

class PageSetupJourney : public JourneyTest {
protected:
    void SetUp() override
    {
        JourneyTest::SetUp();
        printer_.defaults.dmFields = DM_PAPERSIZE | DM_ORIENTATION;
        printer_.defaults.dmPaperSize = 1;
        printer_.defaults.dmOrientation = DMORIENT_PORTRAIT;
        printer_.papers = {1, kPaperCodeA4};
    }

    // Reads the dialog into *seen; with a change, makes it and presses OK,
    // without one presses Cancel.
    static DialogDriver PageDialog(PageChoice* seen, const PageChoice* change)
    {
        return [seen, change](QWidget* dialog) {
            auto* landscape = dialog->findChild<QRadioButton*>("landscape");
            auto* paper = dialog->findChild<QComboBox*>("pageSizeCombo");
            if (!landscape || !paper) {
                ADD_FAILURE() << "no page set-up dialog: " << dialog->metaObject()->className();
                Reject()(dialog);
                return;
            }
            seen->landscape = landscape->isChecked();
            seen->paper = paper->currentText();
            if (!change) {
                Reject()(dialog);
                return;
            }
            (change->landscape ? landscape : dialog->findChild<QRadioButton*>("portrait"))->click();
            const int index = paper->findText(change->paper, Qt::MatchStartsWith);
            EXPECT_GE(index, 0) << change->paper.toStdString();
            paper->setCurrentIndex(index);
            Q_EMIT paper->activated(index);
            Accept()(dialog);
        };
    }

    // pdfinfo's "Page size:" line; a pdfinfo that fails, or says no page
    // size, fails the test.
    static std::string PageSize(const std::string& pdf)
    {
        const ProgramRun run = RunProgramFor("pdfinfo", {pdf});
        EXPECT_TRUE(run.ok) << run.failure;
        const size_t at = run.out.find("Page size:");
        EXPECT_NE(at, std::string::npos) << "pdfinfo " << pdf << " gave no page size: " << run.out;
        return at == std::string::npos ? std::string() : run.out.substr(at, run.out.find('\n', at) - at);
    }

    // Opens the sample card and chooses A4 across in its Print Setup,
    // which opens upright; what the dialog showed.
    void OpenTheCardAndChooseA4Across(PageChoice* seen)
    {
        ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
        const PageChoice a4Across{true, "A4"};
        OnNextDialog(PageDialog(seen, &a4Across));
        ASSERT_TRUE(Trigger("File > Print Setup..."));
        EXPECT_FALSE(seen->landscape);
    }
    // The card's sheet printed to a PDF file is on A4 across. Its Letter
    // sheet's last two rows are off that paper: the user hears of it before
    // the job goes, and prints anyway.
    void ExpectTheSheetOnA4Across()
    {
        const std::string pdf = TempFile("sheet.pdf");
        OnNextDialog(PrintToPdfFile(pdf));
        alerts.clear();
        ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        alerts.forget(kCutBarcodesNotice);  // the barcodes of the rows off the paper
        ASSERT_EQ(alerts.boxes().size(), 1u);
        EXPECT_NE(alerts.lastText().find("rows 4 to 5"), std::string::npos) << alerts.lastText();
        alerts.clear();
        const std::string size = PageSize(pdf);
        EXPECT_NE(size.find("841.89 x 595.276 pts (A4)"), std::string::npos) << size;
    }

    FakePrinterCaps printer_;
};

TEST_F(PageSetupJourney, TheCardKeepsThePaperChosenInItsPrintSetupAndPrintsOnIt)
{
    // The card has no choice of its own yet: the dialog shows the
    // printer's; A4 across becomes the card's.
    PageChoice seen;
    ASSERT_NO_FATAL_FAILURE(OpenTheCardAndChooseA4Across(&seen));
    CLabelsDoc* card = CardDocument();
    EXPECT_TRUE(seen.paper.startsWith("Letter") || seen.paper.startsWith("US Letter")) << seen.paper.toStdString();
    uint32_t orientation = 0, paper = 0;
    card->GetAlternatePaper(&orientation, &paper);
    EXPECT_EQ(orientation, 2u);
    ASSERT_LT(paper, uint32_t(kPaperTableCount));
    EXPECT_EQ(PaperTable[paper].code, uint32_t(kPaperCodeA4));

    // Page Setup sets the printer up for everything else: Letter upright.
    const PageChoice letter{false, "Letter"};
    OnNextDialog(PageDialog(&seen, &letter));
    ASSERT_TRUE(Trigger("File > Page Setup..."));
    EXPECT_TRUE(seen.landscape) << "Page Setup starts from the printer as the card left it";

    // Print Setup starts again from the card's own A4 across; Cancel keeps it.
    OnNextDialog(PageDialog(&seen, nullptr));
    ASSERT_TRUE(Trigger("File > Print Setup..."));
    EXPECT_TRUE(seen.landscape);
    EXPECT_TRUE(seen.paper.startsWith("A4")) << seen.paper.toStdString();
    card->GetAlternatePaper(&orientation, &paper);
    EXPECT_EQ(orientation, 2u);
    EXPECT_EQ(PaperTable[paper].code, uint32_t(kPaperCodeA4));

    // The sheet prints on A4 across.
    ASSERT_NO_FATAL_FAILURE(ExpectTheSheetOnA4Across());
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_EQ(std::count(DialogTitles().begin(), DialogTitles().end(), QString("Page Setup")), 3);
}

TEST_F(PageSetupJourney, WithoutAPrinterPrintSetupChoosesTheCardsOwnPage)
{
    printer_.installed = false;
    // None from the start: the settings the program took at its start go.
    SetPrinterCaps(&printer_);
    // The dialog still opens, on Letter upright; A4 across becomes the
    // card's own page, which its PDF file is printed on.
    PageChoice seen;
    ASSERT_NO_FATAL_FAILURE(OpenTheCardAndChooseA4Across(&seen));
    CLabelsDoc* card = CardDocument();
    EXPECT_TRUE(seen.paper.startsWith("Letter")) << seen.paper.toStdString();
    uint32_t orientation = 0, paper = 0;
    card->GetAlternatePaper(&orientation, &paper);
    EXPECT_EQ(orientation, 2u);
    EXPECT_EQ(paper, uint32_t(kPaperEntryA4));

    // Page Setup is the same choice, starting from it; Cancel keeps it.
    OnNextDialog(PageDialog(&seen, nullptr));
    ASSERT_TRUE(Trigger("File > Page Setup..."));
    EXPECT_TRUE(seen.landscape);
    EXPECT_TRUE(seen.paper.startsWith("A4")) << seen.paper.toStdString();

    ASSERT_NO_FATAL_FAILURE(ExpectTheSheetOnA4Across());
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_EQ(PendingDialogs(), 0u);
}

TEST_F(PageSetupJourney, WithoutAPrinterPageSetupShowsTheOrientationTheSheetFixes)
{
    printer_.installed = false;
    // None from the start: the settings the program took at its start go.
    SetPrinterCaps(&printer_);
    // File > New > Label... > New..: an upright sheet on any paper.
    CLabelsDoc* card = NewLabelSheet([](CDlgLabelType* type) {
        type->NameEdit()->setText("Upright, any paper");
        type->UnitsCombo()->setCurrentIndex(1);  // Inch
        type->WidthEdit()->setValue(3.5);
        type->HeightEdit()->setValue(2);
        type->AcrossEdit()->setValue(2);
        type->DownEdit()->setValue(4);
        type->PaperCombo()->setCurrentIndex(kPaperEntryAnyFormat);
        type->OrientationButton(1)->click();
    });
    ASSERT_NE(card, nullptr) << alerts.lastText();

    // Page Setup shows the orientation fixed, and takes the paper.
    bool landscapeOffered = true, upright = false;
    QString caption;
    OnNextDialog([&](QWidget* dialog) {
        auto* page = dynamic_cast<CDlgPageSetup*>(dialog);
        if (!page) {
            ADD_FAILURE() << "the Page Setup dialog was expected";
            Reject()(dialog);
            return;
        }
        landscapeOffered = page->LandscapeButton()->isEnabled();
        upright = !page->LandscapeButton()->isChecked();
        if (auto* box = qobject_cast<QGroupBox*>(page->LandscapeButton()->parentWidget()))
            caption = box->title();
        page->PaperCombo()->setCurrentIndex(page->PaperCombo()->findText("A4", Qt::MatchStartsWith));
        Accept()(dialog);
    });
    ASSERT_TRUE(Trigger("File > Page Setup..."));
    EXPECT_FALSE(landscapeOffered);
    EXPECT_TRUE(upright);
    EXPECT_EQ(caption, QString::fromLatin1(kFixedOrientationCaption));
    uint32_t orientation = 0, paper = 0;
    card->GetAlternatePaper(&orientation, &paper);
    EXPECT_EQ(paper, uint32_t(kPaperEntryA4));

    const std::string pdf = TempFile("upright.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    const std::string size = PageSize(pdf);
    EXPECT_NE(size.find("595.276 x 841.89 pts (A4)"), std::string::npos) << size;
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_EQ(PendingDialogs(), 0u);
}

TEST_F(PageSetupJourney, ASheetThatFixesItsOrientationCantBeTurnedThere)
{
    // The printer starts across; the sheet is upright on any paper.
    printer_.defaults.dmOrientation = DMORIENT_LANDSCAPE;
    CLabelsDoc* card = NewLabelSheet([](CDlgLabelType* type) {
        type->NameEdit()->setText("Legal 3x14");
        type->UnitsCombo()->setCurrentIndex(1);  // Inch
        type->WidthEdit()->setValue(2.625);
        type->HeightEdit()->setValue(1);
        type->TopEdit()->setValue(0);
        type->AcrossEdit()->setValue(3);
        type->DownEdit()->setValue(7);
        type->PaperCombo()->setCurrentIndex(kPaperEntryAnyFormat);
        type->OrientationButton(1)->click();
    });
    ASSERT_NE(card, nullptr) << alerts.lastText();

    // Page Setup and Print Setup show the orientation fixed, upright, and
    // offer no other; the paper is still the printer's to choose.
    for (const char* command : {"File > Page Setup...", "File > Print Setup..."}) {
        bool landscapeOffered = true, upright = false, paperOffered = false;
        QString caption;
        OnNextDialog([&](QWidget* dialog) {
            auto* page = dynamic_cast<CDlgPageSetup*>(dialog);
            if (!page) {
                ADD_FAILURE() << "the Page Setup dialog was expected";
                Reject()(dialog);
                return;
            }
            landscapeOffered = page->LandscapeButton()->isEnabled();
            upright = !page->LandscapeButton()->isChecked();
            paperOffered = page->PaperCombo()->isEnabled();
            if (auto* box = qobject_cast<QGroupBox*>(page->LandscapeButton()->parentWidget()))
                caption = box->title();
            Accept()(dialog);
        });
        ASSERT_TRUE(Trigger(command));
        EXPECT_FALSE(landscapeOffered) << command;
        EXPECT_TRUE(upright) << command;
        EXPECT_TRUE(paperOffered) << command;
        EXPECT_EQ(caption, QString::fromLatin1(kFixedOrientationCaption)) << command;
    }
    // The sheet prints upright.
    const std::string pdf = TempFile("upright.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    EXPECT_NE(PageSize(pdf).find("612 x 792 pts"), std::string::npos) << PageSize(pdf);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // Once the sheet names its paper as well, there is nothing left to set up.
    OnNextDialog([](QWidget* dialog) {
        auto* settings = dynamic_cast<CDlgLabelType*>(dialog);
        if (settings)
            settings->PaperCombo()->setCurrentIndex(settings->PaperCombo()->findText("Legal", Qt::MatchStartsWith));
        Accept()(dialog);
    });
    ASSERT_TRUE(Trigger("File > Document Setup..."));
    EXPECT_FALSE(Enabled(kCmdPageSetup));
    EXPECT_FALSE(Enabled(kCmdFilePrintSetup));
    EXPECT_EQ(PendingDialogs(), 0u);
}

}  // namespace
