#include "graphics/hls.h"

#include <algorithm>

void RgbToHls(ColorRef colour, int16_t* hue, int16_t* lightness, int16_t* saturation)
{
    const int32_t r = RedOf(colour);
    const int32_t g = GreenOf(colour);
    const int32_t b = BlueOf(colour);
    const int32_t mx = std::max({r, g, b});
    const int32_t mn = std::min({r, g, b});

    const int32_t l = ((mx + mn) * kHlsScale + 255) / 510;
    int32_t h = 0;
    int32_t s = 0;
    if (mx != mn) {
        const int32_t sum = mx + mn;
        const int32_t d = mx - mn;
        if (l <= kHlsScale / 2)
            s = (d * kHlsScale + sum / 2) / sum;
        else
            s = (d * kHlsScale + (510 - sum) / 2) / (510 - sum);
        const int32_t rd = ((mx - r) * 36 + d / 2) / d;
        const int32_t gd = ((mx - g) * 36 + d / 2) / d;
        const int32_t bd = ((mx - b) * 36 + d / 2) / d;
        if (r == mx)
            h = bd - gd;
        else if (g == mx)
            h = 72 + rd - bd;
        else
            h = 144 + gd - rd;
        if (h < 0)
            h += kHlsScale;
        if (h > kHlsScale)
            h -= kHlsScale;
    }
    if (hue)
        *hue = int16_t(h);
    if (lightness)
        *lightness = int16_t(l);
    if (saturation)
        *saturation = int16_t(s);
}

namespace {

// One channel's value from the hue's place on the circle. The hue arrives
// in 16-bit unsigned arithmetic, so hue - 72 below 0 wraps to a large value
// and lands in the last branch, as a hue past 144 does.
int32_t HueChannel(int32_t m1, int32_t m2, uint16_t h)
{
    if (h > kHlsScale)
        h = uint16_t(h - kHlsScale);
    if (h < 36)
        return m1 + ((m2 - m1) * h + 18) / 36;
    if (h < 108)
        return m2;
    if (h < 144)
        return m1 + ((m2 - m1) * (144 - h) + 18) / 36;
    return m1;
}

uint8_t Channel(int32_t value) { return uint8_t(std::clamp((value * 255 + 108) / kHlsScale, 0, 255)); }

}  // namespace

ColorRef HlsToRgb(int16_t hue, int16_t lightness, int16_t saturation)
{
    const int32_t l = lightness;
    const int32_t s = saturation;
    if (s == 0) {
        const uint8_t grey = uint8_t(std::clamp(l * 255 / kHlsScale, 0, 255));
        return MakeRgb(grey, grey, grey);
    }
    const int32_t m2 = l <= kHlsScale / 2 ? (l * (kHlsScale + s) + 108) / kHlsScale : l + s - (l * s + 108) / kHlsScale;
    const int32_t m1 = 2 * l - m2;
    const uint16_t h = uint16_t(hue);
    return MakeRgb(Channel(HueChannel(m1, m2, uint16_t(h + 72))), Channel(HueChannel(m1, m2, h)),
                   Channel(HueChannel(m1, m2, uint16_t(h - 72))));
}
