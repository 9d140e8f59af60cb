// JPEG files through libjpeg. Grey pictures become 8 bits with a grey
// ramp, everything else 24 bits: colour pictures are asked for as RGB and
// turned to blue first; CMYK and YCCK pictures come as CMYK and are turned
// to RGB here.

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <vector>

#include "graphics/picture_limits.h"
#include "graphics/picture_loader.h"
#include "graphics/picture_orientation.h"

namespace {

// More scans than any encoder writes; crafted progressive files with
// thousands of tiny scans would otherwise take minutes.
constexpr int kMaxScans = 1000;

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnErrorExit(j_common_ptr cinfo)
{
    ErrorManager* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings (a file cut short among them) are not shown: the library goes
// on with what it has.
void OnMessage(j_common_ptr) {}

void OnProgress(j_common_ptr cinfo)
{
    j_decompress_ptr d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->is_decompressor && d->input_scan_number > kMaxScans)
        ERREXIT(cinfo, JERR_NOT_COMPILED);
}

// One CMYK pixel to red, green, blue. Files with the Adobe marker store
// the inks inverted, as Photoshop writes them.
void CmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, uint32_t width, bool inverted)
{
    for (uint32_t x = 0; x < width; ++x) {
        uint32_t c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
        if (inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        const uint32_t nk = 255 - k;
        auto channel = [nk](uint32_t ink) {
            const uint32_t t = ink * nk + 128;
            const int32_t v = int32_t(nk) - int32_t(((t >> 8) + t) >> 8);
            return uint8_t(v < 0 ? 0 : v);
        };
        bgr[3 * x + 0] = channel(y);
        bgr[3 * x + 1] = channel(m);
        bgr[3 * x + 2] = channel(c);
    }
}

class JpegLoader final : public PictureLoader {
public:
    int32_t type() const override { return kPictureJpeg; }

    bool sniff(const uint8_t* data, size_t size) const override
    {
        return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
    }

    bool load(const uint8_t* data, size_t size, CDibImage& image) override
    {
        if (size == 0 || size > ULONG_MAX)
            return false;
        jpeg_decompress_struct cinfo;
        ErrorManager errors;
        jpeg_progress_mgr progress;
        cinfo.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = OnErrorExit;
        errors.pub.output_message = OnMessage;
        errors.message[0] = 0;
        // The CMYK row buffer is allocated by the library's own pool, so
        // the jump back leaves nothing to free but the decompressor.
        if (setjmp(errors.jump)) {
            jpeg_destroy_decompress(&cinfo);
            image.CreateBlock(0, 0, 0);
            image.SetErrorText(errors.message);
            return false;
        }
        jpeg_create_decompress(&cinfo);
        progress.progress_monitor = OnProgress;
        cinfo.progress = &progress;
        jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
        jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
        jpeg_read_header(&cinfo, TRUE);
        int32_t orientation = 1;
        for (jpeg_saved_marker_ptr m = cinfo.marker_list; m && orientation == 1; m = m->next) {
            if (m->marker == JPEG_APP0 + 1)
                orientation = ExifOrientation(m->data, m->data_length);
        }
        const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
        const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
        // A progressive file keeps every coefficient of the whole picture
        // from the start of decoding, so a picture that cannot become a
        // block is refused before the library reserves that much.
        const int bits = grey ? 8 : 24;
        const auto fits = [&](uint32_t denominator) {
            const uint32_t w = (cinfo.image_width + denominator - 1) / denominator;
            const uint32_t h = (cinfo.image_height + denominator - 1) / denominator;
            return w <= uint32_t(kDibImageMaxSide) && h <= uint32_t(kDibImageMaxSide) &&
                   PicturePixelsAllowed(w, h) && CDibImage::BlockFits(int32_t(w), int32_t(h), bits);
        };
        if (!fits(1)) {
            // A picture larger than any picture may be is decoded at a
            // fraction of its size (the library's own scaling), about what
            // the longest sheet needs at the printer's resolution; a
            // progressive one would hold all of it in the meantime.
            uint32_t denominator = 0;
            for (uint32_t d : {2u, 4u, 8u}) {
                const uint32_t longer = (std::max(cinfo.image_width, cinfo.image_height) + d - 1) / d;
                if (fits(d) && (longer <= uint32_t(kPictureLongestPageSide) || d == 8)) {
                    denominator = d;
                    break;
                }
            }
            if (denominator == 0 || cinfo.progressive_mode)
                ERREXIT1(&cinfo, JERR_IMAGE_TOO_BIG, kDibImageMaxSide);
            cinfo.scale_num = 1;
            cinfo.scale_denom = denominator;
        }

        cinfo.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
        jpeg_start_decompress(&cinfo);
        const uint32_t width = cinfo.output_width;
        const int components = cinfo.output_components;
        if (components != (cmyk ? 4 : grey ? 1 : 3))
            ERREXIT(&cinfo, JERR_BAD_J_COLORSPACE);
        if (!image.CreateBlock(int32_t(width), int32_t(cinfo.output_height), grey ? 8 : 24))
            ERREXIT1(&cinfo, JERR_IMAGE_TOO_BIG, kDibImageMaxSide);
        if (grey)
            image.SetGreyRamp();

        JSAMPARRAY cmykRow = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                               width * 4, 1)
                                  : nullptr;
        const bool inverted = cinfo.saw_Adobe_marker;
        while (cinfo.output_scanline < cinfo.output_height) {
            uint8_t* row = image.RowFromTop(int32_t(cinfo.output_scanline));
            JSAMPROW target = cmyk ? cmykRow[0] : row;
            if (jpeg_read_scanlines(&cinfo, &target, 1) != 1)
                break;
            if (cmyk)
                CmykRowToBgr(cmykRow[0], row, width, inverted);
            else if (!grey)
                SwapRedBlue(row, width * 3);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        // Shown, printed and exported upright from here on. Should memory
        // run out for the turned copy, the picture stays as stored rather
        // than being lost.
        TurnPictureUpright(image, orientation);
        return true;
    }
};

}  // namespace

std::unique_ptr<PictureLoader> MakeJpegLoader()
{
    return std::make_unique<JpegLoader>();
}
