#include "frames/address_block_layout.h"

#include <algorithm>

#include "foundation/byte_order.h"
#include "frames/barcode_frame_format.h"
#include "graphics/field_text_provider.h"
#include "platform/dc.h"

namespace {

constexpr int32_t kZipField = 100;
constexpr int32_t kDeliveryPointField = 23;

std::string FieldText(int32_t field, bool output)
{
    FieldTextProvider* provider = InstalledFieldTextProvider();
    return provider ? provider->MergeFieldText(field, output) : std::string();
}

}  // namespace

AddressLayout LayOutAddressBlock(const uint8_t* settings, const std::array<std::string, kAddressFieldCount>& texts,
                                 Dc* dc)
{
    const bool closeUp = GetI32LE(settings + kQuickCardCloseUpOffset) != 0;
    const bool skipEmpty = GetI32LE(settings + kQuickCardSkipEmptyOffset) != 0;
    AddressLayout layout;
    int32_t x = 0;
    bool started = false;
    auto newLine = [&] {
        layout.widest = std::max(layout.widest, x);
        ++layout.lines;
        x = 0;
    };
    for (int32_t i = 1; i <= kAddressFieldCount; ++i) {
        std::string text = texts[size_t(i - 1)];
        if (!text.empty())
            text += ' ';
        const bool included = GetI32LE(settings + kQuickCardIncludeOffset + 4 * size_t(i - 1)) != 0;
        const bool breaks = GetI32LE(settings + kQuickCardNewLineOffset + 4 * size_t(i - 1)) != 0;
        const int32_t width = text.empty() ? 0 : dc->getTextExtent(text).width;
        if (!included) {
            if (skipEmpty)
                continue;
            if (breaks && i > 1 && started)
                newLine();
            started = true;
            if (!closeUp)
                x += width;
            continue;
        }
        if (skipEmpty) {
            if (text.empty())
                continue;
            if (breaks && started)
                newLine();
        } else if ((breaks || i == 1) && started) {
            newLine();
        }
        started = true;
        if (!text.empty())
            layout.pieces.push_back(AddressPiece{i, x, layout.lines - 1, text});
        x += width;
    }
    layout.widest = std::max(layout.widest, x);
    return layout;
}

std::string QuickCardPostnetData(bool useRecord, bool output)
{
    if (!useRecord)
        return "12345678999";
    std::string data = FieldText(kZipField, output);
    if (data.size() == 9)
        data += FieldText(kDeliveryPointField, output);
    return data;
}

std::string QuickCardZipText(bool useRecord, bool output)
{
    return useRecord ? FieldText(kZipField, output) : "123456789";
}
