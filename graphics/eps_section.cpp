#include "graphics/eps_section.h"

#include "foundation/byte_order.h"
#include "foundation/win_error.h"

int32_t EpsLocateSection(FileHandle file, uint32_t* offset, uint32_t* length)
{
    *offset = 0;
    *length = 0;
    uint32_t size = 0;
    int32_t result = FileGetSize(file, &size);
    if (result != 0)
        return result;
    uint8_t header[kDosEpsHeaderSize] = {};
    uint32_t got = kDosEpsHeaderSize;
    result = FileSeek(file, kSeekStart, 0);
    if (result == 0)
        result = FileReadCount(file, &got, header);
    if (result != 0 && result != kErrHandleEof)
        return result;
    *length = size;
    if (got >= 12 && GetU32LE(header) == kDosEpsMagic) {
        const uint32_t start = GetU32LE(header + 4);
        const uint32_t count = GetU32LE(header + 8);
        *offset = start < size ? start : size;
        *length = count < size - *offset ? count : size - *offset;
    }
    return 0;
}
