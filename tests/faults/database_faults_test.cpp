// The power goes at a random step of each change a database goes through:
// adding, storing, deleting and undeleting records, setting categories,
// deleting all duplicates, an import, a merge, a split, the pack at close and a repair. Reopened, the
// database holds every record committed before, plus exactly what the
// change in flight committed or nothing of it, and opens without asking
// for a repair (unless it was damaged to begin with).

#include <gtest/gtest.h>

#include <set>

#include "database/db_document.h"
#include "database/db_test_util.h"
#include "database/record_file_format.h"
#include "dbdoc/database_merge.h"
#include "dbdoc/database_split.h"
#include "dbdoc/text_import.h"
#include "fault_trials.h"
#include "reopened_records.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

namespace {

// The database as a user reopening it finds it: a repair, when asked
// for, is accepted and shows in the result.
Records UserOpen(const PathRecord& path, int64_t* checked)
{
    Records records = Reopened(path);
    *checked += int64_t(records.size());
    return records;
}

class Document : public DbDocument {};

class DatabaseFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = DbPath(dir.file("cards.dqx"));
        alerts.answer(kIdOk);
    }

    // A closed database of live records and deleted ones left in place.
    void MakeBase(int live, int deleted) { ASSERT_TRUE(MakeSampleDatabase(path, live, deleted)); }

    // One part: the database opened (repaired when it asks to be) and
    // closed (packed when due).
    std::function<void(int, Trial*)> OpenAndClose()
    {
        return [this](int parts, Trial* trial) {
            DatabaseSession db;
            if (!parts || !db.Open(path))
                return;
            db.Close();
            if (trial)
                trial->EndOfPart();
        };
    }

    void Run(const std::string& name, int parts, const std::function<void(int, Trial*)>& operation)
    {
        RunCrashTrials<Records>(name, dir.path(), parts, operation,
                                [&](int64_t* checked) { return UserOpen(path, checked); });
    }

    TempDir dir;
    AlertCapture alerts;
    PathRecord path;
};

// Opens the database, runs the first `parts` steps and closes it.
void InSession(const PathRecord& path, int parts, Trial* trial, const std::vector<std::function<void(DataFile&)>>& steps)
{
    DatabaseSession db;
    if (!db.Open(path))
        return;
    for (int i = 0; i < parts; ++i) {
        steps[size_t(i)](db.Data());
        if (trial)
            trial->EndOfPart();
    }
    db.Close();
}

// The offset of the record that ends the file.
int32_t LastRecordOffset(DataFile& data)
{
    int32_t last = -1;
    for (int32_t p = 0; p < data.GetLiveCount(); ++p) {
        data.GotoRecord(p, false, false);
        last = std::max(last, data.CurrentOffset());
    }
    return last;
}

void Store(DataFile& data, int32_t position, int32_t field, const std::string& text)
{
    data.GotoRecord(position, true, true);
    data.Current().SetFieldText(field, text.c_str());
    data.UpdateRecord(true, true);
}

TEST_F(DatabaseFaults, AddingRecords)
{
    MakeBase(20, 3);
    const std::vector<std::function<void(DataFile&)>> steps = {
        [](DataFile& d) { AddSample(d, 500); }, [](DataFile& d) { AddSample(d, 501); },
        [](DataFile& d) { AddSample(d, 502); }};
    Run("add", 3, [&](int parts, Trial* trial) { InSession(path, parts, trial, steps); });
}

TEST_F(DatabaseFaults, StoringRecordsInPlaceMovedAndGrownAtTheEnd)
{
    MakeBase(20, 3);
    const std::vector<std::function<void(DataFile&)>> steps = {
        [](DataFile& d) { Store(d, 2, kFieldCompany, "Shorter Ltd"); },
        [](DataFile& d) { Store(d, 5, kFieldCustom1 + 1, std::string(50, 'g')); },
        [](DataFile& d) {
            const int32_t last = LastRecordOffset(d);
            d.SetCurrentAndRead(last, -1, true, true);
            d.Current().SetFieldText(kFieldCustom1 + 2, std::string(55, 'e').c_str());
            d.UpdateRecord(true, true);
        },
        [](DataFile& d) { Store(d, 0, kFieldLastName, "Aardvark"); }};
    Run("edit", 4, [&](int parts, Trial* trial) { InSession(path, parts, trial, steps); });
}

TEST_F(DatabaseFaults, DeletingAndUndeleting)
{
    MakeBase(20, 3);
    int32_t firstDeleted = -1;
    {
        DatabaseSession db;
        ASSERT_TRUE(db.Open(path));
        firstDeleted = int32_t(kDbDataStart);  // the first record added was deleted first
        db.CloseUnchanged();
    }
    const std::vector<std::function<void(DataFile&)>> steps = {
        [](DataFile& d) {
            d.GotoRecord(4, true, true);
            d.DeleteRecord(true);
        },
        [](DataFile& d) {
            d.GotoRecord(0, true, true);
            d.DeleteRecord(true);
        },
        [=](DataFile& d) { d.UndeleteRecord(firstDeleted); }};
    Run("delete", 3, [&](int parts, Trial* trial) { InSession(path, parts, trial, steps); });
}

TEST_F(DatabaseFaults, SettingCategories)
{
    MakeBase(40, 0);
    const std::vector<std::function<void(DataFile&)>> steps = {[](DataFile& d) {
        uint8_t flags[dbh::kCategoryFlagCount] = {0, 0, 0, 1};
        d.ChangeCategories(flags, kCategoriesInvert);
    }};
    Run("categories", 1, [&](int parts, Trial* trial) { InSession(path, parts, trial, steps); });
}

TEST_F(DatabaseFaults, DeletingAllDuplicates)
{
    MakeBase(30, 2);
    {
        // Three records twice more, one of them three times.
        DatabaseSession db;
        ASSERT_TRUE(db.Open(path));
        for (int n : {4, 9, 9, 17, 17})
            AddSample(db.Data(), n);
        db.Close();
    }
    const std::vector<std::function<void(DataFile&)>> steps = {[](DataFile& d) { d.DeleteDuplicateRecords(); }};
    Run("duplicates", 1, [&](int parts, Trial* trial) { InSession(path, parts, trial, steps); });
}

TEST_F(DatabaseFaults, PackingAtClose)
{
    MakeBase(30, 110);
    Run("pack", 1, OpenAndClose());
}

TEST_F(DatabaseFaults, RepairingADamagedDatabase)
{
    MakeBase(25, 2);
    // Damage: a record's lengths run past its end, and the mark is set.
    std::string bytes = ReadFileBytes(dir.file("cards.dqx"));
    bytes[kDbDataStart + 600] = char(0xFC);
    bytes[kDbDataStart + 604] = char(9);
    bytes[0] = 1;
    WriteFileBytes(dir.file("cards.dqx"), bytes);
    Run("repair", 1, OpenAndClose());
}

TEST_F(DatabaseFaults, ImportingText)
{
    MakeBase(10, 0);
    std::string text;
    for (int n = 0; n < 60; ++n)
        text += "Name" + std::to_string(n) + ",Imported,Acme " + std::to_string(n) + "\r\n";
    const std::string source = dir.file("import.txt");
    WriteFileBytes(source, text);
    Run("import", 1, [&](int parts, Trial* trial) {
        Document doc;
        if (!doc.Open(path))
            return;
        if (parts) {
            TextImport import;
            PathRecord from = DbPath(source);
            if (import.Open(from)) {
                ImportOptions options;
                for (int c = 0; c < 3; ++c)
                    options.matching[c] = uint16_t(c + 1);
                TextImportResult result;
                import.Run(doc, options, &result);
            }
            if (trial)
                trial->EndOfPart();
        }
        doc.Close();
    });
}

TEST_F(DatabaseFaults, MergingAnotherDatabase)
{
    MakeBase(12, 0);
    {
        DatabaseSession other;
        ASSERT_TRUE(other.Create(DbPath(dir.file("other.dqx"))));
        DbChange batch(other.Data());
        for (int n = 100; n < 150; ++n)
            AddSample(other.Data(), n);
    }
    Run("merge", 1, [&](int parts, Trial* trial) {
        Document doc;
        if (!doc.Open(path))
            return;
        if (parts) {
            MergeResult result;
            MergeDatabase(doc, DbPath(dir.file("other.dqx")), &result);
            if (trial)
                trial->EndOfPart();
        }
        doc.Close();
    });
}

TEST_F(DatabaseFaults, SplittingIntoANewFile)
{
    MakeBase(30, 2);
    const PathRecord target = DbPath(dir.file("split.dqx"));
    RunCrashTrials<Records>(
        "split", dir.path(), 1,
        [&](int parts, Trial* trial) {
            Document doc;
            if (!doc.Open(path))
                return;
            if (parts) {
                SplitResult result;
                SplitDatabase(doc, target, &result);
                if (trial)
                    trial->EndOfPart();
            }
            doc.Close();
        },
        [&](int64_t* checked) {
            Records both;
            for (const std::string& r : UserOpen(path, checked))
                both.insert("source " + r);
            if (std::filesystem::exists(dir.file("split.dqx"))) {
                for (const std::string& r : UserOpen(target, checked))
                    both.insert("split " + r);
            }
            return both;
        });
}

}  // namespace
