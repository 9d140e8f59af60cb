#include <gtest/gtest.h>

#include "frames/style_runs.h"
#include "support/alert_capture.h"
#include "text/char_measure.h"
#include "text/field_runs.h"
#include "text/smart_quotes.h"
#include "text/text_positions.h"
#include "text_fixture.h"

namespace {

class PositionsTest : public TextTest {
protected:
    void Story(const std::vector<std::string>& paragraphs, IntRect rect = {0, 0, 60, 400})
    {
        FlowStory(paragraphs, rect);
    }
    void Run(int32_t paragraph, int32_t s, int32_t e, uint16_t bit, int16_t value, const RunExtras& extras = {})
    {
        SetRunBit(&ctx, paragraph, s, e, bit, value, extras);
    }

};

TEST_F(PositionsTest, LinesHoldPositionsUpToTheirEnds)
{
    host.prefs.textWrap = false;
    Story({"aaaaaaaaaa   bb"});
    const std::vector<TextLineRecord> lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].first, 13);
    EXPECT_EQ(FindLineOfPosition(&ctx, 5, 0), 1);
    // A line's end: the line it ends, as no line starts there.
    EXPECT_EQ(FindLineOfPosition(&ctx, 10, 0), 1);
    EXPECT_EQ(FindLineOfPosition(&ctx, 11, 0), 0);
    EXPECT_EQ(SnapPositionToLine(&ctx, 11, 0, false), 9);
    EXPECT_EQ(SnapPositionToLine(&ctx, 11, 0, true), 13);
    EXPECT_EQ(SnapPositionToLine(&ctx, 14, 0, true), 14);
    EXPECT_EQ(SnapPositionToLine(&ctx, 2, 1, true), -1);
    ctx.SelectParagraph(0);
    SetCaret(&ctx, 12, true);
    EXPECT_EQ(ctx.Caret(), 13);
    SetCaret(&ctx, 500, false);
    EXPECT_EQ(ctx.Caret(), 15);

    // Where a wrapped line ends the next one begins.
    host.prefs.textWrap = true;
    Story({"aaaa bbbb cccc"});
    EXPECT_EQ(FindLineOfPosition(&ctx, 10, 0), 2);
    // Nothing while the text tool is not current.
    host.toolCurrent = false;
    IntPoint point;
    int32_t height = 0;
    EXPECT_FALSE(PositionToPoint(&ctx, &point, 1, 0, &height));
}

TEST_F(PositionsTest, PointsAndPositionsMapBothWays)
{
    Story({"abcdefghij klm", "second"});
    host.zoomNumerator = 2;
    IntPoint point;
    int32_t height = 0;
    ASSERT_TRUE(PositionToPoint(&ctx, &point, 3, 0, &height));
    EXPECT_EQ(point.x, 36);
    EXPECT_EQ(point.y, 24);
    EXPECT_EQ(height, 30);
    // Right of a character's middle: after it.
    PointToPosition(&ctx, IntPoint{2 * 10, 20});
    EXPECT_EQ(ctx.Caret(), 2);
    PointToPosition(&ctx, IntPoint{2 * 8, 20});
    EXPECT_EQ(ctx.Caret(), 1);
    // The second line, then below everything: the end of the last line.
    PointToPosition(&ctx, IntPoint{2 * 13, 2 * 27});
    EXPECT_EQ(ctx.ParagraphIndex(), 0);
    EXPECT_EQ(ctx.Caret(), 13);
    PointToPosition(&ctx, IntPoint{0, 2 * 300});
    EXPECT_EQ(ctx.ParagraphIndex(), 1);
    EXPECT_EQ(ctx.Caret(), 6);
    int32_t paragraph = 0, character = 0, line = 0;
    PointToTextPosition(&ctx, IntPoint{2 * 3, 2 * 5}, &paragraph, &character, &line);
    EXPECT_EQ(paragraph, 0);
    EXPECT_EQ(character, 1);
    EXPECT_EQ(line, 1);
    IntPoint caret;
    ctx.SelectParagraph(0);
    ctx.SetCaretCharacter(4);
    ASSERT_TRUE(CaretPointFromPosition(&ctx, &caret));
    EXPECT_EQ(caret.x, 24);
    EXPECT_EQ(caret.y, 12);
}

TEST_F(PositionsTest, WordsLinesAndParagraphsForClicks)
{
    Story({"  one two:30 three four", "x"}, IntRect{0, 0, 120, 400});
    ctx.SelectParagraph(0);
    ctx.SetCaretCharacter(8);
    int32_t first = 0, last = 0;
    ASSERT_TRUE(SelectionRangeForClick(&ctx, 2, &first, &last));
    EXPECT_EQ(first, 6);
    EXPECT_EQ(last, 11);
    ASSERT_TRUE(SelectionRangeForClick(&ctx, 3, &first, &last));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 18);
    ASSERT_TRUE(SelectionRangeForClick(&ctx, 4, &first, &last));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 23);
    EXPECT_FALSE(SelectionRangeForClick(&ctx, 5, &first, &last));
    ctx.SetCaretCharacter(5);
    EXPECT_EQ(FindWordBoundary(&ctx, true), 12);
    EXPECT_EQ(FindWordBoundary(&ctx, false), 2);
}

TEST_F(PositionsTest, SmartQuotesGoByTheCharacter)
{
    Story({"a b"});
    ctx.SelectParagraph(0);
    EXPECT_EQ(SmartQuoteFor(&ctx, 34, 2), 34);
    host.prefs.smartQuotes = true;
    host.prefs.quoteStyle = 3;
    ctx.RefreshPreferences();
    EXPECT_EQ(SmartQuoteFor(&ctx, 34, 2), 171);
    EXPECT_EQ(SmartQuoteFor(&ctx, 34, 1), 187);
    EXPECT_EQ(SmartQuoteFor(&ctx, 34, 0), 171);
    // A typed apostrophe is always the single pair.
    EXPECT_EQ(SmartQuoteFor(&ctx, 39, 1), 146);
    EXPECT_EQ(SmartQuoteFor(&ctx, 39, 2), 145);
    uint8_t open = 0, close = 0;
    host.prefs.quoteStyle = 2;
    ctx.RefreshPreferences();
    ASSERT_TRUE(GetSmartQuotes(&ctx, &open, &close, true));
    EXPECT_EQ(open, 132);
    EXPECT_EQ(close, 147);
    host.prefs.quoteStyle = 9;
    ctx.RefreshPreferences();
    EXPECT_FALSE(GetSmartQuotes(&ctx, &open, &close, true));
}

TEST_F(PositionsTest, PageNumbersShowTheirPageInTheirKind)
{
    AlertCapture beeps;
    Story({"Page 0 of NAMEXX", "0 pages"});
    RunExtras field;
    field.fieldId = 3;
    field.fieldLength = 6;
    Run(0, 10, 11, kRunField, 0, field);
    ctx.SelectParagraph(0);
    EXPECT_FALSE(CanInsertPageNumber(&ctx, 0, 12));
    EXPECT_EQ(beeps.beeps().size(), 1u);
    ASSERT_TRUE(CanInsertPageNumber(&ctx, 2, 5));
    RunCache run;
    ASSERT_TRUE(LoadRunAt(ctx.Current(), 5, &run));
    EXPECT_EQ(run.pageKind, 3);

    host.pageNumber = 4;
    UpdatePageNumberRun(&ctx, 5);
    EXPECT_EQ(Paragraph(0), "Page iv of NAMEXX\r");
    ctx.SelectParagraph(1);
    ASSERT_TRUE(CanInsertPageNumber(&ctx, 4, 0));
    host.pageNumber = 28;
    UpdatePageNumberRun(&ctx, 0);
    EXPECT_EQ(Paragraph(1), "ab pages\r");
    // Off the pages a dash; the refresh can be held for one re-flow.
    host.realPage_ = false;
    ctx.SelectParagraph(0);
    UpdatePageNumberRun(&ctx, 5);
    EXPECT_EQ(Paragraph(0), "Page - of NAMEXX\r");
    ctx.pageNumberRefresh = 0;
    host.realPage_ = true;
    ctx.SelectParagraph(0);
    UpdatePageNumberRun(&ctx, 5);
    EXPECT_EQ(Paragraph(0), "Page - of NAMEXX\r");
}

TEST_F(PositionsTest, SmallCapsMeasureLowerCaseAsCapitals)
{
    host.prefs.smallCapsPercent = 50;
    Story({"aB\xE9"});
    Run(0, 0, 3, kRunCaps, 1);
    ctx.SelectParagraph(0);
    ctx.LoadFormats();
    ctx.run.Reset();
    EXPECT_EQ(MeasureLayoutChar(&ctx, 0).width, 3);
    EXPECT_EQ(MeasureLayoutChar(&ctx, 1).width, 6);
    EXPECT_EQ(MeasureLayoutChar(&ctx, 2).width, 6);
    // Spacing: pair spacing counts from -500 for layout, -100 for the caret.
    Run(0, 0, 1, kRunPairSpacing, -200);
    Run(0, 0, 1, kRunRangeSpacing, 2);
    ctx.run.Reset();
    EXPECT_EQ(MeasureLayoutChar(&ctx, 0).width, 3 - 200 + 2);
    EXPECT_EQ(MeasureStyledChar(&ctx, 0).width, 3 + 2);
}

}  // namespace
