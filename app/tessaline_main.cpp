#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <string>
#include <vector>

#include "app/card_app.h"
#include "app/command_line.h"
#include "app/main_frame.h"
#include "foundation/alert_sink.h"
#include "platform/qt_alert_sink.h"
#include "platform/shell_registration.h"

int main(int argc, char** argv)
{
    // The usage text needs no window system.
    {
        std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
        if (ParseCommandLine(arguments).action == CommandLineRecord::kUsage) {
            std::fputs(CommandLineUsage(), stdout);
            return 0;
        }
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

    QtAlertSink alerts;
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
