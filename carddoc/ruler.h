// CRuler: the ruler above (horizontal) or left of (vertical) the card view.
// It shows the page in the current unit and zoom, scrolled with the view,
// with the pointer's place marked; a press on it drags a new guide line
// into the page. The tick-and-number painter DrawScale also serves the tab
// ruler of the text dialogs, which fills the same scale record.
#pragma once

#include <cstdint>

#include "carddoc/surface_widget.h"
#include "foundation/int_geometry.h"
#include "platform/gdi_types.h"

class CLabelsView;
class Dc;

// The 12-byte ruler settings record: the zero's place in view units at
// 100% zoom, measured from the card's top left corner (so that 0 is the
// card's corner wherever the pasteboard puts it), the unit (0 points, 1 inches, 2 centimetres, 3 picas) and the
// zoom in percent.
struct RulerSettings {
    double origin = 0;
    int16_t unit = 0;
    int16_t zoom = 100;
};
constexpr size_t kRulerSettingsSize = 12;
void EncodeRulerSettings(const RulerSettings& settings, uint8_t* out);
void DecodeRulerSettings(const uint8_t* in, RulerSettings* settings);

// What DrawScale draws: ticks and numbers from `from` to `to` along one
// edge of rect (logical units of dc), the grid anchored at origin.
struct ScaleRecord {
    Dc* dc = nullptr;
    IntRect rect;
    uint8_t orientation = 1;  // 1 horizontal, 2 vertical
    int16_t unit = 0;
    int16_t zoom = 100;
    int32_t origin = 0;  // zoomed, logical
    double from = 0;
    double to = 0;
};

class CRuler : public SurfaceWidget {
public:
    enum : int32_t {
        kHorizontal = 1,
        kVertical = 2,
    };
    // SetSettings flags.
    enum : uint32_t {
        kSetOrigin = 2,
        kSetUnit = 4,
        kSetZoom = 8,
    };

    CRuler(int32_t orientation, QWidget* parent, const RulerSettings& settings, const LogFont& font);

    int32_t Orientation() const { return orientation_; }
    // The view the ruler serves: its presses drag the view's guides. Null
    // when the window has no view.
    void SetView(CLabelsView* view) { view_ = view; }
    // The screen point of the view's client (0, 0): the ruler's offset
    // from it on its axis.
    void SetViewOrigin(const QPoint& screen);
    int32_t ViewOffset() const { return viewOffset_; }
    // The view's scroll position on the ruler's axis.
    void SetScrollPos(int32_t position);
    int32_t ScrollPos() const { return orientation_ == kHorizontal ? scrollX_ : scrollY_; }
    // Flag 8 takes the zoom; flag 2 the origin, given as a screen
    // coordinate on the ruler's axis; flag 4 the unit.
    void SetSettings(uint32_t flags, const RulerSettings& settings, bool repaint);
    // The whole record as the document keeps it.
    void SetSettingsRecord(const RulerSettings& settings);
    void GetSettings(RulerSettings* out) const { *out = settings_; }
    // Where the zero stands in the view's units at 100% zoom: the card's
    // corner on the ruler's axis plus the origin.
    double Zero() const;
    // Screen coordinates on the ruler's axis; -1 shows no mark.
    void SetMouseMarks(int32_t first, int32_t second);
    int32_t Mark(int index) const { return marks_[index]; }

    static void DrawScale(const ScaleRecord& record);
    static void DrawNumber(const ScaleRecord& record, double position, double pointsPerUnit);

    // Paints the ruler again now.
    void Redraw();

protected:
    void SurfaceResized() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void PrepareDC(Dc* dc) const;
    void DrawRuler();
    void DrawMark(Dc* dc, int32_t position);
    // A screen coordinate on the ruler's axis in client units.
    int32_t ToClient(int32_t screen) const;
    // The card's corner on the ruler's axis (view units at 100% zoom).
    double CardCorner() const;

    int32_t orientation_;
    RulerSettings settings_;
    int32_t scrollX_ = 0;
    int32_t scrollY_ = 0;
    int32_t viewOffset_ = 0;
    IntRect kept_;
    int32_t marks_[2] = {-1, -1};
    LogFont font_;
    CLabelsView* view_ = nullptr;
};
