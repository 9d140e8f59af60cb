// Plain host-side file access for the file layer's tests, which must not
// check the layer with itself.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "foundation/path_record.h"

inline PathRecord Rec(const std::string& path)
{
    PathRecord r;
    EXPECT_EQ(PathRecordFromPosix(path, &r), 0) << path;
    return r;
}

inline void PutFile(const std::string& path, const std::string& bytes = "x")
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// The file's bytes, or "<missing>".
inline std::string FileText(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return "<missing>";
    std::string bytes;
    for (int c; (c = std::fgetc(f)) != EOF;)
        bytes += char(c);
    std::fclose(f);
    return bytes;
}
