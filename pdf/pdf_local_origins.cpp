#include "pdf/pdf_local_origins.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "pdf/pdf_tokens.h"

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

bool ReadHundredths(const char* p, const char* const end, long long* hundredths, int* places)
{
    return PdfReadHundredths(p, end, kMostPlaces, hundredths, places);
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

// The operator of at most three bytes whose key (PdfOpKey) is `key`.
Op OpOfKey(uint32_t key)
{
    switch (key) {
    case PdfOpKey("q"): return Op::kSave;
    case PdfOpKey("Q"): return Op::kRestore;
    case PdfOpKey("m"):
    case PdfOpKey("l"): return Op::kPoints2;
    case PdfOpKey("v"):
    case PdfOpKey("y"): return Op::kPoints4;
    case PdfOpKey("c"): return Op::kPoints6;
    case PdfOpKey("re"): return Op::kRect;
    case PdfOpKey("cm"): return Op::kMatrix;
    case PdfOpKey("BT"): return Op::kTextBegin;
    case PdfOpKey("ET"): return Op::kTextEnd;
    case PdfOpKey("Tm"): return Op::kTextMatrix;
    case PdfOpKey("Td"):
    case PdfOpKey("TD"):
    case PdfOpKey("T*"):
    case PdfOpKey("Tj"):
    case PdfOpKey("TJ"):
    case PdfOpKey("'"):
    case PdfOpKey("\""): return Op::kTextPlace;
    case PdfOpKey("sh"):
    case PdfOpKey("Do"): return Op::kPaintAt;
    case PdfOpKey("BI"):
    case PdfOpKey("ID"):
    case PdfOpKey("EI"): return Op::kInline;
    case PdfOpKey("d0"):
    case PdfOpKey("d1"): return Op::kGlyph;
    case PdfOpKey("f"):
    case PdfOpKey("F"):
    case PdfOpKey("f*"):
    case PdfOpKey("sc"):
    case PdfOpKey("scn"):
    case PdfOpKey("g"):
    case PdfOpKey("rg"):
    case PdfOpKey("k"):
    case PdfOpKey("cs"):
    case PdfOpKey("CS"):
    case PdfOpKey("SC"):
    case PdfOpKey("SCN"):
    case PdfOpKey("G"):
    case PdfOpKey("RG"):
    case PdfOpKey("K"):
    case PdfOpKey("gs"):
    case PdfOpKey("h"):
    case PdfOpKey("w"):
    case PdfOpKey("J"):
    case PdfOpKey("j"):
    case PdfOpKey("M"):
    case PdfOpKey("d"):
    case PdfOpKey("i"):
    case PdfOpKey("ri"):
    case PdfOpKey("S"):
    case PdfOpKey("s"):
    case PdfOpKey("B"):
    case PdfOpKey("B*"):
    case PdfOpKey("b"):
    case PdfOpKey("b*"):
    case PdfOpKey("n"):
    case PdfOpKey("W"):
    case PdfOpKey("W*"):
    case PdfOpKey("Tc"):
    case PdfOpKey("Tw"):
    case PdfOpKey("Tz"):
    case PdfOpKey("TL"):
    case PdfOpKey("Tf"):
    case PdfOpKey("Tr"):
    case PdfOpKey("Ts"):
    case PdfOpKey("MP"):
    case PdfOpKey("DP"):
    case PdfOpKey("BX"):
    case PdfOpKey("EX"):
    case PdfOpKey("BMC"):
    case PdfOpKey("BDC"):
    case PdfOpKey("EMC"): return Op::kOther;
    default: return Op::kUnknown;
    }
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
            // Text already placed, or not moved, shows glyph after glyph as
            // Qt writes it, a line each, or as one string: nothing in those
            // lines moves.
            if (count_ == 0 && !other_ && nest_ == 0 && inText_ && (textPlaced_ || !textMoved_)) {
                const char* const p = tokens.skipSpace();
                tokens.seek(PdfSkipGlyphStrings(PdfSkipGlyphLines(p, end), end));
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
            case PdfToken::kOperator: {
                if (nest_ > 0)
                    continue;
                const Op kind = t.size <= 3 ? OpOfKey(PdfOperatorKey(t)) : Op::kUnknown;
                // Most operators of a page choose colours and states, or
                // show text once it is placed: nothing in them moves.
                if (kind != Op::kOther && !(kind == Op::kTextPlace && (textPlaced_ || !textMoved_ || !inText_))) {
                    qsizetype i = tokens.position() - s;
                    if (!place(kind, t.at - s, &i))
                        return false;
                    tokens.seek(s + i);
                }
                count_ = 0;
                other_ = false;
                operandsAt_ = -1;
                continue;
            }
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
