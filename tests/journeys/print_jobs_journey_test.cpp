// What one print job leaves to the next, in one window, as an office user
// prints: a card whose sheet fixes its paper, then one that leaves the
// paper open; a database print with copies and skipped cards, then a
// sheet; a printed database report read back as text. The queues are a
// print scheduler's of the test's own that make PDF files as a cups-pdf
// queue does.
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>


#include "carddoc/labels_doc.h"
#include "carddoc/print_preview_dialog.h"
#include "dialogs/first_card_dialog.h"
#include "dialogs/label_type_dlg.h"
#include "dialogs/label_type_list.h"
#include "dialogs/numeric_edit.h"
#include "support/shell.h"
#include "dialogs/print_dialog.h"
#include "dialogs/print_progress_dlg.h"
#include "dialogs/sheet_preview_wnd.h"
#include "foundation/byte_order.h"
#include "journey_fixture.h"
#include "records/label_stock_format.h"
#include "support/cups_scheduler.h"
#include "support/needed_tools.h"
#include "support/run_program.h"
#include "wizard/category_tree_ctrl.h"
#include "wizard/dlg_wizard.h"
#include "wizard/pg_wiz_1.h"

namespace {

// The sheet of pdfinfo's first page, "612 x 792", or what pdfinfo said.
std::string PageSize(const std::string& pdf)
{
    const ProgramRun run = RunProgramFor("pdfinfo", {pdf});
    std::smatch size;
    return std::regex_search(run.out, size, std::regex("Page size: +([0-9.]+ x [0-9.]+) pts")) ? size[1].str()
                                                                                               : run.out;
}

std::vector<std::string> Pages(const std::string& text)
{
    std::vector<std::string> pages(1);
    for (const char c : text) {
        if (c == '\f')
            pages.emplace_back();
        else
            pages.back() += c;
    }
    if (pages.back().empty())
        pages.pop_back();
    return pages;
}

class PrintJobsJourney : public JourneyTest {
protected:
    // Answers the Print dialog: the queue (or, empty, a PDF file), the
    // copies; the copies the dialog offered go to *offered.
    static DialogDriver PrintOn(const std::string& queue, const std::string& pdf = {}, int copies = 0,
                                int* offered = nullptr)
    {
        return [=](QWidget* dialog) {
            auto* print = dynamic_cast<CDlgPrint*>(dialog);
            if (!print) {
                ADD_FAILURE() << "the Print dialog was expected: " << dialog->metaObject()->className();
                Reject()(dialog);
                return;
            }
            if (offered)
                *offered = print->CopiesEdit()->value();
            if (copies > 0)
                print->CopiesEdit()->setValue(copies);
            const int at = queue.empty() ? print->PdfEntry()
                                         : print->PrinterList()->findData(QString::fromStdString(queue));
            if (at < 0) {
                ADD_FAILURE() << "the Print dialog does not list the queue " << queue;
                print->reject();
                return;
            }
            print->PrinterList()->setCurrentIndex(at);
            if (queue.empty())
                print->FileEdit()->setText(QString::fromStdString(pdf));
            print->accept();
        };
    }

    // The card's sheet to the queue; the PDF the queue made.
    std::string SheetOn(CupsScheduler& scheduler, const std::string& queue)
    {
        OnNextDialog(PrintOn(queue));
        EXPECT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
        const std::string pdf = scheduler.NextOutput(queue);
        EXPECT_FALSE(pdf.empty()) << scheduler.why();
        return pdf;
    }

    // The Page Setup dialog (File > Page Setup... of a card, File > Print
    // Setup... without one): the printer it names and the paper it shows.
    std::string PageSetupShows(const char* command = "File > Page Setup...")
    {
        std::string shown;
        OnNextDialog([&shown](QWidget* dialog) {
            QString printer;
            for (const QLabel* label : dialog->findChildren<QLabel*>())
                if (label->text() == "A4" || label->text() == "Letter")
                    printer = label->text();
            const auto* paper = dialog->findChild<QComboBox*>("pageSizeCombo");
            shown = (printer + " / " + (paper ? paper->currentText() : QString("?"))).toStdString();
            Reject()(dialog);
        });
        EXPECT_TRUE(Trigger(command));
        return shown;
    }

    // The paper the Print Preview draws the sheet on, in points.
    IntSize PreviewPaper()
    {
        IntSize paper;
        OnNextDialog([&paper](QWidget* dialog) {
            if (auto* preview = dynamic_cast<CDlgPrintPreview*>(dialog))
                paper = preview->Paper();
            else
                ADD_FAILURE() << dialog->metaObject()->className();
            Reject()(dialog);
        });
        EXPECT_TRUE(Trigger("File > Print Preview..."));
        return paper;
    }
};

// A card prints on the paper its sheet fixes, for its own job; a card that
// leaves the paper open prints on the printer's, whatever was printed
// before it, and leaving its paper untouched in Document Settings keeps it
// open.
TEST_F(PrintJobsJourney, EachCardPrintsOnItsOwnPaperAndTheOpenOneOnThePrinters)
{
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    if (!HaveTool("pdfinfo"))
        SKIP_FOR_MISSING_TOOL() << "pdfinfo is needed";
    CupsScheduler scheduler({{"A4", 0, "", true}, {"Letter", 0, "Letter"}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    // The program as it first starts, with these queues; a custom card's
    // properties looked at in the wizard (which shows its first layout on
    // Letter), and the wizard closed.
    Start();
    OnNextDialog([](QWidget* dialog) {
        auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
        ASSERT_NE(sheet, nullptr);
        QTreeWidget* types = static_cast<CPgWiz_1*>(sheet->Page(kPageDocumentType))->Tree();
        types->setCurrentItem(types->findItems("Custom Document", Qt::MatchExactly | Qt::MatchRecursive).value(0));
        QCoreApplication::processEvents();
        sheet->PressNext();
        QCoreApplication::processEvents();
        EXPECT_EQ(sheet->ActiveIndex(), kPageDocProperties);
        Reject()(dialog);
    });
    ASSERT_TRUE(Trigger("File > New > Document..."));
    EXPECT_EQ(PageSetupShows("File > Print Setup...").substr(0, 7), "A4 / A4") << "not the default queue's own paper";

    // A sheet that fixes A4, printed on the Letter queue: A4.
    ASSERT_NE(NewLabelSheet([](CDlgLabelType* type) {
                  type->NameEdit()->setText("A4 3x8");
                  type->UnitsCombo()->setCurrentIndex(2);  // centimetres
                  type->WidthEdit()->setValue(7);
                  type->HeightEdit()->setValue(3.7);
                  type->AcrossEdit()->setValue(3);
                  type->DownEdit()->setValue(8);
                  type->PaperCombo()->setCurrentIndex(type->PaperCombo()->findText("A4", Qt::MatchStartsWith));
                  type->OrientationButton(1)->click();
              }),
              nullptr)
        << alerts.lastText();
    EXPECT_EQ(PageSize(SheetOn(scheduler, "Letter")), "595.28 x 841.89");

    // Then the sample card, whose layout takes any paper, on the same
    // queue: the queue's Letter, shown so before it prints.
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    ASSERT_EQ(GetU32LE(CardDocument()->LabelLayout() + kLabelTypePaperOffset), 0u);
    EXPECT_EQ(PageSetupShows().substr(0, 15), "Letter / Letter");
    const IntSize preview = PreviewPaper();
    EXPECT_EQ(preview.width, 612);
    EXPECT_EQ(preview.height, 792);
    EXPECT_EQ(PageSize(SheetOn(scheduler, "Letter")), "612 x 792") << "the paper of the card printed before";

    // Document Settings: leaving the format's name, and choosing that same
    // format again, leave the paper and orientation open.
    for (const bool pickAgain : {false, true}) {
        OnNextDialog([pickAgain](QWidget* dialog) {
            auto* settings = dynamic_cast<CDlgLabelType*>(dialog);
            if (!settings) {
                ADD_FAILURE() << dialog->metaObject()->className();
                Reject()(dialog);
                return;
            }
            CLabelTypeComboBox* format = settings->FormatCombo();
            if (pickAgain) {
                const int same = format->findText(format->currentText());
                ASSERT_GE(same, 0) << format->currentText().toStdString();
                format->setCurrentIndex(same);
                Q_EMIT format->activated(same);
            } else {
                // The box left, as the focus moving on tells it.
                Q_EMIT format->lineEdit()->editingFinished();
            }
            EXPECT_EQ(settings->PaperCombo()->currentIndex(), 0) << settings->PaperCombo()->currentText().toStdString();
            settings->accept();
        });
        ASSERT_TRUE(Trigger("File > Document Setup..."));
        EXPECT_EQ(GetU32LE(CardDocument()->LabelLayout() + kLabelTypePaperOffset), 0u) << pickAgain;
        EXPECT_EQ(GetU32LE(CardDocument()->LabelLayout() + kLabelTypeOrientationOffset), 0u) << pickAgain;
    }
}

// Copies are the job's own; cards skipped are left out on the first
// printed page only, also when copies are printed.
TEST_F(PrintJobsJourney, CopiesAreTheJobsOwnAndSkippedCardsAreSkippedOnTheFirstPageOnly)
{
    if (!HaveTool("pdftotext"))
        SKIP_FOR_MISSING_TOOL() << "pdftotext is needed";
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();

    // 24 people, ten to a sheet; the first four cards skipped, two copies.
    const std::string records = TempFile("records.pdf");
    OnNextDialog([records](QWidget* dialog) {
        auto* print = dynamic_cast<CDlgPrint*>(dialog);
        ASSERT_NE(print, nullptr);
        // Pressed from the dialog's own loop, where the next dialog is
        // answered.
        QTimer::singleShot(0, print, [print, records] {
            print->SkipCardsButton()->click();
            PrintOn({}, records, 2)(print);
        });
    });
    OnNextDialog([](QWidget* dialog) {
        auto* skip = dynamic_cast<CDlgFirstCard*>(dialog);
        ASSERT_NE(skip, nullptr);
        EXPECT_TRUE(skip->HelpText()->text().contains("only be skipped\non the first printed page"));
        CSheetPreviewWnd* sheet = skip->Preview();
        ASSERT_TRUE(sheet->Layout());
        for (int cell = 0; cell < 4; ++cell) {
            IntRect at;
            ASSERT_TRUE(sheet->GetCellRect(cell % 2, cell / 2, &at));
            QTest::mouseClick(sheet, Qt::LeftButton, {}, QPoint((at.left + at.right) / 2, (at.top + at.bottom) / 2));
        }
        skip->accept();
    });
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    const std::vector<std::string> pages = Pages(PdfText(records));
    // The first copy: 6, 10 and 8 cards; the second, which starts on a
    // new page: 10, 10 and 4.
    ASSERT_EQ(pages.size(), 6u);
    const auto cards = [](const std::string& page) {
        return std::count(page.begin(), page.end(), '@');  // every card shows an e-mail address
    };
    std::vector<long> counts;
    for (const std::string& page : pages)
        counts.push_back(long(cards(page)));
    EXPECT_EQ(counts, (std::vector<long>{6, 10, 8, 10, 10, 4}));

    // The next print offers one copy, and prints one.
    const std::string sheet = TempFile("sheet.pdf");
    int offered = 0;
    OnNextDialog(PrintOn({}, sheet, 0, &offered));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    EXPECT_EQ(offered, 1) << "the copies of the job before";
    EXPECT_EQ(Pages(PdfText(sheet)).size(), 1u);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

// A database report printed on a queue reads back as its text, as a
// printed card does.
TEST_F(PrintJobsJourney, APrintedReportReadsBackAsItsText)
{
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    if (!HaveTool("pdftotext"))
        SKIP_FOR_MISSING_TOOL() << "pdftotext is needed";
    CupsScheduler scheduler({{"Office", 18, "", true}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(DatabaseDocument(), nullptr) << alerts.lastText();
    OnNextDialog(Accept());  // the Report dialog as it opens: tabular
    OnNextDialog(PrintOn("Office"));
    ASSERT_TRUE(Trigger("File > Print > Quick Database Report..."));
    const std::string pdf = scheduler.NextOutput("Office");
    ASSERT_FALSE(pdf.empty()) << scheduler.why();
    const std::string text = PdfText(pdf);
    for (const char* word : {"Contacts.dqx", "Abbott", "Yilmaz"})
        EXPECT_NE(text.find(word), std::string::npos) << word << " in:\n" << text.substr(0, 400);
}

// print-pdf of the sample card and 50 contacts while the default queue is a
// scheduler's that logs every request. A PDF file prints on no queue: the
// print asks the print system for the default queue, then for its
// description (its paper), each once, and not for the margins the window
// shows.
TEST_F(PrintJobsJourney, APrintIntoAPdfFileAsksThePrintSystemOnlyWhatItNeedsOnce)
{
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    CupsScheduler scheduler({{"Office", 12, "", true}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    const std::string card = CopySample("Business Card.lqx", "card.lqx");
    const std::string people = TempFile("people.dqx");
    Tool("db new '" + people + "'");
    Tool("db fill '" + people + "' 50");
    const int before = scheduler.Requests();
    Tool("print-pdf '" + card + "' '" + people + "' '" + TempFile("cards.pdf") + "'");
    const int asked = scheduler.Requests() - before;
    std::printf("print-pdf asked the print system %d times\n", asked);
    EXPECT_LE(asked, 2);
}

// The default queue a PDF file is printed for is the one the print
// system's own clients print on, with the paper `lp` prints on there: the
// scheduler's, unless LPDEST, PRINTER or the user's lpoptions names
// another, with the paper the user chose for it there; found, with its
// paper, in two requests. The paper is read the same under a German
// desktop. A default named where there is no such queue is said, and the
// file goes on the locale's paper; `tessaline /p` says it and prints
// nothing.
TEST_F(PrintJobsJourney, APrintIntoAPdfFileTakesTheDefaultQueueAndPaperTheUserSet)
{
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    if (!HaveTool("pdfinfo"))
        SKIP_FOR_MISSING_TOOL() << "pdfinfo is needed";
    CupsScheduler scheduler({{"Office", 0, "", true}, {"Labels", 0, "Letter"}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    const std::string card = CopySample("Business Card.lqx", "card.lqx");  // takes the printer's paper
    const std::string home = std::getenv("HOME");
    std::filesystem::create_directories(home + "/.cups");
    const std::string lpoptions = home + "/.cups/lpoptions";
    const char* root = std::getenv("CUPS_SERVERROOT");
    ASSERT_NE(root, nullptr);
    const std::string machine = std::string(root) + "/lpoptions";
    // A German desktop's numbers, made for the test where the machine has
    // the locale's source but not the locale.
    const std::string locales = TempFile("locales");
    const bool german = std::system(("localedef -i de_DE -f UTF-8 '" + locales + "/de_DE.UTF-8' >/dev/null 2>&1").c_str()) == 0;
    const std::string inGerman = "LOCPATH='" + locales + "' LC_NUMERIC=de_DE.UTF-8";
    struct Case {
        const char* lpoptions;
        const char* environment;
        const char* paper;
        const char* machine = "";
        const char* said = "";
    };
    const Case cases[] = {
        {"", "", "595.276 x 841.89"},                                      // the scheduler's A4 queue
        {"Default Labels\n", "", "612 x 792"},                            // the user's Letter queue
        {"Default Labels media=na_legal_8.5x14in\n", "", "612 x 1008"},    // and the user's paper
        {"# the office's\nDest Office media=legal,Tray1\n", "", "612 x 1008"},  // as a description names it
        {"Dest Labels media=a4\nDefault Labels/wide media=A3\n", "", "841.89 x 1190.55"},  // an instance
        {"Default Labels\n", "LPDEST=Office", "595.276 x 841.89"},       // LPDEST before lpoptions
        {"", "", "612 x 1008", "Default Labels media=na_legal_8.5x14in\n"},  // the machine's choice
        {"Default Office\n", "", "595.276 x 841.89", "Default Labels\n"},    // the user's before it
        {"Dest Office media=A3\n", "", "841.89 x 1190.55", "Dest Office media=legal\n"},
        {"Default Office PageSize=Letter\n", "", "612 x 792"},           // a printer description's option
        {"Dest Office media=A3 PageSize=Letter\n", "", "612 x 792"},     // which a job marks after media
        {"", "LPDEST=Labels/unlisted", "612 x 792"},                      // an instance lpoptions lacks
        {"", "PRINTER=Labels/unlisted", "612 x 792"},
        {"Default Labels\n", "PRINTER=lp", "612 x 792"},                 // "lp" names no queue
        {"", "PRINTER=Labels", "612 x 792"},
        {"Dest Office/team\\#2 PageSize=Letter\n", "LPDEST=Office/team#2", "612 x 792"},  // an escaped '#'
        {"Default Office # PageSize=Letter\n", "", "595.276 x 841.89"},   // a comment
        {"Default Missing\n", "", "595.276 x 841.89", "",
         "~/.cups/lpoptions file names default destination that does not exist. The file is printed on A4"},
        {"", "LPDEST=Missing", "595.276 x 841.89", "",
         "LPDEST environment variable names default destination that does not exist."},
        {"", "German", "595.276 x 841.89"},
        {"Default Labels\n", "German", "612 x 792"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("lpoptions: ") + c.lpoptions + " machine: " + c.machine + " environment: " +
                     c.environment);
        if (std::string(c.environment) == "German" && !german) {
            std::printf("no German locale to make here: %s left out\n", c.lpoptions);
            continue;
        }
        std::ofstream(lpoptions) << c.lpoptions;
        std::ofstream(machine) << c.machine;
        const std::string environment = std::string(c.environment) == "German" ? inGerman : c.environment;
        const std::string pdf = TempFile("cards.pdf");
        std::filesystem::remove(pdf);
        const int before = scheduler.Requests();
        bool ok = false;
        const std::string said = CommandOutput("env -u LPDEST -u PRINTER " + environment + " '" + ToolPath() +
                                                   "' print-pdf '" + card + "' '" + pdf + "' 2>&1",
                                               &ok);
        EXPECT_TRUE(ok) << said;
        EXPECT_LE(scheduler.Requests() - before, 2) << scheduler.RequestLog(before);
        EXPECT_EQ(PageSize(pdf), c.paper);
        if (*c.said)
            EXPECT_NE(said.find(c.said), std::string::npos) << said;
        else
            EXPECT_EQ(said.find("names default destination"), std::string::npos) << said;
    }
#ifdef TESSALINE_PROGRAM_PATH
    // The window's way in for the same lookup: a sheet printed with /p on
    // the default queue, which LPDEST names with an instance lpoptions
    // lacks; and a default that is not there, said as `lp` says it.
    std::ofstream(lpoptions) << "";
    std::ofstream(machine) << "";
    bool ok = false;
    const std::string card2 = CopySample("Business Card.lqx", "card2.lqx");
    const std::string printed = CommandOutput("env LPDEST=Labels/unlisted QT_QPA_PLATFORM=offscreen '" +
                                                  std::string(TESSALINE_PROGRAM_PATH) + "' /p '" + card2 + "' 2>&1",
                                              &ok);
    EXPECT_TRUE(ok) << printed;
    const std::string sheet = scheduler.NextOutput("Labels");
    EXPECT_EQ(PageSize(sheet), "612 x 792") << scheduler.why();
    const std::string refused = CommandOutput("env LPDEST=Missing QT_QPA_PLATFORM=offscreen '" +
                                                  std::string(TESSALINE_PROGRAM_PATH) + "' /p '" + card2 + "' 2>&1",
                                              &ok);
    EXPECT_FALSE(ok);
    EXPECT_NE(refused.find("LPDEST environment variable names default destination that does not exist. The "
                           "document was not printed."),
              std::string::npos)
        << refused;
#endif
    std::filesystem::remove(lpoptions);
    std::filesystem::remove(machine);

    // A print system with queues and no default is no news: the file goes
    // on the program's own paper without a word.
    CupsScheduler plain({{"Plain", 0, ""}});
    ASSERT_TRUE(plain.ok()) << plain.why();
    const std::string pdf = TempFile("plain.pdf");
    const std::string said = Tool("print-pdf '" + card + "' '" + pdf + "'");
    EXPECT_EQ(said.find("destination"), std::string::npos) << said;
    EXPECT_EQ(PageSize(pdf), "612 x 792");
}

// The questions of a print system's request log, in order: what each
// request asked and of what ("POST /printers/Labels Get-Printer-Attributes",
// "GET /printers/Labels.ppd -").
[[maybe_unused]] std::vector<std::string> Questions(const std::string& log)
{
    static const std::regex request(R"re("(\w+) (\S+) HTTP/[0-9.]+" [0-9]+ [0-9]+ (\S+))re");
    std::vector<std::string> questions;
    for (std::sregex_iterator it(log.begin(), log.end(), request), end; it != end; ++it)
        questions.push_back((*it)[1].str() + " " + (*it)[2].str() + " " + (*it)[3].str());
    return questions;
}

[[maybe_unused]] std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// A print on a queue asks about the queue it prints on, each question
// once a job: tessaline /pt on a queue that is not the default, /p on the
// default, and File > Print on a queue in the window. The queue's printer
// description is never downloaded: the program reads the queue from the
// print system's answers, and hands it the job itself.
TEST_F(PrintJobsJourney, APrintOnANamedQueueAsksAboutThatQueueOnce)
{
#ifndef TESSALINE_PROGRAM_PATH
    GTEST_SKIP() << "the program is not built here";
#else
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    CupsScheduler scheduler({{"Office", 0, "", true}, {"Labels", 0, "Letter"}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    const std::string card = CopySample("Business Card.lqx", "card.lqx");
    std::string printed;
    const auto asked = [&](const std::string& arguments, const std::string& queue) {
        const int before = scheduler.Requests();
        bool ok = false;
        const std::string said = CommandOutput("env QT_QPA_PLATFORM=offscreen '" +
                                                   std::string(TESSALINE_PROGRAM_PATH) + "' " + arguments + " 2>&1",
                                               &ok);
        EXPECT_TRUE(ok) << said;
        printed = scheduler.NextOutput(queue);
        EXPECT_FALSE(printed.empty()) << scheduler.why();
        const std::string log = scheduler.RequestLog(before);
        std::printf("tessaline %s asked the print system %d times:\n%s", arguments.c_str(),
                    scheduler.Requests() - before, log.c_str());
        return Questions(log);
    };

    // The queue by name (the print system's library asks for it at the
    // server's root) and its description; then the job, made and sent.
    // Nothing of the default queue, which it does not print on.
    EXPECT_EQ(Lines(asked("/pt '" + card + "' Labels", "Labels")),
              "POST / Get-Printer-Attributes\n"
              "POST /printers/Labels Get-Printer-Attributes\n"
              "POST /printers/Labels Create-Job\n"
              "POST /printers/Labels Send-Document\n");
    // A sheet that fixes its paper (A4) asks whether the queue lists that
    // paper, which the same answers tell.
    const std::string sheet = TempFile("a4 sheet.lqx");
    Tool("card new-names '" + sheet + "'");
    EXPECT_EQ(Lines(asked("/pt '" + sheet + "' Labels", "Labels")),
              "POST / Get-Printer-Attributes\n"
              "POST /printers/Labels Get-Printer-Attributes\n"
              "POST /printers/Labels Create-Job\n"
              "POST /printers/Labels Send-Document\n");
    EXPECT_EQ(PageSize(printed), "595.28 x 841.89");
    // The default queue, which comes with what is asked of it by name, and
    // its description; the job.
    EXPECT_EQ(Lines(asked("/p '" + card + "'", "Office")),
              "POST / CUPS-Get-Default\n"
              "POST /printers/Office Get-Printer-Attributes\n"
              "POST /printers/Office Create-Job\n"
              "POST /printers/Office Send-Document\n");

    // The window: the Print dialog lists the queues (Qt's print support
    // asks for them and for the default among them); the queue chosen is
    // asked about once, with its description, and given the job.
    Start();
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    const int before = scheduler.Requests();
    SpoolInto(scheduler, "Labels");
    const std::string log = scheduler.RequestLog(before);
    std::printf("File > Print on Labels asked the print system %d times:\n%s", scheduler.Requests() - before,
                log.c_str());
    std::vector<std::string> questions = Questions(log);
    EXPECT_EQ(std::count(questions.begin(), questions.end(), "POST /printers/Labels Get-Printer-Attributes"), 1)
        << log;
    EXPECT_EQ(std::count_if(questions.begin(), questions.end(),
                            [](const std::string& q) { return q.find(".ppd") != std::string::npos; }),
              0)
        << log;
    std::sort(questions.begin(), questions.end());
    std::string twice;
    for (size_t at = 1; at < questions.size(); ++at)
        if (questions[at] == questions[at - 1])
            twice += questions[at] + "\n";
    EXPECT_EQ(twice, "") << log;
    EXPECT_LE(questions.size(), 6u) << log;
#endif
}

}  // namespace

namespace {

// The progress window of a sheet printed three times counts the pages of
// the whole job, as its bar does.
TEST_F(PrintJobsJourney, TheProgressWindowCountsEveryCopysPages)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    QStringList lines;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* progress = VisibleWindow<PrintProgressDlg>())
            if (lines.isEmpty() || lines.back() != progress->PageLine()->text())
                lines << progress->PageLine()->text();
    });
    watch.start();
    OnNextDialog(PrintOn({}, TempFile("three.pdf"), 3));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    watch.stop();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_EQ(lines.join('|').toStdString(),
              "Now printing page: 1 of 3|Now printing page: 2 of 3|Now printing page: 3 of 3");
}

}  // namespace
