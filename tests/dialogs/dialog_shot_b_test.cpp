#include <gtest/gtest.h>

#include <QImage>

#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

TEST(DialogShotB, WritesAPictureOfEachDialogAndRefusesUnknownNames)
{
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    for (const char* name : {"alignment", "barcode-info", "create-color", "find-replace", "font-replacement",
                             "picture-preview", "sheet-preview", "star-info"}) {
        const std::string out = std::string(name) + ".png";
        ASSERT_EQ(Shell(dir, "\"$T\" dialog-shot-b " + std::string(name) + " " + out + " 2>/dev/null"), 0) << name;
        const QImage image(QString::fromStdString(dir.file(out)));
        EXPECT_GT(image.width(), 100) << name;
        EXPECT_GT(image.height(), 100) << name;
    }
    EXPECT_NE(Shell(dir, "\"$T\" dialog-shot-b nothing x.png 2>/dev/null"), 0);
    EXPECT_NE(Shell(dir, "\"$T\" dialog-shot-b star-info 2>/dev/null"), 0);
}

}  // namespace
