#include "wizard/wizard_preview_wnd.h"

#include <algorithm>
#include <memory>

#include <QPainter>

#include "dialogs/object_dialog_kit.h"
#include "graphics/dib_derived.h"
#include "graphics/dib_draw.h"
#include "graphics/metafile.h"
#include "platform/dc.h"
#include "platform/gdi_types.h"

CWizardPreviewWnd::CWizardPreviewWnd(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Wizard Preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CWizardPreviewWnd::~CWizardPreviewWnd()
{
    FreeBackground();
    FreeOverlay();
}

int32_t CWizardPreviewWnd::CreateOver(QWidget* placeholder, int32_t childId)
{
    if (!placeholder || !placeholder->parentWidget())
        return 1;
    setParent(placeholder->parentWidget());
    QRect r = placeholder->geometry();
    r.adjust(2, 2, -2, -2);
    setGeometry(r);
    childId_ = childId;
    setObjectName(QStringLiteral("wizardPreview%1").arg(childId));
    placeholder->hide();
    show();
    return 0;
}

bool CWizardPreviewWnd::HasBackground() const
{
    return backgroundIsMetafile_ ? backgroundMetafile_ != nullptr : (background_ && !DibHandleIsEmpty(background_));
}

bool CWizardPreviewWnd::HasOverlay() const
{
    return overlayIsMetafile_ ? overlayMetafile_ != nullptr : (overlay_ && !DibHandleIsEmpty(overlay_));
}

void CWizardPreviewWnd::FreeBackground()
{
    DibHandleFree(&background_);
    if (backgroundMetafile_)
        DeleteEnhMetaFile(backgroundMetafile_);
    backgroundMetafile_ = nullptr;
}

void CWizardPreviewWnd::FreeOverlay()
{
    DibHandleFree(&overlay_);
    DibHandleFree(&overlayMask_);
    if (overlayMetafile_)
        DeleteEnhMetaFile(overlayMetafile_);
    overlayMetafile_ = nullptr;
}

bool CWizardPreviewWnd::TakeSize(bool empty, int32_t width, int32_t height)
{
    if (empty || width < 1 || height < 1)
        return false;
    const double aspect = double(width) / double(height);
    const bool changed = aspect != aspect_;
    nominalWidth_ = width;
    nominalHeight_ = height;
    aspect_ = aspect;
    return changed;
}

int32_t CWizardPreviewWnd::SetBackground(DibHandle dib, int32_t width, int32_t height)
{
    const bool empty = !dib || DibHandleIsEmpty(dib);
    if (empty && !HasBackground()) {
        DibHandleFree(&dib);
        return 0;
    }
    FreeBackground();
    if (empty)
        DibHandleFree(&dib);
    background_ = dib;
    backgroundIsMetafile_ = false;
    const bool reshaped = TakeSize(empty, width, height);
    PaintNow(reshaped || empty);
    return 0;
}

int32_t CWizardPreviewWnd::SetBackgroundMetafile(EnhMetafile metafile, int32_t width, int32_t height)
{
    const bool empty = metafile == nullptr;
    if (empty && !HasBackground())
        return 0;
    FreeBackground();
    backgroundMetafile_ = metafile;
    backgroundIsMetafile_ = true;
    const bool reshaped = TakeSize(empty, width, height);
    PaintNow(reshaped || empty);
    return 0;
}

int32_t CWizardPreviewWnd::SetBackdrop(Handle data, bool isMetafile, int32_t width, int32_t height)
{
    if (isMetafile) {
        EnhMetafile metafile = nullptr;
        if (data && MetafileFromHandle(&metafile, data) != 0)
            metafile = nullptr;
        if ((width < 0 || height < 0) && metafile)
            MetafileGetFrameSize(metafile, &width, &height, 0);
        HandleFree(data);
        return SetBackgroundMetafile(metafile, width, height);
    }
    DibHandle dib = data;
    if (width < 0 || height < 0) {
        const bool empty = !dib || DibHandleIsEmpty(dib);
        width = empty ? -1 : DibHandleWidth(dib);
        height = empty ? -1 : DibHandleHeight(dib);
    }
    return SetBackground(dib, width, height);
}

int32_t CWizardPreviewWnd::SetOverlay(DibHandle dib, int32_t width, int32_t height)
{
    const bool empty = !dib || DibHandleIsEmpty(dib);
    if (empty && !HasOverlay()) {
        DibHandleFree(&dib);
        return 0;
    }
    FreeOverlay();
    if (empty) {
        DibHandleFree(&dib);
    } else {
        overlay_ = dib;
        overlayMask_ = DibHandleNew();
        // Without a mask the overlay would hide the backdrop whole.
        if (overlayMask_ && DibHandleMakeMask(overlay_, overlayMask_, kWhite) != 0)
            DibHandleFree(&overlayMask_);
    }
    overlayIsMetafile_ = false;
    const bool reshaped = TakeSize(empty, width, height);
    PaintNow(reshaped || empty);
    return 0;
}

int32_t CWizardPreviewWnd::SetOverlayMetafile(EnhMetafile metafile, int32_t width, int32_t height)
{
    const bool empty = metafile == nullptr;
    if (empty && !HasOverlay())
        return 0;
    FreeOverlay();
    overlayMetafile_ = metafile;
    overlayIsMetafile_ = true;
    const bool reshaped = TakeSize(empty, width, height);
    PaintNow(reshaped || empty);
    return 0;
}

int32_t CWizardPreviewWnd::SetOverlayFromHandle(Handle bits, int32_t width, int32_t height)
{
    if (!bits)
        return SetOverlayMetafile(nullptr, width, height);
    EnhMetafile metafile = nullptr;
    const int32_t err = MetafileFromHandle(&metafile, bits);
    HandleFree(bits);
    if (err != 0 || !metafile)
        return 1;
    return SetOverlayMetafile(metafile, width, height);
}

IntRect CWizardPreviewWnd::FittedRect(int32_t clientWidth, int32_t clientHeight) const
{
    if (nominalWidth_ > 1 && nominalHeight_ > 1 && nominalWidth_ <= clientWidth && nominalHeight_ <= clientHeight) {
        const int32_t w = int32_t(nominalWidth_);
        const int32_t h = int32_t(nominalHeight_);
        const int32_t x = (clientWidth - w) / 2;
        const int32_t y = (clientHeight - h) / 2;
        return IntRect{x, y, x + w, y + h};
    }
    const double aspect = (nominalWidth_ > 0 && nominalHeight_ > 0) ? nominalWidth_ / nominalHeight_ : 1.0;
    int32_t w = clientWidth;
    int32_t h = int32_t(double(clientWidth) / aspect);
    if (h > clientHeight) {
        h = clientHeight;
        w = int32_t(double(clientHeight) * aspect);
    }
    const int32_t x = (clientWidth - w) / 2;
    const int32_t y = (clientHeight - h) / 2;
    return IntRect{x, y, x + w, y + h};
}

IntRect CWizardPreviewWnd::PictureRect(int32_t clientWidth, int32_t clientHeight) const
{
    if (mode_ == kWizPreviewPlain)
        return IntRect{0, 0, clientWidth, clientHeight};
    IntRect r = FittedRect(clientWidth, clientHeight);
    if (mode_ == kWizPreviewShadowed) {
        r.left += 2 - 2;
        r.top += 2 - 2;
        r.right -= 2 + 2;
        r.bottom -= 2 + 2;
    }
    // A picture as wide (or as tall) as the window keeps its frame line
    // inside it, where it is seen.
    r.left = std::max(r.left, 1);
    r.top = std::max(r.top, 1);
    r.right = std::min(r.right, clientWidth - 1);
    r.bottom = std::min(r.bottom, clientHeight - 1);
    return r;
}

void CWizardPreviewWnd::Draw(Dc* dc, const IntRect& client, bool erase)
{
    const int32_t width = client.right - client.left;
    const int32_t height = client.bottom - client.top;
    if (erase) {
        const QPalette::ColorRole role = mode_ == kWizPreviewShadowed ? QPalette::Button : QPalette::Base;
        dc->fillRect(client, Brush::Solid(PaletteColour(this, role)));
    }
    const bool showing = HasBackground() || HasOverlay();
    IntRect picture = PictureRect(width, height);
    IntRect frame = picture;
    if (mode_ == kWizPreviewShadowed && showing) {
        const IntRect shadow{picture.left + 4, picture.top + 4, picture.right + 4, picture.bottom + 4};
        const Brush black = Brush::Solid(kBlack);
        // The part of the shifted rectangle that the picture leaves: a
        // strip down the right and one along the bottom.
        dc->fillRect(IntRect{picture.right, shadow.top, shadow.right, shadow.bottom}, black);
        dc->fillRect(IntRect{shadow.left, picture.bottom, picture.right, shadow.bottom}, black);
        frame.right += 1;
        frame.bottom += 1;
    }
    if (!showing)
        return;
    if (backgroundIsMetafile_ || (!HasBackground() && HasOverlay()))
        dc->fillRect(picture, Brush::Solid(kWhite));
    if (mode_ != kWizPreviewPlain)
        dc->frameRect(IntRect{frame.left - 1, frame.top - 1, frame.right + 1, frame.bottom + 1}, Brush::Solid(kBlack));
    // DIB drawing takes the rectangle with its right and bottom included.
    const IntRect inclusive{picture.left, picture.top, picture.right - 1, picture.bottom - 1};
    if (!backgroundIsMetafile_ && HasBackground())
        DibHandleDraw(dc, background_, inclusive, SRCCOPY);
    else if (backgroundIsMetafile_ && backgroundMetafile_)
        PlayMetafile(dc, backgroundMetafile_, picture);
    if (!overlayIsMetafile_ && HasOverlay())
        DibHandleDrawTransparent(dc, overlay_, overlayMask_, inclusive, overlayMask_ != nullptr);
    else if (overlayIsMetafile_ && overlayMetafile_)
        PlayMetafile(dc, overlayMetafile_, picture);
}

void CWizardPreviewWnd::PaintNow(bool erase)
{
    if (canvas_.size() != size() || canvas_.isNull()) {
        canvas_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        erase = true;
    }
    if (erase)
        ++eraseCount_;
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&canvas_);
        Draw(dc.get(), IntRect{0, 0, canvas_.width(), canvas_.height()}, erase);
    }
    update();
}

void CWizardPreviewWnd::paintEvent(QPaintEvent*)
{
    if (canvas_.size() != size() || canvas_.isNull())
        PaintNow(true);
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_);
}

void CWizardPreviewWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PaintNow(true);
}
