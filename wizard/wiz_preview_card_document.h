// The wizard's hidden card document: a card document with a view that is
// never shown, on which the wizard lays out the design being chosen to
// preview and print it.
#pragma once

#include <memory>

#include "wizard/wiz_preview_document.h"

class CLabelsDoc;
class CLabelsView;

class WizPreviewCardDocument : public WizPreviewDocument {
public:
    // Null when no card document can be made (10 documents are open, or
    // no swap file).
    static std::unique_ptr<WizPreviewDocument> Make();

    ~WizPreviewCardDocument() override;

    void ClearAndApplySetup(const DocSetup& setup) override;
    void ApplyLayoutAndDesign(const DocSetup& setup, bool full) override;
    int32_t RenderWizardPreview(int32_t width, int32_t height, Handle bits) override;
    void PrintSheet(QWidget* parent) override;
    void PrintFromDatabase(QWidget* parent) override;
    void OnFilePrintOptions() override;
    void OnCloseDocument() override;

    CLabelsDoc* Document() const { return document_.get(); }

private:
    WizPreviewCardDocument(std::unique_ptr<CLabelsDoc> document, std::unique_ptr<CLabelsView> view);

    std::unique_ptr<CLabelsDoc> document_;
    std::unique_ptr<CLabelsView> view_;
};
