// Where the PostScript of an EPS file lies. DOS EPS files start with a
// 32-byte binary header (magic C5 D0 D3 C6) giving the offset and length of
// the PostScript section beside previews; any other file is PostScript
// from its first byte to its last.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"

constexpr uint32_t kDosEpsMagic = 0xC6D3D0C5;
constexpr uint32_t kDosEpsHeaderSize = 32;

// Reads the header of the open file and gives the section's offset and
// length, clamped to the file: an offset past the end gives an empty
// section, a length past the end is cut there. 0 or the file layer's code.
int32_t EpsLocateSection(FileHandle file, uint32_t* offset, uint32_t* length);
