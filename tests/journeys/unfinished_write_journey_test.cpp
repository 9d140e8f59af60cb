// What a killed program leaves, as a person meets it: a database whose last
// record was being written opens through File > Open with every record it
// had, without a word about damage, and the piece of the unfinished record
// is gone from the file.
#include <algorithm>

#include "dbdoc/cdb_document.h"
#include "journey_fixture.h"
#include "support/shell.h"

namespace {

class UnfinishedWriteJourney : public JourneyTest {};

TEST_F(UnfinishedWriteJourney, ADatabaseWhoseLastRecordWasCutShortOpensWithEveryRecord)
{
    const std::string path = CopySample("Contacts.dqx", "Cut.dqx");
    const std::string dump = Tool("db dump '" + path + "'");
    const auto records = std::count(dump.begin(), dump.end(), '\n') - 1;
    ASSERT_GT(records, 0);
    const std::string whole = ReadFileBytes(path);
    // The start of a record where the write stopped: marker, flags, slack
    // and the first of its field lengths (a date, a salutation).
    WriteFileBytes(path, whole + std::string("\xFC\x00\x00\x00\x08\x0A", 6) + std::string(10, '\0'));

    alerts.clear();
    OnNextDialog(ChooseFile(path));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    CDBDocument* database = DatabaseDocument();
    ASSERT_NE(database, nullptr);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_EQ(database->Data().GetLiveCount(), records);
    EXPECT_EQ(ReadFileBytes(path).size(), whole.size());
}

}  // namespace
