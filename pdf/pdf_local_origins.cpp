#include "pdf/pdf_local_origins.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "pdf/pdf_lexis.h"

namespace {

// The engine writes nine significant digits at most; a number with more
// places, or more digits, than these is left to a part that keeps its
// content. Within them, and with an origin below a billion units, every
// sum below stays inside 64 bits.
constexpr int kMostPlaces = 9;
constexpr int kMostDigits = 15;
constexpr long long kMostOriginHundredths = 100'000'000'000LL;

// The farthest a point of an outline may move on the page, in points
// (1/72 in), and the farthest rounding to hundredths moves a number.
constexpr double kMaxMovePoints = 0.001;
constexpr double kRoundingMove = 0.005;

constexpr std::array<long long, 16> kTens = [] {
    std::array<long long, 16> tens{};
    long long t = 1;
    for (long long& v : tens) {
        v = t;
        t *= 10;
    }
    return tens;
}();

// A number as written: `units` / 10^`places`, exactly.
struct Decimal {
    long long units = 0;
    int places = 0;
};

// The number written from `p` to `end`; false unless it is all a sign, a
// point and the most digits (every sum below then stays within 64 bits).
bool ReadDecimal(const char* p, const char* const end, Decimal* d)
{
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    const char* const wholeFrom = p;
    unsigned long long units = 0;
    while (p < end && static_cast<unsigned char>(*p - '0') < 10)
        units = units * 10 + static_cast<unsigned char>(*p++ - '0');
    int digits = int(p - wholeFrom), places = 0;
    if (p < end && *p == '.') {
        const char* const partFrom = ++p;
        while (p < end && static_cast<unsigned char>(*p - '0') < 10)
            units = units * 10 + static_cast<unsigned char>(*p++ - '0');
        places = int(p - partFrom);
        digits += places;
    }
    if (p != end || digits < 1 || digits > kMostDigits || places > kMostPlaces)
        return false;
    const long long value = static_cast<long long>(units);
    d->units = negative ? -value : value;
    d->places = places;
    return true;
}

// The number written from `p` to `end` to the nearest hundredth (halves
// away from zero), in hundredths, and how many places it was written with;
// false as ReadDecimal. The digits past the third place only need to be
// digits: a number rounds away from zero when its third place is 5 or more.
bool ReadHundredths(const char* p, const char* const end, long long* hundredths, int* places)
{
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    const char* const wholeFrom = p;
    unsigned long long whole = 0;
    while (p < end && static_cast<unsigned char>(*p - '0') < 10)
        whole = whole * 10 + static_cast<unsigned char>(*p++ - '0');
    int digits = int(p - wholeFrom), written = 0;
    unsigned part = 0;
    bool up = false;
    if (p < end && *p == '.') {
        const char* const partFrom = ++p;
        for (int k = 0; k < 3 && p < end && static_cast<unsigned char>(*p - '0') < 10; ++k, ++p) {
            if (k < 2)
                part = part * 10 + static_cast<unsigned char>(*p - '0');
            else
                up = *p >= '5';
        }
        if (p - partFrom == 1)
            part *= 10;
        while (p < end && static_cast<unsigned char>(*p - '0') < 10)
            ++p;
        written = int(p - partFrom);
        digits += written;
    }
    if (p != end || digits < 1 || digits > kMostDigits || written > kMostPlaces)
        return false;
    const long long h = static_cast<long long>(whole * 100 + part + (up ? 1 : 0));
    *hundredths = negative ? -h : h;
    *places = written;
    return true;
}

// The digits of 0 to 99, two by two.
constexpr std::array<char, 200> kPairs = [] {
    std::array<char, 200> pairs{};
    for (int v = 0; v < 100; ++v) {
        pairs[size_t(2 * v)] = char('0' + v / 10);
        pairs[size_t(2 * v + 1)] = char('0' + v % 10);
    }
    return pairs;
}();

char* WritePair(char* to, unsigned long long v)
{
    std::memcpy(to, &kPairs[size_t(2 * v)], 2);
    return to + 2;
}

// A whole number; most on a page have four digits or fewer.
char* WriteWhole(char* to, unsigned long long v)
{
    if (v < 10) {
        *to = char('0' + v);
        return to + 1;
    }
    if (v < 100)
        return WritePair(to, v);
    if (v < 1000) {
        *to = char('0' + v / 100);
        return WritePair(to + 1, v % 100);
    }
    if (v < 10000)
        return WritePair(WritePair(to, v / 100), v % 100);
    return std::to_chars(to, to + 24, v).ptr;
}

// `units` / 10^`places`, as short as it goes: no trailing zeros after the
// point, no point without places, "0" rather than "-0". Returns the end.
char* WriteDecimal(char* to, long long units, int places)
{
    const bool negative = units < 0;
    const unsigned long long u = negative ? 0ULL - static_cast<unsigned long long>(units) : units;
    if (negative && u != 0)
        *to++ = '-';
    // Most numbers written are hundredths: a divisor known when compiling
    // costs a fraction of one known only when running.
    if (places == 2) {
        to = WriteWhole(to, u / 100);
        const unsigned long long part = u % 100;
        if (part == 0)
            return to;
        *to++ = '.';
        if (part % 10 == 0) {
            *to = char('0' + part / 10);
            return to + 1;
        }
        return WritePair(to, part);
    }
    const unsigned long long step = static_cast<unsigned long long>(kTens[size_t(places)]);
    to = WriteWhole(to, u / step);
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

// The most WriteDecimal writes.
constexpr qsizetype kMostDecimal = 48;
// The most bytes between two numbers copied with them; the room kept for
// them takes a block of 16 written past a number too.
constexpr qsizetype kMostBetween = 16 + 17;

// The number less `hundredths` / 100, exactly. Returns the end.
char* WriteLess(char* to, const Decimal& d, long long hundredths)
{
    const int places = std::max(d.places, 2);
    const long long units = d.units * kTens[size_t(places - d.places)];
    return WriteDecimal(to, units - hundredths * kTens[size_t(places - 2)], places);
}

// The content written anew, into room made ahead: most of it goes a few
// bytes at a time.
class Output {
public:
    explicit Output(qsizetype expected)
    {
        bytes_.resize(expected);
        data_ = bytes_.data();
    }
    char* room(qsizetype n)
    {
        if (bytes_.size() - size_ < n) {
            bytes_.resize(std::max(bytes_.size() * 2, size_ + n));
            data_ = bytes_.data();
        }
        return data_ + size_;
    }
    void append(const char* from, qsizetype n)
    {
        std::memcpy(room(n), from, size_t(n));
        size_ += n;
    }
    // `n` bytes from `from`, where `readable` bytes may be read: most are
    // the few between two numbers, copied as one block of kBlock.
    void append(const char* from, qsizetype n, qsizetype readable)
    {
        char* to = room(std::max(n, kBlock));
        if (n <= kBlock && readable >= kBlock)
            std::memcpy(to, from, size_t(kBlock));
        else
            std::memcpy(to, from, size_t(n));
        size_ += n;
    }
    void advanceTo(const char* end) { size_ = end - data_; }
    qsizetype size() const { return size_; }
    const char* constData() const { return data_; }
    void truncate(qsizetype n) { size_ = std::min(size_, n); }
    void remove(qsizetype from, qsizetype n)
    {
        std::memmove(data_ + from, data_ + from + n, size_t(size_ - from - n));
        size_ -= n;
    }
    QByteArray take()
    {
        bytes_.truncate(size_);
        return std::move(bytes_);
    }

    static constexpr qsizetype kBlock = 16;

private:
    QByteArray bytes_;
    // The bytes' own, taken once each time they grow: QByteArray's data()
    // asks each time whether it is shared.
    char* data_ = nullptr;
    qsizetype size_ = 0;
};

// A part's origin: the first point drawn in it, cut to hundredths.
bool OriginOf(const Decimal& d, long long* hundredths)
{
    const long long h = d.places <= 2 ? d.units * kTens[size_t(2 - d.places)] : d.units / kTens[size_t(d.places - 2)];
    if (h <= -kMostOriginHundredths || h >= kMostOriginHundredths)
        return false;
    *hundredths = h;
    return true;
}

// What an operator does with the points and places of the user space.
enum class Op {
    kSave,         // q
    kRestore,      // Q
    kPoints2,      // m l: a point
    kPoints4,      // v y: two points
    kPoints6,      // c: three points
    kRect,         // re: a corner, then a size
    kMatrix,       // cm
    kTextBegin,    // BT
    kTextEnd,      // ET
    kTextMatrix,   // Tm
    kTextPlace,    // a text operator placing or showing text from the text matrix
    kPaintAt,      // sh, Do: paints in the user space as it stands
    kInline,       // BI ID EI: binary data follows
    kGlyph,        // d0 d1: only in a glyph's own description
    kOther,        // colours, lines, painting, clipping, text state, marks: no place in them
    kUnknown,
};

// The operator's bytes as one number, the first in the lowest byte.
constexpr uint32_t OpKey(const char* t)
{
    uint32_t key = 0;
    for (int i = 0; t[i] != 0; ++i)
        key |= uint32_t(uint8_t(t[i])) << (8 * i);
    return key;
}

// The operator of at most three bytes whose key (OpKey) is `key`.
Op OpOfKey(uint32_t key)
{
    switch (key) {
    case OpKey("q"): return Op::kSave;
    case OpKey("Q"): return Op::kRestore;
    case OpKey("m"):
    case OpKey("l"): return Op::kPoints2;
    case OpKey("v"):
    case OpKey("y"): return Op::kPoints4;
    case OpKey("c"): return Op::kPoints6;
    case OpKey("re"): return Op::kRect;
    case OpKey("cm"): return Op::kMatrix;
    case OpKey("BT"): return Op::kTextBegin;
    case OpKey("ET"): return Op::kTextEnd;
    case OpKey("Tm"): return Op::kTextMatrix;
    case OpKey("Td"):
    case OpKey("TD"):
    case OpKey("T*"):
    case OpKey("Tj"):
    case OpKey("TJ"):
    case OpKey("'"):
    case OpKey("\""): return Op::kTextPlace;
    case OpKey("sh"):
    case OpKey("Do"): return Op::kPaintAt;
    case OpKey("BI"):
    case OpKey("ID"):
    case OpKey("EI"): return Op::kInline;
    case OpKey("d0"):
    case OpKey("d1"): return Op::kGlyph;
    case OpKey("f"):
    case OpKey("F"):
    case OpKey("f*"):
    case OpKey("sc"):
    case OpKey("scn"):
    case OpKey("g"):
    case OpKey("rg"):
    case OpKey("k"):
    case OpKey("cs"):
    case OpKey("CS"):
    case OpKey("SC"):
    case OpKey("SCN"):
    case OpKey("G"):
    case OpKey("RG"):
    case OpKey("K"):
    case OpKey("gs"):
    case OpKey("h"):
    case OpKey("w"):
    case OpKey("J"):
    case OpKey("j"):
    case OpKey("M"):
    case OpKey("d"):
    case OpKey("i"):
    case OpKey("ri"):
    case OpKey("S"):
    case OpKey("s"):
    case OpKey("B"):
    case OpKey("B*"):
    case OpKey("b"):
    case OpKey("b*"):
    case OpKey("n"):
    case OpKey("W"):
    case OpKey("W*"):
    case OpKey("Tc"):
    case OpKey("Tw"):
    case OpKey("Tz"):
    case OpKey("TL"):
    case OpKey("Tf"):
    case OpKey("Tr"):
    case OpKey("Ts"):
    case OpKey("MP"):
    case OpKey("DP"):
    case OpKey("BX"):
    case OpKey("EX"):
    case OpKey("BMC"):
    case OpKey("BDC"):
    case OpKey("EMC"): return Op::kOther;
    default: return Op::kUnknown;
    }
}

// The bytes of a number Qt writes (digits, a sign, a point), and of a
// glyph's hexadecimal code.
inline constexpr std::array<bool, 256> kNumberBytes = [] {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 256; ++c)
        bytes[size_t(c)] = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+';
    return bytes;
}();
inline constexpr std::array<bool, 256> kHexBytes = [] {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 256; ++c)
        bytes[size_t(c)] = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    return bytes;
}();

// Past the lines "dx dy Td <glyph> Tj" from `p` on, as Qt's PDF engine
// writes each glyph of a run of text: to the line break after the last.
// The steps are not read, only passed.
const char* SkipGlyphLines(const char* p, const char* const end)
{
    const auto run = [end](const char* q, const std::array<bool, 256>& bytes) {
        const char* const from = q;
        while (q < end && bytes[static_cast<unsigned char>(*q)])
            ++q;
        return q == from ? nullptr : q;
    };
    const auto text = [end](const char* q, std::string_view t) {
        return size_t(end - q) >= t.size() && std::memcmp(q, t.data(), t.size()) == 0 ? q + t.size() : nullptr;
    };
    const char* passed = p;
    for (;;) {
        const char* q = run(p, kNumberBytes);
        if (!q || q == end || *q != ' ' || !(q = run(q + 1, kNumberBytes)) || !(q = text(q, " Td <")) || !(q = run(q, kHexBytes)) ||
            !(q = text(q, "> Tj\n")))
            return passed;
        passed = p = q;
    }
}

// What a byte begins, for the loop that reads a page: a number (a digit,
// a sign or a point), an operator, a comment or another delimiter.
enum class Scan : unsigned char { kSpace, kNumber, kWord, kComment, kDelimiter };

inline constexpr std::array<Scan, 256> kScanOf = [] {
    std::array<Scan, 256> scan{};
    for (int c = 0; c < 256; ++c) {
        const PdfByte kind = kPdfBytes[size_t(c)];
        scan[size_t(c)] = kind == PdfByte::kSpace                                          ? Scan::kSpace
                          : c == '%'                                                       ? Scan::kComment
                          : kind == PdfByte::kDelimiter                                    ? Scan::kDelimiter
                          : (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' ? Scan::kNumber
                                                                                           : Scan::kWord;
    }
    return scan;
}();

class Localiser {
public:
    explicit Localiser(const QByteArray& in)
        : in_(in.constData(), size_t(in.size())), out_(in.size() + in.size() / 8 + 256)
    {
        levels_.push_back({});
    }

    // False for a page that must stay as it is.
    bool run()
    {
        const char* const s = in_.data();
        const char* const end = s + in_.size();
        const char* p = s;
        while (p < end) {
            const char c = *p;
            switch (kScanOf[static_cast<unsigned char>(c)]) {
            case Scan::kSpace:
                do
                    ++p;
                while (p < end && PdfByteClass(*p) == PdfByte::kSpace);
                continue;
            case Scan::kNumber: {
                // Text already placed, or not moved, shows glyph after glyph
                // as Qt writes it, a line each: nothing in those lines moves.
                if (count_ == 0 && !other_ && nest_ == 0 && inText_ && (textPlaced_ || !textMoved_)) {
                    const char* const after = SkipGlyphLines(p, end);
                    if (after != p) {
                        p = after;
                        continue;
                    }
                }
                // Read only when its operator moves it: most numbers are
                // colours, sizes and the steps of text.
                const char* const from = p;
                do
                    ++p;
                while (p < end && PdfByteClass(*p) == PdfByte::kRegular);
                if (nest_ > 0)
                    continue;  // within an array or a dictionary
                noteOperand(from - s);
                if (count_ < kMostOperands)
                    operands_[count_] = {from - s, p - from};
                ++count_;
                continue;
            }
            case Scan::kWord: {
                const char* const from = p;
                uint32_t key = 0;
                int shift = 0;
                while (p < end && PdfByteClass(*p) == PdfByte::kRegular) {
                    if (shift < 32)
                        key |= uint32_t(uint8_t(*p)) << shift;
                    shift += 8;
                    ++p;
                }
                if (nest_ > 0)
                    continue;
                const Op kind = shift <= 24 ? OpOfKey(key) : Op::kUnknown;
                // Most operators of a page choose colours and states, or
                // show text once it is placed: nothing in them moves.
                if (kind != Op::kOther && !(kind == Op::kTextPlace && (textPlaced_ || !textMoved_ || !inText_))) {
                    qsizetype i = p - s;
                    if (!place(kind, from - s, &i))
                        return false;
                    p = s + i;
                }
                count_ = 0;
                other_ = false;
                operandsAt_ = -1;
                continue;
            }
            case Scan::kComment:
                while (p < end && *p != '\n' && *p != '\r')
                    ++p;
                continue;
            case Scan::kDelimiter:
                break;
            }
            // A delimiter: an operand other than a number.
            const qsizetype at = p - s;
            if (nest_ == 0)
                noteOperand(at);
            other_ = true;
            if (c == '(') {
                qsizetype i = at;
                if (!skipString(&i))
                    return false;
                p = s + i;
            } else if (c == ')') {
                return false;
            } else if (c == '<' && p + 1 < end && p[1] == '<') {
                ++nest_;
                p += 2;
            } else if (c == '>' && p + 1 < end && p[1] == '>') {
                nest_ = std::max(nest_ - 1, 0);
                p += 2;
            } else if (c == '<') {
                while (p < end && *p != '>')
                    ++p;
                if (p == end)
                    return false;
                ++p;
            } else if (c == '[' || c == '{') {
                ++nest_;
                ++p;
            } else if (c == ']' || c == '}') {
                nest_ = std::max(nest_ - 1, 0);
                ++p;
            } else if (c == '/') {
                ++p;
                while (p < end && PdfByteClass(*p) == PdfByte::kRegular)
                    ++p;
            } else {
                ++p;
            }
        }
        keepUpTo(qsizetype(in_.size()));
        return true;
    }

    QByteArray take() { return out_.take(); }

private:
    // Each level of q ... Q: whether its points are drawn from the part's
    // origin, and whether a matrix set in it has left the part's space
    // (its points then stay as they are).
    // And how much larger than the page's unit its unit is drawn (the
    // matrices' scale): where half a hundredth of it is no more than
    // kMaxMovePoints on the page, an outline's points are written to the
    // nearest hundredth.
    struct Level {
        bool moved = false;
        bool fixed = false;
        bool fine = false;
        double scale = 1.0;
    };
    // A number before the operator, where it is written.
    struct Operand {
        qsizetype at = 0;
        qsizetype size = 0;
        std::string_view text(const char* s) const { return {s + at, size_t(size)}; }
    };
    // No operator followed here takes more numbers than a matrix; past
    // these they are only counted.
    static constexpr size_t kMostOperands = 8;
    // Where a part at the outermost level begins: the content from there
    // is read again, as it is, should the part not be followed.
    struct Start {
        qsizetype at = 0;
        qsizetype written = 0;
    };

    void noteOperand(qsizetype at)
    {
        if (operandsAt_ < 0)
            operandsAt_ = at;
    }

    void keepUpTo(qsizetype to)
    {
        if (to > kept_) {
            out_.append(in_.data() + kept_, to - kept_, qsizetype(in_.size()) - kept_);
            kept_ = to;
        }
    }

    bool skipString(qsizetype* i)
    {
        const qsizetype n = qsizetype(in_.size());
        int depth = 0;
        for (qsizetype k = *i; k < n; ++k) {
            const char c = in_[size_t(k)];
            if (c == '\\') {
                ++k;
            } else if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth == 0) {
                *i = k + 1;
                return true;
            }
        }
        return false;
    }

    // The number `k` before the operator; false for one this does not follow.
    bool readOperand(size_t k, Decimal* d) const
    {
        const char* const from = in_.data() + operands_[k].at;
        return ReadDecimal(from, from + operands_[k].size, d);
    }

    // The number `k` before the operator less the origin along x or y,
    // exactly.
    bool moveNumber(size_t k, bool y)
    {
        const Operand& number = operands_[k];
        Decimal d;
        if (!readOperand(k, &d))
            return false;
        keepUpTo(number.at);
        out_.advanceTo(WriteLess(out_.room(kMostDecimal), d, y ? originY_ : originX_));
        kept_ = number.at + number.size;
        return true;
    }

    // The operator's `count` numbers, the points of an outline, less the
    // origin and to the nearest hundredth; a rectangle's size (its last two)
    // to the nearest hundredth. Most numbers a page moves go this way: each
    // is read, rounded and written in hundredths, and written out with what
    // comes between it and the next.
    bool movePoints(size_t count, bool rect)
    {
        const char* const s = in_.data();
        const char* const end = s + in_.size();
        // Most copies are a few bytes: one block of 16, where that many
        // may be read and written, costs less than a call to copy them.
        const auto copy = [end](const char* from, qsizetype n, char* to) {
            if (n <= 16 && end - from >= 16)
                std::memcpy(to, from, 16);
            else
                std::memcpy(to, from, size_t(n));
            return to + n;
        };
        keepUpTo(operands_[0].at);
        for (size_t k = 0; k < count; ++k) {
            const Operand& number = operands_[k];
            const char* const from = s + number.at;
            long long h = 0;
            int places = 0;
            if (!ReadHundredths(from, from + number.size, &h, &places))
                return false;
            char* to = out_.room(kMostDecimal + kMostBetween);
            if (rect && k >= 2) {
                if (places <= 2)
                    to = copy(from, number.size, to);
                else
                    to = WriteDecimal(to, h, 2);
            } else {
                to = WriteDecimal(to, h - (k % 2 == 1 ? originY_ : originX_), 2);
            }
            // What comes between two numbers: spaces, as a rule one.
            const qsizetype next = k + 1 < count ? operands_[k + 1].at : number.at + number.size;
            const qsizetype between = next - (number.at + number.size);
            if (between <= kMostBetween) {
                out_.advanceTo(copy(from + number.size, between, to));
            } else {
                out_.advanceTo(to);
                out_.append(from + number.size, between);
            }
        }
        kept_ = operands_[count - 1].at + operands_[count - 1].size;
        return true;
    }

    // The same where a hundredth would show: the points keep their digits,
    // a rectangle's size stays as it is.
    bool movePointsAsWritten(size_t count, bool rect)
    {
        for (size_t k = 0; k < (rect ? 2 : count); ++k)
            if (!moveNumber(k, k % 2 == 1))
                return false;
        return true;
    }

    // "`head`1 0 0 1 x y `tail`", with x, y the origin's or its opposite,
    // written in before the current operator's operands.
    void insertMove(std::string_view head, bool back, std::string_view tail, qsizetype opAt)
    {
        keepUpTo(operandsAt_ >= 0 ? operandsAt_ : opAt);
        char* to = out_.room(qsizetype(head.size() + tail.size()) + 2 * kMostDecimal + 16);
        to = std::copy(head.begin(), head.end(), to);
        to = std::copy_n("1 0 0 1 ", 8, to);
        to = WriteDecimal(to, back ? -originX_ : originX_, 2);
        *to++ = ' ';
        to = WriteDecimal(to, back ? -originY_ : originY_, 2);
        out_.advanceTo(std::copy(tail.begin(), tail.end(), to));
    }

    // From here on the part's points are drawn from its origin, which is
    // the first of them when it has none yet.
    bool begin(size_t count)
    {
        if (levels_.size() < 2 || skipping_ || inText_ || levels_.back().fixed || other_ ||
            count_ != count)
            return false;
        if (!hasOrigin_) {
            long long x = 0, y = 0;
            Decimal dx, dy;
            if (!readOperand(0, &dx) || !readOperand(1, &dy) || !OriginOf(dx, &x) || !OriginOf(dy, &y))
                return false;
            originX_ = x;
            originY_ = y;
            hasOrigin_ = true;
        }
        insertMove({}, false, " cm\n", operands_[0].at);
        levels_.back().moved = true;
        return true;
    }

    void rescale(Level* level) const
    {
        double m[4] = {0, 0, 0, 0};
        bool read = count_ == 6 && !other_;
        for (size_t k = 0; read && k < 4; ++k) {
            const std::string_view t = operands_[k].text(in_.data());
            const char* from = t.data() + (t[0] == '+');
            read = std::from_chars(from, t.data() + t.size(), m[k], std::chars_format::fixed).ec == std::errc();
        }
        level->scale *= read ? std::sqrt(std::fabs(m[0] * m[3] - m[1] * m[2])) : HUGE_VAL;
        level->fine = level->scale * kRoundingMove <= kMaxMovePoints;
    }

    // The part is read again from its start and kept as it was.
    void keepPart(qsizetype* i)
    {
        out_.truncate(start_.written);
        kept_ = start_.at;
        *i = start_.at;
        levels_.resize(2);
        levels_[1] = levels_[0];
        inText_ = false;
        skipping_ = true;
    }

    // The operator's points and places, drawn from the part's origin.
    bool place(Op kind, qsizetype opAt, qsizetype* i)
    {
        Level& level = levels_.back();
        switch (kind) {
        case Op::kSave:
            levels_.push_back(levels_.back());
            if (levels_.size() == 2) {
                keepUpTo(*i);
                start_ = {*i, out_.size()};
                skipping_ = false;
                hasOrigin_ = false;
            }
            break;
        case Op::kRestore:
            if (levels_.size() > 1)
                levels_.pop_back();
            break;
        case Op::kPoints2:
        case Op::kPoints4:
        case Op::kPoints6:
        case Op::kRect: {
            const bool rect = kind == Op::kRect;
            const size_t count = kind == Op::kPoints2 ? 2 : kind == Op::kPoints6 ? 6 : 4;
            if (!level.moved)
                begin(count);
            if (!level.moved)
                break;
            if (other_ || count_ != count) {
                keepPart(i);
                break;
            }
            if (!(level.fine ? movePoints(count, rect) : movePointsAsWritten(count, rect)))
                keepPart(i);
            break;
        }
        case Op::kMatrix:
            rescale(&level);
            if (level.moved && (other_ || count_ != 6 || !moveNumber(4, false) || !moveNumber(5, true))) {
                keepPart(i);
                break;
            }
            level.moved = false;
            if (levels_.size() > 1)
                level.fixed = true;
            break;
        case Op::kTextBegin:
            inText_ = true;
            textMoved_ = level.moved;
            textPlaced_ = false;
            break;
        case Op::kTextEnd:
            inText_ = false;
            break;
        case Op::kTextMatrix:
            if (inText_ && textMoved_) {
                if (other_ || count_ != 6 || !moveNumber(4, false) || !moveNumber(5, true)) {
                    keepPart(i);
                    break;
                }
                textPlaced_ = true;
            }
            break;
        case Op::kTextPlace:
            if (inText_ && textMoved_ && !textPlaced_) {
                insertMove({}, true, " Tm\n", opAt);
                textPlaced_ = true;
            }
            break;
        case Op::kPaintAt:
            if (level.moved) {
                insertMove("q ", true, " cm\n", opAt);
                keepUpTo(*i);
                out_.append("\nQ", 2);
            }
            break;
        case Op::kInline:
            return false;
        case Op::kGlyph:
        case Op::kUnknown:
            if (level.moved || (inText_ && textMoved_))
                keepPart(i);
            break;
        case Op::kOther:
            break;
        }
        return true;
    }

    std::string_view in_;
    Output out_;
    // The content before kept_ is written; from it on it goes as it is.
    qsizetype kept_ = 0;
    std::vector<Level> levels_;
    std::array<Operand, kMostOperands> operands_;
    size_t count_ = 0;
    // Since the last operator: an operand other than a number, and where
    // the first operand of any kind began (-1 for none).
    bool other_ = false;
    qsizetype operandsAt_ = -1;
    int nest_ = 0;
    bool inText_ = false, textMoved_ = false, textPlaced_ = false;
    Start start_;
    bool skipping_ = false;
    bool hasOrigin_ = false;
    long long originX_ = 0, originY_ = 0;
};

}  // namespace

QByteArray DrawFromLocalOrigins(const QByteArray& content)
{
    Localiser localiser(content);
    if (!localiser.run())
        return content;
    return localiser.take();
}
