// The journal that makes a change whole or absent is a file of its own
// beside the database: the record file keeps the layout it always had. A
// database written before there was a journal opens and takes changes,
// and the same records written now are the same bytes.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "database/record_file_format.h"
#include "db_test_util.h"
#include "support/alert_capture.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

// The sample contacts as the program wrote them before the journal: 24
// records imported from tools/samples/Contacts.txt into a new database.
const std::string kWrittenBefore = TESSALINE_TEST_DATA_DIR "/database/contacts-written-before-the-journal.dqx";
const std::string kContactsText = TESSALINE_TEST_DATA_DIR "/../../tools/samples/Contacts.txt";

std::multiset<std::string> LiveRecords(const PathRecord& path, AlertCapture& alerts)
{
    std::multiset<std::string> records;
    DatabaseSession db;
    if (!db.Open(path))
        return {"(does not open)"};
    for (int32_t p = 0; p < db.Data().GetLiveCount(); ++p) {
        if (db.Data().GotoRecord(p, false, true) < 0)
            return {"(unreadable)"};
        records.insert(RecordText(db.Data().Current()));
    }
    db.CloseUnchanged();
    for (const AlertCapture::Box& box : alerts.boxes())
        records.insert("(said: " + box.text + ")");
    return records;
}

TEST(OlderDatabase, ADatabaseWrittenBeforeTheJournalOpensAndTakesChanges)
{
    TempDir dir;
    AlertCapture alerts;
    const std::string file = dir.file("Contacts.dqx");
    WriteFileBytes(file, ReadFileBytes(kWrittenBefore));
    const PathRecord path = DbPath(file);
    const std::multiset<std::string> first = LiveRecords(path, alerts);
    ASSERT_EQ(first.size(), 24u) << *first.begin();

    std::string edited;
    {
        DatabaseSession db;
        ASSERT_TRUE(db.Open(path));
        AddSample(db.Data(), 7);
        db.Data().GotoRecord(0, true, true);
        db.Data().Current().SetFieldText(kFieldCompany, "Abbott & Daughters Bakery");
        ASSERT_GT(db.Data().UpdateRecord(true, true), 0);
        edited = RecordText(db.Data().Current());
        db.Data().GotoRecord(5, true, true);
        ASSERT_EQ(db.Data().DeleteRecord(true), 1);
        db.Close();
    }
    // Nothing is left beside it once it is closed.
    EXPECT_FALSE(std::filesystem::exists(file + "-journal"));
    const std::multiset<std::string> now = LiveRecords(path, alerts);
    EXPECT_EQ(now.size(), 24u);
    EXPECT_EQ(now.count(edited), 1u);
    for (const std::string& r : now)
        EXPECT_EQ(r.find("(said"), std::string::npos) << r;
}

TEST(OlderDatabase, TheSameRecordsWrittenNowAreTheSameBytes)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "\"$T\" db new Contacts.dqx && \"$T\" dbdoc import Contacts.dqx '" + kContactsText +
                             "' --delimiter 2 > /dev/null"),
              0);
    std::string now = ReadFileBytes(dir.file("Contacts.dqx"));
    std::string before = ReadFileBytes(kWrittenBefore);
    ASSERT_EQ(now.size(), before.size());
    // Which record was shown last (the header's two position fields) is
    // the one thing that may differ: it says nothing of the layout.
    for (std::string* bytes : {&now, &before}) {
        bytes->replace(dbh::kSavedPosition, 4, 4, '\0');
        bytes->replace(dbh::kPrefLastPosition, 2, 2, '\0');
    }
    EXPECT_EQ(now.substr(0, kDbDataStart), before.substr(0, kDbDataStart)) << "the header";
    EXPECT_TRUE(now.substr(kDbDataStart) == before.substr(kDbDataStart)) << "the records";
    EXPECT_FALSE(std::filesystem::exists(dir.file("Contacts.dqx-journal")));
}

}  // namespace
