// A paragraph's effective formats: its style's paragraph format, base
// format and tabs, changed by the paragraph's own override block and tab
// block; and the editing of the override block.
//
// The override block (22 bytes, only with paragraph flag 0x40): a u16 flag
// word, then ten values that count only when their bit is set:
//
//   2 i16 leading relative to the style's size (0x200)   4 left (0x40)
//   6 right (0x80)   8 first line (0x100)   10 leading (0x1)
//  12 line-spacing kind (0x400)   14 space before (0x20)   16 after (0x10)
//  18 u8 keep with next (0x4)   19 u8 keep together (0x8)   20 alignment (0x2)
#pragma once

#include <array>
#include <cstdint>

#include "frames/paragraph_text.h"
#include "frames/style_record_format.h"
#include "frames/style_run_format.h"

class StyleSheet;

enum : uint16_t {
    kOverLeading = 0x1,
    kOverAlignment = 0x2,
    kOverKeepNext = 0x4,
    kOverKeepTogether = 0x8,
    kOverSpaceAfter = 0x10,
    kOverSpaceBefore = 0x20,
    kOverLeftIndent = 0x40,
    kOverRightIndent = 0x80,
    kOverFirstIndent = 0x100,
    kOverRelativeLeading = 0x200,
    kOverLineSpacing = 0x400,
};

// The ten words of a style's base format, in the order of the run bits
// (super/subscript, caps, font, size, style, colour, shade, pair spacing,
// range spacing, baseline shift).
using BaseFormat = std::array<int16_t, kAttributeCount>;

BaseFormat ReadBaseFormat(StyleSheet* styles, uint32_t styleId);

// The style's format with the paragraph's overrides. A style the sheet does
// not know gives the default style's format and nothing more. Alignment 4
// is reported as 5 while the document's justify preference is set.
ParaFormat EffectiveParaFormat(StyleSheet* styles, const ParagraphText& para, bool justify);
// The style's tabs, or the paragraph's own stops when its block is set;
// stops at or beyond the rectangle's width are emptied.
void EffectiveTabs(StyleSheet* styles, const ParagraphText& para, int32_t rectWidth, uint8_t* out130);

uint16_t OverrideFlags(const ParagraphText& para);
// Sets one override field (adding the block when there is none); false
// when the Handle could not grow.
bool SetOverrideField(ParagraphText* para, uint16_t bit, int16_t value);
// Clears one; the block goes when no bit is left.
void ClearOverrideField(ParagraphText* para, uint16_t bit);

// Kind 3 or 4 sets the override, any other kind clears it.
bool SetParagraphLineSpacing(ParagraphText* para, int16_t kind);
