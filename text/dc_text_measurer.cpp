#include "text/dc_text_measurer.h"

#include <array>
#include <cmath>
#include <string_view>

#include "graphics/font_spec.h"
#include "platform/dc.h"
#include "text/text_font.h"

struct DcTextMeasurer::Measured {
    int32_t ascent = 0;
    int32_t descent = 0;
    std::array<int32_t, 256> width{};
    std::array<int32_t, 256> overhang{};
    std::array<bool, 256> overhangKnown{};
    LogFont font;
};

DcTextMeasurer::DcTextMeasurer(FontSpecLookup lookup) : lookup_(std::move(lookup)), dc_(Dc::ForMeasuring(72)) {}

DcTextMeasurer::~DcTextMeasurer() = default;

bool DcTextMeasurer::SelectFont(int16_t font, int32_t size, int16_t style)
{
    const auto key = std::make_tuple(font, size, int16_t(style < 0 ? 0 : style & 7));
    if (current_ && key == key_)
        return true;
    auto found = cache_.find(key);
    if (found != cache_.end()) {
        key_ = key;
        current_ = found->second.get();
        return true;
    }
    FontSpec fontSpec;
    if (!lookup_ || !lookup_(font, &fontSpec))
        return false;
    auto m = std::make_unique<Measured>();
    // A size of 0 or less shows nothing and takes no room (a device font of
    // height 0 would be the device's default size instead).
    if (size <= 0) {
        m->overhangKnown.fill(true);
        key_ = key;
        current_ = m.get();
        cache_.emplace(key, std::move(m));
        return true;
    }
    m->font = TextLogFont(fontSpec, size, std::get<2>(key));
    dc_->selectFont(m->font);
    const TextMetrics metrics = dc_->getTextMetrics();
    m->ascent = metrics.ascent;
    m->descent = metrics.descent;
    for (int ch = 0; ch < 256; ++ch)
        m->width[size_t(ch)] = ch == 13 || ch == 0 ? 0 : dc_->getCharWidth(uint8_t(ch));
    key_ = key;
    current_ = m.get();
    cache_.emplace(key, std::move(m));
    return true;
}

DcTextMeasurer::Measured* DcTextMeasurer::Current()
{
    if (!current_)
        SelectFont(0, 12, 0);
    return current_;
}

int32_t DcTextMeasurer::Ascent() { return Current() ? current_->ascent : 0; }
int32_t DcTextMeasurer::Descent() { return Current() ? current_->descent : 0; }
int32_t DcTextMeasurer::CharWidth(uint8_t ch) { return Current() ? current_->width[ch] : 0; }

int32_t DcTextMeasurer::LeftOverhang(uint8_t ch)
{
    Measured* m = Current();
    if (!m)
        return 0;
    if (!m->overhangKnown[ch]) {
        dc_->selectFont(m->font);
        const char c = char(ch);
        const double left = dc_->textPath(0, 0, std::string_view(&c, 1)).boundingRect().left();
        m->overhang[ch] = left < 0 ? int32_t(std::ceil(-left)) : 0;
        m->overhangKnown[ch] = true;
    }
    return m->overhang[ch];
}
