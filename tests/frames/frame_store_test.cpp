#include <gtest/gtest.h>

#include <vector>

#include "frames/frame_obj.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_record_format.h"
#include "support/alert_capture.h"
#include "test_document.h"

namespace {

class FrameStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.ok());
        doc_.pages.InsertPages(0, 3, 0, 0);
    }
    void TearDown() override { EXPECT_EQ(CountSwapNames(dir_.path()), 0); }

    uint32_t PageHandleOf(int16_t number)
    {
        uint32_t h = kNoPageHandle;
        doc_.pages.HandleOfNumber(number, &h);
        return h;
    }
    // A frame of the type on page number (0 = the pasteboard).
    FrameObj* Add(int16_t type, int16_t page, int16_t pageWord = 0)
    {
        FrameObj* f = doc_.frames.CreateFrameObject(type, 1);
        EXPECT_NE(f, nullptr);
        doc_.frames.SetFramePage(f, page ? PageHandleOf(page) : 0, page ? kResidencePage : kResidencePasteboard);
        f->SetPageWord(pageWord, 0);
        return f;
    }
    const uint8_t* Record(uint16_t id)
    {
        static uint8_t r[kFrameRecordSize];
        doc_.frames.GetFrameRecord(id, r);
        return r;
    }
    std::vector<uint16_t> Chain(uint16_t head)
    {
        std::vector<uint16_t> ids;
        for (uint16_t id = head; id != 0 && ids.size() < 10; id = FrameNext(Record(id)))
            ids.push_back(id);
        return ids;
    }

    TempDir dir_;
    TestDocument doc_{dir_.path()};
};

TEST_F(FrameStoreTest, FramesLeaveMemoryThroughTheSwapFileAndComeBack)
{
    FrameObj* f = Add(kFrameRect, 1);
    f->SetFromRect(IntRect{1, 2, 3, 4});
    const uint16_t id = f->FrameId();
    doc_.frames.SetHeld(f, false);
    ASSERT_EQ(doc_.frames.UnloadData(id), 0);
    EXPECT_EQ(doc_.frames.GetLoadedFrame(id), nullptr);
    EXPECT_EQ(HeaderFlags(Record(id)), kRecCopied);
    EXPECT_EQ(HeaderSize(Record(id)), 148u);

    // Reached on demand only after the document showed its page.
    FrameObj* back = doc_.frames.GetFrameObject(id);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(doc_.switches, std::vector<int16_t>{1});
    EXPECT_EQ(back->Geometry().x, 1);
    EXPECT_EQ(back->FrameId(), id);
    EXPECT_EQ(back->Document(), &doc_);

    doc_.frames.UnloadData(id);
    doc_.allowSwitch = false;
    EXPECT_EQ(doc_.frames.GetFrameObject(id), nullptr);
    EXPECT_EQ(doc_.frames.GetFrameObject(0), nullptr);
}

TEST_F(FrameStoreTest, AFrameWhoseBlockCannotBeReadStaysOut)
{
    FrameObj* f = Add(kFrameEllipse, 1);
    const uint16_t id = f->FrameId();
    ASSERT_EQ(doc_.frames.UnloadData(id), 0);
    ASSERT_EQ(FileSetSize(doc_.swap.GetFileHandle(), 100), 0);
    EXPECT_EQ(doc_.frames.LoadFrame(id, 0), nullptr);
    EXPECT_FALSE(HeaderHas(Record(id), kRecLoaded));
}

TEST_F(FrameStoreTest, DeletingAMissingFrameIsReported)
{
    AlertCapture alerts;
    FrameObj* f = Add(kFrameRect, 1);
    EXPECT_TRUE(doc_.frames.DeleteFrame(f));
    EXPECT_EQ(doc_.frames.Count(), 0);
    FrameObj stray;
    stray.SetFrameId(42);
    EXPECT_FALSE(doc_.frames.DeleteFrame(&stray));
    EXPECT_EQ(alerts.lastText(), "Frame not found in FRAMES. [-12345]");
    EXPECT_TRUE(doc_.frames.DeleteFrame(nullptr));
}

TEST_F(FrameStoreTest, PasteboardListHolds299FramesAndGroups)
{
    AlertCapture alerts;
    std::vector<std::unique_ptr<FrameObj>> frames;
    for (int i = 0; i < 300; ++i)
        frames.emplace_back(new FrameObj);
    for (int i = 0; i < 299; ++i)
        ASSERT_TRUE(doc_.shared.AddFrame(frames[size_t(i)].get()));
    EXPECT_EQ(frames[5]->Block().pageWord, 5);
    EXPECT_TRUE(alerts.boxes().empty());
    EXPECT_FALSE(doc_.shared.AddFrame(frames[299].get()));
    EXPECT_FALSE(doc_.shared.AddFrame(nullptr));
    ASSERT_EQ(alerts.boxes().size(), 2u);
    EXPECT_EQ(alerts.boxes()[0].text,
              "Out of limit frames on current page.\nNew frame is not displayed on current page.");
    for (int i = 0; i < 299; ++i)
        ASSERT_TRUE(doc_.shared.AddGroup(frames[size_t(i)].get()));
    EXPECT_FALSE(doc_.shared.AddGroup(frames[299].get()));
    EXPECT_EQ(alerts.lastText(), "Out of limit group frames on current page.");
    doc_.shared.Clear();
    EXPECT_EQ(doc_.shared.FrameCount(), 0);
}

TEST_F(FrameStoreTest, ChainsLinkUnlinkAndStep)
{
    FrameObj* first = Add(kFrameText, 1);
    FrameObj* last = Add(kFrameText, 1);
    FrameObj* middle = Add(kFrameText, 1);
    doc_.frames.NewStory(first, true);
    doc_.frames.LinkTextAfter(first, last);
    doc_.frames.LinkFrames(middle, last->FrameId());
    EXPECT_EQ(Chain(first->FrameId()), (std::vector<uint16_t>{1, 3, 2}));
    EXPECT_EQ(middle->Block().storyId, first->Block().storyId);
    EXPECT_TRUE(doc_.frames.IsChained(middle));
    EXPECT_FALSE(middle->IsRotatable()) << "a chained text frame does not turn";

    doc_.frames.SetFrameEnd(3, TextPosition{0, 0});
    doc_.frames.SetFrameEnd(2, TextPosition{0, 0});
    doc_.frames.Unlink(middle);
    EXPECT_EQ(Chain(1), (std::vector<uint16_t>{1, 2}));
    EXPECT_TRUE(HeaderHas(Record(2), kFrameNeedsReflow));
    EXPECT_FALSE(doc_.frames.IsChained(middle));
    EXPECT_EQ(middle->Block().storyId, first->Block().storyId) << "an unlinked frame keeps its story";

    doc_.frames.LinkAfter(1, middle);
    EXPECT_EQ(Chain(1), (std::vector<uint16_t>{1, 3, 2}));

    // Mode 2 walks to the next held frame.
    doc_.frames.SetHeld(first, false);
    doc_.frames.SetHeld(middle, false);
    doc_.frames.SetHeld(last, false);
    EXPECT_EQ(doc_.frames.ChainStep(1, 1, 2), 0);
    doc_.frames.SetHeld(last, true);
    EXPECT_EQ(doc_.frames.ChainStep(1, 1, 2), 2);
    EXPECT_EQ(doc_.frames.ChainStep(1, 1, 1), 0);
    EXPECT_EQ(doc_.frames.ChainStep(1, 1, 0), 3);
    EXPECT_EQ(doc_.frames.ChainHead(2, false, 0), 1);
}

TEST_F(FrameStoreTest, FrameEndsMarkTheNextFrameOnlyWhenTheyMove)
{
    FrameObj* a = Add(kFrameText, 1);
    FrameObj* b = Add(kFrameText, 1);
    doc_.frames.NewStory(a, true);
    doc_.frames.LinkTextAfter(a, b);
    doc_.frames.SetFrameEnd(2, TextPosition{0, 0});
    doc_.frames.SetFrameEnd(1, TextPosition{3, 7});
    b->MarkChanged(0, 0);
    doc_.frames.SetFrameEnd(2, TextPosition{0, 0});
    EXPECT_FALSE(doc_.frames.SetFrameEnd(1, TextPosition{3, 7}));
    EXPECT_FALSE(HeaderHas(Record(1), kFrameNeedsReflow));
    EXPECT_FALSE(HeaderHas(Record(2), kFrameNeedsReflow));
    EXPECT_TRUE(doc_.frames.SetFrameEnd(1, TextPosition{4, 0}));
    EXPECT_TRUE(HeaderHas(Record(2), kFrameNeedsReflow));
    EXPECT_TRUE(b->IsChanged());

    // Flowing asks the text engine for the frame's end from its start.
    doc_.layoutEnds = {TextPosition{9, 2}};
    EXPECT_TRUE(doc_.frames.FlowFrame(2, false));
    TextPosition start, end;
    doc_.frames.GetFrameStart(2, &start, &end);
    EXPECT_EQ(start, (TextPosition{4, 0}));
    EXPECT_EQ(end, (TextPosition{9, 2}));
    EXPECT_EQ(doc_.frames.FindFrameForPos(1, TextPosition{5, 0}), 2);
    EXPECT_EQ(doc_.frames.FindFrameForPos(1, TextPosition{4, 0}), 1);
    EXPECT_EQ(doc_.frames.FindFrameForPos(1, TextPosition{20, 0}), 2);
}

TEST_F(FrameStoreTest, TheShownFrameOfAStory)
{
    FrameObj* a = Add(kFrameText, 3);
    FrameObj* b = Add(kFrameText, 1);
    FrameObj* c = Add(kFrameText, 1);
    doc_.frames.NewStory(a, true);
    doc_.frames.LinkTextAfter(a, b);
    doc_.frames.LinkTextAfter(b, c);
    doc_.frames.SetHeld(a, false);
    doc_.frames.SetHeld(b, true);
    doc_.frames.SetHeld(c, true);
    EXPECT_EQ(doc_.frames.FindShownStoryFrame(a->FrameId()), b);
    EXPECT_EQ(doc_.frames.FindShownStoryFrame(c->FrameId()), c);
    EXPECT_EQ(doc_.frames.FindShownStoryFrame(0), nullptr);
}

TEST_F(FrameStoreTest, AFullPageComesBackWholeInZOrder)
{
    // More frames than the old 150 per side; two of them claim the same
    // z-order place and one page word lies beyond the lists.
    const int kFrames = 200;
    for (int i = 0; i < kFrames; ++i) {
        FrameObj* f = Add(kFrameRect, 2, int16_t(i == 7 ? 600 : i == kFrames - 1 ? 7 : i));
        f->SetPageWord(int16_t(i == 11 ? 10 : i), 1);
    }
    Add(kFrameGroup, 2);
    Add(kFrameRect, 1);
    ASSERT_EQ(doc_.frames.UnloadAll(0), 0);
    const uint32_t pages[2] = {PageHandleOf(2), kNoPageHandle};
    const IntPoint offsets[2] = {{100, 0}, {0, 0}};
    doc_.frames.CollectPageFrames(pages, offsets, kResidencePage, true);
    doc_.frames.PackPageLists();
    EXPECT_EQ(doc_.frames.CollectedCount(0), kFrames);
    EXPECT_EQ(doc_.frames.CollectedAt(0, kFrames - 1)->FrameId(), 8) << "the far page word comes last";

    std::vector<FrameObj*> list(450);
    EXPECT_EQ(doc_.frames.TakePageFrames(list.data(), 450, true), kFrames);
    EXPECT_EQ(list[10]->FrameId(), 11);
    EXPECT_EQ(list[11]->FrameId(), 12) << "the second claimant takes the next free place";
    EXPECT_EQ(list[12]->FrameId(), 13);
    for (int i = 0; i < kFrames; ++i)
        ASSERT_NE(list[size_t(i)], nullptr);
    EXPECT_EQ(list[0]->Geometry().x, 100) << "collected frames are shifted to their side";
    EXPECT_EQ(doc_.frames.TakePageGroups(list.data(), 450, 5), 6);
    EXPECT_EQ(list[5]->GetType(), kFrameGroup);
    EXPECT_TRUE(HeaderHas(Record(1), kFrameHeld));
    EXPECT_FALSE(HeaderHas(Record(uint16_t(kFrames + 2)), kRecLoaded)) << "other pages stay out";
}

TEST_F(FrameStoreTest, PasteboardFramesReloadIntoTheirList)
{
    Add(kFrameRect, 0);
    Add(kFrameGroup, 0);
    Add(kFrameRect, 1);
    ASSERT_EQ(doc_.frames.UnloadAll(0), 0);
    EXPECT_EQ(doc_.frames.RebuildPageLists(), 2);
    EXPECT_EQ(doc_.shared.FrameCount(), 1);
    EXPECT_EQ(doc_.shared.GroupCount(), 1);
    doc_.frames.ClearKeepFlags();
    EXPECT_TRUE(HeaderHas(Record(1), kFrameHeld));
    EXPECT_FALSE(HeaderHas(Record(3), kFrameHeld));
    // Closing the pages leaves the pasteboard in memory.
    doc_.frames.LoadFrame(3, 0);
    EXPECT_EQ(doc_.frames.UnloadPageFrames(), 0);
    EXPECT_NE(doc_.frames.GetLoadedFrame(1), nullptr);
    EXPECT_EQ(doc_.frames.GetLoadedFrame(3), nullptr);
}

TEST_F(FrameStoreTest, ReflowFollowsTheChainAndStoriesChangeHands)
{
    FrameObj* a = Add(kFrameText, 1);
    FrameObj* b = Add(kFrameText, 1);
    FrameObj* c = Add(kFrameText, 2);
    doc_.frames.NewStory(a, true);
    doc_.frames.LinkTextAfter(a, b);
    doc_.frames.LinkTextAfter(b, c);
    doc_.frames.SetHeld(c, false);
    for (uint16_t id : {1, 2, 3})
        doc_.frames.SetFrameEnd(id, TextPosition{0, 0});

    // Re-flow starts at the earliest frame that needs it and goes on while
    // ends move, but not past the last held frame.
    doc_.frames.InvalidateChain(1);
    EXPECT_TRUE(HeaderHas(Record(2), kFrameNeedsReflow));
    EXPECT_FALSE(HeaderHas(Record(3), kFrameNeedsReflow)) << "no held frame follows the second";
    doc_.frames.SetNeedsReflow(1);
    doc_.layoutEnds = {TextPosition{2, 0}, TextPosition{5, 0}};
    EXPECT_TRUE(doc_.frames.ReflowHeld(false));
    EXPECT_EQ(doc_.laidOut, (std::vector<uint16_t>{1, 2}));
    EXPECT_EQ(FrameEndField(Record(2)), (TextPosition{5, 0}));
    EXPECT_TRUE(HeaderHas(Record(3), kFrameNeedsReflow)) << "the frame after a moved end waits for its turn";

    // A story moves to another id, also for a frame that is swapped out.
    ASSERT_EQ(doc_.frames.UnloadData(3), 0);
    const int16_t old = a->Block().storyId;
    doc_.frames.ReplaceStoryId(old, 77);
    EXPECT_EQ(a->Block().storyId, 77);
    EXPECT_EQ(FrameStory(Record(3)), 77);
    EXPECT_EQ(doc_.frames.LoadFrame(3, 0)->Block().storyId, 77);
    EXPECT_TRUE(doc_.frames.SameStory(a, b));
}

TEST_F(FrameStoreTest, PasteboardFramesMoveBesideThePageTheyOverlap)
{
    FrameObj* left = Add(kFrameRect, 0);
    left->SetFromRect(IntRect{10, 10, 30, 20});
    FrameObj* away = Add(kFrameRect, 0);
    away->SetFromRect(IntRect{500, 500, 510, 510});
    doc_.shared.AddFrame(left);
    doc_.shared.AddFrame(away);
    const uint32_t pages[2] = {1, 2};
    const IntRect rects[2] = {{0, 0, 100, 100}, {100, 0, 200, 100}};
    doc_.shared.PlaceOnPages(pages, rects);
    EXPECT_EQ(left->Geometry().x, -20) << "its right edge meets the first page's left edge";
    EXPECT_EQ(away->Geometry().x, 500);
}

}  // namespace
