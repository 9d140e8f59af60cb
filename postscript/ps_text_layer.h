// A text layer for a PDF made of a PostScript job. A PDF reader takes a
// line whose baseline climbs or falls for words of a letter each, and the
// span that tells it what such a run says (actual_text.h) reaches a PDF
// made by Ghostscript as a named property, which poppler's readers pass
// over. So where the job is being made into a PDF, and only there, an
// aslant run also gets an upright copy of its text in a font whose glyphs
// draw nothing, small, at the run's start, which readers take whole as a
// line of its own; and the run's glyphs are shown from a twin of their
// font in which every glyph goes by a name of the space, so that readers
// take them for no letters at all. The twin draws with the same glyph
// procedures, so the paper looks the same, and a printer or viewer of the
// job itself skips all of it.
//
// In a job, the page code of an aslant run is
//     (text) x y TsL    the copy; x y the run's start in the current space
//     /TsFn matrix TsSf the run's font, where selectfont would be
#pragma once

#include <string>

// The procedures and, when the job is being made into a PDF, the copy's
// font and the twins of the job's glyph fonts TsF0 to TsF(fonts - 1): a
// part of the job's set-up, after the fonts' definitions.
std::string PsTextLayerSetup(int fonts);
