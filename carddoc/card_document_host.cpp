#include "carddoc/card_document_host.h"

#include "foundation/file_dialogs.h"
#include "foundation/program_folder.h"

namespace {

CardDocumentHost g_defaultHost;
CardDocumentHost* g_host = nullptr;

}  // namespace

CardDocumentHost::SaveAnswer CardDocumentHost::AskSaveChanges(const std::string& /*title*/) { return kSaveCancel; }

bool CardDocumentHost::ChooseSavePath(const std::string& /*title*/, PathRecord* path)
{
    static const FileTypeEntry kTypes[] = {{"Tessaline Documents", "*.lqx"}};
    return ShowSaveFileDialog(path, nullptr, kTypes, 1) == 1;
}

int32_t CardDocumentHost::ApplicationFolder(PathRecord* out) { return GetProgramFolder(out); }

CardDocumentHost* SetCardDocumentHost(CardDocumentHost* host)
{
    CardDocumentHost* previous = g_host;
    g_host = host;
    return previous;
}

CardDocumentHost& CurrentCardDocumentHost() { return g_host ? *g_host : g_defaultHost; }
