// Plays an enhanced metafile onto a device context.
//
// The metafile's frame fills `rect` (logical units of dc). The player keeps
// the metafile's own graphics state (objects, mapping mode, window and
// viewport, world transform, clip, saved states) and hands the Dc only
// finished geometry in the Dc's logical units, so that the Dc's own mapping
// (a scrolled view, a printer page) stays what the caller set. The Dc's
// state is the same afterwards as before; the metafile's clip never
// reaches outside the clip the Dc had.
//
// Every record is read within its own bytes, and nothing is kept for a
// record once it is played but the path being made. Records the player does not
// draw (palettes, colour management, EMF+ comments, flood fills, gradient
// fills, masked and parallelogram blits) are passed over.
#pragma once

#include "foundation/int_geometry.h"
#include "graphics/emf_reader.h"
#include "graphics/metafile_outcome.h"

class Dc;

// Playing stops, with false and the outcome saying why, once it has taken
// longer than a picture may or a path has grown past
// kMetafileMaxPathPoints; what was drawn until then stays drawn.
bool PlayEnhMetaFile(Dc& dc, const EnhMetafileRec& mf, const IntRect& rect, MetafileOutcome* outcome = nullptr);
