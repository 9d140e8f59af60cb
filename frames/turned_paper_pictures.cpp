#include "frames/turned_paper_pictures.h"

#include <QHash>
#include <QImage>
#include <QTransform>
#include <algorithm>
#include <utility>

#include "graphics/dib_derived.h"
#include "graphics/imaging_image.h"
#include "platform/global_block.h"
#include "platform/paper_pixels.h"

namespace {

QImage ImageOf(DibHandle h)
{
    const DibRecord* r = DibHandleBlockSlot(h);
    int32_t depth = 0;
    return r && r->block ? ImageFromPackedDib(r->block, r->byteSize, &depth) : QImage();
}

// The picture with what it leaves out as alpha, premultiplied: a pixel of
// alpha a laid over white shows c * a + (1 - a) of white, so its
// premultiplied colour is what it shows less the white the alpha let in.
// Smoothing and turning it then mix only what is shown.
QImage Premultiplied(const QImage& onWhite, const QImage& softMask, TurnedPaperPictures::Cover cover, ColorRef key)
{
    QImage out = onWhite.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb keyed = qRgb(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF);
    const bool graded = cover == TurnedPaperPictures::Cover::kGraded && !softMask.isNull() &&
                        softMask.size() == out.size() && softMask.format() == QImage::Format_Indexed8;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uint8_t* left = graded ? softMask.constScanLine(y) : nullptr;
        for (int x = 0; x < out.width(); ++x) {
            int a = 255;
            if (left)
                a = 255 - qGray(softMask.color(left[x]));
            else if (cover != TurnedPaperPictures::Cover::kOpaque && (line[x] & 0xFFFFFFu) == (keyed & 0xFFFFFFu))
                a = 0;
            const int white = 255 - a;
            line[x] = qRgba(std::max(qRed(line[x]) - white, 0), std::max(qGreen(line[x]) - white, 0),
                            std::max(qBlue(line[x]) - white, 0), a);
        }
    }
    return out;
}

// Lays the turned picture over white again. Keyed, a pixel more left out
// than shown is the key colour exactly and the others show their own
// colour whole, so that a mask of one bit made of the key finds its edge.
QImage OnWhite(const QImage& turned, TurnedPaperPictures::Cover cover, ColorRef key, QImage* grade)
{
    QImage out(turned.size(), QImage::Format_RGB32);
    if (cover == TurnedPaperPictures::Cover::kGraded) {
        *grade = QImage(turned.size(), QImage::Format_Indexed8);
        QList<QRgb> greys;
        for (int i = 0; i < 256; ++i)
            greys.push_back(qRgb(i, i, i));
        grade->setColorTable(greys);
    }
    const QRgb keyed = qRgb(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF);
    for (int y = 0; y < out.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(turned.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        uint8_t* left = grade->isNull() ? nullptr : grade->scanLine(y);
        for (int x = 0; x < out.width(); ++x) {
            const int a = qAlpha(from[x]);
            if (cover == TurnedPaperPictures::Cover::kKeyed) {
                line[x] = a < 128 ? keyed : qUnpremultiply(from[x]) | 0xFF000000u;
                continue;
            }
            const int white = 255 - a;
            line[x] = qRgb(std::min(qRed(from[x]) + white, 255), std::min(qGreen(from[x]) + white, 255),
                           std::min(qBlue(from[x]) + white, 255));
            if (left)
                left[x] = uint8_t(white);
        }
    }
    return out;
}

DibHandle DibOf(const QImage& image, int32_t bits)
{
    GlobalBlockOwner packed(PackedDibFromImage(image, bits));
    DibHandle h = packed ? DibHandleNew() : nullptr;
    if (h && DibHandleFromGlobal(h, packed.get()) != 0)
        DibHandleFree(&h);
    return h;
}

std::shared_ptr<const TurnedPaperPictures::Turned> Make(const TurnedPaperPictures::Request& r, uint64_t key)
{
    const QImage source = ImageOf(r.picture);
    if (source.isNull() || r.width <= 0 || r.height <= 0)
        return nullptr;
    QImage picture = Premultiplied(source, ImageOf(r.softMask), r.cover, r.key);
    if (picture.size() != QSize(r.width, r.height))
        picture = picture.scaled(r.width, r.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Counter-clockwise on the page, whose rows run downwards.
    picture = picture.transformed(QTransform().rotate(-double(r.angle)), Qt::SmoothTransformation);
    if (picture.isNull())
        return nullptr;
    QImage grade;
    const QImage onWhite = OnWhite(picture, r.cover, r.key, &grade);
    auto turned = std::make_shared<TurnedPaperPictures::Turned>();
    turned->picture = DibOf(onWhite, 24);
    turned->pictureKey = key;
    if (r.cover == TurnedPaperPictures::Cover::kGraded) {
        turned->mask = DibOf(grade, 8);
    } else if (r.cover == TurnedPaperPictures::Cover::kKeyed) {
        turned->mask = DibHandleNew();
        if (turned->mask && DibHandleMakeMask(turned->picture, turned->mask, r.key) != 0)
            DibHandleFree(&turned->mask);
    }
    turned->maskKey = turned->mask ? (key * 0x9E3779B97F4A7C15ull) | 1u : 0;
    if (!turned->picture || (r.cover != TurnedPaperPictures::Cover::kOpaque && !turned->mask))
        return nullptr;
    return turned;
}

}  // namespace

TurnedPaperPictures& TurnedPaperPictures::Shared()
{
    static TurnedPaperPictures pictures;
    return pictures;
}

std::shared_ptr<const TurnedPaperPictures::Turned> TurnedPaperPictures::Get(const Request& r)
{
    const uint64_t made = uint64_t(qHashMulti(size_t(0xC2B2AE3D27D4EB4Full), r.pictureKey, int(r.cover), r.key,
                                              int(r.angle), r.softMask != nullptr));
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = kept_.begin(); it != kept_.end(); ++it) {
        if (it->made == made && ServesPaperPixels(it->width, r.width) && ServesPaperPixels(it->height, r.height)) {
            kept_.splice(kept_.begin(), kept_, it);
            return kept_.front().turned;
        }
    }
    // Never 0, which stands for no key.
    const uint64_t key = uint64_t(qHashMulti(size_t(made), r.width, r.height)) | 1u;
    std::shared_ptr<const Turned> turned = Make(r, key);
    if (!turned)
        return nullptr;
    const uint64_t bytes = DibHandleBytes(turned->picture) + DibHandleBytes(turned->mask);
    if (bytes > kKeptBytes)
        return turned;
    kept_.push_front(Entry{made, r.width, r.height, turned, bytes});
    bytes_ += bytes;
    while (kept_.size() > 1 && (kept_.size() > kKept || bytes_ > kKeptBytes)) {
        bytes_ -= kept_.back().bytes;
        kept_.pop_back();
    }
    return turned;
}
