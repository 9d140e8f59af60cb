// The picture frame: an image frame whose picture file is named by a
// database field of the card being shown. It never keeps its picture in the
// document.
#pragma once

#include "frames/frame_obj_image.h"

class FrameObjPicture : public FrameObjImage {
public:
    FrameObjPicture()
    {
        block_.barcodeOption = 0;
        block_.attr.dataField = 16;
        a_.keepInDocument = 0;
    }
    int16_t GetType() const override { return kFramePicture; }

protected:
    uint8_t placeholderShown_ = 1;
};
