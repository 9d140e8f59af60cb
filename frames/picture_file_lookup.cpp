#include "frames/picture_file_lookup.h"

#include <sys/stat.h>

#include "foundation/file_host.h"
#include "foundation/file_io.h"

namespace {

// A card whose picture is named by a field may name another file on every
// record: those names gain nothing from being kept, so the job keeps only
// so many answers and starts afresh when they are used up.
constexpr size_t kMostAnswers = 256;

bool Exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

PictureFileLookup& PictureFileLookup::Shared()
{
    static PictureFileLookup lookup;
    return lookup;
}

void PictureFileLookup::BeginJob()
{
    std::lock_guard<std::mutex> hold(lock_);
    inJob_ = true;
    answers_.clear();
}

void PictureFileLookup::EndJob()
{
    std::lock_guard<std::mutex> hold(lock_);
    inJob_ = false;
    answers_.clear();
}

PictureFileLookup::Answer PictureFileLookup::Search(const Places& places)
{
    Answer answer;
    PathRecord place{};
    for (int n = 0; places(n, &place); ++n) {
        std::string path = PathRecordToPosix(place);
        // A pipe or a device is no picture: reading it may never end.
        if (!FileExists(&place, 0) || FileIsDeviceOrPipe(&place)) {
            answer.checked.push_back(std::move(path));
            continue;
        }
        answer.found = true;
        answer.place = place;
        std::string actual;
        if (!Exists(path) && HostFindIgnoringCase(path, &actual))
            path = actual;
        answer.checked = {path};
        return answer;
    }
    return answer;
}

bool PictureFileLookup::StillHolds(const Answer& answer)
{
    if (answer.found)
        return Exists(answer.checked.front());
    // A file put in one of the places under the name as written is seen;
    // one put there in another case is not, until the next job.
    for (const std::string& path : answer.checked) {
        if (!path.empty() && Exists(path))
            return false;
    }
    return true;
}

int32_t PictureFileLookup::Find(const std::string& key, const Places& places, PathRecord* out)
{
    std::unique_lock<std::mutex> hold(lock_);
    if (!inJob_) {
        hold.unlock();
        const Answer answer = Search(places);
        if (answer.found)
            *out = answer.place;
        return answer.found ? 0 : 1;
    }
    auto known = answers_.find(key);
    if (known == answers_.end() || !StillHolds(known->second)) {
        if (known == answers_.end() && answers_.size() >= kMostAnswers)
            answers_.clear();
        known = answers_.insert_or_assign(key, Search(places)).first;
    }
    if (known->second.found)
        *out = known->second.place;
    return known->second.found ? 0 : 1;
}
