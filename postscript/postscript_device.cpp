// A print job written as PostScript, for printers and files that take it.
//
// The page's user space is the device's pixel space: origin at the top-left
// corner of the printable area, y down, one unit a device pixel. Drawing
// goes out as paths, fills, strokes, images and text shown from Type 3
// fonts of the glyphs' outlines (ps_glyph_fonts.h); raster operations are
// worked out as on white paper, as for any vector target.
//
// PostScript that frames send through the pass-through escape is written
// where they send it, in the same pixel space. The device's own clip lives
// in a gsave of its own, which is closed before any pass-through text, so
// the frames' gsave and grestore pair with each other and never with ours.
//
// A page's drawing goes compressed (Flate in ASCII85, which the printer
// reads through filters and runs as it comes), in pieces that end where a
// picture's own data is written, which is read from the job itself; the
// lines the print system reads to sort and pick pages (%%Page and the
// page's setup) stay as they are. A photograph goes as JPEG data, as in
// a PDF file. A picture drawn on many cards is defined once in the job's
// setup, kept there as its compressed data, and decoded at each use.
//
// The pages are written to a temporary file while the job runs; at the end
// the job is put together (header, the fonts of every glyph shown, the
// pages) and written to the chosen file in one step, or handed to the
// print queue. A job given up leaves nothing behind.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QDateTime>
#include <QFile>
#include <QTemporaryFile>

#include "foundation/scratch_mark.h"
#include "foundation/whole_file_writer.h"
#include "foundation/win_error.h"
#include "platform/actual_text.h"
#include "platform/dc.h"
#include "platform/dc_device.h"
#include "platform/font_mapper.h"
#include "platform/paper_blit.h"
#include "platform/path_rectangle.h"
#include "platform/raster_ops.h"
#include "platform/sheet_size.h"
#include "postscript/postscript_job.h"
#include "postscript/ps_glyph_fonts.h"
#include "postscript/ps_jpeg.h"
#include "postscript/ps_packer.h"
#include "postscript/ps_text_layer.h"
#include "postscript/ps_words.h"
#include "printqueue/cups_queue.h"

namespace {

inline uint32_t ToRgb(ColorRef c) { return (c & 0x00FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu); }
inline ColorRef FromRgb(uint32_t v) { return (v & 0x00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu); }
// The colour a pen or brush leaves on white paper.
inline ColorRef OnWhite(int32_t rop2, ColorRef c) { return FromRgb(Rop2Apply(rop2, ToRgb(c), 0xFFFFFF)); }

// Short names for the words every page uses many times.
// pdfmark is known only where the job is made into a PDF; a printer
// takes it as nothing.
constexpr const char* kProcedures =
    "/pdfmark where {pop} {userdict /pdfmark /cleartomark load put} ifelse\n"
    "/TsDict 64 dict def TsDict begin\n"
    "/m /moveto load def /l /lineto load def /c /curveto load def /h /closepath load def\n"
    "/f /fill load def /ef /eofill load def /s /stroke load def /rf /rectfill load def\n"
    "/rg /setrgbcolor load def /n /newpath load def /q /gsave load def /Q /grestore load def\n"
    "/R {4 2 roll moveto 1 index 0 rlineto 0 exch rlineto neg 0 rlineto closepath} bind def\n"
    "end\n";

// Why a file of the job failed, in the program's error codes: the reason
// the system gave for the call that failed (err, taken at once), so that
// the user is told of a full disk or a folder they may not write.
int32_t FileFailure(const QFileDevice& file, int err)
{
    if (file.error() == QFileDevice::ResourceError)
        return kErrDiskFull;
    const int32_t code = err != 0 ? Win32ErrorFromErrno(err) : 0;
    return code != 0 ? code : 1;
}

class PostScriptDevice final : public DcDevice {
public:
    explicit PostScriptDevice(PostScriptJobSettings settings) : settings_(std::move(settings))
    {
        const int dpi = std::max(settings_.resolution, 1);
        full_ = ExactSheetPixels(settings_.layout, dpi);
        paint_ = PrintableAreaPixels(settings_.layout, dpi);
        const QRectF area = PrintableAreaPoints(settings_.layout);
        const QRectF sheet(QPointF(0, 0), ExactSheetPoints(settings_.layout));
        if (area != sheet) {
            const double scale = dpi / 72.0;
            printable_ = QRectF(area.topLeft() * scale, area.size() * scale).translated(-paint_.topLeft());
        }
    }

    int32_t technology() const override { return DT_RASPRINTER; }
    QSize pixelSize() const override { return paint_.size(); }
    double dpiX() const override { return std::max(settings_.resolution, 1); }
    double dpiY() const override { return std::max(settings_.resolution, 1); }
    QRect paperRect() const override { return full_.translated(-paint_.topLeft()); }
    QRect drawableBox() const override { return paperRect(); }

    bool drawShape(const DeviceShape& shape, const DeviceClip* clip) override;
    bool drawText(const DeviceText& text, const DeviceClip* clip) override;
    bool blit(const BlitRect& dest, const QImage& source, uint32_t rop, const DevicePaint& pattern,
              const DeviceClip* clip) override;
    ColorRef pixel(int, int) const override { return 0xFFFFFFFFu; }
    bool setPixel(int x, int y, ColorRef c, const DeviceClip* clip) override
    {
        if (!open(clip))
            return true;
        turnOn();
        colour(c);
        point(QPointF(x, y));
        page_ += " 1 1 rf\n";
        turnOff();
        return spill();
    }
    bool flush() override;
    int32_t outputError() const override { return error_; }
    bool beginOutput() override { return begin(); }
    bool newPage() override
    {
        if (!begin())
            return false;
        endPage();
        startPage();
        return spill();
    }
    bool takesPostScript() const override { return true; }
    bool setTurn(const QTransform* turn) override
    {
        turn_.reset();
        if (turn)
            turn_ = *turn;
        return true;
    }
    bool passThrough(const char* data, size_t size) override
    {
        if (!begin())
            return false;
        closeClip();
        page_.append(data, size);
        // What the frame's PostScript set is not ours to rely on.
        colourKnown_ = false;
        dash_ = -1;
        // Sent text may stop within a word or the data it reads: the page's
        // piece is closed only after the next drawing of the device's own.
        return out_.size() < kWriteBytes || write(false);
    }
    void setPicturesLossless(bool lossless) override { lossless_ = lossless; }

private:
    bool begin()
    {
        if (failed_)
            return false;
        if (body_)
            return true;
        // A file that cannot be written fails the job at its start; the
        // file itself is replaced only when the job is complete.
        if (settings_.queue.isEmpty()) {
            file_ = std::make_unique<WholeFileWriter>(QFile::encodeName(settings_.path).toStdString());
            if ((error_ = file_->Open()) != kErrNone) {
                file_.reset();
                failed_ = true;
                return false;
            }
        }
        body_ = std::make_unique<QTemporaryFile>();
        errno = 0;
        if (!body_->open()) {
            error_ = FileFailure(*body_, errno);
            failed_ = true;
            return false;
        }
        // What a killed job leaves is cleared by the next print or start.
        MarkOwnScratch(body_->handle());
        startPage();
        return true;
    }
    void startPage()
    {
        ++pages_;
        const std::string n = std::to_string(pages_);
        out_ += "%%Page: " + n + " " + n + "\n%%BeginPageSetup\nsave TsDict begin\n";
        // From points, origin at the sheet's lower-left corner, to device
        // pixels from the printable area's top-left corner, y down: the
        // corner on the device pixel the printer's own metrics give it, from
        // which the job places everything.
        const double scale = 72.0 / std::max(settings_.resolution, 1);
        PsAppendNumber(&out_, paint_.left() * scale, 4);
        out_ += ' ';
        PsAppendNumber(&out_, ExactSheetPoints(settings_.layout).height() - paint_.top() * scale, 4);
        out_ += " translate ";
        PsAppendNumber(&out_, scale, 6);
        out_ += ' ';
        PsAppendNumber(&out_, -scale, 6);
        out_ += " scale 0 setlinewidth 0 setlinecap\n";
        // A printer prints nothing outside its printable area, and all of
        // it: the clip lies on its edges, between device pixels where they
        // fall there.
        if (printable_) {
            for (const double v : {printable_->left(), printable_->top(), printable_->width(), printable_->height()}) {
                PsAppendNumber(&out_, v, 4);
                out_ += ' ';
            }
            out_ += "rectclip\n";
        }
        out_ += "%%EndPageSetup\n";
        colourKnown_ = false;
        dash_ = -1;
        patterns_.clear();
    }
    void endPage()
    {
        closeClip();
        seal();
        out_ += "end restore showpage\n";
    }
    // Closes the page's piece of drawing gathered so far: compressed, for
    // the printer to run through its filters. It is packed beside the
    // drawing; what comes after it waits in out_.
    void seal()
    {
        if (page_.empty())
            return;
        out_ += "currentfile /ASCII85Decode filter /FlateDecode filter cvx exec\n";
        before_.push_back(std::move(out_));
        out_.clear();
        packer_.add(std::move(page_));
        page_.clear();
    }
    // Closes a piece now and then and writes out what has gathered, after
    // a drawing of the device's own, which ends on a whole word.
    bool spill()
    {
        if (page_.size() >= kPieceBytes)
            seal();
        const bool due = out_.size() >= kWriteBytes || packer_.waiting() > kMostWaiting ||
                         (packer_.waiting() > 0 && packer_.ready());
        return !due || write(false);
    }
    // Writes the packed pieces that are ready, and those that must be
    // (all when whole, or as many as keep memory bounded), each after the
    // text before it; then the text after them.
    bool write(bool whole = true)
    {
        if (!body_ || failed_)
            return false;
        if (whole)
            seal();
        const auto put = [this](const std::string& bytes) {
            errno = 0;
            if (bytes.empty() || body_->write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()))
                return true;
            error_ = FileFailure(*body_, errno);
            failed_ = true;
            return false;
        };
        while (packer_.waiting() > 0) {
            const bool must = whole || out_.size() >= kWriteBytes || packer_.waiting() > kMostWaiting;
            if (!must && !packer_.ready())
                break;
            const std::string text = std::move(before_.front());
            before_.pop_front();
            if (!put(text) || !put(packer_.take()))
                return false;
        }
        if (packer_.waiting() > 0)
            return true;
        const bool ok = put(out_);
        out_.clear();
        return ok;
    }

    // Opens the drawing of one operation under its clip; false when the
    // clip leaves nothing to draw (or the output has failed).
    bool open(const QRegion* clip)
    {
        if (!begin())
            return false;
        if (!clip) {
            closeClip();
            return true;
        }
        if (clip->isEmpty())
            return false;
        if (clipOpen_ && clip_ == *clip)
            return true;
        closeClip();
        // What is drawn under the clip is drawn from its corner, so that
        // the labels of a sheet, drawn alike at other places, are written
        // alike and compress to little more than one.
        origin_ = clip->boundingRect().topLeft();
        onLine_ = 0;
        page_ += "q";
        number(origin_.x());
        number(origin_.y());
        page_ += " translate n";
        for (const QRect& r : *clip) {
            point(r.topLeft());
            number(r.width());
            number(r.height());
            page_ += " R";
            if (++onLine_ % 8 == 0)
                page_ += '\n';
        }
        page_ += " clip n\n";
        clipOpen_ = true;
        clip_ = *clip;
        return true;
    }
    void closeClip()
    {
        if (!clipOpen_)
            return;
        page_ += "Q\n";
        clipOpen_ = false;
        origin_ = QPoint();
        // The colour and dash set inside the gsave just ended are gone.
        colourKnown_ = false;
        dash_ = -1;
    }

    // Each operation drawn under a turn has one of its own, inside its
    // clip's gsave, so the clip stays where it is on the page.
    void turnOn()
    {
        if (!turn_)
            return;
        // The turn as it is in the space drawn from the origin, where the
        // points it turns lie by as much nearer.
        const QTransform& t = *turn_;
        const QPointF moved = t.map(QPointF(origin_)) - QPointF(origin_);
        page_ += " q [";
        for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), moved.x(), moved.y()}) {
            page_ += ' ';
            PsAppendNumber(&page_, v, 6);
        }
        page_ += "] concat\n";
    }
    void turnOff()
    {
        if (!turn_)
            return;
        page_ += " Q\n";
        colourKnown_ = false;
        dash_ = -1;
    }

    void number(double v)
    {
        page_ += ' ';
        PsAppendNumber(&page_, v, 2);
    }
    // A point of the page, from the origin of what is drawn.
    void point(const QPointF& p)
    {
        number(p.x() - origin_.x());
        number(p.y() - origin_.y());
    }
    void colour(ColorRef c)
    {
        if (colourKnown_ && c == colour_)
            return;
        PsAppendColour(&page_, c);
        page_ += " rg";
        colour_ = c;
        colourKnown_ = true;
    }
    void path(const QPainterPath& p, const QPointF& offset)
    {
        page_ += " n";
        const int count = p.elementCount();
        for (int i = 0; i < count; ++i) {
            const QPainterPath::Element e = p.elementAt(i);
            if (e.isMoveTo()) {
                point(QPointF(e) + offset);
                page_ += " m";
            } else if (e.isLineTo()) {
                point(QPointF(e) + offset);
                page_ += " l";
            } else if (e.isCurveTo() && i + 2 < count) {
                point(QPointF(e) + offset);
                point(QPointF(p.elementAt(i + 1)) + offset);
                point(QPointF(p.elementAt(i + 2)) + offset);
                page_ += " c";
                i += 2;
            }
            if (++onLine_ % 6 == 0)
                page_ += '\n';
        }
    }
    // Selects what fills with the paint: a colour, or a pattern of its tile.
    bool paint(const DevicePaint& p, int32_t rop2)
    {
        if (p.kind == DevicePaint::kSolid) {
            colour(OnWhite(rop2, p.color));
            return true;
        }
        if (p.kind != DevicePaint::kTiled || p.tile.isNull())
            return false;
        // The pattern is defined under its literal name; setpattern takes
        // the pattern itself, which the bare name looks up.
        const std::string name = pattern(p, rop2);
        page_ += ' ' + name.substr(1) + " setpattern\n";
        colourKnown_ = false;
        return true;
    }
    std::string pattern(const DevicePaint& p, int32_t rop2);
    void strokeWith(const QPainterPath& p, ColorRef c, int32_t style, double phase);
    void polylineWith(const PixelPolyline& line, ColorRef c, int32_t style);
    void dash(int32_t style, double phase);
    bool writeImage(const QRectF& dest, const QImage& picture);
    // What a picture writes: its pixels compressed, JPEG or Flate data (as
    // its filter says), and, once it is defined in the job's setup, its
    // name there.
    struct PictureData {
        std::string packed;
        const char* filter = "/FlateDecode";
        std::string name;
        bool drawn = false;
        bool transparent = false;
        uint32_t key = 0;  // the colour left out when transparent
    };
    PictureData pictureData(const QImage& picture) const;
    bool defineInSetup(PictureData* data);

    PostScriptJobSettings settings_;
    QRect paint_;
    QRect full_;
    // The printable area in the page's pixel space, when it is not the
    // whole sheet.
    std::optional<QRectF> printable_;
    std::unique_ptr<WholeFileWriter> file_;
    std::unique_ptr<QTemporaryFile> body_;
    // The page's drawing not yet compressed, and what is ready for the
    // body's file.
    std::string page_;
    std::string out_;
    // The pieces being packed, and the text before each.
    PsPacker packer_;
    std::deque<std::string> before_;
    static constexpr size_t kPieceBytes = 1u << 20;
    static constexpr size_t kWriteBytes = 1u << 20;
    static constexpr size_t kMostWaiting = 4;
    // Whether the pictures drawn now keep every pixel (see
    // Dc::setPicturesLossless); a photograph's may go as JPEG.
    bool lossless_ = false;
    bool failed_ = false;
    int32_t error_ = 0;
    int pages_ = 0;
    int onLine_ = 0;
    bool clipOpen_ = false;
    QRegion clip_;
    // Where what is drawn under the open clip is drawn from.
    QPoint origin_;
    bool colourKnown_ = false;
    ColorRef colour_ = 0;
    int32_t dash_ = -1;
    // The patterns defined on this page. Every fill hands its tile over as
    // a new picture, so they are told apart by their pixels: a card's
    // pattern is defined once for the sheet of cards.
    struct KnownPattern {
        QImage tile;
        QPoint origin;
        int32_t rop2 = 0;
        std::string name;
    };
    std::vector<KnownPattern> patterns_;
    int patternCount_ = 0;
    PsGlyphFonts fonts_;
    PaperBlit paper_{double(std::max(settings_.resolution, 1)), double(std::max(settings_.resolution, 1))};
    std::optional<QTransform> turn_;
    // The pictures defined in the setup, by their images' cache keys; the
    // pictures drawn lately, whose data waits for a second use; the setup
    // as it is written.
    std::map<qint64, PictureData> images_;
    static constexpr size_t kRecentBytes = 64u << 20;
    static constexpr size_t kLeastJpegPixels = 64 * 64;
    std::deque<std::pair<qint64, PictureData>> recent_;
    size_t recentBytes_ = 0;
    std::unique_ptr<QTemporaryFile> setup_;
};

std::string PostScriptDevice::pattern(const DevicePaint& p, int32_t rop2)
{
    // A pattern takes the page's turn when it is made: one made under a
    // turn serves only there.
    if (!turn_) {
        for (const KnownPattern& known : patterns_) {
            if (known.origin == p.origin && known.rop2 == rop2 && known.tile == p.tile)
                return known.name;
        }
    }
    const std::string name = "/TsP" + std::to_string(++patternCount_);
    const QImage tile = p.tile.convertToFormat(QImage::Format_ARGB32);
    const int w = tile.width(), h = tile.height();
    std::string& out = page_;
    out += name + " << /PatternType 1 /PaintType 1 /TilingType 1 /BBox [0 0 " + std::to_string(w) + ' ' +
           std::to_string(h) + "] /XStep " + std::to_string(w) + " /YStep " + std::to_string(h) + "\n/PaintProc {pop";
    // Each colour's pixels as a mask, which paints exactly those pixels
    // (a filled rectangle also takes every dot its edge touches, so the
    // rows of one colour would eat a dot of the next); the gaps (alpha 0)
    // leave the page as it is. A tile of many colours goes as runs of one
    // colour.
    constexpr size_t kMostMasks = 16;
    const size_t stride = size_t(w + 7) / 8;
    std::map<ColorRef, std::string> masks;
    for (int y = 0; y < h && masks.size() <= kMostMasks; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(tile.constScanLine(y));
        for (int x = 0; x < w && masks.size() <= kMostMasks; ++x) {
            if (!(line[x] >> 24))
                continue;
            std::string& mask = masks[OnWhite(rop2, FromRgb(line[x] & 0xFFFFFFu))];
            mask.resize(stride * size_t(h), '\0');
            mask[size_t(y) * stride + size_t(x / 8)] |= char(0x80 >> (x % 8));
        }
    }
    if (masks.size() <= kMostMasks) {
        static const char kHex[] = "0123456789abcdef";
        for (const auto& [c, mask] : masks) {
            PsAppendColour(&out, c);
            out += " setrgbcolor " + std::to_string(w) + ' ' + std::to_string(h) + " true [1 0 0 1 0 0] <";
            for (size_t i = 0; i < mask.size(); ++i) {
                if (i % 40 == 0)
                    out += '\n';
                out += kHex[uint8_t(mask[i]) >> 4];
                out += kHex[uint8_t(mask[i]) & 15];
            }
            out += "> imagemask\n";
        }
    } else {
        std::map<ColorRef, std::string> runs;
        for (int y = 0; y < h; ++y) {
            const auto* line = reinterpret_cast<const uint32_t*>(tile.constScanLine(y));
            for (int x = 0; x < w;) {
                const uint32_t v = line[x];
                int end = x + 1;
                while (end < w && line[end] == v)
                    ++end;
                if (v >> 24) {
                    std::string& rects = runs[OnWhite(rop2, FromRgb(v & 0xFFFFFFu))];
                    rects += ' ' + std::to_string(x) + ' ' + std::to_string(y) + ' ' + std::to_string(end - x) + " 1";
                }
                x = end;
            }
        }
        for (const auto& [c, rects] : runs) {
            PsAppendColour(&out, c);
            out += " setrgbcolor [" + rects + "] rectfill\n";
        }
    }
    // Made where the drawing's origin lies: its tiles start at their
    // place on the page, in whatever part it serves later.
    out += "} >> [1 0 0 1 " + std::to_string(p.origin.x() - origin_.x()) + ' ' +
           std::to_string(p.origin.y() - origin_.y()) + "] makepattern def\n";
    if (!turn_)
        patterns_.push_back(KnownPattern{p.tile, p.origin, rop2, name});
    return name;
}

void PostScriptDevice::dash(int32_t style, double phase)
{
    if (style == dash_ && phase == 0)
        return;
    switch (style) {
    case PS_DASH:
        page_ += " [18 6]";
        break;
    case PS_DOT:
        page_ += " [3 3]";
        break;
    case PS_DASHDOT:
        page_ += " [9 6 3 6]";
        break;
    case PS_DASHDOTDOT:
        page_ += " [9 3 3 3 3 3]";
        break;
    default:
        page_ += " []";
        break;
    }
    number(phase);
    page_ += " setdash";
    dash_ = phase == 0 ? style : -1;
}

void PostScriptDevice::strokeWith(const QPainterPath& p, ColorRef c, int32_t style, double phase)
{
    colour(c);
    dash(style, phase);
    path(p, QPointF());
    page_ += " s\n";
}

void PostScriptDevice::polylineWith(const PixelPolyline& line, ColorRef c, int32_t style)
{
    if (line.points.empty())
        return;
    colour(c);
    dash(style, double(line.phase));
    page_ += " n";
    bool first = true;
    for (const PixelPoint& pt : line.points) {
        point(QPointF(double(pt.x) + 0.5, double(pt.y) + 0.5));
        page_ += first ? " m" : " l";
        first = false;
        if (++onLine_ % 8 == 0)
            page_ += '\n';
    }
    page_ += " s\n";
}

bool PostScriptDevice::drawShape(const DeviceShape& shape, const DeviceClip* clip)
{
    if (shape.rop2 == R2_NOP)
        return true;
    if (!open(clip))
        return !failed_;
    turnOn();
    if (shape.brush.kind != DevicePaint::kNone && (!shape.fill.isEmpty() || !shape.fillBox.isEmpty()) &&
        paint(shape.brush, shape.rop2)) {
        // A bar placed to the fraction of a dot reaches here as an outline;
        // written as a rectangle it takes a third of the bytes.
        std::optional<QRectF> rectangle = AsRectangle(shape.fill);
        if (rectangle && rectangle->isEmpty())
            rectangle.reset();
        if (shape.fill.isEmpty() || rectangle) {
            const QRectF b = rectangle ? rectangle->translated(shape.fillOffset) : shape.fillBox;
            point(b.topLeft());
            number(b.width());
            number(b.height());
            page_ += " rf\n";
        } else {
            path(shape.fill, shape.fillOffset);
            page_ += shape.fill.fillRule() == Qt::OddEvenFill ? " ef\n" : " f\n";
        }
    }
    if (shape.pen.kind != DevicePaint::kNone) {
        const ColorRef pen = OnWhite(shape.rop2, shape.pen.color);
        const bool gaps = shape.stroke.gaps.kind == DevicePaint::kSolid && shape.stroke.style != PS_SOLID;
        const ColorRef gap = OnWhite(shape.rop2, shape.stroke.gaps.color);
        if (!shape.stroke.path.isEmpty()) {
            if (gaps)
                strokeWith(shape.stroke.path, gap, PS_SOLID, 0);
            strokeWith(shape.stroke.path, pen, shape.stroke.style, 0);
        }
        if (gaps) {
            for (const PixelPolyline& line : shape.stroke.lines)
                polylineWith(line, gap, PS_SOLID);
        }
        for (const PixelPolyline& line : shape.stroke.lines)
            polylineWith(line, pen, shape.stroke.style);
        if (!shape.stroke.area.isEmpty()) {
            colour(pen);
            path(shape.stroke.area, QPointF());
            page_ += shape.stroke.area.fillRule() == Qt::OddEvenFill ? " ef\n" : " f\n";
        }
    }
    turnOff();
    return spill();
}

bool PostScriptDevice::drawText(const DeviceText& text, const DeviceClip* clip)
{
    if (!open(clip))
        return !failed_;
    turnOn();
    if (!text.glyphIndexes.isEmpty() && text.face) {
        colour(text.color);
        const QTransform& t = text.transform;
        // A PDF made of the job reads an aslant run whole (see
        // actual_text.h); a printer takes the marks as nothing.
        const bool spanned = !text.chars.empty() && RunsAslant(turn_ ? t * *turn_ : t);
        if (spanned) {
            page_ += "[/Span <</ActualText ";
            PsAppendString(&page_, PdfTextString(text.chars));
            page_ += ">> /BDC pdfmark\n";
        }
        page_ += " q [";
        for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx() - origin_.x(), t.dy() - origin_.y()}) {
            page_ += ' ';
            PsAppendNumber(&page_, v, 6);
        }
        page_ += "] concat\n";
        const qsizetype count = std::min(text.glyphIndexes.size(), text.positions.size());
        if (spanned && count > 0) {
            // Its upright copy, for a PDF made of the job (ps_text_layer.h).
            page_ += ' ';
            PsAppendString(&page_, text.chars);
            number(text.positions[0].x());
            number(text.positions[0].y());
            page_ += " TsL\n";
        }
        // Runs of glyphs from one glyph set, each shown at its own position
        // from the set's font of the run's size, whose widths are the
        // advances the glyphs are seen to take (ps_glyph_fonts.h).
        const double em = text.face->emPixels;
        for (qsizetype i = 0; i < count;) {
            const PsGlyphFonts::Slot first = fonts_.slotFor(text.face, text.glyphIndexes[i]);
            if (first.set < 0)
                break;
            const int font = fonts_.fontFor(first.set, em, text.face->xScale);
            std::string codes;
            std::string moves;
            qsizetype end = i;
            for (; end < count; ++end) {
                const PsGlyphFonts::Slot slot =
                    end == i ? first : fonts_.slotFor(text.face, text.glyphIndexes[end]);
                if (slot.set != first.set)
                    break;
                codes += char(slot.code);
                if (end + 1 < count && em > 0)
                    fonts_.advanced(font, slot.code, (text.positions[end + 1] - text.positions[end]).x() * 1000 / em);
                if (end > i) {
                    const QPointF d = text.positions[end] - text.positions[end - 1];
                    moves += ' ';
                    PsAppendNumber(&moves, d.x(), 3);
                    moves += ' ';
                    PsAppendNumber(&moves, d.y(), 3);
                }
            }
            moves += " 0 0";
            // The fonts run y up, the device space y down.
            page_ += " /" + PsGlyphFonts::fontName(font) + " [";
            PsAppendNumber(&page_, em, 4);
            page_ += " 0 0 ";
            PsAppendNumber(&page_, -em, 4);
            page_ += spanned ? " 0 0] TsSf" : " 0 0] selectfont";
            number(text.positions[i].x());
            number(text.positions[i].y());
            page_ += " m ";
            PsAppendString(&page_, codes);
            page_ += " [" + moves + "] xyshow\n";
            i = end;
        }
        page_ += " Q\n";
        if (spanned)
            page_ += "[/EMC pdfmark\n";
        colourKnown_ = false;
        dash_ = -1;
    }
    if (!text.outline.isEmpty()) {
        colour(text.color);
        path(text.outline, QPointF());
        page_ += " f\n";
    }
    turnOff();
    return spill();
}

bool PostScriptDevice::writeImage(const QRectF& dest, const QImage& picture)
{
    const int w = picture.width(), h = picture.height();
    if (w <= 0 || h <= 0)
        return true;
    // A picture drawn a second time (the same image: one made once per job)
    // goes into the job's setup, once, and every use after reads it there;
    // a picture drawn once stays where it is drawn.
    const qint64 id = picture.cacheKey();
    auto defined = images_.find(id);
    if (defined == images_.end()) {
        auto seen = std::find_if(recent_.begin(), recent_.end(), [&](const auto& r) { return r.first == id; });
        if (seen != recent_.end()) {
            PictureData data = std::move(seen->second);
            recentBytes_ -= data.packed.size();
            recent_.erase(seen);
            if (!defineInSetup(&data))
                return false;
            defined = images_.emplace(id, std::move(data)).first;
        }
    }
    PictureData made;
    if (defined == images_.end())
        made = pictureData(picture);
    const PictureData& data = defined != images_.end() ? defined->second : made;
    if (!data.drawn)
        return true;
    // A picture with its data here is read from the job itself, out of
    // the compressed piece of the page.
    const bool inlineData = defined == images_.end();
    if (inlineData)
        seal();
    std::string op = " q ";
    PsAppendNumber(&op, dest.x() - origin_.x(), 2);
    op += ' ';
    PsAppendNumber(&op, dest.y() - origin_.y(), 2);
    op += " translate ";
    PsAppendNumber(&op, dest.width(), 2);
    op += ' ';
    PsAppendNumber(&op, dest.height(), 2);
    op += " scale /DeviceRGB setcolorspace\n<< /ImageType " + std::string(data.transparent ? "4" : "1") +
             " /Width " + std::to_string(w) + " /Height " + std::to_string(h) +
             " /BitsPerComponent 8 /Decode [0 1 0 1 0 1] /ImageMatrix [" + std::to_string(w) + " 0 0 " +
             std::to_string(h) + " 0 0]";
    if (data.transparent)
        op += " /MaskColor [" + std::to_string((data.key >> 16) & 0xFF) + ' ' +
                 std::to_string((data.key >> 8) & 0xFF) + ' ' + std::to_string(data.key & 0xFF) + "]";
    if (!inlineData) {
        op += " /DataSource " + data.name + " dup 0 setfileposition " + data.filter + " filter >> image Q\n";
    } else {
        op += "\n/DataSource currentfile /ASCII85Decode filter " + std::string(data.filter) + " filter >> image\n";
        PsAppendAscii85(&op, data.packed);
        op += " Q\n";
        // Kept a while, for the picture's next use.
        if (made.packed.size() <= kRecentBytes) {
            recentBytes_ += made.packed.size();
            recent_.emplace_back(id, std::move(made));
            while (recentBytes_ > kRecentBytes) {
                recentBytes_ -= recent_.front().second.packed.size();
                recent_.pop_front();
            }
        }
    }
    (inlineData ? out_ : page_) += op;
    colourKnown_ = false;
    dash_ = -1;
    return true;
}

PostScriptDevice::PictureData PostScriptDevice::pictureData(const QImage& picture) const
{
    const int w = picture.width(), h = picture.height();
    // Pixels the page keeps show through: they take a colour the picture
    // does not use, which the image then leaves out.
    PictureData data;
    std::vector<bool> used(4096, false);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (line[x] >> 24 == 0)
                data.transparent = true;
            else
                used[((line[x] >> 12) & 0xF00u) | ((line[x] >> 8) & 0xF0u) | ((line[x] >> 4) & 0xFu)] = true;
        }
    }
    // A photograph that covers its place goes as JPEG data, as it does in
    // a PDF file; a small picture keeps its pixels, whose JPEG data
    // would be larger.
    if (!data.transparent && !lossless_ && size_t(w) * size_t(h) >= kLeastJpegPixels) {
        data.packed = PsJpegBytes(picture);
        if (!data.packed.empty()) {
            data.filter = "/DCTDecode";
            data.drawn = true;
            return data;
        }
    }
    if (data.transparent && std::all_of(used.begin(), used.end(), [](bool u) { return u; }))
        data.transparent = false;
    if (data.transparent) {
        size_t free = 0;
        while (used[free])
            ++free;
        // The colour of a 4-bit cell no opaque pixel falls in.
        data.key = uint32_t((free & 0xF00u) << 12 | (free & 0xF0u) << 8 | (free & 0xFu) << 4);
    }
    std::string bytes;
    bytes.reserve(size_t(w) * size_t(h) * 3);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            uint32_t v = line[x];
            if (v >> 24 == 0)
                v = data.transparent ? data.key : 0xFFFFFFu;
            else
                data.drawn = true;
            bytes += char((v >> 16) & 0xFF);
            bytes += char((v >> 8) & 0xFF);
            bytes += char(v & 0xFF);
        }
    }
    if (data.drawn)
        data.packed = PsFlate(bytes);
    return data;
}

bool PostScriptDevice::defineInSetup(PictureData* data)
{
    data->name = "TsI" + std::to_string(images_.size() + 1);
    if (!data->drawn)
        return true;
    // Kept compressed in the printer's memory, once for the job: a use
    // reads it from its start through the picture's own filter.
    std::string text = "/" + data->name + " currentfile /ASCII85Decode filter /ReusableStreamDecode filter\n";
    PsAppendAscii85(&text, data->packed);
    text += "def\n";
    data->packed.clear();
    if (!setup_) {
        setup_ = std::make_unique<QTemporaryFile>();
        if (!setup_->open()) {
            failed_ = true;
            return false;
        }
        MarkOwnScratch(setup_->handle());
    }
    if (setup_->write(text.data(), qint64(text.size())) != qint64(text.size())) {
        failed_ = true;
        return false;
    }
    return true;
}

bool PostScriptDevice::blit(const BlitRect& target, const QImage& source, uint32_t rop, const DevicePaint& pattern,
                            const DeviceClip* clip)
{
    QRectF dest;
    QImage picture;
    // A fill under a turn is cut by its clip only.
    const QRect drawable = turn_ ? QRect(QPoint(-(1 << 28), -(1 << 28)), QSize(1 << 29, 1 << 29)) : drawableBox();
    if (!paper_.make(target, source, rop, pattern, drawable, &dest, &picture))
        return false;
    if (picture.isNull())
        return true;
    if (!open(clip))
        return !failed_;
    turnOn();
    const bool drawn = writeImage(dest, picture);
    turnOff();
    return drawn && spill();
}

bool PostScriptDevice::flush()
{
    if (!begin())
        return false;
    endPage();
    if (!write())
        return false;
    errno = 0;
    if (!body_->flush()) {
        error_ = FileFailure(*body_, errno);
        return false;
    }

    const QSizeF full = ExactSheetPoints(settings_.layout);
    std::string head = "%!PS-Adobe-3.0\n%%Creator: ";
    head += settings_.creator.toStdString();
    head += "\n%%Title: ";
    PsAppendString(&head, settings_.title.toUtf8().toStdString());
    head += "\n%%CreationDate: " + QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    head += "\n%%LanguageLevel: 3\n%%BoundingBox: 0 0 " + std::to_string(int(std::ceil(full.width()))) + ' ' +
            std::to_string(int(std::ceil(full.height()))) + "\n%%Pages: " + std::to_string(pages_) +
            "\n%%PageOrder: Ascend\n%%DocumentData: Clean7Bit\n%%EndComments\n%%BeginProlog\n";
    head += kProcedures;
    head += "%%EndProlog\n%%BeginSetup\n";
    head += "<< /PageSize [";
    PsAppendNumber(&head, full.width(), 2);
    head += ' ';
    PsAppendNumber(&head, full.height(), 2);
    head += "] >> setpagedevice\n";
    // Each page is drawn upright in the sheet's own space and is viewed as
    // it is: a PDF made of the job would otherwise be turned the way most
    // of its text runs, a sheet of turned labels on its side, and the rest
    // of its text read letter by letter. Only a PDF maker knows the word;
    // a printer passes it by.
    head += "/setdistillerparams where {pop << /AutoRotatePages /None >> setdistillerparams} if\n";
    head += fonts_.definitions();
    head += PsTextLayerSetup(fonts_.count());
    const std::string endSetup = "%%EndSetup\n";
    const std::string tail = "%%Trailer\n%%EOF\n";

    // The finished job: the chosen file, or a temporary one for the queue.
    std::unique_ptr<WholeFileWriter> file = std::move(file_);
    std::unique_ptr<QTemporaryFile> spool;
    if (!file) {
        spool = std::make_unique<QTemporaryFile>();
        errno = 0;
        if (!spool->open()) {
            error_ = FileFailure(*spool, errno);
            return false;
        }
        MarkOwnScratch(spool->handle());
    }
    errno = 0;
    const auto put = [&](const char* bytes, size_t n) {
        if (file)
            return file->Write(bytes, n) == kErrNone;
        return spool->write(bytes, qint64(n)) == qint64(n);
    };
    bool ok = put(head.data(), head.size());
    if (setup_) {
        ok = ok && setup_->flush() && setup_->seek(0);
        while (ok && !setup_->atEnd()) {
            const QByteArray chunk = setup_->read(1 << 20);
            ok = !chunk.isEmpty() && put(chunk.constData(), size_t(chunk.size()));
        }
        setup_.reset();
    }
    ok = ok && put(endSetup.data(), endSetup.size());
    body_->seek(0);
    while (ok && !body_->atEnd()) {
        const QByteArray chunk = body_->read(1 << 20);
        ok = !chunk.isEmpty() && put(chunk.constData(), size_t(chunk.size()));
    }
    ok = ok && put(tail.data(), tail.size());
    body_.reset();
    if (file) {
        // The file named takes the job's place only when all of it is
        // written; a failure keeps the old one and says why.
        error_ = ok ? file->Commit() : (file->Error() != kErrNone ? file->Error() : 1);
        return error_ == kErrNone;
    }
    if (ok)
        ok = spool->flush();
    if (!ok) {
        error_ = FileFailure(*spool, errno);
        return false;
    }
    // The print system is handed the spool through the program's own hold
    // on it: a spool never named in the temporary folder goes with the
    // program however that ends, while the job is taken too.
    const QString held = "/proc/self/fd/" + QString::number(spool->handle());
    return CupsSubmitPostScript(settings_.queue, QFile::exists(held) ? held : spool->fileName(), settings_.title,
                                settings_.copies);
}

}  // namespace

std::unique_ptr<Dc> PostScriptJobDc(const PostScriptJobSettings& settings)
{
    return Dc::ForOutput(std::make_unique<PostScriptDevice>(settings));
}
