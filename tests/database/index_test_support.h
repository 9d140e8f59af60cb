// Helpers the index file suites share.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "database/index_file.h"
#include "database/index_format.h"
#include "foundation/byte_order.h"
#include "foundation/path_record.h"
#include "support/temp_dir.h"

struct IndexErrorRecord {
    int16_t kind;
    int32_t number;
    int32_t position;
    std::string fileName;
};

// An index file in a fresh folder, with its errors recorded instead of shown.
class IndexFixture {
public:
    explicit IndexFixture(int32_t cacheBlocks = kIndexCacheBlocks) : index(cacheBlocks)
    {
        hostPath = dir.file("cards.idx");
        PathRecordFromPosix(hostPath, &path);
        index.SetErrorReporter(
            [](void* context, int16_t kind, int32_t number, int32_t position, const char* name) {
                static_cast<IndexFixture*>(context)->errors.push_back({kind, number, position, name});
            },
            this);
    }

    static IndexEntry Entry(const std::string& key, int32_t recordPosition, uint32_t sequence = 0)
    {
        IndexEntry entry{};
        entry.child = 0;
        entry.recordPosition = recordPosition;
        entry.sequence = sequence;
        std::strncpy(entry.key, key.c_str(), sizeof entry.key - 1);
        return entry;
    }

    std::vector<uint8_t> FileBytes() const;
    void WriteFileBytes(const std::vector<uint8_t>& bytes) const;
    bool FileExists() const;

    // Every entry from the first to the last (or the reverse), as keys and
    // record positions; stops early on a failure.
    std::vector<std::pair<std::string, int32_t>> Walk(bool backwards = false);

    TempDir dir;
    std::string hostPath;
    PathRecord path{};
    IndexFile index;
    std::vector<IndexErrorRecord> errors;
};

// Index file bytes built by hand, block by block, marked clean.
class IndexImage {
public:
    explicit IndexImage(int32_t levels);
    // Appends an empty leaf block; returns its position.
    int32_t AddBlock();
    void SetFirstChild(int32_t block, int32_t child);
    void Append(int32_t block, const std::string& key, int32_t recordPosition, uint32_t sequence,
                int32_t child = -1);
    int32_t Used(int32_t block) const;
    uint8_t* At(int32_t offset) { return bytes.data() + offset; }

    std::vector<uint8_t> bytes;
};
