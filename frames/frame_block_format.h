// The persistent block every frame writes to the swap file and the document
// file: 148 fixed bytes, little-endian, then two variable parts. A subclass
// appends its own data behind it.
//
//   0   28  frame geometry: the 25-byte placement block, 3 reserved
//  28   u8  border colour      29  u8  border tint
//  30   u8  fill colour        31  u8  fill tint
//  32   u8  background colour (255 = none)
//  33   u8  border pattern     34  u8  fill pattern
//  35   u8  shown  36 u8 locked  37 u8 printable  38 u8 packed attribute byte
//  39   u8  text pattern       40  i16 text colour   42  i16 text tint
//  44   i16 font id  46 i16 font size  48 i16 font style  50 i16 database field
//  52   u16 horizontal anchor id       54  u16 vertical anchor id
//  56   i16 horizontal alignment mode  58  i16 vertical alignment mode
//  60   8   reserved
//       -- the first 68 bytes are the attribute block --
//  68   u16 frame id           70  2 reserved
//  72   u32 page handle        76  u8 residence   77  reserved
//  78   i16 page word          80  i16 z-order word
//  82   u8  handle count, 83 resizable, 84 selectable, 85 selected,
//       86 rotatable, 87 undeletable, 88 pinned, 89 outline kind,
//       90 drawn-as-image byte, 91 reserved
//  92   i16 outline inset      94  i16 text inset    96  i16 story id
//  98   2   reserved
// 100   u32 byte size of the group-id list (0 = none)
// 104   i32 remembered offset x   108 i32 remembered offset y
// 112   u32 byte size of the text-wrap outline (0 = none)
// 116   u8  record-fed  117 u8 barcode option  118 i16 (0 when created)
// 120   u8  backdrop    121 u8 auto-size       122 2 reserved
// 124   16  auto-size block: i32 x shift, i32 y shift, i16 width change,
//           i16 height change, i16 anchor mode, 2 spare
// 140   8   reserved
// 148   A   the text-wrap outline's bytes (A = the size at 112)
// 148+A B   the group-id list's bytes (B = the size at 100): u32 frame ids
//
// The two size fields stand where the object keeps its two Handles in
// memory. Reserved bytes are kept as read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/int_geometry.h"
#include "graphics/placement_format.h"
#include "graphics/placement_records.h"

constexpr size_t kFrameGeometrySize = 28;
constexpr size_t kFrameAttributesSize = 68;
constexpr size_t kFrameBlockSize = 148;
constexpr size_t kFrameSecondPartSize = kFrameBlockSize - kFrameAttributesSize;
constexpr size_t kAutoSizeBlockSize = 16;
constexpr size_t kFrameGroupSizeOffset = 100;
constexpr size_t kFrameWrapSizeOffset = 112;
// A text-wrap outline: u16 point count, 2 spare bytes, then 8-byte points.
constexpr size_t kWrapOutlineHeaderSize = 4;
constexpr size_t kWrapPointSize = 8;

// The placement block followed by three reserved bytes, as every frame
// stores it.
struct FrameGeometry : PlacementBlock {
    uint8_t reserved[3] = {};
};

// The first 68 persistent bytes: geometry and attributes. It is what a
// change saves for undo and what the tools hold as their defaults.
struct FrameAttributes {
    FrameGeometry geometry;
    uint8_t borderColour = 0;
    uint8_t borderTint = 0;
    uint8_t fillColour = 0;
    uint8_t fillTint = 0;
    uint8_t background = 0;
    uint8_t borderPattern = 0;
    uint8_t fillPattern = 0;
    uint8_t shown = 0;
    uint8_t locked = 0;
    uint8_t printable = 0;
    uint8_t attrByte = 0;
    uint8_t textPattern = 0;
    int16_t textColour = 0;
    int16_t textTint = 0;
    int16_t fontId = 0;
    int16_t fontSize = 0;
    int16_t fontStyle = 0;
    int16_t dataField = 0;
    uint16_t anchorH = 0;
    uint16_t anchorV = 0;
    int16_t alignH = 0;
    int16_t alignV = 0;
    uint8_t reserved60[8] = {};
};

struct AutoSizeBlock {
    int32_t xShift = 0;
    int32_t yShift = 0;
    int16_t widthChange = 0;
    int16_t heightChange = 0;
    int16_t anchor = 0;
    uint8_t spare[2] = {};
};

// Everything of the 148 bytes but the two Handles, whose sizes travel
// beside it.
struct FrameBlock {
    FrameAttributes attr;
    uint16_t frameId = 0;
    uint8_t reserved70[2] = {};
    uint32_t pageHandle = 0;
    uint8_t residence = 0;
    uint8_t reserved77 = 0;
    int16_t pageWord = 0;
    int16_t zOrderWord = 0;
    uint8_t handleCount = 0;
    uint8_t resizable = 0;
    uint8_t selectable = 0;
    uint8_t selected = 0;
    uint8_t rotatable = 0;
    uint8_t undeletable = 0;
    uint8_t pinned = 0;
    uint8_t outlineKind = 0;
    uint8_t drawnAsImage = 0;
    uint8_t reserved91 = 0;
    int16_t outlineInset = 0;
    int16_t textInset = 0;
    int16_t storyId = 0;
    uint8_t reserved98[2] = {};
    IntPoint remembered;
    uint8_t recordFed = 0;
    uint8_t barcodeOption = 0;
    int16_t word118 = 0;
    uint8_t backdrop = 0;
    uint8_t autoSize = 0;
    uint8_t reserved122[2] = {};
    AutoSizeBlock autoSizeBlock;
    uint8_t reserved140[8] = {};
};

inline FrameGeometry GetFrameGeometry(const uint8_t* p)
{
    FrameGeometry g;
    static_cast<PlacementBlock&>(g) = GetPlacementBlock(p);
    std::memcpy(g.reserved, p + kPlacementBlockSize, 3);
    return g;
}

inline void PutFrameGeometry(uint8_t* p, const FrameGeometry& g)
{
    PutPlacementBlock(p, g);
    std::memcpy(p + kPlacementBlockSize, g.reserved, 3);
}

inline FrameAttributes GetFrameAttributes(const uint8_t* p)
{
    FrameAttributes a;
    a.geometry = GetFrameGeometry(p);
    a.borderColour = p[28];
    a.borderTint = p[29];
    a.fillColour = p[30];
    a.fillTint = p[31];
    a.background = p[32];
    a.borderPattern = p[33];
    a.fillPattern = p[34];
    a.shown = p[35];
    a.locked = p[36];
    a.printable = p[37];
    a.attrByte = p[38];
    a.textPattern = p[39];
    a.textColour = GetI16LE(p + 40);
    a.textTint = GetI16LE(p + 42);
    a.fontId = GetI16LE(p + 44);
    a.fontSize = GetI16LE(p + 46);
    a.fontStyle = GetI16LE(p + 48);
    a.dataField = GetI16LE(p + 50);
    a.anchorH = GetU16LE(p + 52);
    a.anchorV = GetU16LE(p + 54);
    a.alignH = GetI16LE(p + 56);
    a.alignV = GetI16LE(p + 58);
    std::memcpy(a.reserved60, p + 60, 8);
    return a;
}

inline void PutFrameAttributes(uint8_t* p, const FrameAttributes& a)
{
    PutFrameGeometry(p, a.geometry);
    p[28] = a.borderColour;
    p[29] = a.borderTint;
    p[30] = a.fillColour;
    p[31] = a.fillTint;
    p[32] = a.background;
    p[33] = a.borderPattern;
    p[34] = a.fillPattern;
    p[35] = a.shown;
    p[36] = a.locked;
    p[37] = a.printable;
    p[38] = a.attrByte;
    p[39] = a.textPattern;
    PutI16LE(p + 40, a.textColour);
    PutI16LE(p + 42, a.textTint);
    PutI16LE(p + 44, a.fontId);
    PutI16LE(p + 46, a.fontSize);
    PutI16LE(p + 48, a.fontStyle);
    PutI16LE(p + 50, a.dataField);
    PutU16LE(p + 52, a.anchorH);
    PutU16LE(p + 54, a.anchorV);
    PutI16LE(p + 56, a.alignH);
    PutI16LE(p + 58, a.alignV);
    std::memcpy(p + 60, a.reserved60, 8);
}

inline AutoSizeBlock GetAutoSizeBlock(const uint8_t* p)
{
    AutoSizeBlock b;
    b.xShift = GetI32LE(p);
    b.yShift = GetI32LE(p + 4);
    b.widthChange = GetI16LE(p + 8);
    b.heightChange = GetI16LE(p + 10);
    b.anchor = GetI16LE(p + 12);
    std::memcpy(b.spare, p + 14, 2);
    return b;
}

inline void PutAutoSizeBlock(uint8_t* p, const AutoSizeBlock& b)
{
    PutI32LE(p, b.xShift);
    PutI32LE(p + 4, b.yShift);
    PutI16LE(p + 8, b.widthChange);
    PutI16LE(p + 10, b.heightChange);
    PutI16LE(p + 12, b.anchor);
    std::memcpy(p + 14, b.spare, 2);
}

// Bytes 68-147; the sizes of the two variable parts go to 100 and 112.
inline void PutFrameSecondPart(uint8_t* p, const FrameBlock& b, uint32_t groupBytes, uint32_t wrapBytes)
{
    PutU16LE(p + 68, b.frameId);
    std::memcpy(p + 70, b.reserved70, 2);
    PutU32LE(p + 72, b.pageHandle);
    p[76] = b.residence;
    p[77] = b.reserved77;
    PutI16LE(p + 78, b.pageWord);
    PutI16LE(p + 80, b.zOrderWord);
    p[82] = b.handleCount;
    p[83] = b.resizable;
    p[84] = b.selectable;
    p[85] = b.selected;
    p[86] = b.rotatable;
    p[87] = b.undeletable;
    p[88] = b.pinned;
    p[89] = b.outlineKind;
    p[90] = b.drawnAsImage;
    p[91] = b.reserved91;
    PutI16LE(p + 92, b.outlineInset);
    PutI16LE(p + 94, b.textInset);
    PutI16LE(p + 96, b.storyId);
    std::memcpy(p + 98, b.reserved98, 2);
    PutU32LE(p + kFrameGroupSizeOffset, groupBytes);
    PutI32LE(p + 104, b.remembered.x);
    PutI32LE(p + 108, b.remembered.y);
    PutU32LE(p + kFrameWrapSizeOffset, wrapBytes);
    p[116] = b.recordFed;
    p[117] = b.barcodeOption;
    PutI16LE(p + 118, b.word118);
    p[120] = b.backdrop;
    p[121] = b.autoSize;
    std::memcpy(p + 122, b.reserved122, 2);
    PutAutoSizeBlock(p + 124, b.autoSizeBlock);
    std::memcpy(p + 140, b.reserved140, 8);
}

inline void GetFrameSecondPart(const uint8_t* p, FrameBlock* b, uint32_t* groupBytes, uint32_t* wrapBytes)
{
    b->frameId = GetU16LE(p + 68);
    std::memcpy(b->reserved70, p + 70, 2);
    b->pageHandle = GetU32LE(p + 72);
    b->residence = p[76];
    b->reserved77 = p[77];
    b->pageWord = GetI16LE(p + 78);
    b->zOrderWord = GetI16LE(p + 80);
    b->handleCount = p[82];
    b->resizable = p[83];
    b->selectable = p[84];
    b->selected = p[85];
    b->rotatable = p[86];
    b->undeletable = p[87];
    b->pinned = p[88];
    b->outlineKind = p[89];
    b->drawnAsImage = p[90];
    b->reserved91 = p[91];
    b->outlineInset = GetI16LE(p + 92);
    b->textInset = GetI16LE(p + 94);
    b->storyId = GetI16LE(p + 96);
    std::memcpy(b->reserved98, p + 98, 2);
    *groupBytes = GetU32LE(p + kFrameGroupSizeOffset);
    b->remembered.x = GetI32LE(p + 104);
    b->remembered.y = GetI32LE(p + 108);
    *wrapBytes = GetU32LE(p + kFrameWrapSizeOffset);
    b->recordFed = p[116];
    b->barcodeOption = p[117];
    b->word118 = GetI16LE(p + 118);
    b->backdrop = p[120];
    b->autoSize = p[121];
    std::memcpy(b->reserved122, p + 122, 2);
    b->autoSizeBlock = GetAutoSizeBlock(p + 124);
    std::memcpy(b->reserved140, p + 140, 8);
}
