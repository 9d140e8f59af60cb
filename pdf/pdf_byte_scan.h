// Scans over a page's content a block of bytes at a time: its line
// breaks, and the end of a run of number bytes or hexadecimal digits.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
