// What a killed program leaves, as a person meets it: a database whose last
// record was being written opens through File > Open with every record it
// had, without a word about damage, and the piece of the unfinished record
// is gone from the file; a database whose import was killed half way opens
// as it was before the import, and that open says the import was undone;
// another database's journal put beside one is never played back: the open
// says so and leaves both files for a repair.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "dbdoc/cdb_document.h"
#include "journey_fixture.h"
#include "support/run_program.h"
#include "support/shell.h"

namespace {

class UnfinishedWriteJourney : public JourneyTest {
protected:
    // Opens the database through File > Open > Database...; it must open
    // without a word.
    CDBDocument* OpenWithoutAWord(const std::string& path)
    {
        alerts.clear();
        OnNextDialog(ChooseFile(path));
        EXPECT_TRUE(Trigger("File > Open > Database..."));
        CDBDocument* database = DatabaseDocument();
        EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
        return database;
    }

    // Stops tessaline-tool dead while it imports many records into the
    // database at path, leaving the import's journal beside it. The file
    // may grow by a limit only, and the write past it ends the tool
    // (SIGXFSZ, which it does not catch), as a kill would: where the import
    // stops does not hang on how soon either process gets a processor, as
    // a kill sent from here on seeing the file grow did.
    void KillImportHalfWay(const std::string& path)
    {
        const size_t size = ReadFileBytes(path).size();
        std::string text;
        for (int n = 0; n < 20000; ++n)
            text += "Name" + std::to_string(n) + "\tImported\tAcme " + std::to_string(n) + "\t12 Mill Lane\r\n";
        const std::string source = TempFile("import.txt");
        WriteFileBytes(source, text);
        const std::string tool = ToolPath();
        const rlim_t limit = size + 256 * 1024;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const rlimit fileSize{limit, limit}, noCore{0, 0};
            setrlimit(RLIMIT_CORE, &noCore);
            setrlimit(RLIMIT_FSIZE, &fileSize);
            signal(SIGXFSZ, SIG_DFL);
            execl(tool.c_str(), tool.c_str(), "dbdoc", "import", path.c_str(), source.c_str(), "--delimiter", "2",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        // The import takes a fraction of a second; two minutes are for a
        // machine busy with much else.
        bool inTime = false;
        const int status = EndedWithin(child, 120, &inTime);
        if (!inTime)
            FAIL() << "the import did not end within two minutes";
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ)
            << "the import was not stopped half way; status " << status;
        ASSERT_GT(std::filesystem::file_size(path), size + 200000) << "the import stopped before its records";
        ASSERT_TRUE(std::filesystem::exists(path + "-journal"));
    }
};

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

    CDBDocument* database = OpenWithoutAWord(path);
    ASSERT_NE(database, nullptr);
    EXPECT_EQ(database->Data().GetLiveCount(), records);
    EXPECT_EQ(ReadFileBytes(path).size(), whole.size());
}

TEST_F(UnfinishedWriteJourney, ADatabaseWhoseImportWasKilledHalfWayOpensAsItWasBeforeAndSaysSoOnce)
{
    const std::string path = CopySample("Contacts.dqx", "Killed.dqx");
    const std::string before = Tool("db dump '" + path + "'");
    const size_t size = ReadFileBytes(path).size();
    KillImportHalfWay(path);

    // The open that undoes the import says so, once.
    alerts.clear();
    OnNextDialog(ChooseFile(path));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    CDBDocument* database = DatabaseDocument();
    ASSERT_NE(database, nullptr);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_NE(alerts.lastText().find("an import"), std::string::npos) << alerts.lastText();
    EXPECT_NE(alerts.lastText().find("has been undone"), std::string::npos) << alerts.lastText();
    EXPECT_EQ(database->Data().GetLiveCount(), std::count(before.begin(), before.end(), '\n') - 1);
    EXPECT_EQ(std::filesystem::file_size(path), size);
    EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
    ASSERT_TRUE(Trigger("File > Close"));
    EXPECT_EQ(Tool("db dump '" + path + "'"), before);
    ASSERT_NE(OpenWithoutAWord(path), nullptr);
}

TEST_F(UnfinishedWriteJourney, AnotherDatabasesJournalBesideADatabaseIsNeverPlayedBack)
{
    const std::string mine = CopySample("Contacts.dqx", "Mine.dqx");
    const std::string other = CopySample("Contacts.dqx", "Other.dqx");
    Tool("db fill '" + mine + "' 3 --seed 7");
    const std::string before = Tool("db dump '" + mine + "'");
    const std::string bytes = ReadFileBytes(mine);
    KillImportHalfWay(other);
    std::filesystem::rename(other + "-journal", mine + "-journal");

    alerts.clear();
    OnNextDialog(ChooseFile(mine));
    Trigger("File > Open > Database...");
    EXPECT_EQ(DatabaseDocument(), nullptr);
    ASSERT_FALSE(alerts.boxes().empty());
    EXPECT_NE(alerts.boxes().front().text.find("Mine.dqx-journal) was not made for it"), std::string::npos)
        << alerts.boxes().front().text;
    EXPECT_TRUE(ReadFileBytes(mine) == bytes);
    EXPECT_TRUE(std::filesystem::exists(mine + "-journal"));

    Tool("db repair '" + mine + "'");
    EXPECT_FALSE(std::filesystem::exists(mine + "-journal"));
    EXPECT_EQ(Tool("db dump '" + mine + "'"), before);
    ASSERT_NE(OpenWithoutAWord(mine), nullptr);
}

}  // namespace
