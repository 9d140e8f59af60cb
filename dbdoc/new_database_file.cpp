#include "dbdoc/new_database_file.h"

#include "database/file_swap.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

int32_t FinishNewDatabaseFile(FileSwap& out, int32_t err)
{
    FileHandle written = kNoFile;
    if (err == kErrNone)
        err = out.Commit(&written);
    if (err != kErrNone) {
        AlertFileError(err);
        return -1;
    }
    FileClose(written);
    return 1;
}
