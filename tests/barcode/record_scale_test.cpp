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
        PutU64LE(bytes + kBarcodeAngleOffset, 0x7FF4000000000123ull);  // a NaN with a payload
        BarcodeRecord rec;
        BarcodeRecordRead(bytes, &rec);
        uint8_t again[kBarcodeRecordSize];
        BarcodeRecordWrite(rec, again);
        ASSERT_EQ(std::memcmp(bytes, again, kBarcodeRecordSize), 0) << "round " << round;
    }

    BarcodeRecord rec = MakeRecord(kBarcodeEan8, "1234567");
    rec.reserved = 0x5A;
    rec.bounds = {-4, -5, 100, 60};
    rec.centreY = -3;
    rec.captionSize = 12.5;
    uint8_t b[kBarcodeRecordSize] = {};
    BarcodeRecordWrite(rec, b);
    EXPECT_EQ(b[0], 7);
    EXPECT_EQ(GetF64LE(b + 256), 72.0);
    EXPECT_EQ(GetI16LE(b + 296), 12);
    EXPECT_EQ(b[304], 0x5A);
    EXPECT_EQ(GetI32LE(b + 320), 60);
    EXPECT_EQ(GetI32LE(b + 336), -3);
    EXPECT_EQ(GetF64LE(b + 340), 12.5);

    PStr name;
    BarcodeTypeName(kBarcodeCode128, name);
    EXPECT_EQ(AsString(name), "Code128 ");
    for (int16_t type : {int16_t(2), int16_t(0), int16_t(16), int16_t(-1), int16_t(32767)}) {
        BarcodeTypeName(type, name);
        EXPECT_EQ(name[0], 0) << type;
    }
}

TEST(BarcodeScale, RatioScalesTheWorkingCopy)
{
    BarcodeRecord caller = MakeRecord(kBarcodeUpcA, "03600029145");
    caller.bounds = {-4, -4, 101, 77};
    caller.originX = 50;
    BarcodeRecord work;
    ASSERT_TRUE(PrepareWorkingRecord(caller, &work, 1, 1));
    EXPECT_EQ(gBarcodeMargin, 4);
    EXPECT_EQ(gHalfDigit, 5);
    ASSERT_TRUE(PrepareWorkingRecord(caller, &work, 2, 1));
    EXPECT_EQ(gBarcodeMargin, 8);
    EXPECT_EQ(work.module, 2.0);
    EXPECT_EQ(work.barHeight, 144.0);
    EXPECT_EQ(work.bounds.right, 202);
    EXPECT_EQ(work.originX, 50);  // positions are device units already
    ASSERT_TRUE(PrepareWorkingRecord(caller, &work, 3, 2));
    EXPECT_EQ(work.bounds.left, -6);
    EXPECT_EQ(work.bounds.bottom, 115);  // 115.5, truncated
    EXPECT_EQ(gBarcodeMargin, 6);

    // Records come from files: no ratio, no NaN angle, no position that
    // overflows when the margin is added.
    EXPECT_FALSE(PrepareWorkingRecord(caller, &work, 1, 0));
    EXPECT_FALSE(PrepareWorkingRecord(caller, &work, -3, 1));
    caller.angle = std::nan("");
    caller.originX = INT32_MAX;
    ASSERT_TRUE(PrepareWorkingRecord(caller, &work, 1, 1));
    EXPECT_EQ(work.angle, 0.0);
    EXPECT_EQ(work.originX, 268435456);
    caller.angle = 450.0;
    ASSERT_TRUE(PrepareWorkingRecord(caller, &work, 1, 1));
    EXPECT_EQ(work.angle, 90.0);
    EXPECT_EQ(BarcodeTrunc(-2.9), -2);
    EXPECT_EQ(BarcodeTrunc(-INFINITY), -268435456);
}

}  // namespace
