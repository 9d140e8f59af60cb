#include "frames/data_slots.h"

uint32_t DataSlots::Add(void* p)
{
    if (!p)
        return 0;
    ++used_;
    if (!free_.empty()) {
        const uint32_t token = free_.back();
        free_.pop_back();
        slots_[token - 1] = p;
        return token;
    }
    slots_.push_back(p);
    return uint32_t(slots_.size());
}

void* DataSlots::Get(uint32_t token) const
{
    if (token == 0 || token > slots_.size())
        return nullptr;
    return slots_[token - 1];
}

void DataSlots::Set(uint32_t token, void* p)
{
    if (!p)
        Take(token);
    else if (token != 0 && token <= slots_.size() && slots_[token - 1])
        slots_[token - 1] = p;
}

void* DataSlots::Take(uint32_t token)
{
    void* p = Get(token);
    if (p) {
        slots_[token - 1] = nullptr;
        free_.push_back(token);
        --used_;
    }
    return p;
}

uint32_t DataSlots::Find(const void* p) const
{
    if (!p)
        return 0;
    for (size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i] == p)
            return uint32_t(i + 1);
    }
    return 0;
}

std::vector<void*> DataSlots::TakeAll()
{
    std::vector<void*> held;
    for (void* p : slots_) {
        if (p)
            held.push_back(p);
    }
    slots_.clear();
    free_.clear();
    used_ = 0;
    return held;
}
