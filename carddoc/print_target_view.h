// A view for a card document that has none of its own (printing from the
// command line, the preview of a document without a window): it keeps the
// stack of drawing targets the frames draw and measure with. It has no
// window, so nothing scrolls, no ruler or bar shows and no mouse is held.
#pragma once

#include <vector>

#include "carddoc/card_view_services.h"
#include "carddoc/windowless_view.h"

class CLabelsDoc;

class PrintTargetView final : public WindowlessCardView<CardViewServices> {
public:
    Dc* GetViewDC() override { return targets_.empty() ? nullptr : targets_.back(); }
    void PushDrawTarget(Dc* dc, uint32_t) override { targets_.push_back(dc); }
    void PopDrawTarget() override
    {
        if (!targets_.empty())
            targets_.pop_back();
    }
    bool IsScreenTarget() const override { return targets_.empty(); }
    void GetClientRectLogical(IntRect* r) override { *r = IntRect{}; }
    void InvalidateRect(const IntRect&, bool) override {}
    void InvalidateRgn(const Region&, bool) override {}
    void Refresh() override {}
    void UpdateNow() override {}
    void GetPageRectView(IntRect* r) override { *r = IntRect{}; }

private:
    std::vector<Dc*> targets_;
};

// Lends the document a PrintTargetView while it lives, when the document
// has no view.
class LentPrintView {
public:
    explicit LentPrintView(CLabelsDoc* document);
    ~LentPrintView();
    LentPrintView(const LentPrintView&) = delete;
    LentPrintView& operator=(const LentPrintView&) = delete;

private:
    CLabelsDoc* document_;
    PrintTargetView view_;
};
