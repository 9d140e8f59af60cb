// Ghostscript as the program runs it: a page of the asked size, stopped at
// its time limit, not asked for sizes out of range, and not run again for
// the page it has just drawn.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QStandardPaths>

#include <string>

#include "graphics/dib_pixels.h"
#include "graphics/ghostscript.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

TEST(Ghostscript, DrawsThePageAskedForWithinItsTimeLimit)
{
    if (!GhostscriptAvailable())
        GTEST_SKIP() << "Ghostscript is not installed";
    DibHandleOwner page(GhostscriptRender("0 0 5 10 rectfill showpage\n", 10, 10, 72, 72));
    ASSERT_TRUE(page.get());
    EXPECT_EQ(DibHandleWidth(page.get()), 10);
    EXPECT_EQ(DibHandleGetPixel(page.get(), 2, 5), 0u);
    EXPECT_EQ(DibHandleGetPixel(page.get(), 7, 5), kWhite);
    // At 144 pixels an inch the same square covers twice as many pixels.
    DibHandleOwner fine(GhostscriptRender("0 0 5 10 rectfill showpage\n", 20, 20, 144, 144));
    ASSERT_TRUE(fine.get());
    EXPECT_EQ(DibHandleGetPixel(fine.get(), 9, 5), 0u);
    EXPECT_EQ(DibHandleGetPixel(fine.get(), 11, 5), kWhite);

    EXPECT_EQ(GhostscriptRender("{} loop\n", 10, 10, 72, 72, 300), nullptr);
    EXPECT_EQ(GhostscriptRender("nosuchoperator showpage\n", 10, 10, 72, 72), nullptr);
    EXPECT_EQ(GhostscriptRender("showpage\n", 0, 10, 72, 72), nullptr);
    EXPECT_EQ(GhostscriptRender("showpage\n", 100000, 100000, 72, 72), nullptr);
    EXPECT_EQ(GhostscriptRender("showpage\n", 10, 10, 0, 72), nullptr);
}

TEST(Ghostscript, ThePageJustDrawnComesAgainWithoutRunningGs)
{
    if (!GhostscriptAvailable())
        GTEST_SKIP() << "Ghostscript is not installed";
    // A gs on the PATH that counts its runs and hands over to the real one.
    TempDir dir;
    const std::string real = QStandardPaths::findExecutable("gs").toStdString();
    WriteFileBytes(dir.file("gs"), "#!/bin/sh\necho run >> '" + dir.file("runs") + "'\nexec '" + real + "' \"$@\"\n");
    QFile::setPermissions(QString::fromStdString(dir.file("gs")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(dir.path()));

    const QByteArray program = "0 0 3 3 rectfill showpage\n";
    DibHandleOwner first(GhostscriptRender(program, 8, 8, 72, 72));
    DibHandleOwner second(GhostscriptRender(program, 8, 8, 72, 72));
    DibHandleOwner other(GhostscriptRender(program, 8, 8, 36, 36));
    qputenv("PATH", path);
    ASSERT_TRUE(first.get() && second.get() && other.get());
    EXPECT_NE(first.get(), second.get());
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x)
            ASSERT_EQ(DibHandleGetPixel(first.get(), x, y), DibHandleGetPixel(second.get(), x, y));
    EXPECT_EQ(ReadFileBytes(dir.file("runs")), "run\nrun\n");
}

}  // namespace
