#include "wizard/wiz_preview_card_document.h"

#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "carddoc/labels_view.h"
#include "carddoc/print_commands.h"
#include "catalog/doc_setup_format.h"

namespace {

// Large enough for the biggest card at the zoom the first page opens at;
// the view is never seen.
constexpr int kViewWidth = 800;
constexpr int kViewHeight = 600;

}  // namespace

std::unique_ptr<WizPreviewDocument> WizPreviewCardDocument::Make()
{
    std::unique_ptr<CLabelsDoc> document = NewCardDocument();
    if (!document)
        return nullptr;
    auto view = std::make_unique<CLabelsView>(nullptr);
    view->resize(kViewWidth, kViewHeight);
    view->InitView(document.get());
    return std::unique_ptr<WizPreviewDocument>(new WizPreviewCardDocument(std::move(document), std::move(view)));
}

WizPreviewCardDocument::WizPreviewCardDocument(std::unique_ptr<CLabelsDoc> document,
                                               std::unique_ptr<CLabelsView> view)
    : document_(std::move(document)), view_(std::move(view))
{
}

WizPreviewCardDocument::~WizPreviewCardDocument() { OnCloseDocument(); }

void WizPreviewCardDocument::ClearAndApplySetup(const DocSetup& setup)
{
    if (!document_)
        return;
    uint8_t bytes[kDocSetupSize];
    DocSetupEncode(setup, bytes);
    document_->ClearAndApplySetup(bytes);
}

void WizPreviewCardDocument::ApplyLayoutAndDesign(const DocSetup& setup, bool full)
{
    if (!document_)
        return;
    uint8_t bytes[kDocSetupSize];
    DocSetupEncode(setup, bytes);
    document_->ApplyLayoutAndDesign(bytes, full);
    // Nobody is ever asked to save the preview.
    document_->SetModified(false);
}

int32_t WizPreviewCardDocument::RenderWizardPreview(int32_t /*width*/, int32_t /*height*/, Handle bits)
{
    if (!document_ || !bits)
        return 1;
    Handle out = bits;
    return document_->RenderWizardPreview(&out);
}

void WizPreviewCardDocument::PrintSheet(QWidget* parent)
{
    if (document_)
        PrintSheetOfDocument(document_.get(), parent);
}

void WizPreviewCardDocument::PrintFromDatabase(QWidget* parent)
{
    if (document_)
        ::PrintFromDatabase(document_.get(), parent);
}

void WizPreviewCardDocument::OnFilePrintOptions()
{
    if (document_)
        EditPrintOptions(document_.get(), nullptr);
}

void WizPreviewCardDocument::OnCloseDocument()
{
    if (view_)
        view_->Detach();
    view_.reset();
    document_.reset();
}
