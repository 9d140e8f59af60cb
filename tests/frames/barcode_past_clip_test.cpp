// A barcode is cut by its label's clip where the clip cuts its ink (bars
// and the glyphs of its caption), with a device unit of slack, upright or
// turned, wherever on the page it stands; the blank of its caption's cell
// below the digits is not ink.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include <QImage>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_test_util.h"
#include "frames/barcode_past_clip.h"
#include "platform/dc.h"
#include "platform/ink_bounds_recorder.h"

namespace {

constexpr int16_t kNum = 4;

// The frame's font, whose face the caption takes.
LogFont FrameFont()
{
    LogFont font;
    std::strncpy(font.faceName, "Courier New", sizeof font.faceName - 1);
    font.height = -48;
    return font;
}

// The ink's box as whole units around it.
IntRect InkOf(const BarcodeRecord& rec)
{
    InkBoundsRecorder ink;
    std::unique_ptr<Dc> probe = Dc::ForRecording(&ink, 96, IntSize{1 << 20, 1 << 20});
    ink.Attach(probe.get());
    probe->setWindowOrg(-(1 << 19), -(1 << 19));
    probe->selectFont(FrameFont());
    DrawBarcode(probe.get(), &rec, kNum, 1);
    const QRectF box = ink.Ink();
    return IntRect{int32_t(std::floor(box.left())), int32_t(std::floor(box.top())), int32_t(std::ceil(box.right())),
                   int32_t(std::ceil(box.bottom()))};
}

bool CutBy(const IntRect& clip, const BarcodeRecord& rec)
{
    // Paper a little larger than the clip, its corner at the clip's.
    QImage paper(clip.right - clip.left + 8, clip.bottom - clip.top + 8, QImage::Format_RGB32);
    std::unique_ptr<Dc> dc = Dc::ForImage(&paper);
    dc->setWindowOrg(clip.left - 4, clip.top - 4);
    dc->selectFont(FrameFont());
    dc->intersectClipRect(clip.left, clip.top, clip.right, clip.bottom);
    return BarcodeRunsPastClip(dc.get(), rec, kNum, 1);
}

// Bars of a module of four device units are filled, of one unit drawn as
// lines.
TEST(BarcodePastClip, EachEdgeCutsTheInkPastADeviceUnit)
{
    for (const double module : {1.0, 0.25}) {
        for (const double angle : {0.0, 90.0}) {
            for (const IntPoint at : {IntPoint{40, 30}, IntPoint{-90000, 70000}}) {
                BarcodeRecord rec = MakeRecord(kBarcodeCode128, "9400111202555842");
                rec.showText = module == 1.0;
                rec.module = rec.space = module;
                rec.angle = angle;
                rec.originX = rec.centreX = at.x;
                rec.originY = rec.centreY = at.y;
                const IntRect ink = InkOf(rec);
                ASSERT_LT(ink.left, ink.right);
                EXPECT_FALSE(CutBy(ink, rec)) << module << ", " << angle << " at " << at.x;
                for (int side = 0; side < 4; ++side) {
                    for (const int in : {1, 2}) {
                        IntRect clip = ink;
                        int32_t* edge[] = {&clip.left, &clip.top, &clip.right, &clip.bottom};
                        *edge[side] += side < 2 ? in : -in;
                        EXPECT_EQ(CutBy(clip, rec), in == 2)
                            << module << ", " << angle << " at " << at.x << ", side " << side;
                    }
                }
            }
        }
    }
}

TEST(BarcodePastClip, TheBlankBelowACaptionsDigitsIsNotInk)
{
    BarcodeRecord rec = MakeRecord(kBarcodeCode128, "9400111202555842");
    rec.showText = 1;
    rec.originX = rec.centreX = 40;
    rec.originY = rec.centreY = 30;
    const IntRect ink = InkOf(rec);
    BarcodeRecord measured = rec;
    IntRect bounds;
    std::unique_ptr<Dc> dc = Dc::ForMeasuring();
    MeasureBarcode(dc.get(), &measured, &bounds, kNum, 1);
    // The caption's cell ends below its digits' glyphs.
    ASSERT_GT(rec.originY + bounds.bottom, ink.bottom + 2);
    EXPECT_FALSE(CutBy(IntRect{ink.left, ink.top, ink.right, ink.bottom}, rec));
}

}  // namespace
