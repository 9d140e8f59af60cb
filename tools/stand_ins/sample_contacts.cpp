#include "tools/stand_ins/sample_contacts.h"

#include <cstdio>

namespace {

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

}  // namespace

uint64_t SampleContacts::Random()
{
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// The draws are made in a fixed order: a change of order changes every
// contact after it, and the databases made before.
SampleContact SampleContacts::Next()
{
    SampleContact c;
    auto& f = c.fields;
    const std::string first = Pick(kFirstNames);
    const std::string last = Pick(kLastNames);
    const Place& place = kPlaces[Below(sizeof kPlaces / sizeof kPlaces[0])];
    char text[96];
    std::snprintf(text, sizeof text, "%04u%02u%02u", 1990 + Below(36), 1 + Below(12), 1 + Below(28));
    f[kFieldDate] = text;
    f[kFieldSalutation] = Below(2) ? "Dear Sir or Madam" : "Dear " + first;
    f[kFieldFirstName] = first;
    f[kFieldLastName] = last;
    if (Below(3) == 0) {
        f[kFieldTitle] = Pick(kTitles);
        f[kFieldCompany] = Pick(kCompanies);
    }
    if (Below(10) == 0)
        std::snprintf(text, sizeof text, "PO BOX %u", 1 + Below(9999));
    else
        std::snprintf(text, sizeof text, "%u %s", 1 + Below(9899), Pick(kStreets));
    f[kFieldAddress1] = text;
    if (Below(5) == 0) {
        std::snprintf(text, sizeof text, "Apt %u", 1 + Below(400));
        f[kFieldAddress2] = text;
    }
    f[kFieldCity] = place.city;
    f[kFieldState] = place.state;
    // Few delivery areas per town, so that ZIP groups of ten form.
    const unsigned zip = unsigned(place.zip3) * 100 + Below(Below(4) == 0 ? 100 : 12);
    if (Below(4) == 0)
        std::snprintf(text, sizeof text, "%05u-%04u", zip, Below(10000));
    else
        std::snprintf(text, sizeof text, "%05u", zip);
    f[kFieldZipCode] = text;
    f[kFieldCountry] = "USA";
    std::snprintf(text, sizeof text, "(%03u) %03u-%04u", 200 + Below(800), 200 + Below(800), Below(10000));
    f[kFieldPhone1] = text;
    if (Below(3) == 0) {
        std::snprintf(text, sizeof text, "(%03u) %03u-%04u", 200 + Below(800), 200 + Below(800), Below(10000));
        f[kFieldFax] = text;
    }
    std::snprintf(text, sizeof text, "%c.%s%u@example.com", first[0], last.c_str(), Below(100));
    f[kFieldEMail] = text;
    if (Below(8) == 0) {
        std::snprintf(text, sizeof text, "Customer since %u, account %06u", 1990 + Below(36), Below(1000000));
        f[kFieldCustom1] = text;
    }
    c.categories = uint16_t(Below(1u << 14));
    return c;
}
