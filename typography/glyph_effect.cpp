#include "typography/glyph_effect.h"

#include <algorithm>
#include <cstring>

#include "foundation/byte_order.h"

namespace {

// The style fields in stored order.
int16_t GlyphStyle::*const kStyleFields[kGlyphStyleFieldCount] = {
    &GlyphStyle::outlineStyle, &GlyphStyle::outlineColor,     &GlyphStyle::outlineTint,
    &GlyphStyle::fillStyle,    &GlyphStyle::fillColor,        &GlyphStyle::fillTint,
    &GlyphStyle::blendColor,   &GlyphStyle::blendTint,        &GlyphStyle::shadowStyle,
    &GlyphStyle::shadowPosition, &GlyphStyle::shadowFill,     &GlyphStyle::shadowColor,
    &GlyphStyle::shadowTint,   &GlyphStyle::shadowBlendColor, &GlyphStyle::shadowBlendTint,
};

const char* const kShapeNames[kGlyphShapeCount] = {
    "Rectangular",     "Double Arch Up",  "Double Arch Down", "Arc Up",       "Arc Down",
    "Top Arch",        "Bottom Arch",     "Round Top",        "Round Bottom", "Squeeze",
    "Balloon",         "Perspective Right", "Perspective Left", "Fan",        "Receding",
    "Angle Up",        "Angle Down",      "Slant Left",       "Slant Right",  "Pennant Right",
    "Pennant Left",
};

}  // namespace

GlyphStyle GetGlyphStyle(const uint8_t* p)
{
    GlyphStyle s;
    for (size_t i = 0; i < kGlyphStyleFieldCount; ++i)
        s.*kStyleFields[i] = GetI16LE(p + 2 * i);
    return s;
}

void PutGlyphStyle(uint8_t* p, const GlyphStyle& style)
{
    for (size_t i = 0; i < kGlyphStyleFieldCount; ++i)
        PutI16LE(p + 2 * i, style.*kStyleFields[i]);
}

GlyphEffect GetGlyphEffect(const uint8_t* p)
{
    GlyphEffect e;
    std::memcpy(e.line1, p + kGlyphLine1Offset, kGlyphLineFieldSize);
    std::memcpy(e.line2, p + kGlyphLine2Offset, kGlyphLineFieldSize);
    e.fontId = GetI16LE(p + kGlyphFontIdOffset);
    e.shape = GetU16LE(p + kGlyphShapeOffset);
    e.alignment = GetU16LE(p + kGlyphAlignmentOffset);
    e.orientation = GetU16LE(p + kGlyphOrientationOffset);
    std::memcpy(e.reserved, p + kGlyphReservedOffset, kGlyphReservedSize);
    e.style = GetGlyphStyle(p + kGlyphStyleOffset);
    return e;
}

void PutGlyphEffect(uint8_t* p, const GlyphEffect& e)
{
    std::memcpy(p + kGlyphLine1Offset, e.line1, kGlyphLineFieldSize);
    std::memcpy(p + kGlyphLine2Offset, e.line2, kGlyphLineFieldSize);
    PutI16LE(p + kGlyphFontIdOffset, e.fontId);
    PutU16LE(p + kGlyphShapeOffset, e.shape);
    PutU16LE(p + kGlyphAlignmentOffset, e.alignment);
    PutU16LE(p + kGlyphOrientationOffset, e.orientation);
    std::memcpy(p + kGlyphReservedOffset, e.reserved, kGlyphReservedSize);
    PutGlyphStyle(p + kGlyphStyleOffset, e.style);
}

bool DecodeGlyphEffect(const uint8_t* bytes, size_t size, GlyphEffect* out)
{
    if (!bytes || size < kGlyphRecordSize)
        return false;
    *out = GetGlyphEffect(bytes);
    return true;
}

std::string GlyphLineText(const uint8_t* field)
{
    // The length byte may claim more than the field holds; the text then
    // ends with the field rather than in the next one.
    // The text also ends at a 0 byte, as the zero-terminated copies it
    // went through always made it.
    const size_t n = std::min<size_t>(field[0], kGlyphLineMax);
    const char* text = reinterpret_cast<const char*>(field + 1);
    return std::string(text, strnlen(text, n));
}

void SetGlyphLine(uint8_t* field, std::string_view text, size_t limit)
{
    const size_t n = std::min({text.size(), limit, kGlyphLineMax});
    std::memset(field, 0, kGlyphLineFieldSize);
    field[0] = uint8_t(n);
    std::memcpy(field + 1, text.data(), n);
}

const char* GlyphShapeName(int shape)
{
    return shape >= 1 && shape <= kGlyphShapeCount ? kShapeNames[shape - 1] : nullptr;
}
