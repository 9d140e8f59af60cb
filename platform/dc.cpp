#include "platform/dc.h"

#include <algorithm>
#include <cmath>

#include <QImage>
#include <QPaintDevice>
#include <QPainterPathStroker>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include "platform/dc_device.h"
#include "platform/dc_kept.h"
#include "platform/dc_recorder.h"
#include "platform/dc_state.h"
#include "platform/print_printer.h"
#include "platform/raster_ops.h"
#include "printqueue/cups_queue.h"
#include "printqueue/print_queue.h"

namespace {

int32_t Round(double v) { return RoundToInt(v); }
QPoint RoundPoint(const QPointF& p) { return QPoint(Round(p.x()), Round(p.y())); }

// Hatch lines pass through the brush origin: row 0 / column 0 of the tile.
const uint8_t kHatches[6][8] = {
    {0xFF, 0, 0, 0, 0, 0, 0, 0},                               // horizontal
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},          // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},          // forward: down from left to right
    {0x80, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40},          // backward: up from left to right
    {0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},          // cross
    {0x80, 0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41},  // diagonal cross
};

// Whether geometry lies near enough to a vector target's page to go to it
// as it is; anything further is cut to what can be seen first.
bool WithinReach(const QRectF& bounds)
{
    constexpr double kReach = double(1 << 24);
    return bounds.left() > -kReach && bounds.top() > -kReach && bounds.right() < kReach && bounds.bottom() < kReach;
}

uint32_t Argb(ColorRef c) { return 0xFF000000u | (c & 0x00FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu); }

// The 8 x 8 bits as a tile, each bit scale x scale device pixels.
QImage BitTile(const uint8_t rows[8], uint32_t one, uint32_t zero, int scale = 1)
{
    QImage tile(8 * scale, 8 * scale, QImage::Format_ARGB32);
    for (int y = 0; y < tile.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(tile.scanLine(y));
        for (int x = 0; x < tile.width(); ++x)
            line[x] = (rows[y / scale] & (0x80 >> (x / scale))) ? one : zero;
    }
    return tile;
}

// A hatch is blown up no further than for a printer of 4800 dots an inch.
constexpr int32_t kMaxHatchScale = 64;

}  // namespace

// --- Construction ---------------------------------------------------------

Dc::Dc(std::unique_ptr<DcDevice> device) : device_(std::move(device)), state_(std::make_unique<State>()) {}

Dc::~Dc() = default;

std::unique_ptr<Dc> Dc::ForImage(QImage* image)
{
    if (!image || image->isNull())
        return nullptr;
    return std::unique_ptr<Dc>(new Dc(MakeImageDevice(image)));
}

std::unique_ptr<Dc> Dc::ForDevice(QPaintDevice* device, int32_t technology)
{
    if (!device)
        return nullptr;
    if (device->devType() == QInternal::Image)
        return ForImage(static_cast<QImage*>(device));
    return std::unique_ptr<Dc>(new Dc(MakePainterDevice(device, technology)));
}

std::unique_ptr<Dc> Dc::ForPrintJob(QPrinter* printer, PageFileMaker makeFile)
{
    if (!printer)
        return nullptr;
    const bool toFile = printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty();
    const QString queue = JobQueue(printer);
    const bool toQueue = !queue.isEmpty();
    if (!toFile && !toQueue)
        return ForDevice(printer, DT_RASPRINTER);
    PageFileSettings settings;
    settings.path = printer->outputFileName();
    settings.layout = printer->pageLayout();
    settings.resolution = printer->resolution();
    settings.title = printer->docName();
    settings.creator = printer->creator();
    if (toFile)
        return std::unique_ptr<Dc>(new Dc(MakePageFileDevice(printer, std::move(settings), makeFile)));
    // A job for a printer is made whole as a PDF file first and handed to
    // the print service only when it is complete (as the printer itself
    // would have sent it), with the choices a printer takes from the job.
    PrintQueueJob job;
    job.printer = queue.toStdString();
    job.title = printer->docName().toStdString();
    job.options.emplace_back("media", settings.layout.pageSize().key().toStdString());
    if (printer->copyCount() > 1) {
        job.options.emplace_back("copies", std::to_string(printer->copyCount()));
        if (printer->collateCopies())
            job.options.emplace_back("Collate", "True");
    }
    // The sides the queue prints unless told otherwise: nothing here
    // chooses them, and Qt's writer of PDF holds no sides.
    const std::string sides = CupsQueueDefaultSides(queue);
    job.options.emplace_back("sides", sides.empty() ? "one-sided" : sides);
    const bool portrait = settings.layout.orientation() == QPageLayout::Portrait;
    if (!portrait)
        job.options.emplace_back("landscape", "");
    return std::unique_ptr<Dc>(new Dc(MakePrintQueueDevice(printer, std::move(settings), makeFile, std::move(job))));
}

std::unique_ptr<Dc> Dc::ForOutput(std::unique_ptr<DcDevice> device)
{
    return device ? std::unique_ptr<Dc>(new Dc(std::move(device))) : nullptr;
}

std::unique_ptr<Dc> Dc::ForMeasuring(int32_t dpi)
{
    return std::unique_ptr<Dc>(new Dc(MakeNullDevice(dpi > 0 ? dpi : 96, QSize())));
}

std::unique_ptr<Dc> Dc::ForRecording(DcRecorder* recorder, int32_t dpi, IntSize size)
{
    if (!recorder)
        return nullptr;
    std::unique_ptr<Dc> dc(new Dc(MakeNullDevice(dpi > 0 ? dpi : 96, QSize(size.width, size.height))));
    dc->recorder_ = recorder;
    return dc;
}

bool Dc::flush() { return device_->flush(); }

int32_t Dc::outputError() const { return device_->outputError(); }

bool Dc::beginOutput() { return device_->beginOutput(); }

bool Dc::newPage() { return device_->newPage(); }

QImage* Dc::image() const { return device_->image(); }

bool Dc::supportsPostScriptPassThrough() const { return device_->takesPostScript(); }

bool Dc::passThrough(const char* data, size_t size) { return device_->passThrough(data, size); }

void Dc::setPicturesLossless(bool lossless) { device_->setPicturesLossless(lossless); }

bool Dc::takesSoftMasks() const { return !recorder_ && device_->takesSoftMasks(); }

void Dc::setSoftMasks(bool soft) { device_->setSoftMasks(soft); }

void Dc::setPictureKey(const uint8_t* bits, uint64_t key, const uint8_t* maskBits, uint64_t maskKey)
{
    keyedBits_[0] = key ? bits : nullptr;
    pictureKey_[0] = bits ? key : 0;
    keyedBits_[1] = bits && maskKey ? maskBits : nullptr;
    pictureKey_[1] = keyedBits_[1] ? maskKey : 0;
}

uint64_t Dc::keyOf(const uint8_t* bits) const
{
    for (int i = 0; i < 2; ++i)
        if (bits && bits == keyedBits_[i])
            return pictureKey_[i];
    return 0;
}

bool Dc::beginTurn(double degrees, const QPointF& from, const QPointF& to)
{
    if (turn_ || recorder_ || inPath() || device_->isRaster())
        return false;
    const QPointF a = toDeviceF(from.x(), from.y());
    const QPointF b = toDeviceF(to.x(), to.y());
    QTransform t;
    t.translate(b.x(), b.y());
    t.rotate(-degrees);
    t.translate(-a.x(), -a.y());
    if (!device_->setTurn(&t))
        return false;
    turn_ = t;
    return true;
}

void Dc::endTurn()
{
    if (!turn_)
        return;
    device_->setTurn(nullptr);
    turn_.reset();
}

// --- Objects and state ------------------------------------------------------

Pen Dc::selectPen(const Pen& pen)
{
    if (recorder_)
        recorder_->selectPen(pen);
    return std::exchange(state_->pen, pen);
}
Brush Dc::selectBrush(const Brush& brush)
{
    if (recorder_)
        recorder_->selectBrush(brush);
    return std::exchange(state_->brush, brush);
}
LogFont Dc::selectFont(const LogFont& font)
{
    if (recorder_)
        recorder_->selectFont(font);
    if (!(font == state_->font))
        state_->face.reset();
    return std::exchange(state_->font, font);
}
const Pen& Dc::pen() const { return state_->pen; }
const Brush& Dc::brush() const { return state_->brush; }
const LogFont& Dc::font() const { return state_->font; }

ColorRef Dc::setTextColor(ColorRef c)
{
    if (recorder_)
        recorder_->setTextColor(c);
    return std::exchange(state_->textColor, c & 0xFFFFFF);
}
ColorRef Dc::textColor() const { return state_->textColor; }
ColorRef Dc::setBkColor(ColorRef c)
{
    if (recorder_)
        recorder_->setBkColor(c);
    return std::exchange(state_->bkColor, c & 0xFFFFFF);
}
ColorRef Dc::bkColor() const { return state_->bkColor; }
int32_t Dc::setBkMode(int32_t mode)
{
    if (recorder_)
        recorder_->setBkMode(mode);
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return std::exchange(state_->bkMode, mode);
}
int32_t Dc::bkMode() const { return state_->bkMode; }
int32_t Dc::setRop2(int32_t rop)
{
    if (recorder_)
        recorder_->setRop2(rop);
    if (rop < R2_BLACK || rop > R2_WHITE)
        return 0;
    return std::exchange(state_->rop2, rop);
}
int32_t Dc::rop2() const { return state_->rop2; }
int32_t Dc::setPolyFillMode(int32_t mode)
{
    if (recorder_)
        recorder_->setPolyFillMode(mode);
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    return std::exchange(state_->polyFillMode, mode);
}
int32_t Dc::polyFillMode() const { return state_->polyFillMode; }
uint32_t Dc::setTextAlign(uint32_t align)
{
    if (recorder_)
        recorder_->setTextAlign(align);
    return std::exchange(state_->textAlign, align);
}
uint32_t Dc::textAlign() const { return state_->textAlign; }
IntPoint Dc::setBrushOrg(int32_t x, int32_t y)
{
    if (recorder_)
        recorder_->setBrushOrg(x, y);
    return std::exchange(state_->brushOrg, IntPoint{x, y});
}
IntPoint Dc::brushOrg() const { return state_->brushOrg; }

int32_t Dc::saveDc()
{
    if (recorder_)
        recorder_->saveDc();
    saved_.push_back(*state_);
    return int32_t(saved_.size());
}

bool Dc::restoreDc(int32_t level)
{
    if (recorder_)
        recorder_->restoreDc(level);
    const int32_t count = int32_t(saved_.size());
    const int32_t target = level < 0 ? count + level + 1 : level;
    if (target < 1 || target > count)
        return false;
    // A drawing being kept that reaches back into the state it began from
    // does not follow from that state alone.
    if (kept_ && kept_->keeping && size_t(target - 1) < kept_->savedDepth)
        kept_->spoilt = true;
    *state_ = saved_[size_t(target - 1)];
    saved_.resize(size_t(target - 1));
    return true;
}

// --- Mapping ----------------------------------------------------------------

double Dc::scaleX() const { return double(state_->viewportExt.width) / state_->windowExt.width; }
double Dc::scaleY() const { return double(state_->viewportExt.height) / state_->windowExt.height; }

QPointF Dc::toDeviceF(double x, double y) const
{
    const State& s = *state_;
    return QPointF((x - s.windowOrg.x) * scaleX() + s.viewportOrg.x, (y - s.windowOrg.y) * scaleY() + s.viewportOrg.y);
}

QPoint Dc::toDevice(int32_t x, int32_t y) const
{
    // Device pixels stay far inside int, so that boxes made of them cannot
    // overflow; nothing beyond is ever on a surface.
    const QPointF d = toDeviceF(x, y);
    constexpr double kLimit = 1 << 29;
    return QPoint(Round(std::clamp(d.x(), -kLimit, kLimit)), Round(std::clamp(d.y(), -kLimit, kLimit)));
}

QPointF Dc::toPixel(double x, double y) const
{
    const QPointF d = toDeviceF(x, y);
    auto whole = [](double v) { return v == v ? std::clamp(std::floor(v + 0.5), -kDeviceLimit, kDeviceLimit) : 0.0; };
    return QPointF(whole(d.x()), whole(d.y()));
}

QPointF Dc::toLogicalF(const QPointF& d) const
{
    const State& s = *state_;
    return QPointF((d.x() - s.viewportOrg.x) / scaleX() + s.windowOrg.x,
                   (d.y() - s.viewportOrg.y) / scaleY() + s.windowOrg.y);
}

QTransform Dc::logicalToDevice() const
{
    const State& s = *state_;
    const double sx = scaleX();
    const double sy = scaleY();
    return QTransform(sx, 0, 0, sy, s.viewportOrg.x - s.windowOrg.x * sx, s.viewportOrg.y - s.windowOrg.y * sy);
}

QRect Dc::deviceRect(int32_t left, int32_t top, int32_t right, int32_t bottom) const
{
    const QPoint a = toDevice(left, top);
    const QPoint b = toDevice(right, bottom);
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()) - 1, std::max(a.y(), b.y()) - 1));
}

QRectF Dc::deviceBox(int32_t left, int32_t top, int32_t right, int32_t bottom) const
{
    const QPointF a = toPixel(left, top);
    const QPointF b = toPixel(right, bottom);
    return QRectF(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                  QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

BlitRect Dc::blitRect(int64_t x, int64_t y, int64_t width, int64_t height) const
{
    const QPointF a = toPixel(double(x), double(y));
    const QPointF b = toPixel(double(x + width), double(y + height));
    return BlitRect{int64_t(a.x()), int64_t(a.y()), int64_t(b.x() - a.x()), int64_t(b.y() - a.y())};
}

void Dc::lpToDp(IntPoint* points, int count) const
{
    for (int i = 0; i < count; ++i) {
        const QPoint d = toDevice(points[i].x, points[i].y);
        points[i] = {d.x(), d.y()};
    }
}

void Dc::dpToLp(IntPoint* points, int count) const
{
    for (int i = 0; i < count; ++i) {
        const QPoint l = RoundPoint(toLogicalF(QPointF(points[i].x, points[i].y)));
        points[i] = {l.x(), l.y()};
    }
}

int32_t Dc::setMapMode(int32_t mode)
{
    if (recorder_)
        recorder_->setMapMode(mode);
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return 0;
    State& s = *state_;
    const int32_t old = s.mapMode;
    s.mapMode = mode;
    s.face.reset();
    const int32_t dx = Round(device_->dpiX());
    const int32_t dy = Round(device_->dpiY());
    auto fixed = [&](int32_t unitsPerInch) {
        s.windowExt = {unitsPerInch, unitsPerInch};
        s.viewportExt = {dx, -dy};
    };
    switch (mode) {
    case MM_TEXT:
        s.windowExt = {1, 1};
        s.viewportExt = {1, 1};
        break;
    case MM_LOMETRIC:
    case MM_ISOTROPIC:
        if (mode == MM_LOMETRIC || old != MM_ISOTROPIC)
            fixed(254);
        break;
    case MM_HIMETRIC:
        fixed(2540);
        break;
    case MM_LOENGLISH:
        fixed(100);
        break;
    case MM_HIENGLISH:
        fixed(1000);
        break;
    case MM_TWIPS:
        fixed(1440);
        break;
    default:
        break;  // anisotropic keeps the extents it had
    }
    return old;
}

int32_t Dc::mapMode() const { return state_->mapMode; }

IntPoint Dc::setWindowOrg(int32_t x, int32_t y)
{
    if (recorder_)
        recorder_->setWindowOrg(x, y);
    return std::exchange(state_->windowOrg, IntPoint{x, y});
}
IntPoint Dc::setViewportOrg(int32_t x, int32_t y)
{
    if (recorder_)
        recorder_->setViewportOrg(x, y);
    return std::exchange(state_->viewportOrg, IntPoint{x, y});
}

void Dc::fixIsotropic()
{
    State& s = *state_;
    if (s.mapMode != MM_ISOTROPIC)
        return;
    // One unit is as long across as down: the direction with the larger
    // scale gives way, keeping its sign.
    const double ax = std::fabs(double(s.viewportExt.width) / s.windowExt.width);
    const double ay = std::fabs(double(s.viewportExt.height) / s.windowExt.height);
    if (ax > ay) {
        const int32_t w = Round(std::fabs(double(s.windowExt.width)) * ay);
        s.viewportExt.width = s.viewportExt.width < 0 ? -w : w;
    } else if (ay > ax) {
        const int32_t h = Round(std::fabs(double(s.windowExt.height)) * ax);
        s.viewportExt.height = s.viewportExt.height < 0 ? -h : h;
    }
    if (s.viewportExt.width == 0)
        s.viewportExt.width = 1;
    if (s.viewportExt.height == 0)
        s.viewportExt.height = 1;
}

IntSize Dc::setWindowExt(int32_t cx, int32_t cy)
{
    if (recorder_)
        recorder_->setWindowExt(cx, cy);
    const IntSize old = state_->windowExt;
    if ((state_->mapMode == MM_ISOTROPIC || state_->mapMode == MM_ANISOTROPIC) && cx != 0 && cy != 0) {
        state_->windowExt = {cx, cy};
        state_->face.reset();
        fixIsotropic();
    }
    return old;
}

IntSize Dc::setViewportExt(int32_t cx, int32_t cy)
{
    if (recorder_)
        recorder_->setViewportExt(cx, cy);
    const IntSize old = state_->viewportExt;
    if ((state_->mapMode == MM_ISOTROPIC || state_->mapMode == MM_ANISOTROPIC) && cx != 0 && cy != 0) {
        state_->viewportExt = {cx, cy};
        state_->face.reset();
        fixIsotropic();
    }
    return old;
}

IntPoint Dc::windowOrg() const { return state_->windowOrg; }
IntPoint Dc::viewportOrg() const { return state_->viewportOrg; }
IntSize Dc::windowExt() const { return state_->windowExt; }
IntSize Dc::viewportExt() const { return state_->viewportExt; }

// --- What the device gets ----------------------------------------------------

const DeviceClip* Dc::clip() const { return state_->hasClip ? &state_->clip : nullptr; }

QRect Dc::visibleBox() const
{
    QRect box = device_->drawableBox();
    if (const QRegion* c = clip())
        box &= c->boundingRect();
    // Under a turn, what is drawn reaches the device turned: the box is
    // where it must lie before the turn.
    if (turn_)
        box = turn_->inverted().mapRect(box);
    return box;
}

DevicePaint Dc::paintOf(const Brush& brush) const
{
    const State& s = *state_;
    DevicePaint p;
    p.origin = QPoint(s.brushOrg.x, s.brushOrg.y);
    switch (brush.style) {
    case BS_SOLID:
        p = DevicePaint::Solid(brush.color & 0xFFFFFF);
        break;
    case BS_HATCHED: {
        const int h = std::clamp(int(brush.hatch), 0, 5);
        // In transparent mode the gaps keep the surface (alpha 0) but still
        // carry the background colour for blits that read the pattern.
        const uint32_t gap = s.bkMode == OPAQUE ? Argb(s.bkColor) : (Argb(s.bkColor) & 0x00FFFFFFu);
        p.kind = DevicePaint::kTiled;
        p.tile = BitTile(kHatches[h], Argb(brush.color), gap, std::clamp(brush.scale, 1, kMaxHatchScale));
        break;
    }
    case BS_PATTERN:
        if (brush.mono) {
            // A 1 bit is the background colour, a 0 bit the text colour.
            p.kind = DevicePaint::kTiled;
            p.tile = BitTile(brush.mono->rows, Argb(s.bkColor), Argb(s.textColor));
        } else if (brush.image && !brush.image->isNull()) {
            p.kind = DevicePaint::kTiled;
            p.tile = brush.image->convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32);
        }
        break;
    default:
        break;
    }
    return p;
}

bool Dc::penVisible() const { return state_->pen.style != PS_NULL; }

int32_t Dc::penPixels() const
{
    const Pen& pen = state_->pen;
    if (pen.width <= 1)
        return 0;
    const int32_t w = Round(pen.width * std::fabs(scaleX()));
    return w <= 1 ? 0 : w;
}

namespace {

// Outlines of more elements than this are stepped by the image as drawn.
constexpr int kStreamedOutlineElements = 4096;

}  // namespace

DeviceStroke Dc::strokeOf(const QPainterPath& outline) const
{
    DeviceStroke stroke;
    if (!penVisible() || outline.isEmpty())
        return stroke;
    const int32_t w = penPixels();
    if (w == 0) {
        // Curves are divided finely only where they may be seen; lines are
        // kept whole and stepped only across the visible pixels.
        const int32_t style = state_->pen.style;
        stroke.style = (style >= PS_DASH && style <= PS_DASHDOTDOT) ? style : PS_SOLID;
        const QRectF keep = QRectF(visibleBox()).adjusted(-2, -2, 2, 2);
        if (!device_->isRaster() && WithinReach(outline.controlPointRect())) {
            stroke.path = outline.translated(0.5, 0.5);
        } else if (device_->isRaster() && outline.elementCount() > kStreamedOutlineElements) {
            // Its pixel lines would cost memory by the length of the
            // outline: the image makes them as it draws them.
            stroke.pixelOutline = outline;
            stroke.keep = keep;
        } else {
            stroke.lines = OutlinePixelLines(outline, keep, stroke.style != PS_SOLID);
        }
        if (stroke.style != PS_SOLID && state_->bkMode == OPAQUE)
            stroke.gaps = DevicePaint::Solid(state_->bkColor);
    } else {
        // The stroker follows the whole outline (its cost does not grow
        // with the size of the figure); its area is cut when it is filled.
        QPainterPathStroker stroker;
        stroker.setWidth(w);
        stroker.setCapStyle(Qt::RoundCap);
        stroker.setJoinStyle(Qt::RoundJoin);
        stroke.area = stroker.createStroke(outline.translated(0.5, 0.5));
        stroke.area.setFillRule(Qt::WindingFill);
    }
    return stroke;
}

bool Dc::drawOutlined(const QPainterPath& fill, const QPainterPath& outline)
{
    if (visibleBox().isEmpty())
        return true;
    DeviceShape shape;
    if (!fill.isEmpty()) {
        shape.fill = fill;
        shape.brush = paintOf(state_->brush);
    }
    shape.stroke = strokeOf(outline);
    if (!shape.stroke.isEmpty())
        shape.pen = DevicePaint::Solid(state_->pen.color & 0xFFFFFF);
    shape.rop2 = state_->rop2;
    return device_->drawShape(shape, clip());
}

bool Dc::drawBox(const QRectF& area, const std::function<QPainterPath(const QRectF&)>& shapeAt)
{
    if (area.isEmpty())
        return true;
    if (inPath()) {
        pathAdd(shapeAt(area));
        return true;
    }
    const int32_t w = penPixels();
    QPainterPath fill;
    QPainterPath outline;
    if (!penVisible()) {
        fill = shapeAt(area);
    } else if (w == 0) {
        fill = shapeAt(area.adjusted(0.5, 0.5, -0.5, -0.5));
        outline = shapeAt(area.adjusted(0, 0, -1, -1));
    } else {
        // The pen is centred on the outline through the outer pixels'
        // centres, or lies wholly inside the box with PS_INSIDEFRAME.
        const double inset = state_->pen.style == PS_INSIDEFRAME ? w / 2.0 : 0.5;
        const QRectF centre = area.adjusted(inset, inset, -inset, -inset);
        fill = shapeAt(centre);
        outline = shapeAt(centre.translated(-0.5, -0.5));
    }
    return drawOutlined(fill, outline);
}

bool Dc::fillDeviceArea(const DeviceArea& area, const Brush& brush, int32_t rop2)
{
    if (area.path.isEmpty() && area.box.isEmpty())
        return true;
    DeviceShape shape;
    shape.fill = area.path;
    shape.fillOffset = area.offset;
    shape.fillBox = area.box;
    shape.brush = paintOf(brush);
    shape.rop2 = rop2;
    return device_->drawShape(shape, clip());
}

bool Dc::fillDeviceArea(const QPainterPath& area, const Brush& brush, int32_t rop2)
{
    DeviceShape shape;
    shape.fill = area;
    shape.brush = paintOf(brush);
    shape.rop2 = rop2;
    return device_->drawShape(shape, clip());
}

// --- Lines and shapes ---------------------------------------------------------

IntPoint Dc::moveTo(int32_t x, int32_t y)
{
    if (recorder_)
        recorder_->moveTo(x, y);
    const IntPoint old = state_->position;
    state_->position = {x, y};
    if (inPath())
        pathMoveTo(toPixel(x, y));
    return old;
}

IntPoint Dc::currentPosition() const { return state_->position; }

bool Dc::lineTo(int32_t x, int32_t y)
{
    if (recorder_)
        recorder_->lineTo(x, y);
    const IntPoint from = state_->position;
    state_->position = {x, y};
    if (inPath()) {
        state_->position = from;
        pathEnsureStart();
        state_->position = {x, y};
        pathLineTo(toPixel(x, y));
        return true;
    }
    QPainterPath line(toPixel(from.x, from.y));
    line.lineTo(toPixel(x, y));
    return drawOutlined(QPainterPath(), line);
}

bool Dc::polyline(const IntPoint* points, int count)
{
    if (recorder_)
        recorder_->polyline(points, count);
    if (!points || count < 2)
        return false;
    QPainterPath line(toPixel(points[0].x, points[0].y));
    for (int i = 1; i < count; ++i)
        line.lineTo(toPixel(points[i].x, points[i].y));
    if (inPath()) {
        pathAdd(line);
        return true;
    }
    return drawOutlined(QPainterPath(), line);
}

bool Dc::polylineTo(const IntPoint* points, int count)
{
    if (recorder_)
        recorder_->polylineTo(points, count);
    if (!points || count < 1)
        return false;
    if (inPath()) {
        pathEnsureStart();
        for (int i = 0; i < count; ++i)
            pathLineTo(toPixel(points[i].x, points[i].y));
        state_->position = points[count - 1];
        return true;
    }
    QPainterPath line(toPixel(state_->position.x, state_->position.y));
    for (int i = 0; i < count; ++i)
        line.lineTo(toPixel(points[i].x, points[i].y));
    state_->position = points[count - 1];
    return drawOutlined(QPainterPath(), line);
}

bool Dc::polyPolygon(const IntPoint* points, const int* counts, int polygons)
{
    if (recorder_)
        recorder_->polyPolygon(points, counts, polygons);
    if (!points || !counts || polygons < 1)
        return false;
    QPainterPath area;
    area.setFillRule(state_->polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    const IntPoint* p = points;
    for (int k = 0; k < polygons; ++k) {
        if (counts[k] < 2)
            return false;
        area.moveTo(toPixel(p[0].x, p[0].y));
        for (int i = 1; i < counts[k]; ++i)
            area.lineTo(toPixel(p[i].x, p[i].y));
        area.closeSubpath();
        p += counts[k];
    }
    if (inPath()) {
        pathAdd(area);
        return true;
    }
    return drawOutlined(area, area);
}

bool Dc::polygon(const IntPoint* points, int count)
{
    return polyPolygon(points, &count, 1);
}

bool Dc::polyBezier(const IntPoint* points, int count)
{
    if (recorder_)
        recorder_->polyBezier(points, count);
    if (!points || count < 4 || (count - 1) % 3 != 0)
        return false;
    QPainterPath curve(toPixel(points[0].x, points[0].y));
    for (int i = 1; i + 2 < count; i += 3)
        curve.cubicTo(toPixel(points[i].x, points[i].y), toPixel(points[i + 1].x, points[i + 1].y),
                      toPixel(points[i + 2].x, points[i + 2].y));
    if (inPath()) {
        pathAdd(curve);
        return true;
    }
    return drawOutlined(QPainterPath(), curve);
}

bool Dc::polyBezierTo(const IntPoint* points, int count)
{
    if (recorder_)
        recorder_->polyBezierTo(points, count);
    if (!points || count < 3 || count % 3 != 0)
        return false;
    if (inPath()) {
        pathEnsureStart();
        for (int i = 0; i + 2 < count; i += 3)
            pathBezierTo(toPixel(points[i].x, points[i].y), toPixel(points[i + 1].x, points[i + 1].y),
                         toPixel(points[i + 2].x, points[i + 2].y));
        state_->position = points[count - 1];
        return true;
    }
    QPainterPath curve(toPixel(state_->position.x, state_->position.y));
    for (int i = 0; i + 2 < count; i += 3)
        curve.cubicTo(toPixel(points[i].x, points[i].y), toPixel(points[i + 1].x, points[i + 1].y),
                      toPixel(points[i + 2].x, points[i + 2].y));
    state_->position = points[count - 1];
    return drawOutlined(QPainterPath(), curve);
}

bool Dc::rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (recorder_)
        recorder_->rectangle(left, top, right, bottom);
    const QRectF box = deviceBox(left, top, right, bottom);
    return drawBox(box, [](const QRectF& r) {
        QPainterPath p;
        p.addRect(r);
        return p;
    });
}

bool Dc::roundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t ellipseWidth,
                   int32_t ellipseHeight)
{
    if (recorder_)
        recorder_->roundRect(left, top, right, bottom, ellipseWidth, ellipseHeight);
    const QRectF box = deviceBox(left, top, right, bottom);
    const double rx = std::fabs(ellipseWidth * scaleX()) / 2;
    const double ry = std::fabs(ellipseHeight * scaleY()) / 2;
    return drawBox(box, [rx, ry](const QRectF& r) {
        QPainterPath p;
        p.addRoundedRect(r, std::min(rx, r.width() / 2), std::min(ry, r.height() / 2));
        return p;
    });
}

bool Dc::ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (recorder_)
        recorder_->ellipse(left, top, right, bottom);
    const QRectF box = deviceBox(left, top, right, bottom);
    return drawBox(box, [](const QRectF& r) {
        QPainterPath p;
        p.addEllipse(r);
        return p;
    });
}

QPainterPath Dc::arcPath(const QRectF& box, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int kind,
                         double inset) const
{
    const QRectF r = box.adjusted(inset, inset, -inset, -inset);
    const QPointF c = box.center();
    const double rx = std::max(r.width() / 2, 1e-6);
    const double ry = std::max(r.height() / 2, 1e-6);
    // The radials are true directions; Qt's arc angles are parametric.
    auto param = [&](int32_t x, int32_t y) {
        const QPointF d = toDeviceF(x, y) - c;
        const double theta = std::atan2(-d.y(), d.x());
        return std::atan2(rx * std::sin(theta), ry * std::cos(theta)) * 180.0 / M_PI;
    };
    const double a1 = param(x1, y1);
    double sweep = param(x2, y2) - a1;
    while (sweep <= 0)
        sweep += 360;
    while (sweep > 360)
        sweep -= 360;
    QPainterPath p;
    if (kind == 2) {
        p.moveTo(c);
        p.arcTo(r, a1, sweep);
        p.closeSubpath();
    } else {
        p.arcMoveTo(r, a1);
        p.arcTo(r, a1, sweep);
        if (kind == 1)
            p.closeSubpath();
    }
    return p;
}

bool Dc::arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
             int32_t y2)
{
    if (recorder_)
        recorder_->arc(0, left, top, right, bottom, x1, y1, x2, y2);
    const QRectF box = deviceBox(left, top, right, bottom);
    if (box.isEmpty())
        return true;
    if (inPath()) {
        pathAdd(arcPath(box, x1, y1, x2, y2, 0, 0));
        return true;
    }
    const double inset = penPixels() > 0 && state_->pen.style == PS_INSIDEFRAME ? penPixels() / 2.0 : 0.5;
    return drawOutlined(QPainterPath(), arcPath(box, x1, y1, x2, y2, 0, inset).translated(-0.5, -0.5));
}

bool Dc::arcTo(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
               int32_t y2)
{
    if (recorder_)
        recorder_->arc(1, left, top, right, bottom, x1, y1, x2, y2);
    const QRectF box = deviceBox(left, top, right, bottom);
    if (box.isEmpty())
        return true;
    const bool path = inPath();
    QPainterPath a = arcPath(box, x1, y1, x2, y2, 0, path ? 0 : 0.5);
    if (!path)
        a.translate(-0.5, -0.5);
    QPainterPath whole(toPixel(state_->position.x, state_->position.y));
    whole.connectPath(a);
    const QPoint end = RoundPoint(toLogicalF(a.currentPosition() + (path ? QPointF() : QPointF(0.5, 0.5))));
    if (path) {
        pathEnsureStart();
        pathAdd(a);
        state_->position = {end.x(), end.y()};
        return true;
    }
    state_->position = {end.x(), end.y()};
    return drawOutlined(QPainterPath(), whole);
}

bool Dc::chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
               int32_t y2)
{
    if (recorder_)
        recorder_->arc(2, left, top, right, bottom, x1, y1, x2, y2);
    const QRectF box = deviceBox(left, top, right, bottom);
    if (box.isEmpty())
        return true;
    if (inPath()) {
        pathAdd(arcPath(box, x1, y1, x2, y2, 1, 0));
        return true;
    }
    const bool pen = penVisible();
    return drawOutlined(arcPath(box, x1, y1, x2, y2, 1, pen ? 0.5 : 0),
                        arcPath(box, x1, y1, x2, y2, 1, 0.5).translated(-0.5, -0.5));
}

bool Dc::pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
             int32_t y2)
{
    if (recorder_)
        recorder_->arc(3, left, top, right, bottom, x1, y1, x2, y2);
    const QRectF box = deviceBox(left, top, right, bottom);
    if (box.isEmpty())
        return true;
    if (inPath()) {
        pathAdd(arcPath(box, x1, y1, x2, y2, 2, 0));
        return true;
    }
    const bool pen = penVisible();
    return drawOutlined(arcPath(box, x1, y1, x2, y2, 2, pen ? 0.5 : 0),
                        arcPath(box, x1, y1, x2, y2, 2, 0.5).translated(-0.5, -0.5));
}

bool Dc::fillRect(const IntRect& r, const Brush& brush)
{
    if (recorder_)
        recorder_->fillRect(r, brush);
    const QRectF box = deviceBox(r.left, r.top, r.right, r.bottom);
    if (box.isEmpty())
        return true;
    QPainterPath area;
    area.addRect(box);
    return fillDeviceArea(area, brush, R2_COPYPEN);
}

bool Dc::frameRect(const IntRect& r, const Brush& brush)
{
    if (recorder_)
        recorder_->frameRect(r, brush);
    const QRect box = deviceRect(r.left, r.top, r.right, r.bottom);
    if (box.isEmpty())
        return true;
    // The box is held within +-2^29, and so is the border's width.
    const int32_t w = std::clamp(Round(std::fabs(scaleX())), 1, 1 << 29);
    const int32_t h = std::clamp(Round(std::fabs(scaleY())), 1, 1 << 29);
    QPainterPath ring;
    ring.addRegion(QRegion(box).subtracted(QRegion(box.adjusted(w, h, -w, -h))));
    return fillDeviceArea(ring, brush, R2_COPYPEN);
}

bool Dc::invertRect(const IntRect& r)
{
    if (recorder_)
        recorder_->invertRect(r);
    const BlitRect box = blitRect(r.left, r.top, int64_t(r.right) - r.left, int64_t(r.bottom) - r.top);
    if (box.width == 0 || box.height == 0)
        return true;
    return device_->blit(box, QImage(), DSTINVERT, DevicePaint(), clip());
}

bool Dc::patBlt(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rop)
{
    if (recorder_)
        recorder_->patBlt(x, y, width, height, rop);
    const BlitRect box = blitRect(x, y, width, height);
    if (box.width == 0 || box.height == 0)
        return true;
    if (Rop3UsesSource(Rop3Table(rop)))
        return false;
    return device_->blit(box, QImage(), rop, paintOf(state_->brush), clip());
}

ColorRef Dc::setPixel(int32_t x, int32_t y, ColorRef c)
{
    if (recorder_)
        recorder_->setPixel(x, y, c);
    const QPoint d = toDevice(x, y);
    if (!device_->setPixel(d.x(), d.y(), c & 0xFFFFFF, clip()))
        return 0xFFFFFFFFu;
    return c & 0xFFFFFF;
}

ColorRef Dc::getPixel(int32_t x, int32_t y) const
{
    const QPoint d = toDevice(x, y);
    if (const QRegion* c = clip(); c && !c->contains(d))
        return 0xFFFFFFFFu;
    return device_->pixel(d.x(), d.y());
}

// --- Regions and clipping -------------------------------------------------------

QRegion Dc::toDeviceRegion(const Region& logical, int32_t margin) const
{
    const QRect window = visibleBox().adjusted(-margin, -margin, margin, margin);
    if (window.isEmpty())
        return QRegion();
    // The logical rectangle that maps onto the window, two units wider all
    // round for the rounding; beyond it nothing can reach the window.
    const QPointF a = toLogicalF(QPointF(window.left(), window.top()));
    const QPointF b = toLogicalF(QPointF(window.right() + 1.0, window.bottom() + 1.0));
    auto whole = [](double v) { return int(std::clamp(v, -double(1 << 30), double(1 << 30))); };
    const QRect logicalWindow(QPoint(whole(std::floor(std::min(a.x(), b.x())) - 2),
                                     whole(std::floor(std::min(a.y(), b.y())) - 2)),
                              QPoint(whole(std::ceil(std::max(a.x(), b.x())) + 2),
                                     whole(std::ceil(std::max(a.y(), b.y())) + 2)));
    const QRegion src = logical.pixelsWithin(logicalWindow);
    if (src.isEmpty())
        return QRegion();
    const QPointF d = toPixel(0, 0);
    if (scaleX() == 1 && scaleY() == 1 && std::fabs(d.x()) < (1 << 30) && std::fabs(d.y()) < (1 << 30))
        return src.translated(int(d.x()), int(d.y())) & window;
    QRegion out;
    for (const QRect& r : src) {
        const QRect box = deviceRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        if (!box.isEmpty())
            out += box;
    }
    return out & window;
}

QRegion Dc::surfaceRegion() const
{
    const QSize s = device_->pixelSize();
    if (s.isEmpty())
        return QRegion(QRect(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29));
    return QRegion(QRect(QPoint(0, 0), s));
}

QRegion Dc::clipPixels(const Region& rgn) const
{
    // Nothing beyond the surface is ever drawn, so a clip is worked out
    // only over the surface; a device without a size takes the whole region.
    const QSize size = device_->pixelSize();
    if (size.isEmpty())
        return rgn.pixels();
    return rgn.pixelsWithin(QRect(QPoint(0, 0), size));
}

Dc::DeviceArea Dc::regionArea(const Region& logical) const
{
    if (!device_->isRaster()) {
        // A vector target fills the shape the region was made from, where
        // it stays within reach of the page. A shape that is only moved is
        // handed over as it is, with the move beside it.
        QPainterPath shape = logical.shape();
        if (!shape.isEmpty()) {
            const QTransform t = logicalToDevice();
            if (t.type() <= QTransform::TxTranslate) {
                const QPointF offset(t.dx(), t.dy());
                if (WithinReach(shape.controlPointRect().translated(offset)))
                    return DeviceArea{std::move(shape), offset};
            } else {
                QPainterPath area = t.map(shape);
                if (WithinReach(area.controlPointRect()))
                    return DeviceArea{std::move(area), QPointF()};
            }
        }
    }
    if (!device_->isRaster() && logical.shape().isEmpty() && logical.pixels().rectCount() == 1) {
        // One rectangle (a bar, a frame's fill) goes as a rectangle.
        const QRect r = logical.pixels().boundingRect();
        const QRectF box = deviceBox(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        if (WithinReach(box))
            return DeviceArea{QPainterPath(), QPointF(), box};
    }
    QPainterPath area;
    area.addRegion(toDeviceRegion(logical, 0));
    return DeviceArea{std::move(area), QPointF()};
}

bool Dc::fillRgn(const Region& rgn, const Brush& brush)
{
    if (recorder_)
        recorder_->fillRgn(rgn, brush);
    return fillDeviceArea(regionArea(rgn), brush, state_->rop2);
}

bool Dc::frameRgn(const Region& rgn, const Brush& brush, int32_t width, int32_t height)
{
    if (recorder_)
        recorder_->frameRgn(rgn, brush, width, height);
    const int32_t w = std::clamp(Round(std::fabs(width * scaleX())), 1, 1 << 20);
    const int32_t h = std::clamp(Round(std::fabs(height * scaleY())), 1, 1 << 20);
    if (const std::optional<bool> drawn = frameOutline(rgn, brush, w, h))
        return *drawn;
    // A pixel belongs to the frame when a pixel w across or h down from it
    // lies outside the region: the region that far beyond what is seen
    // decides the frame.
    const QRegion r = toDeviceRegion(rgn, std::max(w, h) + 1);
    const QRegion inner = r & r.translated(w, 0) & r.translated(-w, 0) & r.translated(0, h) & r.translated(0, -h);
    QPainterPath area;
    area.addRegion((r - inner) & visibleBox());
    return fillDeviceArea(area, brush, state_->rop2);
}

bool Dc::paintRgn(const Region& rgn)
{
    // A recording context draws nothing itself: the region's area is not
    // worked out for it.
    if (recorder_) {
        recorder_->paintRgn(rgn);
        return true;
    }
    return fillDeviceArea(regionArea(rgn), state_->brush, state_->rop2);
}

bool Dc::invertRgn(const Region& rgn)
{
    if (recorder_)
        recorder_->invertRgn(rgn);
    return fillDeviceArea(regionArea(rgn), Brush::Solid(kBlack), R2_NOT);
}

int32_t Dc::setClip(const DeviceClip* device)
{
    State& s = *state_;
    if (!device) {
        s.hasClip = false;
        s.clip = DeviceClip();
        return SIMPLEREGION;
    }
    s.hasClip = true;
    s.clip = *device;
    return Region::FromQRegion(s.clip).kind();
}

int32_t Dc::selectClipRgn(const Region* rgn)
{
    if (recorder_)
        recorder_->extSelectClipRgn(rgn, RGN_COPY);
    if (!rgn)
        return setClip(nullptr);
    const QRegion pixels = clipPixels(*rgn);
    const DeviceClip made = narrowedClip(pixels, nullptr, *rgn, pixels);
    return setClip(&made);
}

DeviceClip Dc::narrowedClip(const QRegion& pixels, const DeviceClip* narrowed, const Region& by,
                            const QRegion& byPixels) const
{
    // A page takes a clip of pixels as a rectangle for each row of each
    // piece, which for text cut to its letters is thousands a line. While a
    // clip stays a rectangle cut by shapes, the shapes go with it and the
    // page clips with those; pixels are those whose centres lie inside, on
    // either side of the cut, so the result is the same rectangle cut by
    // both. The screen works on the pixels alone.
    constexpr size_t kMostOutlines = 4;
    if (device_->isRaster())
        return DeviceClip(pixels);
    std::vector<QPainterPath> outlines = narrowed ? narrowed->outlines() : std::vector<QPainterPath>();
    const bool cutRectangle = !narrowed || !outlines.empty() || narrowed->rectCount() <= 1;
    const QPainterPath shape = by.shape();
    if (!cutRectangle || (shape.isEmpty() && byPixels.rectCount() > 1))
        return DeviceClip(pixels);
    if (!shape.isEmpty())
        outlines.push_back(shape);
    if (outlines.size() > kMostOutlines)
        return DeviceClip(pixels);
    return DeviceClip(pixels, std::move(outlines));
}

int32_t Dc::extSelectClipRgn(const Region* rgn, int32_t mode)
{
    if (recorder_)
        recorder_->extSelectClipRgn(rgn, mode);
    if (!rgn) {
        if (mode != RGN_COPY)
            return RGN_ERROR;
        return setClip(nullptr);
    }
    const QRegion current = state_->hasClip ? state_->clip : surfaceRegion();
    const QRegion pixels = clipPixels(*rgn);
    QRegion next;
    switch (mode) {
    case RGN_AND:
        next = current & pixels;
        break;
    case RGN_OR:
        next = current | pixels;
        break;
    case RGN_XOR:
        next = current ^ pixels;
        break;
    case RGN_DIFF:
        next = current - pixels;
        break;
    case RGN_COPY:
        next = pixels;
        break;
    default:
        return RGN_ERROR;
    }
    const DeviceClip* narrowed = mode == RGN_AND && state_->hasClip ? &state_->clip : nullptr;
    const DeviceClip made =
        mode == RGN_AND || mode == RGN_COPY ? narrowedClip(next, narrowed, *rgn, pixels) : DeviceClip(next);
    return setClip(&made);
}

int32_t Dc::intersectClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (recorder_)
        recorder_->intersectClipRect(left, top, right, bottom);
    const QRegion current = state_->hasClip ? state_->clip : surfaceRegion();
    // A rectangle cut by shapes and cut again by a rectangle is still one.
    const DeviceClip next(current & QRegion(deviceRect(left, top, right, bottom)),
                          state_->hasClip ? state_->clip.outlines() : std::vector<QPainterPath>());
    return setClip(&next);
}

int32_t Dc::excludeClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (recorder_)
        recorder_->excludeClipRect(left, top, right, bottom);
    const QRegion current = state_->hasClip ? state_->clip : surfaceRegion();
    const DeviceClip next(current - QRegion(deviceRect(left, top, right, bottom)));
    return setClip(&next);
}

int32_t Dc::getClipBox(IntRect* r) const
{
    const QRegion region = state_->hasClip ? state_->clip : surfaceRegion();
    const QRect b = region.boundingRect();
    if (r) {
        if (b.isEmpty()) {
            *r = IntRect{};
        } else {
            const QPointF a = toLogicalF(QPointF(b.left(), b.top()));
            const QPointF c = toLogicalF(QPointF(b.right() + 1, b.bottom() + 1));
            *r = IntRect{Round(std::min(a.x(), c.x())), Round(std::min(a.y(), c.y())), Round(std::max(a.x(), c.x())),
                         Round(std::max(a.y(), c.y()))};
        }
    }
    // The kind as a region of these pixels would give it, without making
    // one: a bar of a barcode asks for the box before it is drawn.
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool Dc::hasClip() const { return state_->hasClip; }

bool Dc::keepsShapes() const { return !device_->isRaster(); }

Region Dc::clipRegion() const { return Region::FromQRegion(state_->hasClip ? state_->clip : surfaceRegion()); }

std::optional<DeviceClip> Dc::wholeClip() const
{
    return state_->hasClip ? std::optional<DeviceClip>(state_->clip) : std::nullopt;
}

int32_t Dc::restoreClip(const std::optional<DeviceClip>& clip)
{
    if (recorder_) {
        const Region pixels = clip ? Region::FromQRegion(*clip) : Region();
        recorder_->extSelectClipRgn(clip ? &pixels : nullptr, RGN_COPY);
    }
    return setClip(clip ? &*clip : nullptr);
}

// --- Device -----------------------------------------------------------------

int32_t Dc::getDeviceCaps(int32_t index) const
{
    // Only what is asked is measured: the printing code asks for the
    // technology with every bar and shape it draws, and a PDF page's
    // sizes are worked out from its layout each time.
    switch (index) {
    case TECHNOLOGY:
        return device_->technology();
    case HORZRES:
        return device_->pixelSize().width();
    case VERTRES:
        return device_->pixelSize().height();
    case HORZSIZE:
        return Round(device_->pixelSize().width() * 25.4 / device_->dpiX());
    case VERTSIZE:
        return Round(device_->pixelSize().height() * 25.4 / device_->dpiY());
    case LOGPIXELSX:
        return Round(device_->dpiX());
    case LOGPIXELSY:
        return Round(device_->dpiY());
    case BITSPIXEL:
        return 24;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    case RASTERCAPS:
        // Blits, stretched blits and device-independent bitmaps.
        return 0x0001 | 0x0800 | 0x0080 | 0x2000;
    case PHYSICALWIDTH:
        return device_->paperRect().width();
    case PHYSICALHEIGHT:
        return device_->paperRect().height();
    case PHYSICALOFFSETX:
        return -device_->paperRect().left();
    case PHYSICALOFFSETY:
        return -device_->paperRect().top();
    default:
        return 0;
    }
}
