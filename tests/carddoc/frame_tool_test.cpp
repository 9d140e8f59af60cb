// The tool base: the frame-making gesture, the document's one level of
// undo, and the attribute records the tools publish.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "card_test_support.h"
#include "foundation/path_record.h"
#include "frames/ctfile_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_store.h"
#include "frames/page_table2.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"
#include "support/temp_dir.h"
#include "surface_view.h"
#include "toolbase/frame_tool.h"
#include "tools/stand_ins/stand_in_hosts.h"

namespace {

class BaseToolDocument : public StandInToolDocument {
public:
    explicit BaseToolDocument(const std::string& folder)
    {
        PathRecord r{};
        EXPECT_EQ(PathRecordFromPosix(folder + "/", &r), 0);
        EXPECT_EQ(swap.CreateSwapFile(r), 0);
    }
    CTFileMng* SwapFile() override { return &swap; }
    PageTable* Pages() override { return &pages; }
    FrameStore* Frames() override { return &frames; }
    StoryStore* Stories() override { return &stories; }
    SharedFrameList* SharedFrames() override { return &shared; }
    FrameView* View() override { return &view; }
    TrackerView* CardView() override { return &view; }
    FrameObj* NewFrame(int16_t type) override { return frames.CreateFrameObject(type, 1); }
    void GetPageSlotRect(int16_t slot, IntRect* r) override { *r = slot == 0 || slot == 1 ? slots[slot] : IntRect{}; }
    void SetGraphicAttrs(const GraphicAttrs& attrs) override { graphic = attrs; }
    void SetTextAttrs(const TextAttrs& attrs) override { text = attrs; }
    void SelectTool(int16_t kind) override { selectedTool = kind; }
    bool ControlDown() override { return ctrl; }
    void UndoAvailable() override { ++undoOffered; }

    CTFileMng swap;
    PageTable2 pages{this};
    FrameStore frames{this, &swap};
    StoryStore stories{this, &swap};
    SharedFrameList shared;
    SurfaceView view{300, 200, 20};
    GraphicAttrs graphic;
    TextAttrs text;
    int16_t selectedTool = -1;
    bool ctrl = false;
    int32_t undoOffered = 0;
    IntRect slots[2] = {};
};

// The rectangle tool as far as the base makes it.
class RectTool : public FrameTool {
public:
    using FrameTool::FrameTool;
    int16_t GetKind() override { return 5; }
    int16_t GetFrameType() override { return kFrameRect; }
};

class FrameToolTest : public ::testing::Test {
protected:
    FrameToolTest()
    {
        doc.view.show();
        doc.view.onPress = [this](const IntPoint& p) { made = tool.MouseDown(p); };
    }
    void DragFrame(const IntPoint& from, const IntPoint& to)
    {
        QTimer::singleShot(0, &doc.view, [&] {
            QTest::mouseMove(&doc.view, doc.view.Pixel(to));
            QTest::mouseRelease(&doc.view, Qt::LeftButton, {}, doc.view.Pixel(to));
        });
        QTest::mousePress(&doc.view, Qt::LeftButton, {}, doc.view.Pixel(from));
    }

    TempDir dir;
    BaseToolDocument doc{dir.path()};
    RectTool tool{&doc};
    int32_t made = -1;
};

TEST_F(FrameToolTest, DraggingMakesAFrameWithTheDefaultsAndAnUndo)
{
    DragFrame(IntPoint{10, 20}, IntPoint{110, 70});
    EXPECT_EQ(made, 1);
    FrameObj* frame = tool.CurrentFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Geometry().x, 10);
    EXPECT_EQ(frame->Geometry().y, 20);
    EXPECT_EQ(frame->Geometry().width, 100);
    EXPECT_EQ(frame->Geometry().height, 50);
    EXPECT_EQ(frame->Attributes().borderColour, 15);
    EXPECT_EQ(frame->Attributes().borderTint, 100);
    EXPECT_EQ(frame->Attributes().fontId, kAttrNotSet);
    EXPECT_EQ(doc.UndoOwner(), &tool);
    EXPECT_EQ(doc.undoOffered, 1);
    std::string menu;
    EXPECT_TRUE(tool.GetUndoMenuText(&menu));
    EXPECT_EQ(menu, "Undo New Frame");
    // The tool springs back to the Object tool, unless Ctrl is held.
    EXPECT_EQ(doc.selectedTool, kToolObject);
    doc.selectedTool = -1;
    doc.ctrl = true;
    DragFrame(IntPoint{10, 100}, IntPoint{50, 150});
    EXPECT_EQ(made, 1);
    EXPECT_EQ(doc.selectedTool, -1);
}

TEST_F(FrameToolTest, AClickMakesNothing)
{
    DragFrame(IntPoint{10, 20}, IntPoint{12, 22});
    EXPECT_EQ(made, 0);
    EXPECT_EQ(doc.UndoOwner(), nullptr);
    std::string menu;
    EXPECT_FALSE(tool.GetUndoMenuText(&menu));
    EXPECT_EQ(menu, "Can't Undo");
}

TEST_F(FrameToolTest, TheDocumentKeepsOneUndoLevel)
{
    DragFrame(IntPoint{10, 20}, IntPoint{110, 70});
    RectTool other(&doc);
    doc.view.onPress = [&](const IntPoint& p) { other.MouseDown(p); };
    DragFrame(IntPoint{10, 100}, IntPoint{60, 150});
    EXPECT_EQ(doc.UndoOwner(), &other);
    std::string menu;
    EXPECT_FALSE(tool.GetUndoMenuText(&menu));
    // Choosing a tool forgets the pending undo.
    tool.Activate(&other, 5);
    EXPECT_EQ(doc.UndoOwner(), nullptr);
    EXPECT_FALSE(other.GetUndoMenuText(&menu));
}

TEST_F(FrameToolTest, PlacingAFrameKeepsItOnTheWholePageNotOneSlot)
{
    // Two pages side by side, as the front and back of a card are shown.
    doc.slots[0] = IntRect{0, 0, 120, 160};
    doc.slots[1] = IntRect{140, 0, 260, 160};
    IntRect page;
    tool.GetPageRect(&page);
    EXPECT_EQ(page.left, 0);
    EXPECT_EQ(page.top, 0);
    EXPECT_EQ(page.right, 260);
    EXPECT_EQ(page.bottom, 160);

    DragFrame(IntPoint{150, 20}, IntPoint{200, 60});
    FrameObj* frame = tool.CurrentFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->Geometry().x, 150);
    // A frame on the second page goes where it is asked to, not back
    // within the first page's size.
    tool.SetFramePlacement(0, 180, 0, false);
    EXPECT_EQ(frame->Geometry().x, 180);
    tool.SetFramePlacement(1, 90, 0, false);
    EXPECT_EQ(frame->Geometry().y, 90);
    // It still stops at the page's edges.
    tool.SetFramePlacement(0, 1000, 0, false);
    EXPECT_EQ(frame->Geometry().x, 210);
    tool.SetFramePlacement(1, -40, 0, false);
    EXPECT_EQ(frame->Geometry().y, 0);
}

class CardPlacementTest : public CardDocTest {};

TEST_F(CardPlacementTest, AFrameGoesRightUpToTheCardsFarEdges)
{
    auto doc = NewCardDocument();
    ASSERT_NE(doc, nullptr);
    doc->InitialUpdate();
    // The card stands inside the pasteboard around it.
    const IntRect card = doc->PageGeometry().slots[0];
    ASSERT_GT(card.left, 0);
    ASSERT_GT(card.top, 0);
    RectTool rect(doc.get());
    FrameObj* frame = rect.CreateFrame(IntRect{0, 0, 40, 30});
    ASSERT_NE(frame, nullptr);
    frame->SetFromRect(IntRect{card.left + 10, card.top + 10, card.left + 50, card.top + 40});
    rect.SetFramePlacement(0, card.right - 40, 0, false);
    rect.SetFramePlacement(1, card.bottom - 30, 0, false);
    EXPECT_EQ(frame->Geometry().x, card.right - 40);
    EXPECT_EQ(frame->Geometry().y, card.bottom - 30);
    // Out onto the pasteboard, but not past it.
    rect.SetFramePlacement(0, card.right + 5000, 0, false);
    IntRect page;
    doc->GetPageRect(&page);
    EXPECT_EQ(frame->Geometry().x, page.right - 40);
}

TEST_F(FrameToolTest, SettersPublishTheAttributeRecords)
{
    tool.SetColor(300, 3);
    EXPECT_EQ(doc.graphic.textColour, 300);
    tool.SetShade(40, 2);
    EXPECT_EQ(doc.graphic.fillShade, 100);
    tool.SetShade(40, 1);
    EXPECT_EQ(doc.graphic.fillShade, 40);
    EXPECT_EQ(doc.graphic.dataFieldIndex, kAttrNotSet);
    tool.SetFontSize(18);
    EXPECT_EQ(doc.text.size, 18);
    EXPECT_EQ(doc.text.toolWordA, kAttrNotSet);
    EXPECT_EQ(doc.text.styleEntry, -1);
}

}  // namespace
