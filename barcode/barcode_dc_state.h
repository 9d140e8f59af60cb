// The font and pen changes the engine makes on the device context, each
// undone when its scope ends, so the caller's font, text colour and pen are
// as they were after every call.
#pragma once

#include <cstdint>

#include "platform/gdi_types.h"

class Dc;

// Remembers the context's font and text colour; the heights it selects are
// copies of the remembered font.
class BarcodeFontScope {
public:
    explicit BarcodeFontScope(Dc* dc);
    ~BarcodeFontScope();
    BarcodeFontScope(const BarcodeFontScope&) = delete;
    BarcodeFontScope& operator=(const BarcodeFontScope&) = delete;

    // Character height n (the font's height -n, width 0).
    void SetHeight(int32_t n);
    // The same, with the text turned by angle degrees counter-clockwise.
    void SetHeightAndAngle(int32_t n, double angle);

private:
    Dc* dc_;
    LogFont saved_;
    ColorRef savedTextColor_;
};

// Remembers the context's pen.
class BarcodePenScope {
public:
    explicit BarcodePenScope(Dc* dc);
    ~BarcodePenScope();
    BarcodePenScope(const BarcodePenScope&) = delete;
    BarcodePenScope& operator=(const BarcodePenScope&) = delete;

    void SetPen(ColorRef color, int32_t width);

private:
    Dc* dc_;
    Pen saved_;
};
