// The image frame while its EPS picture is drawn in the background for the
// screen: the frames showing a stand-in, and what they do when the drawing
// ends.
#include <algorithm>
#include <vector>

#include "frames/curr_page_mng.h"
#include "frames/eps_preview_cache.h"
#include "frames/frame_document.h"
#include "frames/frame_obj_image.h"

namespace {

// The frames showing a stand-in, on the window's thread.
std::vector<FrameObjImage*>& Awaiting()
{
    static std::vector<FrameObjImage*> frames;
    return frames;
}

void DrawingEnded(const std::string& file)
{
    // A frame settled may make others settle or go: the list is read as it
    // was.
    const std::vector<FrameObjImage*> waiting = Awaiting();
    for (FrameObjImage* frame : waiting) {
        if (std::find(Awaiting().begin(), Awaiting().end(), frame) != Awaiting().end() &&
            frame->AwaitedFile() == file)
            frame->PreviewSettled();
    }
}

}  // namespace

void FrameObjImage::ShowWhileDrawn(DibHandle standIn, const std::string& file)
{
    DibHandleFree(&keptMask_);
    DibHandleFree(&decoded_);
    decoded_ = standIn;
    decodedKey_ = PictureHash(standIn);
    // Held in memory only: the stand-in is never what the swap file keeps.
    decodedFrom_ = kImageNoPosition;
    if (awaitedFile_.empty()) {
        static const bool listening = [] {
            EpsPreviewCache::Shared().AddListener(DrawingEnded);
            return true;
        }();
        (void)listening;
        Awaiting().push_back(this);
    }
    awaitedFile_ = file;
}

void FrameObjImage::StopAwaiting()
{
    if (awaitedFile_.empty())
        return;
    awaitedFile_.clear();
    std::vector<FrameObjImage*>& frames = Awaiting();
    frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
}

void FrameObjImage::PreviewSettled()
{
    StopAwaiting();
    // The next painting loads the picture again and finds it drawn (or its
    // stand-in for good, when it could not be).
    DibHandleFree(&decoded_);
    DibHandleFree(&mask_);
    maskStale_ = 1;
    rotationStale_ = 1;
    outlineStale_ = 1;
    redrawPending_ = 1;
    drawState_ = 2;
    CurrPageMng* pages = document_ ? document_->PageManager() : nullptr;
    const int16_t index = pages ? pages->IndexOfFrame(this) : int16_t(-1);
    if (index < 0)
        return;
    const IntRect r = ViewRect();
    pages->PropagateRedraw(index, IntRect{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2}, kInvalidateArea);
}
