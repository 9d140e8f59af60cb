// DibHandle: a raster picture in a relocatable Handle.
//
// The Handle's data is a DibRecord that owns one packed bitmap (layout in
// graphics/dib_format.h) held in a plain heap block. The record lives only
// in memory; what goes to a file is the block behind its size word (see
// graphics/dib_serial.h).
//
// A DibHandle is empty when the Handle is null, holds no data, holds data
// of another size than a DibRecord, or either pointer of the record is
// null. A cleared record (all zero) is a valid empty DibHandle. Every
// operation that builds a picture leaves its target cleared, never half
// filled, when it fails; results are 0 for success and 1 for failure.
#pragma once

#include <cstdint>

#include "foundation/handle.h"
#include "platform/global_block.h"

using DibHandle = Handle;

struct DibRecord {
    uint32_t byteSize;  // of the packed block
    uint8_t* block;     // header, colour table and rows
    uint8_t* bits;      // the first pixel row, inside block
};

// A new Handle holding a cleared record; null when memory runs out.
DibHandle DibHandleNew();
int32_t DibHandleIsEmpty(DibHandle h);
// The record of h, or null when h has none.
DibRecord* DibHandleBlockSlot(DibHandle h);
// The bytes h's picture takes (its packed block; not the Handle, which
// holds only the record); 0 for null or an empty h.
uint64_t DibHandleBytes(DibHandle h);

// Makes h a zero-filled picture: all pixels 0, the colour table (1 << bits
// entries below 24 bits) all black. Depths other than 1, 4, 8 and 24 and
// sizes that are not positive give 1.
int32_t DibHandleCreate(DibHandle h, int32_t width, int32_t height, int32_t bits);
// Frees the packed block and zeroes the record; the Handle stays.
void DibHandleClear(DibHandle* h);
// Frees the block and the Handle and nulls the variable. Always 0.
int32_t DibHandleFree(DibHandle* h);
// dest gets its own copy of src's block. 1 when dest is null or src empty.
int32_t DibHandleCopy(DibHandle dest, DibHandle src);
// Passes src's block to dest (dest's own block is freed first). The source
// record is cleared so that one record owns the block; with freeSource the
// source Handle is freed too and its variable nulled.
void DibHandleMove(DibHandle dest, DibHandle* src, bool freeSource);
// Gives h the packed block (allocated with MemAllocClear) of size bytes.
// h owns the block from then on, also when the call fails: a block that
// is not a valid working-form bitmap is freed, h cleared and 1 returned.
int32_t DibHandleAdoptBlock(DibHandle h, uint8_t* block, uint32_t size);

int32_t DibHandleWidth(DibHandle h);
int32_t DibHandleHeight(DibHandle h);
int32_t DibHandleBitCount(DibHandle h);
int32_t DibHandleStride(DibHandle h);
// The colour table, null without one or at 24 bits.
uint8_t* DibHandlePalette(DibHandle h);
// 2, 16 or 256 for 1, 4 or 8 bits, else 0.
int32_t DibHandleColourCount(DibHandle h);

// The clipboard's and the imaging code's form: a global block holding the
// packed bitmap. A block already in the variable is freed first.
int32_t DibHandleToGlobal(DibHandle h, GlobalBlock* global);
// Copies a packed bitmap out of a global block (the caller keeps the
// block). The colour table is widened to the full 1 << bits entries up to
// 8 bits; rows stored top-down and 16- or 32-bit pixels are converted. A
// block that does not hold a valid bitmap gives 1.
int32_t DibHandleFromGlobal(DibHandle h, GlobalBlock global);
// The same from a packed bitmap held in a Handle.
int32_t DibHandleFromPacked(Handle packed, DibHandle h);
// Resizes packed to the block's size and copies the block in; the result
// of the resize, or 1 when h is empty.
int32_t DibHandleToPacked(DibHandle h, Handle packed);
// A bitmap of the program's resources (":/bitmaps/<id>.bmp"); 1 when
// there is none or it is not a valid bitmap.
int32_t DibHandleFromResource(int32_t id, DibHandle h);

// Owns a DibHandle, block and all, for the length of a scope.
class DibHandleOwner {
public:
    explicit DibHandleOwner(DibHandle h = DibHandleNew()) : h_(h) {}
    ~DibHandleOwner() { DibHandleFree(&h_); }
    DibHandleOwner(const DibHandleOwner&) = delete;
    DibHandleOwner& operator=(const DibHandleOwner&) = delete;

    DibHandle get() const { return h_; }
    DibHandle* address() { return &h_; }
    DibHandle release()
    {
        DibHandle h = h_;
        h_ = nullptr;
        return h;
    }
    explicit operator bool() const { return h_ != nullptr; }

private:
    DibHandle h_;
};
