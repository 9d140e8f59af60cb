#include "graphics/dib_handle.h"

#include <cstring>

#include <QFile>

#include "foundation/byte_order.h"
#include "graphics/dib_block.h"
#include "graphics/dib_bmp.h"
#include "graphics/dib_format.h"
#include "resources/artwork_resources.h"

DibHandle DibHandleNew() { return HandleNew(sizeof(DibRecord)); }

DibRecord* DibHandleBlockSlot(DibHandle h)
{
    if (!h || !h->data || h->size != sizeof(DibRecord))
        return nullptr;
    return reinterpret_cast<DibRecord*>(h->data);
}

namespace {

// The record of a non-empty DibHandle, else null.
DibRecord* Filled(DibHandle h)
{
    DibRecord* r = DibHandleBlockSlot(h);
    return r && r->block && r->bits ? r : nullptr;
}

void ClearRecord(DibRecord* r)
{
    if (!r)
        return;
    MemFree(r->block);
    *r = DibRecord{0, nullptr, nullptr};
}

// Takes a block whose header has been checked to be in the working form.
void SetBlock(DibRecord* r, uint8_t* block, uint32_t size, const DibGeometry& g)
{
    *r = DibRecord{size, block, block + g.pixelOffset};
}

// Copies a packed bitmap arriving from elsewhere into h, widening its
// colour table as copy-in asks.
int32_t CopyIn(DibHandle h, const uint8_t* bytes, uint64_t size)
{
    DibRecord* r = DibHandleBlockSlot(h);
    if (!r)
        return 1;
    ClearRecord(r);
    DibGeometry g;
    if (!DibCheckHeader(bytes, size, &g))
        return 1;
    uint32_t blockSize = 0;
    uint8_t* block = DibConvertToWorkingForm(bytes, g, true, &blockSize);
    if (!block)
        return 1;
    DibCheckHeader(block, blockSize, &g);
    SetBlock(r, block, blockSize, g);
    return 0;
}

}  // namespace

int32_t DibHandleIsEmpty(DibHandle h) { return Filled(h) ? 0 : 1; }

uint64_t DibHandleBytes(DibHandle h)
{
    const DibRecord* r = h ? DibHandleBlockSlot(h) : nullptr;
    return r && r->block ? r->byteSize : 0;
}

int32_t DibHandleCreate(DibHandle h, int32_t width, int32_t height, int32_t bits)
{
    DibRecord* r = DibHandleBlockSlot(h);
    if (!r)
        return 1;
    ClearRecord(r);
    if (width <= 0 || height <= 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return 1;
    const uint32_t colours = DibTableSizeAtCreation(uint32_t(bits));
    const uint64_t stride = DibRowStride(uint64_t(width), uint32_t(bits));
    const uint64_t pixelOffset = kDibHeaderSize + uint64_t(kDibQuadSize) * colours;
    const uint64_t size = pixelOffset + stride * uint64_t(height);
    if (size > kDibMaxBlockSize)
        return 1;
    auto* block = static_cast<uint8_t*>(MemAllocClear(uint32_t(size)));
    if (!block)
        return 1;
    DibPutHeader(block, width, height, uint32_t(bits), colours);
    *r = DibRecord{uint32_t(size), block, block + pixelOffset};
    return 0;
}

void DibHandleClear(DibHandle* h)
{
    if (h)
        ClearRecord(DibHandleBlockSlot(*h));
}

int32_t DibHandleFree(DibHandle* h)
{
    if (!h || !*h)
        return 0;
    ClearRecord(DibHandleBlockSlot(*h));
    HandleFree(*h);
    *h = nullptr;
    return 0;
}

int32_t DibHandleCopy(DibHandle dest, DibHandle src)
{
    const DibRecord* s = Filled(src);
    DibRecord* d = DibHandleBlockSlot(dest);
    if (!d || !s)
        return 1;
    if (d == s)
        return 0;
    ClearRecord(d);
    auto* block = static_cast<uint8_t*>(MemAllocClear(s->byteSize));
    if (!block)
        return 1;
    std::memcpy(block, s->block, s->byteSize);
    *d = DibRecord{s->byteSize, block, block + (s->bits - s->block)};
    return 0;
}

void DibHandleMove(DibHandle dest, DibHandle* src, bool freeSource)
{
    DibRecord* d = DibHandleBlockSlot(dest);
    DibRecord* s = src ? DibHandleBlockSlot(*src) : nullptr;
    if (!d || !s || d == s)
        return;
    ClearRecord(d);
    *d = *s;
    *s = DibRecord{0, nullptr, nullptr};
    if (freeSource) {
        HandleFree(*src);
        *src = nullptr;
    }
}

int32_t DibHandleAdoptBlock(DibHandle h, uint8_t* block, uint32_t size)
{
    DibRecord* r = DibHandleBlockSlot(h);
    if (!r) {
        MemFree(block);
        return 1;
    }
    ClearRecord(r);
    DibGeometry g;
    if (!DibCheckHeader(block, size, &g) || !DibIsWorkingForm(g)) {
        MemFree(block);
        return 1;
    }
    SetBlock(r, block, size, g);
    return 0;
}

int32_t DibHandleWidth(DibHandle h)
{
    const DibRecord* r = Filled(h);
    return r ? GetI32LE(r->block + kBiWidth) : 0;
}

int32_t DibHandleHeight(DibHandle h)
{
    const DibRecord* r = Filled(h);
    return r ? GetI32LE(r->block + kBiHeight) : 0;
}

int32_t DibHandleBitCount(DibHandle h)
{
    const DibRecord* r = Filled(h);
    return r ? GetU16LE(r->block + kBiBitCount) : 0;
}

int32_t DibHandleStride(DibHandle h)
{
    return int32_t(DibRowStride(uint64_t(DibHandleWidth(h)), uint32_t(DibHandleBitCount(h))));
}

uint8_t* DibHandlePalette(DibHandle h)
{
    DibRecord* r = Filled(h);
    if (!r || GetU16LE(r->block + kBiBitCount) >= 24 || GetU32LE(r->block + kBiClrUsed) == 0)
        return nullptr;
    return r->block + kDibHeaderSize;
}

int32_t DibHandleColourCount(DibHandle h)
{
    switch (DibHandleBitCount(h)) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

int32_t DibHandleToGlobal(DibHandle h, GlobalBlock* global)
{
    if (!global)
        return 1;
    *global = GlobalBlockFree(*global);
    const DibRecord* r = Filled(h);
    if (!r)
        return 1;
    GlobalBlock block = GlobalBlockAlloc(kGlobalMoveable | kGlobalShare, r->byteSize);
    if (!block)
        return 1;
    std::memcpy(GlobalBlockLock(block), r->block, r->byteSize);
    GlobalBlockUnlock(block);
    *global = block;
    return 0;
}

int32_t DibHandleFromGlobal(DibHandle h, GlobalBlock global)
{
    const uint8_t* bytes = GlobalBlockLock(global);
    const int32_t result = bytes ? CopyIn(h, bytes, GlobalBlockSize(global)) : 1;
    GlobalBlockUnlock(global);
    if (result)
        DibHandleClear(&h);
    return result;
}

int32_t DibHandleFromPacked(Handle packed, DibHandle h)
{
    const uint32_t size = HandleGetSize(packed);
    HandleLock(packed);
    const int32_t result = size ? CopyIn(h, HandleData(packed), size) : 1;
    HandleUnlock(packed);
    if (result)
        DibHandleClear(&h);
    return result;
}

int32_t DibHandleToPacked(DibHandle h, Handle packed)
{
    const DibRecord* r = Filled(h);
    if (!r)
        return 1;
    if (r->byteSize > uint32_t(INT32_MAX))
        return kMemOutOfMemory;
    const int32_t result = HandleResize(packed, int32_t(r->byteSize));
    if (result)
        return result;
    HandleLock(packed);
    std::memcpy(HandleData(packed), r->block, r->byteSize);
    HandleUnlock(packed);
    return 0;
}

int32_t DibHandleFromResource(int32_t id, DibHandle h)
{
    DibHandleClear(&h);
    InitArtworkResources();
    QFile file(QStringLiteral(":/bitmaps/%1.bmp").arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    return DibHandleFromBmpBytes(h, reinterpret_cast<const uint8_t*>(bytes.constData()), uint64_t(bytes.size()), true);
}
