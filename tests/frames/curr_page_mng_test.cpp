// The current-page manager: its lists, loading and storing pages, guides,
// the zoom and alignment.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "frames/frame_obj_rect.h"
#include "frames/frame_record_format.h"
#include "frames/frame_store.h"
#include "frames/page_table.h"
#include "frames/shared_frame_list.h"
#include "page_test_support.h"
#include "support/alert_capture.h"

namespace {

using PageManager = PageTest;

// Frames the test owns, for list operations that need no store.
struct LooseFrames {
    explicit LooseFrames(int n, FrameDocument* doc)
    {
        for (int i = 0; i < n; ++i) {
            frames.push_back(std::make_unique<FrameObjRect>());
            frames.back()->SetDocument(doc);
            frames.back()->SetFrameId(uint16_t(1000 + i));
        }
    }
    FrameObj* operator[](size_t i) const { return frames[i].get(); }
    std::vector<std::unique_ptr<FrameObj>> frames;
};

TEST_F(PageManager, The450SlotListHolds449AndSaysSoOnce)
{
    AlertCapture alerts;
    CurrPageMng m(doc_.get());
    LooseFrames frames(451, doc_.get());
    for (int i = 0; i < 449; ++i)
        ASSERT_TRUE(m.AppendFrame(frames[size_t(i)]));
    EXPECT_FALSE(m.AppendFrame(frames[449]));
    EXPECT_FALSE(m.InsertFrameAt(frames[450], 3));
    EXPECT_EQ(m.FrameCount(), 449);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_NE(alerts.lastText().find("Out of limit frames"), std::string::npos);
    // A frame already listed is no refusal.
    EXPECT_TRUE(m.AppendFrame(frames[5]));
    ASSERT_TRUE(m.RemoveFrame(frames[0]));
    EXPECT_TRUE(m.AppendFrame(frames[449]));
    EXPECT_FALSE(m.AppendFrame(frames[450]));
    EXPECT_EQ(alerts.boxes().size(), 1u);
    // Loading pages arms the message again.
    m.LoadCurrentPages(0);
    for (int i = 0; i < 449; ++i)
        m.AppendFrame(frames[size_t(i)]);
    EXPECT_FALSE(m.AppendFrame(frames[450]));
    EXPECT_EQ(alerts.boxes().size(), 2u);
}

TEST_F(PageManager, InsertingClampsTheIndexAndHitsSkipTheTop)
{
    CurrPageMng m(doc_.get());
    LooseFrames frames(4, doc_.get());
    for (size_t i = 0; i < 4; ++i) {
        frames[i]->SetFromRect(IntRect{0, 0, 100, 100});
        frames[i]->Recompute(1);
    }
    m.AppendFrame(frames[0]);
    m.AppendFrame(frames[1]);
    m.InsertFrameAt(frames[2], -5);
    m.InsertFrameAt(frames[3], 40);
    EXPECT_EQ(m.FrameAt(0), frames[2]);
    EXPECT_EQ(m.FrameAt(3), frames[3]);
    EXPECT_EQ(m.FrameAtPoint(IntPoint{50, 50}, 0), frames[3]);
    EXPECT_EQ(m.FrameAtPoint(IntPoint{50, 50}, 2), frames[0]);
    EXPECT_EQ(m.FrameAtPoint(IntPoint{50, 50}, 4), nullptr);
    EXPECT_EQ(m.FrameAtPoint(IntPoint{150, 50}, 0), nullptr);
}

TEST_F(PageManager, RestackingChecksItsArguments)
{
    CurrPageMng m(doc_.get());
    LooseFrames frames(5, doc_.get());
    for (size_t i = 0; i < 4; ++i)
        m.AppendFrame(frames[i]);
    // Down to the bottom.
    EXPECT_EQ(m.MoveFrameTo(frames[2], 0), frames[2]);
    EXPECT_EQ(m.FrameAt(0), frames[2]);
    EXPECT_EQ(m.FrameAt(1), frames[0]);
    // Moving up, or a frame that is not listed, changes nothing.
    EXPECT_EQ(m.MoveFrameTo(frames[2], 3), nullptr);
    EXPECT_EQ(m.MoveFrameTo(frames[4], 0), nullptr);
    EXPECT_EQ(m.FrameAt(0), frames[2]);
    m.MoveFrameBelowTop(frames[2], 1);
    EXPECT_EQ(m.FrameAt(2), frames[2]);
    EXPECT_EQ(m.FrameAt(3), frames[3]);
    m.MoveFrameBelowTop(frames[3], 2);  // already above that place
    EXPECT_EQ(m.FrameAt(3), frames[3]);
    m.MoveFrameBelowTop(frames[0], 9);
    m.MoveFrameBelowTop(nullptr, 0);
    m.MoveFrameUp(frames[2], 0);
    EXPECT_EQ(m.FrameAt(3), frames[2]);
    m.MoveFrameUp(frames[2], 0);
    EXPECT_EQ(m.FrameAt(3), frames[2]);

    frames[1]->SetBackdrop(1);
    EXPECT_EQ(m.GetBackdropFrame(), frames[1]);
    EXPECT_EQ(m.FrameAt(0), frames[1]);
}

// A frame that touches no page goes to the pasteboard and comes back
// beneath the page's frames, unmoved.
TEST_F(PageManager, PasteboardFramesComeBackBeneathThePage)
{
    Add(kFrameRect, IntRect{10, 10, 50, 50}, kSampleRed, kSampleRed);
    FrameObj* off = Add(kFrameRect, IntRect{500, 10, 560, 50}, kSampleBlue, kSampleBlue);
    Add(kFrameRect, IntRect{60, 10, 90, 50}, kSampleRed, kSampleRed);
    CurrPageMng& m = Manager();
    m.CloseCurrentPages();
    EXPECT_EQ(off->Block().residence, kOnPasteboard);
    EXPECT_EQ(doc_->SharedFrames()->FrameCount(), 1);
    EXPECT_EQ(m.FrameCount(), 0);
    ASSERT_TRUE(m.SetPageNumbers(1, kNoPageNumber));
    m.LoadCurrentPages(1);
    ASSERT_EQ(m.FrameCount(), 3);
    EXPECT_EQ(m.FrameAt(0), off);
    EXPECT_EQ(off->Geometry().x, 500);
    EXPECT_EQ(m.FrameAt(1)->Geometry().x, 10);
    EXPECT_EQ(m.SlotFrameCount(0), 2);
}

// More frames than the store's old working lists held: the page comes back
// whole, in its order.
TEST_F(PageManager, AFullPageComesBackWhole)
{
    CurrPageMng& m = Manager();
    for (int i = 0; i < CurrPageMng::kMaxFrames; ++i) {
        FrameObj* f = doc_->AddFrame(kFrameRect, IntRect{i % 40 * 9, i / 40 * 20, i % 40 * 9 + 8, i / 40 * 20 + 18});
        ASSERT_NE(f, nullptr);
        f->SetColour(uint8_t(i % 16), 1);
    }
    ASSERT_EQ(m.FrameCount(), CurrPageMng::kMaxFrames);
    const uint16_t top = m.FrameAt(448)->FrameId();
    const uint16_t low = m.FrameAt(150)->FrameId();
    m.CloseCurrentPages();
    ASSERT_TRUE(m.SetPageNumbers(1, kNoPageNumber));
    m.LoadCurrentPages(1);
    ASSERT_EQ(m.FrameCount(), CurrPageMng::kMaxFrames);
    EXPECT_EQ(m.FrameAt(448)->FrameId(), top);
    EXPECT_EQ(m.FrameAt(150)->FrameId(), low);
    EXPECT_EQ(m.FrameAt(448)->Attributes().fillColour, 448 % 16);
}

// A page a caller opens for cards that each lay their text out for their
// own record is not laid out as it opens, unless a chain needs it: a
// chained frame's text starts where the frame before it ended.
TEST(PageManagerText, APageOpenedForCardsLeavesItsUnchainedTextToThem)
{
    struct CountingPage : SamplePageDocument {
        using SamplePageDocument::SamplePageDocument;
        void LayOutIntoFrame(FrameObj* frame, const IntRect&, TextPosition start, TextPosition* end) override
        {
            laidOut.push_back(frame->FrameId());
            *end = start;
        }
        std::vector<uint16_t> laidOut;
    };
    TempDir dir;
    CountingPage doc(dir.path(), IntSize{400, 300}, 100);
    ASSERT_TRUE(doc.ok());
    FrameObj* a = doc.AddFrame(kFrameText, IntRect{10, 10, 150, 60});
    FrameObj* b = doc.AddFrame(kFrameText, IntRect{10, 100, 150, 160});
    ASSERT_TRUE(a && b);
    CurrPageMng& m = *doc.PageManager();
    auto reopen = [&](bool flowText) {
        m.CloseCurrentPages();
        EXPECT_TRUE(m.SetPageNumbers(1, kNoPageNumber));
        doc.laidOut.clear();
        m.LoadCurrentPages(1, flowText);
        EXPECT_EQ(m.FrameCount(), 2);
    };
    reopen(true);
    EXPECT_EQ(doc.laidOut.size(), 2u);
    reopen(false);
    EXPECT_TRUE(doc.laidOut.empty());

    doc.Frames()->LinkTextAfter(m.FrameAt(0), m.FrameAt(1));
    reopen(false);
    EXPECT_EQ(doc.laidOut.size(), 2u);
}

TEST_F(PageManager, GuidesTravelWithTheirPage)
{
    Make(IntSize{100, 35}, 100);
    CurrPageMng& m = Manager();
    m.MakeGuideGrid(0, 10);
    EXPECT_EQ(m.Guide(0, 0).position, 10);
    EXPECT_EQ(m.Guide(0, 1).position, 20);
    EXPECT_EQ(m.Guide(0, 2).position, 30);
    EXPECT_EQ(m.Guide(0, 2).kind, kGuideHorizontal);
    EXPECT_EQ(m.Guide(0, 3).kind, kGuideEmpty);
    int16_t x = 0, y = 0;
    m.GetGuideSpacing(&x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 10);

    m.MakeGuideGrid(40, 10);
    EXPECT_EQ(m.Guide(0, 0).kind, kGuideHorizontal);
    EXPECT_EQ(m.Guide(0, 1).kind, kGuideVertical);
    EXPECT_EQ(m.Guide(0, 1).position, 40);
    EXPECT_EQ(m.Guide(0, 3).position, 80);
    EXPECT_EQ(m.Guide(0, 4).position, 30);
    EXPECT_EQ(m.Guide(0, 5).kind, kGuideEmpty);
    EXPECT_TRUE(doc_->modified);

    m.SetZoom(200, 100, 4, 1);
    m.CloseCurrentPages();
    uint8_t record[kPageRecordSize];
    doc_->Pages()->GetPage(0, record);
    EXPECT_EQ(GetI16LE(record + kPageZoomNumOffset), 200);
    EXPECT_EQ(GetI16LE(record + kPageGuidesOffset + 4), 40);
    EXPECT_EQ(record[kPageGuidesOffset + 6], kGuideVertical);
    ASSERT_TRUE(m.SetPageNumbers(1, kNoPageNumber));
    m.LoadCurrentPages(1);
    EXPECT_EQ(m.Guide(0, 3).position, 80);
}

TEST_F(PageManager, GuidesAreAddedWhereTheMouseIsAndSnapPointsNearThem)
{
    CurrPageMng& m = Manager();
    ASSERT_TRUE(m.AddGuide(kGuideHorizontal, IntPoint{50, 100}));
    ASSERT_TRUE(m.AddGuide(kGuideVertical, IntPoint{200, 100}));
    EXPECT_FALSE(m.AddGuide(kGuideVertical, IntPoint{900, 100}));
    EXPECT_EQ(doc_->refreshes, 2);
    IntPoint out;
    m.SnapPoint(IntPoint{208, 92}, &out);
    EXPECT_EQ(out.x, 200);
    EXPECT_EQ(out.y, 100);
    m.SnapPoint(IntPoint{209, 91}, &out);
    EXPECT_EQ(out.x, 209);
    EXPECT_EQ(out.y, 91);
    // Zoom mode 1 doubles the reach.
    m.SetZoom(1, 1, 1, 0);
    m.SnapPoint(IntPoint{217, 83}, &out);
    EXPECT_EQ(out.x, 200);
    EXPECT_EQ(out.y, 100);
    m.SnapPoint(IntPoint{218, 82}, &out);
    EXPECT_EQ(out.x, 218);

    int16_t slot = -1, entry = -1;
    EXPECT_TRUE(m.FindGuideNear(IntPoint{202, 10}, &slot, &entry, kGuideVertical, 3));
    EXPECT_EQ(entry, 1);
    EXPECT_FALSE(m.FindGuideNear(IntPoint{202, 10}, &slot, &entry, kGuideHorizontal, 3));
    EXPECT_TRUE(m.RemoveGuideAt(IntPoint{201, 10}));
    EXPECT_EQ(m.Guide(0, 1).kind, kGuideEmpty);
}

TEST_F(PageManager, FramesAlignToTheirAnchors)
{
    FrameObj* anchor = Add(kFrameRect, IntRect{100, 100, 120, 150}, kSampleRed, kSampleRed);
    FrameObj* f = Add(kFrameRect, IntRect{0, 0, 11, 30}, kSampleRed, kSampleRed);
    f->SetAlignment(anchor->FrameId(), anchor->FrameId(), 2, 1);
    Manager().ClearChanged();
    ASSERT_TRUE(Manager().ApplyAlignments());
    // Centres: (100 + 120) / 2 - (0 + 11) / 2 = 110 - 5.
    EXPECT_EQ(f->Geometry().x, 105);
    EXPECT_EQ(f->Geometry().y, 100);
    EXPECT_EQ(f->AlignOffset().x, 0);
    EXPECT_EQ(f->AlignOffset().y, 100);
    // Aligning is no edit of the frame.
    EXPECT_FALSE(f->IsChanged());
    EXPECT_FALSE(Manager().ApplyAlignments());

    Manager().ClearAlignmentsTo(anchor->FrameId(), 0);
    uint16_t h = 1, v = 1;
    int16_t mh = 1, mv = 1;
    f->GetAlignment(&h, &v, &mh, &mv);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(mh, 0);
}

TEST_F(PageManager, PageLookupsThatFailSayWhatFailed)
{
    AlertCapture alerts;
    CurrPageMng& m = Manager();
    const uint32_t handle = m.PageHandleOfSlot(0);
    EXPECT_EQ(m.GetPIndex(1), handle);
    EXPECT_EQ(m.GetPageNumber(handle), 1);
    uint16_t slot = 9;
    EXPECT_EQ(m.GetIndex(handle, &slot), 0);
    EXPECT_EQ(slot, 0);
    EXPECT_TRUE(alerts.boxes().empty());
    EXPECT_EQ(m.GetPIndex(7), 0u);
    EXPECT_EQ(m.GetIndex(handle + 50, &slot), 1);
    EXPECT_EQ(m.GetPageNumber(handle + 50), 0);
    ASSERT_EQ(alerts.boxes().size(), 3u);
    EXPECT_EQ(alerts.boxes()[0].text, " GetPIndex Error .....");
    uint8_t residence = 0;
    EXPECT_EQ(m.PageAtRect(IntRect{390, 10, 420, 20}, &residence), handle);
    EXPECT_EQ(residence, kOnPage);
    EXPECT_EQ(m.PageAtRect(IntRect{401, 10, 420, 20}, &residence), kNoPageHandle);
    EXPECT_EQ(residence, kOnPasteboard);
}

}  // namespace
