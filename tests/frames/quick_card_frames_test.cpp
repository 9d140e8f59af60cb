#include <gtest/gtest.h>

#include <array>
#include <string>

#include "foundation/byte_order.h"
#include "frames/address_block_layout.h"
#include "frames/frame_obj_barcode13.h"
#include "frames/frame_font.h"
#include "frames/frame_obj_barcode18.h"
#include "graphics/quick_card_block.h"
#include "graphics/quick_card_format.h"
#include "content_test_document.h"

namespace {

std::string Text(const uint8_t* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

std::array<std::string, kAddressFieldCount> Letters()
{
    std::array<std::string, kAddressFieldCount> texts;
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = std::string(1, char('A' + i));
    return texts;
}

// "field:line" for each piece drawn.
std::string Lines(const AddressLayout& layout)
{
    std::string s;
    for (const AddressPiece& p : layout.pieces)
        s += std::to_string(p.field) + ":" + std::to_string(p.line) + " ";
    return s;
}

class QuickCardFrames : public SwapTest {
protected:
    ContentTestDocument doc_{dir_.path(), 600, 400};
};

TEST_F(QuickCardFrames, DefaultSwitchesPutTheAddressOnItsLines)
{
    FrameObjBarcode13 frame;
    const AddressLayout layout = LayOutAddressBlock(frame.QuickCardSpec(), Letters(), MeasuringDc());
    EXPECT_EQ(Lines(layout), "2:0 3:0 4:1 5:2 6:3 7:4 8:5 9:5 10:5 ");
    EXPECT_EQ(layout.lines, 6);
    EXPECT_EQ(layout.pieces[1].x, MeasuringDc()->getTextExtent("B ").width);

    // An empty included field starts nothing while empty fields are
    // skipped.
    auto texts = Letters();
    texts[3] = "";
    EXPECT_EQ(Lines(LayOutAddressBlock(frame.QuickCardSpec(), texts, MeasuringDc())),
              "2:0 3:0 5:1 6:2 7:3 8:4 9:4 10:4 ");

    // Without skipping and closing up, the excluded first field keeps its
    // width, and an empty field still breaks its line.
    uint8_t settings[kQuickCardSpecSize];
    std::memcpy(settings, frame.QuickCardSpec(), sizeof settings);
    PutI32LE(settings + kQuickCardCloseUpOffset, 0);
    PutI32LE(settings + kQuickCardSkipEmptyOffset, 0);
    const AddressLayout open = LayOutAddressBlock(settings, texts, MeasuringDc());
    EXPECT_EQ(Lines(open), "2:0 3:0 5:2 6:3 7:4 8:5 9:5 10:5 ");
    EXPECT_EQ(open.pieces[0].x, MeasuringDc()->getTextExtent("A ").width);
}

TEST_F(QuickCardFrames, PostnetDigitsComeFromTheRecordWithTheDeliveryPointBehindNine)
{
    FakeFieldTexts fields;
    EXPECT_EQ(QuickCardPostnetData(false, false), "12345678999");
    EXPECT_EQ(QuickCardZipText(false, false), "123456789");
    fields.texts[100] = "123456789";
    fields.texts[23] = "01";
    EXPECT_EQ(QuickCardPostnetData(true, true), "12345678901");
    fields.texts[100] = "12345";
    EXPECT_EQ(QuickCardPostnetData(true, false), "12345");
    EXPECT_TRUE(fields.asked.size() >= 2);

    // Ten digits are no Postnet length: no bars, and the text is not
    // lowered for them.
    fields.texts[100] = "1234567890";
    FrameObjBarcode13 frame;
    frame.SetDocument(&doc_);
    frame.SetBarcodeOption(1);
    frame.SetRecordFed(1);
    IntRect withTen;
    frame.MeasureContent(&withTen);
    frame.SetBarcodeOption(0);
    IntRect without;
    frame.MeasureContent(&without);
    EXPECT_EQ(withTen.bottom - withTen.top, without.bottom - without.top);
    fields.texts[100] = "12345";
    frame.SetBarcodeOption(1);
    IntRect withFive;
    frame.MeasureContent(&withFive);
    EXPECT_GT(withFive.bottom - withFive.top, without.bottom - without.top);
}

TEST_F(QuickCardFrames, OnScreenTheSampleBarsStandAboveTheFieldNames)
{
    FrameObjBarcode13 frame;
    frame.SetDocument(&doc_);
    frame.SetFromRect(IntRect{20, 20, 400, 300});
    frame.SetBarcodeOption(1);
    Dc* dc = doc_.view.dc.get();
    dc->selectBrush(Brush::Solid(kBlack));
    frame.DrawContent(dc);
    EXPECT_EQ(Text(frame.Record()), "12345678999");
    EXPECT_EQ(frame.Symbology(), 1);
    EXPECT_EQ(GetI32LE(frame.QuickCardSpec() + kQuickCardShownOffset), 1);
    // Bars in the top band, names below them.
    int top = -1, textTop = -1;
    for (int y = 20; y < 300 && textTop < 0; ++y) {
        for (int x = 20; x < 400; ++x) {
            if (PixelIs(doc_.view.image, x, y, kBlack)) {
                if (top < 0)
                    top = y;
                else if (y > top + 30)
                    textTop = y;
                break;
            }
        }
    }
    EXPECT_GE(top, 20);
    EXPECT_LT(top, 40);
    EXPECT_GT(textTop, top + 30);
}

TEST_F(QuickCardFrames, TheBlockFrameMeasuresWhatItDrawsAndPassesItsStyleOn)
{
    FrameObjBarcode18 frame;
    frame.SetDocument(&doc_);
    Handle block = QuickCardBlockNew();
    Handle item = QuickCardItemNew();
    ASSERT_EQ(QuickCardItemSetText(item, "Sample line", 11), 0);
    PutI32LE(HandleData(item) + kQcItemField, -1);
    ASSERT_EQ(QuickCardBlockAppendItem(block, item), 0);
    HandleFree(item);
    frame.SetQuickCardBlock(block);
    HandleFree(block);

    frame.SetBarcodeOption(0);
    IntRect alone;
    frame.MeasureContent(&alone);
    EXPECT_GT(alone.right - alone.left, 20);
    frame.SetBarcodeOption(1);
    IntRect stacked;
    frame.MeasureContent(&stacked);
    // The bars stand above the block: taller, and at least as wide.
    EXPECT_GT(stacked.bottom - stacked.top, alone.bottom - alone.top + 10);
    EXPECT_GE(stacked.right - stacked.left, alone.right - alone.left);

    frame.SetFontStyle(int16_t(0x4000 | 2), 0, 0);
    EXPECT_EQ(frame.Attributes().fontStyle, 2);
    const uint8_t* first = QuickCardBlockGetItem(frame.QuickCardBlock(), 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetU16LE(first + kQcItemStyle) & 2, 2);
    frame.SetFontStyle(2, 0, 0);
    first = QuickCardBlockGetItem(frame.QuickCardBlock(), 0);
    EXPECT_EQ(GetU16LE(first + kQcItemStyle) & 2, 0);
}

}  // namespace
