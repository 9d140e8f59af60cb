// The pictures tessaline-tool's sheet commands write for a reviewer, read
// back for the tests that check them.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <string>

#include "support/shell.h"
#include "support/temp_dir.h"

// Runs the sheet command in the folder, writing sheet.png; the picture.
inline void RunSheetCommand(const TempDir& dir, const std::string& command, QImage* sheet)
{
    ASSERT_EQ(Shell(dir, "\"$T\" " + command + " sheet.png 2>/dev/null"), 0);
    *sheet = QImage(QString::fromStdString(dir.path() + "/sheet.png"));
    ASSERT_FALSE(sheet->isNull());
}
