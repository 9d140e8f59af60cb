// Times the index file with a card database's worth of entries: 32000
// name keys added in random order, a walk over all of them, exact seeks,
// key lookups, deletes, and closing and reopening the file.
//
//   index_bench [folder] [cache blocks...]

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "database/index_file.h"
#include "foundation/path_record.h"

namespace {

constexpr int kRecords = 32000;

class Timer {
public:
    void Report(const char* what, int count)
    {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        std::printf("  %-28s %8.1f ms  %10.0f per second\n", what, seconds * 1000, count / seconds);
        start_ = std::chrono::steady_clock::now();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Last-name keys as the record engine builds them: the name, a space.
std::vector<std::string> MakeKeys()
{
    static const char* const parts[] = {"Ab", "Bar", "Ca", "Del", "Ed", "Far", "Gon", "Har", "Is", "Jo",
                                        "Kel", "Lo", "Mar", "Nor", "Ol", "Pe", "Qui", "Ro", "San", "Ter",
                                        "Ul", "Van", "Wil", "Xa", "Yo", "Zim", "son", "ter", "ley", "man"};
    std::mt19937 rng(42);
    std::vector<std::string> keys;
    for (int i = 0; i < kRecords; ++i) {
        std::string key;
        const int n = 2 + int(rng() % 3);
        for (int p = 0; p < n; ++p)
            key += parts[rng() % 30];
        key[0] = char(std::toupper(static_cast<unsigned char>(key[0])));
        keys.push_back(key + " ");
    }
    return keys;
}

IndexEntry Entry(const std::string& key, int32_t record)
{
    IndexEntry entry{};
    entry.recordPosition = record;
    std::strncpy(entry.key, key.c_str(), sizeof entry.key - 1);
    return entry;
}

bool Run(const std::string& folder, int32_t cacheBlocks, const std::vector<std::string>& keys)
{
    PathRecord path{};
    PathRecordFromPosix(folder + "/bench.idx", &path);
    std::printf("cache of %d blocks\n", cacheBlocks);
    IndexFile index(cacheBlocks);
    Timer timer;
    if (index.Create(&path, 1) != 1)
        return false;
    for (int i = 0; i < kRecords; ++i) {
        IndexEntry entry = Entry(keys[size_t(i)], 6000 + i * 200);
        if (index.AddKeySequenced(&entry) != 1)
            return false;
    }
    timer.Report("add 32000 random keys", kRecords);
    if (index.Close() != 1)
        return false;
    timer.Report("close", 1);
    if (index.Open(&path, 1) != 1)
        return false;
    timer.Report("open (with the tree check)", 1);

    IndexEntry entry{};
    int walked = 0;
    index.GoFirst();
    while (index.GetNext(&entry) == 1)
        ++walked;
    timer.Report("walk forward", walked);
    walked = 0;
    index.GoLast();
    while (index.GetPrev(&entry) == 1)
        ++walked;
    timer.Report("walk backward", walked);

    std::mt19937 rng(7);
    std::vector<int> order(kRecords);
    for (int i = 0; i < kRecords; ++i)
        order[size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), rng);
    index.SetIgnoreSequence(1);
    for (int i : order) {
        IndexEntry seek = Entry(keys[size_t(i)], 6000 + i * 200);
        if (index.SeekEntry(&seek) != 1)
            return false;
    }
    timer.Report("seek 32000 entries", kRecords);
    for (int i : order) {
        IndexEntry find = Entry(keys[size_t(i)], 0);
        if (index.LocateKey(&find) != 1)
            return false;
    }
    timer.Report("locate 32000 keys", kRecords);
    for (int n = 0; n < kRecords / 10; ++n) {
        const int i = order[size_t(n)];
        IndexEntry gone = Entry(keys[size_t(i)], 6000 + i * 200);
        if (index.DeleteKey(&gone) != 1)
            return false;
    }
    timer.Report("delete 3200 entries", kRecords / 10);
    index.SetDiscard(1);
    index.Close();
    timer.Report("close, discarding", 1);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : "/tmp";
    std::vector<int32_t> caches;
    for (int i = 2; i < argc; ++i)
        caches.push_back(std::atoi(argv[i]));
    if (caches.empty())
        caches = {kIndexCacheBlocks};
    const std::vector<std::string> keys = MakeKeys();
    for (int32_t blocks : caches) {
        if (!Run(folder, blocks, keys)) {
            std::fprintf(stderr, "index_bench: an operation failed\n");
            return 1;
        }
    }
    return 0;
}
