// The system error codes the file layer returns (0 = success). Callers give
// meaning to a few of them: 38 ends a read loop, 5 shows "File is Locked.".
#pragma once

#include <cstdint>

enum : int32_t {
    kErrNone = 0,
    kErrFileNotFound = 2,
    kErrPathNotFound = 3,
    kErrTooManyOpenFiles = 4,
    kErrAccessDenied = 5,
    kErrInvalidHandle = 6,
    kErrNotEnoughMemory = 8,
    kErrNotSameDevice = 17,
    kErrNoMoreFiles = 18,
    kErrWriteProtect = 19,
    // What is at the path is not a file: a device, a folder, a pipe or a
    // socket.
    kErrIsDevice = 20,
    kErrIsFolder = 267,
    kErrIsPipe = 230,
    kErrIsSocket = 233,
    kErrGeneralFailure = 31,
    kErrSharingViolation = 32,
    kErrLockViolation = 33,
    kErrHandleEof = 38,
    kErrFileExists = 80,
    kErrInvalidParameter = 87,
    kErrDiskFull = 112,
    kErrInvalidName = 123,
    kErrNegativeSeek = 131,
    kErrDirNotEmpty = 145,
    kErrAlreadyExists = 183,
    kErrFilenameExceedsRange = 206,
    kErrFileTooLarge = 223,
    kErrIoDevice = 1117,
    kErrCantResolveFilename = 1921,
};

// The system error code for a POSIX errno value (0 for 0). A missing file
// and a missing folder are both ENOENT; the file layer tells them apart
// itself, because callers treat 2 and 3 differently.
int32_t Win32ErrorFromErrno(int err);

// The code for a path that holds something other than a file, by the kind
// of thing st_mode says it is.
int32_t NotAFileError(unsigned mode);
