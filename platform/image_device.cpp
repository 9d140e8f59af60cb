// The image target: every call becomes Coverage and is combined with the
// surface pixel by pixel, so raster operations are exact.
//
// Surfaces are 32-bit: Format_RGB32, Format_ARGB32 or
// Format_ARGB32_Premultiplied (ForImage converts any other format to
// Format_RGB32, or Format_ARGB32 when it has alpha). The raster operations
// work on the 24 colour bits only and every pixel drawn is written opaque
// (alpha 0xFF), so XOR drawing never makes a surface transparent.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/coverage.h"
#include "platform/drawing_stop.h"
#include "platform/dc_device.h"
#include "platform/glyph_gaps.h"
#include "platform/raster_ops.h"

namespace {

// ColorRef keeps red in the low byte, the surfaces keep blue there.
inline uint32_t ToSurface(ColorRef c) { return (c & 0x00FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu); }
inline ColorRef FromSurface(uint32_t v) { return (v & 0x00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu); }

class ImageDevice final : public DcDevice {
public:
    explicit ImageDevice(QImage* image) : image_(image)
    {
        const QImage::Format f = image_->format();
        if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
            image_->convertTo(image_->hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        premultiplied_ = image_->format() == QImage::Format_ARGB32_Premultiplied;
    }

    int32_t technology() const override { return DT_RASDISPLAY; }
    QSize pixelSize() const override { return image_->size(); }
    double dpiX() const override { return Dpi(image_->dotsPerMeterX()); }
    double dpiY() const override { return Dpi(image_->dotsPerMeterY()); }
    QImage* image() override { return image_; }
    bool isRaster() const override { return true; }

    bool drawShape(const DeviceShape& shape, const DeviceClip* clip) override;
    bool drawText(const DeviceText& text, const DeviceClip* clip) override;
    bool blit(const BlitRect& dest, const QImage& source, uint32_t rop, const DevicePaint& pattern,
              const DeviceClip* clip) override;

    ColorRef pixel(int x, int y) const override
    {
        if (!image_->rect().contains(x, y))
            return 0xFFFFFFFFu;
        return FromSurface(read(reinterpret_cast<const uint32_t*>(image_->constScanLine(y))[x]));
    }

    bool setPixel(int x, int y, ColorRef c, const DeviceClip* clip) override
    {
        if (!image_->rect().contains(x, y) || (clip && !clip->contains(QPoint(x, y))))
            return false;
        reinterpret_cast<uint32_t*>(image_->scanLine(y))[x] = 0xFF000000u | ToSurface(c);
        return true;
    }
    // Every call has already reached the image.
    bool flush() override { return true; }

private:
    static double Dpi(int dotsPerMeter)
    {
        // QImage's default of 3780 dots a metre is 96 dpi.
        return dotsPerMeter > 0 ? std::round(dotsPerMeter * 0.0254) : 96.0;
    }

    uint32_t read(uint32_t v) const
    {
        if (premultiplied_) {
            const uint32_t a = v >> 24;
            if (a != 0 && a != 255)
                v = qUnpremultiply(v);
        }
        return v & 0xFFFFFFu;
    }

    QRect boxFor(const QRect& bounds, const QRegion* clip) const
    {
        QRect box = bounds & image_->rect();
        if (clip)
            box &= clip->boundingRect();
        return box;
    }

    void paint(const Coverage& cov, const DevicePaint& p, int32_t rop2);

    QImage* image_;
    bool premultiplied_ = false;
};

void ImageDevice::paint(const Coverage& cov, const DevicePaint& p, int32_t rop2)
{
    if (p.kind == DevicePaint::kNone || cov.isNull() || rop2 == R2_NOP)
        return;
    const QRect box = cov.box() & image_->rect();
    const bool solid = p.kind == DevicePaint::kSolid;
    const uint32_t solidColor = ToSurface(p.color);
    const int tw = solid ? 1 : p.tile.width();
    const int th = solid ? 1 : p.tile.height();
    if (!solid && (tw <= 0 || th <= 0))
        return;
    const bool direct = solid && !Rop2UsesDest(rop2);
    const uint32_t directValue = 0xFF000000u | Rop2Apply(rop2, solidColor, 0);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uint8_t* c = cov.row(y) + (box.left() - cov.box().left());
        uint32_t* line = reinterpret_cast<uint32_t*>(image_->scanLine(y));
        const uint32_t* tileRow = nullptr;
        if (!solid) {
            const int ty = ((y - p.origin.y()) % th + th) % th;
            tileRow = reinterpret_cast<const uint32_t*>(p.tile.constScanLine(ty));
        }
        // Covered runs are found with memchr, so the empty parts of a box
        // (around a slanted line, say) cost next to nothing.
        const int width = box.width();
        for (int i = 0; i < width; ++i) {
            if (!c[i]) {
                const void* next = std::memchr(c + i, 1, size_t(width - i));
                if (!next)
                    break;
                i = int(static_cast<const uint8_t*>(next) - c);
            }
            const int x = box.left() + i;
            if (direct) {
                // The whole covered run at once.
                const void* end = std::memchr(c + i, 0, size_t(width - i));
                const int stop = end ? int(static_cast<const uint8_t*>(end) - c) : width;
                std::fill(line + x, line + box.left() + stop, directValue);
                i = stop - 1;
                continue;
            }
            uint32_t src = solidColor;
            if (!solid) {
                const uint32_t t = tileRow[((x - p.origin.x()) % tw + tw) % tw];
                if ((t >> 24) == 0)
                    continue;
                src = t & 0xFFFFFFu;
            }
            line[x] = 0xFF000000u | Rop2Apply(rop2, src, read(line[x]));
        }
    }
}

namespace {

// Points of an outline's pixel line the image holds at once.
constexpr size_t kOutlineRun = 4096;

}  // namespace

bool ImageDevice::drawShape(const DeviceShape& shape, const DeviceClip* clip)
{
    const bool hasPen = shape.pen.kind != DevicePaint::kNone && !shape.stroke.isEmpty();
    const bool hasFill = shape.brush.kind != DevicePaint::kNone && !shape.fill.isEmpty();
    if (!hasPen && !hasFill)
        return true;
    QRect bounds;
    if (hasFill)
        bounds |= AreaPixelBounds(shape.fill);
    if (hasPen) {
        const QRect within = boxFor(image_->rect(), clip);
        for (const PixelPolyline& line : shape.stroke.lines)
            bounds |= PolylinePixelBounds(line, within);
        if (!shape.stroke.pixelOutline.isEmpty())
            OutlinePixelLines(shape.stroke.pixelOutline, shape.stroke.keep, shape.stroke.style != PS_SOLID,
                              kOutlineRun, [&](PixelPolyline&& line) { bounds |= PolylinePixelBounds(line, within); });
        if (!shape.stroke.area.isEmpty())
            bounds |= AreaPixelBounds(shape.stroke.area);
    }
    const QRect box = boxFor(bounds, clip);
    if (box.isEmpty())
        return true;

    Coverage pen;
    Coverage gaps;
    if (hasPen) {
        pen = Coverage(box);
        const bool wantGaps = shape.stroke.gaps.kind != DevicePaint::kNone && shape.stroke.style != PS_SOLID;
        if (wantGaps)
            gaps = Coverage(box);
        for (const PixelPolyline& line : shape.stroke.lines)
            DrawPixelLine(line, shape.stroke.style, pen, wantGaps ? &gaps : nullptr);
        if (!shape.stroke.pixelOutline.isEmpty())
            OutlinePixelLines(shape.stroke.pixelOutline, shape.stroke.keep, shape.stroke.style != PS_SOLID,
                              kOutlineRun, [&](PixelPolyline&& line) {
                                  // A long outline may take long: a drawing
                                  // told to stop draws no more of it.
                                  if (!DrawingShouldStop())
                                      DrawPixelLine(line, shape.stroke.style, pen, wantGaps ? &gaps : nullptr);
                              });
        FillArea(pen, shape.stroke.area);
        if (clip) {
            pen.intersect(*clip);
            if (!gaps.isNull())
                gaps.intersect(*clip);
        }
    }
    if (hasFill) {
        Coverage fill(box);
        FillArea(fill, shape.fill);
        if (hasPen) {
            fill.subtract(pen);
            if (!gaps.isNull())
                fill.subtract(gaps);
        }
        if (clip)
            fill.intersect(*clip);
        paint(fill, shape.brush, shape.rop2);
    }
    if (hasPen) {
        if (!gaps.isNull())
            paint(gaps, shape.stroke.gaps, shape.rop2);
        paint(pen, shape.pen, shape.rop2);
    }
    return true;
}

bool ImageDevice::drawText(const DeviceText& text, const DeviceClip* clip)
{
    QRect bounds = AreaPixelBounds(text.outline);
    if (text.face) {
        for (const DeviceText::Glyph& g : text.glyphs)
            bounds |= text.face->glyphCoverage(g.ch).box().translated(g.origin);
    }
    const QRect box = boxFor(bounds, clip);
    if (box.isEmpty())
        return true;
    Coverage cov(box);
    if (text.face) {
        for (const DeviceText::Glyph& g : text.glyphs)
            cov.add(text.face->glyphCoverage(g.ch), g.origin);
        if (text.keepApart)
            KeepGlyphsApart(text, &cov);
    }
    FillArea(cov, text.outline, true);
    if (clip)
        cov.intersect(*clip);
    // Text ignores the binary raster operation: it always copies.
    paint(cov, DevicePaint::Solid(text.color), R2_COPYPEN);
    return true;
}

bool ImageDevice::blit(const BlitRect& dest, const QImage& source, uint32_t rop, const DevicePaint& pattern,
                       const DeviceClip* clip)
{
    // dest may have negative sizes (mirroring); normalise into a box and
    // remember the direction.
    const int64_t dw = dest.width;
    const int64_t dh = dest.height;
    if (dw == 0 || dh == 0)
        return true;
    const int64_t x0 = dw > 0 ? dest.x : dest.x + dw;
    const int64_t y0 = dh > 0 ? dest.y : dest.y + dh;
    const QRect surface = image_->rect();
    const int64_t left = std::max<int64_t>(x0, surface.left());
    const int64_t top = std::max<int64_t>(y0, surface.top());
    const int64_t right = std::min<int64_t>(x0 + std::abs(dw) - 1, surface.right());
    const int64_t bottom = std::min<int64_t>(y0 + std::abs(dh) - 1, surface.bottom());
    if (left > right || top > bottom)
        return true;
    const QRect area(QPoint(static_cast<int>(left), static_cast<int>(top)),
                     QPoint(static_cast<int>(right), static_cast<int>(bottom)));

    const uint8_t table = Rop3Table(rop);
    const bool useSource = Rop3UsesSource(table);
    const bool usePattern = Rop3UsesPattern(table);
    QImage src;
    if (useSource) {
        if (source.isNull())
            return false;
        src = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    }
    const int sw = src.width();
    const int sh = src.height();
    // Nearest source pixel for each destination pixel, sampled at its
    // centre: floor((d + 1/2) * sourceSize / destSize), exact in 128 bits.
    auto nearest = [](int64_t d, int size, int64_t destSize) {
        const __int128 s = (__int128(2) * d + 1) * size / (__int128(2) * destSize);
        return int(std::clamp<__int128>(s, 0, std::max(size - 1, 0)));
    };
    std::vector<int> mapX(size_t(area.width()));
    for (int i = 0; i < area.width(); ++i) {
        const int sx = useSource ? nearest(area.left() + i - x0, sw, std::abs(dw)) : 0;
        mapX[size_t(i)] = dw > 0 ? sx : sw - 1 - sx;
    }
    const QRegion allowed = clip ? (*clip & QRegion(area)) : QRegion(area);
    const bool solidPattern = pattern.kind == DevicePaint::kSolid;
    const uint32_t patternSolid = ToSurface(pattern.color);
    for (const QRect& r : allowed) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            int sy = useSource ? nearest(y - y0, sh, std::abs(dh)) : 0;
            if (dh < 0)
                sy = sh - 1 - sy;
            const uint32_t* srow = useSource ? reinterpret_cast<const uint32_t*>(src.constScanLine(sy)) : nullptr;
            uint32_t* line = reinterpret_cast<uint32_t*>(image_->scanLine(y));
            const uint32_t* tileRow = nullptr;
            if (usePattern && pattern.kind == DevicePaint::kTiled && !pattern.tile.isNull()) {
                const int th = pattern.tile.height();
                tileRow = reinterpret_cast<const uint32_t*>(
                    pattern.tile.constScanLine(((y - pattern.origin.y()) % th + th) % th));
            }
            for (int x = r.left(); x <= r.right(); ++x) {
                const uint32_t s = srow ? (srow[mapX[size_t(x - area.left())]] & 0xFFFFFFu) : 0;
                if (rop == SRCCOPY) {
                    line[x] = 0xFF000000u | s;
                    continue;
                }
                uint32_t p = 0;
                if (usePattern) {
                    if (solidPattern) {
                        p = patternSolid;
                    } else if (tileRow) {
                        const int tw = pattern.tile.width();
                        p = tileRow[((x - pattern.origin.x()) % tw + tw) % tw] & 0xFFFFFFu;
                    }
                }
                line[x] = 0xFF000000u | Rop3Apply(table, p, s, read(line[x]));
            }
        }
    }
    return true;
}

}  // namespace

std::unique_ptr<DcDevice> MakeImageDevice(QImage* image) { return std::make_unique<ImageDevice>(image); }
