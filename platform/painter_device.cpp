// Vector targets (printers, PDF files) through one QPainter, and the null
// target of a measuring context.
//
// Raster operations have no meaning on paper: each is evaluated as if the
// page under it were white. A pen or brush draws the colour the operation
// would leave on white (copy, mask and not-xor draw their colour plainly;
// R2_NOP draws nothing). A blit draws the pixels the operation would leave
// on white, and leaves the page alone where the operation keeps the
// destination whatever it is; the transparent-mask pair (the mask with
// MERGEPAINT, then the picture with SRCAND into the same rectangle) draws
// the picture with the mask as its alpha.
#include <cmath>
#include <optional>

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>

#include "platform/dc_device.h"
#include "platform/raster_ops.h"

namespace {

inline uint32_t ToRgb(ColorRef c) { return (c & 0x00FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu); }
inline ColorRef FromRgb(uint32_t v) { return (v & 0x00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu); }

class PainterDevice final : public DcDevice {
public:
    PainterDevice(QPaintDevice* device, int32_t technology) : device_(device), technology_(technology) {}
    ~PainterDevice() override { flush(); }

    int32_t technology() const override { return technology_; }
    QSize pixelSize() const override { return QSize(device_->width(), device_->height()); }
    double dpiX() const override { return device_->logicalDpiX(); }
    double dpiY() const override { return device_->logicalDpiY(); }
    QRect paperRect() const override
    {
        // A paged device (printer, PDF) draws from the top-left corner of its
        // printable area; the sheet extends beyond it by the margins.
        if (const auto* paged = dynamic_cast<const QPagedPaintDevice*>(device_)) {
            const QPageLayout layout = paged->pageLayout();
            const int dpi = device_->logicalDpiX();
            const QRect full = layout.fullRectPixels(dpi);
            const QRect paint = layout.paintRectPixels(dpi);
            return full.translated(-paint.topLeft());
        }
        return DcDevice::paperRect();
    }

    QRect drawableBox() const override
    {
        // A page ends with its sheet; other devices (a picture being
        // recorded) grow with what is drawn.
        if (dynamic_cast<const QPagedPaintDevice*>(device_))
            return paperRect();
        return QRect(QPoint(-(1 << 28), -(1 << 28)), QSize(1 << 29, 1 << 29));
    }

    bool drawShape(const DeviceShape& shape, const QRegion* clip) override;
    bool drawText(const DeviceText& text, const QRegion* clip) override;
    bool blit(const BlitRect& dest, const QImage& source, uint32_t rop, const DevicePaint& pattern,
              const QRegion* clip) override;
    ColorRef pixel(int, int) const override { return 0xFFFFFFFFu; }
    bool setPixel(int x, int y, ColorRef c, const QRegion* clip) override
    {
        QPainter* p = begin(clip);
        if (!p)
            return false;
        p->fillRect(QRect(x, y, 1, 1), ToQColor(c));
        return true;
    }
    void flush() override
    {
        if (painter_.isActive())
            painter_.end();
    }
    bool beginOutput() override { return begin(nullptr) != nullptr; }
    bool newPage() override
    {
        auto* paged = dynamic_cast<QPagedPaintDevice*>(device_);
        // The sheet change belongs to the open document: a page left blank
        // must still open the painter, or the device would start anew.
        if (!paged || !begin(nullptr))
            return false;
        return paged->newPage();
    }

private:
    QPainter* begin(const QRegion* clip)
    {
        if (!painter_.isActive()) {
            if (!painter_.begin(device_))
                return nullptr;
            clipped_ = false;
            clip_ = QRegion();
        }
        setClip(clip);
        return &painter_;
    }
    // The clip goes to the painter only when it changes: a vector target
    // writes every change into its output.
    void setClip(const QRegion* clip)
    {
        if (!clip) {
            if (clipped_)
                painter_.setClipping(false);
            clipped_ = false;
            return;
        }
        if (clipped_ && *clip == clip_)
            return;
        clip_ = *clip;
        clipped_ = true;
        if (clip_.rectCount() == 1)
            painter_.setClipRect(clip_.boundingRect());
        else
            painter_.setClipRegion(clip_);
    }
    QBrush brushFor(const DevicePaint& p, int32_t rop2) const;
    // Fills an area. The brush stays selected for the next fill, and a
    // rectangle goes out as a rectangle: a vector target writes what
    // changes and each shape as briefly as it can.
    void fill(const QPainterPath& area, const QBrush& brush);

    QPaintDevice* device_;
    int32_t technology_;
    QPainter painter_;
    // The clip the painter has (none when not clipped_).
    bool clipped_ = false;
    QRegion clip_;

    // The mask of a MERGEPAINT blit, waiting for the SRCAND blit of the
    // picture it belongs to.
    QRectF pendingDest_;
    QImage pendingMask_;
};

QBrush PainterDevice::brushFor(const DevicePaint& p, int32_t rop2) const
{
    if (p.kind == DevicePaint::kSolid)
        return QBrush(ToQColor(FromRgb(Rop2Apply(rop2, ToRgb(p.color), 0xFFFFFF))));
    if (p.kind != DevicePaint::kTiled)
        return QBrush();
    QImage tile = p.tile.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < tile.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(tile.scanLine(y));
        for (int x = 0; x < tile.width(); ++x) {
            if (line[x] >> 24)
                line[x] = 0xFF000000u | Rop2Apply(rop2, line[x] & 0xFFFFFFu, 0xFFFFFF);
        }
    }
    QBrush b(tile);
    b.setTransform(QTransform::fromTranslate(p.origin.x(), p.origin.y()));
    return b;
}

QPen CosmeticPen(ColorRef color, int32_t style)
{
    QPen pen(ToQColor(color), 0);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    switch (style) {
    case PS_DASH:
        pen.setDashPattern({18, 6});
        break;
    case PS_DOT:
        pen.setDashPattern({3, 3});
        break;
    case PS_DASHDOT:
        pen.setDashPattern({9, 6, 3, 6});
        break;
    case PS_DASHDOTDOT:
        pen.setDashPattern({9, 3, 3, 3, 3, 3});
        break;
    default:
        break;
    }
    return pen;
}

// The rectangle a path outlines, when it is one figure of four straight
// sides along the axes.
std::optional<QRectF> AsRectangle(const QPainterPath& path)
{
    const int n = path.elementCount();
    if (n != 5 && n != 4)
        return std::nullopt;
    QPointF p[5];
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if ((i == 0) != e.isMoveTo() || e.isCurveTo())
            return std::nullopt;
        p[i] = e;
    }
    if (n == 5 && p[4] != p[0])
        return std::nullopt;
    const bool across = p[0].y() == p[1].y() && p[1].x() == p[2].x() && p[2].y() == p[3].y() && p[3].x() == p[0].x();
    const bool down = p[0].x() == p[1].x() && p[1].y() == p[2].y() && p[2].x() == p[3].x() && p[3].y() == p[0].y();
    if (!across && !down)
        return std::nullopt;
    return QRectF(p[0], p[2]).normalized();
}

void PainterDevice::fill(const QPainterPath& area, const QBrush& brush)
{
    if (painter_.pen().style() != Qt::NoPen)
        painter_.setPen(Qt::NoPen);
    if (!(painter_.brush() == brush))
        painter_.setBrush(brush);
    if (const std::optional<QRectF> r = AsRectangle(area))
        painter_.drawRect(*r);
    else
        painter_.drawPath(area);
}

bool PainterDevice::drawShape(const DeviceShape& shape, const QRegion* clip)
{
    if (shape.rop2 == R2_NOP)
        return true;
    QPainter* p = begin(clip);
    if (!p)
        return false;
    if (shape.brush.kind != DevicePaint::kNone && !shape.fill.isEmpty())
        fill(shape.fill, brushFor(shape.brush, shape.rop2));
    if (shape.pen.kind == DevicePaint::kNone)
        return true;
    const ColorRef penColor = FromRgb(Rop2Apply(shape.rop2, ToRgb(shape.pen.color), 0xFFFFFF));
    if (!shape.stroke.path.isEmpty()) {
        const bool gaps = shape.stroke.gaps.kind == DevicePaint::kSolid && shape.stroke.style != PS_SOLID;
        p->setBrush(Qt::NoBrush);
        if (gaps) {
            p->setPen(CosmeticPen(FromRgb(Rop2Apply(shape.rop2, ToRgb(shape.stroke.gaps.color), 0xFFFFFF)),
                                  PS_SOLID));
            p->drawPath(shape.stroke.path);
        }
        p->setPen(CosmeticPen(penColor, shape.stroke.style));
        p->drawPath(shape.stroke.path);
    }
    if (!shape.stroke.lines.empty()) {
        p->setBrush(Qt::NoBrush);
        auto drawLines = [&](QPen pen) {
            for (const PixelPolyline& line : shape.stroke.lines) {
                QPolygonF f;
                f.reserve(qsizetype(line.points.size()));
                for (const PixelPoint& pt : line.points)
                    f.append(QPointF(double(pt.x) + 0.5, double(pt.y) + 0.5));
                // A line that comes back after a part out of sight goes on
                // with its pattern.
                pen.setDashOffset(double(line.phase));
                p->setPen(pen);
                p->drawPolyline(f);
            }
        };
        if (shape.stroke.gaps.kind == DevicePaint::kSolid && shape.stroke.style != PS_SOLID)
            drawLines(CosmeticPen(FromRgb(Rop2Apply(shape.rop2, ToRgb(shape.stroke.gaps.color), 0xFFFFFF)),
                                  PS_SOLID));
        drawLines(CosmeticPen(penColor, shape.stroke.style));
    }
    if (!shape.stroke.area.isEmpty())
        fill(shape.stroke.area, QBrush(ToQColor(penColor)));
    return true;
}

bool PainterDevice::drawText(const DeviceText& text, const QRegion* clip)
{
    QPainter* p = begin(clip);
    if (!p)
        return false;
    const QColor colour = ToQColor(text.color);
    if (!text.run.glyphIndexes().isEmpty()) {
        if (p->pen().color() != colour || p->pen().style() != Qt::SolidLine)
            p->setPen(colour);
        // A run that is only moved is drawn at its place, which leaves the
        // painter's transform (and so the output's graphics state) as it is.
        if (text.transform.type() <= QTransform::TxTranslate) {
            p->drawGlyphRun(QPointF(text.transform.dx(), text.transform.dy()), text.run);
        } else {
            p->setTransform(text.transform);
            p->drawGlyphRun(QPointF(0, 0), text.run);
            p->resetTransform();
        }
    }
    if (!text.outline.isEmpty())
        fill(text.outline, QBrush(colour));
    return true;
}

bool PainterDevice::blit(const BlitRect& target, const QImage& source, uint32_t rop, const DevicePaint& pattern,
                         const QRegion* clip)
{
    // A blit without a source is a fill: only its part on the page counts,
    // however far it reaches.
    QRectF dest(double(target.x), double(target.y), double(target.width), double(target.height));
    if (!Rop3UsesSource(Rop3Table(rop))) {
        dest = dest.normalized() & QRectF(drawableBox());
        if (dest.isEmpty())
            return true;
    }
    const uint8_t table = Rop3Table(rop);
    if (rop == MERGEPAINT && !source.isNull()) {
        pendingDest_ = dest;
        pendingMask_ = source.convertToFormat(QImage::Format_RGB32);
        return true;
    }
    QImage pendingMask;
    if (rop == SRCAND && dest == pendingDest_)
        pendingMask = pendingMask_;
    pendingDest_ = QRectF();
    pendingMask_ = QImage();

    const bool useSource = Rop3UsesSource(table);
    QImage out;
    if (useSource) {
        if (source.isNull())
            return false;
        out = source.convertToFormat(QImage::Format_ARGB32);
    } else {
        out = QImage(int(dest.width()), int(dest.height()), QImage::Format_ARGB32);
        out.fill(0);
    }
    const QImage mask = pendingMask.isNull() ? QImage() : pendingMask.scaled(out.size());
    const uint32_t patternColor = ToRgb(pattern.color);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(out.scanLine(y));
        const uint32_t* m = mask.isNull() ? nullptr : reinterpret_cast<const uint32_t*>(mask.constScanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const uint32_t s = line[x] & 0xFFFFFFu;
            uint32_t pat = patternColor;
            if (pattern.kind == DevicePaint::kTiled && !pattern.tile.isNull())
                pat = pattern.tile.pixel(x % pattern.tile.width(), y % pattern.tile.height()) & 0xFFFFFFu;
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
    QPainter* p = begin(clip);
    if (!p)
        return false;
    p->save();
    QTransform t;
    t.translate(dest.left(), dest.top());
    t.scale(double(dest.width()) / out.width(), double(dest.height()) / out.height());
    p->setTransform(t, true);
    p->drawImage(QPointF(0, 0), out);
    p->restore();
    return true;
}

class NullDevice final : public DcDevice {
public:
    NullDevice(double dpi, QSize size) : dpi_(dpi), size_(size) {}
    int32_t technology() const override { return DT_RASDISPLAY; }
    QSize pixelSize() const override { return size_; }
    double dpiX() const override { return dpi_; }
    double dpiY() const override { return dpi_; }
    bool drawShape(const DeviceShape&, const QRegion*) override { return true; }
    bool drawText(const DeviceText&, const QRegion*) override { return true; }
    bool blit(const BlitRect&, const QImage&, uint32_t, const DevicePaint&, const QRegion*) override { return true; }
    ColorRef pixel(int, int) const override { return 0xFFFFFFFFu; }
    bool setPixel(int, int, ColorRef, const QRegion*) override { return true; }

private:
    double dpi_;
    QSize size_;
};

}  // namespace

std::unique_ptr<DcDevice> MakePainterDevice(QPaintDevice* device, int32_t technology)
{
    return std::make_unique<PainterDevice>(device, technology);
}

std::unique_ptr<DcDevice> MakeNullDevice(double dpi, QSize size) { return std::make_unique<NullDevice>(dpi, size); }
