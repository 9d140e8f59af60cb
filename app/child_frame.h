// CChildFrame: the window of a card document. Around the card view it
// holds the rulers with their corner, the zoom and page bar at the bottom
// (which carries the horizontal scroll bar) and a vertical scroll bar of
// its own, and lays them out itself.
#pragma once

#include <cstdint>

#include "app/document_child_frame.h"
#include "carddoc/card_frame_services.h"

class QScrollBar;

class CChildFrame : public DocumentChildFrame, public CardFrameServices {
public:
    // Ruler bands, in pixels.
    static constexpr int32_t kRulerWidth = 28;
    static constexpr int32_t kRulerHeight = 22;
    static constexpr int32_t kMinimumTrack = 100;
    // Controls of the zoom and page bar.
    enum : int32_t {
        kZoomBarId = 103,
        kHScrollId = 1376,
        kZoomButtonId = 1377,
        kZoomTextId = 1378,
        kPrevPageId = 1379,
        kNextPageId = 1380,
        kPageTextId = 1381,
    };

    CChildFrame(CMainFrame* mainFrame, ShellDocument* document);

    bool CreateClient() override;
    QWidget* ActiveView() const override { return view_; }
    void OnMdiActivate(bool activating) override;

    bool OnCommand(uint32_t id) override;
    bool OnUpdateCommand(CmdUI& ui) override;

    void ShowZoomPercent(int32_t percent);
    void SetZoomText(const QString& text);
    void ShowPageNumber(int32_t page, int32_t count);
    void SetPageText(const QString& text);
    // Touches each button only when its state differs.
    void EnablePageButtons(bool front, bool back);
    QString ZoomText() const;
    QString PageText() const;

    // Null leaves a bar as it is. A bar shows exactly while it is needed:
    // min < max and page < max - min.
    void SetScrollBars(const ScrollInfo* horizontal, const ScrollInfo* vertical) override;
    void GetScrollBars(ScrollInfo* horizontal, ScrollInfo* vertical) const override;
    bool VerticalBarShown() const { return vScrollShown_; }
    bool HorizontalBarShown() const;

    // The client size less the vertical scroll bar, the zoom and page bar
    // and, while shown, the ruler bands.
    QSize GetViewAreaSize() const;
    bool RulersShown() const { return rulersShown_; }
    void ShowRulers(bool show);
    // Lays the bands, bars and view out in the client.
    void RecalcLayout();

    CZoomPageBar* ZoomPageBar() const override { return bar_; }
    CRuler* HorizontalRuler() const override { return hRuler_; }
    CRuler* VerticalRuler() const override { return vRuler_; }
    CRulerCorner* RulerCorner() const override { return corner_; }
    // The tools bar's buttons: only the kind's is checked.
    void UpdateToolButtons(int16_t kind) override;
    bool RouteCommand(uint32_t id) override;
    void UpdateMenuStates(QMenu* menu) override;

    // After a restore, a window dragged partly out of the work area comes
    // back in.
    void KeepInsideWorkArea();

protected:
    void changeEvent(QEvent* event) override;

private:
    void Scrolled(Qt::Orientation orientation, int32_t action, int32_t position);

    QWidget* client_ = nullptr;
    QWidget* view_ = nullptr;
    CRuler* hRuler_ = nullptr;
    CRuler* vRuler_ = nullptr;
    CRulerCorner* corner_ = nullptr;
    CZoomPageBar* bar_ = nullptr;
    QScrollBar* hScroll_ = nullptr;
    QScrollBar* vScroll_ = nullptr;
    bool rulersShown_ = true;
    bool vScrollShown_ = false;
    bool paletteShown_ = true;
    bool activatedOnce_ = false;
};
