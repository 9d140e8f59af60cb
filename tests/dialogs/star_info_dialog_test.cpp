#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "dialogs/star_info_dialog.h"

namespace {

StarParams Star(int16_t points, int16_t shape, double acuteness)
{
    StarParams s;
    s.points = points;
    s.shape = shape;
    s.acuteness = acuteness;
    return s;
}

FrameGeometry FrameView()
{
    FrameGeometry g;
    g.x = 300;
    g.y = 200;
    g.width = 90;
    g.height = 60;
    g.angle = 30;
    g.lineWidth = 35;
    g.lineStyle = 1;
    return g;
}

// Whether any pixel within one of (x, y) is black.
bool BlackNear(const QImage& image, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if ((image.pixel(x + dx, y + dy) & 0xFFFFFF) == 0)
                return true;
        }
    }
    return false;
}

// On the button's mark: the button takes clicks only on its mark and text.
void Click(QRadioButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }

TEST(StarInfoDialog, OpensWithTheStarAndReturnsWhatWasSet)
{
    CDlgStarInfo dialog;
    dialog.SetStar(Star(7, 0, 0.5), FrameView());
    EXPECT_EQ(dialog.PeaksEdit()->text(), QStringLiteral("7"));
    EXPECT_EQ(dialog.AcutenessSlider()->value(), 10);
    EXPECT_TRUE(dialog.StarButton()->isChecked());
    EXPECT_FALSE(dialog.PolygonButton()->isChecked());

    dialog.PeaksEdit()->selectAll();
    QTest::keyClicks(dialog.PeaksEdit(), QStringLiteral("12"));
    Click(dialog.PolygonButton());
    dialog.AcutenessSlider()->setValue(dialog.AcutenessSlider()->maximum());
    dialog.accept();
    StarParams out;
    dialog.GetStar(&out);
    EXPECT_EQ(out, Star(12, 1, 1.0));

    // The sample draws at its own place, unturned, with a border of at
    // most 20; the caller's geometry is its own.
    const FrameGeometry& g = dialog.SampleGeometry();
    EXPECT_EQ(g.x, 5);
    EXPECT_EQ(g.y, 5);
    EXPECT_EQ(g.width, dialog.Sample()->width() - 10);
    EXPECT_EQ(g.angle, 0.0f);
    EXPECT_EQ(g.lineWidth, 20);
}

TEST(StarInfoDialog, PeaksAreLimitedWhereTheyAreTypedAndStepped)
{
    CDlgStarInfo dialog;
    dialog.SetStar(Star(4, 0, 0.75), FrameView());
    StarParams out;
    dialog.PeaksEdit()->selectAll();
    QTest::keyClicks(dialog.PeaksEdit(), QStringLiteral("25"));
    dialog.GetStar(&out);
    EXPECT_EQ(out.points, 20);
    QTest::mouseClick(dialog.PeaksUp(), Qt::LeftButton);
    EXPECT_EQ(dialog.PeaksEdit()->text(), QStringLiteral("20"));

    // Too few peaks typed reach the settings and the sample still draws.
    for (const char* typed : {"2", "1", "0", "", "x"}) {
        dialog.PeaksEdit()->setText(QString::fromLatin1(typed));
        dialog.GetStar(&out);
        EXPECT_EQ(out.points, typed[0] >= '0' && typed[0] <= '9' ? typed[0] - '0' : 0) << typed;
        EXPECT_FALSE(dialog.Sample()->grab().toImage().isNull());
    }
    dialog.PeaksEdit()->setText(QStringLiteral("5"));
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(dialog.PeaksDown(), Qt::LeftButton);
    EXPECT_EQ(dialog.PeaksEdit()->text(), QStringLiteral("3"));
    dialog.GetStar(&out);
    EXPECT_EQ(out.points, 3);

    // Cancel: the caller never asks for the settings.
    dialog.reject();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(StarInfoDialog, SampleDrawsThePolygonOrTheStar)
{
    CDlgStarInfo dialog;
    FrameGeometry g = FrameView();
    g.lineWidth = 0;  // a star without a border is still shown
    dialog.SetStar(Star(4, 1, 0.5), g);
    // Four corners at the top, left, bottom and right of the sample area:
    // the side from the top to the left corner crosses its quarter point.
    const int w = dialog.Sample()->width();
    const int quarter = 5 + (w - 10) / 4;
    QImage image = dialog.Sample()->grab().toImage();
    EXPECT_TRUE(BlackNear(image, w / 2, 6));
    EXPECT_TRUE(BlackNear(image, quarter + 1, quarter + 1));
    EXPECT_EQ(image.pixel(w / 2, w / 2) & 0xFFFFFF, 0xFFFFFFu);

    // As a star the sides run in to the inner points instead.
    Click(dialog.StarButton());
    image = dialog.Sample()->grab().toImage();
    EXPECT_TRUE(BlackNear(image, w / 2, 6));
    EXPECT_FALSE(BlackNear(image, quarter + 1, quarter + 1));
}

}  // namespace
