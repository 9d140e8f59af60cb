// The text sizes a card takes, in points: whatever a box or a command asks
// for is held within them.
#pragma once

#include <algorithm>
#include <cstdint>

constexpr int16_t kMinFontSize = 6;
constexpr int16_t kMaxFontSize = 400;

constexpr int32_t ClampFontSize(int32_t size) { return std::clamp<int32_t>(size, kMinFontSize, kMaxFontSize); }
