// Shared pieces of the frame-storage tests: a fresh folder with a swap file
// in it, scratch files for sections, and the check that no "KPX" file is
// left behind.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "frames/ctfile_mng.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

inline PathRecord FolderRecord(const std::string& folder)
{
    PathRecord r{};
    EXPECT_EQ(PathRecordFromPosix(folder + "/", &r), 0);
    return r;
}

inline int CountSwapNames(const std::string& folder)
{
    return int(QDir(QString::fromStdString(folder)).entryList({"KPX*"}, QDir::Files).size());
}

// A file of the test folder, open for reading and writing; closed with the
// object.
class ScratchFile {
public:
    ScratchFile(const TempDir& dir, const std::string& name)
    {
        PathRecord r{};
        EXPECT_EQ(PathRecordFromPosix(dir.file(name), &r), 0);
        EXPECT_EQ(FileCreate(&r, kFileReadWrite, &file_), 0);
        record_ = r;
    }
    ~ScratchFile() { FileClose(file_); }
    FileHandle get() const { return file_; }
    const PathRecord& record() const { return record_; }
    std::vector<uint8_t> Bytes() const { return FileBytes(file_); }
    void Put(const std::vector<uint8_t>& bytes)
    {
        FileSetSize(file_, 0);
        FileSeek(file_, kSeekStart, 0);
        if (!bytes.empty())
            FileWrite(file_, bytes.data(), uint32_t(bytes.size()));
        FileSeek(file_, kSeekStart, 0);
    }

private:
    FileHandle file_ = kNoFile;
    PathRecord record_{};
};

// A test with its own folder and a swap file made there; the folder must be
// free of "KPX" names at the end.
class SwapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.ok());
        ASSERT_EQ(swap_.CreateSwapFile(FolderRecord(dir_.path())), 0);
    }
    void TearDown() override { EXPECT_EQ(CountSwapNames(dir_.path()), 0); }

    TempDir dir_;
    CTFileMng swap_;
};
