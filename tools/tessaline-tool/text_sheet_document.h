// The document the text pictures lay their stories out in: its own swap
// file in a folder, and the stores and page table over it. The text
// context is set once the picture has made one.
#pragma once

#include "foundation/path_record.h"
#include "frames/ctfile_mng.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/page_table2.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"
#include "text/frame_flow.h"
#include "tools/stand_ins/stand_in_hosts.h"

class SwapTextDocument : public StandInFrameDocument {
public:
    explicit SwapTextDocument(const PathRecord& folder) { ok = swap.CreateSwapFile(folder) == 0; }
    CTFileMng* SwapFile() override { return &swap; }
    PageTable* Pages() override { return &pages; }
    FrameStore* Frames() override { return &frames; }
    StoryStore* Stories() override { return &stories; }
    SharedFrameList* SharedFrames() override { return &shared; }
    void LayOutIntoFrame(FrameObj* frame, const IntRect& rect, TextPosition start, TextPosition* end) override
    {
        *end = ::LayOutIntoFrame(ctx, static_cast<FrameObjText*>(frame), rect, start);
    }

    bool ok = false;
    TextContext* ctx = nullptr;
    CTFileMng swap;
    PageTable2 pages{this};
    FrameStore frames{this, &swap};
    StoryStore stories{this, &swap};
    SharedFrameList shared;
};
