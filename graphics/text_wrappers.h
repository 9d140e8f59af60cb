// Font selection, metrics and text output on a device context, one
// character or run at a time. Text is Windows-1252 bytes; a carriage
// return (13) ends a paragraph and is neither measured nor drawn.
#pragma once

#include <cstdint>

class Dc;
struct LogFont;

// Each selects a changed copy of the selected font.
// Character height n (the negative height); the width is kept.
void SelectFontSize(int32_t n, Dc* dc);
// Face, character set, output and clip precision, quality and pitch and
// family from the description; width 0.
void SelectFontFaceAndStyle(const LogFont& description, Dc* dc);
// Face name only (Windows-1252, at most 31 bytes kept); width 0.
void SelectFontFace(const char* faceName, Dc* dc);
// Bold (1), italic (2), underline (4); no strike-out.
void SelectFontStyle(uint32_t style, Dc* dc);

// Ascent, descent, widest character and external leading of the selected
// font.
void ReadFontMetrics(int16_t out[4], Dc* dc);

// The width of one character; 0 for a carriage return.
int32_t MeasureChar(uint8_t ch, Dc* dc);
// The width of count characters from start; a final carriage return is
// not measured.
int32_t MeasureText(const char* text, int32_t start, int32_t count, Dc* dc);

// Draw at (0, 0), which is the current position when the text alignment
// updates it (the callers set it so).
void OutputChar(uint8_t ch, Dc* dc);
void OutputText(const char* text, int32_t start, int32_t count, Dc* dc);

// Lower-cases count bytes in place (the code page's letters).
void LowerCaseBuffer(char* text, int32_t count);
