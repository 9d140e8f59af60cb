// The open-database registry: slots and ordinals as databases open and
// close, the current database and its custom field names, the suppress
// flag, and the pending bulk-mail sort.

#include <gtest/gtest.h>

#include "database/merge_text.h"
#include "database/open_database_registry.h"
#include "dbdoc/column_names.h"
#include "dbdoc_test_util.h"
#include "support/shell.h"

namespace {

class RegistryTest : public DbDocTest {
protected:
    void TearDown() override
    {
        SetNoDatabaseFlag(false);
        SetBulkMailResortFlag(0);
        SetCurrentDatabase(nullptr);
    }
    static std::string Name(int32_t ordinal)
    {
        char name[256];
        return GetOpenDatabaseName(ordinal, name) == 0 ? std::string(name) : std::string("none").append(name);
    }
    static std::string CurrentName()
    {
        char name[256];
        return GetCurrentDatabaseName(name) == 0 ? std::string(name) : std::string("none").append(name);
    }
    static std::string CustomName(int32_t id)
    {
        char name[kFieldTypeNameSize];
        FieldTypeName(id, name, false, false);
        return name;
    }
};

TEST_F(RegistryTest, OrdinalsCountTheOpenDatabasesInSlotOrder)
{
    EXPECT_FALSE(AnyDatabaseOpen());
    auto a = MakeSamples("a.dqx", 1);
    auto b = MakeSamples("b.dqx", 1);
    auto c = MakeSamples("c.dqx", 1);
    EXPECT_EQ(CountOpenDatabases(), 3);
    EXPECT_EQ(Name(2), "b.dqx");
    b->Close();
    EXPECT_EQ(CountOpenDatabases(), 2);
    EXPECT_EQ(Name(2), "c.dqx");
    EXPECT_EQ(Name(3), "none");
    EXPECT_EQ(Name(0), "none");
    EXPECT_TRUE(ActivateOpenDatabase(2));
    EXPECT_EQ(GetCurrentDatabaseDoc(), c.get());
    EXPECT_EQ(GetCurrentDatabaseOrdinal(), 2);
    EXPECT_EQ(CurrentName(), "c.dqx");
    EXPECT_FALSE(ActivateOpenDatabase(3));
    EXPECT_FALSE(ActivateOpenDatabase(0));
    EXPECT_EQ(GetCurrentDatabaseDoc(), c.get());

    // The freed slot is taken again, ahead of the later ones.
    auto d = MakeSamples("d.dqx", 1);
    EXPECT_EQ(Name(2), "d.dqx");
    EXPECT_EQ(GetCurrentDatabaseOrdinal(), 3);
    EXPECT_EQ(RegisterDatabase(d.get()), 1);  // already there: the same slot
    EXPECT_EQ(CountOpenDatabases(), 3);
}

TEST_F(RegistryTest, ClosingTheCurrentDatabaseLeavesNoneAndItsFieldNames)
{
    auto a = MakeSamples("a.dqx", 3);
    auto b = MakeSamples("b.dqx", 5);
    std::memset(b->Header() + dbh::kCustomNames, 0, dbh::kNameSize);
    std::strcpy(reinterpret_cast<char*>(b->Header() + dbh::kCustomNames), "Birthday");
    SetCurrentDatabase(b.get());
    EXPECT_EQ(CustomName(kFieldCustom1), "Birthday");
    EXPECT_EQ(GetCurrentLiveRecordCount(), 5);
    b.reset();
    EXPECT_EQ(GetCurrentDatabaseDoc(), nullptr);
    EXPECT_EQ(GetCurrentDataFile(), nullptr);
    EXPECT_EQ(GetCurrentDatabaseOrdinal(), 0);
    EXPECT_EQ(CurrentName(), "none");
    EXPECT_EQ(CountOpenDatabases(), 1);
    EXPECT_EQ(CustomName(kFieldCustom1), "Birthday");
    const auto names = ColumnNames();
    EXPECT_EQ(names[1], "LastName");
    EXPECT_EQ(names[15], "Birthday");
    SetCurrentDatabase(a.get());
    EXPECT_EQ(ColumnNames()[15], "Custom1");
    EXPECT_NE(CustomName(kFieldCustom1), "Birthday");
    SetCurrentDatabase(nullptr);
    EXPECT_EQ(CustomName(kFieldCustom1), "..........");
}

TEST_F(RegistryTest, TheSuppressFlagHidesTheCurrentDatabase)
{
    auto a = MakeSamples("a.dqx", 4);
    SetCurrentDatabase(a.get());
    SetNoDatabaseFlag(true);
    EXPECT_EQ(GetCurrentDatabaseDoc(), nullptr);
    EXPECT_EQ(GetCurrentDataFile(), nullptr);
    EXPECT_EQ(GetCurrentLiveRecordCount(), 0);
    EXPECT_FALSE(GotoCurrentDatabaseRecord(0));
    SetNoDatabaseFlag(false);
    EXPECT_EQ(GetCurrentDataFile(), &a->Data());
    EXPECT_EQ(GetCurrentLiveRecordCount(), 4);
}

TEST_F(RegistryTest, RowsOfTheCurrentDatabaseFeedTheCards)
{
    EXPECT_FALSE(GotoCurrentDatabaseRecord(0));
    auto a = Make("a.dqx", {{{kFieldLastName, "Bell"}}, {{kFieldLastName, "Abbot"}}, {{kFieldLastName, "Cole"}}});
    SetCurrentDatabase(a.get());
    EXPECT_TRUE(GotoCurrentDatabaseRecord(2));
    EXPECT_EQ(FieldOf(a->Data().Current(), kFieldLastName), "Cole");
    EXPECT_TRUE(GotoCurrentDatabaseRecord(0));
    EXPECT_EQ(FieldOf(a->Data().Current(), kFieldLastName), "Abbot");
    EXPECT_FALSE(GotoCurrentDatabaseRecord(3));
    EXPECT_FALSE(GotoCurrentDatabaseRecord(-1));
    // The merge texts read the current record.
    char text[256];
    GetMergeFieldText(kFieldLastName, text, true);
    EXPECT_STREQ(text, "Abbot");
}

TEST_F(RegistryTest, APendingBulkMailSortRunsOnTheCurrentDatabase)
{
    EXPECT_EQ(ApplyPendingDatabaseSort(), 0);
    SetBulkMailResortFlag(1);
    EXPECT_EQ(ApplyPendingDatabaseSort(), 1);
    auto a = MakeSamples("a.dqx", 2);
    SetCurrentDatabase(a.get());
    EXPECT_EQ(ApplyPendingDatabaseSort(), 7);
    EXPECT_EQ(a->sortModes, std::vector<int32_t>{2});
    SetBulkMailResortFlag(0);
    EXPECT_EQ(ApplyPendingDatabaseSort(), 0);
    EXPECT_EQ(a->sortModes.size(), 1u);
}

TEST_F(RegistryTest, ATwentyFirstDatabaseWorksButIsNotOffered)
{
    std::vector<std::unique_ptr<TestDocument>> open;
    for (int i = 0; i < kMaxOpenDatabases; ++i)
        open.push_back(MakeSamples(std::string("d").append(std::to_string(i)).append(".dqx"), 1));
    EXPECT_EQ(CountOpenDatabases(), kMaxOpenDatabases);
    auto extra = MakeSamples("extra.dqx", 2);
    ASSERT_TRUE(extra->IsOpen());
    EXPECT_EQ(CountOpenDatabases(), kMaxOpenDatabases);
    EXPECT_EQ(RegisterDatabase(extra.get()), -1);
    for (int32_t n = 1; n <= kMaxOpenDatabases; ++n)
        EXPECT_NE(Name(n), "extra.dqx");
    // Its window may still make it current; closing it leaves none.
    SetCurrentDatabase(extra.get());
    EXPECT_EQ(GetCurrentDatabaseOrdinal(), 0);
    extra.reset();
    EXPECT_EQ(GetCurrentDatabaseDoc(), nullptr);
    // Once a slot is free, the next database is offered.
    open[4].reset();
    auto late = MakeSamples("late.dqx", 1);
    EXPECT_EQ(Name(5), "late.dqx");
}

TEST_F(RegistryTest, ADatabaseThatFailsToOpenIsNeverRegistered)
{
    WriteFileBytes(dir.file("bad.dqx"), std::string(7000, 'x'));
    TestDocument document;
    EXPECT_FALSE(document.Open(Path("bad.dqx")));
    EXPECT_EQ(CountOpenDatabases(), 0);
    EXPECT_FALSE(document.Open(Path("missing.dqx")));
    EXPECT_EQ(CountOpenDatabases(), 0);
    // Open twice: refused, the first stays.
    auto a = MakeSamples("a.dqx", 1);
    TestDocument again;
    EXPECT_FALSE(again.Open(Path("a.dqx")));
    EXPECT_EQ(capture.lastText(), "Database already opened!!!");
    EXPECT_EQ(CountOpenDatabases(), 1);
}

}  // namespace
