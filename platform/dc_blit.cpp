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

int32_t ClampToInt32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// The layout of a packed bitmap, from its header.
struct DibLayout {
    int32_t width = 0;
    int32_t height = 0;
    bool topDown = false;
    uint16_t bitCount = 0;
    uint32_t table[256] = {};
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
};

// False for a header this context cannot draw from.
bool ReadDibLayout(const uint8_t* header, DibLayout* dib)
{
    const uint32_t headerSize = GetU32LE(header);
    if (headerSize < 40)
        return false;
    const int32_t width = GetI32LE(header + 4);
    const int32_t rawHeight = GetI32LE(header + 8);
    const uint16_t bitCount = GetU16LE(header + 14);
    const uint32_t compression = GetU32LE(header + 16);
    const uint32_t clrUsed = GetU32LE(header + 32);
    dib->topDown = rawHeight < 0;
    const int32_t height = dib->topDown ? -rawHeight : rawHeight;
    if (width <= 0 || height <= 0 || width > (1 << 16) || height > (1 << 16))
        return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    if (compression != 0 && !(compression == 3 && (bitCount == 16 || bitCount == 32)))
        return false;
    dib->width = width;
    dib->height = height;
    dib->bitCount = bitCount;
    if (bitCount <= 8) {
        const uint32_t entries = std::min<uint32_t>(clrUsed ? clrUsed : (1u << bitCount), 1u << bitCount);
        const uint8_t* t = header + headerSize;
        for (uint32_t i = 0; i < entries; ++i)
            dib->table[i] = 0xFF000000u | (uint32_t(t[4 * i + 2]) << 16) | (uint32_t(t[4 * i + 1]) << 8) | t[4 * i];
    }
    if (bitCount == 32)
        dib->masks[0] = 0xFF0000, dib->masks[1] = 0xFF00, dib->masks[2] = 0xFF;
    if (compression == 3) {
        for (int i = 0; i < 3; ++i)
            dib->masks[i] = GetU32LE(header + 40 + 4 * i);
    }
    return true;
}

bool SourceSizeValid(int32_t srcWidth, int32_t srcHeight)
{
    return srcWidth > 0 && srcHeight > 0 && srcWidth <= (1 << 16) && srcHeight <= (1 << 16);
}

// A rectangle of a packed bitmap's pixels as an image. The rectangle's y
// counts rows as the bitmap stores them: from the bottom row of the
// picture for the usual bottom-up bitmaps, from the top for top-down ones.
// Pixels outside the bitmap come out black.
QImage DibToImage(const DibLayout& dib, const uint8_t* bits, int32_t xSrc, int32_t ySrc, int32_t srcWidth,
                  int32_t srcHeight)
{
    const int32_t width = dib.width;
    const int32_t height = dib.height;
    const bool topDown = dib.topDown;
    const uint16_t bitCount = dib.bitCount;
    const uint32_t* table = dib.table;
    const uint32_t* masks = dib.masks;
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
    // Every pixel of a rectangle inside the bitmap is written below.
    const bool inside = xSrc >= 0 && int64_t(xSrc) + srcWidth <= width;
    if (!inside || ySrc < 0 || int64_t(ySrc) + srcHeight > height)
        out.fill(0xFF000000u);
    for (int r = 0; r < srcHeight; ++r) {
        // Row r of the output, counted from its top.
        const int32_t dibY = topDown ? ySrc + r : ySrc + (srcHeight - 1 - r);
        if (dibY < 0 || dibY >= height)
            continue;
        const uint8_t* row = bits + size_t(dibY) * stride;
        auto* line = reinterpret_cast<uint32_t*>(out.scanLine(r));
        // Rows of true-colour pixels wholly inside the bitmap, the usual
        // picture, go without the per-pixel checks.
        if (inside && bitCount == 24) {
            const uint8_t* p = row + 3 * size_t(xSrc);
            for (int c = 0; c < srcWidth; ++c, p += 3)
                line[c] = 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
            continue;
        }
        if (inside && bitCount == 32 && masks[0] == 0xFF0000u && masks[1] == 0xFF00u && masks[2] == 0xFFu) {
            const uint8_t* p = row + 4 * size_t(xSrc);
            for (int c = 0; c < srcWidth; ++c, p += 4)
                line[c] = 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
            continue;
        }
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
    const BlitRect dest = blitRect(xDest, yDest, destWidth, destHeight);
    const QRect visible = visibleBox();
    const bool seen = dest.width != 0 && dest.height != 0 &&
                      std::min(dest.x, dest.x + dest.width) < int64_t(visible.right()) + 1 &&
                      std::max(dest.x, dest.x + dest.width) > visible.left() &&
                      std::min(dest.y, dest.y + dest.height) < int64_t(visible.bottom()) + 1 &&
                      std::max(dest.y, dest.y + dest.height) > visible.top();
    const uint8_t table = Rop3Table(rop);
    QImage source;
    if (Rop3UsesSource(table)) {
        DibLayout dib;
        if (!bits || !ReadDibLayout(header, &dib) || !SourceSizeValid(srcWidth, srcHeight))
            return 0;
        // A picture that lands out of sight is not converted at all.
        if (!seen)
            return srcHeight;
        source = DibToImage(dib, bits, xSrc, ySrc, srcWidth, srcHeight);
        if (source.isNull())
            return 0;
    }
    if (seen && !device_->blit(dest, source, rop, paintOf(state_->brush), clip()))
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
    const BlitRect target =
        blitRect(dest.left, dest.top, int64_t(dest.right) - dest.left, int64_t(dest.bottom) - dest.top);
    return device_->blit(target, cut, rop, paintOf(state_->brush), clip());
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
        const QPoint b =
            source.toDevice(ClampToInt32(int64_t(xSrc) + srcWidth), ClampToInt32(int64_t(ySrc) + srcHeight));
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
        recorder_->stretchImage(IntRect{x, y, ClampToInt32(int64_t(x) + width), ClampToInt32(int64_t(y) + height)}, cut,
                                rop);
    return device_->blit(blitRect(x, y, width, height), cut, rop, paintOf(state_->brush), clip());
}

bool Dc::bitBlt(int32_t x, int32_t y, int32_t width, int32_t height, const Dc& source, int32_t xSrc, int32_t ySrc,
                uint32_t rop)
{
    // The source rectangle covers the same device pixels as the destination.
    const QPointF a = toPixel(x, y);
    const QPointF b = toPixel(double(x) + width, double(y) + height);
    const QPointF s0 = source.toLogicalF(QPointF(source.toDevice(xSrc, ySrc)) + (b - a));
    const int32_t sw = ClampToInt32(std::llround(s0.x()) - int64_t(xSrc));
    const int32_t sh = ClampToInt32(std::llround(s0.y()) - int64_t(ySrc));
    return stretchBlt(x, y, width, height, source, xSrc, ySrc, sw, sh, rop);
}
