#include "widget_shot.h"

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "app/card_app.h"
#include "app/main_frame.h"
#include "app/splash_wnd.h"
#include "foundation/program_folder.h"

bool SaveWidgetShot(QWidget* widget, const std::string& path, int rounds)
{
    for (int i = 0; i < rounds; ++i)
        QApplication::processEvents();
    return widget->grab().save(QString::fromLocal8Bit(path.c_str()));
}

ShotProgram::ShotProgram() : qt_(StartOffscreenApplication()) {}

ShotProgram::~ShotProgram()
{
    if (started_) {
        app_->Documents().CloseAllDocuments();
        app_->ExitInstance();
    }
    app_.reset();
    SetProgramFolderForTesting("");
}

bool ShotProgram::Start(int width, int height)
{
    if (!temp_.isValid()) {
        ToolFail("cannot make a temporary folder");
        return false;
    }
    QCoreApplication::setOrganizationName("Korrinworks Inc.");
    QCoreApplication::setApplicationName("Tessaline");
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, temp_.path() + "/settings");
    SetProgramFolderForTesting((temp_.path() + "/program").toStdString());
    app_ = std::make_unique<CCardApp>();
    if (!app_->InitInstance({})) {
        ToolFail("the program did not start");
        return false;
    }
    started_ = true;
    // A dialog that opens on its own takes what it proposes, as OK would,
    // and the picture says so on stderr; it keeps being answered until it
    // is gone.
    answerer_.setInterval(100);
    QObject::connect(&answerer_, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "tessaline-tool: answered \"%s\" with what it proposes\n",
                         dialog->windowTitle().toLocal8Bit().constData());
            dialog->accept();
        }
    });
    answerer_.start();
    CSplashWnd::HideSplashScreen();
    Frame()->showNormal();
    Frame()->resize(width, height);
    return true;
}

CMainFrame* ShotProgram::Frame() { return app_->MainFrame(); }

ShellDocument* ShotProgram::OpenCopy(const std::string& path)
{
    const QString source = QString::fromStdString(path);
    const QString copy = Folder() + "/" + QFileInfo(source).fileName();
    if (!QFile::copy(source, copy)) {
        ToolFail("cannot read " + path);
        return nullptr;
    }
    ShellDocument* document = app_->OpenDocumentFile(copy.toStdString());
    if (!document)
        ToolFail("cannot open " + path);
    return document;
}

bool ShotProgram::SaveFrame(const std::string& path, int rounds)
{
    Frame()->IdleUpdate();
    return SaveWidgetShot(Frame(), path, rounds);
}

namespace {

std::string Names(const std::vector<NamedShot>& shots)
{
    std::string names;
    for (const NamedShot& s : shots)
        names += std::string(names.empty() ? "" : ", ") + s.name;
    return names;
}

}  // namespace

int RunNamedShot(const char* command, const ToolArgs& args, const std::vector<NamedShot>& shots)
{
    if (args.size() != 2)
        return ToolFail(std::string("usage: ") + command + " NAME OUT.png (NAME: " + Names(shots) + ")");
    const NamedShot* entry = nullptr;
    for (const NamedShot& s : shots) {
        if (args[0] == s.name)
            entry = &s;
    }
    if (!entry)
        return ToolFail("no dialog named " + args[0] + " (NAME: " + Names(shots) + ")");
    const std::unique_ptr<QApplication> app = StartOffscreenApplication();
    Shot shot = entry->make();
    shot.widget->show();
    const bool saved = SaveWidgetShot(shot.widget.get(), args[1]);
    shot.widget.reset();
    if (shot.cleanup)
        shot.cleanup();
    if (!saved)
        return ToolFail("cannot write " + args[1]);
    return 0;
}
