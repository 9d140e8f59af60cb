// A disk that runs out of room, or takes away the right to write, from a
// chosen step of an operation on: each change the file layer asks for from
// then on is refused with the system's code, as a real disk refuses it.
//
// Out of room, only what needs more room fails: a write past a file's end
// (the part over bytes the file holds still lands) and growing a file.
// Overwriting, cutting a file short, flushes, renames and deletes still
// work. Without the right to write, every write, size change, flush and
// rename fails. Deletes always work.
//
// Changes can be limited to the files of one folder (a full disk beside
// others that are not), and the changes asked for there are counted even
// before the refusals start: an operation that only reads asks for none.
// Flushes are only counted, never reach the disk, which keeps trials fast.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "foundation/file_watch.h"

class RefusingDisk : public FileWatcher {
public:
    enum class Refusal { NoSpace, NoPermission };

    // refuseFrom: the step (1-based) the refusals start at; 0 never.
    // folder: when not empty, only the files under it are refused and
    // counted.
    RefusingDisk(Refusal how, int64_t refuseFrom, const std::string& folder = std::string());
    ~RefusingDisk() override;
    RefusingDisk(const RefusingDisk&) = delete;
    RefusingDisk& operator=(const RefusingDisk&) = delete;

    // Changes asked for (of the folder's files), and how many were refused.
    int64_t steps() const { return steps_; }
    int64_t refused() const { return refused_; }
    // The system code of the refusals.
    int32_t code() const;

    void Opened(FileHandle file, const std::string& path) override;
    void Made(const std::string& path) override;
    void Closing(FileHandle file) override;
    int32_t Writing(FileHandle file, uint64_t offset, const void* bytes, uint32_t n, uint32_t* keep) override;
    int32_t Resizing(FileHandle file, uint64_t size) override;
    int32_t Syncing(FileHandle file) override;
    int32_t Renaming(const std::string& from, const std::string& to) override;
    int32_t Deleting(const std::string& path) override;

private:
    bool Watched(const std::string& path) const;
    bool WatchedFile(FileHandle file);
    // Counts a change of a watched file; true once refusals have started.
    bool Refusing();
    int32_t Refuse();

    Refusal how_;
    int64_t refuseFrom_;
    std::string folder_;
    int64_t steps_ = 0;
    int64_t refused_ = 0;
    std::map<FileHandle, std::string> handles_;
    FileWatcher* previous_;
};
