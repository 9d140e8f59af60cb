#include "carddoc/card_file_error.h"

#include "foundation/alerts.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

int32_t ShowCardFileError(int32_t code)
{
    switch (code) {
    case kErrSharingViolation:
    case kErrLockViolation:
        return AlertStop("File is used by another program.", 0);
    case kErrAccessDenied:
        return AlertStop("You don't have permission to change this file.", 0);
    default:
        return AlertFileError(code);
    }
}
