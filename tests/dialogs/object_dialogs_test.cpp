// Object Info, Group Information, Guide settings, Fill, Frame and Line
// Information: what the records return after the user's changes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "dialogs/auto_repeat_button.h"
#include "dialogs/color_combo_box.h"
#include "dialogs/fill_info_dialog.h"
#include "dialogs/frame_info_dialog.h"
#include "dialogs/group_info_dialog.h"
#include "dialogs/guide_settings_dialog.h"
#include "dialogs/line_info_dialog.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/object_info_dialog.h"
#include "dialogs/style_list_box.h"
#include "graphics/fill_patterns.h"
#include "platform/dc.h"
#include "platform/menus.h"
#include "tests/dialogs/dialog_test_util.h"
#include "typography/color_table.h"
#include "typography/icon_menu.h"

namespace {

constexpr uint32_t kAllPlacement = kFieldOriginAcross | kFieldOriginDown | kFieldHeight | kFieldWidth |
                                   kFieldBoxAngle | kFieldVisible | kFieldLocked | kFieldPrintable;

ObjectInfoRecord SomeObject()
{
    ObjectInfoRecord r;
    r.originAcross = 72;
    r.originDown = 144;
    r.boxAngle = 30;
    r.height = 36;
    r.width = 100;
    r.printable = 1;
    r.locked = 0;
    r.visible = 1;
    r.flags = kAllPlacement;
    return r;
}

void ClickOk(QDialog& dialog)
{
    dialog.findChild<QPushButton*>("ok")->click();
}

TEST(ObjectInfoTest, MixedFieldsOpenBlankAndOnlyTouchedFieldsComeBack)
{
    CDlgObjectInfo dialog;
    ObjectInfoRecord in = SomeObject();
    in.flags &= ~(kFieldWidth | kFieldLocked);
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_EQ(dialog.WidthEdit()->text(), "");
    EXPECT_EQ(dialog.HeightEdit()->text(), "36.00");
    EXPECT_EQ(dialog.Locked()->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(dialog.Record().flags, 0u);

    TypeInto(dialog.HeightEdit(), "40");
    TypeInto(dialog.BoxAngle(), "400");
    ClickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const ObjectInfoRecord& out = dialog.Record();
    EXPECT_EQ(out.flags, uint32_t(kFieldHeight | kFieldBoxAngle));
    EXPECT_DOUBLE_EQ(out.height, 40.0);
    EXPECT_DOUBLE_EQ(out.boxAngle, 359.0);
    EXPECT_DOUBLE_EQ(out.width, 100.0);  // never shown, never changed
    EXPECT_EQ(out.locked, kBoxMixed);
}

TEST(ObjectInfoTest, UnitsConvertShownValuesAndTypedOnes)
{
    CDlgObjectInfo dialog;
    dialog.SetRecord(SomeObject());
    Open(dialog);
    ChooseItem(dialog.Units(), 2);  // Centimeters
    TypeInto(dialog.HeightEdit(), "1");
    EXPECT_DOUBLE_EQ(dialog.Record().height, 72.0 / 2.54);
    ChooseItem(dialog.Units(), 1);  // Inches
    EXPECT_EQ(dialog.OriginAcross()->text(), "1.00");
    EXPECT_EQ(dialog.BoxAngle()->text(), "30.00");  // angles are never converted
    ChooseItem(dialog.Units(), 0);
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().flags, uint32_t(kFieldUnitsChanged | kFieldHeight));
    EXPECT_EQ(dialog.Record().units, 0);
}

TEST(ObjectInfoTest, BoxesCycleBackToMixedAndFixedSizesStay)
{
    CDlgObjectInfo dialog;
    ObjectInfoRecord in = SomeObject();
    in.sizeFixed = 1;
    in.flags &= ~kFieldPrintable;
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_FALSE(dialog.HeightEdit()->isEnabled());
    EXPECT_FALSE(dialog.WidthEdit()->isEnabled());
    dialog.Printable()->click();  // mixed -> off
    EXPECT_EQ(dialog.Record().flags, uint32_t(kFieldPrintable));
    dialog.Printable()->click();  // on
    dialog.Printable()->click();  // mixed again
    dialog.Visible()->click();    // on -> mixed
    dialog.Visible()->click();    // off
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().flags, uint32_t(kFieldVisible));
    EXPECT_EQ(dialog.Record().visible, kBoxOff);
}

TEST(ObjectInfoTest, CancelReturnsTwo)
{
    CDlgObjectInfo dialog;
    dialog.SetRecord(SomeObject());
    Open(dialog);
    TypeInto(dialog.HeightEdit(), "40");
    dialog.findChild<QPushButton*>("cancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(GroupInfoTest, BlankFieldsKeepTheirRange)
{
    CDlgGroupInfo dialog;
    GroupInfoRecord in;
    in.originAcross = 10;
    in.boxAngle = 5;
    in.flags = kFieldOriginAcross | kFieldBoxAngle | kFieldVisible | kFieldLocked | kFieldPrintable;
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_EQ(dialog.OriginDown()->text(), "");
    TypeInto(dialog.OriginDown(), "500");
    ClickOk(dialog);
    EXPECT_DOUBLE_EQ(dialog.Record().originDown, 500.0);
    EXPECT_EQ(dialog.Record().flags, uint32_t(kFieldOriginDown));
}

TEST(GuideSettingsTest, OnlyEditedSpacingsCountAsChanged)
{
    CDlgGuideSettings dialog;
    GuideSettingsRecord in;
    in.horizontal = 72;
    in.vertical = 36;
    in.units = 1;
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_EQ(dialog.Horizontal()->text(), "1.00");
    ChooseItem(dialog.Units(), 0);
    EXPECT_EQ(dialog.Vertical()->text(), "36.00");
    dialog.ShowGuide()->click();
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().changed, 0);
    EXPECT_EQ(dialog.Record().showGuide, 1);

    CDlgGuideSettings second;
    second.SetRecord(in);
    Open(second);
    TypeInto(second.Vertical(), "0.25");
    ClickOk(second);
    EXPECT_EQ(second.Record().changed, 1);
    EXPECT_DOUBLE_EQ(second.Record().vertical, 18.0);
}

// Hatches give a known number of patterns without the bitmap table.
class PatternsOn : public ::testing::Test {
protected:
    void SetUp() override
    {
        was_ = GetUseHatchBrushes();
        SetUseHatchBrushes(true);
    }
    void TearDown() override { SetUseHatchBrushes(was_); }
    bool was_ = false;
};

using FillInfoTest = PatternsOn;

TEST_F(FillInfoTest, ClearChoosesTheHollowPattern)
{
    ColorTable table;
    CDlgFillInfo dialog;
    FillInfoRecord in;
    in.pattern = 3;
    in.colour = 2;
    in.shade = 50;
    in.opaque = 1;
    in.colorTable = &table;
    in.flags = kFieldFillPattern | kFieldFillColour | kFieldFillShade | kFieldOpaque;
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_EQ(dialog.Patterns()->currentRow(), 3);
    EXPECT_TRUE(dialog.Opaque()->isChecked());
    EXPECT_EQ(dialog.Shade()->currentText(), "50");
    dialog.Clear()->click();
    ClickOk(dialog);
    const FillInfoRecord& out = dialog.Record();
    EXPECT_EQ(out.flags, uint32_t(kFieldOpaque | kFieldFillPattern));
    EXPECT_EQ(out.pattern, kFillHollow);
    EXPECT_EQ(out.opaque, 0);
    EXPECT_EQ(dialog.Patterns()->currentRow(), kFillHollow);
}

TEST_F(FillInfoTest, MixedFieldsAndOutOfRangeShades)
{
    CDlgFillInfo dialog;
    FillInfoRecord in;
    in.colour = 5;
    in.pattern = 999;
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_FALSE(dialog.Opaque()->isChecked());
    EXPECT_FALSE(dialog.Clear()->isChecked());
    EXPECT_EQ(dialog.Shade()->currentText(), "");
    EXPECT_EQ(dialog.Colour()->currentIndex(), 0);
    EXPECT_EQ(dialog.Patterns()->currentRow(), -1);
    TypeIntoCombo(dialog.Shade(), "250");
    EXPECT_EQ(dialog.Record().shade, 100);
    ChooseItem(dialog.Background(), 4);
    dialog.Sample()->grab();
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().flags, uint32_t(kFieldFillShade | kFieldBackground));
    EXPECT_EQ(dialog.Record().background, 4);
}

TEST_F(FillInfoTest, ShadeAndColourChoicesRepaintTheSample)
{
    CDlgFillInfo dialog;
    FillInfoRecord in;
    in.pattern = kFillSolid;
    in.colour = 6;
    in.shade = 100;
    in.opaque = 1;
    in.flags = kFieldFillPattern | kFieldFillColour | kFieldFillShade | kFieldOpaque;
    dialog.SetRecord(in);
    Open(dialog);
    const QImage before = dialog.Sample()->grab().toImage();
    ChooseItem(dialog.Shade(), 5);
    ChooseItem(dialog.Colour(), 3);
    EXPECT_NE(dialog.Sample()->grab().toImage(), before);
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().flags, uint32_t(kFieldFillShade | kFieldFillColour));
    EXPECT_EQ(dialog.Record().shade, 50);
    EXPECT_EQ(dialog.Record().colour, 3);
}

TEST_F(FillInfoTest, SampleTakesAnUnknownPatternAsHollow)
{
    FillInfoRecord r;
    r.pattern = kFillSolid;
    r.colour = 6;  // blue
    r.shade = 100;
    r.opaque = 1;
    QWidget parent;
    CFillPreviewWnd pane(&parent);
    pane.SetData(&r, nullptr);
    EXPECT_EQ(pane.grab().toImage().pixelColor(20, 20), QColor(0, 0, 255));
    r.pattern = GetFillPatternCount();
    const QImage shot = pane.grab().toImage();
    EXPECT_EQ(r.pattern, kFillHollow);
    EXPECT_EQ(shot.pixelColor(20, 20), QColor(255, 255, 255));
}

using FrameInfoTest = PatternsOn;

TEST_F(FrameInfoTest, WholeBorderKindsOfferSixStylesAndAllSides)
{
    CDlgFrameInfo dialog;
    FrameInfoRecord in;
    in.borderStyle = 2;
    in.sidesAllowed = 0;
    in.flags = kFieldBorderStyle;
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_EQ(dialog.Styles()->count(), 6);
    EXPECT_EQ(dialog.Styles()->currentRow(), 1);
    EXPECT_FALSE(dialog.Above()->isEnabled());
    EXPECT_EQ(dialog.Shade()->currentText(), "");
    ClickOk(dialog);
    const FrameInfoRecord& out = dialog.Record();
    EXPECT_EQ(out.above + out.below + out.left + out.right, 4);
    EXPECT_EQ(out.flags, 0u);
    EXPECT_EQ(out.shade, 100);
    EXPECT_EQ(out.width, 1);
}

TEST_F(FrameInfoTest, SidesShadesWidthsAndStyles)
{
    CDlgFrameInfo dialog;
    FrameInfoRecord in;
    in.sidesAllowed = 1;
    in.above = 1;
    in.width = 4;
    in.flags = kFieldAbove | kFieldLineWidth;
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_EQ(dialog.Styles()->count(), 9);
    EXPECT_EQ(dialog.Above()->checkState(), Qt::Checked);
    EXPECT_EQ(dialog.Left()->checkState(), Qt::PartiallyChecked);
    dialog.Left()->click();   // mixed -> off
    dialog.Above()->click();  // on -> mixed: left as it was
    TypeIntoCombo(dialog.LineWidth(), "50");
    ChooseItem(dialog.Shade(), 3);
    dialog.Styles()->setCurrentRow(5);
    ClickOk(dialog);
    const FrameInfoRecord& out = dialog.Record();
    EXPECT_EQ(out.flags, uint32_t(kFieldLeftSide | kFieldLineWidth | kFieldLineShade | kFieldBorderStyle));
    EXPECT_EQ(out.left, 0);
    EXPECT_EQ(out.width, 50);
    EXPECT_EQ(out.shade, 30);
    EXPECT_EQ(out.borderStyle, 6);
}

TEST_F(FrameInfoTest, SampleWidthsAreHeldBetweenTwoAndTwenty)
{
    // The border's left stripe, drawn in black, shows how wide it is drawn.
    const auto leftStripe = [](int16_t width) {
        FrameInfoRecord r;
        r.borderStyle = 1;
        r.width = width;
        r.shade = 100;
        r.colour = 15;  // black
        r.left = 1;
        r.fillPattern = 99;  // beyond the patterns: drawn solid
        r.fillColour = 0;
        r.fillShade = 100;
        QWidget parent;
        CFramePreviewWnd pane(&parent);
        pane.SetData(&r, nullptr);
        const QImage shot = pane.grab().toImage();
        int n = 0;
        for (int x = 8; x < 60 && shot.pixelColor(x, 30) == QColor(0, 0, 0); ++x)
            ++n;
        return n;
    };
    EXPECT_EQ(leftStripe(0), 2);
    EXPECT_EQ(leftStripe(50), 20);
    EXPECT_EQ(leftStripe(6), 6);
}

using LineInfoTest = PatternsOn;

LineInfoRecord SomeLine()
{
    LineInfoRecord r;
    r.borderStyle = 3;
    r.pattern = 0;
    r.leftCap = 1;
    r.rightCap = 0;
    r.colour = 1;
    r.shade = 100;
    r.width = 4;
    r.leftAcross = 72;
    r.leftDown = 72;
    r.rightAcross = 144;
    r.rightDown = 72;
    r.printable = 1;
    r.visible = 1;
    r.flags = 0x1FFFFF;
    return r;
}

TEST_F(LineInfoTest, CapMenusSetTheCapOfTheirEnd)
{
    CDlgLineInfo dialog;
    dialog.SetRecord(SomeLine());
    Open(dialog);
    EXPECT_EQ(dialog.Styles()->currentRow(), 2);
    EXPECT_EQ(dialog.LeftCapMenu()->actions().size(), 7);
    EXPECT_FALSE(dialog.CapCommand(kCapCommandFirst + 2));  // no menu open

    QSignalSpy clicks(dialog.Caps(), &CLineCapsWnd::CapsClicked);
    const IntRect left = dialog.Caps()->LeftArea();
    QTest::mouseClick(dialog.Caps(), Qt::LeftButton, {}, QPoint(left.right, 10));
    QTest::mouseClick(dialog.Caps(), Qt::LeftButton, {}, QPoint(left.right - 1, 10));
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_FALSE(clicks.at(0).at(1).toBool());  // the dividing column is the right end's
    EXPECT_TRUE(clicks.at(1).at(1).toBool());

    // The left menu is open with the left cap checked; choosing the same
    // cap again still counts.
    QMenu* menu = dialog.LeftCapMenu();
    EXPECT_TRUE(menu->actions().at(1)->isChecked());
    menu->actions().at(1)->trigger();
    menu->hide();
    EXPECT_EQ(dialog.Record().flags, uint32_t(kFieldLeftSide));
    dialog.OpenCapMenu(QPoint(0, 0), false);
    dialog.RightCapMenu()->actions().at(5)->trigger();
    dialog.RightCapMenu()->hide();
    EXPECT_EQ(dialog.Caps()->Data().rightCap, 5);
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().flags, uint32_t(kFieldLeftSide | kFieldRightSide));
    EXPECT_EQ(dialog.Record().leftCap, 1);
    EXPECT_EQ(dialog.Record().rightCap, 5);
}

TEST_F(LineInfoTest, EndPointsUnitsAndLock)
{
    CDlgLineInfo dialog;
    LineInfoRecord in = SomeLine();
    in.flags &= ~(1u | 2u | 4u | 8u);
    in.endPointLock = 2;
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_EQ(dialog.LeftAcross()->text(), "");
    EXPECT_FALSE(dialog.RightAcross()->isEnabled());
    EXPECT_FALSE(dialog.RightDown()->isEnabled());
    TypeInto(dialog.LeftDown(), "10");
    ChooseItem(dialog.Units(), 1);
    EXPECT_EQ(dialog.LeftDown()->text(), "0.14");
    EXPECT_EQ(dialog.LeftAcross()->text(), "");  // still unknown
    TypeInto(dialog.LeftAcross(), "2");
    ClickOk(dialog);
    const LineInfoRecord& out = dialog.Record();
    EXPECT_EQ(out.flags, uint32_t(kFieldOriginDown | kFieldOriginAcross | kFieldUnitsChanged));
    EXPECT_DOUBLE_EQ(out.leftAcross, 144.0);
    EXPECT_DOUBLE_EQ(out.leftDown, 10.0);
    EXPECT_DOUBLE_EQ(out.rightAcross, 144.0);
    EXPECT_EQ(out.units, 1);
}

TEST_F(LineInfoTest, ShadeWidthStyleAndFlags)
{
    CDlgLineInfo dialog;
    LineInfoRecord in = SomeLine();
    in.flags &= ~(kFieldLineShade | kFieldLocked);
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_EQ(dialog.Shade()->currentText(), "");
    EXPECT_EQ(dialog.LineWidth()->currentText(), "4");
    TypeIntoCombo(dialog.Shade(), "x");
    EXPECT_EQ(dialog.Caps()->Data().shade, 0);
    ChooseItem(dialog.LineWidth(), 5);
    dialog.Patterns()->setCurrentRow(2);
    dialog.Locked()->click();
    ClickOk(dialog);
    const LineInfoRecord& out = dialog.Record();
    EXPECT_EQ(out.flags, uint32_t(kFieldLineShade | kFieldLineWidth | kFieldBorderPattern | kFieldLocked));
    EXPECT_EQ(out.width, 20);
    EXPECT_EQ(out.pattern, 2);
    EXPECT_EQ(out.locked, kBoxOff);
}

TEST_F(LineInfoTest, CapsPaneDrawsTheLineInItsColour)
{
    CDlgLineInfo dialog;
    LineInfoRecord in = SomeLine();
    in.colour = 6;  // blue
    in.pattern = kFillSolid;
    in.borderStyle = 1;  // one solid stripe
    dialog.SetRecord(in);
    Open(dialog);
    const QImage shot = dialog.Caps()->grab().toImage();
    const int y = shot.height() / 2 + 7;
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, y), QColor(0, 0, 255));
    EXPECT_NE(shot.pixelColor(shot.width() / 2, 2), QColor(0, 0, 255));
}

TEST_F(LineInfoTest, CapStripsShowEachCapAtItsEnd)
{
    const QImage left = CapMenuStrip(true);
    const QImage right = CapMenuStrip(false);
    ASSERT_EQ(left.size(), QSize(25, 140));
    // Each cell has ink, and the cells differ: the caps are drawn.
    for (int cell = 0; cell < 7; ++cell) {
        const QImage a = left.copy(0, cell * 20, 25, 20);
        EXPECT_NE(a.pixelColor(15, 10), QColor(Qt::white)) << cell;
        if (cell > 0) {
            EXPECT_NE(a, left.copy(0, 0, 25, 20)) << cell;
        }
    }
    EXPECT_NE(left, right);
}

TEST_F(LineInfoTest, StyleListsAndColourCombo)
{
    CStyleListBox list;
    list.Init(CStyleListBox::kModeBorderStyles, 9, 20, 208);
    ASSERT_EQ(list.count(), 9);
    // Item 0 shows style 1 (one solid stripe), item 5 style 6: they differ.
    QImage a(100, 20, QImage::Format_RGB32);
    QImage b(100, 20, QImage::Format_RGB32);
    for (auto [image, item] : {std::pair{&a, 0}, std::pair{&b, 5}}) {
        image->fill(Qt::white);
        std::unique_ptr<Dc> dc = Dc::ForImage(image);
        list.DrawItem(dc.get(), IntRect{0, 0, 100, 20}, item, false, false);
    }
    EXPECT_NE(a, b);

    ColorTable table;
    table.SetColor(3, 0x123456);
    CColorComboBox combo;
    combo.SetColors(table);
    ASSERT_EQ(combo.count(), 16);
    EXPECT_EQ(combo.itemText(0), "---");
    QImage swatch(30, 10, QImage::Format_RGB32);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&swatch);
        combo.DrawItem(dc.get(), IntRect{0, 0, 30, 10}, 3, false);
    }
    EXPECT_EQ(FromQColor(swatch.pixelColor(15, 5)), ColorRef(0x123456));
}

TEST(AutoRepeatButtonTest, ReportsOnPressAndWhileHeld)
{
    QWidget window;
    auto* button = new CAutoRepeatButton(&window);
    button->SetControlId(1289);
    button->Init(25);
    window.show();
    QSignalSpy reports(button, &CAutoRepeatButton::ScrollPressed);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(reports.count(), 1);
    EXPECT_EQ(reports.at(0).at(0).toInt(), 1289);

    QTest::mousePress(button, Qt::LeftButton);
    QTest::qWait(200);
    QTest::mouseRelease(button, Qt::LeftButton);
    // At least one repeat while held, never one per poll.
    const int held = reports.count() - 1;
    EXPECT_GE(held, 1);
    EXPECT_LE(held, 8);
    QTest::qWait(60);
    EXPECT_EQ(reports.count() - 1, held);  // nothing after the release
}

}  // namespace
