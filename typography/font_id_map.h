// The map from font id to font entry that a document's font table keeps
// twice (its own fonts and their substitutes).
//
// The table is written in the map's own order, so that order is kept as a
// hash map of ten buckets orders its entries: bucket by bucket (an id's
// bucket is (id >> 4) mod 10, the id taken as unsigned), and within a
// bucket the newest entry first. Replacing an entry keeps its place.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "graphics/font_spec.h"

struct FontEntry {
    // In the fonts map: a substitute is drawn in this font's place.
    uint8_t substituted = 0;
    FontSpec fontSpec;
};

class FontIdMap {
public:
    static constexpr uint32_t kBuckets = 10;

    // Null when the id is absent.
    const FontEntry* Find(int32_t id) const;
    FontEntry* Find(int32_t id);
    void SetAt(int32_t id, const FontEntry& entry);
    bool RemoveKey(int32_t id);
    void RemoveAll();
    int32_t GetCount() const { return int32_t(entries_.size()); }
    bool IsEmpty() const { return entries_.empty(); }

    // Calls f(id, entry) for every entry, in the map's order.
    template <class F>
    void ForEach(F&& f) const
    {
        for (const std::vector<int32_t>& bucket : buckets_) {
            for (auto it = bucket.rbegin(); it != bucket.rend(); ++it)
                f(*it, entries_.at(*it));
        }
    }
    template <class F>
    void ForEach(F&& f)
    {
        for (const std::vector<int32_t>& bucket : buckets_) {
            for (auto it = bucket.rbegin(); it != bucket.rend(); ++it)
                f(*it, entries_.at(*it));
        }
    }

private:
    static uint32_t BucketOf(int32_t id) { return (uint32_t(id) >> 4) % kBuckets; }

    std::unordered_map<int32_t, FontEntry> entries_;
    std::array<std::vector<int32_t>, kBuckets> buckets_;  // ids, oldest first
};
