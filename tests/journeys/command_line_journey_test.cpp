// The program's command line: its usage text, files that are not there,
// and printing a card without the program's window ("/p", "/pt").
#include <sys/wait.h>

#include <cstdlib>

#include <QAction>
#include <QFile>
#include <QMenu>

#include "support/needed_tools.h"
#include "app/card_app.h"
#include "app/child_frame.h"
#include "app/command_line.h"
#include "app/main_frame.h"
#include "records/command_ids.h"
#include "support/cups_scheduler.h"
#include "support/run_program.h"
#include "support/shell.h"
#include "journey_fixture.h"

namespace {

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

class CommandLineJourney : public JourneyTest {
protected:
    // Runs the built program with the arguments in a profile and program
    // folder of the test's own; its exit code (124 when it had not ended
    // after a minute), its output in *output and its standard error in
    // *errors.
    int RunProgram(const std::string& arguments, const std::string& environment, std::string* output,
                   std::string* errors = nullptr)
    {
#ifdef TESSALINE_PROGRAM_PATH
        const std::string out = TempFile("program-output.txt");
        const std::string err = TempFile("program-errors.txt");
        const std::string line = "cd " + Quote(TempFile("")) + " && env QT_QPA_PLATFORM=offscreen HOME=" +
                                 Quote(TempFile("home")) + " XDG_CONFIG_HOME=" + Quote(TempFile("home/config")) +
                                 " XDG_DATA_HOME=" + Quote(TempFile("home/data")) + " " + environment +
                                 " timeout 60 " + Quote(TESSALINE_PROGRAM_PATH) + " " + arguments + " >" + Quote(out) +
                                 " 2>" + Quote(err);
        const int status = std::system(line.c_str());
        *output = ReadFileBytes(out);
        if (errors)
            *errors = ReadFileBytes(err);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#else
        (void)arguments;
        (void)environment;
        (void)output;
        (void)errors;
        return -1;
#endif
    }
};

TEST_F(CommandLineJourney, HelpPrintsTheUsageAndEnds)
{
#ifndef TESSALINE_PROGRAM_PATH
    GTEST_SKIP() << "the program is not built here";
#endif
    std::string output;
    EXPECT_EQ(RunProgram("--help", "", &output), 0);
    EXPECT_EQ(output.rfind("Usage: tessaline [FILE...]\n", 0), 0u) << output;
    EXPECT_NE(output.find("/pt FILE PRINTER"), std::string::npos);
    // Without any window system at all.
    EXPECT_EQ(RunProgram("-h", "QT_QPA_PLATFORM=none", &output), 0);
    EXPECT_NE(output.find("Usage:"), std::string::npos);
}

TEST_F(CommandLineJourney, AFileThatIsNotThereIsNamedAndTheProgramStaysUp)
{
    const std::string missing = TempFile("Lost Card.lqx");
    Start({missing, CopySample("Business Card.lqx")});
    ASSERT_FALSE(alerts.boxes().empty());
    EXPECT_EQ(alerts.boxes().front().text, missing + "\nThis file does not exist.");
    // The other file opened.
    EXPECT_NE(CardView(), nullptr);

    // A recent file that went away says so by name and leaves the list.
    const std::string gone = CopySample("Business Card.lqx", "Gone.lqx");
    ASSERT_NE(OpenThroughMenu(gone), nullptr);
    ASSERT_TRUE(Trigger("File > Close"));
    std::remove(gone.c_str());
    QAction* recent = Action(kCmdRecentFile1);
    ASSERT_NE(recent, nullptr);
    ASSERT_TRUE(recent->text().endsWith("Gone.lqx"));
    ASSERT_TRUE(Trigger(kCmdRecentFile1));
    EXPECT_EQ(alerts.lastText(), gone + "\nThis file does not exist.");
    EXPECT_FALSE(Action(kCmdRecentFile1)->text().endsWith("Gone.lqx"));
}

TEST_F(CommandLineJourney, SlashPPrintsASheetOfTheCardWithoutTheWindow)
{
#ifndef TESSALINE_PROGRAM_PATH
    GTEST_SKIP() << "the program is not built here";
#endif
    const std::string card = CopySample("Business Card.lqx");
    const std::string pdf = TempFile("sheet.pdf");
    std::string output;
    EXPECT_EQ(RunProgram("/p " + Quote(card), std::string(kPrintToPdfVariable) + "=" + Quote(pdf), &output), 0);
    const std::string text = PdfText(pdf);
    if (text.empty())
        SKIP_FOR_MISSING_TOOL() << "pdftotext is needed";
    // The front of a sheet of ten cards, as the Print dialog sends it;
    // with no database open the fields print their sample texts, or their
    // names where the user gave none.
    EXPECT_NE(text.find("\f"), std::string::npos);
    EXPECT_NE(text.find("FirstName LastName"), std::string::npos) << text;
    size_t phones = 0;
    for (size_t at = text.find("Tel."); at != std::string::npos; at = text.find("Tel.", at + 1))
        ++phones;
    EXPECT_EQ(phones, 10u) << text;
}

// A print from the command line sends what File > Print > Sheet of Active
// Document sends as its dialog opens: the card's front, not a blank sheet
// for its empty back.
TEST_F(CommandLineJourney, SlashPtSendsTheSheetsThePrintDialogSends)
{
#ifndef TESSALINE_PROGRAM_PATH
    GTEST_SKIP() << "the program is not built here";
#else
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    CupsScheduler scheduler({{"Office", 0, "", true}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    const auto pages = [](const std::string& pdf) {
        const std::string info = RunProgramFor("pdfinfo", {pdf}).out;
        const size_t at = info.find("Pages:");
        return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
    };
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    const int fromWindow = pages(SpoolInto(scheduler, "Office"));
    EXPECT_EQ(fromWindow, 1);

    const ProgramRun run =
        RunProgramFor(TESSALINE_PROGRAM_PATH, {"/pt", CopySample("Business Card.lqx", "by-name.lqx"), "Office"}, 60);
    ASSERT_TRUE(run.ok) << run.failure;
    EXPECT_EQ(pages(scheduler.NextOutput("Office")), fromWindow) << "/pt";
#endif
}

// The program run to print shows no window, so no box: what keeps it from
// printing is said on standard error, and it ends at once with status 1.
TEST_F(CommandLineJourney, APrintThatCannotBeDoneSaysWhyOnStandardErrorAndEnds)
{
#ifndef TESSALINE_PROGRAM_PATH
    GTEST_SKIP() << "the program is not built here";
#endif
    const std::string card = CopySample("Business Card.lqx");
    std::string output, errors;
    EXPECT_EQ(RunProgram("/pt " + Quote(card) + " NoSuchPrinter", "", &output, &errors), 1);
    EXPECT_NE(errors.find("The printer \"NoSuchPrinter\" is not installed."), std::string::npos) << errors;

    // A PDF file in a folder that is not there.
    EXPECT_EQ(RunProgram("/p " + Quote(card),
                         std::string(kPrintToPdfVariable) + "=" + Quote(TempFile("no such folder/sheet.pdf")), &output,
                         &errors),
              1);
    EXPECT_NE(errors.find("Nothing was printed: the folder \"" + TempFile("no such folder") +
                          "\" that the output goes to does not exist."),
              std::string::npos)
        << errors;

    // A card marked damaged by a save that never finished.
    std::string bytes = ReadFileBytes(card);
    bytes[0] = 1;
    WriteFileBytes(card, bytes);
    const std::string pdf = TempFile("damaged.pdf");
    EXPECT_EQ(RunProgram("/p " + Quote(card), std::string(kPrintToPdfVariable) + "=" + Quote(pdf), &output, &errors), 1);
    EXPECT_NE(errors.find("Business Card.lqx: The document is damaged."), std::string::npos) << errors;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));

    // A card whose label layout has no columns: its sheet has no place for
    // a card. The card's check says so, and every print refuses with the
    // reason and status 1, and writes nothing.
    const std::string noColumns = CopySample("Business Card.lqx", "No Columns.lqx");
    bytes = ReadFileBytes(noColumns);
    for (size_t at = bytes.find("Laser Tessaline"); at != std::string::npos; at = bytes.find("Laser Tessaline", at + 1))
        bytes[at + 112] = bytes[at + 113] = 0;
    WriteFileBytes(noColumns, bytes);
    const std::string sheet = TempFile("no columns.pdf");
    EXPECT_EQ(RunProgram("/p " + Quote(noColumns), std::string(kPrintToPdfVariable) + "=" + Quote(sheet), &output,
                         &errors),
              1);
    EXPECT_NE(errors.find("The card's label layout has 0 columns and 5 rows: its sheet has no place for a card, and "
                          "nothing was printed."),
              std::string::npos)
        << errors;
    bool ok = true;
    const std::string tool = Quote(ToolPath());
    const std::string dump = CommandOutput(tool + " card dump " + Quote(noColumns) + " 2>&1", &ok);
    EXPECT_FALSE(ok);
    EXPECT_NE(dump.find("check: no card on its sheet"), std::string::npos) << dump;
    for (const char* command : {" print-pdf ", " print-ps "}) {
        const std::string said = CommandOutput(tool + command + Quote(noColumns) + " " + Quote(sheet) + " 2>&1", &ok);
        EXPECT_FALSE(ok) << command;
        EXPECT_NE(said.find("has a label layout that places no card on its sheet: nothing is printed"),
                  std::string::npos)
            << said;
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(sheet)));
}

// What a damaged card holds: a print that can be whole says nothing of
// what it mends on the way; one that can't (a page of the card is not in
// the file) says which page is missing and ends with 1.
TEST_F(CommandLineJourney, APrintIsWholeAndSilentOrFailsSayingWhatIsMissing)
{
    const std::string tool = Quote(ToolPath());
    const auto sectionOffset = [&](const std::string& card, const std::string& section) {
        const std::string dump = Tool("card dump " + Quote(card));
        const size_t at = dump.find("section " + section + ": offset ");
        return at == std::string::npos ? size_t(0) : size_t(std::stoul(dump.substr(at + section.size() + 17)));
    };
    const auto putU32 = [](std::string* bytes, size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            (*bytes)[at + size_t(i)] = char((value >> (8 * i)) & 0xFF);
    };
    const auto getU32 = [](const std::string& bytes, size_t at) {
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | uint8_t(bytes[at + size_t(i)]);
        return value;
    };

    // Grouped frames whose group frame is gone: they print where they
    // stand, and nothing is said.
    const std::string effects = TempFile("effects.lqx");
    Tool("card new-effects " + Quote(effects));
    const std::string whole = TempFile("whole.pdf");
    Tool("print-pdf " + Quote(effects) + " " + Quote(whole));
    const size_t frames = sectionOffset(effects, "frames");
    ASSERT_GT(frames, 0u);
    std::string bytes = ReadFileBytes(effects);
    int orphans = 0;
    for (size_t entry = frames; entry + 56 <= bytes.size() && getU32(bytes, entry + 4) != 0; entry += 56) {
        const size_t block = getU32(bytes, entry + 12);
        if (block + 152 <= bytes.size() && getU32(bytes, block + 100) == 4) {
            putU32(&bytes, block + 148, 999);
            ++orphans;
        }
    }
    ASSERT_EQ(orphans, 2);
    WriteFileBytes(effects, bytes);
    const std::string mended = TempFile("mended.pdf");
    const std::string said = Tool("print-pdf " + Quote(effects) + " " + Quote(mended));
    EXPECT_EQ(said, "2 pages\n");
    EXPECT_EQ(ReadFileBytes(mended).size(), ReadFileBytes(whole).size());

    // The card's back numbered as a page it doesn't have.
    const std::string card = CopySample("Business Card.lqx", "No Back.lqx");
    const size_t pages = sectionOffset(card, "pages");
    ASSERT_GT(pages, 0u);
    bytes = ReadFileBytes(card);
    bytes[pages + 4 + 244 + 182] = 7;
    WriteFileBytes(card, bytes);
    bool ok = true;
    EXPECT_NE(CommandOutput(tool + " card dump " + Quote(card) + " 2>&1", &ok).find("check: a page missing"),
              std::string::npos);
    EXPECT_FALSE(ok);
    const std::string pdf = TempFile("no back.pdf");
    const std::string refused = CommandOutput(tool + " print-pdf " + Quote(card) + " " + Quote(pdf) + " 2>&1", &ok);
    EXPECT_FALSE(ok);
    EXPECT_NE(refused.find("is missing a page of its card (the file is damaged): nothing is printed"),
              std::string::npos)
        << refused;
    // The program itself, where this build has it (the sanitizer build
    // leaves it out). It prints the front, as the Print dialog does: a
    // card whose front is numbered as a page it doesn't have.
#ifdef TESSALINE_PROGRAM_PATH
    const std::string front = CopySample("Business Card.lqx", "No Front.lqx");
    bytes = ReadFileBytes(front);
    bytes[pages + 4 + 182] = 7;
    WriteFileBytes(front, bytes);
    std::string output, errors;
    EXPECT_EQ(RunProgram("/p " + Quote(front), std::string(kPrintToPdfVariable) + "=" + Quote(pdf), &output, &errors),
              1);
    EXPECT_NE(errors.find("Page 1 of the card is missing from its file (the file is damaged): nothing was printed."),
              std::string::npos)
        << errors;
    EXPECT_EQ(errors.find("GetPIndex"), std::string::npos) << errors;
#endif
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
}

TEST_F(CommandLineJourney, PrintingFromTheCommandLineNeverShowsTheMainWindow)
{
    Stop();
    const std::string pdf = TempFile("hidden.pdf");
    qputenv(kPrintToPdfVariable, QByteArray::fromStdString(pdf));
    {
        CCardApp app;
        EXPECT_FALSE(app.InitInstance({"/p", CopySample("Business Card.lqx")}));
        EXPECT_EQ(app.ExitCode(), 0) << alerts.lastText();
        ASSERT_NE(app.MainFrame(), nullptr);
        EXPECT_FALSE(app.MainFrame()->isVisible());
        EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    }
    qunsetenv(kPrintToPdfVariable);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_GT(ReadFileBytes(pdf).size(), 1000u);

    // Without a PDF file: a printer that is not installed is named, and
    // nothing prints.
    {
        CCardApp app;
        EXPECT_FALSE(app.InitInstance({"/pt", CopySample("Business Card.lqx"), "No Such Printer", "drv", "port"}));
        EXPECT_EQ(app.ExitCode(), 1);
        EXPECT_EQ(alerts.lastText(), "The printer \"No Such Printer\" is not installed.");
    }
    // A database is not a card to print.
    qputenv(kPrintToPdfVariable, QByteArray::fromStdString(pdf));
    {
        CCardApp app;
        EXPECT_FALSE(app.InitInstance({"/p", CopySample("Contacts.dqx")}));
        EXPECT_EQ(app.ExitCode(), 1);
        EXPECT_NE(alerts.lastText().find("Only card documents"), std::string::npos) << alerts.lastText();
    }
    qunsetenv(kPrintToPdfVariable);
}

TEST_F(CommandLineJourney, APrintFromTheCommandLineLeavesTheCardsWindowWhereTheUserPutIt)
{
    // The card's window set to a size of the user's and closed: the card
    // keeps that place for the next time it opens.
    const std::string card = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    const QRect placed(20, 10, 620, 440);
    CardWindow()->setGeometry(placed);
    Settle();
    ASSERT_TRUE(Trigger("File > Close"));
    Stop();

    // Two prints of it from the command line, in this very profile.
    const std::string pdf = TempFile("sheet.pdf");
    qputenv(kPrintToPdfVariable, QByteArray::fromStdString(pdf));
    for (int run = 0; run < 2; ++run) {
        CCardApp app;
        EXPECT_FALSE(app.InitInstance({"/p", card}));
        EXPECT_EQ(app.ExitCode(), 0) << alerts.lastText();
    }
    qunsetenv(kPrintToPdfVariable);

    Start();
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    EXPECT_EQ(CardWindow()->geometry(), placed);
}

}  // namespace
