#include "platform/paper_blit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <QHash>

#include "platform/paper_pixels.h"
#include "platform/raster_ops.h"

namespace {

inline uint32_t ToRgb(ColorRef c) { return (c & 0x00FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu); }

// The colour `onWhite` (RGB) that a colour of alpha `a` laid over white
// gave, with that alpha.
uint32_t OffWhite(uint32_t onWhite, uint32_t a)
{
    if (a == 0)
        return 0;
    if (a == 255)
        return 0xFF000000u | onWhite;
    uint32_t out = a << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int32_t laid = int32_t((onWhite >> shift) & 0xFFu) - int32_t(255 - a);
        const uint32_t c = laid <= 0 ? 0u : std::min<uint32_t>(255u, (uint32_t(laid) * 255u + a / 2) / a);
        out |= c << shift;
    }
    return out;
}

// Gives the pixels a picture leaves out wholly the colour of the nearest
// one it shows, along their row, and rows it leaves out wholly that of the
// nearest row it shows: a reader smooths a picture and its soft mask each
// on its own, and the edges it shows then keep their colour instead of
// mixing in whatever colour the pixels left out had.
void SpreadIntoLeftOut(QImage& image)
{
    const int w = image.width(), h = image.height();
    std::vector<int> shown;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        int last = -1;
        for (int x = 0; x < w; ++x) {
            if (line[x] >> 24)
                last = x;
            else if (last >= 0)
                line[x] = line[last] & 0xFFFFFFu;
        }
        if (last < 0)
            continue;
        shown.push_back(y);
        int first = 0;
        while (!(line[first] >> 24))
            ++first;
        for (int x = 0; x < first; ++x)
            line[x] = line[first] & 0xFFFFFFu;
    }
    if (shown.empty())
        return;
    size_t next = 0;
    for (int y = 0; y < h; ++y) {
        while (next + 1 < shown.size() && std::abs(shown[next + 1] - y) <= std::abs(shown[next] - y))
            ++next;
        if (shown[next] == y)
            continue;
        const auto* from = reinterpret_cast<const uint32_t*>(image.constScanLine(shown[next]));
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = from[x] & 0xFFFFFFu;
    }
}

// The pictures a job keeps made, in bytes: a few sheets' worth of distinct
// pictures, while a job of a new photo on every card holds only its last.
constexpr qsizetype kMadeBytes = 64 << 20;

// Two independent hashes of an image's pixels, its size and its format.
void HashImage(const QImage& image, uint64_t* key)
{
    if (image.isNull())
        return;
    const size_t row = (size_t(image.width()) * size_t(image.depth()) + 7) / 8;
    for (int i = 0; i < 2; ++i) {
        // Seeded, so that the hash takes its fastest way.
        size_t h = qHashMulti(size_t(key[i]) ^ (i ? 0x9E3779B97F4A7C15ull : 0xC2B2AE3D27D4EB4Full), image.width(),
                              image.height(), int(image.format()));
        for (int y = 0; y < image.height(); ++y)
            h = qHashBits(image.constScanLine(y), row, h);
        if (image.format() == QImage::Format_Indexed8 || image.depth() < 8)
            for (QRgb c : image.colorTable())
                h = qHash(c, h);
        key[i] = h;
    }
}

}  // namespace

QSize PaperBlit::madeSize(const QSize& source, const QRectF& dest) const
{
    const double inchesX = std::fabs(dest.width()) / std::max(dpiX_, 1.0);
    const double inchesY = std::fabs(dest.height()) / std::max(dpiY_, 1.0);
    const double most = std::min({kPaperMaxDpi, dpiX_, dpiY_});
    const int w = std::min(std::max(1, int(std::ceil(inchesX * most))), source.width());
    const int h = std::min(std::max(1, int(std::ceil(inchesY * most))), source.height());
    if (ServesPaperPixels(source.width(), w) && ServesPaperPixels(source.height(), h))
        return source;
    return QSize(w, h);
}

bool PaperBlit::make(const BlitRect& target, const QImage& source, uint32_t rop, const DevicePaint& pattern,
                     const QRect& drawable, QRectF* destOut, QImage* picture)
{
    *picture = QImage();
    QRectF dest(double(target.x), double(target.y), double(target.width), double(target.height));
    const uint8_t table = Rop3Table(rop);
    const bool useSource = Rop3UsesSource(table);
    // A blit without a source is a fill: only its part on the page counts,
    // however far it reaches.
    if (!useSource) {
        dest = dest.normalized() & QRectF(drawable);
        if (dest.isEmpty())
            return true;
    }
    if (rop == MERGEPAINT && !source.isNull()) {
        pendingDest_ = dest;
        pendingMask_ = source;
        pendingSoft_ = soft_;
        return true;
    }
    QImage pendingMask;
    if (rop == SRCAND && dest == pendingDest_)
        pendingMask = pendingMask_;
    const bool soft = pendingSoft_ && !pendingMask.isNull();
    pendingDest_ = QRectF();
    pendingMask_ = QImage();
    pendingSoft_ = false;
    if (useSource && source.isNull())
        return false;
    *destOut = dest;

    // The pixels it is made at: a fill's are its place's; a picture's its
    // own, or as many as its place shows on paper, where a picture made
    // for a place a pixel or two different serves too.
    const QSize size = useSource ? madeSize(source.size(), dest) : QSize(int(dest.width()), int(dest.height()));
    const auto serves = [&](const QImage& made) {
        return useSource ? ServesPaperPixels(made.width(), size.width()) &&
                               ServesPaperPixels(made.height(), size.height())
                         : made.size() == size;
    };

    // The same images again, for the same operation.
    const uint64_t how =
        (uint64_t(table) | uint64_t(pattern.kind) << 8 | uint64_t(pattern.color) << 16) ^ uint64_t(soft) << 63;
    const qint64 sourceId = source.isNull() ? 0 : source.cacheKey();
    const qint64 maskId = pendingMask.isNull() ? 0 : pendingMask.cacheKey();
    const qint64 tileId = pattern.tile.isNull() ? 0 : pattern.tile.cacheKey();
    for (auto it = made_.begin(); useSource && it != made_.end(); ++it) {
        if (it->source == sourceId && it->mask == maskId && it->tile == tileId && it->how == how &&
            serves(it->picture)) {
            made_.splice(made_.begin(), made_, it);
            *picture = made_.front().picture;
            return true;
        }
    }

    // What the picture is made of.
    uint64_t key[2] = {table | uint64_t(soft) << 63, uint64_t(pattern.kind) << 32 | pattern.color};
    if (useSource)
        HashImage(source, key);
    HashImage(pendingMask, key);
    HashImage(pattern.tile, key);
    for (auto it = made_.begin(); it != made_.end(); ++it) {
        if (it->key[0] == key[0] && it->key[1] == key[1] && serves(it->picture)) {
            it->source = sourceId;
            it->mask = maskId;
            it->tile = tileId;
            it->how = how;
            made_.splice(made_.begin(), made_, it);
            *picture = made_.front().picture;
            return true;
        }
    }

    QImage out;
    if (useSource) {
        const QImage scaled = size == source.size() ? source
                                                    : source.scaled(size, Qt::IgnoreAspectRatio,
                                                                    Qt::SmoothTransformation);
        out = scaled.convertToFormat(QImage::Format_ARGB32);
    } else {
        out = QImage(size, QImage::Format_ARGB32);
        out.fill(0);
    }
    const QImage mask = pendingMask.isNull() ? QImage()
                                             : pendingMask.convertToFormat(QImage::Format_RGB32).scaled(out.size());
    const uint32_t patternColor = ToRgb(pattern.color);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(out.scanLine(y));
        const uint32_t* m = mask.isNull() ? nullptr : reinterpret_cast<const uint32_t*>(mask.constScanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const uint32_t s = line[x] & 0xFFFFFFu;
            uint32_t pat = patternColor;
            if (pattern.kind == DevicePaint::kTiled && !pattern.tile.isNull())
                pat = pattern.tile.pixel(x % pattern.tile.width(), y % pattern.tile.height()) & 0xFFFFFFu;
            if (soft) {
                line[x] = OffWhite(s, 255u - (m[x] & 0xFFu));
                continue;
            }
            if (m) {
                // White mask pixels are the transparent ones.
                line[x] = (m[x] & 0xFFFFFFu) == 0xFFFFFFu ? 0u : (0xFF000000u | s);
                continue;
            }
            const uint32_t onWhite = Rop3Apply(table, pat, s, 0xFFFFFF);
            const uint32_t onBlack = Rop3Apply(table, pat, s, 0);
            const bool keeps = onWhite == 0xFFFFFFu && onBlack == 0;
            line[x] = keeps ? 0u : (0xFF000000u | onWhite);
        }
    }
    if (soft)
        SpreadIntoLeftOut(out);
    if (out.sizeInBytes() <= kMadeBytes) {
        made_.push_front(Made{{key[0], key[1]}, out, sourceId, maskId, tileId, how});
        madeBytes_ += out.sizeInBytes();
        while (madeBytes_ > kMadeBytes && made_.size() > 1) {
            madeBytes_ -= made_.back().picture.sizeInBytes();
            made_.pop_back();
        }
    }
    *picture = std::move(out);
    return true;
}
