#include <gtest/gtest.h>

#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "database/field_table.h"
#include "dialog_test_util.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/quick_card_layout_dialog.h"
#include "dialogs/spin_steps.h"
#include "foundation/byte_order.h"
#include "graphics/quick_card_block.h"
#include "graphics/quick_card_format.h"

namespace {

int32_t Count(Handle block) { return GetI32LE(HandleData<uint8_t>(block) + kQcHeaderCount); }
const uint8_t* Item(Handle block, int32_t n) { return QuickCardBlockGetItem(block, n); }

// A block of field items for the columns given, each starting a line when
// asked.
Handle MakeBlock(std::initializer_list<std::pair<int32_t, bool>> items)
{
    Handle block = QuickCardBlockNew();
    for (const auto& [id, newLine] : items) {
        HandleOwner item(QuickCardItemNew());
        PutI32LE(HandleData<uint8_t>(item.get()) + kQcItemField, id);
        PutU16LE(HandleData<uint8_t>(item.get()) + kQcItemNewLine, newLine ? 1 : 0);
        PutF32LE(HandleData<uint8_t>(item.get()) + kQcItemGap, 72.0f);
        QuickCardBlockAppendItem(block, item.get());
    }
    return block;
}

struct Record {
    QuickCardItem item;
    explicit Record(Handle block, uint32_t units = 0)
    {
        item.words[0] = 7;
        item.words[2] = units;
        item.words[5] = 0xABCD;
        item.data = block;
    }
    ~Record() { QuickCardBlockFree(&item.data); }
};

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

QPoint RowCentre(CQuickCardListBox* list, int row) { return list->visualItemRect(list->item(row)).center(); }

TEST(QuickCardLayoutDialog, InsertsAtTheSelectionAndRefusesTheHundredAndFirst)
{
    CDlgQuickCardLayout dialog;
    dialog.Init(0, nullptr);
    Open(dialog);
    EXPECT_EQ(dialog.List()->count(), 0);
    EXPECT_FALSE(dialog.DeleteButton()->isEnabled());
    EXPECT_FALSE(dialog.Caption()->isEnabled());

    ChooseItem(dialog.FieldCombo(), 1 + (kFieldCity - 2));
    dialog.InsertButton()->click();
    ASSERT_EQ(Count(dialog.Block()), 1);
    const uint8_t* city = Item(dialog.Block(), 0);
    EXPECT_EQ(GetI32LE(city + kQcItemField), kFieldCity);
    EXPECT_EQ(GetF32LE(city + kQcItemSpaceAbove), 3.0f);
    EXPECT_EQ(GetU16LE(city + kQcItemSeparator), 1);
    EXPECT_EQ(dialog.List()->RowText(0), QStringLiteral("[City]"));
    EXPECT_EQ(dialog.CaptionLabel()->text(), QStringLiteral("Field &Prefix:"));
    EXPECT_FALSE(dialog.HorizontalSpace()->isEnabled());

    // A caption goes after the selected item and becomes the selection.
    ChooseItem(dialog.FieldCombo(), 0);
    dialog.InsertButton()->click();
    EXPECT_EQ(dialog.List()->currentRow(), 1);
    EXPECT_LT(GetI32LE(Item(dialog.Block(), 1) + kQcItemField), 0);
    EXPECT_EQ(dialog.List()->RowText(1), QStringLiteral("Caption"));
    EXPECT_EQ(dialog.CaptionLabel()->text(), QStringLiteral("Ca&ption:"));

    while (Count(dialog.Block()) < kQuickCardMaxItems)
        dialog.InsertButton()->click();
    dialog.InsertButton()->click();
    EXPECT_EQ(Count(dialog.Block()), kQuickCardMaxItems);
    EXPECT_EQ(dialog.List()->count(), kQuickCardMaxItems);

    dialog.List()->setCurrentRow(kQuickCardMaxItems - 1);
    dialog.DeleteButton()->click();
    EXPECT_EQ(dialog.List()->currentRow(), kQuickCardMaxItems - 2);
}

TEST(QuickCardLayoutDialog, EditsTheSelectedItemAndGivesTheBlockBackOnlyWhenAsked)
{
    Record caller(MakeBlock({{kFieldFirstName, false}, {kFieldLastName, false}, {kFieldCity, true}}), 0);
    const QByteArray before(reinterpret_cast<const char*>(HandleData<uint8_t>(caller.item.data)),
                            int(HandleGetSize(caller.item.data)));
    {
        CDlgQuickCardLayout dialog;
        dialog.Init(3, &caller.item);
        Open(dialog);
        // The last entry is selected; a line's first item has the vertical
        // space and alignment, one in the middle of a line has not.
        EXPECT_EQ(dialog.List()->currentRow(), 2);
        EXPECT_TRUE(dialog.VerticalSpace()->isEnabled());
        dialog.List()->setCurrentRow(1);
        EXPECT_FALSE(dialog.VerticalSpace()->isEnabled());
        EXPECT_FALSE(dialog.Align(0)->isEnabled());
        dialog.List()->setCurrentRow(0);
        EXPECT_TRUE(dialog.VerticalSpace()->isEnabled());
        EXPECT_TRUE(dialog.Align(1)->isEnabled());

        EXPECT_EQ(dialog.HorizontalSpace()->text(), QStringLiteral("72.00"));
        ChooseItem(dialog.Units(), 1);
        EXPECT_EQ(dialog.HorizontalSpace()->text(), QStringLiteral("1.00"));
        TypeInto(dialog.HorizontalSpace(), QStringLiteral("2"));
        EXPECT_EQ(GetF32LE(Item(dialog.Block(), 0) + kQcItemGap), 144.0f);
        dialog.VerticalSpin()->Press(1);
        EXPECT_FLOAT_EQ(GetF32LE(Item(dialog.Block(), 0) + kQcItemSpaceAbove), 72.0f);

        dialog.Align(1)->click();
        dialog.Align(2)->click();
        EXPECT_FALSE(dialog.Align(1)->isChecked());
        dialog.Style(0)->click();
        dialog.Style(2)->click();
        ChooseItem(dialog.FontSize(), 5);
        TypeInto(dialog.Caption(), QStringLiteral("Dear |,"));
        const uint8_t* first = Item(dialog.Block(), 0);
        EXPECT_EQ(GetU16LE(first + kQcItemAlign), 3);
        EXPECT_EQ(GetU16LE(first + kQcItemStyle), 5);
        EXPECT_EQ(GetI16LE(first + kQcItemFontSize), 12);
        EXPECT_STREQ(reinterpret_cast<const char*>(first + kQcItemText), "Dear |,");
        dialog.SkipBlankLines()->click();
        EXPECT_EQ(HandleData<uint8_t>(dialog.Block())[kQcHeaderKeepEmptyLines], dialog.SkipBlankLines()->isChecked() ? 0 : 1);
        dialog.reject();
    }
    // The caller's block is its own until it asks for the dialog's.
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(HandleData<uint8_t>(caller.item.data)),
                         int(HandleGetSize(caller.item.data))),
              before);

    CDlgQuickCardLayout dialog;
    dialog.Init(3, &caller.item);
    Open(dialog);
    dialog.List()->setCurrentRow(0);
    dialog.NewLine()->click();
    dialog.accept();
    dialog.GetItem(&caller.item);
    EXPECT_EQ(dialog.Block(), nullptr);
    EXPECT_EQ(caller.item.words[0], 7u);
    EXPECT_EQ(caller.item.words[5], 0xABCDu);
    EXPECT_EQ(Count(caller.item.data), 3);
    EXPECT_EQ(GetU16LE(Item(caller.item.data, 0) + kQcItemNewLine), 1);
}

TEST(QuickCardLayoutDialog, DraggingAndDoubleClickingChangeTheBlockInStep)
{
    Record caller(MakeBlock({{kFieldFirstName, false}, {kFieldLastName, false}, {kFieldCity, true}}), 9);
    CDlgQuickCardLayout dialog;
    dialog.Init(0, &caller.item);
    Open(dialog);
    // An invalid unit becomes Inch.
    EXPECT_EQ(dialog.Units()->currentIndex(), 1);
    CQuickCardListBox* list = dialog.List();
    QWidget* vp = list->viewport();
    SendMouse(vp, QEvent::MouseButtonPress, RowCentre(list, 0), Qt::LeftButton);
    SendMouse(vp, QEvent::MouseMove, RowCentre(list, 1), Qt::LeftButton);
    SendMouse(vp, QEvent::MouseMove, RowCentre(list, 2), Qt::LeftButton);
    SendMouse(vp, QEvent::MouseButtonRelease, RowCentre(list, 2), Qt::NoButton);
    EXPECT_EQ(GetI32LE(Item(dialog.Block(), 0) + kQcItemField), kFieldLastName);
    EXPECT_EQ(GetI32LE(Item(dialog.Block(), 1) + kQcItemField), kFieldCity);
    EXPECT_EQ(GetI32LE(Item(dialog.Block(), 2) + kQcItemField), kFieldFirstName);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(list->item(row)->text(), list->RowText(row));
    EXPECT_EQ(list->currentRow(), 2);

    QTest::mouseDClick(vp, Qt::LeftButton, {}, RowCentre(list, 2));
    EXPECT_EQ(GetU16LE(Item(dialog.Block(), 2) + kQcItemNewLine), 1);
    EXPECT_TRUE(dialog.NewLine()->isChecked());
    EXPECT_TRUE(list->RowStartsLine(2));

    // Up and Down in the caption walk the list and stop at its ends.
    dialog.Caption()->setFocus();
    QTest::keyClick(dialog.Caption(), Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 2);
    QTest::keyClick(dialog.Caption(), Qt::Key_Up);
    QTest::keyClick(dialog.Caption(), Qt::Key_Up);
    QTest::keyClick(dialog.Caption(), Qt::Key_Up);
    EXPECT_EQ(list->currentRow(), 0);
}

}  // namespace
