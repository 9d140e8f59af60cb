// The text a Quick Card piece shows.
#pragma once

#include <cstdint>

// The text of the item into out (room for maxLength + 1 bytes), cut to
// maxLength characters; returns its length. Fixed text is the item's text
// as it stands. A field item's text is a template "prefix|suffix" around
// the field's value, which comes from the installed field-text provider:
// the value for the current record when useRecord or previewMode is set
// (previewMode passed on), else the field's bracketed name. An empty value
// drops prefix and suffix with it. A damaged item gives the empty text.
int32_t QuickCardItemText(const uint8_t* item, int32_t useRecord, char* out, int32_t maxLength, int32_t previewMode);

// Measuring and drawing take at most this many characters of a piece.
constexpr int32_t kQuickCardPieceMaxText = 256;
