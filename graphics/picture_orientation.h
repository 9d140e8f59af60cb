// The orientation a camera records in a JPEG's Exif block, and turning a
// decoded picture upright by it. Phones store the sensor's rows as they
// come and only note how the phone was held; a picture shown as stored
// lies on its side.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/dib_image.h"

// The orientation (1-8) an Exif block names, 1 when it names none or
// cannot be read. data is the body of an APP1 marker, starting "Exif".
int32_t ExifOrientation(const uint8_t* data, size_t size);

// Turns a picture of 8 or 24 bits as orientation 2-8 asks; 1 and other
// values change nothing. False, with the picture as it was, when the turned
// picture could not be made.
bool TurnPictureUpright(CDibImage& image, int32_t orientation);
