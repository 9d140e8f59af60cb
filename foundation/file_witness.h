// What this program last saw of a file it keeps open: which file it is,
// its size, when it was last changed, and its first bytes. Taken when the
// program read the file and after each of its own writes, and compared
// with the disk before the next write, it tells whether another program
// has changed the file in the meantime (copied another file over it in
// place, as a sync tool or a backup restore does), which the file's name
// alone does not.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "foundation/file_io.h"

class FileWitness {
public:
    // headBytes: how many of the file's first bytes are compared.
    explicit FileWitness(uint32_t headBytes = 0) : headBytes_(headBytes) {}

    // The file as it is now, through the handle the program holds.
    void Take(FileHandle file);
    void Forget() { taken_ = false; }
    bool Taken() const { return taken_; }
    FileHandle File() const { return file_; }

    // True while the file is the one taken, unchanged since: same file,
    // size, change time and first bytes. Nothing taken: true.
    bool Matches(FileHandle file) const;
    // Only that it is the same file with the same first bytes: its size
    // or time may have changed.
    bool HeadMatches(FileHandle file) const;
    // The same as Matches for the file now at the host path; a path that names no
    // file has nothing another program put there: true.
    bool Matches(const std::string& hostPath) const;

private:
    struct Seen {
        uint64_t device = 0;
        uint64_t inode = 0;
        int64_t size = -1;
        timespec modified{};
        std::vector<uint8_t> head;
        bool operator==(const Seen& other) const;
    };
    bool Look(int fd, Seen* seen) const;

    uint32_t headBytes_ = 0;
    bool taken_ = false;
    FileHandle file_ = kNoFile;
    Seen seen_;
};
