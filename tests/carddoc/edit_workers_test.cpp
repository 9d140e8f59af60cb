// Preferences, Create Color, Insert Page and Delete Pages, and the items of
// the command map that reach them and the other workers.
#include "worker_test_support.h"

#include <array>
#include <cstring>

#include <QLineEdit>
#include <QPointer>

#include "carddoc/rect_tool.h"
#include "catalog/doc_setup_format.h"
#include "database/field_table.h"
#include "database/merge_text.h"
#include "dbdoc/db_dialogs.h"
#include "dialogs/create_color_dialog.h"
#include "dialogs/find_replace_dialog.h"
#include "dialogs/page_dialogs.h"
#include "dialogs/preferences_dialog.h"
#include "foundation/byte_order.h"
#include "platform/command_target.h"
#include "records/command_ids.h"
#include "records/preferences_format.h"
#include "text/text_tool.h"
#include "typography/color_table.h"
#include "typography/font_list.h"
#include "typography/font_source.h"

namespace {

class EditWorkerTest : public WorkerTest {
protected:
    void AnswerPreferences(size_t offset, uint32_t value)
    {
        dialogs.Ok<CDlgPreferences>([offset, value](CDlgPreferences& d) {
            std::array<uint8_t, kGeneralPrefsSize> r{};
            std::memcpy(r.data(), d.Record(), kGeneralPrefsSize);
            PutU32LE(r.data() + offset, value);
            d.SetRecord(r.data());
        });
    }
};

TEST_F(EditWorkerTest, PreferencesOkStoresTheRecordAndMarksTheDocument)
{
    std::array<uint8_t, kGeneralPrefsSize> before{};
    std::memcpy(before.data(), doc->GeneralPrefs(), kGeneralPrefsSize);
    doc->SetModified(false);
    dialogs.Cancel<CDlgPreferences>([&](CDlgPreferences& d) {
        EXPECT_EQ(std::memcmp(d.Record(), before.data(), kGeneralPrefsSize), 0);
    });
    doc->DoPreferences();
    EXPECT_FALSE(doc->IsModified());

    // An unchanged record still counts as a change of the document.
    dialogs.Ok<CDlgPreferences>([](CDlgPreferences&) {});
    doc->DoPreferences();
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(std::memcmp(doc->GeneralPrefs(), before.data(), kGeneralPrefsSize), 0);

    const uint32_t width = doc->GeneralPref(kPrefTabWidth) + 9;
    AnswerPreferences(kPrefTabWidth, width);
    doc->DoPreferences();
    EXPECT_EQ(doc->GeneralPref(kPrefTabWidth), width);
}

TEST_F(EditWorkerTest, CreateColorReplacesTheTableOnlyAfterOk)
{
    const ColorRef was = doc->Colours().GetColor(5);
    const ColorRef other = was ^ 0x00FFFFFF;
    dialogs.Cancel<CDlgCreateColor>([&](CDlgCreateColor& d) { EXPECT_EQ(d.Table().GetColor(5), was); });
    doc->DoCreateColor();
    EXPECT_EQ(doc->Colours().GetColor(5), was);

    doc->SetModified(false);
    dialogs.Ok<CDlgCreateColor>([&](CDlgCreateColor& d) {
        ColorTable t = d.Table();
        t.SetColor(5, other);
        d.SetColorTable(t);
    });
    doc->DoCreateColor();
    EXPECT_EQ(doc->Colours().GetColor(5), other);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(EditWorkerTest, FindReplaceKeepsOneDialogForTheDocument)
{
    EXPECT_EQ(doc->FindReplaceDialog(), nullptr);
    doc->DoFindReplace();
    CDlgFindReplace* open = doc->FindReplaceDialog();
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(open->Settings().ignoreCase);
    EXPECT_FALSE(open->Settings().wholeWord);
    EXPECT_TRUE(open->Settings().find.empty());

    // Asked again: the same dialog, with what was typed into it.
    open->FindEdit()->setText("Acme");
    doc->DoFindReplace();
    EXPECT_EQ(doc->FindReplaceDialog(), open);
    EXPECT_EQ(open->FindEdit()->text(), QString("Acme"));

    // Closed, it is forgotten; a new one starts afresh.
    open->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(doc->FindReplaceDialog(), nullptr);
    doc->DoFindReplace();
    QPointer<CDlgFindReplace> second = doc->FindReplaceDialog();
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->FindEdit()->text().isEmpty());

    // The document takes its open dialog with it.
    window.view->Detach();
    doc.reset();
    EXPECT_TRUE(second.isNull());
}

TEST_F(EditWorkerTest, DefaultCardInfoStoresTheFieldTextsInTheDocument)
{
    const int32_t id = FieldIdAtIndex(0, 0);
    char before[256] = {};
    GetPreviewFieldText(id, false, before);
    const std::string stored(reinterpret_cast<const char*>(doc->DocSetupBlock() + kDocSetupFieldTexts));

    dialogs.Cancel<CDlgFindOne>();
    doc->DoDefaultCardInfo();
    char now[256] = {};
    GetPreviewFieldText(id, false, now);
    EXPECT_STREQ(now, before);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc->DocSetupBlock() + kDocSetupFieldTexts)), stored);

    dialogs.Ok<CDlgFindOne>([](CDlgFindOne& d) {
        EXPECT_EQ(d.Mode(), CDlgFindOne::kDefaultCardInfo);
        char values[kEntryColumnCount][256] = {};
        d.GetFields(values);
        std::strcpy(values[0], "Jane Q. Sample");
        const uint8_t names[6 * 32] = {};
        d.SetFields(values, names, 0);
    });
    doc->DoDefaultCardInfo();
    GetPreviewFieldText(id, false, now);
    EXPECT_STREQ(now, "Jane Q. Sample");
    EXPECT_STREQ(reinterpret_cast<const char*>(doc->DocSetupBlock() + kDocSetupFieldTexts), "Jane Q. Sample");
    GetPreviewFieldText(id, true, before);
}

TEST_F(EditWorkerTest, InsertAndDeletePages)
{
    // A card may start with a back as well as a front.
    const int16_t n = doc->GetPageCount();
    ASSERT_GE(n, 1);
    if (n == 1) {
        EXPECT_FALSE(Enabled(kCmdDeletePage)) << "a single page cannot go";
    }
    InsertPageRecord seen;
    dialogs.Cancel<CDlgInsertPage>([&](CDlgInsertPage& d) { seen = d.Record(); });
    doc->DoInsertPage();
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.pageNumber, doc->GetCurrentPage());
    EXPECT_EQ(seen.place, 2);
    EXPECT_EQ(doc->GetPageCount(), n);

    // Two at the end: the page shown stays the one shown.
    const int16_t first = doc->GetCurrentPage();
    dialogs.Ok<CDlgInsertPage>([](CDlgInsertPage& d) {
        InsertPageRecord r = d.Record();
        r.count = 2;
        r.place = 3;
        d.SetRecord(r);
    });
    ASSERT_TRUE(doc->OnCommand(kCmdInsertPage));
    EXPECT_EQ(doc->GetPageCount(), n + 2);
    EXPECT_EQ(doc->GetCurrentPage(), first);
    EXPECT_TRUE(Enabled(kCmdDeletePage));

    // One before the page shown: the same page is shown, numbered on.
    dialogs.Ok<CDlgInsertPage>([](CDlgInsertPage& d) {
        InsertPageRecord r = d.Record();
        r.place = 1;
        d.SetRecord(r);
    });
    doc->DoInsertPage();
    EXPECT_EQ(doc->GetPageCount(), n + 3);
    EXPECT_EQ(doc->GetCurrentPage(), first + 1);

    // Delete a page with a frame on it; the frames of other pages stay.
    ASSERT_TRUE(doc->SwitchToPage(int16_t(first + 2)));
    Box(10, 10, 50, 50);
    const int32_t framesBefore = doc->Frames()->Count();
    ASSERT_TRUE(doc->SwitchToPage(first));
    dialogs.Ok<CDlgDeletePages>([&](CDlgDeletePages& d) {
        DeletePagesRecord r = d.Record();
        EXPECT_EQ(r.fromPage, first);
        EXPECT_EQ(r.total, n + 3);
        r.fromPage = first + 2;
        r.thruPage = first + 3;
        d.SetRecord(r);
    });
    ASSERT_TRUE(doc->OnCommand(kCmdDeletePage));
    EXPECT_EQ(doc->GetPageCount(), n + 1);
    EXPECT_EQ(doc->Frames()->Count(), framesBefore - 1);

    // A range outside the document deletes nothing; a page always stays.
    doc->DeletePages(int16_t(first + 20), int16_t(first + 29));
    EXPECT_EQ(doc->GetPageCount(), n + 1);
    doc->DeletePages(first, int16_t(first + n));
    EXPECT_GE(doc->GetPageCount(), 1);
    EXPECT_NE(doc->GetCurrentPage(), -32000);
}

TEST_F(EditWorkerTest, WorkerItemsFollowTheToolAndTheWindow)
{
    // Tabs and Paragraph Info need the Text tool; Find a frame in edit.
    doc->SetTool(kToolObject, 0);
    EXPECT_FALSE(Enabled(kCmdTabs));
    EXPECT_FALSE(Enabled(kCmdParagraphInfo));
    EXPECT_FALSE(Enabled(kCmdCharacterInfo));
    EXPECT_FALSE(Enabled(kCmdEditFind));
    doc->SetTool(kToolText, 0);
    EXPECT_TRUE(Enabled(kCmdTabs));
    EXPECT_TRUE(Enabled(kCmdParagraphInfo));
    EXPECT_FALSE(Enabled(kCmdEditFind));

    // Character Info with a field frame selected.
    doc->SetTool(kToolObject, 0);
    Select({Frame(kFrameBarcode, 20, 20, 100, 60)});
    EXPECT_TRUE(Enabled(kCmdCharacterInfo));
    Select({Box(20, 100, 60, 140)});
    EXPECT_FALSE(Enabled(kCmdCharacterInfo));

    // The Info items of the context menus wait for the window.
    for (uint32_t id : {kCmdBarcodeInfo, kCmdQuickCardInfo, kCmdCounterInfo})
        EXPECT_EQ(Enabled(id), doc->BarItemState(130)) << id;
    doc->SetBarItemState(130, true);
    for (uint32_t id : {kCmdBarcodeInfo, kCmdQuickCardInfo, kCmdCounterInfo})
        EXPECT_TRUE(Enabled(id)) << id;

    for (uint32_t id : {kCmdDocumentSetup, kCmdCreateColor, kCmdPreferences, kCmdDefaultCardInfo, kCmdInsertPage, kCmdPrintPreview, kCmdPrintSheet, kCmdPrintDefaultCardInfo})
        EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(EditWorkerTest, FontItemsChooseAndCheckByTheProgramFontList)
{
    FontList* list = GetGlobalFontList();
    ASSERT_NE(list, nullptr);
    // Without installed fonts, two of our own make the list.
    const bool ours = list->GetCount() == 0;
    if (ours) {
        list->AddFont("Alpha Sans", 0x22, 2048, TRUETYPE_FONTTYPE, true);
        list->AddFont("Beta Serif", 0x12, 2048, TRUETYPE_FONTTYPE, true);
    }
    FontSpec face;
    ASSERT_TRUE(list->GetFontSpec(list->GetCount() - 1, 0, &face));
    doc->SetTool(kToolText, 0);
    doc->SetFontByName(face);
    EXPECT_EQ(doc->CurrentFontListIndex(), list->FindFont(face.faceName, face.type));
    const int32_t index = doc->CurrentFontListIndex();
    ASSERT_GE(index, 0);
    CmdUI ui(uint32_t(kCmdFontListFirst + index));
    ASSERT_TRUE(doc->OnUpdateCommand(ui));
    EXPECT_TRUE(ui.checked);
    EXPECT_TRUE(ui.enabled);
    CmdUI other(uint32_t(kCmdFontListFirst + (index == 0 ? 1 : 0)));
    ASSERT_TRUE(doc->OnUpdateCommand(other));
    EXPECT_FALSE(other.checked);

    // The item of the first font chooses it.
    ASSERT_TRUE(doc->OnCommand(kCmdFontListFirst));
    EXPECT_EQ(doc->CurrentFontListIndex(), 0);
    if (ours)
        list->RemoveAll();
}

}  // namespace
