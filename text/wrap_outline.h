// A text frame's wrap outline: the outlines of the frames that lie over it,
// kept with the frame (u16 point count, 2 spare bytes, then i32 x, i32 y
// points, as edge pairs) and loaded into the layout context before its
// lines are laid out.
#pragma once

#include <cstdint>

class FrameObj;
class FrameObjText;
class TextHost;
struct LayoutContext;

// Collects the outlines from the page; no overlapping frame, or no memory,
// leaves the frame without an outline.
void BuildTextWrapOutline(FrameObjText* frame, TextHost* host);
// The frame's outline into the context (none: count 0). The point count
// stored in the outline is checked against its size.
void LoadWrapOutline(const FrameObj* frame, LayoutContext* ctx);
