// What the picture commands share: the offscreen application they draw in,
// a widget's picture written as a PNG, the program started in a profile of
// its own, and the commands that picture one of a table of named samples.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <QTimer>

#include "offscreen_application.h"
#include "tool_command.h"

class CCardApp;
class CMainFrame;
class QApplication;
class QWidget;
class ShellDocument;

// Lets the pending events run `rounds` times, so that the widget is laid
// out and painted, then writes its picture to path (the format by the
// name's ending). False when it could not be written.
bool SaveWidgetShot(QWidget* widget, const std::string& path, int rounds = 1);

// The program as the user starts it, but with a temporary profile and
// program folder, so that nothing of the user's is read or touched.
class ShotProgram {
public:
    ShotProgram();
    ~ShotProgram();
    ShotProgram(const ShotProgram&) = delete;
    ShotProgram& operator=(const ShotProgram&) = delete;

    // Starts the program with its main window shown at the size; false
    // after saying why.
    bool Start(int width, int height);
    // The temporary folder, for copies of the files a picture opens.
    QString Folder() const { return temp_.path(); }
    CCardApp& App() { return *app_; }
    // Opens a copy of the file made in the temporary folder, so that the
    // picture leaves the file as it was; null after saying why.
    ShellDocument* OpenCopy(const std::string& path);
    CMainFrame* Frame();
    // The main window's picture, after its idle update.
    bool SaveFrame(const std::string& path, int rounds);

private:
    std::unique_ptr<QApplication> qt_;
    QTemporaryDir temp_;
    std::unique_ptr<CCardApp> app_;
    // Answers what the program asks while a file opens (fonts to replace,
    // say): no one is at an offscreen window to answer.
    QTimer answerer_;
    bool started_ = false;
};

// What a named sample shows, kept until its picture is written; cleanup
// runs after the widget is gone.
struct Shot {
    std::unique_ptr<QWidget> widget;
    std::function<void()> cleanup;
};

struct NamedShot {
    const char* name;
    std::function<Shot()> make;
};

// COMMAND NAME OUT.png: the picture of the sample called NAME.
int RunNamedShot(const char* command, const ToolArgs& args, const std::vector<NamedShot>& shots);
