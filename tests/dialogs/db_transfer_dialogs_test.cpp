#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "database/field_table.h"
#include "dbdoc/export_report_db_dialogs.h"
#include "dbdoc/field_list_box.h"
#include "dbdoc/import_db_dialog.h"
#include "dbdoc/text_import.h"
#include "support/alert_capture.h"
#include "support/shell.h"
#include "support/temp_dir.h"
#include "dialog_test_util.h"

namespace {

ExportOptions PlainExport()
{
    ExportOptions o;
    for (int i = 0; i < kEntryColumnCount; ++i)
        o.order[i] = int16_t(i + 1);
    o.delimiter = kDelimiterTab;
    return o;
}

TEST(ExportReportDialogs, ExportReordersAndSkipsOnlyWhenAccepted)
{
    const ExportOptions in = PlainExport();
    CDlgExportDB dialog;
    dialog.SetRecord(in);
    Open(dialog);
    CFieldListBox* list = dialog.FieldList();
    EXPECT_EQ(dialog.Delimiter()->currentIndex(), kDelimiterTab);
    EXPECT_EQ(list->RowText(0), QStringLiteral("FirstName"));
    // The first field dragged to the bottom passes every place on its way.
    list->setCurrentRow(0);
    list->DragTo(kEntryColumnCount - 1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    EXPECT_TRUE(list->RowSkipped(2));
    ChooseItem(dialog.Delimiter(), kDelimiterQuotedComma);

    // Nothing reaches the record before OK.
    ExportOptions now = dialog.Record();
    EXPECT_EQ(std::vector<int16_t>(now.order, now.order + 21), std::vector<int16_t>(in.order, in.order + 21));
    dialog.accept();
    now = dialog.Record();
    EXPECT_EQ(now.delimiter, kDelimiterQuotedComma);
    EXPECT_EQ(now.order[0], 2);
    EXPECT_EQ(now.order[2], -4);
    EXPECT_EQ(now.order[kEntryColumnCount - 1], 1);

    CDlgExportDB cancelled;
    cancelled.SetRecord(in);
    Open(cancelled);
    cancelled.FieldList()->ToggleSkip(0);
    cancelled.reject();
    EXPECT_EQ(cancelled.Record().order[0], 1);
}

TEST(ExportReportDialogs, ReportLengthIsForRostersAndRefusedOutsideItsRange)
{
    ReportOptions in;
    for (int i = 0; i < kEntryColumnCount; ++i)
        in.order[i] = int16_t(i + 1);
    CDlgReportDB dialog;
    dialog.SetRecord(in);
    Open(dialog);
    EXPECT_FALSE(dialog.MaxLength()->isEnabled());
    ChooseItem(dialog.Kind(), kReportRoster);
    EXPECT_TRUE(dialog.MaxLength()->isEnabled());
    {
        AlertCapture alerts;
        TypeInto(dialog.MaxLength(), QStringLiteral("32001"));
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(alerts.lastText(), "Please enter an integer between 0 and 32000.");
        EXPECT_EQ(dialog.Record().kind, kReportTabular);
    }
    TypeInto(dialog.MaxLength(), QStringLiteral("60"));
    dialog.accept();
    EXPECT_EQ(dialog.Record().kind, kReportRoster);
    EXPECT_EQ(dialog.Record().maxLength, 60);
}

class ImportDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.ok());
        // 25 columns in the first line, 3 in the second.
        std::string text;
        for (int i = 1; i <= 25; ++i) {
            text += 'c';
            text += std::to_string(i);
            text += i < 25 ? "," : "\r\n";
        }
        text += "Ann,Lee,Boston\r\n";
        WriteFileBytes(dir.file("in.txt"), text);
        PathRecord path;
        PathRecordFromString(dir.file("in.txt").c_str(), &path);
        ASSERT_TRUE(import.Open(path));
    }

    TempDir dir;
    TextImport import;
};

TEST_F(ImportDialogTest, RowsFollowTheWidestRecordAndPairFieldsWithColumns)
{
    CDlgImportDB dialog;
    dialog.SetData("in.txt", "Card.dqx", kEntryColumnCount, kDelimiterComma);
    Open(dialog);
    EXPECT_EQ(dialog.RowCount(), 25);
    EXPECT_STREQ(dialog.FieldList()->Left()->at(24).text, "c25");
    EXPECT_STREQ(dialog.FieldList()->Right()->at(8 - 2).text, "City");

    // Rows beyond the fields feed nothing; each field takes its own row.
    ImportOptions out = dialog.Record();
    for (int f = 0; f < kEntryColumnCount; ++f)
        EXPECT_EQ(out.matching[f], f + 1);

    // City dragged on the right from its row to row 2 takes column 2; the
    // fields it passed move down by one.
    CImportFieldListBox* list = dialog.FieldList();
    list->PressAt(false, kFieldCity - 2);
    for (int row = kFieldCity - 3; row >= 1; --row)
        list->DragTo(row);
    list->Release();
    // Skipping column 1 leaves First Name without a column.
    list->DoubleClickAt(true, 0);
    out = dialog.Record();
    EXPECT_EQ(out.matching[kFieldCity - 2], 2);
    EXPECT_EQ(out.matching[kFieldLastName - 2], 3);
    EXPECT_EQ(out.matching[kFieldFirstName - 2], 0);
    EXPECT_EQ(out.delimiter, kDelimiterComma);

    // A shorter record keeps the rows and shows its own columns.
    TypeInto(dialog.RecordToShow(), QStringLiteral("2"));
    EXPECT_EQ(dialog.RowCount(), 25);
    EXPECT_STREQ(list->Left()->at(2).text, "Boston");
    EXPECT_STREQ(list->Left()->at(3).text, "");
    EXPECT_EQ(dialog.Record().matching[kFieldCity - 2], 2);
}

}  // namespace
