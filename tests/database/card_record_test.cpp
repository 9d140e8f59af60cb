#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "database/card_record.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "foundation/byte_order.h"

namespace {

std::string Field(const CardRecord& r, int32_t id)
{
    char text[256];
    r.GetFieldText(id, text);
    return text;
}

TEST(CardRecord, ClearedRecordIsAnEmptyNewRecordOf33Bytes)
{
    CardRecord r;
    EXPECT_EQ(r.HeaderWord(), 0x02FC);
    EXPECT_EQ(r.GetLength(), 33u);
    EXPECT_TRUE(r.IsNew());
    EXPECT_EQ(SoundRecordLength(r.Image()), 33u);
}

TEST(CardRecord, SetFieldClampsToTheMaximumAndMarksOnlyRealChanges)
{
    CardRecord r;
    r.SetFlags(0);
    r.SetFieldText(kFieldState, "CALIFORNIA");
    EXPECT_EQ(Field(r, kFieldState), "CALI");
    EXPECT_TRUE(r.IsModified());
    r.SetModified(false);
    r.SetFieldText(kFieldState, "CALIFORNIA");
    EXPECT_FALSE(r.IsModified());
    r.SetFieldText(kFieldState, "CALX");
    EXPECT_TRUE(r.IsModified());
}

TEST(CardRecord, BodiesMoveWhenAFieldBeforeThemChanges)
{
    CardRecord r;
    r.SetFieldText(kFieldFirstName, "Anna");
    r.SetFieldText(kFieldLastName, "M\xFCller");
    r.SetFieldText(kFieldCustom6, "last");
    r.SetFieldText(kFieldDate, "20240131");
    EXPECT_EQ(Field(r, kFieldFirstName), "Anna");
    EXPECT_EQ(Field(r, kFieldLastName), "M\xFCller");
    EXPECT_EQ(Field(r, kFieldCustom6), "last");
    r.SetFieldText(kFieldFirstName, "");
    EXPECT_EQ(Field(r, kFieldLastName), "M\xFCller");
    EXPECT_EQ(Field(r, kFieldCustom6), "last");
    EXPECT_EQ(r.FieldOffset(kFieldLastName), 8u);
    EXPECT_EQ(r.LengthFrom(kFieldLastName), 6u + 4u);
    EXPECT_EQ(r.Image()[dbrec::kBodies + 8 + 10], 0);  // the zero byte after the bodies
}

TEST(CardRecord, SlackTakesShrinkingAndGrowingBeyondItMarksGrown)
{
    CardRecord r;
    r.SetFieldText(kFieldCity, "Springfield");
    r.SetSlack(5);
    r.SetGrown(false);
    const uint32_t length = r.GetLength();
    r.SetFieldText(kFieldCity, "Rome");
    EXPECT_EQ(r.Slack(), 12);
    EXPECT_EQ(r.GetLength(), length);
    EXPECT_FALSE(r.IsGrown());
    r.SetFieldText(kFieldCity, "Springfield Heights East");
    EXPECT_EQ(r.Slack(), 0);
    EXPECT_TRUE(r.IsGrown());
    EXPECT_EQ(r.GetLength(), 33u + 24u);
}

TEST(CardRecord, CategoriesLiveInTheHeadAndTakeNoBodyRoom)
{
    CardRecord r;
    r.SetFlags(0);
    r.SetCategories(0x0005);
    EXPECT_TRUE(r.IsModified());
    EXPECT_EQ(GetU16LE(r.Image() + 30), 0x0005);
    EXPECT_EQ(r.GetLength(), 33u);
    r.SetFieldText(kFieldCategories, "xx");
    EXPECT_EQ(r.GetLength(), 33u);
}

TEST(RecordLayout, OnlySoundHeadsGiveALength)
{
    uint8_t head[dbrec::kMaxRecordSize + 10] = {};
    head[0] = 0xFC;
    head[dbrec::kLengths + kFieldState] = 4;
    PutI16LE(head + 2, 10);
    EXPECT_EQ(SoundRecordLength(head), 47u);

    head[0] = 0xFD;
    EXPECT_EQ(SoundRecordLength(head), 0u);
    head[0] = 0xFC;
    PutI16LE(head + 2, -1);
    EXPECT_EQ(SoundRecordLength(head), 0u);
    EXPECT_EQ(RecordLength(head), 36);
    PutI16LE(head + 2, 0);
    head[dbrec::kLengths + kFieldState] = 5;  // one over the field's maximum
    EXPECT_EQ(SoundRecordLength(head), 0u);
    head[dbrec::kLengths + kFieldState] = 4;
    PutI16LE(head + 2, int16_t(1103 - 37 + 1));
    EXPECT_EQ(SoundRecordLength(head), 0u);
    PutI16LE(head + 2, int16_t(1103 - 37));
    EXPECT_EQ(SoundRecordLength(head), 1103u);

    CardRecord r;
    head[dbrec::kLengths + kFieldState] = 9;
    EXPECT_FALSE(r.LoadImage(head, 1108));
    EXPECT_EQ(r.GetLength(), 33u);
}

TEST(FieldTable, ColumnsIdsAndNames)
{
    EXPECT_EQ(FieldIdByIndex(0), kFieldFirstName);
    EXPECT_EQ(FieldIdByIndex(22), kFieldCategories);
    EXPECT_EQ(FieldIdByIndex(23), kFieldDate);
    EXPECT_EQ(FieldIdByIndex(25), -1);
    EXPECT_EQ(FieldIndexOfId(kFieldLastName, 1), 2);
    EXPECT_EQ(FieldIndexOfId(30, 0), -1);
    EXPECT_EQ(FieldIdAtIndex(0, 1), -1);
    EXPECT_EQ(FieldMaxLength(kFieldCustom1), 255u);
    EXPECT_EQ(FieldMaxLength(99), 0u);
    uint32_t sum = 0;
    for (int32_t id = 0; id < kBodyFieldCount; ++id)
        sum += FieldMaxLength(id);
    EXPECT_EQ(sum + 33, dbrec::kMaxRecordSize);

    char name[kFieldTypeNameSize];
    ResetCustomFieldNames();
    FieldTypeName(18, name, true, false);
    EXPECT_STREQ(name, "Custom2");
    FieldTypeName(18, name, false, true);
    EXPECT_STREQ(name, "[..........]");
    uint8_t names[6 * 32] = {};
    std::memset(names + 32, 'N', 32);  // no terminator in the slot
    SetCustomFieldNames(names);
    FieldTypeName(18, name, true, true);
    EXPECT_EQ(std::string(name), "[" + std::string(31, 'N') + "]");
    FieldTypeName(77, name, true, true);
    EXPECT_STREQ(name, "[???]");
    FieldTypeName(-1, name, true, true);
    EXPECT_STREQ(name, "");
    char longName[] = "A name that is far longer than thirty-one characters";
    SetFieldName(kFieldCustom1, longName);
    EXPECT_EQ(std::strlen(longName), 31u);
    ResetCustomFieldNames();
}

}  // namespace
