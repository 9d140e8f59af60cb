// The character and paragraph edits beneath keyboard editing, find and
// replace and field refresh, on the paragraph at hand and the caret.
//
// No edit lets a paragraph grow past kParagraphMaxLength: an insertion or a
// join that would is refused whole, with the stop alert, before anything
// changes.
#pragma once

#include <cstdint>

#include "frames/text_position.h"

class TextContext;

// Message 504 and 505 of the text engine's group (500).
constexpr int32_t kTextAlertBase = 500;
constexpr int32_t kAlertParagraphTooLarge = 4;
constexpr int32_t kAlertPasteTooLarge = 5;

// One character at p; the caret moves on by one. False when refused.
bool InsertChar(TextContext* ctx, uint16_t p, uint8_t ch);
// n characters at p (p at most the length); the caret moves on by n.
bool InsertBytes(TextContext* ctx, uint16_t p, const uint8_t* source, uint32_t n);
// Characters from..to inclusive; with forward the end mark always stays.
// With move set and forward clear the caret moves back by the count.
uint32_t DeleteChars(TextContext* ctx, uint16_t from, uint16_t to, bool forward, bool move);

// A character typed at p with its runs moved along; 13 splits the paragraph
// (the new one takes the next style and carries the overrides and tabs).
// Nothing is inserted right after a page-number character.
bool InsertCharAt(TextContext* ctx, uint16_t p, uint8_t ch);
// The text from p on becomes a new paragraph after the current one, with
// the next style and the overrides and tabs of this one; the caret goes to
// its start.
bool SplitParagraph(TextContext* ctx, uint16_t p);
// Deletes the character at p, or joins two paragraphs (Delete on an end
// mark, Backspace at 0); 1 when no paragraphs were joined.
uint8_t DeleteCharAt(TextContext* ctx, uint16_t p, bool forward);
// Deletes [start, end) across paragraphs, joining what is left.
void DeleteRange(TextContext* ctx, TextPosition start, TextPosition end, bool forward);
// The frame's selection (or the whole story) goes; a story always keeps one
// paragraph.
void DeleteSelection(TextContext* ctx, bool forward);

// The selection of the frame in edit as text for the find dialog (a PStr,
// empty unless 1-254 characters of one paragraph are selected).
void GetSelectedText(TextContext* ctx, uint8_t* out256);

// The id of the style that a new paragraph after the current one takes.
uint32_t NextStyleId(TextContext* ctx);

// The selection references of the frame in edit; false when it shows none.
bool GetFrameSelection(TextContext* ctx, TextPosition* start, TextPosition* end);

// Line spacing 3 (one and a half) or 4 (double) for every paragraph of the
// frame's selection (or the caret's paragraph); any other kind takes the
// style's back. The story's frames are then flowed again.
void SetLineSpacing(TextContext* ctx, int16_t kind);
