#include "graphics/emf_recorder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "foundation/cp1252.h"
#include "graphics/emf_builder.h"
#include "graphics/emf_reader.h"
#include "graphics/metafile_bitmap.h"
#include "graphics/metafile_format.h"
#include "graphics/rectangle_records.h"
#include "platform/dc.h"
#include "platform/dc_recorder.h"
#include "platform/raster_ops.h"

namespace {

constexpr IntRect kNoBounds{0, 0, -1, -1};

bool FitsI16(const IntPoint* p, int n)
{
    for (int i = 0; i < n; ++i) {
        if (p[i].x < INT16_MIN || p[i].x > INT16_MAX || p[i].y < INT16_MIN || p[i].y > INT16_MAX)
            return false;
    }
    return true;
}

}  // namespace

// The recording device: every hook becomes records.
class EmfRecorder final : public RectangleRecords<EmfRecorder, MetafileRecorder> {
    friend class RectangleRecords<EmfRecorder, MetafileRecorder>;

public:
    explicit EmfRecorder(const EmfHeaderInfo& header) : out_(header), frameBounds_(FrameInDevice(header))
    {
        // The defaults said out loud, for readers that start from others.
        emit(EMR_SELECTOBJECT, {int32_t(current_.pen)});
        emit(EMR_SELECTOBJECT, {int32_t(current_.brush)});
    }
    void attach(const Dc* dc) override { dc_ = dc; }

    std::vector<uint8_t> finish() override
    {
        // Without the context the drawing's extent is unknown: the frame.
        out_.setBounds(!dc_ ? frameBounds_ : any_ ? bounds_ : kNoBounds);
        out_.setHandleCount(uint16_t(std::min<uint32_t>(highest_ + 1, 0xFFFF)));
        return out_.finish();
    }

    // --- Objects and state.
    void selectPen(const Pen& pen) override
    {
        if (pen == pen_)
            return;
        pen_ = pen;
        if (pen == Pen{})
            return select(&current_.pen, kEmfStockObject | BLACK_PEN);
        if (pen.style == PS_NULL)
            return select(&current_.pen, kEmfStockObject | NULL_PEN);
        const uint32_t index = allocate();
        if (pen.width > 1) {
            // Wide pens as extended pens: some readers take the width of
            // plain pens for one pixel.
            emit(EMR_EXTCREATEPEN, {int32_t(index), 0, 0, 0, 0, int32_t(PS_GEOMETRIC | uint32_t(pen.style)), pen.width,
                                    BS_SOLID, int32_t(pen.color & 0xFFFFFF), 0, 0});
        } else {
            emit(EMR_CREATEPEN, {int32_t(index), pen.style, std::max(pen.width, 0), 0, int32_t(pen.color & 0xFFFFFF)});
        }
        select(&current_.pen, index);
    }

    void selectBrush(const Brush& brush) override
    {
        if (SameBrush(brush, brush_))
            return;
        brush_ = brush;
        if (brush.style == BS_SOLID && brush.color == kWhite)
            return select(&current_.brush, kEmfStockObject | WHITE_BRUSH);
        if (brush.style == BS_NULL)
            return select(&current_.brush, kEmfStockObject | NULL_BRUSH);
        const uint32_t index = createBrush(brush);
        select(&current_.brush, index);
    }

    void selectFont(const LogFont& font) override
    {
        if (font == font_)
            return;
        font_ = font;
        const uint32_t index = allocate();
        out_.createFont(index, font);
        select(&current_.font, index);
    }

    void setTextColor(ColorRef c) override { emit(EMR_SETTEXTCOLOR, {int32_t(c & 0xFFFFFF)}); }
    void setBkColor(ColorRef c) override { emit(EMR_SETBKCOLOR, {int32_t(c & 0xFFFFFF)}); }
    void setBkMode(int32_t mode) override { emit(EMR_SETBKMODE, {mode}); }
    void setRop2(int32_t rop) override { emit(EMR_SETROP2, {rop}); }
    void setPolyFillMode(int32_t mode) override { emit(EMR_SETPOLYFILLMODE, {mode}); }
    void setTextAlign(uint32_t align) override { emit(EMR_SETTEXTALIGN, {int32_t(align)}); }
    void setBrushOrg(int32_t x, int32_t y) override { emit(EMR_SETBRUSHORGEX, {x, y}); }

    void saveDc() override
    {
        saved_.push_back(Saved{current_, pen_, brush_, font_});
        out_.record(EMR_SAVEDC);
    }

    void restoreDc(int32_t level) override
    {
        const int32_t count = int32_t(saved_.size());
        const int32_t target = level < 0 ? count + level + 1 : level;
        if (target < 1 || target > count)
            return;
        emit(EMR_RESTOREDC, {-(count - target + 1)});
        std::vector<uint32_t> dropped{current_.pen, current_.brush, current_.font};
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
        for (uint32_t index : dropped)
            release(index);
    }

    // --- Mapping.
    void setMapMode(int32_t mode) override { emit(EMR_SETMAPMODE, {mode}); }
    void setWindowOrg(int32_t x, int32_t y) override { emit(EMR_SETWINDOWORGEX, {x, y}); }
    void setViewportOrg(int32_t x, int32_t y) override { emit(EMR_SETVIEWPORTORGEX, {x, y}); }
    void setWindowExt(int32_t cx, int32_t cy) override { emit(EMR_SETWINDOWEXTEX, {cx, cy}); }
    void setViewportExt(int32_t cx, int32_t cy) override { emit(EMR_SETVIEWPORTEXTEX, {cx, cy}); }

    // --- Lines and shapes.
    void moveTo(int32_t x, int32_t y) override { emit(EMR_MOVETOEX, {x, y}); }
    void lineTo(int32_t x, int32_t y) override
    {
        if (dc_) {
            const IntPoint p[2] = {dc_->currentPosition(), {x, y}};
            include(p, 2, true);
        }
        emit(EMR_LINETO, {x, y});
    }
    void polyline(const IntPoint* p, int n) override { points(EMR_POLYLINE, p, n); }
    void polylineTo(const IntPoint* p, int n) override { points(EMR_POLYLINETO, p, n); }
    void polyBezier(const IntPoint* p, int n) override { points(EMR_POLYBEZIER, p, n); }
    void polyBezierTo(const IntPoint* p, int n) override { points(EMR_POLYBEZIERTO, p, n); }
    void polyPolygon(const IntPoint* p, const int* counts, int polygons) override
    {
        if (!p || !counts || polygons <= 0)
            return;
        if (polygons == 1)
            return points(EMR_POLYGON, p, counts[0]);
        int64_t total = 0;
        for (int i = 0; i < polygons; ++i) {
            if (counts[i] < 0)
                return;
            total += counts[i];
        }
        if (total > INT32_MAX / 8)
            return;
        const int n = int(total);
        const IntRect box = include(p, n, true);
        const bool small = FitsI16(p, n);
        out_.begin(small ? EMR_POLYPOLYGON16 : EMR_POLYPOLYGON);
        out_.rect(box);
        out_.u32(uint32_t(polygons));
        out_.u32(uint32_t(n));
        for (int i = 0; i < polygons; ++i)
            out_.u32(uint32_t(counts[i]));
        putPoints(p, n, small);
        out_.end();
    }
    void rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override
    {
        if (inPath_)
            return outline(BoxPath(l, t, r, b, [](QPainterPath& p, const QRectF& box) { p.addRect(box); }), true);
        box(EMR_RECTANGLE, l, t, r, b);
    }
    void ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override
    {
        if (inPath_)
            return outline(BoxPath(l, t, r, b, [](QPainterPath& p, const QRectF& box) { p.addEllipse(box); }), true);
        box(EMR_ELLIPSE, l, t, r, b);
    }
    void roundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t w, int32_t h) override
    {
        if (inPath_) {
            return outline(BoxPath(l, t, r, b,
                                   [w, h](QPainterPath& p, const QRectF& box) {
                                       p.addRoundedRect(box, std::min(std::abs(w) / 2.0, box.width() / 2),
                                                        std::min(std::abs(h) / 2.0, box.height() / 2));
                                   }),
                           true);
        }
        includeBox(l, t, r, b);
        emit(EMR_ROUNDRECT, {l, t, r, b, w, h});
    }
    void arc(int kind, int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2,
             int32_t y2) override
    {
        static const uint32_t kTypes[] = {EMR_ARC, EMR_ARCTO, EMR_CHORD, EMR_PIE};
        if (kind < 0 || kind > 3)
            return;
        if (inPath_)
            return outline(ArcPath(kind, l, t, r, b, x1, y1, x2, y2), kind >= 2, kind == 1);
        includeBox(l, t, r, b);
        emit(kTypes[kind], {l, t, r, b, x1, y1, x2, y2});
    }
    void patBlt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop) override
    {
        out_.patBlt(includeBox(x, y, x + w, y + h), x, y, w, h, rop);
    }
    void setPixel(int32_t x, int32_t y, ColorRef c) override
    {
        const IntPoint p{x, y};
        include(&p, 1, false);
        emit(EMR_SETPIXELV, {x, y, int32_t(c & 0xFFFFFF)});
    }

    // --- Paths.
    void beginPath() override
    {
        inPath_ = true;
        out_.record(EMR_BEGINPATH);
    }
    void endPath() override
    {
        inPath_ = false;
        out_.record(EMR_ENDPATH);
    }
    void abortPath() override
    {
        inPath_ = false;
        out_.record(EMR_ABORTPATH);
    }
    void closeFigure() override { out_.record(EMR_CLOSEFIGURE); }
    void fillPath() override { pathDrawing(EMR_FILLPATH); }
    void strokePath() override { pathDrawing(EMR_STROKEPATH); }
    void strokeAndFillPath() override { pathDrawing(EMR_STROKEANDFILLPATH); }
    void flattenPath() override { out_.record(EMR_FLATTENPATH); }

    // --- Regions and clipping.
    void fillRgn(const Region& rgn, const Brush& brush) override { regionWithBrush(EMR_FILLRGN, rgn, brush, 0, 0); }
    void frameRgn(const Region& rgn, const Brush& brush, int32_t w, int32_t h) override
    {
        regionWithBrush(EMR_FRAMERGN, rgn, brush, w, h);
    }
    void paintRgn(const Region& rgn) override { regionAlone(EMR_PAINTRGN, rgn); }
    void invertRgn(const Region& rgn) override { regionAlone(EMR_INVERTRGN, rgn); }
    void extSelectClipRgn(const Region* rgn, int32_t mode) override
    {
        out_.begin(EMR_EXTSELECTCLIPRGN);
        if (!rgn) {
            out_.u32(0);
            out_.u32(uint32_t(mode));
        } else {
            const std::vector<QRect> rects = RectsOf(rgn->pixels());
            out_.u32(kRgnDataHeaderSize + 16 * uint32_t(rects.size()));
            out_.u32(uint32_t(mode));
            putRegion(rects);
        }
        out_.end();
    }
    void intersectClipRect(int32_t l, int32_t t, int32_t r, int32_t b) override
    {
        emit(EMR_INTERSECTCLIPRECT, {l, t, r, b});
    }
    void excludeClipRect(int32_t l, int32_t t, int32_t r, int32_t b) override { emit(EMR_EXCLUDECLIPRECT, {l, t, r, b}); }

    // --- Text.
    void extTextOut(int32_t x, int32_t y, uint32_t options, const IntRect* rect, std::string_view text,
                    const int32_t* dx) override
    {
        std::u16string wide(text.size(), u'\0');
        // Advances as given, else as the context measures them; without
        // either, players use the font's own.
        std::vector<int32_t> advances;
        int64_t width = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            wide[i] = Cp1252ToUnicode(uint8_t(text[i]));
            if (dx || dc_) {
                advances.push_back(dx ? dx[i] : dc_->getCharWidth(uint8_t(text[i])));
                width += advances.back();
            }
        }
        const int64_t h = dc_ ? dc_->getTextMetrics().height : 0;
        const int64_t w = std::llabs(width);
        auto at = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
        IntRect box = includeBox(at(x - w), at(y - h), at(x + w), at(y + h));
        if (rect)
            box = includeBox(rect->left, rect->top, rect->right, rect->bottom);
        out_.extTextOutW(box, IntPoint{x, y}, options, rect, wide, advances.empty() ? nullptr : advances.data());
    }

    // --- Pictures.
    void stretchDIBits(int32_t x, int32_t y, int32_t w, int32_t h, int32_t xs, int32_t ys, int32_t ws, int32_t hs,
                       const uint8_t* bits, const uint8_t* header, uint32_t rop) override
    {
        if (!header || !Rop3UsesSource(Rop3Table(rop)))
            return patBlt(x, y, w, h, rop);
        // The program's own bitmaps: their headers say how large they are.
        constexpr uint32_t kTrusted = std::numeric_limits<uint32_t>::max();
        const uint32_t infoSize = MetafileDibInfoSize(header, kTrusted);
        const uint64_t bitsSize = MetafileDibBitsSize(header, kTrusted);
        if (!bits || !infoSize || !bitsSize || bitsSize > kEmfMaxBytes)
            return;
        out_.stretchDIBits(includeBox(x, y, x + w, y + h), IntRect{x, y, x + w, y + h},
                           IntRect{xs, ys, xs + ws, ys + hs}, header, infoSize, bits, uint32_t(bitsSize),
                           DIB_RGB_COLORS, rop);
    }
    void stretchImage(const IntRect& d, const QImage& image, uint32_t rop) override
    {
        if (image.isNull() || !Rop3UsesSource(Rop3Table(rop)))
            return patBlt(d.left, d.top, d.right - d.left, d.bottom - d.top, rop);
        std::vector<uint8_t> info, bits;
        MetafileImageToDib(image, &info, &bits);
        out_.stretchDIBits(includeBox(d.left, d.top, d.right, d.bottom), d,
                           IntRect{0, 0, image.width(), image.height()}, info.data(), uint32_t(info.size()),
                           bits.data(), uint32_t(bits.size()), DIB_RGB_COLORS, rop);
    }

private:
    struct Selection {
        uint32_t pen = kEmfStockObject | BLACK_PEN;
        uint32_t brush = kEmfStockObject | WHITE_BRUSH;
        uint32_t font = kEmfStockObject | SYSTEM_FONT;
    };
    struct Saved {
        Selection selection;
        Pen pen;
        Brush brush;
        LogFont font;
    };

    static bool SameBrush(const Brush& a, const Brush& b)
    {
        auto sameMono = a.mono == b.mono || (a.mono && b.mono && *a.mono == *b.mono);
        return a.style == b.style && a.color == b.color && a.hatch == b.hatch && sameMono && a.image == b.image;
    }

    // The frame in the reference device's units, inclusive.
    static IntRect FrameInDevice(const EmfHeaderInfo& h)
    {
        const double px = h.deviceMillimeters.width > 0 ? double(h.devicePixels.width) / h.deviceMillimeters.width : 1;
        const double py =
            h.deviceMillimeters.height > 0 ? double(h.devicePixels.height) / h.deviceMillimeters.height : 1;
        auto at = [](double v) { return int32_t(std::clamp(std::floor(v), -2e9, 2e9)); };
        return IntRect{at(h.frame.left * px / 100), at(h.frame.top * py / 100), at(h.frame.right * px / 100) - 1,
                       at(h.frame.bottom * py / 100) - 1};
    }

    static void SetMonoTable(std::vector<uint8_t>* info, ColorRef zero, ColorRef one)
    {
        uint8_t* t = info->data() + kBitmapInfoHeaderSize;
        const ColorRef c[2] = {zero, one};
        for (int i = 0; i < 2; ++i) {
            t[4 * i] = BlueOf(c[i]);
            t[4 * i + 1] = GreenOf(c[i]);
            t[4 * i + 2] = RedOf(c[i]);
            t[4 * i + 3] = 0;
        }
    }

    static std::vector<QRect> RectsOf(const QRegion& region) { return {region.begin(), region.end()}; }

    void emit(uint32_t type, std::initializer_list<int32_t> values)
    {
        out_.begin(type);
        for (int32_t v : values)
            out_.i32(v);
        out_.end();
    }

    // --- Object table.
    uint32_t allocate()
    {
        uint32_t index;
        if (!free_.empty()) {
            index = *free_.begin();
            free_.erase(free_.begin());
        } else {
            index = next_++;
        }
        highest_ = std::max(highest_, index);
        return index;
    }

    bool live(uint32_t index) const
    {
        auto holds = [index](const Selection& s) { return s.pen == index || s.brush == index || s.font == index; };
        if (holds(current_))
            return true;
        return std::any_of(saved_.begin(), saved_.end(), [&](const Saved& s) { return holds(s.selection); });
    }

    void release(uint32_t index)
    {
        if ((index & kEmfStockObject) || live(index) || free_.count(index))
            return;
        emit(EMR_DELETEOBJECT, {int32_t(index)});
        free_.insert(index);
    }

    void select(uint32_t* slot, uint32_t index)
    {
        const uint32_t old = *slot;
        emit(EMR_SELECTOBJECT, {int32_t(index)});
        *slot = index;
        if (old != index)
            release(old);
    }

    uint32_t createBrush(const Brush& brush)
    {
        const uint32_t index = allocate();
        if (brush.style == BS_PATTERN && (brush.mono || brush.image)) {
            std::vector<uint8_t> info, bits;
            if (brush.mono) {
                MetafileMonoToDib(brush.mono->rows, 8, 8, 1, &info, &bits);
                // Players take a one-bit brush's colours from the context;
                // readers that take them from the table get the same.
                if (dc_)
                    SetMonoTable(&info, dc_->textColor(), dc_->bkColor());
            }
            else
                MetafileImageToDib(*brush.image, &info, &bits);
            out_.createDibBrush(brush.mono ? EMR_CREATEMONOBRUSH : EMR_CREATEDIBPATTERNBRUSHPT, index, info, bits);
            return index;
        }
        const int32_t style = brush.style == BS_HATCHED ? BS_HATCHED : BS_SOLID;
        emit(EMR_CREATEBRUSHINDIRECT, {int32_t(index), style, int32_t(brush.color & 0xFFFFFF), brush.hatch});
        return index;
    }

    // Draws with a brush of its own (and no pen) inside a saved state, so
    // that the selected objects come back by themselves.
    template <class Draw>
    void withBrush(const Brush& brush, int32_t rop2, Draw draw)
    {
        out_.record(EMR_SAVEDC);
        emit(EMR_SETROP2, {rop2});
        emit(EMR_SELECTOBJECT, {int32_t(kEmfStockObject | NULL_PEN)});
        uint32_t temporary = 0;
        if (brush.style == BS_NULL) {
            emit(EMR_SELECTOBJECT, {int32_t(kEmfStockObject | NULL_BRUSH)});
        } else {
            temporary = createBrush(brush);
            emit(EMR_SELECTOBJECT, {int32_t(temporary)});
        }
        draw();
        emit(EMR_RESTOREDC, {-1});
        if (temporary) {
            emit(EMR_DELETEOBJECT, {int32_t(temporary)});
            free_.insert(temporary);
        }
    }

    // --- Bounds in device units, widened by the pen.
    IntRect include(const IntPoint* p, int n, bool pen)
    {
        if (!dc_ || n <= 0)
            return kNoBounds;
        IntRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (int i = 0; i < n; ++i) {
            IntPoint d = p[i];
            dc_->lpToDp(&d, 1);
            box.left = std::min(box.left, d.x);
            box.top = std::min(box.top, d.y);
            box.right = std::max(box.right, d.x);
            box.bottom = std::max(box.bottom, d.y);
        }
        int32_t pad = 0;
        if (pen) {
            IntPoint w[2] = {{0, 0}, {dc_->pen().width, 0}};
            dc_->lpToDp(w, 2);
            pad = std::abs(w[1].x - w[0].x) / 2 + 1;
        }
        box = IntRect{box.left - pad, box.top - pad, box.right + pad, box.bottom + pad};
        if (any_) {
            bounds_.left = std::min(bounds_.left, box.left);
            bounds_.top = std::min(bounds_.top, box.top);
            bounds_.right = std::max(bounds_.right, box.right);
            bounds_.bottom = std::max(bounds_.bottom, box.bottom);
        } else {
            bounds_ = box;
            any_ = true;
        }
        return box;
    }

    IntRect includeBox(int32_t l, int32_t t, int32_t r, int32_t b)
    {
        const IntPoint p[2] = {{l, t}, {r, b}};
        return include(p, 2, true);
    }

    void rectangleRecord(int32_t l, int32_t t, int32_t r, int32_t b) { box(EMR_RECTANGLE, l, t, r, b); }

    void box(uint32_t type, int32_t l, int32_t t, int32_t r, int32_t b)
    {
        includeBox(l, t, r, b);
        out_.begin(type);
        out_.rect(IntRect{l, t, r, b});
        out_.end();
    }

    // Shapes inside a path bracket go in as their outlines (figures of
    // lines and curves), which every reader adds to a path alike.
    template <class Add>
    static QPainterPath BoxPath(int32_t l, int32_t t, int32_t r, int32_t b, Add add)
    {
        QPainterPath p;
        add(p, QRectF(QPointF(l, t), QPointF(r, b)).normalized());
        return p;
    }

    static QPainterPath ArcPath(int kind, int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1,
                                int32_t x2, int32_t y2)
    {
        const QRectF box = QRectF(QPointF(l, t), QPointF(r, b)).normalized();
        const QPointF c = box.center();
        const double rx = std::max(box.width() / 2, 1e-6), ry = std::max(box.height() / 2, 1e-6);
        auto angle = [&](int32_t x, int32_t y) { return std::atan2(-(y - c.y()) * rx, (x - c.x()) * ry) * 180 / M_PI; };
        const double a1 = angle(x1, y1);
        double sweep = angle(x2, y2) - a1;
        while (sweep <= 0)
            sweep += 360;
        QPainterPath p;
        if (kind == 3) {
            p.moveTo(c);
        } else {
            p.arcMoveTo(box, a1);
        }
        p.arcTo(box, a1, sweep);
        if (kind >= 2)
            p.closeSubpath();
        return p;
    }

    // connect: the figure goes on from the current position (an arc drawn
    // to), which then stays at its end; otherwise the position is kept.
    void outline(const QPainterPath& path, bool closed, bool connect = false)
    {
        const IntPoint position = dc_ ? dc_->currentPosition() : IntPoint{};
        std::vector<IntPoint> run;
        uint32_t runType = 0;
        auto flush = [&] {
            if (!run.empty())
                points(runType, run.data(), int(run.size()));
            run.clear();
        };
        auto at = [&](int i) {
            const QPainterPath::Element e = path.elementAt(i);
            return IntPoint{int32_t(std::lround(e.x)), int32_t(std::lround(e.y))};
        };
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            if (e.isMoveTo()) {
                flush();
                const IntPoint p = at(i);
                emit(connect && i == 0 ? EMR_LINETO : EMR_MOVETOEX, {p.x, p.y});
            } else if (e.isLineTo()) {
                if (runType != EMR_POLYLINETO)
                    flush();
                runType = EMR_POLYLINETO;
                run.push_back(at(i));
            } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
                if (runType != EMR_POLYBEZIERTO)
                    flush();
                runType = EMR_POLYBEZIERTO;
                run.insert(run.end(), {at(i), at(i + 1), at(i + 2)});
                i += 2;
            }
        }
        flush();
        if (closed)
            out_.record(EMR_CLOSEFIGURE);
        if (!connect && dc_)
            emit(EMR_MOVETOEX, {position.x, position.y});
    }

    void points(uint32_t type, const IntPoint* p, int n)
    {
        if (!p || n < 0)
            return;
        const IntRect box = include(p, n, true);
        const bool small = FitsI16(p, n);
        out_.begin(small ? type - EMR_POLYBEZIER + EMR_POLYBEZIER16 : type);
        out_.rect(box);
        out_.u32(uint32_t(n));
        putPoints(p, n, small);
        out_.end();
    }

    void putPoints(const IntPoint* p, int n, bool small)
    {
        for (int i = 0; i < n; ++i) {
            if (small) {
                out_.i16(int16_t(p[i].x));
                out_.i16(int16_t(p[i].y));
            } else {
                out_.point(p[i]);
            }
        }
    }

    void pathDrawing(uint32_t type)
    {
        IntRect box = kNoBounds;
        if (dc_) {
            std::vector<IntPoint> pts;
            for (const PathPoint& p : dc_->getPath())
                pts.push_back(p.point);
            box = include(pts.data(), int(pts.size()), type != EMR_FILLPATH);
        }
        out_.begin(type);
        out_.rect(box);
        out_.end();
    }

    // Region rectangles of the Dc's logical units, in device units.
    std::vector<QRect> deviceRects(const Region& rgn)
    {
        std::vector<QRect> rects;
        for (const QRect& r : rgn.pixels()) {
            IntPoint c[2] = {{r.left(), r.top()}, {r.right() + 1, r.bottom() + 1}};
            include(c, 2, false);
            if (dc_)
                dc_->lpToDp(c, 2);
            rects.emplace_back(QPoint(std::min(c[0].x, c[1].x), std::min(c[0].y, c[1].y)),
                               QPoint(std::max(c[0].x, c[1].x) - 1, std::max(c[0].y, c[1].y) - 1));
        }
        return rects;
    }

    void putRegion(const std::vector<QRect>& rects)
    {
        QRect bound;
        for (const QRect& r : rects)
            bound |= r;
        out_.u32(kRgnDataHeaderSize);
        out_.u32(kRdhRectangles);
        out_.u32(uint32_t(rects.size()));
        out_.u32(16 * uint32_t(rects.size()));
        out_.rect(IntRect{bound.left(), bound.top(), bound.right() + 1, bound.bottom() + 1});
        for (const QRect& r : rects)
            out_.rect(IntRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    }

    void regionWithBrush(uint32_t type, const Region& rgn, const Brush& brush, int32_t w, int32_t h)
    {
        const std::vector<QRect> rects = deviceRects(rgn);
        const uint32_t temporary = createBrush(brush);
        out_.begin(type);
        out_.rect(any_ ? bounds_ : kNoBounds);
        out_.u32(kRgnDataHeaderSize + 16 * uint32_t(rects.size()));
        out_.u32(temporary);
        if (type == EMR_FRAMERGN) {
            out_.i32(w);
            out_.i32(h);
        }
        putRegion(rects);
        out_.end();
        emit(EMR_DELETEOBJECT, {int32_t(temporary)});
        free_.insert(temporary);
    }

    void regionAlone(uint32_t type, const Region& rgn)
    {
        const std::vector<QRect> rects = deviceRects(rgn);
        out_.begin(type);
        out_.rect(any_ ? bounds_ : kNoBounds);
        out_.u32(kRgnDataHeaderSize + 16 * uint32_t(rects.size()));
        putRegion(rects);
        out_.end();
    }

    EmfBuilder out_;
    const Dc* dc_ = nullptr;
    Selection current_;
    std::vector<Saved> saved_;
    Pen pen_;
    Brush brush_ = Brush::Solid(kWhite);
    LogFont font_;
    std::set<uint32_t> free_;
    uint32_t next_ = 1;
    uint32_t highest_ = 0;
    IntRect bounds_;
    IntRect frameBounds_;
    bool any_ = false;
    bool inPath_ = false;
};

std::unique_ptr<MetafileRecorder> MakeEmfRecorder(const Dc* reference, const IntRect& frame,
                                                  const char* description, int32_t pixelsPerInch)
{
    EmfHeaderInfo h;
    h.frame = frame;
    // The reference device: the context's own size, or ten inches of it.
    const bool sized = pixelsPerInch <= 0 && reference && reference->getDeviceCaps(HORZRES) > 0 &&
                       reference->getDeviceCaps(HORZSIZE) > 0 && reference->getDeviceCaps(VERTRES) > 0 &&
                       reference->getDeviceCaps(VERTSIZE) > 0;
    if (pixelsPerInch > 0) {
        h.devicePixels = IntSize{pixelsPerInch * 10, pixelsPerInch * 10};
        h.deviceMillimeters = IntSize{254, 254};
    } else if (sized) {
        h.devicePixels = IntSize{reference->getDeviceCaps(HORZRES), reference->getDeviceCaps(VERTRES)};
        h.deviceMillimeters = IntSize{reference->getDeviceCaps(HORZSIZE), reference->getDeviceCaps(VERTSIZE)};
    } else {
        const int32_t dpiX = reference ? reference->getDeviceCaps(LOGPIXELSX) : 0;
        const int32_t dpiY = reference ? reference->getDeviceCaps(LOGPIXELSY) : 0;
        h.devicePixels = IntSize{(dpiX > 0 ? dpiX : 96) * 10, (dpiY > 0 ? dpiY : 96) * 10};
        h.deviceMillimeters = IntSize{254, 254};
    }
    if (description && *description) {
        for (const char* p = description; *p; ++p)
            h.description.push_back(Cp1252ToUnicode(uint8_t(*p)));
        h.description.append(2, u'\0');
    }
    return std::make_unique<EmfRecorder>(h);
}
