#include <cstring>
#include <memory>

#include <QLabel>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include "dialogs/filtered_edit.h"
#include "foundation/byte_order.h"
#include "records/label_type_builtin.h"
#include "wizard/category_tree_ctrl.h"
#include "wizard/label_type_fields.h"
#include "wizard/pg_wiz_1.h"
#include "wizard/pg_wiz_2.h"
#include "wizard/pg_wiz_3.h"
#include "wizard/pg_wiz_all_bd.h"
#include "wizard/pg_wiz_db_info.h"
#include "wizard/pg_wiz_doc_prop.h"
#include "wizard/pg_wiz_finish.h"
#include "wizard/wiz_database.h"
#include "wizard/wiz_preview_document.h"
#include "wizard/wizard_preview_wnd.h"
#include "wizard_sheet_fixture.h"

namespace {

class WizardSheetTest : public StarterCatalogue {
protected:
    void Start(CDlgWizard& sheet)
    {
        sheet.Init(GetWizardTree(), 1, nullptr);
        sheet.show();
        Settle();
    }
    CPgWiz_1* TypePage(CDlgWizard& s) { return static_cast<CPgWiz_1*>(s.Page(kPageDocumentType)); }
    CPgWiz_2* BackdropPage(CDlgWizard& s) { return static_cast<CPgWiz_2*>(s.Page(kPageBackdrop)); }
    // From Document Type with a category to the Layout page over the
    // category's first backdrop.
    void ToLayout(CDlgWizard& sheet, const char* category)
    {
        Select(TypePage(sheet)->Tree(), category);
        Next(sheet);
        CCategoryTreeCtrl* tree = BackdropPage(sheet)->Tree();
        ASSERT_GE(tree->topLevelItemCount(), 2);
        tree->setCurrentItem(tree->topLevelItem(1));
        Next(sheet);
        ASSERT_EQ(sheet.ActiveIndex(), kPageLayout);
    }
    // A business card's run from its start to the Personal Information
    // page.
    void ToPersonalInfo(CDlgWizard& sheet, CPgWiz_DBInfo** page)
    {
        Start(sheet);
        ToLayout(sheet, "Business Cards");
        Next(sheet);
        ASSERT_EQ(sheet.ActiveIndex(), kPagePersonalInfo);
        *page = static_cast<CPgWiz_DBInfo*>(sheet.Page(kPagePersonalInfo));
    }
};

TEST_F(WizardSheetTest, CategoryRouteGoesForwardAndBackAndStoresEachChoice)
{
    CDlgWizard sheet("Wizard", nullptr);
    Start(sheet);
    EXPECT_EQ(sheet.ActiveIndex(), kPageDocumentType);
    // Nothing chosen yet: the wizard can't go on.
    EXPECT_EQ(sheet.ButtonFlags(), 0u);
    // A category whose backdrops lie two levels down can't be passed.
    Select(TypePage(sheet)->Tree(), "Labels");
    EXPECT_EQ(sheet.ButtonFlags(), 0u);
    Select(TypePage(sheet)->Tree(), "Business Cards");
    EXPECT_EQ(sheet.ButtonFlags(), uint32_t(kWizButtonNext));
    Next(sheet);
    ASSERT_EQ(sheet.ActiveIndex(), kPageBackdrop);
    EXPECT_EQ(sheet.Record().fromCategory, 1u);
    EXPECT_EQ(DocSetupLabelWidth(sheet.Record()), 252.0);
    EXPECT_EQ(DocSetupLabelHeight(sheet.Record()), 144.0);

    // "No Backdrop" first, then the category's three backdrops.
    CCategoryTreeCtrl* backdrops = BackdropPage(sheet)->Tree();
    ASSERT_EQ(backdrops->topLevelItemCount(), 4);
    EXPECT_EQ(backdrops->topLevelItem(0)->text(0), "No Backdrop");
    EXPECT_EQ(sheet.ButtonFlags(), uint32_t(kWizButtonBack));
    backdrops->setCurrentItem(backdrops->topLevelItem(1));
    Settle();
    EXPECT_EQ(BackdropPage(sheet)->Colours()->count(), 3);
    BackdropPage(sheet)->Colours()->setCurrentIndex(2);
    BackdropPage(sheet)->OnColourChosen();
    EXPECT_TRUE(BackdropPage(sheet)->ContentPreview()->HasBackground());
    Next(sheet);
    ASSERT_EQ(sheet.ActiveIndex(), kPageLayout);
    EXPECT_NE(sheet.Record().backdropId, 0u);
    EXPECT_EQ(sheet.Record().backdropColour, 3u);
    // The starter catalogue has no templates: only "No Layout".
    auto* layout = static_cast<CPgWiz_3*>(sheet.Page(kPageLayout));
    ASSERT_EQ(layout->List()->count(), 1);
    EXPECT_EQ(layout->List()->item(0)->text(), "No Layout");
    Next(sheet);
    EXPECT_EQ(sheet.ActiveIndex(), kPagePersonalInfo);
    EXPECT_EQ(sheet.windowTitle(), "Wizard - No Database");
    Next(sheet);
    EXPECT_EQ(sheet.ActiveIndex(), kPageFinish);
    EXPECT_EQ(sheet.ButtonFlags(), uint32_t(kWizButtonBack | kWizButtonFinish));

    // Back retraces the route; Layout returns to the category's backdrops.
    Back(sheet);
    EXPECT_EQ(sheet.ActiveIndex(), kPagePersonalInfo);
    Back(sheet);
    EXPECT_EQ(sheet.ActiveIndex(), kPageLayout);
    Back(sheet);
    EXPECT_EQ(sheet.ActiveIndex(), kPageBackdrop);
    // The choice made before is kept when the category did not change.
    EXPECT_EQ(backdrops->SelectedItem(), backdrops->topLevelItem(1));
    Back(sheet);
    EXPECT_EQ(sheet.ActiveIndex(), kPageDocumentType);

    for (int i = 0; i < 4; ++i)
        Next(sheet);
    ASSERT_EQ(sheet.ActiveIndex(), kPageFinish);
    sheet.PressFinish();
    EXPECT_EQ(sheet.result(), kIdWizFinish);
    uint8_t bytes[kDocSetupSize];
    std::memset(bytes, 0xCC, sizeof bytes);
    sheet.GetResult(bytes);
    EXPECT_EQ(GetU32LE(bytes + kDocSetupFromCategory), 1u);
    EXPECT_EQ(GetU32LE(bytes + kDocSetupBackdropColour), 3u);
    EXPECT_EQ(GetU32LE(bytes + kDocSetupTemplateId), 0u);
    EXPECT_EQ(GetU32LE(bytes + kDocSetupPreviewSlot), 0u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes + kDocSetupLabelType)), "Business Cards");
    EXPECT_EQ(bytes[kDocSetupSize - 1], 0);
}

TEST_F(WizardSheetTest, CustomRouteVisitsPropertiesAndTheFullBackdropList)
{
    CDlgWizard sheet("Wizard", nullptr);
    Start(sheet);
    Select(TypePage(sheet)->Tree(), "Custom Document");
    Next(sheet);
    ASSERT_EQ(sheet.ActiveIndex(), kPageDocProperties);
    EXPECT_EQ(sheet.Record().fromCategory, 0u);
    Back(sheet);
    EXPECT_EQ(sheet.ActiveIndex(), kPageDocumentType);
    Next(sheet);
    ASSERT_EQ(sheet.ActiveIndex(), kPageDocProperties);

    // The presets: the two built-in layouts, then the catalogue's.
    auto* props = static_cast<CPgWizDocProp*>(sheet.Page(kPageDocProperties));
    EXPECT_GE(props->Presets()->count(), 3);
    EXPECT_EQ(sheet.ButtonFlags(), uint32_t(kWizButtonBack | kWizButtonNext));
    // A nameless layout can't be passed.
    props->OnNameEdited(QString());
    Settle();
    EXPECT_EQ(sheet.ButtonFlags(), uint32_t(kWizButtonBack));
    props->OnNameEdited(QStringLiteral("Mine"));
    Settle();
    Next(sheet);
    ASSERT_EQ(sheet.ActiveIndex(), kPageAllBackdrops);
    uint8_t builtin[kLabelTypeSize];
    GetBuiltinLabelType(builtin, 0);
    EXPECT_EQ(std::memcmp(sheet.Record().labelLayout + 64, builtin + 64, 64), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(sheet.Record().labelLayout), "Mine");
    // A preset is reset to any orientation, both sides, a printable
    // backdrop and any paper.
    EXPECT_EQ(GetU32LE(sheet.Record().labelLayout + kLabelTypeOrientationOffset), 0u);
    EXPECT_EQ(GetU32LE(sheet.Record().labelLayout + kLabelTypeSidesOffset), 2u);
    EXPECT_EQ(GetU32LE(sheet.Record().labelLayout + kLabelTypeWord140Offset), 1u);
    EXPECT_EQ(GetU32LE(sheet.Record().labelLayout + kLabelTypePaperOffset), 0u);

    auto* all = static_cast<CPgWiz_AllBd*>(sheet.Page(kPageAllBackdrops));
    ASSERT_GE(all->List()->count(), 2);
    EXPECT_EQ(all->List()->item(0)->text(), "No Backdrop");
    // "No Backdrop" stores nothing and leaves the colours empty.
    EXPECT_EQ(sheet.Record().backdropId, 0u);
    EXPECT_EQ(all->Colours()->count(), 0);
    all->List()->setCurrentRow(1);
    Settle();
    EXPECT_NE(sheet.Record().backdropId, 0u);
    EXPECT_EQ(sheet.Record().backdropColour, 1u);
    EXPECT_EQ(all->Colours()->isEnabled(), all->Colours()->count() >= 2);
    const uint32_t chosen = sheet.Record().backdropId;
    Next(sheet);
    ASSERT_EQ(sheet.ActiveIndex(), kPageLayout);
    // Back from Layout follows the custom route.
    Back(sheet);
    EXPECT_EQ(sheet.ActiveIndex(), kPageAllBackdrops);
    Back(sheet);
    EXPECT_EQ(sheet.ActiveIndex(), kPageDocProperties);
    Next(sheet);
    Next(sheet);
    Next(sheet);
    Next(sheet);
    ASSERT_EQ(sheet.ActiveIndex(), kPageFinish);
    sheet.PressFinish();
    DocSetup result;
    sheet.GetResult(&result);
    EXPECT_EQ(result.fromCategory, 0u);
    EXPECT_EQ(result.backdropId, chosen);
}

TEST_F(WizardSheetTest, BackNeverStoresAndSnapshotsStartChanged)
{
    CDlgWizard sheet("Wizard", nullptr);
    Start(sheet);
    Select(TypePage(sheet)->Tree(), "Business Cards");
    Next(sheet);
    CPgWiz_2* page = BackdropPage(sheet);
    page->Tree()->setCurrentItem(page->Tree()->topLevelItem(2));
    Settle();
    Back(sheet);
    EXPECT_EQ(sheet.Record().backdropId, 0u);
    // A fresh page's snapshot differs in the backdrop and data groups.
    CPgWiz* unseen = sheet.Page(kPageFinish);
    EXPECT_TRUE(unseen->HasChanged(kChangedBackdrop));
    EXPECT_TRUE(unseen->HasChanged(kChangedDataOrTemplate));
    // Next from Document Type stores the layout again from its own node,
    // though the backdrop page made a backdrop the current node.
    std::memset(sheet.Record().labelLayout, 0, kDocSetupLabelTypeSize);
    Next(sheet);
    EXPECT_EQ(DocSetupLabelWidth(sheet.Record()), 252.0);
}

TEST_F(WizardSheetTest, CancelClosesThePreviewDocumentAndMakesNothing)
{
    static int closed = 0;
    class Preview : public WizPreviewDocument {
    public:
        void ClearAndApplySetup(const DocSetup&) override {}
        void ApplyLayoutAndDesign(const DocSetup&, bool) override {}
        int32_t RenderWizardPreview(int32_t, int32_t, Handle) override { return 1; }
        void PrintSheet(QWidget*) override {}
        void PrintFromDatabase(QWidget*) override {}
        void OnFilePrintOptions() override {}
        void OnCloseDocument() override { ++closed; }
    };
    WizPreviewDocumentMaker previous =
        SetWizPreviewDocumentMaker([]() -> std::unique_ptr<WizPreviewDocument> { return std::make_unique<Preview>(); });
    {
        CDlgWizard sheet("Wizard", nullptr);
        Start(sheet);
        EXPECT_NE(sheet.PreviewDocument(), nullptr);
        sheet.PressCancel();
        EXPECT_EQ(sheet.result(), kIdCancel);
        EXPECT_EQ(sheet.PreviewDocument(), nullptr);
        EXPECT_EQ(closed, 1);
    }
    EXPECT_EQ(closed, 1);
    SetWizPreviewDocumentMaker(previous);
}

TEST_F(WizardSheetTest, FinishPageRendersTheDocumentOnlyWithATemplateAndRebuildsOnChange)
{
    struct Calls {
        int applied = 0;
        int rendered = 0;
        int printed = 0;
    };
    static Calls calls;
    calls = Calls{};
    class Preview : public WizPreviewDocument {
    public:
        void ClearAndApplySetup(const DocSetup&) override {}
        void ApplyLayoutAndDesign(const DocSetup&, bool full) override { calls.applied += full ? 1 : 0; }
        int32_t RenderWizardPreview(int32_t, int32_t, Handle) override
        {
            ++calls.rendered;
            return 1;
        }
        void PrintSheet(QWidget*) override { ++calls.printed; }
        void PrintFromDatabase(QWidget*) override { ++calls.printed; }
        void OnFilePrintOptions() override {}
        void OnCloseDocument() override {}
    };
    WizPreviewDocumentMaker previous =
        SetWizPreviewDocumentMaker([]() -> std::unique_ptr<WizPreviewDocument> { return std::make_unique<Preview>(); });
    CDlgWizard sheet("Wizard", nullptr);
    Start(sheet);
    ToLayout(sheet, "Index Cards");
    Next(sheet);
    Next(sheet);
    ASSERT_EQ(sheet.ActiveIndex(), kPageFinish);
    auto* finish = static_cast<CPgWiz_Finish*>(sheet.Page(kPageFinish));
    EXPECT_EQ(calls.applied, 1);
    EXPECT_EQ(calls.rendered, 0);
    EXPECT_TRUE(finish->PrintSheetButton()->isEnabled());
    // Without a database the database print stays off.
    EXPECT_FALSE(finish->PrintFromDatabaseButton()->isEnabled());
    finish->OnPrintSheet();
    EXPECT_EQ(calls.printed, 1);
    EXPECT_TRUE(sheet.isEnabled());
    const int32_t rebuilds = finish->RebuildCount();
    Back(sheet);
    Next(sheet);
    EXPECT_EQ(finish->RebuildCount(), rebuilds);
    Back(sheet);
    sheet.NoteDataChanged();
    Next(sheet);
    EXPECT_EQ(finish->RebuildCount(), rebuilds + 1);
    // A template is drawn by rendering the document over the backdrop.
    sheet.Record().templateId = 7;
    Back(sheet);
    Next(sheet);
    EXPECT_EQ(calls.rendered, 1);
    SetWizPreviewDocumentMaker(previous);
}

TEST_F(WizardSheetTest, ChangeLayoutStartsOnTheMatchingBackdropPageAndFinishesOnLayout)
{
    // A record of the catalogue's business-card layout starts on the
    // category's backdrops; one of no category on the full list.
    for (const bool ofCategory : {true, false}) {
        DocSetup record;
        uint8_t layout[kLabelTypeSize] = {};
        if (ofCategory) {
            WizNode* cards = GetWizardTree()->Root()->firstChild;
            ASSERT_EQ(GetWizardTree()->GetLabelType(cards, layout), 0);
        } else {
            std::strcpy(reinterpret_cast<char*>(layout), "Odd");
            PutF64LE(layout + 64, 123.0);
            PutF64LE(layout + 72, 45.0);
        }
        std::memcpy(record.labelLayout, layout, sizeof layout);
        record.fromCategory = ofCategory ? 1 : 0;
        CDlgWizard sheet("Change Layout", nullptr);
        sheet.Init(GetWizardTree(), 2, &record);
        sheet.show();
        Settle();
        EXPECT_EQ(sheet.ActiveIndex(), ofCategory ? kPageBackdrop : kPageAllBackdrops);
        if (ofCategory) {
            CPgWiz_2* page = BackdropPage(sheet);
            page->Tree()->setCurrentItem(page->Tree()->topLevelItem(0));
            Settle();
        }
        EXPECT_EQ(sheet.ButtonFlags(), uint32_t(kWizButtonNext));
        Next(sheet);
        ASSERT_EQ(sheet.ActiveIndex(), kPageLayout);
        EXPECT_EQ(sheet.ButtonFlags(), uint32_t(kWizButtonBack | kWizButtonFinish));
        Back(sheet);
        EXPECT_EQ(sheet.ActiveIndex(), ofCategory ? kPageBackdrop : kPageAllBackdrops);
        Next(sheet);
        sheet.PressFinish();
        EXPECT_EQ(sheet.result(), kIdWizFinish);
    }
}

// A database the Personal Info page can hold, counting what is asked of it.
class FakeDatabase : public WizDatabase {
public:
    std::string Title() const override { return "people.dqx"; }
    std::string CustomFieldName(int32_t k) const override { return "Extra" + std::to_string(k + 1); }
    void ConnectEdits(CFilteredEdit* const*) override { ++connected; }
    void ReleaseEdits() override { ++released; }
    void CommitRecord() override { ++commits; }
    void CancelRecord() override {}
    void FirstRecord() override { row = 0; }
    void PreviousRecord() override { row = row > 0 ? row - 1 : 0; }
    void NextRecord() override { row = row + 1 < rows ? row + 1 : row; }
    void LastRecord() override { row = rows - 1; }
    void AddNewRecord() override { row = rows++; }
    void DeleteCurrentRecord() override { --rows; }
    int32_t RowCount() const override { return rows; }
    int32_t CurrentRow() const override { return row; }
    int32_t LiveCount() const override { return rows; }
    int32_t StoredCount() const override { return rows + 1; }
    int32_t DeletedCount() const override { return 1; }
    void ShowWindow() override { ++shown; }
    void Close() override { ++closed; }

    int32_t rows = 3, row = 0;
    int connected = 0, released = 0, commits = 0, shown = 0, closed = 0;
};

FakeDatabase* g_database = nullptr;

WizDatabase* HeldDatabase(QWidget*) { return g_database; }

// While it lives, the wizard's database is `database`; the makers it
// replaced come back when it goes, whatever the test did to them.
class HoldDatabase {
public:
    explicit HoldDatabase(FakeDatabase* database) : previous_(SetWizDatabaseMakers({HeldDatabase, HeldDatabase}))
    {
        g_database = database;
    }
    ~HoldDatabase()
    {
        SetWizDatabaseMakers(previous_);
        g_database = nullptr;
    }
    HoldDatabase(const HoldDatabase&) = delete;
    HoldDatabase& operator=(const HoldDatabase&) = delete;

private:
    WizDatabaseMakers previous_;
};

TEST_F(WizardSheetTest, PersonalInfoTextsAndTheHeldDatabase)
{
    FakeDatabase database;
    HoldDatabase held(&database);
    CDlgWizard sheet("Wizard", nullptr);
    CPgWiz_DBInfo* page = nullptr;
    ASSERT_NO_FATAL_FAILURE(ToPersonalInfo(sheet, &page));
    const uint32_t counter = sheet.DataCounter();
    page->Edit(0)->setText(QStringLiteral("Ada"));
    page->OnEditChanged(kIdFirstPersonalEdit);
    EXPECT_EQ(DocSetupText(sheet.Record(), 0), "Ada");
    EXPECT_EQ(sheet.DataCounter(), counter + 1);
    page->Edit(20)->setText(QStringLiteral("last one"));
    EXPECT_FALSE(page->Control(kIdNextRecord)->isEnabled());

    page->OnCreateDatabase();
    EXPECT_EQ(page->Database(), &database);
    EXPECT_EQ(sheet.Record().databaseUse, 1u);
    EXPECT_EQ(database.connected, 1);
    EXPECT_EQ(database.commits, 1);
    EXPECT_EQ(sheet.windowTitle(), "Wizard - people.dqx");
    EXPECT_FALSE(page->Control(kIdFirstRecord)->isEnabled());
    EXPECT_TRUE(page->Control(kIdNextRecord)->isEnabled());
    page->OnRecordCommand(kIdLastRecord);
    EXPECT_TRUE(page->Control(kIdFirstRecord)->isEnabled());
    EXPECT_FALSE(page->Control(kIdLastRecord)->isEnabled());

    // Cancel lets the database go and clears the link.
    sheet.PressCancel();
    EXPECT_EQ(database.closed, 1);
    EXPECT_EQ(database.released, 1);
    EXPECT_EQ(sheet.Record().databaseUse, 0u);
}

TEST_F(WizardSheetTest, WithoutDatabaseKeepsTheTypedTexts)
{
    FakeDatabase database;
    HoldDatabase held(&database);
    CDlgWizard sheet("Wizard", nullptr);
    CPgWiz_DBInfo* page = nullptr;
    ASSERT_NO_FATAL_FAILURE(ToPersonalInfo(sheet, &page));
    page->OnOpenDatabase();
    page->Edit(3)->setText(QStringLiteral("Korrinworks"));
    page->OnWithoutDatabase();
    EXPECT_EQ(database.closed, 1);
    EXPECT_EQ(DocSetupText(sheet.Record(), 3), "Korrinworks");
    EXPECT_EQ(sheet.Record().databaseUse, 0u);
    EXPECT_EQ(sheet.windowTitle(), "Wizard - No Database");
    // Without a database maker, creating one leaves the page as it was.
    SetWizDatabaseMakers({});
    page->OnCreateDatabase();
    EXPECT_EQ(page->Database(), nullptr);
    EXPECT_EQ(DocSetupText(sheet.Record(), 3), "Korrinworks");
}

}  // namespace
