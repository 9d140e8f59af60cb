// InkBoundsRecorder: the box of what a drawing puts on paper, in logical
// units, for a drawing done with Dc::ForRecording only to measure it: the
// space it leaves blank around its marks is not counted. It takes the calls
// the barcode engine draws with: lines, regions (its bars) and text, by the
// outlines of the glyphs.
#pragma once

#include <QRectF>

#include "platform/dc_recorder.h"

class Dc;

class InkBoundsRecorder : public DcRecorder {
public:
    // The recording context, for the current position and its glyphs.
    void Attach(const Dc* dc) { dc_ = dc; }
    // Empty when nothing was drawn.
    const QRectF& Ink() const { return ink_; }
    // For a caller that asks only whether the ink leaves this box: text
    // that surely stays within it is not laid out, and adds nothing.
    void OnlyPast(const QRectF& box) { within_ = box; }

    void lineTo(int32_t x, int32_t y) override;
    void polyline(const IntPoint* points, int count) override;
    void paintRgn(const Region& region) override;
    void extTextOut(int32_t x, int32_t y, uint32_t options, const IntRect* rect, std::string_view text,
                    const int32_t* dx) override;

private:
    void Add(const QRectF& box);

    const Dc* dc_ = nullptr;
    QRectF ink_;
    QRectF within_;
};
