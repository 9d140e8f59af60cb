#include "pdf/pdf_content_spans.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "pdf/pdf_byte_scan.h"
#include "pdf/pdf_decimal.h"
#include "pdf/pdf_tokenizer.h"

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

// A matrix's number; 0 for one that cannot be read, as strtod made it.
double Number(std::string_view word)
{
    double v = 0;
    return PdfReadReal(word, &v) ? v : 0;
}

// What the bytes either side of a line break tell, looked up at once: most
// lines are passed on the strength of these two bytes alone.
enum : uint8_t {
    // Before the break: the line may end in "q", "Q", "cm", "BT" or "ET",
    // white space after it or not.
    kMayEndTracked = 1,
    // After it: the next line begins with white space or a comment, which
    // the tokens pass rather than the lines.
    kStopsLines = 2,
};

constexpr std::array<uint8_t, 256> kLineEdges = [] {
    std::array<uint8_t, 256> edges{};
    for (int c = 0; c < 256; ++c) {
        const bool space = PdfIsSpace(char(c));
        edges[size_t(c)] = uint8_t((c == 'q' || c == 'Q' || c == 'm' || c == 'T' || space ? kMayEndTracked : 0) |
                                   (space || c == '%' ? kStopsLines : 0));
    }
    return edges;
}();

uint8_t EdgeOf(char c) { return kLineEdges[static_cast<unsigned char>(c)]; }

// Whether the line's last word is "q", "Q", "cm", "BT" or "ET". Asked of
// every line of the page, most of which draw glyphs or outlines: told by
// its last byte first, then by the one or two before it.
bool EndsTracked(std::string_view line)
{
    size_t end = line.size();
    while (end > 0 && PdfByteClass(line[end - 1]) == PdfByte::kSpace)
        --end;
    // Whether the `n` bytes before `end` are a whole word: nothing but
    // white space or a delimiter stands before them.
    const auto startsWord = [&line, end](size_t n) {
        return end == n || (end > n && PdfByteClass(line[end - n - 1]) != PdfByte::kRegular);
    };
    if (end == 0)
        return false;
    switch (line[end - 1]) {
    case 'q':
    case 'Q':
        return startsWord(1);
    case 'm':
        return end >= 2 && line[end - 2] == 'c' && startsWord(2);
    case 'T':
        return end >= 2 && (line[end - 2] == 'B' || line[end - 2] == 'E') && startsWord(2);
    default:
        return false;
    }
}

void AppendHex(QByteArray* out, const std::string& bytes)
{
    // Written into room made once: a byte appended at a time asks each
    // time whether the array is shared.
    static const char kHex[] = "0123456789ABCDEF";
    const qsizetype at = out->size();
    out->resize(at + 2 + 2 * qsizetype(bytes.size()));
    char* to = out->data() + at;
    *to++ = '<';
    for (char ch : bytes) {
        const auto u = uint8_t(ch);
        *to++ = kHex[u >> 4];
        *to++ = kHex[u & 15];
    }
    *to = '>';
}

}  // namespace

bool SpanAslantText(const QByteArray& content, const std::vector<std::string>& texts, QByteArray* out)
{
    if (texts.empty())
        return false;
    const std::string_view s(content.constData(), size_t(content.size()));
    std::vector<Linear> saved;
    Linear ctm;
    const auto save = [&saved, &ctm] { saved.push_back(ctm); };
    const auto restore = [&saved, &ctm] {
        if (!saved.empty()) {
            ctm = saved.back();
            saved.pop_back();
        }
    };
    // The last six operands, for "cm", read as numbers only there: the
    // k-th number read is kept at k % 6.
    std::array<std::string_view, 6> operands{};
    size_t operandCount = 0;
    struct Block {
        size_t begin, end;
    };
    std::vector<Block> blocks;
    bool inAslantBlock = false;
    size_t blockBegin = 0;
    // "BT" and "ET" at `at`.
    const auto beginText = [&](const char* at) {
        inAslantBlock = Aslant(ctm);
        blockBegin = size_t(at - s.data());
    };
    const auto endText = [&](const char* at) {
        if (inAslantBlock) {
            blocks.push_back({blockBegin, size_t(at + 2 - s.data())});
            inAslantBlock = false;
        }
    };
    PdfTokenizer tokens(s);
    PdfTokenSpan t;
    const char* const end = s.data() + s.size();
    const char* lineEnd = s.data();
    // Kept from one line passed to the next: the tokens of a line read
    // mostly end where the next line begins, its break already found.
    PdfLineBreaks breaks(lineEnd, end);
    for (;;) {
        const char* const at = tokens.skipSpace();
        if (at == end)
            break;
        if (at >= lineEnd) {
            // The engine ends a line with its operator, and most lines
            // draw: only those ending in one the spans follow are read.
            // The lines passed are passed one after the other here while
            // each begins at once with what the tokens read, as each of the
            // engine's does (white space or a comment first is passed as
            // the tokens pass it).
            if (at != lineEnd)
                breaks = PdfLineBreaks(at, end);
            const char* from = at;
            bool tracked = false;
            for (;;) {
                const char* const lineBreak = breaks.next();
                lineEnd = lineBreak == end ? end : lineBreak + 1;
                // Told by the byte before the break first: most lines end
                // in an operator the spans do not follow.
                if ((EdgeOf(lineBreak[-1]) & kMayEndTracked) != 0) {
                    // A save, a restore or where text begins or ends alone
                    // on its line, as the engine writes most, is followed
                    // here rather than read.
                    const ptrdiff_t size = lineBreak - from;
                    if (size == 1 && (*from == 'q' || *from == 'Q')) {
                        *from == 'q' ? save() : restore();
                    } else if (size == 2 && from[1] == 'T' && (*from == 'B' || *from == 'E')) {
                        *from == 'B' ? beginText(from) : endText(from);
                    } else if (EndsTracked(std::string_view(from, size_t(lineEnd - from)))) {
                        tracked = true;
                        break;
                    }
                }
                if (lineEnd == end || (EdgeOf(*lineEnd) & kStopsLines) != 0)
                    break;
                from = lineEnd;
            }
            // The operands of a line passed are no tracked operator's.
            if (!tracked || from != at)
                operandCount = 0;
            if (!tracked) {
                tokens.seek(lineEnd);
                continue;
            }
            tokens.seek(from);
        }
        if (!tokens.next(&t))
            break;
        if (t.kind == PdfToken::kNumber) {
            operands[operandCount++ % operands.size()] = t.text();
            continue;
        }
        if (t.kind != PdfToken::kOperator) {
            // Strings, names, brackets and dictionary marks: operands "cm"
            // never has.
            operandCount = 0;
            continue;
        }
        const std::string_view word = t.text();
        if (word == "q") {
            save();
        } else if (word == "Q") {
            restore();
        } else if (word == "cm" && operandCount >= 6) {
            const auto number = [&](size_t k) { return Number(operands[(operandCount - 6 + k) % operands.size()]); };
            ctm = Then({number(0), number(1), number(2), number(3)}, ctm);
        } else if (word == "BT") {
            beginText(t.at);
        } else if (word == "ET") {
            endText(t.at);
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
