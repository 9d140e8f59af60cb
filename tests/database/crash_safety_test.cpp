// A database survives a failed write, or the program dying, at any step of
// add, update, delete, pack and repair: it opens again afterwards with
// every record that was committed before the operation.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <set>

#include "database/db_file_io.h"
#include "database/record_file_format.h"
#include "database_file_test.h"
#include "db_test_util.h"
#include "foundation/byte_order.h"
#include "support/alert_capture.h"
#include "support/flushes_skipped.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

using RecordSet = std::multiset<std::string>;

// Opens as a user would: a database found damaged is closed and opened
// again, and the repair is accepted.
RecordSet OpenAndRead(const PathRecord& path, bool* opened)
{
    RecordSet records;
    *opened = false;
    for (int attempt = 0; attempt < 2 && !*opened; ++attempt) {
        DatabaseSession db;
        if (!db.Open(path))
            continue;
        if (db.Data().DataMark()) {
            db.Close();
            continue;
        }
        *opened = true;
        for (int32_t p = 0; p < db.Data().GetLiveCount(); ++p) {
            db.Data().GotoRecord(p, false, true);
            records.insert(RecordText(db.Data().Current()));
        }
        db.CloseUnchanged();
    }
    return records;
}

// What an operation may leave: the records before it, or the records it
// commits. A record that moves is written anew before its old place is
// given up, so the program dying between the two leaves both copies.
struct Outcome {
    RecordSet before;
    RecordSet after;
    RecordSet both;
};

class CrashSafetyTest : public DatabaseFileTest {
protected:
    CrashSafetyTest() : DatabaseFileTest("c.dqx") {}
    void SetUp() override
    {
        DatabaseFileTest::SetUp();
        capture.answer(kIdOk);
    }
    void TearDown() override { SetDbFaultHook(nullptr); }

    // The processes here die; the disk does not lose power.
    FlushesSkipped flushes_;

    // A database of `live` records and `deleted` deleted ones.
    void MakeBase(int live, int deleted)
    {
        // Left unpacked: the deleted records stay for the test's own close.
        ASSERT_TRUE(MakeSampleDatabase(path, live, deleted));
        std::ifstream in(file, std::ios::binary);
        base.assign(std::istreambuf_iterator<char>(in), {});
    }

    void RestoreBase()
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(base.data()), std::streamsize(base.size()));
        out.close();
        std::filesystem::remove(file + "~");
        std::filesystem::remove(dir.file("c.idx"));
    }

    // Counts the file steps an operation makes when nothing fails.
    int CountSteps(const std::function<void(const PathRecord&)>& operation)
    {
        RestoreBase();
        int steps = 0;
        SetDbFaultHook([&](DbIoStep, uint32_t) {
            ++steps;
            return DbFault{};
        });
        operation(path);
        SetDbFaultHook(nullptr);
        return steps;
    }

    void Check(const Outcome& outcome, const std::string& what)
    {
        SetDbFaultHook(nullptr);
        bool opened = false;
        const RecordSet now = OpenAndRead(path, &opened);
        ASSERT_TRUE(opened) << what;
        EXPECT_TRUE(now == outcome.before || now == outcome.after || (!outcome.both.empty() && now == outcome.both))
            << what << ": " << now.size() << " records, expected " << outcome.before.size() << " or "
            << outcome.after.size();
    }

    // Fails step k of the operation, for every k; with partial set the
    // failing write still puts half of its bytes into the file.
    void FailEachStep(const std::function<void(const PathRecord&)>& operation, const Outcome& outcome,
                      bool partial)
    {
        const int steps = CountSteps(operation);
        ASSERT_GT(steps, 0);
        for (int k = 1; k <= steps; ++k) {
            RestoreBase();
            int step = 0;
            SetDbFaultHook([&](DbIoStep kind, uint32_t bytes) {
                if (++step != k)
                    return DbFault{};
                return DbFault{112, partial && kind == DbIoStep::Write ? bytes / 2 : 0};
            });
            operation(path);
            Check(outcome, "failure at step " + std::to_string(k) + " of " + std::to_string(steps));
        }
    }

    // Runs the operation in a child process that dies at step k, for
    // every k.
    void DieAtEachStep(const std::function<void(const PathRecord&)>& operation, const Outcome& outcome)
    {
        const int steps = CountSteps(operation);
        for (int k = 1; k <= steps; ++k) {
            RestoreBase();
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                int step = 0;
                SetDbFaultHook([&](DbIoStep, uint32_t) {
                    if (++step == k)
                        _exit(0);
                    return DbFault{};
                });
                operation(path);
                _exit(0);
            }
            int status = 0;
            waitpid(child, &status, 0);
            Check(outcome, "death at step " + std::to_string(k) + " of " + std::to_string(steps));
        }
    }

    RecordSet Committed()
    {
        RestoreBase();
        bool opened = false;
        RecordSet records = OpenAndRead(path, &opened);
        EXPECT_TRUE(opened);
        return records;
    }

    std::vector<char> base;
};

void AddOne(const PathRecord& path)
{
    DatabaseSession db;
    if (!db.Open(path))
        return;
    AddSample(db.Data(), 999);
    db.Close();
}

void GrowFirst(const PathRecord& path)
{
    DatabaseSession db;
    if (!db.Open(path))
        return;
    db.Data().GotoRecord(0, true, true);
    db.Data().Current().SetFieldText(kFieldCustom6, "grown beyond its place");
    db.Data().UpdateRecord(true, true);
    db.Close();
}

void DeleteFirst(const PathRecord& path)
{
    DatabaseSession db;
    if (!db.Open(path))
        return;
    db.Data().GotoRecord(0, true, true);
    db.Data().DeleteRecord(true);
    db.Close();
}

TEST_F(CrashSafetyTest, AddUpdateAndDeleteLoseNothingCommitted)
{
    MakeBase(12, 0);
    const RecordSet before = Committed();
    for (auto [operation, name] : {std::pair{&AddOne, "add"}, {&GrowFirst, "update"}, {&DeleteFirst, "delete"}}) {
        RestoreBase();
        operation(path);
        bool opened = false;
        Outcome outcome{before, OpenAndRead(path, &opened), {}};
        ASSERT_NE(outcome.after, before) << name;
        if (operation == &GrowFirst) {
            outcome.both = outcome.after;
            for (const std::string& r : before)
                if (!outcome.after.count(r))
                    outcome.both.insert(r);
        }
        SCOPED_TRACE(name);
        FailEachStep(operation, outcome, false);
        FailEachStep(operation, outcome, true);
        DieAtEachStep(operation, outcome);
    }
}

TEST_F(CrashSafetyTest, PackLosesNothingAtAnyStep)
{
    MakeBase(30, 100);
    const RecordSet before = Committed();
    auto pack = [](const PathRecord& p) {
        DatabaseSession db;
        if (db.Open(p))
            db.Close();
    };
    const Outcome outcome{before, before, {}};
    FailEachStep(pack, outcome, true);
    DieAtEachStep(pack, outcome);
    // Without a failure the file did shrink.
    RestoreBase();
    pack(path);
    EXPECT_LT(std::filesystem::file_size(file), base.size());
}

TEST_F(CrashSafetyTest, RepairLosesNothingAtAnyStep)
{
    MakeBase(20, 0);
    const RecordSet before = Committed();
    // A torn record at the end and the damage mark set.
    base.insert(base.end(), {char(0xFC), 0, 0, 0, 9, 9, 9});
    base[0] = 1;
    auto repair = [](const PathRecord& p) {
        DatabaseSession db;
        if (db.Open(p))
            db.Close();
    };
    const Outcome outcome{before, before, {}};
    FailEachStep(repair, outcome, true);
    DieAtEachStep(repair, outcome);
}

TEST_F(CrashSafetyTest, KillingThePackAtRandomTimesLosesNothing)
{
    MakeBase(3000, 300);
    const RecordSet before = Committed();
    for (int round = 0; round < 8; ++round) {
        RestoreBase();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DatabaseSession db;
            if (db.Open(path))
                db.Close();
            _exit(0);
        }
        usleep(useconds_t(round * 1500));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        bool opened = false;
        EXPECT_EQ(OpenAndRead(path, &opened), before) << "round " << round;
        EXPECT_TRUE(opened);
    }
}

// Runs tessaline-tool with the arguments in a process of its own, its
// output thrown away; the process id.
pid_t StartTool(const std::vector<std::string>& args)
{
    const std::string tool = ToolPath();
    std::vector<char*> argv{const_cast<char*>(tool.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(tool.c_str(), argv.data());
        _exit(127);
    }
    return child;
}

// What was found: an import of 20,000 records killed at a random moment
// left a record cut short at a page boundary, and the database would not
// open. The import is one change: whenever it is killed, the database
// opens without a word with the records it had, or with all of the
// imported ones as well.
TEST_F(CrashSafetyTest, KillingAnImportAtRandomTimesLeavesTheRecordsBeforeOrAfterIt)
{
    MakeBase(40, 0);
    const RecordSet before = Committed();
    std::string text;
    for (int n = 0; n < 20000; ++n)
        text += "Name" + std::to_string(n) + "\tImported\tAcme " + std::to_string(n) + "\t12 Mill Lane\r\n";
    const std::string source = dir.file("import.txt");
    WriteFileBytes(source, text);
    const std::vector<std::string> import{"dbdoc", "import", file, source, "--delimiter", "2"};

    // A whole import, for the records it makes and the time the kills are
    // spread over.
    RestoreBase();
    const auto start = std::chrono::steady_clock::now();
    const pid_t whole = StartTool(import);
    ASSERT_GT(whole, 0);
    int status = 0;
    waitpid(whole, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    // The records there, read in full when they are as few as before.
    auto records = [&](RecordSet* read) {
        DatabaseSession db;
        if (!db.Open(path))
            return int32_t(-1);
        const int32_t count = db.Data().DataMark() ? -2 : db.Data().GetLiveCount();
        for (int32_t p = 0; count == int32_t(before.size()) && p < count; ++p) {
            db.Data().GotoRecord(p, false, true);
            read->insert(RecordText(db.Data().Current()));
        }
        db.CloseUnchanged();
        return count;
    };
    RecordSet read;
    ASSERT_EQ(records(&read), int32_t(before.size()) + 20000);

    for (int round = 0; round < 10; ++round) {
        RestoreBase();
        capture.clear();
        const pid_t child = StartTool(import);
        ASSERT_GT(child, 0);
        usleep(useconds_t(span.count() * (2 * round + 1) / 20));
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        read.clear();
        const int32_t count = records(&read);
        EXPECT_TRUE(read == before || count == int32_t(before.size()) + 20000)
            << "round " << round << ": " << count << " records, expected " << before.size() << " or "
            << before.size() + 20000;
        for (const AlertCapture::Box& box : capture.boxes())
            EXPECT_EQ(box.text.find("damaged"), std::string::npos) << "round " << round << ": " << box.text;
    }
}

}  // namespace
