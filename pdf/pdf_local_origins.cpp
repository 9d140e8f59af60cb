#include "pdf/pdf_local_origins.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "pdf/pdf_decimal.h"
#include "pdf/pdf_glyph_line_skips.h"
#include "pdf/pdf_operator_table.h"
#include "pdf/pdf_tokenizer.h"

namespace {

// The engine writes nine significant digits at most; a number with more
// places, or more digits, than these is left to a part that keeps its
// content. Within them, and with an origin below a billion units, every
// sum below stays inside 64 bits.
constexpr int kMostPlaces = 9;
constexpr long long kMostOriginHundredths = 100'000'000'000LL;

// The farthest a point of an outline may move on the page, in points
// (1/72 in), and the farthest rounding to hundredths moves a number.
constexpr double kMaxMovePoints = 0.001;
constexpr double kRoundingMove = 0.005;

using Decimal = PdfDecimal;

bool ReadDecimal(const char* p, const char* const end, Decimal* d) { return PdfReadDecimal(p, end, kMostPlaces, d); }

// A number from `from` on to the nearest hundredth, eight digits at a
// time; where it ends, null where it is left to PdfReadHundredths.
[[gnu::always_inline]] inline const char* ReadHundredthsAt(const char* const from, const char* const readable,
                                                           long long* hundredths, int* places = nullptr)
{
    return PdfReadHundredthsAt(from, readable, kMostPlaces, hundredths, places);
}

// A number that is all of `from` to `end` to the nearest hundredth: most
// eight digits at a time, the rest by PdfReadHundredths.
bool ReadHundredths(const char* const from, const char* const end, const char* const readable,
                    long long* hundredths, int* places)
{
    return ReadHundredthsAt(from, readable, hundredths, places) == end ||
           PdfReadHundredths(from, end, kMostPlaces, hundredths, places);
}

// The most PdfWriteDecimal writes.
constexpr qsizetype kMostDecimal = 48;
// The most bytes between two numbers copied with them; the room kept for
// them takes a block of 16 written past a number too.
constexpr qsizetype kMostBetween = 16 + 17;

// The number less `hundredths` / 100, exactly. Returns the end.
char* WriteLess(char* to, const Decimal& d, long long hundredths)
{
    const int places = std::max(d.places, 2);
    const long long units = d.units * kPdfTens[size_t(places - d.places)];
    return PdfWriteDecimal(to, units - hundredths * kPdfTens[size_t(places - 2)], places);
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
    const long long h = d.places <= 2 ? d.units * kPdfTens[size_t(2 - d.places)] : d.units / kPdfTens[size_t(d.places - 2)];
    if (h <= -kMostOriginHundredths || h >= kMostOriginHundredths)
        return false;
    *hundredths = h;
    return true;
}

// What an operator does with the points and places of the user space.
enum class OpKind {
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

// The operators this pass tells apart, by their key (PdfOpKey).
constexpr std::pair<const char*, OpKind> kOps[] = {
    {"q", OpKind::kSave},        {"Q", OpKind::kRestore},     {"m", OpKind::kPoints2},    {"l", OpKind::kPoints2},
    {"v", OpKind::kPoints4},     {"y", OpKind::kPoints4},     {"c", OpKind::kPoints6},    {"re", OpKind::kRect},
    {"cm", OpKind::kMatrix},     {"BT", OpKind::kTextBegin},  {"ET", OpKind::kTextEnd},   {"Tm", OpKind::kTextMatrix},
    {"Td", OpKind::kTextPlace},  {"TD", OpKind::kTextPlace},  {"T*", OpKind::kTextPlace}, {"Tj", OpKind::kTextPlace},
    {"TJ", OpKind::kTextPlace},  {"'", OpKind::kTextPlace},   {"\"", OpKind::kTextPlace}, {"sh", OpKind::kPaintAt},
    {"Do", OpKind::kPaintAt},    {"BI", OpKind::kInline},     {"ID", OpKind::kInline},    {"EI", OpKind::kInline},
    {"d0", OpKind::kGlyph},      {"d1", OpKind::kGlyph},      {"f", OpKind::kOther},      {"F", OpKind::kOther},
    {"f*", OpKind::kOther},      {"sc", OpKind::kOther},      {"scn", OpKind::kOther},    {"g", OpKind::kOther},
    {"rg", OpKind::kOther},      {"k", OpKind::kOther},       {"cs", OpKind::kOther},     {"CS", OpKind::kOther},
    {"SC", OpKind::kOther},      {"SCN", OpKind::kOther},     {"G", OpKind::kOther},      {"RG", OpKind::kOther},
    {"K", OpKind::kOther},       {"gs", OpKind::kOther},      {"h", OpKind::kOther},      {"w", OpKind::kOther},
    {"J", OpKind::kOther},       {"j", OpKind::kOther},       {"M", OpKind::kOther},      {"d", OpKind::kOther},
    {"i", OpKind::kOther},       {"ri", OpKind::kOther},      {"S", OpKind::kOther},      {"s", OpKind::kOther},
    {"B", OpKind::kOther},       {"B*", OpKind::kOther},      {"b", OpKind::kOther},      {"b*", OpKind::kOther},
    {"n", OpKind::kOther},       {"W", OpKind::kOther},       {"W*", OpKind::kOther},     {"Tc", OpKind::kOther},
    {"Tw", OpKind::kOther},      {"Tz", OpKind::kOther},      {"TL", OpKind::kOther},     {"Tf", OpKind::kOther},
    {"Tr", OpKind::kOther},      {"Ts", OpKind::kOther},      {"MP", OpKind::kOther},     {"DP", OpKind::kOther},
    {"BX", OpKind::kOther},      {"EX", OpKind::kOther},      {"BMC", OpKind::kOther},    {"BDC", OpKind::kOther},
    {"EMC", OpKind::kOther},
};

using OpTable = PdfOperatorTable<OpKind, std::size(kOps)>;

constexpr std::array<OpTable::Entry, std::size(kOps)> kOpEntries = [] {
    std::array<OpTable::Entry, std::size(kOps)> entries{};
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = {PdfOpKey(kOps[i].first), kOps[i].second};
    return entries;
}();

// Every operator of a page is looked up.
constexpr OpTable kOpTable(kOpEntries, OpKind::kUnknown);

// The operator of at most three bytes at `at`.
OpKind OpOf(const char* at, size_t size)
{
    uint32_t key = uint8_t(at[0]);
    if (size > 1)
        key |= uint32_t(uint8_t(at[1])) << 8;
    if (size > 2)
        key |= uint32_t(uint8_t(at[2])) << 16;
    return kOpTable.find(key);
}

// Whether the `n` bytes (at most 32) at `a` and `b` are the same, a word
// at a time: the text of a bar's shape is compared against each of the
// last shapes for every bar.
bool SameBytes(const char* a, const char* b, qsizetype n)
{
    if (n < 8)
        return std::memcmp(a, b, size_t(n)) == 0;
    const auto word = [](const char* p) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        return w;
    };
    uint64_t differ = word(a + n - 8) ^ word(b + n - 8);
    for (qsizetype k = 0; k + 8 < n; k += 8)
        differ |= word(a + k) ^ word(b + k);
    return differ == 0;
}

// The end of the word (an operator) that begins at `p`.
const char* PastWord(const char* p, const char* const end)
{
    ++p;
    while (p < end && PdfByteClass(*p) == PdfByte::kRegular)
        ++p;
    return p;
}

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
        PdfTokenizer tokens(s, end);
        PdfTokenSpan t;
        for (;;) {
            if (count_ == 0 && !other_ && nest_ == 0) {
                // Text already placed, or not moved, shows glyph after
                // glyph as Qt writes it, a line each, or as one string:
                // nothing in those lines moves.
                if (inText_ && (textPlaced_ || !textMoved_)) {
                    const char* const p = tokens.skipSpace();
                    tokens.seek(PdfSkipGlyphStrings(PdfSkipGlyphLines(p, end), end));
                }
                // Most lines are one operator after its numbers.
                const Line line = readLine(tokens.position(), end, &tokens);
                if (line.drawn)
                    continue;
                if (line.op) {
                    const char* const opEnd = PastWord(line.op, end);
                    tokens.seek(opEnd);
                    if (!operate(line.op, size_t(opEnd - line.op), &tokens))
                        return false;
                    continue;
                }
            }
            if (!tokens.next(&t))
                break;
            switch (t.kind) {
            case PdfToken::kNumber:
                // Read only when its operator moves it: most numbers are
                // colours, sizes and the steps of text.
                if (nest_ > 0)
                    continue;  // within an array or a dictionary
                noteOperand(t.at - s);
                if (count_ < kMostOperands)
                    operands_[count_] = {t.at - s, qsizetype(t.size)};
                ++count_;
                continue;
            case PdfToken::kOperator:
                if (nest_ > 0)
                    continue;
                if (!operate(t.at, t.size, &tokens))
                    return false;
                continue;
            case PdfToken::kUnclosed:
                return false;
            default:
                break;
            }
            // An operand other than a number.
            if (t.kind == PdfToken::kStray && t.at[0] == ')')
                return false;
            if (nest_ == 0)
                noteOperand(t.at - s);
            other_ = true;
            if (t.kind == PdfToken::kDictOpen || t.kind == PdfToken::kOpen)
                ++nest_;
            else if (t.kind == PdfToken::kDictClose || t.kind == PdfToken::kClose)
                nest_ = std::max(nest_ - 1, 0);
        }
        keepUpTo(qsizetype(in_.size()));
        return true;
    }

    QByteArray take() { return out_.take(); }

private:
    // Each level of q ... Q: whether its points are drawn from the part's
    // origin, and whether a matrix set in it has left the part's space
    // (its points then stay as they are).
    // And the linear part of the matrices set so far, page unit per unit
    // drawn: where half a hundredth, stretched as far as they stretch any
    // direction, is no more than kMaxMovePoints on the page, an outline's
    // points are written to the nearest hundredth. A matrix that stretches
    // one axis more than the other is judged by its longer axis, not by
    // the area it scales.
    struct Level {
        bool moved = false;
        bool fixed = false;
        bool fine = false;
        bool known = true;
        double a = 1, b = 0, c = 0, d = 1;
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

    // A bar written: the text of its y, width and height, and what was
    // written for them from an origin's y (shapeSize 0 for none yet).
    struct Bar {
        long long originY = 0;
        // The first eight bytes of the shape: what tells most apart.
        uint64_t head = 0;
        qsizetype shapeSize = 0;
        qsizetype madeSize = 0;
        char shape[32];
        char made[64];
    };

    void noteOperand(qsizetype at)
    {
        if (operandsAt_ < 0)
            operandsAt_ = at;
    }

    // The operator at `at`, its operands noted; the tokens go on after it.
    // False for a page that must stay as it is.
    bool operate(const char* at, size_t size, PdfTokenizer* tokens)
    {
        const char* const s = in_.data();
        const OpKind kind = size <= 3 ? OpOf(at, size) : OpKind::kUnknown;
        // Most operators of a page choose colours and states, or show text
        // once it is placed: nothing in them moves.
        if (kind != OpKind::kOther && !(kind == OpKind::kTextPlace && (textPlaced_ || !textMoved_ || !inText_))) {
            qsizetype i = tokens->position() - s;
            if (!place(kind, at - s, &i))
                return false;
            tokens->seek(s + i);
        }
        count_ = 0;
        other_ = false;
        operandsAt_ = -1;
        return true;
    }

    void keepUpTo(qsizetype to)
    {
        if (to > kept_) {
            out_.append(in_.data() + kept_, to - kept_, qsizetype(in_.size()) - kept_);
            kept_ = to;
        }
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
        keepUpTo(operands_[0].at);
        if (!rect) {
            for (size_t k = 0; k < count; ++k)
                if (!movePoint(k, count, false))
                    return false;
        } else {
            // A barcode's bars are rectangles of a few shapes at a moved
            // x: past x a bar is written as the last bar of its shape was.
            if (!movePoint(0, count, true))
                return false;
            const qsizetype shapeAt = operands_[1].at;
            const qsizetype shapeSize = operands_[3].at + operands_[3].size - shapeAt;
            if (!reuseBar(in_.data() + shapeAt, shapeSize)) {
                const qsizetype madeAt = out_.size();
                for (size_t k = 1; k < count; ++k)
                    if (!movePoint(k, count, true))
                        return false;
                rememberBar(in_.data() + shapeAt, shapeSize, madeAt);
            }
        }
        kept_ = operands_[count - 1].at + operands_[count - 1].size;
        return true;
    }

    // Number `k` of movePoints, and what comes after it up to the next.
    bool movePoint(size_t k, size_t count, bool rect)
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
        const Operand& number = operands_[k];
        const char* const from = s + number.at;
        long long h = 0;
        int places = 0;
        if (!ReadHundredths(from, from + number.size, end, &h, &places))
            return false;
        char* to = out_.room(kMostDecimal + kMostBetween);
        if (rect && k >= 2) {
            if (places <= 2)
                to = copy(from, number.size, to);
            else
                to = PdfWriteDecimal(to, h, 2);
        } else {
            to = PdfWriteDecimal(to, h - (k % 2 == 1 ? originY_ : originX_), 2);
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
        return true;
    }

    // What readLine made of a line: drawn, or its numbers noted as
    // operands and its operator found, or neither.
    struct Line {
        bool drawn = false;
        const char* op = nullptr;
    };

    // The tokens from `p` on, when they are numbers each followed by one
    // space (maybe after a name) and then an operator, read as the
    // tokenizer reads them but without asking what each byte begins.
    // Within a part drawn from its origin to hundredths the numbers are
    // read as they are passed: the points of an outline and a rectangle are
    // written from them, and a bar of a barcode by its x alone (drawBar).
    // Otherwise the operands are noted and the operator's start returned;
    // nothing noted for any other line. Called with no operands noted.
    Line readLine(const char* p, const char* const end, PdfTokenizer* tokens)
    {
        const char* const s = in_.data();
        while (p < end && PdfStartOf(*p) == PdfStart::kSpace)
            ++p;
        const Level& level = levels_.back();
        const bool fine = level.moved && level.fine;
        if (fine && p < end && kPdfNumberBytes[static_cast<unsigned char>(*p)]) {
            long long x = 0;
            const char* const xEnd = ReadHundredthsAt(p, end, &x);
            if (xEnd && *xEnd == ' ' && drawBar(p, xEnd, x, end, tokens))
                return {true, nullptr};
        }
        const char* const first = p;
        // A name before the numbers: a colour space, a graphics state, a
        // font or a picture.
        const bool named = p < end && *p == '/';
        if (named) {
            const char* q = p + 1;
            while (q < end && PdfByteClass(*q) == PdfByte::kRegular)
                ++q;
            if (q == end || *q != ' ')
                return {};
            p = q + 1;
            while (p < end && *p == ' ')
                ++p;
        }
        size_t count = 0;
        while (p < end && kPdfNumberBytes[static_cast<unsigned char>(*p)]) {
            const char* q = p + 1;
            while (q < end && kPdfNumberBytes[static_cast<unsigned char>(*q)])
                ++q;
            if (q == end || *q != ' ')
                return {};
            if (count < kMostOperands)
                operands_[count] = {p - s, q - p};
            ++count;
            p = q + 1;
        }
        if (p == end || PdfStartOf(*p) != PdfStart::kWord)
            return {};
        count_ = count;
        other_ = named;
        if (named || count > 0)
            operandsAt_ = first - s;
        if (fine && !named && count > 0 && count % 2 == 0 && count <= 6) {
            const char* const opEnd = PastWord(p, end);
            const OpKind kind = opEnd - p <= 3 ? OpOf(p, size_t(opEnd - p)) : OpKind::kUnknown;
            const size_t points = kind == OpKind::kPoints2 ? 2 : kind == OpKind::kPoints4 ? 4 : kind == OpKind::kPoints6 ? 6 : 0;
            if ((points == count && drawPoints(count)) || (kind == OpKind::kRect && count == 4 && drawRect())) {
                tokens->seek(opEnd);
                count_ = 0;
                operandsAt_ = -1;
                return {true, nullptr};
            }
        }
        return {false, p};
    }

    // The `count` points of an outline noted, each followed by one space
    // but the last, written as movePoints writes them, each number read as
    // it is passed. False, nothing written, where one is not read so.
    bool drawPoints(size_t count)
    {
        const char* const s = in_.data();
        const char* const end = s + in_.size();
        std::array<long long, 6> h;
        for (size_t k = 0; k < count; ++k) {
            const char* const from = s + operands_[k].at;
            if (ReadHundredthsAt(from, end, &h[k]) != from + operands_[k].size)
                return false;
        }
        keepUpTo(operands_[0].at);
        char* to = out_.room(qsizetype(count) * (kMostDecimal + 1));
        for (size_t k = 0; k < count; ++k) {
            to = PdfWriteDecimal(to, h[k] - (k % 2 == 1 ? originY_ : originX_), 2);
            *to++ = ' ';
        }
        out_.advanceTo(to - 1);
        kept_ = operands_[count - 1].at + operands_[count - 1].size;
        return true;
    }

    // The rectangle noted ("x y w h", each followed by one space but the
    // last) written as movePoints writes it, each number read as it is
    // passed, and remembered as a bar. False, nothing written, where a
    // number is not read so.
    bool drawRect()
    {
        const char* const s = in_.data();
        const char* const end = s + in_.size();
        std::array<long long, 4> h;
        std::array<int, 4> places;
        for (size_t k = 0; k < 4; ++k) {
            const char* const from = s + operands_[k].at;
            if (ReadHundredthsAt(from, end, &h[k], &places[k]) != from + operands_[k].size)
                return false;
        }
        keepUpTo(operands_[0].at);
        char* to = out_.room(4 * (kMostDecimal + 1));
        to = PdfWriteDecimal(to, h[0] - originX_, 2);
        *to++ = ' ';
        out_.advanceTo(to);
        const qsizetype shapeAt = operands_[1].at;
        const qsizetype shapeSize = operands_[3].at + operands_[3].size - shapeAt;
        if (!reuseBar(s + shapeAt, shapeSize)) {
            const qsizetype madeAt = out_.size();
            to = PdfWriteDecimal(to, h[1] - originY_, 2);
            for (size_t k = 2; k < 4; ++k) {
                *to++ = ' ';
                // A size keeps its text where it has no more places.
                if (places[k] <= 2) {
                    std::memcpy(to, s + operands_[k].at, size_t(operands_[k].size));
                    to += operands_[k].size;
                } else {
                    to = PdfWriteDecimal(to, h[k], 2);
                }
            }
            out_.advanceTo(to);
            rememberBar(s + shapeAt, shapeSize, madeAt);
        }
        kept_ = operands_[3].at + operands_[3].size;
        return true;
    }

    // The bar "x y w h re" whose x, read as `hx`, runs from `x` to the
    // space at `xEnd`, where its y, width and height are the text of one
    // of the last bars in the same space: x is written less the origin and
    // the rest as it was written then. A bar is filled as it is drawn:
    // "f" after it is passed with it. False, nothing done, for anything
    // else.
    bool drawBar(const char* x, const char* xEnd, long long hx, const char* const end, PdfTokenizer* tokens)
    {
        const char* const shape = xEnd + 1;
        if (end - shape < 8)
            return false;
        uint64_t head;
        std::memcpy(&head, shape, 8);
        for (const Bar& bar : bars_) {
            if (bar.head != head || bar.originY != originY_ || end - shape < bar.shapeSize + 4 ||
                !SameBytes(shape, bar.shape, bar.shapeSize))
                continue;
            const char* const op = shape + bar.shapeSize;
            if (std::memcmp(op, " re", 3) != 0 || PdfByteClass(op[3]) == PdfByte::kRegular)
                continue;
            const char* const s = in_.data();
            keepUpTo(x - s);
            char* to = PdfWriteDecimal(out_.room(kMostDecimal + 1 + qsizetype(sizeof(bar.made))), hx - originX_, 2);
            *to++ = ' ';
            std::memcpy(to, bar.made, size_t(bar.madeSize));
            out_.advanceTo(to + bar.madeSize);
            kept_ = op - s;
            const char* next = op + 3;
            if (end - next >= 3 && next[0] == '\n' && next[1] == 'f' && PdfByteClass(next[2]) != PdfByte::kRegular)
                next += 2;
            tokens->seek(next);
            return true;
        }
        return false;
    }

    // The last bar of the shape (the text of its y, width and height) in
    // the space of the origin, if one of the last four.
    const Bar* findBar(const char* shape, qsizetype size) const
    {
        for (const Bar& bar : bars_)
            if (bar.shapeSize == size && bar.originY == originY_ && SameBytes(shape, bar.shape, size))
                return &bar;
        return nullptr;
    }

    // A bar's y, width and height as written last time for the same text
    // and origin: appended, true; false for none.
    bool reuseBar(const char* shape, qsizetype size)
    {
        const Bar* const bar = findBar(shape, size);
        if (bar)
            out_.append(bar->made, bar->madeSize);
        return bar;
    }

    // What was written from `madeAt` on for the bar's `shape`, in place of
    // the oldest remembered.
    void rememberBar(const char* shape, qsizetype size, qsizetype madeAt)
    {
        const qsizetype madeSize = out_.size() - madeAt;
        if (size < 8 || size > qsizetype(sizeof(Bar::shape)) || madeSize > qsizetype(sizeof(Bar::made)))
            return;
        Bar& bar = bars_[nextBar_];
        nextBar_ = (nextBar_ + 1) % bars_.size();
        bar.originY = originY_;
        bar.shapeSize = size;
        std::memcpy(&bar.head, shape, 8);

        bar.madeSize = madeSize;
        std::memcpy(bar.shape, shape, size_t(size));
        std::memcpy(bar.made, out_.constData() + madeAt, size_t(madeSize));
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
        to = PdfWriteDecimal(to, back ? -originX_ : originX_, 2);
        *to++ = ' ';
        to = PdfWriteDecimal(to, back ? -originY_ : originY_, 2);
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
        for (size_t k = 0; read && k < 4; ++k)
            read = PdfReadReal(operands_[k].text(in_.data()), &m[k]);
        level->known = level->known && read;
        if (!level->known) {
            level->fine = false;
            return;
        }
        // "cm" applies its matrix before those set already.
        const Level was = *level;
        level->a = m[0] * was.a + m[1] * was.c;
        level->b = m[0] * was.b + m[1] * was.d;
        level->c = m[2] * was.a + m[3] * was.c;
        level->d = m[2] * was.b + m[3] * was.d;
        // The largest singular value: the most any direction stretches.
        const double sum = level->a * level->a + level->b * level->b + level->c * level->c + level->d * level->d;
        const double det = level->a * level->d - level->b * level->c;
        const double stretch = std::sqrt((sum + std::sqrt(std::max(0.0, sum * sum - 4 * det * det))) / 2);
        level->fine = std::isfinite(stretch) && stretch * kRoundingMove <= kMaxMovePoints;
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
    bool place(OpKind kind, qsizetype opAt, qsizetype* i)
    {
        Level& level = levels_.back();
        switch (kind) {
        case OpKind::kSave:
            levels_.push_back(levels_.back());
            if (levels_.size() == 2) {
                keepUpTo(*i);
                start_ = {*i, out_.size()};
                skipping_ = false;
                hasOrigin_ = false;
            }
            break;
        case OpKind::kRestore:
            if (levels_.size() > 1)
                levels_.pop_back();
            break;
        case OpKind::kPoints2:
        case OpKind::kPoints4:
        case OpKind::kPoints6:
        case OpKind::kRect: {
            const bool rect = kind == OpKind::kRect;
            const size_t count = kind == OpKind::kPoints2 ? 2 : kind == OpKind::kPoints6 ? 6 : 4;
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
        case OpKind::kMatrix:
            rescale(&level);
            if (level.moved && (other_ || count_ != 6 || !moveNumber(4, false) || !moveNumber(5, true))) {
                keepPart(i);
                break;
            }
            level.moved = false;
            if (levels_.size() > 1)
                level.fixed = true;
            break;
        case OpKind::kTextBegin:
            inText_ = true;
            textMoved_ = level.moved;
            textPlaced_ = false;
            break;
        case OpKind::kTextEnd:
            inText_ = false;
            break;
        case OpKind::kTextMatrix:
            if (inText_ && textMoved_) {
                if (other_ || count_ != 6 || !moveNumber(4, false) || !moveNumber(5, true)) {
                    keepPart(i);
                    break;
                }
                textPlaced_ = true;
            }
            break;
        case OpKind::kTextPlace:
            if (inText_ && textMoved_ && !textPlaced_) {
                insertMove({}, true, " Tm\n", opAt);
                textPlaced_ = true;
            }
            break;
        case OpKind::kPaintAt:
            if (level.moved) {
                insertMove("q ", true, " cm\n", opAt);
                keepUpTo(*i);
                out_.append("\nQ", 2);
            }
            break;
        case OpKind::kInline:
            return false;
        case OpKind::kGlyph:
        case OpKind::kUnknown:
            if (level.moved || (inText_ && textMoved_))
                keepPart(i);
            break;
        case OpKind::kOther:
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
    // The last bars written.
    std::array<Bar, 4> bars_{};
    size_t nextBar_ = 0;
};

}  // namespace

QByteArray DrawFromLocalOrigins(const QByteArray& content)
{
    Localiser localiser(content);
    if (!localiser.run())
        return content;
    return localiser.take();
}
