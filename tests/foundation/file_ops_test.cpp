#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include <QDir>
#include <QTemporaryDir>

#include "foundation/file_io.h"
#include "foundation/win_error.h"
#include "host_files.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

namespace {

TEST(FileOps, RenameKeepsTheOldExtensionAndNeverReplaces)
{
    TempDir dir;
    PutFile(dir.file("x.txt"));
    PathRecord r = Rec(dir.file("x.txt"));
    ASSERT_EQ(FileRename(&r, "y"), 0);
    r = Rec(dir.file("y.txt"));
    ASSERT_EQ(FileRename(&r, "y.doc"), 0);
    r = Rec(dir.file("y.doc"));
    PutFile(dir.file("z.doc"), "two");
    EXPECT_EQ(FileRename(&r, "z"), kErrAlreadyExists);
    EXPECT_EQ(FileText(dir.file("z.doc")), "two");
    EXPECT_EQ(FileText(dir.file("y.doc")), "x");
}

TEST(FileOps, AFileHeldOpenIsNeitherDeletedNorMoved)
{
    TempDir dir;
    PutFile(dir.file("doc.lqx"), "card");
    PathRecord r = Rec(dir.file("doc.lqx"));
    FileHandle h = kNoFile;
    ASSERT_EQ(FileOpen(&r, kFileReadWrite, &h), 0);
    EXPECT_EQ(FileDelete(&r), kErrSharingViolation);
    EXPECT_EQ(FileRename(&r, "other"), kErrSharingViolation);
    EXPECT_EQ(FileExists(&r, 1), 1);
    EXPECT_EQ(FileText(dir.file("doc.lqx")), "card");
    FileClose(h);
    EXPECT_EQ(FileDelete(&r), 0);
    EXPECT_EQ(FileDelete(&r), kErrFileNotFound);
}

TEST(FileOps, MoveAcrossFileSystemsCopiesAndRemovesTheSource)
{
    QTemporaryDir other("/dev/shm/tessaline-test-XXXXXX");
    TempDir dir;
    struct stat a, b;
    if (!other.isValid() || ::stat(dir.path().c_str(), &a) != 0 ||
        ::stat(other.path().toStdString().c_str(), &b) != 0 || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system to move to";
    std::string target = other.path().toStdString() + "/pic.bmp";
    PutFile(dir.file("pic.bmp"), "BM data");
    PathRecord from = Rec(dir.file("pic.bmp"));
    PathRecord to = Rec(target);
    ASSERT_EQ(FileMove(&from, &to), 0);
    EXPECT_EQ(FileText(dir.file("pic.bmp")), "<missing>");
    EXPECT_EQ(FileText(target), "BM data");

    PutFile(dir.file("pic.bmp"), "new");
    EXPECT_EQ(FileMove(&from, &to), kErrAlreadyExists);
    EXPECT_EQ(FileText(target), "BM data");
}

TEST(FileOps, FoldersAreCreatedAndChecked)
{
    TempDir dir;
    PathRecord sub = Rec(dir.file("Wizard"));
    EXPECT_EQ(FolderCheck(&sub), kErrFileExists);
    EXPECT_EQ(CreateFolder(&sub), 0);
    EXPECT_EQ(CreateFolder(&sub), kErrAlreadyExists);
    PathRecord inside = Rec(dir.file("Wizard/"));
    EXPECT_EQ(FolderCheck(&inside), 0);
    PathRecord deep = Rec(dir.file("none/Wizard"));
    EXPECT_EQ(CreateFolder(&deep), kErrPathNotFound);
    PutFile(dir.file("plain"));
    PathRecord plain = Rec(dir.file("plain"));
    EXPECT_EQ(FolderCheck(&plain), kErrAlreadyExists);
}

TEST(FileOps, ExistsAndInfoFindAnyCaseButOnlyTheExactFileIsDeleted)
{
    TempDir dir;
    PutFile(dir.file("Words.DIC"), std::string(1234, 'w'));
    PathRecord lower = Rec(dir.file("words.dic"));
    EXPECT_EQ(FileExists(&lower, 0), 1);
    EXPECT_EQ(FileHostPath(&lower), dir.file("Words.DIC"));
    FileInfo info;
    ASSERT_EQ(FileGetInfo(&lower, &info), 0);
    EXPECT_EQ(std::string(info.type, 4), ".dic");
    EXPECT_EQ(info.find.attributes, 0x80u);
    EXPECT_EQ(info.find.sizeLow, 1234u);
    EXPECT_STREQ(info.find.name, "Words.DIC");

    FileExists(&lower, 1);
    EXPECT_NE(FileText(dir.file("Words.DIC")), "<missing>");
    PathRecord exact = Rec(dir.file("Words.DIC"));
    EXPECT_EQ(FileExists(&exact, 1), 1);
    EXPECT_EQ(FileExists(&exact, 0), 0);
    EXPECT_EQ(FileGetInfo(&exact, &info), 1);

    PathRecord folder = Rec(dir.path());
    EXPECT_EQ(FileExists(&folder, 1), 1);
    EXPECT_EQ(FileGetInfo(&folder, &info), 0);
    EXPECT_EQ(info.find.attributes, 0x10u);
}

using Visits = std::vector<std::pair<int, std::string>>;

int32_t Collect(const PathRecord* record, int16_t kind, void* user)
{
    char text[kPathTextSize];
    PathRecordToString(record, text);
    static_cast<Visits*>(user)->emplace_back(kind, text);
    return 0;
}

TEST(FolderWalk, VisitsInCaseInsensitiveOrderWithFolderKinds)
{
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0777), 0);
    ASSERT_EQ(::mkdir(dir.file("Zed").c_str(), 0777), 0);
    PutFile(dir.file("b.txt"));
    PutFile(dir.file("A.txt"));
    PutFile(dir.file("sub/c.dat"));
    ASSERT_EQ(::symlink(dir.path().c_str(), dir.file("sub/loop").c_str()), 0);

    PathRecord root = Rec(dir.file("ignored.name"));
    Visits visits;
    ASSERT_EQ(WalkFolder(&root, Collect, &visits), 0);
    std::string base = dir.path();
    for (char& c : base)
        c = c == '/' ? '\\' : c;
    base += '\\';
    Visits expected = {{0, "A.txt"}, {0, "b.txt"}, {1, "sub"}, {0, "sub\\c.dat"}, {2, "sub\\"},
                       {3, "sub"},   {1, "Zed"},   {2, "Zed\\"}, {3, "Zed"}};
    for (auto& e : expected)
        e.second = base + e.second;
    EXPECT_EQ(visits, expected);

    auto stopAtSecond = [](const PathRecord*, int16_t, void* user) -> int32_t {
        return ++*static_cast<int*>(user) == 2 ? 7 : 0;
    };
    int calls = 0;
    EXPECT_EQ(WalkFolder(&root, stopAtSecond, &calls), 7);
    EXPECT_EQ(calls, 2);
    PathRecord missing = Rec(dir.file("none/"));
    EXPECT_EQ(WalkFolder(&missing, stopAtSecond, &calls), kErrPathNotFound);
}

TEST(TempFiles, TempRecordsNameAFreeFileWithThePrefix)
{
    TempDir dir;
    PathRecord r = Rec(dir.file("KPXdoc.lqx"));
    ASSERT_EQ(MakeTempFileRecord(&r), 0);
    EXPECT_EQ(std::string(r.name, 3), "KPX");
    EXPECT_STREQ(r.extension, ".TMP");
    EXPECT_EQ(PathRecordToPosix(r).substr(0, dir.path().size() + 1), dir.path() + "/");
    EXPECT_EQ(FileText(PathRecordToPosix(r)), "<missing>");

    PathRecord shortName = Rec(dir.file("ab"));
    ASSERT_EQ(MakeTempFileRecord(&shortName), 0);
    EXPECT_EQ(std::string(shortName.name, 3), "_t_");

    // A folder that cannot take it sends the name to the system's folder.
    PathRecord nowhere = Rec(dir.file("missing/KPX"));
    ASSERT_EQ(MakeTempFileRecord(&nowhere), 0);
    PathRecord system;
    ASSERT_EQ(GetSystemTempFolder(&system), 0);
    EXPECT_STREQ(nowhere.directory, system.directory);
}

TEST(TempFiles, UniqueNamesCountFromZeroAndSkipAnyCase)
{
    TempDir dir;
    PathRecord r = Rec(dir.file("Name.lqx"));
    EXPECT_EQ(MakeUniqueFileName(&r), 0);
    EXPECT_STREQ(r.name, "Name000");
    PutFile(dir.file("NAME000.lqx"));
    PutFile(dir.file("Name001.lqx"));
    r = Rec(dir.file("Name.lqx"));
    MakeUniqueFileName(&r);
    EXPECT_STREQ(r.name, "Name002");
}

TEST(TempFiles, WritableCheckLeavesNothingAndWarnsOnFailure)
{
    TempDir dir;
    AlertCapture capture;
    PathRecord r = Rec(dir.file("doc.lqx"));
    EXPECT_EQ(CheckDirectoryWritable(&r, 1), 0);
    EXPECT_TRUE(QDir(QString::fromStdString(dir.path())).isEmpty());

    PathRecord missing = Rec(dir.file("none/doc.lqx"));
    EXPECT_EQ(CheckDirectoryWritable(&missing, 0), kErrPathNotFound);
    EXPECT_TRUE(capture.boxes().empty());
    EXPECT_NE(CheckDirectoryWritable(&missing, 1), 0);
    EXPECT_EQ(capture.lastText(), "Disk is Write Protected");
    EXPECT_EQ(capture.boxes().back().style, uint32_t(kMbIconInformation));
}

TEST(TempFiles, LeftoversOfSavesThatNeverFinishedGoUnlessSomeoneHoldsThem)
{
    TempDir dir;
    auto aged = [&](const std::string& name) {
        PutFile(dir.file(name), "half a card");
        const std::string path = dir.file(name);
        struct timespec times[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    };
    aged("LQX1F2E.TMP");
    aged("LQXA.TMP");
    aged("LQXheld.TMP");
    aged("LQX9C.TMP.keep");
    aged("DIC12.TMP");
    aged("LQX77.TMP");
    PutFile(dir.file("LQX3D.TMP"), "a save under way");  // just made
    PathRecord held = Rec(dir.file("LQX77.TMP"));
    FileHandle h = kNoFile;
    ASSERT_EQ(FileOpen(&held, kFileRead, &h), 0);

    const PathRecord folder = Rec(dir.file("card.lqx"));
    EXPECT_EQ(RemoveStaleTempFiles(&folder, "LQX"), 2);
    FileClose(h);
    QStringList left = QDir(QString::fromStdString(dir.path())).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(left, (QStringList{"DIC12.TMP", "LQX3D.TMP", "LQX77.TMP", "LQX9C.TMP.keep", "LQXheld.TMP"}));
}

TEST(DiskFree, MeasuresTheNearestExistingFolderAndBeepsOnNothing)
{
    TempDir dir;
    AlertCapture capture;
    EXPECT_GT(GetDiskFreeBytes(dir.file("not/yet/there.lqx").c_str()), 0.0);
    EXPECT_TRUE(capture.beeps().empty());
    EXPECT_EQ(GetDiskFreeBytes(nullptr), 0.0);
    EXPECT_EQ(capture.beeps(), std::vector<uint32_t>{kMbIconInformation});
}

}  // namespace
