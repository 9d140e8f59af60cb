// db-view-shot FILE.dqx OUT.png: a picture of the main window with the
// database open in its window (the browser list beside the form), for
// looking at. The database is opened from a copy, and the profile and
// program folder are temporary, so nothing of the user's is touched.

#include <cstdlib>
#include <memory>
#include <string>

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>

#include "app/card_app.h"
#include "app/database_document_kind.h"
#include "app/main_frame.h"
#include "app/splash_wnd.h"
#include "foundation/program_folder.h"
#include "tool_command.h"

namespace {

int RunDbViewShot(const ToolArgs& args)
{
    if (args.size() != 2)
        return ToolFail("usage: db-view-shot FILE.dqx OUT.png");
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
    const QString copy = temp.path() + "/" + QFileInfo(QString::fromStdString(args[0])).fileName();
    if (!QFile::copy(QString::fromStdString(args[0]), copy))
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
            return ToolFail("the shell did not start");
        CSplashWnd::HideSplashScreen();
        CMainFrame* frame = cardApp.MainFrame();
        frame->showNormal();
        frame->resize(980, 640);
        auto* document = dynamic_cast<DatabaseShellDocument*>(cardApp.OpenDocumentFile(copy.toStdString()));
        if (!document) {
            status = ToolFail("cannot open " + args[0]);
        } else {
            // A record a little way down, so that the list shows a selection.
            document->Database()->GotoRow(std::min(2, document->Database()->RowCount() - 1));
            frame->IdleUpdate();
            for (int i = 0; i < 5; ++i)
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

TESSALINE_TOOL_COMMAND("db-view-shot", "db-view-shot FILE.dqx OUT.png", RunDbViewShot);
