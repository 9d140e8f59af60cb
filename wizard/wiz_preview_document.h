// What the new-document wizard needs of the hidden card document it
// previews and prints from while it runs. The maker is the card
// document's (wizard/wiz_preview_card_document.h); without a maker, or
// when it makes nothing, the wizard runs without such a document: its
// previews then show the stored template pictures, and the Finish page's
// print buttons stay off.
#pragma once

#include <cstdint>
#include <memory>

#include "catalog/doc_setup.h"
#include "foundation/handle.h"

class QWidget;

class WizPreviewDocument {
public:
    virtual ~WizPreviewDocument() = default;
    // Removes every frame and applies the set-up's layout, backdrop and
    // template.
    virtual void ClearAndApplySetup(const DocSetup& setup) = 0;
    // full: also the personal texts, the backdrop's printable flag and
    // the label layout.
    virtual void ApplyLayoutAndDesign(const DocSetup& setup, bool full) = 0;
    // The document, without its backdrop, as enhanced-metafile bits of
    // width x height points; 0 on success.
    virtual int32_t RenderWizardPreview(int32_t width, int32_t height, Handle bits) = 0;
    virtual void PrintSheet(QWidget* parent) = 0;
    virtual void PrintFromDatabase(QWidget* parent) = 0;
    virtual void OnFilePrintOptions() = 0;
    // The document goes; nothing is saved.
    virtual void OnCloseDocument() = 0;
};

using WizPreviewDocumentMaker = std::unique_ptr<WizPreviewDocument> (*)();

// Installs the maker (null: none) and returns the previous one.
WizPreviewDocumentMaker SetWizPreviewDocumentMaker(WizPreviewDocumentMaker maker);
// A new hidden document, or null without a maker or when it fails.
std::unique_ptr<WizPreviewDocument> MakeWizPreviewDocument();
