// A change whose writes never finished is no change: a record cut short at
// the end of the file is cut off when the database opens (no repair, no
// record made of the fragment), a repair never keeps it, verify tells it
// apart from damage, and a journal left by a change under way undoes it.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "database/db_file_io.h"
#include "database/db_journal.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "database/repair.h"
#include "database/verify.h"
#include "database_file_test.h"
#include "db_test_util.h"
#include "support/alert_capture.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

std::multiset<std::string> Records(const PathRecord& path, bool* askedToRepair)
{
    AlertCapture alerts;
    std::multiset<std::string> out;
    DatabaseSession db;
    if (!db.Open(path))
        return {"(does not open)"};
    for (int32_t p = 0; p < db.Data().GetLiveCount(); ++p) {
        db.Data().GotoRecord(p, false, true);
        out.insert(FieldOf(db.Data().Current(), kFieldFirstName) + " " +
                   FieldOf(db.Data().Current(), kFieldLastName) + " " + FieldOf(db.Data().Current(), kFieldCompany));
    }
    db.Close();
    *askedToRepair = false;
    for (const auto& box : alerts.boxes())
        *askedToRepair = *askedToRepair || box.text.find("damaged") != std::string::npos;
    return out;
}

class UnfinishedChange : public DatabaseFileTest {
protected:
    UnfinishedChange() : DatabaseFileTest("u.dqx") {}
    void SetUp() override
    {
        DatabaseFileTest::SetUp();
        DatabaseSession db;
        ASSERT_TRUE(db.Create(path));
        for (int n = 0; n < 6; ++n)
            AddSample(db.Data(), n);
        db.Close();
        committed = ReadFileBytes(file);
        bool asked = false;
        before = Records(path, &asked);
        // The record whose write is cut short: its company holds the
        // letter u with diaeresis, the marker byte, in its text.
        DatabaseSession more;
        ASSERT_TRUE(more.Open(path));
        FillCurrent(more.Data(), {{kFieldFirstName, "Walter"}, {kFieldLastName, "Wei\xDF"},
                                  {kFieldCompany, "W\xFCrfel & S\xF6hne Gro\xDFhandel GmbH"},
                                  {kFieldCustom1, std::string(200, 'n')}});
        ASSERT_GT(more.Data().AddRecord(false, true), 0);
        more.Close();
        withRecord = ReadFileBytes(file);
        ASSERT_GT(withRecord.size(), committed.size() + 240);
    }

    // An import halfway: the committed records again, appended under a
    // journal, and the program gone before the change ends.
    void LeaveImportHalfDone() { LeaveImportHalfDone(path, committed); }
    void LeaveImportHalfDone(const PathRecord& at, const std::string& bytes)
    {
        FileHandle handle = kNoFile;
        ASSERT_EQ(FileOpen(&at, kFileReadWrite, &handle), 0);
        DbJournal journal;
        journal.Begin(handle, at, uint32_t(bytes.size()), false);
        const std::string records = bytes.substr(kDbDataStart);
        ASSERT_EQ(journal.BeforeWrite(uint32_t(bytes.size()), uint32_t(records.size())), 0);
        ASSERT_EQ(DbWriteAt(handle, uint32_t(bytes.size()), records.data(), uint32_t(records.size())), 0);
        FileClose(handle);
    }

    // What verify says, its status first.
    std::string Verify()
    {
        const int status = Shell(dir, "\"$T\" db verify u.dqx > said 2> err");
        return std::to_string(status) + " " + ReadFileBytes(dir.file("said")) + ReadFileBytes(dir.file("err"));
    }
    // The lines dump writes, or its status when it fails.
    std::string Dump()
    {
        const int status = Shell(dir, "\"$T\" db dump u.dqx > said 2> err");
        const std::string said = ReadFileBytes(dir.file("said"));
        return std::to_string(status) + ", " + std::to_string(std::count(said.begin(), said.end(), '\n')) + " lines";
    }

    std::string committed, withRecord;
    std::multiset<std::string> before;
};

TEST_F(UnfinishedChange, ARecordCutShortAtTheEndIsCutOffAtOpenWithoutARepair)
{
    // Cut after its first byte, inside its head, at its bodies, at the
    // marker byte inside its text, and one byte short of whole.
    const size_t start = committed.size();
    const size_t record = withRecord.size() - start;
    for (size_t kept : {size_t(1), size_t(20), size_t(33), size_t(60), record / 2, record - 1}) {
        SCOPED_TRACE(kept);
        WriteFileBytes(file, withRecord.substr(0, start + kept));
        bool asked = true;
        EXPECT_EQ(Records(path, &asked), before);
        EXPECT_FALSE(asked);
        // The fragment is gone from the file, which ends where the
        // committed records end.
        const std::string now = ReadFileBytes(file);
        EXPECT_EQ(now.size(), start);
        EXPECT_EQ(now.substr(kDbHeaderSize), committed.substr(kDbHeaderSize));
    }
}

TEST_F(UnfinishedChange, GarbageThatIsNoRecordStartStillCallsForARepair)
{
    std::string damaged = committed + std::string("\x01\x02\x03", 3);
    WriteFileBytes(file, damaged);
    bool asked = false;
    Records(path, &asked);
    EXPECT_TRUE(asked) << "bytes that cannot begin a record are damage, not an unfinished write";
}

TEST_F(UnfinishedChange, TheRepairNeverKeepsTheFragmentAndStillRepairsDamageBeforeIt)
{
    // Damage in the middle (a length claiming too much) and an unfinished
    // record at the end; the mark asks for a repair.
    std::string bytes = withRecord.substr(0, committed.size() + 150);
    ASSERT_EQ(uint8_t(bytes[kDbDataStart]), dbrec::kMarker);
    bytes[kDbDataStart + dbrec::kLengths + kFieldCustom1 + 1] = char(40);
    bytes[dbh::kDataMark] = 1;
    WriteFileBytes(file, bytes);

    FileHandle handle = kNoFile;
    ASSERT_EQ(FileOpen(&path, kFileReadWrite, &handle), 0);
    RepairCounts counts;
    ASSERT_EQ(RepairDataFile(&handle, &path, kDbDataStart, 7, &counts), 0);
    FileClose(handle);
    EXPECT_EQ(counts.unfinished, 150u);
    EXPECT_EQ(counts.repaired, 1);
    bool asked = false;
    const std::multiset<std::string> after = Records(path, &asked);
    EXPECT_EQ(after.size(), before.size());
    for (const std::string& r : after)
        EXPECT_EQ(r.find("Walter"), std::string::npos) << "the fragment came back as a record";
}

TEST_F(UnfinishedChange, VerifyTellsAnUnfinishedRecordFromDamage)
{
    WriteFileBytes(file, withRecord.substr(0, committed.size() + 77));
    FileHandle handle = kNoFile;
    ASSERT_EQ(FileOpen(&path, kFileRead, &handle), 0);
    VerifyReport report;
    EXPECT_TRUE(VerifyDataFile(handle, kDbDataStart, &report));
    FileClose(handle);
    EXPECT_EQ(report.unfinished, 77u);
    EXPECT_EQ(report.records, 6);
    EXPECT_FALSE(IsTornRecord(reinterpret_cast<const uint8_t*>("\xFC\x40"), 2)) << "flags no record carries";
}

// A change under way: its journal is written and flushed, then the record
// file is overwritten in place and appended to, and the program dies.
TEST_F(UnfinishedChange, AJournalLeftBehindUndoesItsChangeAtTheNextOpen)
{
    WriteFileBytes(file, committed);
    FileHandle handle = kNoFile;
    ASSERT_EQ(FileOpen(&path, kFileReadWrite, &handle), 0);
    {
        DbJournal journal;
        journal.Begin(handle, path, uint32_t(committed.size()), false);
        const std::string scribble(300, '#');
        ASSERT_EQ(journal.BeforeWrite(kDbDataStart + 10, 300), 0);
        ASSERT_EQ(DbWriteAt(handle, kDbDataStart + 10, scribble.data(), 300), 0);
        ASSERT_EQ(journal.BeforeWrite(uint32_t(committed.size()), 300), 0);
        ASSERT_EQ(DbWriteAt(handle, uint32_t(committed.size()), scribble.data(), 300), 0);
        // No commit: the journal's file stays as the change left it.
        FileClose(handle);
    }
    ASSERT_TRUE(DbJournal::IsPending(path));
    ASSERT_TRUE(std::filesystem::exists(file + "-journal"));
    bool asked = true;
    EXPECT_EQ(Records(path, &asked), before);
    EXPECT_FALSE(asked);
    EXPECT_EQ(ReadFileBytes(file).substr(kDbHeaderSize, committed.size() - kDbHeaderSize),
              committed.substr(kDbHeaderSize));
    EXPECT_FALSE(std::filesystem::exists(file + "-journal"));

    // A committed change leaves nothing to undo.
    ASSERT_EQ(FileOpen(&path, kFileReadWrite, &handle), 0);
    DbJournal journal;
    journal.Begin(handle, path, uint32_t(ReadFileBytes(file).size()), false);
    ASSERT_EQ(journal.BeforeWrite(kDbDataStart, 2), 0);
    const uint8_t word[2] = {dbrec::kMarker, dbrec::kDeleted};
    ASSERT_EQ(DbWriteAt(handle, kDbDataStart, word, 2), 0);
    ASSERT_EQ(journal.Commit(), 0);
    EXPECT_FALSE(DbJournal::IsPending(path));
    journal.Close();
    FileClose(handle);
    EXPECT_EQ(Records(path, &asked).size(), before.size() - 1);
}

// An import halfway: whole records appended, the header still counting the
// old ones. Every record is sound, yet what verify sees is no database the
// next open finds: that open takes the records back.
TEST_F(UnfinishedChange, VerifyCallsAChangeHalfwayUnfinishedNotSound)
{
    WriteFileBytes(file, committed);
    ASSERT_EQ(Shell(dir, "\"$T\" db verify u.dqx > said"), 0);
    LeaveImportHalfDone();
    ASSERT_TRUE(DbJournal::IsPending(path));
    EXPECT_EQ(Shell(dir, "\"$T\" db verify u.dqx > said 2> err"), 1);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "");
    EXPECT_NE(ReadFileBytes(dir.file("err")).find("db verify: a change did not finish (12 records stand in the file "
                                                  "now); the next open undoes it"),
              std::string::npos)
        << ReadFileBytes(dir.file("err"));
    // Verify only reads: the journal is still there to undo the change.
    EXPECT_TRUE(DbJournal::IsPending(path));
}

// An import killed halfway, its journal then cut by a byte or with a bit
// changed: verify calls the change unfinished, and the next open still
// undoes it. A journal cut inside its header cannot say what to undo:
// verify says so, the open refuses the database and keeps the journal,
// and a repair takes the records as they stand.
TEST_F(UnfinishedChange, AJournalCutOrChangedIsNeverTakenForNoChange)
{
    const std::string journalFile = file + "-journal";
    const auto importKilled = [&](const std::function<void(std::string&)>& mutate) {
        WriteFileBytes(file, committed);
        LeaveImportHalfDone();
        std::string bytes = ReadFileBytes(journalFile);
        mutate(bytes);
        WriteFileBytes(journalFile, bytes);
    };
    const auto verify = [&] { return Verify(); };
    bool asked = true;
    for (const auto& mutate : std::vector<std::function<void(std::string&)>>{
             [](std::string& j) { j.pop_back(); }, [](std::string& j) { j[13] = char(j[13] ^ 0x04); },
             [](std::string& j) { std::fill_n(j.begin(), 9, '\0'); }}) {
        importKilled(mutate);
        EXPECT_EQ(verify(), "1 tessaline-tool: db verify: a change did not finish (12 records stand in the file "
                            "now); the next open undoes it\n");
        asked = true;
        EXPECT_EQ(Records(path, &asked), before);
        EXPECT_FALSE(asked);
        EXPECT_EQ(ReadFileBytes(file).size(), committed.size());
    }

    // A header whose first write the crash cut short (in its salt, or just
    // before its check) comes before any write to the records: no change.
    for (size_t kept : {size_t(10), size_t(22)}) {
        SCOPED_TRACE(kept);
        importKilled([](std::string&) {});
        WriteFileBytes(file, committed);
        std::string bytes = ReadFileBytes(journalFile);
        bytes.resize(kept);
        WriteFileBytes(journalFile, bytes);
        EXPECT_EQ(verify().substr(0, 2), "0 ");
        EXPECT_EQ(Records(path, &asked), before);
    }

    // Two changed bits are more than the copy vouches for.
    importKilled([](std::string& j) { j[13] = char(j[13] ^ 0x04), j[2] = char(j[2] ^ 0x10); });
    EXPECT_NE(verify().find("cannot be read"), std::string::npos);
    EXPECT_EQ(Records(path, &asked), std::multiset<std::string>{"(does not open)"});

    importKilled([](std::string& j) { j.resize(23); });
    EXPECT_EQ(verify(), "1 tessaline-tool: db verify: a change did not finish (12 records stand in the file now), "
                        "and its journal u.dqx-journal cannot be read: the next open refuses the database, and "
                        "db repair keeps the records as they stand\n");
    EXPECT_EQ(Records(path, &asked), std::multiset<std::string>{"(does not open)"});
    EXPECT_TRUE(std::filesystem::exists(journalFile));
    EXPECT_EQ(Shell(dir, "\"$T\" db repair u.dqx > said"), 0);
    EXPECT_FALSE(std::filesystem::exists(journalFile));
    EXPECT_EQ(Records(path, &asked).size(), 2 * before.size());
}

TEST_F(UnfinishedChange, ANewDatabaseNeverTakesTheJournalOfAnOldOneOfItsName)
{
    WriteFileBytes(file, committed);
    FileHandle handle = kNoFile;
    ASSERT_EQ(FileOpen(&path, kFileReadWrite, &handle), 0);
    {
        DbJournal journal;
        journal.Begin(handle, path, uint32_t(committed.size()), false);
        ASSERT_EQ(journal.BeforeWrite(kDbDataStart, 4), 0);
        FileClose(handle);
    }
    ASSERT_TRUE(DbJournal::IsPending(path));
    DatabaseSession db;
    ASSERT_TRUE(db.Create(path));
    AddSample(db.Data(), 40);
    db.Close();
    EXPECT_FALSE(std::filesystem::exists(file + "-journal"));
    bool asked = false;
    EXPECT_EQ(Records(path, &asked).size(), 1u);
}

// A journal another database's killed change left, put beside this one:
// never played back (it would cut these records to the other's size).
TEST_F(UnfinishedChange, AnotherDatabasesJournalIsNeverPlayedBack)
{
    WriteFileBytes(file, committed);
    const std::string otherFile = dir.file("o.dqx");
    const PathRecord other = DbPath(otherFile);
    {
        DatabaseSession db;
        ASSERT_TRUE(db.Create(other));
        for (int n = 20; n < 25; ++n)
            AddSample(db.Data(), n);
        db.Close();
    }
    LeaveImportHalfDone(other, ReadFileBytes(otherFile));
    std::filesystem::copy_file(otherFile + "-journal", file + "-journal");

    EXPECT_EQ(Verify(), "1 tessaline-tool: db verify: the journal u.dqx-journal was not made for u.dqx as it "
                        "stands (another database's, or older than its records; 6 records stand in the file now): "
                        "the next open refuses the database and never plays it back, and db repair removes it and "
                        "keeps the records as they stand\n");
    EXPECT_EQ(Dump(), "1, 0 lines");
    bool asked = false;
    capture.clear();
    EXPECT_EQ(Records(path, &asked), std::multiset<std::string>{"(does not open)"});
    EXPECT_TRUE(ReadFileBytes(file).substr(kDbHeaderSize) == committed.substr(kDbHeaderSize));
    EXPECT_TRUE(std::filesystem::exists(file + "-journal"));

    ASSERT_EQ(Shell(dir, "\"$T\" db repair u.dqx > said"), 0);
    EXPECT_NE(ReadFileBytes(dir.file("said")).find("u.dqx-journal: the journal was not made for this database as it "
                                                   "stands"),
              std::string::npos)
        << ReadFileBytes(dir.file("said"));
    EXPECT_FALSE(std::filesystem::exists(file + "-journal"));
    EXPECT_EQ(Records(path, &asked), before);
    // The other database's own journal still undoes its change.
    EXPECT_EQ(Records(other, &asked).size(), 5u);
}

// A journal beside a database that cannot be read whole is never taken for
// none: one grown past any size of ours, or zeroed in its first bytes, still
// undoes its change; a folder, a pipe or a dangling link there fails verify
// and the readers, and the open refuses the database, leaving both.
TEST_F(UnfinishedChange, AJournalThatCannotBeReadWholeIsNeverTakenForNone)
{
    const std::string journal = file + "-journal";
    for (const std::string kind : {"longer", "zeroed"}) {
        SCOPED_TRACE(kind);
        WriteFileBytes(file, committed);
        LeaveImportHalfDone();
        if (kind == "longer") {
            std::filesystem::resize_file(journal, uintmax_t(300) << 20);
        } else {
            std::string bytes = ReadFileBytes(journal);
            std::fill_n(bytes.begin(), 16, '\0');
            WriteFileBytes(journal, bytes);
        }
        EXPECT_EQ(Verify(), "1 tessaline-tool: db verify: a change did not finish (12 records stand in the file "
                            "now); the next open undoes it\n");
        EXPECT_EQ(Dump(), "1, 0 lines");
        bool asked = true;
        EXPECT_EQ(Records(path, &asked), before);
        EXPECT_TRUE(ReadFileBytes(file).substr(kDbHeaderSize) == committed.substr(kDbHeaderSize));
        EXPECT_FALSE(std::filesystem::exists(journal));
    }
    for (const std::string kind : {"folder", "pipe", "link", "unreadable"}) {
        SCOPED_TRACE(kind);
        WriteFileBytes(file, committed);
        LeaveImportHalfDone();
        const std::string halfDone = ReadFileBytes(file);
        std::filesystem::remove(journal);
        if (kind == "folder") {
            std::filesystem::create_directory(journal);
        } else if (kind == "pipe") {
            ASSERT_EQ(::mkfifo(journal.c_str(), 0600), 0);
        } else if (kind == "link") {
            std::filesystem::create_symlink(dir.file("gone"), journal);
        } else {
            // Who may read every file reads this one too.
            if (::geteuid() == 0)
                continue;
            WriteFileBytes(journal, "");
            ::chmod(journal.c_str(), 0);
        }
        EXPECT_NE(Verify().find("1 tessaline-tool: db verify: a change did not finish (12 records stand in the file "
                                "now), and its journal u.dqx-journal cannot be read"),
                  std::string::npos);
        EXPECT_EQ(Dump(), "1, 0 lines");
        bool asked = false;
        EXPECT_EQ(Records(path, &asked), std::multiset<std::string>{"(does not open)"});
        EXPECT_TRUE(ReadFileBytes(file) == halfDone);
        EXPECT_TRUE(std::filesystem::is_symlink(journal) || std::filesystem::exists(journal));
        ASSERT_EQ(Shell(dir, "\"$T\" db repair u.dqx > said"), 0);
        EXPECT_FALSE(std::filesystem::is_symlink(journal) || std::filesystem::exists(journal));
    }
}

// A stretch kept twice in one change (a shorter write, then a longer one
// over it) gets back its bytes from before the change, not the first
// write's.
TEST_F(UnfinishedChange, AStretchKeptTwiceGoesBackToItsOldestBytes)
{
    WriteFileBytes(file, committed);
    FileHandle handle = kNoFile;
    ASSERT_EQ(FileOpen(&path, kFileReadWrite, &handle), 0);
    {
        DbJournal journal;
        journal.Begin(handle, path, uint32_t(committed.size()), false);
        const std::string first(10, 'A'), second(40, 'B');
        ASSERT_EQ(journal.BeforeWrite(kDbDataStart + 100, 10), 0);
        ASSERT_EQ(DbWriteAt(handle, kDbDataStart + 100, first.data(), 10), 0);
        ASSERT_EQ(journal.BeforeWrite(kDbDataStart + 90, 40), 0);
        ASSERT_EQ(DbWriteAt(handle, kDbDataStart + 90, second.data(), 40), 0);
        FileClose(handle);
    }
    bool asked = true;
    EXPECT_EQ(Records(path, &asked), before);
    EXPECT_TRUE(ReadFileBytes(file).substr(kDbHeaderSize) == committed.substr(kDbHeaderSize));
}

// A journal as versions before the journal named its database wrote it (no
// check of the records): still undone at the open, and once cleared, a
// finished change.
TEST_F(UnfinishedChange, AJournalOfTheOlderFormIsStillUndone)
{
    const std::string journal = file + "-journal";
    const auto olderForm = [&](bool cleared) {
        std::string j = ReadFileBytes(journal);
        const auto put = [&](size_t at, uint32_t v) {
            for (int i = 0; i < 4; ++i)
                j[at + i] = char(v >> (8 * i));
        };
        const auto crc = [&](uLong seed, size_t at, size_t n) {
            return uint32_t(crc32(seed, reinterpret_cast<const Bytef*>(j.data()) + at, uInt(n)));
        };
        for (size_t header : {size_t(0), size_t(40)}) {
            put(header + 4, 1);
            put(header + 16, 0);
            put(header + 20, crc(0, header, 20));
        }
        put(36, crc(crc(0, 24, 12), 40, 24));
        if (cleared)
            std::fill_n(j.begin(), 24, '\0');
        WriteFileBytes(journal, j);
    };
    WriteFileBytes(file, committed);
    LeaveImportHalfDone();
    olderForm(false);
    EXPECT_EQ(Verify(), "1 tessaline-tool: db verify: a change did not finish (12 records stand in the file now); "
                        "the next open undoes it\n");
    bool asked = true;
    EXPECT_EQ(Records(path, &asked), before);
    EXPECT_TRUE(ReadFileBytes(file).substr(kDbHeaderSize) == committed.substr(kDbHeaderSize));

    LeaveImportHalfDone();
    olderForm(true);
    EXPECT_EQ(Verify().substr(0, 2), "0 ");
    EXPECT_EQ(Records(path, &asked).size(), 2 * before.size());
}

}  // namespace
