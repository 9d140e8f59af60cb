#include "wizard/wiz_preview_document.h"

namespace {

WizPreviewDocumentMaker g_maker = nullptr;

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
