#include <gtest/gtest.h>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "graphics/dib_format.h"
#include "graphics/dib_handle.h"
#include "graphics/dib_pixels.h"
#include "graphics/offscreen_dc.h"
#include "shapes_test_support.h"

namespace {

class Offscreen : public ::testing::Test {
protected:
    void TearDown() override
    {
        OffscreenInjectSectionLimit(-1);
        MemInjectAllocationFailure(-1);
    }
    ShapeCanvas target{40, 40};
};

TEST_F(Offscreen, DrawsAtTheTargetsCoordinatesAndHandsOverABottomUpPicture)
{
    target.dc->setTextColor(MakeRgb(1, 2, 3));
    target.dc->setTextAlign(TA_BASELINE | TA_UPDATECP);
    OffscreenDC off(target.dc.get());
    EXPECT_EQ(off.GetSafeHdc(), nullptr);
    IntRect covered;
    ASSERT_EQ(off.Begin(10, 20, 29, 34, MakeRgb(255, 0, 0), &covered, false), 0);
    EXPECT_TRUE(covered.left == 10 && covered.top == 20 && covered.right == 30 && covered.bottom == 35);
    Dc* dc = off.GetSafeHdc();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->textColor(), MakeRgb(1, 2, 3));
    EXPECT_EQ(dc->textAlign(), uint32_t(TA_BASELINE | TA_UPDATECP));
    dc->setPixel(10, 20, MakeRgb(0, 0, 255));
    dc->setPixel(29, 34, MakeRgb(0, 255, 0));

    DibHandleOwner out;
    EXPECT_EQ(off.End(out.get()), 0);
    EXPECT_EQ(off.GetSafeHdc(), nullptr);
    ASSERT_EQ(DibHandleIsEmpty(out.get()), 0);
    EXPECT_EQ(DibHandleWidth(out.get()), 20);
    EXPECT_EQ(DibHandleHeight(out.get()), 15);
    const DibRecord* r = DibHandleBlockSlot(out.get());
    EXPECT_EQ(GetU16LE(r->block + kBiBitCount), 24);
    EXPECT_EQ(GetU32LE(r->block + kBiSizeImage), 60u * 15u);
    EXPECT_EQ(GetU32LE(r->block + kBiClrUsed), 0u);
    EXPECT_EQ(DibHandleGetPixel(out.get(), 0, 0), MakeRgb(0, 0, 255));
    EXPECT_EQ(DibHandleGetPixel(out.get(), 19, 14), MakeRgb(0, 255, 0));
    EXPECT_EQ(DibHandleGetPixel(out.get(), 5, 5), MakeRgb(255, 0, 0));
    // The last stored row is the top one.
    EXPECT_EQ(r->bits[14 * 60 + 0], 255);
    // Nothing open: nothing to hand over.
    EXPECT_EQ(off.End(out.get()), 1);
    EXPECT_EQ(DibHandleIsEmpty(out.get()), 1);
}

TEST_F(Offscreen, RefusesAnEmptyRectangleAndASecondBegin)
{
    OffscreenDC off(target.dc.get());
    EXPECT_EQ(off.Begin(10, 10, 9, 20, kWhite, nullptr, true), 1);
    ASSERT_EQ(off.Begin(0, 0, 3, 3, kWhite, nullptr, false), 0);
    EXPECT_EQ(off.Begin(0, 0, 3, 3, kWhite, nullptr, false), 1);
    EXPECT_EQ(off.End(nullptr), 0);
}

TEST_F(Offscreen, ShrinksALargeSectionByOneFactorAcrossAndDown)
{
    OffscreenDC off(target.dc.get());
    IntRect covered;
    // 3000 x 2000 at 24 bits is 18 MB: divided by sqrt(3).
    ASSERT_EQ(off.Begin(0, 0, 2999, 1999, kWhite, &covered, true), 0);
    EXPECT_EQ(covered.right, 1732);
    EXPECT_EQ(covered.bottom, 1154);
    off.End(nullptr);

    // Without leave to shrink, a section that cannot be made fails.
    OffscreenInjectSectionLimit(1000);
    EXPECT_EQ(off.Begin(0, 0, 99, 99, kWhite, &covered, false), 1);
    EXPECT_EQ(off.state(), OffscreenDC::kIdle);
}

TEST_F(Offscreen, TheShrinkLoopAlwaysAsksForLessAndEnds)
{
    OffscreenDC off(target.dc.get());
    IntRect covered;
    // 5.4 MB: the factor is 1, so only halving makes it smaller.
    OffscreenInjectSectionLimit(5000000);
    ASSERT_EQ(off.Begin(0, 0, 1499, 1199, kWhite, &covered, true), 0);
    EXPECT_EQ(covered.right, 750);
    EXPECT_EQ(covered.bottom, 600);
    off.End(nullptr);

    OffscreenInjectSectionLimit(0);
    EXPECT_EQ(off.Begin(0, 0, 1499, 1199, kWhite, &covered, true), 1);
    OffscreenInjectSectionLimit(-1);

    // The picture's memory itself runs out every time.
    MemInjectAllocationFailure(2);
    EXPECT_EQ(off.Begin(0, 0, 1499, 1199, kWhite, &covered, true), 1);
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(off.state(), OffscreenDC::kIdle);
    EXPECT_EQ(off.Begin(0, 0, 9, 9, kWhite, &covered, true), 0);
}

TEST_F(Offscreen, MetafileFrameTakesXAcrossAndYDown)
{
    // 96 pixels an inch across, 192 down.
    QImage reference(960, 1920, QImage::Format_RGB32);
    reference.setDotsPerMeterX(3780);
    reference.setDotsPerMeterY(7559);
    const auto dc = Dc::ForImage(&reference);
    const IntRect frame = MetafileFrameOfPixels(*dc, IntRect{96, 192, 192, 384});
    EXPECT_EQ(frame.left, 2540);
    EXPECT_EQ(frame.top, 2540);
    EXPECT_EQ(frame.right, 5080);
    EXPECT_EQ(frame.bottom, 5080);

    // A device without a size measures by its logical resolution.
    const auto measuring = Dc::ForMeasuring(254);
    const IntRect m = MetafileFrameOfPixels(*measuring, IntRect{0, 0, 254, 508});
    EXPECT_TRUE(m.right == 2540 && m.bottom == 5080);
}

}  // namespace
