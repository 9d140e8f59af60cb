#include "frames/tab_stops.h"

#include <array>
#include <cstring>

#include "foundation/byte_order.h"

uint16_t TabsSetWord(const uint8_t* block) { return GetU16LE(block); }
void SetTabsSetWord(uint8_t* block, uint16_t value) { PutU16LE(block, value); }
uint16_t TabPosition(const uint8_t* block, int i) { return GetU16LE(TabStopAt(block, i) + 2); }
void SetTabPosition(uint8_t* block, int i, uint16_t position) { PutU16LE(TabStopAt(block, i) + 2, position); }
uint8_t TabKind(const uint8_t* block, int i) { return uint8_t(TabStopAt(block, i)[5] & 7); }
void SetTabKind(uint8_t* block, int i, uint8_t kind)
{
    uint8_t* stop = TabStopAt(block, i);
    stop[5] = uint8_t((stop[5] & ~7) | (kind & 7));
}
uint16_t TabCharacter(const uint8_t* block, int i) { return GetU16LE(TabStopAt(block, i)); }
void SetTabCharacter(uint8_t* block, int i, uint16_t character) { PutU16LE(TabStopAt(block, i), character); }

void ClearTabBlock(uint8_t* block)
{
    // Every laid-out line starts with a cleared block: copying one made
    // once costs a fraction of writing each stop's position.
    static const std::array<uint8_t, kTabBlockBytes> kCleared = [] {
        std::array<uint8_t, kTabBlockBytes> cleared{};
        for (int i = 0; i < kTabStops; ++i)
            SetTabPosition(cleared.data(), i, kNoTabStop);
        return cleared;
    }();
    std::memcpy(block, kCleared.data(), kTabBlockBytes);
}

int NextStop(const uint8_t* block, int32_t x)
{
    int best = -1;
    int32_t bestPosition = 32000;
    for (int i = 0; i < kTabStops; ++i) {
        const int32_t position = TabPosition(block, i);
        if (position > 0 && position > x && position < bestPosition) {
            best = i;
            bestPosition = position;
        }
    }
    return best;
}

int32_t NextDefaultTab(int32_t x, int32_t interval, int32_t left, int32_t right)
{
    if (interval <= 0)
        return x > left ? x - left : 0;
    if (int64_t(x) + interval < right) {
        const int64_t offset = int64_t(x) - left;
        const int64_t steps = offset < 0 ? 0 : offset / interval + 1;
        return int32_t(steps * interval);
    }
    return right - left - 1;
}
