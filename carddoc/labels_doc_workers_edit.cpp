// The Edit and View menus' remaining document workers: Find/Replace,
// Preferences, Create Color, Default Card Info, and inserting and deleting
// pages, with the page operations they end in.
#include <algorithm>
#include <cstring>

#include "carddoc/card_shell.h"
#include "carddoc/labels_doc.h"
#include "carddoc/worker_dialog.h"
#include "database/field_table.h"
#include "database/merge_text.h"
#include "dbdoc/db_dialogs.h"
#include "dialogs/create_color_dialog.h"
#include "dialogs/find_replace_dialog.h"
#include "dialogs/page_dialogs.h"
#include "dialogs/preferences_dialog.h"
#include "foundation/byte_order.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_store.h"
#include "frames/page_table2.h"
#include "text/text_tool.h"
#include "typography/color_table.h"

namespace {

constexpr int16_t kNoPage = -32000;
constexpr int32_t kInsertLimit = 1000;
// The words the Insert Page command hands the page table with its pages.
constexpr int16_t kInsertedPageKind = -2;

bool Differs(const uint8_t* a, const uint8_t* b, size_t offset) { return GetU32LE(a + offset) != GetU32LE(b + offset); }

}  // namespace

// ---- Find/Replace ----

struct CLabelsDoc::FindReplaceLink : FindReplaceDocument {
    CLabelsDoc* doc = nullptr;
    TextContext* TextToolContext() override
    {
        return doc->GetCurrentToolIndex() == kToolText ? &doc->Text() : nullptr;
    }
};

void CLabelsDoc::FindReplaceLinkDeleter::operator()(FindReplaceLink* link) const
{
    // The dialog clears the link's pointer as it goes.
    delete link->findReplaceDialog;
    delete link;
}

void CLabelsDoc::DoFindReplace()
{
    if (!findReplace_) {
        findReplace_.reset(new FindReplaceLink);
        findReplace_->doc = this;
    }
    if (findReplace_->findReplaceDialog) {
        ShowFindReplaceDialog(findReplace_.get(), FindSettings{});
        return;
    }
    FindSettings settings;
    settings.wholeWord = false;
    settings.ignoreCase = true;
    if (FrameTool* text = ToolOfKind(kToolText))
        text->ClearUndo();
    ShowFindReplaceDialog(findReplace_.get(), settings);
}

CDlgFindReplace* CLabelsDoc::FindReplaceDialog() const
{
    return findReplace_ ? findReplace_->findReplaceDialog : nullptr;
}

// ---- Preferences and colours ----

void CLabelsDoc::DoPreferences()
{
    CDlgPreferences dialog;
    dialog.SetRecord(general_);
    if (RunWorkerDialog(dialog) != 1)
        return;
    const uint8_t* answer = dialog.Record();
    const bool viewChange = Differs(answer, general_, kPrefPasteboardWidth) ||
                            Differs(answer, general_, kPrefPasteboardHeight);
    bool textChange = false;
    for (size_t offset : {kPrefSmallCaps, kPrefSuperscript, kPrefSubscript, kPrefJustify, kPrefHyphenation,
                          kPrefTextWrap, kPrefTabWidth})
        textChange = textChange || Differs(answer, general_, offset);
    const bool redraw = Differs(answer, general_, kPrefGuideColour) || Differs(answer, general_, 96) ||
                        Differs(answer, general_, 104);
    std::memcpy(general_, answer, kGeneralPrefsSize);
    ApplyPreferences(viewChange);
    manager_->ResetFrameStates(kDrawNeeded);
    if (textChange) {
        frames_->MarkStoryFrames(false, 0);
        manager_->RedrawCurrentPage(0, 0, 0);
    }
    if (redraw)
        RefreshView();
    SetModified(true);
}

void CLabelsDoc::DoCreateColor()
{
    CDlgCreateColor dialog;
    dialog.SetColorTable(*colours_);
    if (RunWorkerDialog(dialog) != 1)
        return;
    *colours_ = dialog.Table();
    if (CardShell* shell = CurrentCardShell())
        shell->ShowColorTable(colours_.get());
    RefreshView();
}

// ---- Default Card Info ----

void CLabelsDoc::DoDefaultCardInfo()
{
    char values[kEntryColumnCount][256] = {};
    for (int32_t i = 0; i < kEntryColumnCount; ++i)
        GetPreviewFieldText(FieldIdAtIndex(i, 0), false, values[i]);
    uint8_t names[6 * 32] = {};
    for (int32_t i = 0; i < 6; ++i) {
        char name[kFieldTypeNameSize] = {};
        FieldTypeName(kFieldCustom1 + i, name, false, false);
        std::strncpy(reinterpret_cast<char*>(names + 32 * i), name, 31);
    }
    CDlgFindOne dialog(CDlgFindOne::kDefaultCardInfo);
    dialog.SetFields(values, names, 0);
    if (RunWorkerDialog(dialog) != 1)
        return;
    dialog.GetFields(values);
    for (int32_t i = 0; i < kEntryColumnCount; ++i) {
        values[i][255] = 0;
        GetPreviewFieldText(FieldIdAtIndex(i, 0), true, values[i]);
        std::memcpy(docSetup_ + kDocSetupFieldTexts + kDocSetupFieldTextSize * size_t(i), values[i],
                    kDocSetupFieldTextSize);
    }
    manager_->ResetFrameStates(1);
    manager_->RefreshRecordFrames();
    if (manager_->ApplyAlignments())
        RefreshView();
}

// ---- pages ----

void CLabelsDoc::InsertPages(int16_t position, int16_t count, int16_t kind, int32_t result)
{
    const int16_t current = GetCurrentPage();
    const bool closed = ClosePages() == 0;
    pages_->InsertPages(position, count, kind, result);
    SetModified(true);
    int16_t reopen = current;
    if (current != kNoPage && position < current)
        reopen = int16_t(current + count);
    if (closed)
        OpenPages(reopen, 1, 1);
    UpdateScrollSizes();
    UpdatePageBar();
    if (currentTool_ == kToolText && Tool()->EditFrame())
        Tool()->BindEditor();
}

void CLabelsDoc::DeletePages(int16_t from, int16_t to)
{
    const int32_t count = pages_->Count();
    const int32_t first = pageBlock_.firstPage;
    const int32_t last = first + count - 1;
    if (count <= 0 || from < first || from > last || to < from || to > last)
        return;
    const int16_t current = GetCurrentPage();
    if (ClosePages() != 0)
        return;
    SetUndoOwner(nullptr);
    for (int16_t page = from; page <= to; ++page) {
        OpenPages(page, 1, 1);
        while (manager_->FrameCount() > 0)
            DeleteFrame(manager_->FrameAt(int16_t(manager_->FrameCount() - 1)));
        while (manager_->GroupCount() > 0)
            DeleteFrame(manager_->GroupAt(int16_t(manager_->GroupCount() - 1)));
        ClosePages();
    }
    pages_->DeletePages(from, to);
    // A document always has a page to show.
    if (pages_->Count() == 0)
        pages_->InsertPages(pageBlock_.firstPage, 1, 0, 0);
    SetModified(true);
    OpenPages(current, 1, 1);
    UpdateScrollSizes();
    UpdatePageBar();
}

void CLabelsDoc::DoInsertPage()
{
    const int16_t shown = GetCurrentPage();
    InsertPageRecord r;
    r.count = 1;
    r.pageNumber = shown == kNoPage ? 0 : shown;
    r.place = 2;
    CDlgInsertPage dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    int32_t position = r.pageNumber;
    switch (r.place) {
    case 0: position = 0; break;
    case 1: position = r.pageNumber - 1; break;
    case 3: position = GetPageCount(); break;
    default: break;
    }
    if (r.count > 0)
        InsertPages(int16_t(position), int16_t(std::min(r.count, kInsertLimit)), kInsertedPageKind, 0);
}

void CLabelsDoc::DoDeletePages()
{
    const int16_t shown = GetCurrentPage();
    DeletePagesRecord r;
    r.fromPage = r.thruPage = shown == kNoPage ? 0 : shown;
    r.total = GetPageCount();
    CDlgDeletePages dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    DeletePages(int16_t(r.fromPage), int16_t(r.thruPage));
}
