#include "frames/own_record_io.h"

#include <cstring>
#include <vector>

int32_t ReadOwnRecord(int32_t baseResult, FileHandle file, uint8_t* record, uint32_t size)
{
    if (baseResult != 0)
        return baseResult;
    std::vector<uint8_t> bytes(size);
    const int32_t err = FileRead(file, bytes.data(), size);
    if (err == 0)
        std::memcpy(record, bytes.data(), size);
    return err;
}

int32_t WriteOwnRecord(int32_t baseResult, FileHandle file, const uint8_t* record, uint32_t size)
{
    if (baseResult != 0)
        return baseResult;
    return FileWrite(file, record, size);
}
