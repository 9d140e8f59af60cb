// Picture files of the image frame: what kind of picture a file holds, and
// loading it into a bitmap (or, for metafiles, into the metafile's bits).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "foundation/path_record.h"
#include "graphics/dib_handle.h"

class Dc;

constexpr uint32_t kImageTagPict = FourCC("PICT");
constexpr uint32_t kImageTagEmf = FourCC("EMF ");
constexpr uint32_t kImageTagWmf = FourCC("WMF ");
constexpr uint32_t kImageTagEps = FourCC("EPSF");
constexpr uint32_t kImageTagNone = FourCC("    ");

// Longest side of the bitmap a metafile is rendered into for the screen.
constexpr int32_t kMetafilePreviewSide = 300;

// Sorts a picture file into tag and kind (image_block_format.h); true when
// it is to be read as a raster picture. JPEG, PNG and icon files go by their
// extension; other files by what the imaging code recognises in them
// (PostScript is EPS, a Windows metafile is one); then ".EMF" files, and
// ".EPS"/".PS" files whose bounding-box comment reads. Anything else: four
// blanks, kind 0.
bool ImageClassifyFile(const PathRecord& path, uint32_t* tag, uint8_t* kind);

// The picture of a file as a bitmap, or null. JPEG, PNG and icons go
// through the program's decoders, other raster files through the imaging
// code, metafiles are rendered (at most kMetafilePreviewSide pixels on a
// side), and an EPS file is drawn by Ghostscript at one pixel a point, or
// gets its stand-in picture when it cannot be. Shows the wait cursor
// meanwhile. Transparency is laid over white; `alpha`, when given, gets
// the alpha a raster picture was laid over with (see CDibImage::KeepAlpha),
// empty for an opaque one. `pending`, when given, is set when the EPS
// stand-in came back because the picture is being drawn in the background
// for a painting (see EpsRenderedPreview). `why`, when given, gets the
// reader's words for a raster picture it could not read (empty when it has
// none).
DibHandle ImageLoadPicture(const PathRecord& path, uint32_t tag, Dc* reference,
                           std::vector<uint8_t>* alpha = nullptr, bool* pending = nullptr,
                           std::string* why = nullptr);
// The enhanced-metafile bits of a metafile file ('EMF ' or 'WMF '), or null.
Handle ImageLoadMetafileBits(const PathRecord& path, uint32_t tag);

// What stands for an EPS picture when Ghostscript cannot draw it: its
// bounding box (moved to the origin) in light grey with the
// file's name centred on it in Arial. Null when the file has no bounding
// box.
DibHandle EpsStandInPicture(const PathRecord& path, Dc* reference);
// The stand-in of a picture that could not be drawn, of width x height
// (plus one each way), with name centred on it the same way.
DibHandle PictureStandIn(int32_t width, int32_t height, const char* name, Dc* reference);
// The stand-in's text size for a box and a name: trunc(width / length x
// 1.4), at most half the height, at least 9.
int32_t EpsStandInFontSize(int32_t boxWidth, int32_t boxHeight, int32_t nameLength);
