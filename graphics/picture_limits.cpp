#include "graphics/picture_limits.h"

#include <cstring>

#include "graphics/dib_image.h"

std::string PictureTooLargeSideText(int64_t width, int64_t height)
{
    return "The picture is too large: it is " + std::to_string(width) + " by " + std::to_string(height) +
           " pixels, and a picture may have at most " + std::to_string(kDibImageMaxSide) + " on a side.";
}

bool IsPictureTooLargeText(const char* text)
{
    static constexpr char kStart[] = "The picture is too large:";
    return text && std::strncmp(text, kStart, sizeof kStart - 1) == 0;
}
