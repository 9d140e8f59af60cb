// The mark on the program's scratch files names the process that made them
// by its number and the moment it started, so that a number the system has
// given to another process since is not taken for the maker.
#include <gtest/gtest.h>

#include <sys/xattr.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/scratch_mark.h"
#include "host_files.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kMark = "user.tessaline.maker";

// This process's start, in clock ticks since boot: the 22nd field of its
// stat line, counted after the name in parentheses.
std::string OwnStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int n = 3; n <= 22; ++n)
        fields >> field;
    return field;
}

void Mark(const std::string& path, const std::string& stamp)
{
    ASSERT_EQ(setxattr(path.c_str(), kMark, stamp.data(), stamp.size(), 0), 0) << path;
}

TEST(ScratchMark, TheMakerIsKnownByItsNumberAndItsStartAndWhatItWritesInItsFolderIsMarked)
{
    TempDir dir;
    const std::string file = dir.file("LBL1.TMP");
    PutFile(file);
    if (setxattr(file.c_str(), kMark, "x", 1, 0) != 0)
        GTEST_SKIP() << "the file system keeps no extended attributes";
    const std::string pid = std::to_string(getpid());
    const std::string start = OwnStart();

    Mark(file, pid + " " + start);
    EXPECT_EQ(ScratchMakerOf(file), ScratchMaker::kRunning);
    // The same number, started at another moment: a process since ended.
    Mark(file, pid + " " + std::to_string(std::stoll(start) + 1));
    EXPECT_EQ(ScratchMakerOf(file), ScratchMaker::kGone);
    Mark(file, pid + " 0");
    EXPECT_EQ(ScratchMakerOf(file), ScratchMaker::kGone);
    Mark(file, "x " + start);
    EXPECT_EQ(ScratchMakerOf(file), ScratchMaker::kNone);

    const std::string folder = dir.file("scratch");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    MarkOwnScratch(folder);
    char stamp[64] = {};
    ASSERT_GT(lgetxattr(folder.c_str(), kMark, stamp, sizeof stamp - 1), 0);
    EXPECT_EQ(std::string(stamp), pid + " " + start);

    // Made in this process's own folder, a file is marked; made elsewhere,
    // or opened where it was, it is not.
    const std::string made = folder + "/QXDefPref";
    PathRecord record = Rec(made);
    FileHandle handle = kNoFile;
    ASSERT_EQ(FileCreate(&record, kFileReadWrite, &handle), 0);
    FileClose(handle);
    EXPECT_EQ(ScratchMakerOf(made), ScratchMaker::kRunning);
    PathRecord named = Rec(folder + "/");
    ASSERT_EQ(CreateTempFileName(&named, "LBL", &named), 0);
    EXPECT_EQ(ScratchMakerOf(PathRecordToPosix(named)), ScratchMaker::kRunning) << "a new file's name, made there";
    const std::string users = folder + "/user-notes.txt";
    PutFile(users);
    record = Rec(users);
    ASSERT_EQ(FileCreate(&record, kFileReadWrite, &handle), 0);
    FileClose(handle);
    EXPECT_EQ(ScratchMakerOf(users), ScratchMaker::kNone);
    const std::string outside = dir.file("QXDefPref");
    record = Rec(outside);
    ASSERT_EQ(FileCreate(&record, kFileReadWrite, &handle), 0);
    FileClose(handle);
    EXPECT_EQ(ScratchMakerOf(outside), ScratchMaker::kNone);
}

}  // namespace
