// A card document as far as the frame stores need one: a swap file in a
// test folder, the page table, FRAMES, the story store and the pasteboard
// list, with page switching recorded.
#pragma once

#include <string>
#include <vector>

#include "frames/ctfile_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj.h"
#include "frames/frame_store.h"
#include "frames/page_table2.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"
#include "frames_fixture.h"
#include "own_stores.h"
#include "tools/stand_ins/stand_in_hosts.h"

class TestDocument : public WithOwnStores<StandInFrameDocument> {
public:
    explicit TestDocument(const std::string& folder)
    {
        EXPECT_EQ(swap.CreateSwapFile(FolderRecord(folder)), 0);
    }

    int16_t FirstPageNumber() override { return firstPage; }
    bool SwitchToPage(int16_t number) override
    {
        switches.push_back(number);
        return allowSwitch;
    }
    void LayOutIntoFrame(FrameObj* frame, const IntRect& rect, TextPosition start, TextPosition* end) override
    {
        laidOut.push_back(frame ? frame->FrameId() : 0);
        *end = layoutEnds.empty() ? start : layoutEnds.front();
        if (!layoutEnds.empty())
            layoutEnds.erase(layoutEnds.begin());
        (void)rect;
    }

    // Copies a document file into the swap file from offset 0, as opening
    // a document does.
    void LoadSwapFrom(const std::vector<uint8_t>& document)
    {
        ASSERT_EQ(swap.WriteAt(0, uint32_t(document.size()), document.data()), 0);
    }

    int16_t firstPage = 1;
    bool allowSwitch = true;
    std::vector<int16_t> switches;
    std::vector<uint16_t> laidOut;
    std::vector<TextPosition> layoutEnds;
};
