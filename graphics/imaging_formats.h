// The picture file formats of the imaging code and their numeric codes.
//
// The codes are the ones the picture export settings store (the format
// column of the export table) and the ones the picture classification
// tests (15 a Windows metafile, 16 PostScript). Codes from 100 up are our
// own, for formats read here that those tables do not list.
#pragma once

#include <cstdint>
#include <string>

enum : int32_t {
    kImagingFormatNone = 0,
    kImagingPcx = 1,
    kImagingGif = 2,
    kImagingTiff = 3,
    kImagingTga = 4,
    kImagingBmp = 6,
    kImagingJpeg = 10,
    kImagingWindowsMetafile = 15,
    kImagingPostScript = 16,
    kImagingLead = 20,
    kImagingCals = 50,
    kImagingGemImage = 52,
    kImagingMsPaint = 53,
    kImagingWordPerfect = 54,
    kImagingSunRaster = 55,
    kImagingMacPict = 56,
    kImagingWinFax = 69,
    kImagingIoca = 71,
    kImagingPng = 100,
    kImagingIcon = 101,
    kImagingWebp = 102,
    kImagingOtherRaster = 103,
};

// The code of a format Qt reads, by Qt's name for it ("bmp", "jpeg", ...);
// kImagingOtherRaster for names without a code of their own.
int32_t ImagingFormatFromQtName(const std::string& name);
// Qt's name of the writer for a code; empty when no writer here takes it.
std::string ImagingWriterName(int32_t code);
// The formats recognised from their first bytes without being read as
// pictures: Windows metafiles (with or without the placeable header) and
// PostScript (text or the binary DOS header). kImagingFormatNone otherwise.
int32_t ImagingSniffVectorFormat(const uint8_t* bytes, size_t size);
