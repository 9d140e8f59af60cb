// A card window for the view's tests: the rulers, corner and zoom and page
// bar in their bands around a card view, scroll bars kept as plain values,
// and the tools bar's checked kind recorded.
#pragma once

#include <QWidget>
#include <vector>

#include "carddoc/card_frame_services.h"
#include "carddoc/labels_view.h"
#include "carddoc/ruler.h"
#include "carddoc/ruler_corner.h"
#include "carddoc/zoom_page_bar.h"

class CardWindowStandIn : public QWidget, public CardFrameServices {
public:
    static constexpr int kLeft = 28;
    static constexpr int kTop = 22;
    static constexpr int kBar = 20;

    CardWindowStandIn(int width, int height)
    {
        resize(width, height);
        LogFont font;
        font.height = -9;
        horizontal = new CRuler(CRuler::kHorizontal, this, RulerSettings{}, font);
        vertical = new CRuler(CRuler::kVertical, this, RulerSettings{}, font);
        corner = new CRulerCorner(this, font);
        bar = new CZoomPageBar(this);
        bar->InitControls();
        horizontal->setGeometry(kLeft, 0, width - kLeft, kTop);
        vertical->setGeometry(0, kTop, kLeft, height - kTop - kBar);
        corner->setGeometry(0, 0, kLeft, kTop);
        bar->setGeometry(0, height - kBar, width, kBar);
        view = new CLabelsView(this);
        view->setGeometry(kLeft, kTop, width - kLeft, height - kTop - kBar);
    }

    void SetScrollBars(const ScrollInfo* h, const ScrollInfo* v) override
    {
        if (h)
            bars[0] = *h;
        if (v)
            bars[1] = *v;
    }
    void GetScrollBars(ScrollInfo* h, ScrollInfo* v) const override
    {
        if (h)
            *h = bars[0];
        if (v)
            *v = bars[1];
    }
    CRuler* HorizontalRuler() const override { return horizontal; }
    CRuler* VerticalRuler() const override { return vertical; }
    CRulerCorner* RulerCorner() const override { return corner; }
    CZoomPageBar* ZoomPageBar() const override { return bar; }
    void UpdateToolButtons(int16_t kind) override { toolButtons.push_back(kind); }
    // Without menus or a command route nothing is carried out.
    bool RouteCommand(uint32_t id) override
    {
        routed.push_back(id);
        return false;
    }
    void UpdateMenuStates(QMenu*) override {}

    std::vector<uint32_t> routed;
    CRuler* horizontal = nullptr;
    CRuler* vertical = nullptr;
    CRulerCorner* corner = nullptr;
    CZoomPageBar* bar = nullptr;
    CLabelsView* view = nullptr;
    ScrollInfo bars[2];
    std::vector<int16_t> toolButtons;
};
