// Whether two path records name the same file on the disk, however they
// spell it: the commands that write a file must never write over a
// database that is open, nor over its index.
#pragma once

#include "foundation/file_io.h"
#include "foundation/path_record.h"

// True when both records name one existing file (the same file of the
// file system, also through links or another case of the name).
bool SameExistingFile(const PathRecord& a, const PathRecord& b);

// True while path names the very file that file holds open: false once
// another program moved it away or put another file in its place.
bool PathNamesOpenFile(const PathRecord& path, FileHandle file);

// The index file beside a record file: the same name with ".idx".
PathRecord IndexPathFor(const PathRecord& recordFile);
