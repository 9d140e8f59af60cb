// A test of one database file in a folder of its own, with the message
// boxes it brings up captured.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "db_test_util.h"
#include "foundation/path_record.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

class DatabaseFileTest : public ::testing::Test {
protected:
    explicit DatabaseFileTest(std::string name) : name_(std::move(name)) {}
    void SetUp() override
    {
        file = dir.file(name_);
        path = DbPath(file);
    }

    TempDir dir;
    AlertCapture capture;
    std::string file;
    PathRecord path;

private:
    std::string name_;
};
