// Between packed bitmaps and the images the imaging engine works on.
//
// Working images are 8-bit indexed (pictures of 1, 4 or 8 bits, with an
// opaque colour table) or 32-bit RGB.
#pragma once

#include <cstdint>

#include <QImage>

#include "platform/global_block.h"

// The image of a packed bitmap of size bytes; null when the block is not a
// valid bitmap (see dib_block.h). depth receives the bitmap's bit count (24
// for 16 and 32 bits, which arrive converted).
QImage ImageFromPackedDib(const uint8_t* block, uint64_t size, int32_t* depth);

// A packed bitmap of the image in a new global block. Indexed images are
// written at preferredBits (1, 4 or 8) when their colour table fits it,
// else at the smallest of those it fits, and at 24 bits when preferredBits
// is 24; RGB images at 24 bits. The colour table has 1 << bits entries.
// Null when the image is null or memory runs out.
GlobalBlock PackedDibFromImage(const QImage& image, int32_t preferredBits);

// The image in a working form: indexed images keep their table with every
// entry laid over white by its alpha; other images are laid over white and
// become RGB.
QImage WorkingImage(const QImage& image);
// The bit count a working image is exported at by default: 1, 4 or 8 by
// its colour table, 24 for RGB.
int32_t WorkingImageDepth(const QImage& image);
