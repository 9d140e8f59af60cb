// While one lives, flushes of the file layer report success without
// reaching the disk: for tests that make thousands of changes and whose
// subject is not what survives a crash (the crash trials see every flush
// themselves).
#pragma once

#include "foundation/file_watch.h"

class FlushesSkipped : public FileWatcher {
public:
    FlushesSkipped() : previous_(SetFileWatcher(this)) {}
    ~FlushesSkipped() override { SetFileWatcher(previous_); }
    FlushesSkipped(const FlushesSkipped&) = delete;
    FlushesSkipped& operator=(const FlushesSkipped&) = delete;

    void Opened(FileHandle, const std::string&) override {}
    void Made(const std::string&) override {}
    void Closing(FileHandle) override {}
    int32_t Writing(FileHandle, uint64_t, const void*, uint32_t, uint32_t*) override { return kFileStepGo; }
    int32_t Resizing(FileHandle, uint64_t) override { return kFileStepGo; }
    int32_t Syncing(FileHandle) override { return kFileStepSkip; }
    int32_t Renaming(const std::string&, const std::string&) override { return kFileStepGo; }
    int32_t Deleting(const std::string&) override { return kFileStepGo; }

private:
    FileWatcher* previous_;
};
