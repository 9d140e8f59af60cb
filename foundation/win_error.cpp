#include "foundation/win_error.h"

#include <sys/stat.h>

#include <cerrno>

int32_t Win32ErrorFromErrno(int err)
{
    switch (err) {
    case 0: return kErrNone;
    case ENOENT: return kErrFileNotFound;
    case ENOTDIR: return kErrPathNotFound;
    case EACCES:
    case EPERM: return kErrAccessDenied;
    case EISDIR: return kErrIsFolder;
    case EBADF: return kErrInvalidHandle;
    case ENOMEM: return kErrNotEnoughMemory;
    case EMFILE:
    case ENFILE: return kErrTooManyOpenFiles;
    case EEXIST: return kErrFileExists;
    case EWOULDBLOCK:
    case EBUSY:
    case ETXTBSY: return kErrSharingViolation;
    case ENOSPC:
    case EDQUOT: return kErrDiskFull;
    case EROFS: return kErrWriteProtect;
    case ENAMETOOLONG: return kErrFilenameExceedsRange;
    case EINVAL: return kErrInvalidParameter;
    case ENOTEMPTY: return kErrDirNotEmpty;
    case EXDEV: return kErrNotSameDevice;
    case EFBIG:
    case EOVERFLOW: return kErrFileTooLarge;
    case EIO: return kErrIoDevice;
    case ELOOP: return kErrCantResolveFilename;
    default: return kErrGeneralFailure;
    }
}

int32_t NotAFileError(unsigned mode)
{
    switch (mode & S_IFMT) {
    case S_IFDIR: return kErrIsFolder;
    case S_IFIFO: return kErrIsPipe;
    case S_IFSOCK: return kErrIsSocket;
    default: return kErrIsDevice;
    }
}
