// The wizard working on real documents: the hidden card document it
// previews on, the card document its Finish makes, and the database the
// Personal Info page creates.
#include <QHBoxLayout>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "app/card_app.h"
#include "app/card_document_kind.h"
#include "app/database_document_kind.h"
#include "app/doc_template.h"
#include "app/new_document_command.h"
#include "app/wiz_shell_database.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "carddoc/labels_view.h"
#include "dialogs/filtered_edit.h"
#include "foundation/byte_order.h"
#include "foundation/program_folder.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "graphics/metafile.h"
#include "platform/dc.h"
#include "records/preferences.h"
#include "wizard/category_tree_ctrl.h"
#include "wizard/new_document_wizard.h"
#include "wizard/pg_wiz_1.h"
#include "wizard/pg_wiz_2.h"
#include "wizard/pg_wiz_db_info.h"
#include "wizard/wiz_preview_card_document.h"
#include "support/pixel_match.h"
#include "wizard_sheet_fixture.h"

namespace {

// Makes each document's views in a window of its own, as the main frame
// does, and takes them down before the document goes.
class ViewFrames : public DocumentFrameHost {
public:
    bool CreateDocumentFrame(ShellDocument* document, bool) override
    {
        auto window = std::make_unique<QWidget>();
        window->resize(700, 500);
        auto* layout = new QHBoxLayout(window.get());
        window->show();
        for (int32_t pane = 0; pane < 2; ++pane) {
            if (QWidget* view = document->CreateView(pane, window.get()))
                layout->addWidget(view);
        }
        windows[document] = std::move(window);
        return true;
    }
    void DestroyDocumentFrames(ShellDocument* document) override { windows.erase(document); }
    void ActivateDocumentFrame(ShellDocument* document) override { activated.push_back(document); }

    std::map<ShellDocument*, std::unique_ptr<QWidget>> windows;
    std::vector<ShellDocument*> activated;
};

// The user of the scripted run: the category, whether the wizard is
// finished, and the template the design uses.
const char* g_category = "Business Cards";
bool g_finish = true;
uint32_t g_template = 0;
DocSetup g_finishedRecord;
int g_previewInk = -1;
bool g_printSheetEnabled = false;

int32_t ScriptedRun(CDlgWizard* sheet)
{
    WalkToFinish(sheet, g_category);
    if (sheet->ActiveIndex() == kPageFinish && g_template != 0) {
        // The template the catalogue has no page for is chosen here.
        sheet->Record().templateId = g_template;
        sheet->Page(kPageFinish)->OnPageShown();
        StarterCatalogueSettle();
    }
    g_previewInk = -1;
    auto* printSheet = sheet->Page(kPageFinish)->findChild<QWidget*>(QStringLiteral("control1463"));
    g_printSheetEnabled = printSheet && printSheet->isEnabled();
    if (WizPreviewDocument* preview = sheet->PreviewDocument()) {
        auto* card = static_cast<WizPreviewCardDocument*>(preview);
        const int w = int(card->Document()->PageGeometry().cardWidth);
        const int h = int(card->Document()->PageGeometry().cardHeight);
        Handle bits = HandleNew(0);
        if (preview->RenderWizardPreview(w, h, bits) == 0) {
            QImage image(w, h, QImage::Format_RGB32);
            image.fill(Qt::white);
            auto dc = Dc::ForImage(&image);
            MetafilePlayHandle(dc.get(), bits, IntRect{0, 0, w, h});
            g_previewInk = Ink(image);
        }
        HandleFree(bits);
    }
    g_finishedRecord = sheet->Record();
    return FinishOrCancel(sheet, g_finish);
}

class WizardCardDocumentTest : public StarterCatalogue {
protected:
    void SetUp() override
    {
        StarterCatalogue::SetUp();
        SetProgramFolderForTesting(dir.path());
        WizardDataClose();
        DocTemplate* cards = app.Documents().AddTemplate(std::make_unique<DocTemplate>(
            129, "Tessaline\nCard\nCard\nCard (*.lqx)\n.lqx\nTessalineLB\nTessaline", ChildFrameKind::kCard));
        cards->SetFactory(std::make_unique<CardDocumentFactory>());
        DocTemplate* databases = app.Documents().AddTemplate(std::make_unique<DocTemplate>(
            130, "Tessaline Database\nDatabase\nDatabase\nDatabase (*.dqx)\n.dqx\nTessalineDB\nTessaline Database",
            ChildFrameKind::kDatabase));
        databases->SetFactory(std::make_unique<DatabaseDocumentFactory>());
        app.Documents().SetFrameHost(&frames);
        previousRunner = SetWizardSheetRunner(&ScriptedRun);
        previousChooser = SetDatabaseFileChooser([this](const char*, const std::string&) {
            return dir.path() + "/people.dqx";
        });
        g_category = "Business Cards";
        g_finish = true;
        g_template = 0;
    }
    void TearDown() override
    {
        app.Documents().CloseAllDocuments();
        SetDatabaseFileChooser(previousChooser);
        SetWizardSheetRunner(previousRunner);
        WizardDataOpen(0);
        ReleaseGlobalDefPrefs();
        SetProgramFolderForTesting("");
        StarterCatalogue::TearDown();
    }

    // A template of the wizard with a rectangle and an ellipse; its id.
    int32_t MakeTemplate()
    {
        std::unique_ptr<CLabelsDoc> doc = NewCardDocument();
        CLabelsView view(nullptr);
        view.resize(600, 400);
        view.InitView(doc.get());
        IntRect slot;
        doc->GetPageSlotRect(0, &slot);
        doc->NewFrame(kFrameRect)->SetFromRect(IntRect{slot.left + 10, slot.top + 10, slot.left + 120, slot.top + 60});
        doc->NewFrame(kFrameEllipse)->SetFromRect(IntRect{slot.left + 130, slot.top + 20, slot.left + 200, slot.top + 90});
        int32_t id = 0;
        EXPECT_EQ(doc->AddTemplateToWizard("Two shapes", &id), 0);
        view.Detach();
        return id;
    }

    CCardApp app;
    ViewFrames frames;
    WizardSheetRunner previousRunner = nullptr;
    DatabaseFileChooser previousChooser;
};

std::vector<int16_t> Types(CLabelsDoc* doc)
{
    std::vector<int16_t> types;
    for (int16_t i = 0; i < doc->PageManager()->FrameCount(); ++i)
        types.push_back(doc->PageManager()->FrameAt(i)->GetType());
    return types;
}

}  // namespace

TEST_F(WizardCardDocumentTest, FinishMakesACardWithTheChosenLayoutTemplateAndBackdrop)
{
    g_template = uint32_t(MakeTemplate());
    ASSERT_NE(g_template, 0u);
    ShellDocument* made = RunNewDocumentWizard(&app);
    ASSERT_NE(made, nullptr) << alerts.lastText();
    ASSERT_NE(g_finishedRecord.backdropId, 0u) << "the script chose a backdrop";
    EXPECT_GT(g_previewInk, 50) << "the hidden document previews the template";
    EXPECT_TRUE(g_printSheetEnabled) << "the preview document can print";

    CLabelsDoc* doc = static_cast<CardShellDocument*>(made)->Document();
    EXPECT_EQ(doc->PageGeometry().cardWidth, 252.0);
    EXPECT_EQ(Types(doc), (std::vector<int16_t>{kFrameImage, kFrameRect, kFrameEllipse}));
    FrameObj* backdrop = doc->PageManager()->GetBackdropFrame();
    ASSERT_NE(backdrop, nullptr);
    EXPECT_EQ(backdrop, doc->PageManager()->FrameAt(0));
    EXPECT_EQ(GetU32LE(doc->DocSetupBlock() + kDocSetupTemplateId), g_template);
    EXPECT_EQ(GetU32LE(doc->DocSetupBlock() + kDocSetupBackdropId), g_finishedRecord.backdropId);
    EXPECT_FALSE(doc->IsModified()) << "nothing the user did yet";
    EXPECT_EQ(app.GetOpenDocumentCount(), 1) << "the preview document is gone";
    EXPECT_EQ(OpenDocumentCount(), 1);
}

TEST_F(WizardCardDocumentTest, CancelMakesNoDocumentAndLeavesNoPreviewBehind)
{
    g_template = uint32_t(MakeTemplate());
    std::vector<uint8_t> before(app.DefaultDocSetup(), app.DefaultDocSetup() + kDocSetupSize);
    g_finish = false;
    EXPECT_EQ(RunNewDocumentWizard(&app), nullptr);
    EXPECT_GT(g_previewInk, 50);
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    EXPECT_EQ(OpenDocumentCount(), 0) << "the hidden card document went with the sheet";
    EXPECT_EQ(std::vector<uint8_t>(app.DefaultDocSetup(), app.DefaultDocSetup() + kDocSetupSize), before);
}

TEST_F(WizardCardDocumentTest, ThePersonalInfoPageCreatesADatabaseAndCancelClosesIt)
{
    CDlgWizard sheet("Wizard", nullptr);
    ASSERT_EQ(WizardDataOpen(0), 0);
    sheet.Init(GetWizardTree(), 1, nullptr);
    auto* page = static_cast<CPgWiz_DBInfo*>(sheet.Page(kPagePersonalInfo));
    sheet.show();
    sheet.SetActivePage(kPagePersonalInfo);
    Settle();
    page->Edit(1)->setText("Lovelace");
    page->StoreChoice();
    page->OnCreateDatabase();
    WizDatabase* held = page->Database();
    ASSERT_NE(held, nullptr) << alerts.lastText();
    EXPECT_EQ(held->Title(), "people.dqx");
    EXPECT_EQ(held->LiveCount(), 1) << "what was typed became the first record";
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
    EXPECT_EQ(sheet.Record().databaseUse, 1u);

    held->AddNewRecord();
    page->Edit(1)->clear();
    QTest::keyClicks(page->Edit(1), "Hopper");
    held->CommitRecord();
    EXPECT_EQ(held->LiveCount(), 2);
    held->FirstRecord();
    const QString first = page->Edit(1)->text();
    held->LastRecord();
    const QString last = page->Edit(1)->text();
    EXPECT_EQ(QStringList({first, last}).join(",") == "Hopper,Lovelace" ||
                  QStringList({first, last}).join(",") == "Lovelace,Hopper",
              true)
        << "the page's edits show the database's records: " << first.toStdString() << "," << last.toStdString();

    sheet.PressCancel();
    Settle();
    EXPECT_EQ(app.GetOpenDocumentCount(), 0) << "cancel closes the new database";
    EXPECT_EQ(sheet.Record().databaseUse, 0u);
    WizardDataClose();
}
