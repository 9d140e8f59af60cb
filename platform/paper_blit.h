// What a blit leaves on paper: a vector target cannot read its page back,
// so a raster operation is worked out as if the page under it were white.
// The pixels it would leave on white are drawn; where the operation keeps
// the page as it is, whatever it is, nothing is drawn. The transparent
// picture pair (the mask blitted with MERGEPAINT, then the picture with
// SRCAND into the same rectangle) draws the picture with the mask's white
// pixels left out.
//
// A picture is made once per job: the pictures made are known by their
// content (the picture, its mask, the operation and the pattern), so the
// same picture drawn again, on any card, side or page and in any order,
// gives back the very image made the first time, which a PDF file then
// keeps once; so does a place a pixel or two larger or smaller, as the
// same frame's is on another cell of the sheet.
//
// A mask blitted while soft masks are on is graded: its grey is how much of
// the picture it leaves out, and the picture (laid over white as pictures
// are) is taken back off the white by as much, so that paper shows the
// picture over whatever lies beneath it. A picture with more pixels than its place on the paper can
// show is first brought down to what it shows (at most kPaperMaxDpi), with
// a smoothing filter.
#pragma once

#include <cstdint>
#include <list>

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>

#include "platform/dc_device.h"

// The most pixels per inch a picture keeps on paper.
constexpr double kPaperMaxDpi = 600;

class PaperBlit {
public:
    // `dpi`: the device's pixels per inch, across and down.
    PaperBlit(double dpiX, double dpiY) : dpiX_(dpiX), dpiY_(dpiY) {}

    // The picture the blit lays down (ARGB32, alpha 0 where the page is
    // left alone) into `dest` (device pixels, negative sizes mirror); a
    // null picture when nothing is to be drawn (a mask waits for its
    // picture, or the blit lies off `drawable`). False when the operation
    // needs a source and there is none.
    bool make(const BlitRect& target, const QImage& source, uint32_t rop, const DevicePaint& pattern,
              const QRect& drawable, QRectF* dest, QImage* picture);
    // Whether the masks blitted next are graded (see above).
    void setSoftMasks(bool soft) { soft_ = soft; }

private:
    struct Made {
        uint64_t key[2];
        QImage picture;
        // The very images it was made from, which the next card's blit
        // often hands over again: known without hashing them.
        qint64 source = 0, mask = 0, tile = 0;
        uint64_t how = 0;
    };
    // The pixels a source is made at for `dest`: its own, or what `dest`
    // shows on paper.
    QSize madeSize(const QSize& source, const QRectF& dest) const;

    double dpiX_;
    double dpiY_;
    QRectF pendingDest_;
    QImage pendingMask_;
    bool soft_ = false;
    bool pendingSoft_ = false;
    // The pictures made, the latest first, within kMadeBytes.
    std::list<Made> made_;
    qsizetype madeBytes_ = 0;
};
