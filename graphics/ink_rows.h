// Pictures as the black-and-white export formats take them: each row
// packed to bits, the first pixel in the high bit, 1 for a dark pixel
// (darker than mid grey), and the row padded with 0 to a whole number of
// units. Formats that mean white by 1 invert the bytes as they write them.
#pragma once

#include <cstdint>
#include <vector>

#include <QImage>

struct InkRows {
    int width = 0;
    int height = 0;
    uint32_t rowBytes = 0;
    std::vector<uint8_t> bits;

    const uint8_t* row(int y) const { return bits.data() + size_t(y) * rowBytes; }
    uint8_t* row(int y) { return bits.data() + size_t(y) * rowBytes; }
};

// Rows of `unit` bytes at a time (1, 2, ...); empty for a null picture.
InkRows MakeInkRows(const QImage& image, uint32_t unit = 1);
