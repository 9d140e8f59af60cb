// Our hyphenation against libhyphen, an independent implementation of the
// same pattern method, loaded with our own compiled-in patterns, over every
// all-lowercase word of the American English word list (wamerican).
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QProcess>

#include "support/needed_tools.h"
#include "support/temp_dir.h"
#include "text/hyphen_patterns_table.h"
#include "text/hyphenation.h"

#ifdef TESSALINE_LIBHYPHEN_CONVERTER
#include <hyphen.h>
#endif

namespace {

#ifdef TESSALINE_LIBHYPHEN_CONVERTER

// The word with '-' before each letter whose gap allows a break.
std::string Show(const std::string& w, const std::vector<bool>& gap)
{
    std::string s;
    for (size_t j = 0; j < w.size(); ++j) {
        if (gap[j])
            s += '-';
        s += w[j];
    }
    return s;
}
#endif

TEST(HyphenOracle, AgreesWithLibhyphenOnEveryLowercaseWord)
{
#ifndef TESSALINE_LIBHYPHEN_CONVERTER
    SKIP_FOR_MISSING_TOOL() << "libhyphen is not installed (Debian package libhyphen-dev)";
#else
    std::ifstream list(TESSALINE_WORD_LIST);
    if (!list)
        SKIP_FOR_MISSING_TOOL() << TESSALINE_WORD_LIST << " is missing (Debian package wamerican)";

    // libhyphen's own converter turns our table, kept in TeX form, into
    // libhyphen's format, with no minimum distance from either end of the
    // word: ours has none either.
    TempDir dir;
    {
        std::ofstream tex(dir.file("patterns.tex"));
        for (const char* p : kHyphenPatterns)
            tex << p << '\n';
    }
    QProcess perl;
    perl.setStandardOutputFile(QProcess::nullDevice());
    perl.start("perl", {TESSALINE_LIBHYPHEN_CONVERTER, QString::fromStdString(dir.file("patterns.tex")),
                        QString::fromStdString(dir.file("patterns.dic")), "ISO8859-1", "1", "1"});
    ASSERT_TRUE(perl.waitForFinished(120000) && perl.exitCode() == 0) << "the pattern conversion failed";
    std::unique_ptr<HyphenDict, void (*)(HyphenDict*)> dict(hnj_hyphen_load(dir.file("patterns.dic").c_str()),
                                                           hnj_hyphen_free);
    ASSERT_TRUE(dict);

    int compared = 0, mismatches = 0;
    std::string w;
    while (std::getline(list, w)) {
        const size_t n = w.size();
        if (n < kHyphenMinWordLength || n > kHyphenMaxWordLength ||
            w.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos)
            continue;
        ++compared;
        HyphenValues values;
        HyphenateWord(w.c_str(), values);
        std::vector<char> hyphens(n + 5, 0);
        char** rep = nullptr;
        int* pos = nullptr;
        int* cut = nullptr;
        hnj_hyphen_hyphenate3(dict.get(), w.c_str(), int(n), hyphens.data(), nullptr, &rep, &pos, &cut, 1, 1, 1, 1);

        // Gap j lies before letter j; libhyphen marks the gap after letter
        // j - 1. Our own two rules are applied to libhyphen's result.
        std::vector<bool> ours(n, false), theirs(n, false);
        for (size_t j = 1; j < n; ++j) {
            ours[j] = values[j] % 2 == 1;
            theirs[j] = hyphens[j - 1] % 2 == 1;
        }
        if (w[n - 1] == w[n - 2])
            theirs[n - 1] = false;
        if (n >= 8 && w.compare(0, 4, "anti") == 0) {
            theirs[1] = theirs[2] = theirs[3] = false;
            theirs[4] = true;
        }
        if (ours != theirs && ++mismatches <= 20)
            ADD_FAILURE() << Show(w, ours) << " / libhyphen " << Show(w, theirs);
    }
    EXPECT_GT(compared, 60000) << "the word list looks incomplete";
    EXPECT_EQ(mismatches, 0) << "of " << compared << " words";
#endif
}

}  // namespace
