#include <gtest/gtest.h>

#include "database/field_table.h"
#include "database/merge_text.h"
#include "db_test_util.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

namespace {

DataFile* g_current = nullptr;
DataFile* Current() { return IsCurrentDatabaseSuppressed() ? nullptr : g_current; }

TEST(MergeText, DatabaseFieldsPreviewTextsAndNames)
{
    TempDir dir;
    AlertCapture capture;
    DatabaseSession db;
    ASSERT_TRUE(db.Create(DbPath(dir.file("m.dqx"))));
    FillCurrent(db.Data(), {{kFieldDate, "20240131"}, {kFieldCity, "Boston  "}, {kFieldZipCode, "02134"}});
    db.Data().AddRecord(false, true);
    SetMergeDatabaseLookup(&Current);
    g_current = &db.Data();
    SetFieldPreviewText(kFieldCity, "Preview City ");
    SetFieldPreviewText(kFieldAddress1, "7 Elm Road");
    SetFieldPreviewText(kFieldZipCode, "12345-6789");

    char text[256];
    GetMergeFieldText(kFieldCity, text, false);
    EXPECT_STREQ(text, "Boston");
    GetMergeFieldText(kFieldDate, text, false);
    EXPECT_STREQ(text, "01/31/2024");
    GetMergeFieldText(kFieldPostalDigits, text, false);
    EXPECT_STREQ(text, "02134");
    GetMergeFieldText(kFieldFirstName, text, false);
    EXPECT_STREQ(text, "FirstName");  // empty: the field's name
    GetMergeFieldText(kFieldFirstName, text, true);
    EXPECT_STREQ(text, "");
    SetNoDatabaseFlag(true);  // merge texts still see the database
    GetMergeFieldText(kFieldCity, text, false);
    EXPECT_STREQ(text, "Boston");
    SetNoDatabaseFlag(false);

    SetPreviewOnlyMode(true);
    GetMergeFieldText(kFieldCity, text, false);
    EXPECT_STREQ(text, "Preview City");
    GetMergeFieldText(kFieldPostalDigits, text, false);
    EXPECT_STREQ(text, "12345678907");
    GetMergeFieldText(kFieldDeliveryPoint, text, false);
    EXPECT_STREQ(text, "07");
    GetPreviewFieldText(77, false, text);
    EXPECT_STREQ(text, "[???]");
    // Only a record's empty field stays empty on a printed card; a sample
    // text that is empty shows the field's name there too.
    GetMergeFieldText(kFieldFirstName, text, true);
    EXPECT_STREQ(text, "FirstName");
    SetPreviewOnlyMode(false);

    const bool previous = SetShowFieldNames(true);
    GetMergeFieldText(kFieldCity, text, false);
    EXPECT_STREQ(text, "[City]");
    SetShowFieldNames(previous);
    SetMergeDatabaseLookup(nullptr);
    for (int32_t id : {kFieldCity, kFieldAddress1, kFieldZipCode})
        SetFieldPreviewText(id, "");
}

}  // namespace
