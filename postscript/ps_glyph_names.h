// The standard PostScript names of the characters of Windows-1252.
//
// A glyph shown under its standard name can be read back as the character
// it draws: Ghostscript (and so a PDF made from a PostScript job, by ps2pdf
// or a PDF-making print queue) and other converters map these names to
// Unicode. A glyph under a made-up name reads as its slot number instead.
#pragma once

#include <cstdint>

// The name of the character of a byte ("space", "A", "quoteright",
// "Eacute"), or nullptr for the control bytes and the five bytes the code
// page leaves undefined.
const char* PsGlyphNameOf(uint8_t byte);
