#include <gtest/gtest.h>

#include <map>

#include "foundation/win_error.h"
#include "graphics/dib_serial.h"
#include "graphics/dib_test_support.h"
#include "support/temp_dir.h"

namespace {

// The swap file's positioned access, in memory.
class MemoryStore final : public StoreFileIo {
public:
    std::vector<uint8_t> bytes;
    bool full = false;

    uint32_t Allocate(uint32_t length) override
    {
        if (full)
            return kStoreNoPosition;
        const uint32_t at = uint32_t(bytes.size()) + 8;  // not at 0, to catch ignored positions
        bytes.resize(at + length, 0xEE);
        return at;
    }
    int32_t WriteAt(uint32_t position, const void* data, uint32_t n) override
    {
        if (uint64_t(position) + n > bytes.size())
            return kErrDiskFull;
        std::memcpy(bytes.data() + position, data, n);
        return 0;
    }
    int32_t ReadAt(uint32_t position, void* data, uint32_t n) override
    {
        if (uint64_t(position) + n > bytes.size())
            return kErrHandleEof;
        std::memcpy(data, bytes.data() + position, n);
        return 0;
    }
};

std::vector<uint8_t> Serial(DibHandle h)
{
    std::vector<uint8_t> out(DibHandleSerialSize(h));
    EXPECT_EQ(DibHandleSerialize(h, out.data(), out.size(), 0), 0);
    return out;
}

// Reads the buffer form; the handle must be empty whenever it fails.
int32_t Read(const std::vector<uint8_t>& bytes, DibHandle h)
{
    const int32_t result = DibHandleDeserialize(h, bytes.data(), bytes.size(), 0);
    if (result) {
        EXPECT_TRUE(DibHandleIsEmpty(h));
    }
    return result;
}

TEST(DibSerial, EveryDepthRoundTripsByteForByteThroughAllThreeForms)
{
    TempDir dir;
    PathRecord path{};
    ASSERT_EQ(PathRecordFromPosix(dir.file("pictures"), &path), 0);
    FileHandle file = kNoFile;
    ASSERT_EQ(FileCreate(&path, kFileReadWrite, &file), 0);

    MemoryStore store;
    std::vector<std::vector<uint8_t>> blocks;
    std::vector<uint32_t> positions;
    for (int32_t bits : {1, 4, 8, 24}) {
        DibHandleOwner h(MakeDib(13, 5, bits, [](int32_t x, int32_t y) { return (x * y) % 3 ? kWhite : 0x336699u; }));
        const std::vector<uint8_t> serial = Serial(h.get());
        ASSERT_EQ(GetU32LE(serial.data()), serial.size() - 4);
        blocks.push_back(serial);

        DibHandleOwner back;
        ASSERT_EQ(Read(serial, back.get()), 0);
        EXPECT_EQ(Serial(back.get()), serial);

        ASSERT_EQ(DibHandleWriteFile(file, h.get()), 0);
        uint32_t position = 0, length = 0;
        ASSERT_EQ(DibHandleWriteStore(&store, h.get(), &position, &length), 0);
        EXPECT_EQ(length, serial.size());
        positions.push_back(position);
    }
    ASSERT_EQ(FileSeek(file, kSeekStart, 0), 0);
    for (size_t i = 0; i < blocks.size(); ++i) {
        DibHandleOwner fromFile(nullptr), fromStore;
        ASSERT_EQ(DibHandleReadFile(file, fromFile.address()), 0);
        EXPECT_EQ(Serial(fromFile.get()), blocks[i]);
        ASSERT_EQ(DibHandleReadStore(&store, fromStore.get(), positions[i]), 0);
        EXPECT_EQ(Serial(fromStore.get()), blocks[i]);
    }
    FileClose(file);
}

TEST(DibSerial, SizeWordZeroIsAnEmptyPictureEverywhere)
{
    DibHandleOwner empty, h(MakeDib(2, 2, 24, Pattern));
    EXPECT_EQ(Serial(empty.get()), std::vector<uint8_t>(4, 0));
    ASSERT_EQ(Read({0, 0, 0, 0}, h.get()), 0);
    EXPECT_TRUE(DibHandleIsEmpty(h.get()));

    MemoryStore store;
    uint32_t position = 0, length = 0;
    ASSERT_EQ(DibHandleWriteStore(&store, empty.get(), &position, &length), 0);
    EXPECT_EQ(length, 4u);
    DibHandleOwner back(MakeDib(2, 2, 24, Pattern));
    EXPECT_EQ(DibHandleReadStore(&store, back.get(), position), 0);
    EXPECT_TRUE(DibHandleIsEmpty(back.get()));

    // A null picture writes nothing; a store without room or a missing
    // position fails.
    position = 77;
    EXPECT_EQ(DibHandleWriteStore(&store, nullptr, &position, &length), 0);
    EXPECT_EQ(position, 77u);
    EXPECT_EQ(DibHandleReadStore(&store, back.get(), kStoreNoPosition), 1);
    store.full = true;
    EXPECT_EQ(DibHandleWriteStore(&store, h.get(), &position, &length), 1);
}

TEST(DibSerial, CorruptHeadersAreRefusedAndLeaveTheTargetCleared)
{
    DibHandleOwner good(MakeDib(3, 2, 8, Pattern));
    const std::vector<uint8_t> serial = Serial(good.get());
    using Patch = std::function<void(std::vector<uint8_t>&)>;
    const std::map<std::string, Patch> patches = {
        {"header size 12", [](auto& b) { PutU32LE(&b[4 + kBiSize], 12); }},
        {"2 bits", [](auto& b) { PutU16LE(&b[4 + kBiBitCount], 2); }},
        {"compressed", [](auto& b) { PutU32LE(&b[4 + kBiCompression], 1); }},
        {"table too big", [](auto& b) { PutU32LE(&b[4 + kBiClrUsed], 257); }},
        {"width 0", [](auto& b) { PutI32LE(&b[4 + kBiWidth], 0); }},
        {"negative width", [](auto& b) { PutI32LE(&b[4 + kBiWidth], -3); }},
        {"height 0", [](auto& b) { PutI32LE(&b[4 + kBiHeight], 0); }},
        {"lowest height", [](auto& b) { PutI32LE(&b[4 + kBiHeight], INT32_MIN); }},
        {"huge width", [](auto& b) { PutI32LE(&b[4 + kBiWidth], INT32_MAX); }},
        {"rows beyond the size", [](auto& b) { PutI32LE(&b[4 + kBiHeight], 3); }},
        {"size below a header", [](auto& b) { PutU32LE(&b[0], 39); }},
        {"size beyond the buffer", [](auto& b) { PutU32LE(&b[0], uint32_t(b.size())); }},
        {"size word negative", [](auto& b) { PutU32LE(&b[0], 0x80000000u); }},
        {"cut in the header", [](auto& b) { b.resize(20); }},
        {"cut in the size word", [](auto& b) { b.resize(3); }},
    };
    for (const auto& [name, patch] : patches) {
        std::vector<uint8_t> bad = serial;
        patch(bad);
        DibHandleOwner h(MakeDib(2, 2, 24, Pattern));
        EXPECT_EQ(Read(bad, h.get()), 1) << name;
    }
    // The same checks guard the file form; a size word beyond the file's
    // end is the end of the file.
    TempDir dir;
    PathRecord path{};
    ASSERT_EQ(PathRecordFromPosix(dir.file("bad"), &path), 0);
    FileHandle file = kNoFile;
    ASSERT_EQ(FileCreate(&path, kFileReadWrite, &file), 0);
    std::vector<uint8_t> bad = serial;
    PutU32LE(&bad[4 + kBiClrUsed], 300);
    bad.insert(bad.end(), {0x00, 0x10, 0, 0});
    ASSERT_EQ(FileWrite(file, bad.data(), uint32_t(bad.size())), 0);
    FileSeek(file, kSeekStart, 0);
    DibHandleOwner h(nullptr);
    EXPECT_EQ(DibHandleReadFile(file, h.address()), 1);
    EXPECT_TRUE(DibHandleIsEmpty(h.get()));
    FileSeek(file, kSeekStart, int32_t(serial.size()));
    EXPECT_EQ(DibHandleReadFile(file, h.address()), kErrHandleEof);
    FileClose(file);
}

TEST(DibSerial, BufferWritesNeverPassTheCapacity)
{
    DibHandleOwner h(MakeDib(3, 3, 24, Pattern));
    std::vector<uint8_t> buffer(DibHandleSerialSize(h.get()) + 5, 0xAB);
    EXPECT_EQ(DibHandleSerialize(h.get(), buffer.data(), buffer.size(), 6), 1);
    EXPECT_EQ(buffer, std::vector<uint8_t>(buffer.size(), 0xAB));
    ASSERT_EQ(DibHandleSerialize(h.get(), buffer.data(), buffer.size(), 5), 0);
    DibHandleOwner back;
    ASSERT_EQ(DibHandleDeserialize(back.get(), buffer.data(), buffer.size(), 5), 0);
    EXPECT_EQ(Block(back.get()), Block(h.get()));
    EXPECT_EQ(DibHandleDeserialize(back.get(), buffer.data(), buffer.size(), buffer.size() + 1), 1);
}

}  // namespace
