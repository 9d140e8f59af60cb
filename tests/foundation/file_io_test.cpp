#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/win_error.h"
#include "host_files.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

namespace {

// Opens path for reading and fails the test when that does not work.
FileHandle OpenForReading(const std::string& path)
{
    PathRecord r = Rec(path);
    FileHandle h = kNoFile;
    EXPECT_EQ(FileOpen(&r, kFileRead, &h), 0);
    return h;
}

uint32_t Tell(FileHandle h)
{
    uint32_t at = 0xDEAD;
    EXPECT_EQ(FileTell(h, &at), 0);
    return at;
}

TEST(FileIo, SeekOriginsAndTheStartOfTheFile)
{
    TempDir dir;
    PutFile(dir.file("f"), "0123456789");
    FileHandle h = OpenForReading(dir.file("f"));
    ASSERT_EQ(FileSeek(h, kSeekStart, 4), 0);
    EXPECT_EQ(FileSeek(h, 3, 0), 0);
    EXPECT_EQ(Tell(h), 4u);
    EXPECT_EQ(FileSeek(h, 7, 0), 0);  // unknown origins count from the start
    EXPECT_EQ(Tell(h), 0u);
    EXPECT_EQ(FileSeek(h, kSeekEnd, -3), 0);
    EXPECT_EQ(Tell(h), 7u);
    EXPECT_EQ(FileSeek(h, kSeekCurrent, -8), kErrNegativeSeek);
    EXPECT_EQ(Tell(h), 7u);
    FileClose(h);
}

TEST(FileIo, ShortReadZeroFillsAndReportsEndOfFile)
{
    TempDir dir;
    PutFile(dir.file("f"), "abc");
    FileHandle h = OpenForReading(dir.file("f"));
    char buffer[8];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(FileRead(h, buffer, 6), kErrHandleEof);
    EXPECT_EQ(std::string(buffer, 8), std::string("abc\0\0\0XX", 8));
    EXPECT_EQ(FileRead(h, buffer, 1), kErrHandleEof);

    FileSeek(h, kSeekStart, 1);
    uint32_t n = 10;
    EXPECT_EQ(FileReadCount(h, &n, buffer), kErrHandleEof);
    EXPECT_EQ(n, 2u);
    FileClose(h);
}

TEST(FileIo, AReadOrWriteAtAPlaceLeavesThePositionAlone)
{
    TempDir dir;
    PutFile(dir.file("f"), "0123456789");
    PathRecord r = Rec(dir.file("f"));
    FileHandle h = kNoFile;
    ASSERT_EQ(FileOpen(&r, kFileReadWrite, &h), 0);
    ASSERT_EQ(FileSeek(h, kSeekStart, 2), 0);
    char buffer[6];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(FileReadAt(h, 6, buffer, 3), 0);
    EXPECT_EQ(std::string(buffer, 3), "678");
    EXPECT_EQ(FileWriteAt(h, 7, "ab", 2), 0);
    EXPECT_EQ(Tell(h), 2u);
    // Short of the end: the rest zero-filled, as FileRead does.
    EXPECT_EQ(FileReadAt(h, 7, buffer, 5), kErrHandleEof);
    EXPECT_EQ(std::string(buffer, 6), std::string("ab9\0\0X", 6));
    EXPECT_EQ(FileReadAt(h, 0x80000000u, buffer, 1), kErrNegativeSeek);
    EXPECT_EQ(FileRead(h, buffer, 2), 0);
    EXPECT_EQ(std::string(buffer, 2), "23");
    FileClose(h);
}

TEST(FileIo, SecondOpenOfAFileFailsWithSharingViolation)
{
    TempDir dir;
    PutFile(dir.file("f"), "keep");
    FileHandle first = OpenForReading(dir.file("f"));
    PathRecord r = Rec(dir.file("f"));
    FileHandle second = 123;
    EXPECT_EQ(FileOpen(&r, kFileRead, &second), kErrSharingViolation);
    EXPECT_EQ(second, kNoFile);

    // Create-always must not empty a file that another open holds.
    EXPECT_EQ(FileCreate(&r, kFileWrite, &second), kErrSharingViolation);
    EXPECT_EQ(FileText(dir.file("f")), "keep");

    EXPECT_EQ(FileClose(first), 0);
    EXPECT_EQ(FileClose(kNoFile), 0);
    ASSERT_EQ(FileOpen(&r, kFileRead, &second), 0);
    FileClose(second);
}

TEST(FileIo, OpenModesAndDispositions)
{
    TempDir dir;
    PathRecord r = Rec(dir.file("new.txt"));
    FileHandle h = kNoFile;
    EXPECT_EQ(FileOpen(&r, kFileRead, &h), kErrFileNotFound);
    PathRecord deep = Rec(dir.file("missing/new.txt"));
    EXPECT_EQ(FileOpen(&deep, kFileRead, &h), kErrPathNotFound);
    EXPECT_EQ(FileCreate(&deep, kFileWrite, &h), kErrPathNotFound);
    EXPECT_EQ(h, kNoFile);

    ASSERT_EQ(FileOpenAlways(&r, kFileWrite, &h), 0);
    FileWrite(h, "old text", 8);
    char c;
    EXPECT_EQ(FileRead(h, &c, 1), kErrAccessDenied);  // opened for writing only
    FileClose(h);
    ASSERT_EQ(FileOpenAlways(&r, kFileRead, &h), 0);  // keeps the contents
    EXPECT_EQ(FileWrite(h, "x", 1), kErrAccessDenied);
    EXPECT_EQ(FileSetSize(h, 0), kErrAccessDenied);
    FileClose(h);
    EXPECT_EQ(FileText(dir.file("new.txt")), "old text");
    ASSERT_EQ(FileCreate(&r, kFileRead, &h), 0);  // empties even for reading
    FileClose(h);
    EXPECT_EQ(FileText(dir.file("new.txt")), "");

    // A folder is said to be one, not a file one may not open.
    PathRecord folder = Rec(dir.path());
    EXPECT_EQ(FileOpen(&folder, kFileRead, &h), kErrIsFolder);

    // Delete-on-close frees the name at once; the handle still works.
    ASSERT_EQ(FileOpenDeleteOnClose(&r, kFileReadWrite, &h), 0);
    EXPECT_EQ(FileText(dir.file("new.txt")), "<missing>");
    EXPECT_EQ(FileWrite(h, "page", 4), 0);
    FileClose(h);
}

TEST(FileIo, SetSizeKeepsThePositionInsideTheFile)
{
    TempDir dir;
    PathRecord r = Rec(dir.file("f"));
    FileHandle h = kNoFile;
    ASSERT_EQ(FileCreate(&r, kFileReadWrite, &h), 0);
    FileWrite(h, "0123456789", 10);
    EXPECT_EQ(FileSetSize(h, 4), 0);
    EXPECT_EQ(Tell(h), 4u);
    EXPECT_EQ(FileSetSize(h, 8), 0);
    EXPECT_EQ(Tell(h), 4u);
    EXPECT_EQ(FileSync(h), 0);
    FileClose(h);
    EXPECT_EQ(FileText(dir.file("f")), std::string("0123\0\0\0\0", 8));
}

// Reads every line with a buffer of n bytes.
std::vector<std::string> Lines(const std::string& bytes, int32_t n)
{
    TempDir dir;
    PutFile(dir.file("lines"), bytes);
    FileHandle h = OpenForReading(dir.file("lines"));
    std::vector<std::string> lines;
    std::vector<char> buffer(size_t(n) + 1, 'X');
    while (int32_t length = FileReadLine(h, buffer.data(), n)) {
        EXPECT_EQ(size_t(length), std::strlen(buffer.data()));
        lines.emplace_back(buffer.data());
        if (lines.size() > 20)
            break;
    }
    EXPECT_EQ(buffer[size_t(n)], 'X');
    FileClose(h);
    return lines;
}

TEST(FileIo, ReadLineKeepsTheFirstLineEndAndConsumesItsPartner)
{
    using L = std::vector<std::string>;
    EXPECT_EQ(Lines("a\r\nb", 100), (L{"a\r", "b"}));
    EXPECT_EQ(Lines("a\n\nb", 100), (L{"a\n", "b"}));
    EXPECT_EQ(Lines("a\n\rb\r\rc\n", 100), (L{"a\n", "b\r", "c\n"}));
    EXPECT_EQ(Lines("", 100), L{});
    // A line longer than the buffer comes in pieces.
    EXPECT_EQ(Lines("abcdefg\nh", 4), (L{"abc", "def", "g\n", "h"}));
    // A CR LF pair that straddles the end of the buffer still ends one line.
    EXPECT_EQ(Lines("ab\r\ncd", 4), (L{"ab\r", "cd"}));
}

TEST(FileIo, CopyDataCopiesWholeSourceOrACount)
{
    TempDir dir;
    PutFile(dir.file("src"), std::string(3000, 'a') + std::string(3000, 'b'));
    FileHandle src = OpenForReading(dir.file("src"));
    PathRecord d = Rec(dir.file("dst"));
    FileHandle dst = kNoFile;
    ASSERT_EQ(FileCreate(&d, kFileWrite, &dst), 0);

    FileSeek(src, kSeekStart, 4000);
    EXPECT_EQ(FileCopyData(src, 0xFFFFFFFF, dst, 0), 0);  // 1 KB buffer, from the start
    FileSeek(src, kSeekStart, 5990);
    EXPECT_EQ(FileCopyData(src, 5, dst, 50), 0);
    EXPECT_EQ(FileCopyData(src, 100, dst, 50), kErrHandleEof);  // 5 left
    EXPECT_EQ(FileCopyData(src, 10, kNoFile, 50), -1);
    EXPECT_EQ(FileCopyData(kNoFile, 10, dst, 50), -1);
    FileClose(src);
    FileClose(dst);
    EXPECT_EQ(FileText(dir.file("dst")),
              std::string(3000, 'a') + std::string(3000, 'b') + std::string(10, 'b'));
}

TEST(FileIo, OpenFindsANameThatDiffersOnlyInCase)
{
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.file("Pictures").c_str(), 0777), 0);
    PutFile(dir.file("Pictures/Logo.BMP"), "BM");
    PathRecord r = Rec(dir.file("pictures/logo.bmp"));
    FileHandle h = kNoFile;
    ASSERT_EQ(FileOpen(&r, kFileRead, &h), 0);
    FileClose(h);
    // Creating never picks another file.
    ASSERT_EQ(FileCreate(&r, kFileWrite, &h), kErrPathNotFound);
}

// A refusal says the file may not be read only after an open to read it
// was refused: a write refused on a file opened to be read, and a refusal
// on a thread that opened nothing, say it may not be changed.
TEST(FileIo, ARefusalIsSaidToBeOfAReadOnlyAfterARefusedOpenToRead)
{
    const std::string change = "Permission denied: you may not change this file or its folder.";
    TempDir dir;
    PutFile(dir.file("f"), "keep");
    PathRecord r = Rec(dir.file("f"));
    FileHandle h = kNoFile;
    ASSERT_EQ(FileOpen(&r, kFileRead, &h), 0);
    EXPECT_EQ(FileWrite(h, "x", 1), kErrAccessDenied);
    FileClose(h);
    EXPECT_EQ(FileErrorWords(kErrAccessDenied), change);
    std::string words;
    std::thread([&words] { words = FileErrorWords(kErrAccessDenied); }).join();
    EXPECT_EQ(words, change);
}

TEST(FileIo, AlertFileErrorShowsTheCodeOrNothing)
{
    AlertCapture capture;
    EXPECT_EQ(AlertFileError(0), 0);
    EXPECT_TRUE(capture.boxes().empty());
    AlertFileError(32);
    EXPECT_EQ(capture.lastText(), "File is used by another program. [32]");
    EXPECT_EQ(capture.boxes().back().style, uint32_t(kMbIconStop));
    AlertFileError(5);
    EXPECT_EQ(capture.lastText(), "Permission denied: you may not change this file or its folder. [5]");
    AlertFileError(112);
    EXPECT_EQ(capture.lastText(), "Disk is full [112]");
    AlertFileError(1117);
    EXPECT_EQ(capture.lastText(), "IO FILE ERROR [1117]");
    // Named, the file comes first; with no name, as without.
    AlertFileErrorAbout("Contacts.dqx", 112);
    EXPECT_EQ(capture.lastText(), "Contacts.dqx: Disk is full [112]");
    AlertFileErrorAbout("", 112);
    EXPECT_EQ(capture.lastText(), "Disk is full [112]");
    AlertFileErrorAbout(nullptr, 112);
    EXPECT_EQ(capture.lastText(), "Disk is full [112]");
}

}  // namespace
