#include "database/database_header.h"

#include <cstring>
#include <string>

#include "database/database_messages.h"
#include "database/db_file_io.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "foundation/byte_order.h"
#include "foundation/cstr.h"
#include "foundation/win_error.h"

uint32_t DatabaseHeaderSize(int whole)
{
    return whole ? kDbDataStart : kDbHeaderSize;
}

void SetDefaultPreferences(uint8_t* header)
{
    std::memset(header + dbh::kPreferences, 0, dbh::kPreferencesSize);
    PutU16LE(header + dbh::kPrefDeleteIndex, 1);
    StoreSortSpec(SortSpec{}, header + dbh::kPrefSortSpec);
}

int32_t InitDatabaseHeader(uint8_t* header)
{
    // Everything but the preferences block is set.
    std::memset(header, 0, dbh::kPreferences);
    PutU32LE(header + dbh::kVersion, kDbVersion);
    PutU32LE(header + dbh::kCode1, kDbCode1);
    PutU32LE(header + dbh::kCode2, kDbCode2);
    PutU32LE(header + dbh::kFormatMark, kDbFormatNative);
    header[dbh::kVerification] = uint8_t(GetU16LE(header + dbh::kPrefVerification));
    header[dbh::kCategoryFlags] = 1;
    PutU16LE(header + dbh::kBrowseColumn, 1);
    PutU16LE(header + dbh::kBrowseFieldId, kFieldLastName);
    const bool fastFind = GetU16LE(header + dbh::kPrefFastFind) == 1;
    for (uint32_t i = 0; i < dbh::kColumnCount; ++i) {
        PutU16LE(header + dbh::kEntryOrder + 2 * i, uint16_t(i + 1));
        PutU16LE(header + dbh::kExportOrder + 2 * i, uint16_t(i + 1));
        PutU16LE(header + dbh::kReportOrder + 2 * i, uint16_t(i + 1));
    }
    if (fastFind)
        PutU16LE(header + dbh::kEntryOrder + 2, 0);
    std::memcpy(header + dbh::kSortSpec, header + dbh::kPrefSortSpec, dbsort::kSize);
    PutU16LE(header + dbh::kQueryField, 1);
    header[dbh::kQueryOperator] = 0xFF;
    for (uint32_t i = 0; i < dbh::kCustomNameCount; ++i)
        std::strcpy(reinterpret_cast<char*>(header + dbh::kCustomNames + i * dbh::kNameSize), "..........");
    std::strcpy(reinterpret_cast<char*>(header + dbh::kCategoryNames), "Selected");
    std::memset(header + dbh::kPreferences + dbh::kPreferencesSize, 0,
                kDbHeaderSize - dbh::kPreferences - dbh::kPreferencesSize);
    PutU32LE(header + dbh::kFastFind, GetU16LE(header + dbh::kPrefFastFind));
    return int32_t(kDbDataStart);
}

int32_t WriteDatabaseHeader(FileHandle file, const uint8_t* header, bool restorePosition)
{
    uint32_t position = 0;
    const bool havePosition = FileTell(file, &position) == kErrNone;
    if (DbWriteAt(file, 0, header, kDbHeaderSize) != kErrNone)
        return -1;
    uint8_t filler[kDbDataStart - kDbHeaderSize];
    std::memset(filler, kDbFillerByte, sizeof filler);
    // The filler is never read; a failure here leaves a header that is
    // still whole.
    DbWriteAt(file, kDbHeaderSize, filler, sizeof filler);
    if (restorePosition && havePosition)
        FileSeek(file, kSeekStart, int32_t(position));
    return int32_t(kDbDataStart);
}

namespace {

// "NAME: " in front of a message about the file, when it has a name.
std::string About(const char* fileName) { return fileName && *fileName ? std::string(fileName) + ": " : std::string(); }

}  // namespace

int32_t ReadDatabaseHeader(FileHandle file, uint8_t* header, bool createIfShort, const char* fileName)
{
    const std::string about = About(fileName);
    uint32_t size = 0;
    if (FileGetSize(file, &size) != kErrNone) {
        DatabaseErrorBox(about.c_str(), 8);
        return -1;
    }
    if (size < kDbDataStart) {
        if (createIfShort && size == 0) {
            InitDatabaseHeader(header);
            return WriteDatabaseHeader(file, header, true);
        }
        // A file cut inside its header is past repair: what it holds of
        // the header is not enough to find the records by. "Damaged,
        // reopen" would send the user round in a circle.
        const std::string text = about + "The file is too short to be a database: it holds " + std::to_string(size) +
                                 " bytes, and a database holds at least " + std::to_string(kDbDataStart) + ".";
        DatabaseErrorBox(text.c_str(), 0);
        return -1;
    }
    uint32_t position = 0;
    const bool havePosition = FileTell(file, &position) == kErrNone;
    const int32_t err = FileSeek(file, kSeekStart, 0) == kErrNone ? FileRead(file, header, kDbHeaderSize) : -1;
    if (havePosition)
        FileSeek(file, kSeekStart, int32_t(position));
    if (err != kErrNone) {
        DatabaseErrorBox(about.c_str(), 8);
        return -1;
    }
    return int32_t(kDbDataStart);
}

int32_t CheckDatabaseHeader(const uint8_t* header, const char* fileName)
{
    const std::string about = About(fileName);
    if (GetU32LE(header + dbh::kCode1) != kDbCode1 || GetU32LE(header + dbh::kCode2) != kDbCode2) {
        DatabaseErrorBox(about.c_str(), 2);
        return 1;
    }
    const uint32_t version = GetU32LE(header + dbh::kVersion);
    if (version < kDbVersion) {
        DatabaseErrorBox(about.c_str(), 3);
        return 1;
    }
    if (version > kDbVersion) {
        DatabaseErrorBox(about.c_str(), 30);
        return 1;
    }
    if (GetU32LE(header + dbh::kDataMark) != 0)
        return DatabaseConfirm(26, about.c_str()) ? 2 : 1;
    return 0;
}

int32_t SortSpec::FieldAt(int32_t i) const
{
    if (i < 0 || i > 2)
        return -1;
    return IsBodyField(fields[i]) ? int32_t(fields[i]) : -1;
}

SortSpec LoadSortSpec(const uint8_t* bytes)
{
    SortSpec order;
    for (int i = 0; i < 3; ++i)
        order.fields[i] = GetU16LE(bytes + dbsort::kFields + 2 * i);
    order.bulkMail = bytes[dbsort::kBulkMail];
    order.descending = bytes[dbsort::kDescending];
    return order;
}

void StoreSortSpec(const SortSpec& order, uint8_t* bytes)
{
    for (int i = 0; i < 3; ++i)
        PutU16LE(bytes + dbsort::kFields + 2 * i, order.fields[i]);
    bytes[dbsort::kBulkMail] = order.bulkMail;
    bytes[dbsort::kDescending] = order.descending;
}

void HeaderText(const uint8_t* header, uint32_t offset, uint32_t size, char* out)
{
    StrCopyN(out, reinterpret_cast<const char*>(header + offset), int32_t(size));
}

void SetHeaderText(uint8_t* header, uint32_t offset, uint32_t size, const char* text)
{
    StrCopyN(reinterpret_cast<char*>(header + offset), text, int32_t(size));
}
