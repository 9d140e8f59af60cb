// What tessaline-tool prints of stored text, a card's or a message's, in
// the locale's character set; the files keep theirs.

#include <gtest/gtest.h>

#include <string>

#include "support/shell.h"

namespace {

std::string Replaced(std::string bytes, const std::string& from, const std::string& to)
{
    for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + to.size()))
        bytes.replace(at, from.size(), to);
    return bytes;
}

TEST(TerminalTextTool, StoredTextIsPrintedInUtf8UnderAUtf8Locale)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "\"$T\" card new-sample card.lqx"), 0);
    // The label layout's name, stored in Windows-1252, given an e with a
    // diaeresis.
    const std::string stored = Replaced(ReadFileBytes(dir.file("card.lqx")), "Tessaline #5371", "Tessaline Zo\xEB" "71");
    WriteFileBytes(dir.file("card.lqx"), stored);
    ASSERT_EQ(Shell(dir, "LC_ALL=C.UTF-8 \"$T\" card dump card.lqx > dump"), 0);
    EXPECT_NE(ReadFileBytes(dir.file("dump")).find("label layout: Laser Tessaline Zo\xC3\xAB" "71\n"), std::string::npos)
        << ReadFileBytes(dir.file("dump"));
    EXPECT_EQ(ReadFileBytes(dir.file("card.lqx")), stored);

    // A message naming a file that is not there.
    EXPECT_EQ(Shell(dir, "LC_ALL=C.UTF-8 \"$T\" db dump 'Zo\xC3\xAB.dqx' 2> errors"), 1);
    const std::string errors = ReadFileBytes(dir.file("errors"));
    EXPECT_EQ(errors.find("Zo\xEB"), std::string::npos) << errors;
    EXPECT_NE(errors.find("Zo\xC3\xAB"), std::string::npos) << errors;
}

}  // namespace
