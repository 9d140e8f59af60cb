#include "graphics/wmf_reader.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "foundation/byte_order.h"
#include "graphics/emf_builder.h"
#include "graphics/metafile_bitmap.h"
#include "graphics/metafile_format.h"
#include "graphics/wmf_header.h"
#include "platform/dc.h"

namespace {

// A picture may grow this much in conversion (regions selected again and
// again are the only records that multiply); beyond it the rest is cut.
constexpr size_t kGrowthFactor = 16;
constexpr size_t kGrowthAllowance = size_t(1) << 20;
// Reference device of the converted picture: a hundredth of a millimetre a
// pixel, so that the frame in device units is the extents themselves.
constexpr int32_t kDevicePixelsPerMm = 100;
constexpr IntRect kNoBounds{0, 0, -1, -1};

enum class SlotKind : uint8_t { kFree, kPen, kBrush, kFont, kPalette, kRegion };

struct Slot {
    SlotKind kind = SlotKind::kFree;
    std::vector<IntRect> rects;  // regions, logical units
};

IntRect Ltrb(int32_t l, int32_t t, int32_t r, int32_t b) { return IntRect{l, t, r, b}; }

class Converter {
public:
    Converter(const WmfHeader& header, IntSize extents, const IntRect* window, size_t inputSize)
        : out_(MakeHeader(extents)),
          capacity_(std::min<uint32_t>(header.objects, 0xFFFE)),
          limit_(inputSize * kGrowthFactor + kGrowthAllowance)
    {
        out_.setHandleCount(uint16_t(capacity_ + 1));
        emit(EMR_SETMAPMODE, {MM_ANISOTROPIC});
        emit(EMR_SETVIEWPORTORGEX, {0, 0});
        emit(EMR_SETVIEWPORTEXTEX, {extents.width, extents.height});
        if (window) {
            winOrg_ = {window->left, window->top};
            emit(EMR_SETWINDOWORGEX, {window->left, window->top});
            emit(EMR_SETWINDOWEXTEX, {window->right - window->left, window->bottom - window->top});
        } else {
            emit(EMR_SETWINDOWEXTEX, {std::max(1, int32_t(int64_t(extents.width) * 96 / 2540)),
                                      std::max(1, int32_t(int64_t(extents.height) * 96 / 2540))});
        }
    }

    // Converts records from data[pos] on; false when the output was cut.
    void run(const uint8_t* data, uint32_t size, uint32_t pos)
    {
        while (size - pos >= 6) {
            const uint32_t words = GetU32LE(data + pos);
            const uint16_t function = GetU16LE(data + pos + 4);
            if (words < 3 || words > (size - pos) / 2)
                break;
            if (function == META_EOF)
                break;
            const uint32_t n = words * 2 - 6;
            convert(function, data + pos + 6, n);
            pos += words * 2;
            if (out_.size() > limit_)
                break;
        }
    }

    std::vector<uint8_t> finish() { return out_.finish(); }

private:
    static EmfHeaderInfo MakeHeader(IntSize e)
    {
        EmfHeaderInfo h;
        h.bounds = IntRect{0, 0, e.width, e.height};
        h.frame = IntRect{0, 0, e.width, e.height};
        h.devicePixels = IntSize{1000 * kDevicePixelsPerMm, 1000 * kDevicePixelsPerMm};
        h.deviceMillimeters = IntSize{1000, 1000};
        return h;
    }

    void emit(uint32_t type, std::initializer_list<int32_t> values)
    {
        out_.begin(type);
        for (int32_t v : values)
            out_.i32(v);
        out_.end();
    }

    void emitRect(uint32_t type, const IntRect& r)
    {
        out_.begin(type);
        out_.rect(r);
        out_.end();
    }

    // --- Object table: a new object takes the lowest free slot.
    int allocate(SlotKind kind)
    {
        int slot;
        if (!freed_.empty() && *freed_.begin() < next_) {
            slot = *freed_.begin();
            freed_.erase(freed_.begin());
        } else if (next_ < int(capacity_)) {
            slot = next_++;
        } else {
            return -1;
        }
        if (size_t(slot) >= slots_.size())
            slots_.resize(size_t(slot) + 1);
        slots_[size_t(slot)].kind = kind;
        slots_[size_t(slot)].rects.clear();
        return slot;
    }

    Slot* slotAt(uint32_t slot)
    {
        if (slot >= slots_.size() || slots_[slot].kind == SlotKind::kFree)
            return nullptr;
        return &slots_[slot];
    }

    void release(uint32_t slot)
    {
        Slot* s = slotAt(slot);
        if (!s)
            return;
        if (s->kind == SlotKind::kPen || s->kind == SlotKind::kBrush || s->kind == SlotKind::kFont)
            emit(EMR_DELETEOBJECT, {int32_t(slot + 1)});
        s->kind = SlotKind::kFree;
        s->rects.clear();
        s->rects.shrink_to_fit();
        freed_.insert(int(slot));
    }

    // --- Regions are kept here as rectangles and drawn or clipped through
    // paths, which take logical units as the region records do.
    void regionPath(const std::vector<IntRect>& rects)
    {
        out_.record(EMR_BEGINPATH);
        for (const IntRect& r : rects)
            emitRect(EMR_RECTANGLE, r);
        out_.record(EMR_ENDPATH);
    }

    void selectClip(const Slot* region)
    {
        if (!region || region->kind != SlotKind::kRegion) {
            out_.begin(EMR_EXTSELECTCLIPRGN);
            out_.u32(0);
            out_.u32(RGN_COPY);
            out_.end();
            return;
        }
        regionPath(region->rects);
        emit(EMR_SELECTCLIPPATH, {RGN_COPY});
    }

    void fillRegion(const Slot* region, int brushSlot, bool invert)
    {
        if (!region || region->kind != SlotKind::kRegion)
            return;
        out_.record(EMR_SAVEDC);
        if (brushSlot >= 0)
            emit(EMR_SELECTOBJECT, {brushSlot + 1});
        if (invert) {
            emit(EMR_SELECTOBJECT, {int32_t(kEmfStockObject | BLACK_BRUSH)});
            emit(EMR_SETROP2, {R2_NOT});
        }
        regionPath(region->rects);
        emitRect(EMR_FILLPATH, kNoBounds);
        emit(EMR_RESTOREDC, {-1});
    }

    static std::vector<IntRect> ReadRegion(LeReader r)
    {
        // Header: next-in-chain, type, object count, size, scan count, max
        // scan, bounds; then the scans.
        r.skip(10);
        const int16_t scans = r.i16();
        r.skip(2);
        const int16_t l = r.i16(), t = r.i16(), rr = r.i16(), b = r.i16();
        std::vector<IntRect> rects;
        if (!r.ok())
            return rects;
        for (int s = 0; s < scans && r.ok(); ++s) {
            const uint16_t count = r.u16();
            const int16_t top = r.i16();
            const int16_t bottom = r.i16();
            if (count % 2 || size_t(count) * 2 > r.remaining())
                break;
            for (int k = 0; k < count / 2; ++k) {
                const int16_t left = r.i16();
                const int16_t right = r.i16();
                rects.push_back(Ltrb(left, top, right, bottom));
            }
            r.skip(2);
        }
        if (rects.empty() && scans > 0 && rr > l && b > t)
            rects.push_back(Ltrb(l, t, rr, b));
        return rects;
    }

    // --- Records.
    void points16(uint32_t type, LeReader& r, int count)
    {
        if (count < 0 || size_t(count) * 4 > r.remaining())
            return;
        out_.begin(type);
        out_.rect(kNoBounds);
        out_.u32(uint32_t(count));
        for (int i = 0; i < count; ++i) {
            out_.i16(r.i16());
            out_.i16(r.i16());
        }
        out_.end();
    }

    void polyPolygon(LeReader& r)
    {
        const uint16_t polys = r.u16();
        if (!r.ok() || size_t(polys) * 2 > r.remaining())
            return;
        std::vector<uint16_t> counts(polys);
        size_t total = 0;
        for (auto& c : counts) {
            c = r.u16();
            total += c;
        }
        if (total * 4 > r.remaining())
            return;
        out_.begin(EMR_POLYPOLYGON16);
        out_.rect(kNoBounds);
        out_.u32(polys);
        out_.u32(uint32_t(total));
        for (uint16_t c : counts)
            out_.u32(c);
        for (size_t i = 0; i < total; ++i) {
            out_.i16(r.i16());
            out_.i16(r.i16());
        }
        out_.end();
    }

    void text(LeReader& r, bool extended)
    {
        int32_t x, y;
        int16_t count;
        uint16_t options = 0;
        IntRect rect;
        bool hasRect = false;
        if (extended) {
            y = r.i16();
            x = r.i16();
            count = r.i16();
            options = r.u16();
            if (options & (ETO_OPAQUE | ETO_CLIPPED)) {
                rect.left = r.i16();
                rect.top = r.i16();
                rect.right = r.i16();
                rect.bottom = r.i16();
                hasRect = true;
            }
        } else {
            count = r.i16();
            x = y = 0;
        }
        if (!r.ok() || count < 0 || size_t(count) > r.remaining())
            return;
        std::string bytes(size_t(count), '\0');
        r.bytes(bytes.data(), bytes.size());
        r.skip(count & 1);
        if (!extended) {
            y = r.i16();
            x = r.i16();
            if (!r.ok())
                return;
        }
        std::vector<int32_t> dx;
        if (extended && r.ok() && r.remaining() >= size_t(count) * 2) {
            dx.resize(size_t(count));
            for (auto& d : dx)
                d = r.i16();
        }
        out_.extTextOutA(kNoBounds, IntPoint{x, y}, options & ~uint32_t(ETO_NO_RECT), hasRect ? &rect : nullptr,
                         bytes, dx.empty() ? nullptr : dx.data());
    }

    // A packed bitmap drawn into a rectangle. yFromTop: the source y
    // counts from the bitmap's top row (the blit records) rather than from
    // its last stored row.
    void dib(const uint8_t* p, uint32_t n, uint32_t usage, IntRect dest, IntRect src, bool yFromTop, uint32_t rop)
    {
        uint32_t infoSize, bitsSize;
        MetafileDibInfo info;
        if (!MetafileDibSplit(p, n, &infoSize, &bitsSize, usage) || !MetafileDibReadInfo(p, infoSize, &info))
            return;
        if (yFromTop && !info.topDown) {
            const int32_t h = src.bottom - src.top;
            src.top = info.height - src.top - h;
            src.bottom = src.top + h;
        }
        out_.stretchDIBits(kNoBounds, dest, src, p, infoSize, p + infoSize, bitsSize, usage, rop);
    }

    void createBrushFromDib(int slot, uint32_t usage, const uint8_t* p, uint32_t n)
    {
        uint32_t infoSize, bitsSize;
        if (!MetafileDibSplit(p, n, &infoSize, &bitsSize, usage)) {
            solidBrush(slot, kBlack);
            return;
        }
        const uint32_t infoPadded = (infoSize + 3) / 4 * 4;
        out_.begin(EMR_CREATEDIBPATTERNBRUSHPT);
        out_.u32(uint32_t(slot + 1));
        out_.u32(usage);
        out_.u32(32);
        out_.u32(infoSize);
        out_.u32(32 + infoPadded);
        out_.u32(bitsSize);
        out_.raw(p, infoSize);
        out_.align4();
        out_.raw(p + infoSize, bitsSize);
        out_.end();
    }

    void solidBrush(int slot, ColorRef c) { emit(EMR_CREATEBRUSHINDIRECT, {slot + 1, BS_SOLID, int32_t(c), 0}); }

    // The old pattern brush: a device-dependent bitmap, taken when it is
    // one bit a pixel.
    void createPatternBrush(int slot, LeReader& r, const uint8_t* p, uint32_t n)
    {
        r.skip(2);
        const int16_t width = r.i16();
        const int16_t height = r.i16();
        const int16_t widthBytes = r.i16();
        const uint8_t planes = r.u8();
        const uint8_t bitsPixel = r.u8();
        constexpr uint32_t kBitsAt = 32;
        if (!r.ok() || planes != 1 || bitsPixel != 1 || width <= 0 || height <= 0 || widthBytes * 8 < width ||
            uint64_t(widthBytes) * height > (n > kBitsAt ? n - kBitsAt : 0)) {
            solidBrush(slot, kBlack);
            return;
        }
        std::vector<uint8_t> info, bits;
        MetafileMonoToDib(p + kBitsAt, width, height, widthBytes, &info, &bits);
        out_.createDibBrush(EMR_CREATEMONOBRUSH, uint32_t(slot + 1), info, bits);
    }

    void createFont(int slot, LeReader& r)
    {
        LogFont f;
        f.height = r.i16();
        f.width = r.i16();
        f.escapement = r.i16();
        f.orientation = r.i16();
        f.weight = r.i16();
        f.italic = r.u8();
        f.underline = r.u8();
        f.strikeOut = r.u8();
        f.charSet = r.u8();
        f.outPrecision = r.u8();
        f.clipPrecision = r.u8();
        f.quality = r.u8();
        f.pitchAndFamily = r.u8();
        const size_t n = std::min<size_t>(r.remaining(), sizeof(f.faceName) - 1);
        r.bytes(f.faceName, n);
        out_.createFont(uint32_t(slot + 1), f);
    }

    void restoreDc(int16_t n)
    {
        const int depth = int(saved_.size());
        const int pops = n < 0 ? -n : depth - n + 1;
        if (pops <= 0 || pops > depth)
            return;
        winOrg_ = saved_[size_t(depth - pops)];
        saved_.resize(size_t(depth - pops));
        emit(EMR_RESTOREDC, {-pops});
    }

    void convert(uint16_t function, const uint8_t* p, uint32_t n)
    {
        LeReader r(p, n);
        switch (function) {
        case META_SETBKMODE:
            emit(EMR_SETBKMODE, {r.u16()});
            break;
        case META_SETMAPMODE: {
            // The picture's own units fill the frame: the text mode would
            // make them the reference device's hundredths of a millimetre.
            const uint16_t mode = r.u16();
            if (mode != MM_TEXT)
                emit(EMR_SETMAPMODE, {mode});
            break;
        }
        case META_SETROP2:
            emit(EMR_SETROP2, {r.u16()});
            break;
        case META_SETPOLYFILLMODE:
            emit(EMR_SETPOLYFILLMODE, {r.u16()});
            break;
        case META_SETSTRETCHBLTMODE:
            emit(EMR_SETSTRETCHBLTMODE, {r.u16()});
            break;
        case META_SETTEXTALIGN:
            emit(EMR_SETTEXTALIGN, {r.u16()});
            break;
        case META_SETBKCOLOR:
            emit(EMR_SETBKCOLOR, {int32_t(r.u32() & 0xFFFFFF)});
            break;
        case META_SETTEXTCOLOR:
            emit(EMR_SETTEXTCOLOR, {int32_t(r.u32() & 0xFFFFFF)});
            break;
        case META_SETWINDOWORG: {
            const int16_t y = r.i16(), x = r.i16();
            if (r.ok()) {
                winOrg_ = {x, y};
                emit(EMR_SETWINDOWORGEX, {x, y});
            }
            break;
        }
        case META_OFFSETWINDOWORG: {
            const int16_t dy = r.i16(), dx = r.i16();
            if (r.ok()) {
                auto add = [](int32_t a, int32_t d) { return int32_t(std::clamp<int64_t>(int64_t(a) + d, INT32_MIN, INT32_MAX)); };
                winOrg_ = {add(winOrg_.x, dx), add(winOrg_.y, dy)};
                emit(EMR_SETWINDOWORGEX, {winOrg_.x, winOrg_.y});
            }
            break;
        }
        case META_SETWINDOWEXT: {
            const int16_t y = r.i16(), x = r.i16();
            if (r.ok())
                emit(EMR_SETWINDOWEXTEX, {x, y});
            break;
        }
        case META_SCALEWINDOWEXT: {
            const int16_t yDen = r.i16(), yNum = r.i16(), xDen = r.i16(), xNum = r.i16();
            if (r.ok())
                emit(EMR_SCALEWINDOWEXTEX, {xNum, xDen, yNum, yDen});
            break;
        }
        case META_SETVIEWPORTORG:
        case META_SETVIEWPORTEXT:
        case META_OFFSETVIEWPORTORG:
        case META_SCALEVIEWPORTEXT:
            // The viewport is where the player puts the picture.
            break;
        case META_MOVETO:
        case META_LINETO: {
            const int16_t y = r.i16(), x = r.i16();
            if (r.ok())
                emit(function == META_MOVETO ? EMR_MOVETOEX : EMR_LINETO, {x, y});
            break;
        }
        case META_RECTANGLE:
        case META_ELLIPSE:
        case META_EXCLUDECLIPRECT:
        case META_INTERSECTCLIPRECT: {
            const int16_t b = r.i16(), rr = r.i16(), t = r.i16(), l = r.i16();
            if (!r.ok())
                break;
            const uint32_t type = function == META_RECTANGLE ? EMR_RECTANGLE
                                  : function == META_ELLIPSE ? EMR_ELLIPSE
                                  : function == META_EXCLUDECLIPRECT ? EMR_EXCLUDECLIPRECT
                                                                      : EMR_INTERSECTCLIPRECT;
            emitRect(type, Ltrb(l, t, rr, b));
            break;
        }
        case META_ROUNDRECT: {
            const int16_t h = r.i16(), w = r.i16(), b = r.i16(), rr = r.i16(), t = r.i16(), l = r.i16();
            if (r.ok())
                emit(EMR_ROUNDRECT, {l, t, rr, b, w, h});
            break;
        }
        case META_ARC:
        case META_PIE:
        case META_CHORD: {
            const int16_t ye = r.i16(), xe = r.i16(), ys = r.i16(), xs = r.i16();
            const int16_t b = r.i16(), rr = r.i16(), t = r.i16(), l = r.i16();
            if (r.ok())
                emit(function == META_ARC ? EMR_ARC : function == META_PIE ? EMR_PIE : EMR_CHORD,
                     {l, t, rr, b, xs, ys, xe, ye});
            break;
        }
        case META_SETPIXEL: {
            const uint32_t c = r.u32();
            const int16_t y = r.i16(), x = r.i16();
            if (r.ok())
                emit(EMR_SETPIXELV, {x, y, int32_t(c & 0xFFFFFF)});
            break;
        }
        case META_PATBLT: {
            const uint32_t rop = r.u32();
            const int16_t h = r.i16(), w = r.i16(), y = r.i16(), x = r.i16();
            if (r.ok())
                out_.patBlt(kNoBounds, x, y, w, h, rop);
            break;
        }
        case META_OFFSETCLIPRGN: {
            const int16_t y = r.i16(), x = r.i16();
            if (r.ok())
                emit(EMR_OFFSETCLIPRGN, {x, y});
            break;
        }
        case META_SAVEDC:
            saved_.push_back(winOrg_);
            out_.record(EMR_SAVEDC);
            break;
        case META_RESTOREDC:
            if (n >= 2)
                restoreDc(r.i16());
            break;
        case META_POLYGON:
        case META_POLYLINE: {
            const int16_t count = r.i16();
            if (r.ok())
                points16(function == META_POLYGON ? EMR_POLYGON16 : EMR_POLYLINE16, r, count);
            break;
        }
        case META_POLYPOLYGON:
            polyPolygon(r);
            break;
        case META_TEXTOUT:
            text(r, false);
            break;
        case META_EXTTEXTOUT:
            text(r, true);
            break;
        case META_CREATEPENINDIRECT: {
            const uint16_t style = r.u16();
            const int16_t width = r.i16();
            r.skip(2);
            const uint32_t color = r.u32();
            const int slot = allocate(SlotKind::kPen);
            if (slot >= 0)
                emit(EMR_CREATEPEN, {slot + 1, style, std::max<int32_t>(width, 0), 0, int32_t(color & 0xFFFFFF)});
            break;
        }
        case META_CREATEBRUSHINDIRECT: {
            uint16_t style = r.u16();
            const uint32_t color = r.u32();
            const uint16_t hatch = r.u16();
            const int slot = allocate(SlotKind::kBrush);
            if (slot < 0)
                break;
            if (style != BS_SOLID && style != BS_NULL && style != BS_HATCHED)
                style = BS_SOLID;
            emit(EMR_CREATEBRUSHINDIRECT, {slot + 1, style, int32_t(color & 0xFFFFFF), hatch});
            break;
        }
        case META_CREATEFONTINDIRECT: {
            const int slot = allocate(SlotKind::kFont);
            if (slot >= 0)
                createFont(slot, r);
            break;
        }
        case META_DIBCREATEPATTERNBRUSH: {
            r.skip(2);
            const uint16_t usage = r.u16();
            const int slot = allocate(SlotKind::kBrush);
            if (slot >= 0)
                createBrushFromDib(slot, usage, p + 4, n >= 4 ? n - 4 : 0);
            break;
        }
        case META_CREATEPATTERNBRUSH: {
            const int slot = allocate(SlotKind::kBrush);
            if (slot >= 0)
                createPatternBrush(slot, r, p, n);
            break;
        }
        case META_CREATEPALETTE:
            allocate(SlotKind::kPalette);
            break;
        case META_CREATEREGION: {
            const int slot = allocate(SlotKind::kRegion);
            if (slot >= 0)
                slots_[size_t(slot)].rects = ReadRegion(r);
            break;
        }
        case META_SELECTOBJECT: {
            const uint16_t slot = r.u16();
            const Slot* s = r.ok() ? slotAt(slot) : nullptr;
            if (!s)
                break;
            if (s->kind == SlotKind::kRegion)
                selectClip(s);
            else if (s->kind != SlotKind::kPalette)
                emit(EMR_SELECTOBJECT, {slot + 1});
            break;
        }
        case META_SELECTCLIPREGION: {
            const uint16_t slot = r.u16();
            selectClip(r.ok() ? slotAt(slot) : nullptr);
            break;
        }
        case META_DELETEOBJECT: {
            const uint16_t slot = r.u16();
            if (r.ok())
                release(slot);
            break;
        }
        case META_FILLREGION: {
            const uint16_t region = r.u16(), brush = r.u16();
            const Slot* b = r.ok() ? slotAt(brush) : nullptr;
            if (b && b->kind == SlotKind::kBrush)
                fillRegion(slotAt(region), brush, false);
            break;
        }
        case META_PAINTREGION:
        case META_INVERTREGION: {
            const uint16_t region = r.u16();
            if (r.ok())
                fillRegion(slotAt(region), -1, function == META_INVERTREGION);
            break;
        }
        case META_STRETCHDIB: {
            const uint32_t rop = r.u32();
            const uint16_t usage = r.u16();
            const int16_t sh = r.i16(), sw = r.i16(), sy = r.i16(), sx = r.i16();
            const int16_t dh = r.i16(), dw = r.i16(), dy = r.i16(), dx = r.i16();
            if (r.ok())
                dib(p + r.pos(), uint32_t(r.remaining()), usage, Ltrb(dx, dy, dx + dw, dy + dh),
                    Ltrb(sx, sy, sx + sw, sy + sh), false, rop);
            break;
        }
        case META_DIBSTRETCHBLT:
        case META_DIBBITBLT: {
            // Without a bitmap the record is one word longer than its
            // function's parameter count says, and is a pattern blit.
            const bool withBitmap = n / 2 + 3 != uint32_t(function >> 8) + 3;
            const uint32_t rop = r.u32();
            int16_t sh = 0, sw = 0, sy, sx, dh, dw, dy, dx;
            if (function == META_DIBSTRETCHBLT) {
                sh = r.i16();
                sw = r.i16();
            }
            sy = r.i16();
            sx = r.i16();
            if (!withBitmap)
                r.skip(2);
            dh = r.i16();
            dw = r.i16();
            dy = r.i16();
            dx = r.i16();
            if (function == META_DIBBITBLT) {
                sh = dh;
                sw = dw;
            }
            if (!r.ok())
                break;
            if (withBitmap)
                dib(p + r.pos(), uint32_t(r.remaining()), DIB_RGB_COLORS, Ltrb(dx, dy, dx + dw, dy + dh),
                    Ltrb(sx, sy, sx + sw, sy + sh), true, rop);
            else
                out_.patBlt(kNoBounds, dx, dy, dw, dh, rop);
            break;
        }
        default:
            // Palettes, escapes, flood fills, the text spacing calls and
            // the device-dependent bitmaps are left out.
            break;
        }
    }

    EmfBuilder out_;
    uint32_t capacity_;
    size_t limit_;
    std::vector<Slot> slots_;
    std::set<int> freed_;
    int next_ = 0;
    IntPoint winOrg_;
    std::vector<IntPoint> saved_;
};

}  // namespace

EnhMetafile SetWinMetaFileBits(uint32_t size, const uint8_t* bits, IntSize extents, const IntRect* window)
{
    WmfHeader header;
    if (!WmfHeaderRead(bits, size, &header) || !WmfHeaderValid(header))
        return nullptr;
    if (extents.width <= 0 || extents.height <= 0)
        extents = IntSize{200, 200};
    try {
        Converter converter(header, extents, window, size);
        converter.run(bits, size, kWmfHeaderSize);
        return EnhMetafileFromBytes(converter.finish());
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const std::length_error&) {
        return nullptr;
    }
}
