// The subcommands of tessaline-tool. Each takes the arguments after its
// name and returns the process exit status; errors go to stderr.
#pragma once

#include <string>
#include <vector>

using ToolArgs = std::vector<std::string>;

struct ToolCommand {
    const char* name;
    const char* usage;
    int (*run)(const ToolArgs& args);
};

// Prints "tessaline-tool: <message>" to stderr and returns 1.
int ToolFail(const std::string& message);
