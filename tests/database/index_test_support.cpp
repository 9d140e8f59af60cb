#include "index_test_support.h"

#include <fstream>
#include <iterator>

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

IndexImage::IndexImage(int32_t levels) : bytes(size_t(kIndexHeaderPageSize), 0)
{
    PutI32LE(At(idxb::kOwnPosition), 0);
    PutI32LE(At(idxb::kUsed), 0);
    PutI32LE(At(idxb::kFirstChild), kIndexNoChild);
    PutI32LE(At(idxh::kFreeList), kIndexNone);
    PutU32LE(At(idxh::kNextSequence), 1000);
    PutU32LE(At(idxh::kCleanMark), 1);
    PutU32LE(At(idxh::kLevels), uint32_t(levels));
}

int32_t IndexImage::AddBlock()
{
    const int32_t position = int32_t(bytes.size());
    bytes.resize(bytes.size() + kIndexBlockSize, 0);
    PutI32LE(At(position + idxb::kOwnPosition), position);
    PutI32LE(At(position + idxb::kFirstChild), kIndexNoChild);
    return position;
}

void IndexImage::SetFirstChild(int32_t block, int32_t child) { PutI32LE(At(block + idxb::kFirstChild), child); }

int32_t IndexImage::Used(int32_t block) const { return GetI32LE(bytes.data() + block + idxb::kUsed); }

void IndexImage::Append(int32_t block, const std::string& key, int32_t recordPosition, uint32_t sequence,
                        int32_t child)
{
    const int32_t used = Used(block);
    uint8_t* entry = At(block + idxb::kEntries + used);
    PutI32LE(entry + idxe::kChild, child);
    PutI32LE(entry + idxe::kRecordPosition, recordPosition);
    PutU32LE(entry + idxe::kSequence, sequence);
    std::memcpy(entry + idxe::kKey, key.c_str(), key.size() + 1);
    PutI32LE(At(block + idxb::kUsed), used + IndexEntrySize(int32_t(key.size())));
}
