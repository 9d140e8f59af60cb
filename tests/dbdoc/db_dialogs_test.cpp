// The database dialogs, the options sheet with its field order list, and
// the progress windows.

#include <gtest/gtest.h>

#include <QLabel>

#include <cstring>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "database/database_header.h"
#include "database/record_file_format.h"
#include "dbdoc/data_entry_sheet.h"
#include "dbdoc/db_dialogs.h"
#include "dbdoc/db_progress_dialogs.h"
#include "dbdoc/field_list_box.h"
#include "dbdoc/pv_splitter_wnd.h"
#include "foundation/byte_order.h"

namespace {

TEST(DbDialogsTest, SortCriteriaKeepsNoneAndTheOrder)
{
    CDlgSortCriteria dialog;
    SortSpec order;
    order.fields[0] = kFieldCity;
    order.fields[1] = dbsort::kNone;
    order.fields[2] = kFieldFirstName;
    order.descending = 1;
    dialog.SetData(order);
    EXPECT_EQ(dialog.Combo(0)->currentIndex(), 7);
    EXPECT_EQ(dialog.Combo(1)->currentText(), "None");
    SortSpec back;
    dialog.GetData(&back);
    EXPECT_EQ(back, order);
    dialog.Combo(0)->setCurrentIndex(0);
    dialog.SetDescending(false);
    dialog.GetData(&back);
    EXPECT_EQ(back.fields[0], dbsort::kNone);
    EXPECT_EQ(back.descending, 0);
}

TEST(DbDialogsTest, QueryBlankOperatorsTakeNoValue)
{
    uint8_t header[kDbHeaderSize] = {};
    PutU16LE(header + dbh::kQueryField, kFieldLastName);
    header[dbh::kQueryOperator] = 10;  // "Is Blank"
    CDlgQuery dialog;
    dialog.SetData(header + kQueryBlockOffset);
    EXPECT_EQ(dialog.FieldCombo()->currentIndex(), 1);
    EXPECT_FALSE(dialog.ValueEdit()->isEnabled());
    dialog.OperatorCombo()->setCurrentIndex(2);
    dialog.OperatorCombo()->activated(2);
    EXPECT_TRUE(dialog.ValueEdit()->isEnabled());
    dialog.ValueEdit()->setText(QString(70, 'x'));
    dialog.GetData(header + kQueryBlockOffset);
    EXPECT_EQ(header[dbh::kQueryOperator], 2);
    EXPECT_EQ(std::strlen(reinterpret_cast<char*>(header + dbh::kQueryValue)), 62u);
}

TEST(DbDialogsTest, PreferencesPassHiddenValuesThrough)
{
    uint8_t block[24];
    for (int i = 0; i < 24; ++i)
        block[i] = uint8_t(i * 7 + 1);
    PutU16LE(block, 1);
    CDlgDBPreferences dialog;
    dialog.SetData(block);
    EXPECT_TRUE(dialog.DeleteIndexCheck()->isChecked());
    uint8_t back[24];
    dialog.GetData(back);
    EXPECT_EQ(std::memcmp(back, block, 24), 0);
    dialog.DeleteIndexCheck()->setChecked(false);
    dialog.GetData(back);
    EXPECT_EQ(GetU16LE(back), 0);
    EXPECT_EQ(std::memcmp(back + 2, block + 2, 22), 0);
}

TEST(DbDialogsTest, FindOneLimitsByMode)
{
    char values[kEntryColumnCount][256] = {};
    std::memset(values[0], 'a', 200);
    CDlgFindOne findAll(CDlgFindOne::kFindAll);
    findAll.SetFields(values, nullptr, 0);
    findAll.Edit(0)->setText(QString(200, 'a'));
    findAll.accept();
    char out[kEntryColumnCount][256] = {};
    findAll.GetFields(out);
    EXPECT_EQ(std::strlen(out[0]), 40u);
    CDlgFindOne defaults(CDlgFindOne::kDefaultCardInfo);
    defaults.SetFields(values, nullptr, 0);
    defaults.accept();
    defaults.GetFields(out);
    EXPECT_EQ(std::strlen(out[0]), 200u);
    EXPECT_EQ(findAll.windowTitle(), "Find All");
    EXPECT_TRUE(findAll.Button(1093)->isHidden());

    // Custom fields the user has not named read as the form shows them.
    uint8_t names[6][32] = {};
    for (int i = 0; i < 5; ++i)
        std::strcpy(reinterpret_cast<char*>(names[i]), "..........");
    std::strcpy(reinterpret_cast<char*>(names[5]), "Birthday");
    ResetCustomFieldNames();
    CDlgFindOne named(CDlgFindOne::kFindAll);
    named.SetFields(values, names[0], 0);
    QStringList texts;
    for (const QLabel* label : named.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains("Custom1") && texts.contains("Custom5") && texts.contains("Birthday"))
        << texts.join(",").toStdString();
    EXPECT_FALSE(texts.contains(".........."));
}

TEST(DbDialogsTest, NameCustomFieldsCutsNames)
{
    uint8_t names[6 * 32] = {};
    std::memcpy(names, "Birthday", 8);
    CDlgNameCustomFields dialog;
    dialog.SetNames(names);
    EXPECT_EQ(dialog.Edit(0)->text(), "Birthday");
    dialog.Edit(1)->setText(QString(40, 'n'));
    dialog.GetNames(names);
    EXPECT_EQ(std::strlen(reinterpret_cast<char*>(names + 32)), 31u);
}

TEST(DataEntrySheetTest, DraggingPassesEveryPlaceAndSkipsStayRed)
{
    QStringList names;
    int16_t order[kEntryColumnCount];
    for (int i = 0; i < kEntryColumnCount; ++i) {
        names << QString("F%1").arg(i);
        order[i] = int16_t(i + 1);
    }
    CFieldListBox list;
    list.Init(kEntryColumnCount, &names, order);
    list.ToggleSkip(0);
    EXPECT_TRUE(list.RowSkipped(0));
    list.ToggleSkip(0);
    EXPECT_FALSE(list.RowSkipped(0));
    list.ToggleSkip(0);
    // Drag the first (skipped) field to the bottom.
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
    list.DragTo(kEntryColumnCount - 1);
    EXPECT_EQ(order[kEntryColumnCount - 1], -1);
    for (int i = 0; i < kEntryColumnCount - 1; ++i)
        EXPECT_EQ(order[i], i + 2);
    EXPECT_TRUE(list.RowSkipped(kEntryColumnCount - 1));
    EXPECT_EQ(list.RowText(0), "F1");

    // On the screen the selected skipped field is still written in red; a
    // selected field that is used is not.
    list.resize(240, 700);
    list.show();
    QApplication::processEvents();
    auto redPixels = [&](int32_t row) {
        const QImage shot = list.viewport()->grab(list.visualItemRect(list.item(row))).toImage();
        int32_t red = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                red += c.red() > 180 && c.green() < 90 && c.blue() < 90;
            }
        return red;
    };
    EXPECT_EQ(list.currentRow(), kEntryColumnCount - 1);
    EXPECT_GT(redPixels(kEntryColumnCount - 1), 0);
    list.setCurrentRow(0);
    EXPECT_EQ(redPixels(0), 0);
    EXPECT_TRUE(list.DrawingFont().italic());
}

TEST(DataEntrySheetTest, DefaultsAreCutAndCancelChangesNothing)
{
    uint8_t header[kDbHeaderSize] = {};
    SetDefaultPreferences(header);
    InitDatabaseHeader(header);
    uint8_t copy[kDbHeaderSize];
    std::memcpy(copy, header, kDbHeaderSize);
    {
        CPSDataEntry sheet;
        sheet.SetData(header);
        sheet.FieldOrderList()->ToggleSkip(3);
        sheet.reject();
        sheet.GetData(copy);
    }
    EXPECT_EQ(std::memcmp(copy, header, kDbHeaderSize), 0);
    CPSDataEntry sheet;
    sheet.SetData(header);
    sheet.DefaultEdit(15)->setText(QString(100, 'c'));  // Custom1 allows 255
    sheet.FieldOrderList()->ToggleSkip(3);
    sheet.accept();
    sheet.GetData(copy);
    EXPECT_EQ(std::strlen(reinterpret_cast<char*>(copy + dbh::kDefaultValues + 15 * 64)), 62u);
    EXPECT_EQ(int16_t(GetU16LE(copy + dbh::kEntryOrder + 6)), -4);
}

TEST(DbProgressTest, ShowsFromItsStepAndRefreshesEveryFifth)
{
    {
        CDlgDBProgress progress("people.dqx", "Sorting...", 50, 100, 1);
        for (int i = 0; i < 50; ++i)
            progress.Step();
        EXPECT_FALSE(progress.isVisible());
    }
    CDlgDBProgress progress("people.dqx", "Sorting...", 500, 100, 1);
    EXPECT_EQ(CDlgDBProgress::OpenCount(), 1);
    for (int i = 1; i < 100; ++i)
        progress.Step();
    EXPECT_FALSE(progress.isVisible());
    progress.Step();  // the 100th
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.ValueText(3), "100");
    for (int i = 0; i < 4; ++i)
        progress.Step();
    EXPECT_EQ(progress.ValueText(3), "100");
    progress.Step();
    EXPECT_EQ(progress.ValueText(3), "105");
    // Escape does not close it.
    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_TRUE(progress.isVisible());
}

TEST(DbProgressTest, WorkingWindowCaptionAndBar)
{
    CDlgWorking working(false, "", "", 10, false);
    EXPECT_EQ(working.CaptionText(), "Working. One Moment Please...");
    working.StepIt();
    working.StepIt();
    EXPECT_EQ(working.Pos(), 2);
    working.SetPos(50);
    EXPECT_EQ(working.Pos(), 10);
}

TEST(PvSplitterTest, AColumnDraggedPastItsMinimumStays)
{
    CPVSplitterWnd splitter;
    auto* left = new QWidget;
    auto* right = new QWidget;
    left->setMinimumWidth(80);
    splitter.addWidget(left);
    splitter.addWidget(right);
    splitter.resize(400, 200);
    splitter.show();
    splitter.TrackColumnSize(0, 0);
    EXPECT_TRUE(left->isVisible());
    EXPECT_EQ(splitter.sizes()[0], 80);
    CPVSplitterWnd single;
    single.addWidget(new QWidget);
    EXPECT_EQ(single.CalcTotalSize(), QSize(4 * single.BorderWidth(), 4 * single.BorderWidth()));
    CTransparentStatic label;
    EXPECT_EQ(label.HitTest(QPoint(3, 3)), CTransparentStatic::kHitClient);
}

}  // namespace
