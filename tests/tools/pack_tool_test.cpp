// pack and unpack, checked against gzip and Python's zlib.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/shell.h"

namespace {

// Every byte value, CR LF, ^Z and NUL runs, then text: a pipe that is not
// binary-safe would change it.
std::string Input()
{
    std::string s;
    for (int i = 0; i < 4096; ++i)
        s += char(i * 7 % 256);
    s += std::string(5000, '\0') + "\r\n\x1A\r\r\n";
    for (int i = 0; i < 2000; ++i)
        s += "Label " + std::to_string(i) + " of the sheet\n";
    return s;
}

TEST(PackTool, AgreesWithGzipAndZlib)
{
    TempDir dir;
    const std::string input = Input();
    WriteFileBytes(dir.file("input"), input);
    ASSERT_EQ(Shell(dir, "\"$T\" pack < input > packed && \"$T\" unpack < packed > output"), 0);
    EXPECT_TRUE(ReadFileBytes(dir.file("output")) == input);

    WriteFileBytes(dir.file("packed.gz"), std::string("\x1f\x8b\x08\0\0\0\0\0\0\xff", 10) + ReadFileBytes(dir.file("packed")));
    EXPECT_EQ(Shell(dir, "gzip -t packed.gz"), 0);

    // Python inflates our container and makes one of its own for unpack.
    WriteFileBytes(dir.file("check.py"),
              "import zlib, struct\n"
              "c = open('packed', 'rb').read(); f = open('input', 'rb').read()\n"
              "d = zlib.decompressobj(-15); out = d.decompress(c[:-8]) + d.flush()\n"
              "assert d.eof and not d.unused_data and out == f\n"
              "assert struct.unpack('<II', c[-8:]) == (zlib.crc32(f), len(f))\n"
              "z = zlib.compressobj(9, zlib.DEFLATED, -15)\n"
              "open('theirs', 'wb').write(z.compress(f) + z.flush() + c[-8:])\n");
    ASSERT_EQ(Shell(dir, "python3 check.py"), 0);
    ASSERT_EQ(Shell(dir, "\"$T\" unpack < theirs > output"), 0);
    EXPECT_TRUE(ReadFileBytes(dir.file("output")) == input);
}

TEST(PackTool, DamagedInputExitsWithTheCodecsResultAndMessage)
{
    TempDir dir;
    WriteFileBytes(dir.file("input"), Input());
    ASSERT_EQ(Shell(dir, "\"$T\" pack 9 < input > packed"), 0);
    const std::string packed = ReadFileBytes(dir.file("packed"));

    WriteFileBytes(dir.file("cut"), packed.substr(0, packed.size() / 2));
    EXPECT_EQ(Shell(dir, "\"$T\" unpack < cut > output 2> errors"), 22);
    EXPECT_NE(ReadFileBytes(dir.file("errors")).find("IO FILE ERROR [38]"), std::string::npos);

    std::string crc = packed;
    crc[crc.size() - 5] ^= 1;
    WriteFileBytes(dir.file("crc"), crc);
    EXPECT_EQ(Shell(dir, "\"$T\" unpack < crc > output 2> errors"), 23);
    EXPECT_NE(ReadFileBytes(dir.file("errors")).find("invalid compressed data--crc error"), std::string::npos);
    EXPECT_TRUE(ReadFileBytes(dir.file("output")).empty());
    EXPECT_NE(Shell(dir, "\"$T\" pack fast < input > /dev/null 2>&1"), 0);
}

}  // namespace
