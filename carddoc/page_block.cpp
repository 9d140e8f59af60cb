#include "carddoc/page_block.h"

#include <cstring>

#include "foundation/byte_order.h"

namespace {

void PutRect(uint8_t* p, const IntRect& r)
{
    PutI32LE(p, r.left);
    PutI32LE(p + 4, r.top);
    PutI32LE(p + 8, r.right);
    PutI32LE(p + 12, r.bottom);
}

IntRect GetRect(const uint8_t* p) { return IntRect{GetI32LE(p), GetI32LE(p + 4), GetI32LE(p + 8), GetI32LE(p + 12)}; }

}  // namespace

void EncodePageBlock(const PageBlock& b, uint8_t* out)
{
    std::memset(out, 0, kPageBlockSize);
    PutF64LE(out + kPageBlockCardWidth, b.cardWidth);
    PutF64LE(out + kPageBlockCardHeight, b.cardHeight);
    for (int i = 0; i < 4; ++i)
        PutI32LE(out + kPageBlockMargins + 4 * i, b.margins[i]);
    PutI16LE(out + kPageBlockFirstPage, b.firstPage);
    PutI16LE(out + kPageBlockSides, b.sides);
    out[kPageBlockOrientation] = b.orientation;
    out[kPageBlockFacing] = b.facing;
    out[kPageBlockInsertFlag] = b.insertFlag;
    out[kPageBlockByte39] = b.byte39;
    PutI16LE(out + kPageBlockDisplayWord1, b.continuationCount);
    PutI16LE(out + kPageBlockDisplayWord2, b.displayWord2);
    out[kPageBlockDisplayByte1] = b.continuationFirst;
    out[kPageBlockDisplayByte2] = b.continuationSecond;
    PutI16LE(out + kPageBlockUnit, b.unit);
    PutI16LE(out + kPageBlockPageWidth, b.pageWidth);
    PutI16LE(out + kPageBlockPageHeight, b.pageHeight);
    PutI32LE(out + kPageBlockPageLeft, b.pageLeft);
    PutI32LE(out + kPageBlockPageTop, b.pageTop);
    PutRect(out + kPageBlockSlot0, b.slots[0]);
    PutRect(out + kPageBlockSlot1, b.slots[1]);
    std::memcpy(out + kPageBlockFurther, b.further, kPageBlockFurtherSize);
}

void DecodePageBlock(const uint8_t* in, PageBlock* b)
{
    b->cardWidth = GetF64LE(in + kPageBlockCardWidth);
    b->cardHeight = GetF64LE(in + kPageBlockCardHeight);
    for (int i = 0; i < 4; ++i)
        b->margins[i] = GetI32LE(in + kPageBlockMargins + 4 * i);
    b->firstPage = GetI16LE(in + kPageBlockFirstPage);
    b->sides = GetI16LE(in + kPageBlockSides);
    b->orientation = in[kPageBlockOrientation];
    b->facing = in[kPageBlockFacing];
    b->insertFlag = in[kPageBlockInsertFlag];
    b->byte39 = in[kPageBlockByte39];
    b->continuationCount = GetI16LE(in + kPageBlockDisplayWord1);
    b->displayWord2 = GetI16LE(in + kPageBlockDisplayWord2);
    b->continuationFirst = in[kPageBlockDisplayByte1];
    b->continuationSecond = in[kPageBlockDisplayByte2];
    b->unit = GetI16LE(in + kPageBlockUnit);
    b->pageWidth = GetI16LE(in + kPageBlockPageWidth);
    b->pageHeight = GetI16LE(in + kPageBlockPageHeight);
    b->pageLeft = GetI32LE(in + kPageBlockPageLeft);
    b->pageTop = GetI32LE(in + kPageBlockPageTop);
    b->slots[0] = GetRect(in + kPageBlockSlot0);
    b->slots[1] = GetRect(in + kPageBlockSlot1);
    std::memcpy(b->further, in + kPageBlockFurther, kPageBlockFurtherSize);
}
