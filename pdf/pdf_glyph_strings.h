// A run of glyphs as Qt's PDF engine writes it, a line each ("dx dy Td
// <code> Tj": every glyph moved from the one before), written as one
// string shown at once: "dx dy Td [<codes>adjustment<codes>]TJ", where a
// number stands only where a glyph does not follow the one before by that
// one's width in the font. The widths are the font's (thousandths of the
// text size); the numbers are written to as many places as keep every
// glyph within a hundredth of a unit of the text space of where it was,
// and a hair after it, never before: a renderer that snaps glyphs to
// fractions of a pixel then draws a glyph put on a pixel's edge (as most
// are) on the same side of it as when it was moved there at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// `lines`: the run's lines, each ended by a line break; `widths`: one for
// each glyph; `size`: the text size in effect (no character spacing, no
// horizontal scaling). Appends the string to `out` and returns true; false,
// with `out` untouched, for lines that are not one glyph each on one
// baseline, not as many as the widths, or fewer than two.
bool WriteGlyphString(std::string_view lines, const int32_t* widths, size_t count, double size, std::string* out);
