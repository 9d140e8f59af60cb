// Blits: pictures and other contexts' surfaces stretched into a
// destination rectangle (nearest pixel, no smoothing) and combined with
// the surface by a ternary raster operation.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include <QHash>

#include "foundation/byte_order.h"
#include "platform/dc.h"
#include "platform/dc_device.h"
#include "platform/dc_recorder.h"
#include "platform/dc_state.h"
#include "platform/paper_blit.h"
#include "platform/paper_pixels.h"
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
// One row of a rectangle of a packed bitmap's pixels, `dibY` counted as the
// bitmap stores its rows, into line (srcWidth pixels); pixels outside the
// bitmap come out black.
void DibRow(const DibLayout& dib, const uint8_t* bits, int32_t xSrc, int32_t dibY, int32_t srcWidth, uint32_t* line)
{
    const int32_t width = dib.width;
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
    const bool inside = xSrc >= 0 && int64_t(xSrc) + srcWidth <= width;
    if (!inside || dibY < 0 || dibY >= dib.height)
        std::fill(line, line + srcWidth, 0xFF000000u);
    if (dibY < 0 || dibY >= dib.height)
        return;
    const size_t stride = ((size_t(width) * bitCount + 31) / 32) * 4;
    const uint8_t* row = bits + size_t(dibY) * stride;
    // Rows of true-colour pixels wholly inside the bitmap, the usual
    // picture, go without the per-pixel checks.
    if (inside && bitCount == 24) {
        const uint8_t* p = row + 3 * size_t(xSrc);
        for (int c = 0; c < srcWidth; ++c, p += 3)
            line[c] = 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
        return;
    }
    if (inside && bitCount == 32 && masks[0] == 0xFF0000u && masks[1] == 0xFF00u && masks[2] == 0xFFu) {
        const uint8_t* p = row + 4 * size_t(xSrc);
        for (int c = 0; c < srcWidth; ++c, p += 4)
            line[c] = 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
        return;
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

// The bitmap row of output row r of a rectangle srcHeight rows high.
int32_t DibRowOf(const DibLayout& dib, int32_t ySrc, int32_t srcHeight, int32_t r)
{
    return dib.topDown ? ySrc + r : ySrc + (srcHeight - 1 - r);
}

// A rectangle of a packed bitmap's pixels as an image. The rectangle's y
// counts rows as the bitmap stores them: from the bottom row of the
// picture for the usual bottom-up bitmaps, from the top for top-down ones.
// Pixels outside the bitmap come out black.
QImage DibToImage(const DibLayout& dib, const uint8_t* bits, int32_t xSrc, int32_t ySrc, int32_t srcWidth,
                  int32_t srcHeight)
{
    QImage out(srcWidth, srcHeight, QImage::Format_RGB32);
    if (out.isNull())
        return QImage();
    for (int r = 0; r < srcHeight; ++r)
        DibRow(dib, bits, xSrc, DibRowOf(dib, ySrc, srcHeight, r), srcWidth,
               reinterpret_cast<uint32_t*>(out.scanLine(r)));
    return out;
}

// The same rectangle brought down to width x height pixels, each the mean
// of the source pixels it covers, without ever holding the whole rectangle
// at its own size.
QImage ReducedDibToImage(const DibLayout& dib, const uint8_t* bits, int32_t xSrc, int32_t ySrc, int32_t srcWidth,
                         int32_t srcHeight, int32_t width, int32_t height)
{
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull())
        return QImage();
    std::vector<int32_t> column(static_cast<size_t>(srcWidth));
    for (int32_t c = 0; c < srcWidth; ++c)
        column[size_t(c)] = int32_t(int64_t(c) * width / srcWidth);
    std::vector<uint32_t> line(static_cast<size_t>(srcWidth));
    std::vector<uint64_t> sums(size_t(width) * 4);
    int32_t r = 0;
    for (int32_t y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const int32_t end = int32_t((int64_t(y) + 1) * srcHeight / height);
        for (; r < end; ++r) {
            DibRow(dib, bits, xSrc, DibRowOf(dib, ySrc, srcHeight, r), srcWidth, line.data());
            for (int32_t c = 0; c < srcWidth; ++c) {
                uint64_t* s = &sums[size_t(column[size_t(c)]) * 4];
                const uint32_t v = line[size_t(c)];
                s[0] += (v >> 16) & 0xFF;
                s[1] += (v >> 8) & 0xFF;
                s[2] += v & 0xFF;
                s[3] += 1;
            }
        }
        auto* out_line = reinterpret_cast<uint32_t*>(out.scanLine(y));
        for (int32_t x = 0; x < width; ++x) {
            const uint64_t* s = &sums[size_t(x) * 4];
            const uint64_t n = std::max<uint64_t>(s[3], 1);
            out_line[x] = 0xFF000000u | uint32_t((s[0] + n / 2) / n) << 16 | uint32_t((s[1] + n / 2) / n) << 8 |
                          uint32_t((s[2] + n / 2) / n);
        }
    }
    return out;
}

// The pictures last brought down for paper, known by a hash of the bytes
// they were made from: a print job draws the same picture on every card,
// and it is brought down once.
class ReducedDibs {
public:
    // One made of the same pixels at, or near enough, width x height.
    QImage Find(uint64_t key, int32_t width, int32_t height) const
    {
        for (const auto& [k, image] : made_)
            if (k == key && ServesPaperPixels(image.width(), width) && ServesPaperPixels(image.height(), height))
                return image;
        return QImage();
    }
    void Keep(uint64_t key, const QImage& image)
    {
        made_.emplace_back(key, image);
        bytes_ += image.sizeInBytes();
        while (made_.size() > 1 && (made_.size() > kKept || bytes_ > kKeptBytes)) {
            bytes_ -= made_.front().second.sizeInBytes();
            made_.erase(made_.begin());
        }
    }

private:
    // A card's pictures and their masks, however many frames it has.
    static constexpr size_t kKept = 32;
    static constexpr qsizetype kKeptBytes = 64 << 20;
    std::vector<std::pair<uint64_t, QImage>> made_;
    qsizetype bytes_ = 0;
};

thread_local ReducedDibs gReduced;

// A hash of what a rectangle of a packed bitmap is made from; `known`, when
// not 0, stands for the hash of its pixels.
uint64_t DibKey(const DibLayout& dib, const uint8_t* bits, int32_t xSrc, int32_t ySrc, int32_t srcWidth,
                int32_t srcHeight, uint64_t known)
{
    // Seeded, so that the hash takes its fastest way.
    size_t h = qHashMulti(0x9E3779B97F4A7C15ull, dib.width, dib.height, dib.topDown, dib.bitCount, xSrc, ySrc,
                          srcWidth, srcHeight);
    h = qHashBits(dib.table, sizeof dib.table, h);
    h = qHashBits(dib.masks, sizeof dib.masks, h);
    if (known)
        return qHashMulti(h, known);
    const size_t stride = ((size_t(dib.width) * dib.bitCount + 31) / 32) * 4;
    const int32_t first = std::max(ySrc, 0), last = std::min(ySrc + srcHeight, dib.height);
    if (last > first)
        h = qHashBits(bits + size_t(first) * stride, size_t(last - first) * stride, h);
    return h;
}

// A picture converted for a blit. A print job draws the same
// picture on every card; it is converted once, and the painter, which knows
// an image by its cache key, does not compare its pixels again either. Only
// a rectangle wholly inside its bitmap is kept, with the bytes of it that
// the conversion reads; a bitmap known by its owner's key (`known`, not 0)
// is known again by it, without comparing them.
class ConvertedDib {
public:
    QImage Find(const DibLayout& dib, const uint8_t* bits, int32_t xSrc, int32_t ySrc, int32_t srcWidth,
                int32_t srcHeight, uint64_t known)
    {
        if (image_.isNull() || !SameLayout(dib) || xSrc != xSrc_ || ySrc != ySrc_ || srcWidth != image_.width() ||
            srcHeight != image_.height())
            return QImage();
        if (known && known == known_)
            return image_;
        const uint8_t* kept = bytes_.data();
        for (int32_t y = ySrc; y < ySrc + srcHeight; ++y, kept += span_)
            if (std::memcmp(bits + size_t(y) * stride_ + first_, kept, span_) != 0)
                return QImage();
        return image_;
    }

    void Keep(const DibLayout& dib, const uint8_t* bits, int32_t xSrc, int32_t ySrc, const QImage& image,
              uint64_t known)
    {
        image_ = QImage();
        bytes_.clear();
        known_ = known;
        const bool inside = xSrc >= 0 && int64_t(xSrc) + image.width() <= dib.width && ySrc >= 0 &&
                            int64_t(ySrc) + image.height() <= dib.height;
        if (!inside || size_t(image.width()) * size_t(image.height()) > kMostPixels)
            return;
        dib_ = dib;
        xSrc_ = xSrc;
        ySrc_ = ySrc;
        stride_ = ((size_t(dib.width) * dib.bitCount + 31) / 32) * 4;
        first_ = size_t(xSrc) * dib.bitCount / 8;
        span_ = (size_t(xSrc + image.width()) * dib.bitCount + 7) / 8 - first_;
        bytes_.resize(span_ * size_t(image.height()));
        uint8_t* kept = bytes_.data();
        for (int32_t y = ySrc; y < ySrc + image.height(); ++y, kept += span_)
            std::memcpy(kept, bits + size_t(y) * stride_ + first_, span_);
        image_ = image;
    }

private:
    static constexpr size_t kMostPixels = 4u << 20;

    bool SameLayout(const DibLayout& dib) const
    {
        return dib.width == dib_.width && dib.height == dib_.height && dib.topDown == dib_.topDown &&
               dib.bitCount == dib_.bitCount && std::equal(dib.table, dib.table + 256, dib_.table) &&
               std::equal(dib.masks, dib.masks + 3, dib_.masks);
    }

    DibLayout dib_;
    int32_t xSrc_ = 0;
    int32_t ySrc_ = 0;
    size_t stride_ = 0;
    size_t first_ = 0;
    size_t span_ = 0;
    std::vector<uint8_t> bytes_;
    uint64_t known_ = 0;
    QImage image_;
};

// A few, so that a picture and its mask (or a card's two pictures) do not
// push each other out.
constexpr size_t kConverted = 4;
thread_local ConvertedDib gConverted[kConverted];
thread_local size_t gNextConverted = 0;

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
        // Paper shows no more than kPaperMaxDpi of a picture: one of more
        // pixels than that is brought down as it is read.
        if (!device_->isRaster() && !recorder_) {
            const double most = std::min({kPaperMaxDpi, device_->dpiX(), device_->dpiY()});
            const int32_t w = int32_t(std::min<double>(
                srcWidth, std::ceil(double(std::llabs(dest.width)) / std::max(device_->dpiX(), 1.0) * most)));
            const int32_t h = int32_t(std::min<double>(
                srcHeight, std::ceil(double(std::llabs(dest.height)) / std::max(device_->dpiY(), 1.0) * most)));
            // Nor is one brought down by a pixel or two, which its place
            // on the next card would not ask.
            const bool near = ServesPaperPixels(srcWidth, w) && ServesPaperPixels(srcHeight, h);
            if (w >= 1 && h >= 1 && !near) {
                const uint64_t key = DibKey(dib, bits, xSrc, ySrc, srcWidth, srcHeight, keyOf(bits));
                source = gReduced.Find(key, w, h);
                if (source.isNull()) {
                    source = ReducedDibToImage(dib, bits, xSrc, ySrc, srcWidth, srcHeight, w, h);
                    if (source.isNull())
                        return 0;
                    gReduced.Keep(key, source);
                }
            }
        }
        const uint64_t known = keyOf(bits);
        if (source.isNull())
            for (size_t i = 0; i < kConverted && source.isNull(); ++i)
                source = gConverted[i].Find(dib, bits, xSrc, ySrc, srcWidth, srcHeight, known);
        if (source.isNull()) {
            source = DibToImage(dib, bits, xSrc, ySrc, srcWidth, srcHeight);
            if (source.isNull())
                return 0;
            gConverted[gNextConverted++ % kConverted].Keep(dib, bits, xSrc, ySrc, source, known);
        }
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
