// Playing metafiles into device contexts and rendering them into pictures.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/metafile.h"
#include "graphics/metafile_player.h"
#include "platform/dc.h"

namespace {

constexpr uint64_t kOffscreenMaxBytes = 5000000;

// The surface a metafile is rendered on: a 24-bit picture of the size,
// shrunk as the off-screen context shrinks a large one (by the square root
// of how many times it exceeds 5,000,000 bytes, halving from the second
// round on, and always by at least one pixel a round so that the search
// ends). Null when not even 1 x 1 can be had.
QImage OffscreenSurface(int32_t* width, int32_t* height)
{
    int64_t w = *width, h = *height;
    auto shrink = [&](bool halve) {
        const uint64_t size = uint64_t((w * 24 + 31) / 32 * 4) * uint64_t(h);
        int64_t nw = w, nh = h;
        if (size > kOffscreenMaxBytes) {
            const double f = std::sqrt(double(size / kOffscreenMaxBytes));
            nw = int64_t(double(w) / f);
            nh = int64_t(double(h) / f);
        } else if (halve) {
            nw = w / 2;
            nh = h / 2;
        }
        if (halve && nw >= w && nh >= h) {
            nw = w / 2;
            nh = h / 2;
        }
        w = std::max<int64_t>(nw, 1);
        h = std::max<int64_t>(nh, 1);
    };
    shrink(false);
    for (;;) {
        if (w <= INT32_MAX && h <= INT32_MAX) {
            QImage surface(int(w), int(h), QImage::Format_RGB32);
            if (!surface.isNull()) {
                *width = int32_t(w);
                *height = int32_t(h);
                return surface;
            }
        }
        if (w == 1 && h == 1)
            return QImage();
        shrink(true);
    }
}

// The rendered surface into a 24-bit DibHandle.
int32_t SurfaceToDib(const QImage& surface, DibHandle dib)
{
    if (DibHandleCreate(dib, surface.width(), surface.height(), 24))
        return 1;
    const DibRecord* rec = DibHandleBlockSlot(dib);
    const int32_t stride = DibHandleStride(dib);
    const int h = surface.height();
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(surface.constScanLine(y));
        uint8_t* row = rec->bits + size_t(stride) * size_t(h - 1 - y);
        for (int x = 0; x < surface.width(); ++x) {
            row[3 * x] = uint8_t(qBlue(in[x]));
            row[3 * x + 1] = uint8_t(qGreen(in[x]));
            row[3 * x + 2] = uint8_t(qRed(in[x]));
        }
    }
    return 0;
}

}  // namespace

int32_t PlayMetafile(Dc* dc, EnhMetafile object, const IntRect& rect)
{
    if (!dc || !object)
        return 1;
    PlayEnhMetaFile(*dc, *object, rect);
    return 0;
}

int32_t MetafilePlayHandle(Dc* dc, Handle bits, const IntRect& rect)
{
    EnhMetafile mf = nullptr;
    if (MetafileFromHandle(&mf, bits))
        return 1;
    const int32_t result = PlayMetafile(dc, mf, rect);
    DeleteEnhMetaFile(mf);
    return result;
}

int32_t MetafileToDib(EnhMetafile object, Dc* reference, int32_t width, int32_t height, DibHandle dib)
{
    if (!dib)
        return 1;
    DibHandleClear(&dib);
    if (!object || width <= 0 || height <= 0)
        return 1;
    QImage surface = OffscreenSurface(&width, &height);
    if (surface.isNull())
        return 1;
    if (reference) {
        const int32_t dx = reference->getDeviceCaps(LOGPIXELSX), dy = reference->getDeviceCaps(LOGPIXELSY);
        if (dx > 0 && dy > 0) {
            surface.setDotsPerMeterX(int(std::lround(dx / 0.0254)));
            surface.setDotsPerMeterY(int(std::lround(dy / 0.0254)));
        }
    }
    surface.fill(qRgb(0xFF, 0xFF, 0xFE));
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        if (!dc)
            return 1;
        PlayEnhMetaFile(*dc, *object, IntRect{0, 0, width, height});
    }
    return SurfaceToDib(surface, dib);
}

int32_t MetafileHandleToDib(Dc* reference, Handle bits, DibHandle dib, int32_t maxSide)
{
    EnhMetafile mf = nullptr;
    if (MetafileFromHandle(&mf, bits)) {
        DibHandleClear(&dib);
        return 1;
    }
    int32_t w, h;
    MetafileGetFrameSize(mf, &w, &h, maxSide);
    const int32_t result = MetafileToDib(mf, reference, w, h, dib);
    DeleteEnhMetaFile(mf);
    return result;
}

int32_t MetafileHandleToDibRect(Dc* reference, Handle bits, DibHandle dib, const IntRect& rect)
{
    EnhMetafile mf = nullptr;
    if (MetafileFromHandle(&mf, bits)) {
        DibHandleClear(&dib);
        return 1;
    }
    const int32_t result = MetafileToDib(mf, reference, rect.right - rect.left + 1, rect.bottom - rect.top + 1, dib);
    DeleteEnhMetaFile(mf);
    return result;
}

int32_t MetafileFileToDib(const PathRecord* record, Dc* reference, DibHandle dib, int32_t maxSide)
{
    EnhMetafile mf = nullptr;
    if (MetafileLoadPath(record, &mf)) {
        DibHandleClear(&dib);
        return 1;
    }
    int32_t w, h;
    MetafileGetFrameSize(mf, &w, &h, maxSide);
    const int32_t result = MetafileToDib(mf, reference, w, h, dib);
    DeleteEnhMetaFile(mf);
    return result;
}
