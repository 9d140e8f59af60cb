#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/pack_data.h"
#include "support/alert_capture.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(Handle h) { return Bytes(HandleData(h), HandleData(h) + HandleGetSize(h)); }

// The result, and the destination's bytes.
std::pair<int32_t, Bytes> Codec(const Bytes& in, int32_t mode, int32_t level = 6)
{
    Handle src = nullptr;
    HandleFromBytes(in.data(), &src, uint32_t(in.size()));
    HandleOwner source(src), destination(HandleNew(0));
    const int32_t result = PackData(source.get(), destination.get(), mode, level, 0);
    return {result, ToBytes(destination.get())};
}

std::pair<int32_t, Bytes> Success(const Bytes& out) { return {kPackOk, out}; }

Bytes Pack(const Bytes& in, int32_t level = 6) { return Codec(in, kPackCompress, level).second; }

// Text, runs and noise, larger than the codec's pieces of work.
Bytes Mixed(size_t n)
{
    std::mt19937 rng(7);
    const std::string text = "Dear \xC4nne, your labels ship Monday.\r\n";
    Bytes b;
    while (b.size() < n) {
        if (rng() % 2)
            b.insert(b.end(), text.begin(), text.end());
        else
            b.insert(b.end(), rng() % 3000, uint8_t(rng() % 4 ? rng() : 0));
    }
    b.resize(n);
    return b;
}

TEST(PackData, RoundTripsAtEveryLevelAndOutOfRangeLevelsActAsSix)
{
    const Bytes data = Mixed(300000);
    const Bytes six = Pack(data, 6);
    for (int32_t level = -1; level <= 12; ++level) {
        const Bytes packed = Pack(data, level);
        EXPECT_EQ(Codec(packed, kPackExpand), Success(data)) << level;
        if (level < 1 || level > 9) {
            EXPECT_EQ(packed, six) << level;
        }
    }
    EXPECT_LT(Pack(data, 9).size(), Pack(data, 1).size());
}

TEST(PackData, TrailerHoldsCrcAndLengthAlsoForEmptyInput)
{
    const Bytes packed = Pack({'1', '2', '3', '4', '5', '6', '7', '8', '9'});
    ASSERT_GT(packed.size(), 8u);
    EXPECT_EQ(GetU32LE(&packed[packed.size() - 8]), 0xCBF43926u);  // CRC-32's check value
    EXPECT_EQ(GetU32LE(&packed[packed.size() - 4]), 9u);

    const Bytes empty = Pack({});
    ASSERT_GT(empty.size(), 8u);
    EXPECT_EQ(Bytes(empty.end() - 8, empty.end()), Bytes(8, 0));
    EXPECT_EQ(Codec(empty, kPackExpand), Success({}));
}

TEST(PackData, DestinationTakesTheOutputSizeAndMayBeTheSource)
{
    const Bytes data = Mixed(50000);
    Handle h = nullptr;
    HandleFromBytes(data.data(), &h, uint32_t(data.size()));
    HandleOwner same(h), big(HandleNew(1000000));
    ASSERT_EQ(PackData(h, big.get(), kPackCompress, 6, 0), kPackOk);
    EXPECT_EQ(ToBytes(big.get()), Pack(data));
    ASSERT_EQ(PackData(h, h, kPackCompress, 6, 0), kPackOk);
    ASSERT_EQ(PackData(h, h, kPackExpand, 0, 0), kPackOk);
    EXPECT_EQ(ToBytes(h), data);
}

TEST(PackData, FailuresReportCodeOrMessageWithoutABox)
{
    AlertCapture alerts;
    const Bytes data = Mixed(20000);
    const Bytes packed = Pack(data);
    ASSERT_GT(packed.size(), 8u);
    for (size_t cut = 0; cut < packed.size(); cut += cut < 64 || packed.size() - cut < 16 ? 1 : 97) {
        ASSERT_EQ(Codec(Bytes(packed.begin(), packed.begin() + cut), kPackExpand).first, kPackFileError);
        ASSERT_EQ(PackDataLastFileError(), 38) << cut;
    }
    auto damaged = [&](size_t at, const char* message) {
        Bytes b = packed;
        b[at] ^= 1;
        EXPECT_EQ(Codec(b, kPackExpand).first, kPackDataError) << message;
        EXPECT_STREQ(PackDataLastMessage(), message);
    };
    damaged(packed.size() - 1, "invalid compressed data--length error");
    damaged(packed.size() - 8, "invalid compressed data--crc error");
    // A final block of the reserved type 3.
    EXPECT_EQ(Codec({0x07, 0, 0, 0, 0, 0, 0, 0, 0}, kPackExpand).first, kPackDataError);
    EXPECT_STREQ(PackDataLastMessage(), "invalid compressed data--format violated");
    EXPECT_TRUE(alerts.boxes().empty());

    Bytes trailing = packed;
    trailing.insert(trailing.end(), {0, 0x1F, 0x8B});
    EXPECT_EQ(Codec(trailing, kPackExpand), Success(data));
}

TEST(PackData, MemoryFailuresAreReportedAndLeakNothing)
{
    const Bytes data = Mixed(100000);
    const Bytes packed = Pack(data);
    HandleOwner dst(HandleNew(0));
    std::set<std::string> seen;
    for (int32_t mode : {kPackCompress, kPackExpand}) {
        Handle src = nullptr;
        const Bytes& in = mode == kPackCompress ? data : packed;
        HandleFromBytes(in.data(), &src, uint32_t(in.size()));
        HandleOwner source(src);
        int32_t result = -1;
        for (int32_t allowed = 0; allowed < 40 && result != kPackOk; ++allowed) {
            MemInjectAllocationFailure(allowed);
            result = PackData(src, dst.get(), mode, 6, 0);
            MemInjectAllocationFailure(-1);
            if (result != kPackOk)
                seen.insert(PackDataLastMessage() + std::to_string(PackDataLastFileError()));
        }
        ASSERT_EQ(result, kPackOk);
        EXPECT_EQ(ToBytes(dst.get()), mode == kPackCompress ? packed : data);
    }
    EXPECT_EQ(seen, (std::set<std::string>{"insufficient memory0", "out of memory0", "-1"}));
    EXPECT_EQ(PackData(nullptr, nullptr, kPackCompress, 6, 0), kPackFileError);
    EXPECT_EQ(PackDataLastFileError(), kMemNullHandle);
}

}  // namespace
