// The fonts of text pasted into another document. Runs name fonts by
// numbers of the document they came from, and a paragraph without a font
// run shows its style's font there: pasted, the runs take this document's
// numbers for the same fonts (added to its font table where it lacks them),
// and text whose style gave it a font this document's style would not give
// it gets that font in a run of its own.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "frames/paragraph_text.h"
#include "frames/style_runs.h"

struct CopiedFonts;
class TextBuffer;
class TextContext;

// Copied number -> number here.
using FontIds = std::map<int16_t, int16_t>;

// The fonts the paragraphs of the buffer show, and the font of that number,
// added as the document at hand (the one copied from) stores them.
void AddCopiedFonts(TextContext* ctx, TextBuffer* paragraphs, CopiedFonts* fonts);
void AddCopiedFont(TextContext* ctx, int16_t id, CopiedFonts* fonts);
// Each copied run font's number in the document at hand, found or added.
FontIds TargetFontIds(TextContext* ctx, const CopiedFonts& fonts);
void RenumberFonts(std::vector<RunEntry>* runs, const FontIds& ids);
// The paragraph at hand, pasted: its runs name this document's fonts, and
// its text keeps the font its copied style gave it where the style of the
// paragraph it lands in (landing) would give it another.
void AdoptPastedFonts(TextContext* ctx, const CopiedFonts& copied, const FontIds& ids, uint32_t landing);

// The number here of the font a copied paragraph of that style showed
// where no run set one, when the text at hand would show another (shown);
// -1 when it shows the same or the copy did not say.
int16_t KeptStyleFont(TextContext* ctx, const CopiedFonts& fonts, uint32_t copiedStyle, int16_t shown);
// The font the paragraph's style gives text no run sets a font for.
int16_t StyleFont(TextContext* ctx, uint32_t style);
// The characters [from, to) of the paragraph that none of the copied runs
// (placed at offset) sets a font for take the font; false when the
// paragraph could not grow.
bool FillUnsetFont(ParagraphText* para, const std::vector<RunEntry>& runs, int32_t offset, int32_t from, int32_t to,
                   int16_t font);
