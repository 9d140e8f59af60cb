// The value types of our device context: colours, pens, brushes, fonts and
// the constants the drawing code passes around. They keep the numbering of
// the desktop graphics interface the stored documents and the drawing code
// were written against, so values read from files mean what they meant.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

#include <QColor>
#include <QImage>

#include "foundation/int_geometry.h"

// 0x00BBGGRR: red in the low byte.
using ColorRef = uint32_t;

constexpr ColorRef MakeRgb(uint8_t r, uint8_t g, uint8_t b)
{
    return ColorRef(r) | (ColorRef(g) << 8) | (ColorRef(b) << 16);
}
constexpr uint8_t RedOf(ColorRef c) { return uint8_t(c); }
constexpr uint8_t GreenOf(ColorRef c) { return uint8_t(c >> 8); }
constexpr uint8_t BlueOf(ColorRef c) { return uint8_t(c >> 16); }
inline QColor ToQColor(ColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
inline ColorRef FromQColor(const QColor& c) { return MakeRgb(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())); }

constexpr ColorRef kBlack = 0x000000;
constexpr ColorRef kWhite = 0xFFFFFF;

// Pen styles.
enum : int32_t {
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_INSIDEFRAME = 6,
};

// Width 0 and 1 draw one device pixel whatever the mapping (a cosmetic
// pen); wider pens scale with the mapping.
struct Pen {
    int32_t style = PS_SOLID;
    int32_t width = 0;
    ColorRef color = kBlack;

    bool operator==(const Pen&) const = default;
};

// Brush styles and hatches.
enum : int32_t {
    BS_SOLID = 0,
    BS_NULL = 1,  // hollow
    BS_HATCHED = 2,
    BS_PATTERN = 3,
};
enum : int32_t {
    HS_HORIZONTAL = 0,
    HS_VERTICAL = 1,
    HS_FDIAGONAL = 2,  // down from left to right
    HS_BDIAGONAL = 3,  // up from left to right
    HS_CROSS = 4,
    HS_DIAGCROSS = 5,
};

// An 8 x 8 pattern of one bit a pixel, row 0 first, bit 7 the leftmost
// pixel. A 0 bit paints in the device context's text colour and a 1 bit in
// its background colour, taken when the brush is used; the pattern is
// aligned to the brush origin.
struct MonoPattern {
    uint8_t rows[8] = {};
    bool operator==(const MonoPattern&) const = default;
};

struct Brush {
    int32_t style = BS_SOLID;
    ColorRef color = kBlack;  // solid and hatched brushes
    int32_t hatch = HS_HORIZONTAL;
    // BS_PATTERN: a one-bit pattern (colours from the device context), or a
    // colour image tiled as it is.
    std::shared_ptr<const MonoPattern> mono;
    std::shared_ptr<const QImage> image;
    // BS_HATCHED: the device pixels each pixel of the 8 x 8 hatch takes
    // across and down. A print blows its hatches up as it does its pattern
    // bitmaps, so that a line on the screen is a line on paper.
    int32_t scale = 1;

    static Brush Solid(ColorRef c) { return Brush{BS_SOLID, c, 0, nullptr, nullptr}; }
    static Brush Hollow() { return Brush{BS_NULL, kBlack, 0, nullptr, nullptr}; }
    static Brush Hatched(int32_t hatch, ColorRef c, int32_t scale = 1)
    {
        return Brush{BS_HATCHED, c, hatch, nullptr, nullptr, scale};
    }
    static Brush Pattern(const MonoPattern& p)
    {
        return Brush{BS_PATTERN, kBlack, 0, std::make_shared<const MonoPattern>(p), nullptr};
    }
};

// Font weights and the output precisions the font records ask for.
enum : int32_t {
    FW_NORMAL = 400,
    FW_BOLD = 700,
};
enum : uint8_t {
    OUT_DEFAULT_PRECIS = 0,
    OUT_DEVICE_PRECIS = 5,
    OUT_TT_ONLY_PRECIS = 7,
};
enum : uint8_t {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
};

// A font as the drawing code describes it. A negative height is the
// character height (the em size) in logical units; a positive one is the
// cell height (ascent + descent); 0 a default size. Escapement is in
// tenths of a degree, counter-clockwise.
struct LogFont {
    int32_t height = 0;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = FW_NORMAL;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = ANSI_CHARSET;
    uint8_t outPrecision = OUT_DEFAULT_PRECIS;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    char faceName[32] = {};  // Windows-1252, zero-terminated

    // Text drawing compares the font at every character: the record's
    // bytes at once cost a fraction of its fields one by one.
    friend bool operator==(const LogFont& a, const LogFont& b) { return std::memcmp(&a, &b, sizeof(LogFont)) == 0; }
};
// Bytes compare as fields only where no padding lies between them.
static_assert(std::has_unique_object_representations_v<LogFont>);

// Text metrics of the selected font, in logical units.
struct TextMetrics {
    int32_t height = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t internalLeading = 0;
    int32_t externalLeading = 0;
    int32_t aveCharWidth = 0;
    int32_t maxCharWidth = 0;
};

// Binary raster operations (how a pen or brush combines with the pixels
// under it), 1-16.
enum : int32_t {
    R2_BLACK = 1,
    R2_NOTMERGEPEN = 2,
    R2_MASKNOTPEN = 3,
    R2_NOTCOPYPEN = 4,
    R2_MASKPENNOT = 5,
    R2_NOT = 6,
    R2_XORPEN = 7,
    R2_NOTMASKPEN = 8,
    R2_MASKPEN = 9,
    R2_NOTXORPEN = 10,
    R2_NOP = 11,
    R2_MERGENOTPEN = 12,
    R2_COPYPEN = 13,
    R2_MERGEPENNOT = 14,
    R2_MERGEPEN = 15,
    R2_WHITE = 16,
};

// Ternary raster operations for blits (source, destination, pattern).
enum : uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    SRCERASE = 0x00440328,
    NOTSRCCOPY = 0x00330008,
    NOTSRCERASE = 0x001100A6,
    MERGECOPY = 0x00C000CA,
    MERGEPAINT = 0x00BB0226,
    PATCOPY = 0x00F00021,
    PATPAINT = 0x00FB0A09,
    PATINVERT = 0x005A0049,
    DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
    DSXN = 0x00990066,  // not (source xor destination)
};

enum : int32_t {
    TRANSPARENT = 1,
    OPAQUE = 2,
};
enum : int32_t {
    ALTERNATE = 1,
    WINDING = 2,
};

// Text alignment bits.
enum : uint32_t {
    TA_NOUPDATECP = 0,
    TA_UPDATECP = 1,
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};

// Mapping modes.
enum : int32_t {
    MM_TEXT = 1,
    MM_LOMETRIC = 2,
    MM_HIMETRIC = 3,
    MM_LOENGLISH = 4,
    MM_HIENGLISH = 5,
    MM_TWIPS = 6,
    MM_ISOTROPIC = 7,
    MM_ANISOTROPIC = 8,
};

// Region combination.
enum : int32_t {
    RGN_AND = 1,
    RGN_OR = 2,
    RGN_XOR = 3,
    RGN_DIFF = 4,
    RGN_COPY = 5,
};
// Region kinds, as the region calls report them.
enum : int32_t {
    RGN_ERROR = 0,
    NULLREGION = 1,
    SIMPLEREGION = 2,
    COMPLEXREGION = 3,
};

// Device capability queries.
enum : int32_t {
    TECHNOLOGY = 2,
    HORZSIZE = 4,  // millimetres
    VERTSIZE = 6,
    HORZRES = 8,  // pixels
    VERTRES = 10,
    BITSPIXEL = 12,
    PLANES = 14,
    NUMCOLORS = 24,
    RASTERCAPS = 38,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
    PHYSICALWIDTH = 110,
    PHYSICALHEIGHT = 111,
    PHYSICALOFFSETX = 112,
    PHYSICALOFFSETY = 113,
};
enum : int32_t {
    DT_RASDISPLAY = 1,
    DT_RASPRINTER = 2,
    DT_METAFILE = 5,
};

// Point types of a path read back from the device context.
enum : uint8_t {
    PT_CLOSEFIGURE = 0x01,
    PT_LINETO = 0x02,
    PT_BEZIERTO = 0x04,
    PT_MOVETO = 0x06,
};
