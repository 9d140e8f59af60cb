// What the commands say of the names they are given: a name that begins
// with "-" is a mistyped option for every command, and a path that holds
// no file (a pipe, a folder, a device, links in a loop), that is too long
// to keep or that is not UTF-8 is named for what it is, with nothing done.
// A file the user may not read is said to be unreadable, one he may only
// read to be unchangeable.

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/shared_folder.h"
#include "support/shell.h"

namespace {

const std::string kMessagesSample = std::string(TESSALINE_TEST_DATA_DIR) + "/../../data/Samples/Business Card.lqx";

struct ToolSaid {
    int status;
    std::string errors;
};

ToolSaid Said(const TempDir& dir, const std::string& arguments)
{
    const int status = Shell(dir, "LC_ALL=C.UTF-8 \"$T\" " + arguments + " > out 2> said");
    return {status, ReadFileBytes(dir.file("said"))};
}

TEST(NamesAndMessages, EveryCommandRefusesADashNameAndAPathIsNamedForWhatItHolds)
{
    TempDir dir;
    WriteFileBytes(dir.file("card.lqx"), ReadFileBytes(kMessagesSample));
    WriteFileBytes(dir.file("Café.lqx"), ReadFileBytes(kMessagesSample));
    const std::string longFolder = std::string(120, 'd') + "/" + std::string(150, 'e');
    ASSERT_EQ(Shell(dir, "\"$T\" db new ok.dqx && mkfifo pipe.lqx pipe.dqx && mkdir folder.lqx && "
                         "ln -s loop2.dqx loop.dqx && ln -s loop.dqx loop2.dqx && mkdir -p " +
                             longFolder + " && cp ok.dqx " + longFolder + "/ok.dqx && cp ok.dqx \"$(printf 'caf\\351.dqx')\""),
              0);

    // A missing value, or a name that looks like an option: refused by
    // every command alike, and no file of that name is made.
    struct Case {
        std::string arguments;
        std::string said;
    };
    const std::vector<Case> refused = {
        {"print-pdf card.lqx --copies", "print-pdf: --copies needs its value (--copies N); nothing was done\n"},
        {"print-ps card.lqx -o.ps", "print-ps: \"-o.ps\" is not an option of print-ps"},
        {"card dump -x.lqx", "card: \"-x.lqx\" is not an option of card"},
        {"db dump -x.dqx", "db: \"-x.dqx\" is not an option of db"},
        {"picture -in.png out.bmp", "picture: \"-in.png\" is not an option of picture"},
    };
    for (const Case& c : refused) {
        const ToolSaid said = Said(dir, c.arguments);
        EXPECT_EQ(said.status, 1) << c.arguments;
        EXPECT_NE(said.errors.find("tessaline-tool: " + c.said), std::string::npos) << c.arguments << ": " << said.errors;
    }
    EXPECT_EQ(Shell(dir, "ls -- -* 2>/dev/null"), 2) << "a file was made under an option's name";
    // A value that begins with "-" is no name: a query may look for it,
    // and a negative number reaches the command, which judges it.
    EXPECT_EQ(Said(dir, "db query ok.dqx 2 starts -x").status, 0);
    EXPECT_EQ(Said(dir, "metafile none.wmf out.png -5").errors,
              "tessaline-tool: metafile: MAXSIDE must be a positive number\n");

    const std::vector<Case> paths = {
        {"print-pdf pipe.lqx x.pdf", "pipe.lqx is a pipe, not a file. [230]\n"},
        {"print-pdf folder.lqx x.pdf", "folder.lqx is a folder, not a file. [267]\n"},
        {"print-pdf /dev/null x.pdf", "null is a device, not a file. [20]\n"},
        // An output that is no file is refused as every other output the
        // print can't write, and the pipe is not opened.
        {"print-pdf card.lqx pipe.dqx", "pipe.dqx is a pipe, not a file. Nothing was printed. [230]\n"},
        {"print-pdf card.lqx folder.lqx", "folder.lqx is a folder, not a file. Nothing was printed. [267]\n"},
        {"print-pdf card.lqx folder.lqx/", "folder.lqx is a folder, not a file. Nothing was printed. [267]\n"},
        {"print-pdf card.lqx /dev/null", "null is a device, not a file. Nothing was printed. [20]\n"},
        {"print-ps card.lqx pipe.dqx", "pipe.dqx is a pipe, not a file. Nothing was printed. [230]\n"},
        {"db dump pipe.dqx", "pipe.dqx is a pipe, not a file. [230]\n"},
        {"db dump loop.dqx", "loop.dqx: Its links name each other in a loop. [1921]\n"},
        {"db dump " + longFolder + "/ok.dqx",
         ": The path is longer than the 260 characters this program keeps.\n"},
        // The output as given, its middle left out; the print refused as the
        // other outputs' are.
        {"print-pdf card.lqx " + longFolder + "/x.pdf",
         "\"" + longFolder.substr(0, 33) + "…" + std::string(60, 'e') +
             "/x.pdf\": The path is longer than the 260 characters this program keeps. Nothing was printed. "
             "[206]\n"},
        {"print-pdf card.lqx \"$(printf 'caf\\351.pdf')\"",
         ".pdf: The name is not UTF-8, or holds a character this program's files can't keep. Nothing was "
         "printed. [123]\n"},
        {"db dump \"$(printf 'caf\\351.dqx')\"",
         ": The name is not UTF-8, or holds a character this program's files can't keep.\n"},
        {"card dump gone.lqx", "gone.lqx: There is no such file. [2]\n"},
        {"card dump pipe.lqx", "pipe.lqx is a pipe, not a file. [230]\n"},
        {"card dump \"$(printf 'caf\\351.dqx')\"",
         ": The name is not UTF-8, or holds a character this program's files can't keep.\n"},
    };
    for (const Case& c : paths) {
        const ToolSaid said = Said(dir, c.arguments);
        EXPECT_EQ(said.status, 1) << c.arguments;
        EXPECT_NE(said.errors.find(c.said), std::string::npos) << c.arguments << ": " << said.errors;
        EXPECT_EQ(said.errors.find("Permission denied"), std::string::npos) << c.arguments << ": " << said.errors;
        EXPECT_EQ(said.errors.find("IO FILE ERROR"), std::string::npos) << c.arguments << ": " << said.errors;
    }
    EXPECT_EQ(Shell(dir, "[ -z \"$(ls -A folder.lqx)\" ] && [ ! -e x.pdf ]"), 0) << "a refused print wrote a file";

    // Files of root's the user may not read, and one he may read only; as
    // root, the user is nobody (root reads everything).
    SharedFolder shared;
    const std::string tool = shared.CopyProgram(ToolPath());
    ASSERT_FALSE(tool.empty());
    const std::string user = ::geteuid() == 0 ? "runuser -u nobody -- env HOME=. TMPDIR=. " : "";
    ASSERT_EQ(Shell(dir, "cp card.lqx '" + shared.path() + "/locked.lqx' && cd '" + shared.path() +
                             "' && \"$T\" db new locked.dqx && cp locked.dqx kept.dqx && chmod 000 locked.* && "
                             "chmod 444 kept.dqx && chmod 777 ."),
              0);
    const std::vector<Case> unreadable = {
        {"card dump locked.lqx", "locked.lqx: You don't have permission to read this file. [5]\n"},
        {"print-pdf locked.lqx x.pdf", "locked.lqx: You don't have permission to read this file. [5]\n"},
        {"print-ps locked.lqx x.ps", "locked.lqx: You don't have permission to read this file. [5]\n"},
        {"db dump locked.dqx", "locked.dqx: You don't have permission to read this file. [5]\n"},
        {"db fill kept.dqx 1", "kept.dqx: Permission denied: you may not change this file or its folder. [5]\n"},
    };
    for (const Case& c : unreadable) {
        const int status = Shell(dir, "cd '" + shared.path() + "' && " + user + "LC_ALL=C.UTF-8 '" + tool + "' " +
                                          c.arguments + " > /dev/null 2> said");
        const std::string said = ReadFileBytes(shared.file("said"));
        EXPECT_EQ(status, 1) << c.arguments;
        EXPECT_NE(said.find("tessaline-tool: " + c.said), std::string::npos) << c.arguments << ": " << said;
    }

    // A card's name reaches the PDF and the PostScript job as the user
    // wrote it.
    EXPECT_EQ(Said(dir, "print-pdf Café.lqx café.pdf").status, 0);
    if (Shell(dir, "command -v pdfinfo >/dev/null") == 0) {
        EXPECT_EQ(Shell(dir, "pdfinfo café.pdf | grep -q '^Title: *Café.lqx$'"), 0);
    }
    EXPECT_EQ(Said(dir, "print-ps Café.lqx café.ps").status, 0);
    EXPECT_NE(ReadFileBytes(dir.file("café.ps")).find("%%Title: (Caf\\303\\251.lqx)"), std::string::npos);

    ASSERT_EQ(Shell(dir, "\"$T\" db --help > help"), 0);
    const std::string help = ReadFileBytes(dir.file("help"));
    EXPECT_EQ(help.back(), '\n');
}

}  // namespace
