// The root's drawing passes and outline regions.
#include "frames/frame_obj.h"

#include "frames/wrap_point_list.h"

std::optional<Region> FrameObj::MakeOutlineRegion(Dc*, uint8_t) { return std::nullopt; }
bool FrameObj::BuildOutlineRegion(Dc*, Region* rgn, uint8_t) { *rgn = Region(); return false; }
void FrameObj::GetOutlineRegion(Dc*, Region* out) { *out = outlineRegion_; }
std::vector<IntPoint> FrameObj::QuadPolygon(const CornerQuad&) const { return {}; }
std::vector<IntPoint> FrameObj::GeometryPolygon(const FrameGeometry&) const { return {}; }
std::vector<IntPoint> FrameObj::RectPolygon(const IntRect&) const { return {}; }
void FrameObj::PathQuad(Dc*, const CornerQuad&) {}
void FrameObj::PathRect(Dc*, const IntRect&) {}
void FrameObj::PathGeometry(Dc*, const FrameGeometry&) {}
std::optional<Region> FrameObj::InnerRegion(Dc*, const FrameGeometry&) { return std::nullopt; }
void FrameObj::InnerViewRegion(Dc*, Region* out) { *out = Region(); }
void FrameObj::GetInnerRect(IntRect* out) const { *out = viewRect_; }
bool FrameObj::AddOutlinePoints(Dc*, WrapPointList*, int32_t) { return false; }
bool FrameObj::AddRectPoints(Dc*, WrapPointList*, int32_t) { return false; }
bool FrameObj::AddRotatedPoints(Dc*, WrapPointList*, int32_t) { return false; }
void FrameObj::DrawClipped(Dc*, uint8_t) {}
void FrameObj::Draw(Dc*) {}
void FrameObj::DrawFill(Dc*) {}
void FrameObj::DrawBorder(Dc*) {}
void FrameObj::DrawContentPass(Dc*) {}
void FrameObj::DrawHandlesPass(Dc*, uint8_t) {}
void FrameObj::StrokeBorder(Dc*, int16_t) {}
void FrameObj::FillShape(Dc*, uint8_t) {}
void FrameObj::DrawContent(Dc*) {}
void FrameObj::DrawHandles(Dc*) {}
void FrameObj::DrawDragOutline(Dc*) {}
void FrameObj::StrokeOutline(Dc*, const FrameGeometry&) {}
void FrameObj::DrawFrameEdge(Dc*, uint8_t, uint8_t, uint8_t) {}
void FrameObj::FrameOutline(Dc*) {}
bool FrameObj::GetClipRegion(Dc*, std::optional<Region>* saved) { *saved = std::nullopt; return true; }
bool FrameObj::ClearRedraw(int32_t, int32_t, int32_t) { redrawPending_ = 0; return true; }
void FrameObj::BorderPass(Dc*) {}
void FrameObj::RegionToDevice(Dc*, Region*) const {}
void FrameObj::RegionToLogical(Dc*, Region*) const {}
