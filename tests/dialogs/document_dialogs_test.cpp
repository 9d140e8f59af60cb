// Page, value, zoom, ruler and runaround dialogs; Picture and Text Box
// Information.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/page_dialogs.h"
#include "dialogs/picture_info_dialog.h"
#include "dialogs/ruler_settings_dialog.h"
#include "dialogs/text_box_info_dialog.h"
#include "dialogs/text_runaround_dialog.h"
#include "dialogs/up_down_buttons.h"
#include "dialogs/value_dialogs.h"
#include "support/alert_capture.h"
#include "tests/dialogs/dialog_test_util.h"

namespace {

void ClickOk(QDialog& dialog) { dialog.findChild<QPushButton*>("ok")->click(); }

TEST(PageDialogsTest, GotoPageTakesOnlyPagesOfTheDocument)
{
    AlertCapture alerts;
    CDlgGotoPage dialog;
    dialog.SetRecord(GotoPageRecord{1, 1});
    Open(dialog);
    EXPECT_EQ(dialog.Total()->text(), "1");
    TypeInto(dialog.Page(), "2");
    ClickOk(dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(alerts.lastText(), "Please enter an integer between 1 and 1.");
    EXPECT_EQ(dialog.Page()->selectedText(), "2");
    TypeInto(dialog.Page(), "1");
    ClickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Record().page, 1);
}

TEST(PageDialogsTest, InsertPagePlaceEnablesThePageNumber)
{
    CDlgInsertPage dialog;
    dialog.SetRecord(InsertPageRecord{1, 4, kInsertAtEnd});
    Open(dialog);
    EXPECT_FALSE(dialog.PageNumber()->isEnabled());
    dialog.Place()->setCurrentIndex(kInsertAfterPage);
    EXPECT_TRUE(dialog.PageNumber()->isEnabled());
    TypeInto(dialog.Count(), "3");
    TypeInto(dialog.PageNumber(), "2");
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().count, 3);
    EXPECT_EQ(dialog.Record().pageNumber, 2);
    EXPECT_EQ(dialog.Record().place, kInsertAfterPage);
}

TEST(PageDialogsTest, DeletePagesChecksBothEnds)
{
    AlertCapture alerts;
    CDlgDeletePages dialog;
    dialog.SetRecord(DeletePagesRecord{1, 1, 5});
    Open(dialog);
    TypeInto(dialog.Thru(), "6");
    ClickOk(dialog);
    EXPECT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(dialog.Record().thruPage, 1);
    TypeInto(dialog.From(), "2");
    TypeInto(dialog.Thru(), "5");
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().fromPage, 2);
    EXPECT_EQ(dialog.Record().thruPage, 5);
}

TEST(ValueDialogsTest, OtherSizeTakesSixToFourHundred)
{
    AlertCapture alerts;
    const OtherValueRecord size = OtherValueFor(OtherValueKind::kTextSize, -1);
    EXPECT_EQ(size.value, 0);
    EXPECT_STREQ(size.caption, "Other Size");
    for (const char* refused : {"5", "401", "", "12a"}) {
        CDlgOtherValue dialog;
        dialog.SetRecord(size);
        Open(dialog);
        TypeInto(dialog.Value(), refused);
        ClickOk(dialog);
        EXPECT_TRUE(dialog.isVisible()) << refused;
    }
    EXPECT_EQ(alerts.boxes().size(), 4u);
    for (int accepted : {6, 400}) {
        CDlgOtherValue dialog;
        dialog.SetRecord(size);
        Open(dialog);
        EXPECT_EQ(dialog.windowTitle(), "Other Size");
        EXPECT_EQ(dialog.Label()->text(), "New Size:");
        TypeInto(dialog.Value(), QString::number(accepted));
        ClickOk(dialog);
        EXPECT_EQ(dialog.Record().value, accepted);
    }
}

TEST(ValueDialogsTest, OtherValueDefaultsAndSpinSteps)
{
    CDlgOtherValue dialog;
    EXPECT_STREQ(dialog.Record().caption, "Other Value");
    EXPECT_EQ(dialog.Record().step, 10);
    OtherValueRecord shade = OtherValueFor(OtherValueKind::kShade, 95);
    dialog.SetRecord(shade);
    Open(dialog);
    dialog.Spin()->Press(1);
    EXPECT_EQ(dialog.Value()->text(), "100");  // held at the maximum
    dialog.Spin()->Press(-1);
    EXPECT_EQ(dialog.Value()->text(), "90");
}

TEST(ValueDialogsTest, ZoomRefusesNineAndTakesTen)
{
    AlertCapture alerts;
    CDlgZoom dialog;
    dialog.SetRecord(ZoomRecord{100});
    Open(dialog);
    TypeInto(dialog.Percent(), "9");
    ClickOk(dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(alerts.lastText(), "Please enter an integer between 10 and 400.");
    TypeInto(dialog.Percent(), "10");
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().percent, 10);
}

TEST(ValueDialogsTest, RulerSettingsAndRunaround)
{
    CDlgRulerSettings ruler;
    ruler.SetRecord(RulerSettingsRecord{2, 1});
    Open(ruler);
    EXPECT_EQ(ruler.Horizontal()->currentText(), "Inches");
    EXPECT_EQ(ruler.Vertical()->currentText(), "Centimeters");
    ruler.Vertical()->setCurrentIndex(3);
    ClickOk(ruler);
    EXPECT_EQ(ruler.Record().vertical, 3);
    EXPECT_EQ(ruler.Record().horizontal, 1);

    CDlgTextRunaround runaround;
    runaround.SetRecord(TextRunaroundRecord{4, kRunaroundShape});
    Open(runaround);
    EXPECT_TRUE(runaround.Mode(kRunaroundShape)->isChecked());
    runaround.Mode(kRunaroundRectangle)->click();
    TypeInto(runaround.Margin(), "2000");  // no range on the margin
    ClickOk(runaround);
    EXPECT_EQ(runaround.Record().mode, kRunaroundRectangle);
    EXPECT_EQ(runaround.Record().margin, 2000);
    EXPECT_NE(RunaroundPicture(0), RunaroundPicture(2));
}

PictureInfoRecord SomePicture()
{
    PictureInfoRecord r;
    r.originAcross = 10;
    r.originDown = 20;
    r.width = 72;
    r.height = 144;
    r.boxAngle = 15;
    r.offsetAcross = 3;
    r.scaleAcross = 100;
    r.scaleDown = 100;
    r.printable = 1;
    r.display = 1;
    r.printout = 1;
    std::memset(r.carried1, 0xAB, sizeof(r.carried1));
    r.carried3[1] = 77;
    r.mask = 0x3FFFFFFF & ~kFieldUnitsChanged;
    return r;
}

TEST(PictureInfoTest, BlankWidthIsLeftAloneAndTypedOneIsReported)
{
    CDlgPictureInfo dialog;
    PictureInfoRecord in = SomePicture();
    in.mask &= ~(kFieldWidth | kFieldLocked);
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_EQ(dialog.Edit(1002)->text(), "");
    EXPECT_EQ(dialog.Box(1198)->checkState(), Qt::PartiallyChecked);
    ChooseItem(dialog.Units(), 1);
    EXPECT_EQ(dialog.Edit(1003)->text(), "2.00");
    EXPECT_EQ(dialog.Edit(1002)->text(), "");
    EXPECT_EQ(dialog.Edit(1203)->text(), "15.00");
    EXPECT_EQ(dialog.Edit(1272)->text(), "100.00");
    ClickOk(dialog);
    const PictureInfoRecord& out = dialog.Record();
    EXPECT_EQ(out.mask & kFieldWidth, 0u);
    EXPECT_EQ(out.mask & kFieldLocked, 0u);
    EXPECT_NE(out.mask & kFieldUnitsChanged, 0u);
    EXPECT_EQ(out.locked, kBoxMixed);
    EXPECT_EQ(out.carried1[7], 0xAB);  // the worker's bytes travel untouched
    EXPECT_EQ(out.carried3[1], 77);

    CDlgPictureInfo second;
    second.SetRecord(in);
    Open(second);
    TypeInto(second.Edit(1002), "90");
    TypeInto(second.Edit(1271), "-400");
    ClickOk(second);
    EXPECT_NE(second.Record().mask & kFieldWidth, 0u);
    EXPECT_DOUBLE_EQ(second.Record().width, 90.0);
    EXPECT_DOUBLE_EQ(second.Record().pictureAngle, -360.0);
}

TEST(PictureInfoTest, ScaleWithBoxLocksThePictureFields)
{
    CDlgPictureInfo dialog;
    PictureInfoRecord in = SomePicture();
    in.scaleWithBox = 1;
    dialog.SetRecord(in);
    Open(dialog);
    const int32_t pictureFields[] = {1269, 1270, 1271, 1272, 1273};
    for (int32_t id : pictureFields)
        EXPECT_FALSE(dialog.Edit(id)->isEnabled()) << id;
    dialog.Box(1152)->click();  // on -> mixed: no longer known
    for (int32_t id : pictureFields)
        EXPECT_TRUE(dialog.Edit(id)->isEnabled()) << id;
    dialog.Box(1152)->click();  // off
    dialog.Box(1152)->click();  // on
    for (int32_t id : pictureFields)
        EXPECT_FALSE(dialog.Edit(id)->isEnabled()) << id;
    ClickOk(dialog);
    EXPECT_EQ(dialog.Record().scaleWithBox, kBoxOn);
    EXPECT_NE(dialog.Record().mask & kPictureScaleWithBox, 0u);
}

TEST(TextBoxInfoTest, InsetRunaroundAndUnits)
{
    CDlgTextBoxInfo dialog;
    TextBoxInfoRecord in;
    in.width = 72;
    in.textInset = 4;
    in.textRunaround = 1;
    in.mask = uint32_t(kFieldWidth) | kTextBoxInset | kTextBoxRunaround;
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_EQ(dialog.HeightEdit()->text(), "");
    EXPECT_EQ(dialog.Printable()->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(dialog.TextRunaround()->checkState(), Qt::Checked);
    ChooseItem(dialog.Units(), 1);
    EXPECT_EQ(dialog.WidthEdit()->text(), "1.00");
    TypeInto(dialog.TextInset(), "0.5");
    dialog.TextRunaround()->click();  // on -> mixed
    ClickOk(dialog);
    const TextBoxInfoRecord& out = dialog.Record();
    EXPECT_DOUBLE_EQ(out.textInset, 36.0);
    EXPECT_EQ(out.mask & kTextBoxRunaround, 0u);
    EXPECT_EQ(out.textRunaround, kBoxMixed);
    EXPECT_EQ(out.units, 1);
    EXPECT_EQ(out.mask & kFieldHeight, 0u);
}

}  // namespace

#include "support/shell.h"

namespace {

TEST(DialogShotTest, WritesAPictureOfANamedDialogAndRefusesOthers)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "\"$T\" dialog-shot line-info shot.png 2>/dev/null"), 0);
    const QImage shot(QString::fromStdString(dir.file("shot.png")));
    EXPECT_GT(shot.width(), 200);
    EXPECT_GT(shot.height(), 100);
    EXPECT_NE(Shell(dir, "\"$T\" dialog-shot no-such-dialog other.png 2>/dev/null"), 0);
    EXPECT_NE(Shell(dir, "\"$T\" dialog-shot tabs 2>/dev/null"), 0);
}

}  // namespace
