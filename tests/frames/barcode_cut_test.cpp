// A barcode is cut by its label's clip where the clip cuts its ink (bars
// and the glyphs of its caption), with a device unit of slack, upright or
// turned, wherever on the page it stands; the blank of its caption's cell
// below the digits is not ink. The answer comes with the drawing, also
// when a print job gives a drawing again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include <QImage>
#include <QPrinter>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_ink.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_test_util.h"
#include "platform/dc.h"
#include "pdf/pdf_print_job.h"
#include "support/shell.h"

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

// A picture (bars in whole units) or a page of a print job (bars to the
// fraction, where the page's own ink decides; drawings kept and given
// again), in the frame's font.
struct Surface {
    explicit Surface(bool page, int width = 64, int height = 64) : paper(width, height, QImage::Format_RGB32)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(dir.file("cut.pdf")));
        printer.setResolution(96);
        dc = page ? PdfPrintJobDc(&printer) : Dc::ForImage(&paper);
        if (page) {
            EXPECT_TRUE(dc->beginOutput());
        }
        dc->selectFont(FrameFont());
    }
    QImage paper;
    TempDir dir;
    QPrinter printer{QPrinter::HighResolution};
    std::unique_ptr<Dc> dc;
};

// The ink's box as whole units around it.
IntRect InkOf(const BarcodeRecord& rec, bool page = false, int16_t den = 1)
{
    Surface on(page);
    QRectF ink;
    {
        const BarcodeInk tally(on.dc.get(), QRectF());
        DrawBarcode(on.dc.get(), &rec, kNum, den);
        ink = tally.Ink();
    }
    EXPECT_FALSE(ink.isNull());
    return IntRect{int32_t(std::floor(ink.left())), int32_t(std::floor(ink.top())), int32_t(std::ceil(ink.right())),
                   int32_t(std::ceil(ink.bottom()))};
}

// Drawn on a label with the clip given; paper a little larger than the
// clip, its corner at the clip's.
bool CutBy(const IntRect& clip, const BarcodeRecord& rec, bool page = false)
{
    Surface on(page, clip.right - clip.left + 8, clip.bottom - clip.top + 8);
    on.dc->setWindowOrg(clip.left - 4, clip.top - 4);
    on.dc->intersectClipRect(clip.left, clip.top, clip.right, clip.bottom);
    bool cut = false;
    EXPECT_TRUE(DrawBarcode(on.dc.get(), &rec, kNum, 1, &cut));
    return cut;
}

// Bars of a module of four device units are filled, of half a unit drawn as
// lines.
TEST(BarcodeCut, EachEdgeCutsTheInkPastADeviceUnit)
{
    for (const double module : {1.0, 0.125}) {
        for (const double angle : {0.0, 90.0}) {
            for (const IntPoint at : {IntPoint{40, 30}, IntPoint{-90000, 70000}}) {
                BarcodeRecord rec = MakeRecord(kBarcodeCode128, "9400111202555842");
                rec.showText = module == 1.0;
                rec.module = rec.space = module;
                rec.angle = angle;
                rec.originX = rec.centreX = at.x;
                rec.originY = rec.centreY = at.y;
                const IntRect ink = InkOf(rec);
                const IntRect onPage = InkOf(rec, true);
                ASSERT_LT(ink.left, ink.right);
                EXPECT_FALSE(CutBy(ink, rec)) << module << ", " << angle << " at " << at.x;
                EXPECT_FALSE(CutBy(onPage, rec, true)) << module << ", " << angle << " at " << at.x;
                for (int side = 0; side < 4; ++side) {
                    for (const int in : {1, 2}) {
                        IntRect clip = ink;
                        IntRect pageClip = onPage;
                        int32_t* edge[] = {&clip.left, &clip.top, &clip.right, &clip.bottom};
                        int32_t* pageEdge[] = {&pageClip.left, &pageClip.top, &pageClip.right, &pageClip.bottom};
                        *edge[side] += side < 2 ? in : -in;
                        *pageEdge[side] += side < 2 ? in : -in;
                        const std::string where = std::to_string(module) + ", " + std::to_string(angle) + " at " +
                                                  std::to_string(at.x) + ", side " + std::to_string(side);
                        EXPECT_EQ(CutBy(clip, rec), in == 2) << where;
                        EXPECT_EQ(CutBy(pageClip, rec, true), in == 2) << where << " on a page";
                    }
                }
            }
        }
    }
}

// What the tally takes for a barcode's ink is where its pixels are on
// paper, to a unit: bars filled and drawn as lines, digits, upright and
// turned.
TEST(BarcodeCut, TheInkTalliedIsWhereThePaperIsInked)
{
    for (const double module : {1.0, 0.125}) {
        for (const double angle : {0.0, 90.0}) {
            BarcodeRecord rec = MakeRecord(kBarcodeCode128, "9400111202555842");
            rec.showText = 1;
            rec.module = rec.space = module;
            rec.angle = angle;
            rec.originX = rec.centreX = 1000;
            rec.originY = rec.centreY = 1000;
            QImage paper(2000, 2000, QImage::Format_RGB32);
            paper.fill(Qt::white);
            std::unique_ptr<Dc> dc = Dc::ForImage(&paper);
            dc->selectFont(FrameFont());
            // Black bars, as a frame draws them.
            dc->selectBrush(Brush::Solid(kBlack));
            DrawBarcode(dc.get(), &rec, kNum, 1);
            IntRect inked{paper.width(), paper.height(), 0, 0};
            for (int y = 0; y < paper.height(); ++y) {
                const QRgb* row = reinterpret_cast<const QRgb*>(paper.constScanLine(y));
                for (int x = 0; x < paper.width(); ++x) {
                    if (qGray(row[x]) < 128) {
                        inked.left = std::min(inked.left, x);
                        inked.top = std::min(inked.top, y);
                        inked.right = std::max(inked.right, x + 1);
                        inked.bottom = std::max(inked.bottom, y + 1);
                    }
                }
            }
            const IntRect ink = InkOf(rec);
            ASSERT_LT(inked.left, inked.right) << module << ", " << angle;
            EXPECT_NEAR(ink.left, inked.left, 1) << module << ", " << angle;
            EXPECT_NEAR(ink.top, inked.top, 1) << module << ", " << angle;
            EXPECT_NEAR(ink.right, inked.right, 1) << module << ", " << angle;
            EXPECT_NEAR(ink.bottom, inked.bottom, 1) << module << ", " << angle;
        }
    }
}

TEST(BarcodeCut, TheBlankBelowACaptionsDigitsIsNotInk)
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

// A job draws the same barcode at the same place of every card, and gives
// the drawing again from the third card on: the answer found under one
// label's clip, mapping and font comes with it, and is not given under
// another's, nor for a drawing that didn't ask.
TEST(BarcodeCut, AnAnswerFoundForOneLabelIsNotGivenForAnother)
{
    BarcodeRecord rec = MakeRecord(kBarcodeCode128, "9400111202555842");
    rec.showText = 1;
    rec.originX = rec.centreX = 40;
    rec.originY = rec.centreY = 30;
    const IntRect ink = InkOf(rec, true);
    Surface on(true);
    Dc* dc = on.dc.get();
    dc->setWindowOrg(ink.left - 100, ink.top - 100);
    auto cutWithin = [&](const IntRect& clip, int16_t den = 1, int16_t num = kNum) {
        const int32_t saved = dc->saveDc();
        dc->intersectClipRect(clip.left, clip.top, clip.right, clip.bottom);
        bool cut = false;
        EXPECT_TRUE(DrawBarcode(dc, &rec, num, den, &cut));
        dc->restoreDc(saved);
        return cut;
    };
    const IntRect narrow{ink.left, ink.top, ink.right - 2, ink.bottom};
    // A drawing kept without the question is no answer to it.
    for (int card = 0; card < 3; ++card) {
        const int32_t saved = dc->saveDc();
        dc->intersectClipRect(narrow.left, narrow.top, narrow.right, narrow.bottom);
        EXPECT_TRUE(DrawBarcode(dc, &rec, kNum, 1));
        dc->restoreDc(saved);
    }
    // The same label again and again, as the cards of a sheet come.
    for (int card = 0; card < 4; ++card) {
        EXPECT_FALSE(cutWithin(ink)) << card;
        EXPECT_TRUE(cutWithin(narrow)) << card;
    }
    // The same barcode at half the scale fits a label that cuts it whole.
    const IntRect half = InkOf(rec, true, 2);
    ASSERT_LT(half.right, ink.right);
    for (int card = 0; card < 4; ++card) {
        EXPECT_TRUE(cutWithin(half)) << card;
        EXPECT_FALSE(cutWithin(half, 2)) << card;
        EXPECT_FALSE(cutWithin(half, 1, kNum / 2)) << card;
    }
    // The same scale in other terms, then a scale whose denominator
    // differs from it only past its low byte.
    for (int card = 0; card < 3; ++card)
        EXPECT_FALSE(cutWithin(half, 300, 600)) << card;
    EXPECT_TRUE(cutWithin(half, 44, 600));
    // Only the caption's size differs: a smaller one leaves the bars longer.
    for (int card = 0; card < 3; ++card)
        EXPECT_FALSE(cutWithin(ink)) << card;
    const double captionSize = rec.captionSize;
    rec.captionSize = 1;
    EXPECT_TRUE(cutWithin(ink)) << "a smaller caption";
    rec.captionSize = captionSize;
    // The label moved under the barcode: the same clip in logical units,
    // another place for the bars.
    dc->setWindowOrg(ink.left + 296, ink.top - 4);
    const IntRect moved{ink.left + 300, ink.top, ink.right + 300, ink.bottom};
    for (int card = 0; card < 3; ++card)
        EXPECT_TRUE(cutWithin(moved)) << card;
    rec.originX += 300;
    rec.centreX += 300;
    for (int card = 0; card < 3; ++card)
        EXPECT_FALSE(cutWithin(moved)) << card;
}

// What a drawing put on the page as the tally saw it: empty when the
// drawing was given again from a kept one.
QRectF TalliedInk(Dc* dc, const BarcodeRecord& rec)
{
    const BarcodeInk tally(dc, QRectF());
    EXPECT_TRUE(DrawBarcode(dc, &rec, kNum, 1));
    return tally.Ink();
}

TEST(BarcodeCut, ABarcodeRepeatedOnEveryCardIsGivenAgainAndAnotherIsDrawn)
{
    BarcodeRecord rec = MakeRecord(kBarcodeCode128, "9400111202555842");
    rec.originX = rec.centreX = 40;
    rec.originY = rec.centreY = 30;
    Surface on(true);
    // Drawn on the first two cards, given again from the third on.
    EXPECT_FALSE(TalliedInk(on.dc.get(), rec).isNull());
    EXPECT_FALSE(TalliedInk(on.dc.get(), rec).isNull());
    EXPECT_TRUE(TalliedInk(on.dc.get(), rec).isNull());
    // The next record's number at the same place, differing in its first
    // digit only, is its own drawing.
    BarcodeRecord next = MakeRecord(kBarcodeCode128, "8400111202555842");
    next.originX = next.centreX = rec.originX;
    next.originY = next.centreY = rec.originY;
    EXPECT_FALSE(TalliedInk(on.dc.get(), next).isNull());
}

}  // namespace
