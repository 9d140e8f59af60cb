// Where the font list and the font table learn which fonts exist: the
// installed-font enumeration and font realisation of the device the fonts
// are listed for (the default printer's, or the screen's without one).
//
// Both keep the numbering and the rules of the desktop font interfaces the
// stored font descriptions were written against, so a face found here means
// what it meant in the documents: font types, character-set codes and
// pitch-and-family bytes are the desktop's.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/gdi_types.h"

// Font type bits of an enumerated font.
enum : uint32_t {
    RASTER_FONTTYPE = 1,
    DEVICE_FONTTYPE = 2,
    TRUETYPE_FONTTYPE = 4,
};

// Pitch and family bytes: the pitch in the low two bits, the family in the
// high four.
enum : uint8_t {
    FIXED_PITCH = 1,
    VARIABLE_PITCH = 2,
    FF_DONTCARE = 0x00,
    FF_ROMAN = 0x10,
    FF_SWISS = 0x20,
    FF_MODERN = 0x30,
    FF_SCRIPT = 0x40,
    FF_DECORATIVE = 0x50,
};

// The pitch-and-family byte of realised text metrics: bit 0 set means a
// variable pitch.
enum : uint8_t {
    TMPF_FIXED_PITCH = 1,
    TMPF_VECTOR = 2,
    TMPF_TRUETYPE = 4,
    TMPF_DEVICE = 8,
};

// One call of the enumeration.
struct EnumeratedFont {
    // The face name, its character set and its pitch and family.
    LogFont logFont;
    // The script name of the character set ("Western", "Cyrillic", ...),
    // Windows-1252, zero-terminated.
    char script[32] = {};
    // TrueType: the em square in design units.
    uint32_t emSize = 0;
    // A size of a raster face, in device pixels.
    int32_t height = 0;
    int32_t internalLeading = 0;
};

// Returns 0 to stop the enumeration.
using FontEnumProc = std::function<int32_t(const EnumeratedFont& font, uint32_t fontType)>;

// What a device supplies for a requested font.
struct RealizedFont {
    uint8_t pitchAndFamily = 0;  // TMPF_* bits with the family
    uint8_t charSet = 0;
    char faceName[32] = {};  // the face as the device names it
};

class FontSource {
public:
    virtual ~FontSource() = default;

    // True when the fonts are the default printer's.
    virtual bool OnPrinter() const = 0;
    // Vertical dots per inch of the device.
    virtual int32_t LogPixelsY() const = 0;
    // With an empty face name in the filter: one call per face and
    // character set; with a face name: one call per character set and
    // style of that face (and per size of a raster face). Only the
    // filter's character set is reported unless it is DEFAULT_CHARSET.
    // Stops when proc returns 0. Returns proc's last result, 1 when it was
    // never called.
    virtual int32_t EnumFontFamiliesEx(const LogFont& filter, const FontEnumProc& proc) const = 0;
    // The font the device realises for a request; false when no font can
    // be made.
    virtual bool RealizeFont(const LogFont& request, RealizedFont* out) const = 0;
};

// The fonts installed on this computer, unless a test put others in place.
const FontSource& CurrentFontSource();
// Puts another source in place (tests; the caller keeps it alive); null
// goes back to the installed fonts.
void SetFontSource(const FontSource* source);
