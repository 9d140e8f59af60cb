// The file layer: every file access of the system goes through it.
//
// Files are named by PathRecords; every operation returns 0 or the system
// error code of the step that failed (see win_error.h). Files are opened
// without sharing: a second open of the same file, in this process or
// another, fails with 32 while the first is open.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/path_record.h"

using FileHandle = int32_t;
constexpr FileHandle kNoFile = -1;

// Open modes.
enum : int16_t {
    kFileRead = 0,
    kFileWrite = 1,
    kFileReadWrite = 2,
};

// Seek origins.
enum : int16_t {
    kSeekCurrent = 0,
    kSeekStart = 1,
    kSeekEnd = 2,
};

// Mode 0 reads, 1 writes, 2 does both, any other value reads. The out
// handle is -1 after a failure. Only regular files open; a folder gives 5.
// Create-always empties the file only once it holds the lock, so a file
// another open holds keeps its contents.
int32_t FileCreate(const PathRecord* record, int16_t mode, FileHandle* out);
// FileOpen and FileOpenAlways take a file whose name differs only in case
// when the exact name is missing (documents made on Windows name their
// pictures in any case).
int32_t FileOpen(const PathRecord* record, int16_t mode, FileHandle* out);
int32_t FileOpenAlways(const PathRecord* record, int16_t mode, FileHandle* out);
// Opens an existing file that goes away with its handle: its name is free
// again at once, and nothing is left behind if the program dies.
int32_t FileOpenDeleteOnClose(const PathRecord* record, int16_t mode, FileHandle* out);
int32_t FileClose(FileHandle file);

// A read that reaches the end of the file before n bytes zero-fills the rest
// of the buffer and returns 38.
int32_t FileRead(FileHandle file, void* buffer, uint32_t n);
int32_t FileWrite(FileHandle file, const void* buffer, uint32_t n);
// Writes n bytes at offset and leaves the file position where it was: one
// system call where a seek and a write took two.
int32_t FileWriteAt(FileHandle file, uint32_t offset, const void* buffer, uint32_t n);
// Reads n bytes at offset and leaves the file position where it was, as
// FileRead does what it reads: one system call where a seek and a read
// took two.
int32_t FileReadAt(FileHandle file, uint32_t offset, void* buffer, uint32_t n);
// Reads up to n bytes; n receives the count read. Fewer than asked: 38.
int32_t FileReadCount(FileHandle file, uint32_t* n, void* buffer);
int32_t FileWriteCount(FileHandle file, uint32_t* n, const void* buffer);
// Origin 1 from the start, 2 from the end, 0 and 3 from the current
// position, any other value from the start. Before the start: 131.
int32_t FileSeek(FileHandle file, int16_t origin, int32_t offset);
int32_t FileTell(FileHandle file, uint32_t* position);
int32_t FileGetSize(FileHandle file, uint32_t* size);
// Sets the end of the file at size and keeps the position within the file.
int32_t FileSetSize(FileHandle file, uint32_t size);
// Flushes the file's data to the disk.
int32_t FileSync(FileHandle file);
// Reads one line, its first CR or LF kept (a second CR or LF behind it is
// consumed too), into a buffer of n bytes; returns the length kept, 0 at
// the end of the file. lineEnds, when given, receives the line ends an
// editor sees in what was consumed: 0 for a piece without one, 1 for CR,
// LF or CR LF, 2 when the second byte consumed ends a line of its own (LF
// LF, CR CR, LF CR).
int32_t FileReadLine(FileHandle file, char* buffer, int32_t n, int32_t* lineEnds = nullptr);
// Copies count bytes (0xFFFFFFFF: the whole source from its start) through
// a buffer of the given size in KB. -1 for a handle of -1, 1 without memory.
int32_t FileCopyData(FileHandle source, uint32_t count, FileHandle destination, int32_t kilobytes);

// Delete, rename and move fail with 32 while an open holds the file, and
// never replace an existing file (183).
int32_t FileDelete(const PathRecord* record);
// Renames within the folder; a new name without extension keeps the old one.
int32_t FileRename(const PathRecord* record, const char* newName);
// Moves a file or folder; a file also moves to another file system.
int32_t FileMove(const PathRecord* from, const PathRecord* to);
// Puts the file from in the place of the file to, which it replaces in one
// step, so to is either the old or the whole new file (a new version is
// written beside a file, then replaces it). The new file takes the old
// one's permission bits. 32 while an open holds either file.
int32_t FileReplace(const PathRecord* from, const PathRecord* to);
// FileReplace for a new file its writer still holds open, which then holds
// the target.
int32_t FileReplaceWhileOpen(const PathRecord* from, const PathRecord* to);
// Where a save or an output named by the record lands: the record itself,
// or, where it is a symbolic link (or a chain of them), the file the last
// link names, which need not exist yet. The new file is made beside that
// file and replaces it, so the link stays. 1921 for links that name each
// other in a loop, 206 or 123 for a landing a record can't hold.
int32_t FileWriteLanding(const PathRecord* record, PathRecord* landing);
// Creates the folder the full path names; 183 when something is there.
int32_t CreateFolder(const PathRecord* record);
// 1 when a file or folder is at the path (in any case of its name), else
// 0; with deleteFile set a file of exactly that name is deleted as well.
int32_t FileExists(const PathRecord* record, uint8_t deleteFile);
// 0 for a folder, 183 for a file, 80 when nothing is there.
int32_t FolderCheck(const PathRecord* record);
// Makes no check and returns 0.
int32_t FileCheckAccess(const PathRecord* record, int16_t mode);
// The host path for code that opens files itself (the picture decoders):
// the existing file matched in any case of its name when the exact name is
// missing, else the plain conversion.
std::string FileHostPath(const PathRecord* record);

// Attributes of FileFindData.
constexpr uint32_t kFileAttributeFolder = 0x10;
constexpr uint32_t kFileAttributeDevice = 0x40;  // a pipe, a socket or a device
constexpr uint32_t kFileAttributeNormal = 0x80;
struct FileFindData {
    uint32_t attributes;  // one of kFileAttribute...
    int64_t creationTime;
    int64_t accessTime;
    int64_t writeTime;  // seconds since 1970
    uint32_t sizeHigh;
    uint32_t sizeLow;
    char name[260];
};
struct FileInfo {
    uint32_t reserved0;
    char type[4];  // first four bytes of the extension field (".dic")
    uint32_t reserved[4];
    FileFindData find;
};
// Zero-fills info; 1 when nothing is at the path, else fills it, 0.
int32_t FileGetInfo(const PathRecord* record, FileInfo* info);
// True when the path names a pipe, a socket or a device rather than a file:
// its bytes may never end, and an open of it may wait forever.
bool FileIsDeviceOrPipe(const PathRecord* record);

// Walks the record's folder (drive and directory) and every folder in it,
// in case-insensitive name order. The record handed to the callback names
// the entry. Walk kinds: 0 a file, 1 a folder before its contents, 2 the
// folder's inside after them, 3 the folder again after leaving it. A
// non-zero result of the callback ends the walk and is returned. Entries
// a record cannot name, and links back to a folder being walked, are left
// out.
using WalkFolderCallback = int32_t (*)(const PathRecord* record, int16_t kind, void* user);
int32_t WalkFolder(const PathRecord* record, WalkFolderCallback callback, void* user);

// Creates a new empty file named prefix + hexadecimal number + ".TMP" in the
// record's folder and gives its path in out (as the system's temporary-name
// service does). 0 or the code.
int32_t CreateTempFileName(const PathRecord* folder, const char* prefix, PathRecord* out);
// Deletes what saves that never finished left in the record's folder:
// files named as CreateTempFileName names them with this prefix that no
// open holds (here or in another program) and that nothing has written to
// for a minute. Returns how many went. Where the writers of such files hold
// them open from their first byte until the file takes its place
// (heldWhileWritten), one with bytes that no open holds was left by a
// writer that died, and goes at once; only an empty one may be a new file
// its writer is about to open.
int32_t RemoveStaleTempFiles(const PathRecord* folder, const char* prefix, bool heldWhileWritten = false);
// Deletes what killed copies of the program left in the record's folder
// (scratch files and folders, halves of prints): only entries of this user
// that carry the program's own mark (scratch_mark.h), whose maker has
// ended, and that no running program has open, has a file open in or
// works in. Returns how many went.
int32_t RemoveOwnLeftovers(const PathRecord* folder);
// The system's temporary folder ($TMPDIR, else /tmp) as a record naming its
// inside.
int32_t GetSystemTempFolder(PathRecord* record);
// Puts a free temporary name into the record: in its folder, else in the
// system's temporary folder, with the first three characters of its name
// as prefix ("_t_" for shorter names).
int32_t MakeTempFileRecord(PathRecord* record);
// Appends 000, 001, ... to the name until nothing exists at the path.
int32_t MakeUniqueFileName(PathRecord* record);
// Creates and deletes a temporary file in the record's folder; on failure
// shows "Disk is Write Protected" when showAlert is set. 0 or the code.
int32_t CheckDirectoryWritable(const PathRecord* record, uint8_t showAlert);
// Free bytes for this user on the file system that holds the path's
// folder; 0 (with a beep) when that cannot be found.
double GetDiskFreeBytes(const char* path);

// Shows a file error: nothing for 0; "Disk is full" for 112, "Disk is
// Write Protected" for 19, "File is used by another program." for 32 and
// 33 (another open holds the file), for 5 that the file may not be read
// (after a refused open to read it) or changed, what the
// path holds instead of a file (a folder, a pipe, a device, a socket),
// links in a loop, a path too long or a name the program can't keep;
// otherwise "IO FILE ERROR", each with the code. Returns the box's result.
int32_t AlertFileError(int32_t code);
// As AlertFileError, with what the error concerns named first
// ("Contacts.dqx: Disk is full [112]"); a missing file is said to be
// missing, and a file another program holds to need closing there.
int32_t AlertFileErrorAbout(const char* what, int32_t code);
// The text AlertFileErrorAbout shows, without the code; what must name
// something.
std::string FileErrorTextAbout(const char* what, int32_t code);
// The words AlertFileError shows for the code, without the code.
std::string FileErrorWords(int32_t code);
