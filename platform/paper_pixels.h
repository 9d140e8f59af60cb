// When a picture already made for paper serves a place that asks for a
// slightly different number of pixels. The cells of a sheet fall on the
// device's pixels each rounded its own way, so one frame's place is a pixel
// wider or taller on one card than on the next; a picture made for one of
// them serves them all (the page's matrix fits it to each), so that a job
// scales it once and a file keeps it once.
#pragma once

#include <cstdint>
#include <cstdlib>

// The pixels a place may differ by, across or down, from the picture that
// serves it.
constexpr int64_t kPaperPixelSlack = 2;

inline bool ServesPaperPixels(int64_t made, int64_t wanted) { return std::llabs(made - wanted) <= kPaperPixelSlack; }
