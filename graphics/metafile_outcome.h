// How the playing of a metafile ended. A metafile is a program of drawing
// records that any file may hold millions of: playing stops when it has
// taken longer than a picture may (PictureTimeLimitMs), or when one path
// grows past what is kept of one, and the caller then shows the picture's
// stand-in and says why.
#pragma once

#include <cstddef>
#include <cstdint>

enum class MetafileOutcome : uint8_t { kDrawn, kTimedOut, kTooComplex };

// Points one path of a metafile may hold; more stop the playing.
constexpr size_t kMetafileMaxPathPoints = size_t(1) << 20;

// Why the picture was not drawn, as the messages end "could not be drawn:
// ..." ("it took longer than 30 s."); empty for kDrawn.
const char* MetafileOutcomeText(MetafileOutcome outcome);
