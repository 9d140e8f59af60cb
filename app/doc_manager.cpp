#include "app/doc_manager.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>

#include "app/shell_prompts.h"
#include "foundation/alerts.h"
#include "foundation/cp1252.h"
#include "records/command_ids.h"

namespace {

QString SameFileKey(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// Host paths reach the alerts as Windows-1252 text.
std::string PathForAlert(const std::string& path)
{
    return QStringToCp1252(QDir::toNativeSeparators(QString::fromStdString(path)));
}

}  // namespace

std::string UnknownKindText(const std::string& path)
{
    return PathForAlert(path) + "\nTessaline cannot open this file: it is neither a card (.lqx) nor a database (.dqx).";
}

std::string MissingFileText(const std::string& path)
{
    return PathForAlert(path) + "\nThis file does not exist.";
}

std::string NameNotUtf8Text(const std::string& path)
{
    return PathForAlert(path) + "\nTessaline cannot open this file: its name is not UTF-8 text, the character set "
                                "of the system's file names. Rename the file to open it.";
}

std::string TooManyDocumentsText(const std::string& path, int32_t most)
{
    return PathForAlert(path) + "\nThis file was not opened: " + std::to_string(most) +
           " documents are open, as many as Tessaline keeps open at once. Close one to open it.";
}

std::string KindNotAvailableText(const std::string& path, const DocTemplate& docTemplate)
{
    const std::string what = path.empty() ? std::string() : PathForAlert(path) + "\n";
    return what + docTemplate.String(DocTemplate::kDocName) +
           " documents cannot be opened or made in this version of Tessaline.";
}

DocManager::DocManager() : recent_(kRecentFileCount) {}

DocManager::~DocManager()
{
    // The host's windows may already be gone; the documents only say goodbye.
    host_ = nullptr;
    for (auto& document : documents_)
        document->OnCloseDocument();
    documents_.clear();
}

DocTemplate* DocManager::AddTemplate(std::unique_ptr<DocTemplate> docTemplate)
{
    templates_.push_back(std::move(docTemplate));
    return templates_.back().get();
}

DocTemplate* DocManager::FindTemplate(const std::string& fileTypeId) const
{
    for (const auto& t : templates_)
        if (t->String(DocTemplate::kRegFileTypeId) == fileTypeId)
            return t.get();
    return nullptr;
}

DocTemplate* DocManager::TemplateForFile(const std::string& path) const
{
    for (const auto& t : templates_)
        if (t->MatchesFile(path))
            return t.get();
    return nullptr;
}

std::vector<ShellDocument*> DocManager::Documents() const
{
    std::vector<ShellDocument*> out;
    for (const auto& d : documents_)
        out.push_back(d.get());
    return out;
}

ShellDocument* DocManager::FindOpenDocument(const std::string& path) const
{
    if (path.empty())
        return nullptr;
    const QString key = SameFileKey(path);
    for (const auto& d : documents_)
        if (!d->PathName().empty() && SameFileKey(d->PathName()) == key)
            return d.get();
    return nullptr;
}

bool DocManager::CanMake(DocTemplate* docTemplate, const std::string& path) const
{
    if (!docTemplate)
        return false;
    if (!docTemplate->Factory()) {
        AlertStop(KindNotAvailableText(path, *docTemplate).c_str(), 0);
        return false;
    }
    return true;
}

ShellDocument* DocManager::Adopt(std::unique_ptr<ShellDocument> document, DocTemplate* docTemplate, bool visible)
{
    if (!document)
        return nullptr;
    document->SetTemplate(docTemplate);
    ShellDocument* raw = document.get();
    documents_.push_back(std::move(document));
    if (host_ && !host_->CreateDocumentFrame(raw, visible)) {
        host_->DestroyDocumentFrames(raw);
        raw->OnCloseDocument();
        documents_.pop_back();
        return nullptr;
    }
    return raw;
}

ShellDocument* DocManager::NewDocument(DocTemplate* docTemplate, bool visible)
{
    if (!CanMake(docTemplate, {}))
        return nullptr;
    ShellDocument* document = Adopt(docTemplate->Factory()->NewDocument(), docTemplate, visible);
    // A new database has its file from the start; a new card has none yet.
    if (document)
        AddToRecentFileList(document->PathName());
    return document;
}

ShellDocument* DocManager::OpenDocument(DocTemplate* docTemplate, const std::string& path, bool visible)
{
    if (ShellDocument* open = FindOpenDocument(path)) {
        if (host_)
            host_->ActivateDocumentFrame(open);
        return open;
    }
    if (!CanMake(docTemplate, path))
        return nullptr;
    ShellDocument* document = Adopt(docTemplate->Factory()->OpenDocument(path), docTemplate, visible);
    if (document)
        AddToRecentFileList(document->PathName().empty() ? path : document->PathName());
    return document;
}

ShellDocument* DocManager::OpenDocumentFile(const std::string& path)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(QByteArrayView(path.data(), qsizetype(path.size())));
    if (utf8.hasError()) {
        AlertStop(NameNotUtf8Text(path).c_str(), 0);
        return nullptr;
    }
    if (ShellDocument* open = FindOpenDocument(path)) {
        if (host_)
            host_->ActivateDocumentFrame(open);
        return open;
    }
    DocTemplate* docTemplate = TemplateForFile(path);
    if (!docTemplate) {
        AlertStop(UnknownKindText(path).c_str(), 0);
        return nullptr;
    }
    return OpenDocument(docTemplate, path, true);
}

bool DocManager::SaveModified(ShellDocument* document)
{
    if (!document || !document->IsModified())
        return true;
    switch (CurrentShellPrompts().AskSaveChanges(document->Title())) {
    case ShellPrompts::kNo:
        return true;
    case ShellPrompts::kYes:
        if (!document->Save())
            return false;
        AddToRecentFileList(document->PathName());
        return true;
    default:
        return false;
    }
}

bool DocManager::SaveAllModified()
{
    for (ShellDocument* document : Documents())
        if (!SaveModified(document))
            return false;
    return true;
}

void DocManager::CloseDocument(ShellDocument* document)
{
    auto it = std::find_if(documents_.begin(), documents_.end(),
                           [&](const std::unique_ptr<ShellDocument>& d) { return d.get() == document; });
    if (it == documents_.end())
        return;
    // Out of the list first, so that a window going down can't close it twice.
    std::unique_ptr<ShellDocument> owned = std::move(*it);
    documents_.erase(it);
    if (host_)
        host_->DestroyDocumentFrames(owned.get());
    owned->OnCloseDocument();
}

void DocManager::CloseAllDocuments()
{
    while (!documents_.empty())
        CloseDocument(documents_.back().get());
}

bool DocManager::CanCloseAndClose(ShellDocument* document)
{
    if (!SaveModified(document))
        return false;
    CloseDocument(document);
    return true;
}

void DocManager::AddToRecentFileList(const std::string& path)
{
    if (path.empty())
        return;
    recent_.Add(path);
    SaveRecentFiles();
    if (host_)
        host_->RecentFilesChanged();
}

void DocManager::LoadRecentFiles()
{
    QSettings settings;
    recent_.Load(settings);
    if (host_)
        host_->RecentFilesChanged();
}

void DocManager::SaveRecentFiles() const
{
    QSettings settings;
    recent_.Save(settings);
}
