// What the engine draws and measures, read back from the pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <QPageLayout>
#include <QPageSize>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_record_format.h"
#include "barcode/barcode_scale.h"
#include "barcode/caption_font.h"
#include "barcode/failure_box.h"
#include "barcode_test_util.h"
#include "platform/dc.h"
#include "postscript/postscript_job.h"
#include "support/postscript_as_run.h"
#include "support/shell.h"
#include "support/temp_dir.h"
#include "render_support.h"

namespace {

IntRect Measure(BarcodeRecord rec, int16_t num = 1, int16_t den = 1)
{
    IntRect r;
    MeasureBarcode(BarcodeMeasuringDc().get(), &rec, &r, num, den);
    EXPECT_EQ(std::memcmp(&r, &rec.bounds, sizeof r), 0);
    return r;
}

// Ink inside the rectangle (right and bottom included) and outside it.
std::pair<int, int> InkInAndOut(const QImage& image, const IntRect& r)
{
    int in = 0, out = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsInk(image, x, y))
                ++(x < r.left || x > r.right || y < r.top || y > r.bottom ? out : in);
        }
    }
    return {in, out};
}

TEST(BarcodeDrawing, PostnetAndHorBarsAtOnePointPerUnit)
{
    bool encoded = false;
    const QImage postnet = RenderBarcode(MakeRecord(kBarcodePostnet, "12345"), 1, 1, &encoded, 10);
    ASSERT_TRUE(encoded);
    int bottom = postnet.height() - 1;
    while (RowRuns(postnet, bottom).empty())
        --bottom;
    // Two frame bars and six digits of five, each a line one unit wide;
    // tall bars 8 units, short ones 3, on one bottom line.
    const std::vector<int> runs = RowRuns(postnet, bottom);
    ASSERT_EQ(runs.size(), 2 * 32u - 1);
    for (size_t i = 0; i < runs.size(); i += 2)
        EXPECT_EQ(runs[i], 1);
    std::vector<int> heights;
    for (int x = 0; x < postnet.width(); ++x) {
        if (IsInk(postnet, x, bottom))
            heights.push_back(int(ColumnRunsUpward(postnet, x)[0]));
    }
    EXPECT_EQ(std::count(heights.begin(), heights.end(), 8), 2 + 2 * 6);
    EXPECT_EQ(std::count(heights.begin(), heights.end(), 3), 3 * 6);

    for (const char* bad : {"1234", "12345-6789"}) {
        RenderBarcode(MakeRecord(kBarcodePostnet, bad), 1, 1, &encoded);
        EXPECT_FALSE(encoded) << bad;
    }
    EXPECT_EQ(Measure(MakeRecord(kBarcodePostnet, "1234")).right, 102 + 4);  // measured as five digits
    EXPECT_EQ(Measure(MakeRecord(kBarcodePostnet, "12345")).bottom, 8 + 4);

    BarcodeRecord field = MakeRecord(kBarcodeHorBars, "");
    field.barHeight = 36.0;
    const QImage bars = RenderBarcode(field, 1, 1, &encoded, 10);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(ColumnRunsUpward(bars, MiddleInkColumn(bars)), (std::vector<int>{5, 5, 5, 5, 5, 5, 5}));
    int top = 0;
    while (RowRuns(bars, top).empty())
        ++top;
    EXPECT_EQ(RowRuns(bars, top), std::vector<int>{72});
    EXPECT_EQ(Measure(field).right, 72 + 4);
}

TEST(BarcodeDrawing, MeasurementsInDocumentUnits)
{
    BarcodeRecord upc = MakeRecord(kBarcodeUpcA, "03600029145");
    const IntRect r = Measure(upc);
    EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}), (std::vector<int>{-4, -4, 95 + 4, 72 + 4}));
    EXPECT_EQ(Measure(upc, 2, 1).right, 190 + 8);
    SetPStr(upc.data, "0360002914513");
    EXPECT_EQ(Measure(upc).right, 95 + 32 + 4);

    BarcodeRecord code128 = MakeRecord(kBarcodeCode128, "123456");
    code128.addCheckDigit = 1;
    EXPECT_EQ(Measure(code128).right, 11 * 6 + 2 + 4);
    code128.addCheckDigit = 0;  // the check symbol is there all the same
    EXPECT_EQ(Measure(code128).right, 11 * 6 + 2 + 4);
    EXPECT_EQ(Measure(MakeRecord(kBarcodeCode39, "ab")).right, 12 * 6 + 5 + 4);
    BarcodeRecord gapless = MakeRecord(kBarcodeCode39, "ab");
    gapless.charGap = 0.0;
    EXPECT_EQ(Measure(gapless).right, 12 * 6 + 5 + 4);  // the narrow space stands in
    EXPECT_EQ(Measure(MakeRecord(kBarcodeInterleaved25, "123")).right, 9 * 5 + 4);
    EXPECT_EQ(Measure(MakeRecord(kBarcodeEan8, "963850752495")).right, 67 + 57 + 4);
    BarcodeRecord upce = MakeRecord(kBarcodeUpcE, "123456");
    upce.showText = upce.showSystemDigit = upce.showCheckDigit = 1;
    EXPECT_EQ(Measure(upce).right, 51 + 10 + 10 + 4);
    EXPECT_GT(Measure(upce).bottom, 72 + 4);  // the caption band

    // Data that does not encode measures as wide as the failure text.
    PStr text;
    BarcodeFailureText(kBarcodeEan8, text);
    EXPECT_EQ(AsString(text), "EAN-8 Incorrect Data");
    auto dc = BarcodeMeasuringDc();
    LogFont f = dc->font();
    f.height = -10;
    dc->selectFont(f);
    EXPECT_EQ(Measure(MakeRecord(kBarcodeEan8, "123456")).right, dc->getTextExtent(AsString(text)).width + 4);

    BarcodeRecord none = upc;
    none.bounds = {1, 2, 3, 4};
    MeasureBarcode(BarcodeMeasuringDc().get(), &none, nullptr, 1, 0);
    EXPECT_EQ(none.bounds.bottom, 0);
}

TEST(BarcodeDrawing, OnlyMeasuringRewritesTheCaptionSize)
{
    BarcodeRecord rec = MakeRecord(kBarcodeEan13, "400638133393");
    rec.showText = 1;
    rec.captionSize = 100.0;
    BarcodeRecord measured = rec;
    MeasureBarcode(BarcodeMeasuringDc().get(), &measured, nullptr, 1, 1);
    EXPECT_LE(measured.captionSize, 36.0);  // never taller than half the bars
    EXPECT_GE(measured.captionSize, 1.0);

    uint8_t before[kBarcodeRecordSize], after[kBarcodeRecordSize];
    BarcodeRecordWrite(rec, before);
    BarcodeCanvas canvas(300, 200);
    const LogFont font = canvas.dc->font();
    EXPECT_TRUE(DrawBarcode(canvas.dc.get(), &rec, 1, 1));
    BarcodeRecordWrite(rec, after);
    EXPECT_EQ(std::memcmp(before, after, kBarcodeRecordSize), 0);
    EXPECT_TRUE(canvas.dc->font() == font);
    EXPECT_EQ(canvas.dc->textAlign(), uint32_t(TA_TOP));
}

TEST(BarcodeDrawing, CaptionIsFittedAgainForAnotherFontZoomOrModule)
{
    // What each font, zoom and module must give is found on a thread of
    // its own, which has fitted nothing before.
    struct Fitted {
        double size;
        double rise;
        bool operator==(const Fitted&) const = default;
    };
    BarcodeRecord rec = MakeRecord(kBarcodeCode128, "4012345");
    rec.captionSize = 30.0;
    auto fit = [&](const char* faceName, int32_t zoomOut, double module) {
        std::unique_ptr<Dc> dc = Dc::ForMeasuring();
        LogFont font;
        std::strncpy(font.faceName, faceName, sizeof(font.faceName) - 1);
        dc->selectFont(font);
        dc->setMapMode(MM_ANISOTROPIC);
        dc->setWindowExt(zoomOut, zoomOut);
        dc->setViewportExt(1, 1);
        BarcodeRecord fitted = rec;
        fitted.module = module;
        FitCaptionFont(dc.get(), &fitted);
        EXPECT_TRUE(dc->font() == font);
        return Fitted{fitted.captionSize, gCaptionRise};
    };
    auto fresh = [&](const char* faceName, int32_t zoomOut, double module) {
        Fitted out{};
        std::thread([&] { out = fit(faceName, zoomOut, module); }).join();
        return out;
    };
    const Fitted mono = fresh("Courier New", 1, 2.0), sans = fresh("Arial", 1, 2.0),
                 far = fresh("Courier New", 7, 2.0), thin = fresh("Courier New", 1, 0.5);
    ASSERT_FALSE(mono == sans);
    ASSERT_FALSE(mono == far);
    // Narrower bars take a smaller caption.
    ASSERT_LT(thin.size, mono.size);
    // The second round finds every one fitted before.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(fit("Courier New", 1, 2.0), mono) << round;
        EXPECT_EQ(fit("Arial", 1, 2.0), sans) << round;
        EXPECT_EQ(fit("Courier New", 7, 2.0), far) << round;
        EXPECT_EQ(fit("Courier New", 1, 0.5), thin) << round;
    }
}

TEST(BarcodeDrawing, FailureBoxStaysInsideTheMeasuredBox)
{
    // A box so small that no size fits: shrinking stops at 1 and the text
    // is clipped to the box.
    BarcodeRecord tiny = MakeRecord(kBarcodeUpcA, "12");
    tiny.module = 0.01;
    tiny.barHeight = 0.5;
    tiny.captionSize = 1e9;
    for (BarcodeRecord rec : {MakeRecord(kBarcodeEan8, "123456"), MakeRecord(0, "1"), MakeRecord(16, "1"),
                              MakeRecord(-7, ""), tiny}) {
        const IntRect box = Measure(rec);
        BarcodeCanvas canvas(1000, 200);
        rec.originX = 20;
        rec.originY = 30;
        EXPECT_FALSE(DrawBarcode(canvas.dc.get(), &rec, 1, 1)) << rec.type;
        canvas.dc->flush();
        const IntRect outline{20, 30, 20 + box.right - box.left, 30 + box.bottom - box.top};
        const auto [in, out] = InkInAndOut(canvas.image, outline);
        EXPECT_EQ(out, 0) << rec.type;
        EXPECT_GT(in, 2 * (outline.right - outline.left + outline.bottom - outline.top)) << rec.type;
        EXPECT_TRUE(IsInk(canvas.image, outline.right, outline.bottom - 1)) << rec.type;
    }
    BarcodeCanvas blank(100, 100);
    BarcodeRecord upc = MakeRecord(kBarcodeUpcA, "03600029145");
    EXPECT_FALSE(DrawBarcode(blank.dc.get(), &upc, 0, 1));
    EXPECT_FALSE(DrawBarcode(blank.dc.get(), &upc, 3, -2));
    blank.dc->flush();
    EXPECT_EQ(InkInAndOut(blank.image, IntRect{}).second, 0);
}

TEST(BarcodeDrawing, QuarterTurnIsCounterClockwiseAboutTheCentre)
{
    BarcodeRecord rec = MakeRecord(kBarcodeCode128, "Tessaline-42");
    rec.addCheckDigit = 1;
    rec.barHeight = 20.0;
    bool encoded = false;
    const QImage upright = RenderBarcode(rec, 4, 1, &encoded);
    rec.angle = 90.0;
    const QImage turned = RenderBarcode(rec, 4, 1, &encoded);
    EXPECT_EQ(ColumnRunsUpward(turned, MiddleInkColumn(turned)), RowRuns(upright, MiddleInkRow(upright)));
}

TEST(BarcodeDrawing, CaptionsDoNotDependOnStaleBounds)
{
    for (int16_t type : {kBarcodeCode39, kBarcodeCode128}) {
        BarcodeRecord rec = MakeRecord(type, "CAPTION");
        rec.showText = rec.showStartStop = rec.addCheckDigit = 1;
        BarcodeRecord measured = rec;
        MeasureBarcode(BarcodeMeasuringDc().get(), &measured, nullptr, 1, 1);
        rec.captionSize = measured.captionSize;
        rec.bounds = measured.bounds;
        bool encoded = false;
        const QImage fresh = RenderBarcode(rec, 1, 1, &encoded);
        rec.bounds = IntRect{};
        EXPECT_TRUE(fresh == RenderBarcode(rec, 1, 1, &encoded)) << type;
    }
}

TEST(BarcodeDrawing, InterleavedBearersRunPastBothEnds)
{
    BarcodeRecord rec = MakeRecord(kBarcodeInterleaved25, "123456");
    rec.bearers = 1;
    rec.barHeight = 30.0;
    bool encoded = false;
    const QImage image = RenderBarcode(rec, 2, 1, &encoded, 20);
    int top = 0;
    while (RowRuns(image, top).empty())
        ++top;
    // Nine modules a digit, one for each end, and one more each side.
    EXPECT_EQ(RowRuns(image, top + 5), std::vector<int>{2 * (9 * 7 + 2)});
    EXPECT_GT(RowRuns(image, top + 10).size(), 10u);
}

// On a target that keeps text as text, each group of a caption is one run
// of glyphs, upright or turned, so that a reader finds its digits
// together: Code 128 one group, EAN-13 its system digit and two halves.
TEST(BarcodeDrawing, EachCaptionGroupPrintsAsOneRunUprightOrTurned)
{
    struct Case {
        int16_t type;
        const char* data;
        size_t groups;
    };
    TempDir dir;
    for (const Case& c : {Case{kBarcodeCode128, "4012345", 1}, Case{kBarcodeEan13, "400638133393", 3}}) {
        for (double angle : {0.0, 90.0, 30.0}) {
            SCOPED_TRACE(std::to_string(c.type) + " at " + std::to_string(angle));
            BarcodeRecord rec = MakeRecord(c.type, c.data);
            rec.showText = 1;
            rec.showSystemDigit = 1;
            rec.angle = angle;
            PostScriptJobSettings settings;
            settings.layout =
                QPageLayout(QPageSize(QSizeF(400, 400), QPageSize::Point), QPageLayout::Portrait, QMarginsF());
            settings.resolution = 72;
            settings.path = QString::fromStdString(dir.file("caption.ps"));
            std::unique_ptr<Dc> dc = PostScriptJobDc(settings);
            ASSERT_TRUE(dc->beginOutput());
            LogFont face;
            std::strncpy(face.faceName, "Arial", sizeof(face.faceName) - 1);
            dc->selectFont(face);
            dc->selectBrush(Brush::Solid(kBlack));
            dc->setTextColor(kBlack);
            IntRect box;
            BarcodeRecord measured = rec;
            MeasureBarcode(BarcodeMeasuringDc().get(), &measured, &box, 1, 1);
            rec.centreX = rec.centreY = 200;
            rec.originX = 200 - (box.right - box.left) / 2;
            rec.originY = 200 - (box.bottom - box.top) / 2;
            ASSERT_TRUE(DrawBarcode(dc.get(), &rec, 1, 1));
            ASSERT_TRUE(dc->flush());
            dc.reset();
            const std::string job = PostScriptAsRun(ReadFileBytes(dir.file("caption.ps")));
            size_t shows = 0;
            for (size_t p = job.find("xyshow"); p != std::string::npos; p = job.find("xyshow", p + 1))
                ++shows;
            EXPECT_EQ(shows, c.groups);
        }
    }
}

}  // namespace
