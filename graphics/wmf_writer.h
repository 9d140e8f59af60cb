// Enhanced metafiles into Windows metafiles, for "export as Windows
// metafile".
//
// The enhanced metafile is played onto a recording context whose calls
// become Windows-metafile records: the same player that draws on screen
// decides every shape, and what the older format lacks is expressed with
// what it has (curves and paths as polygons and polylines, clips as region
// objects). The picture is drawn in an anisotropic window of `width` x
// `height` logical units which its frame fills; a placeable header naming
// the same size in some units per inch makes it a complete file.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/emf_reader.h"

class Dc;

// The Windows metafile bytes (its 18-byte header first) of the picture in
// a window of width x height units; false for an empty size.
bool EnhMetafileToWmfBits(const EnhMetafileRec& mf, int16_t width, int16_t height, std::vector<uint8_t>* out);

// The picture's size in units of `unitsPerInch` from its frame, and the
// units per inch that keep that size within 16 bits (1000 halved as often
// as a large frame needs).
void WmfPictureSize(const EnhMetafileRec& mf, uint16_t* unitsPerInch, int16_t* width, int16_t* height);

// The Windows metafile of the picture at 1000 units an inch (fewer for a
// frame too large for 16-bit units): with a null buffer its size, else
// the count copied when size is enough and 0 when it is not. Only the
// anisotropic mapping mode is made; others give 0.
uint32_t GetWinMetaFileBits(EnhMetafile mf, uint32_t size, uint8_t* buffer, int32_t mapMode, const Dc* reference);
