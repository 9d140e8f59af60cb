// Operators told apart by a key of their bytes, and what a pass makes of
// each found in a table built when compiling.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "pdf/pdf_tokenizer.h"

// An operator of up to four bytes as one number, the first in the lowest
// byte: operators are told apart by a switch over these.
constexpr uint32_t PdfOpKey(const char* t)
{
    uint32_t key = 0;
    for (int i = 0; i < 4 && t[i] != 0; ++i)
        key |= uint32_t(uint8_t(t[i])) << (8 * i);
    return key;
}

// The key of an operator token; 0 for one of more than four bytes.
inline uint32_t PdfOperatorKey(const PdfTokenSpan& t)
{
    const auto byte = [&t](size_t i) { return uint32_t(uint8_t(t.at[i])) << (8 * i); };
    switch (t.size) {
    case 1: return byte(0);
    case 2: return byte(0) | byte(1);
    case 3: return byte(0) | byte(1) | byte(2);
    case 4: return byte(0) | byte(1) | byte(2) | byte(3);
    default: return 0;
    }
}

// What a pass makes of each operator it knows, found by the operator's key
// in a table hashed without collisions: a multiplication, a shift and one
// comparison, where a switch over the keys compares several times for
// each of the page's operators. `Info` of a key not given: `other`.
template <typename Info, size_t N>
class PdfOperatorTable {
public:
    struct Entry {
        uint32_t key;
        Info info;
    };

    consteval PdfOperatorTable(const std::array<Entry, N>& entries, Info other) : other_(other)
    {
        // The first multiplier that sends no two keys to one slot.
        for (uint32_t m = 0x9E3779B1u;; m += 0x3C6EF372u) {
            std::array<bool, kSlots> taken{};
            bool apart = true;
            for (const Entry& e : entries) {
                // A key of 0 is no operator's: an empty slot answers it.
                if (e.key == 0)
                    throw "an operator table's key is 0";
                bool& slot = taken[Slot(e.key, m)];
                apart = apart && !slot;
                slot = true;
            }
            if (!apart)
                continue;
            multiplier_ = m;
            break;
        }
        for (Entry& slot : slots_)
            slot = {0, other};
        for (const Entry& e : entries)
            slots_[Slot(e.key, multiplier_)] = e;
    }

    Info find(uint32_t key) const
    {
        const Entry& e = slots_[Slot(key, multiplier_)];
        return e.key == key ? e.info : other_;
    }

private:
    static constexpr int kBits = 9;
    static constexpr size_t kSlots = size_t(1) << kBits;
    static constexpr size_t Slot(uint32_t key, uint32_t m) { return size_t((key * m) >> (32 - kBits)); }

    std::array<Entry, kSlots> slots_{};
    uint32_t multiplier_ = 0;
    Info other_;
};
