// What the frames and the current-page manager need of the card view: the
// device context drawing goes to, the conversions between its logical and
// device coordinates, invalidation and synchronous repaint, the guide drag
// and the mouse trackers. The card view implements it; the frames reach it
// through their document (FrameDocument::View).
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"

class Dc;
class FrameObj;
class Region;

// A mouse-drag tracker made for a frame (the card view's tracker classes).
class FrameTracker {
public:
    virtual ~FrameTracker() = default;
};

// The tracker classes a frame asks for.
enum class TrackerKind : int16_t {
    kObject,   // the generic frame tracker
    kLine,     // the line frame's
    kPicture,  // image and picture frames
};

class FrameView {
public:
    virtual ~FrameView() = default;

    // The context drawing goes to: the screen's, or the target pushed last.
    virtual Dc* GetViewDC() = 0;
    // Makes dc the drawing context until the matching pop (printing, export,
    // off-screen images). flags are the caller's, kept with the target.
    virtual void PushDrawTarget(Dc* dc, uint32_t flags) = 0;
    virtual void PopDrawTarget() = 0;
    // True while no target is pushed.
    virtual bool IsScreenTarget() const = 0;

    // Between the view's logical coordinates and the device's, through the
    // drawing context's origins.
    virtual void LPtoDPPoint(IntPoint* p);
    virtual void LPtoDPRect(IntRect* r);
    virtual void DPtoLPRect(IntRect* r);
    virtual void LogicalToDeviceRgn(Region* rgn);
    virtual void DeviceToLogicalRgn(Region* rgn);
    // The client area in logical coordinates.
    virtual void GetClientRectLogical(IntRect* r) = 0;

    // Device rectangle or region to repaint; erase repaints the background
    // first.
    virtual void InvalidateRect(const IntRect& device, bool erase) = 0;
    virtual void InvalidateRgn(const Region& device, bool erase) = 0;
    // Repaints the whole view, background first.
    virtual void Refresh() = 0;
    // Runs the pending paint before it returns.
    virtual void UpdateNow() = 0;
    // The page shown changed (frames added, removed or redrawn).
    virtual void NotifyViewChanged() = 0;

    // Drags a new guide from point (view units) with the mouse and adds it
    // where the button is let go; vertical 1 or 0.
    virtual void TrackGuide(const IntPoint& point, uint8_t vertical) = 0;
    // A tracker of the kind for the frame, owned by the caller; null when
    // none can be made.
    virtual FrameTracker* NewTracker(TrackerKind kind, FrameObj* frame, int16_t mode) = 0;
};
