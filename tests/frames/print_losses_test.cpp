// A job's tally of lost text counts a label once, however many of its
// frames lost text, and names the first such label's first frame: a text
// frame by the text it begins with, a Quick Card as such.
#include <gtest/gtest.h>

#include <string>

#include "frames/print_losses.h"

namespace {

TEST(PrintLosses, ALabelCountsOnceAndTheFirstLabelsFirstFrameIsNamed)
{
    TakePrintLosses();
    NotePrintedLabel(3);
    NoteTextCutOff([] { return std::string("Return to"); });
    NoteQuickCardCutOff();
    NotePrintedLabel(4);
    NoteQuickCardCutOff();
    NoteTextCutOff([] { return std::string("Other"); });
    PrintLosses losses = TakePrintLosses();
    EXPECT_EQ(losses.textLabels, 2);
    EXPECT_EQ(losses.textRecord, 3);
    EXPECT_EQ(losses.textFrame, "Return to");
    EXPECT_FALSE(losses.textQuickCard);

    // The next job starts its own tally.
    NotePrintedLabel(7);
    NoteQuickCardCutOff();
    NoteTextCutOff([] { return std::string("Later"); });
    losses = TakePrintLosses();
    EXPECT_EQ(losses.textLabels, 1);
    EXPECT_EQ(losses.textRecord, 7);
    EXPECT_TRUE(losses.textQuickCard);
    EXPECT_EQ(losses.textFrame, "");
}

}  // namespace
