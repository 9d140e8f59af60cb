#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "foundation/pack_data.h"
#include "support/alert_capture.h"

namespace {

using Bytes = std::vector<uint8_t>;

Handle ToHandle(const Bytes& b)
{
    Handle h = nullptr;
    HandleFromBytes(b.data(), &h, uint32_t(b.size()));
    return h;
}

Bytes ToBytes(Handle h) { return Bytes(HandleData(h), HandleData(h) + HandleGetSize(h)); }

struct Outcome {
    int32_t result;
    Bytes out;
};

Outcome Codec(const Bytes& in, int32_t mode, int32_t level = 6)
{
    HandleOwner src(ToHandle(in));
    HandleOwner dst(HandleNew(0));
    const int32_t result = PackData(src.get(), dst.get(), mode, level, 0);
    return {result, ToBytes(dst.get())};
}

Bytes Pack(const Bytes& in, int32_t level = 6) { return Codec(in, kPackCompress, level).out; }

// Text, long runs and noise, so that stored, fixed and dynamic blocks all
// appear, and larger than the codec's pieces of work.
Bytes Mixed(size_t n)
{
    std::mt19937 rng(7);
    Bytes b;
    const std::string words = "Dear \xC4nne, your labels ship Monday.\r\n";
    while (b.size() < n) {
        switch (rng() % 3) {
        case 0: b.insert(b.end(), words.begin(), words.end()); break;
        case 1: b.insert(b.end(), rng() % 5000, uint8_t(rng())); break;
        default:
            for (int i = 0; i < 3000; ++i)
                b.push_back(uint8_t(rng()));
        }
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
        const Outcome back = Codec(packed, kPackExpand);
        EXPECT_EQ(back.result, kPackOk) << level;
        EXPECT_TRUE(back.out == data) << level;
        if (level < 1 || level > 9) {
            EXPECT_TRUE(packed == six) << level;
        }
    }
    EXPECT_LT(Pack(data, 9).size(), Pack(data, 1).size());
}

TEST(PackData, TrailerHoldsGzipCrcAndLength)
{
    // The standard check value of gzip's CRC-32.
    const Bytes digits = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    const Bytes packed = Pack(digits);
    ASSERT_GE(packed.size(), 8u);
    EXPECT_EQ(GetU32LE(&packed[packed.size() - 8]), 0xCBF43926u);
    EXPECT_EQ(GetU32LE(&packed[packed.size() - 4]), 9u);
}

TEST(PackData, EmptyInputGivesEmptyStreamWithZeroTrailerAndExpandsToNothing)
{
    const Bytes packed = Pack({});
    ASSERT_GT(packed.size(), 8u);
    EXPECT_TRUE(Bytes(packed.end() - 8, packed.end()) == Bytes(8, 0));
    const Outcome back = Codec(packed, kPackExpand);
    EXPECT_EQ(back.result, kPackOk);
    EXPECT_TRUE(back.out.empty());
}

TEST(PackData, DestinationIsSizedToTheOutputAndMayBeTheSource)
{
    const Bytes data = Mixed(50000);
    HandleOwner h(ToHandle(data));
    HandleOwner big(HandleNew(1000000));
    ASSERT_EQ(PackData(h.get(), big.get(), kPackCompress, 6, 0), kPackOk);
    EXPECT_TRUE(ToBytes(big.get()) == Pack(data));

    ASSERT_EQ(PackData(h.get(), h.get(), kPackCompress, 6, 0), kPackOk);
    ASSERT_EQ(PackData(h.get(), h.get(), kPackExpand, 0, 0), kPackOk);
    EXPECT_TRUE(ToBytes(h.get()) == data);
}

TEST(PackData, InputEndingEarlyIsEndOfFileAtEveryCut)
{
    const Bytes packed = Pack(Mixed(20000));
    for (size_t cut = 0; cut < packed.size(); cut += (cut < 64 || packed.size() - cut < 16) ? 1 : 97) {
        const Outcome o = Codec(Bytes(packed.begin(), packed.begin() + cut), kPackExpand);
        ASSERT_EQ(o.result, kPackFileError) << cut;
        EXPECT_EQ(PackDataLastFileError(), 38) << cut;
        EXPECT_STREQ(PackDataLastMessage(), "") << cut;
    }
}

TEST(PackData, DamageIsReportedWithItsMessageAndNoBox)
{
    AlertCapture alerts;
    const Bytes packed = Pack(Mixed(5000));
    auto expect = [](Bytes bytes, const char* message) {
        EXPECT_EQ(Codec(bytes, kPackExpand).result, kPackDataError) << message;
        EXPECT_STREQ(PackDataLastMessage(), message);
        EXPECT_EQ(PackDataLastFileError(), 0);
    };
    ASSERT_GT(packed.size(), 8u);
    Bytes b = packed;
    b[b.size() - 1] ^= 1;
    expect(b, "invalid compressed data--length error");
    b = packed;
    b[b.size() - 8] ^= 0x80;
    expect(b, "invalid compressed data--crc error");
    b = packed;
    b[b.size() / 2] ^= 0x10;
    const int32_t flipped = Codec(b, kPackExpand).result;
    EXPECT_TRUE(flipped == kPackDataError || flipped == kPackFileError);
    // A final block of the reserved type 3.
    expect({0x07, 0, 0, 0, 0, 0, 0, 0, 0}, "invalid compressed data--format violated");
    EXPECT_TRUE(alerts.boxes().empty());
}

TEST(PackData, BytesBehindTheTrailerAreIgnored)
{
    const Bytes data = Mixed(3000);
    Bytes packed = Pack(data);
    packed.insert(packed.end(), {0, 0, 0xFF, 0x1F, 0x8B});
    const Outcome o = Codec(packed, kPackExpand);
    EXPECT_EQ(o.result, kPackOk);
    EXPECT_TRUE(o.out == data);
}

TEST(PackData, MemoryFailuresAreReportedAndLeakNothing)
{
    const Bytes data = Mixed(100000);
    const Bytes packed = Pack(data);
    HandleOwner dst(HandleNew(0));
    std::set<std::string> seen;
    for (int32_t mode : {kPackCompress, kPackExpand}) {
        HandleOwner src(ToHandle(mode == kPackCompress ? data : packed));
        bool succeeded = false;
        for (int32_t allowed = 0; allowed < 40 && !succeeded; ++allowed) {
            MemInjectAllocationFailure(allowed);
            const int32_t result = PackData(src.get(), dst.get(), mode, 6, 0);
            MemInjectAllocationFailure(-1);
            const std::string message = PackDataLastMessage();
            if (result == kPackDataError)
                seen.insert(message);
            else if (result == kPackFileError)
                seen.insert("file error " + std::to_string(PackDataLastFileError()));
            else
                succeeded = result == kPackOk;
        }
        ASSERT_TRUE(succeeded) << mode;
        EXPECT_TRUE(ToBytes(dst.get()) == (mode == kPackCompress ? packed : data));
    }
    EXPECT_EQ(seen, (std::set<std::string>{"insufficient memory", "out of memory", "file error -1"}));
    EXPECT_EQ(PackData(nullptr, nullptr, kPackCompress, 6, 0), kPackFileError);
    EXPECT_EQ(PackDataLastFileError(), kMemNullHandle);
}

}  // namespace
