// A test that writes into one new file in a folder of its own, and reads
// back what was written.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

class NewFileTest : public ::testing::Test {
protected:
    explicit NewFileTest(std::string name) : name_(std::move(name)) {}
    void SetUp() override
    {
        ASSERT_TRUE(dir.ok());
        ASSERT_EQ(PathRecordFromPosix(dir.file(name_), &path), 0);
        ASSERT_EQ(FileCreate(&path, kFileReadWrite, &file), 0);
    }
    void TearDown() override { FileClose(file); }
    std::vector<uint8_t> Bytes() const { return FileBytes(file); }

    TempDir dir;
    PathRecord path{};
    FileHandle file = kNoFile;

private:
    std::string name_;
};
