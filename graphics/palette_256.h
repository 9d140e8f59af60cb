// True-colour pictures brought to one byte a pixel, for the formats that
// hold at most 256 colours (GIF, WordPerfect graphics).
#pragma once

#include <cstdint>
#include <vector>

#include <QImage>

struct PaletteColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// The picture's own colours when it has at most 256 of them, else a
// median-cut palette of 256. `indices` gets width * height entries, rows
// from the top. False when the picture is null or the quantiser fails.
bool IndexTo256Colours(const QImage& image, std::vector<uint8_t>* indices, std::vector<PaletteColour>* colours);
