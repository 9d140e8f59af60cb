// The targets a Dc draws on. Dc keeps the graphics state, the mapping and
// the pixel rules; by the time a call reaches the device everything is in
// device pixels and says exactly what to lay down where:
//
//   - ImageDevice: a QImage, pixel by pixel through Coverage, with every
//     raster operation exact;
//   - PainterDevice: a printer or PDF writer through one QPainter, vector
//     output, raster operations as on a white page;
//   - the PostScript output's device (postscript/), vector output as
//     PostScript text, raster operations as on a white page;
//   - the null device of a measuring or recording context, which draws
//     nothing (a recording context hands every call to its DcRecorder
//     before it reaches the device).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QList>
#include <QPointF>
#include <QImage>
#include <QPainterPath>
#include <QRawFont>
#include <QRegion>
#include <QTransform>

#include "platform/coverage.h"
#include "platform/device_clip.h"
#include "platform/font_mapper.h"
#include "platform/gdi_types.h"
#include "platform/page_file.h"
#include "printqueue/print_queue.h"

class QPaintDevice;

// What a pen, a brush or a background lays down where it covers.
struct DevicePaint {
    enum Kind : uint8_t { kNone, kSolid, kTiled };
    Kind kind = kNone;
    ColorRef color = kBlack;
    // kTiled: Format_ARGB32; a pixel of alpha 0 leaves the surface as it
    // is (the gaps of a hatch in transparent mode).
    QImage tile;
    QPoint origin;  // the device pixel where the tile's (0, 0) lands

    static DevicePaint Solid(ColorRef c)
    {
        DevicePaint p;
        p.kind = kSolid;
        p.color = c;
        return p;
    }
};

// An outline drawn with a pen.
struct DeviceStroke {
    // One-pixel lines through pixel points, each leaving out its last
    // pixel (a closed outline repeats its first point at the end).
    std::vector<PixelPolyline> lines;
    // For a vector target, the same one-pixel outline as a path through
    // the pixels' centres (curves kept as curves), in place of `lines`.
    QPainterPath path;
    // For an image, an outline too long to keep as `lines`: the device
    // makes them itself, part by part (OutlinePixelLines with `keep`).
    QPainterPath pixelOutline;
    QRectF keep;
    int32_t style = PS_SOLID;
    // The gaps of a styled line in opaque background mode.
    DevicePaint gaps;
    // A wide pen: the area it covers.
    QPainterPath area;
    // The pen's width in device pixels (for vector output of `lines`).
    bool isEmpty() const { return lines.empty() && path.isEmpty() && area.isEmpty() && pixelOutline.isEmpty(); }
};

// A shape: an area filled with a brush and an outline drawn with a pen,
// combined with the surface by a binary raster operation. Where both cover
// a pixel the pen wins (the brush does not reach under the pen).
struct DeviceShape {
    QPainterPath fill;  // with its fill rule; empty for none
    // Where `fill` lies on the device, moved by this: a vector target's
    // region shape is handed over as it was made (images never get one).
    QPointF fillOffset;
    // For a vector target, a fill that is this rectangle (`fill` empty).
    QRectF fillBox;
    DevicePaint brush;
    DeviceStroke stroke;
    DevicePaint pen;
    int32_t rop2 = R2_COPYPEN;
};

// Text as glyphs. For an image, `glyphs` are upright glyphs of `face` with
// their baseline origins on whole device pixels, and `outline` holds the
// rest as an area in device pixels (turned glyphs, underline and strike-out
// bars). For other targets `run` with `transform` is the text, kept as
// text, and `outline` only the underline and strike-out bars.
struct DeviceText {
    struct Glyph {
        uint8_t ch;
        QPoint origin;
    };
    std::shared_ptr<const FontFace> face;
    std::vector<Glyph> glyphs;
    QPainterPath outline;
    // Text kept as text: the face's glyphs at their positions (design
    // space of the face's size), placed on the device by `transform`.
    QList<quint32> glyphIndexes;
    QList<QPointF> positions;
    QTransform transform;
    // The Windows-1252 characters the glyphs show, one a glyph: what a
    // reader of the output is told the run says (see actual_text.h).
    std::string chars;
    ColorRef color = kBlack;
    // The glyphs of a laid-out run: an image keeps neighbours apart whose
    // outlines are (see glyph_gaps.h).
    bool keepApart = false;
};

// Where a blit lands, in device pixels: a corner and a size, a negative
// size mirroring. 64-bit, as it may reach far past the surface.
struct BlitRect {
    int64_t x = 0;
    int64_t y = 0;
    int64_t width = 0;
    int64_t height = 0;
};

// What a device was given between keepOutput() and keptOutput(), in a form
// it can take again (see Dc::beginKept).
class KeptOutput {
public:
    virtual ~KeptOutput() = default;
};

class DcDevice {
public:
    virtual ~DcDevice() = default;

    virtual int32_t technology() const = 0;
    // The drawable size in device pixels (empty for none).
    virtual QSize pixelSize() const = 0;
    virtual double dpiX() const = 0;
    virtual double dpiY() const = 0;
    virtual QImage* image() { return nullptr; }
    // The whole sheet in device pixels, relative to the drawable area's
    // origin (a printer's sheet starts left of and above what it can print).
    virtual QRect paperRect() const { return QRect(QPoint(0, 0), pixelSize()); }
    // The device pixels a call can change; what lies beyond is left out
    // before drawing.
    virtual QRect drawableBox() const { return QRect(QPoint(0, 0), pixelSize()); }
    // Whether raster operations and pixel reads are exact here.
    virtual bool isRaster() const { return false; }

    // `clip` is null when there is no clip, else the allowed pixels (and
    // where known the outlines they were made from).
    virtual bool drawShape(const DeviceShape& shape, const DeviceClip* clip) = 0;
    virtual bool drawText(const DeviceText& text, const DeviceClip* clip) = 0;
    // `source` is already cut to the source rectangle; it is stretched into
    // `dest` (negative sizes mirror) and combined by the ternary code with
    // `pattern` (the selected brush) and the surface.
    virtual bool blit(const BlitRect& dest, const QImage& source, uint32_t rop, const DevicePaint& pattern,
                      const DeviceClip* clip) = 0;
    virtual ColorRef pixel(int x, int y) const = 0;  // 0xFFFFFFFF when unknown
    virtual bool setPixel(int x, int y, ColorRef c, const DeviceClip* clip) = 0;
    // Ends the output; false when it could not be completed (a file that
    // could not be written).
    virtual bool flush() = 0;
    // The file layer's code of the write that made the output fail; 0 when
    // none did.
    virtual int32_t outputError() const { return 0; }
    // Opens the output of a vector device at once rather than at its first
    // drawing, so that a document is made (or fails) even when nothing is
    // drawn on it; true for devices that need no opening.
    virtual bool beginOutput() { return true; }
    // A paged device goes on to a fresh sheet; false for any other device.
    virtual bool newPage() { return false; }
    // Keeping output to give it again: keepOutput() starts (false when the
    // device cannot), keptOutput() ends and hands out what the device was
    // given since, or null when that cannot be given again as it is (the
    // page ended in between, a picture was drawn). giveAgain() takes it as
    // if it were drawn once more.
    virtual bool keepOutput() { return false; }
    // Whether keepOutput() can ever start: a drawing is not even noted
    // where nothing is kept.
    virtual bool keepsOutput() const { return false; }
    virtual std::shared_ptr<const KeptOutput> keptOutput() { return nullptr; }
    virtual bool giveAgain(const KeptOutput&) { return false; }
    // A device that writes PostScript takes PostScript text from the
    // drawing code too, written where it is sent (see dc.h).
    virtual bool takesPostScript() const { return false; }
    // A vector target lays what it is given next down turned by `turn`
    // (device pixels; null ends the turn); clips stay where they are on the
    // device. False where the device cannot turn its output.
    virtual bool setTurn(const QTransform*) { return false; }
    // See Dc::setPicturesLossless.
    virtual void setPicturesLossless(bool) {}
    // See Dc::takesSoftMasks and Dc::setSoftMasks. Raster targets combine
    // masks bit by bit, and PostScript level 2 has no soft mask: they keep
    // masks of one bit.
    virtual bool takesSoftMasks() const { return false; }
    virtual void setSoftMasks(bool) {}
    virtual bool passThrough(const char*, size_t) { return false; }
};

std::unique_ptr<DcDevice> MakeImageDevice(QImage* image);
std::unique_ptr<DcDevice> MakePainterDevice(QPaintDevice* device, int32_t technology);
// A file whose pages `makeFile` writes (see page_file.h), with the metrics
// of `device` (the printer that was to write it).
std::unique_ptr<DcDevice> MakePageFileDevice(QPaintDevice* device, PageFileSettings settings, PageFileMaker makeFile);
// The same, made in a file of its own and handed to the print service's
// queue when it is complete (printqueue/print_queue.h).
std::unique_ptr<DcDevice> MakePrintQueueDevice(QPaintDevice* device, PageFileSettings settings, PageFileMaker makeFile,
                                               PrintQueueJob job);
// Draws nothing; `size` is what it reports as its drawable size.
std::unique_ptr<DcDevice> MakeNullDevice(double dpi, QSize size);
