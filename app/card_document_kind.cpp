#include "app/card_document_kind.h"

#include <QFileInfo>
#include <QMenuBar>

#include "app/card_app.h"
#include "app/doc_manager.h"
#include "app/document_child_frame.h"
#include "app/main_frame.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "carddoc/labels_view.h"
#include "foundation/alerts.h"
#include "foundation/path_record.h"
#include "frames/curr_page_mng.h"
#include "records/command_ids.h"

namespace {

constexpr uint32_t kPreviousPage = 1379;
constexpr uint32_t kNextPage = 1380;
// The bars the card window switches: the card bar, and the text bar while
// the Text tool is current.
constexpr int16_t kCardBar = 130;
constexpr int16_t kTextBar = 132;

// Edit commands and the tools' edit codes.
struct EditCode {
    uint32_t command;
    int16_t code;
};
constexpr EditCode kEditCodes[] = {
    {kCmdEditCut, 1}, {kCmdEditCopy, 2}, {kCmdEditClear, 3}, {kCmdEditPaste, 4},
};

int16_t EditCodeOf(uint32_t command)
{
    for (const EditCode& e : kEditCodes) {
        if (e.command == command)
            return e.code;
    }
    return 0;
}

CMainFrame* MainWindow()
{
    CCardApp* app = GetCardApp();
    return app ? app->MainFrame() : nullptr;
}

}  // namespace

CardShellDocument::CardShellDocument(std::unique_ptr<CLabelsDoc> document) : document_(std::move(document)) {}

CardShellDocument::~CardShellDocument()
{
    // The view may outlive the adapter for a moment while its window goes.
    if (view_)
        view_->Detach();
    document_.reset();
}

std::string CardShellDocument::Title() const { return document_->Title(); }

bool CardShellDocument::ReadOnly() const { return document_->ReadOnly(); }

std::string CardShellDocument::PathName() const
{
    return document_->HasPath() ? PathRecordToPosix(document_->Path()) : std::string();
}

bool CardShellDocument::IsModified() const { return document_->IsModified(); }

bool CardShellDocument::Save() { return document_->DoFileSave(); }

QWidget* CardShellDocument::CreateView(int32_t pane, QWidget* parent)
{
    if (pane != 0 || view_)
        return nullptr;
    auto* view = new CLabelsView(parent);
    view_ = view;
    view->InitView(document_.get());
    return view;
}

void CardShellDocument::OnFrameActivate(bool activating)
{
    if (!activating)
        return;
    document_->SetBarItemState(kCardBar, true);
    document_->SetBarItemState(kTextBar, document_->GetCurrentToolIndex() == kToolText);
    CMainFrame* main = MainWindow();
    if (main)
        main->SetColorTable(&document_->Colours());
    // Another window may have moved the current record meanwhile.
    FollowCurrentRecord();
    document_->UpdateToolButtons(document_->GetCurrentToolIndex());
    if (!main)
        return;
    // The menus follow this document: its sides in the View menu, and the
    // wizard's items in master mode.
    document_->BuildPageMenu(main->FindMenuItemByText("&View"));
    document_->InstallFieldFormats(nullptr);
    document_->BuildTemplatesMenu(main->menuBar());
}

void CardShellDocument::FollowCurrentRecord()
{
    if (CurrPageMng* pages = document_->PageManager()) {
        pages->RefreshRecordFrames();
        pages->ResetFrameStates(1);
        if (pages->ApplyAlignments())
            document_->RefreshView();
    }
}

void CardShellDocument::OnCloseDocument()
{
    document_->OnCloseDocument();
    if (view_)
        view_->Detach();
}

bool CardShellDocument::OnCommand(uint32_t id)
{
    if (id >= kFirstToolCommand && id <= kLastToolCommand) {
        document_->OnToolSelect(id);
        return true;
    }
    if (const int16_t code = EditCodeOf(id)) {
        document_->DoEditCommand(code);
        return true;
    }
    switch (id) {
    case kPreviousPage:
    case kNextPage: {
        const int16_t page = document_->GetCurrentPage();
        document_->GoToPage(int16_t(page + (id == kNextPage ? 1 : -1)));
        return true;
    }
    case kCmdEditUndo:
        if (FrameTool* owner = document_->UndoOwner())
            owner->UndoRedo();
        return true;
    case kCmdFileSave: Save(); return true;
    case kCmdFileSaveAs: document_->DoSave(nullptr); return true;
    case kCmdFileClose:
        if (CCardApp* app = GetCardApp(); app && app->MainFrame()) {
            for (DocumentChildFrame* frame : app->MainFrame()->ChildFrames()) {
                if (frame->Document() == this) {
                    app->MainFrame()->CloseChildFrame(frame);
                    break;
                }
            }
        }
        return true;
    default: return document_->OnCommand(id);
    }
}

bool CardShellDocument::OnUpdateCommand(CmdUI& ui)
{
    if (ui.id >= kFirstToolCommand && ui.id <= kLastToolCommand) {
        const int16_t kind = int16_t(ui.id - kFirstToolCommand);
        ui.Enable(document_->ToolOfKind(kind) != nullptr);
        ui.SetCheck(document_->GetCurrentToolIndex() == kind);
        return true;
    }
    if (const int16_t code = EditCodeOf(ui.id)) {
        ui.Enable(document_->CanDoEditCommand(code));
        return true;
    }
    switch (ui.id) {
    case kCmdEditUndo: {
        std::string text;
        FrameTool* owner = document_->UndoOwner();
        const bool can = owner && owner->GetUndoMenuText(&text);
        ui.Enable(can);
        ui.SetText(document_->UndoMenuText());
        return true;
    }
    case kCmdFileSave:
    case kCmdFileSaveAs:
    case kCmdFileClose: return true;
    default: return document_->OnUpdateCommand(ui);
    }
}

std::unique_ptr<ShellDocument> CardDocumentFactory::NewDocument()
{
    const uint8_t* setup = GetCardApp() ? GetCardApp()->DefaultDocSetup() : nullptr;
    std::unique_ptr<CLabelsDoc> document = NewCardDocument(setup);
    if (!document)
        return nullptr;
    return std::make_unique<CardShellDocument>(std::move(document));
}

std::unique_ptr<ShellDocument> CardDocumentFactory::OpenDocument(const std::string& path)
{
    // A link that leads nowhere goes on to the open, which says what it is
    // (links in a loop, or no file where it points).
    if (const QFileInfo file(QString::fromStdString(path)); !file.exists() && !file.isSymLink()) {
        AlertStop(MissingFileText(path).c_str(), 0);
        return nullptr;
    }
    const std::string absolute = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    PathRecord record{};
    if (const int32_t error = PathRecordFromPosix(absolute, &record)) {
        AlertStop((path + "\nThis file name cannot be used.").c_str(), error);
        return nullptr;
    }
    std::unique_ptr<CLabelsDoc> document = OpenCardDocument(record);
    if (!document)
        return nullptr;
    return std::make_unique<CardShellDocument>(std::move(document));
}

void InstallCardDocumentKind(DocManager* documents)
{
    if (DocTemplate* card = documents->FindTemplate("TessalineLB"))
        card->SetFactory(std::make_unique<CardDocumentFactory>());
}
