// A card whose file places a frame where no page reaches, as a person meets
// it: File > Open says once that the document is damaged, and the card
// opens and shows, its far frame kept within what the program can make; a
// frame thousands of points long, turned, costs the view no more than the
// page it crosses.
#include "journey_fixture.h"
#include "support/shell.h"

namespace {

const std::string kSeeds = std::string(TESSALINE_SOURCE_DATA_DIR) + "/../tests/fuzz/corpus/card_document/";

class FarFrameJourney : public JourneyTest {
protected:
    std::string CopySeed(const std::string& name)
    {
        const std::string copy = TempFile(name);
        WriteFileBytes(copy, ReadFileBytes(kSeeds + name));
        return copy;
    }
};

TEST_F(FarFrameJourney, AFrameBeyondTheCoordinateSpaceSaysDamagedOnceAndTheCardShows)
{
    alerts.clear();
    ASSERT_NE(OpenThroughMenu(CopySeed("frame-beyond-the-coordinate-space.lqx")), nullptr);
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_EQ(alerts.lastText().rfind("frame-beyond-the-coordinate-space.lqx: The document is damaged.", 0), 0u)
        << alerts.lastText();
    // The logo, the star over its disc, shows.
    EXPECT_GT(Ink(ViewPixels(), CardRect(14, 14, 40, 40)), 300);
}

TEST_F(FarFrameJourney, ALongTurnedFrameOpensWithoutAWordAndTheCardShows)
{
    alerts.clear();
    ASSERT_NE(OpenThroughMenu(CopySeed("frame-12243-wide-turned.lqx")), nullptr);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_GT(Ink(ViewPixels(), CardRect(14, 14, 40, 40)), 300);
}

}  // namespace
