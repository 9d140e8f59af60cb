// Where a print job found each picture file. A card's picture is named the
// same on every record, and finding a name the system does not hold as
// written means listing folders and comparing every entry ignoring case:
// done for each card, that search cost a long job more than drawing the
// picture. Within a job each name is therefore searched for once; later
// cards check the answer with a single stat of the file found (or, for a
// name found nowhere, of each place it was looked for) and search again
// only when that check fails. Outside a job every call searches, as the
// window must follow files as the user moves them.
//
// The job's drawing may run on threads of its own; every call is safe from
// any thread.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/path_record.h"

class PictureFileLookup {
public:
    static PictureFileLookup& Shared();

    // A job starts, or ends: what was found is forgotten either way, as
    // files may move between jobs.
    void BeginJob();
    void EndJob();

    // Gives the place to look at n (from 0) in *place, false when there
    // are no more. Places are asked for only as far as the search goes.
    using Places = std::function<bool(int n, PathRecord* place)>;

    // The first of the places that exists (as FileExists finds it, case
    // ignored): 0 with it in out, 1 when none does. key names the search:
    // calls with the same key give the same places for as long as a job
    // runs.
    int32_t Find(const std::string& key, const Places& places, PathRecord* out);

private:
    struct Answer {
        bool found = false;
        PathRecord place{};
        // Found: the file's path as the system holds it. Not found: the
        // places' paths as written.
        std::vector<std::string> checked;
    };
    static Answer Search(const Places& places);
    static bool StillHolds(const Answer& answer);

    std::mutex lock_;
    bool inJob_ = false;
    std::map<std::string, Answer> answers_;
};
