#include "app/card_document_app_host.h"

#include <QRect>

#include "app/card_app.h"
#include "app/main_frame.h"
#include "app/main_status_bar.h"
#include "app/shell_prompts.h"
#include "carddoc/worker_dialog.h"
#include "dialogs/font_replacement_dialog.h"
#include "foundation/cp1252.h"
#include "foundation/program_folder.h"
#include "foundation/string_table.h"
#include "platform/file_dialog_run.h"
#include "records/command_ids.h"

CardDocumentHost::SaveAnswer CardAppDocumentHost::AskSaveChanges(const std::string& title)
{
    switch (CurrentShellPrompts().AskSaveChanges(title)) {
    case ShellPrompts::kYes: return kSaveYes;
    case ShellPrompts::kNo: return kSaveNo;
    default: return kSaveCancel;
    }
}

bool CardAppDocumentHost::ChooseSavePath(const std::string& /*title*/, PathRecord* path)
{
    static const FileTypeEntry kTypes[] = {{"Tessaline Documents", "*.lqx"}};
    return ShowSaveFileDialog(path, nullptr, kTypes, 1) == 1;
}

int32_t CardAppDocumentHost::ApplicationFolder(PathRecord* out) { return GetProgramFolder(out); }

void CardAppDocumentHost::ShowPrompt(const std::string& text)
{
    if (CMainFrame* main = app_->MainFrame())
        if (CMainStatusBar* bar = main->MainStatusBar())
            bar->SetMessageText(Cp1252ToQString(text.empty() ? (LookupString(kStringIdleMessage) ? LookupString(kStringIdleMessage) : "") : text.c_str()));
}

void CardAppDocumentHost::AddToRecentFiles(const PathRecord& path)
{
    const std::string file = PathRecordToPosix(path);
    if (file.empty())
        return;
    app_->Documents().AddToRecentFileList(file);
    // Called on every open and save: after a Save As the document's
    // windows take the new name too.
    if (ShellDocument* document = app_->Documents().FindOpenDocument(file))
        if (CMainFrame* main = app_->MainFrame())
            main->DocumentRenamed(document);
}

void CardAppDocumentHost::ChooseFontReplacements(FontTable* fonts, QWidget* parent)
{
    CDlgFontReplacement dialog(parent);
    dialog.SetDocument(fonts);
    RunWorkerDialog(dialog);
}
