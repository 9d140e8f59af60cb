// The paragraph formatting commands: alignment, leading, the Paragraph
// Info dialog, the paragraph style and the tabs, over the caret's
// paragraph, the selection's paragraphs or the whole story. A value that
// equals the style's leaves the paragraph to its style: the override goes,
// and the override block with it when it was the last.
#pragma once

#include <cstdint>

class TextContext;

// Alignment 1 left, 2 centred, 3 right, 4 justified; 0 or less does
// nothing.
void SetAlignment(TextContext* ctx, int16_t alignment);
// 0 gives the leading back to the fonts; negative values do nothing.
void SetLeading(TextContext* ctx, int16_t leading);
// The tool's paragraph attributes for the caret's paragraph (keep 0: the
// paragraph's own format goes and its style's applies).
void ApplyParagraphInfo(TextContext* ctx, uint8_t keep);
void SetParagraphStyle(TextContext* ctx, uint32_t styleId);
// A 130-byte tab block: first byte 0 takes the paragraphs' own tabs away,
// else its 16 stops become theirs.
void SetTabs(TextContext* ctx, const uint8_t* block130);

// The blocks of the paragraph at hand; false (after the memory alert) when
// the paragraph could not grow, which leaves it as it was.
bool AddOverrideBlock(TextContext* ctx);
void RemoveOverrideBlock(TextContext* ctx);
bool AddTabBlock(TextContext* ctx);
void RemoveTabBlock(TextContext* ctx);
