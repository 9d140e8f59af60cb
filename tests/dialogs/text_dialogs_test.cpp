// Paragraph Info, Tabs and Character Info.
#include <gtest/gtest.h>

#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs/auto_repeat_button.h"
#include "dialogs/char_info_dialog.h"
#include "dialogs/color_combo_box.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/paragraph_info_dialog.h"
#include "dialogs/tab_combo_box.h"
#include "dialogs/tabs_dialog.h"
#include "foundation/units.h"
#include "frames/tab_stops.h"
#include "platform/dc.h"
#include "tests/dialogs/dialog_test_util.h"
#include "support/alert_capture.h"
#include "typography/color_table.h"
#include "typography/font_combo_box.h"
#include "typography/font_list.h"
#include "typography/font_table.h"

namespace {

void ClickOk(QDialog& dialog) { dialog.findChild<QPushButton*>("ok")->click(); }

TEST(ParagraphInfoTest, UnitsRedisplayEveryMeasureAndTypedValuesAreStoredInPoints)
{
    CDlgParagraphInfo dialog;
    ParagraphInfoRecord in;
    in.leftIndent = 72;
    in.leading = 14;
    in.spaceAfter = 6;
    in.units = kUnitPoints;
    in.alignment = kParaAlignRight;
    in.keepWithNext = 1;
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_EQ(dialog.Alignment()->currentText(), "Right");
    EXPECT_TRUE(dialog.KeepWithNext()->isChecked());
    dialog.Units()->setCurrentIndex(kUnitInches);
    EXPECT_EQ(dialog.Edit(1259)->text(), "1.00");
    EXPECT_EQ(dialog.Edit(1262)->text(), "0.19");  // leading too
    TypeInto(dialog.Edit(1263), "0.5");
    dialog.Alignment()->setCurrentIndex(kParaAlignJustified);
    ClickOk(dialog);
    const ParagraphInfoRecord& out = dialog.Record();
    EXPECT_DOUBLE_EQ(out.spaceBefore, 36.0);
    EXPECT_DOUBLE_EQ(out.leading, 14.0);  // shown again, not changed
    EXPECT_EQ(out.units, kUnitInches);
    EXPECT_EQ(out.alignment, kParaAlignJustified);
}

// A record of a text area 200 points wide with margins 0 and 200.
TabRecord Paragraph(std::initializer_list<int16_t> tabs)
{
    TabRecord r;
    TabStops t(r.bytes);
    t.SetMaxWidth(200);
    t.SetLeftMargin(0);
    t.SetFirstLine(0);
    t.SetRightMargin(200);
    for (int k = 0; k < kTabEntries; ++k)
        t.SetPosition(k, -1);
    int i = 0;
    for (int16_t p : tabs) {
        t.SetPosition(i, p);
        t.SetAlignment(i, kTabLeft);
        ++i;
    }
    t.SetDefined(i > 0 ? 1 : 0);
    return r;
}

TEST(TabRecordTest, FieldsSitAtTheirOffsets)
{
    TabRecord r;
    TabStops t(r.bytes);
    t.SetPosition(3, 0x1234);
    t.SetAlignment(3, kTabCentre);
    t.SetFillAndFlags(3, ' ', 1);
    t.SetRightMargin(-2);
    EXPECT_EQ(r.bytes[2 + 8 * 3 + 2], 0x34);
    EXPECT_EQ(r.bytes[2 + 8 * 3 + 3], 0x12);
    EXPECT_EQ(r.bytes[2 + 8 * 3 + 5], kTabCentre | 8);
    EXPECT_EQ(r.bytes[2 + 8 * 3 + 6], ' ');
    EXPECT_EQ(r.bytes[136], 0xFE);
    EXPECT_EQ(r.bytes[137], 0xFF);
    EXPECT_EQ(TabPosition(r.bytes, 3), 0x1234);  // the text engine reads the same stop
    EXPECT_EQ(TabKind(r.bytes, 3), kTabCentre);
}

TEST(TabsDialogTest, NoTabsArriveAsSixteenUnusedEntries)
{
    TabRecord in = Paragraph({});
    std::memset(in.bytes + 2, 0, 128);  // positions 0, but the flag says none
    CDlgTabs dialog;
    dialog.Init(kUnitPoints, in);
    Open(dialog);
    TabStops t(const_cast<uint8_t*>(dialog.Record().bytes));
    for (int i = 0; i < kTabEntries; ++i) {
        EXPECT_EQ(t.GetPosition(i), -1);
        EXPECT_EQ(t.GetFill(i), ' ');
        EXPECT_EQ(t.GetFlags(i), 1);
    }
}

TEST(TabsDialogTest, AddDeleteAndClearKeepTheFlagTrue)
{
    CDlgTabs dialog;
    dialog.Init(kUnitPoints, Paragraph({}));
    Open(dialog);
    TypeInto(dialog.Position(), "50");
    ChooseItem(dialog.Kind(), 1);  // Center tab
    dialog.AddButton()->click();
    TypeInto(dialog.Position(), "52");  // within 3 points of the first
    dialog.AddButton()->click();
    TypeInto(dialog.Position(), "2");  // held to the left margin + 6
    dialog.AddButton()->click();
    TabStops t(const_cast<uint8_t*>(dialog.Record().bytes));
    ASSERT_EQ(t.UsedCount(), 2);
    EXPECT_EQ(t.GetPosition(0), 50);
    EXPECT_EQ(t.GetAlignment(0), kTabCentre);
    EXPECT_EQ(t.GetPosition(1), 6);
    EXPECT_EQ(t.GetDefined(), 1);

    // Pick the first tab on the ruler and delete it: the second stays
    // reachable.
    const QRect first = dialog.Ruler()->MarkerRect(0);
    QTest::mousePress(dialog.Ruler(), Qt::LeftButton, {}, first.center());
    QTest::mouseRelease(dialog.Ruler(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(dialog.SharedMarker(), 0);
    EXPECT_EQ(dialog.Kind()->currentIndex(), 1);
    EXPECT_EQ(dialog.Position()->text(), "50");
    dialog.DeleteButton()->click();
    ASSERT_EQ(t.UsedCount(), 1);
    EXPECT_EQ(t.GetPosition(0), 6);
    EXPECT_EQ(dialog.SharedMarker(), kMarkerNone);
    EXPECT_EQ(t.GetDefined(), 1);

    const QRect last = dialog.Ruler()->MarkerRect(0);
    QTest::mouseClick(dialog.Ruler(), Qt::LeftButton, {}, last.center());
    dialog.DeleteButton()->click();
    EXPECT_EQ(t.GetDefined(), 0);

    TypeInto(dialog.Position(), "80");
    dialog.AddButton()->click();
    dialog.ClearAllButton()->click();
    EXPECT_EQ(t.UsedCount(), 0);
    EXPECT_EQ(t.GetDefined(), 0);
}

TEST(TabsDialogTest, MarginsFollowTheirLimits)
{
    CDlgTabs dialog;
    TabRecord in = Paragraph({});
    TabStops(in.bytes).SetFirstLine(20);
    TabStops(in.bytes).SetLeftMargin(10);
    dialog.Init(kUnitPoints, in);
    Open(dialog);
    CTabRulerWnd* ruler = dialog.Ruler();
    TabStops t(const_cast<uint8_t*>(dialog.Record().bytes));

    // The left margin moves 10 points: the first line goes with it.
    const QRect left = ruler->MarkerRect(kMarkerLeftMargin);
    QTest::mousePress(ruler, Qt::LeftButton, {}, left.center());
    EXPECT_EQ(dialog.SharedMarker(), kMarkerLeftMargin);
    EXPECT_EQ(dialog.Kind()->ShownSelection(), kMarkerLeftMargin);
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, left.center() + QPoint(10, 0));
    EXPECT_EQ(t.GetLeftMargin(), 20);
    EXPECT_EQ(t.GetFirstLine(), 30);

    // The right margin stops at the text area's width.
    const QRect right = ruler->MarkerRect(kMarkerRightMargin);
    QTest::mousePress(ruler, Qt::LeftButton, {}, right.center());
    QMouseEvent move(QEvent::MouseMove, QPointF(right.center() + QPoint(60, 0)),
                     ruler->mapToGlobal(QPointF(right.center() + QPoint(60, 0))), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(ruler, &move);
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, right.center() + QPoint(60, 0));
    EXPECT_EQ(t.GetRightMargin(), 200);

    // Typing a position moves the selected margin, in the shown unit.
    TypeInto(dialog.Position(), "150");
    EXPECT_EQ(t.GetRightMargin(), 150);
}

TEST(TabsDialogTest, TabsDraggedOffTheRulerGoAway)
{
    CDlgTabs dialog;
    dialog.Init(kUnitPoints, Paragraph({40, 80, 120}));
    Open(dialog);
    CTabRulerWnd* ruler = dialog.Ruler();
    const QRect middle = ruler->MarkerRect(1);
    QTest::mousePress(ruler, Qt::LeftButton, {}, middle.center());
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, QPoint(middle.center().x(), ruler->height() + 20));
    TabStops t(const_cast<uint8_t*>(dialog.Record().bytes));
    ASSERT_EQ(t.UsedCount(), 2);
    EXPECT_EQ(t.GetPosition(0), 40);
    EXPECT_EQ(t.GetPosition(1), 120);
    EXPECT_EQ(t.GetDefined(), 1);

    // A click on the bare ruler places a tab of the current kind there.
    QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(CTabRulerWnd::kInset + 100, 26));
    EXPECT_EQ(t.UsedCount(), 3);
    EXPECT_EQ(t.GetPosition(2), 100);
}

TEST(TabsDialogTest, ShowingAPositionDoesNotMoveItsMarker)
{
    // 100 points show as "3.53" centimetres, which read back would be 99.
    CDlgTabs dialog;
    dialog.Init(kUnitCentimeters, Paragraph({100}));
    Open(dialog);
    const QRect tab = dialog.Ruler()->MarkerRect(0);
    QTest::mouseClick(dialog.Ruler(), Qt::LeftButton, {}, tab.center());
    EXPECT_EQ(dialog.Position()->text(), "3.53");
    TabStops t(const_cast<uint8_t*>(dialog.Record().bytes));
    EXPECT_EQ(t.GetPosition(0), 100);
    // What the user types is taken, truncated to whole points.
    TypeInto(dialog.Position(), "2");
    EXPECT_EQ(t.GetPosition(0), 56);
}

TEST(TabsDialogTest, ScrollingStopsAtBothEnds)
{
    CDlgTabs dialog;
    TabRecord in = Paragraph({});
    TabStops(in.bytes).SetMaxWidth(1000);
    dialog.Init(kUnitPoints, in);
    Open(dialog);
    CTabRulerWnd* ruler = dialog.Ruler();
    ruler->Scroll(-1);
    EXPECT_EQ(ruler->ScrollOffset(), 0);
    for (int i = 0; i < 200; ++i)
        Q_EMIT dialog.ScrollOn()->ScrollPressed(1290);
    EXPECT_GT(ruler->ScrollOffset(), 0);
    EXPECT_LT(ruler->ScrollOffset() + ruler->width(), 1020 + CTabRulerWnd::kScrollStep);
    EXPECT_GE(ruler->ScrollOffset() + ruler->width(), 1020);
}

TEST(TabsDialogTest, KindComboShowsMarginsOnlyInTheClosedBox)
{
    CDlgTabs dialog;
    dialog.Init(kUnitPoints, Paragraph({}));
    Open(dialog);
    CTabComboBox* kind = dialog.Kind();
    ASSERT_EQ(kind->count(), 3);
    EXPECT_EQ(kind->itemText(2), "Right tab");
    EXPECT_EQ(kind->ItemHeight(), 19);
    kind->SetSelection(kMarkerFirstLine);
    EXPECT_EQ(kind->currentIndex(), 0);
    EXPECT_EQ(kind->ShownSelection(), kMarkerFirstLine);
    kind->SetSelection(7);  // ignored
    EXPECT_EQ(kind->ShownSelection(), kMarkerFirstLine);
    QImage field(120, 19, QImage::Format_RGB32);
    QImage item(120, 19, QImage::Format_RGB32);
    {
        std::unique_ptr<Dc> a = Dc::ForImage(&field);
        kind->DrawItem(a.get(), IntRect{0, 0, 120, 19}, 0, true, false, false);
        std::unique_ptr<Dc> b = Dc::ForImage(&item);
        kind->DrawItem(b.get(), IntRect{0, 0, 120, 19}, 0, false, false, false);
    }
    EXPECT_NE(field, item);
    EXPECT_EQ(KindIndexOfAlignment(kTabRight), 2);
    EXPECT_EQ(AlignmentOfKindIndex(1), kTabCentre);
}

// --- Character Info -----------------------------------------------------

class CharInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        arial = fonts.AddFont("Arial", 0x22, 2048, 4, true);
        courier = fonts.AddFont("Courier", 0x31, 0, 2, true);
        FontRecord r = fonts.GetAt(courier);
        ASSERT_TRUE(r.sizes.has_value());
        FontSpec fontSpec;
        ASSERT_TRUE(fonts.GetFontSpec(arial, 0, &fontSpec));
        arialId = table.AddFont(&fontSpec);
        document.fonts = &table;
        document.colors = &colors;
    }
    CharInfoRecord Plain12()
    {
        CharInfoRecord r;
        r.font = int16_t(arialId);
        r.colour = 3;
        r.size = 12;
        r.shade = 100;
        r.plain = 1;
        r.extendedStylesAllowed = 1;
        return r;
    }
    void Start(CDlgCharInfo& dialog, const CharInfoRecord& r)
    {
        dialog.SetRecord(r);
        dialog.SetDocument(document);
        dialog.SetFontList(&fonts);
        Open(dialog);
    }

    FontList fonts;
    FontTable table;
    ColorTable colors;
    CharInfoDocument document;
    int32_t arial = -1;
    int32_t courier = -1;
    int32_t arialId = -1;
};

TEST_F(CharInfoTest, OpensWithTheFontAndItsSizesAndAlwaysReportsTheFont)
{
    CDlgCharInfo dialog;
    Start(dialog, Plain12());
    EXPECT_EQ(dialog.Font()->currentIndex(), arial);
    EXPECT_EQ(dialog.Size()->currentText(), "12");
    EXPECT_EQ(dialog.Size()->count(), 16);
    EXPECT_EQ(dialog.Colour()->currentIndex(), 3);
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().flags, uint32_t(kCharFont));
    EXPECT_EQ(dialog.Record().font, arialId);
    EXPECT_EQ(dialog.Record().size, 12);
}

TEST_F(CharInfoTest, StyleBoxesExcludeEachOther)
{
    CDlgCharInfo dialog;
    Start(dialog, Plain12());
    dialog.Bold()->click();
    EXPECT_FALSE(dialog.Plain()->isChecked());
    dialog.Subscript()->click();
    dialog.Superscript()->click();
    EXPECT_FALSE(dialog.Subscript()->isChecked());
    dialog.Plain()->click();
    for (QCheckBox* b : {dialog.Bold(), dialog.Italic(), dialog.Underlined(), dialog.Superscript(),
                         dialog.Subscript(), dialog.SmallCaps()})
        EXPECT_FALSE(b->isChecked());
    dialog.SmallCaps()->click();
    ClickOk(dialog);
    const CharInfoRecord& out = dialog.Record();
    EXPECT_EQ(out.flags, uint32_t(kCharFont | kCharStyle | kCharScript | kCharSmallCaps));
    EXPECT_EQ(out.plain, 0);
    EXPECT_EQ(out.smallCaps, 1);
    EXPECT_EQ(out.bold, 0);
}

TEST_F(CharInfoTest, MixedMarkersOpenBlankOrWithTheUsualChoice)
{
    CDlgCharInfo dialog;
    CharInfoRecord in = Plain12();
    in.colour = kCharMixed;
    in.shade = kCharMixedOther;
    Start(dialog, in);
    EXPECT_EQ(dialog.Colour()->currentIndex(), 15);
    EXPECT_EQ(dialog.Shade()->currentText(), "");
    EXPECT_EQ(dialog.Size()->currentText(), "12");

    CDlgCharInfo other;
    in.colour = kCharMixedOther;
    in.font = kCharMixed;
    Start(other, in);
    EXPECT_EQ(other.Colour()->currentIndex(), -1);
    EXPECT_EQ(other.Font()->currentIndex(), -1);
    EXPECT_EQ(other.Size()->currentText(), "12");
    ClickOk(other);
    // No font was chosen for a selection of several: none is applied.
    EXPECT_EQ(other.Record().font, kCharMixed);
    EXPECT_EQ(other.Record().flags & kCharFont, 0u);
}

TEST_F(CharInfoTest, ASizeTheFontsListLacksIsShownAsItIs)
{
    CDlgCharInfo dialog;
    CharInfoRecord in = Plain12();
    in.size = 13;
    Start(dialog, in);
    EXPECT_EQ(dialog.Size()->currentText(), "13");  // not a standard size, but the text's
    ChooseItem(dialog.Size(), 3);
    ChooseItem(dialog.Shade(), 5);
    ChooseItem(dialog.Colour(), 6);
    ClickOk(dialog);
    const CharInfoRecord& out = dialog.Record();
    EXPECT_EQ(out.flags, uint32_t(kCharFont | kCharSize | kCharShade | kCharColour));
    EXPECT_EQ(out.size, dialog.Size()->itemText(3).toInt());
    EXPECT_EQ(out.shade, 50);
    EXPECT_EQ(out.colour, 6);
}

// A size or shade typed outside its range, or not a whole number, is
// refused with a word and the dialog stays open; left blank, it changes
// nothing.
TEST_F(CharInfoTest, TypedSizesAndShadesAreTakenOnlyWithinTheirRanges)
{
    AlertCapture alerts;
    for (const char* refused : {"5", "401", "abc", "10,5"}) {
        CDlgCharInfo dialog;
        Start(dialog, Plain12());
        QLineEdit* line = dialog.Size()->lineEdit();
        line->selectAll();
        QTest::keyClicks(line, QString::fromLatin1(refused));
        ClickOk(dialog);
        EXPECT_EQ(dialog.result(), 0) << refused;
        EXPECT_EQ(alerts.lastText(), "Please enter an integer between 6 and 400.") << refused;
    }
    for (const char* taken : {"6", "400"}) {
        CDlgCharInfo dialog;
        Start(dialog, Plain12());
        QLineEdit* line = dialog.Size()->lineEdit();
        line->selectAll();
        QTest::keyClicks(line, QString::fromLatin1(taken));
        ClickOk(dialog);
        EXPECT_EQ(dialog.result(), int(QDialog::Accepted)) << taken;
        EXPECT_EQ(dialog.Record().size, QString::fromLatin1(taken).toInt()) << taken;
    }
    alerts.clear();
    CDlgCharInfo shade;
    Start(shade, Plain12());
    shade.Shade()->lineEdit()->selectAll();
    QTest::keyClicks(shade.Shade()->lineEdit(), "101");
    ClickOk(shade);
    EXPECT_EQ(alerts.lastText(), "Please enter an integer between 0 and 100.");
    shade.Shade()->lineEdit()->selectAll();
    QTest::keyClick(shade.Shade()->lineEdit(), Qt::Key_Backspace);
    ClickOk(shade);
    EXPECT_EQ(shade.result(), int(QDialog::Accepted));
    EXPECT_EQ(shade.Record().flags & kCharShade, 0u);
}

TEST_F(CharInfoTest, WithoutExtendedStylesTheirBoxesKeepTheirValues)
{
    CDlgCharInfo dialog;
    CharInfoRecord in = Plain12();
    in.extendedStylesAllowed = 0;
    in.superscript = 1;
    in.outlined = 1;
    Start(dialog, in);
    EXPECT_FALSE(dialog.Superscript()->isEnabled());
    EXPECT_FALSE(dialog.SmallCaps()->isEnabled());
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().superscript, 1);
    EXPECT_EQ(dialog.Record().outlined, 1);
}

TEST_F(CharInfoTest, SampleDrawsTheWordInTheChosenColour)
{
    CDlgCharInfo dialog;
    CharInfoRecord in = Plain12();
    in.colour = 6;  // blue
    in.size = 36;
    Start(dialog, in);
    const QImage shot = dialog.Sample()->grab().toImage();
    int blue = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) == QColor(0, 0, 255))
                ++blue;
    EXPECT_GT(blue, 50);
}

}  // namespace
