// Running another program from a test (an oracle that reads back what the
// program wrote, a PDF tool): what it printed, and, when it failed, a line
// that says which program failed, how, and what it said on standard error,
// for the test's failure message.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct ProgramRun {
    bool ok = false;     // ran and exited with 0
    int exitCode = -1;   // -1 when it did not start, was killed or timed out
    std::string out;     // its standard output
    std::string errors;  // its standard error
    std::string failure; // "" when ok; else the command, what went wrong and its errors
};

// Runs program with the arguments (no shell), within the seconds.
ProgramRun RunProgramFor(const std::string& program, const std::vector<std::string>& arguments, int seconds = 120);

// Waits up to the seconds for a child this process forked to end, and kills
// it past them: a watchdog, not a measure. Its wait status; `inTime` says
// whether it ended by itself.
int EndedWithin(pid_t child, int seconds, bool* inTime = nullptr);
