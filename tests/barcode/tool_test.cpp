// tessaline-tool barcode, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include <QImage>

#include "render_support.h"
#include "support/temp_dir.h"

namespace {

int Tool(const std::string& args)
{
    const char* tool = std::getenv("TESSALINE_TOOL");
    const std::string line = std::string("'") + (tool ? tool : "tessaline-tool") + "' barcode " + args + " 2>/dev/null";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(BarcodeTool, DrawsOnePictureAndRefusesBadOptions)
{
    TempDir dir;
    const std::string out = dir.file("ean.png");
    ASSERT_EQ(Tool("--type 11 --data 400638133393 --caption --module 0.96 --angle 90 --dpi 600 --out '" + out + "'"), 0);
    QImage image(QString::fromStdString(out));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.height(), image.width());  // turned a quarter
    if (HaveProgram("zbarimg")) {
        std::string text;
        ASSERT_TRUE(RunProgram("zbarimg", {"-q", "--raw", out}, &text));
        EXPECT_EQ(text, "4006381333931\n");
    }

    // Data that does not encode still gives the picture of the failure box.
    const std::string bad = dir.file("bad.png");
    EXPECT_EQ(Tool("--type 12 --data 123456 --out '" + bad + "'"), 1);
    EXPECT_FALSE(QImage(QString::fromStdString(bad)).isNull());

    for (const char* args : {"--type 16 --data 1 --out x.png", "--type 7 --data A", "--type 7 --out x.png",
                             "--type 7 --data A --dpi 0 --out x.png", "--type 7 --data A --module -1 --out x.png",
                             "--type 7 --data A --bogus --out x.png"})
        EXPECT_EQ(Tool(args), 1) << args;
}

}  // namespace
