// resfile list on a good, a damaged and a missing file.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "foundation/byte_order.h"
#include "support/shell.h"

namespace {

std::string U32(uint32_t v)
{
    uint8_t b[4];
    PutU32LE(b, v);
    return std::string(reinterpret_cast<char*>(b), 4);
}

TEST(ResfileTool, ListsEveryResourceAndRefusesWhatIsNoResourceFile)
{
    TempDir dir;
    // Two groups: 'tmpl' with ids -3 and 12, and a type of unprintable bytes.
    const std::string file = "FSER" + std::string(12, '\0') + U32(2) + U32(FourCC("tmpl")) + U32(2) +
                             U32(uint32_t(-3)) + U32(2) + U32(72) + U32(12) + U32(1) + U32(74) + U32(0x01414202) +
                             U32(1) + U32(7) + U32(3) + U32(75) + "ab" + "c" + "def";
    WriteFileBytes(dir.file("good.res"), file);
    ASSERT_EQ(Shell(dir, "\"$T\" resfile list good.res > out"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("out")), "tmpl -3 2 72\ntmpl 12 1 74\n.AB. 7 3 75\n");
    EXPECT_EQ(ReadFileBytes(dir.file("good.res")), file);

    WriteFileBytes(dir.file("damaged.res"), file.substr(0, file.size() - 1));
    EXPECT_EQ(Shell(dir, "\"$T\" resfile list damaged.res > out 2> errors"), 1);
    EXPECT_EQ(ReadFileBytes(dir.file("out")), "");
    EXPECT_NE(ReadFileBytes(dir.file("errors")).find("damaged.res: not a resource file"), std::string::npos);
    EXPECT_EQ(Shell(dir, "\"$T\" resfile list missing.res 2> errors"), 1);
    EXPECT_NE(ReadFileBytes(dir.file("errors")).find("no such file [2]"), std::string::npos);
    EXPECT_EQ(Shell(dir, "\"$T\" resfile list 2> errors"), 1);
    EXPECT_EQ(Shell(dir, "\"$T\" resfile list . 2> errors"), 1);
}

}  // namespace
