// One sample of every symbology and caption layout on one sheet, written
// into the build folder for a person to look at.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_measure.h"
#include "barcode_test_util.h"
#include "platform/dc.h"
#include "render_support.h"

namespace {

struct Sample {
    const char* label;
    BarcodeRecord rec;
    bool encodes = true;
};

BarcodeRecord With(int16_t type, const std::string& data, bool caption, bool check = false)
{
    BarcodeRecord rec = MakeRecord(type, data);
    rec.barHeight = 54.0;
    rec.showText = caption;
    rec.showSystemDigit = rec.showCheckDigit = rec.showStartStop = 1;
    rec.addCheckDigit = check;
    rec.bookPrefix = 1;
    return rec;
}

std::vector<Sample> Samples()
{
    std::vector<Sample> s;
    s.push_back({"1 POSTNET 12345-6789", With(kBarcodePostnet, "123456789", false)});
    s.push_back({"2 FIM A", With(kBarcodeFimA, "", false)});
    s.push_back({"3 FIM B", With(kBarcodeFimB, "", false)});
    s.push_back({"4 FIM C", With(kBarcodeFimC, "", false)});
    s.push_back({"5 HorBars, half an inch", With(kBarcodeHorBars, "", false)});
    s.back().rec.barHeight = 36.0;
    s.push_back({"6 Interleaved 2 of 5, check, bearers", With(kBarcodeInterleaved25, "1234567", true, true)});
    s.back().rec.bearers = 1;
    s.push_back({"6 Interleaved 2 of 5, no start/stop text", With(kBarcodeInterleaved25, "123456", true)});
    s.back().rec.showStartStop = 0;
    s.push_back({"7 Code 39, check", With(kBarcodeCode39, "TESSALINE", true, true)});
    s.push_back({"7 Code 39 full ASCII, gap 0", With(kBarcodeCode39, "Lab #7", true)});
    s.back().rec.charGap = 0.0;
    s.push_back({"8 Code 128, check", With(kBarcodeCode128, "AB1234cd", true, true)});
    s.push_back({"9 UPC-A", With(kBarcodeUpcA, "03600029145", true)});
    s.push_back({"9 UPC-A with add-on 13", With(kBarcodeUpcA, "0360002914513", true)});
    s.push_back({"10 UPC-E with add-on 12345", With(kBarcodeUpcE, "12345612345", true)});
    s.push_back({"11 EAN-13", With(kBarcodeEan13, "400638133393", true)});
    s.push_back({"11 EAN-13 with add-on 52495", With(kBarcodeEan13, "40063813339352495", true)});
    s.push_back({"12 EAN-8 with add-on 12", With(kBarcodeEan8, "963850712", true)});
    s.push_back({"13 ISBN 978, add-on 90000", With(kBarcodeIsbn, "03064061590000", true)});
    s.push_back({"14 ISSN", With(kBarcodeIssn, "123456789", true)});
    s.push_back({"15 Codabar, check", With(kBarcodeCodabar, "A40156B", true, true)});
    s.push_back({"9 UPC-A without caption", With(kBarcodeUpcA, "12345678901", false)});
    s.push_back({"EAN-8 failure box", With(kBarcodeEan8, "123456", true), false});
    s.push_back({"Code 128 turned 30 degrees", With(kBarcodeCode128, "Turned", true, true)});
    s.back().rec.angle = 30.0;
    s.push_back({"Codabar, caption without start/stop", With(kBarcodeCodabar, "C40156D", true)});
    s.back().rec.showStartStop = 0;
    s.push_back({"UPC-E, caption without outside digits", With(kBarcodeUpcE, "042100", true)});
    s.back().rec.showSystemDigit = s.back().rec.showCheckDigit = 0;
    return s;
}

TEST(SampleSheet, EveryTypeAndCaptionLayout)
{
    constexpr int kColumns = 4;
    constexpr int kCellWidth = 600;
    constexpr int kCellHeight = 400;
    constexpr int16_t kNum = 3;  // 216 dots an inch
    const std::vector<Sample> samples = Samples();
    BarcodeCanvas canvas(kColumns * kCellWidth, int(samples.size() + kColumns - 1) / kColumns * kCellHeight);
    Dc& dc = *canvas.dc;
    dc.setBkMode(TRANSPARENT);
    for (size_t i = 0; i < samples.size(); ++i) {
        const int left = int(i % kColumns) * kCellWidth;
        const int top = int(i / kColumns) * kCellHeight;
        const Brush bars = dc.selectBrush(Brush::Hollow());
        dc.rectangle(left, top, left + kCellWidth + 1, top + kCellHeight + 1);
        dc.selectBrush(bars);
        LogFont label = dc.font();
        label.height = -24;
        const LogFont caption = dc.selectFont(label);
        dc.textOut(left + 10, top + 8, samples[i].label);
        dc.selectFont(caption);

        BarcodeRecord rec = samples[i].rec;
        IntRect box;
        BarcodeRecord measured = rec;
        MeasureBarcode(BarcodeMeasuringDc().get(), &measured, &box, kNum, 1);
        rec.originX = left + (kCellWidth - (box.right - box.left)) / 2;
        rec.originY = top + 40 + (kCellHeight - 40 - (box.bottom - box.top)) / 2;
        rec.centreX = left + kCellWidth / 2;
        rec.centreY = top + 40 + (kCellHeight - 40) / 2;
        EXPECT_EQ(DrawBarcode(&dc, &rec, kNum, 1), samples[i].encodes) << samples[i].label;
    }
    dc.flush();
    const std::string path = std::string(TESSALINE_BINARY_DIR) + "/barcode-samples.png";
    EXPECT_TRUE(canvas.image.save(QString::fromStdString(path))) << path;
}

}  // namespace
