// Recording drawing as an enhanced metafile.
//
// The recorder is what a recording context (Dc::ForRecording, as the
// off-screen context's BeginMetafile makes one) hands every state change
// and drawing call to; each becomes enhanced-metafile records in the
// logical units it was made in. Pens, brushes and fonts become objects of
// the metafile, created when selected and deleted once neither the context
// nor any saved state still holds them. The metafile's reference device is
// the reference context, so its device units are that context's pixels.
//
// A recorder told its context (attach) records the drawing's extent
// and each text's advances as the context measures them; without it the
// extent is the frame and players measure text themselves.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/int_geometry.h"
#include "graphics/offscreen_dc.h"

class Dc;

// A recorder of a metafile whose frame is `frame` (0.01 mm) on the
// reference device (null: a 96-dpi screen), with the description
// (Windows-1252, may be null) in its header. pixelsPerInch, when above 0,
// is the resolution the header declares for the recorded pixels instead of
// the reference device's.
std::unique_ptr<MetafileRecorder> MakeEmfRecorder(const Dc* reference, const IntRect& frame,
                                                  const char* description, int32_t pixelsPerInch = 0);
