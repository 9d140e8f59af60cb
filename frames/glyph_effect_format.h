// The glyph-effect record of the power-text frame, written behind the
// frame's block unchanged: 172 bytes, little-endian. The glyph-effect
// renderer owns the layout; the frame reads these fields:
//
//     0  u8   first byte of the text (0: no text)
//    64  i32  further-content indicator
//   128  u16  font id
//   142  28   paint block handed to the effect painter
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kGlyphEffectSize = 172;
constexpr size_t kGlyphEffectTextOffset = 0;
constexpr size_t kGlyphEffectContentOffset = 64;
constexpr size_t kGlyphEffectFontOffset = 128;
constexpr size_t kGlyphEffectPaintOffset = 142;
constexpr size_t kGlyphEffectPaintSize = 28;
