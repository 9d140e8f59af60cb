#include <gtest/gtest.h>

#include <cstring>

#include <QCheckBox>
#include <QImage>
#include <QTest>

#include "dialogs/quick_card_dialog.h"
#include "foundation/byte_order.h"
#include "platform/dc.h"
#include "dialog_test_util.h"

namespace {

struct Settings {
    uint8_t bytes[kQuickCardSpecSize] = {};
    Settings& Set(size_t offset, uint32_t v)
    {
        PutU32LE(bytes + offset, v);
        return *this;
    }
    Settings& Include(int n, bool newLine = false)
    {
        Set(kQcSpecInclude + 4 * n, 1);
        return Set(kQcSpecNewLine + 4 * n, newLine ? 1 : 0);
    }
};

// The sample as drawn over 300 x 150 pixels.
QImage Sample(const Settings& settings)
{
    QImage image(300, 150, QImage::Format_RGB32);
    CQuickCardSampleWnd pane;
    pane.SetSettings(settings.bytes);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&image);
        pane.Draw(dc.get(), IntRect{0, 0, 300, 150});
    }
    return image;
}

// The rectangle of the pixels that are not white; empty when none is.
QRect Inked(const QImage& image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                r = r.united(QRect(x, y, 1, 1));
    return r;
}

TEST(QuickCardDialog, ReturnsWhatWasClickedAndCancelKeepsTheRecord)
{
    Settings in;
    in.Include(1).Include(2).Include(5, true).Set(kQcSpecBarcode, 1);
    CDlgQuickCard dialog;
    dialog.SetRecord(in.bytes);
    Open(dialog);
    EXPECT_TRUE(dialog.Field(1)->isChecked());
    EXPECT_TRUE(dialog.NewLine(5)->isChecked());
    EXPECT_TRUE(dialog.Barcode()->isChecked());
    EXPECT_FALSE(dialog.NewLine(0)->isEnabled());

    dialog.Field(2)->click();
    // The box of the row goes off at once and keeps its word.
    dialog.Field(5)->click();
    EXPECT_FALSE(dialog.NewLine(5)->isEnabled());
    EXPECT_TRUE(dialog.NewLine(5)->isChecked());
    dialog.Field(7)->click();
    dialog.NewLine(7)->click();
    dialog.NoBlankLines()->click();
    dialog.Barcode()->click();

    CDlgQuickCard cancelled;
    cancelled.SetRecord(in.bytes);
    Open(cancelled);
    cancelled.Field(0)->click();
    cancelled.reject();
    EXPECT_EQ(std::memcmp(cancelled.Record(), in.bytes, kQuickCardSpecSize), 0);

    dialog.accept();
    Settings want;
    want.Include(1).Set(kQcSpecNewLine + 4 * 5, 1).Include(7, true).Set(kQcSpecNoBlankLines, 1);
    EXPECT_EQ(std::memcmp(dialog.Record(), want.bytes, kQuickCardSpecSize), 0);
}

TEST(QuickCardDialog, SampleDrawsOnlyWhatIsAskedAndLeavesRoomForLeftOutFields)
{
    EXPECT_TRUE(Inked(Sample(Settings())).isEmpty());
    // The barcode alone: 5 pixels high at the drawing area's corner, 12
    // digits of five bars between the two frame bars.
    Settings barcode;
    barcode.Set(kQcSpecBarcode, 1);
    const QRect bars = Inked(Sample(barcode));
    EXPECT_EQ(bars, QRect(10, 10, 3 + 12 * 11 + 1, 5));

    Settings gap;
    gap.Include(0).Include(2);
    Settings closed = gap;
    closed.Set(kQcSpecNoBlankSpace, 1);
    const QRect open = Inked(Sample(gap));
    const QRect shut = Inked(Sample(closed));
    EXPECT_EQ(open.left(), shut.left());
    EXPECT_GT(open.right(), shut.right() + 20);
    EXPECT_EQ(open.height(), shut.height());

    // A left-out field's line break leaves a blank line unless told not to.
    Settings lines;
    lines.Include(1).Set(kQcSpecNewLine + 4 * 2, 1).Include(3, true);
    Settings tight = lines;
    tight.Set(kQcSpecNoBlankLines, 1);
    const int blank = Inked(Sample(lines)).bottom() - Inked(Sample(tight)).bottom();
    EXPECT_GT(blank, 8);
    // The first line drawn is not pushed down by its own break.
    Settings first;
    first.Include(4, true);
    EXPECT_LT(Inked(Sample(first)).top(), 16);
}

}  // namespace
