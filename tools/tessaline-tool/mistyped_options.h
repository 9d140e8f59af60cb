// One rule for every command: an argument that begins with "-" is one of
// the command's options (as its usage names them, with its value), or a
// number; anything else is taken for a mistyped option, never for a file.
#pragma once

#include "tool_command.h"

// True when an argument was refused, after saying why.
bool RefusedMistypedOptions(const ToolCommand& command, const ToolArgs& args);
