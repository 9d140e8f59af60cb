// Plausible contact records made by a seeded generator, the same for the
// same seed on every machine: the contacts `tessaline-tool db fill` puts
// into a database and the benchmarks time the engines with. Texts are in
// Windows-1252, as the database stores them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "database/field_table.h"

// One contact: a text for each field with a body (empty where the contact
// has none), and its categories.
struct SampleContact {
    std::array<std::string, kBodyFieldCount> fields;
    uint16_t categories = 0;
};

class SampleContacts {
public:
    explicit SampleContacts(uint64_t seed) : state_(seed) {}
    SampleContact Next();

private:
    // splitmix64: small, fast and the same everywhere.
    uint64_t Random();
    uint32_t Below(uint32_t n) { return uint32_t(Random() % n); }
    template <size_t N>
    const char* Pick(const char* const (&list)[N])
    {
        return list[Below(N)];
    }

    uint64_t state_;
};
