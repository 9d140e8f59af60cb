// db fill FILE N [--seed S]: plausible contact records, the same for the
// same seed.

#include <charconv>
#include <cstdio>
#include <string>

#include "database/data_file.h"
#include "database/database_session.h"
#include "database/field_table.h"
#include "db_command.h"

namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return uint32_t(Next() % n); }
    template <size_t N>
    const char* Pick(const char* const (&list)[N])
    {
        return list[Below(N)];
    }

private:
    uint64_t state_;
};

const char* const kFirstNames[] = {
    "James", "Mary", "John", "Patricia", "Robert", "Jennifer", "Michael", "Linda", "William", "Elizabeth",
    "David", "Barbara", "Richard", "Susan", "Joseph", "Jessica", "Thomas", "Sarah", "Charles", "Karen",
    "Daniel", "Nancy", "Matthew", "Lisa", "Anthony", "Betty", "Mark", "Margaret", "Donald", "Sandra",
    "Ren\xE9", "Zo\xEB", "J\xFC" "rgen", "Chlo\xE9", "Fran\xE7" "ois", "Ingrid", "Kenji", "Amara", "Luis", "Mei"};
const char* const kLastNames[] = {
    "Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis", "Rodriguez", "Martinez",
    "Hernandez", "Lopez", "Gonzalez", "Wilson", "Anderson", "Thomas", "Taylor", "Moore", "Jackson", "Martin",
    "Lee", "Perez", "Thompson", "White", "Harris", "Sanchez", "Clark", "Ramirez", "Lewis", "Robinson",
    "M\xFCller", "Sch\xFCtz", "D\xFC" "rer", "Br\xFC" "ckner", "Lef\xE8" "vre", "O'Brien", "Nguyen", "Kowalski",
    "Yamamoto", "Okafor", "Walker", "Young", "Allen", "King", "Wright", "Scott", "Torres", "Hill"};
const char* const kStreets[] = {"Main Street", "Oak Avenue", "Maple Drive", "Cedar Lane", "Elm Street",
                                "Pine Road", "Washington Blvd", "Lake Shore Drive", "Hillcrest Road",
                                "Park Place", "Sunset Boulevard", "River Road", "Church Street"};
const char* const kCompanies[] = {"Acme Corp.", "Globex", "Initech", "Umbrella Supplies", "Stark Industries",
                                  "Wayne Enterprises", "Hooli", "Vandelay Industries", "Soylent Foods",
                                  "Tyrell Company"};
const char* const kTitles[] = {"Manager", "Director", "Engineer", "Accountant", "Designer", "Consultant",
                               "Sales Representative", "Owner", "Teacher", "Nurse"};

struct Place {
    const char* city;
    const char* state;
    int zip3;
};
const Place kPlaces[] = {
    {"New York", "NY", 100},   {"Brooklyn", "NY", 112},   {"Albany", "NY", 122},     {"Boston", "MA", 21},
    {"Springfield", "MA", 11}, {"Hartford", "CT", 61},    {"Philadelphia", "PA", 191}, {"Pittsburgh", "PA", 152},
    {"Baltimore", "MD", 212},  {"Richmond", "VA", 232},   {"Atlanta", "GA", 303},    {"Miami", "FL", 331},
    {"Orlando", "FL", 328},    {"Chicago", "IL", 606},    {"Detroit", "MI", 482},    {"Columbus", "OH", 432},
    {"Cleveland", "OH", 441},  {"Nashville", "TN", 372},  {"Dallas", "TX", 752},     {"Houston", "TX", 770},
    {"Austin", "TX", 787},     {"Denver", "CO", 802},     {"Phoenix", "AZ", 850},    {"Las Vegas", "NV", 891},
    {"Los Angeles", "CA", 900}, {"San Diego", "CA", 921}, {"San Francisco", "CA", 941}, {"Sacramento", "CA", 958},
    {"Portland", "OR", 972},   {"Seattle", "WA", 981},    {"Anchorage", "AK", 995},  {"Honolulu", "HI", 968},
    {"Minneapolis", "MN", 554}, {"Kansas City", "MO", 641}, {"Omaha", "NE", 681},    {"Salt Lake City", "UT", 841},
    {"Boise", "ID", 837},      {"Burlington", "VT", 54},  {"Portland", "ME", 41},    {"APO", "AE", 90}};

void Put(CardRecord& r, int32_t id, const std::string& text) { r.SetFieldText(id, text.c_str()); }

}  // namespace

int32_t FillSampleRecords(DataFile& data, int32_t count, uint64_t seed)
{
    DbChange batch(data);
    data.GatherAppendsInChange();
    Random random(seed);
    int32_t added = 0;
    for (int32_t i = 0; i < count; ++i) {
        CardRecord& r = data.Current();
        r.Clear();
        r.SetNew(false);
        const std::string first = random.Pick(kFirstNames);
        const std::string last = random.Pick(kLastNames);
        const Place& place = kPlaces[random.Below(sizeof kPlaces / sizeof kPlaces[0])];
        char text[96];
        std::snprintf(text, sizeof text, "%04u%02u%02u", 1990 + random.Below(36), 1 + random.Below(12),
                      1 + random.Below(28));
        Put(r, kFieldDate, text);
        Put(r, kFieldSalutation, random.Below(2) ? "Dear Sir or Madam" : "Dear " + first);
        Put(r, kFieldFirstName, first);
        Put(r, kFieldLastName, last);
        if (random.Below(3) == 0) {
            Put(r, kFieldTitle, random.Pick(kTitles));
            Put(r, kFieldCompany, random.Pick(kCompanies));
        }
        if (random.Below(10) == 0)
            std::snprintf(text, sizeof text, "PO BOX %u", 1 + random.Below(9999));
        else
            std::snprintf(text, sizeof text, "%u %s", 1 + random.Below(9899), random.Pick(kStreets));
        Put(r, kFieldAddress1, text);
        if (random.Below(5) == 0) {
            std::snprintf(text, sizeof text, "Apt %u", 1 + random.Below(400));
            Put(r, kFieldAddress2, text);
        }
        Put(r, kFieldCity, place.city);
        Put(r, kFieldState, place.state);
        // Few delivery areas per town, so that ZIP groups of ten form.
        const unsigned zip = unsigned(place.zip3) * 100 + random.Below(random.Below(4) == 0 ? 100 : 12);
        if (random.Below(4) == 0)
            std::snprintf(text, sizeof text, "%05u-%04u", zip, random.Below(10000));
        else
            std::snprintf(text, sizeof text, "%05u", zip);
        Put(r, kFieldZipCode, text);
        Put(r, kFieldCountry, "USA");
        std::snprintf(text, sizeof text, "(%03u) %03u-%04u", 200 + random.Below(800), 200 + random.Below(800),
                      random.Below(10000));
        Put(r, kFieldPhone1, text);
        if (random.Below(3) == 0) {
            std::snprintf(text, sizeof text, "(%03u) %03u-%04u", 200 + random.Below(800), 200 + random.Below(800),
                          random.Below(10000));
            Put(r, kFieldFax, text);
        }
        std::snprintf(text, sizeof text, "%c.%s%u@example.com", first[0], last.c_str(), random.Below(100));
        Put(r, kFieldEMail, text);
        if (random.Below(8) == 0) {
            std::snprintf(text, sizeof text, "Customer since %u, account %06u", 1990 + random.Below(36),
                          random.Below(1000000));
            Put(r, kFieldCustom1, text);
        }
        r.SetCategories(uint16_t(random.Below(1u << 14)));
        r.SetModified(false);
        if (data.AddRecord(false, false) < 0) {
            // All the records or none.
            data.AbandonChange();
            return 0;
        }
        ++added;
    }
    return added;
}

int RunDbFill(const ToolArgs& args)
{
    if (args.size() != 2 && args.size() != 4)
        return ToolFail("usage: db fill FILE N [--seed S]");
    int32_t count = 0;
    uint64_t seed = 1;
    auto number = [](const std::string& s, auto& out) {
        auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
        return ec == std::errc() && ptr == s.data() + s.size();
    };
    if (!number(args[1], count) || count < 0)
        return ToolFail("db fill: N must be a count of records");
    if (args.size() == 4 && (args[2] != "--seed" || !number(args[3], seed)))
        return ToolFail("usage: db fill FILE N [--seed S]");
    PathRecord path;
    if (PathRecordFromPosix(args[0], &path) != 0)
        return ToolFail("db fill: bad file name " + args[0]);
    DatabaseSession db;
    if (!db.Open(path))
        return ToolFail("db fill: cannot open " + args[0]);
    int32_t added = FillSampleRecords(db.Data(), count, seed);
    if (!db.Data().LastChangeKept())
        added = 0;
    db.Close();
    if (added != count)
        return ToolFail("db fill: added " + std::to_string(added) + " of " + std::to_string(count) + " records");
    return 0;
}
