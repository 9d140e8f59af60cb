// DocTemplate: one kind of document the program handles: its names, its
// file extension, the kind of child frame its windows take, and the
// factory that makes its documents. The program has two, found by their
// file-type ids "TessalineLB" (cards) and "TessalineDB" (databases).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/shell_document.h"

enum class ChildFrameKind {
    kCard,      // rulers, zoom and page bar, one view
    kDatabase,  // the browser list beside the data-entry form
};

class DocTemplate {
public:
    enum StringIndex {
        kWindowTitle,
        kDocName,
        kFileNewName,
        kFilterName,
        kFilterExt,
        kRegFileTypeId,
        kRegFileTypeName,
        kStringCount,
    };

    // The seven fields come from a string of the string table, separated
    // by line feeds; missing fields are empty.
    DocTemplate(int32_t resourceId, const char* fields, ChildFrameKind frameKind);

    int32_t ResourceId() const { return resourceId_; }
    ChildFrameKind FrameKind() const { return frameKind_; }
    const std::string& String(StringIndex index) const { return strings_[index]; }

    // Whether path ends in this kind's extension, in any case.
    bool MatchesFile(const std::string& path) const;
    // The file dialog filter: "Card (*.lqx)" and its pattern.
    std::string QtFilter() const;

    // Until a factory is installed the kind is known but cannot be opened.
    void SetFactory(std::unique_ptr<DocumentFactory> factory) { factory_ = std::move(factory); }
    DocumentFactory* Factory() const { return factory_.get(); }

private:
    int32_t resourceId_;
    ChildFrameKind frameKind_;
    std::string strings_[kStringCount];
    std::unique_ptr<DocumentFactory> factory_;
};
