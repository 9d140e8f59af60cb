// What a print job remembers of its pictures that take long to draw (EPS
// through Ghostscript, metafiles). A job draws the same picture on every
// card, and each drawing has a time limit: a picture that failed or ran
// out of time once would do so again on every card, and a long job would
// last for hours. Within a job each picture is therefore tried once; the
// cards after a failure get its stand-in at once, and the job tells once
// which file failed and why.
//
// The job's drawing may run on a thread of its own; every call is safe from
// any thread.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "graphics/ghostscript.h"
#include "graphics/metafile_outcome.h"

class PictureJobMemory {
public:
    static PictureJobMemory& Shared();

    // A job starts: nothing has failed yet, and failures are remembered.
    void BeginJob();
    // The job ended: the message naming each picture that failed and why
    // (Windows-1252; empty when none did); failures are no longer
    // remembered.
    std::string EndJob();
    // True while a job runs.
    bool InJob() const;

    // True when the file (its full path) failed earlier in the running job.
    bool Failed(const std::string& file) const;
    // True when the EPS file was drawn whole earlier in the running job.
    bool Drawn(const std::string& file) const;
    // Remembers the end of a drawing of the EPS file (name: what the user
    // knows it by), whether it was drawn, failed or ran out of time, while
    // a job runs.
    void Remember(const std::string& file, const std::string& name, GhostscriptOutcome outcome);
    // The same for a metafile (file: what tells it from the others), when
    // it stopped short.
    void RememberMetafile(const std::string& file, const std::string& name, MetafileOutcome outcome);

private:
    struct Failure {
        std::string file;
        std::string text;  // the sentence naming it and why
    };
    void Add(const std::string& file, std::string text);

    mutable std::mutex lock_;
    bool inJob_ = false;
    std::vector<Failure> failures_;
    std::vector<std::string> drawn_;
};
