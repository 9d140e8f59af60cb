// The rectangle drawing of a metafile recorder (the enhanced and the
// Windows metafile alike): a filled box is one rectangle record drawn with
// the brush and no pen, a frame four one-unit ones, an inversion a black
// one under R2_NOT. Recorder gives withBrush(brush, rop2, draw) and
// rectangleRecord(left, top, right, bottom) in its own records.
#pragma once

#include <cstdint>

#include "platform/gdi_types.h"

template <class Recorder, class Base>
class RectangleRecords : public Base {
public:
    void fillRect(const IntRect& r, const Brush& brush) override
    {
        self().withBrush(brush, R2_COPYPEN, [&] { self().rectangleRecord(r.left, r.top, r.right, r.bottom); });
    }
    void frameRect(const IntRect& r, const Brush& brush) override
    {
        self().withBrush(brush, R2_COPYPEN, [&] {
            self().rectangleRecord(r.left, r.top, r.right, r.top + 1);
            self().rectangleRecord(r.left, r.bottom - 1, r.right, r.bottom);
            self().rectangleRecord(r.left, r.top + 1, r.left + 1, r.bottom - 1);
            self().rectangleRecord(r.right - 1, r.top + 1, r.right, r.bottom - 1);
        });
    }
    void invertRect(const IntRect& r) override
    {
        self().withBrush(Brush::Solid(kBlack), R2_NOT,
                         [&] { self().rectangleRecord(r.left, r.top, r.right, r.bottom); });
    }

private:
    Recorder& self() { return static_cast<Recorder&>(*this); }
};
