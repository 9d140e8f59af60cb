#include "frames/counter_text.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/byte_order.h"
#include "frames/barcode_frame_format.h"

namespace {

// A zero-terminated text of a fixed field that may lack its terminator.
std::string BoundedText(const uint8_t* field, size_t size)
{
    const void* end = std::memchr(field, 0, size);
    const size_t n = end ? size_t(static_cast<const uint8_t*>(end) - field) : size;
    return std::string(reinterpret_cast<const char*>(field), n);
}

void ToPStr(const std::string& text, uint8_t* out)
{
    const size_t n = std::min<size_t>(text.size(), kPStrMaxLength);
    out[0] = uint8_t(n);
    std::memcpy(out + 1, text.data(), n);
}

}  // namespace

int64_t CounterValue(const uint8_t* settings)
{
    const int64_t start = GetI32LE(settings + kCounterStartOffset);
    const int64_t step = GetI32LE(settings + kCounterStepOffset);
    const int32_t repeat = std::max<int32_t>(GetI32LE(settings + kCounterRepeatOffset), 1);
    const int64_t block = GetI32LE(settings + kCounterValueOffset) / repeat;
    // Each factor is within 2^31, so the product is within 2^62 and the sum
    // fits: a step of 999999 passes 2^31 by the 2148th label.
    return start + step * block;
}

void CounterDigits(int64_t value, int32_t widthMode, int32_t width, uint8_t* out)
{
    std::string digits = std::to_string(value);
    if (widthMode != 0) {
        // A number that has outgrown the width prints whole: its last
        // digits alone would be another number, and tickets would repeat.
        const size_t w = size_t(std::clamp<int32_t>(width, 0, kPStrMaxLength));
        if (digits.size() < w) {
            const size_t pad = w - digits.size();
            if (widthMode == 1) {
                digits.insert(0, pad, '0');
                if (value < 0) {
                    digits[pad] = '0';
                    digits[0] = '-';
                }
            } else {
                digits.insert(0, pad, ' ');
            }
        }
    }
    ToPStr(digits, out);
}

void CounterText(const uint8_t* settings, uint8_t* out)
{
    PStr digits;
    CounterDigits(CounterValue(settings), GetI32LE(settings + kCounterWidthModeOffset),
                  GetI32LE(settings + kCounterWidthOffset), digits);
    std::string text = BoundedText(settings + kCounterPrefixOffset, kCounterTextSize);
    text.append(reinterpret_cast<const char*>(digits + 1), digits[0]);
    text += BoundedText(settings + kCounterSuffixOffset, kCounterTextSize);
    ToPStr(text, out);
}
