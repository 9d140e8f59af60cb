// Between text positions (paragraph, character) and places in the frame:
// which laid-out line holds a position, where a position shows, which
// position lies under a point, and where words, lines and paragraphs start
// and end for caret moves and clicks. These work while the text tool is the
// current tool and the frame has laid-out lines; otherwise they do nothing.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/text_position.h"

class TextContext;
struct TextLineRecord;

int32_t FindLineOfPosition(TextContext* ctx, int32_t character, int32_t paragraph);
// The position itself when a line holds it; between two lines of the
// paragraph (spaces skipped at a break) the last character of the earlier
// line, or with towardNext the first of the later one; -1 when no line of
// the paragraph follows.
int32_t SnapPositionToLine(TextContext* ctx, int32_t character, int32_t paragraph, bool towardNext);

// The caret moves to p of the paragraph at hand (the end mark at most),
// snapped to a line of the frame in edit.
void SetCaret(TextContext* ctx, int32_t p, bool forward);

// The x of the caret before character (document units, from the line's
// slot left edge, alignment included) on the line.
int32_t CaretOffsetInLine(TextContext* ctx, const TextLineRecord& line, int32_t character);

// Where the caret before a position shows, in view units: x, and the line's
// baseline as y; height is the line's ascent plus descent. False when no
// line holds the position.
bool PositionToPoint(TextContext* ctx, IntPoint* point, int32_t character, int32_t paragraph, int32_t* height);
// The caret's place in document units; the caret clamped to its line's end.
bool CaretPointFromPosition(TextContext* ctx, IntPoint* point);

// The position under a view point, without moving the caret; paragraph -1
// when the point lies below the frame's lines.
void PointToTextPosition(TextContext* ctx, IntPoint viewPoint, int32_t* paragraph, int32_t* character,
                         int32_t* line);
// Sets the caret to the character boundary nearest the point.
void PointToPosition(TextContext* ctx, IntPoint viewPoint);

// The next word boundary from the caret in the paragraph at hand: forward
// the position of the first non-word character after the word (-1 when the
// paragraph ends first), backward the word's first character.
int32_t FindWordBoundary(TextContext* ctx, bool forward);
// First and last character selected around the caret by 2 (word), 3 (line)
// or 4 (paragraph) clicks; false for any other count.
bool SelectionRangeForClick(TextContext* ctx, int32_t clicks, int32_t* first, int32_t* last);
