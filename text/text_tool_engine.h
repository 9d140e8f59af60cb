// What the text tool asks of keyboard editing, the formatting commands, the
// caret and the clipboard, gathered in one place. Until those are there,
// the bodies here stand in for them: keys do the plain edits of a caret
// and a selection, the formatting commands and the clipboard do nothing,
// and the caret is a line toggled on the view without a timer.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/text_position.h"

class Dc;
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

// The document's caret: a one-pixel line at the caret's place, drawn with
// an inverting pen so that drawing it twice leaves the view as it was.
struct ToolCaret {
    bool visible = false;
    bool drawn = false;
    IntPoint at;
    int32_t top = 0;
    int32_t bottom = 0;
};
void CaretShow(ToolCaret* caret, TextContext* ctx, bool startTimer);
void CaretHide(ToolCaret* caret, TextContext* ctx, bool stopTimer);
// One blink: the line goes on or off at the caret's place (moved there
// first when the caret moved).
void CaretUpdate(ToolCaret* caret, TextContext* ctx);
// The caret's place in view units (x, and the line's baseline as y) and
// its height; false when no laid-out line holds it.
bool CaretPoint(TextContext* ctx, IntPoint* point, int32_t* height);
