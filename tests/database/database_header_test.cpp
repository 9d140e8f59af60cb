#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "database/database_header.h"
#include "database/record_file_format.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

namespace {

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

FileHandle OpenRw(const std::string& path)
{
    PathRecord record;
    PathRecordFromPosix(path, &record);
    FileHandle file = kNoFile;
    EXPECT_EQ(FileOpenAlways(&record, kFileReadWrite, &file), 0);
    return file;
}

TEST(DatabaseHeader, NewDatabaseIsSixThousandBytesWithTheCreationValues)
{
    TempDir dir;
    AlertCapture capture;
    uint8_t header[kDbHeaderSize] = {};
    SetDefaultPreferences(header);
    PutU16LE(header + dbh::kPrefFastFind, 1);
    PutU16LE(header + dbh::kPrefVerification, 1);
    FileHandle file = OpenRw(dir.file("new.dqx"));
    EXPECT_EQ(ReadDatabaseHeader(file, header, true), 6000);
    FileClose(file);

    const std::vector<uint8_t> bytes = ReadAll(dir.file("new.dqx"));
    ASSERT_EQ(bytes.size(), 6000u);
    for (size_t i = kDbHeaderSize; i < 6000; ++i)
        ASSERT_EQ(bytes[i], 0x70) << i;
    EXPECT_EQ(std::memcmp(bytes.data() + 12, "bdXQ1_XQ", 8), 0);
    EXPECT_EQ(GetU32LE(&bytes[dbh::kVersion]), 5u);
    EXPECT_EQ(GetU32LE(&bytes[dbh::kFormatMark]), 200u);
    EXPECT_EQ(bytes[dbh::kVerification], 1);
    EXPECT_EQ(bytes[dbh::kCategoryFlags], 1);
    EXPECT_EQ(bytes[dbh::kCategoryFlags + 1], 0);
    EXPECT_EQ(GetU16LE(&bytes[dbh::kBrowseColumn]), 1);
    EXPECT_EQ(GetU16LE(&bytes[dbh::kBrowseFieldId]), 3);
    EXPECT_EQ(GetU16LE(&bytes[dbh::kEntryOrder]), 1);
    EXPECT_EQ(GetU16LE(&bytes[dbh::kEntryOrder + 2]), 0);  // Fast Find is on
    EXPECT_EQ(GetU16LE(&bytes[dbh::kEntryOrder + 40]), 21);
    EXPECT_EQ(GetU16LE(&bytes[dbh::kExportOrder + 2]), 2);
    EXPECT_EQ(GetU16LE(&bytes[dbh::kReportOrder + 40]), 21);
    EXPECT_EQ(GetU16LE(&bytes[dbh::kSortSpec]), 3);
    EXPECT_EQ(GetU16LE(&bytes[dbh::kSortSpec + 2]), 0xFFFF);
    EXPECT_EQ(GetU16LE(&bytes[dbh::kQueryField]), 1);
    EXPECT_EQ(bytes[dbh::kQueryOperator], 0xFF);
    EXPECT_STREQ(reinterpret_cast<const char*>(&bytes[dbh::kCustomNames + 5 * 32]), "..........");
    EXPECT_STREQ(reinterpret_cast<const char*>(&bytes[dbh::kCategoryNames]), "Selected");
    EXPECT_EQ(bytes[dbh::kCategoryNames + 32], 0);
    EXPECT_EQ(GetU16LE(&bytes[dbh::kPrefDeleteIndex]), 1);
    EXPECT_EQ(GetU32LE(&bytes[dbh::kFastFind]), 1u);
    EXPECT_TRUE(capture.boxes().empty());
}

TEST(DatabaseHeader, ShortFileThatIsNotEmptyIsTooShortAndLeftAlone)
{
    TempDir dir;
    AlertCapture capture;
    const std::vector<uint8_t> partial(4200, 0x41);
    WriteAll(dir.file("short.dqx"), partial);
    uint8_t header[kDbHeaderSize] = {};
    FileHandle file = OpenRw(dir.file("short.dqx"));
    EXPECT_EQ(ReadDatabaseHeader(file, header, true), -1);
    FileClose(file);
    // What is wrong, not "damaged, reopen", which can't help.
    EXPECT_EQ(capture.lastText(),
              "The file is too short to be a database: it holds 4200 bytes, and a database holds at least 6000.");
    EXPECT_EQ(capture.boxes().back().caption, "Orvane Messages");
    EXPECT_EQ(ReadAll(dir.file("short.dqx")), partial);
}

TEST(DatabaseHeader, ReadWriteKeepsUnsetBytesAndFilePosition)
{
    TempDir dir;
    std::vector<uint8_t> bytes(6100);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 7 + 3);
    WriteAll(dir.file("any.dqx"), bytes);
    FileHandle file = OpenRw(dir.file("any.dqx"));
    FileSeek(file, kSeekStart, 6050);
    uint8_t header[kDbHeaderSize];
    ASSERT_EQ(ReadDatabaseHeader(file, header, false), 6000);
    uint32_t position = 0;
    FileTell(file, &position);
    EXPECT_EQ(position, 6050u);
    EXPECT_EQ(WriteDatabaseHeader(file, header, true), 6000);
    FileTell(file, &position);
    EXPECT_EQ(position, 6050u);
    FileClose(file);
    const std::vector<uint8_t> after = ReadAll(dir.file("any.dqx"));
    ASSERT_EQ(after.size(), bytes.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + kDbHeaderSize, after.begin()));
    EXPECT_EQ(after[5000], 0x70);
    EXPECT_EQ(after[6099], bytes[6099]);
}

TEST(DatabaseHeader, CheckRefusesForeignOldAndNewFilesAndAsksAboutDamage)
{
    AlertCapture capture;
    uint8_t header[kDbHeaderSize] = {};
    SetDefaultPreferences(header);
    InitDatabaseHeader(header);
    EXPECT_EQ(CheckDatabaseHeader(header), 0);

    PutU32LE(header + dbh::kVersion, 4);
    EXPECT_EQ(CheckDatabaseHeader(header), 1);
    EXPECT_EQ(capture.lastText(), "DataBase version is old.");
    PutU32LE(header + dbh::kVersion, 6);
    EXPECT_EQ(CheckDatabaseHeader(header), 1);
    EXPECT_EQ(capture.lastText(), "DataBase version is too new.");
    PutU32LE(header + dbh::kVersion, 5);

    PutU32LE(header + dbh::kDataMark, 0xFFFFFFFF);
    EXPECT_EQ(CheckDatabaseHeader(header), 2);
    EXPECT_EQ(capture.lastText(), "Database is damaged. Recover Database ?");
    capture.answer(kIdCancel);
    EXPECT_EQ(CheckDatabaseHeader(header), 1);

    header[12] = 'x';
    EXPECT_EQ(CheckDatabaseHeader(header), 1);
    EXPECT_EQ(capture.lastText(), "This File is not DataBase file.");
}

TEST(DatabaseHeader, SortSpecIdsOutsideTheBodyFieldsCountAsNone)
{
    uint8_t bytes[8];
    SortSpec order;
    order.fields[1] = 23;
    order.fields[2] = 900;
    order.bulkMail = 2;
    order.descending = 1;
    StoreSortSpec(order, bytes);
    EXPECT_EQ(LoadSortSpec(bytes), order);
    EXPECT_EQ(order.FieldAt(0), 3);
    EXPECT_EQ(order.FieldAt(1), 23);
    EXPECT_EQ(order.FieldAt(2), -1);
}

}  // namespace
