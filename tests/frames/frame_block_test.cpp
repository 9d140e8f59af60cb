#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "frames/frame_block_format.h"
#include "frames/frame_obj.h"
#include "frames_fixture.h"

namespace {

class FrameBlock : public ::testing::Test {
protected:
    std::vector<uint8_t> Written(FrameObj& frame)
    {
        file_.Put({});
        EXPECT_EQ(frame.Write(file_.get(), -1), 0);
        return file_.Bytes();
    }

    TempDir dir_;
    ScratchFile file_{dir_, "block"};
};

TEST_F(FrameBlock, ANewFrameWritesExactly148BytesOfItsCreationValues)
{
    FrameObj frame;
    const std::vector<uint8_t> b = Written(frame);
    ASSERT_EQ(b.size(), 148u);
    EXPECT_EQ(frame.DataSize(), 148u);
    EXPECT_EQ(GetI16LE(&b[20]), 2);     // border width
    EXPECT_EQ(GetI16LE(&b[22]), 1);     // border style
    EXPECT_EQ(b[24], 255);              // every side
    EXPECT_EQ(b[28], 15);               // border colour
    EXPECT_EQ(b[29], 100);
    EXPECT_EQ(b[31], 100);
    EXPECT_EQ(b[35], 1);                // shown
    EXPECT_EQ(b[37], 1);                // printable
    EXPECT_EQ(b[38], 1);
    EXPECT_EQ(GetI16LE(&b[40]), 15);
    EXPECT_EQ(GetI16LE(&b[42]), 100);
    for (size_t at : {44, 46, 48, 50})
        EXPECT_EQ(GetU16LE(&b[at]), 0xFBA9) << at;
    EXPECT_EQ(b[82], 8);                // handles
    EXPECT_EQ(b[83], 1);
    EXPECT_EQ(b[84], 1);
    EXPECT_EQ(b[86], 1);                // rotatable
    EXPECT_EQ(b[89], 1);                // outline kind
    EXPECT_EQ(GetI16LE(&b[92]), 3);     // outline inset
    EXPECT_EQ(GetI16LE(&b[96]), -1);    // story id
    EXPECT_EQ(GetU32LE(&b[100]), 0u);
    EXPECT_EQ(GetU32LE(&b[112]), 0u);
}

TEST_F(FrameBlock, VariablePartsFollowInTheirOrderAndComeBack)
{
    FrameObj frame;
    frame.AppendId(7);
    frame.AppendId(9);
    Handle outline = HandleNew(26);
    PutU16LE(HandleData(outline), 3);
    for (uint32_t i = 4; i < 26; ++i)
        HandleData(outline)[i] = uint8_t(i);
    frame.SetWrapOutline(outline);
    const std::vector<uint8_t> b = Written(frame);
    ASSERT_EQ(b.size(), 148u + 26u + 8u);
    EXPECT_EQ(GetU32LE(&b[112]), 26u);
    EXPECT_EQ(GetU32LE(&b[100]), 8u);
    EXPECT_EQ(std::memcmp(&b[148], HandleData(outline), 26), 0);
    EXPECT_EQ(GetU32LE(&b[174]), 7u);
    EXPECT_EQ(GetU32LE(&b[178]), 9u);

    FrameObj back;
    FileSeek(file_.get(), kSeekStart, 0);
    ASSERT_EQ(back.Read(file_.get(), -1), 0);
    EXPECT_EQ(HandleGetSize(back.WrapOutline()), 26u);
    EXPECT_EQ(std::memcmp(HandleData(back.WrapOutline()), HandleData(outline), 26), 0);
    EXPECT_EQ(back.IdCount(), 2);
    EXPECT_EQ(back.GetId(-1), 9u);
    EXPECT_EQ(Written(back), b);
}

TEST_F(FrameBlock, ReservedBytesAndUnknownValuesSurviveARoundTrip)
{
    std::vector<uint8_t> bytes(148);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 7 + 3);
    PutU32LE(&bytes[100], 0);
    PutU32LE(&bytes[112], 0);
    // The placement is one a page can hold (one no page can hold is
    // brought within the limits as it is read); everything else is kept
    // as it was, whatever it holds.
    PutI32LE(&bytes[0], -1200);
    PutI32LE(&bytes[4], 90000);
    PutU32LE(&bytes[12], 0x43B3F000);  // 359.875 degrees
    PutU32LE(&bytes[16], 0x47800000);  // a length of 65536
    file_.Put(bytes);
    FrameObj frame;
    ASSERT_EQ(frame.Read(file_.get(), 0), 0);
    EXPECT_EQ(Written(frame), bytes);
}

TEST_F(FrameBlock, SwapTransfersRefuseTheCurrentPosition)
{
    FrameObj frame;
    frame.SetFrameId(5);
    EXPECT_EQ(frame.WriteBack(file_.get(), -1), 1);
    EXPECT_TRUE(file_.Bytes().empty());
    ASSERT_EQ(frame.WriteBack(file_.get(), 10), 0);
    EXPECT_EQ(frame.ReadBack(file_.get(), -1), 1);
    EXPECT_TRUE(frame.IsModified());
    FrameObj back;
    ASSERT_EQ(back.ReadBack(file_.get(), 10), 0);
    EXPECT_FALSE(back.IsModified());
    EXPECT_EQ(back.FrameId(), 5);
}

TEST_F(FrameBlock, SizesFromTheFileAreCheckedBeforeAnythingIsTaken)
{
    FrameObj original;
    original.AppendId(4);
    original.SetFromRect(IntRect{1, 2, 30, 40});
    std::vector<uint8_t> good = Written(original);

    auto refused = [&](std::vector<uint8_t> bytes) {
        file_.Put(bytes);
        FrameObj frame;
        frame.SetFromRect(IntRect{5, 5, 6, 6});
        frame.AppendId(99);
        EXPECT_NE(frame.Read(file_.get(), 0), 0);
        // A failed read leaves the frame as it was.
        EXPECT_EQ(frame.Geometry().x, 5);
        EXPECT_EQ(frame.GetId(0), 99u);
    };
    std::vector<uint8_t> huge = good;
    PutU32LE(&huge[100], 0x7FFFFFFC);
    refused(huge);
    std::vector<uint8_t> torn = good;
    PutU32LE(&torn[100], 6);
    refused(torn);
    std::vector<uint8_t> shortOutline = good;
    PutU32LE(&shortOutline[112], 2);
    refused(shortOutline);
    refused(std::vector<uint8_t>(good.begin(), good.begin() + 100));
}

TEST(FrameRoot, GeometryFieldsRectanglesAndAlignment)
{
    FrameObj frame;
    frame.SetGeometryField(4, 725);
    EXPECT_EQ(frame.Geometry().angle, 5.0f);
    frame.SetGeometryField(4, -30);
    EXPECT_EQ(frame.Geometry().angle, -30.0f);
    frame.SetGeometryField(2, 44);
    EXPECT_EQ(frame.Geometry().width, 44);

    frame.SetFromRect(IntRect{50, 60, 10, 20});
    EXPECT_EQ(frame.Geometry().x, 10);
    EXPECT_EQ(frame.Geometry().y, 20);
    EXPECT_EQ(frame.Geometry().width, 40);
    EXPECT_EQ(frame.Geometry().height, 40);
    EXPECT_EQ(frame.Geometry().angle, 0.0f);
    EXPECT_EQ(frame.Geometry().sides, 255);

    frame.SetAlignment(3, 4, 0, 0);
    uint16_t h = 1, v = 1;
    int16_t mh = 1, mv = 1;
    frame.GetAlignment(&h, &v, &mh, &mv);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(v, 0);
    frame.SetAlignment(3, 4, 2, 0);
    frame.GetAlignment(&h, &v, &mh, &mv);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(v, 4);
}

TEST(FrameRoot, GroupIdList)
{
    FrameObj frame;
    EXPECT_EQ(frame.GetId(-1), 0u);
    EXPECT_FALSE(frame.RemoveId(3, 0));
    frame.AppendId(0);
    EXPECT_EQ(frame.IdCount(), 0);
    for (uint32_t id : {3u, 5u, 3u, 3u, 8u})
        frame.AppendId(id);
    EXPECT_EQ(frame.GetId(1), 5u);
    EXPECT_EQ(frame.GetId(7), 8u);
    EXPECT_EQ(frame.GetId(-1), 8u);
    EXPECT_EQ(frame.GetId(-2), 0u);
    EXPECT_TRUE(frame.RemoveId(3, 0));  // entries moving into a removed place are examined too
    EXPECT_EQ(frame.IdCount(), 2);
    EXPECT_EQ(frame.GetId(0), 5u);
    EXPECT_TRUE(frame.RemoveId(8, 6));
    EXPECT_EQ(frame.GetId(-1), 6u);
    frame.RemoveLastId();
    frame.RemoveLastId();
    EXPECT_EQ(frame.GroupIds(), nullptr);
}

TEST(FrameRoot, TheSavedBlockIsTakenOnceAndToggles)
{
    FrameObj frame;
    frame.SetColour(4, 1);
    frame.SetColour(6, 1);
    EXPECT_EQ(frame.SavedBlock().fillColour, 0) << "the second change keeps the first saved block";
    frame.MarkChanged(0, 0);
    frame.ToggleSaved();
    EXPECT_EQ(frame.Attributes().fillColour, 0);
    EXPECT_EQ(frame.SavedBlock().fillColour, 6);

    uint32_t tag = 0;
    Handle text = frame.MakeClipboardText(&tag);
    EXPECT_EQ(tag, FourCC("TEXT"));
    ASSERT_EQ(HandleGetSize(text), 14u);
    EXPECT_EQ(std::memcmp(HandleData(text), "Tessaline Data", 14), 0);
    HandleFree(text);
}

}  // namespace
