// The stores a test's frame document hands the frame code, over a swap
// file of its own: the page table, the frames, the stories and the
// pasteboard list. The document makes the swap file.
#pragma once

#include "frames/ctfile_mng.h"
#include "frames/frame_store.h"
#include "frames/page_table2.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"

template <class Document>
class WithOwnStores : public Document {
public:
    CTFileMng* SwapFile() override { return &swap; }
    PageTable* Pages() override { return &pages; }
    FrameStore* Frames() override { return &frames; }
    StoryStore* Stories() override { return &stories; }
    SharedFrameList* SharedFrames() override { return &shared; }

    CTFileMng swap;
    PageTable2 pages{this};
    FrameStore frames{this, &swap};
    StoryStore stories{this, &swap};
    SharedFrameList shared;
};
