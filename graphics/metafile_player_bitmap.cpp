// The player's pictures: blits, bitmaps drawn into rectangles, and the
// pens and brushes made from bitmaps.
#include <algorithm>
#include <cmath>
#include <memory>

#include "graphics/metafile_bitmap.h"
#include "graphics/metafile_format.h"
#include "graphics/metafile_player_state.h"
#include "platform/raster_ops.h"

namespace {

// The bitmap a record carries at (offBmi, cbBmi, offBits, cbBits); null
// when any part lies outside the record.
QImage RecordImage(const RecordBytes& r, uint32_t at, uint32_t usage, bool keepAlpha = false)
{
    const uint32_t offBmi = r.u32(at), cbBmi = r.u32(at + 4), offBits = r.u32(at + 8), cbBits = r.u32(at + 12);
    const uint8_t* info = r.at(offBmi, cbBmi);
    const uint8_t* bits = r.at(offBits, cbBits);
    if (!info || !bits || cbBmi == 0)
        return QImage();
    return MetafileDibToImage(info, cbBmi, bits, cbBits, usage, keepAlpha);
}

// An 8 x 8 one-bit pattern of a one-bit bitmap, repeated when smaller.
bool MonoPatternOf(const RecordBytes& r, uint32_t at, MonoPattern* out)
{
    const uint32_t offBmi = r.u32(at), cbBmi = r.u32(at + 4), offBits = r.u32(at + 8), cbBits = r.u32(at + 12);
    const uint8_t* info = r.at(offBmi, cbBmi);
    const uint8_t* bits = r.at(offBits, cbBits);
    MetafileDibInfo d;
    if (!info || !bits || !MetafileDibReadInfo(info, cbBmi, &d) || d.bitCount != 1 || d.compression != BI_RGB)
        return false;
    const uint64_t stride = (uint64_t(d.width) + 31) / 32 * 4;
    if (stride * uint64_t(d.height) > cbBits)
        return false;
    for (int y = 0; y < 8; ++y) {
        const int sy = y % d.height;
        const uint8_t* row = bits + stride * uint64_t(d.topDown ? sy : d.height - 1 - sy);
        uint8_t v = 0;
        for (int x = 0; x < 8; ++x) {
            const int sx = x % d.width;
            if ((row[sx >> 3] >> (7 - (sx & 7))) & 1)
                v |= uint8_t(0x80 >> x);
        }
        out->rows[y] = v;
    }
    return true;
}

// A rectangle of a record's source coordinates, held far inside int so
// that its edges cannot overflow (bitmaps are much smaller than that).
QRect SourceRect(int64_t x, int64_t y, int64_t w, int64_t h)
{
    constexpr int64_t kLimit = int64_t(1) << 28;
    return QRect(int(std::clamp(x, -kLimit, kLimit)), int(std::clamp(y, -kLimit, kLimit)),
                 int(std::clamp<int64_t>(w, 0, kLimit)), int(std::clamp<int64_t>(h, 0, kLimit)));
}

// The part of `source` inside the image; a rectangle that misses it
// entirely gives the whole image.
QRect SourceWithin(const QImage& image, const QRect& source)
{
    const QRect cut = source & image.rect();
    return cut.isEmpty() ? image.rect() : cut;
}

}  // namespace

IntRect MetafilePlayer::destRect(double x, double y, double width, double height) const
{
    if (axisAligned()) {
        const IntPoint a = map(x, y);
        const IntPoint b = map(x + width, y + height);
        return IntRect{a.x, a.y, b.x, b.y};
    }
    // A turned picture is drawn upright over the box its corners span.
    const IntPoint c[4] = {map(x, y), map(x + width, y), map(x + width, y + height), map(x, y + height)};
    IntRect box{c[0].x, c[0].y, c[0].x, c[0].y};
    for (const IntPoint& p : c) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}

void MetafilePlayer::drawImage(double x, double y, double width, double height, const QImage& image,
                               const QRect& source, uint32_t rop, const QImage* mask)
{
    applyObjects();
    const IntRect dest = destRect(x, y, width, height);
    if (mask) {
        dc_.stretchImage(dest, *mask, source, MERGEPAINT);
        dc_.stretchImage(dest, image, source, SRCAND);
        return;
    }
    dc_.stretchImage(dest, image, source, rop);
}

void MetafilePlayer::stretchDIBits(const RecordBytes& r)
{
    if (!r.has(8, 72))
        return;
    const double xDest = r.i32(24), yDest = r.i32(28);
    const int32_t xSrc = r.i32(32), ySrc = r.i32(36), cxSrc = r.i32(40), cySrc = r.i32(44);
    const uint32_t usage = r.u32(64), rop = r.u32(68);
    const double cxDest = r.i32(72), cyDest = r.i32(76);
    if (!Rop3UsesSource(Rop3Table(rop))) {
        applyObjects();
        const IntRect d = destRect(xDest, yDest, cxDest, cyDest);
        dc_.patBlt(d.left, d.top, d.right - d.left, d.bottom - d.top, rop);
        return;
    }
    const QImage image = RecordImage(r, 48, usage);
    MetafileDibInfo info;
    if (image.isNull() || cxSrc <= 0 || cySrc <= 0 || !MetafileDibReadInfo(r.at(r.u32(48), r.u32(52)), r.u32(52), &info))
        return;
    // The source's y counts from the bitmap's last stored row.
    const int64_t top = info.topDown ? ySrc : int64_t(info.height) - ySrc - cySrc;
    const QRect wanted = SourceRect(xSrc, top, cxSrc, cySrc);
    const QRect source = wanted & image.rect();
    if (source.isEmpty())
        return;
    // A source cut by the bitmap's edges keeps its place in the destination.
    const double fx = cxDest / cxSrc, fy = cyDest / cySrc;
    drawImage(xDest + (source.left() - wanted.left()) * fx, yDest + (source.top() - wanted.top()) * fy,
              source.width() * fx, source.height() * fy, image, source, rop);
}

void MetafilePlayer::setDIBitsToDevice(const RecordBytes& r)
{
    if (!r.has(8, 68))
        return;
    const int32_t cxSrc = r.i32(40), cySrc = r.i32(44);
    const uint32_t startScan = r.u32(68), scans = r.u32(72);
    const QImage image = RecordImage(r, 48, r.u32(64));
    // Only whole bitmaps: bands of scan lines are a printer driver's business.
    if (image.isNull() || startScan != 0 || scans < uint32_t(image.height()) || cxSrc <= 0 || cySrc <= 0)
        return;
    MetafileDibInfo info;
    if (!MetafileDibReadInfo(r.at(r.u32(48), r.u32(52)), r.u32(52), &info))
        return;
    const int32_t ySrc = r.i32(36);
    const int64_t top = info.topDown ? ySrc : int64_t(info.height) - ySrc - cySrc;
    const QRect source = SourceRect(r.i32(32), top, cxSrc, cySrc) & image.rect();
    if (!source.isEmpty())
        drawImage(r.i32(24), r.i32(28), cxSrc, cySrc, image, source, SRCCOPY);
}

void MetafilePlayer::bitBlt(uint32_t type, const RecordBytes& r)
{
    const bool stretch = type == EMR_STRETCHBLT;
    if (!r.has(8, stretch ? 100 : 92))
        return;
    const double x = r.i32(24), y = r.i32(28), cx = r.i32(32), cy = r.i32(36);
    const uint32_t rop = r.u32(40);
    if (r.u32(88) == 0 || !Rop3UsesSource(Rop3Table(rop))) {
        applyObjects();
        const IntRect d = destRect(x, y, cx, cy);
        dc_.patBlt(d.left, d.top, d.right - d.left, d.bottom - d.top, rop);
        return;
    }
    const QImage image = RecordImage(r, 84, r.u32(80));
    if (image.isNull())
        return;
    const int32_t w = stretch ? r.i32(100) : int32_t(cx);
    const int32_t h = stretch ? r.i32(104) : int32_t(cy);
    QRect source = image.rect();
    // Writers keep either the source rectangle alone or the whole source
    // surface; only the latter is cut at the source position.
    if (image.width() != w || image.height() != h) {
        const QTransform xf(r.f32(52), r.f32(56), r.f32(60), r.f32(64), r.f32(68), r.f32(72));
        QPointF at = QPointF(r.i32(44), r.i32(48));
        if (std::isfinite(xf.m11()) && std::isfinite(xf.dx()) && std::isfinite(xf.m22()) && std::isfinite(xf.dy()))
            at = xf.map(at);
        const IntPoint p = Round(at);
        source = SourceWithin(image, SourceRect(p.x, p.y, std::max(w, 1), std::max(h, 1)));
    }
    drawImage(x, y, cx, cy, image, source, rop);
}

void MetafilePlayer::blendBlt(uint32_t type, const RecordBytes& r)
{
    if (!r.has(8, 100))
        return;
    const double x = r.i32(24), y = r.i32(28), cx = r.i32(32), cy = r.i32(36);
    const bool alpha = type == EMR_ALPHABLEND;
    const uint8_t constant = r.u8(42);
    const bool perPixel = r.u8(43) & 1;
    QImage image = RecordImage(r, 84, r.u32(80), alpha && perPixel);
    if (image.isNull())
        return;
    const int32_t w = r.i32(100), h = r.i32(104);
    QRect source = image.rect();
    if (w > 0 && h > 0 && (image.width() != w || image.height() != h))
        source = SourceWithin(image, SourceRect(r.i32(44), r.i32(48), w, h));
    image = image.copy(source);
    if (image.isNull())
        return;

    // What the surface cannot blend is thresholded: a pixel at least half
    // covered shows, others leave what lies beneath.
    const ColorRef key = r.u32(40) & 0xFFFFFF;
    QImage picture(image.size(), QImage::Format_RGB32);
    QImage mask(image.size(), QImage::Format_RGB32);
    bool anyShown = false, anyHidden = false;
    for (int j = 0; j < image.height(); ++j) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(j));
        auto* pic = reinterpret_cast<QRgb*>(picture.scanLine(j));
        auto* m = reinterpret_cast<QRgb*>(mask.scanLine(j));
        for (int i = 0; i < image.width(); ++i) {
            const QRgb p = in[i];
            bool shown;
            QRgb colour = p | 0xFF000000u;
            if (alpha) {
                const int a = (perPixel ? qAlpha(p) : 255) * constant / 255;
                shown = a >= 128;
                if (perPixel && qAlpha(p) > 0 && qAlpha(p) < 255) {
                    const int pa = qAlpha(p);
                    colour = qRgb(std::min(255, qRed(p) * 255 / pa), std::min(255, qGreen(p) * 255 / pa),
                                  std::min(255, qBlue(p) * 255 / pa));
                }
            } else {
                shown = MakeRgb(uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p))) != key;
            }
            anyShown |= shown;
            anyHidden |= !shown;
            pic[i] = shown ? colour : 0xFFFFFFFFu;
            m[i] = shown ? 0xFF000000u : 0xFFFFFFFFu;
        }
    }
    if (!anyShown)
        return;
    drawImage(x, y, cx, cy, picture, picture.rect(), SRCCOPY, anyHidden ? &mask : nullptr);
}

void MetafilePlayer::createBrush(uint32_t type, const RecordBytes& r)
{
    PlayerObject o;
    o.kind = PlayerObject::kBrush;
    if (type == EMR_CREATEBRUSHINDIRECT) {
        if (!r.has(8, 16))
            return;
        const uint32_t style = r.u32(12);
        const ColorRef c = r.u32(16) & 0xFFFFFF;
        const uint32_t hatch = r.u32(20);
        if (style == uint32_t(BS_NULL))
            o.brush = Brush::Hollow();
        else if (style == uint32_t(BS_HATCHED) && hatch <= uint32_t(HS_DIAGCROSS))
            o.brush = Brush::Hatched(int32_t(hatch), c);
        else
            o.brush = Brush::Solid(c);
        createObject(r.u32(8), o);
        return;
    }
    if (!r.has(8, 24))
        return;
    MonoPattern pattern;
    if (type == EMR_CREATEMONOBRUSH && MonoPatternOf(r, 16, &pattern)) {
        o.brush = Brush::Pattern(pattern);
    } else {
        const QImage image = RecordImage(r, 16, r.u32(12));
        if (image.isNull())
            return;
        o.brush.style = BS_PATTERN;
        o.brush.image = std::make_shared<const QImage>(image);
    }
    createObject(r.u32(8), o);
}

void MetafilePlayer::createExtPen(const RecordBytes& r)
{
    if (!r.has(8, 44))
        return;
    PlayerObject o;
    o.kind = PlayerObject::kPen;
    o.pen.style = r.u32(28);
    o.pen.cosmetic = (o.pen.style & PS_TYPE_MASK) != PS_GEOMETRIC;
    o.pen.width = o.pen.cosmetic ? 0 : int32_t(std::min<uint32_t>(r.u32(32), 0x7FFFFFFF));
    o.pen.color = r.u32(40) & 0xFFFFFF;
    if (r.u32(36) == uint32_t(BS_NULL))
        o.pen.style = (o.pen.style & ~PS_STYLE_MASK) | uint32_t(PS_NULL);
    createObject(r.u32(8), o);
}
