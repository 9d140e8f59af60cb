// What a print job remembers of its EPS pictures. A job draws the same
// picture on every card, and Ghostscript has a time limit for each
// drawing: a picture that failed or ran out of time once would do so again
// on every card, and a long job would last for hours. Within a job each
// picture is therefore tried once; the cards after a failure get its
// stand-in at once, and the job tells once which file failed and why.
//
// The job's drawing may run on a thread of its own; every call is safe from
// any thread.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "graphics/ghostscript.h"

class EpsJobMemory {
public:
    static EpsJobMemory& Shared();

    // A job starts: nothing has failed yet, and failures are remembered.
    void BeginJob();
    // The job ended: the message naming each picture that failed and why
    // (Windows-1252; empty when none did); failures are no longer
    // remembered.
    std::string EndJob();

    // True when the file (its full path) failed earlier in the running job.
    bool Failed(const std::string& file) const;
    // Remembers the end of a drawing of the file (name: what the user knows
    // it by), when it failed or ran out of time and a job runs.
    void Remember(const std::string& file, const std::string& name, GhostscriptOutcome outcome);

private:
    struct Failure {
        std::string file;
        std::string name;
        GhostscriptOutcome outcome;
    };

    mutable std::mutex lock_;
    bool inJob_ = false;
    std::vector<Failure> failures_;
};
