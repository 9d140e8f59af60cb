#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <string>
#include <vector>

#include "app/card_app.h"
#include "app/command_line.h"
#include "app/main_frame.h"
#include "foundation/alert_sink.h"
#include "platform/heap_reuse.h"
#include "platform/qt_alert_sink.h"
#include "platform/shell_registration.h"

int main(int argc, char** argv)
{
    KeepLargeFreedBlocksForReuse();
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
        status = std::max(status, int(cardApp.ExitInstance()));
    }
    SetAlertSink(nullptr);
    return status;
}
