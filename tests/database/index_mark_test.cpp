// The mark a database keeps of the index it was closed with: an index is
// used only beside the records and the index the mark names, to the last
// bit of their checks.

#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

#include "database/database_header.h"
#include "database/db_file_io.h"
#include "database/index_mark.h"
#include "database/record_file_format.h"
#include "database_file_test.h"
#include "foundation/byte_order.h"

namespace {

class IndexMark : public DatabaseFileTest {
protected:
    IndexMark() : DatabaseFileTest("m.dqx") {}
};

TEST_F(IndexMark, OnlyTheMarkedIndexBesideTheMarkedRecordsBelongs)
{
    ASSERT_TRUE(MakeSampleDatabase(path, 6, 1));
    FileHandle file = kNoFile;
    ASSERT_EQ(FileOpen(&path, kFileRead, &file), 0);
    std::vector<uint8_t> bytes(kDbHeaderSize);
    uint8_t* header = bytes.data();
    ASSERT_EQ(DbReadAt(file, 0, header, kDbHeaderSize), 0);
    uint32_t records = 0;
    ASSERT_EQ(RecordsCheck(file, kDbDataStart, &records), 0);
    const int32_t live = GetI32LE(header + dbh::kLiveCount);
    constexpr uint32_t kIndex = 0x5A17C0DE;

    PutIndexMark(header, kIndex, records);
    EXPECT_EQ(IndexMismatch(header, live, kIndex, file, kDbDataStart), "");
    EXPECT_EQ(IndexMismatch(header, live + 1, kIndex, file, kDbDataStart),
              "it lists " + std::to_string(live + 1) + " records where the database counts " + std::to_string(live));
    // A check that differs in any one bit, low byte or high.
    for (int bit : {0, 8, 16, 24, 31}) {
        SCOPED_TRACE(bit);
        EXPECT_EQ(IndexMismatch(header, live, kIndex ^ (1u << bit), file, kDbDataStart),
                  "it is not the index this database was last closed with");
        PutIndexMark(header, kIndex, records ^ (1u << bit));
        EXPECT_EQ(IndexMismatch(header, live, kIndex, file, kDbDataStart),
                  "the records changed after the index was last closed with them");
        PutIndexMark(header, kIndex, records);
    }
    header[dbh::kIndexMarkCheck + 3] ^= 0x40;
    EXPECT_EQ(IndexMismatch(header, live, kIndex, file, kDbDataStart),
              "the database keeps no mark of the index it was last closed with");
    FileClose(file);

    // A name changed in place (the file keeps its size) is a change of the
    // records the marked index no longer knows.
    PutIndexMark(header, kIndex, records);
    std::string image = ReadFileBytes(this->file);
    const size_t name = image.find("First0003");
    ASSERT_NE(name, std::string::npos);
    image[name + 8] = '9';
    WriteFileBytes(this->file, image);
    ASSERT_EQ(FileOpen(&path, kFileRead, &file), 0);
    EXPECT_EQ(IndexMismatch(header, live, kIndex, file, kDbDataStart),
              "the records changed after the index was last closed with them");
    FileClose(file);
}

// The mark is kept in the file: its checks must read the same in every
// version that opens it.
TEST_F(IndexMark, TheMarkReadsAsEarlierVersionsWroteIt)
{
    ASSERT_TRUE(MakeSampleDatabase(path, 4, 0));
    const std::string image = ReadFileBytes(file);
    uint32_t expected = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(image.data()) + kDbDataStart,
                                       uInt(image.size() - kDbDataStart)));
    uint8_t size[4];
    PutU32LE(size, uint32_t(image.size()));
    expected = uint32_t(crc32(expected, size, 4));
    FileHandle handle = kNoFile;
    ASSERT_EQ(FileOpen(&path, kFileRead, &handle), 0);
    uint32_t check = 0;
    EXPECT_EQ(RecordsCheck(handle, kDbDataStart, &check), 0);
    FileClose(handle);
    EXPECT_EQ(check, expected);

    uint8_t header[kDbHeaderSize] = {};
    PutIndexMark(header, 1, 2);
    EXPECT_EQ(GetU32LE(header + dbh::kIndexMarkCheck), 0xD76ECE26u);
}

}  // namespace
