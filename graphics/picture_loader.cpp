#include "graphics/picture_loader.h"

#include <cctype>
#include <cstring>
#include <string>

std::unique_ptr<PictureLoader> MakePictureLoader(int32_t type)
{
    switch (type) {
    case kPictureBmp: return MakeBmpLoader();
    case kPictureGif: return MakeGifLoader();
    case kPictureJpeg: return MakeJpegLoader();
    case kPicturePng: return MakePngLoader();
    case kPictureIco: return MakeIcoLoader();
    case kPictureTiff: return MakeTiffLoader();
    default: return nullptr;
    }
}

int32_t PictureTypeFromContent(const uint8_t* data, size_t size)
{
    for (int32_t type = kPictureBmp; type <= kPictureTiff; ++type) {
        if (MakePictureLoader(type)->sniff(data, size))
            return type;
    }
    return -1;
}

int32_t PictureTypeFromExtension(const char* path)
{
    const char* dot = path ? std::strrchr(path, '.') : nullptr;
    if (!dot || std::strchr(dot, '/'))
        return -1;
    std::string ext;
    for (const char* p = dot + 1; *p; ++p)
        ext += char(std::toupper(static_cast<unsigned char>(*p)));
    if (ext == "BMP" || ext == "DIB")
        return kPictureBmp;
    if (ext == "GIF")
        return kPictureGif;
    if (ext == "JPG" || ext == "JPEG" || ext == "JPE" || ext == "JFIF")
        return kPictureJpeg;
    if (ext == "PNG")
        return kPicturePng;
    if (ext == "ICO")
        return kPictureIco;
    if (ext == "TIF" || ext == "TIFF")
        return kPictureTiff;
    return -1;
}
