// PostScript fragments appended to a text Handle: clip paths, transforms,
// path pieces, colours and filled shapes. Every number is written without
// the locale (a decimal comma would make the PostScript invalid).
//
// Each call appends its whole fragment or, when the Handle cannot grow,
// nothing: 0, or the Handle layer's error.
#pragma once

#include <cstdint>

#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "platform/gdi_types.h"

// Appends a zero-terminated string to the zero-terminated text in the
// Handle. The Handle grows to exactly the new length + 1 when the text
// would not fit; an empty string appends nothing.
int32_t TextHandleAppend(Handle text, const char* string);

// " newpath x y moveto x y lineto ... closepath clip "
int32_t PsPolygonClipPath(const IntPoint* points, int32_t count, Handle text);
// " sx sy scale " with the given number of decimals (truncated).
int32_t PsScale(double sx, double sy, int16_t decimals, Handle text);
int32_t PsTranslate(int16_t x, int16_t y, Handle text);
int32_t PsRotate(int16_t angle, Handle text);
int32_t PsMoveTo(IntPoint point, Handle text);
int32_t PsLineTo(IntPoint point, Handle text);
int32_t PsCurveTo(IntPoint p1, IntPoint p2, IntPoint p3, Handle text);
// " r g b setrgbcolor " with each component / 255 to six decimals.
int32_t PsSetRgbColor(ColorRef colour, Handle text);
// " x y translate ", x and y negated when positive is 0.
int32_t PsTranslateSigned(int32_t x, int32_t y, int32_t positive, Handle text);
// An arc from start to end degrees, then back along the inner radius.
int32_t PsArcRing(IntPoint centre, int32_t outer, int32_t inner, int32_t start, int32_t end, Handle text);
// The rectangle's outline filled with the colour.
int32_t PsFillQuad(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorRef colour, Handle text);
// A ring of the given width inside the rectangle's circle, filled with the
// colour. Radii below 0 are written as 0.
int32_t PsFillRing(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t width, ColorRef colour,
                   Handle text);
