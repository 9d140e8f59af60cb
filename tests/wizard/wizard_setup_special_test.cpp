// The repair bench: each tab's scan reports the damage the data holds, its
// actions repair it, and the Template Name dialog takes a template's name.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include "catalog/backdrop_list.h"
#include "catalog/template_list.h"
#include "catalog/wizard_list_format.h"
#include "dialogs/dlg_template_name.h"
#include "wizard/pg_ws_special.h"
#include "wizard/setup_file_choosers.h"
#include "wizard/smart_listbox.h"
#include "wizard_setup_fixture.h"

namespace {

const WizardFault* Entry(const CPgWS_Special* page, const std::string& fileName)
{
    for (const WizardFault& f : page->List(page->CurrentTab()).entries)
        if (f.fileName == fileName)
            return &f;
    return nullptr;
}

int32_t IndexOf(const CPgWS_Special* page, const std::string& fileName)
{
    const auto& entries = page->List(page->CurrentTab()).entries;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].fileName == fileName)
            return int32_t(i);
    return -1;
}

std::string g_picture;

}  // namespace

using SpecialPage = SetupSheet;

TEST_F(SpecialPage, BackdropTabFindsStrayAndMissingFilesAndMendsThem)
{
    WriteFileBytes(WizardFile("Backdrops/notes.txt"), "not a backdrop");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(WizardFile("Backdrops/old"))));
    ASSERT_TRUE(QFile::remove(QString::fromStdString(WizardFile("Backdrops/bckp004.bp"))));
    auto* page = Turn<CPgWS_Special>(kSetupPageSpecial);
    EXPECT_EQ(page->CurrentTab(), kSpecialTabBackdrops);
    EXPECT_EQ(page->Item<QLabel>(1742)->text(), QStringLiteral("Backdrops Warning:"));
    EXPECT_EQ(page->Button(kIdSpecialRescan)->text(), QStringLiteral("Rescan Backdrops"));
    EXPECT_FALSE(page->Button(kIdSpecialRemoveTemplate)->isVisible());

    const WizardFault* stray = Entry(page, "notes.txt");
    ASSERT_NE(stray, nullptr);
    EXPECT_TRUE(stray->unknownFormat);
    const SpecialVerdict verdict = JudgeFault(kSpecialTabBackdrops, *stray);
    EXPECT_EQ(verdict.text, "[  ] [ notes.txt ]\nUnknown file format. Remove it. ");
    EXPECT_EQ(verdict.rating, uint32_t(kFaultMarkRed));
    EXPECT_NE(JudgeFault(0, *Entry(page, "old")).text.find("Folder not be present in Wizard."), std::string::npos);

    // A registered item whose file went is listed as not present.
    const WizardFault* gone = Entry(page, "bckp004.bp");
    ASSERT_NE(gone, nullptr);
    EXPECT_TRUE(gone->registered);
    EXPECT_FALSE(gone->filePresent);
    EXPECT_EQ(gone->id, 2u);
    EXPECT_EQ(gone->itemNumber, 2u);
    EXPECT_EQ(gone->displayName, "Amber Stripes");
    page->SelectEntry(IndexOf(page, "bckp004.bp"));
    EXPECT_NE(page->WarningText()->text().toStdString().find("Backdrop file not present in Backdrop folder."),
              std::string::npos);
    EXPECT_TRUE(page->Button(kIdSpecialBackdropOriginal)->isEnabled());
    EXPECT_FALSE(page->Button(kIdSpecialAddBackdrop)->isEnabled());

    // "Select Original File" makes it again from any picture.
    g_picture = PictureFile("Amber.png", 20, 20, Qt::yellow);
    const PictureChooserHook previous = SetPictureChooserHook([](std::string* path) {
        *path = g_picture;
        return true;
    });
    page->OnBackdropOriginal();
    SetPictureChooserHook(previous);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(WizardFile("Backdrops/bckp004.bp"))));
    ASSERT_NE(Entry(page, "bckp004.bp"), nullptr);
    EXPECT_TRUE(Entry(page, "bckp004.bp")->filePresent);
    DibHandleOwner picture(GetBackdropPicture(2, 2));
    EXPECT_TRUE(picture.get() != nullptr);

    // The stray file goes.
    page->SelectEntry(IndexOf(page, "notes.txt"));
    EXPECT_TRUE(page->Button(kIdSpecialRemoveBackdrop)->isEnabled());
    page->OnRemoveBackdrop();
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(WizardFile("Backdrops/notes.txt"))));
    EXPECT_EQ(Entry(page, "notes.txt"), nullptr);

    // A folder is left to the user.
    page->SelectEntry(IndexOf(page, "old"));
    page->OnRemoveBackdrop();
    EXPECT_EQ(alerts.lastText(), "You should remove folder yourself");
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(WizardFile("Backdrops/old"))));
}

TEST_F(SpecialPage, AnUnlistedBackdropFileCanBeListedAgain)
{
    // The item file stays while its record goes.
    ASSERT_EQ(RemoveBackdropItem(3, 2), 0);
    auto* page = Turn<CPgWS_Special>(kSetupPageSpecial);
    const WizardFault* loose = Entry(page, "bckp006.bp");
    ASSERT_NE(loose, nullptr);
    EXPECT_FALSE(loose->registered);
    const SpecialVerdict verdict = JudgeFault(0, *loose);
    EXPECT_EQ(verdict.rating, uint32_t(kFaultMarkYellow));
    EXPECT_TRUE(verdict.addToList);
    page->SelectEntry(IndexOf(page, "bckp006.bp"));
    const uint32_t counter = sheet->BackdropCounter();
    page->OnAddBackdrop();
    EXPECT_EQ(sheet->BackdropCounter(), counter + 1);
    loose = Entry(page, "bckp006.bp");
    ASSERT_NE(loose, nullptr);
    EXPECT_TRUE(loose->registered);
    EXPECT_EQ(loose->id, 4u);
    uint8_t item[kBkItemSize];
    ASSERT_EQ(GetBackdropItem(4, 1, item), 0);
    char name[64];
    BackdropItemName(item, name, int32_t(sizeof name));
    EXPECT_STREQ(name, "bckp006");
    DibHandleOwner picture(GetBackdropPicture(4, 1));
    EXPECT_TRUE(picture.get() != nullptr);
}

TEST_F(SpecialPage, TemplateTabRegistersAFileUnderTheNameGiven)
{
    // A template file in the folder without a record.
    const std::string loose = TemplateFile("loose.tp", "Loose", 252, 144);
    ASSERT_TRUE(QFile::copy(QString::fromStdString(loose), QString::fromStdString(WizardFile("Templates/tmpl007.tp"))));
    auto* page = Turn<CPgWS_Special>(kSetupPageSpecial);
    page->SelectTab(kSpecialTabTemplates);
    EXPECT_EQ(page->Tabs()->currentIndex(), kSpecialTabTemplates);
    EXPECT_TRUE(page->Button(kIdSpecialAddTemplate)->isVisible());
    EXPECT_FALSE(page->Button(kIdSpecialAddBackdrop)->isVisible());
    const WizardFault* f = Entry(page, "tmpl007.tp");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->headerName, "Loose");
    EXPECT_EQ(f->versionFound, 4u);
    page->SelectEntry(IndexOf(page, "tmpl007.tp"));
    EXPECT_NE(page->WarningText()->text().toStdString().find("Template file not registered in Wizard."),
              std::string::npos);
    ASSERT_TRUE(page->Button(kIdSpecialAddTemplate)->isEnabled());

    // The name dialog opens with the file's name; an empty name is refused,
    // a typed one taken.
    WhenDialogOpens([this](QWidget* widget) {
        auto* dialog = dynamic_cast<CDlgTemplateName*>(widget);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->NameEdit()->text(), QStringLiteral("tmpl007"));
        EXPECT_EQ(dialog->NameEdit()->maxLength(), 32);
        dialog->NameEdit()->setText(QStringLiteral("   "));
        dialog->accept();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(alerts.lastText(), "Enter the template's name.");
        dialog->NameEdit()->setText(QStringLiteral("Birthday"));
        dialog->accept();
    });
    page->OnAddTemplate();
    f = Entry(page, "tmpl007.tp");
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->registered);
    EXPECT_EQ(f->displayName, "Birthday");
    uint8_t info[kTmInSize];
    ASSERT_EQ(ReadTemplateInfo(int32_t(f->id), info), 0);
    double width = 0;
    double height = 0;
    TemplateInfoSize(info, &width, &height);
    EXPECT_EQ(width, 252);
    EXPECT_EQ(height, 144);
    // Registered but used by no document: the green marker.
    EXPECT_EQ(JudgeFault(1, *f).rating, uint32_t(kFaultMarkGreen));

    // Removing it takes the record and the file.
    page->OnRemoveTemplate();
    EXPECT_NE(ReadTemplateInfo(1, info), 0);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(WizardFile("Templates/tmpl007.tp"))));
}

TEST_F(SpecialPage, RelationAndTreeTabsReportTheDamage)
{
    CWizTree* tree = GetWizardTree();
    // A document whose backdrop group is not in the list, and one whose
    // template is not.
    WizNode* category = tree->Root()->firstChild;
    WizNode* orphan = tree->AddBackdrop(category, 77);
    ASSERT_NE(orphan, nullptr);
    WizTemplateEntry entry;
    std::strcpy(entry.name, "Ghost");
    entry.templateId = 42;
    int32_t n = 0;
    ASSERT_EQ(tree->SetEntry(category->firstChild, &n, entry), 0);

    auto* page = Turn<CPgWS_Special>(kSetupPageSpecial);
    page->SelectTab(kSpecialTabRelations);
    const auto& faults = page->List(kSpecialTabRelations).entries;
    ASSERT_EQ(faults.size(), 2u);
    // In the tree's order: the first document's entry, then the document
    // added last.
    EXPECT_EQ(faults[0].relationFault, uint32_t(kWizRelationTemplateMissing));
    EXPECT_EQ(faults[0].id, 42u);
    EXPECT_EQ(faults[0].displayName, "Sky Blue : Ghost");
    EXPECT_EQ(faults[1].relationFault, uint32_t(kWizRelationGroupMissing));
    EXPECT_EQ(faults[1].id, 77u);
    EXPECT_EQ(JudgeFault(kSpecialTabRelations, faults[0]).text,
              "Template assigned to a node not present in wizard rsrc.\nRemove template reference or assign new "
              "template. (Relationship Page: Add/Delete Template)\nParent: Business Cards");
    page->SelectEntry(1);
    EXPECT_TRUE(page->Button(kIdSpecialRemoveBackdropRef)->isEnabled());
    EXPECT_FALSE(page->Button(kIdSpecialRemoveTemplateRef)->isEnabled());
    page->OnRemoveBackdropRef();
    ASSERT_EQ(page->List(kSpecialTabRelations).entries.size(), 1u);
    page->SelectEntry(0);
    page->OnRemoveTemplateRef();
    EXPECT_TRUE(page->List(kSpecialTabRelations).entries.empty());
    EXPECT_EQ(page->WarningText()->text(), QStringLiteral(" "));
    EXPECT_EQ(tree->CountNodes(), 15);

    // A link of the tree that points the wrong way.
    WizNode* second = category->firstChild->next;
    ASSERT_NE(second, nullptr);
    WizNode* saved = second->prev;
    second->prev = nullptr;
    alerts.clear();
    page->SelectTab(kSpecialTabTree);
    const auto& links = page->List(kSpecialTabTree).entries;
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].treeFaultText, "Node has an incorrect prev reference.");
    EXPECT_EQ(JudgeFault(kSpecialTabTree, links[0]).rating, uint32_t(kFaultMarkRed));
    EXPECT_EQ(page->WarningText()->text(), QStringLiteral("Node has an incorrect prev reference."));
    ASSERT_EQ(alerts.boxes().size(), 2u);
    EXPECT_EQ(alerts.boxes()[0].text, "Tested nodes = 15");
    page->OnCorrectNode();
    EXPECT_EQ(alerts.lastText(), "Not implemented... You must close Wizard Setup dialog and open again");
    second->prev = saved;

    // Turning away and back scans again.
    Turn<CPgWS>(kSetupPageBackdrops);
    alerts.clear();
    Turn<CPgWS>(kSetupPageSpecial);
    EXPECT_TRUE(page->List(kSpecialTabTree).entries.empty());
    EXPECT_FALSE(page->List(kSpecialTabBackdrops).scanned);
    EXPECT_EQ(alerts.boxes().size(), 1u);
}

TEST_F(SpecialPage, DesignTabKnowsTheHeaderPictures)
{
    auto* page = Turn<CPgWS_Special>(kSetupPageSpecial);
    page->SelectTab(kSpecialTabDesigns);
    const WizardFault* finish = Entry(page, "hdrp1000.sp");
    ASSERT_NE(finish, nullptr);
    EXPECT_EQ(finish->displayName, "Wizard Finish Picture");
    EXPECT_TRUE(finish->headerPicture);
    EXPECT_FALSE(finish->filePresent);
    EXPECT_NE(JudgeFault(2, *finish).text.find("Wizard picture not present. Choose it."), std::string::npos);
    const WizardFault* third = Entry(page, "hdrp3.sp");
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->displayName, "Wizard Header Picture N 3");

    WriteFileBytes(WizardFile("Designs/stray.dp"), "junk");
    page->Rescan();
    page->SelectEntry(IndexOf(page, "stray.dp"));
    EXPECT_TRUE(page->Button(kIdSpecialRemoveDesign)->isEnabled());
    page->OnRemoveDesign();
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(WizardFile("Designs/stray.dp"))));
}

TEST(TemplateNameDialog, GivesBackTheNameCut)
{
    CDlgTemplateName dialog;
    dialog.SetName("Party");
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("Party"));
    dialog.NameEdit()->setText(QStringLiteral("Summer Party"));
    dialog.accept();
    char name[8];
    dialog.GetName(name, int32_t(sizeof name));
    EXPECT_STREQ(name, "Summer ");
    char whole[64];
    dialog.GetName(whole, int32_t(sizeof whole));
    EXPECT_STREQ(whole, "Summer Party");
}
