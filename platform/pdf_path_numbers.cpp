#include "platform/pdf_path_numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/pdf_lexis.h"

// Every byte of every printed page passes through here just before the page
// is compressed, so the pass reads each byte once, looks its class up rather
// than comparing it, and writes into room made ahead.

namespace {

// The farthest a point may move on the page, in points (1/72 in).
constexpr double kMaxMovePoints = 0.001;
// Half a hundredth: the farthest rounding to hundredths moves a number.
constexpr double kRoundingMove = 0.005;

enum class PdfByte : unsigned char { kRegular, kSpace, kDelimiter };

constexpr std::array<PdfByte, 256> kPdfBytes = [] {
    std::array<PdfByte, 256> bytes{};
    for (int c = 0; c < 256; ++c)
        bytes[size_t(c)] = PdfIsSpace(char(c))       ? PdfByte::kSpace
                           : PdfIsDelimiter(char(c)) ? PdfByte::kDelimiter
                                                     : PdfByte::kRegular;
    return bytes;
}();

PdfByte ByteClass(char c) { return kPdfBytes[static_cast<unsigned char>(c)]; }

bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// A run of regular bytes (an operand or an operator): where it ends, and
// whether it is a number as the engine writes one (digits, one point at
// most, a sign only in front), and where its point is (-1 for none).
struct PdfWord {
    qsizetype end;
    qsizetype point;
    bool number;
};

PdfWord ReadWord(const char* s, qsizetype n, qsizetype from)
{
    qsizetype i = from;
    qsizetype point = -1;
    bool digit = false;
    if (s[i] == '-' || s[i] == '+')
        ++i;
    for (; i < n; ++i) {
        if (IsDigit(s[i]))
            digit = true;
        else if (s[i] == '.' && point < 0)
            point = i - from;
        else
            break;
    }
    if (digit && (i == n || ByteClass(s[i]) != PdfByte::kRegular))
        return {i, point, true};
    while (i < n && ByteClass(s[i]) == PdfByte::kRegular)
        ++i;
    return {i, -1, false};
}

// The content written anew. Room is made once per piece written (a token,
// a run of operands) rather than per byte; the room always holds kSpare
// bytes more than asked, so a short piece can be copied as a whole block of
// kBlock bytes, cheaper than a copy of its exact length.
class ShortOutput {
public:
    static constexpr qsizetype kBlock = 16;
    static constexpr qsizetype kSpare = 64;

    explicit ShortOutput(qsizetype expected)
    {
        bytes_.resize(expected + kSpare);
        at_ = bytes_.data();
        end_ = at_ + bytes_.size();
    }
    // Room for `n` more bytes (and the spare ones).
    void makeRoom(qsizetype n)
    {
        if (end_ - at_ < n + kSpare)
            grow(n);
    }
    // `n` bytes from `from`, where the source holds at least `readable`
    // bytes: up to kBlock of them go as one block.
    void put(const char* from, qsizetype n, qsizetype readable)
    {
        if (n <= kBlock && readable >= kBlock)
            std::memcpy(at_, from, kBlock);
        else
            std::memcpy(at_, from, size_t(n));
        at_ += n;
    }
    void put(char c) { *at_++ = c; }
    char* at() { return at_; }
    void advance(qsizetype n) { at_ += n; }
    qsizetype size() const { return at_ - bytes_.constData(); }
    char* data() { return bytes_.data(); }
    const char* constData() const { return bytes_.constData(); }
    void truncate(qsizetype n) { at_ = std::min(at_, bytes_.data() + n); }
    QByteArray take()
    {
        bytes_.truncate(size());
        return std::move(bytes_);
    }

private:
    void grow(qsizetype n)
    {
        const qsizetype size = this->size();
        bytes_.resize(std::max(bytes_.size() * 2, size + n + kSpare));
        at_ = bytes_.data() + size;
        end_ = bytes_.data() + bytes_.size();
    }

    QByteArray bytes_;
    char* at_ = nullptr;
    char* end_ = nullptr;
};

// A number met before its operator: where it is in the content, and where
// its point is (-1 for a whole number, which is always written as it is).
struct PendingNumber {
    qsizetype at;
    qsizetype size;
    qsizetype point;

    std::string_view text(const char* content) const { return {content + at, size_t(size)}; }
    double value(const char* content) const
    {
        const char* from = content + at;
        double v = 0;
        std::from_chars(from + (*from == '+'), from + size, v, std::chars_format::fixed);
        return v;
    }
};

// The operators whose meaning the pass follows; all others only end a run
// of operands.
enum class PathOp { kMove, kLine, kCurve, kRect, kClose, kFill, kSave, kRestore, kMatrix, kInline, kOther };

PathOp PathOpOf(const char* t, qsizetype n)
{
    if (n == 1) {
        switch (t[0]) {
        case 'm': return PathOp::kMove;
        case 'l': return PathOp::kLine;
        case 'c':
        case 'v':
        case 'y': return PathOp::kCurve;
        case 'h': return PathOp::kClose;
        case 'f':
        case 'F': return PathOp::kFill;
        case 'q': return PathOp::kSave;
        case 'Q': return PathOp::kRestore;
        default: return PathOp::kOther;
        }
    }
    if (n == 2) {
        const auto is = [t](const char* op) { return t[0] == op[0] && t[1] == op[1]; };
        if (is("re"))
            return PathOp::kRect;
        if (is("f*"))
            return PathOp::kFill;
        if (is("cm"))
            return PathOp::kMatrix;
        if (is("BI") || is("ID"))
            return PathOp::kInline;
    }
    return PathOp::kOther;
}

// `h` hundredths, as short as it goes ("-1.5" for -150).
void PutHundredths(ShortOutput* out, long long h)
{
    if (h < 0) {
        out->put('-');
        h = -h;
    }
    char* const from = out->at();
    char* end = std::to_chars(from, from + 24, h / 100).ptr;
    const int frac = int(h % 100);
    if (frac != 0) {
        *end++ = '.';
        *end++ = char('0' + frac / 10);
        if (frac % 10 != 0)
            *end++ = char('0' + frac % 10);
    }
    out->advance(end - from);
}

// The hundredths `std::llround(v * 100.0)` gives for the double `v` the
// text reads as, found from the digits alone where that is sure to agree,
// as parsing is the dearest step of the pass. With at most 7 digits before
// the point (below 2^24), `v` is within 2^-30 of the text, so `v * 100`
// within 1e-7 of a hundred times the text; the product, below 2^30, is
// rounded by at most 2^-24 more. Both together stay below 2e-7: the
// product rounds as the text's exact hundredths do unless the text's part
// beyond its hundredths lies within 1e-6 of one half. Returns false for
// those (1.005 is read as 1.00499999...) and for larger numbers: they are
// parsed.
bool HundredthsFromDigits(std::string_view t, qsizetype point, long long* hundredths)
{
    const bool negative = t[0] == '-';
    const size_t digitsFrom = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (size_t(point) - digitsFrom > 7)
        return false;
    long long h = 0;
    for (size_t k = digitsFrom; k < size_t(point); ++k)
        h = h * 10 + (t[k] - '0');
    // The caller rounds only numbers with three decimals or more.
    h = h * 100 + (t[size_t(point) + 1] - '0') * 10 + (t[size_t(point) + 2] - '0');
    // The part beyond the hundredths, in millionths, cut short.
    int beyond = 0;
    size_t k = size_t(point) + 3;
    for (int n = 0; n < 6; ++n, ++k)
        beyond = beyond * 10 + (k < t.size() ? t[k] - '0' : 0);
    if (beyond >= 499999 && beyond <= 500000)
        return false;
    if (beyond > 500000)
        ++h;
    *hundredths = negative ? -h : h;
    return true;
}

class Shortener {
public:
    explicit Shortener(std::string_view in) : in_(in), out_(qsizetype(in.size()) + 4096)
    {
        operands_.reserve(64);
    }

    bool run()
    {
        const char* const s = in_.data();
        const qsizetype n = qsizetype(in_.size());
        qsizetype i = 0;
        while (i < n) {
            const char c = s[i];
            const PdfByte kind = ByteClass(c);
            if (kind == PdfByte::kSpace) {
                // Kept as it is, or between operands, made one space by
                // flushOperands.
                ++i;
            } else if (kind == PdfByte::kRegular) {
                const qsizetype from = i;
                const PdfWord word = ReadWord(s, n, from);
                // The white space after a word, most often one byte, is
                // passed over here rather than by another turn of the loop.
                i = word.end;
                while (i < n && ByteClass(s[i]) == PdfByte::kSpace)
                    ++i;
                if (word.number) {
                    operands_.push_back({from, word.end - from, word.point});
                    continue;
                }
                if (!operate(from, word.end - from))
                    return false;
            } else if (c == '(') {
                if (!skipString(&i))
                    return false;
            } else if (c == ')') {
                return false;  // a string's end with no start: not content we can read
            } else {
                flushOperands(false, i);
                if (c == '%') {
                    while (i < n && s[i] != '\n' && s[i] != '\r')
                        ++i;
                } else if ((c == '<' || c == '>') && i + 1 < n && s[i + 1] == c) {
                    i += 2;
                } else if (c == '<') {
                    while (i < n && s[i] != '>')
                        ++i;
                    i = std::min(i + 1, n);
                } else if (c == '/') {
                    ++i;
                    while (i < n && ByteClass(s[i]) == PdfByte::kRegular)
                        ++i;
                } else {
                    ++i;
                }
                path_.clear();
            }
        }
        flushOperands(false, n);
        keepUpTo(n);
        return true;
    }

    QByteArray take() { return out_.take(); }

private:
    // Where the content's byte `at` lands in the output, all bytes from
    // kept_ to it going out as they are.
    qsizetype landing(qsizetype at) const { return out_.size() + (at - kept_); }

    // The content up to `to` goes out as it is.
    void keepUpTo(qsizetype to)
    {
        out_.makeRoom(to - kept_);
        out_.put(in_.data() + kept_, to - kept_, qsizetype(in_.size()) - kept_);
        kept_ = to;
    }

    // A string goes out as it is; one left open means content this pass
    // cannot read.
    bool skipString(qsizetype* i)
    {
        flushOperands(false, *i);
        const qsizetype n = qsizetype(in_.size());
        int depth = 0;
        qsizetype k = *i;
        for (; k < n; ++k) {
            if (in_[size_t(k)] == '\\') {
                ++k;
            } else if (in_[size_t(k)] == '(') {
                ++depth;
            } else if (in_[size_t(k)] == ')' && --depth == 0) {
                ++k;
                break;
            }
        }
        if (depth != 0)
            return false;
        *i = k;
        path_.clear();
        return true;
    }

    // The operands before an operator (or anything else) at `end`, each
    // followed by one space: rounded for a point of an outline where that
    // moves nothing visibly, else without trailing zeros after a point
    // ("0.120000000" as "0.12", "3.00000" as "3"). Most operands, and the
    // single spaces between them, are already written that way: they go
    // out as they are, with what precedes them.
    void flushOperands(bool round, qsizetype end)
    {
        if (!operands_.empty())  // as after most operators and delimiters
            writeOperands(round, end);
    }

    void writeOperands(bool round, qsizetype end)
    {
        const char* const s = in_.data();
        const qsizetype n = qsizetype(in_.size());
        for (size_t k = 0; k < operands_.size(); ++k) {
            const PendingNumber& o = operands_[k];
            const qsizetype after = o.at + o.size;
            const qsizetype spaceEnd = k + 1 < operands_.size() ? operands_[k + 1].at : end;
            const bool rounded = round && o.point >= 0 && o.size - o.point > 3;
            const bool trimmed = !rounded && o.point >= 0 && (s[after - 1] == '0' || s[after - 1] == '.');
            if (!rounded && !trimmed && spaceEnd == after + 1 && s[after] == ' ')
                continue;
            keepUpTo(o.at);
            // Neither rounding nor trimming makes a number longer, and a
            // rounded one fits in the spare room.
            out_.makeRoom(o.size + 1);
            if (rounded) {
                putRounded(o);
            } else if (trimmed) {
                qsizetype size = o.size;
                while (size > 0 && s[o.at + size - 1] == '0')
                    --size;
                if (size > 0 && s[o.at + size - 1] == '.')
                    --size;
                if (size == 0 || (size == 1 && (s[o.at] == '-' || s[o.at] == '+')))
                    out_.put('0');
                else
                    out_.put(s + o.at, size, n - o.at);
            } else {
                out_.put(s + o.at, o.size, n - o.at);
            }
            out_.put(' ');
            kept_ = spaceEnd;
        }
        operands_.clear();
    }

    void putRounded(const PendingNumber& o)
    {
        const std::string_view t = o.text(in_.data());
        long long h = 0;
        if (HundredthsFromDigits(t, o.point, &h)) {
            PutHundredths(&out_, h);
            return;
        }
        const double v = o.value(in_.data());
        // Beyond a trillion units a number is no point on a page: it keeps its text.
        if (std::fabs(v) < 1e12) {
            PutHundredths(&out_, std::llround(v * 100.0));
        } else {
            out_.put(t.data(), qsizetype(t.size()), 0);
        }
    }

    bool operate(qsizetype opAt, qsizetype opSize)
    {
        const char* const op = in_.data() + opAt;
        const PathOp kind = PathOpOf(op, opSize);
        const bool pathPoint =
            kind == PathOp::kMove || kind == PathOp::kLine || kind == PathOp::kCurve || kind == PathOp::kRect;
        if (kind == PathOp::kInline)
            return false;  // inline image data is not text
        if (kind == PathOp::kMatrix && operands_.size() == 6) {
            const char* s = in_.data();
            const double a = operands_[0].value(s), b = operands_[1].value(s), c = operands_[2].value(s),
                         d = operands_[3].value(s);
            scale_ *= std::sqrt(std::fabs(a * d - b * c));
        }
        const bool round = pathPoint && scale_ * kRoundingMove <= kMaxMovePoints;
        // Where the operands are written, and how long they are written.
        const qsizetype at = landing(operands_.empty() ? opAt : operands_.front().at);
        const bool sameAsStart = kind == PathOp::kLine && operands_.size() == 2 && round;
        flushOperands(round, opAt);
        const qsizetype written = landing(opAt) - at;
        bool backToStart = false;
        if (sameAsStart && startAt_ >= 0 && written == startSize_) {
            keepUpTo(opAt);  // both texts compared as written
            backToStart = std::memcmp(out_.constData() + at, out_.constData() + startAt_, size_t(written)) == 0;
        }
        // The operator itself goes out as it is.
        const qsizetype opEnd = landing(opAt + opSize);
        switch (kind) {
        case PathOp::kMove:
            startAt_ = at;
            startSize_ = written;
            lastLine_ = {-1, -1};
            break;
        case PathOp::kLine:
            lastLine_ = backToStart ? std::pair<qsizetype, qsizetype>{at, opEnd}
                                    : std::pair<qsizetype, qsizetype>{-1, -1};
            break;
        case PathOp::kClose:
            if (lastLine_.first >= 0)
                path_.push_back(lastLine_);
            // Filling closes every part of an outline itself: should this
            // one be filled, its closing goes too.
            if (written == 0)
                path_.push_back({landing(opAt), opEnd});
            lastLine_ = {-1, -1};
            break;
        case PathOp::kFill:
            if (!path_.empty()) {
                keepUpTo(opAt + opSize);
                dropClosingLines();
            }
            break;
        case PathOp::kSave:
            saved_.push_back(scale_);
            break;
        case PathOp::kRestore:
            if (!saved_.empty()) {
                scale_ = saved_.back();
                saved_.pop_back();
            }
            break;
        default:
            break;
        }
        if (!pathPoint && kind != PathOp::kClose) {
            path_.clear();
            lastLine_ = {-1, -1};
            startAt_ = -1;
        } else if (kind != PathOp::kLine) {
            lastLine_ = {-1, -1};
        }
        return true;
    }

    // A filled outline closes itself: the line back to its start, just
    // before closing it, draws nothing, and the closing is done again.
    void dropClosingLines()
    {
        if (path_.empty())
            return;
        char* const bytes = out_.data();
        const qsizetype size = out_.size();
        qsizetype to = path_.front().first;
        for (size_t k = 0; k < path_.size(); ++k) {
            // The line's text up to the whitespace before the next token.
            qsizetype from = path_[k].second;
            while (from < size && PdfIsSpace(bytes[from]))
                ++from;
            const qsizetype end = k + 1 < path_.size() ? path_[k + 1].first : size;
            std::memmove(bytes + to, bytes + from, size_t(end - from));
            to += end - from;
        }
        out_.truncate(to);
        path_.clear();
    }

    std::string_view in_;
    ShortOutput out_;
    // The content before kept_ is written (or left out); from it on, it
    // goes out as it is until something in it must change.
    qsizetype kept_ = 0;
    std::vector<PendingNumber> operands_;
    double scale_ = 1.0;
    std::vector<double> saved_;
    // Where the outline's start is written (-1 for none), and its length.
    qsizetype startAt_ = -1, startSize_ = 0;
    std::pair<qsizetype, qsizetype> lastLine_{-1, -1};
    std::vector<std::pair<qsizetype, qsizetype>> path_;
};

}  // namespace

QByteArray ShortenPathNumbers(const QByteArray& content)
{
    Shortener shortener(std::string_view(content.constData(), size_t(content.size())));
    if (!shortener.run())
        return content;
    return shortener.take();
}
