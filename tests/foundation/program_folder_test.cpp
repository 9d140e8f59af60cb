#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <QDir>

#include "foundation/program_folder.h"
#include "host_files.h"
#include "support/temp_dir.h"

namespace {

// An installed data folder with a settings file and a wizard sub-folder.
void MakeData(const TempDir& data)
{
    ASSERT_EQ(::mkdir(data.file("Wizard").c_str(), 0777), 0);
    ASSERT_EQ(::mkdir(data.file("Wizard/Designs").c_str(), 0777), 0);
    PutFile(data.file("QXDefPref"), "shipped prefs");
    PutFile(data.file("Tessaline.dat"), "shipped stock");
    PutFile(data.file("Wizard/Wiz_Tree"), "tree");
}

TEST(ProgramFolder, SeedingAddsMissingFilesAndKeepsTheUsersOwn)
{
    TempDir data, user;
    MakeData(data);
    PutFile(user.file("QXDefPref"), "my prefs");

    EXPECT_EQ(SeedFolder(data.path(), user.path()), 0);
    EXPECT_EQ(FileText(user.file("QXDefPref")), "my prefs");
    EXPECT_EQ(FileText(user.file("Tessaline.dat")), "shipped stock");
    EXPECT_EQ(FileText(user.file("Wizard/Wiz_Tree")), "tree");
    EXPECT_TRUE(QDir(QString::fromStdString(user.file("Wizard/Designs"))).exists());
    EXPECT_EQ(FileText(user.file("Tessaline.dat.part")), "<missing>");

    PutFile(user.file("Wizard/Wiz_Tree"), "my tree");
    EXPECT_EQ(SeedFolder(data.path(), user.path()), 0);
    EXPECT_EQ(FileText(user.file("Wizard/Wiz_Tree")), "my tree");
}

TEST(ProgramFolder, AFileTheUserRemovedIsNotSeededAgainButANewlyShippedOneIs)
{
    TempDir data, user;
    MakeData(data);
    ASSERT_EQ(SeedFolder(data.path(), user.path()), 0);
    ASSERT_EQ(::unlink(user.file("Wizard/Wiz_Tree").c_str()), 0);
    PutFile(data.file("Wizard/New.lst"), "new list");

    EXPECT_EQ(SeedFolder(data.path(), user.path()), 0);
    EXPECT_EQ(FileText(user.file("Wizard/Wiz_Tree")), "<missing>");
    EXPECT_EQ(FileText(user.file("Wizard/New.lst")), "new list");
    EXPECT_EQ(FileText(user.file(".seeded-files.part")), "<missing>");
}

TEST(ProgramFolder, TestOverrideGivesPathAndRecord)
{
    TempDir dir;
    SetProgramFolderForTesting(dir.file("prog"));
    EXPECT_EQ(ProgramFolderPath(), dir.file("prog") + "/");
    PathRecord r;
    ASSERT_EQ(GetProgramFolder(&r), 0);
    EXPECT_EQ(PathRecordToPosix(r), dir.file("prog") + "/");
    EXPECT_STREQ(r.name, "");
    EXPECT_TRUE(QDir(QString::fromStdString(dir.file("prog"))).exists());
    SetProgramFolderForTesting("");
}

// Run in a child process: the user's folder is settled once per process.
[[noreturn]] void CheckUserFolderFromDataHome()
{
    TempDir home, data;
    MakeData(data);
    ::setenv("XDG_DATA_HOME", home.path().c_str(), 1);
    ::setenv("TESSALINE_DATA_DIR", data.path().c_str(), 1);
    std::string folder = home.path() + "/Korrinworks Inc./Tessaline/";
    bool ok = ProgramFolderPath() == folder && FileText(folder + "Wizard/Wiz_Tree") == "tree";
    QDir(QString::fromStdString(home.path())).removeRecursively();
    QDir(QString::fromStdString(data.path())).removeRecursively();
    std::fflush(nullptr);
    ::_exit(ok ? 0 : 1);
}

TEST(ProgramFolder, LivesInTheDataHomeAndIsSeededWithoutAnApplication)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CheckUserFolderFromDataHome(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
