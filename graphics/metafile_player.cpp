// The player: its state, the mapping from the metafile's logical units to
// the Dc's, objects and saved states, and the record dispatch.
#include "graphics/metafile_player.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/metafile_format.h"
#include "graphics/metafile_player_state.h"
#include "graphics/picture_time_limit.h"
#include "platform/drawing_stop.h"

namespace {

bool Finite(const QTransform& t)
{
    const double v[] = {t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), t.m31(), t.m32(), t.m33()};
    for (double x : v) {
        if (!std::isfinite(x))
            return false;
    }
    return true;
}

// Pixels a millimetre of the reference device, from the header; a header
// that says nothing usable counts as a 96-dpi screen.
void ReferenceDevice(const EmfHeader& h, double* x, double* y)
{
    auto ratio = [](int32_t pixels, int32_t mm, int32_t um, double* out) {
        double v = 0;
        if (pixels > 0 && um > 0)
            v = pixels / (um / 1000.0);
        else if (pixels > 0 && mm > 0)
            v = double(pixels) / mm;
        *out = v >= 1e-3 && v <= 1e5 ? v : 96 / 25.4;
    };
    ratio(h.devicePixels.width, h.deviceMillimeters.width, h.deviceMicrometers.width, x);
    ratio(h.devicePixels.height, h.deviceMillimeters.height, h.deviceMicrometers.height, y);
}

LogFont StockFont(const char* face)
{
    LogFont f;
    std::strncpy(f.faceName, face, sizeof(f.faceName) - 1);
    return f;
}

}  // namespace

MetafilePlayer::MetafilePlayer(Dc& dc, const EnhMetafileRec& mf, const IntRect& rect)
    : dc_(dc), mf_(mf), rect_(rect)
{
    const EmfHeader& h = mf.header;
    ReferenceDevice(h, &ppmmX_, &ppmmY_);
    // The frame, in reference device units, fills the rectangle. A frame of
    // no size falls back on the bounds, and those on the rectangle itself.
    double fl = h.frame.left * ppmmX_ / 100, fr = h.frame.right * ppmmX_ / 100;
    double ft = h.frame.top * ppmmY_ / 100, fb = h.frame.bottom * ppmmY_ / 100;
    if (std::fabs(fr - fl) < 1e-6 || std::fabs(fb - ft) < 1e-6) {
        fl = h.bounds.left;
        fr = double(h.bounds.right) + 1;
        ft = h.bounds.top;
        fb = double(h.bounds.bottom) + 1;
    }
    const double rw = double(rect.right) - rect.left;
    const double rh = double(rect.bottom) - rect.top;
    const double sx = std::fabs(fr - fl) < 1e-6 ? 1.0 : rw / (fr - fl);
    const double sy = std::fabs(fb - ft) < 1e-6 ? 1.0 : rh / (fb - ft);
    play_ = QTransform::fromTranslate(-fl, -ft) * QTransform::fromScale(sx, sy) *
            QTransform::fromTranslate(rect.left, rect.top);
    // Letters far larger than the surface show nothing but cost much.
    const int32_t side = std::max(dc.getDeviceCaps(HORZRES), dc.getDeviceCaps(VERTRES));
    if (side > 0) {
        fontLimit_ = std::clamp(2 * side, kPlayerMinFontLimit, kPlayerMaxFontHeight);
        coordLimit_ = std::clamp(8.0 * side, kPlayerMinCoordLimit, kPlayerMaxCoordLimit);
    }
    updateTransform();
}

MetafileOutcome MetafilePlayer::play()
{
    const int32_t level = dc_.saveDc();
    if (dc_.hasClip())
        baseClip_ = dc_.clipRegion().pixels();
    resetDc();
    // A file may hold any number of records: the playing is timed, and a
    // path may grow only so far, so that neither time nor memory follows
    // the file's size past what a picture may cost.
    const int64_t start = PictureClockMs();
    const int64_t limit = PictureTimeLimitMs();
    // One record may draw a path of a million points: the Dc asks too.
    const DrawingStopScope stop([start, limit] { return PictureClockMs() - start > limit; });
    MetafileOutcome outcome = MetafileOutcome::kDrawn;
    EmfRecordCursor cursor(mf_);
    EmfRecord rec;
    while (cursor.next(&rec)) {
        if (rec.type == EMR_EOF)
            break;
        if (PictureClockMs() - start > limit) {
            outcome = MetafileOutcome::kTimedOut;
            break;
        }
        dispatch(rec.type, RecordBytes(rec.data, rec.size));
        if (dc_.pathPointCount() > kMetafileMaxPathPoints) {
            outcome = MetafileOutcome::kTooComplex;
            break;
        }
    }
    // A last record that ran out of time stopped short.
    if (outcome == MetafileOutcome::kDrawn && PictureClockMs() - start > limit)
        outcome = MetafileOutcome::kTimedOut;
    // A path left open, or one too large to keep, goes.
    if (inPath_ || outcome != MetafileOutcome::kDrawn)
        dc_.abortPath();
    dc_.restoreDc(level);
    return outcome;
}

void MetafilePlayer::resetDc()
{
    dc_.setTextColor(s_.textColor);
    dc_.setBkColor(s_.bkColor);
    dc_.setBkMode(s_.bkMode);
    dc_.setRop2(s_.rop2);
    dc_.setPolyFillMode(s_.polyFillMode);
    dc_.setTextAlign(s_.textAlign);
    objectsDirty_ = true;
    applyClip();
}

// --- Mapping -------------------------------------------------------------------

void MetafilePlayer::updateTransform()
{
    double sx = 1, sy = 1;
    const double scaleOf[] = {0, 0, 0.1, 0.01, 0.254, 0.0254, 25.4 / 1440};
    switch (s_.mapMode) {
    case MM_LOMETRIC:
    case MM_HIMETRIC:
    case MM_LOENGLISH:
    case MM_HIENGLISH:
    case MM_TWIPS:
        sx = ppmmX_ * scaleOf[s_.mapMode];
        sy = -ppmmY_ * scaleOf[s_.mapMode];
        break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC: {
        const QPointF& w = s_.windowExt;
        const QPointF& v = s_.viewportExt;
        sx = w.x() != 0 ? v.x() / w.x() : 1;
        sy = w.y() != 0 ? v.y() / w.y() : 1;
        if (s_.mapMode == MM_ISOTROPIC) {
            const double m = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
        break;
    }
    default:
        break;
    }
    const QTransform page = QTransform::fromTranslate(-s_.windowOrg.x(), -s_.windowOrg.y()) *
                            QTransform::fromScale(sx, sy) *
                            QTransform::fromTranslate(s_.viewportOrg.x(), s_.viewportOrg.y());
    toDest_ = s_.world * page * play_;
    transformValid_ = Finite(toDest_) && std::fabs(toDest_.determinant()) > 1e-300;
    objectsDirty_ = true;
}

IntPoint MetafilePlayer::Round(const QPointF& p) const
{
    const double limit = coordLimit_;
    auto c = [limit](double v) {
        if (!(v == v))
            return 0;
        return int32_t(std::lround(std::clamp(v, -limit, limit)));
    };
    return IntPoint{c(p.x()), c(p.y())};
}

IntPoint MetafilePlayer::map(double x, double y) const { return Round(mapF(x, y)); }

bool MetafilePlayer::axisAligned() const
{
    const double tol = 1e-9 * (std::fabs(toDest_.m11()) + std::fabs(toDest_.m22()));
    return std::fabs(toDest_.m12()) <= tol && std::fabs(toDest_.m21()) <= tol;
}

double MetafilePlayer::scaleX() const { return std::hypot(toDest_.m11(), toDest_.m12()); }
double MetafilePlayer::scaleY() const { return std::hypot(toDest_.m21(), toDest_.m22()); }
double MetafilePlayer::penScale() const { return std::sqrt(std::fabs(toDest_.determinant())); }

int32_t MetafilePlayer::rotationTenths() const
{
    if (axisAligned())
        return 0;
    const double degrees = std::atan2(-toDest_.m12(), toDest_.m11()) * 180 / M_PI;
    return int32_t(std::lround(degrees * 10));
}

// --- Objects -------------------------------------------------------------------

Pen MetafilePlayer::destPen() const
{
    Pen p;
    p.color = s_.pen.color & 0xFFFFFF;
    const uint32_t basic = s_.pen.style & PS_STYLE_MASK;
    if (basic <= uint32_t(PS_INSIDEFRAME))
        p.style = int32_t(basic);
    else if (basic == PS_USERSTYLE)
        p.style = PS_DASH;
    else if (basic == PS_ALTERNATE)
        p.style = PS_DOT;
    else
        p.style = PS_SOLID;
    if (!s_.pen.cosmetic && s_.pen.width > 0) {
        const double w = std::min(s_.pen.width * penScale(), double(kPlayerMaxPenWidth));
        p.width = std::max<int32_t>(1, int32_t(std::lround(w)));
    }
    return p;
}

LogFont MetafilePlayer::destFont() const
{
    LogFont f = s_.font;
    const int32_t limit = fontLimit_;
    auto scaled = [limit](int32_t v, double s) {
        if (v == 0)
            return 0;
        const double d = std::clamp(v * s, -double(limit), double(limit));
        const int32_t r = int32_t(std::lround(d));
        return r != 0 ? r : (v < 0 ? -1 : 1);
    };
    f.height = scaled(s_.font.height, scaleY());
    f.width = std::max(0, scaled(s_.font.width, scaleX()));
    const int32_t turn = rotationTenths();
    f.escapement = int32_t((int64_t(s_.font.escapement % 3600) + turn + 7200) % 3600);
    f.orientation = int32_t((int64_t(s_.font.orientation % 3600) + turn + 7200) % 3600);
    return f;
}

void MetafilePlayer::applyObjects()
{
    if (!objectsDirty_)
        return;
    dc_.selectPen(destPen());
    dc_.selectBrush(s_.brush);
    dc_.selectFont(destFont());
    objectsDirty_ = false;
}

namespace {

int64_t PatternPixels(const PlayerObject& o)
{
    return o.kind == PlayerObject::kBrush && o.brush.image ? int64_t(o.brush.image->width()) * o.brush.image->height()
                                                          : 0;
}

}  // namespace

void MetafilePlayer::createObject(uint32_t index, PlayerObject object)
{
    // Index 0 is the metafile itself; the table holds at most 65535.
    if (index == 0 || index > 0xFFFF)
        return;
    deleteObject(index);
    const int64_t pixels = PatternPixels(object);
    if (patternPixels_ + pixels > kPlayerMaxPatternPixels) {
        object.brush = Brush::Solid(FromQColor(QColor(object.brush.image->pixel(0, 0))));
    } else {
        patternPixels_ += pixels;
    }
    objects_[index] = std::move(object);
}

void MetafilePlayer::deleteObject(uint32_t index)
{
    auto it = objects_.find(index);
    if (it == objects_.end())
        return;
    patternPixels_ -= PatternPixels(it->second);
    objects_.erase(it);
}

void MetafilePlayer::selectObject(uint32_t index)
{
    if (index & kEmfStockObject) {
        const uint32_t stock = index & ~kEmfStockObject;
        switch (stock) {
        case WHITE_BRUSH:
        case DC_BRUSH:
            s_.brush = Brush::Solid(kWhite);
            break;
        case LTGRAY_BRUSH:
            s_.brush = Brush::Solid(0xC0C0C0);
            break;
        case GRAY_BRUSH:
            s_.brush = Brush::Solid(0x808080);
            break;
        case DKGRAY_BRUSH:
            s_.brush = Brush::Solid(0x404040);
            break;
        case BLACK_BRUSH:
            s_.brush = Brush::Solid(kBlack);
            break;
        case NULL_BRUSH:
            s_.brush = Brush::Hollow();
            break;
        case WHITE_PEN:
            s_.pen = PlayerPen{PS_SOLID, 0, true, kWhite};
            break;
        case BLACK_PEN:
        case DC_PEN:
            s_.pen = PlayerPen{};
            break;
        case NULL_PEN:
            s_.pen = PlayerPen{PS_NULL, 0, true, kBlack};
            break;
        case OEM_FIXED_FONT:
        case ANSI_FIXED_FONT:
        case SYSTEM_FIXED_FONT:
            s_.font = StockFont("Courier New");
            break;
        case ANSI_VAR_FONT:
        case SYSTEM_FONT:
        case DEVICE_DEFAULT_FONT:
        case DEFAULT_GUI_FONT:
            s_.font = StockFont("Arial");
            break;
        default:
            return;
        }
        objectsDirty_ = true;
        return;
    }
    auto it = objects_.find(index);
    if (it == objects_.end())
        return;
    switch (it->second.kind) {
    case PlayerObject::kPen:
        s_.pen = it->second.pen;
        break;
    case PlayerObject::kBrush:
        s_.brush = it->second.brush;
        break;
    case PlayerObject::kFont:
        s_.font = it->second.font;
        break;
    }
    objectsDirty_ = true;
}

// --- Saved states ------------------------------------------------------------

void MetafilePlayer::saveDc()
{
    if (saved_.size() >= kPlayerMaxSaveDepth) {
        ++ignoredSaves_;
        return;
    }
    s_.position = dc_.currentPosition();
    saved_.push_back(s_);
}

void MetafilePlayer::restoreDc(int32_t relative)
{
    const int64_t depth = int64_t(saved_.size()) + ignoredSaves_;
    int64_t pops = relative < 0 ? -int64_t(relative) : depth - relative + 1;
    if (pops <= 0 || pops > depth)
        return;
    const int64_t ignored = std::min<int64_t>(pops, ignoredSaves_);
    ignoredSaves_ -= uint32_t(ignored);
    pops -= ignored;
    if (pops == 0)
        return;
    s_ = saved_[saved_.size() - size_t(pops)];
    saved_.resize(saved_.size() - size_t(pops));
    updateTransform();
    resetDc();
    dc_.setBrushOrg(s_.brushOrg.x, s_.brushOrg.y);
    dc_.moveTo(s_.position.x, s_.position.y);
}

void MetafilePlayer::setWorld(const QTransform& x, uint32_t mode)
{
    QTransform next;
    switch (mode) {
    case MWT_IDENTITY:
        break;
    case MWT_LEFTMULTIPLY:
        next = x * s_.world;
        break;
    case MWT_RIGHTMULTIPLY:
        next = s_.world * x;
        break;
    case MWT_SET:
        next = x;
        break;
    default:
        return;
    }
    if (!Finite(next) || std::fabs(next.determinant()) < 1e-300)
        return;
    s_.world = next;
    updateTransform();
}

void MetafilePlayer::setMapMode(int32_t mode)
{
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return;
    s_.mapMode = mode;
    updateTransform();
}

// --- Dispatch ------------------------------------------------------------------

void MetafilePlayer::dispatch(uint32_t type, const RecordBytes& r)
{
    auto pointAt = [&](uint32_t off) { return QPointF(r.i32(off), r.i32(off + 4)); };
    switch (type) {
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        if (transformValid_)
            polyRecord(type, r);
        break;
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16:
        if (transformValid_)
            polyPolyRecord(type, r);
        break;
    case EMR_POLYDRAW:
    case EMR_POLYDRAW16:
        if (transformValid_)
            polyDraw(r, type == EMR_POLYDRAW16);
        break;
    case EMR_SETWINDOWEXTEX:
    case EMR_SETWINDOWORGEX:
    case EMR_SETVIEWPORTEXTEX:
    case EMR_SETVIEWPORTORGEX: {
        if (!r.has(8, 8))
            break;
        const QPointF p = pointAt(8);
        QPointF& target = type == EMR_SETWINDOWEXTEX     ? s_.windowExt
                          : type == EMR_SETWINDOWORGEX   ? s_.windowOrg
                          : type == EMR_SETVIEWPORTEXTEX ? s_.viewportExt
                                                         : s_.viewportOrg;
        // A zero extent cannot map anything; the call fails.
        if ((type == EMR_SETWINDOWEXTEX || type == EMR_SETVIEWPORTEXTEX) && (p.x() == 0 || p.y() == 0))
            break;
        target = p;
        updateTransform();
        break;
    }
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
        if (!r.has(8, 16))
            break;
        const double xn = r.i32(8), xd = r.i32(12), yn = r.i32(16), yd = r.i32(20);
        if (xd == 0 || yd == 0 || xn == 0 || yn == 0)
            break;
        QPointF& ext = type == EMR_SCALEWINDOWEXTEX ? s_.windowExt : s_.viewportExt;
        ext = QPointF(std::trunc(ext.x() * xn / xd), std::trunc(ext.y() * yn / yd));
        if (ext.x() == 0 || ext.y() == 0)
            ext = QPointF(1, 1);
        updateTransform();
        break;
    }
    case EMR_SETBRUSHORGEX:
        if (r.has(8, 8)) {
            const QPointF d = play_.map(pointAt(8));
            IntPoint p = Round(d);
            dc_.lpToDp(&p, 1);
            s_.brushOrg = p;
            dc_.setBrushOrg(p.x, p.y);
        }
        break;
    case EMR_SETPIXELV:
        if (r.has(8, 12) && transformValid_) {
            const IntPoint p = map(r.i32(8), r.i32(12));
            dc_.setPixel(p.x, p.y, r.u32(16) & 0xFFFFFF);
        }
        break;
    case EMR_SETMAPMODE:
        if (r.has(8, 4))
            setMapMode(r.i32(8));
        break;
    case EMR_SETBKMODE:
        if (r.has(8, 4) && (r.u32(8) == uint32_t(TRANSPARENT) || r.u32(8) == uint32_t(OPAQUE))) {
            s_.bkMode = r.i32(8);
            dc_.setBkMode(s_.bkMode);
        }
        break;
    case EMR_SETPOLYFILLMODE:
        if (r.has(8, 4) && (r.u32(8) == uint32_t(ALTERNATE) || r.u32(8) == uint32_t(WINDING))) {
            s_.polyFillMode = r.i32(8);
            dc_.setPolyFillMode(s_.polyFillMode);
        }
        break;
    case EMR_SETROP2:
        if (r.has(8, 4) && r.u32(8) >= uint32_t(R2_BLACK) && r.u32(8) <= uint32_t(R2_WHITE)) {
            s_.rop2 = r.i32(8);
            dc_.setRop2(s_.rop2);
        }
        break;
    case EMR_SETTEXTALIGN:
        if (r.has(8, 4)) {
            s_.textAlign = r.u32(8) & 0x1F;
            dc_.setTextAlign(s_.textAlign);
        }
        break;
    case EMR_SETTEXTCOLOR:
        if (r.has(8, 4)) {
            s_.textColor = r.u32(8) & 0xFFFFFF;
            dc_.setTextColor(s_.textColor);
        }
        break;
    case EMR_SETBKCOLOR:
        if (r.has(8, 4)) {
            s_.bkColor = r.u32(8) & 0xFFFFFF;
            dc_.setBkColor(s_.bkColor);
        }
        break;
    case EMR_OFFSETCLIPRGN:
        offsetClip(r);
        break;
    case EMR_MOVETOEX:
    case EMR_LINETO:
        if (r.has(8, 8) && transformValid_) {
            const IntPoint p = map(r.i32(8), r.i32(12));
            if (type == EMR_MOVETOEX) {
                dc_.moveTo(p.x, p.y);
            } else {
                applyObjects();
                dc_.lineTo(p.x, p.y);
            }
        }
        break;
    case EMR_EXCLUDECLIPRECT:
    case EMR_INTERSECTCLIPRECT:
        clipRect(r, type == EMR_EXCLUDECLIPRECT);
        break;
    case EMR_SAVEDC:
        saveDc();
        break;
    case EMR_RESTOREDC:
        if (r.has(8, 4))
            restoreDc(r.i32(8));
        break;
    case EMR_SETWORLDTRANSFORM:
    case EMR_MODIFYWORLDTRANSFORM:
        if (r.has(8, 24)) {
            const QTransform x(r.f32(8), r.f32(12), r.f32(16), r.f32(20), r.f32(24), r.f32(28));
            if (type == EMR_SETWORLDTRANSFORM)
                setWorld(x, MWT_SET);
            else if (r.has(32, 4))
                setWorld(x, r.u32(32));
        }
        break;
    case EMR_SELECTOBJECT:
        if (r.has(8, 4))
            selectObject(r.u32(8));
        break;
    case EMR_CREATEPEN:
        if (r.has(8, 20)) {
            PlayerObject o;
            o.kind = PlayerObject::kPen;
            o.pen.style = r.u32(12);
            o.pen.width = std::max(0, r.i32(16));
            o.pen.cosmetic = o.pen.width == 0;
            o.pen.color = r.u32(24) & 0xFFFFFF;
            createObject(r.u32(8), o);
        }
        break;
    case EMR_EXTCREATEPEN:
        createExtPen(r);
        break;
    case EMR_CREATEBRUSHINDIRECT:
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
        createBrush(type, r);
        break;
    case EMR_EXTCREATEFONTINDIRECTW:
        createFont(r);
        break;
    case EMR_DELETEOBJECT:
        if (r.has(8, 4))
            deleteObject(r.u32(8));
        break;
    case EMR_ANGLEARC:
        if (transformValid_)
            angleArc(r);
        break;
    case EMR_ELLIPSE:
    case EMR_RECTANGLE:
    case EMR_ROUNDRECT:
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_ARCTO:
        if (transformValid_)
            boxRecord(type, r);
        break;
    case EMR_SETARCDIRECTION:
        if (r.has(8, 4) && (r.u32(8) == AD_COUNTERCLOCKWISE || r.u32(8) == AD_CLOCKWISE))
            s_.arcDirection = r.u32(8);
        break;
    case EMR_BEGINPATH:
        dc_.beginPath();
        inPath_ = true;
        break;
    case EMR_ENDPATH:
        dc_.endPath();
        inPath_ = false;
        break;
    case EMR_CLOSEFIGURE:
        dc_.closeFigure();
        break;
    case EMR_FILLPATH:
    case EMR_STROKEANDFILLPATH:
    case EMR_STROKEPATH:
        applyObjects();
        if (type == EMR_FILLPATH)
            dc_.fillPath();
        else if (type == EMR_STROKEPATH)
            dc_.strokePath();
        else
            dc_.strokeAndFillPath();
        break;
    case EMR_FLATTENPATH:
        dc_.flattenPath();
        break;
    case EMR_SELECTCLIPPATH:
        if (r.has(8, 4))
            selectClipPath(r.i32(8));
        break;
    case EMR_ABORTPATH:
        dc_.abortPath();
        inPath_ = false;
        break;
    case EMR_FILLRGN:
    case EMR_FRAMERGN:
    case EMR_INVERTRGN:
    case EMR_PAINTRGN:
        regionRecord(type, r);
        break;
    case EMR_EXTSELECTCLIPRGN:
        selectClipRegion(r);
        break;
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
        if (transformValid_)
            bitBlt(type, r);
        break;
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT:
        if (transformValid_)
            blendBlt(type, r);
        break;
    case EMR_STRETCHDIBITS:
        if (transformValid_)
            stretchDIBits(r);
        break;
    case EMR_SETDIBITSTODEVICE:
        if (transformValid_)
            setDIBitsToDevice(r);
        break;
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW:
        if (transformValid_)
            extTextOut(r, type == EMR_EXTTEXTOUTW);
        break;
    case EMR_POLYTEXTOUTA:
    case EMR_POLYTEXTOUTW:
        if (transformValid_)
            polyTextOut(r, type == EMR_POLYTEXTOUTW);
        break;
    case EMR_SMALLTEXTOUT:
        if (transformValid_)
            smallTextOut(r);
        break;
    default:
        break;
    }
}

bool PlayEnhMetaFile(Dc& dc, const EnhMetafileRec& mf, const IntRect& rect, MetafileOutcome* outcome)
{
    MetafilePlayer player(dc, mf, rect);
    const MetafileOutcome ended = player.play();
    if (outcome)
        *outcome = ended;
    return ended == MetafileOutcome::kDrawn;
}
