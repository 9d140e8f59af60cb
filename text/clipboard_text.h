// Copying the selection of the frame in edit to the clipboard and pasting
// the clipboard's paragraphs at the caret, with their styles, runs, merge
// fields and page numbers.
#pragma once

#include <cstdint>
#include <string>

class TextContext;

// The selection (or the whole story) goes to the clipboard's paragraphs,
// cut down to the selected characters; the clipboard then holds text. 1
// when something was copied; 0 without a selection, a clipboard, or when
// the copy failed (the clipboard then holds nothing).
uint8_t CopySelectionToClipboard(TextContext* ctx);

// The clipboard's text replaces the selection or goes in at the caret: one
// paragraph into the paragraph at hand, several with the first joined to
// the text before the caret and the last to the text after it. Refused
// whole, with the stop alert 505, when a paragraph would pass 65500
// characters, and when the story has no room for its paragraphs
// (PasteRoom). The caret ends after the pasted text, in the frame of the
// chain that shows it. 1 when something was pasted.
uint8_t PasteText(TextContext* ctx);

// The most lines (paragraphs) a paste at the caret, or over the selection,
// can have: the story holds them beside its own paragraphs, 65535 in all;
// one line always fits. What a refused paste says: PasteTooLongText.
int32_t PasteRoom(TextContext* ctx);
std::string PasteTooLongText(int32_t lines, int32_t room);

// Whether the clipboard holds text to paste.
bool CanPasteText(TextContext* ctx);
