// The format that the text tool shows for the caret or the selection, as a
// 288-byte style record (the paragraph style with the effective paragraph
// format and tabs, the character attributes in its base-format words), and
// the typing run that gives newly typed text the tool's attributes.
//
// Where the selection holds more than one value, the attribute is handed
// over as "mixed" (-1, -100, -1111, 0, 255 or 65535 by attribute).
#pragma once

#include <array>
#include <cstdint>

#include "frames/style_run_format.h"

class TextContext;

using TypingAttributes = std::array<int16_t, kAttributeCount>;

// The paragraph style's record with the paragraph's effective format and
// tabs.
void GetFormatAtCaret(TextContext* ctx, uint8_t* record288);
// The format before p (0xFFFF: the caret) to the tool, while the frame shows
// no selection.
void PublishCaretFormat(TextContext* ctx, int32_t p);
// The merged format of the frame's selection to the tool; false (and
// nothing handed over) when a paragraph of it cannot be loaded. record288
// may be null.
bool PublishSelectionFormat(TextContext* ctx, uint8_t* record288);
// Whether the tool's typing attributes differ from the paragraph style's.
bool TypingFormatDiffers(TextContext* ctx);
// The run flags and values (by rank) for text typed at p: each typing
// attribute that differs from the style's, or that a run before p sets; the
// style value with its turn-on bit. 0 when the style is unknown.
uint16_t BuildTypingRun(TextContext* ctx, int32_t p, const TypingAttributes& typing,
                        std::array<int16_t, kAttributeCount>* values);
