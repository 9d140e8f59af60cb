// A disk that can lose power: a file watcher that keeps, for every file
// the file layer touches, what is safely on the disk (the bytes as of the
// file's last flush) and the changes made since. At a chosen step it works
// out what a crash there would leave: each change not yet flushed is kept,
// dropped, torn at a random byte or torn at a 4 KiB boundary of the file
// (or, in the harsh mode, every one is dropped). The operation then runs to
// its end as if nothing happened; Restore puts the crash's leftovers on the
// disk, for the test to reopen.
//
// Renames, deletes and new files count as done at once (a file system
// that logs its metadata); only file contents wait for a flush. Flushes are
// kept account of here and never reach the real disk, which keeps trials
// fast.
#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "foundation/file_watch.h"

class CrashDisk : public FileWatcher {
public:
    struct Stats {
        int64_t steps = 0;     // changes seen
        int64_t dropped = 0;     // unflushed changes a crash dropped
        int64_t tornPartly = 0;  // unflushed writes a crash cut at a random byte
        int64_t tornAtPage = 0;  // unflushed writes a crash cut at a 4 KiB boundary of the file
        int64_t kept = 0;        // unflushed changes that survived
    };

    // crashAt: the step (1-based) the power goes at; 0 never. harsh: every
    // unflushed change is lost, rather than each meeting its own fate.
    CrashDisk(uint64_t seed, int64_t crashAt, bool harsh = false);
    ~CrashDisk() override;
    CrashDisk(const CrashDisk&) = delete;
    CrashDisk& operator=(const CrashDisk&) = delete;

    bool crashed() const { return crashed_; }
    const Stats& stats() const { return stats_; }
    // Puts what the crash left in place of every file touched since; the
    // files must be closed. Without a crash nothing changes.
    void Restore();

    void Opened(FileHandle file, const std::string& path) override;
    void Made(const std::string& path) override;
    void Closing(FileHandle file) override;
    int32_t Writing(FileHandle file, uint64_t offset, const void* bytes, uint32_t n, uint32_t* keep) override;
    int32_t Resizing(FileHandle file, uint64_t size) override;
    int32_t Syncing(FileHandle file) override;
    int32_t Renaming(const std::string& from, const std::string& to) override;
    int32_t Deleting(const std::string& path) override;

private:
    struct Change {
        bool write = true;
        uint64_t offset = 0;  // a resize: the new size
        std::vector<uint8_t> bytes;
    };
    struct File {
        bool exists = false;
        std::vector<uint8_t> durable;
        std::vector<Change> pending;
    };
    // What the disk holds for a path at the crash, or before the path was
    // first seen (a file the crash never touched).
    struct Leftover {
        bool exists = false;
        std::vector<uint8_t> bytes;
    };

    File& Track(const std::string& path);
    File* FileOf(FileHandle file);
    void Step();
    void TakeCrashImage();
    std::vector<uint8_t> CrashImage(const File& file);

    std::mt19937_64 random_;
    int64_t crashAt_;
    bool harsh_;
    bool crashed_ = false;
    Stats stats_;
    std::map<std::string, File> files_;
    std::map<FileHandle, std::string> handles_;
    std::map<std::string, Leftover> firstSeen_;
    std::map<std::string, Leftover> image_;
    FileWatcher* previous_;
};
