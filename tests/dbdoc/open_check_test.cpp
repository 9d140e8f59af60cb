// Opening a database checks its records: a record file damaged while its
// damage mark stayed clear gets the same offer to repair as a marked one;
// a record whose write never finished is no damage and goes without one;
// a header that counts records the file no longer holds is damage.

#include <gtest/gtest.h>

#include "database/database_header.h"
#include "dbdoc_test_util.h"
#include "foundation/byte_order.h"
#include "support/refusing_disk.h"
#include "support/shell.h"

namespace {

class OpenCheckTest : public DbDocTest {};

TEST_F(OpenCheckTest, ADamagedRecordIsFoundAtOpenAndTheRepairIsOffered)
{
    MakeSamples("a.dqx", 3)->Close();
    // Bytes behind the records that no record begins with (flags no
    // record carries).
    WriteFileBytes(dir.file("a.dqx"), ReadFileBytes(dir.file("a.dqx")) + std::string("\xFC\x40\x00\x00\x09", 5));
    const std::string torn = ReadFileBytes(dir.file("a.dqx"));

    // Refused: the database does not open and its file stays as it was.
    capture.answer(kIdCancel);
    {
        TestDocument refused;
        EXPECT_FALSE(refused.Open(Path("a.dqx")));
    }
    EXPECT_EQ(capture.lastText(), "a.dqx: Database is damaged. Recover Database ?");
    EXPECT_EQ(ReadFileBytes(dir.file("a.dqx")), torn);

    // Accepted: the damaged piece goes, the records stay.
    capture.clear();
    capture.answer(kIdOk);
    TestDocument repaired;
    ASSERT_TRUE(repaired.Open(Path("a.dqx")));
    ASSERT_EQ(capture.boxes().size(), 2u);
    EXPECT_EQ(capture.lastText(), " Ok.\nNumber of damage records: 0\nNumber of lost records: 1");
    EXPECT_EQ(repaired.Data().GetLiveCount(), 3);
    repaired.Close();
    EXPECT_EQ(FileRecords(Path("a.dqx")).size(), 3u);

    // A sound database opens without a word.
    capture.clear();
    TestDocument sound;
    ASSERT_TRUE(sound.Open(Path("a.dqx")));
    EXPECT_TRUE(capture.boxes().empty());
}

TEST_F(OpenCheckTest, ARecordWhoseWriteNeverFinishedGoesWithoutAWord)
{
    MakeSamples("a.dqx", 3)->Close();
    const std::string whole = ReadFileBytes(dir.file("a.dqx"));
    // The program stopped halfway through appending a record.
    WriteFileBytes(dir.file("a.dqx"), whole + std::string("\xFC\x00\x00\x00\x09", 5));
    TestDocument opened;
    ASSERT_TRUE(opened.Open(Path("a.dqx")));
    EXPECT_TRUE(capture.boxes().empty()) << capture.lastText();
    EXPECT_EQ(opened.Data().GetLiveCount(), 3);
    opened.Close();
    EXPECT_EQ(ReadFileBytes(dir.file("a.dqx")).size(), whole.size());
}

TEST_F(OpenCheckTest, ADatabaseCutShortIsDamagedAndNothingIsWrittenBeforeTheRepair)
{
    MakeSamples("a.dqx", 40)->Close();
    const std::string whole = ReadFileBytes(dir.file("a.dqx"));
    // The header still counts 40 records; the file ends in the middle of
    // one, a third of the way through them.
    const std::string cut = whole.substr(0, 6000 + (whole.size() - 6000) / 3);
    WriteFileBytes(dir.file("a.dqx"), cut);

    capture.answer(kIdCancel);
    {
        TestDocument refused;
        EXPECT_FALSE(refused.Open(Path("a.dqx")));
    }
    EXPECT_EQ(capture.lastText(), "a.dqx: Database is damaged. Recover Database ?");
    EXPECT_EQ(ReadFileBytes(dir.file("a.dqx")), cut);

    capture.clear();
    capture.answer(kIdOk);
    int32_t kept = 0;
    {
        TestDocument repaired;
        ASSERT_TRUE(repaired.Open(Path("a.dqx")));
        kept = repaired.Data().GetLiveCount();
        EXPECT_GT(kept, 5);
        EXPECT_LT(kept, 40);
        // The records cut away are counted as lost.
        EXPECT_EQ(capture.lastText(),
                  " Ok.\nNumber of damage records: 0\nNumber of lost records: " + std::to_string(40 - kept));
        // Should the program stop before the database is closed, the
        // header counts the repaired records already.
        const std::string bytes = ReadFileBytes(dir.file("a.dqx"));
        EXPECT_EQ(GetI32LE(reinterpret_cast<const uint8_t*>(bytes.data()) + dbh::kStoredCount), kept);
    }
    // Repaired, the counts agree with the records: the next open says
    // nothing.
    capture.clear();
    TestDocument sound;
    ASSERT_TRUE(sound.Open(Path("a.dqx")));
    EXPECT_TRUE(capture.boxes().empty()) << capture.lastText();
    EXPECT_EQ(sound.Data().GetLiveCount(), kept);
}

TEST_F(OpenCheckTest, ATemporaryFolderWithNoRoomIsSaidToBeFullNotTheDatabase)
{
    MakeSamples("a.dqx", 3)->Close();
    PathRecord temp;
    ASSERT_EQ(GetSystemTempFolder(&temp), 0);
    std::string folder = PathRecordToPosix(temp);
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    {
        // A reader keeps its index among the temporary files.
        RefusingDisk full(RefusingDisk::Refusal::NoSpace, 1, folder);
        TestDocument reader;
        EXPECT_FALSE(reader.Open(Path("a.dqx"), true));
    }
    EXPECT_EQ(capture.lastText(),
              "The temporary folder " + folder + " (for the index of a.dqx): Disk is full [112]");
}

}  // namespace
