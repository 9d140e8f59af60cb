// The label lists: they mirror the table, reorder it by dragging, and
// follow it when it refuses a change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "dialogs/label_type_list.h"
#include "label_table_names.h"
#include "records/label_stock_table.h"
#include "support/temp_dir.h"

namespace {

LabelTypeRecord Named(const std::string& name, double width = 100)
{
    LabelTypeRecord r;
    LabelTypeSetName(&r, name);
    r.cardWidth = width;
    return r;
}

// A table over a new file in the folder, holding the names given.
void Fill(CDBLabel* table, const TempDir& dir, const std::vector<std::string>& names)
{
    PathRecord path{};
    ASSERT_EQ(PathRecordFromPosix(dir.file("labels.dat"), &path), 0);
    ASSERT_EQ(table->CreateLabelFile(&path), 1);
    ASSERT_EQ(table->ReadAll(), 1);
    for (const std::string& n : names)
        ASSERT_TRUE(table->InsertLabelType(table->GetCount() - 1, Named(n, 10.0 * table->GetCount())));
}

void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent e(type, at, target->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  held, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

}  // namespace

TEST(LabelListBox, MirrorsTheTableAndEditsGoToItFirst)
{
    TempDir dir;
    CDBLabel table;
    Fill(&table, dir, {"a", "b", "c"});
    CLabelListBox list;
    LabelTypeRecord r;
    EXPECT_EQ(list.GetCurLabel(&r), -1);
    EXPECT_FALSE(list.InsertLabel(Named("x"), 0));
    list.SetLabelBase(&table);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.sizeHintForRow(0), kLabelListItemHeight);

    r = Named("untouched", 77);
    EXPECT_EQ(list.GetCurLabel(&r), -1);  // nothing selected: nothing copied
    EXPECT_EQ(r.cardWidth, 77);
    list.SelectLabel(1);
    EXPECT_EQ(list.GetCurLabel(&r), 1);
    EXPECT_EQ(LabelTypeName(r), "b");
    list.SelectLabel(3);
    EXPECT_EQ(list.currentRow(), 1);

    EXPECT_TRUE(list.UpdateLabel(1, Named("B")));
    EXPECT_FALSE(list.UpdateLabel(3, Named("D")));
    EXPECT_TRUE(list.InsertLabel(Named("after a"), 0));
    EXPECT_EQ(list.count(), 4);
    EXPECT_TRUE(list.DeleteLabel(3));
    EXPECT_FALSE(list.DeleteLabel(3));
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"a", "after a", "B"}));
    EXPECT_TRUE(list.GetLabel(2, &r));
    EXPECT_FALSE(list.GetLabel(3, &r));

    // Sorting keeps the same record selected, not the same place.
    list.SelectLabel(0);
    list.SortLabels();
    EXPECT_EQ(Names(table), (std::vector<std::string>{"B", "a", "after a"}));
    EXPECT_EQ(list.GetCurLabel(&r), 1);
    EXPECT_EQ(LabelTypeName(r), "a");
}

TEST(LabelListBox, DraggingMovesTheRecordOnePlaceAtATime)
{
    TempDir dir;
    CDBLabel table;
    Fill(&table, dir, {"r0", "r1", "r2", "r3", "r4"});
    CLabelListBox list;
    list.resize(200, 200);
    list.SetLabelBase(&table);
    list.show();
    QWidget* port = list.viewport();
    auto center = [&](int row) { return list.visualItemRect(list.item(row)).center(); };

    Mouse(port, QEvent::MouseButtonPress, center(0), Qt::LeftButton);
    EXPECT_TRUE(list.IsDragging());
    Mouse(port, QEvent::MouseMove, center(1), Qt::LeftButton);
    // The pointer may jump rows: the records passed still step back one.
    Mouse(port, QEvent::MouseMove, center(3), Qt::LeftButton);
    Mouse(port, QEvent::MouseButtonRelease, center(3), Qt::NoButton);
    EXPECT_FALSE(list.IsDragging());
    EXPECT_EQ(Names(table), (std::vector<std::string>{"r1", "r2", "r3", "r0", "r4"}));
    EXPECT_EQ(list.currentRow(), 3);

    Mouse(port, QEvent::MouseButtonPress, center(4), Qt::LeftButton);
    Mouse(port, QEvent::MouseMove, center(0), Qt::LeftButton);
    Mouse(port, QEvent::MouseButtonRelease, center(0), Qt::NoButton);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"r4", "r1", "r2", "r3", "r0"}));
    EXPECT_TRUE(table.IsChanged());

    // Moving without the button does nothing to the table.
    Mouse(port, QEvent::MouseMove, center(2), Qt::NoButton);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"r4", "r1", "r2", "r3", "r0"}));
}

TEST(LabelListBox, ATableThatRefusesChangesGetsNoNewItems)
{
    TempDir dir;
    CDBLabel table;
    PathRecord missing{};
    ASSERT_EQ(PathRecordFromPosix(dir.file("none.dat"), &missing), 0);
    EXPECT_EQ(table.OpenLabelFile(&missing), 0);
    CLabelListBox list;
    list.SetLabelBase(&table);
    EXPECT_FALSE(list.InsertLabel(Named("x"), -1));
    EXPECT_EQ(list.count(), 0);
    EXPECT_FALSE(list.UpdateLabel(0, Named("x")));
    EXPECT_FALSE(list.DeleteLabel(0));
    list.SortLabels();
    EXPECT_EQ(list.count(), 0);
}

TEST(LabelTypeComboBox, ListsTheNamesAndGivesTheChosenRecord)
{
    TempDir dir;
    CDBLabel table;
    Fill(&table, dir, {"first", "second \xE9"});
    CLabelTypeComboBox combo;
    LabelTypeRecord r;
    EXPECT_EQ(combo.GetCurLabel(&r), -1);
    combo.SetLabelBase(&table);
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(1), QStringLiteral("second \u00e9"));
    EXPECT_EQ(combo.GetCurLabel(&r), -1);
    combo.setCurrentIndex(1);
    EXPECT_EQ(combo.GetCurLabel(&r), 1);
    EXPECT_EQ(r.cardWidth, 10);
}
