// The set-up sheet over the starter catalogue: what each page changes
// lands in the lists and the tree and survives closing and opening the
// wizard data; closing without changes leaves every file as it was.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "catalog/backdrop_list.h"
#include "catalog/template_list.h"
#include "catalog/wizard_list_format.h"
#include "foundation/byte_order.h"
#include "wizard/category_tree_ctrl.h"
#include "wizard/pg_ws_backdrops.h"
#include "wizard/pg_ws_pictures.h"
#include "wizard/pg_ws_relations.h"
#include "wizard/pg_ws_templates.h"
#include "wizard/setup_file_choosers.h"
#include "wizard/smart_listbox.h"
#include "wizard/wizard_preview_wnd.h"
#include "wizard_setup_fixture.h"

namespace {

std::string ItemName(int32_t group, int32_t n)
{
    uint8_t item[kBkItemSize];
    if (GetBackdropItem(group, n, item) != 0)
        return "<none>";
    char name[64];
    BackdropItemName(item, name, int32_t(sizeof name));
    return name;
}

std::vector<std::string> Texts(const CSmartListbox* list)
{
    std::vector<std::string> texts;
    CSmartListItem item;
    for (int32_t i = 0; list->GetItem(i, &item); ++i)
        texts.push_back(item.text);
    return texts;
}

// Every backdrop node of the tree, as "name:group".
std::vector<std::string> BackdropNodes()
{
    CWizTree* tree = GetWizardTree();
    std::vector<std::string> nodes;
    for (WizNode* n = tree->Root(); n; n = CWizTreeNode::NextPreOrder(n, tree->Root())) {
        uint32_t group = 0;
        if (tree->GetGroup(n, &group) != 0)
            continue;
        char name[64];
        tree->GetName(n, name, int32_t(sizeof name));
        nodes.push_back(std::string(name) + ":" + std::to_string(group));
    }
    return nodes;
}

WizNode* NodeNamed(const char* wanted)
{
    CWizTree* tree = GetWizardTree();
    for (WizNode* n = tree->Root(); n; n = CWizTreeNode::NextPreOrder(n, tree->Root())) {
        char name[64];
        tree->GetName(n, name, int32_t(sizeof name));
        if (std::string(name) == wanted)
            return n;
    }
    return nullptr;
}

void Edit(CSmartEdit* edit, const char* text)
{
    edit->setText(QString::fromLatin1(text));
    Q_EMIT edit->textEdited(edit->text());
}

}  // namespace

using WizardSetup = SetupSheet;

TEST_F(WizardSetup, SheetShowsOnlyCloseAndClosingWithoutChangesWritesNothingNew)
{
    const std::string tree = ReadFileBytes(WizardFile("Wiz_Tree"));
    const std::string backs = ReadFileBytes(WizardFile("Wiz_Back"));
    const std::string templates = ReadFileBytes(WizardFile("Wiz_Tmpl"));
    EXPECT_TRUE(sheet->Prepared());
    EXPECT_FALSE(sheet->OkButton()->isVisible());
    EXPECT_TRUE(sheet->CloseButton()->isVisible());
    EXPECT_EQ(sheet->CloseButton()->text(), QStringLiteral("Close"));
    const char* captions[] = {"Edit Backdrop List", "Edit Template List", "Edit Relationships (Main Page)",
                              "Wizard Pictures", "Special Page"};
    for (int32_t i = 0; i < kSetupPageCount; ++i) {
        CPgWS* page = Turn<CPgWS>(i);
        EXPECT_TRUE(page->Initialised()) << i;
        EXPECT_EQ(page->Caption(), QString::fromLatin1(captions[i]));
    }
    Close();
    EXPECT_EQ(ReadFileBytes(WizardFile("Wiz_Tree")), tree);
    EXPECT_EQ(ReadFileBytes(WizardFile("Wiz_Back")), backs);
    EXPECT_EQ(ReadFileBytes(WizardFile("Wiz_Tmpl")), templates);
}

TEST_F(WizardSetup, BackdropPageImportsRenamesReordersAndDeletes)
{
    auto* page = Turn<CPgWS_Backdrops>(kSetupPageBackdrops);
    EXPECT_EQ(Texts(page->Backdrops()), (std::vector<std::string>{"Sky Blue", "Slate Stripes", "Teal Corner"}));
    EXPECT_EQ(Texts(page->Subtypes()), (std::vector<std::string>{"Sky Blue", "Sea Green", "Rose"}));
    EXPECT_TRUE(page->Preview()->HasBackground());

    // Three pictures make three backdrops of one subtype each.
    const uint32_t counter = sheet->BackdropCounter();
    ChooseFiles({PictureFile("Dawn.png", 40, 20), PictureFile("Dusk.png", 40, 20, Qt::red),
                 PictureFile("Noon.png", 40, 20, Qt::yellow)});
    page->OnAddBackdrops();
    EXPECT_EQ(Texts(page->Backdrops()),
              (std::vector<std::string>{"Sky Blue", "Slate Stripes", "Teal Corner", "Dawn", "Dusk", "Noon"}));
    EXPECT_EQ(page->Backdrops()->SelectedIndexes(), (std::vector<int32_t>{3, 4, 5}));
    EXPECT_EQ(sheet->BackdropCounter(), counter + 1);
    for (int32_t group : {4, 5, 6}) {
        int32_t count = 0;
        EXPECT_EQ(GetGroupItemCount(group, &count), 0);
        EXPECT_EQ(count, 1);
    }

    // Renaming the backdrop renames its first subtype.
    page->Backdrops()->SelectRange(0, 0);
    page->OnBackdropSelected();
    Edit(page->BackdropName(), "Morning Sky");
    EXPECT_EQ(ItemName(1, 1), "Morning Sky");
    EXPECT_EQ(Texts(page->Subtypes()).front(), "Morning Sky");

    // Dragging "Rose" to the top makes it the backdrop's name.
    page->Subtypes()->DragStart(2);
    page->Subtypes()->DragOver(0);
    page->Subtypes()->DragEnd(0);
    EXPECT_EQ(ItemName(1, 1), "Rose");
    EXPECT_EQ(ItemName(1, 2), "Morning Sky");
    EXPECT_EQ(Texts(page->Backdrops()).front(), "Rose");

    // A backdrop goes with every tree node of its group.
    page->Backdrops()->SelectRange(1, 1);
    page->OnBackdropSelected();
    page->OnDeleteBackdrops();
    int32_t count = 0;
    EXPECT_NE(GetGroupItemCount(2, &count), 0);
    for (const std::string& node : BackdropNodes())
        EXPECT_EQ(node.find(":2"), std::string::npos) << node;

    Reopen();
    page = Turn<CPgWS_Backdrops>(kSetupPageBackdrops);
    EXPECT_EQ(Texts(page->Backdrops()),
              (std::vector<std::string>{"Rose", "Teal Corner", "Dawn", "Dusk", "Noon"}));
    EXPECT_EQ(BackdropNodes().size(), 5u);
}

TEST_F(WizardSetup, BackdropSubtypesComeAndGo)
{
    auto* page = Turn<CPgWS_Backdrops>(kSetupPageBackdrops);
    page->Backdrops()->SelectRange(2, 2);
    page->OnBackdropSelected();
    ChooseFiles({PictureFile("Mint.png", 30, 30, Qt::green)});
    page->OnAddSubtypes();
    EXPECT_EQ(Texts(page->Subtypes()), (std::vector<std::string>{"Teal Corner", "Plum Corner", "Mint"}));
    // The first and the last go; the middle one is left and names the
    // backdrop now.
    page->Subtypes()->SelectRange(0, 0);
    page->Subtypes()->item(2)->setSelected(true);
    page->OnDeleteSubtypes();
    EXPECT_EQ(Texts(page->Subtypes()), (std::vector<std::string>{"Plum Corner"}));
    EXPECT_EQ(ItemName(3, 1), "Plum Corner");
    EXPECT_EQ(ItemName(3, 2), "<none>");
    EXPECT_EQ(Texts(page->Backdrops())[2], "Plum Corner");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(WizardFile("Backdrops/bckp005.bp"))));
}

TEST_F(WizardSetup, NewBackdropShowsOnTheRelationsPage)
{
    auto* relations = Turn<CPgWS_Relations>(kSetupPageRelations);
    EXPECT_EQ(relations->AllBackdrops()->count(), 3);
    auto* page = Turn<CPgWS_Backdrops>(kSetupPageBackdrops);
    ChooseFiles({PictureFile("Dawn.png", 40, 20)});
    page->OnAddBackdrops();
    relations = Turn<CPgWS_Relations>(kSetupPageRelations);
    ASSERT_EQ(relations->AllBackdrops()->count(), 4);
    EXPECT_EQ(relations->AllBackdrops()->item(3)->text(), QStringLiteral("Dawn"));
    EXPECT_EQ(relations->SeenBackdropCounter(), sheet->BackdropCounter());
}

TEST_F(WizardSetup, TemplatePageImportsFiltersRenamesAndDeletes)
{
    auto* page = Turn<CPgWS_Templates>(kSetupPageTemplates);
    EXPECT_EQ(page->TemplateCount(), 0);
    EXPECT_FALSE(page->Button(1021)->isEnabled());
    EXPECT_TRUE(page->Button(1546)->isEnabled());

    const std::vector<std::string> paths = {TemplateFile("Party.tp", "Party", 252, 144),
                                            TemplateFile("Picnic.tp", "Picnic", 252, 144),
                                            TemplateFile("Tag.tp", "Tag", 189, 72)};
    ChooseFiles(paths);
    page->OnImport();
    EXPECT_EQ(page->TemplateCount(), 3);
    EXPECT_EQ(page->Sizes().size(), 2u);
    EXPECT_EQ(page->Templates()->SelectedIndexes(), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(page->SizeFilter()->count(), 3);

    // The units change what the sizes read.
    page->Templates()->SelectRange(0, 0);
    page->OnSelectionChanged();
    page->Units()->setCurrentIndex(1);
    page->OnUnitsChosen();
    EXPECT_EQ(page->Item<QLabel>(1548)->text(), QStringLiteral("3.500"));
    EXPECT_EQ(page->Item<QLabel>(1549)->text(), QStringLiteral("2.000"));
    EXPECT_EQ(page->SizeFilter()->itemText(1), QStringLiteral(" 3.500 * 2.000 Inch"));

    // With a size chosen the list holds only "Tag"; renaming it renames
    // the template by its id, not the one first in the whole list.
    page->SizeFilter()->setCurrentIndex(2);
    page->OnSizeFilterChosen();
    ASSERT_EQ(Texts(page->Templates()), (std::vector<std::string>{"Tag"}));
    const uint32_t tagId = page->Templates()->GetItemData(0);
    Edit(page->NameEdit(), "Luggage Tag");
    uint8_t info[kTmInSize];
    char name[64];
    ASSERT_EQ(ReadTemplateInfo(int32_t(tagId), info), 0);
    TemplateInfoName(info, name, int32_t(sizeof name));
    EXPECT_STREQ(name, "Luggage Tag");
    ASSERT_EQ(ReadTemplateInfo(1, info), 0);
    TemplateInfoName(info, name, int32_t(sizeof name));
    EXPECT_STREQ(name, "Party");

    // A template entry in the tree goes when its template goes.
    WizTemplateEntry entry;
    std::strcpy(entry.name, "Party");
    entry.templateId = 1;
    int32_t n = 0;
    ASSERT_EQ(GetWizardTree()->SetEntry(NodeNamed("Teal Corner"), &n, entry), 0);
    page->SizeFilter()->setCurrentIndex(0);
    page->OnSizeFilterChosen();
    page->Templates()->SelectRange(0, 1);
    page->OnDelete();
    EXPECT_EQ(Texts(page->Templates()), (std::vector<std::string>{"Luggage Tag"}));
    EXPECT_NE(ReadTemplateInfo(1, info), 0);
    EXPECT_NE(ReadTemplateInfo(2, info), 0);
    int32_t entries = -1;
    GetWizardTree()->GetEntryCount(NodeNamed("Teal Corner"), &entries);
    EXPECT_EQ(entries, 0);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(WizardFile("Templates/tmpl000.tp"))));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(WizardFile("Templates/tmpl002.tp"))));

    Reopen();
    page = Turn<CPgWS_Templates>(kSetupPageTemplates);
    EXPECT_EQ(Texts(page->Templates()), (std::vector<std::string>{"Luggage Tag"}));
}

TEST_F(WizardSetup, TemplatesImportedOnTheirPageReachTheRelationsPage)
{
    Profile()["DocCtg"] = 1;
    auto* relations = Turn<CPgWS_Relations>(kSetupPageRelations);
    ASSERT_NE(relations->SelectedNode(), nullptr);
    EXPECT_EQ(relations->AllTemplates()->count(), 0);
    auto* page = Turn<CPgWS_Templates>(kSetupPageTemplates);
    ChooseFiles({TemplateFile("Party.tp", "Party", 252, 144)});
    page->OnImport();
    ChooseFiles({TemplateFile("Tag.tp", "Tag", 189, 72)});
    page->OnImport();
    EXPECT_EQ(page->TemplateCount(), 2);
    relations = Turn<CPgWS_Relations>(kSetupPageRelations);
    EXPECT_EQ(relations->SeenTemplateCounter(), sheet->TemplateCounter());
    // "Business Cards" is 252 x 144: only "Party" fits it.
    ASSERT_EQ(relations->AllTemplates()->count(), 1);
    EXPECT_EQ(relations->AllTemplates()->item(0)->text(), QStringLiteral("Party"));
}

TEST_F(WizardSetup, PicturesPageSetsHeaderPictures)
{
    auto* page = Turn<CPgWS_Pictures>(kSetupPagePictures);
    ASSERT_EQ(page->Slots()->count(), 8);
    EXPECT_EQ(page->Slots()->item(3)->text(), QStringLiteral("Picture For \"Document\" Page"));
    page->Slots()->setCurrentRow(3);
    EXPECT_EQ(page->SelectedNumber(), 2);
    static std::string chosen;
    chosen = PictureFile("Header.png", 300, 40, Qt::darkGreen);
    const PictureChooserHook previous = SetPictureChooserHook([](std::string* path) {
        *path = chosen;
        return true;
    });
    page->OnSetPicture();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(WizardFile("Designs/hdrp2.sp"))));
    EXPECT_TRUE(page->Preview()->HasBackground());
    EXPECT_TRUE(alerts.boxes().empty());

    // The right picture of the Finish page shows in its own preview.
    page->Slots()->setCurrentRow(7);
    EXPECT_EQ(page->SelectedNumber(), 1000);
    page->OnSetPicture();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(WizardFile("Designs/hdrp1000.sp"))));
    EXPECT_TRUE(page->FinalPreview()->HasBackground());

    // A file that is no picture leaves things as they were.
    chosen = dir.file("notes.txt");
    WriteFileBytes(chosen, "no picture");
    page->Slots()->setCurrentRow(0);
    page->OnSetPicture();
    EXPECT_EQ(alerts.lastText(), "Error Setting Picture.");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(WizardFile("Designs/hdrp1.sp"))));
    SetPictureChooserHook(previous);
}

namespace {

int32_t g_runs = 0;
std::string g_design;

// Stands in for the subcategory dialog: names the layout and sizes it.
int32_t FakeLayoutDialog(QWidget*, uint8_t* layout, int32_t sizeMode, DibHandle, std::string* designPath)
{
    ++g_runs;
    const char* name = sizeMode == 2 ? "Renamed" : "Post Cards";
    std::memset(layout, 0, 64);
    std::memcpy(layout, name, std::strlen(name));
    if (sizeMode == 1) {
        PutF64LE(layout + kWizLayoutWidthAt, 400);
        PutF64LE(layout + kWizLayoutHeightAt, 300);
    }
    *designPath = g_design;
    return 1;
}

}  // namespace

TEST_F(WizardSetup, RelationsPageEditsTheTree)
{
    const SubCategoryDialogRunner previous = SetSubCategoryDialogRunner(nullptr);
    {
        auto* bare = Turn<CPgWS_Relations>(kSetupPageRelations);
        EXPECT_FALSE(bare->Button(1463)->isEnabled());
        bare->OnAddCategory();
        EXPECT_EQ(GetWizardTree()->CountNodes(), 15);
    }
    SetSubCategoryDialogRunner(&FakeLayoutDialog);
    // Categories take their document size from their layout.
    Profile()["DocCtg"] = 1;
    auto* page = Turn<CPgWS_Relations>(kSetupPageRelations);
    page->UpdateControls();
    CCategoryTreeCtrl* tree = page->TreeCtrl();
    char name[64];
    GetWizardTree()->GetName(page->SelectedNode(), name, int32_t(sizeof name));
    EXPECT_STREQ(name, "Business Cards");
    EXPECT_TRUE(page->DocumentRatio()->isChecked());
    EXPECT_TRUE(page->Button(1463)->isEnabled());
    EXPECT_FALSE(page->Button(1595)->isEnabled());

    // A new category with a design picture.
    g_design = PictureFile("Design.png", 40, 30);
    page->OnAddCategory();
    ASSERT_EQ(g_runs, 1);
    WizNode* category = page->SelectedNode();
    ASSERT_NE(category, nullptr);
    EXPECT_EQ(category->kind, uint32_t(kWizKindCategory));
    GetWizardTree()->GetName(category, name, int32_t(sizeof name));
    EXPECT_STREQ(name, "Post Cards");

    // A folder under it, and a document under the folder with the group
    // chosen in "All Backdrops".
    page->OnAddFilter();
    WizNode* filter = page->SelectedNode();
    ASSERT_EQ(filter->kind, uint32_t(kWizKindFilter));
    page->AllBackdrops()->setCurrentRow(2);
    page->OnAddBackdrop();
    WizNode* document = page->SelectedNode();
    ASSERT_EQ(document->kind, uint32_t(kWizKindBackdrop));
    EXPECT_EQ(document->parent, filter);
    uint32_t group = 0;
    GetWizardTree()->GetGroup(document, &group);
    EXPECT_EQ(group, 3u);
    // With a document selected, the next one goes beside it.
    page->AllBackdrops()->setCurrentRow(0);
    page->OnAddBackdrop();
    EXPECT_EQ(page->SelectedNode()->parent, filter);

    // A renamed tree label renames the node.
    QTreeWidgetItem* item = tree->FindItemOfNode(filter);
    ASSERT_NE(item, nullptr);
    item->setText(0, QStringLiteral("Seasonal"));
    GetWizardTree()->GetName(filter, name, int32_t(sizeof name));
    EXPECT_STREQ(name, "Seasonal");

    // A template of the document's size, imported on its own page, then
    // given to the document and taken away again with the focus in the
    // template list; the tree keeps its nodes.
    auto* templates = Turn<CPgWS_Templates>(kSetupPageTemplates);
    ChooseFiles({TemplateFile("Card.tp", "Card", 400, 300)});
    templates->OnImport();
    page = Turn<CPgWS_Relations>(kSetupPageRelations);
    tree->setCurrentItem(tree->FindItemOfNode(document));
    ASSERT_EQ(page->SelectedNode(), document);
    ASSERT_EQ(page->AllTemplates()->count(), 1);
    page->AllTemplates()->setCurrentRow(0);
    const int32_t nodes = GetWizardTree()->CountNodes();
    page->OnAddTemplate();
    ASSERT_EQ(page->Entries()->Count(), 1);
    int32_t entries = 0;
    GetWizardTree()->GetEntryCount(document, &entries);
    EXPECT_EQ(entries, 1);
    Edit(page->EntryName(), "Greeting");
    WizTemplateEntry entry;
    GetWizardTree()->GetEntry(document, 1, &entry);
    EXPECT_STREQ(entry.name, "Greeting");
    page->NoteFocus(1535);
    EXPECT_EQ(page->ToolTipText(1598), QStringLiteral("Delete Template. ( Alt+D )"));
    page->OnDelete();
    GetWizardTree()->GetEntryCount(document, &entries);
    EXPECT_EQ(entries, 0);
    EXPECT_EQ(GetWizardTree()->CountNodes(), nodes);

    // Editing the category through the dialog renames it; deleting it
    // takes its subtree and its design file.
    WizNode* postCards = NodeNamed("Post Cards");
    ASSERT_NE(postCards, nullptr);
    tree->setCurrentItem(tree->FindItemOfNode(postCards));
    page->NoteFocus(1592);
    EXPECT_EQ(page->ToolTipText(1602), QStringLiteral("Change Document Category settings. ( Alt+E )"));
    g_design.clear();
    page->OnEdit();
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("Renamed"));
    Handle payload = nullptr;
    ASSERT_EQ(GetWizardTree()->GetPayload(postCards, &payload), 0);
    const std::string design(reinterpret_cast<const char*>(HandleData<uint8_t>(payload) + 4));
    ASSERT_FALSE(design.empty());
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(WizardFile("Designs/" + design))));
    page->OnDelete();
    EXPECT_EQ(NodeNamed("Renamed"), nullptr);
    EXPECT_EQ(NodeNamed("Seasonal"), nullptr);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(WizardFile("Designs/" + design))));
    Reopen();
    EXPECT_EQ(NodeNamed("Renamed"), nullptr);
    EXPECT_NE(NodeNamed("Business Cards"), nullptr);
    SetSubCategoryDialogRunner(previous);
}

TEST_F(WizardSetup, TemplatesDraggedInAFilteredListKeepTheirNeighbours)
{
    auto* page = Turn<CPgWS_Templates>(kSetupPageTemplates);
    ChooseFiles({TemplateFile("A.tp", "A", 252, 144), TemplateFile("B.tp", "B", 189, 72),
                 TemplateFile("C.tp", "C", 252, 144), TemplateFile("D.tp", "D", 189, 72),
                 TemplateFile("E.tp", "E", 252, 144)});
    page->OnImport();
    ASSERT_EQ(page->TemplateCount(), 5);
    const auto order = [] {
        HandleOwner records(HandleNew(0));
        HandleOwner ids(HandleNew(0));
        int32_t count = 0;
        EXPECT_EQ(ListTemplates(records.get(), ids.get(), &count), 0);
        std::string names;
        for (int32_t i = 0; i < count; ++i) {
            char name[64];
            TemplateInfoName(HandleData<uint8_t>(records.get()) + size_t(i) * kTmInSize, name, 64);
            names += name;
        }
        return names;
    };
    EXPECT_EQ(order(), "ABCDE");

    // Only A, C and E are shown; E dragged to the top goes before A.
    page->SizeFilter()->setCurrentIndex(1);
    page->OnSizeFilterChosen();
    ASSERT_EQ(Texts(page->Templates()), (std::vector<std::string>{"A", "C", "E"}));
    const uint32_t counter = sheet->TemplateCounter();
    page->Templates()->DragStart(2);
    page->Templates()->DragOver(0);
    page->Templates()->DragEnd(0);
    EXPECT_EQ(order(), "EABCD");
    EXPECT_GT(sheet->TemplateCounter(), counter);
    // A dragged below C goes right after C.
    page->Templates()->DragStart(1);
    page->Templates()->DragOver(2);
    page->Templates()->DragEnd(2);
    EXPECT_EQ(order(), "EBCAD");

    // Unfiltered, list and store are the same order.
    page->SizeFilter()->setCurrentIndex(0);
    page->OnSizeFilterChosen();
    page->Templates()->DragStart(4);
    page->Templates()->DragOver(1);
    page->Templates()->DragEnd(1);
    EXPECT_EQ(order(), "EDBCA");
    EXPECT_EQ(Texts(page->Templates()), (std::vector<std::string>{"E", "D", "B", "C", "A"}));
}
