// The whole of an open file, for tests that compare what was written.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/file_io.h"

// Reads from the start whatever the position was; leaves it at the end.
inline std::vector<uint8_t> FileBytes(FileHandle file)
{
    uint32_t size = 0;
    FileGetSize(file, &size);
    std::vector<uint8_t> out(size);
    FileSeek(file, kSeekStart, 0);
    if (size)
        FileRead(file, out.data(), size);
    return out;
}
