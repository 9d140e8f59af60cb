// The measurer over our device context: fonts of the document's font table
// resolved to installed faces, measured at one device pixel per document
// unit. Each (font, size, style) is measured once and kept.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <tuple>

#include "text/text_measurer.h"

class Dc;
struct FontSpec;

// The document's font table: a font number's description, false when the
// table has no such number.
using FontSpecLookup = std::function<bool(int16_t font, FontSpec* out)>;

class DcTextMeasurer : public TextMeasurer {
public:
    explicit DcTextMeasurer(FontSpecLookup lookup);
    ~DcTextMeasurer() override;

    bool SelectFont(int16_t font, int32_t size, int16_t style) override;
    int32_t Ascent() override;
    int32_t Descent() override;
    int32_t CharWidth(uint8_t ch) override;
    int32_t LeftOverhang(uint8_t ch) override;

private:
    struct Measured;
    Measured* Current();

    FontSpecLookup lookup_;
    std::unique_ptr<Dc> dc_;
    std::map<std::tuple<int16_t, int32_t, int16_t>, std::unique_ptr<Measured>> cache_;
    std::tuple<int16_t, int32_t, int16_t> key_{0, 12, 0};
    Measured* current_ = nullptr;
};
