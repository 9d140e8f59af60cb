// A PNG with transparent parts placed over the sample card's logo through
// File > Import Graphics...: where the picture is clear, the logo shows, on
// the screen at once, in the printed PDF and in an exported picture,
// without the user changing anything.
#include <QDialog>
#include <QFileDialog>
#include <QImage>
#include <QProcess>

#include "support/needed_tools.h"
#include "carddoc/labels_doc.h"
#include "journey_fixture.h"

namespace {

class TransparentPictureJourney : public JourneyTest {};

QColor At(const QImage& image, const QPoint& p) { return QColor(image.pixel(p)); }

bool IsRed(const QColor& c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; }
bool IsDark(const QColor& c) { return c.lightness() < 100; }

// The page of a PDF at 72 dots an inch (a pixel a point); null without
// pdftoppm.
QImage PdfPage(const std::string& pdf, const std::string& prefix)
{
    QProcess process;
    process.start("pdftoppm", {"-r", "72", "-f", "1", "-l", "1", "-singlefile", "-png",
                               QString::fromStdString(pdf), QString::fromStdString(prefix)});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QImage(QString::fromStdString(prefix + ".png"));
}

TEST_F(TransparentPictureJourney, ClearPixelsShowWhatIsBeneathOnScreenInPrintAndInAnExport)
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
    ASSERT_TRUE(IsDark(disc)) << disc.name().toStdString();

    OnNextDialog(ChooseFile(file));
    ASSERT_TRUE(Trigger("File > Import Graphics..."));
    // The picture's frame is drawn over the logo, the picture fitted to it.
    Drag(at(14, 14), {at(30, 30), at(54, 54)});
    ASSERT_EQ(PendingDialogs(), 0u);
    // Away from the frame's edges and handles: the red half, and the disc
    // through the clear half.
    QImage view = ViewPixels();
    EXPECT_TRUE(IsRed(At(view, at(24, 34)))) << At(view, at(24, 34)).name().toStdString();
    EXPECT_EQ(At(view, at(44, 34)), disc) << At(view, at(44, 34)).name().toStdString();
    // And the white page beside the disc, inside the frame's corner.
    EXPECT_GT(At(view, at(51, 17)).lightness(), 240) << At(view, at(51, 17)).name().toStdString();

    // Printed: the same three places on the PDF's page.
    const std::string pdf = TempFile("card.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle();
    const QImage page = PdfPage(pdf, TempFile("page"));
    if (page.isNull()) {
        SKIP_FOR_MISSING_TOOL() << "pdftoppm (poppler-utils) is not installed";
    }
    // The first card of the sheet: its red half's top-left corner is the
    // picture's, at (14, 14) on the card.
    QPoint red(-1, -1);
    for (int y = 0; y < page.height() && red.x() < 0; ++y)
        for (int x = 0; x < page.width() && red.x() < 0; ++x)
            if (IsRed(At(page, QPoint(x, y))))
                red = QPoint(x, y);
    ASSERT_GE(red.x(), 0) << "no red on the printed page";
    auto printed = [&](int x, int y) { return At(page, red + QPoint(x - 14, y - 14)); };
    EXPECT_TRUE(IsRed(printed(24, 34))) << printed(24, 34).name().toStdString();
    EXPECT_TRUE(IsDark(printed(44, 34))) << "the clear half prints as " << printed(44, 34).name().toStdString();
    EXPECT_GT(printed(51, 17).lightness(), 230) << printed(51, 17).name().toStdString();

    // Exported as a bitmap (a point a pixel, the card alone).
    OnNextDialog([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        for (const QString& f : files->nameFilters())
            if (f.startsWith("Bitmap ("))
                files->selectNameFilter(f);
        ChooseFile(TempFile("card"))(files);
    });
    ASSERT_TRUE(Trigger("File > Export > Export As Picture..."));
    Settle();
    const QImage exported(QString::fromStdString(TempFile("card.bmp")));
    ASSERT_FALSE(exported.isNull());
    EXPECT_TRUE(IsRed(At(exported, QPoint(24, 34))));
    EXPECT_TRUE(IsDark(At(exported, QPoint(44, 34)))) << At(exported, QPoint(44, 34)).name().toStdString();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace
