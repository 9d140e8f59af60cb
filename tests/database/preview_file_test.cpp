#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "database/field_table.h"
#include "database/preview_file.h"
#include "database/preview_file_format.h"
#include "support/temp_dir.h"

namespace {

TEST(PreviewFile, MissingFileIsCreatedEmptyAndSavedTextsReloadEqual)
{
    TempDir dir;
    PathRecord folder;
    ASSERT_EQ(PathRecordFromPosix(dir.file("x"), &folder), 0);
    SetFieldPreviewText(kFieldFirstName, "keep");
    ASSERT_EQ(LoadSavePreviewFormats(&folder, false), 0);
    EXPECT_EQ(std::filesystem::file_size(dir.file("QXPreview")), kPreviewFileSize);
    EXPECT_STREQ(FieldPreviewText(kFieldFirstName), "");

    SetFieldPreviewText(kFieldFirstName, "Jane");
    SetFieldPreviewText(kFieldCustom6, std::string(300, 'z').c_str());
    ASSERT_EQ(LoadSavePreviewFormats(&folder, true), 0);
    EXPECT_EQ(std::filesystem::file_size(dir.file("QXPreview")), kPreviewFileSize);
    SetFieldPreviewText(kFieldFirstName, "");
    SetFieldPreviewText(kFieldCustom6, "");
    ASSERT_EQ(LoadSavePreviewFormats(&folder, false), 0);
    EXPECT_STREQ(FieldPreviewText(kFieldFirstName), "Jane");
    EXPECT_EQ(std::string(FieldPreviewText(kFieldCustom6)), std::string(255, 'z'));
}

TEST(PreviewFile, ShortFileIsAnErrorAndTheTextsStay)
{
    TempDir dir;
    std::ofstream(dir.file("QXPreview")) << "short";
    PathRecord folder;
    ASSERT_EQ(PathRecordFromPosix(dir.file("x"), &folder), 0);
    SetFieldPreviewText(kFieldCity, "Boston");
    EXPECT_EQ(LoadSavePreviewFormats(&folder, false), 38);
    EXPECT_STREQ(FieldPreviewText(kFieldCity), "Boston");
    SetFieldPreviewText(kFieldCity, "");
}

}  // namespace
