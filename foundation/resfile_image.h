// Directory work on the bytes of a resource file held in memory while a
// change is built. Every walk checks its bounds: a directory that does not
// fit the bytes makes the walk fail instead of reading past them.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/resfile.h"
#include "foundation/resfile_format.h"

using ResImage = std::vector<uint8_t>;

struct ResGroupPos {
    uint32_t at;     // offset of the group header
    uint32_t count;  // entries in the group
};

// Calls visit(group) for each group in file order while it returns true.
// False when the directory does not fit the image.
template <class Visit>
bool ResImageWalkGroups(const ResImage& image, Visit visit)
{
    if (image.size() < kResHeaderSize)
        return false;
    const uint32_t groups = GetU32LE(image.data() + kResHeaderGroupCountAt);
    uint64_t at = kResHeaderSize;
    for (uint32_t g = 0; g < groups; ++g) {
        if (at + kResGroupHeaderSize > image.size())
            return false;
        const uint32_t count = GetU32LE(image.data() + at + kResGroupCountAt);
        const uint64_t end = at + kResGroupHeaderSize + uint64_t(count) * kResEntrySize;
        if (end > image.size())
            return false;
        if (!visit(ResGroupPos{uint32_t(at), count}))
            return true;
        at = end;
    }
    return true;
}

inline ResType ResImageGroupType(const ResImage& image, const ResGroupPos& group)
{
    return GetU32LE(image.data() + group.at + kResGroupTypeAt);
}
inline uint32_t ResImageEntryAt(const ResGroupPos& group, uint32_t index)
{
    return group.at + kResGroupHeaderSize + index * kResEntrySize;
}

// The end of the directory, or false when it does not fit.
bool ResImageDirectoryEnd(const ResImage& image, uint32_t* end);
bool ResImageFindGroup(const ResImage& image, ResType type, ResGroupPos* group);
// The entry's index within its group.
bool ResImageFindEntry(const ResImage& image, ResType type, int32_t id, ResGroupPos* group, uint32_t* index);

// Moves every data offset greater than `position` by d, in the directory
// and in the on-disk entries of the table.
bool ResImageMoveOffsets(ResImage& image, std::vector<ResEntry>& table, uint32_t position, int64_t d);

// Opens a gap of n bytes at `at` (zero-filled; the caller fills it) or cuts
// the n bytes that start there.
void ResImageInsert(ResImage& image, uint32_t at, uint32_t n);
void ResImageCut(ResImage& image, uint32_t at, uint32_t n);
