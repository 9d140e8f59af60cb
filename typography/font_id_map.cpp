#include "typography/font_id_map.h"

#include <algorithm>

const FontEntry* FontIdMap::Find(int32_t id) const
{
    const auto it = entries_.find(id);
    return it == entries_.end() ? nullptr : &it->second;
}

FontEntry* FontIdMap::Find(int32_t id)
{
    const auto it = entries_.find(id);
    return it == entries_.end() ? nullptr : &it->second;
}

void FontIdMap::SetAt(int32_t id, const FontEntry& entry)
{
    const auto [it, added] = entries_.insert_or_assign(id, entry);
    if (added)
        buckets_[BucketOf(id)].push_back(id);
}

bool FontIdMap::RemoveKey(int32_t id)
{
    if (entries_.erase(id) == 0)
        return false;
    std::vector<int32_t>& bucket = buckets_[BucketOf(id)];
    bucket.erase(std::find(bucket.begin(), bucket.end(), id));
    return true;
}

void FontIdMap::RemoveAll()
{
    entries_.clear();
    for (std::vector<int32_t>& bucket : buckets_)
        bucket.clear();
}
