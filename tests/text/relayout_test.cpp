#include <gtest/gtest.h>

#include <random>

#include "text/edit_primitives.h"
#include "text/relayout.h"
#include "text_fixture.h"

namespace {

class RelayoutTest : public TextTest {
protected:
    TextPosition End()
    {
        TextPosition start, end;
        doc.frames.GetFrameStart(frame->FrameId(), &start, &end);
        return end;
    }
};

TEST_F(RelayoutTest, ADeletionInsideALineRelaysOnlyWhatMoved)
{
    frame = AddFrame(IntRect{0, 0, 60, 400});
    SetStory(frame, {"aaaa bbbb cccc dddd"});
    Flow(frame);
    ASSERT_EQ(Lines().size(), 2u);
    ctx.SelectParagraph(0);
    // The first or last character of a line: the caller flows the frame.
    EXPECT_FALSE(RelayoutAfterDelete(&ctx, 0));
    EXPECT_FALSE(RelayoutAfterDelete(&ctx, 9));
    // One character out of the first line: it ends one earlier, the next
    // line starts one earlier.
    DeleteCharAt(&ctx, 2, true);
    host.changed.clear();
    EXPECT_TRUE(RelayoutAfterDelete(&ctx, 2));
    const std::vector<TextLineRecord> lines = Lines();
    EXPECT_EQ(lines[0].count, 9);
    EXPECT_EQ(lines[1].first, 9);
    EXPECT_EQ(End(), (TextPosition{0, 19}));
    ASSERT_FALSE(host.changed.empty());
    EXPECT_EQ(host.changed.front().first, 1);
}

// Random single-character edits: whenever the local re-layout answers
// true, its line table and frame end equal a full flow of the frame.
class RelayoutProperty : public RelayoutTest, public ::testing::WithParamInterface<std::pair<uint32_t, int32_t>> {};

TEST_P(RelayoutProperty, LocalRelayoutEqualsAFullFlow)
{
    frame = AddFrame(IntRect{0, 0, 90, GetParam().second});
    SetStory(frame, {"the quick brown fox jumps", "over the lazy dog and", "keeps running", "far away now"});
    Flow(frame);
    std::mt19937 random(GetParam().first);
    const std::string typed = "abcde  fgh";
    int32_t local = 0;
    for (int32_t step = 0; step < 500; ++step) {
        const int32_t paragraph = int32_t(random() % uint32_t(ctx.ParagraphCount()));
        ctx.SelectParagraph(paragraph);
        const int32_t length = ctx.Current().Length();
        const int32_t at = int32_t(random() % uint32_t(length));
        bool ok = false;
        if (random() % 5 < 3 || length < 4) {
            const uint8_t ch = uint8_t(typed[random() % typed.size()]);
            ASSERT_TRUE(InsertCharAt(&ctx, uint16_t(at), ch));
            ok = RelayoutAfterTyping(&ctx, at);
        } else {
            if (at >= length - 1)
                continue;
            DeleteCharAt(&ctx, uint16_t(at), true);
            ok = RelayoutAfterDelete(&ctx, at);
        }
        if (ok) {
            ++local;
            const std::vector<TextLineRecord> incremental = Lines();
            const TextPosition incrementalEnd = End();
            Flow(frame);
            ASSERT_EQ(incremental.size(), Lines().size()) << "step " << step;
            for (size_t i = 0; i < incremental.size(); ++i) {
                const TextLineRecord a = incremental[i];
                const TextLineRecord b = Lines()[i];
                ASSERT_TRUE(a == b) << "step " << step << " line " << i + 1 << ": " << a.paragraph << "/" << a.first
                                    << "+" << a.count << " y" << a.rect.top << " w" << a.width << " vs "
                                    << b.paragraph << "/" << b.first << "+" << b.count << " y" << b.rect.top
                                    << " w" << b.width;
            }
            ASSERT_EQ(incrementalEnd, End()) << "step " << step;
        } else {
            Flow(frame);
        }
    }
    EXPECT_GT(local, 150);
}

// A frame that overflows, and one that holds everything.
INSTANTIATE_TEST_SUITE_P(Seeds, RelayoutProperty,
                         ::testing::Values(std::make_pair(7u, 150), std::make_pair(11u, 150),
                                           std::make_pair(23u, 400), std::make_pair(5u, 100)));

}  // namespace
