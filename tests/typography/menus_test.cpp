#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "support/modal_answer.h"
#include "database/field_table.h"
#include "graphics/fill_pattern_strip.h"
#include "platform/menus.h"
#include "toolbase/field_menu.h"
#include "typography/color_menu.h"
#include "typography/color_pane.h"
#include "typography/color_table.h"
#include "typography/find_menu_item.h"
#include "typography/icon_menu.h"
#include "typography/icon_menu2.h"

namespace {

// The menu as it draws, with its items laid out.
QImage Shot(QMenu* menu)
{
    menu->popup(QPoint(0, 0));
    QImage shot = menu->grab().toImage();
    menu->hide();
    return shot;
}

ColorRef At(const QImage& image, const QPoint& p) { return FromQColor(image.pixelColor(p)); }

TEST(ColorMenu, SwatchesFollowTheTableAndTheItemState)
{
    ColorTable table;
    ColorMenu menu;
    ASSERT_EQ(menu.Build(&table, 60, 20, kMenuCheckIcon, 33089, 33104, 1), 1);
    ASSERT_EQ(menu.actions().size(), 16);
    EXPECT_EQ(MenuGetCommandId(menu.actions()[5]), 33094u);
    EXPECT_EQ(OwnerDrawMenu::ItemData(menu.actions()[5]), 5);

    QImage shot = Shot(&menu);
    const QRect red = menu.actionGeometry(menu.actions()[3]);
    EXPECT_EQ(red.size(), QSize(70, 20));
    const QPoint inside = red.topLeft() + QPoint(kMenuCheckRoom + 20, 10);
    EXPECT_EQ(At(shot, inside), table.GetColor(3));
    EXPECT_EQ(At(shot, red.topLeft() + QPoint(kMenuCheckRoom + 20, 0)), menu.MenuColour());

    // The table is read at each drawing.
    table.SetColor(3, MakeRgb(10, 200, 30));
    menu.actions()[3]->setEnabled(false);
    menu.actions()[4]->setCheckable(true);
    menu.actions()[4]->setChecked(true);
    menu.setActiveAction(menu.actions()[6]);
    shot = menu.grab().toImage();
    // Greyed: the swatch is a checkerboard of the colour and the menu colour.
    const ColorRef a = At(shot, inside), b = At(shot, inside + QPoint(1, 0));
    EXPECT_NE(a, b);
    EXPECT_TRUE(a == MakeRgb(10, 200, 30) || b == MakeRgb(10, 200, 30));
    // Highlighted: framed in the inverse colour.
    const QRect blue = menu.actionGeometry(menu.actions()[6]);
    EXPECT_EQ(At(shot, blue.topLeft() + QPoint(kMenuCheckRoom + 20, 2)), MakeRgb(255, 255, 0));
    EXPECT_EQ(At(shot, blue.topLeft() + QPoint(kMenuCheckRoom + 20, 10)), MakeRgb(0, 0, 255));
    // Checked: the check icon at the item's corner.
    const QRect magenta = menu.actionGeometry(menu.actions()[4]);
    int dark = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            dark += At(shot, magenta.topLeft() + QPoint(x, y)) == kBlack;
    EXPECT_GT(dark, 5);
}

TEST(IconMenu, CellsOfTheStripInMenuOrSelectionColours)
{
    const QImage strip = MakeFillPatternStrip(60, 20);
    IconMenu menu;
    ASSERT_EQ(menu.AddIconItem(strip, 3, 60, 20, kMenuCheckIcon, 34218, 34220, true), 1);
    EXPECT_EQ(menu.ItemCount(), 3);
    menu.popup(QPoint(0, 0));
    menu.setActiveAction(menu.actions()[1]);
    const QImage shot = menu.grab().toImage();
    menu.hide();
    const QRect plain = menu.actionGeometry(menu.actions()[0]);
    const QRect lit = menu.actionGeometry(menu.actions()[1]);
    const QPoint frame(kMenuCheckRoom + 1, 1);  // the cell's black frame
    const QPoint white(kMenuCheckRoom + 5, 3);
    EXPECT_EQ(At(shot, plain.topLeft() + frame), kBlack);
    EXPECT_EQ(At(shot, plain.topLeft() + white), menu.MenuColour());
    EXPECT_EQ(At(shot, lit.topLeft() + frame), kWhite);
    EXPECT_EQ(At(shot, lit.topLeft() + white), menu.HighlightColour());
    EXPECT_EQ(At(shot, lit.topLeft() + QPoint(2, 3)), menu.MenuColour());
}

TEST(IconMenu2, SampleLinesOfTheNineStyles)
{
    IconMenu2 menu;
    ASSERT_EQ(menu.Create(9, 33321, kMenuCheckIcon, 60, 20, true), 1);
    ASSERT_EQ(menu.actions().size(), 9);
    EXPECT_EQ(MenuGetCommandId(menu.actions()[8]), 33329u);
    const QImage shot = Shot(&menu);
    const QRect solid = menu.actionGeometry(menu.actions()[0]);
    EXPECT_EQ(At(shot, solid.center()), menu.MenuTextColour());
    EXPECT_EQ(At(shot, solid.topLeft() + QPoint(30, 1)), menu.MenuColour());
}

TEST(MenuSearch, ItemsByIdOrText)
{
    QMenu menu;
    MenuSetCommandId(menu.addAction("&Bold"), 33001);
    menu.addSeparator();
    MenuSetCommandId(menu.addAction("&Italic"), 33002);
    EXPECT_EQ(FindMenuItem(&menu, 33002u), 2);
    EXPECT_EQ(FindMenuItem(&menu, 1u), -1);
    EXPECT_EQ(FindMenuItem(&menu, "&Italic"), 2);
    EXPECT_EQ(FindMenuItem(&menu, "Italic"), -1);
    EXPECT_EQ(FindMenuItem(nullptr, "&Italic"), -1);
}

TEST(FieldMenu, AtMostTheTwentyOneFieldColumns)
{
    FieldMenu menu;
    menu.CreateItems(33144, 30);
    ASSERT_EQ(menu.actions().size(), 21);
    EXPECT_EQ(MenuGetCommandId(menu.actions()[20]), 33164u);
    char name[kFieldTypeNameSize];
    FieldTypeName(FieldIdByIndex(17), name, true, false);
    EXPECT_EQ(menu.actions()[17]->text(), QString::fromLatin1(name));
    menu.actions()[17]->setText("stale");
    menu.UpdateFieldNames();
    EXPECT_EQ(menu.actions()[17]->text(), QString::fromLatin1(name));
}

class PaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(200, 100);
        pane = new ColorPane(&window);
        pane->setGeometry(10, 10, 40, 30);
        pane->SetColor(MakeRgb(0, 0, 255));
        other = new QWidget(&window);
        other->setFocusPolicy(Qt::StrongFocus);
        other->setGeometry(100, 10, 20, 20);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Answers the colour dialog the pane opens.
    static void AnswerDialog(bool accept, ColorRef colour)
    {
        AnswerNextModal([accept, colour](QWidget* window) {
            auto* dialog = qobject_cast<QColorDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            dialog->setCurrentColor(ToQColor(colour));
            accept ? dialog->accept() : dialog->reject();
        });
    }

    QWidget window;
    ColorPane* pane = nullptr;
    QWidget* other = nullptr;
};

TEST_F(PaneTest, SelectionFramesThePane)
{
    QSignalSpy selected(pane, &ColorPane::Selected);
    other->setFocus();
    QTest::mouseClick(pane, Qt::LeftButton);
    EXPECT_EQ(selected.count(), 1);
    EXPECT_TRUE(pane->IsSelected());
    QImage shot = pane->grab().toImage();
    EXPECT_EQ(At(shot, QPoint(0, 0)), kBlack);
    EXPECT_EQ(At(shot, QPoint(4, 15)), kWhite);
    EXPECT_EQ(At(shot, QPoint(20, 15)), MakeRgb(0, 0, 255));

    other->setFocus();
    EXPECT_FALSE(pane->IsSelected());
    shot = pane->grab().toImage();
    EXPECT_EQ(At(shot, QPoint(0, 0)), MakeRgb(0, 0, 255));
    EXPECT_EQ(At(shot, QPoint(4, 15)), MakeRgb(0, 0, 255));
}

TEST_F(PaneTest, DoubleClickChoosesAColour)
{
    QSignalSpy changed(pane, &ColorPane::ChangedColor);
    AnswerDialog(false, MakeRgb(1, 2, 3));
    QTest::mouseDClick(pane, Qt::LeftButton);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(pane->Color(), MakeRgb(0, 0, 255));

    AnswerDialog(true, MakeRgb(200, 100, 50));
    QTest::mouseDClick(pane, Qt::LeftButton);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][1].value<ColorRef>(), MakeRgb(200, 100, 50));
    EXPECT_EQ(pane->Color(), MakeRgb(200, 100, 50));
}

}  // namespace
