// Passes over the lines Qt's PDF engine (and the trim after it) writes for
// a run of glyphs, without reading them: the passes that take nothing from
// a run's glyphs go past them at the speed of a scan.
#pragma once

#include <cstring>
#include <string_view>

#include "pdf/pdf_byte_scan.h"

// Past the lines "dx dy Td <glyph> Tj" from `p` on, as Qt's PDF engine
// writes each glyph of a run of text: to the line break after the last.
// The steps are not read, only passed.
inline const char* PdfSkipGlyphLines(const char* p, const char* const end)
{
    const auto numbers = [end](const char* q) {
        const char* const past = PdfPastNumberBytes(q, end);
        return past == q ? nullptr : past;
    };
    const auto hex = [end](const char* q) {
        const char* const past = PdfPastHexBytes(q, end);
        return past == q ? nullptr : past;
    };
    const auto text = [end](const char* q, std::string_view t) {
        return size_t(end - q) >= t.size() && std::memcmp(q, t.data(), t.size()) == 0 ? q + t.size() : nullptr;
    };
    const char* passed = p;
    for (;;) {
        const char* q = numbers(p);
        if (!q || q == end || *q != ' ' || !(q = numbers(q + 1)) || !(q = text(q, " Td <")) || !(q = hex(q)) ||
            !(q = text(q, "> Tj\n")))
            return passed;
        passed = p = q;
    }
}

// Past the lines "[<codes>n<codes>...]TJ", each maybe after "dx dy Td ", from
// `p` on, as a run of glyphs is written as one string
// (pdf_glyph_strings.h): to the line break after the last. Nothing in them
// is read, only passed.
inline const char* PdfSkipGlyphStrings(const char* p, const char* const end)
{
    const auto numberBytes = [end](const char* q) { return PdfPastNumberBytes(q, end); };
    const char* passed = p;
    for (;;) {
        const char* q = numberBytes(p);
        if (q != p) {
            // The move before the string.
            if (q == end || *q != ' ' || (q = numberBytes(q + 1)) == end || size_t(end - q) < 5 ||
                std::memcmp(q, " Td [", 5) != 0)
                return passed;
            q += 4;
        }
        if (q == end || *q++ != '[')
            return passed;
        for (;;) {
            if (q == end)
                return passed;
            if (*q == '<') {
                q = PdfPastHexBytes(q + 1, end);
                if (q == end || *q++ != '>')
                    return passed;
            } else if (*q == ']') {
                break;
            } else {
                const char* const number = q;
                q = numberBytes(q);
                if (q == number)
                    return passed;
            }
        }
        if (size_t(end - q) < 4 || std::memcmp(q, "]TJ\n", 4) != 0)
            return passed;
        passed = p = q + 4;
    }
}
