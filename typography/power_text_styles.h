// The stored power-text styles: the list the styles dialog steps through,
// kept in "QX_PTStyles.dat" in the program folder (layout in
// glyph_effect_format.h) and, in memory, in a Handle of 30-byte style
// parts in list order.
//
// The file is read bounded by its real size: only whole styles that are
// there are taken, so a short, cut or damaged file yields the styles it
// holds (an empty list for one shorter than its length field). Writing
// puts a complete new file in place of the old one, so a failed save never
// leaves a damaged file behind.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "typography/glyph_effect.h"

constexpr char kPowerTextStylesFile[] = "QX_PTStyles.dat";

// The styles the program comes with, as a whole file: 21 styles, 634 bytes.
std::vector<uint8_t> BuiltInPowerTextStyles();

// Reads the file's styles into list (resized to hold exactly them). A file
// with no whole style leaves list as it was. 0, or the file layer's code
// (-1 without memory) with list as it was.
int32_t ReadPowerTextStyles(FileHandle file, Handle list);
// Writes the length field and the styles at the file's position; an empty
// list writes nothing. 0 or the code.
int32_t WritePowerTextStyles(FileHandle file, Handle list);

// The number of whole styles in list.
int32_t PowerTextStyleCount(Handle list);
// Style n (1-based) of list; false when there is none.
bool GetPowerTextStyle(Handle list, int32_t n, GlyphStyle* style);
void SetPowerTextStyle(Handle list, int32_t n, const GlyphStyle& style);
// 1-based number of the first stored style equal to style byte for byte;
// -1 when none is (or the list is empty).
int16_t FindPowerTextStyle(Handle list, const GlyphStyle& style);

// The styles file of the program folder.
int32_t PowerTextStylesPath(PathRecord* path);
// Writes the built-in styles to path when nothing is there. 0 or the code.
int32_t EnsurePowerTextStylesFile(const PathRecord& path);
// Loads the styles of the file at path into list. 0 or the code.
int32_t LoadPowerTextStyles(const PathRecord& path, Handle list);
// Replaces the file at path by one holding list (0 bytes for an empty
// list). 0 or the code; the old file is untouched on failure.
int32_t SavePowerTextStyles(const PathRecord& path, Handle list);
