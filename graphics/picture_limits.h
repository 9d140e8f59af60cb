// How large a picture a file may make. Every loader checks the size a file
// declares against it before it reserves memory, and a compressed format
// that could expand a small file into a huge picture stops there. The
// largest camera sensors and flatbed scans at their full resolution stay
// well below it.
#pragma once

#include <cstdint>
#include <string>

constexpr uint64_t kPictureMaxPixels = uint64_t(1) << 28;

// The longest side a sheet needs: 14 inches (legal paper) at the 600 dots
// per inch jobs print at. A picture beyond the limit is read reduced to
// about this much where its format allows.
constexpr int32_t kPictureLongestPageSide = 14 * 600;

// What the user is told about a picture beyond the limit.
constexpr const char kPictureTooLargeText[] = "The picture is too large: it has more than 268 million pixels.";
// What the user is told about a picture longer on a side than any picture
// may be: its size, which the user can check against the file.
std::string PictureTooLargeSideText(int64_t width, int64_t height);
// Whether a decoder's error text says the picture is beyond the limits,
// which no other reader is to try either.
bool IsPictureTooLargeText(const char* text);
// What the user is told about a file that holds no pixel of the picture it
// declares.
constexpr const char kPictureNoPixelsText[] = "The picture file holds none of the picture's pixels.";

inline bool PicturePixelsAllowed(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && uint64_t(width) * uint64_t(height) <= kPictureMaxPixels;
}
