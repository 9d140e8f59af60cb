// The card document file (".lqx"), little-endian throughout:
//
//      0   120   header, 30 u32 words (below)
//    120   148   general preferences (records/preferences_format.h)
//    268   116   page block (below)
//    384   168   label layout (records/label_stock_format.h)
//    552  5608   document set-up (catalog/doc_setup_format.h)
//   6160   840   zero bytes
//   7000         sections, each in its owner's format, in this order:
//                print settings (records/print_settings_format.h), colour
//                table, font table, an empty section, page table, an
//                empty section, frame store, story store, an empty
//                section, then the page thumbnail: u32 size and a packed
//                device-independent bitmap (graphics/dib_serial.h).
//
// The body from 0 to the end of data doubles as the first contents of the
// document's swap file: frame and text records hold file offsets, which
// stay valid there.
//
// Header:
//
//    0   u32   status: 0, or 1 when a step of the save failed
//    4   u32   file code 'QXlb' (four-character codes are u32 values whose
//              high byte is the first character)
//    8   u32   format code 'QX_1'
//   12   u32   kind code given by the writer ('QXlb' for a card)
//   16   u32   version, 10
//   20   u32   end of data: the file's length as written
//   24   u32   print settings offset (7000); the section runs up to the
//              colour table's offset
//   28   u32   colour table offset, 32 its length
//   36   u32   font table offset, 40 its length
//   44   u32   empty section offset, 48 length 0
//   52   u32   page table offset, 56 its length
//   60   u32   empty section offset, 64 length 0
//   68   u32   frame store offset (where its record array starts), 72 its
//              length
//   76   u32   story store offset (likewise), 80 its length
//   84   u32   empty section offset, 88 length 0
//   92   u32   thumbnail offset, 96 its length (0 when none was written)
//  100   u32   thumbnail kind 'DIB '
//  104   u32   page count, 108 frame count, 112 story count
//  116   u32   0
//
// Page block (116 bytes):
//
//    0   f64   card width, points
//    8   f64   card height, points
//   16   4 x i32  non-printing margins left, top, right, bottom
//   32   i16   first page number
//   34   i16   sides: 1, or 2 for front and back
//   36   u8    orientation (low byte of the layout's)
//   37   u8    facing pages
//   38   u8    page flag read when pages are inserted
//   39   u8    -
//   40   i16   display word, 42 display word
//   44   u8    display byte, 45 display byte
//   46   i16   unit index
//   48   i16   page width, 50 page height
//   52   i32   page word, 56 page word: the left and top of the first
//              shown page
//   60   4 x i32  bounds of page slot 0
//   76   4 x i32  bounds of page slot 1
//   92   24    further page fields, stored as they stand
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"

constexpr uint32_t kCardFileCode = FourCC("QXlb");
constexpr uint32_t kCardFormatCode = FourCC("QX_1");
constexpr uint32_t kCardKindCode = FourCC("QXlb");
constexpr uint32_t kCardThumbnailKind = FourCC("DIB ");
constexpr uint32_t kCardVersion = 10;

constexpr size_t kCardHeaderSize = 120;

enum : size_t {
    kCardStatus = 0,
    kCardFileCodeAt = 4,
    kCardFormatCodeAt = 8,
    kCardKindAt = 12,
    kCardVersionAt = 16,
    kCardEndOfData = 20,
    kCardPrintOffset = 24,
    // The eight sections after the print settings: offset, then length.
    kCardSectionPlaces = 28,
    kCardThumbnailOffset = 92,
    kCardThumbnailLength = 96,
    kCardThumbnailKindAt = 100,
    kCardPageCount = 104,
    kCardFrameCount = 108,
    kCardStoryCount = 112,
    kCardReserved = 116,
};

// The sections that have a place in the header after the print settings,
// in file order.
enum CardSection : int {
    kSectionColours = 0,
    kSectionFonts = 1,
    kSectionEmpty4 = 2,
    kSectionPages = 3,
    kSectionEmpty6 = 4,
    kSectionFrames = 5,
    kSectionStories = 6,
    kSectionEmpty9 = 7,
    kCardSectionCount = 8,
};
constexpr size_t CardSectionOffsetAt(int section) { return kCardSectionPlaces + size_t(section) * 8; }
constexpr size_t CardSectionLengthAt(int section) { return kCardSectionPlaces + size_t(section) * 8 + 4; }

// The fixed blocks behind the header.
constexpr size_t kCardGeneralPrefsAt = 120;
constexpr size_t kCardPageBlockAt = 268;
constexpr size_t kCardLabelLayoutAt = 384;
constexpr size_t kCardDocSetupAt = 552;
constexpr size_t kCardFixedEnd = 6160;
// Where the sections begin.
constexpr uint32_t kCardDataStart = 7000;

constexpr size_t kPageBlockSize = 116;

enum : size_t {
    kPageBlockCardWidth = 0,
    kPageBlockCardHeight = 8,
    kPageBlockMargins = 16,
    kPageBlockFirstPage = 32,
    kPageBlockSides = 34,
    kPageBlockOrientation = 36,
    kPageBlockFacing = 37,
    kPageBlockInsertFlag = 38,
    kPageBlockByte39 = 39,
    kPageBlockDisplayWord1 = 40,
    kPageBlockDisplayWord2 = 42,
    kPageBlockDisplayByte1 = 44,
    kPageBlockDisplayByte2 = 45,
    kPageBlockUnit = 46,
    kPageBlockPageWidth = 48,
    kPageBlockPageHeight = 50,
    kPageBlockPageLeft = 52,
    kPageBlockPageTop = 56,
    kPageBlockSlot0 = 60,
    kPageBlockSlot1 = 76,
    kPageBlockFurther = 92,
};
constexpr size_t kPageBlockFurtherSize = 24;
