// Byte layout of the card database record file (".dqx").
//
// The file is a 4152-byte header, filler bytes up to offset 6000, then the
// records back to back until the end of the file. Every integer is
// little-endian; the header and the records are read and written field by
// field at the offsets below (header_image.cpp, card_record.cpp).
#pragma once

#include <cstdint>

#include "foundation/byte_order.h"

// File layout.
constexpr uint32_t kDbHeaderSize = 4152;
constexpr uint32_t kDbDataStart = 6000;
constexpr uint8_t kDbFillerByte = 0x70;

// Header fields (offsets from the start of the file).
namespace dbh {
constexpr uint32_t kDataMark = 0;       // u32, non-zero = damaged
constexpr uint32_t kIndexMark = 4;      // u32, 1 = rebuild the index
constexpr uint32_t kVersion = 8;        // u32
constexpr uint32_t kCode1 = 12;         // u32 'QXdb'
constexpr uint32_t kCode2 = 16;         // u32 'QX_1'
constexpr uint32_t kStoredCount = 20;   // i32 (-1 after damage)
constexpr uint32_t kLiveCount = 24;     // i32
constexpr uint32_t kDeletedCount = 28;  // i32 (-1 after damage)
constexpr uint32_t kNewCount = 32;      // i32
constexpr uint32_t kSavedPosition = 36; // i32, -1 none
constexpr uint32_t kFormatMark = 40;    // u32, 200 native, 100 Macintosh
constexpr uint32_t kVerification = 56;  // u8
constexpr uint32_t kCategoryFlags = 58; // 15 x u8
constexpr uint32_t kBrowseColumn = 74;  // u16
constexpr uint32_t kBrowseFieldId = 76; // u16
constexpr uint32_t kEntryOrder = 78;    // 21 x u16
constexpr uint32_t kExportOrder = 124;  // 21 x i16
constexpr uint32_t kReportOrder = 170;  // 21 x u16
constexpr uint32_t kDelimiter = 212;    // i16
constexpr uint32_t kSortSpec = 214;     // 8 bytes
constexpr uint32_t kActiveCriteria = 222;   // u16, decimal digits
constexpr uint32_t kQueryField = 224;       // u16
constexpr uint32_t kKeySearchField = 226;   // u16
constexpr uint32_t kQueryOperator = 228;    // u8
constexpr uint32_t kFindValues = 229;       // 21 x 40
constexpr uint32_t kSelectionValues = 1069; // 21 x 40
constexpr uint32_t kSearchText = 1909;      // 64
constexpr uint32_t kQueryValue = 1973;      // 64
constexpr uint32_t kKeyText = 2037;         // 65
constexpr uint32_t kDefaultValues = 2102;   // 21 x 64
constexpr uint32_t kCustomNames = 3446;     // 6 x 32
constexpr uint32_t kCategoryNames = 3638;   // 14 x 32
constexpr uint32_t kPreferences = 4086;     // 24 bytes
constexpr uint32_t kFastFind = 4112;        // u32

// The preferences block, as file offsets.
constexpr uint32_t kPrefDeleteIndex = 4086;  // u16
constexpr uint32_t kPrefLastPosition = 4088; // u16
constexpr uint32_t kPrefVerification = 4090; // u16
constexpr uint32_t kPrefSortSpec = 4092;     // 8 bytes
constexpr uint32_t kPrefFastFind = 4100;     // u16
constexpr uint32_t kPreferencesSize = 24;

// Slot sizes of the text fields.
constexpr uint32_t kFindValueSize = 40;
constexpr uint32_t kSearchTextSize = 64;
constexpr uint32_t kQueryValueSize = 64;
constexpr uint32_t kKeyTextSize = 65;
constexpr uint32_t kDefaultValueSize = 64;
constexpr uint32_t kNameSize = 32;
constexpr uint32_t kCategoryFlagCount = 15;
constexpr uint32_t kColumnCount = 21;
constexpr uint32_t kCustomNameCount = 6;
constexpr uint32_t kCategoryCount = 14;
}  // namespace dbh

constexpr uint32_t kDbVersion = 5;
constexpr uint32_t kDbCode1 = FourCC("QXdb");
constexpr uint32_t kDbCode2 = FourCC("QX_1");
constexpr uint32_t kDbFormatNative = 200;
constexpr uint32_t kDbFormatMacintosh = 100;

// Sort order (8 bytes): three u16 field ids, bulk-mail mode, order.
namespace dbsort {
constexpr uint32_t kFields = 0;
constexpr uint32_t kBulkMail = 6;
constexpr uint32_t kDescending = 7;
constexpr uint32_t kSize = 8;
constexpr uint16_t kNone = 0xFFFF;
}  // namespace dbsort

// Records.
namespace dbrec {
constexpr uint32_t kMarkerOffset = 0;  // u8 0xFC
constexpr uint32_t kFlagsOffset = 1;   // u8
constexpr uint32_t kSlack = 2;         // i16
constexpr uint32_t kLengths = 4;       // 24 x u8, field ids 0-23
constexpr uint32_t kReserved = 28;     // 2 bytes, 0
constexpr uint32_t kCategories = 30;   // u16
constexpr uint32_t kBodies = 32;       // bodies back to back, then a zero byte
constexpr uint32_t kHeadSize = 33;     // fixed part, the zero byte included
constexpr uint32_t kBodyFieldCount = 24;
constexpr uint8_t kMarker = 0xFC;

// Flags byte (and the high byte of the header word).
constexpr uint8_t kDeleted = 0x01;
constexpr uint8_t kNew = 0x02;
constexpr uint8_t kModified = 0x04;
constexpr uint8_t kGrown = 0x08;
constexpr uint8_t kFlagsStored = 0x0F;  // the bits a stored record may carry
constexpr uint8_t kReadFailed = 0xFF;   // in memory only

// The header word as one u16 (marker low, flags high).
constexpr uint16_t kWordDeleted = 0x100;
constexpr uint16_t kWordNew = 0x200;
constexpr uint16_t kWordModified = 0x400;
constexpr uint16_t kWordGrown = 0x800;
constexpr uint16_t kDeletedWord = 0x01FC;

// 33 + the sum of the 24 field maxima.
constexpr uint32_t kMaxRecordSize = 1103;
}  // namespace dbrec
