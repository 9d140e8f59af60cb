#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "barcode/barcode_record.h"
#include "barcode/barcode_record_format.h"
#include "barcode/barcode_scale.h"
#include "barcode_test_util.h"
#include "foundation/byte_order.h"

namespace {

TEST(BarcodeRecord, RoundTripKeepsEveryByte)
{
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        uint8_t bytes[kBarcodeRecordSize];
        for (uint8_t& b : bytes)
            b = uint8_t(random());
        // A NaN with a payload must come back bit for bit too.
        PutU64LE(bytes + kBarcodeAngleOffset, 0x7FF4000000000123ull);
        BarcodeRecord rec;
        BarcodeRecordRead(bytes, &rec);
        uint8_t again[kBarcodeRecordSize];
        std::memset(again, 0xEE, sizeof(again));
        BarcodeRecordWrite(rec, again);
        ASSERT_EQ(std::memcmp(bytes, again, kBarcodeRecordSize), 0) << "round " << round;
    }
}

TEST(BarcodeRecord, FieldsSitAtTheirOffsets)
{
    BarcodeRecord rec = MakeRecord(kBarcodeEan8, "1234567");
    rec.angle = 90.0;
    rec.showStartStop = 1;
    rec.reserved = 0x5A;
    rec.bookPrefix = 2;
    rec.bounds = {-4, -5, 100, 60};
    rec.originX = 11;
    rec.centreY = -3;
    rec.captionSize = 12.5;
    uint8_t b[kBarcodeRecordSize] = {};
    BarcodeRecordWrite(rec, b);
    EXPECT_EQ(b[0], 7);
    EXPECT_EQ(b[1], '1');
    EXPECT_EQ(GetF64LE(b + 256), 72.0);
    EXPECT_EQ(GetF64LE(b + 288), 90.0);
    EXPECT_EQ(GetI16LE(b + 296), 12);
    EXPECT_EQ(b[301], 1);
    EXPECT_EQ(b[304], 0x5A);
    EXPECT_EQ(b[305], 2);
    EXPECT_EQ(GetI32LE(b + 308), -4);
    EXPECT_EQ(GetI32LE(b + 320), 60);
    EXPECT_EQ(GetI32LE(b + 324), 11);
    EXPECT_EQ(GetI32LE(b + 336), -3);
    EXPECT_EQ(GetF64LE(b + 340), 12.5);
}

TEST(BarcodeRecord, TypeNamesAndNumbersOutsideTheTable)
{
    PStr name;
    BarcodeTypeName(kBarcodeCode128, name);
    EXPECT_EQ(AsString(name), "Code128 ");
    BarcodeTypeName(kBarcodeEan8, name);
    EXPECT_EQ(AsString(name), "EAN-8 ");
    BarcodeTypeName(kBarcodeCodabar, name);
    EXPECT_EQ(AsString(name), "Codabar ");
    for (int16_t type : {int16_t(2), int16_t(5), int16_t(0), int16_t(16), int16_t(-1), int16_t(32767)}) {
        BarcodeTypeName(type, name);
        EXPECT_EQ(name[0], 0) << type;
    }
}

TEST(BarcodeScale, MarginsAndFixedSizesFollowTheRatio)
{
    BarcodeRecord rec = MakeRecord(kBarcodeUpcA, "03600029145");
    SetBarcodeRatio(1, 1);
    SetBarcodeScale(&rec, true);
    EXPECT_EQ(gBarcodeMargin, 4);
    EXPECT_EQ(gBarcodeBase, 72.0);
    EXPECT_EQ(gHalfDigit, 5);
    EXPECT_EQ(gAddOnGap, 10.0);

    rec = MakeRecord(kBarcodeUpcA, "03600029145");
    rec.bounds = {-4, -4, 101, 77};
    rec.originX = 50;
    rec.centreX = 70;
    SetBarcodeRatio(2, 1);
    SetBarcodeScale(&rec, true);
    EXPECT_EQ(gBarcodeMargin, 8);
    EXPECT_EQ(rec.module, 2.0);
    EXPECT_EQ(rec.barHeight, 144.0);
    EXPECT_EQ(rec.captionSize, 20.0);
    EXPECT_EQ(rec.bounds.right, 202);
    EXPECT_EQ(rec.bounds.top, -8);
    EXPECT_EQ(rec.originX, 50);  // positions are device units already
    EXPECT_EQ(rec.centreX, 70);
    EXPECT_EQ(gHalfDigit, 10);

    // Three units per two points: truncated, not rounded.
    rec = MakeRecord(kBarcodeUpcA, "03600029145");
    rec.bounds = {-3, -3, 5, 5};
    SetBarcodeRatio(3, 2);
    SetBarcodeScale(&rec, true);
    EXPECT_EQ(rec.bounds.left, -4);
    EXPECT_EQ(rec.bounds.right, 7);
    EXPECT_EQ(gBarcodeMargin, 6);
}

TEST(BarcodeScale, TruncationHoldsHostileValues)
{
    EXPECT_EQ(BarcodeTrunc(2.9), 2);
    EXPECT_EQ(BarcodeTrunc(-2.9), -2);
    EXPECT_EQ(BarcodeTrunc(std::nan("")), 0);
    EXPECT_EQ(BarcodeTrunc(1e300), 268435456);
    EXPECT_EQ(BarcodeTrunc(-INFINITY), -268435456);

    BarcodeRecord caller = MakeRecord(kBarcodeCode39, "A");
    caller.angle = std::nan("");
    caller.originX = INT32_MAX;
    BarcodeRecord work;
    EXPECT_FALSE(PrepareWorkingRecord(caller, &work, 1, 0));
    EXPECT_FALSE(PrepareWorkingRecord(caller, &work, -3, 1));
    ASSERT_TRUE(PrepareWorkingRecord(caller, &work, 1, 1));
    EXPECT_EQ(work.angle, 0.0);
    EXPECT_EQ(work.originX, 268435456);
    caller.angle = 450.0;
    ASSERT_TRUE(PrepareWorkingRecord(caller, &work, 1, 1));
    EXPECT_EQ(work.angle, 90.0);
}

}  // namespace
