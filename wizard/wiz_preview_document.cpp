#include "wizard/wiz_preview_document.h"

#include "wizard/wiz_preview_card_document.h"

namespace {

// The program's own card document unless a test installs another.
WizPreviewDocumentMaker g_maker = &WizPreviewCardDocument::Make;

}  // namespace

WizPreviewDocumentMaker SetWizPreviewDocumentMaker(WizPreviewDocumentMaker maker)
{
    WizPreviewDocumentMaker previous = g_maker;
    g_maker = maker;
    return previous;
}

std::unique_ptr<WizPreviewDocument> MakeWizPreviewDocument()
{
    return g_maker ? g_maker() : nullptr;
}
