// Ghostscript as the program runs it: a page of the asked size, stopped at
// its time limit, not asked for sizes out of range, and not run again for
// the page it has just drawn.
#include <gtest/gtest.h>

#include <QByteArray>

#include <string>

#include "support/needed_tools.h"
#include "graphics/dib_pixels.h"
#include "graphics/ghostscript.h"
#include "support/without_ghostscript.h"

namespace {

TEST(Ghostscript, DrawsThePageAskedForWithinItsTimeLimit)
{
    if (!GhostscriptAvailable())
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is not installed";
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
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is not installed";
    const QByteArray program = "0 0 3 3 rectfill showpage\n";
    DibHandle pages[3] = {};
    int runs = 0;
    {
        CountingGhostscript gs;
        pages[0] = GhostscriptRender(program, 8, 8, 72, 72);
        pages[1] = GhostscriptRender(program, 8, 8, 72, 72);
        pages[2] = GhostscriptRender(program, 8, 8, 36, 36);
        runs = gs.Runs();
    }
    DibHandleOwner first(pages[0]), second(pages[1]), other(pages[2]);
    ASSERT_TRUE(first.get() && second.get() && other.get());
    EXPECT_NE(first.get(), second.get());
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x)
            ASSERT_EQ(DibHandleGetPixel(first.get(), x, y), DibHandleGetPixel(second.get(), x, y));
    EXPECT_EQ(runs, 2);
}

}  // namespace
