// Running tessaline-tool and other commands from a test, and reading and
// writing whole files.
#pragma once

#include <string>

#include "support/temp_dir.h"

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// The tessaline-tool to run: $TESSALINE_TOOL when set, else the one the
// build made next to the test programs.
std::string ToolPath();

// Runs a shell command line; its standard output, and whether it exited
// with 0.
std::string CommandOutput(const std::string& command, bool* ok);

// Runs a shell command line in the folder, with $T naming tessaline-tool.
// Returns the exit status, or -1 when the command died of a signal.
int Shell(const TempDir& dir, const std::string& command);
