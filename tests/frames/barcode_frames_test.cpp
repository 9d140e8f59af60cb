#include <gtest/gtest.h>

#include <QProcess>
#include <cstring>
#include <memory>
#include <string>

#include "support/needed_tools.h"
#include "barcode/barcode_record.h"
#include "foundation/byte_order.h"
#include "frames/counter_text.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_counter_barcode.h"
#include "frames/frame_obj_field_barcode.h"
#include "content_test_document.h"

namespace {

std::string Text(const uint8_t* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

// Counter settings with the given numbers and empty prefix and suffix.
struct Settings {
    uint8_t bytes[kCounterSpecSize] = {};
    Settings(int32_t start, int32_t step, int32_t repeat, int32_t mode, int32_t width, int32_t counter = 0)
    {
        PutI32LE(bytes + kCounterStartOffset, start);
        PutI32LE(bytes + kCounterStepOffset, step);
        PutI32LE(bytes + kCounterRepeatOffset, repeat);
        PutI32LE(bytes + kCounterWidthModeOffset, mode);
        PutI32LE(bytes + kCounterWidthOffset, width);
        PutI32LE(bytes + kCounterValueOffset, counter);
    }
    std::string text() const
    {
        PStr out;
        CounterText(bytes, out);
        return Text(out);
    }
};

std::string Digits(int32_t value, int32_t mode, int32_t width)
{
    PStr out;
    CounterDigits(value, mode, width, out);
    return Text(out);
}

TEST(CounterText, WidthModesPadKeepTheSignAndNeverCutANumber)
{
    // Grown past its width, a number prints whole, never as another one.
    EXPECT_EQ(Digits(12345, 1, 3), "12345");
    EXPECT_EQ(Digits(10000, 1, 4), "10000");
    EXPECT_EQ(Digits(7, 2, 3), "  7");
    EXPECT_EQ(Digits(-5, 1, 3), "-05");
    EXPECT_EQ(Digits(-5, 2, 4), "  -5");
    EXPECT_EQ(Digits(42, 0, 5), "42");
    EXPECT_EQ(Digits(-123, 1, 3), "-123");
    // Widths outside 0..255 (from a damaged file) stay inside the text.
    EXPECT_EQ(Digits(9, 1, 300).size(), 255u);
    EXPECT_EQ(Digits(9, 1, -4), "9");
}

TEST(CounterText, RepeatCountOfZeroCountsAsOne)
{
    EXPECT_EQ(Settings(1, 1, 2, 1, 3, 3).text(), "002");
    EXPECT_EQ(Settings(1, 1, 0, 1, 3, 3).text(), "004");
    EXPECT_EQ(Settings(1, 1, -7, 1, 3, 3).text(), "004");
    EXPECT_EQ(Settings(INT32_MAX, 1, 1, 0, 0, 1).text(), "2147483648");
}

TEST(CounterText, PrefixAndSuffixEndAtTheirFieldsAndTheWholeAtTwoHundredFiftyFive)
{
    Settings s(5, 1, 1, 0, 0);
    std::memcpy(s.bytes + kCounterPrefixOffset, "No. ", 4);
    std::memcpy(s.bytes + kCounterSuffixOffset, "/A", 2);
    EXPECT_EQ(s.text(), "No. 5/A");
    // Neither field terminated: each gives its 256 bytes, cut at 255.
    std::memset(s.bytes + kCounterPrefixOffset, 'p', kCounterTextSize);
    std::memset(s.bytes + kCounterSuffixOffset, 's', kCounterTextSize);
    EXPECT_EQ(s.text(), std::string(255, 'p'));
}

class BarcodeFrames : public SwapTest {
protected:
    ContentTestDocument doc_{dir_.path()};
};

TEST_F(BarcodeFrames, CounterNumbersPrintedLabelsAndShowsItsNameOnScreen)
{
    FrameObjCounterBarcode counter;
    counter.SetDocument(&doc_);
    Settings s(1, 1, 1, 1, 3);
    counter.SetCounterSpec(s.bytes);
    PStr data;
    counter.GetBarcodeData(data);
    EXPECT_EQ(Text(data), "[Counter]");

    std::string printed;
    for (int label = 0; label < 3; ++label) {
        counter.ShiftForOutput(1, 0, 0, 0);
        counter.Recompute(0);  // measuring on the way must not count
        counter.DrawContent(doc_.view.dc.get());
        printed += Text(counter.Record()) + " ";
        counter.ShiftForOutput(0, 0, 0, 0);
    }
    EXPECT_EQ(printed, "001 002 003 ");
    EXPECT_EQ(GetI32LE(counter.CounterSpec() + kCounterValueOffset), 3);
    EXPECT_EQ(GetI32LE(counter.CounterSpec() + kCounterAdvanceOffset), 0);
    counter.DrawContent(doc_.view.dc.get());
    EXPECT_EQ(GetI32LE(counter.CounterSpec() + kCounterValueOffset), 3);
}

TEST_F(BarcodeFrames, RepeatCountGivesEachValueToSeveralLabels)
{
    FrameObjCounterBarcode counter;
    counter.SetDocument(&doc_);
    counter.SetCounterSpec(Settings(10, 5, 2, 0, 0).bytes);
    std::string printed;
    counter.ShiftForOutput(1, 0, 0, 0);
    for (int label = 0; label < 5; ++label) {
        PStr data;
        counter.GetBarcodeData(data);
        printed += Text(data) + " ";
    }
    EXPECT_EQ(printed, "10 10 15 15 20 ");
}

TEST_F(BarcodeFrames, FieldBarcodeShowsItsFieldUntilARecordFeedsIt)
{
    FakeFieldTexts fields;
    fields.texts[10] = "98765";
    FrameObjFieldBarcode field;
    field.SetDocument(&doc_);
    field.SetDataField(10);
    PStr data;
    field.GetBarcodeData(data);
    EXPECT_EQ(Text(data).front(), '[');
    EXPECT_EQ(Text(data).back(), ']');
    const std::string name = Text(data);

    field.SetBarcodeOption(1);
    field.GetBarcodeData(data);
    EXPECT_EQ(Text(data), "[Barcoded " + name.substr(1));
    EXPECT_FALSE(field.DrawsBars());

    doc_.printPreview = true;
    EXPECT_TRUE(field.DrawsBars());
    doc_.printPreview = false;

    field.ShiftForOutput(1, 0, 0, 0);
    field.GetBarcodeData(data);
    EXPECT_EQ(Text(data), "98765");
    EXPECT_TRUE(fields.asked.back().second);
    field.ShiftForOutput(0, 0, 0, 0);

    field.SetRecordFed(1);
    EXPECT_EQ(Text(field.Record()), "98765");
    EXPECT_FALSE(fields.asked.back().second);
}

TEST_F(BarcodeFrames, ShownAsTextTheDataIsOneLineOverWhatLiesBeneath)
{
    FrameObjBarcode barcode;
    barcode.SetDocument(&doc_);
    barcode.SetBarcodeOption(0);
    barcode.SetFromRect(IntRect{20, 20, 300, 80});
    Dc* dc = doc_.view.dc.get();
    dc->fillRect(IntRect{0, 0, 400, 300}, Brush::Solid(0x00FFFF));
    barcode.DrawContent(dc);
    IntRect ink{400, 300, 0, 0};
    int yellow = 0;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            if (PixelIs(doc_.view.image, x, y, kBlack)) {
                ink = IntRect{std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x), std::max(ink.bottom, y)};
            } else if (PixelIs(doc_.view.image, x, y, 0x00FFFF)) {
                ++yellow;
            }
        }
    }
    // One line of digits at the frame's top-left, and no cell painted
    // behind them.
    EXPECT_GE(ink.left, 20);
    EXPECT_LT(ink.left, 30);
    EXPECT_GT(ink.right - ink.left, 60);
    EXPECT_LT(ink.bottom - ink.top, 20);
    EXPECT_GT(yellow, 400 * 300 - 2000);
}

// ---- read back by a barcode decoder ----

std::string Decode(const QImage& image, const TempDir& dir)
{
    const std::string path = dir.file("frame.png");
    image.save(QString::fromStdString(path));
    QProcess zbar;
    zbar.start("zbarimg", {"-q", "--raw", QString::fromStdString(path)});
    if (!zbar.waitForFinished(20000))
        return "(zbarimg did not finish)";
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed().toStdString();
}

bool HaveZbar()
{
    QProcess probe;
    probe.start("zbarimg", {"--version"});
    return probe.waitForFinished(5000) && probe.exitCode() == 0;
}

TEST_F(BarcodeFrames, RenderedFramesDecodeToTheirDataAndToTheCountersValue)
{
    if (!HaveZbar())
        SKIP_FOR_MISSING_TOOL() << "zbarimg is not installed";
    // The content pass draws with the text colour's brush.
    ContentTestDocument doc(dir_.path(), 900, 400);
    doc.Zoom(2, 1);
    doc.view.dc->selectBrush(Brush::Solid(kBlack));

    FrameObjBarcode upc;
    upc.SetDocument(&doc);
    BarcodeRecord rec;
    BarcodeRecordRead(upc.Record(), &rec);
    PStrFromCStr(rec.data, "03600029145");
    uint8_t bytes[kBarcodeRecordSize];
    BarcodeRecordWrite(rec, bytes);
    upc.SetBarcodeRecord(bytes);
    upc.SetFromRect(IntRect{10, 10, 130, 90});
    upc.DrawContent(doc.view.dc.get());
    // The decoder reports a UPC-A symbol in its EAN-13 form.
    EXPECT_EQ(Decode(doc.view.image, dir_), "0036000291452");

    ContentTestDocument printing(dir_.path(), 900, 400);
    printing.Zoom(2, 1);
    printing.view.dc->selectBrush(Brush::Solid(kBlack));
    FrameObjCounterBarcode counter;
    counter.SetDocument(&printing);
    Settings s(41, 1, 1, 1, 4);
    std::memcpy(s.bytes + kCounterPrefixOffset, "N", 1);
    counter.SetCounterSpec(s.bytes);
    uint8_t code128[kBarcodeRecordSize];
    std::memcpy(code128, counter.Record(), sizeof code128);
    PutU16LE(code128 + kBarcodeSymbologyOffset, kBarcodeCode128);
    counter.SetBarcodeRecord(code128);
    counter.SetBarcodeOption(1);
    counter.SetFromRect(IntRect{10, 10, 130, 90});
    counter.SetCounterValue(1);
    counter.ShiftForOutput(1, 0, 0, 0);
    counter.DrawContent(printing.view.dc.get());
    counter.ShiftForOutput(0, 0, 0, 0);
    EXPECT_EQ(Decode(printing.view.image, dir_), "N0042");
}

}  // namespace
