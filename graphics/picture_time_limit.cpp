#include "graphics/picture_time_limit.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>

#include <QtGlobal>

namespace {

std::atomic<PictureClock> g_clock{nullptr};

}  // namespace

int32_t PictureTimeLimitMs()
{
    bool ok = false;
    const int limit = qEnvironmentVariableIntValue("TESSALINE_PICTURE_TIME_LIMIT_MS", &ok);
    return ok && limit > 0 ? std::min(limit, kPictureTimeLimitMs) : kPictureTimeLimitMs;
}

int64_t PictureClockMs()
{
    if (const PictureClock clock = g_clock.load())
        return clock();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

PictureClock SetPictureClockForTesting(PictureClock clock) { return g_clock.exchange(clock); }

const char* PictureTimeLimitText()
{
    thread_local char text[32];
    const int32_t ms = PictureTimeLimitMs();
    if (ms % 1000 == 0)
        std::snprintf(text, sizeof text, "%d s", int(ms / 1000));
    else if (ms % 100 == 0)
        std::snprintf(text, sizeof text, "%d.%d s", int(ms / 1000), int(ms % 1000 / 100));
    else
        std::snprintf(text, sizeof text, "%d ms", int(ms));
    return text;
}
