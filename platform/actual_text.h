// What a PDF reader is told a turned run of text says. A reader finds a
// page's words from where their glyphs stand, and takes the glyphs of a
// line whose baseline climbs or falls (text turned by anything but a
// quarter turn) for words of a letter each. Such a run goes out inside a
// marked-content span whose /ActualText holds the run's characters, which
// readers take whole in place of its glyphs. Straight and quarter-turned
// text reads whole as it is and goes without.
#pragma once

#include <string>
#include <string_view>

class QTransform;

// Whether text placed by the transform runs aslant on the page.
bool RunsAslant(const QTransform& t);
// Windows-1252 characters as the bytes of a PDF text string: as they are
// when plain ASCII, otherwise UTF-16BE after its byte-order mark.
std::string PdfTextString(std::string_view chars);
