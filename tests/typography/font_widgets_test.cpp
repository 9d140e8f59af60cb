#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "fake_font_source.h"
#include "platform/dc.h"
#include "typography/font_combo_box.h"
#include "typography/font_list.h"
#include "typography/font_list_tracker.h"
#include "typography/font_menu_popup.h"
#include "typography/font_size_combo_box.h"
#include "typography/menu_bitmaps.h"
#include "typography/std_font_menu.h"

namespace {

class FontWidgets : public ::testing::Test {
protected:
    void Install(int fonts)
    {
        source.faces.push_back({"Arial", TRUETYPE_FONTTYPE, 0x22, 2048, {0}, {}});
        source.faces.push_back({"Courier", RASTER_FONTTYPE, 0x31, 0, {0}, {10}});
        source.faces.push_back({"Printer", DEVICE_FONTTYPE, 0x31, 0, {0}, {}});
        for (int i = 3; i < fonts; ++i)
            source.faces.push_back({"Face " + std::to_string(1000 + i), TRUETYPE_FONTTYPE, 0x22, 2048, {0}, {}});
        LogFont all;
        all.charSet = DEFAULT_CHARSET;
        ASSERT_TRUE(GetGlobalFontList()->Build(&all));
    }
    void TearDown() override
    {
        GetGlobalFontList()->RemoveAll();
        FontMenuPopup::Destroy();
    }

    FakeFontSource source;
};

// Dark pixels of an item's mark column.
int MarkInk(const QImage& image, int top)
{
    int ink = 0;
    for (int y = top; y < top + 16; ++y)
        for (int x = 2; x < 13; ++x)
            ink += qGray(image.pixel(x, y)) < 100;
    return ink;
}

TEST_F(FontWidgets, ComboListsTheFontsWithTheirMarks)
{
    Install(3);
    CFontComboBox box;
    EXPECT_FALSE(box.Initialize(GetGlobalFontList(), 202, 999, 203, 205));
    ASSERT_TRUE(box.Initialize(GetGlobalFontList(), kTrueTypeMarkBitmap, kTrueTypeSilhouetteBitmap,
                               kDeviceMarkBitmap, kDeviceSilhouetteBitmap));
    box.FillFontList();
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(1), "Courier");
    EXPECT_GT(box.DroppedWidth(), 20);

    QImage rows(120, 48, QImage::Format_RGB32);
    {
        auto dc = Dc::ForImage(&rows);
        for (int i = 0; i < 3; ++i)
            box.DrawFontItem(dc.get(), IntRect{0, 16 * i, 120, 16 * (i + 1)}, i, i == 2, false);
    }
    EXPECT_GT(MarkInk(rows, 0), 5);   // TrueType
    EXPECT_EQ(MarkInk(rows, 16), 0);  // raster: no mark
    EXPECT_GT(MarkInk(rows, 32), 5);  // device
    EXPECT_EQ(rows.pixelColor(100, 40), box.palette().color(QPalette::Highlight));
    int name = 0;
    for (int x = 15; x < 60; ++x)
        name += qGray(rows.pixel(x, 8)) < 128;
    EXPECT_GT(name, 0);
}

TEST(FontSizeCombo, EnterIsReportedOnceAndGoesNoFurther)
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* box = new FontSizeComboBox(&dialog);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(box);
    layout->addWidget(buttons);
    dialog.show();
    QSignalSpy enter(box, &FontSizeComboBox::EnterPressed);
    box->lineEdit()->setFocus();
    QTest::keyClicks(box->lineEdit(), "14");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(enter.count(), 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(box->count(), 0);
    EXPECT_EQ(box->currentText(), "14");
}

TEST_F(FontWidgets, ListFormWrapsIntoColumns)
{
    Install(120);
    StdFontMenu broken;
    EXPECT_FALSE(broken.CreateFontList(202, 204, 203, 205, 1, 33504, 500));
    EXPECT_TRUE(broken.actions().isEmpty());

    StdFontMenu menu;
    ASSERT_TRUE(menu.CreateFontList(kTrueTypeMarkBitmap, kTrueTypeSilhouetteBitmap, kDeviceMarkBitmap,
                                    kDeviceSilhouetteBitmap, kFontCheckBitmap, 33504, 100));
    ASSERT_EQ(menu.actions().size(), 100);
    menu.popup(QPoint(0, 0));
    std::set<int> columns;
    for (QAction* a : menu.actions())
        columns.insert(menu.actionGeometry(a).x());
    EXPECT_GT(columns.size(), 1u);
    EXPECT_EQ(menu.actionGeometry(menu.actions()[0]).height(), StdFontMenu::kItemHeight);

    QSignalSpy chosen(&menu, &StdFontMenu::FontChosen);
    menu.actions()[2]->trigger();
    ASSERT_EQ(chosen.count(), 1);
    const FontChoice choice = chosen[0][0].value<FontChoice>();
    EXPECT_STREQ(choice.faceName, "Face 1003");
    EXPECT_EQ(choice.index, 2);
    menu.hide();
}

TEST_F(FontWidgets, PlaceholderOpensTheScrollingList)
{
    Install(200);
    ASSERT_TRUE(FontMenuPopup::Create(33257, kTrueTypeMarkBitmap, kTrueTypeSilhouetteBitmap, kDeviceMarkBitmap,
                                      kDeviceSilhouetteBitmap));
    StdFontMenu menu;
    ASSERT_TRUE(menu.CreateFontMenu(33442, 0, 0));
    ASSERT_EQ(menu.actions().size(), 1);
    QSignalSpy chosen(&menu, &StdFontMenu::FontChosen);

    menu.popup(QPoint(20, 20));
    const FontListTracker& list = FontMenuPopup::Instance()->Tracker();
    ASSERT_TRUE(list.Scrollable());
    EXPECT_EQ(menu.height(), list.Rows() * FontMenuPopup::kRowHeight + 3);
    QTest::keyClick(&menu, Qt::Key_Down);
    EXPECT_EQ(list.Highlight(), 1);  // the row under the arrow
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Return);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].value<FontChoice>().index, 1);
    EXPECT_FALSE(menu.isVisible());

    menu.popup(QPoint(20, 20));
    EXPECT_EQ(FontMenuPopup::Instance()->Tracker().FirstVisible(), 0);
    QTest::keyClick(&menu, Qt::Key_Up);
    QTest::keyClick(&menu, Qt::Key_Escape);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_FALSE(FontMenuPopup::Instance()->IsTracking());
}

TEST(FontListTracker, ArrowRowsScrollAndChooseNothing)
{
    FontListTracker t;
    t.Open(10, 5);
    ASSERT_TRUE(t.Scrollable());
    t.PointAt(4);
    int steps = 0;
    while (t.ScrollStep())
        ++steps;
    EXPECT_EQ(steps, 7);
    EXPECT_EQ(t.FirstVisible(), 7);
    EXPECT_EQ(t.FontAtRow(3), 9);
    EXPECT_EQ(t.Release(4), FontListTracker::kGoOn);
    EXPECT_EQ(t.Press(FontListTracker::kKeyEnter), FontListTracker::kAccept);
    EXPECT_EQ(t.Result(), -1);
    EXPECT_EQ(t.Release(2), FontListTracker::kAccept);
    EXPECT_EQ(t.Result(), 8);
    t.PointAt(0);
    while (t.ScrollStep())
        ;
    EXPECT_EQ(t.FirstVisible(), 0);

    t.Open(3, 10);
    EXPECT_FALSE(t.Scrollable());
    EXPECT_EQ(t.Rows(), 3);
    for (int i = 0; i < 5; ++i)
        t.Press(FontListTracker::kKeyDown);
    EXPECT_EQ(t.Highlight(), 2);
    t.Press(FontListTracker::kKeyEnter);
    EXPECT_EQ(t.Result(), 2);
    EXPECT_EQ(t.Press(FontListTracker::kKeyAlt), FontListTracker::kCloseMenus);
    EXPECT_EQ(t.Result(), -3);
}

}  // namespace
