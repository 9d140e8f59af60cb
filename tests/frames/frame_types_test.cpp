#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "foundation/byte_order.h"
#include "frames/frame_factory.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_barcode13.h"
#include "frames/frame_obj_barcode18.h"
#include "frames/frame_obj_counter_barcode.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_obj_line.h"
#include "frames/frame_obj_power_text.h"
#include "frames/frame_obj_star.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_record_format.h"
#include "graphics/dib_serial.h"
#include "support/alert_capture.h"
#include "test_document.h"

namespace {

const int16_t kAllTypes[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 13, 14, 15, 16, 17, 18};

class FrameTypes : public SwapTest {
protected:
    std::vector<uint8_t> Written(FrameObj& frame)
    {
        file_.Put({});
        EXPECT_EQ(frame.Write(file_.get(), -1), 0);
        return file_.Bytes();
    }

    ScratchFile file_{dir_, "frames"};
};

// Gives each type's own data values that differ from its creation values.
void MakeDistinct(FrameObj* frame)
{
    frame->SetFromRect(IntRect{10, 20, 110, 70});
    frame->SetColour(9, 1);
    frame->AppendId(33);
    switch (frame->GetType()) {
    case kFrameStar:
        static_cast<FrameObjStar*>(frame)->SetStarParams(StarParams{7, 1, 0.5});
        break;
    case kFramePowerText: {
        uint8_t effect[kGlyphRecordSize];
        for (size_t i = 0; i < sizeof effect; ++i)
            effect[i] = uint8_t(i);
        static_cast<FrameObjPowerText*>(frame)->SetEffect(effect);
        break;
    }
    case kFrameCounterBarcode: {
        uint8_t settings[kCounterSpecSize] = {};
        std::memcpy(settings, "No. ", 4);
        PutI32LE(settings + kCounterStartOffset, 40);
        static_cast<FrameObjCounterBarcode*>(frame)->SetCounterSpec(settings);
        break;
    }
    case kFrameBarcode13: {
        uint8_t settings[kQuickCardSpecSize] = {};
        settings[kQuickCardShownOffset] = 1;
        static_cast<FrameObjBarcode13*>(frame)->SetQuickCardSpec(settings);
        break;
    }
    case kFrameBarcode18: {
        Handle block = HandleNew(40);
        PutU32LE(HandleData(block) + 12, 1);
        HandleData(block)[39] = 0x5A;
        static_cast<FrameObjBarcode18*>(frame)->SetQuickCardBlock(block);
        HandleFree(block);
        break;
    }
    default:
        break;
    }
    if (auto* barcode = dynamic_cast<FrameObjBarcode*>(frame)) {
        uint8_t record[kBarcodeRecordSize];
        std::memcpy(record, barcode->Record(), sizeof record);
        record[1] = '9';
        barcode->SetBarcodeRecord(record);
    }
}

TEST(FrameFactory, CodesWithoutAClassAreRefusedWithTheirCode)
{
    AlertCapture alerts;
    TempDir dir;
    TestDocument doc(dir.path());
    for (int16_t code : {8, 10, 19, -1}) {
        EXPECT_EQ(doc.frames.CreateFrameObject(code, 1), nullptr) << code;
        EXPECT_EQ(alerts.boxes().back().caption, "FRAME MNG ERROR");
        EXPECT_EQ(alerts.lastText(), "Unknown frame type. [" + std::to_string(code) + "]");
    }
    EXPECT_EQ(doc.frames.Count(), 0);
}

TEST(FrameFactory, EveryTypeGetsItsClassAndCreationValues)
{
    TempDir dir;
    TestDocument doc(dir.path());
    for (int16_t code : kAllTypes) {
        std::unique_ptr<FrameObj> frame(doc.frames.CreateFrameObject(code, 0));
        ASSERT_NE(frame, nullptr) << code;
        EXPECT_EQ(frame->GetType(), code);
        EXPECT_EQ(frame->FrameId(), 0) << "without insert a frame has no id";
        EXPECT_EQ(frame->Document(), nullptr);
    }
    std::unique_ptr<FrameObj> line(NewFrameObject(kFrameLine));
    EXPECT_EQ(line->Block().handleCount, 2);
    EXPECT_EQ(static_cast<FrameObjLine*>(line.get())->Line().lineWidth, 1);
    std::unique_ptr<FrameObj> star(NewFrameObject(kFrameStar));
    EXPECT_EQ(static_cast<FrameObjStar*>(star.get())->Star(), (StarParams{3, 0, 0.75}));
    std::unique_ptr<FrameObj> group(NewFrameObject(kFrameGroup));
    EXPECT_EQ(group->Block().handleCount, 0);
    EXPECT_EQ(group->Block().pageWord, 1);
    std::unique_ptr<FrameObj> text(NewFrameObject(kFrameText));
    EXPECT_EQ(text->Geometry().lineWidth, 0);
    EXPECT_EQ(text->Block().textInset, 3);
    std::unique_ptr<FrameObj> counter(NewFrameObject(kFrameCounterBarcode));
    auto* c = static_cast<FrameObjCounterBarcode*>(counter.get());
    EXPECT_EQ(c->Block().barcodeOption, 0);
    EXPECT_EQ(c->Block().attr.fontSize, 12);
    EXPECT_EQ(c->Block().handleCount, 4);
    EXPECT_EQ(c->Symbology(), 9);
    EXPECT_EQ(GetI32LE(c->CounterSpec() + kCounterWidthOffset), 3);
    EXPECT_EQ(GetF64LE(c->Record() + kBarcodeCaptionSizeOffset), 10.0);
    EXPECT_EQ(c->Record()[0], 14);
    std::unique_ptr<FrameObj> field(NewFrameObject(kFrameFieldBarcode));
    EXPECT_EQ(static_cast<FrameObjBarcode*>(field.get())->Symbology(), 1);
    std::unique_ptr<FrameObj> quick(NewFrameObject(kFrameBarcode13));
    const uint8_t* settings = static_cast<FrameObjBarcode13*>(quick.get())->QuickCardSpec();
    EXPECT_EQ(GetI32LE(settings + kQuickCardIncludeOffset), 0);
    EXPECT_EQ(GetI32LE(settings + kQuickCardIncludeOffset + 4), 1);
    EXPECT_EQ(GetI32LE(settings + kQuickCardNewLineOffset + 12), 1);
    EXPECT_EQ(GetI32LE(settings + kQuickCardNewLineOffset + 32), 0);
    std::unique_ptr<FrameObj> power(NewFrameObject(kFramePowerText));
    EXPECT_EQ(GetU16LE(static_cast<FrameObjPowerText*>(power.get())->Effect() + 164), 13);
    std::unique_ptr<FrameObj> picture(NewFrameObject(kFramePicture));
    EXPECT_EQ(picture->Attributes().dataField, 16);
    EXPECT_EQ(static_cast<FrameObjImage*>(picture.get())->BlockA().keepInDocument, 0);
}

TEST_F(FrameTypes, InsertingEntersARecordWithTheTypeAndANewId)
{
    TestDocument doc(dir_.path());
    FrameObj* a = doc.frames.CreateFrameObject(kFrameStar, 1);
    FrameObj* b = doc.frames.CreateFrameObject(kFrameText, 1);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->FrameId(), 1);
    EXPECT_EQ(b->FrameId(), 2);
    EXPECT_EQ(b->Document(), &doc);
    uint8_t record[kFrameRecordSize];
    ASSERT_EQ(doc.frames.GetFrameRecord(2, record), 1);
    EXPECT_EQ(FrameType(record), kFrameText);
    EXPECT_EQ(HeaderFlags(record), kRecNewFlags);
    EXPECT_EQ(doc.frames.GetLoadedFrame(2), b);
}

TEST_F(FrameTypes, EveryTypeComesBackByteForByte)
{
    for (int16_t code : kAllTypes) {
        std::unique_ptr<FrameObj> frame(NewFrameObject(code));
        MakeDistinct(frame.get());
        const std::vector<uint8_t> bytes = Written(*frame);
        EXPECT_EQ(bytes.size(), frame->DataSize()) << code;
        std::unique_ptr<FrameObj> back(NewFrameObject(code));
        FileSeek(file_.get(), kSeekStart, 0);
        ASSERT_EQ(back->Read(file_.get(), -1), 0) << code;
        EXPECT_EQ(Written(*back), bytes) << code;
    }
}

TEST_F(FrameTypes, SubclassDataIsReadOnlyBehindAGoodRootBlock)
{
    std::unique_ptr<FrameObj> star(NewFrameObject(kFrameStar));
    static_cast<FrameObjStar*>(star.get())->SetStarParams(StarParams{9, 1, 0.1});
    std::vector<uint8_t> bytes = Written(*star);
    PutU32LE(&bytes[100], 3);  // not whole ids: the root read fails
    file_.Put(bytes);
    FrameObjStar back;
    EXPECT_NE(back.Read(file_.get(), 0), 0);
    EXPECT_EQ(back.Star(), (StarParams{3, 0, 0.75}));
}

TEST_F(FrameTypes, ABadQuickCardBlockIsReplacedByAnEmptyOne)
{
    FrameObjBarcode18 frame;
    std::vector<uint8_t> bytes = Written(frame);
    const size_t header = bytes.size() - kQuickCardFrameHeaderSize;
    PutU32LE(&bytes[header + kQuickCardFrameBlockSizeOffset], 8);
    bytes.resize(bytes.size() + 8, 0xEE);
    file_.Put(bytes);
    FrameObjBarcode18 back;
    EXPECT_NE(back.Read(file_.get(), 0), 0);
    ASSERT_EQ(HandleGetSize(back.QuickCardBlock()), 24u);
    EXPECT_EQ(GetU32LE(HandleData(back.QuickCardBlock()) + 12), 1u);

    PutU32LE(&bytes[header + kQuickCardFrameBlockSizeOffset], 0x7FFFFFF0);
    file_.Put(bytes);
    FrameObjBarcode18 huge;
    EXPECT_NE(huge.Read(file_.get(), 0), 0);
    EXPECT_EQ(HandleGetSize(huge.QuickCardBlock()), 24u);

    // A block of the older item layout is taken in the current one.
    std::vector<uint8_t> old(24 + 48, 0);
    PutU32LE(&old[0], 1);
    PutI32LE(&old[8], 1);
    PutU32LE(&old[24], 48);
    PutI32LE(&old[28], -1);
    std::memcpy(&old[24 + 40], "Hi", 3);
    bytes.resize(header + kQuickCardFrameHeaderSize);
    PutU32LE(&bytes[header + kQuickCardFrameBlockSizeOffset], uint32_t(old.size()));
    bytes.insert(bytes.end(), old.begin(), old.end());
    file_.Put(bytes);
    FrameObjBarcode18 converted;
    ASSERT_EQ(converted.Read(file_.get(), 0), 0);
    EXPECT_EQ(GetU32LE(HandleData(converted.QuickCardBlock()) + 12), 1u);
    EXPECT_EQ(GetI32LE(HandleData(converted.QuickCardBlock()) + 8), 1);
}

TEST_F(FrameTypes, AKeptPictureTravelsInTheDocumentAndIntoTheNextSwapFile)
{
    TestDocument doc(dir_.path());
    FrameObjImage* image = static_cast<FrameObjImage*>(doc.frames.CreateFrameObject(kFrameImage, 1));
    // A real picture, put into the swap file the way pictures store
    // themselves, and taken from there as the frame's decoded image.
    DibHandle picture = DibHandleNew();
    ASSERT_EQ(DibHandleCreate(picture, 3, 2, 24), 0);
    uint32_t at = 0, length = 0;
    ASSERT_EQ(DibHandleWriteStore(&doc.swap, picture, &at, &length), 0);
    std::vector<uint8_t> storeForm(length);
    ASSERT_EQ(doc.swap.ReadAt(at, length, storeForm.data()), 0);
    ASSERT_EQ(image->StoreImageBytes(storeForm.data(), uint32_t(storeForm.size())), 0);
    DibHandle fromSwap = DibHandleNew();
    ASSERT_EQ(DibHandleReadStore(&doc.swap, fromSwap, image->BlockB().imagePosition), 0);
    EXPECT_EQ(DibHandleWidth(fromSwap), 3);
    DibHandleFree(&fromSwap);
    DibHandleFree(&picture);
    const ImageBlockB swapPlaces = image->BlockB();

    const std::vector<uint8_t> bytes = Written(*image);
    const size_t blockB = 148 + kImageBlockASize;
    ASSERT_EQ(bytes.size(), image->DataSize() + storeForm.size());
    const ImageBlockB written = GetImageBlockB(&bytes[blockB]);
    EXPECT_EQ(written.imageStored, 1u);
    EXPECT_EQ(written.imagePosition, image->DataSize());
    EXPECT_EQ(written.rotationPending, 1);
    EXPECT_TRUE(std::equal(storeForm.begin(), storeForm.end(), bytes.begin() + image->DataSize()));
    DibHandle inDocument = nullptr;
    ASSERT_EQ(FileSeek(file_.get(), kSeekStart, int32_t(written.imagePosition)), 0);
    ASSERT_EQ(DibHandleReadFile(file_.get(), &inDocument), 0);
    EXPECT_EQ(DibHandleHeight(inDocument), 2);
    DibHandleFree(&inDocument);
    EXPECT_EQ(image->BlockB().imagePosition, swapPlaces.imagePosition) << "the frame keeps its swap place";

    // Read from the document, the picture goes into the reader's swap file.
    TempDir other;
    TestDocument reader(other.path());
    FrameObjImage back;
    back.SetDocument(&reader);
    FileSeek(file_.get(), kSeekStart, 0);
    ASSERT_EQ(back.Read(file_.get(), -1), 0);
    ASSERT_EQ(back.BlockB().imageStored, 1u);
    std::vector<uint8_t> inSwap(storeForm.size());
    ASSERT_EQ(reader.swap.ReadAt(back.BlockB().imagePosition, uint32_t(inSwap.size()), inSwap.data()), 0);
    EXPECT_EQ(inSwap, storeForm);
    EXPECT_EQ(back.BlockA().imageStoreLength, storeForm.size());
}

TEST(FrameTypesText, TextRectangleInsets)
{
    FrameObjText text;
    text.SetFromRect(IntRect{0, 0, 20, 100});
    text.SetBorderWidth(0);
    IntRect r;
    text.GetTextRect(&r);
    EXPECT_EQ(r.right - r.left, 14);
    text.SetBorderWidth(12);
    text.GetTextRect(&r);
    EXPECT_EQ(r.right - r.left, 0);
    FrameGeometry g = text.Geometry();
    g.sides = kSideLeft;
    text.SetGeometry(g);
    text.GetTextRect(&r);
    EXPECT_EQ(r.right - r.left, 2);
}

}  // namespace
