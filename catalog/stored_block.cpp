#include "catalog/stored_block.h"

#include <cstring>

#include "catalog/wizard_file_io.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/pack_data.h"
#include "foundation/pack_format.h"

int32_t WizReadBlock(const uint8_t* bytes, size_t size, size_t at, uint32_t unpacked, uint32_t stored, bool packed,
                     Handle body)
{
    if (!body)
        return kMemNullHandle;
    if (unpacked > kWizMaxFileSize)
        return kWizWrongCode;
    const uint32_t length = packed ? stored : unpacked;
    if (at > size || length > size - at)
        return kWizWrongCode;
    if (!packed) {
        if (HandleResize(body, int32_t(unpacked)) != 0)
            return MemLastError();
        if (unpacked)
            std::memcpy(HandleData(body), bytes + at, unpacked);
        return 0;
    }
    if (stored < kPackTrailerSize ||
        GetU32LE(bytes + at + stored - kPackTrailerSize + kPackTrailerLengthOffset) != unpacked)
        return kWizWrongCode;
    HandleOwner source(nullptr);
    Handle h = nullptr;
    if (HandleFromBytes(bytes + at, &h, stored) != 0)
        return MemLastError();
    source.reset(h);
    if (int32_t err = PackData(source.get(), body, kPackExpand, kPackDefaultLevel, 0))
        return err;
    return HandleGetSize(body) == unpacked ? 0 : kWizWrongCode;
}

bool WizPackBlock(Handle block, Handle packedOut)
{
    return block && packedOut && PackData(block, packedOut, kPackCompress, kPackDefaultLevel, 0) == kPackOk;
}

