// The root's geometry and interaction: bounds, corners, handles and hits,
// moving, turning, dragging, the output shift, alignment and auto-size, and
// the unit conversions through the zoom.
#include "frames/frame_obj.h"

#include "frames/frame_document.h"
#include "frames/frame_view_services.h"
#include "graphics/placement.h"

void FrameObj::BoundsOfGeometry(const FrameGeometry& g, IntRect* out) const { PlacementRotatedBounds(g, out); }
void FrameObj::GetCorners(CornerQuad* out, uint8_t, uint8_t) const { *out = CornerQuad{}; }
void FrameObj::GetBounds(IntRect* out, uint8_t toView, int16_t which) const
{
    BoundsOfGeometry(GeometryOf(which), out);
    if (toView)
        DocToViewRect(out);
}
void FrameObj::ClampMove(IntPoint*, const IntRect&, int16_t, uint8_t) {}
void FrameObj::RotateAbout(double, const IntPoint&, int16_t) {}
void FrameObj::FitRotation(double* angle, const IntPoint&, const IntRect&, int16_t) { *angle = 0; }
void FrameObj::BeginDrag(uint8_t) {}
void FrameObj::EndDrag(uint8_t) {}
int32_t FrameObj::ShiftForOutput(uint8_t, uint8_t, int32_t, int32_t) { return 0; }
void FrameObj::ApplyAlignOffset(int16_t, const IntPoint&) {}
void FrameObj::ValidateAnchors() {}
void FrameObj::ApplyAutoSize(const IntRect&) {}
int32_t FrameObj::DocToViewLength(int32_t length) const { return length; }
double FrameObj::DocToViewLengthF(double length) const { return length; }
void FrameObj::DocToViewQuad(CornerQuad*) const {}
void FrameObj::DocToViewRect(IntRect*) const {}
void FrameObj::ViewToDocQuad(CornerQuad*) const {}
void FrameObj::ViewToDocRect(IntRect*) const {}
void FrameObj::DocToViewPoint(IntPoint*) const {}
void FrameObj::ViewToDocPoint(IntPoint*) const {}
bool FrameObj::HitTest(const IntPoint&) { return false; }
void FrameObj::GetHandlePoint(IntPoint* out, int16_t) const { *out = IntPoint{}; }
void FrameObj::GetHandleRect(int32_t x, int32_t y, IntRect* out) const { *out = IntRect{x - 2, y - 2, x + 2, y + 2}; }
int16_t FrameObj::HitHandle(const IntPoint&) const { return 0; }
FrameTracker* FrameObj::CreateTracker(FrameView*, int16_t) { return nullptr; }
void FrameObj::EditInfo(int32_t) {}
void FrameObj::TouchAttr74(int32_t) { BeginChange(); }
void FrameObj::TouchAttr75(int32_t) { BeginChange(); }
bool FrameObj::IsTransparent() const { return false; }
bool FrameObj::IsOpaque() const { return false; }
FrameView* FrameObj::View() const { return nullptr; }
Dc* FrameObj::ViewDc() const { return nullptr; }
ColorRef FrameObj::Tint(uint8_t, uint8_t) const { return kBlack; }
bool FrameObj::HandlesRestricted() const { return false; }
const FrameGeometry& FrameObj::GeometryOf(int16_t which) const
{
    return which == kGeometrySaved ? saved_.geometry : which == kGeometryDrag ? dragGeometry_ : block_.attr.geometry;
}
