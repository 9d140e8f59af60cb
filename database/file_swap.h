// Rewriting a record file safely: the new contents go into a file beside
// it, which is flushed and then put in place of the original in one step.
// Until that step the original is untouched; after it the new file is
// whole. Pack and repair write this way.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/file_io.h"
#include "foundation/path_record.h"

class FileSwap {
public:
    explicit FileSwap(const PathRecord& target);
    // The new file beside target ("name.dqx~").
    static PathRecord PathFor(const PathRecord& target);
    // Deletes the new files that rewrites which never finished left in the
    // folder of file, of every file of its extension (a split writes its
    // new database this way, and may have been the last thing to touch
    // the folder); a file that an open holds is at work and stays.
    static void RemoveLeftovers(const PathRecord& file);
    // Removes the new file unless Commit succeeded.
    ~FileSwap();
    FileSwap(const FileSwap&) = delete;
    FileSwap& operator=(const FileSwap&) = delete;

    // Creates the new file beside the target. 0 or the code.
    int32_t Begin();
    // Appends bytes to the new file (buffered). 0 or the code.
    int32_t Append(const void* bytes, uint32_t n);
    // Overwrites bytes already appended (flushing first). 0 or the code.
    int32_t Patch(uint32_t offset, const void* bytes, uint32_t n);
    uint32_t Size() const { return size_; }
    // Flushes the new file and puts it in place of the target. On success
    // the returned handle is open on the target's new contents; the caller
    // closes its handle of the old file. 0 or the code.
    int32_t Commit(FileHandle* handle);

private:
    int32_t Flush();

    PathRecord target_;
    PathRecord temp_;
    FileHandle file_ = kNoFile;
    std::unique_ptr<uint8_t[]> buffer_;
    uint32_t buffered_ = 0;
    uint32_t written_ = 0;
    uint32_t size_ = 0;
};
