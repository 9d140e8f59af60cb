// What the data slot of a swappable record stands for while the data is in
// memory. Record bytes hold only a 32-bit token; the pointer it stands for
// lives here, so a record can be written to a file as it is (with the slot
// zeroed) and no pointer ever reaches a stored byte.
#pragma once

#include <cstdint>
#include <vector>

class DataSlots {
public:
    // A new token (never 0) for p; 0 when p is null.
    uint32_t Add(void* p);
    // Null for 0 or a token not in use.
    void* Get(uint32_t token) const;
    // Points the token at another object.
    void Set(uint32_t token, void* p);
    // Forgets the token and answers what it stood for.
    void* Take(uint32_t token);
    // The token standing for p, or 0.
    uint32_t Find(const void* p) const;
    uint32_t Used() const { return used_; }
    // Every pointer still held, for the owner to free; the table is empty
    // afterwards.
    std::vector<void*> TakeAll();

private:
    std::vector<void*> slots_;
    std::vector<uint32_t> free_;
    uint32_t used_ = 0;
};
