// Shared parts of the db subcommands of tessaline-tool.
#pragma once

#include <cstdint>
#include <string>

#include "tool_command.h"

class DataFile;

// Adds count generated contact records; the same seed gives the same
// records. Returns the number added.
int32_t FillSampleRecords(DataFile& data, int32_t count, uint64_t seed);

int RunDbFill(const ToolArgs& args);
int RunDbBench(const ToolArgs& args);
