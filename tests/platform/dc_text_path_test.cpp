#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dc_test_support.h"
#include "platform/font_mapper.h"

namespace {

constexpr ColorRef kRed = MakeRgb(255, 0, 0);
constexpr ColorRef kBlue = MakeRgb(0, 0, 255);

LogFont Font(const char* face, int32_t height, int32_t escapement = 0)
{
    LogFont f;
    std::strncpy(f.faceName, face, sizeof(f.faceName) - 1);
    f.height = height;
    f.escapement = escapement;
    return f;
}

// The bounding box of the pixels of one colour.
QRect Ink(const DcCanvas& c, ColorRef color)
{
    QRect box;
    for (int y = 0; y < c.image.height(); ++y)
        for (int x = 0; x < c.image.width(); ++x)
            if (c.at(x, y) == color)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(DcText, FacesStandForTheWindowsFaces)
{
    EXPECT_EQ(ResolveFaceFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(ResolveFaceFamily("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(ResolveFaceFamily("courier new"), "Liberation Mono");
    auto dc = Dc::ForMeasuring();
    dc->selectFont(Font("Courier New", -20));
    EXPECT_EQ(dc->getTextFace(), "Courier New");
    // A monospaced face: every character advances the same.
    EXPECT_EQ(dc->getCharWidth('i'), dc->getCharWidth('W'));
    EXPECT_EQ(dc->getTextExtent("iiii").width, 4 * dc->getCharWidth('W'));
}

TEST(DcText, NegativeHeightIsTheCharacterHeightPositiveTheCellHeight)
{
    auto dc = Dc::ForMeasuring();
    dc->selectFont(Font("Arial", -100));
    const TextMetrics em = dc->getTextMetrics();
    EXPECT_EQ(em.height, em.ascent + em.descent);
    EXPECT_EQ(em.height - em.internalLeading, 100);
    EXPECT_GT(em.internalLeading, 5);
    dc->selectFont(Font("Arial", 100));
    const TextMetrics cell = dc->getTextMetrics();
    EXPECT_NEAR(cell.height, 100, 1);
    EXPECT_LT(cell.height - cell.internalLeading, 100);
    EXPECT_EQ(dc->getTextExtent("Hello").height, cell.height);

    // Logical units: a mapping that halves lengths halves the font in pixels
    // but not in logical units.
    DcCanvas c(10, 10);
    c.dc->selectFont(Font("Arial", -40));
    const int32_t w = c.dc->getTextExtent("Tessaline").width;
    c.dc->setMapMode(MM_ANISOTROPIC);
    c.dc->setWindowExt(2, 2);
    c.dc->setViewportExt(1, 1);
    EXPECT_NEAR(c.dc->getTextExtent("Tessaline").width, w, 2);
}

TEST(DcText, UpdateCpDrawsAtThePositionAndAdvancesByTheExtent)
{
    DcCanvas whole(200, 40);
    DcCanvas pieces(200, 40);
    for (DcCanvas* c : {&whole, &pieces}) {
        c->dc->selectFont(Font("Times New Roman", -18));
        c->dc->setTextAlign(TA_BASELINE | TA_UPDATECP);
        c->dc->setBkMode(TRANSPARENT);
        c->dc->setTextColor(kRed);
        c->dc->moveTo(5, 30);
    }
    const char* text = "Wave \xE9t\xE9 fly";
    whole.dc->textOut(999, 999, text);
    const IntSize ext = whole.dc->getTextExtent(text);
    EXPECT_EQ(whole.dc->currentPosition().x, 5 + ext.width);
    EXPECT_EQ(whole.dc->currentPosition().y, 30);
    for (const char* p = text; *p; ++p)
        pieces.dc->textOut(0, 0, std::string_view(p, 1));
    EXPECT_EQ(pieces.dc->currentPosition().x, 5 + ext.width);
    EXPECT_EQ(whole.image, pieces.image) << "character by character lands on the same pixels";
    const QRect ink = Ink(whole, kRed);
    EXPECT_GE(ink.left(), 5);
    EXPECT_LE(ink.bottom(), 30 + 5);
    EXPECT_LT(ink.top(), 30 - 8);
}

TEST(DcText, AlignmentAndOpaqueBackground)
{
    DcCanvas c(200, 60);
    c.dc->selectFont(Font("Arial", -20));
    c.dc->setTextColor(kRed);
    c.dc->setBkColor(kBlue);
    c.dc->setTextAlign(TA_RIGHT | TA_TOP);
    c.dc->textOut(150, 10, "Ab");
    const IntSize ext = c.dc->getTextExtent("Ab");
    const QRect cell = Ink(c, kBlue) | Ink(c, kRed);
    EXPECT_EQ(cell, QRect(150 - ext.width, 10, ext.width, ext.height));

    DcCanvas t(200, 60);
    t.dc->selectFont(Font("Arial", -20));
    t.dc->setTextColor(kRed);
    t.dc->setBkMode(TRANSPARENT);
    t.dc->setTextAlign(TA_CENTER | TA_BOTTOM);
    t.dc->textOut(100, 50, "HH");
    const QRect ink = Ink(t, kRed);
    EXPECT_EQ(t.count(kBlue), 0);
    EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, 100, 2);
    EXPECT_LT(ink.bottom(), 50 - 2) << "the descent lies below the capitals";
}

TEST(DcText, SmallTextKeepsItsThinStems)
{
    // At small sizes a stem is thinner than a pixel and may miss every
    // pixel centre of a row (or a bar every centre of a column); it must
    // still leave a pixel there.
    for (int32_t height = -6; height >= -10; --height) {
        DcCanvas c(40, 20);
        c.dc->selectFont(Font("Arial", height));
        c.dc->setTextColor(kRed);
        c.dc->setBkMode(TRANSPARENT);
        c.dc->setTextAlign(TA_BASELINE);
        c.dc->textOut(2, 15, "l");
        c.dc->textOut(20, 15, "-");
        QRect stem;
        QRect bar;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 40; ++x) {
                if (c.at(x, y) == kRed)
                    (x < 20 ? stem : bar) |= QRect(x, y, 1, 1);
            }
        }
        ASSERT_GE(stem.height(), 3) << height;
        ASSERT_GE(bar.width(), 2) << height;
        for (int y = stem.top(); y <= stem.bottom(); ++y)
            EXPECT_EQ(c.mask(kRed, stem.left(), y, stem.right() + 1, y + 1).find('#') != std::string::npos, true)
                << "height " << height << " row " << y;
        for (int x = bar.left(); x <= bar.right(); ++x)
            EXPECT_NE(c.mask(kRed, x, bar.top(), x + 1, bar.bottom() + 1).find('#'), std::string::npos)
                << "height " << height << " column " << x;

        // Stems side by side in a laid-out run, with no pixel centre between
        // them, keep every pixel they have alone.
        DcCanvas one(40, 20);
        DcCanvas run(40, 20);
        for (DcCanvas* d : {&one, &run}) {
            d->dc->selectFont(Font("Arial", height));
            d->dc->setTextColor(kRed);
            d->dc->setBkMode(TRANSPARENT);
            d->dc->setTextAlign(TA_BASELINE);
        }
        std::vector<int32_t> at;
        for (int32_t i = 0, x = 2; i < 4; ++i, x += one.dc->getCharWidth('l')) {
            at.push_back(x);
            one.dc->textOut(x, 15, "l");
        }
        run.dc->placedTextOut(15, "llll", at.data());
        EXPECT_EQ(one.image, run.image) << "height " << height;
    }
}

TEST(DcText, EscapementTurnsTheTextAboutItsReferencePoint)
{
    DcCanvas flat(120, 120);
    DcCanvas up(120, 120);
    for (DcCanvas* c : {&flat, &up}) {
        c->dc->setTextColor(kRed);
        c->dc->setBkMode(TRANSPARENT);
        c->dc->setTextAlign(TA_BASELINE | TA_UPDATECP);
        c->dc->moveTo(60, 100);
    }
    flat.dc->selectFont(Font("Arial", -16));
    up.dc->selectFont(Font("Arial", -16, 900));
    flat.dc->textOut(0, 0, "MMMM");
    up.dc->textOut(0, 0, "MMMM");
    const QRect a = Ink(flat, kRed);
    const QRect b = Ink(up, kRed);
    EXPECT_GT(a.width(), a.height());
    EXPECT_GT(b.height(), b.width());
    EXPECT_NEAR(b.height(), a.width(), 1);
    EXPECT_LE(b.bottom(), 100) << "counter-clockwise: the text runs upward";
    EXPECT_LE(b.right(), 60) << "and its top faces left";
    EXPECT_EQ(up.dc->currentPosition().x, 60);
    EXPECT_EQ(up.dc->currentPosition().y, 100 - up.dc->getTextExtent("MMMM").width);
}

TEST(DcText, UnderlineAndTextPathsMatchTheDrawnText)
{
    DcCanvas drawn(160, 40);
    DcCanvas filled(160, 40);
    LogFont f = Font("Arial", -22);
    f.underline = 1;
    for (DcCanvas* c : {&drawn, &filled}) {
        c->dc->selectFont(f);
        c->dc->setBkMode(TRANSPARENT);
        c->dc->setTextColor(kRed);
        c->dc->selectBrush(Brush::Solid(kRed));
        c->dc->setPolyFillMode(WINDING);
    }
    drawn.dc->textOut(4, 4, "Rat");
    filled.dc->beginPath();
    filled.dc->textOut(4, 4, "Rat");
    filled.dc->endPath();
    EXPECT_EQ(filled.count(kRed), 0) << "inside a path bracket nothing is drawn";
    EXPECT_FALSE(filled.dc->getPath().empty());
    filled.dc->fillPath();
    // The same outlines: drawn text only adds the pixels its dropout control
    // keeps for strokes thinner than a pixel.
    int extra = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 160; ++x) {
            if (filled.at(x, y) == kRed) {
                ASSERT_EQ(drawn.at(x, y), kRed) << x << "," << y;
            } else {
                extra += drawn.at(x, y) == kRed;
            }
        }
    }
    EXPECT_LT(extra * 50, drawn.count(kRed));
    const QRect ink = Ink(drawn, kRed);
    EXPECT_EQ(drawn.mask(kRed, ink.left(), ink.bottom(), ink.right() + 1, ink.bottom() + 1),
              std::string(size_t(ink.width()), '#') + "\n")
        << "the underline runs under the whole text";
    EXPECT_EQ(Region::FromPath(drawn.dc->textPath(4, 4, "Rat")).bounds().left, ink.left());
}

TEST(DcPath, BezierRingsFilledInAlternateModeHaveAHole)
{
    DcCanvas c(40, 40);
    c.dc->selectBrush(Brush::Solid(kBlue));
    c.dc->beginPath();
    // Outer circle clockwise, inner circle the same way round: only the
    // alternate rule leaves the hole.
    const double k = 0.5523;
    auto circle = [&](int cx, int cy, int r) {
        const int d = int(r * k + 0.5);
        const IntPoint pts[] = {{cx, cy - r},     {cx + d, cy - r}, {cx + r, cy - d}, {cx + r, cy},
                                {cx + r, cy + d}, {cx + d, cy + r}, {cx, cy + r},     {cx - d, cy + r},
                                {cx - r, cy + d}, {cx - r, cy},     {cx - r, cy - d}, {cx - d, cy - r},
                                {cx, cy - r}};
        c.dc->polyBezier(pts, 13);
        c.dc->closeFigure();
    };
    circle(20, 20, 16);
    circle(20, 20, 8);
    c.dc->endPath();
    const std::vector<PathPoint> path = c.dc->getPath();
    ASSERT_EQ(path.size(), 26u);
    EXPECT_EQ(path[0].type, PT_MOVETO);
    EXPECT_EQ(path[1].type, PT_BEZIERTO);
    EXPECT_EQ(path[12].type, PT_BEZIERTO | PT_CLOSEFIGURE);
    c.dc->setPolyFillMode(ALTERNATE);
    EXPECT_TRUE(c.dc->fillPath());
    EXPECT_EQ(c.at(20, 20), kWhite);
    EXPECT_EQ(c.at(20, 8), kBlue);
    EXPECT_EQ(c.at(20, 2), kWhite);
    EXPECT_FALSE(c.dc->fillPath()) << "filling uses the path up";

    c.dc->beginPath();
    circle(20, 20, 16);
    circle(20, 20, 8);
    c.dc->endPath();
    c.dc->setPolyFillMode(WINDING);
    const Region r = c.dc->pathToRegion();
    EXPECT_TRUE(r.contains(20, 20));
    EXPECT_TRUE(c.dc->getPath().empty());
}

TEST(DcPath, ShapesAddTheirOutlinesAndFlattenToLines)
{
    DcCanvas c(30, 30);
    c.dc->setViewportOrg(5, 5);
    c.dc->beginPath();
    c.dc->rectangle(0, 0, 10, 6);
    c.dc->moveTo(0, 20);
    c.dc->lineTo(10, 20);
    c.dc->lineTo(10, 24);
    EXPECT_FALSE(c.dc->fillPath()) << "an open path cannot be filled";
    c.dc->endPath();
    const std::vector<PathPoint> path = c.dc->getPath();
    ASSERT_EQ(path.size(), 7u);
    EXPECT_EQ(path[2].point.x, 10) << "logical units";
    EXPECT_EQ(path[2].point.y, 6);
    EXPECT_EQ(path[3].type, PT_LINETO | PT_CLOSEFIGURE);
    EXPECT_EQ(path[4].type, PT_MOVETO);
    EXPECT_EQ(path[6].type, PT_LINETO);
    c.dc->selectPen(Pen{PS_SOLID, 0, kRed});
    c.dc->selectBrush(Brush::Solid(kBlue));
    EXPECT_TRUE(c.dc->strokeAndFillPath());
    EXPECT_EQ(c.at(5 + 10, 5 + 22), kRed);
    EXPECT_EQ(c.at(5 + 2, 5 + 2), kBlue);

    c.dc->beginPath();
    c.dc->ellipse(0, 0, 20, 20);
    c.dc->endPath();
    EXPECT_TRUE(c.dc->flattenPath());
    const std::vector<PathPoint> flat = c.dc->getPath();
    EXPECT_GT(flat.size(), 12u);
    for (size_t i = 1; i < flat.size(); ++i)
        EXPECT_EQ(flat[i].type & ~PT_CLOSEFIGURE, PT_LINETO);
    EXPECT_TRUE(c.dc->abortPath());
    EXPECT_TRUE(c.dc->getPath().empty());
}

}  // namespace

// The box text is said never to leave holds its outlines, however aligned,
// turned, underlined or struck out, and at another mapping; upright it is
// their box within a unit of rounding, so that a caption just inside a
// label's edge is not taken for one past it.
TEST(DcText, TheTextsReachHoldsItsOutlinesAndUprightLittleMore)
{
    const uint32_t aligns[] = {TA_LEFT | TA_TOP, TA_CENTER | TA_BASELINE, TA_RIGHT | TA_BOTTOM,
                               TA_LEFT | TA_TOP | TA_UPDATECP};
    for (const int32_t escapement : {0, 300, 900}) {
        for (const bool lines : {false, true}) {
            for (const uint32_t align : aligns) {
                for (const int32_t scale : {1, 3}) {
                    SCOPED_TRACE(std::to_string(escapement) + (lines ? " lined " : " plain ") + std::to_string(align) +
                                 " x" + std::to_string(scale));
                    auto dc = Dc::ForMeasuring();
                    dc->setMapMode(MM_ANISOTROPIC);
                    dc->setWindowExt(scale, scale);
                    dc->setViewportExt(1, 1);
                    dc->setWindowOrg(-40, 25);
                    LogFont f = Font("Arial", -30 * scale, escapement);
                    f.underline = lines;
                    f.strikeOut = lines;
                    dc->selectFont(f);
                    dc->setTextAlign(align);
                    dc->moveTo(70, 90);
                    const QRectF outline = dc->textPath(100, 200, "Wig-1").boundingRect();
                    const QRectF reach = dc->textReach(100, 200, "Wig-1");
                    ASSERT_FALSE(outline.isEmpty());
                    EXPECT_TRUE(reach.contains(outline)) << "outline " << outline.left() << " " << outline.top()
                                                         << " " << outline.right() << " " << outline.bottom();
                    if (escapement == 0 && !lines) {
                        const double unit = 1.0 * scale + 0.01;
                        EXPECT_LE(outline.left() - reach.left(), unit);
                        EXPECT_LE(outline.top() - reach.top(), unit);
                        EXPECT_LE(reach.right() - outline.right(), unit);
                        EXPECT_LE(reach.bottom() - outline.bottom(), unit);
                    }
                }
            }
        }
    }
    // A line alone, under or through letters whose outlines it passes
    // (below their feet, beyond their sides).
    for (const bool under : {true, false}) {
        SCOPED_TRACE(under ? "underline" : "strike-out");
        auto dc = Dc::ForMeasuring();
        LogFont f = Font("Arial", -90);
        f.underline = under;
        f.strikeOut = !under;
        dc->selectFont(f);
        const QRectF outline = dc->textPath(10, 20, "mno").boundingRect();
        EXPECT_TRUE(dc->textReach(10, 20, "mno").contains(outline));
    }
    auto dc = Dc::ForMeasuring();
    dc->selectFont(Font("Arial", -30));
    EXPECT_TRUE(dc->textReach(0, 0, "   ").isNull()) << "spaces leave no ink";
}
