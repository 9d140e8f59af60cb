#include "frames/frame_document.h"

int16_t FrameDocument::GetVisiblePageCount() { return 0; }
int16_t FrameDocument::GetPageSlot(int16_t) { return -1; }
int16_t FrameDocument::PageSlotAtPoint(const IntPoint&, IntPoint*) { return 0; }
