// The two preference files in the program folder, little-endian.
//
// "QXDefPref": what every new card document starts from.
//
//     0   u32   version, 10
//     4   148   general preference block (below)
//   152    92   tool preference block: 23 u32 words, read by the tools
//   244    36   quick-card item record: 9 u32 words; word 3 holds the byte
//               size n of the quick-card data (in memory it holds the data's
//               Handle)
//   280     n   the quick-card data (graphics/quick_card_format.h)
//
// A file is valid when its version is 10 and it is at least 280 bytes long.
//
// General preference block (148 bytes = 37 u32 words; also stored in every
// card document). Words without a name are kept and passed on as they
// stand.
//
//     0   version of the block, 10
//     4   scrolling speed
//     8   auto-save interval, minutes
//    12   auto-save on
//    16   small caps size, percent
//    20   superscript size, percent
//    24   subscript size, percent
//    28   horizontal ruler unit, 32 vertical ruler unit
//    40   a colour value
//    44   guide colour
//    48   force justify alignment
//    52   text wrap: 1 while "Text Wrap" is the line-breaking choice
//    56   line breaking: 0 "Text Wrap", 1 "Hyphenation"
//    60   picture into document
//    64   quotes style, 68 smart quotes
//    72   guides behind the frames
//    76   pasteboard width, 80 pasteboard height, percent
//    84   default tab interval, points
//    88   save page scale
//    96   a word the redraw follows (1)
//   100   write a page thumbnail into saved documents
//   104   a word the redraw follows (1)
//
// "QXDocPref": window records of 344 bytes, one per document path, in no
// order; the count is the file's size / 344.
//
//     0   u32   version, 10
//     4   u8    not-found flag (memory only; written as 0)
//     5   255   the document's full path, zero-terminated
//   260   4     reserved
//   264   4 x i32  the document window's rectangle in its parent's client
//               coordinates
//   280   i16   page shown in the first page slot
//   282   3 x i16  zoom numerator, denominator and mode
//   288   i32   horizontal scroll position, 292 vertical
//   296   i16   1
//   298   2     reserved
//   300   12    horizontal ruler state, 312 vertical ruler state
//   324   20    zero
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t kPrefVersion = 10;

constexpr size_t kDefPrefVersionAt = 0;
constexpr size_t kDefPrefGeneralAt = 4;
constexpr size_t kDefPrefToolsAt = 152;
constexpr size_t kDefPrefQuickCardAt = 244;
constexpr size_t kDefPrefDataAt = 280;

constexpr size_t kGeneralPrefsSize = 148;
constexpr size_t kToolPrefsSize = 92;
constexpr size_t kQuickCardItemSize = 36;
constexpr size_t kQuickCardItemWords = 9;
// The word that holds the data's Handle in memory and its size on disk.
constexpr size_t kQuickCardItemDataWord = 3;

enum : size_t {
    kPrefBlockVersion = 0,
    kPrefScrollSpeed = 4,
    kPrefAutoSaveMinutes = 8,
    kPrefAutoSaveOn = 12,
    kPrefSmallCaps = 16,
    kPrefSuperscript = 20,
    kPrefSubscript = 24,
    kPrefHorizontalUnit = 28,
    kPrefVerticalUnit = 32,
    kPrefColour40 = 40,
    kPrefGuideColour = 44,
    kPrefJustify = 48,
    kPrefTextWrap = 52,
    kPrefHyphenation = 56,
    kPrefPictureIntoDocument = 60,
    kPrefQuoteStyle = 64,
    kPrefSmartQuotes = 68,
    kPrefGuidesInBack = 72,
    kPrefPasteboardWidth = 76,
    kPrefPasteboardHeight = 80,
    kPrefTabWidth = 84,
    kPrefSavePageScale = 88,
    kPrefWord96 = 96,
    kPrefThumbnail = 100,
    kPrefWord104 = 104,
};

constexpr size_t kDocWndPrefSize = 344;
constexpr size_t kDocWndPathSize = 255;

enum : size_t {
    kWndVersion = 0,
    kWndNotFound = 4,
    kWndPath = 5,
    kWndFrameRect = 264,
    kWndPage = 280,
    kWndZoomNumerator = 282,
    kWndZoomDenominator = 284,
    kWndZoomMode = 286,
    kWndScrollX = 288,
    kWndScrollY = 292,
    kWndWord296 = 296,
    kWndRulerH = 300,
    kWndRulerV = 312,
};
constexpr size_t kRulerStateSize = 12;
