#include <cstring>
#include <memory>
#include <vector>

#include <QImage>

#include "app/card_app.h"
#include "app/doc_template.h"
#include "app/new_document_command.h"
#include "app/shell_document.h"
#include "foundation/byte_order.h"
#include "graphics/dib_handle.h"
#include "graphics/dib_pixels.h"
#include "platform/gdi_types.h"
#include "wizard/category_tree_ctrl.h"
#include "wizard/new_document_wizard.h"
#include "wizard/pg_wiz_1.h"
#include "wizard/pg_wiz_2.h"
#include "wizard/wizard_preview_wnd.h"
#include "wizard_sheet_fixture.h"

namespace {

// A card document that keeps the set-up the application had when it was
// made.
class SetupDocument : public ShellDocument {
public:
    explicit SetupDocument(const uint8_t* setup) : setup(setup, setup + kDocSetupSize) {}
    std::string Title() const override { return "Untitled"; }
    std::string PathName() const override { return {}; }
    bool IsModified() const override { return false; }
    bool Save() override { return true; }
    QWidget* CreateView(int32_t, QWidget*) override { return nullptr; }
    std::vector<uint8_t> setup;
};

class SetupFactory : public DocumentFactory {
public:
    std::unique_ptr<ShellDocument> NewDocument() override
    {
        return std::make_unique<SetupDocument>(GetCardApp()->DefaultDocSetup());
    }
    std::unique_ptr<ShellDocument> OpenDocument(const std::string&) override { return nullptr; }
};

class QuietFrames : public DocumentFrameHost {
public:
    bool CreateDocumentFrame(ShellDocument*, bool) override { return true; }
    void DestroyDocumentFrames(ShellDocument*) override {}
    void ActivateDocumentFrame(ShellDocument*) override {}
};

// What the scripted user chooses on the Document Type page, and whether
// the wizard is finished.
const char* g_category = nullptr;
bool g_finish = true;

int32_t ScriptedRun(CDlgWizard* sheet)
{
    WalkToFinish(sheet, g_category);
    return FinishOrCancel(sheet, g_finish);
}

class NewDocumentWizardTest : public StarterCatalogue {
protected:
    void SetUp() override
    {
        StarterCatalogue::SetUp();
        // The wizard opens the data itself.
        WizardDataClose();
        DocTemplate* cards = app.Documents().AddTemplate(std::make_unique<DocTemplate>(
            129, "Tessaline\nCard\nCard\nCard (*.lqx)\n.lqx\nTessalineLB\nTessaline", ChildFrameKind::kCard));
        cards->SetFactory(std::make_unique<SetupFactory>());
        app.Documents().SetFrameHost(&frames);
        previous = SetWizardSheetRunner(&ScriptedRun);
    }
    void TearDown() override
    {
        SetWizardSheetRunner(previous);
        WizardDataOpen(0);
        StarterCatalogue::TearDown();
    }

    CCardApp app;
    QuietFrames frames;
    WizardSheetRunner previous = nullptr;
};

TEST_F(NewDocumentWizardTest, FinishMakesACardDocumentOfEveryDocumentType)
{
    struct Case {
        const char* category;
        uint32_t fromCategory;
        double width;
    };
    const Case cases[] = {
        {"Business Cards", 1, 252.0},
        {"Address Labels", 1, 189.0},
        {"Shipping Labels", 1, 288.0},
        {"Index Cards", 1, 360.0},
        {"Custom Document", 0, 252.0},
    };
    for (const Case& c : cases) {
        g_category = c.category;
        g_finish = true;
        ShellDocument* doc = RunNewDocumentWizard(&app);
        ASSERT_NE(doc, nullptr) << c.category;
        const std::vector<uint8_t>& setup = static_cast<SetupDocument*>(doc)->setup;
        EXPECT_EQ(GetU32LE(setup.data() + kDocSetupFromCategory), c.fromCategory) << c.category;
        EXPECT_EQ(GetF64LE(setup.data() + kDocSetupLabelWidth), c.width) << c.category;
        EXPECT_EQ(GetU32LE(setup.data() + kDocSetupPreviewSlot), 0u);
        EXPECT_EQ(std::memcmp(app.CurrentLabelType(), setup.data() + kDocSetupLabelType, kDocSetupLabelTypeSize), 0);
    }
    EXPECT_EQ(app.GetOpenDocumentCount(), 5);
}

TEST_F(NewDocumentWizardTest, CancelMakesNothingAndKeepsTheDefaultSetUp)
{
    std::vector<uint8_t> before(app.DefaultDocSetup(), app.DefaultDocSetup() + kDocSetupSize);
    g_category = "Business Cards";
    g_finish = false;
    EXPECT_EQ(RunNewDocumentWizard(&app), nullptr);
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    EXPECT_EQ(std::vector<uint8_t>(app.DefaultDocSetup(), app.DefaultDocSetup() + kDocSetupSize), before);
}

// Colour of the preview's face at a point.
QRgb At(const CWizardPreviewWnd& w, int x, int y)
{
    return w.Canvas().pixel(x, y) & 0xFFFFFF;
}

DibHandle Solid(int width, int height, uint8_t value)
{
    DibHandle dib = DibHandleNew();
    DibHandleCreate(dib, width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            DibHandleSetPixel(dib, x, y, MakeRgb(value, value, value));
    return dib;
}

TEST(WizardPreviewWnd, LayersFitTheNominalSizeWithAShadowAndRepaintWithoutFlashing)
{
    CWizardPreviewWnd preview;
    preview.SetMode(kWizPreviewShadowed);
    preview.resize(200, 100);
    // Neither layer: only the face, no frame and no shadow.
    const QRgb face = At(preview, 100, 50);
    EXPECT_EQ(At(preview, 150, 90), face);

    preview.SetBackground(Solid(8, 8, 0x40), 100, 50);
    EXPECT_EQ(preview.NominalWidth(), 100.0);
    EXPECT_EQ(preview.AspectRatio(), 2.0);
    const IntRect r = preview.PictureRect(200, 100);
    EXPECT_EQ(r.right - r.left, 96);
    EXPECT_EQ(At(preview, 100, 50), 0x404040u);
    // The shadow lies below and right of the picture.
    EXPECT_EQ(At(preview, r.right + 2, r.bottom + 2), 0u);

    // The same shape again repaints without wiping the face.
    const int32_t erased = preview.EraseCount();
    preview.SetBackground(Solid(8, 8, 0x80), 100, 50);
    EXPECT_EQ(preview.EraseCount(), erased);
    EXPECT_EQ(At(preview, 100, 50), 0x808080u);
    // Another shape wipes it.
    preview.SetBackground(Solid(8, 8, 0x80), 50, 50);
    EXPECT_EQ(preview.EraseCount(), erased + 1);

    // White in the overlay lets the backdrop show through.
    DibHandle overlay = Solid(8, 8, 0xFF);
    preview.SetOverlay(overlay, 50, 50);
    EXPECT_EQ(At(preview, 100, 50), 0x808080u);
    preview.SetOverlay(Solid(8, 8, 0x10), 50, 50);
    EXPECT_EQ(At(preview, 100, 50), 0x101010u);

    // Emptying a layer that is already empty does nothing at all.
    preview.SetOverlay(nullptr, -1, -1);
    const int32_t now = preview.EraseCount();
    preview.SetOverlay(nullptr, -1, -1);
    preview.SetOverlayFromHandle(nullptr, -1, -1);
    EXPECT_EQ(preview.EraseCount(), now);
    // Bits that are not a metafile are refused and change nothing.
    Handle junk = HandleNew(16);
    EXPECT_EQ(preview.SetOverlayFromHandle(junk, 10, 10), 1);
    EXPECT_FALSE(preview.HasOverlay());
}

TEST_F(StarterCatalogue, CategoryTreeFiltersKindsAddsTheSyntheticEntryAndRefusesDropsIntoItself)
{
    CCategoryTreeCtrl tree;
    tree.Fill(GetWizardTree());
    tree.ClearKinds();
    for (uint32_t kind = 1; kind <= 9; ++kind)
        tree.AddKind(kind);
    // The ninth is ignored.
    EXPECT_FALSE(tree.IsKindAccepted(9));
    EXPECT_TRUE(tree.IsKindAccepted(8));

    tree.ClearKinds();
    tree.AddKind(kWizKindCategory);
    tree.AddKind(kWizKindSubCategory);
    tree.SetOptions(kTreeMarkUsable | kTreeSyntheticEntry);
    tree.SetSyntheticKind(kSyntheticCustomDocument);
    ASSERT_EQ(tree.SetRoot(GetWizardTree()->Root()), 0);
    ASSERT_EQ(tree.topLevelItemCount(), 4);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "Custom Document");
    EXPECT_EQ(tree.GetNodeOfItem(tree.topLevelItem(0))->kind, uint32_t(kWizKindCustomCategory));
    EXPECT_EQ(tree.ItemImage(tree.topLevelItem(0)), kTreeImageUsable);
    // "Labels" holds its backdrops two levels down: not marked; its
    // sub-categories are.
    QTreeWidgetItem* labels = FindItem(&tree, "Labels");
    ASSERT_NE(labels, nullptr);
    EXPECT_NE(tree.ItemImage(labels), kTreeImageUsable);
    ASSERT_EQ(labels->childCount(), 2);
    EXPECT_EQ(tree.ItemImage(labels->child(0)), kTreeImageUsable);
    EXPECT_EQ(tree.GetNodeOfItem(nullptr), GetWizardTree()->Root());

    const uint32_t sub = kWizKindSubCategory;
    EXPECT_EQ(tree.FindDescendantOfKind(labels, 1, &sub), labels->child(0));
    const uint32_t cat = kWizKindCategory;
    EXPECT_EQ(tree.FindAncestorOfKind(labels->child(1), 1, &cat), labels);

    // A drop on the dragged item's own descendant does nothing.
    EXPECT_FALSE(tree.DropItem(labels, labels->child(0), kWizIntoLast));
    EXPECT_EQ(labels->childCount(), 2);

    // A root without accepted children shows only the synthetic entry.
    tree.ClearKinds();
    EXPECT_EQ(tree.SetRoot(GetWizardTree()->Root()), 0);
    EXPECT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.SetRoot(nullptr), 1);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
}

}  // namespace
