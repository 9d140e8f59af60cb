// A watcher of every change the file layer makes to the disk: opens,
// writes, size changes, flushes, renames and deletes. Tests install one to
// see the changes in order, to fail any of them, or to work out what a
// crash at any moment would leave on the disk. The program never installs
// one; each change then costs a test of a null pointer.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/file_io.h"

// What a watcher answers before a change: go on, report success without
// doing it (a flush the watcher keeps account of itself), or any positive
// value, the system error code the change then fails with.
enum : int32_t {
    kFileStepGo = 0,
    kFileStepSkip = -1,
};

class FileWatcher {
public:
    virtual ~FileWatcher() = default;
    // A file was opened at path (the name as the disk has it), before a
    // create empties it. An open that makes a new file reports it the same
    // way: the watcher finds it empty.
    virtual void Opened(FileHandle file, const std::string& path) = 0;
    // A new empty file was made under path without an open (a temporary
    // name), or a whole file was copied there.
    virtual void Made(const std::string& path) = 0;
    virtual void Closing(FileHandle file) = 0;
    // n bytes go to offset. When the answer is an error code, the first
    // *keep bytes (at most n, 0 on entry) still reach the file.
    virtual int32_t Writing(FileHandle file, uint64_t offset, const void* bytes, uint32_t n, uint32_t* keep) = 0;
    virtual int32_t Resizing(FileHandle file, uint64_t size) = 0;
    virtual int32_t Syncing(FileHandle file) = 0;
    // The file at from takes the name to, replacing what was there.
    virtual int32_t Renaming(const std::string& from, const std::string& to) = 0;
    virtual int32_t Deleting(const std::string& path) = 0;
};

// Installs the watcher (null removes it) and returns the one it replaces;
// the caller keeps it alive until it is removed.
FileWatcher* SetFileWatcher(FileWatcher* watcher);

// The installed watcher, null in the program.
extern FileWatcher* g_fileWatcher;
