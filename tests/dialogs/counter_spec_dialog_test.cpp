#include <gtest/gtest.h>

#include <cstring>

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "dialog_test_util.h"
#include "dialogs/counter_spec_dialog.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/spin_steps.h"
#include "foundation/byte_order.h"
#include "support/alert_capture.h"

namespace {

struct CounterRecord {
    uint8_t bytes[kCounterSpecSize] = {};
    CounterRecord(const char* pre, const char* post, int32_t start, int32_t step, int32_t same, int32_t pad,
                  int32_t length)
    {
        std::strcpy(reinterpret_cast<char*>(bytes + kCounterPrefixOffset), pre);
        std::strcpy(reinterpret_cast<char*>(bytes + kCounterSuffixOffset), post);
        PutI32LE(bytes + kCounterStartOffset, start);
        PutI32LE(bytes + kCounterStepOffset, step);
        PutI32LE(bytes + kCounterRepeatOffset, same);
        PutI32LE(bytes + kCounterWidthModeOffset, pad);
        PutI32LE(bytes + kCounterWidthOffset, length);
        // The bytes the dialog does not own.
        for (size_t i = kCounterAdvanceOffset; i < kCounterSpecSize; ++i)
            bytes[i] = uint8_t(0xA0 + i);
    }
};

void Click(QRadioButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }

TEST(CounterSpecDialog, ShowsTheRecordAndReturnsExactlyWhatWasSet)
{
    CounterRecord in("No. \xE9", " end", 100, 2, 1, kCounterPadZeros, 5);
    CDlgCounterSpec dialog;
    dialog.SetRecord(in.bytes);
    Open(dialog);
    EXPECT_EQ(dialog.Preamble()->text(), QStringLiteral("No. \u00E9"));
    EXPECT_EQ(dialog.Postamble()->text(), QStringLiteral(" end"));
    EXPECT_EQ(dialog.Start()->text(), QStringLiteral("100"));
    EXPECT_EQ(dialog.FixedLength()->text(), QStringLiteral("5"));
    EXPECT_TRUE(dialog.Padding(kCounterPadZeros)->isChecked());

    TypeInto(dialog.Preamble(), QStringLiteral("Ticket "));
    dialog.Preamble()->insert(QStringLiteral("\u00FC"));
    TypeInto(dialog.Start(), QStringLiteral("7"));
    TypeInto(dialog.Increment(), QStringLiteral("3"));
    TypeInto(dialog.SameCount(), QStringLiteral("4"));
    Click(dialog.Padding(kCounterPadSpaces));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    CounterRecord want("Ticket \xFC", " end", 7, 3, 4, kCounterPadSpaces, 5);
    EXPECT_EQ(std::memcmp(dialog.Record(), want.bytes, kCounterSpecSize), 0);
}

TEST(CounterSpecDialog, CancelLeavesTheRecordAndANonNumberKeepsTheDialogOpen)
{
    CounterRecord in("A", "B", 1, 1, 1, kCounterPadNone, 3);
    CDlgCounterSpec dialog;
    dialog.SetRecord(in.bytes);
    Open(dialog);
    TypeInto(dialog.Start(), QStringLiteral("99"));
    dialog.reject();
    EXPECT_EQ(std::memcmp(dialog.Record(), in.bytes, kCounterSpecSize), 0);

    CDlgCounterSpec second;
    second.SetRecord(in.bytes);
    Open(second);
    AlertCapture alerts;
    TypeInto(second.Increment(), QString());
    TypeInto(second.Preamble(), QStringLiteral("changed"));
    second.accept();
    EXPECT_TRUE(second.isVisible());
    EXPECT_EQ(alerts.lastText(), "Please enter an integer.");
    EXPECT_EQ(std::memcmp(second.Record(), in.bytes, kCounterSpecSize), 0);
}

TEST(CounterSpecDialog, ArrowsStepWithinTheRangeAndNoneTurnsOffTheLength)
{
    CounterRecord in("", "", kCounterMostNumber, 1, 0, kCounterPadZeros, 4);
    CDlgCounterSpec dialog;
    dialog.SetRecord(in.bytes);
    Open(dialog);
    QTest::mouseClick(dialog.StartSpin()->Up(), Qt::LeftButton);
    EXPECT_EQ(dialog.Start()->text(), QStringLiteral("999999"));
    QTest::mouseClick(dialog.StartSpin()->Down(), Qt::LeftButton);
    EXPECT_EQ(dialog.Start()->text(), QStringLiteral("999998"));
    QTest::mouseClick(dialog.SameCountSpin()->Down(), Qt::LeftButton);
    EXPECT_EQ(dialog.SameCount()->text(), QStringLiteral("0"));
    QTest::mouseClick(dialog.SameCountSpin()->Up(), Qt::LeftButton);
    EXPECT_EQ(dialog.SameCount()->text(), QStringLiteral("1"));

    // Open with both on, whatever the padding.
    EXPECT_TRUE(dialog.FixedLength()->isEnabled());
    Click(dialog.Padding(kCounterPadNone));
    EXPECT_FALSE(dialog.FixedLength()->isEnabled());
    EXPECT_FALSE(dialog.FixedLengthSpin()->isEnabled());
    Click(dialog.Padding(kCounterPadZeros));
    EXPECT_TRUE(dialog.FixedLength()->isEnabled());
    EXPECT_TRUE(dialog.FixedLengthSpin()->isEnabled());

    // The texts stop at 254 characters, also when the record holds more.
    EXPECT_EQ(dialog.Preamble()->maxLength(), kCounterTextLimit);
    QTest::keyClicks(dialog.Postamble(), QString(300, QLatin1Char('x')));
    dialog.accept();
    EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(dialog.Record() + kCounterSuffixOffset)), 254u);
}

}  // namespace
