// Typed resource files: many small data blocks in one file, each named by a
// four-character type and a 32-bit id, listed by type in a directory at the
// front of the file (resfile_format.h).
//
// One file at a time is current. Its directory is held in memory as a table
// and every operation except opening and closing works on it. Results are
// 0, the layer's own codes below, or the file layer's system codes.
//
// Every change is all or nothing: the new content of the file is built in
// memory and written so that an I/O error or a crash at any point leaves
// either the old or the new file whole (resfile_format.h tells how). The
// bytes are those the in-place algorithm would give: a new entry goes into
// its group's directory, a new group behind the last one, new data at the
// end of the file, and data behind a changed block moves with it.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"

using ResType = uint32_t;  // four characters, compared as one value: FourCC("tmpl")

enum : int32_t {
    kResNoFile = -1,         // ResFileUse of file -1
    kResNoFileForTable = -2, // table read of file -1
    kResNoTable = -3,        // no table (or no memory for it); not found by index or move
    kResNotFound = -4,
    kResAddFailed = -5,      // id taken, no table, or the Handle is unusable
    kResWriteFailed = -6,    // empty data, no table, no owner, or not marked changed
    kResRemoveFailed = -7,   // empty Handle, no table, or no owner
    kResRemoveNotOnDisk = -8,
    kResReleaseFailed = -9,
    kResBadFile = -10,       // not a resource file, or its directory is damaged
    kResBadIndex = -11,
};

// Access modes.
enum : int16_t {
    kResReadOnly = 0,
    kResReadWrite = 2,
};

// Entry flags.
enum : uint32_t {
    kResOnDisk = 1,   // on disk, not loaded
    kResLoaded = 2,
    kResChanged = 4,
    kResNew = 8,      // not yet on disk
};

constexpr uint32_t kResNoOffset = 0xFFFFFFFF;

// One resource of the current file, as the table holds it.
struct ResEntry {
    int32_t id;
    uint32_t size;
    uint32_t offset;  // kResNoOffset while not on disk
    ResType type;
    uint32_t flags;
    Handle data;      // null while not loaded
};

// Mode 0 opens for reading, any other mode for reading and writing; when
// that fails the file is opened for reading and the mode becomes 0. Returns
// the file handle, or -1 with the file layer's code as the last error.
FileHandle ResFileOpen(const PathRecord* record, int16_t mode);
// Makes the file current (reading its directory) unless it already is.
int32_t ResFileUse(FileHandle file, int16_t mode);
int32_t ResFileClose(FileHandle file);
// Reads the file's directory into a fresh table and makes the file current
// with the present mode. An empty file opened read and write receives the
// 20-byte header of an empty resource file.
int32_t ResFileReadTable(FileHandle file);

int16_t ResFileGetMode();
int32_t ResFileLastError();
FileHandle ResFileGetCurrent();
// The table of the current file, grouped by type; empty when there is none.
const std::vector<ResEntry>& ResFileTable();

int32_t ResFileCountType(ResType type);
int32_t ResFileCountTypes();
// The resource's data, loaded on first use; the table owns the Handle.
Handle ResFileGet(ResType type, int32_t id);
Handle ResFileGetIndexed(ResType type, int32_t n, int32_t* id);
Handle ResFileGetIndexed(ResType type, int32_t n);
// The id of the n-th resource of the type (from 1), or -3.
int32_t ResFileGetIndexedId(ResType type, int32_t n);
int32_t ResFileNextId(ResType type);
// One more than the greatest type code of the file's groups, or -1.
int32_t ResFileNextType();
// Zero-fills n bytes of the buffer and copies at most n bytes of the data.
int32_t ResFileReadInto(ResType type, int32_t id, void* buffer, int32_t n);

int32_t ResFileMarkChanged(Handle data);
int32_t ResFileRelease(Handle data);
int32_t ResFileSetFlags(Handle data, int32_t flags);

// Adding, writing back, removing, putting and moving need read-write mode;
// in read-only mode they change nothing and return 5 (access denied).
//
// Adds a table entry that takes over the Handle; ResFileWriteResource puts
// it into the file.
int32_t ResFileAddEntry(Handle data, ResType type, int32_t id);
int32_t ResFileWriteResource(Handle data);
// Replaces or adds the resource and writes it; with release set its Handle
// is released afterwards. Returns the result of the write.
int32_t ResFilePut(ResType type, int32_t id, const void* bytes, int32_t n, int32_t release);
// Removes the resource from the table and the file and frees its Handle.
// When the file cannot be changed the resource stays where it was.
int32_t ResFileRemoveResource(Handle data);
int32_t ResFileRemove(ResType type, int32_t id);
// Moves the resource to position n (from 1; beyond the last means last)
// among the resources of its type.
int32_t ResFileMoveToIndex(ResType type, int32_t id, int32_t n);

// Fault injection for tests: after `successes` more writes, size changes or
// flushes of the file succeed, the next one fails with 112 (a write is cut
// in half first). With `once` set only that one fails; otherwise every
// further one fails, as after a crash, until the count is reset with -1.
void ResFileInjectWriteFailure(int32_t successes, bool once);
