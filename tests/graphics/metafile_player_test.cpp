#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>

#include <QPainterPath>
#include <QRegion>

#include "graphics/metafile.h"
#include "graphics/metafile_bitmap.h"
#include "graphics/metafile_player.h"
#include "graphics/picture_time_limit.h"
#include "graphics/wmf_reader.h"
#include "platform/coverage.h"
#include "support/runaway_metafile.h"
#include "metafile_build_support.h"
#include "metafile_test_support.h"

namespace {

constexpr ColorRef kRed = MakeRgb(255, 0, 0);
constexpr ColorRef kBlue = MakeRgb(0, 0, 255);
constexpr ColorRef kGreen = MakeRgb(0, 160, 0);

// The test metafiles' frame (100 x 100 reference pixels) played into a
// 100 x 100 picture: a logical unit is a pixel unless the file maps.
struct Played {
    explicit Played(std::vector<uint8_t> bytes, int size = 100) : image(size, size, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        mf = EnhMetafileFromBytes(std::move(bytes));
        dc = Dc::ForImage(&image);
        if (mf)
            PlayEnhMetaFile(*dc, *mf, IntRect{0, 0, size, size});
    }
    ~Played() { DeleteEnhMetaFile(mf); }
    ColorRef at(int x, int y) const { return FromQColor(image.pixelColor(x, y)); }
    QImage image;
    EnhMetafile mf = nullptr;
    std::unique_ptr<Dc> dc;
};

// The Windows metafile, 2540 hundredths of a millimetre square, played over
// a white 100 x 100 picture.
void PlayWmf(const std::vector<uint8_t>& bytes, QImage* image)
{
    EnhMetafile mf = SetWinMetaFileBits(uint32_t(bytes.size()), bytes.data(), IntSize{2540, 2540}, nullptr);
    ASSERT_TRUE(mf);
    *image = QImage(100, 100, QImage::Format_RGB32);
    image->fill(Qt::white);
    auto dc = Dc::ForImage(image);
    PlayEnhMetaFile(*dc, *mf, IntRect{0, 0, 100, 100});
    DeleteEnhMetaFile(mf);
}

constexpr int32_t kNullPen = int32_t(kEmfStockObject | NULL_PEN);

TEST(MetafilePlayer, MappingModesWindowsViewportsAndWorldTransforms)
{
    {
        // Anisotropic: a window of 10 x 20 units on a viewport of 50 x 100.
        TestEmf e;
        e.rec(EMR_SETMAPMODE, {MM_ANISOTROPIC}).rec(EMR_SETWINDOWEXTEX, {10, 20}).rec(EMR_SETVIEWPORTEXTEX, {50, 100});
        e.rec(EMR_SETWINDOWORGEX, {5, 0}).select(kNullPen).brush(1, kRed).select(1).rect(5, 0, 10, 10);
        Played p(e.bytes());
        EXPECT_EQ(p.at(10, 20), kRed);
        EXPECT_EQ(p.at(26, 20), kWhite);
        EXPECT_EQ(p.at(10, 52), kWhite);
    }
    {
        // Hundredths of a millimetre, y up: an inch square below the top
        // left corner is a quarter of the 100-dpi reference's 100 pixels.
        TestEmf e;
        e.rec(EMR_SETMAPMODE, {MM_HIMETRIC}).select(kNullPen).brush(1, kBlue).select(1).rect(0, 0, 635, -635);
        Played p(e.bytes());
        EXPECT_EQ(p.at(2, 2), kBlue);
        EXPECT_EQ(p.at(23, 23), kBlue);
        EXPECT_EQ(p.at(27, 27), kWhite);
    }
    {
        // A quarter turn about the origin moved to the centre: a bar along
        // x stands along y.
        TestEmf e;
        const float turn[] = {0, 1, -1, 0, 50, 50};
        e.b.begin(EMR_SETWORLDTRANSFORM);
        for (float f : turn)
            e.b.f32(f);
        e.b.end();
        e.select(kNullPen).brush(1, kGreen).select(1).rect(0, -5, 40, 5);
        Played p(e.bytes());
        EXPECT_EQ(p.at(50, 80), kGreen);
        EXPECT_EQ(p.at(80, 50), kWhite);
        // A transform that cannot be inverted is refused.
        TestEmf bad;
        bad.b.begin(EMR_SETWORLDTRANSFORM);
        for (float f : {0.f, 0.f, 0.f, 0.f, 0.f, 0.f})
            bad.b.f32(f);
        bad.b.end();
        bad.select(kNullPen).brush(1, kGreen).select(1).rect(10, 10, 20, 20);
        Played q(bad.bytes());
        EXPECT_EQ(q.at(15, 15), kGreen);
    }
}

TEST(MetafilePlayer, ClipsCombineAndComeBackWithSavedStates)
{
    TestEmf e;
    e.select(kNullPen).brush(1, kRed).brush(2, kBlue).select(1);
    e.rec(EMR_INTERSECTCLIPRECT, {10, 10, 60, 60}).rec(EMR_EXCLUDECLIPRECT, {20, 20, 30, 30});
    e.rec(EMR_SAVEDC, {});
    e.clipRegion({IntRect{40, 40, 90, 90}}, RGN_AND);
    e.select(2).rect(0, 0, 100, 100);
    e.rec(EMR_RESTOREDC, {-1});
    e.rect(0, 0, 100, 20);
    // A path as clip, alone.
    e.rec(EMR_BEGINPATH, {}).rec(EMR_ELLIPSE, {70, 0, 100, 30}).rec(EMR_ENDPATH, {});
    e.rec(EMR_SELECTCLIPPATH, {RGN_COPY}).select(2).rect(0, 0, 100, 100);
    Played p(e.bytes());
    EXPECT_EQ(p.at(50, 50), kBlue);   // inside both clips
    EXPECT_EQ(p.at(15, 15), kRed);    // outside the region: after restore
    EXPECT_EQ(p.at(25, 25), kWhite);  // excluded all along
    EXPECT_EQ(p.at(70, 70), kWhite);  // outside the first clip
    EXPECT_EQ(p.at(85, 15), kBlue);   // the path
    EXPECT_EQ(p.at(71, 1), kWhite);
}

TEST(MetafilePlayer, TheContextComesBackAsItWasAndItsClipHolds)
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto dc = Dc::ForImage(&image);
    dc->setViewportOrg(10, 0);
    dc->intersectClipRect(0, 0, 50, 100);
    dc->selectPen(Pen{PS_SOLID, 3, kGreen});
    dc->setTextColor(kBlue);
    TestEmf e;
    e.clipRegion({IntRect{-50, -50, 200, 200}}, RGN_COPY);
    e.select(kNullPen).brush(1, kRed).select(1).rec(EMR_SETTEXTCOLOR, {int32_t(kRed)}).rect(0, 0, 100, 100);
    e.rec(EMR_SETMAPMODE, {MM_LOMETRIC});
    EnhMetafile mf = EnhMetafileFromBytes(e.bytes());
    ASSERT_TRUE(mf);
    PlayEnhMetaFile(*dc, *mf, IntRect{0, 0, 100, 100});
    DeleteEnhMetaFile(mf);
    // The picture went through the context's own mapping and stayed in
    // its clip, even though the metafile asked for a wider one.
    EXPECT_EQ(FromQColor(image.pixelColor(5, 50)), kWhite);
    EXPECT_EQ(FromQColor(image.pixelColor(30, 50)), kRed);
    EXPECT_EQ(FromQColor(image.pixelColor(70, 50)), kWhite);
    EXPECT_EQ(dc->pen(), (Pen{PS_SOLID, 3, kGreen}));
    EXPECT_EQ(dc->textColor(), kBlue);
    EXPECT_EQ(dc->mapMode(), MM_TEXT);
    EXPECT_EQ(dc->viewportOrg().x, 10);
    IntRect box;
    dc->getClipBox(&box);
    EXPECT_EQ(box.right, 50);
}

// A 2 x 2 bitmap record: top-left red, top-right green, bottom row blue.
void PutBitmap(TestEmf& e, uint32_t type, bool topDown, int32_t xSrc, int32_t ySrc, int32_t wSrc, int32_t hSrc,
               IntRect dest)
{
    uint8_t info[40] = {};
    PutU32LE(info, 40);
    PutI32LE(info + 4, 2);
    PutI32LE(info + 8, topDown ? -2 : 2);
    PutU16LE(info + 12, 1);
    PutU16LE(info + 14, 24);
    uint8_t bits[16] = {};
    uint8_t* top = bits + (topDown ? 0 : 8);
    uint8_t* bottom = bits + (topDown ? 8 : 0);
    top[2] = 255;      // red
    top[4] = 160;      // green
    bottom[0] = 255;   // blue
    bottom[3] = 255;
    if (type == EMR_STRETCHDIBITS) {
        e.b.stretchDIBits(IntRect{}, dest, IntRect{xSrc, ySrc, xSrc + wSrc, ySrc + hSrc}, info, 40, bits, 16,
                          DIB_RGB_COLORS, SRCCOPY);
    }
}

TEST(MetafilePlayer, BitmapsStretchWithTheirSourceRectangleInEitherRowOrder)
{
    for (bool topDown : {false, true}) {
        TestEmf e;
        PutBitmap(e, EMR_STRETCHDIBITS, topDown, 0, 0, 2, 2, IntRect{0, 0, 40, 40});
        // The top row alone: y counts from the last stored row.
        PutBitmap(e, EMR_STRETCHDIBITS, topDown, 0, topDown ? 0 : 1, 2, 1, IntRect{50, 0, 90, 20});
        Played p(e.bytes());
        EXPECT_EQ(p.at(5, 5), kRed) << topDown;
        EXPECT_EQ(p.at(35, 5), kGreen) << topDown;
        EXPECT_EQ(p.at(5, 35), kBlue) << topDown;
        EXPECT_EQ(p.at(55, 10), kRed) << topDown;
        EXPECT_EQ(p.at(85, 10), kGreen) << topDown;
        EXPECT_EQ(p.at(55, 25), kWhite) << topDown;
    }
    // A bitmap whose rows lie outside the record draws nothing.
    TestEmf e;
    uint8_t info[40] = {};
    PutU32LE(info, 40);
    PutI32LE(info + 4, 1000);
    PutI32LE(info + 8, 1000);
    PutU16LE(info + 12, 1);
    PutU16LE(info + 14, 24);
    uint8_t bits[16] = {};
    e.b.stretchDIBits(IntRect{}, IntRect{0, 0, 100, 100}, IntRect{0, 0, 1000, 1000}, info, 40, bits, 16,
                      DIB_RGB_COLORS, SRCCOPY);
    Played p(e.bytes());
    EXPECT_EQ(p.at(50, 50), kWhite);
}

TEST(MetafilePlayer, PensBrushesAndFontsAsObjects)
{
    TestEmf e;
    // A wide extended pen, a hatched and a one-bit pattern brush.
    e.rec(EMR_EXTCREATEPEN, {1, 0, 0, 0, 0, int32_t(PS_GEOMETRIC), 6, BS_SOLID, int32_t(kBlue), 0, 0});
    e.select(1).rec(EMR_MOVETOEX, {0, 10}).rec(EMR_LINETO, {100, 10});
    e.select(kNullPen).brush(2, kRed, BS_HATCHED, HS_CROSS).select(2).rect(0, 20, 50, 70);
    std::vector<uint8_t> info, bits;
    const uint8_t rows[8] = {0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0};
    MetafileMonoToDib(rows, 8, 8, 1, &info, &bits);
    e.b.begin(EMR_CREATEMONOBRUSH);
    for (uint32_t v : {3u, 0u, 32u, uint32_t(info.size()), 32u + uint32_t(info.size()), uint32_t(bits.size())})
        e.b.u32(v);
    e.b.raw(info.data(), info.size());
    e.b.raw(bits.data(), bits.size());
    e.b.end();
    e.rec(EMR_SETTEXTCOLOR, {int32_t(kGreen)}).rec(EMR_SETBKCOLOR, {int32_t(kRed)});
    e.select(3).rect(50, 20, 100, 70);
    // A deleted object cannot be selected; the brush stays the pattern.
    e.rec(EMR_DELETEOBJECT, {2}).select(2).rect(60, 80, 100, 100);
    Played p(e.bytes());
    EXPECT_EQ(p.at(50, 8), kBlue);
    EXPECT_EQ(p.at(50, 12), kBlue);
    EXPECT_EQ(p.at(50, 17), kWhite);
    int hatched = 0, white = 0;
    for (int x = 5; x < 45; ++x) {
        hatched += p.at(x, 42) == kRed;
        white += p.at(x, 42) == kWhite;
    }
    EXPECT_GT(hatched, 2);
    EXPECT_GT(white, 20);
    // One-bit pattern: 1 bits (rows 0, 2, ...) in the background colour,
    // 0 bits in the text colour.
    int red = 0, green = 0;
    for (int y = 24; y < 40; ++y) {
        red += p.at(70, y) == kRed;
        green += p.at(70, y) == kGreen;
    }
    EXPECT_EQ(red, 8);
    EXPECT_EQ(green, 8);
    EXPECT_NE(p.at(80, 90), kWhite);
    EXPECT_NE(p.at(80, 91), kWhite);
}

TEST(MetafilePlayer, TextOfBothWidthsWithOpaqueRectanglesAndAdvances)
{
    TestEmf e;
    LogFont f;
    f.height = -20;
    std::snprintf(f.faceName, sizeof(f.faceName), "Arial");
    e.b.createFont(1, f);
    e.select(1).rec(EMR_SETBKCOLOR, {int32_t(kGreen)}).rec(EMR_SETTEXTCOLOR, {int32_t(kBlue)});
    const IntRect box{0, 0, 100, 30};
    const int32_t dx[] = {30, 30, 30};
    e.b.extTextOutW(IntRect{}, IntPoint{2, 2}, ETO_OPAQUE, &box, u"HHH", dx);
    e.b.extTextOutA(IntRect{}, IntPoint{2, 60}, 0, nullptr, "H\xC9", nullptr);
    Played p(e.bytes());
    EXPECT_EQ(p.at(95, 28), kGreen);
    // Three letters 30 units apart.
    auto inkAt = [&](int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += p.at(x, y) == kBlue;
        return n;
    };
    EXPECT_GT(inkAt(0, 25, 0, 30), 20);
    EXPECT_GT(inkAt(30, 55, 0, 30), 20);
    EXPECT_GT(inkAt(60, 85, 0, 30), 20);
    EXPECT_EQ(inkAt(20, 30, 0, 30), 0);
    EXPECT_GT(inkAt(0, 40, 55, 90), 40);
}

TEST(MetafilePlayer, WindowsMetafileObjectsTakeTheLowestFreeSlotAndRegionsClip)
{
    TestWmf w;
    w.rec(META_SETWINDOWEXT, {100, 100});
    w.rec(META_CREATEBRUSHINDIRECT, {BS_SOLID, int16_t(kRed & 0xFFFF), 0, 0});  // slot 0
    w.rec(META_CREATEBRUSHINDIRECT, {BS_SOLID, 0, 0xFF, 0});                    // slot 1: blue
    w.rec(META_DELETEOBJECT, {0});
    w.rec(META_CREATEBRUSHINDIRECT, {BS_SOLID, int16_t(0xA000), 0, 0});  // slot 0 again: green
    w.rec(META_CREATEPENINDIRECT, {PS_NULL, 0, 0, 0, 0});               // slot 2
    w.rec(META_SELECTOBJECT, {2}).rec(META_SELECTOBJECT, {0});
    w.rec(META_RECTANGLE, {40, 40, 0, 0});
    // A region of two rectangles as the clip (slot 3), then a blue fill.
    std::vector<uint8_t> region;
    auto put = [&](int16_t v) {
        region.push_back(uint8_t(v));
        region.push_back(uint8_t(uint16_t(v) >> 8));
    };
    for (int16_t v : {0, 6, 0, 0, 0, 1, 4, 50, 50, 90, 90})
        put(v);
    for (int16_t v : {4, 50, 90, 50, 60, 80, 90, 4})
        put(v);
    w.raw(META_CREATEREGION, region);
    w.rec(META_SELECTCLIPREGION, {3}).rec(META_SELECTOBJECT, {1}).rec(META_RECTANGLE, {100, 100, 0, 0});
    QImage image;
    ASSERT_NO_FATAL_FAILURE(PlayWmf(w.bytes(), &image));
    EXPECT_EQ(FromQColor(image.pixelColor(20, 20)), MakeRgb(0, 0xA0, 0));
    EXPECT_EQ(FromQColor(image.pixelColor(55, 70)), kBlue);
    EXPECT_EQ(FromQColor(image.pixelColor(85, 70)), kBlue);
    EXPECT_EQ(FromQColor(image.pixelColor(70, 70)), kWhite);
    EXPECT_EQ(FromQColor(image.pixelColor(45, 45)), kWhite);
}

TEST(MetafilePlayer, WindowsMetafileBitmapsOfPaletteIndexesAreDrawn)
{
    // A 2 x 1 bitmap of 8 bits whose table holds palette indexes 0 and
    // 128 (2 bytes each), stretched over the whole picture.
    std::vector<uint8_t> params;
    auto put16 = [&](uint16_t v) {
        params.push_back(uint8_t(v));
        params.push_back(uint8_t(v >> 8));
    };
    put16(0x0020);  // SRCCOPY, low word first
    put16(0x00CC);
    put16(DIB_PAL_COLORS);
    for (int16_t v : {1, 2, 0, 0, 100, 100, 0, 0})  // source h, w, y, x; dest h, w, y, x
        put16(uint16_t(v));
    std::vector<uint8_t> dib(40, 0);
    PutU32LE(dib.data(), 40);
    PutI32LE(dib.data() + 4, 2);
    PutI32LE(dib.data() + 8, 1);
    PutU16LE(dib.data() + 12, 1);
    PutU16LE(dib.data() + 14, 8);
    PutU32LE(dib.data() + 32, 2);
    dib.insert(dib.end(), {0, 0, 128, 0, 0, 1, 0, 0});
    params.insert(params.end(), dib.begin(), dib.end());
    TestWmf w;
    w.rec(META_SETWINDOWEXT, {100, 100});
    w.raw(META_STRETCHDIB, params);
    QImage image;
    ASSERT_NO_FATAL_FAILURE(PlayWmf(w.bytes(), &image));
    EXPECT_EQ(FromQColor(image.pixelColor(20, 50)), kBlack);
    EXPECT_EQ(FromQColor(image.pixelColor(80, 50)), MakeRgb(128, 128, 128));
}

}  // namespace

// --- Runaway metafiles ---------------------------------------------------------

namespace {

// A clock on which every reading is a second later than the one before.
std::atomic<int64_t> g_seconds{0};
int64_t SecondPerReading() { return 1000 * g_seconds.fetch_add(1); }
// A clock that stands still for the first g_standStill readings and is
// then far past any limit.
int64_t g_standStill = 0;
int64_t StillThenLate() { return g_seconds.fetch_add(1) < g_standStill ? 0 : int64_t(1) << 40; }

// The peak of this process's resident memory, in kB, since it was last
// set back (or -1 where the system cannot say).
int64_t PeakKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atoll(line.c_str() + 6);
    }
    return -1;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressChecked = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressChecked = true;
#else
constexpr bool kAddressChecked = false;
#endif
#else
constexpr bool kAddressChecked = false;
#endif

bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return bool(clear);
}

}  // namespace

// A metafile of many records stops when it has taken longer than a picture
// may (the clock is the test's) or when one path grows past what is kept of
// one: no picture is made, and the outcome says why. Within the limits the
// same records draw.
TEST(MetafilePlayer, ARunawayMetafileStopsAtTheTimeLimitOrThePathLimit)
{
    EnhMetafile ellipses = EnhMetafileFromBytes(RunawayMetafile(false, 200));
    ASSERT_TRUE(ellipses);
    DibHandleOwner dib(DibHandleNew());
    MetafileOutcome outcome = MetafileOutcome::kTimedOut;
    EXPECT_EQ(MetafileToDib(ellipses, nullptr, 100, 50, dib.get(), &outcome), 0);
    EXPECT_EQ(outcome, MetafileOutcome::kDrawn);
    EXPECT_FALSE(DibHandleIsEmpty(dib.get()));

    const PictureClock kept = SetPictureClockForTesting(SecondPerReading);
    EXPECT_EQ(MetafileToDib(ellipses, nullptr, 100, 50, dib.get(), &outcome), 1);
    const int64_t readings = g_seconds.load();
    SetPictureClockForTesting(kept);
    EXPECT_EQ(outcome, MetafileOutcome::kTimedOut);
    EXPECT_TRUE(DibHandleIsEmpty(dib.get()));
    // Stopped at the limit, not at the end of the file.
    EXPECT_LE(readings, kPictureTimeLimitMs / 1000 + 3);
    EXPECT_STREQ(MetafileOutcomeText(outcome), "it took longer than 30 s.");
    DeleteEnhMetaFile(ellipses);

    // A Windows metafile is played by the same player, on the same clock.
    TestWmf wmf;
    for (int16_t i = 0; i < 200; ++i)
        wmf.rec(META_ELLIPSE, {int16_t(90 - i % 40), int16_t(95 - i % 50), int16_t(i % 40), int16_t(i % 50)});
    const std::vector<uint8_t> wmfBytes = wmf.bytes();
    EnhMetafile fromWmf = SetWinMetaFileBits(uint32_t(wmfBytes.size()), wmfBytes.data(), IntSize{2540, 2540}, nullptr);
    ASSERT_TRUE(fromWmf);
    g_seconds = 0;
    SetPictureClockForTesting(SecondPerReading);
    EXPECT_EQ(MetafileToDib(fromWmf, nullptr, 100, 100, dib.get(), &outcome), 1);
    SetPictureClockForTesting(kept);
    EXPECT_EQ(outcome, MetafileOutcome::kTimedOut);
    EXPECT_EQ(MetafileToDib(fromWmf, nullptr, 100, 100, dib.get(), &outcome), 0);
    DeleteEnhMetaFile(fromWmf);

    // A single record that outlasts the limit (a fill of a long path) is
    // stopped within it: the clock stands still until the last record
    // starts (a reading at the start, and one before each record: the
    // header, the path's 2004 and the fill).
    EnhMetafile path = EnhMetafileFromBytes(RunawayMetafile(true, 2000));
    ASSERT_TRUE(path);
    g_seconds = 0;
    g_standStill = 1 + 1 + 2000 + 4;
    SetPictureClockForTesting(StillThenLate);
    EXPECT_EQ(MetafileToDib(path, nullptr, 1000, 500, dib.get(), &outcome), 1);
    const int64_t asked = g_seconds.load();
    SetPictureClockForTesting(kept);
    EXPECT_EQ(outcome, MetafileOutcome::kTimedOut);
    EXPECT_GT(asked, g_standStill + 1) << "the fill never asked whether to stop";
    EXPECT_EQ(MetafileToDib(path, nullptr, 1000, 500, dib.get(), &outcome), 0);
    DeleteEnhMetaFile(path);

    // One curve more than a path may hold, three points each.
    EnhMetafile curves = EnhMetafileFromBytes(RunawayMetafile(true, kMetafileMaxPathPoints / 3 + 1));
    ASSERT_TRUE(curves);
    EXPECT_EQ(MetafileToDib(curves, nullptr, 100, 50, dib.get(), &outcome), 1);
    EXPECT_EQ(outcome, MetafileOutcome::kTooComplex);
    EXPECT_TRUE(DibHandleIsEmpty(dib.get()));
    EXPECT_STREQ(MetafileOutcomeText(outcome), "one of its shapes has more than 1048576 points.");
    DeleteEnhMetaFile(curves);
}

// A path of many curves across the whole picture is filled and outlined in
// memory that follows the picture, not the curves: the peak grows by far
// less than the edges and pixel lines of the curves would take, and the
// pixels are those of the same path filled as a region.
TEST(MetafilePlayer, AFilledPathOfManyCurvesCostsMemoryByThePictureNotByItsCurves)
{
    constexpr uint32_t kCurves = 30000;
    EnhMetafile curves = EnhMetafileFromBytes(RunawayMetafile(true, kCurves));
    ASSERT_TRUE(curves);
    QImage image(1000, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto dc = Dc::ForImage(&image);
    // Touched once, so that the picture's own pages are not counted.
    PlayEnhMetaFile(*dc, *curves, IntRect{0, 0, 1000, 500});
    if (!ResetPeak() || PeakKb() < 0)
        GTEST_SKIP() << "the system does not tell the peak of a process's memory";
    const int64_t before = PeakKb();
    image.fill(Qt::white);
    MetafileOutcome outcome = MetafileOutcome::kTimedOut;
    EXPECT_TRUE(PlayEnhMetaFile(*dc, *curves, IntRect{0, 0, 1000, 500}, &outcome));
    const int64_t grown = PeakKb() - before;
    EXPECT_EQ(outcome, MetafileOutcome::kDrawn);
    // Kept edges and pixel lines took about 6 kB a curve here; what is kept
    // of the path itself takes about a tenth of one.
    // (The address checker keeps freed memory a while: it is not counted.)
    if (!kAddressChecked) {
        EXPECT_LT(grown * 1024 / kCurves, 1024) << grown << " kB for " << kCurves << " curves";
    }
    int black = 0;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 1000; ++x)
            black += (image.pixel(x, y) & 0xFFFFFF) == 0;
    EXPECT_GT(black, 400000) << "the path was not filled";
    DeleteEnhMetaFile(curves);
}

// A long area filled as it is flattened, without keeping its edges, covers
// exactly the pixels the scan of its kept edges gives.
TEST(MetafilePlayer, ALongAreaFillsTheSamePixelsAsItsRegion)
{
    for (const Qt::FillRule rule : {Qt::OddEvenFill, Qt::WindingFill}) {
        QPainterPath area;
        area.setFillRule(rule);
        uint32_t seed = 7;
        const auto next = [&seed](int m) {
            seed = seed * 1103515245u + 12345u;
            return double((seed >> 8) % uint32_t(m * 4)) / 4;
        };
        area.moveTo(50, 50);
        for (int i = 0; i < 3000; ++i) {
            if (i % 500 == 0)
                area.moveTo(next(300) - 20, next(200) - 20);
            if (i % 3 == 0)
                area.lineTo(next(300) - 20, next(200) - 20);
            else
                area.cubicTo(next(300) - 20, next(200) - 20, next(300) - 20, next(200) - 20, next(300) - 20,
                             next(200) - 20);
        }
        ASSERT_GT(area.elementCount(), 4096);
        const QRect box(0, 0, 260, 160);
        Coverage cov(box);
        FillArea(cov, area);
        const QRegion region = AreaToRegion(area, box);
        int differ = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                differ += cov.test(x, y) != region.contains(QPoint(x, y));
        EXPECT_EQ(differ, 0) << (rule == Qt::WindingFill ? "winding" : "odd-even");
    }
}
