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

// Splits the system's text of a path, in Windows form ("C:\dir\x.lqx") or
// POSIX form ("/home/u/x.lqx"); '/' becomes '\'. The extension starts at
// the last dot of the last component. A path whose parts do not fit the
// record gives 206 and an empty record, never a cut one.
int32_t PathRecordFromString(const char* path, PathRecord* record);
// Writes at most kPathTextSize bytes.
int32_t PathRecordToString(const PathRecord* record, char* path);
int32_t PathRecordEqual(const PathRecord* a, const PathRecord* b);
// Name and extension into buffer; n below 1 copies without limit, else the
// text is cut to n bytes with the terminator and the result is 1 when it
// had to be cut.
int32_t PathRecordGetFileName(const PathRecord* record, char* buffer, int32_t n);
// The outputs hold 256 bytes; the extension keeps its dot.
int32_t SplitFileExtension(const char* name, char* nameOut, char* extensionOut);
// 1 when the name has no '.', else 0.
int32_t StripFileExtension(const char* name, char* out);
void ExtractFileExtension(const char* name, char* out);
// Makes the record name the inside of the folder it names. 0, or 206 with
// the record unchanged when the directory would not fit.
int32_t PathRecordEnterFolder(PathRecord* record);
void PathRecordLeaveFolder(PathRecord* record);

// Between records and the host's paths. Records hold Windows-1252 text and
// host paths are UTF-8; the drive is dropped and '\' becomes '/'. A host
// path that does not fit the record's parts is refused with 206 (never
// cut), one with a name the code page cannot hold or with a backslash in a
// name with 123.
std::string PathRecordToPosix(const PathRecord& record);
int32_t PathRecordFromPosix(const std::string& path, PathRecord* record);
// A path typed as the shell takes it: "~" alone or before a "/" stands for
// the user's home folder. Windows-1252 text in and out; any other text
// comes back as it is.
std::string ExpandHomeFolder(const std::string& path);
