#include "graphics/picture_writers.h"

#include "graphics/imaging_formats.h"

PictureWriter OwnPictureWriter(int32_t format)
{
    switch (format) {
    case kImagingGif:
        return WriteGifPicture;
    case kImagingTga:
        return WriteTgaPicture;
    case kImagingPcx:
        return WritePcxPicture;
    case kImagingSunRaster:
        return WriteSunRasterPicture;
    case kImagingPostScript:
        return WriteEpsPicture;
    case kImagingMacPict:
        return WritePictPicture;
    case kImagingMsPaint:
        return WriteMsPaintPicture;
    case kImagingCals:
        return WriteCalsPicture;
    case kImagingGemImage:
        return WriteGemImagePicture;
    case kImagingIoca:
        return WriteIocaPicture;
    case kImagingWordPerfect:
        return WriteWpgPicture;
    default:
        return nullptr;
    }
}
