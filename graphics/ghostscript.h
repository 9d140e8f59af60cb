// PostScript turned into a picture by Ghostscript.
//
// Ghostscript runs as a program of its own (the "gs" command found on
// PATH), never linked in: it gets the PostScript on its standard input,
// with -dSAFER so that the PostScript can neither read nor write files,
// and a time limit after which it is stopped. No printer here takes
// PostScript, so this is how EPS pictures reach paper; when gs is missing,
// fails or runs out of time, callers fall back to the picture's preview.
#pragma once

#include <atomic>
#include <cstdint>

#include <QByteArray>

#include "graphics/dib_handle.h"
#include "graphics/picture_time_limit.h"

// How long one picture may take: the limit every picture has.
constexpr int32_t kGhostscriptTimeLimitMs = kPictureTimeLimitMs;
inline int32_t GhostscriptTimeLimitMs() { return PictureTimeLimitMs(); }

// How a drawing ended, for the message that tells the user.
enum class GhostscriptOutcome { kDrawn, kNotAsked, kMissing, kFailed, kTimedOut, kCancelled };
// Pictures of more pixels than this are not asked for.
constexpr int64_t kGhostscriptMaxPixels = int64_t(64) * 1024 * 1024;

// True when a gs command is found on PATH.
bool GhostscriptAvailable();

// Runs program (PostScript, which ends its page with showpage) on a white
// page of width x height pixels at the resolution given (pixels per inch
// across and down; the page's default user space is in points from its
// bottom-left corner). The page as a new 24-bit DibHandle, or null when gs
// is not there, fails, times out or the size is out of range. The last
// page drawn is kept: asked for again, it comes without running gs.
// gs is stopped, and null returned, as soon as cancelled (when given) is
// set. It may be called from any thread. outcome (when given) says how it
// ended: kNotAsked for a size or resolution out of range.
DibHandle GhostscriptRender(const QByteArray& program, int32_t width, int32_t height, double dpiX, double dpiY,
                            int32_t timeLimitMs = GhostscriptTimeLimitMs(),
                            const std::atomic<bool>* cancelled = nullptr, GhostscriptOutcome* outcome = nullptr);
