#include "graphics/imaging_bitmap.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/dib_block.h"
#include "graphics/dib_format.h"
#include "graphics/imaging_image.h"

namespace {

// Pixels of a quarter turn (or none) with resizing: every pixel lands on
// exactly one place. quarter is 0-3 clockwise.
template <class Pixel>
void TurnQuarters(const QImage& source, QImage* dest, int quarter)
{
    const int w = source.width(), h = source.height();
    for (int y = 0; y < dest->height(); ++y) {
        auto* out = reinterpret_cast<Pixel*>(dest->scanLine(y));
        for (int x = 0; x < dest->width(); ++x) {
            int sx = x, sy = y;
            switch (quarter) {
            case 1:
                sx = y;
                sy = h - 1 - x;
                break;
            case 2:
                sx = w - 1 - x;
                sy = h - 1 - y;
                break;
            case 3:
                sx = w - 1 - y;
                sy = x;
                break;
            default:
                break;
            }
            out[x] = reinterpret_cast<const Pixel*>(source.constScanLine(sy))[sx];
        }
    }
}

// Any angle: each destination pixel's centre is turned back onto the source
// and takes the pixel it falls in, or the background outside.
template <class Pixel>
void TurnFreely(const QImage& source, QImage* dest, double degrees, Pixel background)
{
    const double radians = degrees * M_PI / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const double scx = source.width() / 2.0, scy = source.height() / 2.0;
    const double dcx = dest->width() / 2.0, dcy = dest->height() / 2.0;
    for (int y = 0; y < dest->height(); ++y) {
        auto* out = reinterpret_cast<Pixel*>(dest->scanLine(y));
        const double dy = y + 0.5 - dcy;
        for (int x = 0; x < dest->width(); ++x) {
            const double dx = x + 0.5 - dcx;
            const double sx = std::floor(dx * c + dy * s + scx);
            const double sy = std::floor(-dx * s + dy * c + scy);
            if (sx >= 0 && sy >= 0 && sx < source.width() && sy < source.height())
                out[x] = reinterpret_cast<const Pixel*>(source.constScanLine(int(sy)))[int(sx)];
            else
                out[x] = background;
        }
    }
}

// The same, blending the four source pixels around the point (the
// background beyond the edges), for pictures of 32-bit pixels.
void TurnSmoothly(const QImage& source, QImage* dest, double degrees, QRgb background)
{
    const double radians = degrees * M_PI / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const double scx = source.width() / 2.0, scy = source.height() / 2.0;
    const double dcx = dest->width() / 2.0, dcy = dest->height() / 2.0;
    const int w = source.width(), h = source.height();
    auto at = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h ? reinterpret_cast<const QRgb*>(source.constScanLine(y))[x]
                                                   : background;
    };
    for (int y = 0; y < dest->height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(dest->scanLine(y));
        const double dy = y + 0.5 - dcy;
        for (int x = 0; x < dest->width(); ++x) {
            const double dx = x + 0.5 - dcx;
            const double sx = dx * c + dy * s + scx - 0.5;
            const double sy = -dx * s + dy * c + scy - 0.5;
            const double fx0 = std::floor(sx), fy0 = std::floor(sy);
            if (fx0 < -1 || fy0 < -1 || fx0 >= w || fy0 >= h) {
                out[x] = background;
                continue;
            }
            const int x0 = int(fx0), y0 = int(fy0);
            const int ax = int((sx - fx0) * 256), ay = int((sy - fy0) * 256);
            const QRgb p00 = at(x0, y0), p10 = at(x0 + 1, y0), p01 = at(x0, y0 + 1), p11 = at(x0 + 1, y0 + 1);
            auto mix = [&](int shift) {
                const int top = int((p00 >> shift) & 0xFF) * (256 - ax) + int((p10 >> shift) & 0xFF) * ax;
                const int bottom = int((p01 >> shift) & 0xFF) * (256 - ax) + int((p11 >> shift) & 0xFF) * ax;
                return uint32_t((top * (256 - ay) + bottom * ay + (1 << 15)) >> 16);
            };
            out[x] = 0xFF000000u | mix(16) << 16 | mix(8) << 8 | mix(0);
        }
    }
}

// Nearest pixel: each destination pixel takes the source pixel under its
// centre, so no colour is made up and the table stays as it is.
template <class Pixel>
void Resample(const QImage& source, QImage* dest)
{
    const int64_t sw = source.width(), sh = source.height();
    const int64_t dw = dest->width(), dh = dest->height();
    std::vector<int> columns(static_cast<size_t>(dw));
    for (int64_t x = 0; x < dw; ++x)
        columns[size_t(x)] = int((2 * x + 1) * sw / (2 * dw));
    for (int64_t y = 0; y < dh; ++y) {
        const auto* in = reinterpret_cast<const Pixel*>(source.constScanLine(int((2 * y + 1) * sh / (2 * dh))));
        auto* out = reinterpret_cast<Pixel*>(dest->scanLine(int(y)));
        for (int64_t x = 0; x < dw; ++x)
            out[x] = in[columns[size_t(x)]];
    }
}

}  // namespace

void ImagingBitmap::Take(QImage image, int32_t bits)
{
    image_ = std::move(image);
    bits_ = bits;
    width_ = image_.width();
    height_ = image_.height();
}

bool ImagingBitmap::Initialize(int32_t width, int32_t height, int32_t bits)
{
    Release();
    width_ = width;
    height_ = height;
    bits_ = bits;
    return true;
}

bool ImagingBitmap::LoadFromDib(const uint8_t* block, uint32_t size, const uint8_t* bits)
{
    DibGeometry g;
    if (!DibCheckHeader(block, size, &g) || bits != block + g.pixelOffset)
        return false;
    int32_t depth = 0;
    QImage image = ImageFromPackedDib(block, size, &depth);
    if (image.isNull())
        return false;
    Take(std::move(image), depth);
    return true;
}

bool ImagingBitmap::LoadFromGlobal(GlobalBlock block)
{
    GlobalBlockOwner owner(block);
    const uint8_t* bytes = GlobalBlockLock(block);
    int32_t depth = 0;
    QImage image = bytes ? ImageFromPackedDib(bytes, GlobalBlockSize(block), &depth) : QImage();
    GlobalBlockUnlock(block);
    if (image.isNull())
        return false;
    Take(std::move(image), depth);
    return true;
}

bool ImagingBitmap::Rotate(int32_t hundredths, bool resize, ColorRef background, bool smooth)
{
    if (image_.isNull())
        return false;
    int32_t turn = hundredths % 36000;
    if (turn < 0)
        turn += 36000;

    QImage source = image_;
    const int w = source.width(), h = source.height();
    const bool exactQuarter = turn % 9000 == 0 && (resize || w == h || turn % 18000 == 0);
    smooth = smooth && !exactQuarter;
    if (smooth && source.format() != QImage::Format_RGB32)
        source = source.convertToFormat(QImage::Format_RGB32);
    const bool indexed = !exactQuarter && source.format() == QImage::Format_Indexed8;
    const QRgb backgroundRgb = qRgb(RedOf(background), GreenOf(background), BlueOf(background));
    uint8_t backgroundIndex = 0;
    if (indexed) {
        // The background takes an entry of its colour, else a new entry,
        // else one that no pixel uses; a picture using all 256 is turned
        // as RGB.
        QList<QRgb> table = source.colorTable();
        qsizetype at = table.indexOf(backgroundRgb);
        if (at < 0 && table.size() < 256) {
            at = table.size();
            table.push_back(backgroundRgb);
        } else if (at < 0) {
            bool used[256] = {};
            for (int y = 0; y < source.height(); ++y) {
                const uint8_t* row = source.constScanLine(y);
                for (int x = 0; x < source.width(); ++x)
                    used[row[x]] = true;
            }
            for (qsizetype i = 0; i < table.size() && at < 0; ++i) {
                if (!used[i])
                    at = i;
            }
            if (at >= 0)
                table[at] = backgroundRgb;
        }
        if (at >= 0) {
            backgroundIndex = uint8_t(at);
            source.setColorTable(table);
        } else {
            source = source.convertToFormat(QImage::Format_RGB32);
        }
    }

    int dw = w, dh = h;
    if (resize && exactQuarter && turn % 18000 != 0) {
        dw = h;
        dh = w;
    } else if (resize && !exactQuarter) {
        const double radians = turn / 100.0 * M_PI / 180.0;
        const double c = std::fabs(std::cos(radians)), s = std::fabs(std::sin(radians));
        dw = std::max(1, int(std::ceil(w * c + h * s - 1e-6)));
        dh = std::max(1, int(std::ceil(w * s + h * c - 1e-6)));
    }
    if (uint64_t(dw) * uint64_t(dh) * 4 > kDibMaxBlockSize)
        return false;
    QImage dest(dw, dh, source.format());
    if (dest.isNull())
        return false;
    if (source.format() == QImage::Format_Indexed8) {
        dest.setColorTable(source.colorTable());
        if (exactQuarter)
            TurnQuarters<uint8_t>(source, &dest, turn / 9000);
        else
            TurnFreely<uint8_t>(source, &dest, turn / 100.0, backgroundIndex);
    } else {
        if (exactQuarter)
            TurnQuarters<QRgb>(source, &dest, turn / 9000);
        else if (smooth)
            TurnSmoothly(source, &dest, turn / 100.0, backgroundRgb);
        else
            TurnFreely<QRgb>(source, &dest, turn / 100.0, backgroundRgb);
    }
    Take(std::move(dest), smooth && bits_ < 24 ? 24 : bits_);
    return true;
}

bool ImagingBitmap::PrepareDestination()
{
    if (width_ <= 0 || height_ <= 0 || uint64_t(width_) * uint64_t(height_) * 4 > kDibMaxBlockSize)
        return false;
    QImage blank(width_, height_, QImage::Format_RGB32);
    if (blank.isNull())
        return false;
    blank.fill(Qt::white);
    image_ = std::move(blank);
    return true;
}

bool ImagingBitmap::ResampleFrom(const ImagingBitmap& source)
{
    if (image_.isNull() || source.image_.isNull())
        return false;
    const QImage& from = source.image_;
    QImage scaled(width_, height_, from.format());
    if (scaled.isNull())
        return false;
    if (from.format() == QImage::Format_Indexed8) {
        scaled.setColorTable(from.colorTable());
        Resample<uint8_t>(from, &scaled);
    } else {
        Resample<QRgb>(from, &scaled);
    }
    image_ = std::move(scaled);
    return true;
}

GlobalBlock ImagingBitmap::ExportDib() const { return PackedDibFromImage(image_, bits_); }

GlobalBlock ImagingBitmap::TakeResultDib()
{
    GlobalBlock block = ExportDib();
    Release();
    return block;
}

bool ImagingBitmap::ReadColourTable(int32_t first, int32_t count, uint8_t* table) const
{
    if (count == 0)
        return true;
    if (!table || first < 0 || count < 0 || first + count > 256 || image_.format() != QImage::Format_Indexed8)
        return false;
    const QList<QRgb> colours = image_.colorTable();
    for (int32_t i = 0; i < count; ++i) {
        const qsizetype at = first + i;
        const QRgb c = at < colours.size() ? colours[at] : qRgb(0, 0, 0);
        uint8_t* q = table + size_t(kDibQuadSize) * size_t(i);
        q[0] = uint8_t(qBlue(c));
        q[1] = uint8_t(qGreen(c));
        q[2] = uint8_t(qRed(c));
        q[3] = 0;
    }
    return true;
}

void ImagingBitmap::Release()
{
    image_ = QImage();
    width_ = height_ = bits_ = 0;
}
