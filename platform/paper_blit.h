// What a blit leaves on paper: a vector target cannot read its page back,
// so a raster operation is worked out as if the page under it were white.
// The pixels it would leave on white are drawn; where the operation keeps
// the page as it is, whatever it is, nothing is drawn. The transparent
// picture pair (the mask blitted with MERGEPAINT, then the picture with
// SRCAND into the same rectangle) draws the picture with the mask's white
// pixels left out.
#pragma once

#include <cstdint>

#include <QImage>
#include <QRect>
#include <QRectF>

#include "platform/dc_device.h"

class PaperBlit {
public:
    // The picture the blit lays down (ARGB32, alpha 0 where the page is
    // left alone) into `dest` (device pixels, negative sizes mirror); a
    // null picture when nothing is to be drawn (a mask waits for its
    // picture, or the blit lies off `drawable`). False when the operation
    // needs a source and there is none.
    bool make(const BlitRect& target, const QImage& source, uint32_t rop, const DevicePaint& pattern,
              const QRect& drawable, QRectF* dest, QImage* picture);

private:
    QRectF pendingDest_;
    QImage pendingMask_;
};
