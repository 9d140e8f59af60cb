// Where an image frame's picture goes: its scales, the geometry of the
// turned copy, and the rectangle and corners it is drawn into. Everything
// is in document units unless said otherwise.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/frame_block_format.h"
#include "frames/image_block_format.h"

// The largest scale a picture takes, in percent: beyond it the resampled
// picture could not be held anyway.
constexpr float kImageMaxScale = 10000.0f;
constexpr float kImageMinScale = 10.0f;

// A scale after the user asked for delta percent of it more: trunc(scale /
// 100 x delta) is added; the result is at least 10 and at most 10000.
float ImageAdjustedScale(float scale, int32_t delta);
// A stored scale as drawing uses it: NaN counts as 100, and it is at most
// 10000 and not below 0.
float ImageUsableScale(float scale);

// The picture rectangle at the two scales: right = trunc(left + width x
// horizontal / 100 - 1), bottom likewise. Computed in double and kept in
// the 32-bit range.
IntRect ImageScaledRect(const IntRect& r, float horizontal, float vertical);

// Picture angle + frame angle in whole degrees, truncated; 0 when the
// picture is drawn unturned.
int16_t ImageTotalAngle(int16_t pictureAngle, float frameAngle);

// The rectangle the picture is resampled to before it is turned (and, at
// angle 0, drawn): the frame's size with fit, else the scaled picture
// rectangle; right and bottom included, at the origin.
IntRect ImageTargetRect(const ImageBlockA& a, const FrameGeometry& frame);

// The turned copy's geometry into block B: rectangle (moved to the
// origin), pan (its top-left less the frame's origin) and the corner set
// (relative to that top-left, angle = the total angle).
void ImageRotatedGeometry(const ImageBlockA& a, const FrameGeometry& frame, ImageBlockB* b);

// The rectangle (right and bottom included) and corners the picture is
// drawn into, document units.
void ImageDestination(const ImageBlockA& a, const ImageBlockB& b, const FrameGeometry& frame, IntRect* rect,
                      CornerQuad* corners);

// Whether a resample to w x h pixels may be attempted at all.
bool ImageSizeWorkable(int64_t width, int64_t height);
