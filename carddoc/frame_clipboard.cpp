#include "carddoc/frame_clipboard.h"

namespace {

FrameClipboard* g_store = nullptr;

}  // namespace

FrameClipboard* ProgramClipboard() { return g_store; }

void SetProgramClipboard(FrameClipboard* store) { g_store = store; }
