// A barcode is cut by its label's clip where the clip cuts its ink (bars
// and the glyphs of its caption), with a device unit of slack, upright or
// turned, wherever on the page it stands; the blank of its caption's cell
// below the digits is not ink.
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
#include "frames/barcode_past_clip.h"
#include "platform/dc.h"
#include "pdf/pdf_print_job.h"
#include "platform/ink_bounds_recorder.h"
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

// The ink's box as whole units around it.
IntRect InkOf(const BarcodeRecord& rec, int16_t den = 1)
{
    InkBoundsRecorder ink;
    std::unique_ptr<Dc> probe = Dc::ForRecording(&ink, 96, IntSize{1 << 20, 1 << 20});
    ink.Attach(probe.get());
    probe->setWindowOrg(-(1 << 19), -(1 << 19));
    probe->selectFont(FrameFont());
    DrawBarcode(probe.get(), &rec, kNum, den);
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

// The same question asked of the ink tallied while the barcode is drawn on
// the label, on a picture (bars in whole units) and on a page of a print
// job (bars to the fraction, where the page's own ink decides), as a print
// asks it. Without a clip, the ink's box as whole units around it.
bool CutWhileDrawn(const IntRect* clip, const BarcodeRecord& rec, bool page, IntRect* inked = nullptr)
{
    // Paper a little larger than the clip, its corner at the clip's.
    QImage paper(clip ? clip->right - clip->left + 8 : 64, clip ? clip->bottom - clip->top + 8 : 64,
                 QImage::Format_RGB32);
    TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("cut.pdf")));
    printer.setResolution(96);
    std::unique_ptr<Dc> dc = page ? PdfPrintJobDc(&printer) : Dc::ForImage(&paper);
    if (page) {
        EXPECT_TRUE(dc->beginOutput());
    }
    dc->selectFont(FrameFont());
    if (clip) {
        dc->setWindowOrg(clip->left - 4, clip->top - 4);
        dc->intersectClipRect(clip->left, clip->top, clip->right, clip->bottom);
    }
    QRectF ink;
    {
        const BarcodeInk tally(dc.get(), clip ? BarcodeInkAllowed(dc.get()) : QRectF());
        DrawBarcode(dc.get(), &rec, kNum, 1);
        ink = tally.Ink();
    }
    EXPECT_FALSE(ink.isNull());
    if (inked)
        *inked = IntRect{int32_t(std::floor(ink.left())), int32_t(std::floor(ink.top())),
                         int32_t(std::ceil(ink.right())), int32_t(std::ceil(ink.bottom()))};
    return clip && BarcodeRunsPastClip(dc.get(), rec, kNum, 1, &ink);
}

// Bars of a module of four device units are filled, of half a unit drawn as
// lines; measured apart and as drawn.
TEST(BarcodePastClip, EachEdgeCutsTheInkPastADeviceUnit)
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
                ASSERT_LT(ink.left, ink.right);
                EXPECT_FALSE(CutBy(ink, rec)) << module << ", " << angle << " at " << at.x;
                IntRect onPage;
                CutWhileDrawn(nullptr, rec, true, &onPage);
                EXPECT_FALSE(CutWhileDrawn(&ink, rec, false)) << module << ", " << angle << " at " << at.x;
                EXPECT_FALSE(CutWhileDrawn(&onPage, rec, true)) << module << ", " << angle << " at " << at.x;
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
                        EXPECT_EQ(CutWhileDrawn(&clip, rec, false), in == 2) << where;
                        EXPECT_EQ(CutWhileDrawn(&pageClip, rec, true), in == 2) << where << " on a page";
                    }
                }
            }
        }
    }
}

// What the recorder takes for a barcode's ink is where its pixels are on
// paper, to a unit: bars filled and drawn as lines, digits, upright and
// turned.
TEST(BarcodePastClip, TheInkMeasuredIsWhereThePaperIsInked)
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

// A job asks about the same barcode at the same place of every card; the
// answer found under one label's clip, mapping and font is not given under
// another's.
TEST(BarcodePastClip, AnAnswerFoundForOneLabelIsNotGivenForAnother)
{
    BarcodeRecord rec = MakeRecord(kBarcodeCode128, "9400111202555842");
    rec.showText = 1;
    rec.originX = rec.centreX = 40;
    rec.originY = rec.centreY = 30;
    const IntRect ink = InkOf(rec);
    QImage paper(ink.right - ink.left + 600, ink.bottom - ink.top + 600, QImage::Format_RGB32);
    std::unique_ptr<Dc> dc = Dc::ForImage(&paper);
    dc->setWindowOrg(ink.left - 100, ink.top - 100);
    dc->selectFont(FrameFont());
    auto cutWithin = [&](const IntRect& clip) {
        const int32_t saved = dc->saveDc();
        dc->intersectClipRect(clip.left, clip.top, clip.right, clip.bottom);
        const bool cut = BarcodeRunsPastClip(dc.get(), rec, kNum, 1);
        dc->restoreDc(saved);
        return cut;
    };
    const IntRect narrow{ink.left, ink.top, ink.right - 2, ink.bottom};
    // The same label again and again, as the cards of a sheet come.
    for (int card = 0; card < 3; ++card) {
        EXPECT_FALSE(cutWithin(ink)) << card;
        EXPECT_TRUE(cutWithin(narrow)) << card;
    }
    // The same barcode at half the scale fits a label that cuts it whole.
    const IntRect half = InkOf(rec, 2);
    ASSERT_LT(half.right, ink.right);
    const int32_t saved = dc->saveDc();
    dc->intersectClipRect(half.left, half.top, half.right, half.bottom);
    for (int card = 0; card < 3; ++card) {
        EXPECT_TRUE(BarcodeRunsPastClip(dc.get(), rec, kNum, 1)) << card;
        EXPECT_FALSE(BarcodeRunsPastClip(dc.get(), rec, kNum, 2)) << card;
    }
    dc->restoreDc(saved);
    // The label moved under the barcode: the same clip in logical units,
    // another place for the bars.
    dc->setWindowOrg(ink.left + 296, ink.top - 4);
    const IntRect moved{ink.left + 300, ink.top, ink.right + 300, ink.bottom};
    EXPECT_TRUE(cutWithin(moved));
    rec.originX += 300;
    rec.centreX += 300;
    EXPECT_FALSE(cutWithin(moved));
}

}  // namespace
