// How long one picture may take to draw, for every kind that may take long
// (EPS through Ghostscript, metafiles through the player), and the clock
// they are timed by.
#pragma once

#include <cstdint>

// How long one picture may take.
constexpr int32_t kPictureTimeLimitMs = 30000;
// The limit in force: kPictureTimeLimitMs, or the milliseconds the
// environment variable TESSALINE_PICTURE_TIME_LIMIT_MS gives (from 1 to
// kPictureTimeLimitMs), for a machine whose pictures must fail sooner.
int32_t PictureTimeLimitMs();

// Milliseconds from some fixed start, steadily rising.
int64_t PictureClockMs();
// A clock of the caller's in place of the steady one (null puts that
// back), so that a test can make a drawing run out of time without
// waiting for it; the one replaced.
using PictureClock = int64_t (*)();
PictureClock SetPictureClockForTesting(PictureClock clock);

// "30 s", "1.5 s", "250 ms": the limit as the messages say it.
const char* PictureTimeLimitText();
