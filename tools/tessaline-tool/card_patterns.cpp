#include "card_builder.h"
#include "card_sample.h"
#include "carddoc/labels_doc.h"
#include "frames/frame_obj.h"

bool BuildPatternsCard(CLabelsDoc& doc)
{
    const IntRect page = doc.PageGeometry().slots[0];
    // Squares of 32 points, seven to a row: on paper each holds a few
    // pattern tiles however far the print blows them up.
    for (int i = 0; i < kPatternsCardFills; ++i) {
        const int32_t x = 4 + (i % 7) * 35, y = 4 + (i / 7) * 35;
        FrameObj* f = CardShape(doc, kFrameRect, OnCard(page, x, y, x + 32, y + 32), kCardBlack, kCardBlack);
        if (!f)
            return false;
        f->SetColour(kCardWhite, 2);
        f->SetPattern(uint8_t(kPatternsCardFirstFill + i), 1);
    }
    return true;
}
