// A card view that draws into an image, for the card document's tests.
#pragma once

#include <QImage>
#include <memory>
#include <vector>

#include "carddoc/card_view_services.h"
#include "frames/curr_page_mng.h"
#include "frames/draws_into_image.h"
#include "platform/dc.h"
#include "tools/stand_ins/stand_in_hosts.h"

class ImageCardView : public DrawsIntoImage<StandInCardView> {
public:
    ImageCardView(int width, int height) : DrawsIntoImage(width, height) {}
    void GetPageRectView(IntRect* r) override { *r = IntRect{0, 0, image.width(), image.height()}; }

    // Every frame of the shown page, bottom to top.
    void Paint(CurrPageMng* manager)
    {
        image.fill(Qt::white);
        manager->ResetFrameStates(1);
        manager->DrawAll(dc.get(), 1);
    }
    // Pixels darker than mid grey in the rectangle.
    int Ink(int left, int top, int right, int bottom) const
    {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += qGray(image.pixel(x, y)) < 128;
        return n;
    }
};
