// The character formatting commands of the Text menu, the text tool bar and
// the Character Info dialog: each attribute becomes a style run over the
// selected characters of the frame in edit (over the whole story when it is
// all selected). At a plain caret a command changes no text: the text tool
// has already taken the value among its typing attributes, and the next
// typed character gets it as a run.
#pragma once

#include <array>
#include <cstdint>

#include "frames/style_run_format.h"
#include "frames/text_position.h"

class TextContext;

// The colour and shade commands act on the text only for this target.
constexpr uint8_t kTargetText = 3;

void SetFont(TextContext* ctx, int16_t font);
// At a caret the caret is shown again, in its new height.
void SetSize(TextContext* ctx, int16_t size);
// The style word: 0 plain (all bits off), bits alone turn those bits off,
// bits with 0x4000 turn them on; the other bits of each character stay.
// With plain set, super/subscript and caps go as well where the tool has
// them set.
void SetStyle(TextContext* ctx, int16_t style, bool plain);
// Colour and shade change no line breaks: the selected lines are only
// drawn again.
void SetColor(TextContext* ctx, int16_t colour, uint8_t target);
void SetShade(TextContext* ctx, int16_t shade, uint8_t target);
void SetCaps(TextContext* ctx, int16_t caps);
void SetSuperSubscript(TextContext* ctx, int16_t value);
void SetAttribute01(TextContext* ctx, int16_t value);
// Over a selection the range spacing of every character; at a caret the
// pair spacing of the character after it (refused with a beep at a
// paragraph's start, where the tool's value goes back to 0).
void SetPairOrRangeValue(TextContext* ctx, int16_t value);

// The Character Info dialog: the attributes of mask (run bits) take the
// tool's typing attributes; of the style bits only those in changedStyle
// change.
void ApplyCharacterInfo(TextContext* ctx, uint16_t mask, uint16_t changedStyle);

// The attributes (run bits with values by rank) over [from, to) across
// paragraphs: to the paragraph's end in every paragraph before the last,
// and in the last too when the whole story is selected. With replace the
// style value replaces the runs' instead of merging with them.
void ApplyRunToParagraphs(TextContext* ctx, TextPosition from, TextPosition to, uint16_t bits,
                          const std::array<int16_t, kAttributeCount>& values, bool replace);
