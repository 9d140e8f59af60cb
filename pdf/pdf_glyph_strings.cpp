#include "pdf/pdf_glyph_strings.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "pdf/pdf_byte_scan.h"
#include "pdf/pdf_decimal.h"

namespace {

// How far a glyph may land from where the engine put it, in units of the
// text space (device pixels as the painter writes a page).
constexpr double kMostGlyphMove = 0.01;
// And how far it lands after it at the least. A glyph the engine put on a
// pixel's edge (most are, placed by whole device pixels) is drawn by a
// renderer that snaps glyphs to fractions of a pixel on the side its own
// arithmetic puts it: reached by a sum of steps rather than by one move,
// it could land a hair before the edge and be drawn a fraction of a pixel
// away. Every glyph lands a hair after where it was put instead.
constexpr double kLeastGlyphMove = 1e-6;
// Places a number is written to at most; a text so large as to need more
// keeps its lines.
constexpr int kMostAdjustmentPlaces = 4;

struct GlyphLine {
    double dx = 0, dy = 0;
    std::string_view code;  // the hexadecimal digits
};

// The number from `p` up to `stop` as a double, and where it ends; null
// for none.
const char* ReadStep(const char* p, const char* const end, char stop, double* v)
{
    const char* const from = p;
    while (p < end && *p != stop)
        ++p;
    PdfDecimal d;
    if (p == end || !PdfReadDecimal(from, p, 9, &d))
        return nullptr;
    *v = double(d.units) / double(kPdfTens[size_t(d.places)]);
    return p;
}

// The lines "dx dy Td <code> Tj\n"; false for any other text.
bool ReadGlyphLines(std::string_view s, std::vector<GlyphLine>* lines)
{
    const char* p = s.data();
    const char* const end = p + s.size();
    const auto expect = [&p, end](std::string_view t) {
        if (size_t(end - p) < t.size() || std::memcmp(p, t.data(), t.size()) != 0)
            return false;
        p += t.size();
        return true;
    };
    while (p < end) {
        GlyphLine& l = lines->emplace_back();
        if (!(p = ReadStep(p, end, ' ', &l.dx)) || !(p = ReadStep(p + 1, end, ' ', &l.dy)) || !expect(" Td <"))
            return false;
        const char* const code = p;
        while (p < end && kPdfHexBytes[static_cast<unsigned char>(*p)])
            ++p;
        l.code = std::string_view(code, size_t(p - code));
        if (!expect("> Tj\n"))
            return false;
    }
    return true;
}

// The most an adjustment takes, with the brackets either side: a number
// below 10^15 in units (see Adjust), a sign and a point.
constexpr size_t kMostAdjustment = 2 + 24;

// `units` at `places` places, as short as it goes: no zero before the
// point. Returns the end.
char* WriteAdjustment(char* to, long long units, int places)
{
    char* const end = PdfWriteDecimal(to, units, places);
    if (end - to > 1 && to[0] == '0' && to[1] == '.') {
        std::memmove(to, to + 1, size_t(end - to - 1));
        return end - 1;
    }
    if (end - to > 2 && to[0] == '-' && to[1] == '0' && to[2] == '.') {
        std::memmove(to + 1, to + 2, size_t(end - to - 2));
        return end - 1;
    }
    return end;
}

// std::llround of a number below 10^15: rounded here, as each glyph's
// number is, rather than by a call to the library. Its whole part and its
// fraction are told apart exactly at that size.
long long Nearest(double x)
{
    const auto whole = static_cast<long long>(x);  // toward zero
    const double part = x - double(whole);
    return part >= 0.5 ? whole + 1 : part <= -0.5 ? whole - 1 : whole;
}

// std::ceil, as a whole number, the same way where the number is below
// 2^52 (beyond, every double is whole).
long long Ceiling(double x)
{
    if (!(std::abs(x) < 0x1p52))
        return static_cast<long long>(std::ceil(x));
    const auto whole = static_cast<long long>(x);
    return double(whole) < x ? whole + 1 : whole;
}

// The numbers after each glyph but the last, in units of the last of
// `places` places; false where those cannot keep every glyph in its place.
// Each is the glyph's own step rounded so that the glyph lands a hair
// further on than the one before (kLeastGlyphMove), or exactly that step
// once the glyphs land after where the engine put them: not reckoned from
// where the glyphs before landed, so that a letter takes the same number
// after the same letter wherever its pixels fell alike, which compresses
// better.
bool Adjust(const std::vector<GlyphLine>& lines, const int32_t* widths, double size, int places,
            std::vector<long long>* units)
{
    const auto step = double(kPdfTens[size_t(places)]);
    const double stepMove = size / 1000 / step;
    // How far after where the engine put it the glyph lands.
    double after = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        // Shown after a glyph, a number n moves the next back by n/1000 of
        // the size.
        const double exact = (widths[i - 1] - lines[i].dx * 1000 / size) * step;
        // A number beyond what is written exactly (a step far out of
        // proportion to the size) keeps the lines.
        if (!(std::abs(exact) < 1e15))
            return false;
        long long& n = (*units)[i];
        const long long nearest = Nearest(exact);
        if (after > kLeastGlyphMove && std::abs(exact - double(nearest)) < 1e-9)
            n = nearest;
        else
            n = Ceiling(exact - kLeastGlyphMove / stepMove) - 1;
        after += (exact - double(n)) * stepMove;
        if (after > kMostGlyphMove)
            return false;
    }
    return true;
}

}  // namespace

bool WriteGlyphString(std::string_view lines, const int32_t* widths, size_t count, double size, std::string* out)
{
    thread_local std::vector<GlyphLine> read;
    thread_local std::vector<long long> units;
    read.clear();
    if (count < 2 || !(size > 0) || !ReadGlyphLines(lines, &read) || read.size() != count)
        return false;
    for (size_t i = 1; i < count; ++i)
        if (read[i].dy != 0)
            return false;
    units.resize(count);
    // No fewer places than keep a glyph within reach of its place.
    int places = 0;
    const auto reach = [size](int p) { return size / 1000 / double(kPdfTens[size_t(p)]); };
    while (reach(places) > kMostGlyphMove || !Adjust(read, widths, size, places, &units))
        if (++places > kMostAdjustmentPlaces)
            return false;
    // Written into room made once and kept for the thread's next run (the
    // codes take no more than the lines did), rather than appended a few
    // bytes at a time; then appended at once, so that `out` takes no more
    // room than it holds.
    thread_local std::string room;
    room.resize(lines.size() + count * kMostAdjustment + 8);
    const size_t head = lines.find('<');
    char* to = room.data();
    const auto copy = [&to](std::string_view text) {
        std::memcpy(to, text.data(), text.size());
        to += text.size();
    };
    copy(lines.substr(0, head));
    copy("[<");
    copy(read[0].code);
    for (size_t i = 1; i < count; ++i) {
        if (units[i] != 0) {
            *to++ = '>';
            to = WriteAdjustment(to, units[i], places);
            *to++ = '<';
        }
        copy(read[i].code);
    }
    copy(">]TJ\n");
    out->append(room.data(), size_t(to - room.data()));
    return true;
}
