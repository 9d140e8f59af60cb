// A frame as large as what it holds is cut by the card's edge when it
// reaches more than a unit past any side; the part left is what shows.
#include <gtest/gtest.h>

#include "frames/card_edge_cut.h"

namespace {

TEST(CardEdgeCut, EachSideCutsPastAUnitOfSlack)
{
    const IntRect card{100, 200, 300, 272};
    IntRect shown{1, 1, 1, 1};
    // Inside, or touching an edge within a unit: nothing is lost.
    EXPECT_FALSE(CardEdgeCuts({99, 199, 301, 273}, card, &shown));
    EXPECT_EQ(shown.left, 1) << "left alone when nothing is cut";
    // A frame without lines loses none, wherever it stands.
    EXPECT_FALSE(CardEdgeCuts({50, 210, 50, 250}, card, &shown));
    EXPECT_FALSE(CardEdgeCuts({110, 300, 150, 300}, card, &shown));

    struct Case {
        IntRect content;
        IntRect part;
    } cases[] = {
        {{98, 210, 150, 250}, {100, 210, 150, 250}},
        {{110, 198, 150, 250}, {110, 200, 150, 250}},
        {{110, 210, 302, 250}, {110, 210, 300, 250}},
        {{110, 210, 150, 274}, {110, 210, 150, 272}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(CardEdgeCuts(c.content, card, &shown)) << c.content.left << " " << c.content.bottom;
        EXPECT_EQ(shown.left, c.part.left);
        EXPECT_EQ(shown.top, c.part.top);
        EXPECT_EQ(shown.right, c.part.right);
        EXPECT_EQ(shown.bottom, c.part.bottom);
    }
}

}  // namespace
