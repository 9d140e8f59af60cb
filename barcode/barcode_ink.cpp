#include "barcode/barcode_ink.h"

#include <algorithm>

#include <QPainterPath>

#include "platform/dc.h"

namespace {

thread_local BarcodeInk* open = nullptr;

template <class Point>
void AddPoints(BarcodeInk* ink, const Point* points, size_t count, double reach,
               void (BarcodeInk::*add)(double, double, double, double))
{
    double left = points[0].x, top = points[0].y, right = left, bottom = top;
    for (size_t i = 1; i < count; ++i) {
        left = std::min(left, double(points[i].x));
        right = std::max(right, double(points[i].x));
        top = std::min(top, double(points[i].y));
        bottom = std::max(bottom, double(points[i].y));
    }
    // A bar of no area puts no ink.
    if (reach > 0.0 || (right > left && bottom > top))
        (ink->*add)(left, top, right + reach, bottom + reach);
}

}  // namespace

BarcodeInk::BarcodeInk(const Dc* dc, const QRectF& within) : dc_(dc), within_(within), outer_(open) { open = this; }

BarcodeInk::~BarcodeInk() { open = outer_; }

QRectF BarcodeInk::Allowed(const Dc* dc)
{
    IntRect clip;
    dc->getClipBox(&clip);
    return QRectF(clip.left - 1.0, clip.top - 1.0, clip.right - clip.left + 2.0, clip.bottom - clip.top + 2.0);
}

bool BarcodeInk::Past(const QRectF& allowed) const
{
    return any_ && (left_ < allowed.left() || top_ < allowed.top() || right_ > allowed.right() ||
                    bottom_ > allowed.bottom());
}

void BarcodeInk::Add(double left, double top, double right, double bottom)
{
    if (!any_) {
        left_ = left, top_ = top, right_ = right, bottom_ = bottom;
        any_ = true;
        return;
    }
    left_ = std::min(left_, left);
    top_ = std::min(top_, top);
    right_ = std::max(right_, right);
    bottom_ = std::max(bottom_, bottom);
}

void BarcodeInk::Bar(const DoublePoint* corners, size_t count)
{
    if (open && corners && count > 0)
        AddPoints(open, corners, count, 0.0, &BarcodeInk::Add);
}

void BarcodeInk::Bar(const IntPoint* corners, size_t count)
{
    if (open && corners && count > 0)
        AddPoints(open, corners, count, 0.0, &BarcodeInk::Add);
}

void BarcodeInk::Line(const IntPoint* points, size_t count)
{
    // A line a pixel wide covers the pixels it runs through.
    if (open && points && count > 0)
        AddPoints(open, points, count, 1.0, &BarcodeInk::Add);
}

void BarcodeInk::Glyphs(std::string_view text, const IntPoint* at)
{
    if (!open || !at)
        return;
    // The glyphs' own outlines: a caption's cell reaches below its digits.
    for (size_t i = 0; i < text.size(); ++i) {
        const std::string_view one = text.substr(i, 1);
        const QRectF reach = open->dc_->textReach(at[i].x, at[i].y, one);
        if (reach.isNull() || (!open->within_.isEmpty() && open->within_.contains(reach)))
            continue;
        const QRectF glyph = open->dc_->textPath(at[i].x, at[i].y, one).boundingRect();
        if (!glyph.isNull())
            open->Add(glyph.left(), glyph.top(), glyph.right(), glyph.bottom());
    }
}
