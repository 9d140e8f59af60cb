// The tokens of a page's content: numbers, operators, names, strings,
// arrays and dictionaries, with comments and white space passed. What a
// token means is each pass's own.
//
// Inline so that the passes, which read every byte of every printed page,
// keep their loops tight.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "pdf/pdf_lexis.h"

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
