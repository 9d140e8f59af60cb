// The whole state of a Dc: what saveDc pushes and restoreDc brings back.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include <QPointF>
#include <QRegion>

#include "platform/dc.h"
#include "platform/device_clip.h"
#include "platform/font_mapper.h"

// Rounds to the nearest whole number (halves up), held within the range of
// int32_t so that absurd coordinates cannot overflow.
inline int32_t RoundToInt(double v)
{
    const double r = std::floor(v + 0.5);
    if (!(r > -2147483648.0))
        return INT32_MIN;
    if (r > 2147483647.0)
        return INT32_MAX;
    return int32_t(r);
}

// A path under construction or ended, in device pixels. Points keep their
// fractions (glyph outlines need them); getPath rounds them to logical units.
struct DcPath {
    enum Phase : uint8_t { kNone, kOpen, kClosed };
    Phase phase = kNone;
    std::vector<QPointF> points;
    std::vector<uint8_t> types;  // PT_*

    void clear()
    {
        phase = kNone;
        points.clear();
        types.clear();
    }
};

struct Dc::State {
    Pen pen;
    Brush brush = Brush::Solid(kWhite);
    LogFont font;
    ColorRef textColor = kBlack;
    ColorRef bkColor = kWhite;
    int32_t bkMode = OPAQUE;
    int32_t rop2 = R2_COPYPEN;
    int32_t polyFillMode = ALTERNATE;
    uint32_t textAlign = TA_TOP | TA_LEFT | TA_NOUPDATECP;
    IntPoint brushOrg;

    int32_t mapMode = MM_TEXT;
    IntPoint windowOrg;
    IntPoint viewportOrg;
    IntSize windowExt{1, 1};
    IntSize viewportExt{1, 1};

    bool hasClip = false;
    DeviceClip clip;  // device pixels

    IntPoint position;
    DcPath path;

    // The selected font at the current mapping; rebuilt when either changes.
    mutable std::shared_ptr<const FontFace> face;
};
