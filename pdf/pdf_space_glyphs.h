// The space in the ToUnicode maps of the fonts Qt's PDF engine embeds.
// The engine tells each glyph's character by asking the face for the
// glyph of every code point in turn and keeping the first that draws it;
// a face gives its space glyph for the tab too, and the tab comes first.
// So every map sends the space glyph to U+0009, and a reader that trusts
// the map (text extraction, copy and paste, search) takes each space for a
// tab. No text is drawn as a tab; the space glyph is a space.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Where the maps among the bytes name U+0009 as a glyph's character: the
// offset of each "<0009>" that stands for a single glyph, to be written
// "<0020>" in its place (the same length, so nothing else moves). A range
// that counts up from U+0009 over several glyphs is left as it is.
std::vector<size_t> TabsForSpaceInToUnicodeMaps(std::string_view bytes);
