// CLabelsView: the one view of a card document. It draws nothing of its
// own: it keeps the device context everything is drawn into (its surface's,
// or a target pushed for printing, export and off-screen work), turns
// mouse and key events into calls on the document's current tool, scrolls
// the page within the card window's scroll bars, feeds the two rulers and
// carries out the zoom commands of the View Size menu.
//
// Logical units of the view are zoomed document units shifted by the
// scroll: the context's viewport origin is minus the scroll position and
// its mapping is never used for zoom.
#pragma once

#include <cstdint>
#include <memory>

#include <QPointer>
#include <QRegion>

#include "carddoc/card_frame_services.h"
#include "carddoc/card_view_services.h"
#include "carddoc/ruler.h"
#include "carddoc/ruler_corner.h"
#include "carddoc/surface_widget.h"
#include "platform/command_target.h"

class CLabelsDoc;
class QTimer;
class TypedLeftOutNote;

class CLabelsView : public SurfaceWidget,
                    public CardViewServices,
                    public FrameScrollClient,
                    public CommandTarget {
public:
    // Capture modes of the view's own drags.
    enum : int32_t {
        kCaptureNone = 0,
        kCaptureSetOrigin = 1,
        kCapturePan = 4,
    };
    static constexpr int16_t kMaxDrawTargets = 10;
    // The View Size commands.

    explicit CLabelsView(QWidget* parent);
    ~CLabelsView() override;

    // The first update: takes the rulers and corner of the window around
    // it, sets the scroll bars to the page, links itself and the document
    // and lets the document show its first page.
    void InitView(CLabelsDoc* document);
    CLabelsDoc* Document() const { return document_; }
    // The document goes before the view: nothing of it is reached again.
    void Detach();
    bool Ready() const { return ready_ != 0; }

    // ---- FrameView ----
    Dc* GetViewDC() override;
    void PushDrawTarget(Dc* dc, uint32_t flags) override;
    void PopDrawTarget() override;
    bool IsScreenTarget() const override { return depth_ == -1; }
    int16_t DrawTargetDepth() const { return depth_; }
    void GetClientRectLogical(IntRect* r) override;
    void InvalidateRect(const IntRect& device, bool erase) override;
    void InvalidateRgn(const Region& device, bool erase) override;
    void Refresh() override;
    void UpdateNow() override;
    void TrackGuide(const IntPoint& point, uint8_t vertical) override;
    FrameTracker* NewTracker(TrackerKind kind, FrameObj* frame, int16_t mode) override;

    // ---- TrackerView ----
    QWidget* CaptureWidget() override { return this; }
    bool IsLeftButtonDown() override;
    void GetPageRectView(IntRect* r) override;
    bool SnapToGuides() override;
    void SnapPoint(const IntPoint& viewPoint, IntPoint* out) override;
    bool AutoScroll(const IntPoint& devicePoint, bool doScroll) override;
    void ShowMouseInRulers(const IntPoint& devicePoint, const IntPoint* second) override;

    // ---- CardViewServices ----
    IntRect FrameWindowRect() override;
    void MoveFrameWindow(const IntRect& rect) override;
    IntRect ParentClientRect() override;
    bool FrameWindowShown() override { return shown_; }
    IntPoint ScrollPosition() override;
    void ScrollTo(const IntPoint& position) override { ScrollTo(position.x, position.y, true); }
    void SetScrollSizes(const IntSize& viewUnits) override { SetScrollSizes(viewUnits.width, viewUnits.height, true); }
    void SetScrollSpeed(int32_t speed) override { SetAutoScrollStep(speed); }
    void GetRulerState(int axis, uint8_t* record12) override;
    void SetRulerState(int axis, const uint8_t* record12) override;
    void SetRulerUnit(int axis, int16_t unit) override;
    void ShowZoom(int16_t numerator, int16_t denominator, bool percentForm) override;
    void SetPageText(const std::string& text) override;
    void EnablePageButtons(bool previous, bool next) override;
    void SetRulerZoom(int16_t percent) override;
    void UpdateToolButtons(int16_t kind) override;
    bool AskZoomPercent(int32_t* percent) override;
    void TakeFocus() override;
    uint8_t ClickState() override { return clickState_; }
    void SetCursorShape(int32_t cursor) override;
    void TrackPopupMenu(QMenu* menu, const IntPoint& viewPoint) override;
    bool ScrollToShowPoint(const IntPoint& viewPoint) override { return ScrollToShowPoint(viewPoint.x, viewPoint.y); }
    // The page shown changed: what changed was painted already.
    void NotifyViewChanged() override {}

    // ---- scrolling (view units) ----
    void SetAutoScrollStep(int32_t step) { autoScrollStep_ = step; }
    int32_t AutoScrollStep() const { return autoScrollStep_; }
    bool ScrollToShowPoint(int32_t x, int32_t y);
    void ScrollTo(int32_t x, int32_t y, bool repaint);
    bool ScrollBy(int32_t dx, int32_t dy);
    bool ScrollByDelta(int32_t dx, int32_t dy) override { return ScrollBy(dx, dy); }
    void SetScrollSizes(int32_t width, int32_t height, bool repaint);
    // The window's layout changed: page lengths and positions follow the
    // client size.
    void ScrollToPosition(int32_t clientWidth, int32_t clientHeight);
    void GetScrollBars(ScrollInfo* horizontal, ScrollInfo* vertical) const;
    void OnFrameScroll(Qt::Orientation orientation, int32_t action, int32_t position) override;

    // ---- the rulers and their corner ----
    void ShowMouseInRulers(const QPoint& screen, const QPoint* second);
    // The corner asks for the rulers' zero: a crosshair follows the
    // pointer until the button is let go.
    void OnSetOriginMessage();
    // A ruler was pressed at the view's client point: a guide is dragged.
    void OnSetGuideMessage(const QPoint& client, int32_t orientation);
    // The card's top left corner in view units at 100% zoom, from which
    // the rulers measure their zero.
    IntPoint CardCorner() const;
    CRuler* HorizontalRuler() const { return rulers_[0]; }
    CRuler* VerticalRuler() const { return rulers_[1]; }
    CRulerCorner* Corner() const { return corner_; }
    int32_t CaptureMode() const { return captureMode_; }

    // ---- commands ----
    bool OnCommand(uint32_t id) override;
    bool OnUpdateCommand(CmdUI& ui) override;

protected:
    void SurfaceResized() override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    struct DrawTarget {
        Dc* dc = nullptr;
        uint32_t flags = 0;
        IntPoint viewport;
    };

    CardFrameServices* Frame() const;
    void SetScrollBarsOut(const ScrollInfo* horizontal, const ScrollInfo* vertical);
    // Moves the picture by the change of scroll position and paints what it
    // uncovered (repaint), or leaves the whole view to be painted.
    void ApplyScroll(int32_t newX, int32_t newY, bool repaint);
    // Paints the invalid part of the view now.
    void PaintPending();
    void SchedulePaint();
    void ApplyViewport();
    void Press(const QPoint& device, bool doubleClick, Qt::KeyboardModifiers modifiers);
    void DrawCrosshair(const QPoint& device);
    IntPoint ToLogical(const QPoint& device);

    CLabelsDoc* document_ = nullptr;
    Dc* currentDc_ = nullptr;
    uint32_t currentFlags_ = 0;
    DrawTarget stack_[kMaxDrawTargets];
    int16_t depth_ = -1;
    // Siblings of the view in its window, which may go first.
    QPointer<CRuler> rulers_[2];
    QPointer<CRulerCorner> corner_;
    uint8_t ready_ = 0;
    IntPoint viewport_;
    int32_t captureMode_ = kCaptureNone;
    uint8_t autoScrollEnabled_ = 1;
    IntPoint autoScrollSteps_;
    QPoint panAnchor_;
    QPoint lastMouse_{-1, -1};
    uint8_t clickState_ = 0;
    QPoint lastClick_{-1, -1};
    uint8_t previousClickState_ = 0;
    int32_t autoScrollStep_ = 5;
    // Without a card window around it the view keeps its scroll bars here.
    ScrollInfo ownBars_[2];
    QRegion dirty_;
    bool paintScheduled_ = false;
    bool leftDown_ = false;
    bool forcedDown_ = false;
    bool rightPressed_ = false;
    bool shown_ = false;
    // Typed characters the card can't hold, told once a burst ends.
    TypedLeftOutNote* leftOutNote_ = nullptr;
};
