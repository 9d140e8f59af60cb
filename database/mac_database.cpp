#include "database/mac_database.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "database/database_messages.h"
#include "database/db_file_io.h"
#include "database/db_host.h"
#include "database/file_swap.h"
#include "database/output_names.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "database/same_file.h"
#include "foundation/byte_order.h"
#include "foundation/counters.h"
#include "foundation/win_error.h"

namespace {

constexpr const char* kConvertCaption = "Convert...";

// The header's 16-bit numbers, each swapped once. The export and report
// orders are 21 entries each; the two words after the export order are
// unused, and those after the report order are the delimiter and the first
// sort field, which are listed in their own right.
constexpr uint32_t kSwap16[] = {dbh::kBrowseColumn, dbh::kBrowseFieldId, dbh::kDelimiter,  dbh::kSortSpec,
                                dbh::kSortSpec + 2, dbh::kSortSpec + 4,  dbh::kActiveCriteria,
                                dbh::kQueryField,   dbh::kKeySearchField};
constexpr uint32_t kSwap32[] = {dbh::kDataMark,     dbh::kIndexMark,  dbh::kVersion,  dbh::kCode1,
                                dbh::kCode2,        dbh::kStoredCount, dbh::kLiveCount, dbh::kDeletedCount,
                                dbh::kNewCount,     dbh::kSavedPosition, 44,           48,
                                52,                 dbh::kFastFind};
constexpr uint32_t kTrailingWords = 4116;
constexpr uint32_t kTrailingWordCount = 9;

uint32_t GetU32BE(const uint8_t* p) { return SwapBytes32Value(GetU32LE(p)); }

void Swap16(uint8_t* header, uint32_t offset)
{
    PutU16LE(header + offset, SwapBytes16Value(GetU16LE(header + offset)));
}

void Swap32(uint8_t* header, uint32_t offset)
{
    PutU32LE(header + offset, GetU32BE(header + offset));
}

// A length-prefixed text in its slot becomes a zero-terminated one of at
// most maxLength characters; the rest of the slot is cleared.
void PascalToC(uint8_t* slot, uint32_t size, uint32_t maxLength)
{
    const uint32_t length = std::min<uint32_t>(slot[0], maxLength);
    std::memmove(slot, slot + 1, length);
    std::memset(slot + length, 0, size - length);
}

void PascalSlots(uint8_t* header, uint32_t offset, uint32_t count, uint32_t size)
{
    for (uint32_t i = 0; i < count; ++i)
        PascalToC(header + offset + i * size, size, size - 1);
}

int32_t StopWithFileError(int32_t err, const char* name = nullptr)
{
    AlertFileErrorAbout(name, err);
    return 1;
}

}  // namespace

void ConvertMacHeader(uint8_t* header)
{
    for (uint32_t offset : kSwap32)
        Swap32(header, offset);
    for (uint32_t i = 0; i < kTrailingWordCount; ++i)
        Swap32(header, kTrailingWords + 4 * i);
    for (uint32_t offset : kSwap16)
        Swap16(header, offset);
    for (uint32_t i = 0; i < dbh::kColumnCount; ++i) {
        Swap16(header, dbh::kEntryOrder + 2 * i);
        Swap16(header, dbh::kReportOrder + 2 * i);
    }
    for (uint32_t i = 0; i < dbh::kColumnCount + 2; ++i)
        Swap16(header, dbh::kExportOrder + 2 * i);
    PutU32LE(header + dbh::kFormatMark, kDbFormatNative);

    // Counted from 1 there; "none" (0) becomes our none (all bits set).
    for (uint32_t offset : {dbh::kBrowseColumn, dbh::kQueryField, dbh::kKeySearchField})
        PutU16LE(header + offset, uint16_t(GetU16LE(header + offset) - 1));
    header[dbh::kQueryOperator] = uint8_t(header[dbh::kQueryOperator] - 1);

    PascalToC(header + dbh::kSearchText, dbh::kSearchTextSize, 63);
    // The query value is a text like its neighbours; left length-prefixed,
    // the query would look for its length byte.
    PascalToC(header + dbh::kQueryValue, dbh::kQueryValueSize, 63);
    PascalToC(header + dbh::kKeyText, dbh::kKeyTextSize, 63);
    PascalSlots(header, dbh::kDefaultValues, dbh::kColumnCount, dbh::kDefaultValueSize);
    PascalSlots(header, dbh::kFindValues, dbh::kColumnCount, dbh::kFindValueSize);
    PascalSlots(header, dbh::kSelectionValues, dbh::kColumnCount, dbh::kFindValueSize);
    PascalSlots(header, dbh::kCustomNames, dbh::kCustomNameCount, dbh::kNameSize);
    PascalSlots(header, dbh::kCategoryNames, dbh::kCategoryCount, dbh::kNameSize);
}

uint32_t ConvertMacRecordHead(uint8_t* head)
{
    Swap16(head, dbrec::kSlack);
    Swap16(head, dbrec::kCategories);
    // Only the flags a stored record may carry: all bits set means a
    // failed read to the engine.
    head[dbrec::kFlagsOffset] &= dbrec::kFlagsStored;
    return SoundRecordLength(head);
}

int32_t ConvertMacDatabase(FileHandle source, const char* sourceName, const uint8_t* header,
                           const PathRecord& target, MacConversion* result)
{
    *result = MacConversion{};
    const std::string about = std::string(sourceName) + ": ";
    uint32_t size = 0;
    if (const int32_t err = DbGetSize(source, &size); err != kErrNone)
        return StopWithFileError(err, sourceName);
    FileSwap swap(target);
    int32_t err = swap.Begin();
    if (err == kErrNone)
        err = swap.Append(header, kDbHeaderSize);
    if (err == kErrNone) {
        uint8_t filler[kDbDataStart - kDbHeaderSize];
        std::memset(filler, kDbFillerByte, sizeof filler);
        err = swap.Append(filler, sizeof filler);
    }
    if (err != kErrNone)
        return StopWithFileError(err);

    const uint32_t end = std::max(size, kDbDataStart);
    DbWorkingWindow working(kConvertCaption, int32_t(std::min<uint32_t>(end - kDbDataStart, INT32_MAX)));
    uint8_t record[dbrec::kMaxRecordSize];
    for (uint32_t offset = kDbDataStart; offset < end;) {
        uint32_t length = 0;
        if (end - offset >= dbrec::kHeadSize) {
            if ((err = DbReadAt(source, offset, record, dbrec::kHeadSize)) != kErrNone)
                return StopWithFileError(err, sourceName);
            length = ConvertMacRecordHead(record);
        }
        if (length == 0 || length > end - offset) {
            DatabaseErrorBox(about.c_str(), 8);
            return 1;
        }
        if (length > dbrec::kHeadSize &&
            (err = DbReadAt(source, offset + dbrec::kHeadSize, record + dbrec::kHeadSize,
                            length - dbrec::kHeadSize)) != kErrNone)
            return StopWithFileError(err, sourceName);
        if ((err = swap.Append(record, length)) != kErrNone)
            return StopWithFileError(err);
        ++result->records;
        if (record[dbrec::kFlagsOffset] & dbrec::kDeleted)
            ++result->deleted;
        else if (record[dbrec::kFlagsOffset] & dbrec::kNew)
            ++result->fresh;
        offset += length;
        working.SetPos(int32_t(std::min<uint32_t>(offset - kDbDataStart, INT32_MAX)));
        if (CurrentDbHost().AbortRequested())
            return 2;
    }

    // The counters say what the copy holds, whatever the old file claimed.
    uint8_t counts[16];
    PutI32LE(counts, result->records);
    PutI32LE(counts + 4, result->records - result->deleted);
    PutI32LE(counts + 8, result->deleted);
    PutI32LE(counts + 12, result->fresh);
    err = swap.Patch(dbh::kStoredCount, counts, sizeof counts);
    // An index left beside the new name by an older file would be taken
    // for this database's.
    const PathRecord index = IndexPathFor(target);
    if (err == kErrNone && FileExists(&index, 0))
        err = FileDelete(&index);
    FileHandle converted = kNoFile;
    if (err == kErrNone)
        err = swap.Commit(&converted);
    if (err != kErrNone)
        return StopWithFileError(err);
    FileClose(converted);
    return 0;
}

int32_t CheckMacintoshDatabase(PathRecord* path)
{
    // Every message names the file: the user may have opened several.
    char name[512];
    PathRecordGetFileName(path, name, sizeof name);
    const std::string about = std::string(name) + ": ";
    FileHandle file = kNoFile;
    if (const int32_t err = FileOpen(path, kFileRead, &file); err != kErrNone)
        return StopWithFileError(err, name);
    struct Closer {
        FileHandle file;
        ~Closer() { FileClose(file); }
    } closer{file};

    uint32_t size = 0;
    if (const int32_t err = DbGetSize(file, &size); err != kErrNone)
        return StopWithFileError(err, name);
    // Too short to hold a header: not ours to judge here. The open tells a
    // new empty file from a damaged one.
    if (size < kDbHeaderSize)
        return 0;
    uint8_t header[kDbHeaderSize];
    if (const int32_t err = DbReadAt(file, 0, header, kDbHeaderSize); err != kErrNone)
        return StopWithFileError(err, name);
    if (GetU32LE(header + dbh::kCode1) == kDbCode1 && GetU32LE(header + dbh::kCode2) == kDbCode2)
        return 0;
    if (GetU32BE(header + dbh::kCode1) != kDbCode1 || GetU32BE(header + dbh::kCode2) != kDbCode2) {
        DatabaseErrorBox(about.c_str(), 2);
        return 1;
    }
    if (GetU32BE(header + dbh::kFormatMark) == kDbFormatMacintosh && !DatabaseConfirm(35))
        return 1;
    const uint32_t version = GetU32BE(header + dbh::kVersion);
    if (version != kDbVersion || GetU32BE(header + dbh::kDataMark) != 0) {
        DatabaseErrorBox(about.c_str(), version > kDbVersion ? 30 : version < kDbVersion ? 3 : 36);
        return 1;
    }
    PathRecord copy;
    if (!ConvertedCopyName(*path, &copy))
        return StopWithFileError(kErrFileExists);
    ConvertMacHeader(header);
    MacConversion result;
    if (ConvertMacDatabase(file, name, header, copy, &result) != 0)
        return 1;
    *path = copy;
    return 0;
}
