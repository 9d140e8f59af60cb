// PNG files through libpng. The library's transforms bring every kind of
// PNG to a row layout the packed bitmap has, so rows are read straight into
// the picture:
//   palette, 1, 4 or 8 bits      the same depth, the PNG palette as table
//   palette, 2 bits              8 bits, one index a byte
//   grey, 1 or 4 bits            the same depth with a grey table
//   grey, 2, 8 or 16 bits        8 bits with a grey ramp
//   anything with transparency,
//   and all colour pictures      24 bits, blue first, alpha composited
//                                over the picture background
// 16-bit samples keep their high byte. A caller that asks for the alpha
// gets it from a second read of a picture that has transparency.
//
// A picture larger than any picture may be is read at a fraction of its
// size, 24 bits: each square of factor x factor pixels becomes their mean,
// the factor the smallest that brings the longer side within what the
// longest sheet takes at the printer's resolution.

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "foundation/cstr.h"
#include "graphics/picture_limits.h"
#include "graphics/picture_loader.h"
#include "graphics/picture_reduction.h"

namespace {

struct ReadState {
    const uint8_t* data;
    size_t size;
    size_t pos;
    bool rowsRead;
    char message[200];
    // The buffers of a reduced read belong to the read's state, not to the
    // function reading the rows: an error in a row jumps back past that
    // function's frame, which would leave them allocated.
    std::vector<uint8_t> row;
    ReducingRows reduced;
    bool transparent = false;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t n)
{
    ReadState* state = static_cast<ReadState*>(png_get_io_ptr(png));
    if (n > state->size - state->pos)
        png_error(png, "unexpected end of file");
    std::memcpy(out, state->data + state->pos, n);
    state->pos += n;
}

void OnError(png_structp png, png_const_charp message)
{
    ReadState* state = static_cast<ReadState*>(png_get_error_ptr(png));
    StrCopyN(state->message, message, int32_t(sizeof state->message));
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Reads the picture's header from state's bytes, within the limits.
void BeginRead(png_structp png, png_infop info, ReadState& state)
{
    png_set_read_fn(png, &state, ReadBytes);
    png_set_user_limits(png, kDibImageMaxSide, kDibImageMaxSide);
    png_set_chunk_malloc_max(png, 64u * 1024 * 1024);
    // Chunks the picture makes no use of are skipped unread: some (a
    // suggested palette, a colour profile, texts) would otherwise get as
    // much memory as their length claims, whatever the file holds.
    static const png_byte kUnused[] = "iCCP\0sPLT\0tEXt\0zTXt\0iTXt\0pCAL\0sCAL\0eXIf\0hIST\0tIME";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kUnused, int(sizeof kUnused / 5));
    png_read_info(png, info);
}

struct Plan {
    int dibBits = 24;
    enum { kPalette, kGreyTable, kGreyRamp, kColour } table = kColour;
};

// Sets the transforms for the picture and says what the rows become;
// fullColour: 24 bits whatever the picture is.
Plan ChooseTransforms(png_structp png, png_infop info, bool fullColour)
{
    const int colourType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    Plan plan;
    if (fullColour) {
        // Every kind goes the colour way below.
    } else if (colourType == PNG_COLOR_TYPE_PALETTE && !transparency) {
        plan.table = Plan::kPalette;
        plan.dibBits = depth == 2 ? 8 : depth;
        if (depth == 2)
            png_set_packing(png);
        return plan;
    }
    if (!fullColour && colourType == PNG_COLOR_TYPE_GRAY && !transparency) {
        if (depth == 1 || depth == 4) {
            plan.table = Plan::kGreyTable;
            plan.dibBits = depth;
        } else {
            plan.table = Plan::kGreyRamp;
            plan.dibBits = 8;
            if (depth == 2)
                png_set_expand_gray_1_2_4_to_8(png);
            if (depth == 16)
                png_set_strip_16(png);
        }
        return plan;
    }
    // Palette and grey pictures with transparency, grey with alpha and all
    // colour pictures: full colour, composited over the background.
    png_set_expand(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if ((colourType & PNG_COLOR_MASK_ALPHA) || transparency) {
        png_color_16 background = {};
        background.red = kPictureBackgroundRed;
        background.green = kPictureBackgroundGreen;
        background.blue = kPictureBackgroundBlue;
        // Gamma 1 for file and screen: the samples are mixed as stored,
        // whatever gamma the file declares.
        png_set_gamma(png, 1.0, 1.0);
        png_set_background(png, &background, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    }
    if (depth == 16)
        png_set_strip_16(png);
    png_set_bgr(png);
    return plan;
}

// Reads the rows of a 24-bit picture into image, each factor x factor
// square of pixels as their mean.
void ReadReduced(png_structp png, ReadState& state, int32_t height, size_t rowBytes)
{
    state.row.assign(rowBytes, 0);
    for (int32_t y = 0; y < height; ++y) {
        png_read_row(png, state.row.data(), nullptr);
        state.reduced.Add(state.row.data());
    }
}

// The alpha of every pixel, rows top first (the high byte of 16-bit
// samples); empty when the picture cannot be read so.
std::vector<uint8_t> ReadAlpha(const uint8_t* data, size_t size, int32_t width, int32_t height)
{
    ReadState state{data, size, 0, false, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return {};
    }
    // The rows live in the state, which the jump back leaves alone.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return {};
    }
    BeginRead(png, info, state);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (int32_t(png_get_image_width(png, info)) != width || int32_t(png_get_image_height(png, info)) != height ||
        png_get_rowbytes(png, info) != size_t(width) * 4)
        png_error(png, "unexpected row layout");
    // The passes of an interlaced picture each need the whole picture;
    // other pictures are read a row at a time.
    const size_t rowBytes = size_t(width) * 4;
    const bool whole = passes > 1;
    state.row.assign(whole ? rowBytes * size_t(height) : rowBytes, 0);
    std::vector<uint8_t> alpha(size_t(width) * size_t(height));
    for (int pass = 0; pass < passes; ++pass) {
        for (int32_t y = 0; y < height; ++y) {
            uint8_t* row = state.row.data() + (whole ? size_t(y) * rowBytes : 0);
            png_read_row(png, row, nullptr);
            if (pass == passes - 1)
                for (int32_t x = 0; x < width; ++x)
                    alpha[size_t(y) * size_t(width) + size_t(x)] = row[4 * size_t(x) + 3];
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return alpha;
}

class PngLoader final : public PictureLoader {
public:
    int32_t type() const override { return kPicturePng; }

    bool sniff(const uint8_t* data, size_t size) const override
    {
        return size >= 8 && png_sig_cmp(data, 0, 8) == 0;
    }

    bool load(const uint8_t* data, size_t size, CDibImage& image) override
    {
        ReadState state{data, size, 0, false, {}};
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
        if (!png)
            return false;
        png_infop info = png_create_info_struct(png);
        if (!info) {
            png_destroy_read_struct(&png, nullptr, nullptr);
            return false;
        }
        // Everything the jump back must see lives in state or image.
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_read_struct(&png, &info, nullptr);
            // A file cut after its last row still holds the whole picture.
            if (state.rowsRead)
                return true;
            image.CreateBlock(0, 0, 0);
            image.SetErrorText(state.message);
            return false;
        }
        BeginRead(png, info, state);
        state.transparent = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                            png_get_valid(png, info, PNG_INFO_tRNS) != 0;

        const int32_t factor = PictureReductionFor(png_get_image_width(png, info), png_get_image_height(png, info));
        // The passes of an interlaced picture each need the whole picture.
        if (factor > 1 && png_get_interlace_type(png, info) != PNG_INTERLACE_NONE)
            png_error(png, kPictureTooLargeText);
        const Plan plan = ChooseTransforms(png, info, factor > 1);
        const int passes = png_set_interlace_handling(png);
        png_read_update_info(png, info);
        const int32_t width = int32_t(png_get_image_width(png, info));
        const int32_t height = int32_t(png_get_image_height(png, info));
        if (factor > 1) {
            if (!state.reduced.Begin(image, width, height, factor))
                png_error(png, kPictureTooLargeText);
            ReadReduced(png, state, height, png_get_rowbytes(png, info));
            state.rowsRead = true;
            png_read_end(png, nullptr);
            png_destroy_read_struct(&png, &info, nullptr);
            return true;
        }
        if (!image.CreateBlock(width, height, plan.dibBits))
            png_error(png, "picture too large");
        if (png_get_rowbytes(png, info) > image.GetStride())
            png_error(png, "unexpected row layout");

        if (plan.table == Plan::kPalette) {
            png_colorp palette = nullptr;
            int entries = 0;
            if (png_get_PLTE(png, info, &palette, &entries) && palette) {
                for (int i = 0; i < entries && i < int(image.GetColourCount()); ++i) {
                    uint8_t* e = image.Palette() + 4 * i;
                    e[0] = palette[i].blue;
                    e[1] = palette[i].green;
                    e[2] = palette[i].red;
                }
            }
        } else if (plan.table == Plan::kGreyTable) {
            const uint32_t n = image.GetColourCount();
            for (uint32_t i = 0; i < n; ++i) {
                uint8_t* e = image.Palette() + 4 * i;
                e[0] = e[1] = e[2] = uint8_t(i * 255 / (n - 1));
            }
        } else if (plan.table == Plan::kGreyRamp) {
            image.SetGreyRamp();
        }

        // Interlaced pictures are read pass by pass into the same rows, so
        // every pass finds what the earlier ones left there.
        for (int pass = 0; pass < passes; ++pass) {
            for (int32_t y = 0; y < height; ++y)
                png_read_row(png, image.RowFromTop(y), nullptr);
        }
        state.rowsRead = true;
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        if (image.AlphaWanted() && state.transparent)
            image.SetAlpha(ReadAlpha(data, size, width, height));
        return true;
    }
};

}  // namespace

std::unique_ptr<PictureLoader> MakePngLoader()
{
    return std::make_unique<PngLoader>();
}
