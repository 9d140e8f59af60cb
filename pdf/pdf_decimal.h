// Numbers as a page's content writes them, read exactly (a whole number
// of the file's structure, a decimal, a decimal to hundredths, a double)
// and decimals written as short as they go. No pass scans signs, digits or
// points itself.
#pragma once

#include <array>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <system_error>

inline bool PdfIsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// A number as written: `units` / 10^`places`, exactly.
struct PdfDecimal {
    long long units = 0;
    int places = 0;
};

// No more digits than these are read exactly: their units are a double
// exactly, and stay within 64 bits at two more places less an origin below
// a billion. Arithmetic that takes them to more places asks PdfUnitsAt.
constexpr int kPdfMostDigits = 15;

// The digits of the number from `p` to `end`, its sign, whole part and,
// after a point, its places, read in one pass: `first` is told each digit
// of the whole part and `place` each digit after the point with its index.
// False unless that is all it is, with at least one digit, at most
// kPdfMostDigits digits and `mostPlaces` places. A number too long is
// still read to its end: what the digits made of it is then not used.
template <typename Whole, typename Place>
inline bool PdfReadDigits(const char* p, const char* const end, int mostPlaces, bool* negative, int* places,
                          Whole whole, Place place)
{
    *negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    const char* const wholeAt = p;
    while (p < end && PdfIsDigit(*p))
        whole(static_cast<unsigned char>(*p++ - '0'));
    const int wholeDigits = int(p - wholeAt);
    int read = 0;
    if (p < end && *p == '.') {
        const char* const partAt = ++p;
        while (p < end && PdfIsDigit(*p)) {
            place(int(p - partAt), static_cast<unsigned char>(*p - '0'));
            ++p;
        }
        read = int(p - partAt);
    }
    *places = read;
    return p == end && wholeDigits + read >= 1 && wholeDigits + read <= kPdfMostDigits && read <= mostPlaces;
}

// The number from `p` to `end`; false unless it is all a sign, a point and
// at most `mostPlaces` places and kPdfMostDigits digits.
inline bool PdfReadDecimal(const char* p, const char* const end, int mostPlaces, PdfDecimal* out)
{
    // Unsigned, so that the digits of a number too long to be read wrap
    // rather than overflow before it is turned down.
    unsigned long long units = 0;
    bool negative = false;
    int places = 0;
    const auto digit = [&units](unsigned d) { units = units * 10 + d; };
    if (!PdfReadDigits(p, end, mostPlaces, &negative, &places, digit, [&digit](int, unsigned d) { digit(d); }))
        return false;
    const long long value = static_cast<long long>(units);
    out->units = negative ? -value : value;
    out->places = places;
    return true;
}

// The number from `p` to `end` to the nearest hundredth, in hundredths:
// a half goes away from zero, whatever follows it. `places` says how many
// it was written with; false as PdfReadDecimal.
//
// Its own loops rather than PdfReadDigits': most numbers read so are the
// points of outlines, written with nine places of which only three count,
// and the places past the third are then only passed.
inline bool PdfReadHundredths(const char* p, const char* const end, int mostPlaces, long long* hundredths,
                              int* places)
{
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    // Unsigned, so that the digits of a number too long to be read wrap
    // rather than overflow before it is turned down.
    unsigned long long h = 0;
    const char* const wholeAt = p;
    while (p < end && PdfIsDigit(*p))
        h = h * 10 + static_cast<unsigned char>(*p++ - '0');
    const int wholeDigits = int(p - wholeAt);
    int read = 0;
    bool up = false;
    if (p < end && *p == '.') {
        const char* const partAt = ++p;
        if (p < end && PdfIsDigit(*p)) {
            h = h * 10 + static_cast<unsigned char>(*p++ - '0');
            if (p < end && PdfIsDigit(*p)) {
                h = h * 10 + static_cast<unsigned char>(*p++ - '0');
                if (p < end && PdfIsDigit(*p)) {
                    up = *p++ >= '5';
                    while (p < end && PdfIsDigit(*p))
                        ++p;
                }
            }
        }
        read = int(p - partAt);
    }
    *places = read;
    if (p != end || wholeDigits + read < 1 || wholeDigits + read > kPdfMostDigits || read > mostPlaces)
        return false;
    for (int k = read; k < 2; ++k)
        h *= 10;
    if (up)
        ++h;
    *hundredths = negative ? -static_cast<long long>(h) : static_cast<long long>(h);
    return true;
}

// Powers of ten, to the most digits read.
inline constexpr std::array<long long, 16> kPdfTens = [] {
    std::array<long long, 16> tens{};
    long long t = 1;
    for (long long& v : tens) {
        v = t;
        t *= 10;
    }
    return tens;
}();

// `d`'s units at `places` (no fewer than its own); false where they would
// not fit in 64 bits, as a page's 15 digits at 9 more places would not.
inline bool PdfUnitsAt(const PdfDecimal& d, int places, long long* units)
{
    return !__builtin_mul_overflow(d.units, kPdfTens[size_t(places - d.places)], units);
}

// `a` + `b` (`b` taken away where `minus`), exactly, with no trailing zero
// places; false where it would not fit in 64 bits. The sum is never the
// least 64-bit number, so its negative is one too.
inline bool PdfAddDecimals(const PdfDecimal& a, const PdfDecimal& b, bool minus, PdfDecimal* sum)
{
    const int places = a.places > b.places ? a.places : b.places;
    long long x = 0, y = 0, units = 0;
    if (!PdfUnitsAt(a, places, &x) || !PdfUnitsAt(b, places, &y) ||
        (minus ? __builtin_sub_overflow(x, y, &units) : __builtin_add_overflow(x, y, &units)) ||
        units == INT64_MIN)
        return false;
    *sum = {units, places};
    while (sum->places > 0 && sum->units % 10 == 0)
        sum->units /= 10, --sum->places;
    return true;
}

// The length of the run of digits the eight bytes of `word` begin with,
// the first byte the lowest.
inline int PdfDigitRun(uint64_t word)
{
    constexpr uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ULL;
    constexpr uint64_t kZeros = 0x3030303030303030ULL;
    // A digit is 0x30 to 0x39: its high half 3, and still 3 with 6 added.
    // A carry out of a byte comes only from one that is no digit, and
    // moves only bytes after it.
    const uint64_t other = ((word & kHigh) ^ kZeros) | (((word + 0x0606060606060606ULL) & kHigh) ^ kZeros);
    return other == 0 ? 8 : std::countr_zero(other) >> 3;
}

// The first `n` (1 to 8) digits of `word`, as a number.
inline uint64_t PdfDigitsValue(uint64_t word, int n)
{
    uint64_t v = (word - 0x3030303030303030ULL) << (8 * (8 - n));
    v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFULL;
    v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFFULL;
    return (v * 10000 + (v >> 32)) & 0xFFFFFFFFULL;
}

// A number that starts at `from` and ends at the first byte that cannot
// be part of it, to the nearest hundredth as PdfReadHundredths reads it,
// eight digits at a time: the points of outlines, read by the million.
// Where it ends is returned. Null where 16 bytes from it cannot be read
// (up to `readable`), where there are more than seven digits before the
// point, where it ends at `readable`, or where PdfReadHundredths would
// find no number; the caller then reads it with PdfReadHundredths.
[[gnu::always_inline]] inline const char* PdfReadHundredthsAt(const char* const from, const char* const readable,
                                                              int mostPlaces, long long* hundredths,
                                                              int* places = nullptr)
{
    const char* p = from + (*from == '-' || *from == '+');
    if (readable - p < 16 || std::endian::native != std::endian::little)
        return nullptr;
    uint64_t word;
    std::memcpy(&word, p, 8);
    const int wholeDigits = PdfDigitRun(word);
    if (wholeDigits == 8)
        return nullptr;
    uint64_t h = wholeDigits == 0 ? 0 : PdfDigitsValue(word, wholeDigits) * 100;
    p += wholeDigits;
    int read = 0;
    if (*p == '.') {
        ++p;
        std::memcpy(&word, p, 8);
        read = PdfDigitRun(word);
        if (read == 8) {
            const char* q = p + 8;
            while (q < readable && PdfIsDigit(*q))
                ++q;
            read = int(q - p);
            if (read > mostPlaces || wholeDigits + read > kPdfMostDigits)
                return nullptr;
        }
        const auto digit = [word](int k) { return (word >> (8 * k)) & 0xF; };
        if (read >= 1)
            h += digit(0) * 10;
        if (read >= 2)
            h += digit(1);
        if (read >= 3 && digit(2) >= 5)
            ++h;
        p += read;
    }
    // The byte at the end is looked at by the caller.
    if (wholeDigits + read < 1 || p == readable)
        return nullptr;
    *hundredths = *from == '-' ? -static_cast<long long>(h) : static_cast<long long>(h);
    if (places)
        *places = read;
    return p;
}

// A number as a double, for matrices; false for one that is not all a
// sign, digits and a point.
inline bool PdfReadReal(std::string_view t, double* v)
{
    if (t.empty())
        return false;
    const char* p = t.data() + (t[0] == '+');
    const char* const end = t.data() + t.size();
    // Up to kPdfMostDigits digits, the digits as a whole number and the
    // power of ten they are divided by are both doubles exactly, so their
    // quotient is the double nearest the number: what the library's reading
    // gives, without its cost on each of a matrix's numbers.
    const char* const from = p;
    const bool negative = p < end && *p == '-';
    p += negative;
    uint64_t units = 0;
    int digits = 0, places = -1;
    for (; p < end; ++p) {
        if (PdfIsDigit(*p)) {
            units = units * 10 + static_cast<unsigned char>(*p - '0');
            ++digits;
            places += places >= 0;
        } else if (*p == '.' && places < 0) {
            places = 0;
        } else {
            break;
        }
    }
    if (p == end && digits >= 1 && digits <= kPdfMostDigits) {
        const double magnitude = double(units) / double(kPdfTens[size_t(places < 0 ? 0 : places)]);
        *v = negative ? -magnitude : magnitude;
        return true;
    }
    const auto read = std::from_chars(from, end, *v, std::chars_format::fixed);
    return read.ec == std::errc() && read.ptr == end;
}

// The whole number of the file's structure (an object's number, a length,
// an offset) written at `at`, of at most 18 digits, and where it ends; -1
// for none.
inline long long PdfWholeAt(std::string_view s, size_t at, size_t* end)
{
    size_t i = at;
    long long v = 0;
    while (i < s.size() && PdfIsDigit(s[i]) && i - at < 18)
        v = v * 10 + (s[i++] - '0');
    *end = i;
    return i == at ? -1 : v;
}

// The digits of 0 to 99, two by two.
inline constexpr std::array<char, 200> kPdfPairs = [] {
    std::array<char, 200> pairs{};
    for (int v = 0; v < 100; ++v) {
        pairs[size_t(2 * v)] = char('0' + v / 10);
        pairs[size_t(2 * v + 1)] = char('0' + v % 10);
    }
    return pairs;
}();

inline char* PdfWritePair(char* to, unsigned long long v)
{
    std::memcpy(to, &kPdfPairs[size_t(2 * v)], 2);
    return to + 2;
}

// A whole number; most on a page have four digits or fewer.
inline char* PdfWriteWhole(char* to, unsigned long long v)
{
    if (v < 10) {
        *to = char('0' + v);
        return to + 1;
    }
    if (v < 100)
        return PdfWritePair(to, v);
    if (v < 1000) {
        *to = char('0' + v / 100);
        return PdfWritePair(to + 1, v % 100);
    }
    if (v < 10000)
        return PdfWritePair(PdfWritePair(to, v / 100), v % 100);
    return std::to_chars(to, to + 24, v).ptr;
}

// `units` / 10^`places` written, as short as it goes: no trailing zeros after the
// point, no point without places, "0" rather than "-0". Returns the end.
inline char* PdfWriteDecimal(char* to, long long units, int places)
{
    const bool negative = units < 0;
    const unsigned long long u = negative ? 0ULL - static_cast<unsigned long long>(units) : units;
    if (negative && u != 0)
        *to++ = '-';
    // Most numbers written are hundredths: a divisor known when compiling
    // costs a fraction of one known only when running.
    if (places == 2) {
        to = PdfWriteWhole(to, u / 100);
        const unsigned long long part = u % 100;
        if (part == 0)
            return to;
        *to++ = '.';
        if (part % 10 == 0) {
            *to = char('0' + part / 10);
            return to + 1;
        }
        return PdfWritePair(to, part);
    }
    const unsigned long long step = static_cast<unsigned long long>(kPdfTens[size_t(places)]);
    to = PdfWriteWhole(to, u / step);
    unsigned long long part = u % step;
    if (part == 0)
        return to;
    int kept = places;
    while (part % 10 == 0) {
        part /= 10;
        --kept;
    }
    *to++ = '.';
    for (int k = kept - 1; k >= 0; --k) {
        to[k] = char('0' + part % 10);
        part /= 10;
    }
    return to + kept;
}
