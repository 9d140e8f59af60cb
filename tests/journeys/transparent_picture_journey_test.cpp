// A PNG with transparent parts placed over the sample card's logo through
// File > Import Graphics...: where the picture is clear, the logo shows.
#include <QDialog>
#include <QImage>
#include <QRadioButton>

#include "carddoc/labels_doc.h"
#include "journey_fixture.h"

namespace {

class TransparentPictureJourney : public JourneyTest {};

QColor At(const QImage& image, const QPoint& p) { return QColor(image.pixel(p)); }

TEST_F(TransparentPictureJourney, ClearPixelsOfAPngShowTheFrameBeneath)
{
    // Red on its left half, fully transparent on its right half.
    QImage png(40, 40, QImage::Format_ARGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            png.setPixel(x, y, x < 20 ? qRgba(220, 0, 0, 255) : qRgba(0, 0, 0, 0));
    const std::string file = TempFile("half clear.png");
    ASSERT_TRUE(png.save(QString::fromStdString(file)));

    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    // The logo: a dark blue disc 40 points across at (14, 14).
    const IntRect slot = CardDocument()->PageGeometry().slots[0];
    auto at = [&](int x, int y) { return ViewPoint(IntPoint{slot.left + x, slot.top + y}); };
    const QColor disc = At(ViewPixels(), at(44, 34));
    ASSERT_LT(disc.lightness(), 100);

    OnNextDialog(ChooseFile(file));
    ASSERT_TRUE(Trigger("File > Import Graphics..."));
    // The picture's frame is drawn over the logo, the picture fitted to it.
    Drag(at(14, 14), {at(30, 30), at(54, 54)});
    ASSERT_EQ(PendingDialogs(), 0u);
    // Away from the frame's edges and handles. A new frame has the white
    // background of the tools' defaults, which the clear half shows.
    QImage view = ViewPixels();
    const QColor red = At(view, at(24, 34));
    EXPECT_GT(red.red(), 180);
    EXPECT_LT(red.blue(), 60);
    EXPECT_EQ(At(view, at(44, 34)), QColor(Qt::white)) << At(view, at(44, 34)).name().toStdString();

    // Object > Fill Info..., "Clear": the frame has no background now, and
    // its picture's clear half shows the disc beneath.
    OnNextDialog([](QWidget* dialog) {
        for (QRadioButton* radio : dialog->findChildren<QRadioButton*>())
            if (radio->text() == QStringLiteral("Clear"))
                radio->click();
        static_cast<QDialog*>(dialog)->accept();
    });
    ASSERT_TRUE(Trigger("Object > Fill Info..."));
    view = ViewPixels();
    EXPECT_GT(At(view, at(24, 34)).red(), 180);
    const QColor clear = At(view, at(44, 34));
    EXPECT_EQ(clear, disc) << clear.name().toStdString() << " instead of " << disc.name().toStdString();
    // And the white page beside the disc, inside the frame's corner.
    const QColor corner = At(view, at(51, 17));
    EXPECT_GT(corner.lightness(), 240) << corner.name().toStdString();
}

}  // namespace
