// A rectangle border keeps its thickness on every side when its frame is
// turned: each stripe is measured across each side, in the frame's own
// axes, and compared with the same border unturned.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/placement.h"
#include "graphics/rect_shape.h"
#include "shapes_test_support.h"

namespace {

// The frame turns about its top-left corner, so it sits in the middle of a
// canvas that holds it at any angle.
constexpr int kX = 240;
constexpr int kY = 240;
constexpr int kW = 160;
constexpr int kH = 120;
constexpr int kCanvas = 480;

PlacementBlock Frame(double angle, int width, int style, uint8_t sides = kAllSides)
{
    PlacementBlock b;
    b.x = kX;
    b.y = kY;
    b.width = int16_t(kW);
    b.height = int16_t(kH);
    b.angle = float(angle);
    b.lineWidth = int16_t(width);
    b.lineStyle = int16_t(style);
    b.sides = sides;
    return b;
}

// Side 0 top, 1 right, 2 bottom, 3 left, as the corners run.
struct Probe {
    double c;
    double s;
    // The screen point at (u, v) in the frame's own axes.
    bool ink(const ShapeCanvas& canvas, double u, double v) const
    {
        const double x = kX + u * c + v * s;
        const double y = kY - u * s + v * c;
        const int px = int(std::floor(x));
        const int py = int(std::floor(y));
        if (px < 0 || py < 0 || px >= canvas.image.width() || py >= canvas.image.height())
            return false;
        return canvas.ink(px, py);
    }
    // The frame point at distance d inward from a side, a fraction t along it.
    void at(int side, double t, double d, double* u, double* v) const
    {
        switch (side) {
        case 0: *u = t * kW, *v = d; break;
        case 1: *u = kW - d, *v = t * kH; break;
        case 2: *u = t * kW, *v = kH - d; break;
        default: *u = d, *v = t * kH; break;
        }
    }
};

// The mean lengths of the ink runs met going inward across a side, over
// positions along its middle; runs are counted from the outer edge.
std::vector<double> StripesAcross(const ShapeCanvas& canvas, double angle, int side, int maxStripes)
{
    const double rad = angle * 3.14159265358979323846 / 180.0;
    const Probe probe{std::cos(rad), std::sin(rad)};
    constexpr double kStep = 0.05;
    constexpr int kPositions = 21;
    std::vector<double> sum(size_t(maxStripes), 0.0);
    for (int i = 0; i < kPositions; ++i) {
        const double t = 0.3 + 0.4 * i / (kPositions - 1);
        int run = -1;
        bool inside = false;
        for (int k = 0; k < 600; ++k) {
            // Between sample edges, so that no sample sits on a pixel's edge.
            const double d = -3 + (k + 0.5) * kStep;
            double u, v;
            probe.at(side, t, d, &u, &v);
            const bool ink = probe.ink(canvas, u, v);
            if (ink && !inside)
                ++run;
            inside = ink;
            if (ink && run < maxStripes)
                sum[size_t(run)] += kStep;
        }
    }
    for (double& s : sum)
        s /= kPositions;
    return sum;
}

std::string Show(const std::vector<double>& v)
{
    std::ostringstream o;
    for (double x : v)
        o << x << ' ';
    return o.str();
}

struct Border {
    int width;
    int style;
    int stripes;
};

// Frames draw their border clipped to their outline, the polygon of the
// placement's turned corners.
void ClipToOutline(ShapeCanvas* canvas, const PlacementBlock& b)
{
    CornerQuad q;
    PlacementCorners(b, &q);
    const Region outline = Region::FromPolygon(q.corners, 4, ALTERNATE);
    canvas->dc->selectClipRgn(&outline);
}

void ExpectSameOnEverySide(double angle, const Border& b, uint8_t sides, double tolerance, bool clip = false)
{
    ShapeCanvas flat(kCanvas, kCanvas), turned(kCanvas, kCanvas);
    const PlacementBlock straight = Frame(0, b.width, b.style, sides);
    const PlacementBlock frame = Frame(angle, b.width, b.style, sides);
    if (clip) {
        ClipToOutline(&flat, straight);
        ClipToOutline(&turned, frame);
    }
    DrawRectShape(flat.dc.get(), straight);
    DrawRectShape(turned.dc.get(), frame);
    for (int side = 0; side < 4; ++side) {
        if (!(sides & SideBitOfCorner(side)))
            continue;
        const std::vector<double> want = StripesAcross(flat, 0, side, b.stripes);
        const std::vector<double> got = StripesAcross(turned, angle, side, b.stripes);
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_GT(want[i], 0.5) << "width " << b.width << " style " << b.style << " side " << side;
            EXPECT_NEAR(got[i], want[i], tolerance)
                << "angle " << angle << " width " << b.width << " style " << b.style << " sides " << int(sides)
                << " side " << side << ": unturned " << Show(want) << " turned " << Show(got);
        }
    }
}

const Border kBorders[] = {{2, 1, 1}, {3, 1, 1}, {6, 1, 1}, {12, 2, 2}, {16, 3, 2}, {20, 5, 3}};

TEST(TurnedRectBorder, EverySideKeepsItsStripesAtThirtyDegrees)
{
    for (const Border& b : kBorders)
        ExpectSameOnEverySide(30, b, kAllSides, 1.0);
}

TEST(TurnedRectBorder, TheFramesOutlineClipsNoStripe)
{
    // The outer edge lies on the frame's own outline, so the clip a frame
    // draws with takes nothing off any side.
    for (double angle : {30.0, 90.0, 150.0, 333.0})
        for (const Border& b : kBorders)
            ExpectSameOnEverySide(angle, b, kAllSides, 1.0, true);
}

TEST(TurnedRectBorder, AQuarterTurnKeepsEveryStripeExactly)
{
    for (double angle : {90.0, 180.0, 270.0})
        for (const Border& b : kBorders)
            ExpectSameOnEverySide(angle, b, kAllSides, 0.01);
}

TEST(TurnedRectBorder, OpenRingsKeepTheirSides)
{
    const uint8_t open[] = {kSideTop | kSideRight | kSideBottom, kSideRight | kSideBottom, kSideLeft | kSideTop,
                            kSideBottom | kSideLeft | kSideTop};
    for (uint8_t sides : open) {
        for (const Border& b : kBorders) {
            ExpectSameOnEverySide(30, b, sides, 1.0);
            ExpectSameOnEverySide(90, b, sides, 0.01);
        }
    }
}

TEST(TurnedRectBorder, ThinnestStripesStayOnEverySide)
{
    // Any angle, not only the ones above: a two-unit border never loses a side.
    for (double angle : {5.0, 17.0, 45.0, 60.0, 133.0, 210.0, 300.0, 351.0})
        ExpectSameOnEverySide(angle, {2, 1, 1}, kAllSides, 1.0);
}

}  // namespace
