// The program's own picture file writers: the export formats that Qt has
// no writer for. Each turns a picture into the whole bytes of one file, so
// that the caller can put them in place in one step and a failed write
// never leaves half a file behind.
//
// Pictures come at any QImage format and are written in true colour
// (GIF: 256 colours); sides beyond what a format's header can hold are
// refused.
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QImage>

// false, with out left empty, when the picture is null or too large for
// the format, or the encoder fails.
using PictureWriter = bool (*)(const QImage& image, QByteArray* out);

// The writer for a format code of graphics/imaging_formats.h; null for the
// formats Qt writes and for those nothing here writes.
PictureWriter OwnPictureWriter(int32_t format);

// 256 colours through giflib: the picture's own colours when it has no
// more than 256, else a median-cut palette.
bool WriteGifPicture(const QImage& image, QByteArray* out);
// Uncompressed 24-bit Targa, rows from the bottom, with the version 2
// footer.
bool WriteTgaPicture(const QImage& image, QByteArray* out);
// 24-bit PCX: three planes of 8 bits, each row of each plane run-length
// encoded on its own.
bool WritePcxPicture(const QImage& image, QByteArray* out);
// 24-bit Sun raster of the standard type (blue, green, red).
bool WriteSunRasterPicture(const QImage& image, QByteArray* out);
// Black-and-white formats: each pixel darker than mid grey is ink.
// Macintosh PICT version 2 holding one PackBits bitmap.
bool WritePictPicture(const QImage& image, QByteArray* out);
// Microsoft Paint, first version, uncompressed.
bool WriteMsPaintPicture(const QImage& image, QByteArray* out);
// CALS raster of type 1, CCITT Group 4 coded through libtiff.
bool WriteCalsPicture(const QImage& image, QByteArray* out);
// A GEM bit image of one plane.
bool WriteGemImagePicture(const QImage& image, QByteArray* out);
// An IOCA image segment of one bilevel image, uncompressed.
bool WriteIocaPicture(const QImage& image, QByteArray* out);
// WordPerfect graphics, version 1: one 8-bit bitmap in 256 colours.
bool WriteWpgPicture(const QImage& image, QByteArray* out);
// An encapsulated PostScript file holding the picture as a raster, one
// point per pixel: the bounding box is (0, 0, width, height).
bool WriteEpsPicture(const QImage& image, QByteArray* out);
