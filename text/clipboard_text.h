// Copying the selection of the frame in edit to the clipboard and pasting
// the clipboard's paragraphs at the caret, with their styles, runs, merge
// fields and page numbers.
#pragma once

#include <cstdint>

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
// characters. The caret ends after the pasted text, in the frame of the
// chain that shows it. 1 when something was pasted.
uint8_t PasteText(TextContext* ctx);

// Whether the clipboard holds text to paste.
bool CanPasteText(TextContext* ctx);
