// Flowing a story into a text frame: paragraph after paragraph from the
// frame's start until the text ends or the frame is full, with the keep
// rules; and binding the engine to a frame.
#pragma once

#include <string>

#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/text_position.h"

class FrameObjText;
class TextContext;

// The engine works on this frame: its text rectangle and wrap outline, and
// its story bound to the text buffer. False when the story cannot be
// loaded.
bool BindFrame(TextContext* ctx, FrameObjText* frame);

// Lays the bound story out into the frame's line table from start, inside
// rect; the result is where the frame's text ends (the first character not
// laid out), which the next frame of the chain starts with.
TextPosition LayOutIntoFrame(TextContext* ctx, FrameObjText* frame, const IntRect& rect, TextPosition start);

// After a key, an import or binding a frame: whether editing moved on to a
// frame that continues an overflowing chain. No such frame is looked up,
// so the answer is false; the conditions are checked all the same.
bool ContinueOverflowEditing(TextContext* ctx, bool caretTest);

// Whether text remains after the frame's last line.
bool TextRemainsAfterFrame(TextContext* ctx);
// Whether the frame bound to the context is the last of its chain and text
// it was to show does not fit in it, a line of it or all of it.
bool FrameLosesText(TextContext* ctx);
// The first characters (at most count, then "...") of the text the frame
// starts with, as stored (Windows-1252), its line ends as spaces.
std::string FrameTextBeginning(TextContext* ctx, size_t count);
