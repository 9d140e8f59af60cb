// tessaline-tool barcode, run as a user runs it.
#include <gtest/gtest.h>

#include <string>

#include <QImage>

#include "render_support.h"
#include "support/shell.h"

namespace {

TEST(BarcodeTool, DrawsOnePictureAndRefusesBadOptions)
{
    TempDir dir;
    auto tool = [&](const std::string& args) { return Shell(dir, "\"$T\" barcode " + args + " 2>/dev/null"); };
    ASSERT_EQ(tool("--type 11 --data 400638133393 --caption --module 0.96 --angle 90 --dpi 600 --out ean.png"), 0);
    QImage image(QString::fromStdString(dir.file("ean.png")));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.height(), image.width());  // turned a quarter
    if (HaveProgram("zbarimg")) {
        std::string text;
        ASSERT_TRUE(RunProgram("zbarimg", {"-q", "--raw", dir.file("ean.png")}, &text));
        EXPECT_EQ(text, "4006381333931\n");
    }

    // Data that does not encode still gives the picture of the failure box,
    // and the tool says why.
    EXPECT_EQ(tool("--type 12 --data 123456 --out bad.png"), 1);
    EXPECT_FALSE(QImage(QString::fromStdString(dir.file("bad.png"))).isNull());
    // A retail number typed with its check digit is the same symbol; a
    // wrong check digit is refused, naming the right one.
    ASSERT_EQ(tool("--type 11 --data 4006381333931 --out typed.png"), 0);
    EXPECT_EQ(Shell(dir, "\"$T\" barcode --type 11 --data 4006381333932 --out wrong.png 2>why.txt"), 1);
    EXPECT_NE(ReadFileBytes(dir.file("why.txt")).find("the check digit 2 is wrong: it should be 1"),
              std::string::npos)
        << ReadFileBytes(dir.file("why.txt"));

    for (const char* args : {"--type 16 --data 1 --out x.png", "--type 7 --data A", "--type 7 --out x.png",
                             "--type 7 --data A --dpi 0 --out x.png", "--type 7 --data A --module -1 --out x.png",
                             "--type 7 --data A --bogus --out x.png"})
        EXPECT_EQ(tool(args), 1) << args;
}

}  // namespace
