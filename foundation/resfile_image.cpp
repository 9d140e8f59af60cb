#include "foundation/resfile_image.h"

#include "foundation/resfile_format.h"

bool ResImageDirectoryEnd(const ResImage& image, uint32_t* end)
{
    uint32_t last = kResHeaderSize;
    const bool ok = ResImageWalkGroups(image, [&](const ResGroupPos& g) {
        last = ResImageEntryAt(g, g.count);
        return true;
    });
    *end = last;
    return ok;
}

bool ResImageFindGroup(const ResImage& image, ResType type, ResGroupPos* group)
{
    bool found = false;
    ResImageWalkGroups(image, [&](const ResGroupPos& g) {
        if (ResImageGroupType(image, g) != type)
            return true;
        *group = g;
        found = true;
        return false;
    });
    return found;
}

bool ResImageFindEntry(const ResImage& image, ResType type, int32_t id, ResGroupPos* group, uint32_t* index)
{
    if (!ResImageFindGroup(image, type, group))
        return false;
    for (uint32_t i = 0; i < group->count; ++i) {
        if (GetI32LE(image.data() + ResImageEntryAt(*group, i) + kResEntryIdAt) == id) {
            *index = i;
            return true;
        }
    }
    return false;
}

bool ResImageMoveOffsets(ResImage& image, std::vector<ResEntry>& table, uint32_t position, int64_t d)
{
    const bool ok = ResImageWalkGroups(image, [&](const ResGroupPos& g) {
        for (uint32_t i = 0; i < g.count; ++i) {
            uint8_t* field = image.data() + ResImageEntryAt(g, i) + kResEntryOffsetAt;
            const uint32_t offset = GetU32LE(field);
            if (offset > position)
                PutU32LE(field, uint32_t(int64_t(offset) + d));
        }
        return true;
    });
    for (ResEntry& e : table) {
        if (e.offset != kResNoOffset && e.offset > position)
            e.offset = uint32_t(int64_t(e.offset) + d);
    }
    return ok;
}

void ResImageInsert(ResImage& image, uint32_t at, uint32_t n)
{
    image.insert(image.begin() + at, n, uint8_t(0));
}

void ResImageCut(ResImage& image, uint32_t at, uint32_t n)
{
    image.erase(image.begin() + at, image.begin() + at + n);
}
