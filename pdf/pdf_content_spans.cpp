#include "pdf/pdf_content_spans.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "pdf/pdf_lexis.h"

namespace {

// The linear part of a matrix; where the page lands plays no part.
struct Linear {
    double a = 1, b = 0, c = 0, d = 1;
};

// This matrix applied before `m`, as "cm" does.
Linear Then(const Linear& cm, const Linear& m)
{
    return {cm.a * m.a + cm.b * m.c, cm.a * m.b + cm.b * m.d, cm.c * m.a + cm.d * m.c, cm.c * m.b + cm.d * m.d};
}

bool Aslant(const Linear& m)
{
    // The engine writes nine decimals; a quarter turn's zero comes out as
    // zero or as noise far below the other part.
    constexpr double kNoise = 1e-6;
    const double across = std::abs(m.a), up = std::abs(m.b);
    return across > kNoise * up && up > kNoise * across;
}

double Number(std::string_view word) { return std::strtod(std::string(word).c_str(), nullptr); }

// Whether the line's last word is "q", "Q", "cm", "BT" or "ET".
bool EndsTracked(std::string_view line)
{
    size_t end = line.size();
    while (end > 0 && PdfIsSpace(line[end - 1]))
        --end;
    size_t begin = end;
    while (begin > 0 && !PdfIsSpace(line[begin - 1]) && !PdfIsDelimiter(line[begin - 1]))
        --begin;
    const std::string_view word = line.substr(begin, end - begin);
    return word == "q" || word == "Q" || word == "cm" || word == "BT" || word == "ET";
}

void AppendHex(QByteArray* out, const std::string& bytes)
{
    static const char kHex[] = "0123456789ABCDEF";
    out->append('<');
    for (char ch : bytes) {
        const auto u = uint8_t(ch);
        out->append(kHex[u >> 4]);
        out->append(kHex[u & 15]);
    }
    out->append('>');
}

}  // namespace

bool SpanAslantText(const QByteArray& content, const std::vector<std::string>& texts, QByteArray* out)
{
    if (texts.empty())
        return false;
    const std::string_view s(content.constData(), size_t(content.size()));
    std::vector<Linear> saved;
    Linear ctm;
    // The last six operands, for "cm", read as numbers only there.
    std::array<std::string_view, 6> operands{};
    size_t operandCount = 0;
    struct Block {
        size_t begin, end;
    };
    std::vector<Block> blocks;
    bool inAslantBlock = false;
    size_t blockBegin = 0;
    size_t i = 0;
    size_t lineEnd = 0;
    while (i < s.size()) {
        if (i >= lineEnd) {
            // The engine ends a line with its operator, and most lines
            // draw: only those ending in one the spans follow are read.
            const size_t newline = s.find('\n', i);
            lineEnd = newline == std::string_view::npos ? s.size() : newline + 1;
            if (!EndsTracked(s.substr(i, lineEnd - i))) {
                i = lineEnd;
                operandCount = 0;
                continue;
            }
        }
        const char c = s[i];
        if (PdfIsSpace(c)) {
            ++i;
            continue;
        }
        const size_t start = i;
        if (c == '%') {
            while (i < s.size() && s[i] != '\n' && s[i] != '\r')
                ++i;
            continue;
        }
        if (c == '(') {
            // A literal string, with its escapes and nested parentheses.
            int depth = 0;
            for (; i < s.size(); ++i) {
                if (s[i] == '\\') {
                    ++i;
                } else if (s[i] == '(') {
                    ++depth;
                } else if (s[i] == ')' && --depth == 0) {
                    ++i;
                    break;
                }
            }
            operandCount = 0;
            continue;
        }
        if (c == '<' && i + 1 < s.size() && s[i + 1] != '<') {
            const size_t close = s.find('>', i);
            i = close == std::string_view::npos ? s.size() : close + 1;
            operandCount = 0;
            continue;
        }
        if (PdfIsDelimiter(c)) {
            // Names, brackets and dictionary marks: operands "cm" never has.
            ++i;
            if (c == '/') {
                while (i < s.size() && !PdfIsSpace(s[i]) && !PdfIsDelimiter(s[i]))
                    ++i;
            } else if ((c == '<' || c == '>') && i < s.size() && s[i] == c) {
                ++i;
            }
            operandCount = 0;
            continue;
        }
        while (i < s.size() && !PdfIsSpace(s[i]) && !PdfIsDelimiter(s[i]))
            ++i;
        const std::string_view word = s.substr(start, i - start);
        const char first = word.front();
        if (std::isdigit(uint8_t(first)) || first == '-' || first == '+' || first == '.') {
            for (size_t k = 0; k + 1 < operands.size(); ++k)
                operands[k] = operands[k + 1];
            operands.back() = word;
            ++operandCount;
            continue;
        }
        if (word == "q") {
            saved.push_back(ctm);
        } else if (word == "Q") {
            if (!saved.empty()) {
                ctm = saved.back();
                saved.pop_back();
            }
        } else if (word == "cm" && operandCount >= 6) {
            ctm = Then({Number(operands[0]), Number(operands[1]), Number(operands[2]), Number(operands[3])}, ctm);
        } else if (word == "BT") {
            inAslantBlock = Aslant(ctm);
            blockBegin = start;
        } else if (word == "ET" && inAslantBlock) {
            blocks.push_back({blockBegin, i});
            inAslantBlock = false;
        }
        operandCount = 0;
    }
    if (blocks.size() != texts.size())
        return false;
    QByteArray made;
    made.reserve(content.size() + qsizetype(blocks.size()) * 64);
    size_t from = 0;
    for (size_t k = 0; k < blocks.size(); ++k) {
        if (texts[k].empty())
            continue;
        made.append(content.constData() + from, qsizetype(blocks[k].begin - from));
        made.append("/Span <</ActualText ");
        AppendHex(&made, texts[k]);
        made.append(">> BDC\n");
        made.append(content.constData() + blocks[k].begin, qsizetype(blocks[k].end - blocks[k].begin));
        made.append("\nEMC");
        from = blocks[k].end;
    }
    made.append(content.constData() + from, qsizetype(s.size() - from));
    *out = std::move(made);
    return true;
}
