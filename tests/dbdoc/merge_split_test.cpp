// Merge and split: every record reaches its new file whole, the source of a
// merge and the database of a split keep theirs, and files that are not
// sound databases or that are open are refused.

#include <gtest/gtest.h>

#include "database/db_file_io.h"
#include "database/record_layout.h"
#include "dbdoc/database_merge.h"
#include "dbdoc/database_split.h"
#include "dbdoc_test_util.h"
#include "support/shell.h"

namespace {

class MergeSplitTest : public DbDocTest {
protected:
    void TearDown() override { SetDbFaultHook(nullptr); }

    // A closed database file of `count` samples from `first` on, with the
    // records whose number is in `deleted` deleted but not packed away.
    PathRecord SourceFile(const std::string& name, int first, int count, std::set<int> deleted = {})
    {
        DatabaseSession db;
        EXPECT_TRUE(db.Create(Path(name)));
        std::vector<int32_t> offsets;
        for (int n = first; n < first + count; ++n) {
            FillCurrent(db.Data(), SampleFields(n));
            offsets.push_back(db.Data().AddRecord(false, true));
        }
        for (int n : deleted) {
            db.Data().SetCurrentAndRead(offsets[size_t(n - first)], -1, true, true);
            EXPECT_EQ(db.Data().DeleteRecord(true), 1);
        }
        db.Close();
        return Path(name);
    }

    static std::multiset<std::string> Samples(int first, int count, std::set<int> skip = {})
    {
        std::multiset<std::string> out;
        CardRecord record;
        for (int n = first; n < first + count; ++n) {
            if (skip.count(n))
                continue;
            record.Clear();
            for (const auto& [id, text] : SampleFields(n))
                record.SetFieldText(id, text.c_str());
            out.insert(ColumnsText(record));
        }
        return out;
    }
};

TEST_F(MergeSplitTest, MergeAppendsEveryLiveRecordOfTheSource)
{
    auto db = MakeSamples("a.dqx", 10);
    const PathRecord source = SourceFile("b.dqx", 100, 25, {103, 110, 124});
    const std::string sourceBytes = ReadFileBytes(dir.file("b.dqx"));
    MergeResult result;
    ASSERT_EQ(MergeDatabase(*db, source, &result), 22);
    EXPECT_EQ(db->appended, 22);
    EXPECT_GE(db->commits, 1);

    std::multiset<std::string> expected = Samples(0, 10);
    for (const std::string& record : Samples(100, 25, {103, 110, 124}))
        expected.insert(record);
    EXPECT_EQ(AsSet(SelectionTexts(db->Data())), expected);
    EXPECT_EQ(ReadFileBytes(dir.file("b.dqx")), sourceBytes);
    db->Close();
    EXPECT_EQ(FileRecords(Path("a.dqx")), expected);
}

TEST_F(MergeSplitTest, MergeRefusesSourcesItMustNotRead)
{
    auto db = MakeSamples("a.dqx", 4);
    auto other = MakeSamples("o.dqx", 3);
    MergeResult result;
    // The database itself and another open database.
    EXPECT_EQ(MergeDatabase(*db, Path("a.dqx"), &result), 0);
    EXPECT_EQ(capture.lastText(), "Opened Database can't be merged!!!");
    EXPECT_EQ(MergeDatabase(*db, Path("o.dqx"), &result), 0);
    // Not a database, a missing file, a damaged database.
    WriteFileBytes(dir.file("t.txt"), std::string(7000, 'x'));
    EXPECT_EQ(MergeDatabase(*db, Path("t.txt"), &result), 0);
    // Each message names the file it is about, and the merge says it was
    // refused.
    EXPECT_EQ(capture.lastText(), "t.txt: This File is not DataBase file.");
    EXPECT_TRUE(result.refused);
    capture.clear();
    EXPECT_EQ(MergeDatabase(*db, Path("none.dqx"), &result), 0);
    EXPECT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.lastText(), "none.dqx: There is no such file. [2]");
    SourceFile("d.dqx", 0, 5);
    std::string damaged = ReadFileBytes(dir.file("d.dqx"));
    damaged[dbh::kDataMark] = 1;
    WriteFileBytes(dir.file("d.dqx"), damaged);
    EXPECT_EQ(MergeDatabase(*db, Path("d.dqx"), &result), 0);
    EXPECT_EQ(capture.lastText(), "d.dqx: Database is damaged. Please reopen the Database.");
    EXPECT_EQ(ReadFileBytes(dir.file("d.dqx")), damaged);
    // Bulk-mail mode only beeps.
    SortSpec bulk = db->Data().GetSortSpec();
    bulk.bulkMail = 2;
    db->Data().SetSortSpec(bulk);
    SourceFile("b.dqx", 0, 5);
    capture.clear();
    EXPECT_EQ(MergeDatabase(*db, Path("b.dqx"), &result), 0);
    EXPECT_EQ(capture.beeps().size(), 1u);
    EXPECT_EQ(capture.boxes().size(), 0u);
    EXPECT_EQ(db->Data().GetLiveCount(), 4);
    EXPECT_EQ(db->appended, 0);
}

TEST_F(MergeSplitTest, MergeStopsAtADamagedRecordAndTakesBackWhatCameBefore)
{
    auto db = MakeSamples("a.dqx", 2);
    const std::vector<std::string> before = SelectionTexts(db->Data());
    SourceFile("b.dqx", 0, 6);
    std::string bytes = ReadFileBytes(dir.file("b.dqx"));
    // The fourth record's marker is broken.
    size_t offset = kDbDataStart;
    for (int i = 0; i < 3; ++i)
        offset += size_t(RecordLength(reinterpret_cast<const uint8_t*>(bytes.data()) + offset));
    ASSERT_LT(offset, bytes.size());
    bytes[offset] = 0;
    WriteFileBytes(dir.file("b.dqx"), bytes);
    MergeResult result;
    EXPECT_EQ(MergeDatabase(*db, Path("b.dqx"), &result), 0);
    EXPECT_TRUE(result.failed);
    ASSERT_GE(capture.boxes().size(), 2u);
    EXPECT_EQ(capture.boxes().at(capture.boxes().size() - 2).text,
              "b.dqx: Database is damaged. Please reopen the Database.");
    EXPECT_EQ(capture.lastText(), "The merge did not finish. No record of it was added: the database is as it was.");
    EXPECT_EQ(db->Data().GetLiveCount(), 2);
    EXPECT_EQ(SelectionTexts(db->Data()), before);
}

TEST_F(MergeSplitTest, SplitWritesTheSelectionAndTheDatabaseKeepsItsRecords)
{
    auto db = MakeSamples("a.dqx", 40);
    Query(*db, kFieldState, "tx");
    const std::vector<std::string> selection = SelectionTexts(db->Data());
    ASSERT_EQ(selection.size(), 10u);
    // An index an earlier file left behind must not be taken for the
    // split file's.
    WriteFileBytes(dir.file("s.idx"), "stale");
    SplitResult result;
    ASSERT_EQ(SplitDatabase(*db, Path("s.dqx"), &result), 1);
    EXPECT_EQ(result.written, 10);
    EXPECT_FALSE(Shell(dir, "test -e s.idx") == 0);

    PutU16LE(db->Header() + dbh::kActiveCriteria, 0);
    db->RebuildSelection();
    EXPECT_EQ(db->Data().GetLiveCount(), 40);

    // The split file opens on its own, with its own counts, and holds the
    // selection in its order.
    DatabaseSession split;
    ASSERT_TRUE(split.Open(Path("s.dqx")));
    EXPECT_EQ(split.Data().GetStoredCount(), 10);
    EXPECT_EQ(split.Data().GetDeletedCount(), 0);
    EXPECT_EQ(split.Data().GetLiveCount(), 10);
    EXPECT_EQ(SelectionTexts(split.Data()), selection);
    EXPECT_EQ(capture.boxes().size(), 0u);
    split.CloseUnchanged();
}

TEST_F(MergeSplitTest, SplitThenMergeGivesBackEveryRecord)
{
    auto db = MakeSamples("a.dqx", 30);
    const std::multiset<std::string> all = AsSet(SelectionTexts(db->Data()));
    SplitResult split;
    ASSERT_EQ(SplitDatabase(*db, Path("s.dqx"), &split), 1);
    auto other = Make("b.dqx", {});
    MergeResult merged;
    ASSERT_EQ(MergeDatabase(*other, Path("s.dqx"), &merged), 30);
    EXPECT_EQ(AsSet(SelectionTexts(other->Data())), all);
}

TEST_F(MergeSplitTest, SplitRefusalsAndFailuresLeaveEverythingAsItWas)
{
    auto empty = Make("e.dqx", {});
    SplitResult result;
    EXPECT_EQ(SplitDatabase(*empty, Path("s.dqx"), &result), 0);
    EXPECT_EQ(capture.lastText(), "No Records for split...");

    auto db = MakeSamples("a.dqx", 8);
    const std::string before = ReadFileBytes(dir.file("a.dqx"));
    EXPECT_EQ(SplitDatabase(*db, Path("a.dqx"), &result), 0);
    EXPECT_EQ(capture.lastText(), "Can't 'Split'  into opened Database!!!");
    EXPECT_EQ(SplitDatabase(*db, Path("e.dqx"), &result), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("a.dqx")), before);

    WriteFileBytes(dir.file("s.dqx"), "an older file");
    SetDbFaultHook([](DbIoStep step, uint32_t) {
        return step == DbIoStep::Sync ? DbFault{5, 0} : DbFault{};
    });
    capture.clear();
    EXPECT_EQ(SplitDatabase(*db, Path("s.dqx"), &result), -1);
    SetDbFaultHook(nullptr);
    EXPECT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(ReadFileBytes(dir.file("s.dqx")), "an older file");
    EXPECT_EQ(SelectionTexts(db->Data()).size(), 8u);
}

TEST_F(MergeSplitTest, AStoppedSplitMakesASoundFileOfWhatItWrote)
{
    auto db = MakeSamples("a.dqx", 20);
    StoppingHost host(6);
    SplitResult result;
    ASSERT_EQ(SplitDatabase(*db, Path("s.dqx"), &result), 1);
    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(host.operations, std::vector<std::string>{"Split DataBase..."});
    EXPECT_EQ(FileRecords(Path("s.dqx")).size(), 6u);
}

}  // namespace
