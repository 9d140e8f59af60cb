#include <gtest/gtest.h>

#include "graphics/hls.h"

namespace {

struct Hls {
    int16_t h, l, s;
    bool operator==(const Hls&) const = default;
};

Hls ToHls(ColorRef c)
{
    Hls v{};
    RgbToHls(c, &v.h, &v.l, &v.s);
    return v;
}

TEST(Hls, RgbToHlsOnTheScaleOf216)
{
    EXPECT_EQ(ToHls(0x0000FF), (Hls{0, 108, 216}));     // red
    EXPECT_EQ(ToHls(0xFF0000), (Hls{144, 108, 216}));   // blue
    EXPECT_EQ(ToHls(0x00FF00), (Hls{72, 108, 216}));    // green
    EXPECT_EQ(ToHls(0x808080), (Hls{0, 108, 0}));       // grey
    EXPECT_EQ(ToHls(0xFFFFFF), (Hls{0, 216, 0}));
    EXPECT_EQ(ToHls(0x000000), (Hls{0, 0, 0}));
    // Red with some blue: the hue comes out at -10 and wraps.
    EXPECT_EQ(ToHls(0x4600FF).h, 206);
}

TEST(Hls, HlsToRgbInvertsThePureColoursAndKeepsGreysAndWhite)
{
    EXPECT_EQ(HlsToRgb(0, 108, 216), 0x0000FFu);
    for (ColorRef c : {0x0000FFu, 0x00FF00u, 0xFF0000u, 0x00FFFFu, 0xFFFF00u, 0xFF00FFu, 0xFFFFFFu, 0u}) {
        const Hls v = ToHls(c);
        EXPECT_EQ(HlsToRgb(v.h, v.l, v.s), c) << std::hex << c;
    }
    EXPECT_EQ(HlsToRgb(50, 108, 0), 0x7F7F7Fu);
    EXPECT_EQ(HlsToRgb(50, 216, 100), 0xFFFFFFu);
    // Hues below 72 take the wrapped 16-bit branch for blue without harm.
    EXPECT_EQ(BlueOf(HlsToRgb(10, 108, 216)), 0);
}

}  // namespace
