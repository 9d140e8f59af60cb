#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frames/record_table.h"
#include "frames/store_array.h"
#include "support/alert_capture.h"

namespace {

std::string Letters(StoreArray& s)
{
    std::string out;
    for (int32_t i = s.FirstIndex(); i < s.FirstIndex() + s.Count(); ++i) {
        char c = 0;
        s.GetBytes(i, &c, 1);
        out += c;
    }
    return out;
}

void Fill(StoreArray& s, const char* letters)
{
    for (const char* p = letters; *p; ++p) {
        char record[4] = {*p, 1, 2, 3};
        ASSERT_EQ(s.Append(record), 0);
    }
}

TEST(StoreArray, InsertOutsideTheRecordsAppendsOrPutsFirst)
{
    StoreArray s(4);
    Fill(s, "bc");
    char a[4] = {'a'}, d[4] = {'d'};
    EXPECT_EQ(s.InsertAt(-7, a), 0);
    EXPECT_EQ(s.InsertAt(99, d), 0);
    EXPECT_EQ(Letters(s), "abcd");
    EXPECT_EQ(HandleGetSize(s.Records()), 16u);
}

TEST(StoreArray, DeleteClipsAtTheEndAndRefusesStartsOutsideTheRecords)
{
    StoreArray s(4);
    Fill(s, "abcdef");
    EXPECT_EQ(s.DeleteAt(4, 10), 0);
    EXPECT_EQ(Letters(s), "abcd");
    EXPECT_EQ(s.DeleteAt(1, 0), 0);
    EXPECT_EQ(s.DeleteAt(4, 1), 0);
    // A start before the first record would move memory from before the
    // array.
    EXPECT_EQ(s.DeleteAt(-1, 2), 0);
    EXPECT_EQ(Letters(s), "abcd");
    EXPECT_EQ(s.DeleteAt(1, 2), 0);
    EXPECT_EQ(Letters(s), "ad");
    EXPECT_EQ(HandleGetSize(s.Records()), 8u);
}

TEST(StoreArray, UncheckedAccessOutsideTheRecordsCopiesNothing)
{
    StoreArray s(4);
    Fill(s, "a");
    uint8_t out[4] = {9, 9, 9, 9};
    s.ReadAt(5, out);
    EXPECT_EQ(out[0], 0);
    uint8_t in[4] = {'z'};
    s.WriteAt(-1, in);
    s.WriteAt(1, in);
    EXPECT_EQ(Letters(s), "a");
    EXPECT_EQ(s.RecordPtr(1), nullptr);
}

TEST(StoreArray, InitArrayCountsWholeRecordsAndNotesANullHandle)
{
    StoreArray s;
    Handle h = HandleNew(10);
    EXPECT_EQ(s.InitArray(h, 4), 2);
    AlertCapture alerts;
    StoreArray empty;
    EXPECT_EQ(empty.InitArray(nullptr, 4), 0);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(), "InitArray");
}

TEST(RecordTable, IndexesStartAtOneAndAreChecked)
{
    RecordTable t(4);
    Fill(t, "xy");
    char r[4] = {};
    EXPECT_TRUE(t.GetRecord(1, r));
    EXPECT_EQ(r[0], 'x');
    EXPECT_FALSE(t.GetRecord(0, r));
    EXPECT_FALSE(t.GetRecord(3, r));
    char z[4] = {'z'};
    t.SetRecord(0, z);
    t.SetRecord(3, z);
    EXPECT_EQ(Letters(t), "xy");
    t.SetRecord(2, z);
    EXPECT_EQ(Letters(t), "xz");
}

TEST(RecordTable, InsertRecordsStopsAtTheFirstFailure)
{
    RecordTable t(4);
    char r[4] = {'q', 0, 0, 7};
    EXPECT_EQ(t.InsertRecords(3, 1, r), 0);
    EXPECT_EQ(Letters(t), "qqq");
    RecordTable u(4);
    MemInjectAllocationFailure(1);
    EXPECT_EQ(u.InsertRecords(3, 1, r), 1);
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(u.Count(), 1);
    EXPECT_EQ(HandleGetSize(u.Records()), 4u);
}

}  // namespace
