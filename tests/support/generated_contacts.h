// A database of contacts that tessaline-tool generates, the same ones every
// run, for tests that print or merge many records.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "database/db_document.h"
#include "foundation/path_record.h"
#include "support/shell.h"
#include "support/temp_dir.h"

// Makes people.dqx in the folder with n contacts and opens it into
// *database.
inline void OpenGeneratedContacts(const TempDir& folder, int n, std::unique_ptr<DbDocument>* database)
{
    std::string command = "\"$T\" db new people.dqx && \"$T\" db fill people.dqx ";
    command += std::to_string(n);
    command += " --seed 7 >/dev/null";
    ASSERT_EQ(Shell(folder, command), 0);
    *database = std::make_unique<DbDocument>();
    PathRecord path{};
    ASSERT_EQ(PathRecordFromPosix(folder.file("people.dqx"), &path), 0);
    ASSERT_TRUE((*database)->Open(path));
}
