// The star or regular polygon frame: the root's block followed by the
// 12-byte star record (star_record_format.h).
#pragma once

#include "frames/frame_obj.h"
#include "frames/star_record_format.h"

struct StarDescription;

class FrameObjStar : public FrameObj {
public:
    int16_t GetType() const override { return kFrameStar; }
    uint32_t DataSize() const override;
    int32_t CopyTo(FrameObj* destination) override;

    void PathQuad(Dc* dc, const CornerQuad& q) override;
    void PathRect(Dc* dc, const IntRect& r) override;
    void PathGeometry(Dc* dc, const FrameGeometry& g) override;
    std::optional<Region> InnerRegion(Dc* dc, const FrameGeometry& g) override;
    void StrokeBorder(Dc* dc, int16_t width) override;
    void FillShape(Dc* dc, uint8_t solid) override;
    void StrokeOutline(Dc* dc, const FrameGeometry& g) override;
    bool AddRotatedPoints(Dc* dc, WrapPointList* list, int32_t limit) override;
    // With Shift held the document's Object Info, else the Star Info
    // dialog.
    void EditInfo(int32_t arg) override;

    const StarParams& Star() const { return star_; }
    void SetStarParams(const StarParams& star);

protected:
    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;

    StarParams star_;

private:
    StarDescription Description() const;
};
