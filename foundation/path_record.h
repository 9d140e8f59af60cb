// A path split into drive, directory, file name and extension.
//
// Records keep the Windows form the stored documents use: an optional drive
// ("C:"), a directory with leading and trailing backslashes ("\dir\sub\"),
// the name without extension, and the extension with its dot (".lqx").
// The file layer converts to a POSIX path only at the system call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct PathRecord {
    char drive[3];
    char directory[256];
    char name[256];
    char extension[256];
};

// The stored form: the four parts one after the other, 771 bytes.
constexpr size_t kPathRecordStoredSize = 771;
void PathRecordStore(const PathRecord& record, uint8_t* out);
void PathRecordLoad(const uint8_t* in, PathRecord* record);

// Longest text PathRecordToString writes, terminator included.
constexpr size_t kPathTextSize = 3 + 256 + 256 + 256 + 2;

int32_t PathRecordFromString(const char* path, PathRecord* record);
int32_t PathRecordToString(const PathRecord* record, char* path);
int32_t PathRecordEqual(const PathRecord* a, const PathRecord* b);
int32_t PathRecordGetFileName(const PathRecord* record, char* buffer, int32_t n);
int32_t SplitFileExtension(const char* name, char* nameOut, char* extensionOut);
int32_t StripFileExtension(const char* name, char* out);
void ExtractFileExtension(const char* name, char* out);
void PathRecordEnterFolder(PathRecord* record);
void PathRecordLeaveFolder(PathRecord* record);

// Between records and the host's paths. A host path that does not fit the
// record's parts is refused with 206; it is never cut.
std::string PathRecordToPosix(const PathRecord& record);
int32_t PathRecordFromPosix(const std::string& path, PathRecord* record);
