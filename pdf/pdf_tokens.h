// The one reader of PDF syntax the passes over a written PDF share: the
// tokens of a page's content (numbers, operators, names, strings, arrays
// and dictionaries), numbers read exactly as written (a whole number of
// the file's structure, a decimal, a decimal to hundredths) and decimals
// written as short as they go. Each pass decides what a token means; none
// scans signs, digits or points itself.
//
// Inline so that the passes, which read every byte of every printed page,
// keep their loops tight.
#pragma once

#include <array>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <system_error>

#include "pdf/pdf_lexis.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

enum class PdfToken : unsigned char {
    kNumber,      // digits, a sign, a point
    kOperator,    // a regular word that is not a number
    kName,        // /Name
    kString,      // ( ... ), escapes and nesting followed
    kHexString,   // < ... >
    kOpen,        // [ or {
    kClose,       // ] or }
    kDictOpen,    // <<
    kDictClose,   // >>
    kUnclosed,    // a string or a hexadecimal string that does not end
    kStray,       // ) or > alone
};

struct PdfTokenSpan {
    PdfToken kind = PdfToken::kOperator;
    const char* at = nullptr;
    size_t size = 0;
    std::string_view text() const { return {at, size}; }
};

// What a byte begins.
enum class PdfStart : unsigned char { kSpace, kNumber, kWord, kComment, kDelimiter };

inline constexpr std::array<PdfStart, 256> kPdfStarts = [] {
    std::array<PdfStart, 256> starts{};
    for (int c = 0; c < 256; ++c) {
        const PdfByte kind = kPdfBytes[size_t(c)];
        starts[size_t(c)] = kind == PdfByte::kSpace                                         ? PdfStart::kSpace
                            : c == '%'                                                      ? PdfStart::kComment
                            : kind == PdfByte::kDelimiter                                   ? PdfStart::kDelimiter
                            : (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' ? PdfStart::kNumber
                                                                                            : PdfStart::kWord;
    }
    return starts;
}();

inline PdfStart PdfStartOf(char c) { return kPdfStarts[static_cast<unsigned char>(c)]; }

// The tokens of content from a position on; comments and white space pass.
class PdfTokenizer {
public:
    PdfTokenizer(const char* begin, const char* end) : begin_(begin), p_(begin), end_(end) {}
    explicit PdfTokenizer(std::string_view s) : PdfTokenizer(s.data(), s.data() + s.size()) {}

    // Past white space and comments: where the next token begins.
    const char* skipSpace()
    {
        startOfNext();
        return p_;
    }

    // The next token; false at the end.
    bool next(PdfTokenSpan* t)
    {
        // What the first byte begins, as the spaces before were passed:
        // not looked up twice for each token.
        switch (startOfNext()) {
        case PdfStart::kSpace:
            return false;  // the end
        case PdfStart::kNumber:
            return word(PdfToken::kNumber, t);
        case PdfStart::kDelimiter:
            return delimited(t);
        default:
            return word(PdfToken::kOperator, t);
        }
    }

    const char* position() const { return p_; }
    size_t offset() const { return size_t(p_ - begin_); }
    void seek(const char* p) { p_ = p; }

private:
    // Past white space and comments; what the byte there begins, kSpace
    // at the end.
    PdfStart startOfNext()
    {
        while (p_ < end_) {
            const PdfStart start = PdfStartOf(*p_);
            if (start == PdfStart::kSpace) {
                ++p_;
            } else if (start == PdfStart::kComment) {
                while (p_ < end_ && *p_ != '\n' && *p_ != '\r')
                    ++p_;
            } else {
                return start;
            }
        }
        return PdfStart::kSpace;
    }

    bool word(PdfToken kind, PdfTokenSpan* t)
    {
        const char* const from = p_;
        const auto regular = [](char c) { return PdfByteClass(c) == PdfByte::kRegular; };
        // Four bytes at a time where four remain: the end is then asked
        // after once for them rather than once each.
        const char* p = p_ + 1;
        for (;;) {
            if (end_ - p < 4) {
                while (p < end_ && regular(*p))
                    ++p;
                break;
            }
            if (!regular(p[0]))
                break;
            if (!regular(p[1])) {
                p += 1;
                break;
            }
            if (!regular(p[2])) {
                p += 2;
                break;
            }
            if (!regular(p[3])) {
                p += 3;
                break;
            }
            p += 4;
        }
        p_ = p;
        *t = {kind, from, size_t(p_ - from)};
        return true;
    }

    bool delimited(PdfTokenSpan* t)
    {
        const char* const from = p_;
        const char c = *p_++;
        PdfToken kind = PdfToken::kStray;
        if (c == '(') {
            kind = PdfToken::kUnclosed;
            for (int depth = 1; p_ < end_; ++p_) {
                if (*p_ == '\\') {
                    if (++p_ == end_)
                        break;
                } else if (*p_ == '(') {
                    ++depth;
                } else if (*p_ == ')' && --depth == 0) {
                    ++p_;
                    kind = PdfToken::kString;
                    break;
                }
            }
        } else if (c == '<' && p_ < end_ && *p_ == '<') {
            ++p_;
            kind = PdfToken::kDictOpen;
        } else if (c == '>' && p_ < end_ && *p_ == '>') {
            ++p_;
            kind = PdfToken::kDictClose;
        } else if (c == '<') {
            while (p_ < end_ && *p_ != '>')
                ++p_;
            kind = p_ < end_ ? PdfToken::kHexString : PdfToken::kUnclosed;
            if (p_ < end_)
                ++p_;
        } else if (c == '[' || c == '{') {
            kind = PdfToken::kOpen;
        } else if (c == ']' || c == '}') {
            kind = PdfToken::kClose;
        } else if (c == '/') {
            while (p_ < end_ && PdfByteClass(*p_) == PdfByte::kRegular)
                ++p_;
            kind = PdfToken::kName;
        }
        *t = {kind, from, size_t(p_ - from)};
        return true;
    }

    const char* begin_;
    const char* p_;
    const char* end_;
};

// The scans below look at a block of bytes at once: most lines and numbers
// of a page are short, and looking at them byte by byte costs more than
// what is done with most of them. Sixteen bytes where SSE2 is (every
// x86-64); elsewhere eight, in a 64-bit word read little-endian, or one at
// a time.
#if defined(__SSE2__)
inline constexpr ptrdiff_t kPdfBlock = 16;
// Line breaks are looked for two blocks at a time: a block holds about one
// line, and the two blocks' bits are had for little more than one's.
inline constexpr ptrdiff_t kPdfLineBlock = 32;
inline constexpr bool kPdfBlocksRead = true;
// A byte's bit in a block's bits: the first byte's is the lowest.
inline constexpr int kPdfByteBitShift = 0;
using PdfBlockBits = uint32_t;

inline __m128i PdfLoadBlock(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// The line breaks among the kPdfLineBlock bytes at `p`.
inline PdfBlockBits PdfLineBreakBits(const char* p)
{
    const __m128i breaks = _mm_set1_epi8('\n');
    const auto low = PdfBlockBits(_mm_movemask_epi8(_mm_cmpeq_epi8(PdfLoadBlock(p), breaks)));
    const auto high = PdfBlockBits(_mm_movemask_epi8(_mm_cmpeq_epi8(PdfLoadBlock(p + kPdfBlock), breaks)));
    return low | high << kPdfBlock;
}

// The block's bytes at `p` from `low` to `high`, as all ones.
inline __m128i PdfBytesBetween(__m128i v, char low, char high)
{
    // Below `low` wraps to above `high - low` once `low` is taken away.
    const __m128i off = _mm_sub_epi8(v, _mm_set1_epi8(low));
    return _mm_cmpeq_epi8(_mm_min_epu8(off, _mm_set1_epi8(char(high - low))), off);
}

// The block's bytes at `p` that are no number's (digits, a sign, a point).
inline PdfBlockBits PdfNotNumberBits(const char* p)
{
    const __m128i v = PdfLoadBlock(p);
    // ',' and '/' are between '+' and '9' but in no number.
    const __m128i other = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(',')), _mm_cmpeq_epi8(v, _mm_set1_epi8('/')));
    return PdfBlockBits(_mm_movemask_epi8(_mm_andnot_si128(other, PdfBytesBetween(v, '+', '9')))) ^ 0xFFFFu;
}

// The block's bytes at `p` that are no hexadecimal digit's.
inline PdfBlockBits PdfNotHexBits(const char* p)
{
    const __m128i v = PdfLoadBlock(p);
    // A letter's case is its bit 0x20: set, both cases are one range.
    const __m128i letters = PdfBytesBetween(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 'f');
    return PdfBlockBits(_mm_movemask_epi8(_mm_or_si128(PdfBytesBetween(v, '0', '9'), letters))) ^ 0xFFFFu;
}
#else
inline constexpr ptrdiff_t kPdfBlock = 8;
inline constexpr ptrdiff_t kPdfLineBlock = kPdfBlock;
inline constexpr bool kPdfBlocksRead = std::endian::native == std::endian::little;
// A byte's bit is its top bit.
inline constexpr int kPdfByteBitShift = 3;
using PdfBlockBits = uint64_t;

inline PdfBlockBits PdfLineBreakBits(const char* p)
{
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    constexpr uint64_t kLow = kOnes * 0x7F;
    uint64_t word;
    std::memcpy(&word, p, 8);
    const uint64_t x = word ^ (kOnes * '\n');
    // A byte's top bit ends up set where any of its bits is: no carry
    // crosses from one byte to the next.
    return ~((((x & kLow) + kLow) | x) | kLow);
}
#endif

// The line breaks of content from a position on, one after the other.
class PdfLineBreaks {
public:
    PdfLineBreaks(const char* from, const char* end) : p_(from), end_(end) {}

    // The next line break; the end where none is left.
    const char* next()
    {
        while (breaks_ == 0) {
            if (!kPdfBlocksRead || end_ - p_ < kPdfLineBlock)
                return nextByByte();
            breaks_ = PdfLineBreakBits(p_);
            at_ = p_;
            p_ += kPdfLineBlock;
        }
        const char* const found = at_ + (std::countr_zero(breaks_) >> kPdfByteBitShift);
        breaks_ &= breaks_ - 1;
        return found;
    }

private:
    const char* nextByByte()
    {
        while (p_ < end_)
            if (*p_++ == '\n')
                return p_ - 1;
        return end_;
    }

    const char* p_;
    const char* end_;
    const char* at_ = nullptr;  // where the bytes of breaks_ begin
    PdfBlockBits breaks_ = 0;
};

// How many line breaks there are from `p` to `end`.
inline size_t PdfCountLineBreaks(const char* p, const char* const end)
{
    size_t count = 0;
    if (kPdfBlocksRead)
        for (; end - p >= kPdfLineBlock; p += kPdfLineBlock)
            // A break at a time, not std::popcount: without an instruction
            // for it in the baseline that is a call, and a block holds a
            // break or two.
            for (PdfBlockBits breaks = PdfLineBreakBits(p); breaks != 0; breaks &= breaks - 1)
                ++count;
    for (; p < end; ++p)
        count += *p == '\n';
    return count;
}

// ---- lines of glyphs ----

// The bytes of a number Qt writes (digits, a sign, a point), and of a
// glyph's hexadecimal code.
inline constexpr std::array<bool, 256> kPdfNumberBytes = [] {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 256; ++c)
        bytes[size_t(c)] = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+';
    return bytes;
}();
inline constexpr std::array<bool, 256> kPdfHexBytes = [] {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 256; ++c)
        bytes[size_t(c)] = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    return bytes;
}();

// Past the bytes of a number (`hex` false) or the hexadecimal digits from
// `p` on: where the first other byte is, or the end.
inline const char* PdfPastBytes(const char* p, const char* const end, bool hex)
{
#if defined(__SSE2__)
    for (; end - p >= kPdfBlock; p += kPdfBlock)
        if (const PdfBlockBits other = hex ? PdfNotHexBits(p) : PdfNotNumberBits(p))
            return p + std::countr_zero(other);
#endif
    const std::array<bool, 256>& bytes = hex ? kPdfHexBytes : kPdfNumberBytes;
    while (p < end && bytes[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

inline const char* PdfPastNumberBytes(const char* p, const char* const end) { return PdfPastBytes(p, end, false); }
inline const char* PdfPastHexBytes(const char* p, const char* const end) { return PdfPastBytes(p, end, true); }

// Past the lines "dx dy Td <glyph> Tj" from `p` on, as Qt's PDF engine
// writes each glyph of a run of text: to the line break after the last.
// The steps are not read, only passed.
inline const char* PdfSkipGlyphLines(const char* p, const char* const end)
{
    const auto numbers = [end](const char* q) {
        const char* const past = PdfPastNumberBytes(q, end);
        return past == q ? nullptr : past;
    };
    const auto hex = [end](const char* q) {
        const char* const past = PdfPastHexBytes(q, end);
        return past == q ? nullptr : past;
    };
    const auto text = [end](const char* q, std::string_view t) {
        return size_t(end - q) >= t.size() && std::memcmp(q, t.data(), t.size()) == 0 ? q + t.size() : nullptr;
    };
    const char* passed = p;
    for (;;) {
        const char* q = numbers(p);
        if (!q || q == end || *q != ' ' || !(q = numbers(q + 1)) || !(q = text(q, " Td <")) || !(q = hex(q)) ||
            !(q = text(q, "> Tj\n")))
            return passed;
        passed = p = q;
    }
}

// Past the lines "[<codes>n<codes>...]TJ", each maybe after "dx dy Td ", from
// `p` on, as a run of glyphs is written as one string
// (pdf_glyph_strings.h): to the line break after the last. Nothing in them
// is read, only passed.
inline const char* PdfSkipGlyphStrings(const char* p, const char* const end)
{
    const auto numberBytes = [end](const char* q) { return PdfPastNumberBytes(q, end); };
    const char* passed = p;
    for (;;) {
        const char* q = numberBytes(p);
        if (q != p) {
            // The move before the string.
            if (q == end || *q != ' ' || (q = numberBytes(q + 1)) == end || size_t(end - q) < 5 ||
                std::memcmp(q, " Td [", 5) != 0)
                return passed;
            q += 4;
        }
        if (q == end || *q++ != '[')
            return passed;
        for (;;) {
            if (q == end)
                return passed;
            if (*q == '<') {
                q = PdfPastHexBytes(q + 1, end);
                if (q == end || *q++ != '>')
                    return passed;
            } else if (*q == ']') {
                break;
            } else {
                const char* const number = q;
                q = numberBytes(q);
                if (q == number)
                    return passed;
            }
        }
        if (size_t(end - q) < 4 || std::memcmp(q, "]TJ\n", 4) != 0)
            return passed;
        passed = p = q + 4;
    }
}

// An operator of up to four bytes as one number, the first in the lowest
// byte: operators are told apart by a switch over these.
constexpr uint32_t PdfOpKey(const char* t)
{
    uint32_t key = 0;
    for (int i = 0; i < 4 && t[i] != 0; ++i)
        key |= uint32_t(uint8_t(t[i])) << (8 * i);
    return key;
}

// The key of an operator token; 0 for one of more than four bytes.
inline uint32_t PdfOperatorKey(const PdfTokenSpan& t)
{
    const auto byte = [&t](size_t i) { return uint32_t(uint8_t(t.at[i])) << (8 * i); };
    switch (t.size) {
    case 1: return byte(0);
    case 2: return byte(0) | byte(1);
    case 3: return byte(0) | byte(1) | byte(2);
    case 4: return byte(0) | byte(1) | byte(2) | byte(3);
    default: return 0;
    }
}

// What a pass makes of each operator it knows, found by the operator's key
// in a table hashed without collisions: a multiplication, a shift and one
// comparison, where a switch over the keys compares several times for
// each of the page's operators. `Info` of a key not given: `other`.
template <typename Info, size_t N>
class PdfOperatorTable {
public:
    struct Entry {
        uint32_t key;
        Info info;
    };

    consteval PdfOperatorTable(const std::array<Entry, N>& entries, Info other) : other_(other)
    {
        // The first multiplier that sends no two keys to one slot.
        for (uint32_t m = 0x9E3779B1u;; m += 0x3C6EF372u) {
            std::array<bool, kSlots> taken{};
            bool apart = true;
            for (const Entry& e : entries) {
                // A key of 0 is no operator's: an empty slot answers it.
                if (e.key == 0)
                    throw "an operator table's key is 0";
                bool& slot = taken[Slot(e.key, m)];
                apart = apart && !slot;
                slot = true;
            }
            if (!apart)
                continue;
            multiplier_ = m;
            break;
        }
        for (Entry& slot : slots_)
            slot = {0, other};
        for (const Entry& e : entries)
            slots_[Slot(e.key, multiplier_)] = e;
    }

    Info find(uint32_t key) const
    {
        const Entry& e = slots_[Slot(key, multiplier_)];
        return e.key == key ? e.info : other_;
    }

private:
    static constexpr int kBits = 9;
    static constexpr size_t kSlots = size_t(1) << kBits;
    static constexpr size_t Slot(uint32_t key, uint32_t m) { return size_t((key * m) >> (32 - kBits)); }

    std::array<Entry, kSlots> slots_{};
    uint32_t multiplier_ = 0;
    Info other_;
};

// ---- numbers as written ----

inline bool PdfIsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// A number as written: `units` / 10^`places`, exactly.
struct PdfDecimal {
    long long units = 0;
    int places = 0;
};

// No more digits than these are read exactly: every sum of two such
// numbers, moved by an origin below a billion, stays within 64 bits.
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
