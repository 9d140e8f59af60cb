// The bitmap body shared by bitmap files and the bitmap entries of icons:
// an info header, optional channel masks, a colour table and the rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/dib_image.h"

struct DibBodyOptions {
    // Icons store the colour rows and the AND mask under one header whose
    // height counts both; only the upper half is the picture.
    bool iconHeight = false;
    // Icons of 32 bits carry alpha: composite it over the picture
    // background. Bitmap files keep their colours as stored.
    bool compositeAlpha = false;
    // Offset of the first row from the start of data, as a file header
    // gives it; 0 means right behind the colour table.
    uint64_t pixelOffset = 0;
};

// Decodes the bitmap body in data[0, size) into image: 1, 4 and 8 bits stay
// palette pictures, 16, 24 and 32 bits become 24. Rows stored top-down are
// turned over, run-length coded 4- and 8-bit rows are expanded. A short body
// gives a picture of the rows it holds (those a run-length body reaches);
// one that holds no row is refused. False for a header it cannot take,
// with the error text set where there is one.
bool DecodeDibBody(const uint8_t* data, size_t size, const DibBodyOptions& options, CDibImage& image);
