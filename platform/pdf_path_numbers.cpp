#include "platform/pdf_path_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/pdf_lexis.h"

namespace {

// The farthest a point may move on the page, in points (1/72 in).
constexpr double kMaxMovePoints = 0.001;
// Half a hundredth: the farthest rounding to hundredths moves a number.
constexpr double kRoundingMove = 0.005;

// The number without trailing zeros after its point ("0.120000000" as
// "0.12", "3.00000" as "3").
std::string_view Trimmed(std::string_view t)
{
    if (t.find('.') == std::string_view::npos)
        return t;
    while (!t.empty() && t.back() == '0')
        t.remove_suffix(1);
    if (!t.empty() && t.back() == '.')
        t.remove_suffix(1);
    if (t.empty() || t == "-" || t == "+")
        return "0";
    return t;
}

// The content written anew: bytes put straight into room made ahead, as a
// page passes millions of small pieces through here.
class Output {
public:
    void reserve(qsizetype n) { bytes_.resize(n); }
    void append(const char* data, qsizetype n)
    {
        if (size_ + n > bytes_.size())
            bytes_.resize(std::max(bytes_.size() * 2, size_ + n));
        std::memcpy(bytes_.data() + size_, data, size_t(n));
        size_ += n;
    }
    void append(char c) { append(&c, 1); }
    qsizetype size() const { return size_; }
    char* data() { return bytes_.data(); }
    const char* constData() const { return bytes_.constData(); }
    char operator[](qsizetype at) const { return bytes_.constData()[at]; }
    void truncate(qsizetype n) { size_ = std::min(size_, n); }
    QByteArray take()
    {
        bytes_.truncate(size_);
        return std::move(bytes_);
    }

private:
    QByteArray bytes_;
    qsizetype size_ = 0;
};

// `v` to hundredths, as short as it goes.
void AppendHundredths(Output* out, double v)
{
    long long h = std::llround(v * 100.0);
    if (h < 0) {
        out->append('-');
        h = -h;
    }
    char digits[32];
    char* end = std::to_chars(digits, digits + 24, h / 100).ptr;
    const int frac = int(h % 100);
    if (frac != 0) {
        *end++ = '.';
        *end++ = char('0' + frac / 10);
        if (frac % 10 != 0)
            *end++ = char('0' + frac % 10);
    }
    out->append(digits, qsizetype(end - digits));
}

struct Operand {
    std::string_view text;
    // Its value; parsed only where it is needed.
    double value() const
    {
        double v = 0;
        std::from_chars(text.data() + (text[0] == '+'), text.data() + text.size(), v, std::chars_format::fixed);
        return v;
    }
};

// Whether the token is a number as the engine writes one: digits, one
// point at most, a sign only in front.
bool IsNumber(std::string_view t)
{
    bool digit = false, point = false;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else if (!((c == '-' || c == '+') && i == 0))
            return false;
    }
    return digit;
}

class Shortener {
public:
    explicit Shortener(std::string_view in) : in_(in) { out_.reserve(qsizetype(in.size()) + 4096); }

    bool run()
    {
        size_t i = 0;
        while (i < in_.size()) {
            const char c = in_[i];
            if (PdfIsSpace(c)) {
                const size_t from = i;
                while (i < in_.size() && PdfIsSpace(in_[i]))
                    ++i;
                if (operands_.empty())
                    out_.append(in_.data() + from, qsizetype(i - from));
            } else if (c == '(') {
                if (!copyString(&i))
                    return false;
            } else if (c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' || c == '/' ||
                       c == '%') {
                flushOperands(false);
                const size_t from = i;
                if (c == '%') {
                    while (i < in_.size() && in_[i] != '\n' && in_[i] != '\r')
                        ++i;
                } else if ((c == '<' || c == '>') && i + 1 < in_.size() && in_[i + 1] == c) {
                    i += 2;
                } else if (c == '<') {
                    while (i < in_.size() && in_[i] != '>')
                        ++i;
                    ++i;
                } else if (c == '/') {
                    ++i;
                    while (i < in_.size() && !PdfIsSpace(in_[i]) && !PdfIsDelimiter(in_[i]))
                        ++i;
                } else {
                    ++i;
                }
                i = std::min(i, in_.size());
                out_.append(in_.data() + from, qsizetype(i - from));
                path_.clear();
            } else {
                const size_t from = i;
                while (i < in_.size() && !PdfIsSpace(in_[i]) && !PdfIsDelimiter(in_[i]))
                    ++i;
                const std::string_view token = in_.substr(from, i - from);
                if (IsNumber(token)) {
                    operands_.push_back({token});
                } else if (!operate(token)) {
                    return false;
                }
            }
        }
        flushOperands(false);
        return true;
    }

    QByteArray take() { return out_.take(); }

private:
    bool copyString(size_t* i)
    {
        flushOperands(false);
        const size_t from = *i;
        int depth = 0;
        size_t k = *i;
        for (; k < in_.size(); ++k) {
            if (in_[k] == '\\') {
                ++k;
            } else if (in_[k] == '(') {
                ++depth;
            } else if (in_[k] == ')' && --depth == 0) {
                ++k;
                break;
            }
        }
        if (depth != 0)
            return false;
        out_.append(in_.data() + from, qsizetype(k - from));
        *i = k;
        path_.clear();
        return true;
    }

    // The operands as written before an operator: rounded for a point of
    // an outline where that moves nothing visibly, else only trimmed.
    void flushOperands(bool round)
    {
        for (const Operand& o : operands_) {
            const size_t dot = o.text.find('.');
            // Beyond a trillion units a number is no point on a page: it keeps its text.
            if (round && dot != std::string_view::npos && o.text.size() - dot > 3 && std::fabs(o.value()) < 1e12) {
                AppendHundredths(&out_, o.value());
            } else {
                const std::string_view t = Trimmed(o.text);
                out_.append(t.data(), qsizetype(t.size()));
            }
            out_.append(' ');
        }
        operands_.clear();
    }

    bool operate(std::string_view op)
    {
        const bool pathPoint = op.size() == 1 ? op[0] == 'm' || op[0] == 'l' || op[0] == 'c' || op[0] == 'v' || op[0] == 'y'
                                              : op == "re";
        if (op == "BI" || op == "ID")
            return false;  // inline image data is not text
        if (op == "cm" && operands_.size() == 6) {
            const double a = operands_[0].value(), b = operands_[1].value(), c = operands_[2].value(),
                         d = operands_[3].value();
            scale_ *= std::sqrt(std::fabs(a * d - b * c));
        }
        const bool round = pathPoint && scale_ * kRoundingMove <= kMaxMovePoints;
        const qsizetype at = out_.size();
        const bool sameAsStart = op == "l" && operands_.size() == 2 && round;
        flushOperands(round);
        const qsizetype written = out_.size() - at;
        const bool backToStart = sameAsStart && startAt_ >= 0 && written == startSize_ &&
                                 std::memcmp(out_.constData() + at, out_.constData() + startAt_, size_t(written)) == 0;
        out_.append(op.data(), qsizetype(op.size()));
        if (op == "m") {
            startAt_ = at;
            startSize_ = written;
            lastLine_ = {-1, -1};
        } else if (op == "l") {
            lastLine_ = backToStart ? std::pair<qsizetype, qsizetype>{at, out_.size()}
                                    : std::pair<qsizetype, qsizetype>{-1, -1};
        } else if (op == "h") {
            if (lastLine_.first >= 0)
                path_.push_back(lastLine_);
            lastLine_ = {-1, -1};
        } else if (op == "f" || op == "f*" || op == "F") {
            dropClosingLines();
        } else if (op == "q") {
            saved_.push_back(scale_);
        } else if (op == "Q") {
            if (!saved_.empty()) {
                scale_ = saved_.back();
                saved_.pop_back();
            }
        }
        if (!pathPoint && op != "h") {
            path_.clear();
            lastLine_ = {-1, -1};
            startAt_ = -1;
        } else if (op != "l") {
            lastLine_ = {-1, -1};
        }
        return true;
    }

    // A filled outline closes itself: the line back to its start, just
    // before closing it, draws nothing.
    void dropClosingLines()
    {
        if (path_.empty())
            return;
        qsizetype to = path_.front().first;
        for (size_t k = 0; k < path_.size(); ++k) {
            // The line's text up to the whitespace before the next token.
            qsizetype from = path_[k].second;
            while (from < out_.size() && PdfIsSpace(out_[from]))
                ++from;
            const qsizetype end = k + 1 < path_.size() ? path_[k + 1].first : out_.size();
            std::memmove(out_.data() + to, out_.constData() + from, size_t(end - from));
            to += end - from;
        }
        out_.truncate(to);
        path_.clear();
    }

    std::string_view in_;
    Output out_;
    std::vector<Operand> operands_;
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
