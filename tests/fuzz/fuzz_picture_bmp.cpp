// Decodes arbitrary bytes as a BMP file.

#include "graphics/dib_image.h"
#include "picture_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzPictureLoader(data, size, kPictureBmp);
    return 0;
}
