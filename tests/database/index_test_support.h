// Helpers the index file suites share.
#pragma once

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "database/index_file.h"
#include "database/index_format.h"
#include "foundation/byte_order.h"
#include "foundation/path_record.h"
#include "support/temp_dir.h"

// An index file in a fresh folder, with its errors recorded instead of shown.
class IndexFixture {
public:
    struct Error {
        int16_t kind;
        int32_t number;
        int32_t position;
        std::string fileName;
    };

    explicit IndexFixture(int32_t cacheBlocks = kIndexCacheBlocks);

    static IndexEntry Entry(const std::string& key, int32_t recordPosition, uint32_t sequence = 0);
    std::vector<uint8_t> FileBytes() const;
    void WriteFileBytes(const std::vector<uint8_t>& bytes) const;
    bool FileExists() const;
    // Keys and record positions from the first entry to the last (or back).
    std::vector<std::pair<std::string, int32_t>> Walk(bool backwards = false);
    IndexCheckReport Check(bool checkOrder = true);

    TempDir dir;
    std::string hostPath;
    PathRecord path{};
    IndexFile index;
    std::vector<Error> errors;
};

// Index file bytes built by hand, block by block, marked clean.
class IndexImage {
public:
    explicit IndexImage(int32_t levels);
    int32_t AddBlock();  // an empty leaf; returns its position
    void SetFirstChild(int32_t block, int32_t child) { PutI32LE(&bytes[size_t(block) + idxb::kFirstChild], child); }
    void Append(int32_t block, const std::string& key, int32_t recordPosition, uint32_t sequence, int32_t child = -1);
    int32_t Used(int32_t block) const { return GetI32LE(&bytes[size_t(block) + idxb::kUsed]); }

    std::vector<uint8_t> bytes;
};
