#include "graphics/metafile_bitmap.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/metafile_format.h"

namespace {

struct Layout {
    MetafileDibInfo info;
    uint32_t headerSize = 0;
    uint32_t clrUsed = 0;
    bool core = false;
    bool masksInHeader = false;
    uint32_t masks[4] = {};
};

bool ReadLayout(const uint8_t* p, uint32_t size, Layout* l)
{
    if (!p || size < 4)
        return false;
    l->headerSize = GetU32LE(p);
    if (l->headerSize == kBitmapCoreHeaderSize) {
        if (size < kBitmapCoreHeaderSize)
            return false;
        l->core = true;
        l->info.width = GetU16LE(p + 4);
        l->info.height = GetU16LE(p + 6);
        l->info.bitCount = GetU16LE(p + 10);
        l->info.compression = BI_RGB;
    } else {
        if (l->headerSize < kBitmapInfoHeaderSize || l->headerSize > size)
            return false;
        const int32_t w = GetI32LE(p + 4);
        const int32_t h = GetI32LE(p + 8);
        if (h == INT32_MIN)
            return false;
        l->info.width = w;
        l->info.height = h < 0 ? -h : h;
        l->info.topDown = h < 0;
        l->info.bitCount = GetU16LE(p + 14);
        l->info.compression = GetU32LE(p + 16);
        l->clrUsed = GetU32LE(p + 32);
        if (l->headerSize >= 52) {
            l->masksInHeader = true;
            for (int i = 0; i < 3; ++i)
                l->masks[i] = GetU32LE(p + 40 + 4 * i);
            if (l->headerSize >= 56)
                l->masks[3] = GetU32LE(p + 52);
        }
    }
    const MetafileDibInfo& i = l->info;
    if (i.width <= 0 || i.height <= 0 || int64_t(i.width) * i.height > kMetafileMaxBitmapPixels)
        return false;
    switch (i.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    switch (i.compression) {
    case BI_RGB:
        return true;
    case BI_RLE8:
        return i.bitCount == 8 && !i.topDown;
    case BI_RLE4:
        return i.bitCount == 4 && !i.topDown;
    case BI_BITFIELDS:
        return i.bitCount == 16 || i.bitCount == 32;
    default:
        return false;
    }
}

uint64_t Stride(const MetafileDibInfo& i) { return (uint64_t(i.width) * i.bitCount + 31) / 32 * 4; }

// Entries the table is meant to have, and where it starts.
uint32_t TableEntries(const Layout& l)
{
    if (l.info.bitCount > 8)
        return l.core ? 0 : l.clrUsed;
    const uint32_t full = 1u << l.info.bitCount;
    return l.clrUsed == 0 || l.core ? full : l.clrUsed;
}

uint32_t TableOffset(const Layout& l)
{
    uint32_t off = l.headerSize;
    if (!l.core && l.info.compression == BI_BITFIELDS && !l.masksInHeader)
        off += 12;
    return off;
}

// The low and high bit of a mask, for scaling a field to 8 bits.
struct Field {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

Field MakeField(uint32_t mask)
{
    Field f;
    f.mask = mask;
    if (!mask)
        return f;
    while (!((mask >> f.shift) & 1))
        ++f.shift;
    while (f.shift + f.bits < 32 && ((mask >> (f.shift + f.bits)) & 1))
        ++f.bits;
    return f;
}

uint8_t Extract(const Field& f, uint32_t v)
{
    if (!f.mask || !f.bits)
        return 0;
    const uint32_t x = (v & f.mask) >> f.shift;
    if (f.bits >= 8)
        return uint8_t(x >> (f.bits - 8));
    const uint32_t max = (1u << f.bits) - 1;
    return uint8_t((x * 255 + max / 2) / max);
}

// Run-length coded rows (always bottom-up), into one index a pixel.
void DecodeRle(const uint8_t* src, uint32_t size, const MetafileDibInfo& info, std::vector<uint8_t>& idx)
{
    const bool four = info.compression == BI_RLE4;
    const int w = info.width;
    const int h = info.height;
    int x = 0;
    int y = 0;  // from the bottom
    uint32_t pos = 0;
    auto put = [&](uint8_t v) {
        if (x < w && y < h)
            idx[size_t(h - 1 - y) * w + x] = v;
        ++x;
    };
    while (pos + 2 <= size && y < h) {
        const uint8_t count = src[pos];
        const uint8_t value = src[pos + 1];
        pos += 2;
        if (count) {
            for (int k = 0; k < count && x < w; ++k)
                put(four ? uint8_t(k % 2 ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (pos + 2 > size)
                break;
            // Pixels right of the picture are dropped, so x stays at the
            // edge however many deltas push it on.
            x = std::min(x + src[pos], w);
            y += src[pos + 1];
            pos += 2;
        } else {
            const uint32_t n = value;
            const uint32_t bytes = four ? (n + 1) / 2 : n;
            if (pos + bytes > size)
                break;
            for (uint32_t k = 0; k < n && x < w; ++k)
                put(four ? uint8_t(k % 2 ? src[pos + k / 2] & 15 : src[pos + k / 2] >> 4) : src[pos + k]);
            pos += (bytes + 1) & ~1u;
        }
    }
}

// A bottom-up, uncompressed BITMAPINFOHEADER of bitCount bits a pixel and
// rows of stride bytes, followed by paletteBytes of zeroed colour table;
// where it starts.
uint8_t* PutDibInfo(std::vector<uint8_t>* info, size_t paletteBytes, int w, int h, uint16_t bitCount, uint32_t stride)
{
    info->assign(kBitmapInfoHeaderSize + paletteBytes, 0);
    uint8_t* p = info->data();
    PutU32LE(p, kBitmapInfoHeaderSize);
    PutI32LE(p + 4, w);
    PutI32LE(p + 8, h);
    PutU16LE(p + 12, 1);
    PutU16LE(p + 14, bitCount);
    PutU32LE(p + 16, BI_RGB);
    PutU32LE(p + 20, stride * uint32_t(h));
    return p;
}

}  // namespace

bool MetafileDibReadInfo(const uint8_t* info, uint32_t infoSize, MetafileDibInfo* out)
{
    Layout l;
    if (!ReadLayout(info, infoSize, &l))
        return false;
    *out = l.info;
    return true;
}

uint32_t MetafileDibInfoSize(const uint8_t* info, uint32_t infoSize, uint32_t usage)
{
    Layout l;
    if (!ReadLayout(info, infoSize, &l))
        return 0;
    const uint32_t entry = usage == DIB_PAL_COLORS ? 2 : l.core ? 3 : 4;
    const uint64_t n = uint64_t(TableOffset(l)) + uint64_t(TableEntries(l)) * entry;
    return n > infoSize ? 0 : uint32_t(n);
}

uint64_t MetafileDibBitsSize(const uint8_t* info, uint32_t infoSize)
{
    Layout l;
    if (!ReadLayout(info, infoSize, &l))
        return 0;
    if (l.info.compression == BI_RLE8 || l.info.compression == BI_RLE4)
        return GetU32LE(info + 20);
    return Stride(l.info) * uint64_t(l.info.height);
}

bool MetafileDibSplit(const uint8_t* dib, uint32_t size, uint32_t* infoSize, uint32_t* bitsSize, uint32_t usage)
{
    const uint32_t head = MetafileDibInfoSize(dib, size, usage);
    if (!head)
        return false;
    const uint64_t bits = MetafileDibBitsSize(dib, size);
    if (bits == 0 || bits > size - head)
        return false;
    *infoSize = head;
    *bitsSize = uint32_t(bits);
    return true;
}

QImage MetafileDibToImage(const uint8_t* info, uint32_t infoSize, const uint8_t* bits, uint32_t bitsSize,
                          uint32_t usage, bool keepAlpha)
{
    Layout l;
    if (!ReadLayout(info, infoSize, &l) || !bits)
        return QImage();
    const MetafileDibInfo& d = l.info;
    const int w = d.width;
    const int h = d.height;
    const bool rle = d.compression == BI_RLE8 || d.compression == BI_RLE4;
    const uint64_t stride = Stride(d);
    if (!rle && stride * uint64_t(h) > bitsSize)
        return QImage();
    // Runs give at most 255 pixels for two bytes: a picture much larger
    // than its bytes can hold is a lie, not a picture.
    if (rle && uint64_t(w) * uint64_t(h) > uint64_t(bitsSize) * 128 + 4096)
        return QImage();

    // Colour table: entries the record really holds; the rest stay black.
    std::array<QRgb, 256> table;
    table.fill(qRgb(0, 0, 0));
    if (d.bitCount <= 8) {
        const uint32_t entry = usage == DIB_PAL_COLORS ? 2 : (l.core ? 3 : 4);
        const uint32_t off = TableOffset(l);
        const uint32_t wanted = std::min<uint32_t>(TableEntries(l), 256);
        const uint32_t have = off < infoSize ? (infoSize - off) / entry : 0;
        for (uint32_t k = 0; k < std::min(wanted, have); ++k) {
            const uint8_t* e = info + off + k * entry;
            if (usage == DIB_PAL_COLORS) {
                const int g = GetU16LE(e) & 0xFF;
                table[k] = qRgb(g, g, g);
            } else {
                table[k] = qRgb(e[2], e[1], e[0]);
            }
        }
    }

    QImage image(w, h, keepAlpha && d.bitCount == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return QImage();

    if (rle) {
        std::vector<uint8_t> idx;
        try {
            idx.assign(size_t(w) * h, 0);
        } catch (const std::bad_alloc&) {
            return QImage();
        }
        DecodeRle(bits, bitsSize, d, idx);
        for (int y = 0; y < h; ++y) {
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x)
                out[x] = table[idx[size_t(y) * w + x]];
        }
        return image;
    }

    Field fields[4];
    if (d.bitCount == 16 || d.bitCount == 32) {
        uint32_t m[4] = {};
        if (d.compression == BI_BITFIELDS) {
            if (l.masksInHeader) {
                std::copy(l.masks, l.masks + 4, m);
            } else {
                if (uint64_t(l.headerSize) + 12 > infoSize)
                    return QImage();
                for (int k = 0; k < 3; ++k)
                    m[k] = GetU32LE(info + l.headerSize + 4 * k);
            }
        } else if (d.bitCount == 16) {
            m[0] = 0x7C00;
            m[1] = 0x03E0;
            m[2] = 0x001F;
        } else {
            m[0] = 0x00FF0000;
            m[1] = 0x0000FF00;
            m[2] = 0x000000FF;
            m[3] = 0xFF000000;
        }
        for (int k = 0; k < 4; ++k)
            fields[k] = MakeField(m[k]);
    }

    for (int y = 0; y < h; ++y) {
        const uint8_t* row = bits + size_t(stride) * size_t(d.topDown ? y : h - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            switch (d.bitCount) {
            case 1:
                out[x] = table[(row[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                out[x] = table[(row[x >> 1] >> (x & 1 ? 0 : 4)) & 15];
                break;
            case 8:
                out[x] = table[row[x]];
                break;
            case 16: {
                const uint32_t v = GetU16LE(row + 2 * x);
                out[x] = qRgb(Extract(fields[0], v), Extract(fields[1], v), Extract(fields[2], v));
                break;
            }
            case 24:
                out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            default: {
                const uint32_t v = GetU32LE(row + 4 * x);
                const uint8_t a = fields[3].mask ? Extract(fields[3], v) : 255;
                out[x] = qRgba(Extract(fields[0], v), Extract(fields[1], v), Extract(fields[2], v), a);
                break;
            }
            }
        }
    }
    return image;
}

void MetafileImageToDib(const QImage& source, std::vector<uint8_t>* info, std::vector<uint8_t>* bits)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const uint32_t stride = (uint32_t(w) * 24 + 31) / 32 * 4;
    PutDibInfo(info, 0, w, h, 24, stride);
    bits->assign(size_t(stride) * h, 0);
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uint8_t* row = bits->data() + size_t(stride) * (h - 1 - y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = uint8_t(qBlue(in[x]));
            row[3 * x + 1] = uint8_t(qGreen(in[x]));
            row[3 * x + 2] = uint8_t(qRed(in[x]));
        }
    }
}

void MetafileMonoToDib(const uint8_t* rows, int width, int height, int bytesPerRow, std::vector<uint8_t>* info,
                       std::vector<uint8_t>* bits)
{
    const uint32_t stride = (uint32_t(width) + 31) / 32 * 4;
    uint8_t* p = PutDibInfo(info, 8, width, height, 1, stride);
    PutU32LE(p + 32, 2);
    // Entry 0 black, entry 1 white.
    p[kBitmapInfoHeaderSize + 4] = p[kBitmapInfoHeaderSize + 5] = p[kBitmapInfoHeaderSize + 6] = 0xFF;
    bits->assign(size_t(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = rows + size_t(bytesPerRow) * y;
        uint8_t* row = bits->data() + size_t(stride) * (height - 1 - y);
        std::memcpy(row, in, std::min<size_t>(size_t(bytesPerRow), stride));
    }
}
