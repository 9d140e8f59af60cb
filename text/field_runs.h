// Keeping the text that merge fields and page numbers show inside the
// paragraph up to date: the field's characters are replaced by the current
// card's text (or the field's name), a page number's by the number of the
// page its frame lies on.
#pragma once

#include <cstdint>

class TextContext;

// The field run that starts at p takes its field's current text; only while
// the story is shown in a frame. While the frame is being printed an empty
// field takes no text (on the screen it shows its name), and keeps its
// place for the next card. The new text takes the field's format whole. A
// text that would pass the paragraph limit leaves the old one.
void UpdateFieldText(TextContext* ctx, int32_t p);
// Every field run that starts at p or later.
void UpdateFieldsFrom(TextContext* ctx, int32_t p);
// The page-number run that starts at p shows the current page's number in
// its kind (1 decimal, 2 and 3 roman, 4 and 5 letters; "-" off the pages).
void UpdatePageNumberRun(TextContext* ctx, int32_t p);
// Every page-number run of the paragraph at hand.
void UpdatePageNumbers(TextContext* ctx);
