// The glyph effect of a power-text frame in memory, and its codec (the
// layout is in glyph_effect_format.h).
//
// Any 172 bytes decode, and encoding what was decoded gives the same bytes
// back: a frame's record survives a round trip whatever it holds. What
// could do harm is bounded where it is used: a line's length byte above 63
// reads as 63, values out of range draw as the nearest sensible setting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "typography/glyph_effect_format.h"

enum : int16_t {
    kOutlineNone = 1,
    kOutlineThin = 2,
    kOutlineThick = 3,
    kOutlineHilited = 4,
};
enum : int16_t {
    kFillSolid = 1,
    kFillBlendAcross = 2,
    kFillBlendDown = 3,
    kFillDoubleBlendAcross = 4,
    kFillDoubleBlendDown = 5,
    kFillRadiant = 6,
};
enum : int16_t {
    kShadowNone = 1,
    kShadowDrop = 2,
    kShadowBlock = 3,
    kShadowSilhouette = 4,
};
enum : int16_t {
    kShadowLowerRight = 1,
    kShadowLowerLeft = 2,
    kShadowTopLeft = 3,
    kShadowTopRight = 4,
};
enum : uint16_t {
    kGlyphAlignLeft = 1,
    kGlyphAlignCenter = 2,
    kGlyphAlignRight = 3,
    kGlyphAlignJustified = 4,
};
enum : uint16_t {
    kGlyphHorizontal = 1,  // orientation bit 0
};
constexpr int kGlyphShapeCount = 21;

// The record's style part: outline, interior and shadow.
struct GlyphStyle {
    int16_t outlineStyle = 0;
    int16_t outlineColor = 0;
    int16_t outlineTint = 0;
    int16_t fillStyle = 0;
    int16_t fillColor = 0;
    int16_t fillTint = 0;
    int16_t blendColor = 0;
    int16_t blendTint = 0;
    int16_t shadowStyle = 0;
    int16_t shadowPosition = 0;
    int16_t shadowFill = 0;
    int16_t shadowColor = 0;
    int16_t shadowTint = 0;
    int16_t shadowBlendColor = 0;
    int16_t shadowBlendTint = 0;

    bool operator==(const GlyphStyle&) const = default;
};

struct GlyphEffect {
    uint8_t line1[kGlyphLineFieldSize] = {};
    uint8_t line2[kGlyphLineFieldSize] = {};
    int16_t fontId = 0;
    uint16_t shape = 0;
    uint16_t alignment = 0;
    uint16_t orientation = 0;
    uint8_t reserved[kGlyphReservedSize] = {};
    GlyphStyle style;

    bool operator==(const GlyphEffect&) const = default;
};

// 30 bytes.
GlyphStyle GetGlyphStyle(const uint8_t* p);
void PutGlyphStyle(uint8_t* p, const GlyphStyle& style);

// 172 bytes.
GlyphEffect GetGlyphEffect(const uint8_t* p);
void PutGlyphEffect(uint8_t* p, const GlyphEffect& effect);
// False, leaving out untouched, when fewer than 172 bytes are given.
bool DecodeGlyphEffect(const uint8_t* bytes, size_t size, GlyphEffect* out);

// A line field's text (Windows-1252), at most 63 characters.
std::string GlyphLineText(const uint8_t* field);
// Stores at most `limit` (at most 63) characters; the rest of the field
// becomes 0.
void SetGlyphLine(uint8_t* field, std::string_view text, size_t limit = kGlyphLineMax);

inline bool GlyphIsHorizontal(const GlyphEffect& e) { return (e.orientation & kGlyphHorizontal) != 0; }

// "Rectangular", "Double Arch Up", ... for shapes 1-21; null otherwise.
const char* GlyphShapeName(int shape);
