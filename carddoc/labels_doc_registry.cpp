#include "carddoc/labels_doc_registry.h"

#include <algorithm>
#include <new>
#include <vector>

#include "carddoc/labels_doc.h"

namespace {

std::vector<const void*>& OpenDocuments()
{
    static std::vector<const void*> documents;
    return documents;
}

}  // namespace

void RegisterOpenDocument(const void* document)
{
    auto& all = OpenDocuments();
    if (std::find(all.begin(), all.end(), document) == all.end())
        all.push_back(document);
}

void UnregisterOpenDocument(const void* document)
{
    auto& all = OpenDocuments();
    all.erase(std::remove(all.begin(), all.end(), document), all.end());
}

int32_t OpenDocumentCount() { return int32_t(OpenDocuments().size()); }

bool CanOpenAnotherDocument() { return OpenDocumentCount() < kMaxOpenDocuments; }

std::unique_ptr<CLabelsDoc> NewCardDocument(const uint8_t* docSetup)
{
    if (!CanOpenAnotherDocument())
        return nullptr;
    std::unique_ptr<CLabelsDoc> document;
    try {
        document = std::make_unique<CLabelsDoc>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!document->OnNewDocument(docSetup))
        return nullptr;
    return document;
}

std::unique_ptr<CLabelsDoc> OpenCardDocument(const PathRecord& path)
{
    if (!CanOpenAnotherDocument())
        return nullptr;
    std::unique_ptr<CLabelsDoc> document;
    try {
        document = std::make_unique<CLabelsDoc>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!document->OnOpenDocument(path))
        return nullptr;
    return document;
}
