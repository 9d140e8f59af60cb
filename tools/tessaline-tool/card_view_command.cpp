// card-view-shot FILE.lqx OUT.png: a picture of the main window with the
// card document open in its card window (view, rulers, zoom and page bar),
// for looking at. The document is opened from a copy, and the profile and
// the program folder are temporary, so neither the file nor the user's
// settings are touched.

#include <cstdlib>
#include <memory>
#include <string>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>

#include "app/card_app.h"
#include "app/main_frame.h"
#include "app/splash_wnd.h"
#include "foundation/program_folder.h"
#include "tool_command.h"

namespace {

constexpr uint32_t kTextToolCommand = 33285;

int RunCardViewShot(const ToolArgs& args)
{
    if (args.size() != 2)
        return ToolFail("usage: card-view-shot FILE.lqx OUT.png");
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tessaline-tool";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    if (!QApplication::instance())
        app = std::make_unique<QApplication>(argc, argv);
    QTemporaryDir temp;
    if (!temp.isValid())
        return ToolFail("cannot make a temporary folder");
    const QString source = QString::fromStdString(args[0]);
    const QString copy = temp.path() + "/" + QFileInfo(source).fileName();
    if (!QFile::copy(source, copy))
        return ToolFail("cannot read " + args[0]);
    QCoreApplication::setOrganizationName("Korrinworks Inc.");
    QCoreApplication::setApplicationName("Tessaline");
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, temp.path() + "/settings");
    SetProgramFolderForTesting((temp.path() + "/program").toStdString());

    int status = 0;
    {
        CCardApp cardApp;
        if (!cardApp.InitInstance({}))
            return ToolFail("the program did not start");
        CSplashWnd::HideSplashScreen();
        CMainFrame* frame = cardApp.MainFrame();
        frame->showNormal();
        frame->resize(900, 640);
        if (!cardApp.OpenDocumentFile(copy.toStdString())) {
            status = ToolFail("cannot open " + args[0]);
        } else {
            QList<QMdiSubWindow*> windows = frame->MdiArea()->subWindowList();
            if (!windows.empty())
                windows[0]->setGeometry(10, 10, 600, 420);
            frame->RouteCommand(kTextToolCommand);
            frame->IdleUpdate();
            for (int i = 0; i < 10; ++i)
                QApplication::processEvents();
            if (!frame->grab().save(QString::fromStdString(args[1])))
                status = ToolFail("cannot write " + args[1]);
        }
        cardApp.Documents().CloseAllDocuments();
        cardApp.ExitInstance();
    }
    SetProgramFolderForTesting("");
    return status;
}

}  // namespace

TESSALINE_TOOL_COMMAND("card-view-shot", "card-view-shot FILE.lqx OUT.png", RunCardViewShot);
