#include "barcode/barcode_ink.h"

#include <algorithm>

#include <QPainterPath>

#include "platform/dc.h"

namespace {

thread_local BarcodeInk* open = nullptr;

template <class Point>
QRectF BoxOf(const Point* points, size_t count)
{
    double left = points[0].x, top = points[0].y, right = left, bottom = top;
    for (size_t i = 1; i < count; ++i) {
        left = std::min(left, double(points[i].x));
        right = std::max(right, double(points[i].x));
        top = std::min(top, double(points[i].y));
        bottom = std::max(bottom, double(points[i].y));
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

}  // namespace

BarcodeInk::BarcodeInk(const Dc* dc, const QRectF& within) : dc_(dc), within_(within), outer_(open) { open = this; }

BarcodeInk::~BarcodeInk() { open = outer_; }

// An empty box (a bar of no width) adds nothing.
void BarcodeInk::Add(const QRectF& box) { ink_ = ink_.isNull() ? box : ink_.united(box); }

void BarcodeInk::Bar(const DoublePoint* corners, size_t count)
{
    if (open && corners && count > 0)
        open->Add(BoxOf(corners, count));
}

void BarcodeInk::Bar(const IntPoint* corners, size_t count)
{
    if (open && corners && count > 0)
        open->Add(BoxOf(corners, count));
}

void BarcodeInk::Line(const IntPoint* points, size_t count)
{
    // A line a pixel wide covers the pixels it runs through.
    if (open && points && count > 0)
        open->Add(BoxOf(points, count).adjusted(0, 0, 1, 1));
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
        open->Add(open->dc_->textPath(at[i].x, at[i].y, one).boundingRect());
    }
}
