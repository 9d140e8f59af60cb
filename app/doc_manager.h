// DocManager: the open documents and the kinds they are made from. It
// opens, makes, saves and closes documents and keeps the recent-file list;
// the windows of a document come from a frame host (the main frame), so
// that the rules of what may be closed when live in one place:
// a modified document is only ever dropped after its user said so.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/doc_template.h"
#include "app/recent_file_list.h"
#include "app/shell_document.h"

class DocumentFrameHost {
public:
    virtual ~DocumentFrameHost() = default;
    // Makes the document's window(s); false when they cannot be made.
    virtual bool CreateDocumentFrame(ShellDocument* document, bool visible) = 0;
    // Takes the document's windows down without asking anything.
    virtual void DestroyDocumentFrames(ShellDocument* document) = 0;
    // Brings the document's window to the front.
    virtual void ActivateDocumentFrame(ShellDocument* document) = 0;
    // The recent-file list changed.
    virtual void RecentFilesChanged() {}
};

class DocManager {
public:
    DocManager();
    ~DocManager();
    DocManager(const DocManager&) = delete;
    DocManager& operator=(const DocManager&) = delete;

    void SetFrameHost(DocumentFrameHost* host) { host_ = host; }

    DocTemplate* AddTemplate(std::unique_ptr<DocTemplate> docTemplate);
    // By the file-type id ("TessalineLB", "TessalineDB"), compared exactly;
    // null when none matches.
    DocTemplate* FindTemplate(const std::string& fileTypeId) const;
    // The kind whose extension the path has; null when none.
    DocTemplate* TemplateForFile(const std::string& path) const;
    const std::vector<std::unique_ptr<DocTemplate>>& Templates() const { return templates_; }

    int32_t DocumentCount() const { return int32_t(documents_.size()); }
    std::vector<ShellDocument*> Documents() const;
    // The open document bound to the same file; null when none.
    ShellDocument* FindOpenDocument(const std::string& path) const;

    // A new untitled document of the kind in its window; null, after a
    // message, when the kind cannot make one.
    ShellDocument* NewDocument(DocTemplate* docTemplate, bool visible);
    // The document of the file in its window. A file already open is
    // brought to the front instead of being opened twice. Null, after a
    // message, when it cannot be opened.
    ShellDocument* OpenDocument(DocTemplate* docTemplate, const std::string& path, bool visible);
    // Opens the file with the kind its extension names.
    ShellDocument* OpenDocumentFile(const std::string& path);

    // Asks whether to save a modified document and saves it when told.
    // False when the user cancelled or the save failed: the document must
    // then stay open.
    bool SaveModified(ShellDocument* document);
    // SaveModified for each document in turn; stops at the first false.
    bool SaveAllModified();
    // Takes the document and its windows away without asking.
    void CloseDocument(ShellDocument* document);
    void CloseAllDocuments();
    // Closes the document when nothing of it would be lost (asking when it
    // is modified); false when it stays open.
    bool CanCloseAndClose(ShellDocument* document);

    RecentFileList& RecentFiles() { return recent_; }
    // Puts a path at the front of the recent-file list and writes the list.
    void AddToRecentFileList(const std::string& path);
    void LoadRecentFiles();
    void SaveRecentFiles() const;

private:
    ShellDocument* Adopt(std::unique_ptr<ShellDocument> document, DocTemplate* docTemplate, bool visible);
    bool CanMake(DocTemplate* docTemplate, const std::string& path) const;

    DocumentFrameHost* host_ = nullptr;
    std::vector<std::unique_ptr<DocTemplate>> templates_;
    std::vector<std::unique_ptr<ShellDocument>> documents_;
    RecentFileList recent_;
};

// The messages of refused files.
std::string UnknownKindText(const std::string& path);
std::string MissingFileText(const std::string& path);
// A host path whose bytes are not UTF-8: the system's names are read as
// UTF-8 here, so such a file can't be named to open it.
std::string NameNotUtf8Text(const std::string& path);
// The file is not opened: as many documents as the program keeps are open.
std::string TooManyDocumentsText(const std::string& path, int32_t most);
std::string KindNotAvailableText(const std::string& path, const DocTemplate& docTemplate);
