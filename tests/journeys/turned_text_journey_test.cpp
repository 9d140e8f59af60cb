// Text turned by 30 degrees reads as well as text turned by a quarter: on
// the screen at 100, 200 and 400 percent and in a picture exported from
// the card, each glyph of the turned line is one blob of ink, as it is in
// the same line turned by 90 degrees.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <functional>

#include <QFileDialog>
#include <QLineEdit>
#include <QPolygonF>
#include <QTest>

#include "dialogs/numeric_edit.h"
#include "dialogs/text_box_info_dialog.h"
#include "dialogs/value_dialogs.h"
#include "journey_fixture.h"
#include "support/needed_tools.h"
#include "support/run_program.h"

namespace {

// A text frame of the card, in the card's own points, turned counter-
// clockwise by its angle about its top left corner.
struct TurnedFrame {
    double x, y, width, height, angle;
};

// The frame less a margin, where `place` puts the card's points in the
// picture.
QPolygonF Inside(const TurnedFrame& f, const std::function<QPointF(QPointF)>& place)
{
    const double a = f.angle * M_PI / 180, c = std::cos(a), s = std::sin(a);
    QPolygonF inside;
    for (const QPointF& corner : {QPointF(0, 0), QPointF(1, 0), QPointF(1, 1), QPointF(0, 1)}) {
        const double u = 3 + corner.x() * (f.width - 6), v = 3 + corner.y() * (f.height - 6);
        inside << place(QPointF(f.x + u * c + v * s, f.y - u * s + v * c));
    }
    return inside;
}

// The blobs of ink (8-connected pixels of a quarter grey or darker) inside
// the frame: one per glyph, and one per dot of a glyph, where the glyphs
// are whole.
int InkBlobs(const QImage& picture, const TurnedFrame& f, const std::function<QPointF(QPointF)>& place)
{
    const QPolygonF inside = Inside(f, place);
    const QRect box = inside.boundingRect().toAlignedRect() & picture.rect();
    auto ink = [&](int x, int y) {
        return box.contains(x, y) && inside.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill) &&
               qGray(picture.pixel(x, y)) < 192;
    };
    std::vector<uint8_t> seen(size_t(box.width()) * size_t(box.height()), 0);
    auto index = [&](int x, int y) { return size_t(y - box.top()) * size_t(box.width()) + size_t(x - box.left()); };
    int blobs = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (!ink(x, y) || seen[index(x, y)])
                continue;
            ++blobs;
            std::deque<QPoint> open{QPoint(x, y)};
            seen[index(x, y)] = 1;
            while (!open.empty()) {
                const QPoint p = open.front();
                open.pop_front();
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = p.x() + dx, ny = p.y() + dy;
                        if (ink(nx, ny) && !seen[index(nx, ny)]) {
                            seen[index(nx, ny)] = 1;
                            open.push_back(QPoint(nx, ny));
                        }
                    }
            }
        }
    }
    return blobs;
}

// How blocky the ink is: the largest share of the ink's left edges along
// the rows that fall on one column of every `step`. A picture made for a
// smaller scale and stretched by `step` has all of them on one.
double EdgesOnOneColumn(const QImage& picture, const TurnedFrame& f, const std::function<QPointF(QPointF)>& place,
                        int step)
{
    const QPolygonF inside = Inside(f, place);
    const QRect box = inside.boundingRect().toAlignedRect() & picture.rect();
    std::vector<int> edges(size_t(step), 0);
    int all = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left() + 1; x <= box.right(); ++x) {
            if (!inside.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill))
                continue;
            if (qGray(picture.pixel(x, y)) < 192 && qGray(picture.pixel(x - 1, y)) >= 192) {
                ++edges[size_t(x % step)];
                ++all;
            }
        }
    }
    return all ? double(*std::max_element(edges.begin(), edges.end())) / all : 1.0;
}

class TurnedTextJourney : public JourneyTest {};

TEST_F(TurnedTextJourney, TextTurnedByThirtyDegreesKeepsItsGlyphsWholeOnScreenAndInAPicture)
{
    const std::string card = TempFile("turned.lqx");
    Tool("card new-turned '" + card + "'");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    // The card's phone line turned by 30 degrees (on the left) and by 90
    // (up the right edge), as `card dump` gives them.
    const TurnedFrame thirty{6, 70, 110, 24, 30}, quarter{224, 140, 110, 24, 90};
    auto onView = [&](QPointF p) {
        const QPoint at = CardPoint(int(p.x()), int(p.y()));
        const QPoint next = CardPoint(int(p.x()) + 1, int(p.y()) + 1);
        return QPointF(at) + QPointF((next - at).x() * (p.x() - int(p.x())), (next - at).y() * (p.y() - int(p.y())));
    };
    int straight = 0;
    auto compare = [&](const QImage& picture, const std::function<QPointF(QPointF)>& place, const char* where) {
        if (const char* keep = std::getenv("TESSALINE_KEEP_SHOTS"))
            picture.save(QString::fromLatin1(keep) + "/" + QString::fromLatin1(where).remove(' ') + ".png");
        straight = InkBlobs(picture, quarter, place);
        const int turned = InkBlobs(picture, thirty, place);
        EXPECT_GE(straight, 8) << where;
        EXPECT_LE(std::abs(turned - straight), 1) << where << ": " << turned << " blobs at 30 degrees, " << straight
                                                  << " at 90";
    };

    Settle();
    compare(ViewPixels(), onView, "100%");
    ASSERT_TRUE(Trigger("View > View Size > 200%"));
    Settle();
    const QImage at200 = ViewPixels();
    compare(at200, onView, "200%");
    EXPECT_LT(EdgesOnOneColumn(at200, thirty, onView, 2), 0.8) << "blocky at 200%";
    OnNextDialog([](QWidget* dialog) {
        auto* zoom = dynamic_cast<CDlgZoom*>(dialog);
        ASSERT_NE(zoom, nullptr);
        zoom->Percent()->setText("400");
        zoom->accept();
    });
    ASSERT_TRUE(Trigger("View > View Size > Other..."));
    Settle();
    // At 400% the line by 90 degrees may lie beyond the view: the 30 degree
    // line has as many blobs as the line by 90 had at 200%.
    const QImage view = ViewPixels();
    if (const char* keep = std::getenv("TESSALINE_KEEP_SHOTS"))
        view.save(QString::fromLatin1(keep) + "/400%.png");
    ASSERT_TRUE(view.rect().contains(CardRect(6, 15, 100, 80))) << "the turned line is out of the view at 400%";
    const int at400 = InkBlobs(view, thirty, onView);
    EXPECT_LT(EdgesOnOneColumn(view, thirty, onView, 4), 0.6) << "blocky at 400%";
    EXPECT_LE(std::abs(at400 - straight), 1) << at400 << " blobs at 400%, " << straight << " at 200%";

    // Export As Picture: the card as a bitmap.
    const std::string bmp = TempFile("turned.bmp");
    OnNextDialog([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        ChooseFile(bmp)(dialog);
    });
    ASSERT_TRUE(Trigger("File > Export > Export As Picture..."));
    Settle();
    const QImage picture(QString::fromStdString(bmp));
    ASSERT_FALSE(picture.isNull()) << alerts.lastText();
    const double scale = picture.width() / 252.0;
    compare(picture, [&](QPointF p) { return p * scale; }, "Export As Picture");
}

// The dark pixels (a quarter grey or darker) inside the frame.
int InkInside(const QImage& picture, const TurnedFrame& f, const std::function<QPointF(QPointF)>& place)
{
    const QPolygonF inside = Inside(f, place);
    const QRect box = inside.boundingRect().toAlignedRect() & picture.rect();
    int ink = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            ink += inside.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill) && qGray(picture.pixel(x, y)) < 192;
    return ink;
}

// The share of the points one pixel apart along the middle half of the
// line from a to b (picture pixels) that have ink within a pixel: 0 for an
// edge not drawn.
double InkedAlong(const QImage& picture, QPointF a, QPointF b)
{
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    int inked = 0, all = 0;
    for (double t = 0.25; t <= 0.75; t += 1 / length, ++all) {
        const QPoint p = (a + (b - a) * t).toPoint();
        bool ink = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                ink = ink || (picture.rect().contains(p.x() + dx, p.y() + dy) &&
                              qGray(picture.pixel(p.x() + dx, p.y() + dy)) < 128);
        inked += ink;
    }
    return all ? double(inked) / all : 0;
}

// "ACCESS" in a text frame of 48 x 16 points (7 points high) and in one of
// 110 x 40 (14 points), turned together through Object Info's Box Angle: at
// every angle tried each turned frame shows as much ink as it does
// straight, give or take the turn's smoothing, and the sheet printed from
// the program holds the word whole twice a card.
TEST_F(TurnedTextJourney, ASmallAndALargeFrameShowTheirWordAtEveryAngle)
{
    if (!HaveTool("pdftotext"))
        SKIP_FOR_MISSING_TOOL() << "pdftotext (poppler-utils) is not installed";
    const std::string card = TempFile("angled.lqx");
    Tool("card new-angled '" + card + "' 0");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    Settle();
    auto onView = [&](QPointF p) { return QPointF(CardPoint(int(std::lround(p.x())), int(std::lround(p.y())))); };
    auto place = [&](QPointF p) {
        const QPoint at = CardPoint(int(std::floor(p.x())), int(std::floor(p.y())));
        const QPoint next = CardPoint(int(std::floor(p.x())) + 1, int(std::floor(p.y())) + 1);
        const QPointF part(p.x() - std::floor(p.x()), p.y() - std::floor(p.y()));
        return QPointF(at) + QPointF((next - at).x() * part.x(), (next - at).y() * part.y());
    };
    const auto frames = [](int angle) {
        return std::array<TurnedFrame, 2>{TurnedFrame{60, 72, 48, 16, double(angle)},
                                          TurnedFrame{186, 72, 110, 40, double(angle)}};
    };
    const QImage plain = ViewPixels();
    const int straight[2] = {InkInside(plain, frames(0)[0], onView), InkInside(plain, frames(0)[1], onView)};
    ASSERT_GE(straight[0], 20) << "the small frame shows nothing straight";
    for (int angle : {1, 23, 45, 67, 90, 113, 135, 158, 180, 202, 225, 247, 270, 293, 315, 338, 359}) {
        ASSERT_TRUE(Trigger("Edit > Select All"));
        OnNextDialog([angle](QWidget* dialog) {
            auto* info = dynamic_cast<CDlgTextBoxInfo*>(dialog);
            ASSERT_NE(info, nullptr);
            info->BoxAngle()->selectAll();
            QTest::keyClicks(info->BoxAngle(), QString::number(angle));
            info->accept();
        });
        ASSERT_TRUE(Trigger("Object > Object Info..."));
        Settle();
        const QImage view = ViewPixels();
        for (int i = 0; i < 2; ++i) {
            const int ink = InkInside(view, frames(angle)[size_t(i)], onView);
            EXPECT_GE(ink, straight[i] / 2) << (i ? "large" : "small") << " frame at " << angle << " degrees";
        }

        if (angle == 45) {
            // Not selected, each frame shows its dotted edge all round.
            Click(CardPoint(20, 130));
            const QImage edges = ViewPixels();
            for (const TurnedFrame& f : frames(angle)) {
                const QPointF across(f.width * M_SQRT1_2, -f.width * M_SQRT1_2);
                const QPointF down(f.height * M_SQRT1_2, f.height * M_SQRT1_2);
                const QPointF corner(f.x, f.y);
                for (const auto& [from, to] :
                     {std::pair{corner, corner + across}, std::pair{corner + down, corner + down + across},
                      std::pair{corner, corner + down}, std::pair{corner + across, corner + across + down}}) {
                    EXPECT_GT(InkedAlong(edges, place(from), place(to)), 0.3)
                        << "an edge of the " << f.width << " x " << f.height << " frame is missing";
                }
            }
        }

        const std::string pdf = TempFile("angled" + std::to_string(angle) + ".pdf");
        OnNextDialog(PrintToPdfFile(pdf));
        ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        const ProgramRun text = RunProgramFor("pdftotext", {"-raw", pdf, "-"});
        std::string joined;
        for (char c : text.out)
            if (c != ' ' && c != '\n')
                joined += c;
        int words = 0;
        for (size_t at = joined.find("ACCESS"); at != std::string::npos; at = joined.find("ACCESS", at + 1))
            ++words;
        EXPECT_EQ(words, 20) << "the print at " << angle << " degrees";
    }
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace
