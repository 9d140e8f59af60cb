// The set-up pages' list controls: records and window items stay in step,
// drags and double-clicks change the records and report each step.

#include <gtest/gtest.h>

#include <vector>

#include <QTest>

#include "catalog/wizard_fault_list.h"
#include "wizard/smart_listbox.h"

namespace {

CSmartListItem Entry(const char* text, uint32_t data)
{
    CSmartListItem item;
    item.text = text;
    item.data = data;
    return item;
}

std::vector<std::string> Texts(const CSmartListbox& list)
{
    std::vector<std::string> texts;
    CSmartListItem item;
    for (int32_t i = 0; list.GetItem(i, &item); ++i)
        texts.push_back(item.text);
    return texts;
}

}  // namespace

TEST(SmartListbox, RecordsAndWindowItemsChangeTogether)
{
    CSmartListbox list;
    const CSmartListItem b = Entry("b", 2);
    EXPECT_EQ(list.AddItem(&b), 0);
    const CSmartListItem a = Entry("a", 1);
    EXPECT_EQ(list.InsertItem(&a, -5), 0);
    const CSmartListItem c = Entry("c", 3);
    EXPECT_EQ(list.InsertItem(&c, 99), 2);
    EXPECT_EQ(list.InsertItem(nullptr, 0), -1);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(1)->text(), QStringLiteral("---"));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.GetItemData(2), 3u);
    EXPECT_EQ(list.GetItemData(3), 0u);
    EXPECT_EQ(list.GetItemData(-1), 0u);
    EXPECT_FALSE(list.GetItem(1, nullptr));

    // A move to beyond the end lands at the end; a move onto itself does
    // nothing.
    list.MoveItem(0, 40);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"b", "c", "a"}));
    list.MoveItem(2, 2);
    list.MoveItem(5, 0);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"b", "c", "a"}));

    list.DeleteItem(1);
    list.DeleteItem(7);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(list.count(), 2);
    list.SetItemText(1, "alpha");
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"b", "alpha"}));

    list.ResetContent();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.count(), 0);
}

TEST(SmartListbox, SelectionIsGatheredInOrder)
{
    CSmartListbox list;
    list.SetStyle(kSmartMultiSelect | kSmartDragReorder);
    for (const char* t : {"a", "b", "c", "d", "e"}) {
        const CSmartListItem item = Entry(t, 0);
        list.AddItem(&item);
    }
    EXPECT_EQ(list.GetFirstSelected(), -1);
    list.SelectRange(1, 3);
    EXPECT_EQ(list.SelectedIndexes(), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_TRUE(list.IsSelected(2));
    EXPECT_FALSE(list.IsSelected(4));
    EXPECT_EQ(list.GetFirstSelected(), 1);
    list.SelectRange(-1, -1);
    EXPECT_EQ(list.GetFirstSelected(), -1);
}

TEST(SmartListbox, DraggingMovesTheRecordAndReportsEachStep)
{
    CSmartListbox list;
    list.SetStyle(kSmartMultiSelect | kSmartDragReorder);
    for (const char* t : {"a", "b", "c", "d", "e"}) {
        const CSmartListItem item = Entry(t, 0);
        list.AddItem(&item);
    }
    std::vector<SmartListChange> changes;
    list.SetChangeHandler([&](const SmartListChange& c, CSmartListbox*) { changes.push_back(c); });
    list.SelectRange(2, 3);
    list.DragStart(0);
    list.DragOver(0);
    EXPECT_TRUE(changes.empty());
    list.DragOver(2);
    // The first step clears what was selected before the drag.
    EXPECT_EQ(list.SelectedIndexes(), (std::vector<int32_t>{2}));
    list.DragOver(4);
    list.DragEnd(4);
    EXPECT_FALSE(list.Dragging());
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"b", "c", "d", "e", "a"}));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].code, kSmartMoved);
    EXPECT_EQ(changes[0].first, 0);
    EXPECT_EQ(changes[0].second, 2);
    EXPECT_EQ(changes[1].first, 2);
    EXPECT_EQ(changes[1].second, 4);
    EXPECT_EQ(list.SelectedIndexes(), (std::vector<int32_t>{4}));

    // With the mouse: press on the last item, move to the first.
    list.resize(200, 200);
    list.show();
    const QPoint from = list.visualItemRect(list.item(4)).center();
    const QPoint to = list.visualItemRect(list.item(0)).center();
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, list.viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(list.viewport(), &move);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(changes.size(), 3u);

    // Without the drag style nothing moves.
    list.SetStyle(kSmartMultiSelect);
    list.DragStart(0);
    list.DragOver(3);
    list.DragEnd(3);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

TEST(SmartListbox, DoubleClickTogglesOnlyWithItemFlags)
{
    CSmartListbox list;
    const CSmartListItem a = Entry("a", 0);
    list.AddItem(&a);
    int notices = 0;
    SmartListChange last;
    list.SetChangeHandler([&](const SmartListChange& c, CSmartListbox*) {
        ++notices;
        last = c;
    });
    list.DoubleClickAt(0);
    CSmartListItem item;
    list.GetItem(0, &item);
    EXPECT_EQ(item.enabled, 1);
    EXPECT_EQ(notices, 0);

    list.SetStyle(kSmartItemFlags);
    list.DoubleClickAt(0);
    list.DoubleClickAt(3);
    list.GetItem(0, &item);
    EXPECT_EQ(item.enabled, 0);
    ASSERT_EQ(notices, 1);
    EXPECT_EQ(last.code, kSmartToggled);
    EXPECT_EQ(last.first, 0);
    EXPECT_EQ(last.second, -2);
}

TEST(FolderListBox, EntriesShowWhatTheirTabAsks)
{
    WizardFault file;
    file.displayName = "Sky Blue";
    file.fileName = "bckp000.bp";
    file.filePresent = 0;
    file.referenceCount = 3;
    file.itemNumber = 2;
    EXPECT_EQ(FolderListItemText(file, 0), "Sky Blue (-) [3] <SubType>");
    EXPECT_EQ(FolderListItemText(file, 2), "Sky Blue (-)");
    file.filePresent = 1;
    file.itemNumber = 1;
    EXPECT_EQ(FolderListItemText(file, 1), "Sky Blue [3]");
    WizardFault folder;
    folder.displayName = "old";
    folder.isFolder = 1;
    folder.filePresent = 1;
    EXPECT_EQ(FolderListItemText(folder, 0), "old <FOLDER>");
    EXPECT_EQ(FolderListItemText(folder, 2), "old <FOLDER>");
    WizardFault stray;
    stray.displayName = "notes.txt";
    stray.unknownFormat = 1;
    EXPECT_EQ(FolderListItemText(stray, 0), "notes.txt");
    EXPECT_EQ(FolderListItemText(stray, 4), "notes.txt");

    EXPECT_EQ(FolderListMarkColour(0), 0u);
    EXPECT_EQ(FolderListMarkColour(kFaultMarkGreen), 0x00FF00u);
    EXPECT_EQ(FolderListMarkColour(kFaultMarkGreen | kFaultMarkYellow), 0x00FFFFu);
    EXPECT_EQ(FolderListMarkColour(kFaultMarkYellow | kFaultMarkRed), 0x0000FFu);

    WizardFaultList list;
    list.entries = {file, folder, stray};
    CFolderListBox box;
    box.SetSource(&list, 0);
    EXPECT_EQ(box.count(), 3);
    EXPECT_EQ(box.SelectedIndex(), -1);
    box.SetSource(nullptr, 1);
    EXPECT_EQ(box.count(), 0);
}
