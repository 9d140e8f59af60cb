#include "platform/font_mapper.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <list>
#include <map>
#include <mutex>
#include <tuple>

#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include "foundation/cp1252.h"

// One face (family, weight, slant) in its design units: what every size of
// it is scaled from.
struct FontDesign {
    // What the design was asked for, so that another thread can open the
    // same face for itself.
    QString family;
    int weight = FW_NORMAL;
    bool italic = false;
    QRawFont raw;  // at a pixel size of unitsPerEm, so sizes are design units
    double unitsPerEm = 2048;
    double ascent = 0;
    double descent = 0;
    double leading = 0;
    double averageCharWidth = 0;
    double maxCharWidth = 0;
    double underlinePosition = 0;
    double lineThickness = 0;
    double xHeight = 0;
    // A bold asked of a family without a bold face: how far left of each
    // glyph it is struck a second time (see FontFace::boldStrike).
    double boldStrike = 0;
    std::array<uint32_t, 256> glyph{};
    std::array<double, 256> advance{};
    // Each byte's advance in thousandths of the em as a PDF's font gives it
    // (see FontFace::pdfWidth).
    std::array<int32_t, 256> pdfWidth{};
    bool glyphsMapped = false;  // glyph[] holds the face's glyph for each byte
    // Each made when its glyph is first drawn as an outline or pixels, or
    // measured: a job that keeps text as text (a PDF) never needs them, and
    // a caption of digits needs ten.
    mutable std::array<std::once_flag, 256> pathOnce;
    mutable std::array<QPainterPath, 256> paths;
    // Names the design among those a thread made outlines of.
    uint64_t serial = 0;
};

namespace {

std::mutex& CacheMutex()
{
    static std::mutex m;
    return m;
}

QRawFont DesignRawFont(const QString& family, int weight, bool italic)
{
    QFont f(family);
    f.setWeight(QFont::Weight(weight));
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setPixelSize(2048);
    return QRawFont::fromFont(f);
}

// Whether the face the font system chose draws bold itself, as its font
// engine tells: an OpenType face by its OS/2 selection flags (or its head
// table's style), any other (Type 1) by its weight's name, of which "Bold"
// and "Black" count. A bold asked of any other face is made by the toolkit
// on its own where it prints to PDF.
bool DrawsBoldItself(const QRawFont& raw)
{
    const QByteArray os2 = raw.fontTable("OS/2");
    if (os2.size() >= 64)
        return (qFromBigEndian<quint16>(os2.constData() + 62) & 0x20) != 0;
    const QByteArray head = raw.fontTable("head");
    if (head.size() >= 46)
        return (qFromBigEndian<quint16>(head.constData() + 44) & 0x01) != 0;
    const int weight = QFontDatabase::weight(raw.familyName(), raw.styleName());
    return weight == QFont::Bold || weight == QFont::Black;
}

// A glyph's advance in thousandths of the em as Qt's PDF engine writes it in
// a font's widths: the engine scales the design advance to 2048ths of the
// em, rounded, and from there to thousandths in its fixed point of 64ths,
// each step rounded half up.
int32_t PdfThousandths(double advance, double unitsPerEm)
{
    const int64_t units = int64_t(advance * 2048.0 / unitsPerEm + 0.5);
    const int64_t sixtyFourths = (units * 64000 * 64 + 65536) / 131072;
    return int32_t((sixtyFourths + 32) >> 6);
}

std::shared_ptr<const FontDesign> MakeDesign(const QString& family, int weight, bool italic)
{
    static std::atomic<uint64_t> serials{0};
    auto d = std::make_shared<FontDesign>();
    d->serial = ++serials;
    d->family = family;
    d->weight = weight;
    d->italic = italic;
    QRawFont raw = DesignRawFont(family, weight, italic);
    if (raw.isValid()) {
        d->unitsPerEm = raw.unitsPerEm() > 0 ? raw.unitsPerEm() : 2048;
        raw.setPixelSize(d->unitsPerEm);
        d->raw = raw;
        d->ascent = raw.ascent();
        d->descent = raw.descent();
        d->leading = raw.leading();
        d->averageCharWidth = raw.averageCharWidth();
        d->maxCharWidth = raw.maxCharWidth();
        d->underlinePosition = raw.underlinePosition();
        d->lineThickness = raw.lineThickness();
        d->xHeight = raw.xHeight();
        // Qt's PDF engine strikes such a bold twice, the second time half
        // the face's underline thickness to the left; the screen and the
        // PostScript output do the same, so that it is one weight anywhere.
        if (weight >= QFont::Bold && !DrawsBoldItself(raw))
            d->boldStrike = d->lineThickness / 2;
        QString all;
        for (int b = 0; b < 256; ++b)
            all.append(QChar(Cp1252ToUnicode(uint8_t(b))));
        const QList<quint32> glyphs = raw.glyphIndexesForString(all);
        if (glyphs.size() == 256) {
            d->glyphsMapped = true;
            const QList<QPointF> adv = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
            for (int b = 0; b < 256; ++b) {
                d->glyph[size_t(b)] = glyphs[b];
                d->advance[size_t(b)] = adv.size() == 256 ? adv[b].x() : 0;
                d->pdfWidth[size_t(b)] = PdfThousandths(d->advance[size_t(b)], d->unitsPerEm);
            }
        }
    }
    return d;
}

// The family a face name is drawn with. A family the font database knows
// is kept as named. Any other name (a face that is not installed, or noise
// from a damaged file) is drawn with whatever installed family the font
// configuration matches it to: the standard serif, sans or mono face, or a
// metric alias such as Helvetica's. That is the face the font system would
// pick for the name anyway, so nothing draws differently, but every unknown
// name now shares the design of an installed family instead of making one
// of its own.
QString MatchFamily(const QString& family, bool italic)
{
    if (QFontDatabase::hasFamily(family))
        return family;
    QString matched;
    if (FcPattern* pattern = FcPatternCreate()) {
        const QByteArray name = family.toUtf8();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        if (FcConfigSubstitute(nullptr, pattern, FcMatchPattern)) {
            FcDefaultSubstitute(pattern);
            FcResult result = FcResultNoMatch;
            if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
                FcChar8* found = nullptr;
                if (FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch && found)
                    matched = QString::fromUtf8(reinterpret_cast<const char*>(found));
                FcPatternDestroy(match);
            }
        }
        FcPatternDestroy(pattern);
    }
    return matched.isEmpty() ? QStringLiteral("Liberation Sans") : matched;
}

// Asking the font configuration takes a good part of a millisecond, and
// every new size of a face (each zoom, each fitted caption) would ask again.
// Called under the cache's lock.
QString DrawnFamily(const QString& family, bool italic)
{
    static std::map<std::pair<QString, bool>, QString> known;
    const auto key = std::make_pair(family, italic);
    auto it = known.find(key);
    if (it == known.end()) {
        if (known.size() >= 1024)
            known.clear();
        it = known.emplace(key, MatchFamily(family, italic)).first;
    }
    return it->second;
}

// The designs most recently asked for, at most kFontDesignCacheLimit of
// them. A design holds every glyph outline of a face, a few hundred
// kilobytes, so the cache is bounded however many faces and weights a
// document or metafile names; faces still in use stay alive through the
// sized faces that share them.
class DesignCache {
public:
    std::shared_ptr<const FontDesign> get(const QString& family, int weight, bool italic)
    {
        const Key key{family, weight, italic};
        auto it = index_.find(key);
        if (it != index_.end()) {
            order_.splice(order_.begin(), order_, it->second);
            return it->second->second;
        }
        std::shared_ptr<const FontDesign> design = MakeDesign(family, weight, italic);
        order_.emplace_front(key, design);
        index_.emplace(key, order_.begin());
        while (order_.size() > kFontDesignCacheLimit) {
            index_.erase(order_.back().first);
            order_.pop_back();
        }
        return design;
    }
    size_t size() const { return order_.size(); }

private:
    using Key = std::tuple<QString, int, bool>;
    using Entry = std::pair<Key, std::shared_ptr<const FontDesign>>;
    std::list<Entry> order_;  // most recently used first
    std::map<Key, std::list<Entry>::iterator> index_;
};

DesignCache& Designs()
{
    static DesignCache cache;
    return cache;
}

std::shared_ptr<const FontDesign> DesignFor(const QString& family, int weight, bool italic)
{
    return Designs().get(DrawnFamily(family, italic), weight, italic);
}

}  // namespace

QPainterPath StruckTwice(const QPainterPath& glyph, double shift)
{
    QPainterPath path = glyph;
    path.setFillRule(Qt::WindingFill);
    if (shift > 0)
        path.addPath(glyph.translated(-shift, 0));
    return path;
}

QString ResolveFaceFamily(const char* faceName)
{
    const QString face = Cp1252ToQString(faceName).trimmed();
    if (face.isEmpty() || face.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    if (face.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Serif");
    if (face.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Mono");
    return face;
}

namespace {

// A font engine of the calling thread's own for the design's outlines, made
// as the design's was (the design's may be in use on the thread that made
// it) and kept for the thread's next glyph of it.
const QRawFont& ThreadOutlineFont(const FontDesign& d)
{
    thread_local std::map<uint64_t, QRawFont> fonts;
    // A long session meets many designs; a thread keeps a few.
    if (fonts.size() >= 16 && !fonts.count(d.serial))
        fonts.clear();
    auto [at, made] = fonts.try_emplace(d.serial);
    if (made) {
        at->second = DesignRawFont(d.family, d.weight, d.italic);
        if (at->second.isValid())
            at->second.setPixelSize(d.unitsPerEm);
    }
    return at->second;
}

}  // namespace

QPainterPath FontFace::glyphPath(uint8_t ch) const
{
    const FontDesign& d = *design;
    std::call_once(d.pathOnce[ch], [&d, ch] {
        if (!d.glyphsMapped)
            return;
        const QRawFont& raw = ThreadOutlineFont(d);
        if (raw.isValid())
            d.paths[ch] = StruckTwice(raw.pathForGlyph(d.glyph[ch]), d.boldStrike);
    });
    const double s = emPixels / d.unitsPerEm;
    QPainterPath p = QTransform::fromScale(s * xScale, s).map(d.paths[ch]);
    p.setFillRule(Qt::WindingFill);
    return p;
}

double FontFace::boldStrike() const { return design ? design->boldStrike / design->unitsPerEm : 0; }

int32_t FontFace::pdfWidth(uint8_t ch) const
{
    return design && design->glyphsMapped && design->advance[ch] >= 0 ? design->pdfWidth[ch] : -1;
}

QRawFont FontFace::rawFont() const
{
    std::call_once(sizedOnce_, [this] {
        if (design->raw.isValid()) {
            sized_ = design->raw;
            sized_.setPixelSize(emPixels);
        }
    });
    return sized_;
}

QRawFont FontFace::threadRawFont() const
{
    // Font engines belong to the thread that made them; this thread keeps
    // its own, one per design and size, for as long as it runs.
    using Key = std::tuple<QString, int, bool, double>;
    thread_local std::map<Key, QRawFont> sized;
    const Key key{design->family, design->weight, design->italic, emPixels};
    auto it = sized.find(key);
    if (it != sized.end())
        return it->second;
    QRawFont raw = DesignRawFont(design->family, design->weight, design->italic);
    if (raw.isValid())
        raw.setPixelSize(emPixels);
    sized.emplace(key, raw);
    return raw;
}

namespace {

// Upright bold glyphs of natural width with an em (device pixels) in this
// range take the pixels the face's own hinting gives them. Below it the
// hints distort more than they help; above it every stem is wide enough.
constexpr double kHintedGlyphMinPixels = 10;
constexpr double kHintedGlyphMaxPixels = 48;
constexpr int kHintedGlyphMinWeight = 600;

// The pixels of a small glyph as the font's hinting draws it without
// smoothing. Sampled unhinted, a bold stem a pixel and a half wide lands on
// one pixel or on two by chance, so bold text at body sizes looks plain;
// the hints snap each stem to the two pixels its weight deserves. Null when the face draws nothing there (then the outline
// stands).
std::unique_ptr<Coverage> HintedGlyphCoverage(const FontDesign& design, double emPixels, uint32_t glyph,
                                              const QPainterPath& outline)
{
    const QRect bounds = AreaPixelBounds(outline);
    if (bounds.isEmpty())
        return nullptr;
    const int margin = 2 + int(emPixels / 8);
    const QRect box = bounds.adjusted(-margin, -margin, margin, margin);
    QImage image(box.size(), QImage::Format_RGB32);
    // 72 dots an inch: a point size is then a pixel size, fractions kept.
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    image.fill(Qt::white);
    QFont font(design.family);
    font.setWeight(QFont::Weight(design.weight));
    font.setItalic(design.italic);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setPointSizeF(emPixels);
    QRawFont raw = QRawFont::fromFont(QFont(font, &image));
    if (!raw.isValid())
        return nullptr;
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes({glyph});
    run.setPositions({QPointF(0, 0)});
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setPen(Qt::black);
        painter.drawGlyphRun(QPointF(-box.left(), -box.top()), run);
    }
    auto cov = std::make_unique<Coverage>(box);
    bool any = false;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 128) {
                cov->set(box.left() + x, box.top() + y);
                any = true;
            }
        }
    }
    return any ? std::move(cov) : nullptr;
}

}  // namespace

const Coverage& FontFace::glyphCoverage(uint8_t ch) const
{
    std::lock_guard<std::mutex> lock(coverageMutex_);
    return coverageLocked(ch);
}

const Coverage& FontFace::coverageLocked(uint8_t ch) const
{
    std::unique_ptr<Coverage>& slot = coverage_[ch];
    if (!slot) {
        const QPainterPath outline = glyphPath(ch);
        bounds_[ch] = outline.boundingRect();
        // The hints know nothing of a second strike.
        if (design && design->weight >= kHintedGlyphMinWeight && design->boldStrike == 0 &&
            emPixels >= kHintedGlyphMinPixels &&
            emPixels <= kHintedGlyphMaxPixels && xScale == 1)
            slot = HintedGlyphCoverage(*design, emPixels, glyph[ch], outline);
        if (!slot) {
            slot = std::make_unique<Coverage>(AreaPixelBounds(outline));
            FillArea(*slot, outline, true);
        }
    }
    return *slot;
}

QRectF FontFace::glyphBounds(uint8_t ch) const
{
    std::lock_guard<std::mutex> lock(coverageMutex_);
    coverageLocked(ch);
    return bounds_[ch];
}

size_t FontDesignCacheSize()
{
    std::lock_guard<std::mutex> lock(CacheMutex());
    return Designs().size();
}

std::shared_ptr<const FontFace> MapLogFont(const LogFont& font, double pixelsPerUnitX, double pixelsPerUnitY,
                                           double dpiY)
{
    std::lock_guard<std::mutex> lock(CacheMutex());
    struct Key {
        LogFont font;
        double sx;
        double sy;
        double dpi;
        bool operator<(const Key& o) const
        {
            if (sx != o.sx)
                return sx < o.sx;
            if (sy != o.sy)
                return sy < o.sy;
            if (dpi != o.dpi)
                return dpi < o.dpi;
            return std::memcmp(&font, &o.font, sizeof(LogFont)) < 0;
        }
    };
    static std::map<Key, std::shared_ptr<const FontFace>> cache;
    Key key{LogFont{}, std::fabs(pixelsPerUnitX), std::fabs(pixelsPerUnitY), dpiY};
    // Only the meaningful bytes take part in the key (the face name is
    // zero-terminated; what follows the terminator may be anything).
    key.font.height = font.height;
    key.font.width = font.width;
    key.font.escapement = font.escapement;
    key.font.weight = font.weight;
    key.font.italic = font.italic ? 1 : 0;
    key.font.underline = font.underline ? 1 : 0;
    key.font.strikeOut = font.strikeOut ? 1 : 0;
    std::strncpy(key.font.faceName, font.faceName, sizeof(key.font.faceName) - 1);
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;

    auto face = std::make_shared<FontFace>();
    face->family = ResolveFaceFamily(key.font.faceName);
    const int weight = font.weight <= 0 ? FW_NORMAL : std::clamp(int(font.weight), 1, 1000);
    face->design = DesignFor(face->family, weight, font.italic != 0);
    const FontDesign& d = *face->design;
    const double upm = d.unitsPerEm;
    const double sy = key.sy > 0 ? key.sy : 1;
    const double sx = key.sx > 0 ? key.sx : 1;
    double em;
    if (font.height < 0)
        em = -double(font.height) * sy;
    else if (font.height > 0)
        em = double(font.height) * sy * upm / std::max(d.ascent + d.descent, 1.0);
    else
        em = 12.0 * dpiY / 72.0;
    face->emPixels = em;
    const double s = em / upm;
    if (font.width > 0 && d.averageCharWidth > 0)
        face->xScale = double(font.width) * sx / (d.averageCharWidth * s);
    face->ascent = int32_t(std::lround(d.ascent * s));
    face->descent = int32_t(std::lround(d.descent * s));
    face->internalLeading = std::max(0, face->ascent + face->descent - int32_t(std::lround(em)));
    face->externalLeading = int32_t(std::lround(d.leading * s));
    face->aveCharWidth = int32_t(std::lround(d.averageCharWidth * s * face->xScale));
    face->maxCharWidth = int32_t(std::lround(d.maxCharWidth * s * face->xScale));
    face->underlinePosition = d.underlinePosition * s;
    face->strikeOutPosition = d.xHeight * s / 2;
    face->lineThickness = std::max(1.0, d.lineThickness * s);
    face->underline = font.underline != 0;
    face->strikeOut = font.strikeOut != 0;
    face->escapement = font.escapement / 10.0;
    face->glyph = d.glyph;
    for (size_t b = 0; b < 256; ++b)
        face->advance[b] = int32_t(std::lround(d.advance[b] * s * face->xScale));

    // Sizes come and go with the zoom; keep the cache bounded.
    if (cache.size() >= 256)
        cache.clear();
    std::shared_ptr<const FontFace> result = face;
    cache.emplace(key, result);
    return result;
}
