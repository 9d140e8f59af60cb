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

#include <QFile>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>

#include "foundation/file_io.h"
#include "foundation/win_error.h"
#include "platform/dc_device.h"
#include "platform/page_file.h"
#include "platform/page_ops.h"
#include "platform/paper_blit.h"
#include "platform/paper_pattern_tiles.h"
#include "platform/raster_ops.h"
#include "platform/sheet_size.h"

namespace {

inline uint32_t ToRgb(ColorRef c) { return (c & 0x00FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu); }
inline ColorRef FromRgb(uint32_t v) { return (v & 0x00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu); }

class PainterDevice final : public DcDevice {
public:
    PainterDevice(QPaintDevice* device, int32_t technology) : device_(device), technology_(technology) {}
    // A file whose pages are painted elsewhere (see page_file.h), made by
    // `makeFile`; `device` gives the metrics.
    PainterDevice(QPaintDevice* device, int32_t technology, PageFileSettings farm, PageFileMaker makeFile)
        : device_(device), technology_(technology), farmSettings_(std::move(farm)), makeFile_(makeFile),
          farmed_(true)
    {
    }
    // The same into a file of its own, which goes to the print service's
    // queue when it is whole.
    PainterDevice(QPaintDevice* device, PageFileSettings farm, PageFileMaker makeFile, PrintQueueJob job)
        : device_(device), technology_(DT_RASPRINTER), farmSettings_(std::move(farm)), makeFile_(makeFile),
          farmed_(true), queued_(true), queueJob_(std::move(job))
    {
    }
    // A painter's output ends with the context; a farmed file is written
    // only by an explicit flush, so a job given up leaves nothing behind
    // and prints nothing.
    ~PainterDevice() override
    {
        if (!farmed_)
            flush();
        DropQueueFile();
    }

    int32_t technology() const override { return technology_; }
    QSize pixelSize() const override
    {
        // A farmed PDF's pages are the exact sheet, not Qt's whole points.
        if (farmed_) {
            const int dpi = device_->logicalDpiX();
            return ExactSheetPixels(farmSettings_.layout, dpi)
                .marginsRemoved(farmSettings_.layout.marginsPixels(dpi))
                .size();
        }
        return QSize(device_->width(), device_->height());
    }
    double dpiX() const override { return device_->logicalDpiX(); }
    double dpiY() const override { return device_->logicalDpiY(); }
    QRect paperRect() const override
    {
        // A paged device (printer, PDF) draws from the top-left corner of its
        // printable area; the sheet extends beyond it by the margins.
        if (const auto* paged = dynamic_cast<const QPagedPaintDevice*>(device_)) {
            const QPageLayout layout = paged->pageLayout();
            const int dpi = device_->logicalDpiX();
            const QRect full = farmed_ ? ExactSheetPixels(layout, dpi) : layout.fullRectPixels(dpi);
            const QMargins margins = layout.marginsPixels(dpi);
            return full.translated(-margins.left(), -margins.top());
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

    bool drawShape(const DeviceShape& shape, const DeviceClip* clip) override;
    bool drawText(const DeviceText& text, const DeviceClip* clip) override;
    bool blit(const BlitRect& dest, const QImage& source, uint32_t rop, const DevicePaint& pattern,
              const DeviceClip* clip) override;
    ColorRef pixel(int, int) const override { return 0xFFFFFFFFu; }
    bool setPixel(int x, int y, ColorRef c, const DeviceClip* clip) override
    {
        PageOp op;
        op.kind = PageOp::kFill;
        op.path.addRect(QRectF(x, y, 1, 1));
        op.fillColour = ToQColor(c);
        return put(std::move(op), clip);
    }
    bool flush() override
    {
        keptSpoilt_ = true;
        if (farmed_ || painter_.isActive())
            releaseWaiting();
        if (farmed_) {
            if (!farm_)
                return true;
            bool ok = farm_->addPage(std::move(page_));
            page_.clear();
            ok = farm_->finish() && ok;
            error_ = farm_->fileError();
            farm_.reset();
            if (ok && queued_) {
                queueJob_.file = QFile::encodeName(farmSettings_.path).toStdString();
                ok = SubmitPrintQueueJob(queueJob_) == 0;
            }
            DropQueueFile();
            return ok;
        }
        if (painter_.isActive())
            return painter_.end();
        return true;
    }
    bool beginOutput() override { return begin(); }
    void setPicturesLossless(bool lossless) override { lossless_ = lossless; }
    // A page (PDF, printer) keeps a picture's graded alpha as a soft mask;
    // a picture being recorded is no page.
    bool takesSoftMasks() const override { return dynamic_cast<const QPagedPaintDevice*>(device_) != nullptr; }
    void setSoftMasks(bool soft) override { paper_.setSoftMasks(soft); }
    bool setTurn(const QTransform* turn) override
    {
        turn_.reset();
        if (turn)
            turn_ = *turn;
        return true;
    }
    bool keepOutput() override
    {
        if (keeping_)
            return false;
        keeping_ = true;
        keptSpoilt_ = false;
        kept_.clear();
        keptMeetings_.clear();
        return true;
    }
    bool keepsOutput() const override { return true; }
    std::shared_ptr<const KeptOutput> keptOutput() override
    {
        if (!keeping_)
            return nullptr;
        keeping_ = false;
        std::shared_ptr<KeptOps> out;
        if (!keptSpoilt_) {
            out = std::make_shared<KeptOps>();
            out->ops = std::move(kept_);
            out->meetings = std::move(keptMeetings_);
        }
        kept_.clear();
        keptMeetings_.clear();
        return out;
    }
    bool giveAgain(const KeptOutput& output) override
    {
        const auto* kept = dynamic_cast<const KeptOps*>(&output);
        if (!kept || !begin())
            return false;
        // The first operations meet whatever the page holds now. Once one
        // started afresh (no run went on) both now and when kept, what
        // waits is the same as then, and the others meet the operations
        // before them as they did when kept.
        bool known = false;
        for (size_t i = 0; i < kept->ops.size(); ++i) {
            const Meeting keptAs = kept->meetings[i];
            const Meeting met = take(kept->ops[i], known ? keptAs : Meeting::kUnknown);
            known = known || (met != Meeting::kContinues && keptAs != Meeting::kContinues);
        }
        return true;
    }
    int32_t outputError() const override { return error_; }
    bool newPage() override
    {
        auto* paged = dynamic_cast<QPagedPaintDevice*>(device_);
        // The sheet change belongs to the open document: a page left blank
        // must still open the output, or the device would start anew.
        if (!paged || !begin())
            return false;
        keptSpoilt_ = true;
        releaseWaiting();
        if (farmed_) {
            // The next page takes about as many operations.
            const size_t ops = page_.size();
            const bool ok = farm_->addPage(std::move(page_));
            page_.clear();
            page_.reserve(ops);
            return ok;
        }
        return paged->newPage();
    }

private:
    bool begin()
    {
        if (farmed_) {
            if (!farm_) {
                if (queued_ && farmSettings_.path.isEmpty() && !MakeQueueFile())
                    return false;
                farm_ = makeFile_ ? makeFile_(farmSettings_) : nullptr;
                if (!farm_ || !farm_->begin()) {
                    error_ = farm_ ? farm_->fileError() : kErrGeneralFailure;
                    farm_.reset();
                    return false;
                }
            }
            return true;
        }
        if (!painter_.isActive()) {
            if (!painter_.begin(device_))
                return false;
            player_.forgetState();
        }
        return true;
    }
    // The file a printer's job is made in, in the system's temporary folder.
    bool MakeQueueFile()
    {
        PathRecord folder{}, made{};
        if ((error_ = GetSystemTempFolder(&folder)) != kErrNone ||
            (error_ = CreateTempFileName(&folder, "PRJ", &made)) != kErrNone)
            return false;
        farmSettings_.path = QFile::decodeName(PathRecordToPosix(made).c_str());
        return true;
    }
    void DropQueueFile()
    {
        if (!queued_ || farmSettings_.path.isEmpty())
            return;
        PathRecord made{};
        if (PathRecordFromPosix(QFile::encodeName(farmSettings_.path).toStdString(), &made) == 0)
            FileDelete(&made);
        farmSettings_.path.clear();
    }
    // One drawing operation: painted at once, or kept with its page.
    // Glyphs wait for the next operation, which may go on their line.
    bool put(PageOp op, const DeviceClip* clip)
    {
        if (!begin())
            return false;
        if (clip) {
            op.clipped = true;
            op.clip = *clip;
        }
        // A printer prints nothing outside its printable area.
        if (const std::optional<QRect>& area = printableArea()) {
            op.clip = op.clipped ? DeviceClip(op.clip & QRegion(*area), op.clip.outlines())
                                 : DeviceClip(QRegion(*area));
            op.clipped = true;
        }
        if (turn_)
            Turn(&op, *turn_);
        take(std::move(op));
        return true;
    }
    // The printable area of a sheet that is larger than it (a printer with
    // margins), in device pixels; none when the whole sheet prints.
    const std::optional<QRect>& printableArea()
    {
        if (!printableKnown_) {
            printableKnown_ = true;
            const QRect area(QPoint(0, 0), pixelSize());
            if (dynamic_cast<const QPagedPaintDevice*>(device_) && paperRect() != area)
                printable_ = area;
        }
        return printable_;
    }
    // An operation laid down turned; its clip stays where it is.
    static void Turn(PageOp* op, const QTransform& t)
    {
        if (op->detail)
            op->detail = std::make_shared<PageOpDetail>(*op->detail);
        switch (op->kind) {
        case PageOp::kFill: {
            QPainterPath area = op->path;
            if (area.isEmpty())
                area.addRect(op->box);
            else
                area.translate(op->offset);
            op->path = t.map(area);
            op->offset = QPointF();
            op->box = QRectF();
            if (op->detail && op->detail->brush && op->detail->brush->style() == Qt::TexturePattern)
                op->detail->brush->setTransform(op->detail->brush->transform() * t);
            break;
        }
        case PageOp::kStroke:
            op->path = t.map(op->path);
            break;
        case PageOp::kPolyline:
            op->more().polyline = t.map(op->more().polyline);
            break;
        case PageOp::kGlyphs:
        case PageOp::kImage:
            op->more().transform = op->more().transform * t;
            break;
        }
    }
    // How an operation meets the one waiting before it.
    enum class Meeting : uint8_t {
        kUnknown,    // not looked at yet
        kFollows,    // the waiting one goes out first
        kContinues,  // glyphs that go on the waiting run
        kCovers,     // a fill that covers the waiting fill
    };
    // An operation with its clip (a PageOp, or one of kept output given
    // again, which is copied only where it goes), and how it meets the
    // operation before it when that is known; how it met it.
    template <class Op>
    Meeting take(Op&& op, Meeting meeting = Meeting::kUnknown)
    {
        // A run of glyphs waits for the glyphs that continue it, a fill for
        // a fill that covers it exactly (the painter fills a shape white
        // before it fills it in its colour): what the page would not show
        // is not written. A page's last operation waits where it is; one
        // painted at once waits aside.
        if (meeting == Meeting::kUnknown) {
            meeting = Meeting::kFollows;
            if (waiting_ && op.kind == PageOp::kGlyphs && waiting_->kind == PageOp::kGlyphs &&
                Continues(*waiting_, op))
                meeting = Meeting::kContinues;
            else if (waiting_ && op.kind == PageOp::kFill && waiting_->kind == PageOp::kFill && Covers(op, *waiting_))
                meeting = Meeting::kCovers;
        }
        // Kept output notes how each operation met the one before: the same
        // two meet the same way when it is given again.
        if (keeping_) {
            if (kept_.size() < kKeptOps) {
                kept_.push_back(op);
                keptMeetings_.push_back(meeting);
            } else {
                keptSpoilt_ = true;
            }
        }
        if (meeting == Meeting::kContinues) {
            Append(waiting_, *op.detail);
            return meeting;
        }
        if (meeting == Meeting::kCovers) {
            *waiting_ = std::forward<Op>(op);
            return meeting;
        }
        releaseWaiting();
        if (op.kind == PageOp::kGlyphs || op.kind == PageOp::kFill) {
            if (farmed_) {
                page_.push_back(std::forward<Op>(op));
                waiting_ = &page_.back();
            } else {
                waitingOp_ = std::forward<Op>(op);
                waiting_ = &waitingOp_;
            }
            return meeting;
        }
        if (farmed_)
            page_.push_back(std::forward<Op>(op));
        else
            player_.play(op);
        return meeting;
    }
    // The operation left behind aside is taken over by the next one that
    // waits there.
    void releaseWaiting()
    {
        if (!waiting_)
            return;
        if (!farmed_)
            player_.play(*waiting_);
        waiting_ = nullptr;
    }
    // Whether the fill `over` paints every point `under` paints, and only
    // those, in one opaque plain colour: `under` then shows nowhere.
    // The places compared exactly: what is only nearly the same may show.
    static bool Covers(const PageOp& over, const PageOp& under)
    {
        if ((over.detail && over.detail->brush) || over.fillColour.alpha() != 255 || over.clipped != under.clipped)
            return false;
        const bool boxes = over.path.isEmpty();
        if (boxes != under.path.isEmpty())
            return false;
        if (boxes ? !SameRect(over.box, under.box)
                  : !(SamePoint(over.offset, under.offset) && SamePath(over.path, under.path)))
            return false;
        return !over.clipped || over.clip == under.clip;
    }
    static bool SamePoint(const QPointF& a, const QPointF& b) { return a.x() == b.x() && a.y() == b.y(); }
    static bool SameRect(const QRectF& a, const QRectF& b)
    {
        return a.x() == b.x() && a.y() == b.y() && a.width() == b.width() && a.height() == b.height();
    }
    // The same outline point for point, filled by the same rule.
    static bool SamePath(const QPainterPath& a, const QPainterPath& b)
    {
        if (a.fillRule() != b.fillRule() || a.elementCount() != b.elementCount())
            return false;
        for (int k = 0; k < a.elementCount(); ++k) {
            const QPainterPath::Element ea = a.elementAt(k);
            const QPainterPath::Element eb = b.elementAt(k);
            if (ea.type != eb.type || !(ea.x == eb.x && ea.y == eb.y))
                return false;
        }
        return true;
    }
    // Whether `next` is more of the run `run`: glyphs one after the other
    // on one baseline, in one face, colour and clip (the characters of a
    // caption drawn one by one), which go out as one run of text.
    static bool Continues(const PageOp& run, const PageOp& next)
    {
        const PageOpDetail& a = *run.detail;
        const PageOpDetail& b = *next.detail;
        return a.face == b.face && a.colour == b.colour && run.clipped == next.clipped &&
               (!run.clipped || run.clip == next.clip) && a.transform.type() <= QTransform::TxTranslate &&
               b.transform.type() <= QTransform::TxTranslate && a.transform.dy() == b.transform.dy() &&
               !a.positions.isEmpty() && !b.positions.isEmpty() &&
               b.transform.dx() + b.positions.front().x() >= a.transform.dx() + a.positions.back().x();
    }
    static void Append(PageOp* run, const PageOpDetail& more)
    {
        // A run that kept output holds too is continued in a copy.
        if (run->detail.use_count() > 1)
            run->detail = std::make_shared<PageOpDetail>(*run->detail);
        PageOpDetail& d = *run->detail;
        const double shift = more.transform.dx() - d.transform.dx();
        d.glyphs.append(more.glyphs);
        d.chars += more.chars;
        for (const QPointF& p : more.positions)
            d.positions.append(QPointF(p.x() + shift, p.y()));
    }

    // Operations kept to be given again (see Dc::beginKept), in the order
    // they came, with their clips.
    struct KeptOps final : KeptOutput {
        PageOps ops;
        std::vector<Meeting> meetings;
    };
    static constexpr size_t kKeptOps = 4096;

    QPaintDevice* device_;
    int32_t technology_;
    QPainter painter_;
    PagePainter player_{&painter_, false};
    // What is drawn now is laid down turned by this (Dc::beginTurn).
    std::optional<QTransform> turn_;
    bool lossless_ = false;
    // A run of glyphs that the next glyphs may continue, or a fill that the
    // next fill may cover: the page's last operation, or one held aside
    // (waitingOp_) from a painter that paints at once; null for none.
    PageOp* waiting_ = nullptr;
    PageOp waitingOp_;
    PageFileSettings farmSettings_;
    PageFileMaker makeFile_ = nullptr;
    bool farmed_ = false;
    bool queued_ = false;
    PrintQueueJob queueJob_;
    int32_t error_ = 0;
    std::unique_ptr<PageFile> farm_;
    PageOps page_;
    bool keeping_ = false;
    bool keptSpoilt_ = false;
    bool printableKnown_ = false;
    std::optional<QRect> printable_;
    PageOps kept_;
    std::vector<Meeting> keptMeetings_;
    // Patterns as they land on paper, the same made once.
    PaperPatternTiles patternTiles_;
    // Pictures as they land on paper, each made once.
    PaperBlit paper_{double(device_->logicalDpiX()), double(device_->logicalDpiY())};
};

// What a plain colour leaves on white paper.
ColorRef SolidColour(const DevicePaint& p, int32_t rop2) { return FromRgb(Rop2Apply(rop2, ToRgb(p.color), 0xFFFFFF)); }

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

bool PainterDevice::drawShape(const DeviceShape& shape, const DeviceClip* clip)
{
    if (shape.rop2 == R2_NOP)
        return true;
    if (shape.brush.kind != DevicePaint::kNone && (!shape.fill.isEmpty() || !shape.fillBox.isEmpty())) {
        PageOp op;
        op.kind = PageOp::kFill;
        op.path = shape.fill;
        op.offset = shape.fillOffset;
        op.box = shape.fillBox;
        if (shape.brush.kind == DevicePaint::kSolid)
            op.fillColour = ToQColor(SolidColour(shape.brush, shape.rop2));
        else
            op.more().brush = patternTiles_.brushOf(shape.brush, shape.rop2);
        if (!put(std::move(op), clip))
            return false;
    }
    if (shape.pen.kind == DevicePaint::kNone)
        return true;
    const ColorRef penColor = FromRgb(Rop2Apply(shape.rop2, ToRgb(shape.pen.color), 0xFFFFFF));
    const bool gaps = shape.stroke.gaps.kind == DevicePaint::kSolid && shape.stroke.style != PS_SOLID;
    const ColorRef gapColor = FromRgb(Rop2Apply(shape.rop2, ToRgb(shape.stroke.gaps.color), 0xFFFFFF));
    if (!shape.stroke.path.isEmpty()) {
        auto stroke = [&](const QPen& pen) {
            PageOp op;
            op.kind = PageOp::kStroke;
            op.path = shape.stroke.path;
            op.more().pen = pen;
            return put(std::move(op), clip);
        };
        if (gaps && !stroke(CosmeticPen(gapColor, PS_SOLID)))
            return false;
        if (!stroke(CosmeticPen(penColor, shape.stroke.style)))
            return false;
    }
    if (!shape.stroke.lines.empty()) {
        auto drawLines = [&](QPen pen) {
            for (const PixelPolyline& line : shape.stroke.lines) {
                PageOp op;
                op.kind = PageOp::kPolyline;
                QPolygonF& polyline = op.more().polyline;
                polyline.reserve(qsizetype(line.points.size()));
                for (const PixelPoint& pt : line.points)
                    polyline.append(QPointF(double(pt.x) + 0.5, double(pt.y) + 0.5));
                // A line that comes back after a part out of sight goes on
                // with its pattern.
                pen.setDashOffset(double(line.phase));
                op.more().pen = pen;
                if (!put(std::move(op), clip))
                    return false;
            }
            return true;
        };
        if (gaps && !drawLines(CosmeticPen(gapColor, PS_SOLID)))
            return false;
        if (!drawLines(CosmeticPen(penColor, shape.stroke.style)))
            return false;
    }
    if (!shape.stroke.area.isEmpty()) {
        PageOp op;
        op.kind = PageOp::kFill;
        op.path = shape.stroke.area;
        op.fillColour = ToQColor(penColor);
        return put(std::move(op), clip);
    }
    return true;
}

bool PainterDevice::drawText(const DeviceText& text, const DeviceClip* clip)
{
    const QColor colour = ToQColor(text.color);
    if (!text.glyphIndexes.isEmpty()) {
        PageOp op;
        op.kind = PageOp::kGlyphs;
        PageOpDetail& d = op.more();
        d.face = text.face;
        d.glyphs = text.glyphIndexes;
        d.positions = text.positions;
        d.transform = text.transform;
        d.chars = text.chars;
        d.colour = colour;
        if (!put(std::move(op), clip))
            return false;
    }
    if (!text.outline.isEmpty()) {
        PageOp op;
        op.kind = PageOp::kFill;
        op.path = text.outline;
        op.fillColour = colour;
        return put(std::move(op), clip);
    }
    return begin();
}

bool PainterDevice::blit(const BlitRect& target, const QImage& source, uint32_t rop, const DevicePaint& pattern,
                         const DeviceClip* clip)
{
    // The transparent-mask pair is the device's own state, which kept
    // output does not carry.
    keptSpoilt_ = true;
    // A fill under a turn is cut by its clip only.
    const QRect drawable = turn_ ? QRect(QPoint(-(1 << 28), -(1 << 28)), QSize(1 << 29, 1 << 29)) : drawableBox();
    QRectF dest;
    QImage picture;
    if (!paper_.make(target, source, rop, pattern, drawable, &dest, &picture))
        return false;
    if (picture.isNull())
        return begin();
    PageOp op;
    op.kind = PageOp::kImage;
    PageOpDetail& d = op.more();
    d.transform.translate(dest.left(), dest.top());
    d.transform.scale(double(dest.width()) / picture.width(), double(dest.height()) / picture.height());
    d.image = std::move(picture);
    d.lossless = lossless_;
    return put(std::move(op), clip);
}

class NullDevice final : public DcDevice {
public:
    NullDevice(double dpi, QSize size) : dpi_(dpi), size_(size) {}
    int32_t technology() const override { return DT_RASDISPLAY; }
    QSize pixelSize() const override { return size_; }
    double dpiX() const override { return dpi_; }
    double dpiY() const override { return dpi_; }
    bool drawShape(const DeviceShape&, const DeviceClip*) override { return true; }
    bool drawText(const DeviceText&, const DeviceClip*) override { return true; }
    bool blit(const BlitRect&, const QImage&, uint32_t, const DevicePaint&, const DeviceClip*) override { return true; }
    ColorRef pixel(int, int) const override { return 0xFFFFFFFFu; }
    bool setPixel(int, int, ColorRef, const DeviceClip*) override { return true; }
    bool flush() override { return true; }

private:
    double dpi_;
    QSize size_;
};

}  // namespace

std::unique_ptr<DcDevice> MakePainterDevice(QPaintDevice* device, int32_t technology)
{
    return std::make_unique<PainterDevice>(device, technology);
}

std::unique_ptr<DcDevice> MakePageFileDevice(QPaintDevice* device, PageFileSettings settings, PageFileMaker makeFile)
{
    return std::make_unique<PainterDevice>(device, DT_RASPRINTER, std::move(settings), makeFile);
}

std::unique_ptr<DcDevice> MakePrintQueueDevice(QPaintDevice* device, PageFileSettings settings, PageFileMaker makeFile,
                                               PrintQueueJob job)
{
    return std::make_unique<PainterDevice>(device, std::move(settings), makeFile, std::move(job));
}

std::unique_ptr<DcDevice> MakeNullDevice(double dpi, QSize size) { return std::make_unique<NullDevice>(dpi, size); }
