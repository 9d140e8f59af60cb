// pack and unpack, checked against gzip and Python's zlib.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/temp_dir.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A path for the shell; the temporary folders hold no quotes.
std::string Quoted(const std::string& path)
{
    std::string q = "'";
    q += path;
    q += '\'';
    return q;
}

// The exit status of a shell command line.
int Shell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class PackTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* tool = std::getenv("TESSALINE_TOOL");
        ASSERT_TRUE(tool) << "TESSALINE_TOOL is not set";
        tool_ = Quoted(tool);
        ASSERT_TRUE(dir_.ok());
        // Every byte value, CR LF and NUL runs, then text: a binary-unsafe
        // pipe would change it.
        for (int i = 0; i < 4096; ++i)
            input_ += char(i * 7 % 256);
        input_ += std::string(5000, '\0') + "\r\n\x1A\r\r\n";
        for (int i = 0; i < 2000; ++i)
            input_ += "Label " + std::to_string(i) + " of the sheet\n";
        WriteFile(path("input"), input_);
    }

    std::string file(const std::string& name) const { return Quoted(dir_.file(name)); }
    std::string path(const std::string& name) const { return dir_.file(name); }
    int Tool(const std::string& args) { return Shell(tool_ + " " + args); }
    int Unpack(const std::string& container)
    {
        WriteFile(path("container"), container);
        return Tool("unpack < " + file("container") + " > " + file("output") + " 2> " + file("errors"));
    }

    TempDir dir_;
    std::string tool_;
    std::string input_;
};

TEST_F(PackTool, OutputIsAGzipMemberWithoutItsHeader)
{
    ASSERT_EQ(Tool("pack < " + file("input") + " > " + file("packed")), 0);
    ASSERT_EQ(Tool("unpack < " + file("packed") + " > " + file("output")), 0);
    EXPECT_TRUE(ReadFile(path("output")) == input_);

    WriteFile(path("packed.gz"), std::string("\x1f\x8b\x08\0\0\0\0\0\0\xff", 10) + ReadFile(path("packed")));
    EXPECT_EQ(Shell("gzip -t " + file("packed.gz")), 0);

    const std::string check =
        "import sys, zlib, struct\n"
        "c = open(sys.argv[1], 'rb').read(); f = open(sys.argv[2], 'rb').read()\n"
        "d = zlib.decompressobj(-15); out = d.decompress(c[:-8]) + d.flush()\n"
        "assert d.eof and not d.unused_data, 'stream'\n"
        "assert out == f, 'bytes'\n"
        "assert struct.unpack('<II', c[-8:]) == (zlib.crc32(f), len(f)), 'trailer'\n";
    WriteFile(path("check.py"), check);
    EXPECT_EQ(Shell("python3 " + file("check.py") + " " + file("packed") + " " + file("input")), 0);
}

TEST_F(PackTool, ExpandsContainersMadeByZlibAtAnyLevel)
{
    const std::string make =
        "import sys, zlib, struct\n"
        "f = open(sys.argv[1], 'rb').read()\n"
        "for level in (0, 1, 9):\n"
        "    z = zlib.compressobj(level, zlib.DEFLATED, -15)\n"
        "    c = z.compress(f) + z.flush() + struct.pack('<II', zlib.crc32(f), len(f))\n"
        "    open(sys.argv[2] + str(level), 'wb').write(c)\n";
    WriteFile(path("make.py"), make);
    ASSERT_EQ(Shell("python3 " + file("make.py") + " " + file("input") + " " + file("zlib")), 0);
    for (const char* level : {"0", "1", "9"}) {
        EXPECT_EQ(Unpack(ReadFile(path(std::string("zlib") + level))), 0) << level;
        EXPECT_TRUE(ReadFile(path("output")) == input_) << level;
    }
}

TEST_F(PackTool, DamagedInputFailsWithTheCodecsResultAndMessage)
{
    ASSERT_EQ(Tool("pack 9 < " + file("input") + " > " + file("packed")), 0);
    const std::string packed = ReadFile(path("packed"));

    EXPECT_EQ(Unpack(packed.substr(0, packed.size() / 2)), 22);
    EXPECT_NE(ReadFile(path("errors")).find("IO FILE ERORR [38]"), std::string::npos);

    std::string b = packed;
    b[b.size() - 1] ^= 1;
    EXPECT_EQ(Unpack(b), 23);
    EXPECT_NE(ReadFile(path("errors")).find("invalid compressed data--length error"), std::string::npos);

    b = packed;
    b[b.size() - 5] ^= 1;
    EXPECT_EQ(Unpack(b), 23);
    EXPECT_NE(ReadFile(path("errors")).find("invalid compressed data--crc error"), std::string::npos);
    EXPECT_TRUE(ReadFile(path("output")).empty());

    EXPECT_EQ(Unpack(ReadFile(path("input"))), 23);
    EXPECT_NE(Tool("pack fast < " + file("input") + " > /dev/null 2>&1"), 0);
}

}  // namespace
