// The wizard subcommands of tessaline-tool, and the catalogue the program
// ships, which "wizard starter" makes.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <string>

#include "catalog/backdrop_list.h"
#include "catalog/wiz_tree.h"
#include "catalog/wizard_data.h"
#include "catalog/wizard_fault_list.h"
#include "catalog/wizard_folders.h"
#include "support/shell.h"
#include "support/temp_dir.h"
#include "wizard_fixture.h"

namespace {

std::string Output(const TempDir& dir, const std::string& command)
{
    const std::string out = dir.file("out.txt");
    if (Shell(dir, command + " > out.txt 2>&1") != 0)
        return "failed: " + ReadFileBytes(out);
    return ReadFileBytes(out);
}

// The build makes the shipped catalogue with the same command: a second
// run gives the same bytes.
TEST(WizardTool, StarterMatchesTheShippedCatalogue)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "\"$T\" wizard starter ."), 0);
    const QString shipped = QStringLiteral(TESSALINE_BINARY_DIR "/share/tessaline/Wizard");
    int files = 0;
    for (QDirIterator it(shipped, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        const QString relative = QDir(shipped).relativeFilePath(path);
        EXPECT_EQ(ReadFileBytes(dir.file("Wizard/" + relative.toStdString())), ReadFileBytes(path.toStdString()))
            << relative.toStdString();
        ++files;
    }
    EXPECT_GE(files, 40);
    // It never overwrites a catalogue.
    EXPECT_NE(Shell(dir, "\"$T\" wizard starter . 2>/dev/null"), 0);
}

TEST(WizardTool, DumpShowsTreeListsAndMissingReferences)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "\"$T\" wizard starter ."), 0);
    std::string out = Output(dir, "\"$T\" wizard dump .");
    EXPECT_NE(out.find("tree: 19 nodes"), std::string::npos) << out;
    EXPECT_NE(out.find("    sub-category 2 \"Address Labels\" 189 x 72 pt, 3 x 10"), std::string::npos) << out;
    EXPECT_NE(out.find("  group 1: 3 items"), std::string::npos) << out;
    EXPECT_EQ(out.find("missing"), std::string::npos) << out;

    // A group that is gone shows up as a reference the list lacks.
    PathRecord home = PosixRecord(dir.path() + "/");
    SetWizardHome(&home);
    ASSERT_EQ(RemoveBackdropItem(3, 0), 0);
    SetWizardHome(nullptr);
    out = Output(dir, "\"$T\" wizard dump .");
    EXPECT_NE(out.find("missing backdrop group 3: \"Corner Sunset\" under \"Business Cards\""), std::string::npos) << out;
    EXPECT_NE(Shell(dir, "\"$T\" wizard dump nowhere 2>/dev/null"), 0);
}

class ShippedCatalogue : public WizardHome {};

// The shipped files, as the build stages them and the program's start-up
// finds them, open without a question and hold what the wizard offers.
TEST_F(ShippedCatalogue, OpensCleanly)
{
    CopyShippedCatalogue();
    ASSERT_EQ(WizardTreeInit(nullptr), 0);
    EXPECT_TRUE(alerts.boxes().empty());
    ASSERT_EQ(WizardDataOpen(0), 0);
    CWizTree* tree = GetWizardTree();
    WizardFaultList faults;
    EXPECT_EQ(tree->CheckBackdropRefs(&faults), 0);
    EXPECT_EQ(tree->CheckWizardTree(&faults), 0);
    HandleOwner layouts(HandleNew(0));
    int32_t count = 0;
    ASSERT_EQ(tree->CollectLabelTypes(layouts.get(), &count), 0);
    EXPECT_EQ(count, 5);
    WizNode* backdrop = tree->FindDescendant(tree->Root(), kWizKindBackdrop, 2);
    DibHandleOwner picture(tree->GetPicture(backdrop, 2));
    ASSERT_TRUE(picture.get() && !DibHandleIsEmpty(picture.get()));
    EXPECT_EQ(DibHandleWidth(picture.get()), 315);
    WizardDataClose();
    WizardTreeFree();
}

}  // namespace
