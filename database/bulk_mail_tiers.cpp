#include "database/bulk_mail_tiers.h"

#include <string_view>
#include <unordered_map>

#include "database/record_key.h"

namespace {

constexpr size_t kGroupSize = 10;

bool Untiered(const std::string& key) { return !key.empty() && key[kBulkTier] == ' '; }

std::string_view Part(const std::string& key, size_t at, size_t n)
{
    return at < key.size() ? std::string_view(key).substr(at, n) : std::string_view();
}

// Gives tier to every untiered key of a group of ten or more, the groups
// being keys with equal parts at [at, at + n).
template <typename Retier>
void TierPass(std::vector<std::string>& keys, size_t at, size_t n, Retier retier, bool restGetThree)
{
    std::unordered_map<std::string_view, size_t> counts;
    for (const std::string& key : keys) {
        if (Untiered(key))
            ++counts[Part(key, at, n)];
    }
    std::vector<bool> large(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        large[i] = Untiered(keys[i]) && counts[Part(keys[i], at, n)] >= kGroupSize;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (large[i])
            retier(keys[i]);
        else if (restGetThree && Untiered(keys[i]))
            keys[i][kBulkTier] = '3';
    }
}

}  // namespace

void AssignBulkMailTiers(std::vector<std::string>& keys, int mode)
{
    TierPass(keys, kBulkZip, 5, [](std::string& key) { key[kBulkTier] = '0'; }, false);
    TierPass(keys, kBulkZip, 3, [](std::string& key) { key[kBulkTier] = '1'; }, false);
    if (mode == 2) {
        TierPass(keys, kBulkState, 2,
                 [](std::string& key) {
                     std::string state(Part(key, kBulkState, kBulkStateSize));
                     std::string zip(Part(key, kBulkZip, kBulkZipSize));
                     key = "2" + state + zip;
                 },
                 true);
    }
    for (std::string& key : keys) {
        if (Untiered(key))
            key[kBulkTier] = '3';
    }
}
