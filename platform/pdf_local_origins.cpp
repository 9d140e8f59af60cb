#include "platform/pdf_local_origins.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/pdf_lexis.h"

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

bool ReadDecimal(std::string_view t, Decimal* d)
{
    // A sign, a point and the most digits: no more can be read within 64
    // bits, and no longer text is taken.
    if (t.empty() || t.size() > size_t(kMostDigits) + 2)
        return false;
    const char* p = t.data();
    const char* const end = p + t.size();
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    const char* const wholeFrom = p;
    long long units = 0;
    while (p < end && static_cast<unsigned char>(*p - '0') < 10)
        units = units * 10 + (*p++ - '0');
    int digits = int(p - wholeFrom), places = 0;
    if (p < end && *p == '.') {
        const char* const partFrom = ++p;
        while (p < end && static_cast<unsigned char>(*p - '0') < 10)
            units = units * 10 + (*p++ - '0');
        places = int(p - partFrom);
        digits += places;
    }
    if (p != end || digits == 0 || digits > kMostDigits || places > kMostPlaces)
        return false;
    d->units = negative ? -units : units;
    d->places = places;
    return true;
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
    const unsigned long long step = static_cast<unsigned long long>(kTens[size_t(places)]);
    const unsigned long long whole = places == 2 ? u / 100 : u / step;
    unsigned long long part = places == 2 ? u % 100 : u % step;
    to = std::to_chars(to, to + 24, whole).ptr;
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

void AppendDecimal(QByteArray* out, long long units, int places)
{
    char text[kMostDecimal];
    out->append(text, WriteDecimal(text, units, places) - text);
}

// The number at the nearest hundredth (halves away from zero). Qt writes
// most of its numbers with four to six places: each count has its divisor
// known when compiling.
template <int kPlaces>
Decimal ToHundredthsFrom(long long units)
{
    constexpr long long kStep = kTens[kPlaces - 2];
    long long h = units / kStep;
    const long long rest = units % kStep;
    if (2 * (rest < 0 ? -rest : rest) >= kStep)
        h += units < 0 ? -1 : 1;
    return {h, 2};
}

Decimal ToHundredths(const Decimal& d)
{
    switch (d.places) {
    case 3: return ToHundredthsFrom<3>(d.units);
    case 4: return ToHundredthsFrom<4>(d.units);
    case 5: return ToHundredthsFrom<5>(d.units);
    case 6: return ToHundredthsFrom<6>(d.units);
    case 7: return ToHundredthsFrom<7>(d.units);
    case 8: return ToHundredthsFrom<8>(d.units);
    case 9: return ToHundredthsFrom<9>(d.units);
    default: return d;
    }
}

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
    void append(const QByteArray& bytes) { append(bytes.constData(), bytes.size()); }
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
bool OriginOf(std::string_view t, long long* hundredths)
{
    Decimal d;
    if (!ReadDecimal(t, &d))
        return false;
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
    kFill,         // f F
    kFillEvenOdd,  // f*
    kFillColour,   // sc scn: the colour of filling, in its space
    kFillColourAndSpace,  // g rg k
    kFillSpace,    // cs
    kStrokeColour,  // CS SC SCN G RG K
    kState,        // gs
    kClose,        // h
    kOther,        // lines, painting, clipping, text state, marks: no place in them
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

Op OpOf(std::string_view t)
{
    if (t.size() > 3)
        return Op::kUnknown;
    uint32_t key = 0;
    for (size_t i = 0; i < t.size(); ++i)
        key |= uint32_t(uint8_t(t[i])) << (8 * i);
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
    case OpKey("F"): return Op::kFill;
    case OpKey("f*"): return Op::kFillEvenOdd;
    case OpKey("sc"):
    case OpKey("scn"): return Op::kFillColour;
    case OpKey("g"):
    case OpKey("rg"):
    case OpKey("k"): return Op::kFillColourAndSpace;
    case OpKey("cs"): return Op::kFillSpace;
    case OpKey("CS"):
    case OpKey("SC"):
    case OpKey("SCN"):
    case OpKey("G"):
    case OpKey("RG"):
    case OpKey("K"): return Op::kStrokeColour;
    case OpKey("gs"): return Op::kState;
    case OpKey("h"): return Op::kClose;
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

class Localiser {
public:
    explicit Localiser(const QByteArray& in)
        : in_(in.constData(), size_t(in.size())), out_(in.size() + in.size() / 8 + 256)
    {
        levels_.push_back({});
        numbers_.reserve(16);
    }

    // False for a page that must stay as it is.
    bool run()
    {
        const char* const s = in_.data();
        const qsizetype n = qsizetype(in_.size());
        qsizetype i = 0;
        while (i < n) {
            const char c = s[i];
            const PdfByte kind = PdfByteClass(c);
            if (kind == PdfByte::kSpace) {
                ++i;
                continue;
            }
            if (kind == PdfByte::kRegular) {
                const qsizetype from = i;
                while (i < n && PdfByteClass(s[i]) == PdfByte::kRegular)
                    ++i;
                if (nest_ > 0)
                    continue;  // within an array or a dictionary
                const char f = s[from];
                if ((f >= '0' && f <= '9') || f == '-' || f == '+' || f == '.') {
                    noteOperand(from);
                    numbers_.push_back({from, i - from});
                    continue;
                }
                if (!operate(std::string_view(s + from, size_t(i - from)), from, &i))
                    return false;
                numbers_.clear();
                other_ = false;
                operandsAt_ = -1;
                continue;
            }
            // A delimiter: something other than a number, or a comment.
            if (c == '%') {
                while (i < n && s[i] != '\n' && s[i] != '\r')
                    ++i;
                continue;
            }
            if (nest_ == 0)
                noteOperand(i);
            other_ = true;
            if (c == '(') {
                if (!skipString(&i))
                    return false;
            } else if (c == ')') {
                return false;
            } else if (c == '<' && i + 1 < n && s[i + 1] == '<') {
                ++nest_;
                i += 2;
            } else if (c == '>' && i + 1 < n && s[i + 1] == '>') {
                nest_ = std::max(nest_ - 1, 0);
                i += 2;
            } else if (c == '<') {
                while (i < n && s[i] != '>')
                    ++i;
                if (i == n)
                    return false;
                ++i;
            } else if (c == '[' || c == '{') {
                ++nest_;
                ++i;
            } else if (c == ']' || c == '}') {
                nest_ = std::max(nest_ - 1, 0);
                ++i;
            } else if (c == '/') {
                ++i;
                while (i < n && PdfByteClass(s[i]) == PdfByte::kRegular)
                    ++i;
            } else {
                ++i;
            }
        }
        keepUpTo(n);
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
    struct Number {
        qsizetype at;
        qsizetype size;
        std::string_view text(const char* s) const { return {s + at, size_t(size)}; }
    };
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

    // The number `k` before the operator, less the origin along x or y;
    // a point of an outline to the nearest hundredth where that is fine.
    bool moveNumber(size_t k, bool y, bool outline = false)
    {
        const Number& number = numbers_[k];
        Decimal d;
        if (!ReadDecimal(number.text(in_.data()), &d))
            return false;
        if (outline && levels_.back().fine)
            d = ToHundredths(d);
        keepUpTo(number.at);
        out_.advanceTo(WriteLess(out_.room(kMostDecimal), d, y ? originY_ : originX_));
        kept_ = number.at + number.size;
        return true;
    }

    // The number `k` before the operator to the nearest hundredth.
    bool roundNumber(size_t k)
    {
        const Number& number = numbers_[k];
        Decimal d;
        if (!ReadDecimal(number.text(in_.data()), &d))
            return false;
        if (d.places <= 2)
            return true;
        keepUpTo(number.at);
        out_.advanceTo(WriteLess(out_.room(kMostDecimal), ToHundredths(d), 0));
        kept_ = number.at + number.size;
        return true;
    }

    // Text written in before the current operator's operands.
    void insert(const QByteArray& text, qsizetype opAt)
    {
        keepUpTo(operandsAt_ >= 0 ? operandsAt_ : opAt);
        out_.append(text);
    }

    // From here on the part's points are drawn from its origin, which is
    // the first of them when it has none yet.
    bool begin(size_t count)
    {
        if (levels_.size() < 2 || skipping_ || inText_ || levels_.back().fixed || other_ ||
            numbers_.size() != count)
            return false;
        if (!hasOrigin_) {
            long long x = 0, y = 0;
            if (!OriginOf(numbers_[0].text(in_.data()), &x) || !OriginOf(numbers_[1].text(in_.data()), &y))
                return false;
            originX_ = x;
            originY_ = y;
            hasOrigin_ = true;
            const auto place = [](long long ox, long long oy, const char* tail) {
                QByteArray text = "1 0 0 1 ";
                AppendDecimal(&text, ox, 2);
                text += ' ';
                AppendDecimal(&text, oy, 2);
                text += tail;
                return text;
            };
            toOrigin_ = place(x, y, " cm\n");
            textBack_ = place(-x, -y, " Tm\n");
            paintBack_ = "q " + place(-x, -y, " cm\n");
        }
        insert(toOrigin_, numbers_.front().at);
        levels_.back().moved = true;
        return true;
    }

    void rescale(Level* level) const
    {
        double m[4] = {0, 0, 0, 0};
        bool read = numbers_.size() == 6 && !other_;
        for (size_t k = 0; read && k < 4; ++k) {
            const std::string_view t = numbers_[k].text(in_.data());
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
        lastFill_ = {};
        outlineAt_ = -1;
        opaque_ = false;
        run_ = {};
        rewound_ = true;
    }

    // Where the outline being made begins in the output.
    void markOutline(qsizetype opAt)
    {
        if (outlineAt_ < 0) {
            keepUpTo(operandsAt_ >= 0 ? operandsAt_ : opAt);
            outlineAt_ = out_.size();
        }
    }

    // A fill that the next one paints over exactly goes: the painter fills
    // a shape's area white before it fills it with its colour. Only colours
    // and the engine's one opaque state (Qt names it /GSa; a state it makes
    // for transparency has another name) may come between the two, the
    // second colour plain (not a pattern, which may let the first show
    // through), and the outline the same, byte for byte. The colours chosen
    // for the fill that goes go with it when the next fill chooses its own
    // (space, colour and state) and no stroking colour is among them.
    void followFills(Op kind, qsizetype opAt, qsizetype end)
    {
        switch (kind) {
        case Op::kPoints2:
        case Op::kPoints4:
        case Op::kPoints6:
        case Op::kRect:
        case Op::kClose:
            return;
        case Op::kFillColour:
        case Op::kFillColourAndSpace:
        case Op::kFillSpace:
        case Op::kStrokeColour:
            if (outlineAt_ >= 0)
                break;
            startRun(opAt);
            if (kind == Op::kStrokeColour) {
                run_.stroke = true;
            } else {
                opaque_ = kind != Op::kFillSpace && !other_;
                if (kind != Op::kFillColour)
                    run_.space = true;
            }
            return;
        case Op::kState:
            if (outlineAt_ < 0 && numbers_.empty() && operandsAt_ >= 0) {
                std::string_view name = in_.substr(size_t(operandsAt_), size_t(opAt - operandsAt_));
                while (!name.empty() && PdfIsSpace(name.back()))
                    name.remove_suffix(1);
                if (name == "/GSa") {
                    startRun(opAt);
                    run_.state = true;
                    return;
                }
            }
            break;
        case Op::kFill:
        case Op::kFillEvenOdd:
            fill(kind == Op::kFillEvenOdd, opAt, end);
            return;
        default:
            break;
        }
        lastFill_ = {};
        outlineAt_ = -1;
        opaque_ = false;
        run_ = {};
    }

    // Where the colours chosen since the last fill or other operator begin.
    void startRun(qsizetype opAt)
    {
        if (run_.at < 0) {
            keepUpTo(operandsAt_ >= 0 ? operandsAt_ : opAt);
            run_.at = out_.size();
        }
    }

    void fill(bool evenOdd, qsizetype opAt, qsizetype end)
    {
        if (outlineAt_ < 0) {
            lastFill_ = {};
            opaque_ = false;
            run_ = {};
            return;
        }
        keepUpTo(opAt);
        qsizetype opOut = out_.size();
        keepUpTo(end);
        qsizetype endOut = out_.size();
        const qsizetype size = opOut - outlineAt_;
        if (lastFill_.outlineAt >= 0 && opaque_ && evenOdd == lastFill_.evenOdd &&
            size == lastFill_.opAt - lastFill_.outlineAt &&
            std::memcmp(out_.constData() + outlineAt_, out_.constData() + lastFill_.outlineAt, size_t(size)) == 0) {
            const Run& before = lastFill_.run;
            const bool chosenAgain = before.at >= 0 && !before.stroke && run_.space && (run_.state || !before.state);
            const qsizetype from = chosenAgain ? before.at : lastFill_.outlineAt;
            const qsizetype gone = lastFill_.end - from;
            out_.remove(from, gone);
            outlineAt_ -= gone;
            opOut -= gone;
            endOut -= gone;
            if (run_.at >= 0)
                run_.at -= gone;
        }
        lastFill_ = {outlineAt_, opOut, endOut, evenOdd, run_};
        outlineAt_ = -1;
        opaque_ = false;
        run_ = {};
    }

    bool operate(std::string_view op, qsizetype opAt, qsizetype* i)
    {
        const Op kind = OpOf(op);
        if (!place(kind, opAt, i))
            return false;
        if (rewound_)
            rewound_ = false;
        else
            followFills(kind, opAt, *i);
        return true;
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
            markOutline(opAt);
            if (!level.moved)
                break;
            if (other_ || numbers_.size() != count) {
                keepPart(i);
                break;
            }
            for (size_t k = 0; k < (rect ? 2 : count); ++k)
                if (!moveNumber(k, k % 2 == 1, true)) {
                    keepPart(i);
                    return true;
                }
            // A rectangle's size goes to hundredths as its corner does.
            if (rect && level.fine && !(roundNumber(2) && roundNumber(3)))
                keepPart(i);
            break;
        }
        case Op::kMatrix:
            rescale(&level);
            if (level.moved && (other_ || numbers_.size() != 6 || !moveNumber(4, false) || !moveNumber(5, true))) {
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
                if (other_ || numbers_.size() != 6 || !moveNumber(4, false) || !moveNumber(5, true)) {
                    keepPart(i);
                    break;
                }
                textPlaced_ = true;
            }
            break;
        case Op::kTextPlace:
            if (inText_ && textMoved_ && !textPlaced_) {
                insert(textBack_, opAt);
                textPlaced_ = true;
            }
            break;
        case Op::kPaintAt:
            if (level.moved) {
                insert(paintBack_, opAt);
                keepUpTo(*i);
                out_.append("\nQ");
            }
            break;
        case Op::kInline:
            return false;
        case Op::kGlyph:
        case Op::kUnknown:
            if (level.moved || (inText_ && textMoved_))
                keepPart(i);
            break;
        case Op::kFill:
        case Op::kFillEvenOdd:
        case Op::kFillColour:
        case Op::kFillColourAndSpace:
        case Op::kFillSpace:
        case Op::kStrokeColour:
        case Op::kState:
        case Op::kClose:
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
    std::vector<Number> numbers_;
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
    bool rewound_ = false;
    // The colours chosen before a fill: where they begin (-1 for none),
    // whether a colour space, the opaque state or a stroking colour is
    // among them.
    struct Run {
        qsizetype at = -1;
        bool space = false, state = false, stroke = false;
    };
    // A fill: where its outline, its operator and its end are written.
    struct Fill {
        qsizetype outlineAt = -1, opAt = 0, end = 0;
        bool evenOdd = false;
        Run run;
    };
    // The colours chosen since the last fill; the last fill, while only
    // those have come after it; where the outline being made begins.
    Run run_;
    Fill lastFill_;
    qsizetype outlineAt_ = -1;
    // A plain colour has been chosen for filling since the last fill.
    bool opaque_ = false;
    QByteArray toOrigin_, textBack_, paintBack_;
};

}  // namespace

QByteArray DrawFromLocalOrigins(const QByteArray& content)
{
    Localiser localiser(content);
    if (!localiser.run())
        return content;
    return localiser.take();
}
