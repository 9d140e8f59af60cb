// CZoomPageBar: the strip along the bottom of a card window: the zoom
// button with the zoom in percent, the previous and next page buttons
// around the page indicator, and the window's horizontal scroll bar, which
// lives here rather than in the frame. The frame writes the texts and
// reads and writes the scroll bar; the bar hands its commands on to the
// frame's command route.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <QWidget>

class QLabel;
class QMenu;
class QScrollBar;
class QToolButton;

// The zoom box's text for a zoom: in percent form the numerator is the
// percent (or numerator x 100 / denominator below 10); otherwise the
// percent numerator x 100 / denominator, or "Fit" for a denominator of
// 100 (a denominator of 0 counts as 1).
std::string ZoomBoxText(int16_t numerator, int16_t denominator, bool percentForm);

class CZoomPageBar : public QWidget {
public:
    // Control ids of the bar.
    enum : int32_t {
        kBarId = 103,
        kScrollId = 1376,
        kZoomButtonId = 1377,
        kZoomTextId = 1378,
        kPreviousPageId = 1379,
        kNextPageId = 1380,
        kPageTextId = 1381,
        kGripId = 1383,
    };
    // The View Size commands of the zoom menu, in order.
    static constexpr uint32_t kZoomCommandCount = 7;

    explicit CZoomPageBar(QWidget* parent);

    // Sets the controls up: both page buttons disabled, the zoom menu
    // built.
    void InitControls();

    // Where the bar's commands go (the zoom menu's, the page buttons'),
    // and how it asks whether a zoom item is to be checked.
    void SetCommandSink(std::function<void(uint32_t)> sink) { sink_ = std::move(sink); }
    void SetCheckQuery(std::function<bool(uint32_t)> query) { checked_ = std::move(query); }

    void SetZoomText(const QString& text);
    void SetPageText(const QString& text);
    QString ZoomText() const;
    QString PageText() const;
    // Touches a button only when its state differs.
    void EnablePageButtons(bool previous, bool next);
    bool PreviousEnabled() const;
    bool NextEnabled() const;

    QScrollBar* HorizontalScrollBar() const { return scroll_; }
    QToolButton* ZoomButton() const { return zoom_; }
    QMenu* ZoomMenu() const { return menu_; }
    QWidget* Grip() const { return grip_; }

    // Opens the zoom menu below the zoom button's bottom-right corner.
    void OnZoomButton();

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Dialog units of the bar's template to pixels.
    int32_t DuX(int32_t x) const;
    int32_t DuY(int32_t y) const;

    QToolButton* zoom_ = nullptr;
    QLabel* zoomText_ = nullptr;
    QToolButton* previous_ = nullptr;
    QToolButton* next_ = nullptr;
    QLabel* pageText_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    // Where the scroll bar starts, after the texts and buttons.
    int32_t scrollLeft_ = 0;
    QWidget* grip_ = nullptr;
    QMenu* menu_ = nullptr;
    std::function<void(uint32_t)> sink_;
    std::function<bool(uint32_t)> checked_;
};
