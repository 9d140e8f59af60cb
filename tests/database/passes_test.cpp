#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "database/bulk_mail_tiers.h"
#include "database/match_predicates.h"
#include "database/record_file_format.h"
#include "database/record_key.h"
#include "db_test_util.h"
#include "foundation/byte_order.h"
#include "support/alert_capture.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

// A criteria block (the header from offset 222 on).
struct Criteria {
    uint8_t bytes[kDbHeaderSize - kCriteriaBase] = {};
    uint8_t* at(uint32_t headerOffset) { return bytes + (headerOffset - kCriteriaBase); }
    void text(uint32_t headerOffset, const char* value) { std::strcpy(reinterpret_cast<char*>(at(headerOffset)), value); }
    void query(int32_t field, uint8_t op, const char* value)
    {
        PutU16LE(at(dbh::kQueryField), uint16_t(field));
        *at(dbh::kQueryOperator) = op;
        text(dbh::kQueryValue, value);
    }
};

CardRecord& Record(CardRecord& r, const std::map<int32_t, std::string>& fields)
{
    r.Clear();
    for (const auto& [id, text] : fields)
        r.SetFieldText(id, text.c_str());
    return r;
}

TEST(MatchPredicates, QueryOperators)
{
    CardRecord r;
    Record(r, {{kFieldCity, "Portland"}, {kFieldState, "OR"}, {kFieldZipCode, "97211"}, {kFieldTitle, "   "}});
    Criteria c;
    struct Case {
        int32_t field;
        uint8_t op;
        const char* value;
        bool match;
    } cases[] = {
        {kFieldCity, 0, "port", true},    {kFieldCity, 0, "Portlands", false}, {kFieldCity, 1, "LAND", true},
        {kFieldCity, 2, "tla", true},     {kFieldCity, 3, "tla", false},       {kFieldCity, 4, "Pa", true},
        {kFieldCity, 4, "Portland", false}, {kFieldCity, 4, "Port", true},     {kFieldCity, 4, "port", false},
        {kFieldCity, 5, "Portlandia", true}, {kFieldZipCode, 6, "5", true},   {kFieldZipCode, 7, "5", false},
        {kFieldZipCode, 8, "4", true},    {kFieldZipCode, 9, "4", false},      {kFieldTitle, 10, "", true},
        {kFieldCompany, 10, "", true},    {kFieldCity, 11, "", true},          {kFieldTitle, 11, "", false},
        {kFieldCity, 12, "nothing", true}, {999, 10, "", true},
    };
    for (const Case& k : cases) {
        c.query(k.field, k.op, k.value);
        EXPECT_EQ(QueryMatch(r, c.bytes), k.match) << int(k.op) << " " << k.value;
    }
}

TEST(MatchPredicates, FindValuesSearchAndCombinedCriteria)
{
    CardRecord r;
    Record(r, {{kFieldFirstName, "Anna"}, {kFieldLastName, "M\xFCller"}, {kFieldCustom6, "vip"}});
    Criteria c;
    EXPECT_TRUE(FindOneMatch(r, c.bytes, true));  // no values: everything
    c.text(dbh::kSelectionValues + 1 * dbh::kFindValueSize, "\xFCLL");
    EXPECT_TRUE(FindOneMatch(r, c.bytes, true));
    EXPECT_TRUE(FindOneMatch(r, c.bytes, false));  // the Find One values are empty
    c.text(dbh::kSelectionValues, "bob");
    EXPECT_FALSE(FindOneMatch(r, c.bytes, true));
    c.text(dbh::kSelectionValues, "");

    c.text(dbh::kSearchText, "VIP");
    EXPECT_TRUE(SearchAllMatch(r, c.bytes, true));
    PutU16LE(c.at(dbh::kKeySearchField), kFieldFirstName);
    c.text(dbh::kKeyText, "an");
    EXPECT_TRUE(SearchAllMatch(r, c.bytes, false));

    PutU16LE(c.bytes, 12);  // find values and search over all fields
    EXPECT_TRUE(CriteriaMatch(r, c.bytes));
    c.text(dbh::kSearchText, "nowhere");
    EXPECT_FALSE(CriteriaMatch(r, c.bytes));
    // Slots without a terminator are read no further than their size.
    std::memset(c.at(dbh::kSearchText), 'v', dbh::kSearchTextSize);
    EXPECT_FALSE(SearchAllMatch(r, c.bytes, true));
}

TEST(MatchPredicates, CategoryModesAndInversion)
{
    uint8_t flags[15] = {};
    EXPECT_EQ(CategoryFilterMode(flags), 0);
    flags[1] = 1;
    EXPECT_EQ(CategoryFilterMode(flags), 1);
    EXPECT_EQ(CategoryMaskFromFlags(flags), 1);
    flags[3] = 1;
    EXPECT_EQ(CategoryFilterMode(flags), 3);
    EXPECT_EQ(CategoryMaskFromFlags(flags), 5);
    flags[1] = 0;
    EXPECT_EQ(CategoryFilterMode(flags), 2);
    flags[0] = 1;
    EXPECT_EQ(CategoryFilterMode(flags), 0);
    EXPECT_TRUE(CategoryFilterMatch(4, 2, 5));
    EXPECT_FALSE(CategoryFilterMatch(1, 2, 5));
    EXPECT_FALSE(CategoryFilterMatch(4, 3, 5));
    EXPECT_TRUE(CategoryFilterMatch(5, 3, 5));
    EXPECT_EQ(InvertCategoryBits(0xC005, 0xFFFF), 0xFFFA);
    EXPECT_EQ(ProgressStep(499), 0);
    EXPECT_EQ(ProgressStep(999), 100);
    EXPECT_EQ(ProgressStep(39999), 1000);
    EXPECT_EQ(ProgressStep(40000), 100);
}

TEST(RecordKey, SortFieldsWithSpacesAndBulkMailColumns)
{
    CardRecord r;
    Record(r, {{kFieldLastName, "smith"}, {kFieldState, "CALI"}, {kFieldZipCode, "12345"}, {kFieldFirstName, "ann"}});
    SortSpec order;
    order.fields[1] = kFieldState;
    order.fields[2] = kFieldFirstName;
    char key[kIndexKeySize];
    BuildIndexKey(r, order, key);
    EXPECT_STREQ(key, "Smith CALIann ");  // a full field gets no space
    order.bulkMail = 1;
    BuildIndexKey(r, order, key);
    EXPECT_STREQ(key, " 12345        CALI");
    order = SortSpec{};
    order.fields[0] = kFieldCustom1;
    r.SetFieldText(kFieldCustom1, std::string(255, 'q').c_str());
    BuildIndexKey(r, order, key);
    EXPECT_EQ(std::strlen(key), size_t(kIndexKeyMax));
    EXPECT_EQ(key[0], 'Q');
}

// The presort as a walk that starts over after every group, on a model of
// the index: the sorted set of (key, sequence).
std::vector<std::pair<std::string, int>> ReferencePresort(const std::vector<std::string>& keys, int mode)
{
    std::set<std::pair<std::string, int>> index;
    for (size_t i = 0; i < keys.size(); ++i)
        index.insert({keys[i], int(i)});
    auto retier = [&](auto pick, auto rekey) {
        std::vector<std::pair<std::string, int>> hit;
        for (const auto& e : index)
            if (e.first[0] == ' ' && pick(e.first))
                hit.push_back(e);
        for (auto& e : hit) {
            index.erase(e);
            index.insert({rekey(e.first), e.second});
        }
    };
    for (const std::pair<size_t, char>& pass : {std::pair<size_t, char>{5, '0'}, {3, '1'}}) {
        const size_t length = pass.first;
        const char tier = pass.second;
        bool again = true;
        while (again) {
            again = false;
            std::string run;
            int count = 0;
            for (const auto& e : index) {
                if (e.first[0] != ' ')
                    continue;
                const std::string prefix = e.first.substr(1, length);
                count = prefix == run ? count + 1 : 1;
                run = prefix;
                if (count == 10) {
                    retier([&](const std::string& k) { return k.substr(1, length) == run; },
                           [&](std::string k) { k[0] = tier; return k; });
                    again = true;
                    break;
                }
            }
        }
    }
    while (mode == 2) {
        auto first = std::find_if(index.begin(), index.end(), [](auto& e) { return e.first[0] == ' '; });
        if (first == index.end())
            break;
        const std::string state = first->first.substr(14, 2);
        int count = 0;
        for (const auto& e : index)
            count += e.first[0] == ' ' && e.first.substr(14, 2) == state;
        const bool large = count >= 10;
        retier([&](const std::string& k) { return k.substr(14, 2) == state; },
               [&](const std::string& k) {
                   std::string out(1, large ? '2' : '3');
                   if (large)
                       out.append(k, 14, 4).append(k, 1, 13);
                   else
                       out.append(k, 1, std::string::npos);
                   return out;
               });
    }
    std::vector<std::pair<std::string, int>> out;
    for (auto e : index) {
        if (e.first[0] == ' ')
            e.first[0] = '3';
        out.push_back(e);
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(BulkMailTiers, LinearTiersEqualTheWalkThatStartsOver)
{
    std::mt19937 random(5);
    const char* states[] = {"CA", "NY", "TX", "WA", "OR", "ME"};
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> keys;
        const int n = 50 + int(random() % 400);
        for (int i = 0; i < n; ++i) {
            char key[32];
            std::snprintf(key, sizeof key, " %03u%02u%-8s%-4s", unsigned(100 + random() % (round % 3 ? 8 : 40)),
                          unsigned(random() % 15), i % 7 ? "" : "-1234", states[random() % 6]);
            keys.push_back(key);
        }
        for (int mode = 1; mode <= 2; ++mode) {
            std::vector<std::string> linear = keys;
            AssignBulkMailTiers(linear, mode);
            std::vector<std::pair<std::string, int>> got;
            for (size_t i = 0; i < linear.size(); ++i)
                got.push_back({linear[i], int(i)});
            std::sort(got.begin(), got.end());
            ASSERT_EQ(got, ReferencePresort(keys, mode)) << "round " << round << " mode " << mode;
        }
    }
}

class PassesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.Create(DbPath(dir.file("p.dqx")))); }
    DataFile& data() { return db.Data(); }
    int32_t Add(const std::map<int32_t, std::string>& fields, uint16_t categories = 0)
    {
        FillCurrent(data(), fields);
        data().Current().SetCategories(categories);
        return data().AddRecord(false, true);
    }
    int32_t Select(const uint8_t* flags, Criteria& c) { return data().BuildSelection(flags, c.bytes); }

    TempDir dir;
    AlertCapture capture;
    DatabaseSession db;
    uint8_t all[15] = {1};
};

TEST_F(PassesTest, SelectionIndexesLiveRecordsAndCountsTheRest)
{
    int32_t offsetOfTwo = -1;
    for (int n = 0; n < 20; ++n) {
        const int32_t offset = Add(SampleFields(n), uint16_t(n % 4));
        if (n == 2)
            offsetOfTwo = offset;
    }
    data().SetCurrentAndRead(offsetOfTwo, -1, true, true);
    ASSERT_EQ(data().DeleteRecord(true), 1);
    Criteria none;
    ASSERT_EQ(Select(all, none), 1);
    EXPECT_EQ(data().GetLiveCount(), 19);
    EXPECT_EQ(data().GetDeletedCount(), 1);
    EXPECT_EQ(data().GetStoredCount(), 20);
    EXPECT_EQ(data().CurrentPosition(), 0);

    uint8_t selected[15] = {0, 1};
    Select(selected, none);
    EXPECT_EQ(data().GetLiveCount(), 10);  // categories 1 and 3
    Criteria query;
    PutU16LE(query.bytes, 3);
    query.query(kFieldState, 0, "ca");
    Select(all, query);
    EXPECT_EQ(data().GetLiveCount(), 5);
}

TEST_F(PassesTest, FindRunsInThreeDirectionsAndStopsAtTheEnds)
{
    for (int n = 0; n < 7; ++n)
        Add(SampleFields(n));
    Criteria c;
    c.text(dbh::kFindValues + 1 * dbh::kFindValueSize, "o");  // LastName contains "o"
    // Adams, Brown, Jones, Mueller, Nguyen, Smith, Zoller
    EXPECT_EQ(data().FindRecords(kFindFromFirst, kFindValues, c.bytes), 1);
    EXPECT_EQ(data().FindRecords(kFindForward, kFindValues, c.bytes), 2);
    EXPECT_EQ(data().FindRecords(kFindForward, kFindValues, c.bytes), 6);
    EXPECT_EQ(data().FindRecords(kFindForward, kFindValues, c.bytes), -1);
    EXPECT_EQ(data().CurrentPosition(), 6);
    EXPECT_EQ(data().FindRecords(kFindBackward, kFindValues, c.bytes), 2);
    EXPECT_EQ(data().FindRecords(kFindBackward, kFindValues, c.bytes), 1);
    EXPECT_EQ(data().FindRecords(kFindBackward, kFindValues, c.bytes), -1);

    c.text(dbh::kKeyText, "n");
    EXPECT_EQ(data().FindRecords(kFindFromFirst, kFindKey, c.bytes), 4);  // Nguyen
    c.text(dbh::kKeyText, "zz");
    EXPECT_EQ(data().FindRecords(kFindFromFirst, kFindKey, c.bytes), -1);
    c.query(kFieldLastName, 1, "ith");
    EXPECT_EQ(data().FindRecords(kFindFromFirst, kFindQuery, c.bytes), 5);
}

TEST_F(PassesTest, IncrementalFindFollowsTheTypedPrefixes)
{
    Add({{kFieldLastName, "Smith"}, {kFieldFirstName, "Zed"}});
    Add({{kFieldLastName, "Smith"}, {kFieldFirstName, "Amy"}});
    Add({{kFieldLastName, "Smythe"}, {kFieldFirstName, "Amy"}});
    Add({{kFieldLastName, "Jones"}, {kFieldFirstName, "Amy"}});
    TypedEntries typed;
    typed.typed[1] = 1;
    std::strcpy(typed.texts[1], "sm");
    EXPECT_EQ(data().IncrementalFind(typed, true), 1);
    typed.typed[0] = 1;
    std::strcpy(typed.texts[0], "a");
    EXPECT_EQ(data().IncrementalFind(typed, true), 2);
    std::strcpy(typed.texts[0], "b");
    EXPECT_EQ(data().IncrementalFind(typed, true), -1);  // no Sm... Bob
    typed.typed[1] = 0;
    EXPECT_EQ(data().IncrementalFind(typed, true), -1);
    std::strcpy(typed.texts[0], "amy");
    EXPECT_EQ(data().IncrementalFind(typed, false), 0);  // Jones, Amy
}

TEST_F(PassesTest, CategoriesChangeOnlyTheMaskedBitsOfTheSelection)
{
    const int32_t in = Add({{kFieldLastName, "In"}}, 0x0011);
    const int32_t out = Add({{kFieldLastName, "Out"}}, 0x0002);
    uint8_t selected[15] = {0, 1};
    Criteria none;
    Select(selected, none);
    ASSERT_EQ(data().GetLiveCount(), 1);
    uint8_t flags[15] = {0, 1, 0, 1};  // categories 0 and 2
    ASSERT_EQ(data().ChangeCategories(flags, kCategoriesInvert), 1);
    CardRecord r;
    data().ReadRecordAt(in, &r, 0);
    EXPECT_EQ(r.GetCategories(), 0x0014);
    data().ReadRecordAt(out, &r, 0);
    EXPECT_EQ(r.GetCategories(), 0x0002);
    Select(all, none);
    data().ChangeCategories(flags, kCategoriesSet);
    data().ReadRecordAt(out, &r, 0);
    EXPECT_EQ(r.GetCategories(), 0x0007);
    data().ChangeCategories(flags, kCategoriesReset);
    data().ReadRecordAt(out, &r, 0);
    EXPECT_EQ(r.GetCategories(), 0x0002);
}

TEST_F(PassesTest, DuplicatesGoWhateverTheirCategoriesAndTheFirstOfEachStays)
{
    const int32_t first = Add({{kFieldLastName, "Smith"}, {kFieldFirstName, "Amy"}}, 1);
    Add({{kFieldLastName, "Jones"}, {kFieldFirstName, "Amy"}});
    Add({{kFieldLastName, "Smith"}, {kFieldFirstName, "Amy"}}, 2);
    Add({{kFieldLastName, "Smith"}, {kFieldFirstName, "Amy"}, {kFieldCity, "Austin"}});
    Add({{kFieldLastName, "Jones"}, {kFieldFirstName, "Amy"}});
    Add({{kFieldLastName, "Jones"}, {kFieldFirstName, "Amy"}});
    Criteria none;
    ASSERT_EQ(Select(all, none), 1);
    EXPECT_EQ(data().DeleteDuplicateRecords(), 3);
    EXPECT_EQ(data().GetLiveCount(), 3);
    EXPECT_EQ(data().GetDeletedCount(), 3);
    // The index lists exactly the records left.
    std::set<int32_t> listed;
    for (int32_t p = 0; p < data().GetLiveCount(); ++p) {
        ASSERT_GE(data().GotoRecord(p, false, false), 0);
        EXPECT_FALSE(data().IsCurrentRecordDeleted());
        listed.insert(data().CurrentOffset());
    }
    EXPECT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed.count(first), 1u);
    EXPECT_EQ(data().DeleteDuplicateRecords(), 0);
}

TEST_F(PassesTest, DuplicatesAreFoundAcrossCaseOfTheNameAndOnlyWhenEveryFieldIsEqual)
{
    // The index orders names without regard to the case of their first
    // letter, so a "smith" stands between two equal "Smith"s.
    Add({{kFieldLastName, "Smith"}, {kFieldFirstName, "Amy"}});
    Add({{kFieldLastName, "smith"}, {kFieldFirstName, "Amy"}});
    Add({{kFieldLastName, "Smith"}, {kFieldFirstName, "Amy"}});
    Add({{kFieldLastName, "smith"}, {kFieldFirstName, "Amy"}});
    Criteria none;
    ASSERT_EQ(Select(all, none), 1);
    EXPECT_EQ(data().DeleteDuplicateRecords(), 2);
    EXPECT_EQ(data().GetLiveCount(), 2);

    // A record that differs from another in any one of fields 0 to 23 alone
    // is not a duplicate; only the exact copy goes.
    std::map<int32_t, std::string> base;
    for (int32_t id = 0; id < kBodyFieldCount; ++id)
        base[id] = id == kFieldLastName ? "Lee" : "v";
    int32_t pointAt = -1;
    for (int32_t id = 0; id < kBodyFieldCount; ++id) {
        std::map<int32_t, std::string> other = base;
        other[id] = id == kFieldLastName ? "lee" : "w";
        const int32_t at = Add(other);
        if (id == kFieldDeliveryPoint) {
            // The program makes the delivery point from the address; only a
            // file written elsewhere differs there alone.
            CardRecord r;
            data().ReadRecordAt(at, &r, 0);
            ASSERT_EQ(r.GetFieldLength(id), 2);
            pointAt = at + int32_t(r.FieldBody(id) - r.Image());
        }
    }
    Add(base);
    Add(base);
    db.Close();
    {
        std::fstream file(dir.file("p.dqx"), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(pointAt);
        file.put('8');
    }
    ASSERT_TRUE(db.Open(DbPath(dir.file("p.dqx"))));
    ASSERT_EQ(Select(all, none), 1);
    EXPECT_EQ(data().DeleteDuplicateRecords(), 1);
    EXPECT_EQ(data().GetLiveCount(), 2 + kBodyFieldCount + 1);
}

TEST_F(PassesTest, BulkMailPresortTiersAndTheFirstClassMinimum)
{
    int n = 0;
    auto add = [&](const char* zip, int count) {
        for (int i = 0; i < count; ++i, ++n)
            Add({{kFieldZipCode, zip}, {kFieldState, "NY"}, {kFieldLastName, std::to_string(n)}});
    };
    add("12399", 1);
    add("12346", 9);
    add("12345", 10);
    add("55501", 479);  // groups of ten: all of them tier 0
    SortSpec order;
    order.bulkMail = 1;
    data().SetSortSpec(order);
    Criteria none;
    Select(all, none);
    EXPECT_EQ(data().GetLiveCount(), 0);  // 499 records
    EXPECT_EQ(capture.lastText(), "The number of records is less than 500.");

    add("77701", 1);
    Select(all, none);
    ASSERT_EQ(data().GetLiveCount(), 500);
    std::vector<std::string> keys;
    DbIndexEntry e;
    data().Index().GoFirst();
    while (data().Index().GetNext(&e) == 1)
        keys.push_back(e.key);
    EXPECT_EQ(keys[0].substr(0, 6), "012345");
    EXPECT_EQ(keys[10].substr(0, 6), "055501");
    EXPECT_EQ(keys[489].substr(0, 6), "112346");
    EXPECT_EQ(keys[498].substr(0, 6), "112399");
    EXPECT_EQ(keys[499].substr(0, 6), "377701");
    // Records stay reachable by their keys in bulk-mail order.
    ASSERT_GE(data().GotoRecord(498, true, true), 0);
    EXPECT_EQ(FieldOf(data().Current(), kFieldZipCode), "12399");
    const int32_t moved = data().MoveBy(true, 1, true, true);
    EXPECT_EQ(moved, data().CurrentOffset());
    EXPECT_EQ(FieldOf(data().Current(), kFieldZipCode), "77701");
}

// The index answers a "starts with" query on the field it is ordered by.
// Whatever the spelling of the names and of the value, it selects what a
// pass over every record selects, in the same order with the same counts;
// once the file changed, or for any other query, the pass runs.
TEST_F(PassesTest, AQueryOnTheOrderedFieldSelectsWhatAPassOverTheFileWould)
{
    const char* const names[] = {"Williams", "williams", "WILLIAMS", "WiLLiams", "Williamson", "Will", "Wilde",
                                 "Wi",       "W",        "Willi\xE9", "Wil liams", "Walker",   "",     "Vail",
                                 "willIAMS", "O'Brien",  "Willa",    "WILL",       "wILLIAMS", "Wim"};
    int n = 0;
    int32_t deleted = -1;
    for (int round = 0; round < 3; ++round) {
        for (const char* name : names) {
            auto fields = SampleFields(n++);
            fields[kFieldLastName] = name;
            FillCurrent(data(), fields);
            data().Current().SetNew(n % 9 == 0);
            const int32_t offset = data().AddRecord(false, true);
            if (round == 1 && std::string(name) == "Williams")
                deleted = offset;
        }
    }
    data().SetCurrentAndRead(deleted, -1, true, true);
    ASSERT_EQ(data().DeleteRecord(true), 1);
    auto selection = [&] {
        std::vector<std::string> seen;
        DbIndexEntry e;
        data().Index().GoFirst();
        while (data().Index().GetNext(&e) == 1)
            seen.push_back(std::string(e.key) + "|" + std::to_string(e.recordPosition) + "|" +
                           std::to_string(e.sequence));
        seen.push_back(std::to_string(data().GetLiveCount()) + " " + std::to_string(data().GetStoredCount()) + " " +
                       std::to_string(data().GetDeletedCount()) + " " + std::to_string(data().GetNewCount()));
        return seen;
    };
    Criteria none;
    for (const char* value :
         {"will", "WILLIAMS", "w", "wI", "williamsonx", "Willi\xE9", "Wil l", "will ", "zz", "o'b", "V"}) {
        SCOPED_TRACE(value);
        ASSERT_EQ(Select(all, none), 1);
        Criteria q;
        PutU16LE(q.bytes, 3);
        q.query(kFieldLastName, 0, value);
        ASSERT_EQ(Select(all, q), 1);
        EXPECT_TRUE(data().SelectionFromIndex());
        const auto found = selection();
        // The index now holds the selection only: the pass runs.
        ASSERT_EQ(Select(all, q), 1);
        EXPECT_FALSE(data().SelectionFromIndex());
        EXPECT_EQ(found, selection());
    }
    Criteria q;
    PutU16LE(q.bytes, 3);
    q.query(kFieldLastName, 0, "wil");
    Select(all, none);
    AddSample(data(), n);
    Select(all, q);
    EXPECT_FALSE(data().SelectionFromIndex());
    Select(all, none);
    q.query(kFieldFirstName, 0, "First");
    Select(all, q);
    EXPECT_FALSE(data().SelectionFromIndex());
    q.query(kFieldLastName, 2, "il");
    Select(all, q);
    EXPECT_FALSE(data().SelectionFromIndex());
}

// A selection builds its index in the file of the last one; closed, the
// file is the one a new index of the same selection would be.
TEST_F(PassesTest, AnIndexBuiltAgainInItsOwnFileClosesAsANewOneWould)
{
    for (int n = 0; n < 1500; ++n)
        AddSample(data(), n);
    SortSpec byZip;
    byZip.fields[0] = kFieldZipCode;
    byZip.fields[1] = kFieldFirstName;
    Criteria none;
    data().SetSortSpec(byZip);
    ASSERT_EQ(Select(all, none), 1);
    Criteria q;
    PutU16LE(q.bytes, 3);
    q.query(kFieldState, 0, "c");
    data().SetSortSpec(SortSpec{});
    ASSERT_EQ(Select(all, q), 1);
    ASSERT_EQ(data().GetLiveCount(), 375);
    PutU16LE(db.Header() + dbh::kPrefDeleteIndex, 0);
    db.Close();
    const std::string index = dir.file("p.idx");
    const std::string rebuilt = ReadFileBytes(index);
    ASSERT_GT(rebuilt.size(), 2064u);

    std::filesystem::remove(index);
    DataFile fresh;
    const PathRecord path = DbPath(dir.file("p.dqx"));
    ASSERT_EQ(fresh.Open(&path, kDbAccessReadWrite, kIndexModeCreate), 0);
    ASSERT_EQ(fresh.BuildSelection(all, q.bytes), 1);
    ASSERT_EQ(fresh.GetLiveCount(), 375);
    fresh.Index().AdvanceSequence();  // as a database's close marks the index it keeps
    fresh.Close(false, false);
    EXPECT_EQ(ReadFileBytes(index), rebuilt);
}

}  // namespace
