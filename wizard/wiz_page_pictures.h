// The pictures the wizard pages put into their previews from the wizard's
// lists.
#pragma once

#include <cstdint>

class CWizardPreviewWnd;

// The backdrop's colour variant as the preview's background layer, at the
// size given. 0 when shown; otherwise the preview is left as it was (an
// EPS backdrop has no picture the preview can show).
int32_t ShowBackdropPicture(CWizardPreviewWnd* preview, int32_t backdropId, int32_t colour, int32_t width,
                            int32_t height);
// The template's preview picture as the overlay layer; template 0, or one
// without a picture, clears the overlay.
void ShowTemplateOverlay(CWizardPreviewWnd* preview, int32_t templateId, int32_t width, int32_t height);
// An empty layer.
void ClearBackdropLayer(CWizardPreviewWnd* preview);
void ClearOverlayLayer(CWizardPreviewWnd* preview);
