// UTF-8 brought into the code page, and telling UTF-8 files from others.

#include <gtest/gtest.h>

#include "foundation/utf8_text.h"

TEST(Utf8Text, CharactersOfTheCodePageArriveAndOthersAreCounted)
{
    int32_t replaced = 0;
    EXPECT_EQ(Utf8ToCp1252("Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x94", &replaced), "Caf\xE9 \x80 \x97");
    EXPECT_EQ(replaced, 0);
    // One '?' per character, whatever its length: Greek, CJK, an emoji.
    EXPECT_EQ(Utf8ToCp1252("\xCE\xA9-\xE4\xB8\xAD-\xF0\x9F\x98\x80", &replaced), "?-?-?");
    EXPECT_EQ(replaced, 3);
    // Bytes that start no valid sequence: a lone continuation, an overlong
    // slash, an encoded surrogate, a lead byte followed by ASCII.
    replaced = 0;
    EXPECT_EQ(Utf8ToCp1252("a\x80" "b\xC0\xAF" "c\xED\xA0\x80" "d\xC3" "e", &replaced), "a?b??c???d?e");
    EXPECT_EQ(replaced, 7);
    // A character cut short by the end goes without a count.
    replaced = 0;
    EXPECT_EQ(Utf8ToCp1252("ab\xE2\x82", &replaced), "ab");
    EXPECT_EQ(replaced, 0);
}

TEST(Utf8Text, CheckFollowsCharactersSplitBetweenPieces)
{
    const std::string text = "Stra\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80!";
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        Utf8Check check;
        check.Feed(text.data(), cut);
        check.Feed(text.data() + cut, text.size() - cut);
        EXPECT_TRUE(check.IsUtf8()) << cut;
    }
    Utf8Check ascii;
    ascii.Feed("plain", 5);
    EXPECT_FALSE(ascii.IsUtf8());  // nothing beyond ASCII: read it as the code page
    Utf8Check latin;
    latin.Feed("M\xFCller,x", 8);
    EXPECT_FALSE(latin.IsUtf8());
    Utf8Check cut;
    cut.Feed("ab\xC3", 3);
    EXPECT_FALSE(cut.IsUtf8());  // the file ends inside a character
    EXPECT_TRUE(StartsWithUtf8Bom("\xEF\xBB\xBFx"));
    EXPECT_FALSE(StartsWithUtf8Bom("\xEF\xBB"));
}
