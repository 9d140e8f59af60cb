// tessaline-tool db, run as a program.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QString>

#include "foundation/cp1252.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

std::string Tool()
{
    return ToolPath();
}

// Runs "tessaline-tool db ARGS" with stdout into out; the exit status.
int Db(const std::string& args, const std::string& out = "/dev/null")
{
    std::ostringstream command;
    command << '\'' << Tool() << "' db " << args << " > '" << out << "' 2>/dev/null";
    const int status = std::system(command.str().c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const std::string& path)
{
    std::string quoted(1, '\'');
    quoted += path;
    quoted += '\'';
    return quoted;
}

std::string Text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(DbTool, DumpAfterRepairEqualsDumpBefore)
{
    TempDir dir;
    const std::string db = Quoted(dir.file("t.dqx"));
    ASSERT_EQ(Db("new " + db), 0);
    EXPECT_NE(Db("new " + db), 0);  // never over an existing file
    ASSERT_EQ(Db("fill " + db + " 2000 --seed 5"), 0);
    ASSERT_EQ(Db("dump " + db, dir.file("before.txt")), 0);
    EXPECT_EQ(Db("verify " + db), 0);
    ASSERT_EQ(Db("repair " + db), 0);
    ASSERT_EQ(Db("dump " + db, dir.file("after.txt")), 0);
    const std::string before = Text(dir.file("before.txt"));
    EXPECT_EQ(std::count(before.begin(), before.end(), '\n'), 2001);
    EXPECT_EQ(before.substr(0, 16), "Date\tSalutation\t");
    EXPECT_EQ(Text(dir.file("after.txt")), before);

    // The same seed gives the same records.
    const std::string other = Quoted(dir.file("u.dqx"));
    Db("new " + other);
    Db("fill " + other + " 2000 --seed 5");
    Db("dump " + other, dir.file("other.txt"));
    EXPECT_EQ(Text(dir.file("other.txt")), before);
}

TEST(DbTool, QueryAndPresortSelect)
{
    TempDir dir;
    const std::string db = Quoted(dir.file("q.dqx"));
    Db("new " + db);
    Db("fill " + db + " 600 --seed 2");
    ASSERT_EQ(Db("query " + db + " State starts CA", dir.file("ca.txt")), 0);
    std::istringstream lines(Text(dir.file("ca.txt")));
    std::string line;
    std::getline(lines, line);
    int rows = 0;
    while (std::getline(lines, line)) {
        ++rows;
        EXPECT_NE(line.find("\tCA\t"), std::string::npos) << line;
    }
    EXPECT_GT(rows, 0);
    ASSERT_EQ(Db("presort " + db, dir.file("p.txt")), 0);
    const std::string presort = Text(dir.file("p.txt"));
    EXPECT_EQ(presort.substr(0, 5), "Tier\t");
    std::istringstream tiers(presort);
    std::getline(tiers, line);
    char last = '0';
    while (std::getline(tiers, line)) {
        EXPECT_GE(line[0], last);
        last = line[0];
    }
    EXPECT_NE(Db("query " + db + " Nowhere starts x"), 0);
    EXPECT_NE(Db("query " + db + " State sideways x"), 0);
}

int RunCommand(const std::string& command, const std::string& err);

TEST(DbTool, BadFilesAndArgumentsFailWithoutACrash)
{
    TempDir dir;
    const std::string junk = dir.file("junk.dqx");
    std::ofstream(junk) << std::string(7000, 'j');
    EXPECT_EQ(Db("verify '" + junk + "'"), 1);
    EXPECT_EQ(Db("dump '" + junk + "'"), 1);
    EXPECT_EQ(Db("repair '" + junk + "'"), 1);
    EXPECT_EQ(Db("dump '" + dir.file("missing.dqx") + "'"), 1);
    EXPECT_EQ(Db("fill '" + junk + "' many"), 1);
    EXPECT_EQ(Db("sideways"), 1);

    const std::string db = dir.file("d.dqx");
    Db("new '" + db + "'");
    Db("fill '" + db + "' 50");
    {
        std::ofstream out(db, std::ios::binary | std::ios::app);
        out << "\xFC\x01\x02";  // a record whose write never finished
    }
    EXPECT_EQ(Db("verify '" + db + "'", dir.file("v.txt")), 0);
    EXPECT_NE(Text(dir.file("v.txt")).find("3 bytes of a record whose write never finished"), std::string::npos);
    EXPECT_EQ(Db("repair '" + db + "'"), 0);
    EXPECT_EQ(Db("verify '" + db + "'"), 0);
    EXPECT_EQ(Db("dump '" + db + "'", dir.file("d.txt")), 0);
    const std::string dump = Text(dir.file("d.txt"));
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 51);

    // Texts come out in the locale's character set.
    ASSERT_EQ(std::system(("'" + Tool() + "' db fill '" + db + "' 1 --seed 7 >/dev/null").c_str()), 0);
    const auto dumpIn = [&](const std::string& locale) {
        const std::string command =
            "LC_ALL=" + locale + " '" + Tool() + "' db dump '" + db + "' > '" + dir.file("l.txt") + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return Text(dir.file("l.txt"));
    };
    const std::string stored = dumpIn("C");
    const std::string utf8 = dumpIn("C.UTF-8");
    EXPECT_NE(utf8, stored);
    EXPECT_EQ(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())), Cp1252ToQString(stored));

    // Cut short, the file holds fewer records than its header counts.
    const std::string bytes = Text(db);
    std::ofstream(db, std::ios::binary | std::ios::trunc) << bytes.substr(0, 6000 + (bytes.size() - 6000) / 4);
    EXPECT_EQ(Db("verify '" + db + "'"), 1);
    EXPECT_EQ(RunCommand("'" + Tool() + "' db verify '" + db + "'", dir.file("e.txt")), 1);
    EXPECT_NE(Text(dir.file("e.txt")).find("the header counts 51 records, the file holds"), std::string::npos)
        << Text(dir.file("e.txt"));
    // Repaired, the header counts what is left.
    EXPECT_EQ(Db("repair '" + db + "'"), 0);
    EXPECT_EQ(Db("verify '" + db + "'"), 0);
}

TEST(DbTool, HelpIsAskedNeverMadeAndAHugeCountIsNoLoss)
{
    TempDir dir;
    const std::string in = "cd '" + dir.path() + "' && '" + Tool() + "' ";
    // --help after any command prints its usage on stdout; no file is made.
    for (const std::string command : {"db new --help", "db repair --help", "dbdoc import x --help", "card --help"}) {
        const int status = std::system((in + command + " > out.txt 2> err.txt").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
        EXPECT_EQ(Text(dir.file("out.txt")).rfind("usage: tessaline-tool ", 0), 0u) << command;
    }
    EXPECT_FALSE(std::ifstream(dir.file("--help")).good());
    // A name that looks like an option is refused, saying how to give one.
    EXPECT_EQ(RunCommand(in + "db new -x.dqx", dir.file("e.txt")), 1);
    EXPECT_NE(Text(dir.file("e.txt")).find("\"-x.dqx\" is not an option"), std::string::npos) << Text(dir.file("e.txt"));
    EXPECT_NE(Text(dir.file("e.txt")).find("./-x.dqx"), std::string::npos);
    EXPECT_FALSE(std::ifstream(dir.file("-x.dqx")).good());
    ASSERT_EQ(RunCommand(in + "db new ./-x.dqx", dir.file("e.txt")), 0);

    // A header counting 2^31-1 records over 10: none was lost, and the
    // repair says the count was wrong.
    const std::string db = dir.file("h.dqx");
    ASSERT_EQ(Db("new '" + db + "'"), 0);
    ASSERT_EQ(Db("fill '" + db + "' 10"), 0);
    std::string bytes = Text(db);
    for (size_t at : {20u, 24u})
        bytes.replace(at, 4, "\xFF\xFF\xFF\x7F", 4);
    std::ofstream(db, std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_EQ(RunCommand("'" + Tool() + "' db repair '" + db + "'", dir.file("r.txt")), 0);
    const std::string said = Text(dir.file("r.txt"));
    EXPECT_NE(said.find("Number of lost records: 0"), std::string::npos) << said;
    EXPECT_NE(said.find("The header counted 2147483647 records, more than a database file can hold"),
              std::string::npos)
        << said;
    EXPECT_EQ(Db("verify '" + db + "'"), 0);
}

// Runs a shell command; the exit status, with stderr into err.
int RunCommand(const std::string& command, const std::string& err)
{
    const int status = std::system((command + " 2> '" + err + "' > /dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Where the records of a database's bytes start, each from the lengths of
// the one before.
std::vector<size_t> RecordStarts(const std::string& bytes)
{
    std::vector<size_t> starts;
    const auto byte = [&](size_t at) { return size_t(uint8_t(bytes[at])); };
    for (size_t at = 6000; at + 33 <= bytes.size();) {
        starts.push_back(at);
        size_t length = 33 + (byte(at + 2) | byte(at + 3) << 8);
        for (size_t field = 0; field < 24; ++field)
            length += byte(at + 4 + field);
        at += length;
    }
    return starts;
}

TEST(DbTool, RepairMendsEveryDamageVerifyReports)
{
    TempDir dir;
    const std::string db = dir.file("r.dqx");
    ASSERT_EQ(Db("new " + Quoted(db)), 0);
    ASSERT_EQ(Db("fill " + Quoted(db) + " 20 --seed 3"), 0);
    const std::string whole = Text(db);
    const std::vector<size_t> starts = RecordStarts(whole);
    ASSERT_EQ(starts.size(), 20u);
    std::string raised = whole;
    for (size_t count : {20u, 24u})  // stored and live count
        ++raised[count];
    // Cut at a record's start, or counting one record more than it holds.
    for (const std::string& bytes : {whole.substr(0, starts.back()), raised}) {
        std::ofstream(db, std::ios::binary | std::ios::trunc) << bytes;
        const std::string tool = "'" + Tool() + "' db ";
        EXPECT_EQ(RunCommand(tool + "verify " + Quoted(db), dir.file("v.err")), 1);
        EXPECT_NE(Text(dir.file("v.err")).find("the database is damaged"), std::string::npos);
        EXPECT_EQ(RunCommand(tool + "repair " + Quoted(db), dir.file("r.err")), 0);
        EXPECT_NE(Text(dir.file("r.err")).find("Number of lost records: 1"), std::string::npos)
            << Text(dir.file("r.err"));
        EXPECT_EQ(Db("verify " + Quoted(db)), 0);
        ASSERT_EQ(Db("dump " + Quoted(db), dir.file("d.txt")), 0);
        const std::string dump = Text(dir.file("d.txt"));
        EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), bytes == raised ? 21 : 20);
    }

    // An index kept beside the records, put back from before five were
    // added.
    std::string kept = Text(db);
    kept[4086] = 0;  // the index is kept at the close
    std::ofstream(db, std::ios::binary | std::ios::trunc) << kept;
    ASSERT_EQ(Db("fill " + Quoted(db) + " 21"), 0);
    const std::string index = dir.file("r.idx");
    const std::string backup = Text(index);
    ASSERT_FALSE(backup.empty());
    ASSERT_EQ(Db("fill " + Quoted(db) + " 5"), 0);
    std::ofstream(index, std::ios::binary | std::ios::trunc) << backup;
    const std::string tool = "'" + Tool() + "' db ";
    EXPECT_EQ(RunCommand(tool + "verify " + Quoted(db), dir.file("i.err")), 1);
    EXPECT_NE(Text(dir.file("i.err")).find("(it lists 41 records where the database counts 46)"), std::string::npos)
        << Text(dir.file("i.err"));
    EXPECT_EQ(Db("repair " + Quoted(db)), 0);
    EXPECT_EQ(Db("verify " + Quoted(db)), 0);
}

TEST(DbTool, ReadingCommandsNeverWrite)
{
    TempDir dir;
    // An empty file stays empty, and no index appears beside it.
    const std::string empty = dir.file("empty.dqx");
    std::ofstream(empty).close();
    EXPECT_EQ(Db("dump " + Quoted(empty)), 1);
    EXPECT_EQ(Db("query " + Quoted(empty) + " State starts CA"), 1);
    EXPECT_EQ(Text(empty), "");
    EXPECT_FALSE(std::ifstream(dir.file("empty.idx")).good());

    // A damaged database is not repaired by a reader.
    const std::string db = dir.file("m.dqx");
    ASSERT_EQ(Db("new " + Quoted(db)), 0);
    ASSERT_EQ(Db("fill " + Quoted(db) + " 30"), 0);
    std::string bytes = Text(db);
    bytes[0] = 1;
    std::ofstream(db, std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_EQ(Db("dump " + Quoted(db)), 1);
    EXPECT_EQ(Text(db), bytes);

    // An unfinished record at the end is left out of the dump, and left
    // where it is.
    bytes[0] = 0;
    bytes += std::string("\xFC\x00\x00\x00\x05", 5);
    std::ofstream(db, std::ios::binary | std::ios::trunc) << bytes;
    ASSERT_EQ(Db("dump " + Quoted(db), dir.file("d.txt")), 0);
    const std::string dump = Text(dir.file("d.txt"));
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 31);
    EXPECT_EQ(Text(db), bytes);
}

TEST(DbTool, ADatabaseAnotherProgramHoldsIsSaidToBeInUseByEveryCommand)
{
    TempDir dir;
    const std::string db = Quoted(dir.file("l.dqx"));
    ASSERT_EQ(Db("new " + db), 0);
    // Another program holds the database while the commands run.
    const std::string tool = "'" + Tool() + "'";
    std::ofstream(dir.file("in.txt")) << "Ada,Lovelace\r\n";
    const std::string in = Quoted(dir.file("in.txt"));
    const std::string out = Quoted(dir.file("out.txt"));
    int n = 0;
    for (const std::string& command : {"db verify " + db, "db dump " + db, "db repair " + db, "db fill " + db + " 2",
                                       "dbdoc export " + db + " " + out, "dbdoc import " + db + " " + in}) {
        SCOPED_TRACE(command);
        const std::string err = dir.file(std::to_string(++n) + ".err");
        EXPECT_EQ(RunCommand("flock -x " + db + " " + tool + " " + command, err), 1);
        const std::string said = Text(err);
        EXPECT_NE(said.find("l.dqx: File is used by another program."), std::string::npos) << said;
        EXPECT_NE(said.find("[32]"), std::string::npos) << said;
        EXPECT_EQ(said.find("Permission"), std::string::npos) << said;
    }
}

}  // namespace
