#include <gtest/gtest.h>

#include <string>

#include "foundation/handle.h"
#include "frames/paragraph_storage.h"
#include "frames/paragraph_text.h"
#include "frames/style_runs.h"
#include "frames/style_sheet.h"
#include "frames/tab_stops.h"
#include "text/para_format.h"

namespace {

// A paragraph Handle holding text and its mark, owned by the test.
struct Para {
    explicit Para(const std::string& text)
    {
        h.reset(NewParagraph());
        ParagraphInsertBytes(h.get(), 0, 0, reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()));
    }
    ParagraphText View() { return ParagraphText(h.get(), flags); }
    HandleOwner h;
    uint8_t flags = 0;
};

std::array<int16_t, kAttributeCount> With(int rank, int16_t v)
{
    std::array<int16_t, kAttributeCount> values = kRunDefaults;
    values[size_t(rank)] = v;
    return values;
}

bool Apply(Para* p, int32_t s, int32_t e, uint16_t bit, int16_t v)
{
    ParagraphText t = p->View();
    const bool ok = SetRunAttributes(&t, s, e, bit, With(__builtin_ctz(0x200u) - __builtin_ctz(bit), v), false);
    p->flags = t.flags();
    return ok;
}

int16_t StyleAt(Para* p, int32_t at)
{
    RunCache cache;
    return LoadRunAt(p->View(), at, &cache) ? cache.Value(kRankStyle) : int16_t(-1);
}

TEST(ParagraphLayout, BlocksLieInTheirOrderAheadOfTheText)
{
    Para p("Hello");
    ParagraphText t = p.View();
    EXPECT_EQ(t.layout().textOffset, 8u);
    EXPECT_EQ(t.Length(), 6);

    ASSERT_TRUE(t.AddTabBlock());
    ASSERT_TRUE(t.AddOverrideBlock());
    ASSERT_TRUE(SetRunAttributes(&t, 0, 2, kRunStyle | kRunBaselineShift, With(kRankStyle, 1), false));
    EXPECT_EQ(t.flags(), kParaHasRuns | kParaHasOverride | kParaHasTabs);
    EXPECT_EQ(t.layout().overrideOffset, 8u);
    EXPECT_EQ(t.layout().tabOffset, 30u);
    EXPECT_EQ(t.layout().runOffset, 160u);
    // Style bits and the 0x1 value: a 16-byte entry.
    EXPECT_EQ(t.RunTableSize(), 16);
    EXPECT_EQ(t.layout().textOffset, 176u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.Chars()), 5), "Hello");
    EXPECT_EQ(TabPosition(t.TabBlock(), 15), kNoTabStop);

    // The same bytes read back with the flags give the same places.
    ParagraphLayout again;
    ASSERT_TRUE(LayOutParagraphText(t.handle(), t.flags(), &again));
    EXPECT_EQ(again.textOffset, 176u);
    t.RemoveOverrideBlock();
    t.RemoveTabBlock();
    EXPECT_EQ(t.layout().runOffset, 8u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.Chars()), 6), "Hello\r");
}

TEST(ParagraphLayout, CapacityGrowsAndShrinksInSteps)
{
    Para p("");
    ParagraphText t = p.View();
    // Exactly full: one more character grows the Handle by 256.
    const uint32_t full = HandleGetSize(t.handle());
    const uint8_t x = 'x';
    ASSERT_TRUE(t.InsertBytes(0, &x, 1));
    EXPECT_EQ(HandleGetSize(t.handle()), full + 256);
    std::string many(600, 'a');
    const uint32_t before = HandleGetSize(t.handle());
    ASSERT_TRUE(t.InsertBytes(0, reinterpret_cast<const uint8_t*>(many.data()), 600));
    EXPECT_EQ(HandleGetSize(t.handle()), before + 768);

    // 1000 spare bytes: 200 characters out gives 256 back, 300 at once
    // nothing, 600 at once 256.
    Para q(std::string(1200, 'b'));
    ParagraphText u = q.View();
    ASSERT_TRUE(HandleResize(u.handle(), int32_t(HandleGetSize(u.handle()) + 1000)) == 0);
    u.Relayout();
    uint32_t size = HandleGetSize(u.handle());
    u.DeleteChars(0, 199, true);
    EXPECT_EQ(HandleGetSize(u.handle()), size - 256);
    size = HandleGetSize(u.handle());
    u.DeleteChars(0, 299, true);
    EXPECT_EQ(HandleGetSize(u.handle()), size);
    size = HandleGetSize(u.handle());
    u.DeleteChars(0, 599, true);
    EXPECT_EQ(HandleGetSize(u.handle()), size - 256);

    // Forward deletion never takes the end mark; backward over the whole
    // paragraph does.
    Para r("abc");
    ParagraphText v = r.View();
    EXPECT_EQ(v.DeleteChars(0, 3, true), 3u);
    EXPECT_EQ(v.Length(), 1);
    EXPECT_EQ(v.Char(0), 13);
    EXPECT_EQ(v.DeleteChars(0, 0, false), 1u);
    EXPECT_EQ(v.Length(), 0);
}

TEST(ParagraphLayout, NoInsertionPassesTheParagraphLimit)
{
    Para p(std::string(kParagraphMaxLength - 2, 'z'));
    ParagraphText t = p.View();
    const std::string two = "ab";
    EXPECT_FALSE(t.InsertBytes(5, reinterpret_cast<const uint8_t*>(two.data()), 2));
    EXPECT_EQ(t.Length(), kParagraphMaxLength - 1);
    EXPECT_TRUE(t.InsertBytes(5, reinterpret_cast<const uint8_t*>(two.data()), 1));
    EXPECT_EQ(t.Length(), kParagraphMaxLength);
}

TEST(StyleRuns, StyleBitsToggleTurnOnAndReplace)
{
    Para p("plain bold");
    ASSERT_TRUE(Apply(&p, 6, 10, kRunStyle, 1));
    EXPECT_EQ(StyleAt(&p, 7), 1);
    EXPECT_EQ(StyleAt(&p, 2), -1);
    // Bold again on bold text takes it off.
    ASSERT_TRUE(Apply(&p, 6, 10, kRunStyle, 1));
    EXPECT_EQ(StyleAt(&p, 7), 0);
    // Italic, then bold with the turn-on bit: bold italic.
    ASSERT_TRUE(Apply(&p, 6, 10, kRunStyle, 2));
    ASSERT_TRUE(Apply(&p, 6, 10, kRunStyle, int16_t(1 | kStyleTurnOn)));
    EXPECT_EQ(StyleAt(&p, 7), 3);
    // Condensed replaces extended; 0 means plain.
    ASSERT_TRUE(Apply(&p, 6, 10, kRunStyle, 64));
    ASSERT_TRUE(Apply(&p, 6, 10, kRunStyle, int16_t(32 | kStyleTurnOn)));
    EXPECT_EQ(StyleAt(&p, 7), 3 | 32);
    ASSERT_TRUE(Apply(&p, 6, 10, kRunStyle, 0));
    EXPECT_EQ(StyleAt(&p, 7), 0);
}

TEST(StyleRuns, ARangeInsideARunSplitsItInPositionOrder)
{
    Para p("abcdefghij");
    ASSERT_TRUE(Apply(&p, 0, 10, kRunFont, 3));
    ASSERT_TRUE(Apply(&p, 3, 6, kRunSize, 24));
    const std::vector<RunEntry> runs = ReadRunTable(p.View());
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].start, 0);
    EXPECT_EQ(runs[0].end, 3);
    EXPECT_EQ(runs[0].flags, kRunFont);
    EXPECT_EQ(runs[1].start, 3);
    EXPECT_EQ(runs[1].end, 6);
    EXPECT_EQ(runs[1].flags, kRunFont | kRunSize);
    EXPECT_EQ(runs[1].values[kRankSize], 24);
    EXPECT_EQ(runs[1].values[kRankFont], 3);
    EXPECT_EQ(runs[2].start, 6);
    EXPECT_EQ(runs[2].end, 10);

    // Gaps get runs of their own, with only what was asked.
    Para q("abcdef");
    ASSERT_TRUE(Apply(&q, 2, 4, kRunColour, 3));
    ASSERT_TRUE(Apply(&q, 0, 6, kRunShade, 50));
    RunCache c;
    ASSERT_TRUE(LoadRunAt(q.View(), 5, &c));
    EXPECT_EQ(c.flags, kRunShade);
    ASSERT_TRUE(LoadRunAt(q.View(), 3, &c));
    EXPECT_EQ(c.flags, kRunShade | kRunColour);
    int32_t first = 0, last = 0;
    GetRunsExtent(q.View(), &first, &last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 6);
    // No run there: the cache holds the defaults.
    Para r("xy");
    ASSERT_TRUE(Apply(&r, 0, 1, kRunColour, 3));
    EXPECT_FALSE(LoadRunAt(r.View(), 1, &c));
    EXPECT_EQ(c.start, -1);
    EXPECT_EQ(c.values, kRunDefaults);
}

TEST(StyleRuns, RunsFollowInsertionsAndDeletions)
{
    Para p("Dear NAME, hello");
    ParagraphText t = p.View();
    ASSERT_TRUE(MarkFieldRun(&t, 5, 2, 4));
    ASSERT_TRUE(SetRunAttributes(&t, 11, 16, kRunStyle, With(kRankStyle, 1), false));
    // Typing at the field's end does not extend it; typing before moves it.
    const uint8_t c = 'x';
    t.InsertBytes(6, &c, 1);
    AdjustRunsForInsert(&t, 6, 1);
    int32_t start = 0;
    EXPECT_EQ(GetFieldRunAt(t, 5, &start), 4);
    EXPECT_EQ(start, 5);
    t.InsertBytes(5, &c, 1);
    AdjustRunsForInsert(&t, 5, 1);
    EXPECT_EQ(GetFieldRunAt(t, 6, &start), 4);
    EXPECT_EQ(start, 6);
    EXPECT_EQ(GetFieldIdAt(t, 8), 2);
    EXPECT_EQ(GetFieldIdAt(t, 10), -1);
    int32_t use = 0;
    EXPECT_TRUE(IsInFieldRun(t, 7, false, &use));
    EXPECT_EQ(use, 10);
    EXPECT_FALSE(IsInFieldRun(t, 6, false, &use));
    EXPECT_TRUE(IsInFieldRun(t, 6, true, &use));

    // Deleting a run's whole text removes the run; the last run gone
    // clears the paragraph's run flag.
    AdjustRunsForDelete(&t, 13, 5);
    EXPECT_EQ(CountRuns(t), 1);
    AdjustRunsForDelete(&t, 6, 1);
    EXPECT_EQ(CountRuns(t), 0);
    EXPECT_EQ(t.flags() & kParaHasRuns, 0);
}

TEST(ParagraphFormat, OverridesChangeTheStyleFieldByField)
{
    StyleSheet styles;
    Para p("text");
    ParagraphText t = p.View();
    ASSERT_TRUE(SetOverrideField(&t, kOverLeading, 30));
    ASSERT_TRUE(SetOverrideField(&t, kOverRelativeLeading, 4));
    ASSERT_TRUE(SetOverrideField(&t, kOverAlignment, 4));
    ASSERT_TRUE(SetOverrideField(&t, kOverKeepNext, 1));
    ParaFormat f = EffectiveParaFormat(&styles, t, false);
    // The relative leading wins: the style's 12 plus 4.
    EXPECT_EQ(f.leading, 16);
    EXPECT_EQ(f.alignment, 4);
    EXPECT_EQ(f.keepWithNext, 1);
    EXPECT_EQ(EffectiveParaFormat(&styles, t, true).alignment, 5);
    // An unknown style: the default style's format, no overrides.
    t.SetStyleId(77);
    f = EffectiveParaFormat(&styles, t, true);
    EXPECT_EQ(f.leading, 0);
    EXPECT_EQ(f.alignment, 1);
    t.SetStyleId(0);

    ClearOverrideField(&t, kOverLeading);
    ClearOverrideField(&t, kOverRelativeLeading);
    ClearOverrideField(&t, kOverAlignment);
    EXPECT_TRUE(t.OverrideBlock());
    ClearOverrideField(&t, kOverKeepNext);
    EXPECT_FALSE(t.OverrideBlock());
    EXPECT_TRUE(SetParagraphLineSpacing(&t, 4));
    EXPECT_EQ(EffectiveParaFormat(&styles, t, false).lineSpacing, 4);
    SetParagraphLineSpacing(&t, 0);
    EXPECT_FALSE(t.OverrideBlock());

    // Own stops replace the style's; those at or past the width are empty.
    ASSERT_TRUE(t.AddTabBlock());
    SetTabsSetWord(t.TabBlock(), 1);
    SetTabPosition(t.TabBlock(), 0, 40);
    SetTabPosition(t.TabBlock(), 1, 100);
    uint8_t tabs[kTabBlockBytes];
    EffectiveTabs(&styles, t, 100, tabs);
    EXPECT_EQ(TabsSetWord(tabs), 1);
    EXPECT_EQ(TabPosition(tabs, 0), 40);
    EXPECT_EQ(TabPosition(tabs, 1), kNoTabStop);
    EffectiveTabs(&styles, t, 40, tabs);
    EXPECT_EQ(TabsSetWord(tabs), 0);
}

TEST(TabStops, NextStopAndDefaultTabs)
{
    uint8_t block[kTabBlockBytes];
    ClearTabBlock(block);
    SetTabPosition(block, 3, 50);
    SetTabPosition(block, 5, 20);
    SetTabPosition(block, 6, 0);
    EXPECT_EQ(NextStop(block, 0), 5);
    EXPECT_EQ(NextStop(block, 20), 3);
    EXPECT_EQ(NextStop(block, 50), -1);
    // Interval 36 from left 10: beyond 40 comes 72; near the right edge the
    // last unit inside.
    EXPECT_EQ(NextDefaultTab(40, 36, 10, 200), 36);
    EXPECT_EQ(NextDefaultTab(46, 36, 10, 200), 72);
    EXPECT_EQ(NextDefaultTab(180, 36, 10, 200), 189);
    EXPECT_EQ(NextDefaultTab(40, 0, 10, 200), 30);
}

}  // namespace
