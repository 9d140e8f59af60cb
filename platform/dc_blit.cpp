// Blits: pictures and other contexts' surfaces stretched into a
// destination rectangle (nearest pixel, no smoothing) and combined with
// the surface by a ternary raster operation.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "foundation/byte_order.h"
#include "platform/dc.h"
#include "platform/dc_device.h"
#include "platform/dc_recorder.h"
#include "platform/dc_state.h"
#include "platform/raster_ops.h"

namespace {

// A rectangle of a packed bitmap's pixels as an image. The rectangle's y
// counts rows as the bitmap stores them: from the bottom row of the
// picture for the usual bottom-up bitmaps, from the top for top-down ones.
// Pixels outside the bitmap come out black.
QImage DibToImage(const uint8_t* header, const uint8_t* bits, int32_t xSrc, int32_t ySrc, int32_t srcWidth,
                  int32_t srcHeight)
{
    const uint32_t headerSize = GetU32LE(header);
    if (headerSize < 40)
        return QImage();
    const int32_t width = GetI32LE(header + 4);
    const int32_t rawHeight = GetI32LE(header + 8);
    const uint16_t bitCount = GetU16LE(header + 14);
    const uint32_t compression = GetU32LE(header + 16);
    const uint32_t clrUsed = GetU32LE(header + 32);
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    if (width <= 0 || height <= 0 || width > (1 << 16) || height > (1 << 16))
        return QImage();
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return QImage();
    if (compression != 0 && !(compression == 3 && (bitCount == 16 || bitCount == 32)))
        return QImage();
    if (srcWidth <= 0 || srcHeight <= 0 || srcWidth > (1 << 16) || srcHeight > (1 << 16))
        return QImage();

    uint32_t table[256] = {};
    if (bitCount <= 8) {
        const uint32_t entries = std::min<uint32_t>(clrUsed ? clrUsed : (1u << bitCount), 1u << bitCount);
        const uint8_t* t = header + headerSize;
        for (uint32_t i = 0; i < entries; ++i)
            table[i] = 0xFF000000u | (uint32_t(t[4 * i + 2]) << 16) | (uint32_t(t[4 * i + 1]) << 8) | t[4 * i];
    }
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bitCount == 32)
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (compression == 3) {
        for (int i = 0; i < 3; ++i)
            masks[i] = GetU32LE(header + 40 + 4 * i);
    }
    auto channel = [](uint32_t v, uint32_t mask) -> uint32_t {
        if (!mask)
            return 0;
        int shift = 0;
        while (!((mask >> shift) & 1))
            ++shift;
        const uint32_t max = mask >> shift;
        return ((v & mask) >> shift) * 255 / max;
    };

    const size_t stride = ((size_t(width) * bitCount + 31) / 32) * 4;
    QImage out(srcWidth, srcHeight, QImage::Format_RGB32);
    if (out.isNull())
        return QImage();
    out.fill(0xFF000000u);
    for (int r = 0; r < srcHeight; ++r) {
        // Row r of the output, counted from its top.
        const int32_t dibY = topDown ? ySrc + r : ySrc + (srcHeight - 1 - r);
        if (dibY < 0 || dibY >= height)
            continue;
        const uint8_t* row = bits + size_t(dibY) * stride;
        auto* line = reinterpret_cast<uint32_t*>(out.scanLine(r));
        for (int c = 0; c < srcWidth; ++c) {
            const int32_t x = xSrc + c;
            if (x < 0 || x >= width)
                continue;
            uint32_t v = 0;
            switch (bitCount) {
            case 1:
                v = table[(row[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                v = table[(x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4)];
                break;
            case 8:
                v = table[row[x]];
                break;
            case 16: {
                const uint32_t p = GetU16LE(row + 2 * x);
                v = 0xFF000000u | (channel(p, masks[0]) << 16) | (channel(p, masks[1]) << 8) | channel(p, masks[2]);
                break;
            }
            case 24:
                v = 0xFF000000u | (uint32_t(row[3 * x + 2]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x];
                break;
            default: {
                const uint32_t p = GetU32LE(row + 4 * x);
                v = 0xFF000000u | (channel(p, masks[0]) << 16) | (channel(p, masks[1]) << 8) | channel(p, masks[2]);
                break;
            }
            }
            line[c] = v;
        }
    }
    return out;
}

}  // namespace

int32_t Dc::stretchDIBits(int32_t xDest, int32_t yDest, int32_t destWidth, int32_t destHeight, int32_t xSrc,
                          int32_t ySrc, int32_t srcWidth, int32_t srcHeight, const uint8_t* bits,
                          const uint8_t* header, uint32_t rop)
{
    if (recorder_)
        recorder_->stretchDIBits(xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight, bits, header, rop);
    if (!header)
        return 0;
    const uint8_t table = Rop3Table(rop);
    QImage source;
    if (Rop3UsesSource(table)) {
        if (!bits)
            return 0;
        source = DibToImage(header, bits, xSrc, ySrc, srcWidth, srcHeight);
        if (source.isNull())
            return 0;
    }
    const QPoint a = toDevice(xDest, yDest);
    const QPoint b = toDevice(xDest + destWidth, yDest + destHeight);
    const QRect dest(a.x(), a.y(), b.x() - a.x(), b.y() - a.y());
    if (!device_->blit(dest, source, rop, paintOf(state_->brush), clip()))
        return 0;
    return srcHeight;
}

bool Dc::stretchImage(const IntRect& dest, const QImage& image, const QRect& source, uint32_t rop)
{
    const uint8_t table = Rop3Table(rop);
    QImage cut;
    if (Rop3UsesSource(table)) {
        const QRect src = source.isNull() ? image.rect() : source;
        if (image.isNull() || src.isEmpty())
            return false;
        cut = image.copy(src);
    }
    if (recorder_)
        recorder_->stretchImage(dest, cut, rop);
    const QPoint a = toDevice(dest.left, dest.top);
    const QPoint b = toDevice(dest.right, dest.bottom);
    return device_->blit(QRect(a.x(), a.y(), b.x() - a.x(), b.y() - a.y()), cut, rop, paintOf(state_->brush),
                         clip());
}

bool Dc::stretchBlt(int32_t x, int32_t y, int32_t width, int32_t height, const Dc& source, int32_t xSrc,
                    int32_t ySrc, int32_t srcWidth, int32_t srcHeight, uint32_t rop)
{
    const uint8_t table = Rop3Table(rop);
    QImage cut;
    if (Rop3UsesSource(table)) {
        const QImage* surface = source.device_->image();
        if (!surface)
            return false;
        const QPoint a = source.toDevice(xSrc, ySrc);
        const QPoint b = source.toDevice(xSrc + srcWidth, ySrc + srcHeight);
        const QRect src(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                        QPoint(std::max(a.x(), b.x()) - 1, std::max(a.y(), b.y()) - 1));
        if (src.isEmpty())
            return false;
        // Copied first: source and destination may be the same surface.
        cut = surface->copy(src);
        if (b.x() < a.x())
            cut = cut.mirrored(true, false);
        if (b.y() < a.y())
            cut = cut.mirrored(false, true);
    }
    if (recorder_)
        recorder_->stretchImage(IntRect{x, y, x + width, y + height}, cut, rop);
    const QPoint a = toDevice(x, y);
    const QPoint b = toDevice(x + width, y + height);
    return device_->blit(QRect(a.x(), a.y(), b.x() - a.x(), b.y() - a.y()), cut, rop, paintOf(state_->brush), clip());
}

bool Dc::bitBlt(int32_t x, int32_t y, int32_t width, int32_t height, const Dc& source, int32_t xSrc, int32_t ySrc,
                uint32_t rop)
{
    // The source rectangle covers the same device pixels as the destination.
    const QPoint a = toDevice(x, y);
    const QPoint b = toDevice(x + width, y + height);
    const QPointF s0 = source.toLogicalF(source.toDevice(xSrc, ySrc) + (b - a));
    const int32_t sw = int32_t(std::lround(s0.x())) - xSrc;
    const int32_t sh = int32_t(std::lround(s0.y())) - ySrc;
    return stretchBlt(x, y, width, height, source, xSrc, ySrc, sw, sh, rop);
}
