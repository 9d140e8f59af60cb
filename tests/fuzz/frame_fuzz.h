// What the frame-store fuzz targets share besides fuzz_support.h: a
// document whose stores write to a swap file of its own, and the whole of
// a file they wrote.
#pragma once

#include <cstdint>
#include <vector>

#include "../frames/own_stores.h"
#include "../support/file_bytes.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "frames/ctfile_mng.h"
#include "frames/frame_store.h"
#include "frames/page_table2.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"
#include "fuzz_support.h"
#include "tools/stand_ins/stand_in_hosts.h"

class SwapFileDocument : public WithOwnStores<StandInFrameDocument> {
public:
    SwapFileDocument()
    {
        PathRecord folder{};
        Check(GetSystemTempFolder(&folder) == 0 && swap.CreateSwapFile(folder) == 0);
    }
};
