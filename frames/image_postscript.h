// An EPS picture sent unchanged to a PostScript printer: the placement
// that maps the file's bounding box onto the frame, and the whole
// pass-through sequence around the file. Printers here take no PostScript,
// so the same sequence goes to Ghostscript, whose picture of the page is
// what prints; the screen shows Ghostscript's picture of the bounding box.
#pragma once

#include <cstdint>

#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "foundation/path_record.h"
#include "graphics/dib_handle.h"
#include "graphics/placement_records.h"

class PassThroughSink;

// Where the picture goes on the printed page, in the printer's device units.
struct EpsPlacement {
    CornerQuad clipCorners;      // the frame's corners, less the window origin
    IntPoint windowOrigin;
    IntPoint frameOrigin;        // the frame's top-left corner
    IntRect destination;         // the picture's rectangle
    double frameAngle = 0.0;
    int16_t pictureAngle = 0;
    bool fit = false;
    float hScale = 100.0f;
    float vScale = 100.0f;
    double deviceX = 1.0;        // device units per point, across and down
    double deviceY = 1.0;
};

// Appends the placement to text: the clip path, the moves and turns to the
// destination's centre, the scale from the box to it and the move by the
// box's centre. 1, and nothing appended, when the box has no width or no
// height (nothing could be scaled to it); else 0 or the Handle's error.
int32_t EpsPlacementText(const EpsPlacement& placement, const IntRect& box, Handle text);

// Sends prolog, placement, "%%BeginDocument:A", the file, "%%EndDocument"
// and epilog (the caller brackets it with its clip). 1 when the box of the file
// cannot be read or is degenerate (nothing is sent then, and the caller
// prints the stand-in picture), or when the printer refused data.
int32_t ImageSendEps(PassThroughSink* sink, const PathRecord& file, const EpsPlacement& placement);

// Whether the EPS file may go to a PostScript printer in the running job:
// false when Ghostscript failed on it or ran out of time (tried once a job,
// the failure named by the job), as a printer would fail or hang on it;
// true when it drew, or when there is no Ghostscript to ask.
bool EpsPrintableInJob(const PathRecord& file);

// The pass-through sequence as Ghostscript sees it on a page of width x
// height device pixels at the device's resolution: the placement is in
// device units from the page's top-left corner (its window origin is the
// page's own corner, y grows downwards). The page as a picture, or null
// when the box cannot be read or Ghostscript is not there or fails.
// Asked for while painting with pending given (the print preview), it does
// not wait where the page can be drawn in the background: null, with
// pending set, until it is drawn (EpsPreviewCache tells when); null at once
// for a file whose drawing failed before.
DibHandle ImageRenderEps(const PathRecord& file, const EpsPlacement& placement, int32_t width, int32_t height,
                         double dpiX, double dpiY, bool* pending = nullptr);

// The file's bounding box drawn by Ghostscript at one pixel a point, the
// size of its stand-in picture; null when the box cannot be read or
// Ghostscript is not there or fails, or when the file failed earlier in the
// running print job. Asked for while painting with pending given, it does
// not wait where the picture can be drawn in the background: null, with
// pending set, until it is drawn (EpsPreviewCache tells when).
DibHandle EpsRenderedPreview(const PathRecord& file, bool* pending = nullptr);
