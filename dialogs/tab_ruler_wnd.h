// CTabRulerWnd: the ruler of the Tabs dialog. It shows the paragraph's
// margins and tab stops at one pixel per point from a 20-pixel inset, lets
// the user pick, drag, add and remove them, and tells the dialog (the
// "Tab Preview Changed Data" report) when the mouse chose or moved one.
#pragma once

#include <cstdint>

#include <QImage>
#include <QWidget>

#include "dialogs/tab_record.h"

// Markers, shared by the ruler, the kind combo and the dialog.
enum : int32_t {
    kMarkerNone = -4,
    kMarkerRightMargin = -3,
    kMarkerFirstLine = -2,
    kMarkerLeftMargin = -1,
};

// The entry the dialog's controls edit.
struct TabEntry {
    int16_t position = 0;  // points, -1 none
    uint8_t alignment = 0;
};

// How the current entry reaches the selected marker.
enum : int32_t {
    kApplyPosition = 0,
    kApplyKind = 1,
    kApplyDelete = 2,
};

// The marker pictures: 26043 right margin, 26044 first line, 26045 left
// margin, 26046 left tab, 26047 center tab, 26048 right tab; 513 and 26049
// the scroll buttons' arrows. Black on white.
QImage TabMarkerBitmap(int32_t id);
// The picture of a marker index (margins -3 to -1, tab alignments 0 to 2
// as 0, 1, 2 + 10).
int32_t TabMarkerBitmapId(int32_t marker, uint8_t alignment);

class CTabRulerWnd : public QWidget {
    Q_OBJECT

public:
    static constexpr int32_t kInset = 20;
    static constexpr int32_t kScrollStep = 10;

    explicit CTabRulerWnd(QWidget* parent = nullptr);

    // The record, the dialog's current entry and its marker word; units for
    // the scale.
    void SetData(int32_t units, uint8_t* record, TabEntry* current, int32_t* sharedMarker);

    int32_t Selected() const { return selected_; }
    void SetSelected(int32_t marker);
    // The current entry to the selected marker (kApplyPosition, kApplyKind,
    // kApplyDelete); positions are held to the marker's limits.
    void ApplyCurrent(int32_t mode);
    // The current entry as a new tab, unless a tab stands within 3 points
    // or all 16 are used.
    bool AddTab();
    // Scrolls one step toward the start (-1) or the end (+1), within limits.
    void Scroll(int32_t direction);
    int32_t ScrollOffset() const { return scroll_; }
    bool Dragging() const { return dragging_; }

    // A position held to a marker's limits.
    int16_t Clamp(int32_t marker, int32_t position) const;
    // Where a marker's picture stands, in widget coordinates.
    QRect MarkerRect(int32_t marker) const;

Q_SIGNALS:
    void PreviewChangedData();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int16_t PositionOf(int32_t marker) const;
    void SetPosition(int32_t marker, int16_t position);
    int32_t HitTest(QPoint p) const;
    int16_t PointerPosition(QPoint p) const;
    bool Outside(QPoint p) const { return p.y() < 0 || p.y() >= height(); }
    void DrawScale(class Dc* dc, const struct IntRect& client) const;

    int32_t units_ = 0;
    uint8_t* record_ = nullptr;
    TabEntry* current_ = nullptr;
    int32_t* shared_ = nullptr;
    int32_t selected_ = kMarkerNone;
    int32_t scroll_ = 0;
    int32_t grabOffset_ = 0;
    bool dragging_ = false;
};
