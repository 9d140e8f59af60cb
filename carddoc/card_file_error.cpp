#include "carddoc/card_file_error.h"

#include <string>

#include "foundation/alerts.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

int32_t ShowCardFileError(const char* name, int32_t code)
{
    const std::string file = name && *name ? std::string(name) + ": " : std::string();
    switch (code) {
    case kErrSharingViolation:
    case kErrLockViolation:
        return AlertStop((file + "File is used by another program.").c_str(), 0);
    case kErrAccessDenied:
        return AlertStop((file + "You don't have permission to change this file.").c_str(), 0);
    default:
        return AlertFileErrorAbout(name, code);
    }
}
