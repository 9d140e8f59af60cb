// The folders a suite runs in: one for the whole run, made fresh and
// removed after it, and inside it a fresh folder for each process that runs
// tests (the supervisor restarts one after a test it stopped), so that
// nothing an earlier test or run left (or the person running the suite)
// can change a result. HOME, TMPDIR and the XDG folders point into it.
//
// Printing goes to the printers the tests set up, never the machine's: the
// print system's client settings of each run folder name a server that
// does not exist, so the suite sees no printer and no default paper; a
// test that needs a queue starts a scheduler of its own.
//
// The name of the run's folder holds the supervisor's process id: a run
// folder whose process is gone (stopped by SIGKILL, which nobody can catch)
// is removed by the next suite that starts.
#pragma once

#include <string>
#include <utility>
#include <vector>

using EnvironmentSettings = std::vector<std::pair<std::string, std::string>>;

class SuiteFolder {
public:
    SuiteFolder();
    ~SuiteFolder();
    SuiteFolder(const SuiteFolder&) = delete;
    SuiteFolder& operator=(const SuiteFolder&) = delete;

    const std::string& path() const { return root_; }

    // Makes the next process's own folder; the settings that point into it
    // (an empty value unsets the variable).
    EnvironmentSettings NewRunFolder();
    // Removes the folder of the process that ended.
    void RemoveRunFolder();

private:
    std::string root_;
    std::string run_;
    int runs_ = 0;
};

void ApplyEnvironment(const EnvironmentSettings& settings);
