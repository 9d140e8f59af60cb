#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/path_record.h"
#include "foundation/win_error.h"

namespace {

PathRecord FromString(const char* text)
{
    PathRecord r;
    EXPECT_EQ(PathRecordFromString(text, &r), 0) << text;
    return r;
}

std::string ToString(const PathRecord& r)
{
    char text[kPathTextSize];
    PathRecordToString(&r, text);
    return text;
}

TEST(PathRecord, SplitsWindowsAndPosixTextIntoTheWindowsForm)
{
    PathRecord r = FromString("C:\\dir\\sub\\card.v2.lqx");
    EXPECT_STREQ(r.drive, "C:");
    EXPECT_STREQ(r.directory, "\\dir\\sub\\");
    EXPECT_STREQ(r.name, "card.v2");
    EXPECT_STREQ(r.extension, ".lqx");
    EXPECT_EQ(ToString(r), "C:\\dir\\sub\\card.v2.lqx");

    r = FromString("/home/u/x.lqx");
    EXPECT_STREQ(r.drive, "");
    EXPECT_STREQ(r.directory, "\\home\\u\\");
    EXPECT_EQ(PathRecordToPosix(r), "/home/u/x.lqx");
    PathRecord same = FromString("\\home\\u\\x.lqx");
    EXPECT_EQ(PathRecordEqual(&r, &same), 1);
    same.name[0] = 'X';
    EXPECT_EQ(PathRecordEqual(&r, &same), 0);

    // A directory without its trailing backslash still joins correctly.
    r = FromString("x");
    std::strcpy(r.directory, "\\dir");
    EXPECT_EQ(ToString(r), "\\dir\\x");
    EXPECT_EQ(PathRecordToPosix(r), "/dir/x");
}

TEST(PathRecord, HostPathsAreUtf8AndRecordsWindows1252)
{
    PathRecord r = FromString("C:\\Bilder\\M\xFCller \x80.bmp");
    EXPECT_EQ(PathRecordToPosix(r), "/Bilder/M\xC3\xBCller \xE2\x82\xAC.bmp");

    PathRecord back;
    ASSERT_EQ(PathRecordFromPosix("/Bilder/M\xC3\xBCller \xE2\x82\xAC.bmp", &back), 0);
    EXPECT_STREQ(back.drive, "");
    EXPECT_STREQ(back.directory, "\\Bilder\\");
    EXPECT_STREQ(back.name, "M\xFCller \x80");

    // Names the code page cannot hold, bytes that are not UTF-8 and a
    // backslash inside a name cannot be told apart from other files.
    EXPECT_EQ(PathRecordFromPosix("/tmp/\xD0\x96.txt", &back), kErrInvalidName);
    EXPECT_EQ(PathRecordFromPosix("/tmp/\xFC.txt", &back), kErrInvalidName);
    EXPECT_EQ(PathRecordFromPosix("/tmp/a\\b.txt", &back), kErrInvalidName);
    EXPECT_STREQ(back.name, "");
    // A colon is an ordinary character in a host path, not a drive.
    ASSERT_EQ(PathRecordFromPosix("c:x.txt", &back), 0);
    EXPECT_STREQ(back.drive, "");
    EXPECT_STREQ(back.name, "c:x");
}

TEST(PathRecord, OverlongPartsAreRefusedNeverCut)
{
    std::string name255(255, 'n');
    PathRecord r;
    EXPECT_EQ(PathRecordFromString(("/d/" + name255).c_str(), &r), 0);
    EXPECT_EQ(std::strlen(r.name), 255u);

    std::string name256(256, 'n');
    EXPECT_EQ(PathRecordFromString(("/d/" + name256 + ".txt").c_str(), &r), kErrFilenameExceedsRange);
    EXPECT_STREQ(r.name, "");
    EXPECT_STREQ(r.directory, "");
    EXPECT_EQ(PathRecordFromPosix("/" + std::string(300, 'd') + "/x.txt", &r), kErrFilenameExceedsRange);
    EXPECT_EQ(PathRecordFromPosix("/d/x." + std::string(255, 'e'), &r), kErrFilenameExceedsRange);
    EXPECT_EQ(PathRecordToPosix(r), "");
}

TEST(PathRecord, StoredFormIs771BytesAtFixedOffsetsWithCleanPadding)
{
    PathRecord r;
    std::memset(&r, 'Z', sizeof r);  // stale bytes behind the terminators
    std::strcpy(r.drive, "C:");
    std::strcpy(r.directory, "\\dir\\");
    std::strcpy(r.name, "pic");
    std::strcpy(r.extension, ".bmp");

    uint8_t stored[kPathRecordStoredSize + 1];
    stored[kPathRecordStoredSize] = 0xAB;
    PathRecordStore(r, stored);
    EXPECT_EQ(stored[kPathRecordStoredSize], 0xAB);
    EXPECT_EQ(std::memcmp(stored, "C:\0", 3), 0);
    EXPECT_EQ(std::memcmp(stored + 3, "\\dir\\", 6), 0);
    EXPECT_EQ(std::memcmp(stored + 259, "pic", 4), 0);
    EXPECT_EQ(std::memcmp(stored + 515, ".bmp", 5), 0);
    for (size_t i = 515 + 5; i < kPathRecordStoredSize; ++i)
        ASSERT_EQ(stored[i], 0) << i;

    PathRecord loaded;
    PathRecordLoad(stored, &loaded);
    EXPECT_EQ(PathRecordEqual(&r, &loaded), 1);

    // A damaged record without terminators still loads as bounded text.
    std::memset(stored, 'A', kPathRecordStoredSize);
    PathRecordLoad(stored, &loaded);
    EXPECT_EQ(std::strlen(loaded.drive), 2u);
    EXPECT_EQ(std::strlen(loaded.directory), 255u);
    EXPECT_EQ(std::strlen(loaded.extension), 255u);
}

TEST(PathRecord, FileNameIntoASmallBufferReportsTheCut)
{
    PathRecord r = FromString("\\d\\label.lqx");
    char buffer[64];
    EXPECT_EQ(PathRecordGetFileName(&r, buffer, 10), 0);
    EXPECT_STREQ(buffer, "label.lqx");
    EXPECT_EQ(PathRecordGetFileName(&r, buffer, 9), 1);
    EXPECT_STREQ(buffer, "label.lq");
}

TEST(PathRecord, EnterAndLeaveFolderAreInverse)
{
    PathRecord r = FromString("/home/u/.local/share/Korrinworks Inc.");
    PathRecord original = r;
    ASSERT_EQ(PathRecordEnterFolder(&r), 0);
    EXPECT_STREQ(r.directory, "\\home\\u\\.local\\share\\Korrinworks Inc.\\");
    EXPECT_STREQ(r.name, "");
    EXPECT_STREQ(r.extension, "");
    PathRecordLeaveFolder(&r);
    EXPECT_EQ(PathRecordEqual(&r, &original), 1);

    PathRecord root = FromString("\\");
    PathRecordLeaveFolder(&root);
    EXPECT_STREQ(root.directory, "\\");
    EXPECT_STREQ(root.name, "");

    PathRecord deep = FromString(("\\" + std::string(250, 'd') + "\\sub").c_str());
    PathRecord before = deep;
    EXPECT_EQ(PathRecordEnterFolder(&deep), kErrFilenameExceedsRange);
    EXPECT_EQ(PathRecordEqual(&deep, &before), 1);
}

}  // namespace
