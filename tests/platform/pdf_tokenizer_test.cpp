// The tokens of a page's content: each kind whole, strings that nest and
// escape, what does not close told apart, and comments and white space
// passed; words of every length end where they do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/pdf_tokenizer.h"

namespace {

std::vector<std::pair<PdfToken, std::string>> Tokens(const std::string& content)
{
    std::vector<std::pair<PdfToken, std::string>> tokens;
    PdfTokenizer tokenizer(content);
    PdfTokenSpan t;
    while (tokenizer.next(&t))
        tokens.emplace_back(t.kind, std::string(t.text()));
    return tokens;
}

TEST(PdfTokenizer, EachKindOfTokenIsReadWhole)
{
    using T = PdfToken;
    const std::vector<std::pair<PdfToken, std::string>> expected = {
        {T::kNumber, "-1.5"},     {T::kNumber, "+.5"},     {T::kOperator, "cm"},   {T::kName, "/F7"},
        {T::kString, "(a(b)\\)c)"}, {T::kHexString, "<0001>"}, {T::kOperator, "Tj"}, {T::kOpen, "["},
        {T::kNumber, "3"},        {T::kClose, "]"},        {T::kDictOpen, "<<"},   {T::kName, "/A"},
        {T::kDictClose, ">>"},    {T::kStray, ")"},        {T::kOperator, "T*"},   {T::kOpen, "{"},
        {T::kClose, "}"},         {T::kUnclosed, "(never"},
    };
    EXPECT_EQ(Tokens("  -1.5\t+.5 cm% a comment (not) q\r\n/F7(a(b)\\)c)<0001>Tj[3]<</A>>)T*{}\f(never"), expected);
    EXPECT_EQ(Tokens("<0A"), (std::vector<std::pair<PdfToken, std::string>>{{T::kUnclosed, "<0A"}}));
    EXPECT_EQ(Tokens("% only a comment"), (std::vector<std::pair<PdfToken, std::string>>{}));

    // A word is read four bytes at a time where four remain.
    for (size_t length = 1; length <= 10; ++length) {
        const std::string word(length, 'w');
        for (const std::string after : {"", " ", "/", "\n1"}) {
            const auto tokens = Tokens(word + after);
            ASSERT_FALSE(tokens.empty());
            EXPECT_EQ(tokens[0], std::make_pair(T::kOperator, word)) << length << after;
        }
    }
    PdfTokenizer tokenizer(std::string_view("  % c\n BT"));
    EXPECT_EQ(*tokenizer.skipSpace(), 'B');
    EXPECT_EQ(tokenizer.offset(), 7u);
}

}  // namespace
