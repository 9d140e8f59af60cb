// A file written whole or not at all: printed PDF files, exported pictures,
// and the program's own files (the wizard's, dictionaries, label stock,
// styles). The bytes go to a new file beside the target, which
// takes the target's place only once every write, the flush and the close
// have succeeded; until then a file already under that name stays as it
// was, and a writer given up (or failing) leaves nothing behind.
//
// Every step goes through the file layer, so each failure comes back as
// its system code (112 for a full disk, 5 where the folder or the file
// may not be written).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "foundation/file_io.h"

// Deletes what writers of files the user named (prints, exports) that were
// killed midway left in the folder (OUT….TMP files they marked as their
// own), unless a running program holds them. Returns how many went.
int32_t RemoveKilledWritersFiles(const PathRecord& folder);

class WholeFileWriter {
public:
    explicit WholeFileWriter(const PathRecord& target);
    explicit WholeFileWriter(const std::string& posixTarget);
    // tempPrefix names the new file (and the halves a killed writer left,
    // which go at the next Open). A program's own file is replaced even where
    // the file itself is read-only (askTargetWritable false), as long as its
    // folder may be written.
    WholeFileWriter(const PathRecord& target, const char* tempPrefix, bool askTargetWritable);
    // Without a successful Commit the new file goes.
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    // Makes the new file. A target that exists but may not be written is
    // refused (5), as a plain overwrite would be. 0 or the code.
    int32_t Open();
    // The first failure sticks: later writes do nothing and return it.
    int32_t Write(const void* bytes, size_t n);
    // Flushes, closes and puts the new file in the target's place. release,
    // when given, runs once the new file is whole and closed, just before
    // that: it lets go of an open the target is held by, since a file held
    // open can't be replaced.
    int32_t Commit(const std::function<void()>& release = nullptr);
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
    const char* tempPrefix_;
    bool askTargetWritable_ = true;
    bool heldWhileWritten_ = false;
    FileHandle file_ = kNoFile;
    bool made_ = false;
    int32_t error_ = 0;
    std::vector<uint8_t> pending_;
};

// Writes the bytes whole in the target's place. 0 or the code.
int32_t WriteWholeFile(const std::string& posixTarget, const void* bytes, size_t n);

// A program's own file written whole by a writer through the file layer:
// write fills the new file through its handle; then Commit as above, with
// release. The new file's name starts with tempPrefix. 0 or the code.
int32_t ReplaceFileWhole(const PathRecord& target, const char* tempPrefix,
                         const std::function<int32_t(FileHandle)>& write,
                         const std::function<void()>& release = nullptr);
