// The picture import dialog: what the user chose comes back as path
// records, one per file, and the preview switch lasts for the program's
// run. The set-up command opens and closes the wizard data around the
// sheet.

#include <gtest/gtest.h>

#include <algorithm>

#include <QCheckBox>
#include <QFileDialog>
#include <QPushButton>

#include "support/modal_answer.h"
#include "dialogs/picture_file_dialogs.h"
#include "wizard/picture_file_dialog_run.h"
#include "wizard_setup_fixture.h"

namespace {

std::string Posix(Handle list, int32_t i)
{
    return PathRecordToPosix(HandleData<PathRecord>(list)[i]);
}

}  // namespace

TEST(PictureImport, ChosenNamesBecomePathRecords)
{
    HandleOwner list(HandleNew(0));
    int32_t count = 0;
    // One file is taken whole, not as folder and name.
    ChosenFilesToList("/ignored", {"/pictures/one.png"}, &count, list.get());
    ASSERT_EQ(count, 1);
    EXPECT_EQ(Posix(list.get(), 0), "/pictures/one.png");

    count = 0;
    ChosenFilesToList("/pictures", {"a.png", "b.gif", "c.bmp"}, &count, list.get());
    ASSERT_EQ(count, 3);
    EXPECT_EQ(HandleGetSize(list.get()), 3 * sizeof(PathRecord));
    EXPECT_EQ(Posix(list.get(), 1), "/pictures/b.gif");
    EXPECT_STREQ(HandleData<PathRecord>(list.get())[2].directory, "\\pictures\\");
    EXPECT_STREQ(HandleData<PathRecord>(list.get())[2].name, "c");

    // A folder that already ends in a separator gets no second one.
    count = 0;
    ChosenFilesToList("/pictures/", {"a.png", "b.png"}, &count, list.get());
    ASSERT_EQ(count, 2);
    EXPECT_EQ(Posix(list.get(), 0), "/pictures/a.png");
}

using PictureImportDialog = SetupSheet;

TEST_F(PictureImportDialog, ReturnsEveryChosenFileAndKeepsThePreviewChoice)
{
    const std::string a = PictureFile("a.png", 10, 10);
    const std::string b = PictureFile("b.png", 10, 10);
    const std::string c = PictureFile("c.png", 10, 10);
    HandleOwner list(HandleNew(0));
    int32_t count = 0;
    const PathRecord start = PosixRecord(dir.path() + "/");
    EXPECT_TRUE(PictureImportShowsPreview());
    WhenDialogOpens([&](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Select Picture/Pictures To Import"));
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        EXPECT_EQ(dialog->nameFilters().size(), kWizardPictureFilterCount);
        EXPECT_EQ(dialog->nameFilters().at(3), QStringLiteral("JPEG (*.jpg *jff *jft)"));
        dialog->findChild<QCheckBox*>(QStringLiteral("showPreview"))->click();
        dialog->setDirectory(QString::fromStdString(dir.path()));
        AnswerFileDialog(dialog, QStringLiteral("\"a.png\" \"b.png\" \"c.png\""));
    });
    ASSERT_EQ(PictureFileDialogRun(nullptr, "Select Picture/Pictures To Import", start, &count, list.get()), 1);
    ASSERT_EQ(count, 3);
    std::vector<std::string> chosen;
    for (int32_t i = 0; i < count; ++i)
        chosen.push_back(Posix(list.get(), i));
    std::sort(chosen.begin(), chosen.end());
    EXPECT_EQ(chosen, (std::vector<std::string>{a, b, c}));

    // Cancel leaves count and list alone; the preview stays off.
    WhenDialogOpens([](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->findChild<QCheckBox*>(QStringLiteral("showPreview"))->isChecked());
        dialog->findChild<QCheckBox*>(QStringLiteral("showPreview"))->click();
        QMetaObject::invokeMethod(dialog, "reject");
    });
    EXPECT_EQ(PictureFileDialogRun(nullptr, "Import", start, &count, list.get()), 2);
    EXPECT_EQ(count, 3);
    EXPECT_TRUE(PictureImportShowsPreview());
}

TEST_F(PictureImportDialog, TheSetupCommandWritesTheTreeBackWhenItCloses)
{
    // The fixture's own bracket is closed first: the command makes its own.
    Close();
    WizNode* added = nullptr;
    WhenDialogOpens([&](QWidget* widget) {
        auto* setup = dynamic_cast<CDlgWizardSetup*>(widget);
        ASSERT_NE(setup, nullptr);
        EXPECT_EQ(setup->windowTitle(), QStringLiteral("Wizard Setup"));
        added = setup->Tree()->AddFilter(setup->Tree()->Root()->firstChild);
        setup->CloseButton()->click();
    });
    RunWizardSetup(nullptr);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(GetWizardTree()->OpenCount(), 0);
    EXPECT_EQ(GetWizardTree()->CountNodes(), 1);
    Open();
    EXPECT_EQ(GetWizardTree()->CountNodes(), 16);
    EXPECT_EQ(GetWizardTree()->Root()->firstChild->firstChild->next->next->next->kind, uint32_t(kWizKindFilter));
}
