// db-view-shot FILE.dqx OUT.png: a picture of the main window with the
// database open in its window (the browser list beside the form), for
// looking at. The database is opened from a copy, and the profile and
// program folder are temporary, so nothing of the user's is touched.

#include <algorithm>
#include <string>

#include "app/card_app.h"
#include "app/database_document_kind.h"
#include "tool_command.h"
#include "widget_shot.h"

namespace {

int RunDbViewShot(const ToolArgs& args)
{
    if (args.size() != 2)
        return ToolFail("usage: db-view-shot FILE.dqx OUT.png");
    ShotProgram program;
    if (!program.Start(980, 640))
        return 1;
    ShellDocument* opened = program.OpenCopy(args[0]);
    if (!opened)
        return 1;
    auto* document = dynamic_cast<DatabaseShellDocument*>(opened);
    if (!document)
        return ToolFail("cannot open " + args[0]);
    // A record a little way down, so that the list shows a selection.
    document->Database()->GotoRow(std::min(2, document->Database()->RowCount() - 1));
    if (!program.SaveFrame(args[1], 5))
        return ToolFail("cannot write " + args[1]);
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("db-view-shot", "db-view-shot FILE.dqx OUT.png", RunDbViewShot);
