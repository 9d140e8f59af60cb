#include "index_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

IndexFixture::IndexFixture(int32_t cacheBlocks) : index(cacheBlocks)
{
    hostPath = dir.file("cards.idx");
    PathRecordFromPosix(hostPath, &path);
    index.SetErrorReporter(
        [](void* context, int16_t kind, int32_t number, int32_t position, const char* name) {
            static_cast<IndexFixture*>(context)->errors.push_back({kind, number, position, name});
        },
        this);
}

IndexEntry IndexFixture::Entry(const std::string& key, int32_t recordPosition, uint32_t sequence)
{
    IndexEntry entry{};
    entry.recordPosition = recordPosition;
    entry.sequence = sequence;
    std::strncpy(entry.key, key.c_str(), sizeof entry.key - 1);
    return entry;
}

std::vector<uint8_t> IndexFixture::FileBytes() const
{
    std::ifstream in(hostPath, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void IndexFixture::WriteFileBytes(const std::vector<uint8_t>& bytes) const
{
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool IndexFixture::FileExists() const { return std::ifstream(hostPath).good(); }

std::vector<std::pair<std::string, int32_t>> IndexFixture::Walk(bool backwards)
{
    std::vector<std::pair<std::string, int32_t>> out;
    if ((backwards ? index.GoLast() : index.GoFirst()) != 1)
        return out;
    IndexEntry entry{};
    while ((backwards ? index.GetPrev(&entry) : index.GetNext(&entry)) == 1)
        out.emplace_back(entry.key, entry.recordPosition);
    return out;
}

IndexCheckReport IndexFixture::Check(bool checkOrder)
{
    IndexCheckReport report;
    EXPECT_TRUE(index.CheckStructure(checkOrder, &report)) << report.problem;
    return report;
}

IndexImage::IndexImage(int32_t levels) : bytes(size_t(kIndexHeaderPageSize), 0)
{
    PutI32LE(&bytes[idxb::kFirstChild], kIndexNoChild);
    PutI32LE(&bytes[idxh::kFreeList], kIndexNone);
    PutU32LE(&bytes[idxh::kNextSequence], 1000);
    PutU32LE(&bytes[idxh::kCleanMark], 1);
    PutU32LE(&bytes[idxh::kLevels], uint32_t(levels));
}

int32_t IndexImage::AddBlock()
{
    const int32_t position = int32_t(bytes.size());
    bytes.resize(bytes.size() + kIndexBlockSize, 0);
    PutI32LE(&bytes[size_t(position) + idxb::kOwnPosition], position);
    SetFirstChild(position, kIndexNoChild);
    return position;
}

void IndexImage::Append(int32_t block, const std::string& key, int32_t recordPosition, uint32_t sequence,
                        int32_t child)
{
    const int32_t used = Used(block);
    uint8_t* entry = &bytes[size_t(block + idxb::kEntries + used)];
    PutI32LE(entry + idxe::kChild, child);
    PutI32LE(entry + idxe::kRecordPosition, recordPosition);
    PutU32LE(entry + idxe::kSequence, sequence);
    std::memcpy(entry + idxe::kKey, key.c_str(), key.size() + 1);
    PutI32LE(&bytes[size_t(block) + idxb::kUsed], used + IndexEntrySize(int32_t(key.size())));
}
