// A print server that takes connections and never answers, as a hung
// scheduler or a dead host behind a live port does: the window opens at
// once and prints into a PDF file on the locale's paper, saying so; a print
// into a file from the command line does the same, a print on a queue
// ends with the server named, and the Print dialog opens with the files to
// print into, naming it. Each gives up after the bound (one second here),
// not after minutes.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <array>
#include <cstring>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <regex>
#include <string>
#include <thread>

#include <cups/cups.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>

#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "dialogs/print_dialog.h"
#include "journey_fixture.h"
#include "platform/printer_handles.h"
#include "records/command_ids.h"
#include "printqueue/cups_queue.h"
#include "support/cups_scheduler.h"
#include "support/needed_tools.h"
#include "support/run_program.h"
#include "support/shell.h"
#include "support/stalling_print_server.h"

namespace {

// A socket that takes connections into its queue and never reads or
// answers them.
class SilentServer {
public:
    explicit SilentServer(const std::string& path) : path_(path)
    {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        listening_ = fd_ >= 0 && path.size() < sizeof address.sun_path &&
                     ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(fd_, 64) == 0;
    }
    ~SilentServer() { Close(); }
    // Goes: connections to its path are refused from now on.
    void Close()
    {
        if (fd_ >= 0) {
            ::close(fd_);
            ::unlink(path_.c_str());
        }
        fd_ = -1;
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    bool listening() const { return listening_; }
    int fd() const { return fd_; }

private:
    std::string path_;
    int fd_ = -1;
    bool listening_ = false;
};

std::string PdfSheet(const std::string& pdf)
{
    const ProgramRun run = RunProgramFor("pdfinfo", {pdf});
    std::smatch size;
    return std::regex_search(run.out, size, std::regex("Page size: +([0-9.]+ x [0-9.]+) pts")) ? size[1].str()
                                                                                               : run.out;
}

class SilentPrintServerJourney : public JourneyTest {
protected:
    // The window started again on the print server named before the test
    // (none when `named` is false), with the usual bound.
    void BackOnTheServerBefore(bool named, const std::string& before)
    {
        Stop();
        if (named)
            ::setenv("CUPS_SERVER", before.c_str(), 1);
        else
            ::unsetenv("CUPS_SERVER");
        ::unsetenv("TESSALINE_PRINT_SERVER_SECONDS");
        cupsSetServer(nullptr);
        ForgetQueueAnswers();
        Start();
    }
};

TEST_F(SilentPrintServerJourney, TheWindowAndEveryPrintGiveUpOnAServerThatNeverAnswers)
{
    if (!HaveTool("pdfinfo"))
        SKIP_FOR_MISSING_TOOL() << "pdfinfo is needed";
    const std::string socket = TempFile("silent.sock");
    SilentServer server(socket);
    ASSERT_TRUE(server.listening()) << socket;
    const char* old = std::getenv("CUPS_SERVER");
    const std::string before = old ? old : "";
    ::setenv("CUPS_SERVER", socket.c_str(), 1);
    ::setenv("TESSALINE_PRINT_SERVER_SECONDS", "1", 1);
    const std::string said = "The print server " + socket + " did not answer within 1 second.";

    // The window, started again with the server named: it opens, and a
    // sheet printed into a PDF file from the Print dialog goes on A4 (the
    // C locale's paper), the user told why.
    Stop();
    cupsSetServer(nullptr);
    ForgetQueueAnswers();
    Start();
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    const std::string sheet = TempFile("sheet.pdf");
    OnNextDialog(PrintToPdfFile(sheet));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    EXPECT_NE(alerts.lastText().find(said + " The file is printed on A4"), std::string::npos) << alerts.lastText();
    EXPECT_EQ(PdfSheet(sheet), "595.276 x 841.89");

    // print-pdf, and tessaline /pt on a queue of that server. Each is
    // given far longer than it needs, so that one that waits fails here
    // rather than holding the suite.
    const std::string card = CopySample("Business Card.lqx", "card.lqx");
    const std::string pdf = TempFile("cards.pdf");
    bool ok = false;
    std::string out = CommandOutput("LC_ALL=C timeout 60 '" + ToolPath() + "' print-pdf '" + card + "' '" + pdf + "' 2>&1", &ok);
    EXPECT_TRUE(ok) << out;
    EXPECT_NE(out.find(said + " The file is printed on A4"), std::string::npos) << out;
    EXPECT_EQ(PdfSheet(pdf), "595.276 x 841.89");
#ifdef TESSALINE_PROGRAM_PATH
    out = CommandOutput("QT_QPA_PLATFORM=offscreen timeout 60 '" + std::string(TESSALINE_PROGRAM_PATH) + "' /pt '" +
                            card + "' Office 2>&1",
                        &ok);
    EXPECT_FALSE(ok);
    EXPECT_NE(out.find(said + " The document was not printed."), std::string::npos) << out;
#endif

    BackOnTheServerBefore(old != nullptr, before);
}

// A card given on the command line, and one opened through File > Open,
// are shown and drawn while the print server still holds the question
// about the default printer; when the question ends they stay as drawn.
TEST_F(SilentPrintServerJourney, ACardOpensAndIsDrawnWhileTheServerIsStillSilent)
{
    const std::string socket = TempFile("mute.sock");
    auto server = std::make_unique<SilentServer>(socket);
    ASSERT_TRUE(server->listening()) << socket;
    const char* old = std::getenv("CUPS_SERVER");
    const std::string before = old ? old : "";
    ::setenv("CUPS_SERVER", socket.c_str(), 1);
    // Far longer than the checks take: the server is silent throughout
    // them, and a card that waited for it fails them, not the suite.
    ::setenv("TESSALINE_PRINT_SERVER_SECONDS", "30", 1);
    const std::string card = CopySample("Business Card.lqx", "card.lqx");

    Stop();
    cupsSetServer(nullptr);
    ForgetQueueAnswers();
    Start({card});
    ASSERT_NE(CardView(), nullptr) << alerts.lastText();
    EXPECT_TRUE(CardWindow()->isVisible());
    const QRect cardArea = CardRect(0, 0, 252, 144);
    const QImage shown = ViewPixels();
    EXPECT_GT(Ink(shown, cardArea), 200);
    EXPECT_TRUE(PrinterAnswerPending()) << "the card waited for the print server";

    CLabelsView* opened = OpenThroughMenu(CopySample("Business Card.lqx", "second.lqx"));
    ASSERT_NE(opened, nullptr) << alerts.lastText();
    EXPECT_TRUE(opened->isVisible());
    EXPECT_GT(Ink(ViewPixels(), cardArea), 200);
    EXPECT_TRUE(PrinterAnswerPending()) << "File > Open waited for the print server";

    // The server goes: the question ends with no printer, and the card,
    // measured again, does not move.
    const QImage second = ViewPixels();
    server.reset();
    QElapsedTimer clock;
    clock.start();
    while (PrinterAnswerPending() && clock.elapsed() < 20000)
        Settle(50);
    EXPECT_FALSE(PrinterAnswerPending());
    Settle(300);
    EXPECT_EQ(Changed(second, ViewPixels(), cardArea), 0);
    EXPECT_TRUE(alerts.lastText().empty()) << alerts.lastText();

    BackOnTheServerBefore(old != nullptr, before);
}

// A server that answers the program's own questions and then holds the
// next request, Qt's or the job's: a print on the queue gives up after
// the bound and names the server, a print into a file goes on with the
// locale's paper, saying so.
TEST_F(SilentPrintServerJourney, AStallingPrintServerAfterAnsweringIsGivenUpOnAsOneThatNeverAnswers)
{
#ifndef TESSALINE_PROGRAM_PATH
    GTEST_SKIP() << "the window program is not built here";
#else
    if (const std::string missing = CupsScheduler::Missing(); !missing.empty())
        SKIP_FOR_MISSING_TOOL() << missing;
    if (!HaveTool("pdfinfo"))
        SKIP_FOR_MISSING_TOOL() << "pdfinfo is needed";
    CupsScheduler scheduler({{"Office", 0, "", true}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    const std::string card = CopySample("Business Card.lqx", "card.lqx");
    const std::string socket = TempFile("stalls.sock");
    const std::string said = "The print server " + socket + " did not answer within 1 second.";
    const std::string env = "LC_ALL=C QT_QPA_PLATFORM=offscreen TESSALINE_PRINT_SERVER_SECONDS=1 CUPS_SERVER='" +
                            socket + "' timeout 60 ";
    // /pt asks about its queue twice; Qt's print support asks next, then
    // the job is handed over.
    for (const int answered : {2, 3}) {
        StallingPrintServer server(socket, scheduler.server(), answered);
        ASSERT_TRUE(server.listening());
        bool ok = true;
        const std::string out =
            CommandOutput(env + "'" + std::string(TESSALINE_PROGRAM_PATH) + "' /pt '" + card + "' Office 2>&1", &ok);
        EXPECT_FALSE(ok) << answered;
        EXPECT_NE(out.find(said + " The document was not printed."), std::string::npos) << answered << ": " << out;
    }
    // A server slower than a look at the clock, but within the bound, is
    // waited for: the job prints.
    {
        const std::string slow = "LC_ALL=C QT_QPA_PLATFORM=offscreen TESSALINE_PRINT_SERVER_SECONDS=3 CUPS_SERVER='" +
                                 socket + "' timeout 60 ";
        StallingPrintServer server(socket, scheduler.server(), 1000, 600);
        ASSERT_TRUE(server.listening());
        bool ok = false;
        const std::string out =
            CommandOutput(slow + "'" + std::string(TESSALINE_PROGRAM_PATH) + "' /pt '" + card + "' Office 2>&1", &ok);
        EXPECT_TRUE(ok) << out;
        EXPECT_FALSE(scheduler.NextOutput("Office").empty()) << scheduler.why();
    }
    // print-pdf asks for the default queue, then for its description.
    StallingPrintServer server(socket, scheduler.server(), 1);
    ASSERT_TRUE(server.listening());
    const std::string pdf = TempFile("cards.pdf");
    bool ok = false;
    const std::string out = CommandOutput(env + "'" + ToolPath() + "' print-pdf '" + card + "' '" + pdf + "' 2>&1", &ok);
    EXPECT_TRUE(ok) << out;
    EXPECT_NE(out.find(said + " The file is printed on A4"), std::string::npos) << out;
    EXPECT_EQ(PdfSheet(pdf), "595.276 x 841.89");
#endif
}

// What the Print dialog showed: its list, the entry chosen, and what it
// said of the print server.
struct PrintDialogShown {
    QStringList listed;
    QString chosen;
    QString said;
    // The sentence stands in the Printer box, between the list and the file.
    bool saidInPlace = false;
};

// The Print dialog lists the queues as the print system lists them, the
// sets of options of lpoptions among them, the default one chosen. A
// server that answers the question about the default queue and then holds
// the list of queues leaves the dialog with the files to print into, and
// named, after the bound: the window does not freeze on it.
TEST_F(SilentPrintServerJourney, ThePrintDialogListsTheQueuesAndGivesUpOnAServerThatHoldsTheList)
{
    if (const std::string missing = CupsScheduler::Missing(); !missing.empty())
        SKIP_FOR_MISSING_TOOL() << missing;
    CupsScheduler scheduler({{"Office", 0, "", true}, {"Labels", 0, "Letter"}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    const std::string home = std::getenv("HOME");
    std::filesystem::create_directories(home + "/.cups");
    const std::string lpoptions = home + "/.cups/lpoptions";
    std::ofstream(lpoptions) << "Default Office/wide media=A3\n";
    ::setenv("TESSALINE_PRINT_SERVER_SECONDS", "1", 1);
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    const auto lookAt = [](PrintDialogShown* shown) -> DialogDriver {
        return [shown](QWidget* dialog) {
            if (auto* print = dynamic_cast<CDlgPrint*>(dialog)) {
                for (int i = 0; i < print->PrinterList()->count(); ++i)
                    shown->listed << print->PrinterList()->itemText(i);
                shown->chosen = print->PrinterList()->currentText();
                if (auto* said = print->findChild<QLabel*>("printServerSilence")) {
                    shown->said = said->text();
                    shown->saidInPlace = said->isVisible() &&
                                         said->geometry().top() > print->PrinterList()->geometry().bottom() &&
                                         print->FileEdit()->geometry().top() > said->geometry().bottom();
                }
            }
            Reject()(dialog);
        };
    };

    PrintDialogShown answered;
    const int before = scheduler.Requests();
    OnNextDialog(lookAt(&answered));
    EXPECT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    std::printf("opening the Print dialog asked the print system %d times\n", scheduler.Requests() - before);
    EXPECT_EQ(answered.listed.join(", ").toStdString(),
              "Labels, Office, Office/wide, Print to PDF file, Print to PostScript file");
    EXPECT_EQ(answered.chosen.toStdString(), "Office/wide");
    EXPECT_TRUE(answered.said.isEmpty()) << answered.said.toStdString();

    // The same print system behind a server that holds every request after
    // the first. One that kept the window far past the bound is hung up
    // on, so that the fault fails here rather than holding the suite.
    const std::string socket = TempFile("holds.sock");
    StallingPrintServer server(socket, scheduler.server(), 1);
    ASSERT_TRUE(server.listening());
    ::setenv("CUPS_SERVER", socket.c_str(), 1);
    cupsSetServer(nullptr);
    std::promise<void> opened;
    bool hungUp = false;
    std::thread watch([&server, &hungUp, shown = opened.get_future()] {
        if (shown.wait_for(std::chrono::seconds(30)) == std::future_status::timeout) {
            hungUp = true;
            server.HangUp();
        }
    });
    PrintDialogShown held;
    OnNextDialog([&opened, &held, &lookAt](QWidget* dialog) {
        opened.set_value();
        lookAt(&held)(dialog);
    });
    EXPECT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    watch.join();
    EXPECT_FALSE(hungUp) << "the Print dialog waited on the server";
    EXPECT_EQ(held.listed.join(", ").toStdString(), "Print to PDF file, Print to PostScript file");
    EXPECT_EQ(held.said.toStdString(), "The print server " + socket + " did not answer within 1 second.");
    EXPECT_TRUE(held.saidInPlace);

    std::filesystem::remove(lpoptions);
    ::unsetenv("TESSALINE_PRINT_SERVER_SECONDS");
    ForgetQueueAnswers();
}

std::array<int32_t, 4> Areas(CLabelsDoc* document)
{
    const int32_t* margins = document->NonPrintingMargins();
    return {margins[0], margins[1], margins[2], margins[3]};
}

// A card shown before the default printer's answer is measured on that
// printer once it comes: the areas it can't print appear as it has them.
TEST_F(SilentPrintServerJourney, ACardShownBeforeThePrinterAnswersIsMeasuredOnItWhenItDoes)
{
    if (const std::string missing = CupsScheduler::Missing(); !missing.empty())
        SKIP_FOR_MISSING_TOOL() << missing;
    CupsScheduler scheduler({{"Office", 100, "", true}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    ::setenv("TESSALINE_PRINT_SERVER_SECONDS", "30", 1);
    const std::string card = CopySample("Business Card.lqx", "card.lqx");

    scheduler.Pause(true);
    Stop();
    cupsSetServer(nullptr);
    ForgetQueueAnswers();
    Start({card});
    ASSERT_NE(CardView(), nullptr) << alerts.lastText();
    ASSERT_TRUE(PrinterAnswerPending());
    if (!Checked(kCmdShowNonPrinting)) {
        ASSERT_TRUE(Trigger(kCmdShowNonPrinting));
    }
    const QImage before = ViewPixels();
    const std::array<int32_t, 4> unknown = Areas(CardDocument());

    scheduler.Pause(false);
    QElapsedTimer clock;
    clock.start();
    while (PrinterAnswerPending() && clock.elapsed() < 20000)
        Settle(50);
    Settle(300);
    const std::array<int32_t, 4> shown = Areas(CardDocument());
    const QImage after = ViewPixels();
    CardDocument()->ComputeMargins();
    const std::array<int32_t, 4> measured = Areas(CardDocument());
    ASSERT_NE(measured, unknown) << "the queue's margins leave the card's areas as they were";
    EXPECT_EQ(shown, measured);
    EXPECT_GT(Changed(before, after, QRect(QPoint(0, 0), after.size())), 0);

    ::unsetenv("TESSALINE_PRINT_SERVER_SECONDS");
}

// A server silent through one job is asked again for the next: once it
// answers, the Print dialog lists its queue and the job prints there.
TEST_F(SilentPrintServerJourney, AServerSilentForOneJobIsAskedAgainForTheNext)
{
    if (const std::string missing = CupsScheduler::Missing(); !missing.empty())
        SKIP_FOR_MISSING_TOOL() << missing;
    CupsScheduler scheduler({{"Office", 0, "", true}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    ::setenv("TESSALINE_PRINT_SERVER_SECONDS", "1", 1);
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();

    // Job 1, the server held after it answered the window: the dialog asks
    // it first, on the connection that gives up, so that Qt's print support
    // does not wait on it; the sheet goes into a PDF file on the paper
    // already known.
    scheduler.Pause(true);
    const std::string sheet = TempFile("sheet.pdf");
    OnNextDialog([sheet](QWidget* dialog) {
        auto* print = dynamic_cast<CDlgPrint*>(dialog);
        ASSERT_NE(print, nullptr);
        EXPECT_LT(print->PrinterList()->findData(QString("Office")), 0) << "a queue of a silent server is listed";
        PrintToPdfFile(sheet)(dialog);
    });
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    EXPECT_EQ(PdfSheet(sheet), "595.276 x 841.89");
    EXPECT_NE(CupsServerSilence().toStdString().find(scheduler.server()), std::string::npos);

    // Job 2, the server answering again.
    scheduler.Pause(false);
    EXPECT_EQ(PdfSheet(SpoolInto(scheduler, "Office")), "595.28 x 841.89");

    ::unsetenv("TESSALINE_PRINT_SERVER_SECONDS");
}

}  // namespace
