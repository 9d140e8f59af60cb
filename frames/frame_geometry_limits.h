// What a frame's placement can be when this program made it. Every frame
// lies on a page with its pasteboard, no page is larger than 32767 points
// a side, and angles are degrees within a turn; even moved far off its
// page by a command, a frame stays well within a million points. A
// placement read from a file beyond these limits comes from a damaged
// file. Brought back within them, no later sum of coordinates can leave
// the 32-bit range, even at the largest zoom (327 times) or at the
// printer's resolution.
#pragma once

#include <cstdint>

struct FrameGeometry;

// |x| and |y| at most, document units.
constexpr int32_t kFrameCoordinateLimit = 1 << 20;
// The length a line or arc keeps beside its placement, at most.
constexpr float kFrameLengthLimit = 1u << 22;

bool FrameGeometryWithinLimits(const FrameGeometry& g);
// Brings a placement beyond the limits back within them (the nearest
// value; an angle that is no number becomes 0). True when it changed
// anything.
bool ClampFrameGeometry(FrameGeometry* g);
