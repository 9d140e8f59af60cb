#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <string>
#include <vector>

#include "app/card_app.h"
#include "app/command_line.h"
#include "app/main_frame.h"
#include "foundation/alert_sink.h"
#include "foundation/stop_request.h"
#include "platform/heap_reuse.h"
#include "platform/qt_alert_sink.h"
#include "platform/shell_registration.h"

namespace {

// Runs the program as the command line asks; its exit status.
int RunProgram(int argc, char** argv)
{
    // The usage text needs no window system.
    bool printing = false;
    {
        std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
        const CommandLineRecord line = ParseCommandLine(arguments);
        if (line.action == CommandLineRecord::kUsage) {
            std::fputs(CommandLineUsage(), stdout);
            return 0;
        }
        printing = line.action == CommandLineRecord::kPrint || line.action == CommandLineRecord::kPrintTo;
    }
    QApplication app(argc, argv);
    EndEventLoopOnStopRequest();
    QApplication::setOrganizationName("Korrinworks Inc.");
    QApplication::setApplicationName("Tessaline");
    // Ties the windows to the desktop entry, whose name and icon they show.
    QGuiApplication::setDesktopFileName("tessaline");
    const ShellPlaces places = CurrentShellPlaces();
    QApplication::setWindowIcon(ProgramIcon(places));
    // The desktop learns that cards and databases open with this program.
    RegisterShellFileTypes(places, true);

    // A print from the command line shows no window: a box would wait for
    // an answer nobody can give. Its messages go to standard error (the
    // sink without any window) and the exit status says how it ended.
    QtAlertSink alerts;
    if (!printing)
        SetAlertSink(&alerts);

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);

    int status = 0;
    {
        CCardApp cardApp;
        if (!cardApp.InitInstance(arguments)) {
            SetAlertSink(nullptr);
            return cardApp.ExitCode();
        }
        alerts.SetOwner(cardApp.MainFrame());
        status = QApplication::exec();
        // Told to end from outside, where nobody may be there to answer: the
        // documents close unasked before their windows go.
        if (StopRequested())
            cardApp.Documents().CloseAllDocuments();
        status = std::max(status, int(cardApp.ExitInstance()));
    }
    SetAlertSink(nullptr);
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    KeepLargeFreedBlocksForReuse();
    // A logout, a closed terminal or a kill stops a print as its Cancel
    // does and ends the windows as a quit does: the program's scratch files
    // go, and the print system gets no half job.
    CatchStopRequests();
    const int status = RunProgram(argc, argv);
    EndIfStopRequested();
    return status;
}
