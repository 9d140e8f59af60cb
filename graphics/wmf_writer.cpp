#include "graphics/wmf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>

#include <QPainterPath>
#include <QPolygonF>

#include "foundation/byte_order.h"
#include "graphics/metafile_bitmap.h"
#include "graphics/metafile_format.h"
#include "graphics/metafile_player.h"
#include "graphics/rectangle_records.h"
#include "graphics/wmf_header.h"
#include "platform/dc.h"
#include "platform/dc_recorder.h"
#include "platform/raster_ops.h"

namespace {

int16_t C16(int64_t v) { return int16_t(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); }

// Records of a Windows metafile, with their object table.
class WmfRecorder final : public RectangleRecords<WmfRecorder, DcRecorder> {
    friend class RectangleRecords<WmfRecorder, DcRecorder>;

public:
    WmfRecorder(int16_t width, int16_t height) : width_(width), height_(height)
    {
        record(META_SETMAPMODE, {MM_ANISOTROPIC});
        record(META_SETWINDOWORG, {0, 0});
        record(META_SETWINDOWEXT, {height, width});
    }
    void attach(const Dc* dc) { dc_ = dc; }

    std::vector<uint8_t> finish()
    {
        record(META_EOF, {});
        WmfHeader h;
        h.type = 1;
        h.headerWords = 9;
        h.version = 0x300;
        h.sizeWords = uint32_t(bytes_.size() / 2);
        h.objects = uint16_t(std::min<uint32_t>(slots_, 0xFFFF));
        h.maxRecordWords = maxRecord_;
        WmfHeaderWrite(h, bytes_.data());
        return std::move(bytes_);
    }

    // --- Objects and state.
    void selectPen(const Pen& pen) override
    {
        if (pen == pen_ && current_.pen >= 0)
            return;
        pen_ = pen;
        select(&current_.pen, createPen(pen));
    }
    void selectBrush(const Brush& brush) override
    {
        if (haveBrush_ && SameBrush(brush, brush_))
            return;
        brush_ = brush;
        haveBrush_ = true;
        select(&current_.brush, createBrush(brush));
    }
    void selectFont(const LogFont& f) override
    {
        if (f == font_ && current_.font >= 0)
            return;
        font_ = f;
        const int slot = allocate();
        begin(META_CREATEFONTINDIRECT);
        for (int32_t v : {f.height, f.width, f.escapement, f.orientation, f.weight})
            i16(C16(v));
        for (uint8_t v : {f.italic, f.underline, f.strikeOut, f.charSet, f.outPrecision, f.clipPrecision, f.quality,
                          f.pitchAndFamily})
            bytes_.push_back(v);
        char face[kFaceChars] = {};
        std::strncpy(face, f.faceName, kFaceChars - 1);
        raw(reinterpret_cast<const uint8_t*>(face), kFaceChars);
        end();
        select(&current_.font, slot);
    }
    void setTextColor(ColorRef c) override { record(META_SETTEXTCOLOR, {int16_t(c & 0xFFFF), int16_t(c >> 16)}); }
    void setBkColor(ColorRef c) override { record(META_SETBKCOLOR, {int16_t(c & 0xFFFF), int16_t(c >> 16)}); }
    void setBkMode(int32_t mode) override { record(META_SETBKMODE, {C16(mode)}); }
    void setRop2(int32_t rop) override { record(META_SETROP2, {C16(rop)}); }
    void setPolyFillMode(int32_t mode) override { record(META_SETPOLYFILLMODE, {C16(mode)}); }
    void setTextAlign(uint32_t align) override { record(META_SETTEXTALIGN, {int16_t(align & 0x1F)}); }
    void saveDc() override
    {
        saved_.push_back(Saved{current_, pen_, brush_, font_, haveBrush_});
        record(META_SAVEDC, {});
    }
    void restoreDc(int32_t level) override
    {
        const int32_t count = int32_t(saved_.size());
        const int32_t target = level < 0 ? count + level + 1 : level;
        if (target < 1 || target > count)
            return;
        record(META_RESTOREDC, {C16(-(count - target + 1))});
        std::vector<int> dropped{current_.pen, current_.brush, current_.font};
        for (int32_t i = target - 1; i < count; ++i) {
            const Selection& s = saved_[size_t(i)].selection;
            dropped.insert(dropped.end(), {s.pen, s.brush, s.font});
        }
        const Saved back = saved_[size_t(target - 1)];
        saved_.resize(size_t(target - 1));
        current_ = back.selection;
        pen_ = back.pen;
        brush_ = back.brush;
        font_ = back.font;
        haveBrush_ = back.haveBrush;
        for (int slot : dropped)
            release(slot);
    }

    // --- Lines and shapes (inside a path bracket they only make the
    // path, which is read when it is drawn).
    void moveTo(int32_t x, int32_t y) override
    {
        if (!inPath_)
            record(META_MOVETO, {C16(y), C16(x)});
    }
    void lineTo(int32_t x, int32_t y) override
    {
        if (!inPath_)
            record(META_LINETO, {C16(y), C16(x)});
    }
    void polyline(const IntPoint* p, int n) override
    {
        if (!inPath_ && p && n > 0)
            polyRecord(META_POLYLINE, std::vector<IntPoint>(p, p + n));
    }
    void polylineTo(const IntPoint* p, int n) override
    {
        if (inPath_ || !p || n <= 0)
            return;
        std::vector<IntPoint> pts{dc_ ? dc_->currentPosition() : IntPoint{}};
        pts.insert(pts.end(), p, p + n);
        polyRecord(META_POLYLINE, pts);
        record(META_MOVETO, {C16(p[n - 1].y), C16(p[n - 1].x)});
    }
    void polyBezier(const IntPoint* p, int n) override
    {
        if (inPath_ || !p || n < 1)
            return;
        polyRecord(META_POLYLINE, Flatten(p[0], p + 1, n - 1));
    }
    void polyBezierTo(const IntPoint* p, int n) override
    {
        if (inPath_ || !p || n < 3)
            return;
        polyRecord(META_POLYLINE, Flatten(dc_ ? dc_->currentPosition() : IntPoint{}, p, n));
        const IntPoint end = p[n - n % 3 - 1];
        record(META_MOVETO, {C16(end.y), C16(end.x)});
    }
    void polyPolygon(const IntPoint* p, const int* counts, int polygons) override
    {
        if (inPath_ || !p || !counts || polygons <= 0)
            return;
        std::vector<std::vector<IntPoint>> polys;
        size_t at = 0;
        for (int i = 0; i < polygons; ++i) {
            if (counts[i] < 0)
                return;
            polys.emplace_back(p + at, p + at + size_t(counts[i]));
            at += size_t(counts[i]);
        }
        polyPolygonRecord(polys);
    }
    void rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override { boxRecord(META_RECTANGLE, l, t, r, b); }
    void ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override { boxRecord(META_ELLIPSE, l, t, r, b); }
    void roundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t w, int32_t h) override
    {
        if (!inPath_)
            record(META_ROUNDRECT, {C16(h), C16(w), C16(b), C16(r), C16(t), C16(l)});
    }
    void arc(int kind, int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2,
             int32_t y2) override
    {
        if (inPath_)
            return;
        static const uint16_t kFunctions[] = {META_ARC, META_ARC, META_CHORD, META_PIE};
        if (kind < 0 || kind > 3)
            return;
        const QPointF start = RadialPoint(l, t, r, b, x1, y1);
        if (kind == 1)
            record(META_LINETO, {C16(std::lround(start.y())), C16(std::lround(start.x()))});
        record(kFunctions[kind], {C16(y2), C16(x2), C16(y1), C16(x1), C16(b), C16(r), C16(t), C16(l)});
        if (kind == 1) {
            const QPointF end = RadialPoint(l, t, r, b, x2, y2);
            record(META_MOVETO, {C16(std::lround(end.y())), C16(std::lround(end.x()))});
        }
    }
    void patBlt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop) override
    {
        begin(META_PATBLT);
        u32(rop);
        for (int32_t v : {h, w, y, x})
            i16(C16(v));
        end();
    }
    void setPixel(int32_t x, int32_t y, ColorRef c) override
    {
        begin(META_SETPIXEL);
        u32(c & 0xFFFFFF);
        i16(C16(y));
        i16(C16(x));
        end();
    }

    // --- Paths: the older format has none; the path is read back from the
    // context and drawn as polygons and polylines.
    void beginPath() override { inPath_ = true; }
    void endPath() override { inPath_ = false; }
    void abortPath() override { inPath_ = false; }
    void fillPath() override { drawPath(true, false); }
    void strokePath() override { drawPath(false, true); }
    void strokeAndFillPath() override { drawPath(true, true); }

    // --- Regions and clipping (the recording context maps nothing, so
    // its device units are the picture's logical units).
    void fillRgn(const Region& rgn, const Brush& brush) override
    {
        const int region = createRegion(RectsOf(rgn.pixels()));
        const int b = createBrush(brush);
        record(META_FILLREGION, {int16_t(region), int16_t(b)});
        deleteSlot(b);
        deleteSlot(region);
    }
    void frameRgn(const Region& rgn, const Brush& brush, int32_t w, int32_t h) override
    {
        const int region = createRegion(RectsOf(rgn.pixels()));
        const int b = createBrush(brush);
        record(META_FRAMEREGION, {int16_t(region), int16_t(b), C16(h), C16(w)});
        deleteSlot(b);
        deleteSlot(region);
    }
    void paintRgn(const Region& rgn) override { regionAlone(META_PAINTREGION, rgn); }
    void invertRgn(const Region& rgn) override { regionAlone(META_INVERTREGION, rgn); }
    void extSelectClipRgn(const Region* rgn, int32_t) override
    {
        // No clip is the whole picture: a region can say that, while a
        // missing region means different things to different readers.
        const std::vector<QRect> rects = rgn ? RectsOf(rgn->pixels()) : std::vector<QRect>{QRect(0, 0, width_, height_)};
        const int region = createRegion(rects);
        record(META_SELECTCLIPREGION, {int16_t(region)});
        deleteSlot(region);
    }
    void intersectClipRect(int32_t l, int32_t t, int32_t r, int32_t b) override
    {
        record(META_INTERSECTCLIPRECT, {C16(b), C16(r), C16(t), C16(l)});
    }
    void excludeClipRect(int32_t l, int32_t t, int32_t r, int32_t b) override
    {
        record(META_EXCLUDECLIPRECT, {C16(b), C16(r), C16(t), C16(l)});
    }

    // --- Text.
    void extTextOut(int32_t x, int32_t y, uint32_t options, const IntRect* rect, std::string_view text,
                    const int32_t* dx) override
    {
        if (inPath_ || text.size() > size_t(INT16_MAX))
            return;
        const bool withRect = rect && (options & (ETO_OPAQUE | ETO_CLIPPED));
        begin(META_EXTTEXTOUT);
        i16(C16(y));
        i16(C16(x));
        i16(int16_t(text.size()));
        u16(uint16_t(options & (ETO_OPAQUE | ETO_CLIPPED)));
        if (withRect) {
            for (int32_t v : {rect->left, rect->top, rect->right, rect->bottom})
                i16(C16(v));
        }
        raw(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        if (text.size() % 2)
            bytes_.push_back(0);
        for (size_t i = 0; i < text.size(); ++i)
            i16(C16(dx ? dx[i] : (dc_ ? dc_->getCharWidth(uint8_t(text[i])) : 0)));
        end();
    }

    // --- Pictures.
    void stretchDIBits(int32_t x, int32_t y, int32_t w, int32_t h, int32_t xs, int32_t ys, int32_t ws, int32_t hs,
                       const uint8_t* bits, const uint8_t* header, uint32_t rop) override
    {
        if (!header || !bits || !Rop3UsesSource(Rop3Table(rop)))
            return patBlt(x, y, w, h, rop);
        constexpr uint32_t kTrusted = std::numeric_limits<uint32_t>::max();
        const uint32_t infoSize = MetafileDibInfoSize(header, kTrusted);
        const uint64_t bitsSize = MetafileDibBitsSize(header, kTrusted);
        if (!infoSize || !bitsSize || bitsSize > kEmfMaxBytes)
            return;
        stretchDib(x, y, w, h, xs, ys, ws, hs, header, infoSize, bits, uint32_t(bitsSize), rop);
    }
    void stretchImage(const IntRect& d, const QImage& image, uint32_t rop) override
    {
        if (image.isNull() || !Rop3UsesSource(Rop3Table(rop)))
            return patBlt(d.left, d.top, d.right - d.left, d.bottom - d.top, rop);
        std::vector<uint8_t> info, bits;
        MetafileImageToDib(image, &info, &bits);
        stretchDib(d.left, d.top, d.right - d.left, d.bottom - d.top, 0, 0, image.width(), image.height(),
                   info.data(), uint32_t(info.size()), bits.data(), uint32_t(bits.size()), rop);
    }

private:
    struct Selection {
        int pen = -1;
        int brush = -1;
        int font = -1;
    };
    struct Saved {
        Selection selection;
        Pen pen;
        Brush brush;
        LogFont font;
        bool haveBrush;
    };

    static bool SameBrush(const Brush& a, const Brush& b)
    {
        const bool sameMono = a.mono == b.mono || (a.mono && b.mono && *a.mono == *b.mono);
        return a.style == b.style && a.color == b.color && a.hatch == b.hatch && sameMono && a.image == b.image;
    }

    static std::vector<QRect> RectsOf(const QRegion& region) { return {region.begin(), region.end()}; }

    // Where the radial through (x, y) meets the ellipse of the box.
    static QPointF RadialPoint(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x, int32_t y)
    {
        const QRectF box = QRectF(QPointF(l, t), QPointF(r, b)).normalized();
        const QPointF c = box.center();
        const double rx = box.width() / 2, ry = box.height() / 2;
        const double a = std::atan2((y - c.y()) * rx, (x - c.x()) * ry);
        return QPointF(c.x() + rx * std::cos(a), c.y() + ry * std::sin(a));
    }

    static std::vector<IntPoint> Flatten(IntPoint start, const IntPoint* p, int n)
    {
        QPainterPath path(QPointF(start.x, start.y));
        for (int i = 0; i + 2 < n; i += 3)
            path.cubicTo(QPointF(p[i].x, p[i].y), QPointF(p[i + 1].x, p[i + 1].y), QPointF(p[i + 2].x, p[i + 2].y));
        std::vector<IntPoint> out;
        for (const QPolygonF& poly : path.toSubpathPolygons()) {
            for (const QPointF& q : poly)
                out.push_back(IntPoint{int32_t(std::lround(q.x())), int32_t(std::lround(q.y()))});
        }
        return out;
    }

    // --- Bytes.
    void begin(uint16_t function)
    {
        start_ = bytes_.size();
        u32(0);
        u16(function);
    }
    void end()
    {
        const uint32_t words = uint32_t((bytes_.size() - start_) / 2);
        PutU32LE(bytes_.data() + start_, words);
        maxRecord_ = std::max(maxRecord_, words);
    }
    void record(uint16_t function, std::initializer_list<int16_t> params)
    {
        begin(function);
        for (int16_t v : params)
            i16(v);
        end();
    }
    void u16(uint16_t v)
    {
        uint8_t b[2];
        PutU16LE(b, v);
        bytes_.insert(bytes_.end(), b, b + 2);
    }
    void i16(int16_t v) { u16(uint16_t(v)); }
    void u32(uint32_t v)
    {
        uint8_t b[4];
        PutU32LE(b, v);
        bytes_.insert(bytes_.end(), b, b + 4);
    }
    void raw(const uint8_t* p, size_t n)
    {
        if (n)
            bytes_.insert(bytes_.end(), p, p + n);
    }

    // --- Object table: new objects take the lowest free slot.
    int allocate()
    {
        int slot;
        if (!free_.empty()) {
            slot = *free_.begin();
            free_.erase(free_.begin());
        } else {
            slot = int(slots_++);
        }
        return slot;
    }
    bool live(int slot) const
    {
        auto holds = [slot](const Selection& s) { return s.pen == slot || s.brush == slot || s.font == slot; };
        return holds(current_) ||
               std::any_of(saved_.begin(), saved_.end(), [&](const Saved& s) { return holds(s.selection); });
    }
    void deleteSlot(int slot)
    {
        if (slot < 0)
            return;
        record(META_DELETEOBJECT, {int16_t(slot)});
        free_.insert(slot);
    }
    void release(int slot)
    {
        if (slot >= 0 && !live(slot) && !free_.count(slot))
            deleteSlot(slot);
    }
    void select(int* current, int slot)
    {
        const int old = *current;
        record(META_SELECTOBJECT, {int16_t(slot)});
        *current = slot;
        if (old != slot)
            release(old);
    }

    int createPen(const Pen& pen)
    {
        const int slot = allocate();
        begin(META_CREATEPENINDIRECT);
        u16(uint16_t(pen.style));
        i16(C16(pen.width));
        i16(0);
        u32(pen.color & 0xFFFFFF);
        end();
        return slot;
    }

    int createBrush(const Brush& brush)
    {
        const int slot = allocate();
        if (brush.style == BS_PATTERN && (brush.mono || brush.image)) {
            std::vector<uint8_t> info, bits;
            if (brush.mono) {
                // A one-bit pattern's colours are the context's text and
                // background colours at the time.
                QImage tile(8, 8, QImage::Format_RGB32);
                const ColorRef zero = dc_ ? dc_->textColor() : kBlack, one = dc_ ? dc_->bkColor() : kWhite;
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        tile.setPixel(x, y, ToQColor((brush.mono->rows[y] >> (7 - x)) & 1 ? one : zero).rgb());
                MetafileImageToDib(tile, &info, &bits);
            } else {
                MetafileImageToDib(*brush.image, &info, &bits);
            }
            begin(META_DIBCREATEPATTERNBRUSH);
            u16(BS_DIBPATTERN);
            u16(DIB_RGB_COLORS);
            raw(info.data(), info.size());
            raw(bits.data(), bits.size());
            end();
            return slot;
        }
        begin(META_CREATEBRUSHINDIRECT);
        u16(uint16_t(brush.style == BS_HATCHED || brush.style == BS_NULL ? brush.style : BS_SOLID));
        u32(brush.color & 0xFFFFFF);
        u16(uint16_t(brush.hatch));
        end();
        return slot;
    }

    int createRegion(const std::vector<QRect>& rects)
    {
        // Rectangles grouped in bands of equal top and bottom (a region's
        // rectangles come so ordered).
        struct Scan {
            int16_t top, bottom;
            std::vector<int16_t> xs;
        };
        std::vector<Scan> scans;
        QRect bound;
        for (const QRect& r : rects) {
            const int16_t t = C16(r.top()), b = C16(int64_t(r.bottom()) + 1);
            if (scans.empty() || scans.back().top != t || scans.back().bottom != b)
                scans.push_back(Scan{t, b, {}});
            scans.back().xs.push_back(C16(r.left()));
            scans.back().xs.push_back(C16(int64_t(r.right()) + 1));
            bound |= r;
        }
        if (scans.empty()) {
            // Nothing: an empty band outside the picture.
            scans.push_back(Scan{-2, -1, {-2, -1}});
            bound = QRect(-2, -2, 1, 1);
        }
        size_t words = 11;
        size_t maxScan = 0;
        for (const Scan& s : scans) {
            words += 4 + s.xs.size();
            maxScan = std::max(maxScan, s.xs.size() / 2);
        }
        const int slot = allocate();
        begin(META_CREATEREGION);
        u16(0);  // next in chain
        u16(6);  // a region
        u32(0);
        i16(C16(int64_t(words) * 2));
        i16(C16(int64_t(scans.size())));
        i16(C16(int64_t(maxScan)));
        for (int64_t v : {int64_t(bound.left()), int64_t(bound.top()), int64_t(bound.right()) + 1,
                          int64_t(bound.bottom()) + 1})
            i16(C16(v));
        for (const Scan& s : scans) {
            u16(uint16_t(s.xs.size()));
            i16(s.top);
            i16(s.bottom);
            for (int16_t x : s.xs)
                i16(x);
            u16(uint16_t(s.xs.size()));
        }
        end();
        return slot;
    }

    void regionAlone(uint16_t function, const Region& rgn)
    {
        const int region = createRegion(RectsOf(rgn.pixels()));
        record(function, {int16_t(region)});
        deleteSlot(region);
    }

    // Draws with a brush of its own and no pen, inside a saved state.
    template <class Draw>
    void withBrush(const Brush& brush, int32_t rop2, Draw draw)
    {
        record(META_SAVEDC, {});
        record(META_SETROP2, {C16(rop2)});
        const int pen = createPen(Pen{PS_NULL, 0, kBlack});
        record(META_SELECTOBJECT, {int16_t(pen)});
        const int b = createBrush(brush);
        record(META_SELECTOBJECT, {int16_t(b)});
        draw();
        record(META_RESTOREDC, {-1});
        deleteSlot(b);
        deleteSlot(pen);
    }

    void rectangleRecord(int32_t l, int32_t t, int32_t r, int32_t b) { boxRecord(META_RECTANGLE, l, t, r, b); }

    void boxRecord(uint16_t function, int32_t l, int32_t t, int32_t r, int32_t b)
    {
        if (!inPath_)
            record(function, {C16(b), C16(r), C16(t), C16(l)});
    }

    void polyRecord(uint16_t function, const std::vector<IntPoint>& pts)
    {
        // A count is 16 bits: long lines go in pieces that share a point.
        constexpr size_t kMax = INT16_MAX;
        for (size_t at = 0; at < pts.size();) {
            const size_t n = std::min(kMax, pts.size() - at);
            begin(function);
            i16(int16_t(n));
            for (size_t i = at; i < at + n; ++i) {
                i16(C16(pts[i].x));
                i16(C16(pts[i].y));
            }
            end();
            if (at + n >= pts.size() || function != META_POLYLINE)
                break;
            at += n - 1;
        }
    }

    void polyPolygonRecord(const std::vector<std::vector<IntPoint>>& polys)
    {
        if (polys.size() == 1)
            return polyRecord(META_POLYGON, polys[0]);
        if (polys.empty() || polys.size() > size_t(INT16_MAX))
            return;
        begin(META_POLYPOLYGON);
        u16(uint16_t(polys.size()));
        for (const auto& p : polys)
            u16(uint16_t(std::min<size_t>(p.size(), INT16_MAX)));
        for (const auto& p : polys) {
            for (size_t i = 0; i < std::min<size_t>(p.size(), INT16_MAX); ++i) {
                i16(C16(p[i].x));
                i16(C16(p[i].y));
            }
        }
        end();
    }

    void drawPath(bool fill, bool stroke)
    {
        if (!dc_)
            return;
        const QPainterPath path = dc_->currentPath();
        std::vector<std::vector<IntPoint>> polys;
        for (const QPolygonF& poly : path.toSubpathPolygons()) {
            std::vector<IntPoint> pts;
            for (const QPointF& q : poly)
                pts.push_back(IntPoint{int32_t(std::lround(q.x())), int32_t(std::lround(q.y()))});
            if (!pts.empty())
                polys.push_back(std::move(pts));
        }
        if (polys.empty())
            return;
        if (fill) {
            record(META_SAVEDC, {});
            record(META_SETPOLYFILLMODE, {int16_t(path.fillRule() == Qt::WindingFill ? WINDING : ALTERNATE)});
            const int pen = createPen(Pen{PS_NULL, 0, kBlack});
            record(META_SELECTOBJECT, {int16_t(pen)});
            polyPolygonRecord(polys);
            record(META_RESTOREDC, {-1});
            deleteSlot(pen);
        }
        if (stroke) {
            for (const auto& p : polys)
                polyRecord(META_POLYLINE, p);
        }
    }

    void stretchDib(int32_t x, int32_t y, int32_t w, int32_t h, int32_t xs, int32_t ys, int32_t ws, int32_t hs,
                    const uint8_t* info, uint32_t infoSize, const uint8_t* bits, uint32_t bitsSize, uint32_t rop)
    {
        begin(META_STRETCHDIB);
        u32(rop);
        u16(DIB_RGB_COLORS);
        for (int32_t v : {hs, ws, ys, xs, h, w, y, x})
            i16(C16(v));
        raw(info, infoSize);
        raw(bits, bitsSize);
        if (bytes_.size() % 2)
            bytes_.push_back(0);
        end();
    }

    std::vector<uint8_t> bytes_ = std::vector<uint8_t>(kWmfHeaderSize, 0);
    size_t start_ = 0;
    uint32_t maxRecord_ = 0;
    uint32_t slots_ = 0;
    std::set<int> free_;
    Selection current_;
    std::vector<Saved> saved_;
    Pen pen_;
    Brush brush_;
    LogFont font_;
    bool haveBrush_ = false;
    bool inPath_ = false;
    int16_t width_;
    int16_t height_;
    const Dc* dc_ = nullptr;
};

}  // namespace

void WmfPictureSize(const EnhMetafileRec& mf, uint16_t* unitsPerInch, int16_t* width, int16_t* height)
{
    const int64_t fw = std::llabs(int64_t(mf.header.frame.right) - mf.header.frame.left);
    const int64_t fh = std::llabs(int64_t(mf.header.frame.bottom) - mf.header.frame.top);
    uint16_t inch = 1000;
    while (inch > 1 && (fw * inch / 2540 > INT16_MAX || fh * inch / 2540 > INT16_MAX))
        inch /= 2;
    *unitsPerInch = inch;
    *width = int16_t(std::min<int64_t>(fw * inch / 2540, INT16_MAX));
    *height = int16_t(std::min<int64_t>(fh * inch / 2540, INT16_MAX));
}

bool EnhMetafileToWmfBits(const EnhMetafileRec& mf, int16_t width, int16_t height, std::vector<uint8_t>* out)
{
    if (width <= 0 || height <= 0)
        return false;
    WmfRecorder recorder(width, height);
    // Logical units of the recording context are the picture's units, at
    // the resolution its default font is sized for.
    uint16_t inch;
    int16_t w, h;
    WmfPictureSize(mf, &inch, &w, &h);
    auto dc = Dc::ForRecording(&recorder, inch, IntSize{width, height});
    if (!dc)
        return false;
    recorder.attach(dc.get());
    PlayEnhMetaFile(*dc, mf, IntRect{0, 0, width, height});
    dc.reset();
    *out = recorder.finish();
    return true;
}

uint32_t GetWinMetaFileBits(EnhMetafile mf, uint32_t size, uint8_t* buffer, int32_t mapMode, const Dc*)
{
    if (!mf || mapMode != MM_ANISOTROPIC)
        return 0;
    uint16_t inch;
    int16_t w, h;
    WmfPictureSize(*mf, &inch, &w, &h);
    std::vector<uint8_t> bits;
    try {
        if (!EnhMetafileToWmfBits(*mf, w, h, &bits) || bits.size() > UINT32_MAX)
            return 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (!buffer)
        return uint32_t(bits.size());
    if (size < bits.size())
        return 0;
    std::memcpy(buffer, bits.data(), bits.size());
    return uint32_t(bits.size());
}
