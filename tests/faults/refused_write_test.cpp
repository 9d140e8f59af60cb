// A full disk, or a write the user has no right to, from each step of the
// database commands' writes on: an import or a merge goes in whole or not
// at all and says which; an export replaces its old file only once it is
// whole; a new database that cannot be written leaves no file behind;
// reading a database and exporting it to another disk asks nothing of a
// full one. And a database the user may not change, run as another user:
// the reading commands work and never write it, the changing ones refuse
// naming the permission.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "database/db_document.h"
#include "database/db_file_io.h"
#include "database/record_file_format.h"
#include "database/verify.h"
#include "database/db_test_util.h"
#include "dbdoc/database_merge.h"
#include "dbdoc/text_export.h"
#include "dbdoc/text_import.h"
#include "fault_trials.h"
#include "reopened_records.h"
#include "support/shared_folder.h"
#include "support/alert_capture.h"
#include "support/refusing_disk.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

using Refusal = RefusingDisk::Refusal;

const Refusal kRefusals[] = {Refusal::NoSpace, Refusal::NoPermission};

const char* Said(Refusal how)
{
    return how == Refusal::NoSpace ? "Disk is full [112]" : "Permission denied: you may not change this file or its folder. [5]";
}

bool Said(const AlertCapture& alerts, const std::string& text)
{
    for (const AlertCapture::Box& box : alerts.boxes()) {
        if (box.text.find(text) != std::string::npos)
            return true;
    }
    return false;
}

// The steps to refuse from: every one, or as many spread evenly.
std::vector<int64_t> StepsToRefuse(int64_t steps)
{
    constexpr int64_t kMost = 150;
    std::vector<int64_t> chosen;
    for (int64_t i = 0; i < std::min(steps, kMost); ++i)
        chosen.push_back(1 + i * steps / std::min(steps, kMost));
    return chosen;
}

class Document : public DbDocument {};

class RefusedWrites : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = DbPath(dir.file("cards.dqx"));
        ASSERT_TRUE(MakeSampleDatabase(path, 12, 2));
    }

    // Runs the command on the open database with a disk that refuses from
    // step k of it on (0: never); the steps it asked for, and whether any
    // was refused.
    int64_t Run(const std::function<void(Document&)>& command, Refusal how, int64_t k, bool* refused = nullptr)
    {
        Document doc;
        EXPECT_TRUE(doc.Open(path));
        int64_t steps = 0;
        {
            RefusingDisk disk(how, k, dir.path());
            command(doc);
            steps = disk.steps();
            if (refused)
                *refused = disk.refused() > 0;
        }
        doc.Close();
        return steps;
    }

    bool NoLeftovers() const
    {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name.find('~') != std::string::npos || name.find("-journal") != std::string::npos)
                return false;
        }
        return true;
    }

    // An import or a merge (failed tells how it ended) from every step on.
    void WholeOrNothing(const std::string& what, const std::function<bool(Document&)>& command)
    {
        FolderImage base;
        base.Capture(dir.path());
        const Records before = Reopened(path);
        bool failed = true;
        const int64_t steps = Run([&](Document& doc) { failed = command(doc); }, Refusal::NoSpace, 0);
        ASSERT_FALSE(failed);
        const Records after = Reopened(path);
        ASSERT_GT(after.size(), before.size());
        for (Refusal how : kRefusals) {
            for (int64_t k : StepsToRefuse(steps)) {
                SCOPED_TRACE(what + ", " + Said(how) + " from step " + std::to_string(k) + " of " + std::to_string(steps));
                base.Restore(dir.path());
                AlertCapture alerts;
                bool refused = false;
                Run([&](Document& doc) { failed = command(doc); }, how, k, &refused);
                EXPECT_EQ(failed, refused);
                if (refused) {
                    EXPECT_TRUE(Said(alerts, Said(how)));
                    EXPECT_EQ(alerts.lastText().rfind("The " + what + " did not finish. No record of it was added", 0), 0u)
                        << alerts.lastText();
                }
                EXPECT_EQ(Reopened(path), refused ? before : after);
                EXPECT_TRUE(NoLeftovers());
            }
        }
    }

    // Nothing here is about what a crash leaves.
    FlushesSkipped flushes;
    TempDir dir;
    AlertCapture alerts;
    PathRecord path;
};

TEST_F(RefusedWrites, AnImportGoesInWholeOrNotAtAll)
{
    std::string text;
    for (int n = 0; n < 60; ++n)
        text += "Name" + std::to_string(n) + ",Imported,Acme " + std::to_string(n) + "\r\n";
    WriteFileBytes(dir.file("import.txt"), text);
    WholeOrNothing("import", [&](Document& doc) {
        TextImport import;
        EXPECT_TRUE(import.Open(DbPath(dir.file("import.txt"))));
        ImportOptions options;
        for (int c = 0; c < 3; ++c)
            options.matching[c] = uint16_t(c + 1);
        TextImportResult result;
        import.Run(doc, options, &result);
        EXPECT_EQ(result.records, result.failed ? 0 : 60);
        return result.failed;
    });
}

// The disk fills up during the import or at the close after it: the
// header then counts what the file holds, with the import in and nothing
// said against it, or with the import taken back and said so.
TEST_F(RefusedWrites, AnImportThatWentInIsCountedInTheHeaderWhateverTheCloseMeets)
{
    std::string text;
    for (int n = 0; n < 60; ++n)
        text += "Name" + std::to_string(n) + ",Imported,Acme " + std::to_string(n) + "\r\n";
    WriteFileBytes(dir.file("import.txt"), text);
    // The database as a session leaves it, with its counts in its header.
    const Records before = Reopened(path);
    FolderImage base;
    base.Capture(dir.path());
    bool failed = true;
    const auto trial = [&](int64_t k) {
        Document doc;
        EXPECT_TRUE(doc.Open(path));
        RefusingDisk disk(Refusal::NoSpace, k, dir.path());
        TextImport import;
        EXPECT_TRUE(import.Open(DbPath(dir.file("import.txt"))));
        ImportOptions options;
        for (int c = 0; c < 3; ++c)
            options.matching[c] = uint16_t(c + 1);
        TextImportResult result;
        import.Run(doc, options, &result);
        failed = result.failed;
        doc.Close();
        return disk.steps();
    };
    const int64_t steps = trial(0);
    ASSERT_FALSE(failed);
    const Records after = Reopened(path);
    for (int64_t k : StepsToRefuse(steps)) {
        SCOPED_TRACE("from step " + std::to_string(k) + " of " + std::to_string(steps));
        base.Restore(dir.path());
        AlertCapture alerts;
        trial(k);
        if (failed)
            EXPECT_TRUE(Said(alerts, "The import did not finish. No record of it was added")) << alerts.lastText();
        else
            EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
        FileHandle file = kNoFile;
        ASSERT_EQ(FileOpen(&path, kFileRead, &file), 0);
        uint8_t header[kDbHeaderSize];
        ASSERT_EQ(DbReadAt(file, 0, header, kDbHeaderSize), 0);
        VerifyReport report;
        EXPECT_TRUE(VerifyDataFile(file, kDbDataStart, &report));
        FileClose(file);
        EXPECT_EQ(GetI32LE(header + dbh::kStoredCount), report.records);
        EXPECT_EQ(Reopened(path), failed ? before : after);
    }
}

TEST_F(RefusedWrites, AMergeGoesInWholeOrNotAtAll)
{
    {
        DatabaseSession other;
        ASSERT_TRUE(other.Create(DbPath(dir.file("other.dqx"))));
        DbChange batch(other.Data());
        for (int n = 100; n < 150; ++n)
            AddSample(other.Data(), n);
    }
    WholeOrNothing("merge", [&](Document& doc) {
        MergeResult result;
        MergeDatabase(doc, DbPath(dir.file("other.dqx")), &result);
        EXPECT_EQ(result.appended, result.failed ? 0 : 50);
        return result.failed;
    });
}

TEST_F(RefusedWrites, AnExportReplacesItsOldFileOnlyWhenWhole)
{
    const std::string target = dir.file("out.txt");
    const std::string old = "an export of yesterday\r\n";
    WriteFileBytes(target, old);
    FolderImage base;
    base.Capture(dir.path());
    const Records records = Reopened(path);
    int32_t written = 0;
    const auto exportAll = [&](Document& doc) {
        TextExportResult result;
        written = ExportRecords(doc, DbPath(target), &result);
    };
    const int64_t steps = Run(exportAll, Refusal::NoSpace, 0);
    ASSERT_EQ(written, 1);
    const std::string whole = ReadFileBytes(target);
    ASSERT_GT(whole.size(), old.size());
    for (Refusal how : kRefusals) {
        for (int64_t k : StepsToRefuse(steps)) {
            SCOPED_TRACE(std::string(Said(how)) + " from step " + std::to_string(k) + " of " + std::to_string(steps));
            base.Restore(dir.path());
            alerts.clear();
            bool refused = false;
            Run(exportAll, how, k, &refused);
            EXPECT_EQ(written, refused ? -1 : 1);
            EXPECT_EQ(ReadFileBytes(target), refused ? old : whole);
            if (refused) {
                EXPECT_EQ(alerts.lastText(), Said(how));
            }
            EXPECT_TRUE(NoLeftovers());
            EXPECT_EQ(Reopened(path), records);
        }
    }
}

TEST_F(RefusedWrites, AnExportThatMeetsADamagedRecordKeepsTheOldFile)
{
    const std::string target = dir.file("out.txt");
    const std::string old = "an export of yesterday\r\n";
    WriteFileBytes(target, old);
    Document doc;
    ASSERT_TRUE(doc.Open(path));
    // The disk goes bad under the open database: a record in the middle
    // of the file no longer reads as one.
    {
        std::fstream file(dir.file("cards.dqx"), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(kDbDataStart + 300);
        const std::string zeros(200, '\0');
        file.write(zeros.data(), std::streamsize(zeros.size()));
    }
    TextExportResult result;
    EXPECT_EQ(ExportRecords(doc, DbPath(target), &result), -1);
    EXPECT_TRUE(Said(alerts, "Database is damaged"));
    EXPECT_EQ(ReadFileBytes(target), old);
    EXPECT_TRUE(NoLeftovers());
}

TEST_F(RefusedWrites, ANewDatabaseThatCannotBeWrittenLeavesNoFile)
{
    const std::string file = dir.file("new.dqx");
    const PathRecord made = DbPath(file);
    int64_t steps = 0;
    {
        RefusingDisk counting(Refusal::NoSpace, 0, dir.path());
        DatabaseSession db;
        ASSERT_TRUE(db.Create(made));
        steps = counting.steps();
    }
    for (Refusal how : kRefusals) {
        for (int64_t k = 1; k <= steps; ++k) {
            SCOPED_TRACE(std::string(Said(how)) + " from step " + std::to_string(k) + " of " + std::to_string(steps));
            std::filesystem::remove(file);
            std::filesystem::remove(dir.file("new.idx"));
            bool created = false;
            bool refused = false;
            {
                RefusingDisk disk(how, k, dir.path());
                DatabaseSession db;
                created = db.Create(made);
                refused = disk.refused() > 0;
                db.CloseUnchanged();
            }
            if (created) {
                EXPECT_TRUE(Reopened(made).empty());
            } else {
                EXPECT_TRUE(refused);
                EXPECT_FALSE(std::filesystem::exists(file));
                EXPECT_FALSE(std::filesystem::exists(dir.file("new.idx")));
            }
        }
    }
}

TEST_F(RefusedWrites, ReadingADatabaseAndExportingItElsewhereAskNothingOfItsDisk)
{
    const Records records = Reopened(path);
    const std::string bytes = ReadFileBytes(dir.file("cards.dqx"));
    TempDir elsewhere;
    for (Refusal how : kRefusals) {
        SCOPED_TRACE(Said(how));
        RefusingDisk disk(how, 1, dir.path());
        {
            DatabaseSession db;
            ASSERT_TRUE(db.Open(path, true, true));
            Records read;
            for (int32_t p = 0; p < db.Data().GetLiveCount(); ++p) {
                ASSERT_GE(db.Data().GotoRecord(p, false, false), 0);
                read.insert(RecordText(db.Data().Current()));
            }
            db.CloseUnchanged();
            EXPECT_EQ(read, records);
        }
        {
            Document doc;
            ASSERT_TRUE(doc.Open(path, true));
            TextExportResult result;
            EXPECT_EQ(ExportRecords(doc, DbPath(elsewhere.file("out.txt")), &result), 1);
            EXPECT_EQ(result.records, int32_t(records.size()));
            doc.Close();
        }
        EXPECT_EQ(disk.steps(), 0);
        EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    }
    EXPECT_EQ(ReadFileBytes(dir.file("cards.dqx")), bytes);
}

// The database commands run as a user who may not change the database.
class ReadOnlyDatabase : public ::testing::Test {
protected:
    // Runs tessaline-tool with args as that user; its status, and what it
    // said in said.
    int Tool(const std::string& args, std::string* said)
    {
        const std::string err = out.file("said");
        std::string command = "cd '" + dir.path() + "' && ";
        if (::geteuid() == 0)
            // His own home and temporary folder: the suite's are closed to him.
            command += "runuser -u nobody -- env HOME='" + out.path() + "' TMPDIR='" + out.path() + "' ";
        command += "'" + tool + "' " + args + " > /dev/null 2> '" + err + "'";
        const int status = std::system(command.c_str());
        *said = ReadFileBytes(err);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The tool and the files the other user is given, where he can reach
    // them wherever the checkout and the test's own folders lie.
    SharedFolder programs;
    const std::string tool = programs.CopyProgram(ToolPath());
    SharedFolder dir;
    SharedFolder out;
};

TEST_F(ReadOnlyDatabase, IsReadAndExportedButNeverWrittenAndChangingItNamesThePermission)
{
    if (::geteuid() == 0 && std::system("runuser -u nobody -- true 2>/dev/null") != 0)
        GTEST_SKIP() << "no other user to run as";
    ASSERT_FALSE(tool.empty());
    ASSERT_TRUE(dir.ok() && out.ok());
    ASSERT_TRUE(MakeSampleDatabase(DbPath(dir.file("r.dqx")), 15, 1));
    {
        DatabaseSession other;
        ASSERT_TRUE(other.Create(DbPath(out.file("other.dqx"))));
        AddSample(other.Data(), 70);
    }
    WriteFileBytes(out.file("in.txt"), "Ada,Lovelace\r\nAlan,Turing\r\n");
    ::chmod(out.path().c_str(), 0777);
    const std::string bytes = ReadFileBytes(dir.file("r.dqx"));
    // A file the user may not change, in a folder he may change and in
    // one he may not.
    for (const mode_t folder : {mode_t(0777), mode_t(0555)}) {
        SCOPED_TRACE(folder == 0777 ? "writable folder" : "read-only folder");
        ::chmod(dir.file("r.dqx").c_str(), 0444);
        ::chmod(dir.path().c_str(), folder);
        std::string said;
        for (const std::string& reads : std::vector<std::string>{"db dump r.dqx", "db verify r.dqx", "dbdoc export r.dqx '" + out.file("e.txt") + "'"}) {
            EXPECT_EQ(Tool(reads, &said), 0) << reads << ": " << said;
            EXPECT_EQ(ReadFileBytes(dir.file("r.dqx")), bytes) << reads;
        }
        const std::string exported = ReadFileBytes(out.file("e.txt"));
        EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), 15);
        for (const std::string& changes : std::vector<std::string>{"db fill r.dqx 3", "dbdoc import r.dqx '" + out.file("in.txt") + "'",
                                           "dbdoc merge r.dqx '" + out.file("other.dqx") + "'", "db repair r.dqx"}) {
            EXPECT_EQ(Tool(changes, &said), 1) << changes;
            EXPECT_NE(said.find("Permission denied"), std::string::npos) << changes << ": " << said;
            EXPECT_EQ(said.find("Locked"), std::string::npos) << changes << ": " << said;
            EXPECT_EQ(said.find("another program"), std::string::npos) << changes << ": " << said;
            EXPECT_EQ(ReadFileBytes(dir.file("r.dqx")), bytes) << changes;
        }
        ::chmod(dir.path().c_str(), 0755);
    }
}

}  // namespace
