// CWizardPreviewWnd: the picture pane of the wizard pages and of the
// wizard's set-up dialogs. It shows a background layer (a backdrop) and an
// overlay layer (a layout template or a rendered document) stacked, each a
// DIB or an enhanced metafile, in one of three looks: a framed picture
// (mode 1), a strip filled edge to edge (mode 2), and a framed picture
// with a drop shadow on the button face (mode 3).
//
// The window owns every picture it is given and frees the one it replaces.
// Each setter repaints at once; the window keeps what it painted, and
// wipes it first only when the picture's shape changed or the layer went
// empty, so that swapping one backdrop for another of the same shape does
// not flash.
#pragma once

#include <cstdint>

#include <QImage>
#include <QWidget>

#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "graphics/dib_handle.h"
#include "graphics/emf_reader.h"

class Dc;

enum : int32_t {
    kWizPreviewFramed = 1,
    kWizPreviewPlain = 2,
    kWizPreviewShadowed = 3,
};

class CWizardPreviewWnd : public QWidget {
public:
    explicit CWizardPreviewWnd(QWidget* parent = nullptr);
    ~CWizardPreviewWnd() override;
    CWizardPreviewWnd(const CWizardPreviewWnd&) = delete;
    CWizardPreviewWnd& operator=(const CWizardPreviewWnd&) = delete;

    // Takes the place of the placeholder, 2 pixels inside it, in its
    // parent, with the child id as the window's id. 1 without a
    // placeholder in a parent.
    int32_t CreateOver(QWidget* placeholder, int32_t childId);
    int32_t ChildId() const { return childId_; }

    void SetMode(int32_t mode) { mode_ = mode; }
    int32_t Mode() const { return mode_; }

    // Each answers 0, or 1 when the old metafile could not be deleted
    // (never here: deleting one cannot fail).
    int32_t SetBackground(DibHandle dib, int32_t width, int32_t height);
    int32_t SetBackgroundMetafile(EnhMetafile metafile, int32_t width, int32_t height);
    // The picture data of a backdrop or design: metafile bits, or a DIB
    // handle. The data is taken over. A negative size takes the picture's
    // own.
    int32_t SetBackdrop(Handle data, bool isMetafile, int32_t width, int32_t height);
    // White in the overlay lets the background show through.
    int32_t SetOverlay(DibHandle dib, int32_t width, int32_t height);
    int32_t SetOverlayMetafile(EnhMetafile metafile, int32_t width, int32_t height);
    // Metafile bits, freed in every case; null clears the overlay. 1 when
    // the bits are not a metafile (the overlay is then left as it was).
    int32_t SetOverlayFromHandle(Handle bits, int32_t width, int32_t height);

    bool HasBackground() const;
    bool HasOverlay() const;
    bool BackgroundIsMetafile() const { return backgroundIsMetafile_; }
    bool OverlayIsMetafile() const { return overlayIsMetafile_; }
    double NominalWidth() const { return nominalWidth_; }
    double NominalHeight() const { return nominalHeight_; }
    double AspectRatio() const { return aspect_; }

    // Where the picture goes in a client area of that size, and the frame
    // around it in mode 3 (one pixel wider to the right and at the bottom).
    IntRect PictureRect(int32_t clientWidth, int32_t clientHeight) const;
    // What the window shows now, and how many times it wiped its face.
    const QImage& Canvas() const { return canvas_; }
    int32_t EraseCount() const { return eraseCount_; }

    // Paints the window's face into a context of the client's size.
    void Draw(Dc* dc, const IntRect& client, bool erase);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FreeBackground();
    void FreeOverlay();
    // The nominal size rule of every setter; true when the aspect changed.
    bool TakeSize(bool empty, int32_t width, int32_t height);
    void PaintNow(bool erase);
    IntRect FittedRect(int32_t clientWidth, int32_t clientHeight) const;

    DibHandle background_ = nullptr;
    EnhMetafile backgroundMetafile_ = nullptr;
    bool backgroundIsMetafile_ = false;
    DibHandle overlay_ = nullptr;
    DibHandle overlayMask_ = nullptr;
    EnhMetafile overlayMetafile_ = nullptr;
    bool overlayIsMetafile_ = false;
    double aspect_ = 1.0;
    double nominalWidth_ = 1.0;
    double nominalHeight_ = 1.0;
    int32_t mode_ = kWizPreviewFramed;
    int32_t childId_ = 0;
    QImage canvas_;
    int32_t eraseCount_ = 0;
};
