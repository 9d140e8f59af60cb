// A sample page document in a fresh folder, and reading its pixels by
// document position.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "tools/stand_ins/sample_page.h"
#include "support/temp_dir.h"

class PageTest : public ::testing::Test {
protected:
    void SetUp() override { Make(IntSize{400, 300}, 100); }

    void Make(IntSize page, int32_t zoom)
    {
        doc_.reset();
        doc_ = std::make_unique<SamplePageDocument>(dir_.path(), page, zoom);
        ASSERT_TRUE(doc_->ok());
    }

    CurrPageMng& Manager() { return *doc_->PageManager(); }

    FrameObj* Add(int16_t type, const IntRect& r, uint8_t fill, uint8_t background, uint8_t border = kSampleBlack,
                  int16_t borderWidth = 2)
    {
        FrameObj* f = doc_->AddFrame(type, r);
        EXPECT_NE(f, nullptr);
        f->SetColour(fill, 1);
        f->SetColour(background, 2);
        f->SetColour(border, 0);
        f->SetBorderWidth(borderWidth);
        return f;
    }

    // The surface's colour at a surface pixel, as a ColorRef.
    ColorRef At(int32_t x, int32_t y) const { return FromQColor(doc_->Surface().pixelColor(x, y)); }
    // The colour where a document point of the page is drawn.
    ColorRef AtDoc(int32_t x, int32_t y) const
    {
        const IntPoint p = doc_->SurfacePoint(IntPoint{x, y});
        return At(p.x, p.y);
    }
    // Paints with nothing but the frames: no edges of unselected frames.
    void PaintPlain()
    {
        doc_->showGuides = false;
        Manager().ClearChanged();
        doc_->Paint();
    }

    TempDir dir_;
    std::unique_ptr<SamplePageDocument> doc_;
};
