// A photograph's pixels as JPEG data, for an image read through a
// "/DCTDecode filter".
#pragma once

#include <string>

class QImage;

// The picture's pixels (alpha left aside) as a baseline JPEG file's bytes,
// three components, at the quality the PDF output gives photographs; empty
// when they cannot be written. Baseline, as every PostScript printer's
// filter reads; a progressive file only some do.
std::string PsJpegBytes(const QImage& picture);
