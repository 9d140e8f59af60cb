// A page's content written as short as it draws the same.
//
// Qt's PDF engine opens a save (q) for every clip and state it sets and
// sets the colour space, the colour and the graphics state again at each,
// so the page of a sheet of small labels repeats, for each label, what the
// page already holds. Here:
// - a clip that is one rectangle, written as five points, becomes "re";
// - a colour space, a colour, a graphics state, a line's width, ends, joins
//   and dashes, or a text state that is already in effect is not set again
//   (a colour space is left out only when the colour follows it, as setting
//   one resets the colour);
// - a save whose restore comes before anything is drawn goes with what it
//   set, and a save around nothing but one other save is one save;
// - a save restored just before the next one opens, having set only states
//   followed here and no clip or transformation, holds the next one's
//   drawing too where the next one sets all the first one set alike (each
//   label of a sheet sets its colour and font again in a save of its own);
// - a run of glyphs, which the engine places glyph by glyph ("dx dy Td
//   <code> Tj" each), is written as one string placed by the font's widths
//   (pdf_glyph_strings.h) where the painter gave those widths: a sheet of
//   small labels is mostly such runs, and a glyph's own line takes twice
//   the bytes of its place in a string. The runs pair with the widths
//   given one for one, in order, or none is written anew;
// - text begun just where other text ended goes on in that text object
//   where its matrix differs only in where it starts (and turns the text
//   space by quarters at most): its run's line is placed from the line
//   before ("dx dy Td", exact), so that a sheet's names are one text
//   object a page. Not where text may be drawn as a clip, nor under a
//   graphics state that may paint glyphs other than opaquely (glyphs of
//   one text object that overlap knock each other out).
// A page with inline image data, or whose strings or brackets do not
// close, is returned as it is.
#pragma once

#include <QByteArray>

#include "platform/glyph_run_widths.h"

// `runs`: the widths of the glyphs of the page's runs, in the order drawn;
// null (or none) to leave the runs as they are.
QByteArray TrimPageContent(const QByteArray& content, const GlyphRunWidths* runs = nullptr);
