// A frame placed where no page reaches can only come from a damaged file:
// the document says so when it opens, reading goes on, and the frame is
// kept where the program's own limits allow, so that nothing computed from
// it leaves the 32-bit range.

#include <gtest/gtest.h>

#include <limits>

#include "card_test_support.h"
#include "foundation/byte_order.h"
#include "frames/frame_block_format.h"
#include "frames/frame_geometry_limits.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_record_format.h"

namespace {

class CardGeometry : public CardDocTest {
protected:
    // Saves a card and gives the file offset of its text frame's block.
    size_t SaveAndFindTextFrame(const PathRecord& path)
    {
        auto doc = CardWithText("Placed far away");
        EXPECT_TRUE(doc->DoSave(&path));
        doc.reset();
        auto reopened = OpenCardDocument(path);
        EXPECT_NE(reopened, nullptr);
        FrameStore* frames = reopened->Frames();
        for (int32_t i = 0; i < frames->Count(); ++i) {
            if (FrameType(frames->RecordPtr(i)) == kFrameText)
                return HeaderPosition(frames->RecordPtr(i));
        }
        ADD_FAILURE() << "no text frame";
        return 0;
    }
};

TEST_F(CardGeometry, AFrameBeyondTheCoordinateSpaceMakesTheDocumentDamagedAndIsKeptWithinIt)
{
    const PathRecord path = DocPath("far.lqx");
    const size_t at = SaveAndFindTextFrame(path);
    ASSERT_GT(at, 0u);
    std::string bytes = Bytes("far.lqx");
    auto* block = reinterpret_cast<uint8_t*>(&bytes[at]);
    PutI32LE(block + 4, std::numeric_limits<int32_t>::min());  // y
    PutU16LE(block + 8, uint16_t(-32640));                     // height
    WriteFileBytes(docs_.file("far.lqx"), bytes);

    alerts_.clear();
    auto doc = OpenCardDocument(path);
    ASSERT_NE(doc, nullptr) << "a damaged frame does not refuse the file";
    ASSERT_FALSE(alerts_.boxes().empty());
    EXPECT_EQ(alerts_.boxes().front().text.rfind("far.lqx: The document is damaged.", 0), 0u)
        << alerts_.boxes().front().text;
    doc->InitialUpdate();
    for (int32_t i = 0; i < doc->Frames()->Count(); ++i) {
        const uint8_t* record = doc->Frames()->RecordPtr(i);
        if (FrameType(record) != kFrameText)
            continue;
        auto* text = static_cast<FrameObjText*>(doc->Frames()->LoadFrame(HeaderId(record), 0));
        ASSERT_NE(text, nullptr);
        // Within the limits (the page may since have moved it a little).
        EXPECT_GE(text->Geometry().y, -kFrameCoordinateLimit);
        EXPECT_LT(text->Geometry().y, -kFrameCoordinateLimit + 1000);
        IntRect rect;
        text->GetTextRect(&rect);
        EXPECT_LT(rect.bottom, rect.top + 1) << "a negative height stays a negative height";
    }
}

TEST_F(CardGeometry, FramesWithinTheLimitsOpenWithoutAWord)
{
    const PathRecord path = DocPath("near.lqx");
    const size_t at = SaveAndFindTextFrame(path);
    std::string bytes = Bytes("near.lqx");
    // Far out on a large pasteboard, long and turned: still a placement
    // the program can make.
    auto* block = reinterpret_cast<uint8_t*>(&bytes[at]);
    PutI32LE(block + 0, 30000);
    PutU16LE(block + 10, 12243);
    PutU32LE(block + 12, 0x41F00000);  // 30.0f
    WriteFileBytes(docs_.file("near.lqx"), bytes);
    alerts_.clear();
    auto doc = OpenCardDocument(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();

    FrameGeometry g;
    g.x = 5;
    g.angle = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(ClampFrameGeometry(&g));
    EXPECT_EQ(g.angle, 0.0f);
    g.angle = 725.0f;
    EXPECT_TRUE(ClampFrameGeometry(&g));
    EXPECT_EQ(g.angle, 5.0f);
    EXPECT_FALSE(ClampFrameGeometry(&g));
    EXPECT_EQ(g.x, 5);
}

}  // namespace
