#include "frames/image_metafile.h"

// Until the metafile player is part of the program, metafile pictures have
// no bits and no rendering: such frames show no picture.

Handle ImageLoadMetafileBits(const PathRecord&) { return nullptr; }

DibHandle ImageRenderMetafileFile(const PathRecord&, Dc*, int32_t) { return nullptr; }

DibHandle ImageRenderMetafileBits(Handle, Dc*, int32_t) { return nullptr; }

DibHandle ImageRenderMetafileBitsAt(Handle, Dc*, int32_t, int32_t) { return nullptr; }

int32_t ImagePlayMetafileBits(Dc*, Handle, const IntRect&) { return 1; }
