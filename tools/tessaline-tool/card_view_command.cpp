// card-view-shot FILE.lqx OUT.png [--zoom PERCENT]: a picture of the main
// window with the card document open in its card window (view, rulers,
// zoom and page bar), for looking at; at the zoom given, in a window large
// enough for the card at 400%. The document is opened from a copy, and the profile and
// the program folder are temporary, so neither the file nor the user's
// settings are touched.

#include <cstdlib>
#include <string>

#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/card_app.h"
#include "app/card_document_kind.h"
#include "carddoc/labels_doc.h"
#include "frames/curr_page_mng.h"
#include "app/main_frame.h"
#include "tool_command.h"
#include "widget_shot.h"

namespace {

constexpr uint32_t kTextToolCommand = 33285;
// The zoom mode of a zoom the program did not choose from its list.
constexpr int16_t kZoomByTool = 7;

int RunCardViewShot(const ToolArgs& args)
{
    int percent = 0;
    if (args.size() == 4 && args[2] == "--zoom")
        percent = std::atoi(args[3].c_str());
    if ((args.size() != 2 && args.size() != 4) || (args.size() == 4 && (percent < 10 || percent > 800)))
        return ToolFail("usage: card-view-shot FILE.lqx OUT.png [--zoom PERCENT]");
    ShotProgram program;
    if (!program.Start(percent ? 1400 : 900, percent ? 1000 : 640))
        return 1;
    auto* card = dynamic_cast<CardShellDocument*>(program.OpenCopy(args[0]));
    if (!card)
        return 1;
    CMainFrame* frame = program.Frame();
    QList<QMdiSubWindow*> windows = frame->MdiArea()->subWindowList();
    if (!windows.empty())
        windows[0]->setGeometry(10, 10, percent ? 1300 : 600, percent ? 880 : 420);
    if (percent) {
        card->Document()->PageManager()->SetZoom(uint16_t(percent), 100, kZoomByTool, 1);
        card->Document()->SetZoomMode(kZoomByTool, false);
    }
    frame->RouteCommand(kTextToolCommand);
    if (!program.SaveFrame(args[1], 10))
        return ToolFail("cannot write " + args[1]);
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("card-view-shot", "card-view-shot FILE.lqx OUT.png [--zoom PERCENT]", RunCardViewShot);
