// The state the resource-file layer keeps for the current file, and the
// file access its reading and changing parts share.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/resfile.h"
#include "foundation/resfile_image.h"

struct ResFileState {
    FileHandle file = kNoFile;  // the current file; the table exists while it is set
    int16_t mode = kResReadOnly;
    int32_t lastError = 0;
    std::vector<ResEntry> table;
    // Where the content lies in the file. Normally the whole file (base 0);
    // after an interrupted rewrite that could not be completed, the copy of
    // the new content at the file's end.
    uint32_t base = 0;
    uint32_t size = 0;
};

ResFileState& ResState();

inline bool ResHasTable() { return ResState().file != kNoFile; }
inline int32_t ResFail(int32_t code) { return ResState().lastError = code; }

// The table index of the entry, or -1.
int32_t ResFindEntry(ResType type, int32_t id);
int32_t ResFindOwner(Handle data);

// Reads n bytes of the content at `at`; a short read is an error.
int32_t ResReadContent(uint32_t at, void* buffer, uint32_t n);
// The whole content of the current file.
int32_t ResLoadImage(ResImage* image);
// Replaces the current file's content with the image, all or nothing.
int32_t ResCommit(const ResImage& image);
