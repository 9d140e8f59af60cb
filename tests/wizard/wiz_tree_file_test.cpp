// The tree file: its layout, loading and saving, and what a damaged or
// foreign file does.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "catalog/wiz_tree.h"
#include "catalog/wizard_fault_list.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "support/shell.h"
#include "wizard_fixture.h"

namespace {

class TreeFile : public WizardHome {
protected:
    void SetUp() override
    {
        WizardHome::SetUp();
        path = dir.file("Wiz_Tree");
        record = PosixRecord(path);
    }

    // Root -> category A (sub-category A1 (filter, backdrop), backdrop),
    // category B.
    void Build(CWizTree* tree)
    {
        const LabelLayout a = MakeLayout("Cards A", 252, 144);
        const LabelLayout b = MakeLayout("Cards B", 200, 100);
        catA = tree->AddCategory(a.data(), nullptr);
        sub = tree->AddSubCategory(catA, a.data(), "");
        filter = tree->AddFilter(sub);
        backdrop = tree->AddBackdrop(sub, 7);
        tree->AddBackdrop(catA, 8);
        catB = tree->AddCategory(b.data(), nullptr);
        ASSERT_TRUE(catA && sub && filter && backdrop && catB);
        WizTemplateEntry entry;
        std::strcpy(entry.name, "Layout one");
        entry.templateId = 3;
        int32_t n = 0;
        ASSERT_EQ(tree->SetEntry(backdrop, &n, entry), 0);
        ASSERT_EQ(tree->SetEntry(backdrop, &(n = 0), entry), 0);
    }

    std::vector<uint8_t> Saved(const CWizTree& tree)
    {
        std::vector<uint8_t> bytes;
        EXPECT_EQ(tree.SaveImage(&bytes), 0);
        return bytes;
    }

    std::string path;
    PathRecord record{};
    WizNode *catA = nullptr, *sub = nullptr, *filter = nullptr, *backdrop = nullptr, *catB = nullptr;
};

// A shape of the tree: kinds and names in pre-order, with depths.
std::string Shape(const CWizTree& tree)
{
    std::string s;
    for (const WizNode* n = tree.Root(); n; n = CWizTreeNode::NextPreOrder(n, tree.Root())) {
        int depth = 0;
        for (const WizNode* p = n->parent; p; p = p->parent)
            ++depth;
        char name[64];
        tree.GetName(n, name, sizeof name);
        s += std::string(size_t(depth), ' ') + std::to_string(n->kind) + ":" + name + "\n";
    }
    return s;
}

TEST_F(TreeFile, EmptyTreeIsAHeaderAndARootBlock)
{
    CWizTree tree;
    const std::vector<uint8_t> bytes = Saved(tree);
    ASSERT_EQ(bytes.size(), 32u + 24u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "EERT");
    EXPECT_EQ(GetU32LE(&bytes[4]), 3u);
    EXPECT_EQ(GetU32LE(&bytes[8]), 1u);
    for (size_t i = 12; i < bytes.size(); ++i)
        EXPECT_EQ(bytes[i], 0) << i;

    // A file of 32 bytes or less loads as an empty tree.
    CWizTree loaded;
    ASSERT_EQ(loaded.LoadImage(bytes.data(), 32), 0);
    EXPECT_EQ(loaded.Root()->firstChild, nullptr);
}

TEST_F(TreeFile, BlocksArePreOrderWithPositionsAsLinks)
{
    CWizTree tree;
    Build(&tree);
    const std::vector<uint8_t> bytes = Saved(tree);
    EXPECT_EQ(GetU32LE(&bytes[8]), 7u);

    // Walk the blocks in file order: each starts where the previous ended,
    // a first child right after its parent's payload, and a next sibling
    // right after the previous sibling's subtree.
    struct Block {
        uint32_t at, parent, child, next, prev, kind, length;
    };
    std::vector<Block> blocks;
    for (uint32_t at = 32; at < bytes.size();) {
        const uint8_t* b = &bytes[at];
        blocks.push_back({at, GetU32LE(b), GetU32LE(b + 4), GetU32LE(b + 8), GetU32LE(b + 12), GetU32LE(b + 16),
                          GetU32LE(b + 20)});
        at += 24 + blocks.back().length;
    }
    ASSERT_EQ(blocks.size(), 7u);
    const std::vector<uint32_t> kinds = {0, 1, 2, 3, 4, 4, 1};
    const std::vector<uint32_t> lengths = {0, 248, 248, 76, 164 + 80, 164, 248};
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(blocks[i].kind, kinds[i]) << i;
        EXPECT_EQ(blocks[i].length, lengths[i]) << i;
        if (blocks[i].child) {
            EXPECT_EQ(blocks[i].child, blocks[i].at + 24 + blocks[i].length) << i;
        }
    }
    EXPECT_EQ(blocks[0].parent, 0u);
    EXPECT_EQ(blocks[1].parent, 32u);
    EXPECT_EQ(blocks[3].parent, blocks[2].at);
    EXPECT_EQ(blocks[4].prev, blocks[3].at);
    EXPECT_EQ(blocks[3].prev, 0u);
    // The sub-category's next sibling follows its whole subtree.
    EXPECT_EQ(blocks[2].next, blocks[5].at);
    EXPECT_EQ(blocks[1].next, blocks[6].at);
    EXPECT_EQ(blocks[6].next, 0u);

    CWizTree loaded;
    ASSERT_EQ(loaded.LoadImage(bytes.data(), bytes.size()), 0);
    EXPECT_EQ(Shape(loaded), Shape(tree));
    EXPECT_EQ(Saved(loaded), bytes);
}

TEST_F(TreeFile, SaveAndLoadThroughTheFile)
{
    CWizTree tree;
    EXPECT_EQ(tree.OpenFile(0), 1) << "no path yet";
    EXPECT_EQ(tree.SetFilePath(&record), 1);
    ASSERT_EQ(tree.PrepareFile(), 0);
    EXPECT_EQ(ReadFileBytes(path).size(), 32u);
    Build(&tree);
    ASSERT_EQ(tree.OpenFile(2), 0);
    ASSERT_EQ(tree.Save(), 0);
    tree.CloseFile();
    EXPECT_EQ(tree.OpenCount(), 0);

    CWizTree loaded;
    EXPECT_EQ(loaded.SetFilePath(&record), 0);
    ASSERT_EQ(loaded.Load(), 0);
    EXPECT_EQ(Shape(loaded), Shape(tree));

    // Saving a smaller tree leaves nothing of the longer file behind.
    loaded.DeleteNode(loaded.Root()->firstChild);
    ASSERT_EQ(loaded.OpenFile(2), 0);
    ASSERT_EQ(loaded.Save(), 0);
    loaded.CloseFile();
    EXPECT_EQ(ReadFileBytes(path).size(), 32u + 24u + 24u + 248u);
}

TEST_F(TreeFile, OpenCountsAndTheFirstModeHolds)
{
    CWizTree tree;
    tree.SetFilePath(&record);
    ASSERT_EQ(tree.PrepareFile(), 0);
    ASSERT_EQ(tree.OpenFile(0), 0);
    ASSERT_EQ(tree.OpenFile(2), 0);
    EXPECT_EQ(tree.OpenCount(), 2);
    EXPECT_EQ(tree.OpenMode(), 0);
    // Read-only: the save writes nothing and answers success.
    Build(&tree);
    const std::string before = ReadFileBytes(path);
    EXPECT_EQ(tree.Save(), 0);
    EXPECT_EQ(ReadFileBytes(path), before);
    tree.CloseFile();
    tree.CloseFile();
    tree.CloseFile();
    EXPECT_EQ(tree.OpenCount(), 0);
    ASSERT_EQ(tree.OpenFile(7), 0);
    EXPECT_EQ(tree.OpenMode(), 2);
    tree.CloseFile();
}

TEST_F(TreeFile, ForeignOrOlderFileAsksBeforeItIsReplaced)
{
    std::string older(32, '\0');
    older[0] = 'E', older[1] = 'E', older[2] = 'R', older[3] = 'T', older[4] = 2;
    WriteFileBytes(path, older);
    CWizTree tree;
    tree.SetFilePath(&record);
    alerts.answer(kIdCancel);
    EXPECT_EQ(tree.PrepareFile(), 1);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_NE(alerts.lastText().find("older version"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(path).size(), 32u) << "kept on Cancel";

    alerts.answer(kIdOk);
    EXPECT_EQ(tree.PrepareFile(), 0);
    const std::string fresh = ReadFileBytes(path);
    ASSERT_EQ(fresh.size(), 32u);
    EXPECT_EQ(GetU32LE(reinterpret_cast<const uint8_t*>(fresh.data()) + 4), 3u);

    WriteFileBytes(path, "short");
    alerts.clear();
    alerts.answer(kIdCancel);
    EXPECT_EQ(tree.PrepareFile(), 1);
    EXPECT_EQ(alerts.boxes().size(), 1u);
}

// Damaged files: each is refused whole, and nothing of what was read
// before the damage is ever saved over the file.
TEST_F(TreeFile, DamagedFilesAreRefusedAndNeverOverwritten)
{
    CWizTree source;
    Build(&source);
    const std::vector<uint8_t> good = Saved(source);

    auto damaged = [&](const std::function<void(std::vector<uint8_t>&)>& change) {
        std::vector<uint8_t> bytes = good;
        change(bytes);
        return bytes;
    };
    const uint32_t sub = 32 + 24 + 24 + 248;  // the sub-category's block
    const std::vector<std::vector<uint8_t>> cases = {
        damaged([](auto& b) { b.resize(b.size() - 10); }),                          // cut inside a payload
        damaged([](auto& b) { b.resize(32 + 24 + 10); }),                           // cut inside a block
        damaged([&](auto& b) { PutU32LE(&b[sub + 20], 0x7FFFFFF0); }),              // payload beyond the end
        damaged([&](auto& b) { PutU32LE(&b[sub + 4], 32); }),                       // child loops to the root
        damaged([&](auto& b) { PutU32LE(&b[sub + 8], sub); }),                      // next is itself
        damaged([&](auto& b) { PutU32LE(&b[sub + 4], uint32_t(b.size()) + 100); }), // child beyond the end
        damaged([&](auto& b) { PutU32LE(&b[sub + 4], sub + 30); }),                 // child inside the payload
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        CWizTree tree;
        EXPECT_EQ(tree.LoadImage(cases[i].data(), cases[i].size()), kWizWrongCode);

        const std::string bytes(cases[i].begin(), cases[i].end());
        WriteFileBytes(path, bytes);
        CWizTree onDisk;
        onDisk.SetFilePath(&record);
        ASSERT_EQ(onDisk.OpenFile(2), 0);
        EXPECT_NE(onDisk.Load(), 0);
        EXPECT_NE(onDisk.Save(), 0);
        onDisk.CloseFile();
        EXPECT_EQ(ReadFileBytes(path), bytes);

        // Start-up finds the damage and asks; Cancel keeps the file.
        alerts.clear();
        alerts.answer(kIdCancel);
        EXPECT_EQ(onDisk.PrepareFile(), 1);
        EXPECT_EQ(alerts.boxes().size(), 1u);
        EXPECT_EQ(ReadFileBytes(path), bytes);
    }
}

// Very deep and very wide trees, as a damaged or hostile file may hold,
// load, save and free without recursion or repeated walks.
TEST_F(TreeFile, DeepAndWideTreesRoundTrip)
{
    constexpr uint32_t kCount = 30000;
    for (bool deep : {true, false}) {
        SCOPED_TRACE(deep);
        std::vector<uint8_t> bytes(32 + 24 * (kCount + 1), 0);
        std::memcpy(bytes.data(), "EERT", 4);
        PutU32LE(&bytes[4], 3);
        PutU32LE(&bytes[8], kCount + 1);
        PutU32LE(&bytes[32 + 4], 56);
        for (uint32_t i = 0; i < kCount; ++i) {
            uint8_t* block = &bytes[56 + 24 * i];
            const uint32_t following = i + 1 < kCount ? 56 + 24 * (i + 1) : 0;
            PutU32LE(block + (deep ? 4 : 8), following);
            PutU32LE(block + 16, kWizKindFilter);
        }
        CWizTree tree;
        ASSERT_EQ(tree.LoadImage(bytes.data(), bytes.size()), 0);
        EXPECT_EQ(tree.CountNodes(), int32_t(kCount + 1));
        std::vector<uint8_t> saved;
        ASSERT_EQ(tree.SaveImage(&saved), 0);
        CWizTree again;
        ASSERT_EQ(again.LoadImage(saved.data(), saved.size()), 0);
        EXPECT_EQ(again.CountNodes(), int32_t(kCount + 1));
        WizardFaultList list;
        EXPECT_EQ(again.CheckWizardTree(&list), 0);
        again.DeleteNode(again.Root()->firstChild);
        EXPECT_EQ(again.CountNodes(), deep ? 1 : int32_t(kCount));
    }
}

TEST_F(TreeFile, LoadWithoutMemoryFailsCleanly)
{
    CWizTree source;
    Build(&source);
    const std::vector<uint8_t> good = Saved(source);
    for (int32_t successes = 0; successes < 12; ++successes) {
        CWizTree tree;
        MemInjectAllocationFailure(successes);
        const int32_t err = tree.LoadImage(good.data(), good.size());
        MemInjectAllocationFailure(-1);
        if (err == 0) {
            EXPECT_EQ(Shape(tree), Shape(source));
            break;
        }
        EXPECT_EQ(err, kWizMissing);
    }
}

// A payload whose size does not fit its kind survives a round trip but
// makes every typed operation on it fail.
TEST_F(TreeFile, MisfitPayloadIsKeptButRefused)
{
    CWizTree source;
    Build(&source);
    std::vector<uint8_t> bytes = Saved(source);
    // The filter's payload, one byte short: shorten its length, and the
    // following positions with it.
    CWizTree tree;
    HandleResize(filter->payload, 75);
    bytes = Saved(source);
    ASSERT_EQ(tree.LoadImage(bytes.data(), bytes.size()), 0);
    WizNode* f = tree.FindDescendant(tree.Root(), kWizKindFilter, 3);
    ASSERT_NE(f, nullptr);
    char name[64] = "x";
    EXPECT_NE(tree.GetName(f, name, sizeof name), 0);
    EXPECT_STREQ(name, "");
    EXPECT_NE(tree.SetName(f, "Other"), 0);
    EXPECT_EQ(HandleGetSize(f->payload), 75u);
    EXPECT_EQ(Saved(tree), bytes);
}

}  // namespace
