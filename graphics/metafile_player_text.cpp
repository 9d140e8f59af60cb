// The player's text records and fonts.
#include <algorithm>
#include <cmath>

#include <cstring>

#include <QFontDatabase>
#include <QStringList>

#include "foundation/cp1252.h"
#include "platform/font_mapper.h"
#include "graphics/metafile_format.h"
#include "graphics/metafile_player_state.h"

std::string PlayerTextToCp1252(const uint8_t* units, uint32_t count)
{
    std::string out;
    out.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const char16_t u = char16_t(GetU16LE(units + 2 * i));
        if (u >= 0xF020 && u <= 0xF0FF) {
            out.push_back(char(u & 0xFF));
            continue;
        }
        const int b = UnicodeToCp1252(u);
        out.push_back(b < 0 ? '?' : char(b));
    }
    return out;
}

void PlayerNormaliseFont(LogFont* f)
{
    static const QStringList installed = QFontDatabase::families();
    const QString family = ResolveFaceFamily(f->faceName);
    if (!installed.contains(family, Qt::CaseInsensitive)) {
        // Family bits of the pitch-and-family byte: roman 0x10, modern 0x30.
        const uint8_t kind = f->pitchAndFamily & 0xF0;
        const char* standard = kind == 0x10 ? "Times New Roman" : kind == 0x30 ? "Courier New" : "Arial";
        std::memset(f->faceName, 0, sizeof(f->faceName));
        std::strncpy(f->faceName, standard, sizeof(f->faceName) - 1);
    }
    if (f->weight != 0)
        f->weight = f->weight >= 550 ? FW_BOLD : FW_NORMAL;
}

namespace {

// The text part (EMRTEXT) at `at`: its string and offsets; false when any
// of it lies outside the record.
bool ReadText(const RecordBytes& r, uint32_t at, bool wide, std::string* text, std::vector<double>* dx,
              uint32_t* options, IntRect* rect)
{
    if (!r.has(at, kEmrTextSize))
        return false;
    const uint32_t chars = r.u32(at + kEmrTextChars);
    const uint32_t offString = r.u32(at + kEmrTextOffString);
    *options = r.u32(at + kEmrTextOptions);
    const uint8_t* s = r.at(offString, uint64_t(chars) * (wide ? 2 : 1));
    if (!s || (*options & ETO_GLYPH_INDEX))
        return false;
    *text = wide ? PlayerTextToCp1252(s, chars) : std::string(reinterpret_cast<const char*>(s), chars);
    *rect = IntRect{r.i32(at + kEmrTextRect), r.i32(at + kEmrTextRect + 4), r.i32(at + kEmrTextRect + 8),
                    r.i32(at + kEmrTextRect + 12)};
    const uint32_t offDx = r.u32(at + kEmrTextOffDx);
    const uint32_t step = *options & ETO_PDY ? 8 : 4;
    dx->clear();
    if (offDx && r.has(offDx, uint64_t(chars) * step)) {
        dx->resize(chars);
        for (uint32_t i = 0; i < chars; ++i)
            (*dx)[i] = r.i32(offDx + i * step);
    }
    return true;
}

}  // namespace

void MetafilePlayer::extTextOut(const RecordBytes& r, bool wide)
{
    std::string text;
    std::vector<double> dx;
    uint32_t options;
    IntRect rect;
    const uint32_t at = kEmrExtTextOutText;
    if (!ReadText(r, at, wide, &text, &dx, &options, &rect))
        return;
    const bool hasRect = options & (ETO_OPAQUE | ETO_CLIPPED);
    drawText(r.i32(at), r.i32(at + 4), options, hasRect ? &rect : nullptr, text, dx.empty() ? nullptr : &dx);
}

void MetafilePlayer::polyTextOut(const RecordBytes& r, bool wide)
{
    const uint32_t strings = r.u32(36);
    if (!r.has(40, uint64_t(strings) * kEmrTextSize))
        return;
    for (uint32_t i = 0; i < strings; ++i) {
        const uint32_t at = 40 + i * kEmrTextSize;
        std::string text;
        std::vector<double> dx;
        uint32_t options;
        IntRect rect;
        if (!ReadText(r, at, wide, &text, &dx, &options, &rect))
            continue;
        const bool hasRect = options & (ETO_OPAQUE | ETO_CLIPPED);
        drawText(r.i32(at), r.i32(at + 4), options, hasRect ? &rect : nullptr, text, dx.empty() ? nullptr : &dx);
    }
}

void MetafilePlayer::smallTextOut(const RecordBytes& r)
{
    if (!r.has(8, 28))
        return;
    const uint32_t chars = r.u32(16);
    const uint32_t options = r.u32(20);
    uint32_t at = 36;
    IntRect rect;
    if (!(options & ETO_NO_RECT)) {
        if (!r.has(at, 16))
            return;
        rect = IntRect{r.i32(at), r.i32(at + 4), r.i32(at + 8), r.i32(at + 12)};
        at += 16;
    }
    const bool narrow = options & ETO_SMALL_CHARS;
    const uint8_t* s = r.at(at, uint64_t(chars) * (narrow ? 1 : 2));
    if (!s || (options & ETO_GLYPH_INDEX))
        return;
    const std::string text = narrow ? std::string(reinterpret_cast<const char*>(s), chars) : PlayerTextToCp1252(s, chars);
    const bool hasRect = !(options & ETO_NO_RECT) && (options & (ETO_OPAQUE | ETO_CLIPPED));
    drawText(r.i32(8), r.i32(12), options, hasRect ? &rect : nullptr, text, nullptr);
}

void MetafilePlayer::drawText(double x, double y, uint32_t options, const IntRect* logicalRect,
                              const std::string& text, const std::vector<double>* dx)
{
    applyObjects();
    const IntPoint p = map(x, y);
    IntRect rect;
    if (logicalRect) {
        const IntPoint c[4] = {map(logicalRect->left, logicalRect->top), map(logicalRect->right, logicalRect->top),
                               map(logicalRect->right, logicalRect->bottom), map(logicalRect->left, logicalRect->bottom)};
        rect = IntRect{c[0].x, c[0].y, c[0].x, c[0].y};
        for (const IntPoint& q : c) {
            rect.left = std::min(rect.left, q.x);
            rect.top = std::min(rect.top, q.y);
            rect.right = std::max(rect.right, q.x);
            rect.bottom = std::max(rect.bottom, q.y);
        }
    }
    std::vector<int32_t> advances;
    if (dx) {
        // Whole units from the running sum, so that rounding does not add up
        // along the line.
        const double s = scaleX();
        advances.resize(dx->size());
        double sum = 0;
        int32_t placed = 0;
        for (size_t i = 0; i < dx->size(); ++i) {
            sum += (*dx)[i] * s;
            const auto next = int32_t(std::lround(std::clamp(sum, -coordLimit_, coordLimit_)));
            advances[i] = next - placed;
            placed = next;
        }
    }
    dc_.extTextOut(p.x, p.y, options & (ETO_OPAQUE | ETO_CLIPPED), logicalRect ? &rect : nullptr, text,
                   dx ? advances.data() : nullptr);
}

void MetafilePlayer::createFont(const RecordBytes& r)
{
    if (!r.has(8, 4 + 28))
        return;
    PlayerObject o;
    o.kind = PlayerObject::kFont;
    LogFont& f = o.font;
    f.height = r.i32(12);
    f.width = r.i32(16);
    f.escapement = r.i32(20);
    f.orientation = r.i32(24);
    f.weight = r.i32(28);
    f.italic = r.u8(32);
    f.underline = r.u8(33);
    f.strikeOut = r.u8(34);
    f.charSet = r.u8(35);
    f.outPrecision = r.u8(36);
    f.clipPrecision = r.u8(37);
    f.quality = r.u8(38);
    f.pitchAndFamily = r.u8(39);
    uint32_t chars = 0;
    while (chars < kFaceChars - 1 && r.has(40 + 2 * chars, 2) && r.u16(40 + 2 * chars) != 0)
        ++chars;
    const std::string face = chars ? PlayerTextToCp1252(r.at(40, 2 * chars), chars) : std::string();
    std::copy(face.begin(), face.end(), f.faceName);
    PlayerNormaliseFont(&f);
    createObject(r.u32(8), o);
}
