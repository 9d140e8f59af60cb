#include "platform/actual_text.h"

#include <algorithm>
#include <cmath>

#include <QTransform>

#include "foundation/cp1252.h"

bool RunsAslant(const QTransform& t)
{
    // The baseline's direction; a quarter turn leaves one part at zero,
    // or at rounding noise far below the other.
    const double across = std::abs(t.m11()), up = std::abs(t.m12());
    constexpr double kNoise = 1e-9;
    return across > kNoise * up && up > kNoise * across;
}

std::string PdfTextString(std::string_view chars)
{
    if (std::all_of(chars.begin(), chars.end(), [](char c) { return c >= 0x20 && c <= 0x7E; }))
        return std::string(chars);
    std::string out = "\xFE\xFF";
    out.reserve(2 + 2 * chars.size());
    for (char c : chars) {
        const char16_t u = Cp1252ToUnicode(uint8_t(c));
        out.push_back(char(u >> 8));
        out.push_back(char(u & 0xFF));
    }
    return out;
}
