// What the card document fuzz targets share besides fuzz_support.h: a
// start with a host that asks nobody, and a view that draws into an image.
#pragma once

#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "carddoc/card_view_services.h"
#include "foundation/alert_sink.h"
#include "fuzz_support.h"
#include "offscreen_gui.h"
#include "platform/dc.h"
#include "tools/stand_ins/stand_in_hosts.h"

class ImageView : public StandInCardView {
public:
    ImageView() : image_(320, 240, QImage::Format_RGB32), dc_(Dc::ForImage(&image_)) {}
    Dc* GetViewDC() override { return targets_.empty() ? dc_.get() : targets_.back(); }
    void PushDrawTarget(Dc* dc, uint32_t) override { targets_.push_back(dc); }
    void PopDrawTarget() override { targets_.pop_back(); }
    bool IsScreenTarget() const override { return targets_.empty(); }
    void GetClientRectLogical(IntRect* r) override { *r = IntRect{0, 0, 320, 240}; }
    void InvalidateRect(const IntRect&, bool) override {}
    void InvalidateRgn(const Region&, bool) override {}
    void Refresh() override {}
    void UpdateNow() override {}
    void GetPageRectView(IntRect* r) override { *r = IntRect{0, 0, 320, 240}; }

private:
    QImage image_;
    std::unique_ptr<Dc> dc_;
    std::vector<Dc*> targets_;
};

// Called from LLVMFuzzerInitialize, with its arguments: documents draw,
// and nobody answers their questions.
inline void StartCardFuzzing(int* argc, char*** argv)
{
    StartOffscreenGui(argc, argv);
    static StandInCardDocumentHost host;
    SetCardDocumentHost(&host);
}
