// Operators are told apart by the key of their bytes, and a table built
// when compiling finds what a pass makes of each, and nothing for others.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "pdf/pdf_operator_table.h"

namespace {

constexpr PdfOperatorTable<int, 6> kTable({{{PdfOpKey("q"), 1},
                                            {PdfOpKey("Q"), 2},
                                            {PdfOpKey("cm"), 3},
                                            {PdfOpKey("SCN"), 4},
                                            {PdfOpKey("BDC"), 5},
                                            {PdfOpKey("W*"), 6}}},
                                          -1);

uint32_t KeyOf(const std::string& word) { return PdfOperatorKey({PdfToken::kOperator, word.data(), word.size()}); }

TEST(PdfOperatorTable, EachOperatorIsFoundByItsBytesAndNoOtherIs)
{
    const std::array<std::string, 6> known = {"q", "Q", "cm", "SCN", "BDC", "W*"};
    for (size_t k = 0; k < known.size(); ++k) {
        EXPECT_EQ(KeyOf(known[k]), PdfOpKey(known[k].c_str())) << known[k];
        EXPECT_EQ(kTable.find(KeyOf(known[k])), int(k) + 1) << known[k];
    }
    for (const std::string other : {"c", "CM", "cmx", "SC", "BD", "W", "EMC", "Tj"})
        EXPECT_EQ(kTable.find(KeyOf(other)), -1) << other;
    // Four bytes are a key; more are none, and find nothing.
    EXPECT_EQ(KeyOf("abcd"), PdfOpKey("abcd"));
    EXPECT_EQ(KeyOf("abcde"), 0u);
    EXPECT_EQ(kTable.find(0), -1);
}

}  // namespace
