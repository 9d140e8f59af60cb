// card-view-shot FILE.lqx OUT.png: a picture of the main window with the
// card document open in its card window (view, rulers, zoom and page bar),
// for looking at. The document is opened from a copy, and the profile and
// the program folder are temporary, so neither the file nor the user's
// settings are touched.

#include <string>

#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/card_app.h"
#include "app/main_frame.h"
#include "tool_command.h"
#include "widget_shot.h"

namespace {

constexpr uint32_t kTextToolCommand = 33285;

int RunCardViewShot(const ToolArgs& args)
{
    if (args.size() != 2)
        return ToolFail("usage: card-view-shot FILE.lqx OUT.png");
    ShotProgram program;
    if (!program.Start(900, 640))
        return 1;
    if (!program.OpenCopy(args[0]))
        return 1;
    CMainFrame* frame = program.Frame();
    QList<QMdiSubWindow*> windows = frame->MdiArea()->subWindowList();
    if (!windows.empty())
        windows[0]->setGeometry(10, 10, 600, 420);
    frame->RouteCommand(kTextToolCommand);
    if (!program.SaveFrame(args[1], 10))
        return ToolFail("cannot write " + args[1]);
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("card-view-shot", "card-view-shot FILE.lqx OUT.png", RunCardViewShot);
