// The set-up record, and the brackets of the program's one wizard tree.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "catalog/doc_setup.h"
#include "catalog/wizard_data.h"
#include "catalog/wizard_list_files.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "support/shell.h"
#include "wizard_fixture.h"

namespace {

TEST(DocSetupRecord, BytesSurviveARoundTripButThePreviewSlot)
{
    std::mt19937 random(7);
    std::vector<uint8_t> bytes(kDocSetupSize);
    for (uint8_t& b : bytes)
        b = uint8_t(random());
    DocSetup setup;
    DocSetupDecode(bytes.data(), &setup);
    std::vector<uint8_t> again(kDocSetupSize, 0xAA);
    DocSetupEncode(setup, again.data());
    for (size_t i = 0; i < kDocSetupSize; ++i) {
        if (i >= 184 && i < 188) {
            EXPECT_EQ(again[i], 0) << "a pointer of another run is never stored";
        } else {
            EXPECT_EQ(again[i], bytes[i]) << i;
        }
    }
    EXPECT_EQ(setup.backdropId, GetU32LE(&bytes[4]));
    EXPECT_EQ(setup.templateId, GetU32LE(&bytes[12]));
    EXPECT_EQ(setup.databaseUse, GetU32LE(&bytes[188]));
    EXPECT_EQ(DocSetupLabelWidth(setup), GetF64LE(&bytes[80]));
    EXPECT_EQ(DocSetupLabelHeight(setup), GetF64LE(&bytes[88]));
    // Text 14 (Picture) sits at 192 + 14 * 256; a field without its
    // terminator still reads as at most 255 characters.
    EXPECT_EQ(DocSetupText(setup, 14).size(), strnlen(reinterpret_cast<const char*>(&bytes[192 + 14 * 256]), 255));
}

TEST(DocSetupRecord, TextsAreCutAndTerminated)
{
    DocSetup setup;
    DocSetupSetText(&setup, 0, "Ann");
    DocSetupSetText(&setup, 20, std::string(300, 'x').c_str());
    DocSetupSetText(&setup, 21, "ignored");
    EXPECT_EQ(DocSetupText(setup, 0), "Ann");
    EXPECT_EQ(DocSetupText(setup, 20), std::string(255, 'x'));
    EXPECT_EQ(DocSetupText(setup, -1), "");
    std::vector<uint8_t> bytes(kDocSetupSize);
    DocSetupEncode(setup, bytes.data());
    EXPECT_STREQ(reinterpret_cast<const char*>(&bytes[192]), "Ann");
    EXPECT_EQ(bytes[192 + 20 * 256 + 255], 0);
    EXPECT_EQ(bytes[192 + 20 * 256 + 254], 'x');
}

class WizardData : public WizardHome {
protected:
    void SetUp() override
    {
        WizardHome::SetUp();
        ASSERT_EQ(WizardTreeInit(nullptr), 0);
        ASSERT_NE(GetWizardTree(), nullptr);
        layout = MakeLayout("Business", 252, 144);
    }
    void TearDown() override
    {
        WizardTreeFree();
        WizardHome::TearDown();
    }

    // A category with one backdrop of group 4, saved to the file.
    void Populate()
    {
        ASSERT_EQ(WizardDataOpen(2), 0);
        CWizTree* tree = GetWizardTree();
        WizNode* cat = tree->AddCategory(layout.data(), nullptr);
        ASSERT_NE(tree->AddBackdrop(cat, 4), nullptr);
        ASSERT_EQ(WizardDataClose(), 0);
    }

    LabelLayout layout{};
};

TEST_F(WizardData, StartUpMakesEverythingOnce)
{
    EXPECT_EQ(ReadFileBytes(WizardFile("Wiz_Tree")).size(), 32u);
    EXPECT_FALSE(ReadFileBytes(WizardFile("Wiz_Tmpl")).empty());
    EXPECT_FALSE(ReadFileBytes(WizardFile("Wiz_Back")).empty());
    EXPECT_EQ(GetWizardTree()->Root()->firstChild, nullptr);
    EXPECT_EQ(WizardTreeInit(nullptr), 0);
    EXPECT_TRUE(alerts.boxes().empty());
}

TEST_F(WizardData, OnlyAReadWriteOpeningWritesBack)
{
    Populate();
    const std::string saved = ReadFileBytes(WizardFile("Wiz_Tree"));
    EXPECT_EQ(saved.size(), 32u + 24 + 24 + 248 + 24 + 164);
    EXPECT_EQ(GetWizardTree()->Root()->firstChild, nullptr) << "closing frees the nodes";

    // The new-document wizard reads; what it changes stays in memory.
    ASSERT_EQ(WizardDataOpen(0), 0);
    CWizTree* tree = GetWizardTree();
    ASSERT_NE(tree->Root()->firstChild, nullptr);
    EXPECT_EQ(ListFileMode(kWizListBackdrops), 0);
    tree->AddCategory(layout.data(), nullptr);
    ASSERT_EQ(WizardDataClose(), 0);
    EXPECT_EQ(ReadFileBytes(WizardFile("Wiz_Tree")), saved);
    EXPECT_EQ(ListFileMode(kWizListBackdrops), -1);
}

TEST_F(WizardData, AFailedOpenNeverWritesOverTheFile)
{
    Populate();
    // The tree file turns unreadable between start-up and the opening.
    std::string damaged = ReadFileBytes(WizardFile("Wiz_Tree"));
    PutU32LE(reinterpret_cast<uint8_t*>(&damaged[32 + 4]), 9);
    WriteFileBytes(WizardFile("Wiz_Tree"), damaged);
    EXPECT_NE(WizardDataOpen(2), 0);
    EXPECT_EQ(WizardDataClose(), 0);
    EXPECT_EQ(ReadFileBytes(WizardFile("Wiz_Tree")), damaged);

    // A list that cannot be opened stops the opening before the tree.
    FileDelete(&GetWizardTree()->FilePath());
    PathRecord list;
    WizardListFilePath(&list, kWizListTemplates);
    FileDelete(&list);
    EXPECT_NE(WizardDataOpen(2), 0);
    WizardDataClose();
    EXPECT_TRUE(ReadFileBytes(WizardFile("Wiz_Tree")).empty());
    EXPECT_EQ(ListFileMode(kWizListBackdrops), -1);
}

TEST_F(WizardData, TemplatesReachTheMatchingBackdrops)
{
    Populate();
    DocSetup setup;
    setup.backdropId = 4;
    std::memcpy(setup.labelLayout, layout.data(), kWizLayoutSize);
    WizTemplateEntry entry;
    std::strcpy(entry.name, "Layout");
    entry.templateId = 2;
    EXPECT_EQ(AddTemplateToWizardTree(setup, entry), kWizMissing) << "a custom layout has no category";
    setup.fromCategory = 1;
    ASSERT_EQ(AddTemplateToWizardTree(setup, entry), 0);
    EXPECT_EQ(GetWizardTree()->Root()->firstChild, nullptr);

    ASSERT_EQ(WizardDataOpen(0), 0);
    CWizTree* tree = GetWizardTree();
    WizNode* backdrop = tree->FindDescendant(tree->Root(), kWizKindBackdrop, 2);
    int32_t count = 0;
    ASSERT_EQ(tree->GetEntryCount(backdrop, &count), 0);
    EXPECT_EQ(count, 1);
    // While the data is open the tree in memory is the one used.
    HandleOwner layouts(HandleNew(0));
    ASSERT_EQ(GetWizardDocLayouts(layouts.get(), &count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(tree->Root()->firstChild->kind, kWizKindCategory);
    WizardDataClose();

    ASSERT_EQ(GetWizardDocLayouts(layouts.get(), &count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_STREQ(HandleData<char>(layouts.get()), "Business");
}

}  // namespace
