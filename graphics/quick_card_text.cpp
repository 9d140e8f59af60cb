#include "graphics/quick_card_text.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "foundation/byte_order.h"
#include "graphics/field_text_provider.h"
#include "graphics/quick_card_format.h"

namespace {

std::string FieldText(int32_t field, bool useRecord, bool previewMode)
{
    FieldTextProvider* provider = InstalledFieldTextProvider();
    if (!provider)
        return {};
    std::string text = previewMode || useRecord ? provider->MergeFieldText(field, previewMode)
                                                : provider->BracketedFieldName(field);
    // A zero byte would end the text for every later reader.
    text.resize(::strnlen(text.c_str(), text.size()));
    return text;
}

}  // namespace

int32_t QuickCardItemText(const uint8_t* item, int32_t useRecord, char* out, int32_t maxLength, int32_t previewMode)
{
    if (!out || maxLength < 0)
        return 0;
    out[0] = 0;
    if (!item)
        return 0;
    const uint32_t size = GetU32LE(item + kQcItemSize);
    if (size < kQcItemMinSize || size > kQcItemMaxSize)
        return 0;
    // The text ends at its terminator, but never beyond the item.
    const size_t bound = std::min<size_t>(kQcItemMaxText, size - kQcItemText);
    const char* start = reinterpret_cast<const char*>(item + kQcItemText);
    const std::string_view pattern(start, ::strnlen(start, bound));

    std::string text;
    const int32_t field = GetI32LE(item + kQcItemField);
    if (field < 0) {
        text = pattern;
    } else {
        const std::string value = FieldText(field, useRecord != 0, previewMode != 0);
        if (!value.empty()) {
            const size_t bar = pattern.find(kQcTemplateBar);
            const std::string_view prefix = pattern.substr(0, bar);
            const std::string_view suffix = bar == std::string_view::npos ? std::string_view() : pattern.substr(bar + 1);
            text.reserve(prefix.size() + value.size() + suffix.size());
            text.append(prefix).append(value).append(suffix);
        }
    }
    const size_t n = std::min(text.size(), size_t(maxLength));
    std::memcpy(out, text.data(), n);
    out[n] = 0;
    return int32_t(n);
}
