#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "foundation/pstr.h"
#include "text/hyphen_patterns_table.h"
#include "text/hyphenation.h"

namespace {

std::string Hyphenated(const std::string& word)
{
    PStr w;
    PStrFromCStr(w, word.c_str());
    HyphenatedText out;
    HyphenateToString(w, out);
    return out;
}

std::string LettersOf(const char* pattern)
{
    std::string s(pattern);
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }), s.end());
    return s;
}

const uint8_t* Bytes(const char* s) { return reinterpret_cast<const uint8_t*>(s); }

TEST(HyphenTable, HoldsTheUsEnglishPatternsSortedAndIndexed)
{
    int perLength[9] = {};
    for (int i = 0; i < kHyphenPatternCount; ++i) {
        const std::string letters = LettersOf(kHyphenPatterns[i]);
        ASSERT_TRUE(letters.size() >= 2 && letters.size() <= 8) << kHyphenPatterns[i];
        ++perLength[letters.size()];
        if (i > 0) {
            const std::string before = LettersOf(kHyphenPatterns[i - 1]);
            EXPECT_LT(std::make_pair(before.size(), before), std::make_pair(letters.size(), letters));
        }
        // Every pattern is found through its bucket, whatever the bucket's size.
        EXPECT_EQ(FindPattern(letters.c_str(), int(letters.size())), kHyphenPatterns[i]) << letters;
    }
    EXPECT_EQ(kHyphenPatternCount, 4447);
    const int expected[9] = {0, 0, 284, 927, 1870, 1077, 249, 33, 7};
    EXPECT_TRUE(std::equal(perLength, perLength + 9, expected));

    static_assert(kHyphenBucketCount == 7 * 27 * 27 && kHyphenLastBucket == 5101);
    int total = 0, largest = 0;
    for (const HyphenBucket& b : kHyphenBuckets) {
        total += b.count;
        largest = std::max(largest, int(b.count));
    }
    EXPECT_EQ(total, 4447);
    EXPECT_EQ(largest, 23);
    EXPECT_EQ(kHyphenBuckets[kHyphenBucketCount - 1].count, 0);

    // Lengths outside 2..8 and characters no pattern holds find nothing.
    EXPECT_EQ(FindPattern("hyphenate", 9), nullptr);
    EXPECT_EQ(FindPattern("a", 1), nullptr);
    EXPECT_EQ(FindPattern("a\xE9", 2), nullptr);
    EXPECT_EQ(FindPattern("e'x", 3), nullptr);
    EXPECT_LT(ComparePatternLetters("ab", "a2b3c"), 0);
    EXPECT_EQ(ComparePatternLetters(".a1b", ".ab"), 0);
}

TEST(HyphenateWord, GivesTheKnownBreaks)
{
    HyphenValues v;
    HyphenateWord("hyphenation", v);
    EXPECT_EQ(v[2], 3);
    EXPECT_EQ(v[6], 5);
    EXPECT_EQ(Hyphenated("hyphenation"), "hy-phen-ation");
    EXPECT_EQ(Hyphenated("programming"), "pro-gram-ming");
    // The patterns alone: the source's exception words are not used.
    EXPECT_EQ(Hyphenated("table"), "table");
    EXPECT_EQ(Hyphenated("present"), "p-re-sen-t");
    EXPECT_EQ(Hyphenated("HYPHENATION"), "HY-PHEN-ATION");
}

TEST(HyphenateWord, RulesOfItsOwnLookAtTheWordAsGiven)
{
    // No break before a final doubled letter; with different case the
    // letters differ and the patterns' break stays.
    EXPECT_EQ(Hyphenated("basketball"), "bas-ket-ball");
    EXPECT_EQ(Hyphenated("basketbalL"), "bas-ket-bal-L");
    // "anti" at the start of 8 letters or more: one break, after it.
    HyphenValues v;
    HyphenateWord("antibodies", v);
    EXPECT_EQ(v[4], 5);
    EXPECT_EQ(Hyphenated("antibodies"), "anti-bod-ies");
    EXPECT_EQ(Hyphenated("antic"), "an-tic");
    EXPECT_EQ(Hyphenated("Antibodies"), "An-ti-bod-ies");
}

TEST(HyphenateWord, StaysInsideItsBuffersForWordsOfAnyLength)
{
    for (size_t n : {1, 2, 253, 255, 300}) {
        HyphenValues v;
        std::memset(v, 7, sizeof v);
        HyphenateWord(std::string(n, 'e').c_str(), v);
        EXPECT_EQ(std::count(v, v + kHyphenValueCount, 0), kHyphenValueCount) << n << " letters";
    }
    EXPECT_EQ(Hyphenated(std::string(255, 'x')), std::string(255, 'x'));

    // A 252-letter word clears and writes entries up to 255; the array is
    // allocated at exactly its size so that the sanitizers see any overrun.
    std::string word;
    while (word.size() < 252)
        word += "hyphenation";
    word.resize(252);
    auto storage = std::make_unique<uint8_t[]>(kHyphenValueCount);
    std::memset(storage.get(), 7, kHyphenValueCount);
    auto& values = *reinterpret_cast<HyphenValues*>(storage.get());
    HyphenateWord(word.c_str(), values);
    EXPECT_EQ(values[255], 0);
    EXPECT_EQ(values[11 * 20 + 6], 5);
    const std::string text = Hyphenated(word);
    EXPECT_EQ(text.substr(0, 27), "hy-phen-ation-hy-phen-ation");
    EXPECT_EQ(text.size(), 252u + std::count(text.begin(), text.end(), '-'));
}

TEST(HyphenBreak, FindsTheWordAndTheLastPointBeforeTheBreak)
{
    const char* text = "see (\"hyphenation\"), now";
    PStr word;
    // Backward over the opening punctuation, forward over letters only.
    EXPECT_EQ(GetWordAtBreak(Bytes(text), 24, 10, word), 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(word + 1), word[0]), "(\"hyphenation");
    EXPECT_EQ(GetWordAtBreak(Bytes("a  b"), 4, 2, word), 2);
    EXPECT_EQ(word[0], 0);
    const std::string run(300, 'm');
    EXPECT_EQ(GetWordAtBreak(Bytes(run.c_str()), 300, 280, word), 0);
    EXPECT_EQ(word[0], 252);

    EXPECT_EQ(FindHyphenBreak("hy-phen-ation", 4, 4 + 9), 5);
    EXPECT_EQ(FindHyphenBreak("hy-phen-ation", 4, 4 + 2), 0);

    // "the hyphen-" stays on the line; a point right at the character that
    // did not fit is not taken, and the whole word moves down.
    HyphenBreak b = ChooseHyphenBreak(Bytes("the hyphenation of"), 18, 4 + 9);
    EXPECT_TRUE(b.applies && b.shownHyphen);
    EXPECT_EQ(b.end, 4 + 6);
    b = ChooseHyphenBreak(Bytes("the hyphenation of"), 18, 4 + 2);
    EXPECT_TRUE(b.applies && !b.shownHyphen);
    EXPECT_EQ(b.end, 4);
    // p-re-sen-t: the point after "p" would leave one letter on the line.
    b = ChooseHyphenBreak(Bytes("a present"), 9, 2 + 3);
    EXPECT_EQ(b.end, 2);
    EXPECT_FALSE(b.shownHyphen);
    b = ChooseHyphenBreak(Bytes("a present"), 9, 2 + 5);
    EXPECT_EQ(b.end, 2 + 3);
    EXPECT_FALSE(ChooseHyphenBreak(Bytes("a  b"), 4, 2).applies);
}

// Addresses, paths, numbers, placeholders and merge fields are no words of
// the language: they move down whole, never with a hyphen.
TEST(Hyphenation, AddressesNumbersPlaceholdersAndFieldsMoveDownWhole)
{
    struct Case {
        const char* text;
        int32_t p;
        int32_t end;
    };
    for (const Case& c : {Case{"Tel. info@example.com", 5 + 10, 5}, Case{"see /usr/share/hyphenation", 4 + 15, 4},
                          Case{"code 1234567hyphenation", 5 + 12, 5}, Case{"[FirstName] [LastName]", 12 + 5, 12},
                          Case{"dear <<Hyphenation>>", 5 + 9, 5}}) {
        SCOPED_TRACE(c.text);
        const HyphenBreak b = ChooseHyphenBreak(Bytes(c.text), int32_t(std::strlen(c.text)), c.p);
        EXPECT_TRUE(b.applies);
        EXPECT_FALSE(b.shownHyphen);
        EXPECT_EQ(b.end, c.end);
    }
    // A plain word in a merge field's text.
    const HyphenBreak field = ChooseHyphenBreak(Bytes("the hyphenation of"), 18, 4 + 9, false);
    EXPECT_TRUE(field.applies && !field.shownHyphen);
    EXPECT_EQ(field.end, 4);
}

}  // namespace
