// The metafiles that could not be drawn in this session: out of time, or a
// path too large to keep. Drawing one costs up to the time limit, and it
// would cost that again at every paint, every card and every zoom: once
// failed, a metafile gets its stand-in at once until the program ends (or
// its bits change). The user is told once: by the print job that met it,
// or, outside a job, by a message after the painting that met it.
//
// Safe from any thread.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "foundation/handle.h"
#include "graphics/metafile_outcome.h"

class MetafileFailures {
public:
    static MetafileFailures& Shared();

    // What tells the bits apart from other metafiles' (a hash of them).
    static uint64_t KeyOf(Handle bits);

    // How the last drawing of the bits (key) ended: kDrawn unless it
    // failed. A failure met again is said again to a print job.
    MetafileOutcome Failed(uint64_t key, const std::string& name);
    // Remembers a drawing that stopped short, and tells the user (see
    // above); name is the file's name, empty for a picture of none.
    void Remember(uint64_t key, const std::string& name, MetafileOutcome outcome);
    // Remembers that the picture known by pictureKey (FrameObjImage's hash
    // of its pixels) is the stand-in of the bits (key); TellIfStandIn then
    // tells of the failure again wherever that picture is drawn (a print
    // job meeting a stand-in the screen made).
    void RememberStandIn(uint64_t pictureKey, uint64_t key);
    void TellIfStandIn(uint64_t pictureKey, const std::string& name);
    // Forgets them all (tests).
    void Clear();

private:
    void Tell(uint64_t key, const std::string& name, MetafileOutcome outcome);

    mutable std::mutex lock_;
    std::map<uint64_t, MetafileOutcome> failed_;
    std::set<uint64_t> told_;
    std::map<uint64_t, uint64_t> standIns_;
};
