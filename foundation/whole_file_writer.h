// A file the user named, written whole or not at all: printed PDF files,
// exported pictures. The bytes go to a new file beside the target, which
// takes the target's place only once every write, the flush and the close
// have succeeded; until then a file already under that name stays as it
// was, and a writer given up (or failing) leaves nothing behind.
//
// Every step goes through the file layer, so each failure comes back as
// its system code (112 for a full disk, 5 where the folder or the file
// may not be written).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/file_io.h"

class WholeFileWriter {
public:
    explicit WholeFileWriter(const PathRecord& target);
    explicit WholeFileWriter(const std::string& posixTarget);
    // Without a successful Commit the new file goes.
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    // Makes the new file. A target that exists but may not be written is
    // refused (5), as a plain overwrite would be. 0 or the code.
    int32_t Open();
    // The first failure sticks: later writes do nothing and return it.
    int32_t Write(const void* bytes, size_t n);
    // Flushes, closes and puts the new file in the target's place.
    int32_t Commit();
    // Drops the new file; the target is left alone.
    void Discard();
    int32_t Error() const { return error_; }
    // The new file, for a writer that writes through the file layer itself
    // (not mixed with Write).
    FileHandle File() const { return file_; }

private:
    int32_t Drain();

    PathRecord target_{};
    PathRecord temp_{};
    FileHandle file_ = kNoFile;
    bool made_ = false;
    int32_t error_ = 0;
    std::vector<uint8_t> pending_;
};

// Writes the bytes whole in the target's place. 0 or the code.
int32_t WriteWholeFile(const std::string& posixTarget, const void* bytes, size_t n);
