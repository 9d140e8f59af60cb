#include "graphics/imaging_formats.h"

#include <cstring>
#include <utility>

#include <QImageWriter>

#include "foundation/byte_order.h"

namespace {

const std::pair<const char*, int32_t> kQtNames[] = {
    {"bmp", kImagingBmp}, {"dib", kImagingBmp},   {"gif", kImagingGif},   {"jpeg", kImagingJpeg},
    {"jpg", kImagingJpeg}, {"tif", kImagingTiff}, {"tiff", kImagingTiff}, {"tga", kImagingTga},
    {"png", kImagingPng}, {"ico", kImagingIcon},  {"cur", kImagingIcon},  {"webp", kImagingWebp},
};

constexpr uint32_t kPlaceableMetafileKey = 0x9AC6CDD7;
constexpr uint32_t kDosEpsMagic = 0xC6D3D0C5;

}  // namespace

int32_t ImagingFormatFromQtName(const std::string& name)
{
    for (const auto& [qt, code] : kQtNames) {
        if (name == qt)
            return code;
    }
    return kImagingOtherRaster;
}

std::string ImagingWriterName(int32_t code)
{
    const char* name = nullptr;
    switch (code) {
    case kImagingBmp:
        name = "bmp";
        break;
    case kImagingJpeg:
        name = "jpeg";
        break;
    case kImagingTiff:
        name = "tiff";
        break;
    case kImagingPng:
        name = "png";
        break;
    case kImagingWebp:
        name = "webp";
        break;
    default:
        return {};
    }
    return QImageWriter::supportedImageFormats().contains(name) ? name : std::string();
}

int32_t ImagingSniffVectorFormat(const uint8_t* bytes, size_t size)
{
    if (!bytes)
        return kImagingFormatNone;
    if (size >= 4 && GetU32LE(bytes) == kPlaceableMetafileKey)
        return kImagingWindowsMetafile;
    // A bare metafile header: type 1 (memory) or 2 (disk), 9 words, version
    // 0x100 or 0x300.
    if (size >= 18) {
        const uint16_t type = GetU16LE(bytes), words = GetU16LE(bytes + 2), version = GetU16LE(bytes + 4);
        if ((type == 1 || type == 2) && words == 9 && (version == 0x100 || version == 0x300))
            return kImagingWindowsMetafile;
    }
    if (size >= 4 && GetU32LE(bytes) == kDosEpsMagic)
        return kImagingPostScript;
    if (size >= 4 && std::memcmp(bytes, "%!PS", 4) == 0)
        return kImagingPostScript;
    return kImagingFormatNone;
}
