#include <gtest/gtest.h>

#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_record_format.h"
#include "dialogs/barcode_info_dialog.h"
#include "foundation/pstr.h"
#include "platform/dc.h"
#include "support/alert_capture.h"

namespace {

BarcodeRecord Record(int16_t type, const char* data)
{
    BarcodeRecord r;
    r.type = type;
    PStrFromCStr(r.data, data);
    r.module = 1.0;
    r.space = 1.0;
    r.barHeight = 54;
    r.charGap = 1.5;
    r.showText = 1;
    r.bookPrefix = 2;
    return r;
}

std::vector<uint8_t> Bytes(const BarcodeRecord& r)
{
    std::vector<uint8_t> b(kBarcodeRecordSize);
    BarcodeRecordWrite(r, b.data());
    return b;
}

// Dark-to-light changes along a row of the sample.
int Changes(const QImage& image, int y)
{
    int n = 0;
    bool dark = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool d = qGray(image.pixel(x, y)) < 128;
        n += d != dark;
        dark = d;
    }
    return n;
}

void Choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
}

TEST(BarcodeInfoDialog, OkReturnsTheRecordAsItCameAndAsItWasEdited)
{
    CDlgBarcodeInfo dialog;
    const BarcodeRecord in = Record(kBarcodeCode39, "TESSA-1");
    dialog.SetRecord(in);
    EXPECT_EQ(dialog.TypeCombo()->currentText(), QStringLiteral("Code39"));
    EXPECT_EQ(dialog.WidthCombo()->currentIndex(), 1);
    EXPECT_EQ(dialog.HeightCombo()->currentIndex(), 2);
    EXPECT_EQ(dialog.GapCombo()->currentIndex(), 2);
    EXPECT_EQ(dialog.PrefixCombo()->currentIndex(), 1);
    EXPECT_EQ(dialog.DataEdit()->text(), QStringLiteral("TESSA-1"));
    EXPECT_TRUE(dialog.SwitchBox(CDlgBarcodeInfo::kShowText)->isChecked());
    dialog.accept();
    EXPECT_EQ(Bytes(dialog.Record()), Bytes(in));

    dialog.SetRecord(in);
    dialog.DataEdit()->selectAll();
    QTest::keyClicks(dialog.DataEdit(), QStringLiteral("X9"));
    Choose(dialog.WidthCombo(), 7);
    Choose(dialog.HeightCombo(), 0);
    QTest::mouseClick(dialog.SwitchBox(CDlgBarcodeInfo::kAddCheck), Qt::LeftButton, {}, QPoint(6, 8));
    dialog.accept();
    const BarcodeRecord& out = dialog.Record();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.data + 1), out.data[0]), "X9");
    EXPECT_EQ(out.module, 4.0);
    EXPECT_EQ(out.space, 4.0);
    EXPECT_EQ(out.barHeight, 18.0);
    EXPECT_EQ(out.addCheckDigit, 1);
    EXPECT_EQ(out.type, kBarcodeCode39);
}

TEST(BarcodeInfoDialog, SizesOutsideTheListsTakeTheFirstEntry)
{
    CDlgBarcodeInfo dialog;
    BarcodeRecord in = Record(kBarcodeCode128, "A");
    in.module = 1.25;
    in.barHeight = 50;
    in.charGap = 0;
    in.bookPrefix = 0;
    dialog.SetRecord(in);
    EXPECT_EQ(dialog.WidthCombo()->currentText(), QStringLiteral("6.9   mils"));
    EXPECT_EQ(dialog.HeightCombo()->currentIndex(), 0);
    EXPECT_EQ(dialog.PrefixCombo()->currentIndex(), -1);
    dialog.accept();
    EXPECT_EQ(dialog.Record().module, 0.5);
    EXPECT_EQ(dialog.Record().barHeight, 18.0);
    EXPECT_EQ(dialog.Record().charGap, 0.5);
    EXPECT_EQ(dialog.Record().bookPrefix, 0);
}

TEST(BarcodeInfoDialog, TypeRulesChooseTheControls)
{
    CDlgBarcodeInfo dialog;
    dialog.SetRecord(Record(kBarcodeEan13, "123456789012"));
    EXPECT_EQ(dialog.GapLabel()->text(), QStringLiteral("Char Gap :"));
    EXPECT_TRUE(dialog.GapCombo()->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.PrefixCombo()->isVisibleTo(&dialog));

    Choose(dialog.TypeCombo(), kBarcodeIsbn - 1);
    EXPECT_EQ(dialog.GapLabel()->text(), QStringLiteral("Attachment :"));
    EXPECT_FALSE(dialog.GapCombo()->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.PrefixCombo()->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.Record().type, kBarcodeIsbn);

    // Code128 has no caption switch, but the flag keeps its value. Its
    // check symbol is always there: the box is ticked and fixed, and the
    // record keeps the flag it had.
    Choose(dialog.TypeCombo(), kBarcodeCode128 - 1);
    QCheckBox* text = dialog.SwitchBox(CDlgBarcodeInfo::kShowText);
    QCheckBox* addCheck = dialog.SwitchBox(CDlgBarcodeInfo::kAddCheck);
    EXPECT_FALSE(text->isEnabled());
    EXPECT_FALSE(addCheck->isEnabled());
    EXPECT_TRUE(addCheck->isChecked());
    dialog.accept();
    EXPECT_EQ(dialog.Record().showText, 1);
    EXPECT_EQ(dialog.Record().addCheckDigit, 0);
    Choose(dialog.TypeCombo(), kBarcodeCode39 - 1);
    EXPECT_TRUE(addCheck->isEnabled());
    EXPECT_FALSE(addCheck->isChecked());
    Choose(dialog.TypeCombo(), kBarcodeCode128 - 1);

    // The FIM patterns take no data: the field and its label go.
    Choose(dialog.TypeCombo(), kBarcodeFimB - 1);
    EXPECT_FALSE(dialog.DataEdit()->isEnabled());
    EXPECT_FALSE(dialog.DataLabel()->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.HeightCombo()->isEnabled());
    Choose(dialog.TypeCombo(), kBarcodeHorBars - 1);
    EXPECT_TRUE(dialog.HeightCombo()->isEnabled());
    EXPECT_FALSE(dialog.WidthCombo()->isEnabled());

    // UPC's digit switches and Code39's start/stop switch follow the
    // caption switch.
    Choose(dialog.TypeCombo(), kBarcodeUpcA - 1);
    QCheckBox* system = dialog.SwitchBox(CDlgBarcodeInfo::kSystemDigit);
    EXPECT_TRUE(system->isEnabled());
    QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_FALSE(text->isChecked());
    EXPECT_FALSE(system->isEnabled());
    EXPECT_FALSE(dialog.SwitchBox(CDlgBarcodeInfo::kCheckDigit)->isEnabled());
    Choose(dialog.TypeCombo(), kBarcodeCode39 - 1);
    EXPECT_FALSE(dialog.SwitchBox(CDlgBarcodeInfo::kStartStop)->isEnabled());
    EXPECT_TRUE(dialog.GapCombo()->isEnabled());
    QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_TRUE(dialog.SwitchBox(CDlgBarcodeInfo::kStartStop)->isEnabled());
}

// A retail number typed with its check digit is taken as it is; with a
// wrong one OK says which it should be and the dialog stays.
TEST(BarcodeInfoDialog, AWrongCheckDigitIsRefusedNamingTheRightOne)
{
    AlertCapture alerts;
    struct Case {
        int16_t type;
        const char *right, *wrong, *said;
    };
    for (const Case& c : {Case{kBarcodeEan13, "4006381333931", "4006381333932", "check digit 2 is wrong: it should be 1."},
                          Case{kBarcodeUpcA, "036000291452", "036000291459", "check digit 9 is wrong: it should be 2."},
                          Case{kBarcodeEan8, "9638507412", "9638507012", "check digit 0 is wrong: it should be 4."}}) {
        const char* right = c.right;
        CDlgBarcodeInfo dialog;
        dialog.SetRecord(Record(c.type, c.wrong));
        dialog.show();
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible()) << c.wrong;
        ASSERT_EQ(alerts.boxes().size(), 1u) << c.wrong;
        EXPECT_NE(alerts.lastText().find("\"" + std::string(c.wrong) + "\" can't be made: the " + c.said),
                  std::string::npos)
            << alerts.lastText();
        alerts.clear();
        dialog.DataEdit()->setText(QString::fromLatin1(right));
        dialog.accept();
        EXPECT_FALSE(dialog.isVisible()) << right;
        EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
        std::unique_ptr<Dc> measure = Dc::ForMeasuring();
        EXPECT_TRUE(DrawBarcode(measure.get(), &dialog.Record(), 1, 1)) << right;
    }
}

TEST(BarcodeInfoDialog, SampleDrawsTheBarsOrTheFailureBox)
{
    CDlgBarcodeInfo dialog;
    dialog.SetRecord(Record(kBarcodeCode128, "Tessaline 42"));
    EXPECT_EQ(Bytes(dialog.Sample()->Record()), Bytes(dialog.Record()));
    QImage image = dialog.Sample()->grab().toImage();
    const int middle = image.height() / 2;
    EXPECT_GT(Changes(image, middle), 40);
    // Centred: as much paper left of the first bar as right of the last.
    int first = 0;
    int last = image.width() - 1;
    while (first < image.width() && qGray(image.pixel(first, middle)) >= 128)
        ++first;
    while (last > 0 && qGray(image.pixel(last, middle)) >= 128)
        --last;
    EXPECT_NEAR(first, image.width() - 1 - last, 12);

    // Letters are no UPC-A data: the sample shows the failure box, which
    // has ink but no bars.
    dialog.DataEdit()->selectAll();
    Choose(dialog.TypeCombo(), kBarcodeUpcA - 1);
    QTest::keyClicks(dialog.DataEdit(), QStringLiteral("letters"));
    std::unique_ptr<Dc> measure = Dc::ForMeasuring();
    EXPECT_FALSE(DrawBarcode(measure.get(), &dialog.Sample()->Record(), 1, 1));
    image = dialog.Sample()->grab().toImage();
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        inked += Changes(image, y) > 0;
    EXPECT_GT(inked, 10);
    EXPECT_LT(Changes(image, image.height() / 2 - 20), 40);
}

}  // namespace
