#include "graphics/imaging_image.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "graphics/dib_block.h"
#include "graphics/dib_format.h"

namespace {

uint8_t OverWhite(int value, int alpha) { return uint8_t((value * alpha + 255 * (255 - alpha) + 127) / 255); }

QRgb OverWhite(QRgb c)
{
    const int a = qAlpha(c);
    return qRgb(OverWhite(qRed(c), a), OverWhite(qGreen(c), a), OverWhite(qBlue(c), a));
}

uint32_t SmallestDepth(qsizetype colours) { return colours <= 2 ? 1 : colours <= 16 ? 4 : 8; }

}  // namespace

QImage ImageFromPackedDib(const uint8_t* block, uint64_t size, int32_t* depth)
{
    DibGeometry g;
    if (!DibCheckHeader(block, size, &g))
        return {};
    // Blocks not in the working form are converted once; the rest is read
    // where it lies.
    uint8_t* converted = nullptr;
    if (!DibIsWorkingForm(g)) {
        uint32_t convertedSize = 0;
        converted = DibConvertToWorkingForm(block, g, false, &convertedSize);
        if (!converted || !DibCheckHeader(converted, convertedSize, &g)) {
            MemFree(converted);
            return {};
        }
        block = converted;
    }

    const int w = g.width, h = g.height;
    QImage image(w, h, g.bits <= 8 ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (!image.isNull()) {
        const uint8_t* pixels = block + g.pixelOffset;
        if (g.bits <= 8) {
            // Indices the stored table does not hold show black.
            QList<QRgb> table(qsizetype(1) << g.bits, qRgb(0, 0, 0));
            const uint8_t* q = block + kDibHeaderSize;
            for (uint32_t i = 0; i < g.colours; ++i, q += kDibQuadSize)
                table[i] = qRgb(q[2], q[1], q[0]);
            image.setColorTable(table);
        }
        for (int y = 0; y < h; ++y) {
            const uint8_t* row = pixels + g.stride * uint64_t(h - 1 - y);
            uint8_t* out = image.scanLine(y);
            switch (g.bits) {
            case 1:
                for (int x = 0; x < w; ++x)
                    out[x] = (row[x / 8] >> (7 - x % 8)) & 1;
                break;
            case 4:
                for (int x = 0; x < w; ++x)
                    out[x] = x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4;
                break;
            case 8:
                std::memcpy(out, row, size_t(w));
                break;
            default: {
                auto* rgb = reinterpret_cast<QRgb*>(out);
                for (int x = 0; x < w; ++x)
                    rgb[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            }
            }
        }
    }
    MemFree(converted);
    if (depth)
        *depth = int32_t(g.bits);
    return image;
}

GlobalBlock PackedDibFromImage(const QImage& source, int32_t preferredBits)
{
    if (source.isNull())
        return nullptr;
    const QImage image = source.format() == QImage::Format_Indexed8 || source.format() == QImage::Format_RGB32
                             ? source
                             : WorkingImage(source);
    const bool indexed = image.format() == QImage::Format_Indexed8;
    const QList<QRgb> table = image.colorTable();
    uint32_t bits = 24;
    if (indexed && preferredBits != 24) {
        bits = SmallestDepth(table.size());
        if ((preferredBits == 1 || preferredBits == 4 || preferredBits == 8) && uint32_t(preferredBits) > bits)
            bits = uint32_t(preferredBits);
    }
    const int w = image.width(), h = image.height();
    const uint32_t colours = DibTableSizeOnCopyIn(bits);
    const uint64_t stride = DibRowStride(uint64_t(w), bits);
    const uint64_t pixelOffset = kDibHeaderSize + uint64_t(kDibQuadSize) * colours;
    const uint64_t total = pixelOffset + stride * uint64_t(h);
    if (total > kDibMaxBlockSize)
        return nullptr;
    GlobalBlock global = GlobalBlockAlloc(kGlobalMoveable | kGlobalShare, size_t(total));
    uint8_t* block = GlobalBlockLock(global);
    if (!block)
        return GlobalBlockFree(global);

    DibPutHeader(block, w, h, bits, colours);
    for (uint32_t i = 0; i < colours && i < uint32_t(table.size()); ++i) {
        uint8_t* q = block + kDibHeaderSize + size_t(kDibQuadSize) * i;
        q[0] = uint8_t(qBlue(table[i]));
        q[1] = uint8_t(qGreen(table[i]));
        q[2] = uint8_t(qRed(table[i]));
    }
    for (int y = 0; y < h; ++y) {
        uint8_t* row = block + pixelOffset + stride * uint64_t(h - 1 - y);
        const uint8_t* in = image.constScanLine(y);
        if (bits == 24) {
            for (int x = 0; x < w; ++x) {
                const QRgb c = indexed ? (in[x] < table.size() ? table[in[x]] : qRgb(0, 0, 0))
                                       : reinterpret_cast<const QRgb*>(in)[x];
                row[3 * x] = uint8_t(qBlue(c));
                row[3 * x + 1] = uint8_t(qGreen(c));
                row[3 * x + 2] = uint8_t(qRed(c));
            }
        } else if (bits == 8) {
            std::memcpy(row, in, size_t(w));
        } else if (bits == 4) {
            for (int x = 0; x < w; ++x)
                row[x / 2] = uint8_t(row[x / 2] | (x % 2 ? in[x] & 0x0F : (in[x] & 0x0F) << 4));
        } else {
            for (int x = 0; x < w; ++x) {
                if (in[x] & 1)
                    row[x / 8] = uint8_t(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
    }
    GlobalBlockUnlock(global);
    return global;
}

QImage WorkingImage(const QImage& image)
{
    if (image.isNull())
        return {};
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8: {
        QImage indexed = image.convertToFormat(QImage::Format_Indexed8);
        QList<QRgb> table = indexed.colorTable();
        for (QRgb& c : table)
            c = OverWhite(c);
        indexed.setColorTable(table);
        return indexed;
    }
    default:
        break;
    }
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull())
        return {};
    for (int y = 0; y < argb.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            row[x] = OverWhite(row[x]);
    }
    return argb.convertToFormat(QImage::Format_RGB32);
}

int32_t WorkingImageDepth(const QImage& image)
{
    return image.format() == QImage::Format_Indexed8 ? int32_t(SmallestDepth(image.colorTable().size())) : 24;
}
