// Positioned reads and writes of the database files, over the file layer.
//
// Every change the engine makes to a record file goes through here, so
// that tests can fail or stop it at any chosen step (SetDbFaultHook) and
// show that no step loses a committed record.
#pragma once

#include <cstdint>
#include <functional>

#include "foundation/file_io.h"
#include "foundation/file_witness.h"
#include "foundation/path_record.h"

// Reads n bytes at offset, leaving the file position alone; 0, 38 when the
// file ends first (the rest of the buffer zeroed), or the code.
int32_t DbReadAt(FileHandle file, uint32_t offset, void* buffer, uint32_t n);
// Reads up to n bytes at offset; *got receives the count. 0 or 38 (fewer
// than n) or the code.
int32_t DbReadSomeAt(FileHandle file, uint32_t offset, void* buffer, uint32_t n, uint32_t* got);
int32_t DbWriteAt(FileHandle file, uint32_t offset, const void* buffer, uint32_t n);
int32_t DbSetSize(FileHandle file, uint32_t size);
int32_t DbSync(FileHandle file);
int32_t DbGetSize(FileHandle file, uint32_t* size);
// Counts every write, resize and replace tried through here, on any file,
// failed or not: a size learnt when the count was n still holds while it
// is n.
uint64_t DbWriteCount();

// A witness of a record file (FileWitness) kept up to date with the
// engine's own writes: every write and resize through here to the file it
// watches takes the file again, so that only another program's change
// leaves it behind. Watched until forgotten.
void DbWatchWrites(FileWitness* witness);
void DbForgetWitness(FileWitness* witness);

// Puts the file at source in place of the file at target in one step and
// makes the change durable: after a crash the target is either the old
// file or the new one, whole. The source stays open in its handle, which
// then holds the target. 0 once the target is the new file (even when its
// folder could not be flushed), else the code and nothing changed.
int32_t DbReplaceFile(const PathRecord* source, const PathRecord* target);

// Test hook, consulted before every write, resize, flush and replace.
enum class DbIoStep { Write, SetSize, Sync, Replace };
struct DbFault {
    int32_t code = 0;      // 0: the step runs; else it fails with this code
    uint32_t written = 0;  // for a failing write: bytes that still reach the file
};
using DbFaultHook = std::function<DbFault(DbIoStep step, uint32_t bytes)>;
void SetDbFaultHook(DbFaultHook hook);

// Free bytes for this user on the disk that holds path, as the room checks
// ask it (GetDiskFreeBytes). A test stands in a disk of its own size; null
// puts the real one back.
double DbDiskFreeBytes(const char* path);
using DbFreeSpaceQuery = std::function<double(const char* path)>;
void SetDbFreeSpaceQuery(DbFreeSpaceQuery query);
