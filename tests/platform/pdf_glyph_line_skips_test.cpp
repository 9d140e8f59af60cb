// The lines of a run of glyphs are passed to the break after the last
// whole one: a line cut short, or written otherwise, is left to be read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/pdf_glyph_line_skips.h"

namespace {

TEST(PdfGlyphLineSkips, LinesOfGlyphsArePassedToTheLastWholeOne)
{
    struct Lines {
        const char* (*skip)(const char*, const char*);
        std::vector<std::string> lines;    // each passed whole
        std::vector<std::string> refused;  // none passed
    };
    const std::vector<Lines> kinds = {
        {PdfSkipGlyphLines,
         {"0 0 Td <0001> Tj\n", "-12.5 +.25 Td <00Af> Tj\n"},
         {"1 2 Td <> Tj\n", "1 2 Td <0001> Tj", "1 2 TD <0001> Tj\n", "1 Td <0001> Tj\n"}},
        {PdfSkipGlyphStrings,
         {"[<0001>-250<0002>]TJ\n", "3 -4.5 Td [<00ff>12]TJ\n", "[]TJ\n"},
         {"[<0001>x]TJ\n", "[<0001]TJ\n", "3 Td [<0001>]TJ\n", "[<0001>]TJ"}},
    };
    for (const Lines& kind : kinds) {
        const auto passed = [&kind](const std::string& content) {
            return size_t(kind.skip(content.data(), content.data() + content.size()) - content.data());
        };
        for (const std::string& refused : kind.refused)
            EXPECT_EQ(passed(refused), 0u) << refused;
        // Cut at every byte, the lines before the cut are passed.
        std::string content;
        for (const std::string& line : kind.lines) {
            for (size_t cut = 0; cut < line.size(); ++cut)
                EXPECT_EQ(passed(content + line.substr(0, cut)), content.size()) << content << cut;
            content += line;
        }
        EXPECT_EQ(passed(content + "ET\n"), content.size());
    }
}

}  // namespace
