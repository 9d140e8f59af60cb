// The card page as a picture: File > Export As Picture, and the rendering
// of the page into a bitmap or a metafile that it uses.
#pragma once

#include <cstdint>

// What CLabelsDoc::RenderPicture makes.
enum : int32_t {
    kRenderBitmap = 0,      // a DibHandle at 24 bits
    kRenderMonochrome = 1,  // a DibHandle at 1 bit
    kRenderMetafile = 2,    // the bits of an enhanced metafile
};

// The size of the preview the export dialog shows, in pixels.
constexpr int32_t kExportPreviewSide = 200;
