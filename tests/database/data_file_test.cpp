#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "database/database_header.h"
#include "database/db_file_io.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "db_test_util.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

namespace {

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = dir.file("cards.dqx");
        path = DbPath(file);
        ASSERT_TRUE(db->Create(path));
    }
    void TearDown() override { SetDbFaultHook(nullptr); }

    void Reopen()
    {
        db->Close();
        db = std::make_unique<DatabaseSession>();
        ASSERT_TRUE(db->Open(path));
    }
    DataFile& data() { return db->Data(); }

    TempDir dir;
    AlertCapture capture;
    std::string file;
    PathRecord path;
    std::unique_ptr<DatabaseSession> db = std::make_unique<DatabaseSession>();
};

TEST_F(DataFileTest, RecordsSurviveCloseAndReopenInSortOrder)
{
    for (int n = 0; n < 50; ++n)
        ASSERT_GE(AddSample(data(), n), 6000);
    Reopen();
    EXPECT_EQ(data().GetLiveCount(), 50);
    const std::vector<std::string> order = IndexOrder(data());
    ASSERT_EQ(order.size(), 50u);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_EQ(order.front().substr(0, 6), "Adams/");
    EXPECT_TRUE(capture.boxes().empty()) << capture.lastText();
}

TEST_F(DataFileTest, AnIndexThatNoLongerBelongsToItsRecordsIsBuiltAnew)
{
    // The index is kept between sessions; a copy of it is put back after
    // the records changed (another program changed them, or it came from
    // a backup).
    PutU16LE(db->Header() + dbh::kPrefDeleteIndex, 0);
    const std::string index = dir.file("cards.idx");
    const std::string backup = dir.file("backup.idx");
    const auto changedUnderACopy = [&](const std::function<void()>& change) {
        db->Close();
        std::filesystem::copy_file(index, backup, std::filesystem::copy_options::overwrite_existing);
        Reopen();
        change();
        db->Close();
        std::filesystem::copy_file(backup, index, std::filesystem::copy_options::overwrite_existing);
        db = std::make_unique<DatabaseSession>();
        ASSERT_TRUE(db->Open(path));
        // What the open lists is what a new selection finds.
        const std::vector<std::string> listed = IndexOrder(data());
        EXPECT_EQ(int32_t(listed.size()), data().GetLiveCount());
        db->Rebuild();
        EXPECT_EQ(listed, IndexOrder(data()));
    };
    for (int n = 0; n < 21; ++n)
        AddSample(data(), n);
    // Five records more than the copy lists.
    changedUnderACopy([&] {
        for (int n = 21; n < 26; ++n)
            AddSample(data(), n);
    });
    EXPECT_EQ(data().GetLiveCount(), 26);
    // As many records as the copy lists, but not the same ones.
    changedUnderACopy([&] {
        data().GotoRecord(0, true, true);
        data().DeleteRecord(true);
        AddSample(data(), 30);
    });
    EXPECT_EQ(data().GetLiveCount(), 26);
    // A sound index of its own is used as it is.
    Reopen();
    EXPECT_EQ(IndexOrder(data()).size(), 26u);
    EXPECT_TRUE(capture.boxes().empty()) << capture.lastText();
}

TEST_F(DataFileTest, PositionsMovesAndPrefetchAgreeWithTheIndexOrder)
{
    for (int n = 0; n < 300; ++n)
        AddSample(data(), n);
    Reopen();
    const std::vector<std::string> order = IndexOrder(data());
    ASSERT_EQ(order.size(), 300u);
    auto name = [&] { return FieldOf(data().Current(), kFieldLastName) + "/" + FieldOf(data().Current(), kFieldFirstName); };
    for (int32_t p : {299, 0, 150, 151, 7, 298}) {
        ASSERT_GE(data().GotoRecord(p, true, true), 0);
        EXPECT_EQ(name(), order[size_t(p)]);
        EXPECT_EQ(data().ComputeCurrentPosition(true), p);
    }
    data().GotoRecord(10, true, true);
    EXPECT_GE(data().MoveBy(true, 25, true, true), 0);
    EXPECT_EQ(data().CurrentPosition(), 35);
    EXPECT_EQ(name(), order[35]);
    EXPECT_EQ(data().MoveBy(true, -40, true, true), -1);  // stops on the first
    EXPECT_EQ(data().CurrentPosition(), 0);
    EXPECT_EQ(name(), order[0]);
    data().GotoRecord(297, true, true);
    EXPECT_EQ(data().MoveBy(true, 5, true, true), -1);
    EXPECT_EQ(name(), order[299]);

    EXPECT_GE(data().PrefetchRange(120, 140), 0);
    int32_t offset = -1;
    for (int32_t p = 120; p <= 140; ++p)
        EXPECT_GE(data().FindCacheByPosition(p, &offset), 0) << p;
    EXPECT_EQ(name(), order[299]);  // the current record is left alone
}

TEST_F(DataFileTest, TheLiveRecordLimitRefusesWithoutWriting)
{
    uint8_t header[kDbHeaderSize] = {};
    PutI32LE(header + dbh::kLiveCount, kMaxLiveRecords);
    data().ExchangeHeaderCounts(true, header);
    const auto size = std::filesystem::file_size(file);
    EXPECT_EQ(AddSample(data(), 1), -1);
    EXPECT_EQ(capture.lastText(), "Database can consist not more than 32000 records.");
    EXPECT_EQ(std::filesystem::file_size(file), size);
}

TEST_F(DataFileTest, EditingTheSortFieldMovesTheRecordInTheIndex)
{
    for (int n = 0; n < 7; ++n)
        AddSample(data(), n);  // one of each last name
    const int32_t offset = data().GotoRecord(0, true, true);
    ASSERT_EQ(offset, data().CurrentOffset());
    EXPECT_EQ(FieldOf(data().Current(), kFieldLastName), "Adams");
    data().Current().SetFieldText(kFieldLastName, "Wolfe");
    EXPECT_EQ(data().UpdateRecord(true, true), 2);
    EXPECT_EQ(data().CurrentPosition(), 5);  // before Zoller
    data().Current().SetFieldText(kFieldCity, "Rome");
    EXPECT_EQ(data().UpdateRecord(true, true), 1);
    EXPECT_EQ(data().UpdateRecord(true, true), 0);
    Reopen();
    const std::vector<std::string> order = IndexOrder(data());
    EXPECT_EQ(order[5].substr(0, 6), "Wolfe/");
}

TEST_F(DataFileTest, AGrownRecordMovesToTheEndAndItsOldPlaceReadsDeleted)
{
    const int32_t first = AddSample(data(), 0);
    const int32_t second = AddSample(data(), 1);
    data().SetCurrentAndRead(first, -1, true, true);
    data().Current().SetFieldText(kFieldCustom1, std::string(200, 'g').c_str());
    EXPECT_EQ(data().UpdateRecord(false, true), 11);
    EXPECT_GT(data().CurrentOffset(), second);
    CardRecord old;
    data().ReadRecordAt(first, &old, 0);
    EXPECT_TRUE(old.IsDeleted());
    EXPECT_EQ(data().GetDeletedCount(), 1);

    // The last record grows where it is.
    const int32_t last = data().CurrentOffset();
    data().Current().SetFieldText(kFieldCustom1 + 1, "more text");
    EXPECT_EQ(data().UpdateRecord(false, true), 11);
    EXPECT_EQ(data().CurrentOffset(), last);
    Reopen();
    EXPECT_EQ(data().GetLiveCount(), 2);
    EXPECT_EQ(data().GetDeletedCount(), 1);
}

TEST_F(DataFileTest, AClearedLastRecordStoredShorterKeepsItsPlace)
{
    AddSample(data(), 0);
    const int32_t last = AddSample(data(), 1);
    const auto size = std::filesystem::file_size(file);

    // Clear all fields, then type less than the record held before.
    data().SetCurrentAndRead(last, -1, true, true);
    data().Current().Clear();
    data().Current().SetFieldText(kFieldLastName, "X");
    EXPECT_GE(data().UpdateRecord(false, true), 10);
    EXPECT_EQ(data().CurrentOffset(), last);
    EXPECT_EQ(std::filesystem::file_size(file), size);

    // Undoing to a copy read before the record grew, then storing it.
    data().Current().SetFieldText(kFieldCustom1, std::string(100, 'g').c_str());
    ASSERT_GE(data().UpdateRecord(false, false), 10);
    data().RestoreUndoState(true);
    data().Current().SetFieldText(kFieldCity, "Elsewhere");
    ASSERT_GE(data().UpdateRecord(false, true), 1);

    Reopen();
    EXPECT_FALSE(data().DataMark());
    EXPECT_EQ(data().GetLiveCount(), 2);
    CardRecord record;
    data().ReadRecordAt(last, &record, 0);
    EXPECT_EQ(FieldOf(record, kFieldLastName), "X");
    EXPECT_EQ(FieldOf(record, kFieldCity), "Elsewhere");
    EXPECT_TRUE(capture.boxes().empty()) << capture.lastText();
}

// The engine's own writes, also one the disk refused halfway and cut
// back, never look like another program's; another database copied over
// the file in place does, and the close then writes nothing into it.
TEST_F(DataFileTest, OnlyAnotherProgramsWriteIsAChangeElsewhere)
{
    for (int n = 0; n < 3; ++n)
        AddSample(data(), n);
    EXPECT_FALSE(data().ChangedElsewhere());
    SetDbFaultHook([](DbIoStep step, uint32_t) { return DbFault{step == DbIoStep::Write ? 112 : 0, 100}; });
    EXPECT_LT(AddSample(data(), 3), 0);
    SetDbFaultHook(nullptr);
    EXPECT_FALSE(data().ChangedElsewhere());
    Reopen();
    EXPECT_FALSE(data().ChangedElsewhere());

    const std::string other = dir.file("other.dqx");
    {
        DatabaseSession theirs;
        ASSERT_TRUE(theirs.Create(DbPath(other)));
        for (int n = 10; n < 15; ++n)
            AddSample(theirs.Data(), n);
    }
    std::filesystem::copy_file(other, file, std::filesystem::copy_options::overwrite_existing);
    const std::vector<uint8_t> copied = FileBytes(file);
    EXPECT_TRUE(data().ChangedElsewhere());
    EXPECT_TRUE(data().TakenOverElsewhere());
    db->Close();
    EXPECT_EQ(FileBytes(file), copied);
}

TEST_F(DataFileTest, ARelocationWhoseWriteFailsKeepsTheOldRecord)
{
    const int32_t first = AddSample(data(), 0);
    AddSample(data(), 1);
    data().SetCurrentAndRead(first, -1, true, true);
    data().Current().SetFieldText(kFieldCustom1, std::string(200, 'g').c_str());
    const std::vector<uint8_t> before = FileBytes(file);
    SetDbFaultHook([](DbIoStep step, uint32_t) { return DbFault{step == DbIoStep::Write ? 112 : 0, 100}; });
    EXPECT_EQ(data().UpdateRecord(false, true), -1);
    SetDbFaultHook(nullptr);
    EXPECT_EQ(capture.lastText(), "Disk is full [112]");
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(data().CurrentOffset(), first);
    EXPECT_TRUE(data().Current().IsModified());
    Reopen();
    EXPECT_EQ(data().GetLiveCount(), 2);
    EXPECT_EQ(data().GetDeletedCount(), 0);
}

TEST_F(DataFileTest, ABatchOfAddsReadsItsOwnRecordsAndAFailedWriteTakesItAllBack)
{
    AddSample(data(), 0);
    {
        // Records a batch added read back before it ends, and so does the
        // edit of one of them.
        DbChange batch(data());
        data().GatherAppendsInChange();
        std::vector<int32_t> offsets;
        for (int n = 1; n <= 100; ++n)
            offsets.push_back(AddSample(data(), n));
        for (int n = 1; n <= 100; ++n) {
            data().SetCurrentAndRead(offsets[n - 1], -1, true, true);
            EXPECT_EQ(FieldOf(data().Current(), kFieldFirstName), SampleFields(n)[kFieldFirstName]);
        }
        data().SetCurrentAndRead(offsets[7], -1, true, true);
        data().Current().SetFieldText(kFieldCity, "Shelbyville");
        ASSERT_GE(data().UpdateRecord(false, true), 0);
        for (int n = 101; n <= 110; ++n)
            AddSample(data(), n);
        data().SetCurrentAndRead(offsets[7], -1, true, true);
        EXPECT_EQ(FieldOf(data().Current(), kFieldCity), "Shelbyville");
    }
    EXPECT_TRUE(data().LastChangeKept());
    Reopen();
    ASSERT_EQ(data().GetLiveCount(), 111);

    // A disk that refuses the one large write of the records a batch added,
    // however late it comes: every add said yes, yet none of them stays.
    const std::vector<uint8_t> before = FileBytes(file);
    bool refused = false;
    SetDbFaultHook([&](DbIoStep step, uint32_t bytes) {
        const bool refuse = step == DbIoStep::Write && bytes > 4000 && !refused;
        refused = refused || refuse;
        return DbFault{refuse ? 112 : 0, refuse ? 1000u : 0u};
    });
    {
        DbChange batch(data());
        data().GatherAppendsInChange();
        for (int n = 100; n < 140; ++n)
            EXPECT_GE(AddSample(data(), n), 0);
    }
    SetDbFaultHook(nullptr);
    EXPECT_TRUE(refused);
    EXPECT_FALSE(data().LastChangeKept());
    EXPECT_EQ(capture.lastText(), "Disk is full [112]");
    EXPECT_EQ(data().GetLiveCount(), 111);
    EXPECT_EQ(FileBytes(file), before);
    Reopen();
    EXPECT_EQ(data().GetLiveCount(), 111);
    EXPECT_FALSE(data().Recovered());
    EXPECT_GE(data().GotoRecord(110, true, true), 0);
    EXPECT_FALSE(data().Current().IsReadFailed());
}

TEST_F(DataFileTest, DeletingMovesToTheNextRecordOrThePreviousAtTheEnd)
{
    for (int n = 0; n < 3; ++n)
        AddSample(data(), n);  // Smith, Jones, Mueller: order Jones, Mueller, Smith
    data().GotoRecord(2, true, true);
    EXPECT_EQ(data().DeleteRecord(true), 1);
    EXPECT_EQ(data().CurrentPosition(), 1);
    EXPECT_EQ(FieldOf(data().Current(), kFieldLastName), "M\xFCller");
    data().GotoRecord(0, true, true);
    EXPECT_EQ(data().DeleteRecord(true), 1);
    EXPECT_EQ(FieldOf(data().Current(), kFieldLastName), "M\xFCller");
    EXPECT_EQ(data().DeleteRecord(true), 1);
    EXPECT_EQ(data().CurrentOffset(), -1);
    EXPECT_EQ(data().GetLiveCount(), 0);
    EXPECT_EQ(data().DeleteRecord(true), 0);
    EXPECT_EQ(data().LocateIndexPosition(0, true), -1);
}

TEST_F(DataFileTest, ADirtyCacheSlotNeverBringsADeletedRecordBack)
{
    const int32_t offset = AddSample(data(), 0);
    AddSample(data(), 1);
    data().SetCurrentAndRead(offset, -1, true, true);
    data().Current().SetFieldText(kFieldCity, "Cached");
    ASSERT_EQ(data().WriteRecord(offset, -1, false), 0);  // a delayed write
    EXPECT_EQ(data().DeleteRecord(true), 1);
    data().FlushRecordCache();
    CardRecord check;
    data().ReadRecordAt(offset, &check, 0);
    EXPECT_TRUE(check.IsDeleted());
    Reopen();
    EXPECT_EQ(data().GetLiveCount(), 1);
}

TEST_F(DataFileTest, UndeleteBringsTheRecordBackIntoTheIndex)
{
    const int32_t offset = AddSample(data(), 4);
    AddSample(data(), 5);
    data().SetCurrentAndRead(offset, -1, true, true);
    ASSERT_EQ(data().DeleteRecord(true), 1);
    EXPECT_EQ(data().UndeleteRecord(offset), 1);
    EXPECT_EQ(data().UndeleteRecord(offset), 0);  // no longer deleted
    EXPECT_EQ(data().GetLiveCount(), 2);
    EXPECT_EQ(data().GetDeletedCount(), 0);
    EXPECT_EQ(data().CurrentPosition(), 1);  // Zoller after Adams
    Reopen();
    EXPECT_EQ(data().GetLiveCount(), 2);
}

TEST_F(DataFileTest, PackRunsFromAHundredDeletedRecordsAndKeepsTheRest)
{
    for (int n = 0; n < 250; ++n)
        AddSample(data(), n);
    for (int i = 0; i < 99; ++i) {
        data().GotoRecord(i, true, true);
        ASSERT_EQ(data().DeleteRecord(true), 1);
    }
    const auto before = std::filesystem::file_size(file);
    Reopen();
    EXPECT_EQ(std::filesystem::file_size(file), before);  // 99: no pack
    EXPECT_EQ(data().GetDeletedCount(), 99);
    data().GotoRecord(0, true, true);
    ASSERT_EQ(data().DeleteRecord(true), 1);
    const std::vector<std::string> kept = IndexOrder(data());
    Reopen();
    EXPECT_LT(std::filesystem::file_size(file), before);
    EXPECT_EQ(data().GetDeletedCount(), 0);
    EXPECT_EQ(data().GetStoredCount(), 150);
    EXPECT_EQ(IndexOrder(data()), kept);
    EXPECT_FALSE(std::filesystem::exists(file + "~"));
}

TEST_F(DataFileTest, AnOpenThatIsRefusedLeavesTheFileUntouched)
{
    for (int n = 0; n < 110; ++n)
        AddSample(data(), n);
    for (int i = 0; i < 100; ++i) {
        data().GotoRecord(0, true, true);
        ASSERT_EQ(data().DeleteRecord(true), 1);
    }
    db->CloseUnchanged();
    db.reset();
    std::vector<uint8_t> bytes = FileBytes(file);
    PutU32LE(&bytes[dbh::kStoredCount], 110);
    PutU32LE(&bytes[dbh::kLiveCount], 10);
    PutU32LE(&bytes[dbh::kDeletedCount], 100);

    // A file of a newer version, and a damaged one whose repair the user
    // declines, are not ours to change: no pack may run on them.
    for (const auto& [version, mark] : {std::pair<uint32_t, uint32_t>{6, 0}, {5, 1}}) {
        PutU32LE(&bytes[dbh::kVersion], version);
        PutU32LE(&bytes[dbh::kDataMark], mark);
        {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        }
        capture.answer(kIdCancel);
        DatabaseSession refused;
        EXPECT_FALSE(refused.Open(path));
        EXPECT_EQ(FileBytes(file), bytes) << "version " << version << ", data mark " << mark;
    }
}

TEST_F(DataFileTest, APackKeepsTheFilesPermissions)
{
    for (int n = 0; n < 120; ++n)
        AddSample(data(), n);
    for (int i = 0; i < 100; ++i) {
        data().GotoRecord(0, true, true);
        ASSERT_EQ(data().DeleteRecord(true), 1);
    }
    namespace fs = std::filesystem;
    const auto before = fs::file_size(file);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write);
    Reopen();
    ASSERT_LT(fs::file_size(file), before);
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write);
}

TEST_F(DataFileTest, AFailedFlushAtCloseIsReportedAndTheIndexIsNotKept)
{
    PutU16LE(db->Header() + dbh::kPrefDeleteIndex, 0);  // keep the index
    for (int n = 0; n < 3; ++n)
        AddSample(data(), n);
    Reopen();
    EXPECT_TRUE(std::filesystem::exists(dir.file("cards.idx")));
    AddSample(data(), 3);

    int syncs = 0;
    SetDbFaultHook([&](DbIoStep step, uint32_t) {
        syncs += step == DbIoStep::Sync;
        return DbFault{step == DbIoStep::Sync ? kErrIoDevice : 0, 0};
    });
    db->Close();
    SetDbFaultHook(nullptr);
    EXPECT_GE(syncs, 1);
    EXPECT_EQ(capture.lastText(), "IO FILE ERROR [1117]");
    // The index may vouch for records the disk does not hold: it goes.
    EXPECT_FALSE(std::filesystem::exists(dir.file("cards.idx")));
    db = std::make_unique<DatabaseSession>();
    ASSERT_TRUE(db->Open(path));
    EXPECT_EQ(data().GetLiveCount(), 4);
}

TEST_F(DataFileTest, AHeaderThatCannotBeWrittenAtCloseIsReported)
{
    PutU16LE(db->Header() + dbh::kPrefDeleteIndex, 0);  // keep the index
    for (int n = 0; n < 3; ++n)
        AddSample(data(), n);
    Reopen();
    AddSample(data(), 3);

    SetDbFaultHook([](DbIoStep step, uint32_t bytes) {
        return DbFault{step == DbIoStep::Write && bytes == kDbHeaderSize ? kErrDiskFull : 0, 0};
    });
    db->Close();
    SetDbFaultHook(nullptr);
    EXPECT_EQ(capture.lastText(), "Error Update DataBase");
    // The file still counts three records; a kept index holds four.
    EXPECT_FALSE(std::filesystem::exists(dir.file("cards.idx")));
    db = std::make_unique<DatabaseSession>();
    ASSERT_TRUE(db->Open(path));
    EXPECT_EQ(data().GetLiveCount(), 4);
    EXPECT_EQ(IndexOrder(data()).size(), 4u);
}

TEST_F(DataFileTest, APackWhoseFolderCannotBeFlushedStillCountsAsDone)
{
    PutU16LE(db->Header() + dbh::kPrefDeleteIndex, 0);  // keep the index
    for (int n = 0; n < 150; ++n)
        AddSample(data(), n);
    for (int i = 0; i < 100; ++i) {
        data().GotoRecord(0, true, true);
        ASSERT_EQ(data().DeleteRecord(true), 1);
    }
    const std::vector<std::string> kept = IndexOrder(data());
    const auto before = std::filesystem::file_size(file);

    // Once the packed file has the database's name, the pack is done: the
    // index, which names the old places, must not be kept.
    bool replaced = false;
    SetDbFaultHook([&](DbIoStep step, uint32_t) {
        replaced = replaced || step == DbIoStep::Replace;
        return DbFault{replaced && step == DbIoStep::Sync ? kErrIoDevice : 0, 0};
    });
    db->Close();
    SetDbFaultHook(nullptr);
    ASSERT_TRUE(replaced);
    EXPECT_LT(std::filesystem::file_size(file), before);
    EXPECT_FALSE(std::filesystem::exists(dir.file("cards.idx")));
    db = std::make_unique<DatabaseSession>();
    ASSERT_TRUE(db->Open(path));
    EXPECT_FALSE(data().DataMark());
    EXPECT_EQ(IndexOrder(data()), kept);
}

TEST_F(DataFileTest, ABufferWhoseReadFailedIsNeverStored)
{
    for (int n : {0, 1, 3})
        AddSample(data(), n);
    ASSERT_GE(data().GotoRecord(1, true, true), 0);
    const int32_t offset = data().CurrentOffset();
    const std::string first = FieldOf(data().Current(), kFieldFirstName);
    // The record goes bad on the disk: its State claims a byte too many.
    {
        std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(offset + dbrec::kLengths + kFieldState);
        f.put(char(FieldMaxLength(kFieldState) + 1));
    }
    data().DropCacheEntry(-2);
    data().GotoRecord(0, true, true);
    data().MoveBy(true, 1, true, true);
    ASSERT_TRUE(data().Current().IsReadFailed());
    EXPECT_EQ(capture.lastText(), "cards.dqx: Database is damaged. Please reopen the Database.");

    // Typing into what the failed read left must not overwrite the record.
    data().Current().SetFieldText(kFieldCity, "Typed");
    EXPECT_EQ(data().UpdateRecord(false, true), -1);
    EXPECT_EQ(FileBytes(file)[size_t(offset) + dbrec::kFlagsOffset], 0);

    // The repair at the next open brings it back.
    Reopen();
    std::vector<std::string> names;
    for (const std::string& r : IndexOrder(data()))
        names.push_back(r.substr(r.find('/') + 1));
    EXPECT_NE(std::find(names.begin(), names.end(), first), names.end());
}

TEST_F(DataFileTest, DeliveryPointComesFromATwelveCharacterZipOrTheAddress)
{
    FillCurrent(data(), {{kFieldZipCode, "12345-678945"}, {kFieldAddress1, "123 Main St"}});
    data().AddRecord(false, true);
    EXPECT_EQ(FieldOf(data().Current(), kFieldDeliveryPoint), "45");
    FillCurrent(data(), {{kFieldZipCode, "12345-6789"}, {kFieldAddress1, "123 Main St"}});
    data().AddRecord(false, true);
    EXPECT_EQ(FieldOf(data().Current(), kFieldDeliveryPoint), "23");
    char digits[256];
    data().GetFieldDisplayText(kFieldPostalDigits, false, digits);
    EXPECT_STREQ(digits, "12345678923");
}

TEST_F(DataFileTest, ASecondOpenOfTheSameDatabaseIsRefusedAsUsedByAnotherProgram)
{
    DataFile second;
    EXPECT_EQ(second.Open(&path, 0x40000000, kIndexModeNone), -1);
    EXPECT_EQ(capture.lastText(), "cards.dqx: File is used by another program. Close it there, even where it is only "
                                  "open to be read, then try again. [32]");
}

// Walking the records again and again, the engine reads the file from
// memory; what it reads is still what the file holds after every change,
// whether made here, through another path, or a failed write.
TEST_F(DataFileTest, RecordsReadOverAndOverAreTheFilesBytesAfterEveryChange)
{
    for (int n = 0; n < 400; ++n)
        AddSample(data(), n);
    auto cities = [&] {
        std::string all;
        for (int32_t p = 0; p < data().GetLiveCount(); ++p) {
            EXPECT_GE(data().GotoRecord(p, false, false), 0);
            all += FieldOf(data().Current(), kFieldCity) + "/";
        }
        return all;
    };
    for (int round = 0; round < 8; ++round)
        cities();
    data().GotoRecord(399, true, true);
    data().Current().SetFieldText(kFieldCity, "Edited");
    ASSERT_EQ(data().UpdateRecord(false, true), 1);
    const std::string after = cities();
    EXPECT_EQ(std::count(after.begin(), after.end(), 'E'), 1);
    const int32_t last = data().CurrentOffset();
    for (int round = 0; round < 8; ++round)
        cities();
    // Bytes written past the engine (as a copy does) are read too.
    const std::string edited = "Edited";
    const std::vector<uint8_t> before = FileBytes(file);
    const auto at = std::search(before.begin() + last, before.end(), edited.begin(), edited.end()) - before.begin();
    ASSERT_EQ(DbWriteAt(data().Handle(), uint32_t(at), "Ledger", 6), kErrNone);
    CardRecord record;
    data().ReadRecordAt(last, &record, 0);
    EXPECT_EQ(FieldOf(record, kFieldCity), "Ledger");
    // A write the disk refused, half done, leaves what it did write.
    for (int round = 0; round < 8; ++round)
        cities();
    SetDbFaultHook([](DbIoStep, uint32_t) { return DbFault{kErrDiskFull, 2}; });
    EXPECT_NE(DbWriteAt(data().Handle(), uint32_t(at), "Mo", 2), kErrNone);
    SetDbFaultHook(nullptr);
    data().ReadRecordAt(last, &record, 0);
    EXPECT_EQ(FieldOf(record, kFieldCity), "Modger");
}

TEST_F(DataFileTest, ABadRecordMarksTheDatabaseDamagedAndEditsAreKept)
{
    for (int n = 0; n < 3; ++n)
        AddSample(data(), n);
    data().GotoRecord(0, true, true);
    data().Current().SetFieldText(kFieldCity, "Edited");
    ASSERT_EQ(data().UpdateRecord(false, true), 1);
    const int32_t edited = data().CurrentOffset();
    db->Close();
    db = std::make_unique<DatabaseSession>();
    ASSERT_TRUE(db->Open(path));
    {
        // Damaged while the database is open (an open checks its records):
        // bytes at the end that are no record (flags no record carries); a
        // record cut short there would be cut off as never written.
        std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(0, std::ios::end);
        f.write("\xFC\x40\x00\x00\x09", 5);
    }
    db->Rebuild();
    EXPECT_EQ(capture.lastText(), "cards.dqx: Database is damaged. Please reopen the Database.");
    EXPECT_TRUE(data().DataMark());
    EXPECT_EQ(data().GetLiveCount(), 0);
    db->Close();
    EXPECT_EQ(GetU32LE(FileBytes(file).data()), 1u);

    // The next open offers the repair; the records come back.
    db = std::make_unique<DatabaseSession>();
    ASSERT_TRUE(db->Open(path));
    EXPECT_EQ(data().GetLiveCount(), 3);
    CardRecord record;
    data().ReadRecordAt(edited, &record, 0);
    EXPECT_EQ(FieldOf(record, kFieldCity), "Edited");
}

}  // namespace
