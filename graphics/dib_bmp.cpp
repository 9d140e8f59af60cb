#include "graphics/dib_bmp.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/dib_block.h"
#include "graphics/dib_format.h"

namespace {

bool KnownInfoSize(uint32_t n) { return n == 40 || n == 52 || n == 56 || n == 108 || n == 124; }

}  // namespace

int32_t DibHandleFromBmpBytes(DibHandle h, const uint8_t* bytes, uint64_t size, bool fullTable)
{
    DibHandleClear(&h);
    if (!DibHandleBlockSlot(h) || !bytes || size < kBmpFileHeaderSize + kDibHeaderSize ||
        GetU16LE(bytes + kBfType) != kBmpMagic)
        return 1;
    const uint8_t* info = bytes + kBmpFileHeaderSize;
    const uint32_t infoSize = GetU32LE(info + kBiSize);
    const uint64_t offBits = GetU32LE(bytes + kBfOffBits);
    if (!KnownInfoSize(infoSize) || kBmpFileHeaderSize + uint64_t(infoSize) > size)
        return 1;

    const uint32_t bits = GetU16LE(info + kBiBitCount);
    const uint32_t compression = GetU32LE(info + kBiCompression);
    const bool masks = compression == kBiBitfields;
    uint32_t colours = GetU32LE(info + kBiClrUsed);
    if (colours == 0 && bits <= 8)
        colours = 1u << bits;
    if (colours > 256)
        return 1;

    // The masks sit behind a 40-byte header and inside the longer ones.
    const uint64_t tableStart = kBmpFileHeaderSize + uint64_t(infoSize) + (masks && infoSize == 40 ? 12 : 0);
    const uint64_t tableBytes = uint64_t(kDibQuadSize) * colours;
    if (tableStart + tableBytes > size || offBits < tableStart + tableBytes || offBits > size)
        return 1;

    // A packed block with a 40-byte header, laid out as the file's pieces
    // say, then checked like any block from outside.
    uint8_t header[kDibHeaderSize];
    std::memcpy(header, info, kDibHeaderSize);
    PutU32LE(header + kBiSize, kDibHeaderSize);
    PutU32LE(header + kBiClrUsed, colours);
    const uint64_t prefix = kDibHeaderSize + (masks ? kDibBitfieldMasksSize : 0) + tableBytes;
    const uint64_t pixelBytes = size - offBits;
    if (prefix + pixelBytes > kDibMaxBlockSize)
        return 1;
    // Checked against the bytes the file really holds behind the offset.
    DibGeometry g;
    if (!DibCheckHeader(header, prefix + pixelBytes, &g) || g.pixelOffset != prefix)
        return 1;
    const uint64_t blockSize = g.required;
    auto* block = static_cast<uint8_t*>(MemAllocClear(uint32_t(blockSize)));
    if (!block)
        return 1;
    std::memcpy(block, header, kDibHeaderSize);
    if (masks)
        std::memcpy(block + kDibHeaderSize, info + kDibHeaderSize, kDibBitfieldMasksSize);
    std::memcpy(block + prefix - tableBytes, bytes + tableStart, size_t(tableBytes));
    std::memcpy(block + prefix, bytes + offBits, size_t(blockSize - prefix));

    if (DibIsWorkingForm(g) && !fullTable)
        return DibHandleAdoptBlock(h, block, uint32_t(blockSize));
    uint32_t convertedSize = 0;
    uint8_t* converted = DibConvertToWorkingForm(block, g, fullTable, &convertedSize);
    MemFree(block);
    if (!converted)
        return 1;
    return DibHandleAdoptBlock(h, converted, convertedSize);
}

int32_t DibHandleToBmpBytes(DibHandle h, std::vector<uint8_t>* out)
{
    const DibRecord* r = DibHandleBlockSlot(h);
    if (!out || DibHandleIsEmpty(h))
        return 1;
    const uint32_t bits = uint32_t(DibHandleBitCount(h));
    const uint32_t stored = GetU32LE(r->block + kBiClrUsed);
    const uint32_t colours = bits <= 8 && stored == 0 ? 1u << bits : stored;
    const uint64_t tableStart = kDibHeaderSize;
    const uint64_t pixelBytes = r->byteSize - uint64_t(r->bits - r->block);
    const uint64_t offBits = kBmpFileHeaderSize + kDibHeaderSize + uint64_t(kDibQuadSize) * colours;
    const uint64_t total = offBits + pixelBytes;

    out->assign(size_t(total), 0);
    uint8_t* p = out->data();
    PutU16LE(p + kBfType, kBmpMagic);
    PutU32LE(p + kBfSize, uint32_t(total));
    PutU32LE(p + kBfOffBits, uint32_t(offBits));
    uint8_t* info = p + kBmpFileHeaderSize;
    std::memcpy(info, r->block, kDibHeaderSize);
    PutU32LE(info + kBiClrUsed, colours);
    std::memcpy(info + tableStart, r->block + tableStart, size_t(kDibQuadSize) * stored);
    std::memcpy(p + offBits, r->bits, size_t(pixelBytes));
    return 0;
}
