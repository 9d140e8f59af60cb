// The ToUnicode maps Qt's PDF engine writes send the space glyph to the
// tab; every single glyph so mapped is found, in arrays, single ranges and
// single characters, and nothing else: a range counting up from the tab
// over several glyphs, a tab outside a map.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/pdf_space_glyphs.h"

namespace {

std::string ToUnicodeMap(const std::string& sections)
{
    return "9 0 obj\n<< /Length 1 >>\nstream\n/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
           "/CMapName /Adobe-Identity-UCS def\n" +
           sections + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n\nendstream\nendobj\n";
}

// The bytes with each place found written as the space.
std::string WithSpacesMended(std::string bytes)
{
    for (size_t at : TabsForSpaceInToUnicodeMaps(bytes))
        bytes.replace(at, 6, "<0020>");
    return bytes;
}

TEST(PdfSpaceGlyphs, TheSpaceGlyphOfEveryMapReadsAsASpaceAndNothingElseChanges)
{
    const std::string first =
        ToUnicodeMap("2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0004> [<0041> <0009> <0062> <0009>]\n"
                     "endbfrange\n1 beginbfchar\n<0005> <0009>\nendbfchar\n");
    const std::string second =
        ToUnicodeMap("2 beginbfrange\n<0003> <0003> <0009>\n<0004> <0006> <0009>\nendbfrange\n");
    const std::string outside = "(<0009>) Tj\n";
    const std::string mended = WithSpacesMended(outside + first + second + outside);
    const std::string firstMended =
        ToUnicodeMap("2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0004> [<0041> <0020> <0062> <0020>]\n"
                     "endbfrange\n1 beginbfchar\n<0005> <0020>\nendbfchar\n");
    const std::string secondMended =
        ToUnicodeMap("2 beginbfrange\n<0003> <0003> <0020>\n<0004> <0006> <0009>\nendbfrange\n");
    EXPECT_EQ(mended, outside + firstMended + secondMended + outside);
    // Written once, nothing is left to mend.
    EXPECT_TRUE(TabsForSpaceInToUnicodeMaps(mended).empty());
    // A map cut short is left alone.
    EXPECT_TRUE(TabsForSpaceInToUnicodeMaps(first.substr(0, first.find("endbfrange"))).empty());
}

}  // namespace
