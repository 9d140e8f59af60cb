#include <gtest/gtest.h>

#include <QImage>

#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

TEST(DialogShotC, WritesAPictureOfEachDialogAndRefusesUnknownNames)
{
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    for (const char* name : {"counter", "quick-card", "quick-card-layout", "preferences", "export-db",
                             "report-db", "import-db"}) {
        const std::string out = std::string(name) + ".png";
        ASSERT_EQ(Shell(dir, "\"$T\" dialog-shot-c " + std::string(name) + " " + out + " 2>/dev/null"), 0) << name;
        const QImage image(QString::fromStdString(dir.file(out)));
        EXPECT_GT(image.width(), 100) << name;
        EXPECT_GT(image.height(), 100) << name;
    }
    EXPECT_NE(Shell(dir, "\"$T\" dialog-shot-c nothing x.png 2>/dev/null"), 0);
    EXPECT_NE(Shell(dir, "\"$T\" dialog-shot-c counter 2>/dev/null"), 0);
}

}  // namespace
