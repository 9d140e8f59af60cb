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

namespace {

// A new card document that start makes ready (a new card or one read from
// a file); none when the program holds as many as it may, memory runs out
// or start fails.
template <class Start>
std::unique_ptr<CLabelsDoc> MakeCardDocument(Start start)
{
    if (!CanOpenAnotherDocument())
        return nullptr;
    std::unique_ptr<CLabelsDoc> document;
    try {
        document = std::make_unique<CLabelsDoc>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!start(*document))
        return nullptr;
    return document;
}

}  // namespace

std::unique_ptr<CLabelsDoc> NewCardDocument(const uint8_t* docSetup)
{
    return MakeCardDocument([docSetup](CLabelsDoc& document) { return document.OnNewDocument(docSetup); });
}

std::unique_ptr<CLabelsDoc> OpenCardDocument(const PathRecord& path)
{
    return MakeCardDocument([&path](CLabelsDoc& document) { return document.OnOpenDocument(path); });
}
