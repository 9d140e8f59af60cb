// What the text tool asks of keyboard editing, the formatting commands and
// the clipboard, gathered in one place. Until those are there, the bodies
// here stand in for them: keys do the plain edits of a caret and a
// selection, and the formatting commands and the clipboard do nothing.
#pragma once

#include <cstdint>

#include "frames/text_position.h"

class TextContext;
struct KeyEvent;

// The key goes to the text of the frame in edit; 1 when a frame was in
// edit. Ordinary characters leave the re-flow of the frame to the tool
// (the frame's record is marked for it).
uint8_t HandKeyToEngine(TextContext* ctx, const KeyEvent& key);

// Formatting commands on the selection or the caret's typing format.
enum class TextFormatCommand {
    kColour,
    kShade,
    kParagraphStyle,
    kFont,
    kSize,
    kStyle,
    kAlignment,
    kLeading,
    kPairOrRange,
    kCaps,
    kSuperSubscript,
    kAttribute01,
    kParagraphInfo,
    kCharacterInfo,
};
void ApplyTextFormat(TextContext* ctx, TextFormatCommand command, int32_t value, int32_t second = 0,
                     int32_t third = 0);

// The state of keyboard editing the tool sets and reads: the check that
// gives the next typed character the typing format, the selection ends the
// buffer loads with each key, and the position the caret was last shown at.
void SetTypingFormatCheck(TextContext* ctx, bool on);
void ClearBufferSelection(TextContext* ctx);
TextPosition LastCaretPosition(TextContext* ctx);
void SetLastCaretPosition(TextContext* ctx, const TextPosition& position);

// The clipboard's text.
bool ClipboardCanPasteText(TextContext* ctx);
void ClipboardCopySelection(TextContext* ctx);
void ClipboardPasteText(TextContext* ctx);
