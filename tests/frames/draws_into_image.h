// A view of the given kind that draws into an image of its own, for tests
// that look at what was drawn: a target pushed for drawing off the screen
// stands over the image until it is popped; nothing needs repainting.
#pragma once

#include <QImage>
#include <memory>
#include <vector>

#include "foundation/int_geometry.h"
#include "platform/dc.h"

template <class View>
class DrawsIntoImage : public View {
public:
    DrawsIntoImage(int width, int height) : image(width, height, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        dc = Dc::ForImage(&image);
    }
    Dc* GetViewDC() override { return targets.empty() ? dc.get() : targets.back(); }
    void PushDrawTarget(Dc* target, uint32_t) override { targets.push_back(target); }
    void PopDrawTarget() override { targets.pop_back(); }
    bool IsScreenTarget() const override { return targets.empty(); }
    void GetClientRectLogical(IntRect* r) override { *r = IntRect{0, 0, image.width(), image.height()}; }
    void InvalidateRect(const IntRect&, bool) override {}
    void InvalidateRgn(const Region&, bool) override {}
    void Refresh() override {}
    void UpdateNow() override {}

    QImage image;
    std::unique_ptr<Dc> dc;
    std::vector<Dc*> targets;
};
