// The wizard tree's nodes: names, template entries, moves, deletion and
// the walks over the whole tree.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstring>
#include <string>

#include "catalog/doc_setup.h"
#include "catalog/wiz_tree.h"
#include "catalog/wizard_fault_list.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "support/shell.h"
#include "wizard_fixture.h"

namespace {

WizTemplateEntry Entry(const char* name, uint32_t id)
{
    WizTemplateEntry e;
    std::strncpy(e.name, name, sizeof e.name - 1);
    e.templateId = id;
    return e;
}

std::string Name(const CWizTree& tree, const WizNode* node)
{
    char name[64];
    tree.GetName(node, name, sizeof name);
    return name;
}

class Tree : public WizardHome {
protected:
    void SetUp() override
    {
        WizardHome::SetUp();
        ASSERT_EQ(EnsureWizardFiles(), 0);
        big = MakeLayout("Big", 252, 144);
        small = MakeLayout("Small", 144, 72);
        catBig = tree.AddCategory(big.data(), nullptr);
        catSmall = tree.AddCategory(small.data(), nullptr);
        subBig = tree.AddSubCategory(catBig, big.data(), nullptr);
        filterBig = tree.AddFilter(subBig);
        backBig = tree.AddBackdrop(filterBig, 5);
        filterSmall = tree.AddFilter(catSmall);
        ASSERT_TRUE(catBig && catSmall && subBig && filterBig && backBig && filterSmall);
    }

    // A picture file to make designs from.
    std::string PictureFile(const char* name)
    {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::red);
        const std::string p = dir.file(name);
        EXPECT_TRUE(image.save(QString::fromStdString(p)));
        return p;
    }

    CWizTree tree;
    LabelLayout big{}, small{};
    WizNode *catBig, *catSmall, *subBig, *filterBig, *backBig, *filterSmall;
};

TEST_F(Tree, NamesLiveWhereTheKindKeepsThem)
{
    EXPECT_EQ(Name(tree, catBig), "Big");
    EXPECT_EQ(Name(tree, filterBig), "New_Filter");
    EXPECT_EQ(Name(tree, backBig), "New_Backdrop");
    EXPECT_EQ(Name(tree, tree.Root()), "");

    const std::string longName(100, 'n');
    ASSERT_EQ(tree.SetName(catBig, longName.c_str()), 0);
    EXPECT_EQ(Name(tree, catBig), std::string(63, 'n'));
    uint8_t layout[kWizLayoutSize];
    ASSERT_EQ(tree.GetLabelType(catBig, layout), 0);
    EXPECT_EQ(GetF64LE(layout + kWizLayoutWidthAt), 252.0) << "the name leaves the sizes alone";

    char tiny[4];
    ASSERT_EQ(tree.GetName(filterBig, tiny, sizeof tiny), 0);
    EXPECT_STREQ(tiny, "New");
    EXPECT_NE(tree.SetName(tree.Root(), "x"), 0);
}

TEST_F(Tree, BackdropEntriesGrowShrinkAndMove)
{
    EXPECT_EQ(HandleGetSize(backBig->payload), 164u);
    int32_t n = 0;
    ASSERT_EQ(tree.SetEntry(backBig, &n, Entry("one", 1)), 0);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(HandleGetSize(backBig->payload), 164u) << "one entry fits the smallest payload";
    n = 99;
    ASSERT_EQ(tree.SetEntry(backBig, &n, Entry("two", 2)), 0);
    EXPECT_EQ(n, 2);
    n = -1;
    ASSERT_EQ(tree.SetEntry(backBig, &n, Entry("three", 3)), 0);
    EXPECT_EQ(HandleGetSize(backBig->payload), 164u + 2 * 80);
    n = 2;
    ASSERT_EQ(tree.SetEntry(backBig, &n, Entry("TWO", 22)), 0);

    ASSERT_EQ(tree.MoveEntry(backBig, 3, 1), 0);
    WizTemplateEntry e;
    std::string order;
    int32_t count = 0;
    ASSERT_EQ(tree.GetEntryCount(backBig, &count), 0);
    for (int32_t i = 1; i <= count; ++i) {
        ASSERT_EQ(tree.GetEntry(backBig, i, &e), 0);
        order += std::string(e.name) + ",";
    }
    EXPECT_EQ(order, "three,one,TWO,");
    EXPECT_NE(tree.GetEntry(backBig, 0, &e), 0);
    EXPECT_NE(tree.GetEntry(backBig, 4, &e), 0);
    EXPECT_NE(tree.MoveEntry(backBig, 1, 4), 0);

    ASSERT_EQ(tree.RemoveEntry(backBig, 2), 0);
    EXPECT_EQ(HandleGetSize(backBig->payload), 164u + 80);
    ASSERT_EQ(tree.GetEntry(backBig, 2, &e), 0);
    EXPECT_STREQ(e.name, "TWO");
    ASSERT_EQ(tree.RemoveEntry(backBig, 0), 0);
    EXPECT_EQ(HandleGetSize(backBig->payload), 164u);
    ASSERT_EQ(tree.GetEntryCount(backBig, &count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_NE(tree.RemoveEntry(backBig, 1), 0);

    // Entries belong to backdrops only.
    EXPECT_NE(tree.SetEntry(filterBig, &n, Entry("x", 1)), 0);
    // A count the payload cannot hold makes the node unusable, not unsafe.
    PutU32LE(HandleData(backBig->payload) + kWizBackdropCountAt, 5);
    EXPECT_NE(tree.GetEntryCount(backBig, &count), 0);
    EXPECT_NE(tree.GetEntry(backBig, 5, &e), 0);
}

TEST_F(Tree, MovesFollowTheKindsAndDocumentSizes)
{
    Profile()["DocCtg"] = 1;  // categories measure by their own layouts
    EXPECT_FALSE(tree.CanMove(catBig, catSmall, kWizIntoLast)) << "category into category";
    EXPECT_TRUE(tree.CanMove(catBig, catSmall, kWizAfter));
    EXPECT_FALSE(tree.CanMove(filterSmall, subBig, kWizIntoLast)) << "filter into another size";
    EXPECT_TRUE(tree.CanMove(filterBig, catBig, kWizIntoLast));
    EXPECT_FALSE(tree.CanMove(catBig, backBig, kWizIntoLast)) << "into its own subtree";
    EXPECT_FALSE(tree.CanMove(catBig, catBig, kWizAfter));
    EXPECT_FALSE(tree.CanMove(nullptr, catBig, kWizAfter));
    // Rule 2 compares against the target's parent.
    EXPECT_TRUE(tree.CanMove(backBig, subBig, kWizBefore));

    ASSERT_EQ(tree.MoveNode(filterBig, catBig, kWizIntoLast), 0);
    EXPECT_EQ(filterBig->parent, catBig);
    EXPECT_EQ(backBig->parent, filterBig) << "the subtree moves along";
    EXPECT_EQ(subBig->next, filterBig);
    EXPECT_EQ(filterBig->prev, subBig);
    EXPECT_EQ(subBig->firstChild, nullptr);
    EXPECT_EQ(tree.MoveNode(catBig, backBig, kWizIntoLast), 1);
    EXPECT_EQ(backBig->parent, filterBig);

    ASSERT_EQ(tree.MoveNode(catSmall, catBig, kWizBefore), 0);
    EXPECT_EQ(tree.Root()->firstChild, catSmall);
    EXPECT_EQ(catSmall->next, catBig);
    EXPECT_EQ(catBig->prev, catSmall);

    // Without the profile switch categories share the default picture's
    // size, so a filter may move between them.
    Profile()["DocCtg"] = -1;
    EXPECT_TRUE(tree.CanMove(filterSmall, catBig, kWizIntoLast));
}

TEST_F(Tree, DeletingACategoryTakesItsDesignFileClosingKeepsIt)
{
    const std::string picture = PictureFile("red.png");
    WizNode* cat = tree.AddCategory(big.data(), picture.c_str());
    ASSERT_NE(cat, nullptr);
    const uint8_t* payload = HandleData(cat->payload);
    EXPECT_EQ(GetU32LE(payload), 0u);
    const std::string design(reinterpret_cast<const char*>(payload + 4));
    EXPECT_EQ(design, "docp000.dp");
    EXPECT_FALSE(ReadFileBytes(WizardFile("Designs/" + design)).empty());

    Profile()["DocCtg"] = 1;
    DibHandleOwner shown(tree.GetPicture(cat, 0));
    ASSERT_TRUE(shown.get() && !DibHandleIsEmpty(shown.get()));
    EXPECT_EQ(DibHandleWidth(shown.get()), 8);

    // A picture that does not convert leaves the design as it was.
    const std::string text = dir.file("notes.txt");
    WriteFileBytes(text, "no picture");
    EXPECT_NE(tree.SetDesign(cat, text.c_str(), 0), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(HandleData(cat->payload) + 4)), design);
    EXPECT_FALSE(ReadFileBytes(WizardFile("Designs/" + design)).empty());

    WizNode* kept = tree.AddSubCategory(cat, big.data(), picture.c_str());
    ASSERT_NE(kept, nullptr);
    const std::string keptDesign(reinterpret_cast<const char*>(HandleData(kept->payload) + 4));
    tree.MoveNode(kept, catBig, kWizIntoLast);
    tree.DeleteNode(cat);
    EXPECT_TRUE(ReadFileBytes(WizardFile("Designs/" + design)).empty());
    tree.FreeAllNodes();
    EXPECT_FALSE(ReadFileBytes(WizardFile("Designs/" + keptDesign)).empty());
    EXPECT_EQ(tree.Root()->firstChild, nullptr);
}

TEST_F(Tree, WalksOverAllBackdrops)
{
    WizNode* second = tree.AddBackdrop(filterSmall, 5);
    WizNode* other = tree.AddBackdrop(subBig, 6);
    int32_t n = 0;
    tree.SetEntry(backBig, &(n = 0), Entry("a", 10));
    tree.SetEntry(backBig, &(n = 0), Entry("b", 11));
    tree.SetEntry(backBig, &(n = 0), Entry("c", 10));
    tree.SetEntry(other, &(n = 0), Entry("d", 10));

    ASSERT_EQ(tree.RemoveTemplateRefs(10), 0);
    EXPECT_EQ(tree.WalkCounter(), 3);
    int32_t count = 0;
    tree.GetEntryCount(backBig, &count);
    EXPECT_EQ(count, 1);

    // The template goes to group 5's backdrops under a category of the
    // set-up's layout only.
    DocSetup setup;
    setup.fromCategory = 1;
    setup.backdropId = 5;
    std::memcpy(setup.labelLayout, big.data(), kWizLayoutSize);
    ASSERT_EQ(tree.AddTemplateToBackdrops(setup, Entry("new", 12)), 0);
    EXPECT_EQ(tree.WalkCounter(), 1);
    tree.GetEntryCount(backBig, &count);
    EXPECT_EQ(count, 2);
    tree.GetEntryCount(second, &count);
    EXPECT_EQ(count, 0);

    WizNode* found = nullptr;
    ASSERT_EQ(tree.FindCategory(setup, &found), 0);
    EXPECT_EQ(found, subBig) << "the last match in pre-order";
    std::memcpy(setup.labelLayout, MakeLayout("None", 1, 1).data(), kWizLayoutSize);
    ASSERT_EQ(tree.FindCategory(setup, &found), 0);
    EXPECT_EQ(found, nullptr);

    // A backdrop hung below another, as only a file can have it, goes with
    // the outer one.
    ASSERT_NE(tree.AddBackdrop(second, 5), nullptr);
    ASSERT_EQ(tree.DeleteBackdropNodes(5), 0);
    EXPECT_EQ(tree.WalkCounter(), 2);
    EXPECT_EQ(filterBig->firstChild, nullptr);
    EXPECT_EQ(filterSmall->firstChild, nullptr);
    EXPECT_EQ(other->parent, subBig);
}

TEST_F(Tree, LabelTypesAndBackdropPresence)
{
    // catBig has a sub-category and no backdrop of its own: only the
    // sub-category counts; catSmall has none and counts itself.
    HandleOwner layouts(HandleNew(0));
    int32_t count = 0;
    ASSERT_EQ(tree.CollectLabelTypes(layouts.get(), &count), 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(GetF64LE(HandleData(layouts.get()) + kWizLayoutWidthAt), 252.0);
    EXPECT_STREQ(reinterpret_cast<const char*>(HandleData(layouts.get()) + kWizLayoutSize), "Small");
    tree.AddBackdrop(catBig, 1);
    ASSERT_EQ(tree.CollectLabelTypes(layouts.get(), &count), 0);
    EXPECT_EQ(count, 3);

    EXPECT_EQ(tree.HasBackdrops(filterBig), 1);
    EXPECT_EQ(tree.HasBackdrops(subBig), 1) << "two levels down";
    EXPECT_EQ(tree.HasBackdrops(catSmall), 0);
    EXPECT_EQ(tree.HasBackdrops(tree.Root()), 0);
    EXPECT_EQ(tree.HasBackdrops(backBig), 0);
}

TEST_F(Tree, LinkCheckFindsBrokenLinks)
{
    WizardFaultList list;
    EXPECT_EQ(tree.CheckWizardTree(&list), 0);
    EXPECT_TRUE(list.entries.empty());
    EXPECT_EQ(tree.WalkCounter(), 7);
    EXPECT_EQ(alerts.lastText(), "Tested nodes = 7");

    // A wrong back link, a wrong parent and a loop of next links.
    WizNode* savedPrev = catSmall->prev;
    WizNode* savedParent = filterBig->parent;
    catSmall->prev = nullptr;
    filterBig->parent = catBig;
    filterSmall->next = catSmall->firstChild;
    alerts.clear();
    EXPECT_NE(tree.CheckWizardTree(&list), 0);
    std::vector<int32_t> codes;
    for (const WizardFault& f : list.entries)
        codes.push_back(f.treeFaultCode);
    EXPECT_NE(std::find(codes.begin(), codes.end(), kWizTreeFaultPrev), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), kWizTreeFaultParent), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), kWizTreeFaultNextCycle), codes.end());
    EXPECT_EQ(alerts.boxes().size(), 2u);
    EXPECT_EQ(alerts.lastText().find("Tree data structure has errors"), 0u);

    // A pointer to memory that is no node of the tree is not followed.
    filterSmall->next = nullptr;
    WizNode stranger;
    filterSmall->firstChild = &stranger;
    list.entries.clear();
    tree.CheckWizardTree(&list);
    ASSERT_FALSE(list.entries.empty());
    EXPECT_EQ(list.entries.back().treeFaultCode, kWizTreeFaultChildPtr);
    EXPECT_EQ(list.entries.back().displayName, "New_Filter");
    filterSmall->firstChild = nullptr;
    catSmall->prev = savedPrev;
    filterBig->parent = savedParent;
}

}  // namespace
