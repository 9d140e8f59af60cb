// DcRecorder: what a recording target (an enhanced-metafile writer) sees
// of a Dc made by Dc::ForRecording.
//
// Every call that changes the state or draws reaches the recorder with the
// arguments it was made with, in logical units, just before the Dc applies
// it; the recorder may read the Dc's state as it stands before the call
// (the current position, the selected objects, the text metrics). A call
// that the Dc refuses (bad arguments) is still reported. The Dc keeps its
// state and measures text as any measuring context does and draws nothing
// itself. Every hook does nothing unless overridden.
#pragma once

#include <cstdint>
#include <string_view>

#include <QImage>
#include <QRect>

#include "foundation/int_geometry.h"
#include "platform/gdi_types.h"

class Region;

class DcRecorder {
public:
    virtual ~DcRecorder() = default;

    // Objects and state.
    virtual void selectPen(const Pen&) {}
    virtual void selectBrush(const Brush&) {}
    virtual void selectFont(const LogFont&) {}
    virtual void setTextColor(ColorRef) {}
    virtual void setBkColor(ColorRef) {}
    virtual void setBkMode(int32_t) {}
    virtual void setRop2(int32_t) {}
    virtual void setPolyFillMode(int32_t) {}
    virtual void setTextAlign(uint32_t) {}
    virtual void setBrushOrg(int32_t, int32_t) {}
    virtual void saveDc() {}
    virtual void restoreDc(int32_t) {}

    // Mapping.
    virtual void setMapMode(int32_t) {}
    virtual void setWindowOrg(int32_t, int32_t) {}
    virtual void setViewportOrg(int32_t, int32_t) {}
    virtual void setWindowExt(int32_t, int32_t) {}
    virtual void setViewportExt(int32_t, int32_t) {}

    // Lines and shapes.
    virtual void moveTo(int32_t, int32_t) {}
    virtual void lineTo(int32_t, int32_t) {}
    virtual void polyline(const IntPoint*, int) {}
    virtual void polylineTo(const IntPoint*, int) {}
    virtual void polyPolygon(const IntPoint*, const int*, int) {}  // polygon too
    virtual void polyBezier(const IntPoint*, int) {}
    virtual void polyBezierTo(const IntPoint*, int) {}
    virtual void rectangle(int32_t, int32_t, int32_t, int32_t) {}
    virtual void roundRect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
    virtual void ellipse(int32_t, int32_t, int32_t, int32_t) {}
    // kind: 0 arc, 1 arcTo, 2 chord, 3 pie.
    virtual void arc(int, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
    virtual void fillRect(const IntRect&, const Brush&) {}
    virtual void frameRect(const IntRect&, const Brush&) {}
    virtual void invertRect(const IntRect&) {}
    virtual void patBlt(int32_t, int32_t, int32_t, int32_t, uint32_t) {}
    virtual void setPixel(int32_t, int32_t, ColorRef) {}

    // Paths.
    virtual void beginPath() {}
    virtual void endPath() {}
    virtual void abortPath() {}
    virtual void closeFigure() {}
    virtual void fillPath() {}
    virtual void strokePath() {}
    virtual void strokeAndFillPath() {}
    virtual void flattenPath() {}

    // Regions (logical units) and clipping (device units).
    virtual void fillRgn(const Region&, const Brush&) {}
    virtual void frameRgn(const Region&, const Brush&, int32_t, int32_t) {}
    virtual void paintRgn(const Region&) {}
    virtual void invertRgn(const Region&) {}
    virtual void extSelectClipRgn(const Region*, int32_t) {}  // selectClipRgn is RGN_COPY
    virtual void intersectClipRect(int32_t, int32_t, int32_t, int32_t) {}
    virtual void excludeClipRect(int32_t, int32_t, int32_t, int32_t) {}

    // Text (textOut is extTextOut without options).
    virtual void extTextOut(int32_t, int32_t, uint32_t, const IntRect*, std::string_view, const int32_t*) {}

    // Pictures: a packed bitmap as given, or an image already cut to its
    // source rectangle (stretchImage, stretchBlt and bitBlt).
    virtual void stretchDIBits(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, const uint8_t*,
                               const uint8_t*, uint32_t)
    {
    }
    virtual void stretchImage(const IntRect&, const QImage&, uint32_t) {}
};
