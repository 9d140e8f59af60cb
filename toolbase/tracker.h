// Mouse trackers: one drag of the left button from the press to the
// release, with inverted (NOT-XOR) feedback drawn while it lasts.
//
// A tool or a frame makes a tracker when the button goes down, runs Track
// with the press point (view logical units), reads the result fields and
// deletes it. Track holds the mouse itself: the view's press handler
// returns only when the drag is over. It waits in a nested event loop in
// which the mouse events of the view are taken by the tracker and handed to
// nobody else; a pass of the drag runs for every one of them, and while the
// button stays down a short timer runs passes too, so that a pointer held
// outside the view keeps scrolling it. Keys are not taken: a view must not
// act on them while Active() is set.
//
// Subclasses change what is drawn and what the release does; every
// operation below is one of their slots, in this order.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/frame_view_services.h"

class Dc;
class DragWait;
class FrameObj;
class FrameTool;
class QWidget;

// What a tracker needs of the card view and its document beside the frames'
// view services.
class TrackerView : public FrameView {
public:
    // The window that holds the mouse during a drag; without one the drag
    // ends at once.
    virtual QWidget* CaptureWidget() = 0;
    // Whether the left button is down at this moment.
    virtual bool IsLeftButtonDown();
    // Device pixels of the capture window to the view's logical units.
    virtual void DPtoLPPoint(IntPoint* p);
    // The document's page rectangle in view units.
    virtual void GetPageRectView(IntRect* r) = 0;
    // The document's snap-to-guides switch, and snapping a view point to the
    // current page's guides.
    virtual bool SnapToGuides() = 0;
    virtual void SnapPoint(const IntPoint& viewPoint, IntPoint* out) = 0;
    // Whether a device point lies outside the client area; with doScroll the
    // view also scrolls one step toward it.
    virtual bool AutoScroll(const IntPoint& devicePoint, bool doScroll) = 0;
    // Scrolls the view by a distance in view units; false when it did not
    // move.
    virtual bool ScrollByDelta(int32_t dx, int32_t dy) = 0;
    // The pointer (and a second mark, or none) shown in the rulers.
    virtual void ShowMouseInRulers(const IntPoint& devicePoint, const IntPoint* second) = 0;
};

// Shapes of the rubber band (the frame type codes).
enum : uint16_t {
    kBandRect = 1,
    kBandRoundRect = 2,
    kBandEllipse = 3,
    kBandArc = 6,
};

// Phases passed to AdjustPoint and ConstrainPoint.
enum : int16_t {
    kPhaseStart = 0,
    kPhaseLoop = 1,
    kPhaseEnd = 2,
};

// Change flags: the pointer moved; it moved and the view scrolled.
enum : uint8_t {
    kTrackMoved = 1,
    kTrackScrolled = 3,
};

class CTracker : public FrameTracker {
public:
    // owner: the tool that makes the tracker, null when a frame makes it
    // (the frame then sets itself with SetFrame). mode is the creator's own
    // code, read back after the drag. With redrawOnlyOnMove the feedback is
    // redrawn only in passes where the point moved.
    CTracker(TrackerView* view, FrameTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove);
    ~CTracker() override;
    CTracker(const CTracker&) = delete;
    CTracker& operator=(const CTracker&) = delete;

    // ---- slots ----
    virtual void Begin(IntPoint* start);
    virtual void UpdateFeedback(IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                                bool drawNew);
    virtual void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor);
    virtual void AdjustPoint(int16_t phase, IntPoint* point, const IntPoint& previous, const IntPoint& anchor,
                             int16_t code, bool doNotSnap);
    virtual void ConstrainPoint(int16_t phase, IntPoint* point, IntPoint* anchor);
    virtual void GetLimitRect(IntRect* r);
    virtual void ClampToRect(IntPoint* point, const IntRect& r);
    virtual void DrawFeedback(const IntPoint& from, const IntPoint& to);
    virtual void ShowInRulers(const IntPoint& point, const IntPoint* second);

    // Runs the drag from the press point.
    void Track(const IntPoint& press);
    // Shift, Control and Alt as they are now.
    void ReadModifiers();

    // Whether a drag is being followed (the view leaves keys alone then).
    static bool Active();

    TrackerView* View() const { return view_; }
    FrameTool* Owner() const { return owner_; }
    FrameObj* Frame() const { return frame_; }
    void SetFrame(FrameObj* frame) { frame_ = frame; }
    Dc* DC() const { return dc_; }
    uint16_t Mode() const { return mode_; }
    uint16_t HandleIndex() const { return handle_; }
    void SetHandleIndex(uint16_t handle) { handle_ = handle; }
    bool Moved() const { return moved_ != 0; }
    uint8_t ChangeFlags() const { return changeFlags_; }
    const IntRect& Result() const { return result_; }
    const IntPoint& StartPoint() const { return start_; }
    void SetShape(uint16_t shape) { shape_ = shape; }
    void SetAutoscroll(bool on) { autoscroll_ = on ? 1 : 0; }
    void SetRawMoveTest(bool on) { rawMoveTest_ = on ? 1 : 0; }
    void SetShowInRulers(bool on) { showInRulers_ = on ? 1 : 0; }
    bool ShiftDown() const { return shift_ != 0; }
    bool AltDown() const { return alt_ != 0; }
    bool ControlDown() const { return control_ != 0; }

protected:
    // For a Begin that tells a press held still from the start of a drag:
    // 1 when the pointer stayed where it was pressed, with the button down,
    // for that long; 0 as soon as it moved or the button came up. The
    // pointer's input meanwhile goes to the drag, not to any window, and
    // the drag goes on from wherever the pointer went.
    int16_t WaitForHold(int32_t milliseconds);

    TrackerView* view_;
    FrameTool* owner_;
    FrameObj* frame_ = nullptr;
    Dc* dc_ = nullptr;
    uint16_t mode_;
    uint16_t handle_ = 0;
    uint16_t moved_ = 0;
    uint8_t redrawOnlyOnMove_;
    uint8_t autoscroll_ = 1;
    uint8_t rawMoveTest_ = 0;
    uint8_t shift_ = 0;
    uint8_t alt_ = 0;
    uint8_t control_ = 0;
    uint8_t looped_ = 0;
    IntRect limit_;
    IntPoint mouse_;
    IntPoint previousMouse_;
    IntPoint start_;
    uint8_t showInRulers_ = 1;
    uint16_t shape_ = kBandRect;
    IntRect result_;
    uint8_t changeFlags_ = 0;

private:
    // One pass of the drag with the pointer at the device point.
    void Pass(IntPoint* cur, IntPoint* previous, IntPoint* anchor);

    // The drag's hold on the mouse while Track runs with the button down.
    DragWait* wait_ = nullptr;
};
