// picture FILE OUT.bmp: decodes a picture file with the program's own
// loaders and writes it as a 24-bit bitmap file, so that what the program
// sees can be compared with other tools.

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/dib_format.h"
#include "graphics/dib_image.h"
#include "graphics/picture_loader.h"
#include "tool_command.h"

namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>* out)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        out->insert(out->end(), buffer, buffer + n);
        if (out->size() > kDibMaxBlockSize)
            break;
    }
    const bool ok = !std::ferror(f) && out->size() <= kDibMaxBlockSize;
    std::fclose(f);
    return ok;
}

// The colour of pixel x in a row of the picture, blue first.
void PixelBgr(const CDibImage& image, const uint8_t* row, int32_t x, uint8_t* out)
{
    const int32_t bits = image.GetBitCount();
    if (bits == 24) {
        out[0] = row[3 * x];
        out[1] = row[3 * x + 1];
        out[2] = row[3 * x + 2];
        return;
    }
    uint32_t index = 0;
    if (bits == 8)
        index = row[x];
    else if (bits == 4)
        index = (x & 1) ? row[x / 2] & 0x0F : row[x / 2] >> 4;
    else
        index = (row[x / 8] >> (7 - x % 8)) & 1;
    const uint8_t* entry = image.Palette() + 4 * index;
    out[0] = entry[0];
    out[1] = entry[1];
    out[2] = entry[2];
}

bool WriteBmp24(const CDibImage& image, const std::string& path)
{
    const int32_t width = image.GetWidth();
    const int32_t height = image.GetHeight();
    const uint32_t stride = (uint32_t(width) * 24 + 31) / 32 * 4;
    const uint64_t imageSize = uint64_t(stride) * uint32_t(height);
    const uint64_t fileSize = 14 + 40 + imageSize;
    if (fileSize > UINT32_MAX)
        return false;
    std::vector<uint8_t> file(size_t(fileSize), 0);
    uint8_t* p = file.data();
    p[0] = 'B';
    p[1] = 'M';
    PutU32LE(p + 2, uint32_t(fileSize));
    PutU32LE(p + 10, 54);
    PutU32LE(p + 14, 40);
    PutI32LE(p + 18, width);
    PutI32LE(p + 22, height);
    PutU16LE(p + 26, 1);
    PutU16LE(p + 28, 24);
    PutU32LE(p + 34, uint32_t(imageSize));
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* src = image.RowFromTop(y);
        uint8_t* dst = p + 54 + size_t(height - 1 - y) * stride;
        for (int32_t x = 0; x < width; ++x)
            PixelBgr(image, src, x, dst + 3 * x);
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int RunPicture(const ToolArgs& args)
{
    if (args.size() != 2)
        return ToolFail("usage: picture FILE OUT.bmp");
    std::vector<uint8_t> bytes;
    if (!ReadFile(args[0], &bytes))
        return ToolFail("picture: cannot read " + args[0]);
    int32_t type = PictureTypeFromContent(bytes.data(), bytes.size());
    if (type < 0)
        type = PictureTypeFromExtension(args[0].c_str());
    if (type < 0)
        return ToolFail("picture: not a picture format the program reads: " + args[0]);
    CDibImage image;
    if (!image.DibLoadBytesByType(bytes.data(), bytes.size(), type)) {
        const std::string why = image.ErrorText()[0] ? std::string(": ") + image.ErrorText() : std::string();
        return ToolFail("picture: cannot decode " + args[0] + why);
    }
    if (!WriteBmp24(image, args[1]))
        return ToolFail("picture: cannot write " + args[1]);
    return 0;
}

TESSALINE_TOOL_COMMAND("picture", "picture FILE OUT.bmp", RunPicture);
