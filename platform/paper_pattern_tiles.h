// The brushes of tiled paints as they land on paper, for a vector page.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include <QBrush>
#include <QImage>

#include "platform/dc_device.h"

// A tiled paint as a brush of its tile as the operation leaves it on white
// paper (see painter_device.cpp); no brush for another paint. A sheet of
// cards fills with the same few patterns on every card, each handed over as
// a new tile of the same pixels: those made lately are given again as the
// same picture, which is coloured once and which a PDF page stores once.
class PaperPatternTiles {
public:
    QBrush brushOf(const DevicePaint& paint, int32_t rop2);

private:
    struct Made {
        QImage tile;  // as the paint had it
        int32_t rop2 = 0;
        QImage onPaper;
    };
    std::array<Made, 32> made_;
    size_t next_ = 0;
};
