// The records the barcode frames write behind the text frame's block, each
// kept in memory as its stored bytes and written unchanged.
//
// Barcode record, 348 bytes (the barcode engine owns the fields the frames
// do not set):
//     0  256  data text, length-prefixed
//   256  f64 x4  engine values (72.0, 1.0, 1.0, 1.0 when created)
//   288  f64  rotation angle
//   296  u16  symbology
//   298  5    option bytes (1 when created)
//   303  u8
//   304  u8   re-measure flag
//   308  16   measured rectangle
//   324  8    origin of the bars      332  8  frame position
//   340  f64  caption font size (4-aligned)
//
// Counter settings (type 12), 544 bytes: prefix (256, zero-
// terminated), suffix (256), then i32 start, step, repeat count, width
// mode, width, advance flag, counter, and one more i32.
//
// Quick Card field settings (type 13), 92 bytes of i32: close up, skip
// empty, ten include switches, ten new-line switches, barcode shown.
//
// Quick Card header (type 18), 36 bytes of i32: barcode shown, a word, a
// word (1 when created), the block's byte size (its Handle in memory), five
// words; the block's bytes follow it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kBarcodeRecordSize = 348;
constexpr size_t kBarcodeDataOffset = 0;
constexpr size_t kBarcodeEngineValuesOffset = 256;
constexpr size_t kBarcodeAngleOffset = 288;
constexpr size_t kBarcodeSymbologyOffset = 296;
constexpr size_t kBarcodeOptionsOffset = 298;
constexpr size_t kBarcodeOptionCount = 5;
constexpr size_t kBarcodeRemeasureOffset = 304;
constexpr size_t kBarcodeBoundsOffset = 308;
constexpr size_t kBarcodeOriginOffset = 324;
constexpr size_t kBarcodePositionOffset = 332;
constexpr size_t kBarcodeCaptionSizeOffset = 340;

constexpr size_t kCounterSpecSize = 544;
constexpr size_t kCounterPrefixOffset = 0;
constexpr size_t kCounterSuffixOffset = 256;
constexpr size_t kCounterTextSize = 256;
constexpr size_t kCounterStartOffset = 512;
constexpr size_t kCounterStepOffset = 516;
constexpr size_t kCounterRepeatOffset = 520;
constexpr size_t kCounterWidthModeOffset = 524;
constexpr size_t kCounterWidthOffset = 528;
constexpr size_t kCounterAdvanceOffset = 532;
constexpr size_t kCounterValueOffset = 536;

constexpr size_t kQuickCardSpecSize = 92;
constexpr size_t kQuickCardCloseUpOffset = 0;
constexpr size_t kQuickCardSkipEmptyOffset = 4;
constexpr size_t kQuickCardIncludeOffset = 8;
constexpr size_t kQuickCardNewLineOffset = 48;
constexpr size_t kQuickCardFieldCount = 10;
constexpr size_t kQuickCardShownOffset = 88;

constexpr size_t kQuickCardFrameHeaderSize = 36;
constexpr size_t kQuickCardFrameShownOffset = 0;
constexpr size_t kQuickCardFrameWord8Offset = 8;
constexpr size_t kQuickCardFrameBlockSizeOffset = 12;
