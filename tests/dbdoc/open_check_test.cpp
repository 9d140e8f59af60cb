// Opening a database checks its records: a record file torn while its
// damage mark stayed clear gets the same offer to repair as a marked one.

#include <gtest/gtest.h>

#include "dbdoc_test_util.h"
#include "support/shell.h"

namespace {

class OpenCheckTest : public DbDocTest {};

TEST_F(OpenCheckTest, ATornRecordIsFoundAtOpenAndTheRepairIsOffered)
{
    MakeSamples("a.dqx", 3)->Close();
    // The program stopped halfway through appending a record.
    WriteFileBytes(dir.file("a.dqx"), ReadFileBytes(dir.file("a.dqx")) + std::string("\xFC\x00\x00\x00\x09", 5));
    const std::string torn = ReadFileBytes(dir.file("a.dqx"));

    // Refused: the database does not open and its file stays as it was.
    capture.answer(kIdCancel);
    {
        TestDocument refused;
        EXPECT_FALSE(refused.Open(Path("a.dqx")));
    }
    EXPECT_EQ(capture.lastText(), "Database is damaged. Recover Database ?");
    EXPECT_EQ(ReadFileBytes(dir.file("a.dqx")), torn);

    // Accepted: the torn piece goes, the records stay.
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

}  // namespace
