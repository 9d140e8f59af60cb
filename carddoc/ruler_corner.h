// CRulerCorner: the small square where the two rulers meet. A click sets
// the rulers' zero where the pointer is next let go in the view; a
// Control-click cycles the rulers' unit. While Control is held over it, it
// names the unit; otherwise it shows a cross.
#pragma once

#include <cstdint>

#include "carddoc/surface_widget.h"
#include "platform/gdi_types.h"

class CLabelsDoc;
class CLabelsView;
class CRuler;

class CRulerCorner : public SurfaceWidget {
public:
    enum : int32_t {
        kShowCross = 1,
        kShowUnit = 2,
    };

    CRulerCorner(QWidget* parent, const LogFont& font);

    // Set by the view at its first update.
    void SetDocument(CLabelsDoc* document) { document_ = document; }
    void SetView(CLabelsView* view) { view_ = view; }
    void SetRulers(CRuler* horizontal, CRuler* vertical)
    {
        horizontal_ = horizontal;
        vertical_ = vertical;
    }
    int32_t Mode() const { return mode_; }
    void Redraw();

protected:
    void SurfaceResized() override { Redraw(); }
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CLabelsDoc* document_ = nullptr;
    CLabelsView* view_ = nullptr;
    CRuler* horizontal_ = nullptr;
    CRuler* vertical_ = nullptr;
    LogFont font_;
    int32_t mode_ = kShowCross;
};
