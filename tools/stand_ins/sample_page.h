// A page of sample frames, drawn as the card view draws a page, for
// looking at the frame drawing without a card document: one or more frames
// of every type in a grid of cells, optionally all turned by one angle,
// with opaque and see-through frames overlapping and some frames selected
// so that their handles show. The page-sheet command writes it as a
// picture; the frame tests check its pixels.
//
// SamplePageDocument stands in for the card document and its view: the
// stores (with a swap file in a folder it is given), the current-page
// manager showing page 1, a fixed table of sixteen colours, and a view
// whose surface is an image with the page at a margin from its corner.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "frames/ctfile_mng.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_store.h"
#include "frames/frame_view_services.h"
#include "frames/page_table2.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"
#include "platform/dc.h"
#include "tools/stand_ins/stand_in_hosts.h"

// The sample colour table.
enum : uint8_t {
    kSampleWhite = 0,
    kSampleRed = 1,
    kSampleGreen = 2,
    kSampleBlue = 3,
    kSampleYellow = 4,
    kSampleCyan = 5,
    kSampleMagenta = 6,
    kSampleOrange = 7,
    kSamplePurple = 8,
    kSampleBrown = 9,
    kSamplePink = 10,
    kSampleLightGray = 11,
    kSampleGray = 12,
    kSampleDarkGray = 13,
    kSampleNavy = 14,
    kSampleBlack = 15,
};
ColorRef SampleColour(uint8_t index);

class SamplePageDocument : public FrameDocumentStandIn<FrameDocument>, public FrameViewStandIn<FrameView> {
public:
    // The page is page units wide and high (document units); the surface
    // adds a pasteboard margin on every side and is zoomed by
    // zoomPercent. The swap file goes into swapFolder.
    SamplePageDocument(const std::string& swapFolder, IntSize page, int32_t zoomPercent);
    ~SamplePageDocument() override;

    bool ok() const { return ok_; }

    // A new frame of the type on the page, entered into the frame table and
    // the page's list; null when it cannot be made.
    FrameObj* AddFrame(int16_t type, const IntRect& rect);
    // Draws the whole page as the view's paint does: the pasteboard and the
    // page background where no opaque frame lies, the backdrop, the other
    // frames and their handles.
    void Paint();
    QImage& Surface() { return surface_; }
    // Where a document point of the page lands on the surface.
    IntPoint SurfacePoint(const IntPoint& doc) const;
    int32_t Margin() const { return margin_; }

    // What the view was asked to repaint since the last Paint.
    std::vector<IntRect> invalidated;
    int32_t refreshes = 0;
    bool modified = false;
    bool showGuides = true;
    bool immediateRedraw = true;

    // FrameDocument.
    CTFileMng* SwapFile() override { return &swap_; }
    PageTable* Pages() override { return &pages_; }
    FrameStore* Frames() override { return &frames_; }
    StoryStore* Stories() override { return &stories_; }
    SharedFrameList* SharedFrames() override { return &shared_; }
    FrameView* View() override { return this; }
    CurrPageMng* PageManager() override { return &manager_; }
    void GetPageZoom(int16_t* mode, int16_t* numerator, int16_t* denominator) override;
    void GetPageSlotRect(int16_t slot, IntRect* r) override;
    ColorRef GetTint(uint8_t index, uint8_t percent) override;
    bool ShowGuides() override { return showGuides; }
    bool ImmediateRedraw() override { return immediateRedraw; }
    bool IsModified() override { return modified; }
    void SetModified(bool on) override { modified = on; }

    // FrameView.
    Dc* GetViewDC() override;
    void PushDrawTarget(Dc* dc, uint32_t flags) override;
    void PopDrawTarget() override;
    bool IsScreenTarget() const override { return targets_.empty(); }
    void GetClientRectLogical(IntRect* r) override;
    void InvalidateRect(const IntRect& device, bool erase) override;
    void InvalidateRgn(const Region& device, bool erase) override;
    void Refresh() override;
    void UpdateNow() override { Paint(); }

private:
    bool ok_ = false;
    IntSize page_;
    int32_t margin_ = 0;
    CTFileMng swap_;
    PageTable2 pages_{this};
    FrameStore frames_{this, &swap_};
    StoryStore stories_{this, &swap_};
    SharedFrameList shared_;
    CurrPageMng manager_{this};
    QImage surface_;
    std::unique_ptr<Dc> dc_;
    std::vector<Dc*> targets_;
};

// One cell of the sample page: a name for the picture and what to put into
// the cell's rectangle (document units).
struct SampleCell {
    const char* name;
    void (*make)(SamplePageDocument& doc, const IntRect& cell);
};

// The shape frames' cells, and those of the frames that show content; the
// page shows them in this order.
const std::vector<SampleCell>& ShapeSampleCells();
const std::vector<SampleCell>& ContentSampleCells();

// Cells are kSampleCellWidth x kSampleCellHeight document units, four in a
// row.
constexpr int32_t kSampleCellWidth = 180;
constexpr int32_t kSampleCellHeight = 160;
constexpr int32_t kSampleColumns = 4;

// The page size the cells need.
IntSize SamplePageSize();
// The rectangle of cell i.
IntRect SampleCellRect(int32_t i);
// Fills the page with every cell and turns every frame about its cell's
// centre by angle degrees.
void BuildSamplePage(SamplePageDocument& doc, double angle);
