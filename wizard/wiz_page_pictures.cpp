#include "wizard/wiz_page_pictures.h"

#include "catalog/backdrop_list.h"
#include "catalog/item_file_format.h"
#include "catalog/template_list.h"
#include "wizard/wizard_preview_wnd.h"

int32_t ShowBackdropPicture(CWizardPreviewWnd* preview, int32_t backdropId, int32_t colour, int32_t width,
                            int32_t height)
{
    if (!preview)
        return 1;
    uint32_t kind = 0;
    Handle data = nullptr;
    if (int32_t err = GetBackdropPictureData(backdropId, colour, &kind, &data))
        return err;
    if (kind == kWizPictureMetafile)
        return preview->SetBackdrop(data, true, width, height);
    if (kind == kWizPictureDib)
        return preview->SetBackdrop(data, false, width, height);
    HandleFree(data);
    return 1;
}

void ShowTemplateOverlay(CWizardPreviewWnd* preview, int32_t templateId, int32_t width, int32_t height)
{
    if (!preview)
        return;
    Handle bits = templateId >= 1 ? LoadTemplatePreviewData(templateId) : nullptr;
    preview->SetOverlayFromHandle(bits, width, height);
}

void ClearBackdropLayer(CWizardPreviewWnd* preview)
{
    if (preview)
        preview->SetBackdrop(nullptr, true, -1, -1);
}

void ClearOverlayLayer(CWizardPreviewWnd* preview)
{
    if (preview)
        preview->SetOverlayFromHandle(nullptr, -1, -1);
}
