// program-folder: prints the user's program folder, the one the program
// itself uses, after giving it the installed data it lacks as the program
// does at its start. Scripts open the user's copies of the samples from
// there, so the files of the source tree stay as they are committed.

#include <cstdio>

#include "foundation/program_folder.h"
#include "tool_command.h"

namespace {

int RunProgramFolder(const ToolArgs& args)
{
    if (!args.empty())
        return ToolFail("program-folder takes no arguments");
    std::printf("%s\n", ProgramFolderPath().c_str());
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("program-folder", "program-folder", RunProgramFolder);
