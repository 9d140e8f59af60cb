// The subcommands of tessaline-tool. Each takes the arguments after its
// name and returns the process exit status; errors go to stderr.
//
// A command registers itself from its own file:
//   TESSALINE_TOOL_COMMAND("pack", "pack [LEVEL] < input > container", RunPack);
// so adding one touches no shared table.
#pragma once

#include <string>
#include <vector>

using ToolArgs = std::vector<std::string>;

struct ToolCommand {
    const char* name;
    const char* usage;
    int (*run)(const ToolArgs& args);
};

class ToolCommandRegistration {
public:
    explicit ToolCommandRegistration(const ToolCommand& command);
};

// Every registered command, sorted by name.
std::vector<ToolCommand> ToolCommands();

#define TESSALINE_TOOL_CONCAT_(a, b) a##b
#define TESSALINE_TOOL_CONCAT(a, b) TESSALINE_TOOL_CONCAT_(a, b)
#define TESSALINE_TOOL_COMMAND(name, usage, run)                                              \
    static const ToolCommandRegistration TESSALINE_TOOL_CONCAT(toolCommandRegistration_, __LINE__) \
    {                                                                                         \
        ToolCommand { name, usage, run }                                                      \
    }

// Prints "tessaline-tool: <message>" to stderr and returns 1.
int ToolFail(const std::string& message);

// A file argument that begins with "-" is far more often a mistyped option
// than a file: true when it does, after saying so (and how to name such a
// file) for the command.
bool RefusedAsOption(const std::string& command, const std::string& file);
