// The aslant runs of text in a page's content as Qt's PDF engine writes
// it, each put in a span that tells readers what it says (see
// actual_text.h). The engine sets a run's turn with "cm" and draws its
// glyphs in one BT ... ET block; a block whose glyphs the current matrix
// sets aslant is such a run, the page's blocks come in the order their
// runs were drawn.
#pragma once

#include <string>
#include <vector>

#include <QByteArray>

// The content with the k-th aslant block spanned by the k-th text (the
// bytes of a PDF text string; an empty one leaves its block alone). False, with `out` untouched, when the
// content holds no aslant block or not one for each text: a run the engine
// drew some other way (as outlines) leaves the page as it was rather than
// telling any run's text over another's glyphs.
bool SpanAslantText(const QByteArray& content, const std::vector<std::string>& texts, QByteArray* out);
