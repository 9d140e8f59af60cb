#include "picture_test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "foundation/byte_order.h"

std::vector<uint8_t> PictureRgb(const CDibImage& image)
{
    // Sized once and filled in place: pictures of tens of millions of
    // pixels pass through here, in suites built without optimisation and
    // with the address checker.
    std::vector<uint8_t> out(size_t(std::max(image.GetWidth(), 0)) * size_t(std::max(image.GetHeight(), 0)) * 3);
    uint8_t* to = out.data();
    const int32_t bits = image.GetBitCount();
    for (int32_t y = 0; y < image.GetHeight(); ++y) {
        const uint8_t* row = image.RowFromTop(y);
        for (int32_t x = 0; x < image.GetWidth(); ++x, to += 3) {
            const uint8_t* bgr = row + 3 * x;
            if (bits != 24) {
                const uint32_t index = bits == 8   ? row[x]
                                       : bits == 4 ? ((x & 1) ? row[x / 2] & 0x0F : row[x / 2] >> 4)
                                                   : (row[x / 8] >> (7 - x % 8)) & 1;
                bgr = image.Palette() + 4 * index;
            }
            to[0] = bgr[2];
            to[1] = bgr[1];
            to[2] = bgr[0];
        }
    }
    return out;
}

std::vector<uint8_t> MakeTestGif(int32_t width, int32_t height, const std::vector<uint8_t>& indices,
                                 const std::vector<uint8_t>& rgbTable, bool interlaced, int32_t transparent)
{
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    auto u16 = [&gif](uint32_t v) {
        gif.push_back(uint8_t(v));
        gif.push_back(uint8_t(v >> 8));
    };
    int entries = 2, flags = 0;
    while (entries < int(rgbTable.size() / 3)) {
        entries *= 2;
        ++flags;
    }
    u16(uint32_t(width));
    u16(uint32_t(height));
    gif.insert(gif.end(), {uint8_t(0x80 | flags), 0, 0});
    gif.insert(gif.end(), rgbTable.begin(), rgbTable.end());
    gif.resize(gif.size() + size_t(entries) * 3 - rgbTable.size(), 0);
    if (transparent >= 0)
        gif.insert(gif.end(), {0x21, 0xF9, 4, 1, 0, 0, uint8_t(transparent), 0});
    gif.push_back(0x2C);
    u16(0);
    u16(0);
    u16(uint32_t(width));
    u16(uint32_t(height));
    gif.push_back(interlaced ? 0x40 : 0);

    std::vector<int32_t> order;
    if (interlaced) {
        const int32_t start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int32_t y = start[pass]; y < height; y += step[pass])
                order.push_back(y);
    } else {
        for (int32_t y = 0; y < height; ++y)
            order.push_back(y);
    }
    // Code width 9 throughout: a clear code before the table would grow.
    const uint32_t clear = 256;
    std::vector<uint32_t> codes = {clear};
    int run = 0;
    for (int32_t y : order) {
        for (int32_t x = 0; x < width; ++x) {
            if (run == 254) {
                codes.push_back(clear);
                run = 0;
            }
            codes.push_back(indices[size_t(y) * width + x]);
            ++run;
        }
    }
    codes.push_back(clear + 1);
    std::vector<uint8_t> packed;
    uint32_t acc = 0;
    int bits = 0;
    for (uint32_t c : codes) {
        acc |= c << bits;
        bits += 9;
        while (bits >= 8) {
            packed.push_back(uint8_t(acc));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits)
        packed.push_back(uint8_t(acc));
    gif.push_back(8);
    for (size_t i = 0; i < packed.size(); i += 255) {
        const size_t n = packed.size() - i < 255 ? packed.size() - i : 255;
        gif.push_back(uint8_t(n));
        gif.insert(gif.end(), packed.begin() + long(i), packed.begin() + long(i + n));
    }
    gif.push_back(0);
    gif.push_back(0x3B);
    return gif;
}

std::vector<uint8_t> MakeTestBmp(int32_t width, int32_t height, bool fileHeader)
{
    const uint32_t stride = (uint32_t(width) * 24 + 31) / 32 * 4;
    const size_t offset = fileHeader ? 14 : 0;
    std::vector<uint8_t> out(offset + 40 + size_t(stride) * uint32_t(height), 0);
    uint8_t* p = out.data();
    if (fileHeader) {
        p[0] = 'B';
        p[1] = 'M';
        PutU32LE(p + 2, uint32_t(out.size()));
        PutU32LE(p + 10, 54);
    }
    uint8_t* h = p + offset;
    PutU32LE(h, 40);
    PutI32LE(h + 4, width);
    PutI32LE(h + 8, height);
    PutU16LE(h + 12, 1);
    PutU16LE(h + 14, 24);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* px = h + 40 + size_t(y) * stride + 3 * size_t(x);
            px[0] = uint8_t(x * 10);
            px[1] = uint8_t(y * 20);
            px[2] = uint8_t(x + y);
        }
    return out;
}

namespace {

// libjpeg compressing an image of the size into memory, its parameters
// set to the defaults at the quality; Finish gives the file's bytes.
struct MemoryJpeg {
    MemoryJpeg(int32_t width, int32_t height, bool colour, int quality)
    {
        c.err = jpeg_std_error(&errors);
        jpeg_create_compress(&c);
        jpeg_mem_dest(&c, &out, &size);
        c.image_width = JDIMENSION(width);
        c.image_height = JDIMENSION(height);
        c.input_components = colour ? 3 : 1;
        c.in_color_space = colour ? JCS_RGB : JCS_GRAYSCALE;
        jpeg_set_defaults(&c);
        jpeg_set_quality(&c, quality, TRUE);
    }
    std::vector<uint8_t> Finish()
    {
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
        std::vector<uint8_t> bytes(out, out + size);
        std::free(out);
        return bytes;
    }

    jpeg_compress_struct c;
    jpeg_error_mgr errors;
    unsigned char* out = nullptr;
    unsigned long size = 0;
};

}  // namespace

std::vector<uint8_t> MakeTestJpeg(int32_t width, int32_t height, bool colour, bool progressive)
{
    MemoryJpeg jpeg(width, height, colour, 90);
    jpeg_compress_struct& c = jpeg.c;
    if (progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(size_t(width) * size_t(c.input_components));
    while (c.next_scanline < c.image_height) {
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = uint8_t(i * 7 + c.next_scanline * 13);
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    return jpeg.Finish();
}

std::vector<uint8_t> MakeExifJpeg(int32_t width, int32_t height, const std::vector<uint8_t>& rgb,
                                  int32_t orientation, bool bigEndian)
{
    MemoryJpeg jpeg(width, height, true, 95);
    jpeg_compress_struct& c = jpeg.c;
    jpeg_start_compress(&c, TRUE);
    if (orientation > 0) {
        // "Exif\0\0", a TIFF header, and a first directory holding a
        // resolution unit before the orientation, as cameras write it.
        auto u16 = [bigEndian](std::vector<uint8_t>& b, uint16_t v) {
            if (bigEndian)
                b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)});
            else
                b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)});
        };
        auto u32 = [&](std::vector<uint8_t>& b, uint32_t v) {
            if (bigEndian) {
                u16(b, uint16_t(v >> 16));
                u16(b, uint16_t(v));
            } else {
                u16(b, uint16_t(v));
                u16(b, uint16_t(v >> 16));
            }
        };
        std::vector<uint8_t> exif = {'E', 'x', 'i', 'f', 0, 0};
        exif.insert(exif.end(), bigEndian ? std::initializer_list<uint8_t>{'M', 'M'} : std::initializer_list<uint8_t>{'I', 'I'});
        u16(exif, 42);
        u32(exif, 8);
        u16(exif, 2);
        for (uint16_t tag : {uint16_t(0x0128), uint16_t(0x0112)}) {
            u16(exif, tag);
            u16(exif, 3);
            u32(exif, 1);
            u16(exif, tag == 0x0112 ? uint16_t(orientation) : uint16_t(2));
            u16(exif, 0);
        }
        u32(exif, 0);
        jpeg_write_marker(&c, JPEG_APP0 + 1, exif.data(), unsigned(exif.size()));
    }
    std::vector<uint8_t> row(size_t(width) * 3);
    while (c.next_scanline < c.image_height) {
        std::memcpy(row.data(), rgb.data() + size_t(c.next_scanline) * row.size(), row.size());
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    return jpeg.Finish();
}

void PatchJpegSize(std::vector<uint8_t>* jpeg, uint16_t width, uint16_t height)
{
    for (size_t i = 2; i + 9 <= jpeg->size(); ++i) {
        const uint8_t m = (*jpeg)[i + 1];
        if ((*jpeg)[i] == 0xFF && (m == 0xC0 || m == 0xC1 || m == 0xC2)) {
            uint8_t* sof = jpeg->data() + i;
            sof[5] = uint8_t(height >> 8);
            sof[6] = uint8_t(height);
            sof[7] = uint8_t(width >> 8);
            sof[8] = uint8_t(width);
            return;
        }
    }
}

namespace {

// The process's peak resident size so far, in bytes (VmHWM); -1 when
// unknown.
int64_t PeakResident()
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    int64_t kb = -1;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0)
            kb = std::strtoll(line + 6, nullptr, 10);
    }
    std::fclose(f);
    return kb < 0 ? -1 : kb * 1024;
}

}  // namespace

int64_t PeakMemoryGrowthInChild(void (*fn)(const std::vector<uint8_t>&), const std::vector<uint8_t>& arg)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return -1;
    }
    if (pid == 0) {
        // The child starts its peak at what it shares with the parent now.
        close(fds[0]);
        const int64_t before = PeakResident();
        fn(arg);
        const int64_t after = PeakResident();
        const int64_t growth = before < 0 || after < 0 ? -1 : after - before;
        const ssize_t written = write(fds[1], &growth, sizeof growth);
        _exit(written == ssize_t(sizeof growth) ? 0 : 1);
    }
    close(fds[1]);
    int64_t growth = -1;
    if (read(fds[0], &growth, sizeof growth) != ssize_t(sizeof growth))
        growth = -1;
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? growth : -1;
}
