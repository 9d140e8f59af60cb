// The mark a database keeps of the index it was closed with: an index is
// used only beside the records and the index the mark names, to the last
// bit of their checks.

#include <gtest/gtest.h>

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
    uint8_t header[kDbHeaderSize] = {};
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
}

}  // namespace
