#include <gtest/gtest.h>

#include "foundation/alerts.h"
#include "support/alert_capture.h"

namespace {

TEST(Alerts, CodeIsAppendedInBracketsOnlyWhenNonZero)
{
    AlertCapture capture;
    AlertNote("Saved", 0);
    EXPECT_EQ(capture.lastText(), "Saved");
    AlertNote("Saved", 38);
    EXPECT_EQ(capture.lastText(), "Saved [38]");
    EXPECT_EQ(capture.boxes().back().style, uint32_t(kMbIconInformation));
}

TEST(Alerts, ConfirmAnswersOneForOkAndZeroForCancel)
{
    AlertCapture capture;
    EXPECT_EQ(AlertConfirm("Go on?", 0), 1);
    EXPECT_EQ(capture.boxes().back().style, uint32_t(kMbOkCancel | kMbIconQuestion));
    capture.answer(kIdCancel);
    EXPECT_EQ(AlertConfirm("Go on?", 0), 0);
    EXPECT_EQ(AlertStop("Bad", 0), 1);  // stop boxes always give 1
}

TEST(Alerts, UnknownKindShowsAStopBox)
{
    AlertCapture capture;
    AlertShowText(123, "x", 0);
    EXPECT_EQ(capture.boxes().back().style, uint32_t(kMbIconStop));
}

TEST(Alerts, ShowJoinsFourPartsWithSingleSpaces)
{
    AlertCapture capture;
    AlertShow(kAlertKindNote, "a", "b", "", "d");
    EXPECT_EQ(capture.lastText(), "a b  d");
}

TEST(Alerts, StringAlertsTakeTextFromTableAndGroupTitleFromBase)
{
    AlertCapture capture;
    AlertStopById(365, 5, 5);
    EXPECT_EQ(capture.lastText(), "File is Locked. [5]");
    EXPECT_EQ(capture.boxes().back().caption, "IO FILE ERROR");
}

}  // namespace
