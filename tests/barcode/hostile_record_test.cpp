// Records come from files: whatever their bytes, measuring and drawing
// must end, stay in bounds and leave the context as it was.
#include <gtest/gtest.h>

#include <random>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_record_format.h"
#include "foundation/byte_order.h"
#include "render_support.h"

namespace {

TEST(HostileRecords, DrawAndMeasureWhateverTheBytes)
{
    std::mt19937 random(2024);
    const double lengths[] = {0.0, -3.0, 0.4, 1.0, 36.0, 1e7, 1e300, -1e300, std::nan(""), INFINITY};
    BarcodeCanvas canvas(200, 120);
    const LogFont font = canvas.dc->font();
    for (int round = 0; round < 400; ++round) {
        uint8_t bytes[kBarcodeRecordSize];
        for (uint8_t& b : bytes)
            b = uint8_t(random());
        // Half the rounds keep lengths a file could plausibly hold, so the
        // symbologies' own paths run too, with data they accept.
        if (round % 2) {
            for (uint32_t offset = kBarcodeBarHeightOffset; offset <= kBarcodeAngleOffset; offset += 8)
                PutF64LE(bytes + offset, lengths[random() % 10]);
            PutF64LE(bytes + kBarcodeCaptionSizeOffset, lengths[random() % 10]);
            bytes[0] = uint8_t(random() % 20);
            for (int i = 1; i <= bytes[0]; ++i)
                bytes[i] = uint8_t(random() % 3 ? '0' + random() % 10 : random());
        }
        PutI16LE(bytes + kBarcodeTypeOffset, int16_t(int(random() % 20) - 2));
        BarcodeRecord rec;
        BarcodeRecordRead(bytes, &rec);
        const int16_t num = int16_t(int(random() % 5) - 1);
        const int16_t den = int16_t(random() % 4);
        MeasureBarcode(BarcodeMeasuringDc().get(), &rec, nullptr, num, den);
        DrawBarcode(canvas.dc.get(), &rec, num, den);
        ASSERT_TRUE(canvas.dc->font() == font) << round;
    }
}

}  // namespace
