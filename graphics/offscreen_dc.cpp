#include "graphics/offscreen_dc.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "graphics/dib_format.h"
#include "graphics/emf_recorder.h"
#include "platform/dc.h"

namespace {

int64_t gSectionLimit = -1;

// The screen reports no palette (DibQueryScreenPalette), so sections take
// the full colour depth.
constexpr int32_t kSectionBits = 24;

uint64_t SectionBytes(int64_t width, int64_t height) { return DibRowStride(uint64_t(width), kSectionBits) * uint64_t(height); }

// Pixels per inch across or down from a device's size in pixels and
// millimetres; its logical resolution when it has no size (a measuring
// context).
double PixelsPerInch(const Dc& dc, int32_t resIndex, int32_t sizeIndex, int32_t logIndex)
{
    const int32_t res = dc.getDeviceCaps(resIndex);
    const int32_t mm = dc.getDeviceCaps(sizeIndex);
    if (res > 0 && mm > 0)
        return res / (mm / 25.4);
    const int32_t dpi = dc.getDeviceCaps(logIndex);
    return dpi > 0 ? dpi : 96;
}

// Where the enhanced-metafile writer plugs in.
std::unique_ptr<MetafileRecorder> StartMetafileRecorder(const Dc& reference, const IntRect& frame,
                                                        const char* description, int32_t pixelsPerInch)
{
    return MakeEmfRecorder(&reference, frame, description, pixelsPerInch);
}

void CopyDrawingState(const Dc& from, Dc* to)
{
    to->setTextAlign(from.textAlign());
    to->setBkColor(from.bkColor());
    to->setTextColor(from.textColor());
}

}  // namespace

void OffscreenInjectSectionLimit(int64_t bytes) { gSectionLimit = bytes; }

IntRect MetafileFrameOfPixels(const Dc& reference, const IntRect& pixels)
{
    const double across = PixelsPerInch(reference, HORZRES, HORZSIZE, LOGPIXELSX);
    const double down = PixelsPerInch(reference, VERTRES, VERTSIZE, LOGPIXELSY);
    return IntRect{TruncToInt32(pixels.left * 2540.0 / across), TruncToInt32(pixels.top * 2540.0 / down),
                   TruncToInt32(pixels.right * 2540.0 / across), TruncToInt32(pixels.bottom * 2540.0 / down)};
}

OffscreenDC::OffscreenDC(Dc* target) : target_(target) {}

OffscreenDC::~OffscreenDC() { release(); }

void OffscreenDC::release()
{
    memory_.reset();
    recorder_.reset();
    section_ = QImage();
    DibHandleFree(&dib_);
    state_ = kIdle;
}

bool OffscreenDC::makeSection(int32_t width, int32_t height)
{
    if (gSectionLimit >= 0 && SectionBytes(width, height) > uint64_t(gSectionLimit))
        return false;
    if (DibHandleCreate(dib_, width, height, kSectionBits) != 0)
        return false;
    section_ = QImage(width, height, QImage::Format_RGB32);
    if (section_.isNull()) {
        DibHandleClear(&dib_);
        return false;
    }
    return true;
}

int32_t OffscreenDC::Begin(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorRef background,
                           IntRect* out, bool shrink)
{
    if (!target_ || state_ != kIdle)
        return 1;
    const int64_t fullWidth = int64_t(right) - left + 1;
    const int64_t fullHeight = int64_t(bottom) - top + 1;
    if (fullWidth < 1 || fullHeight < 1 || fullWidth > INT32_MAX || fullHeight > INT32_MAX)
        return 1;
    dib_ = DibHandleNew();
    if (!dib_)
        return 1;

    int32_t w = int32_t(fullWidth), h = int32_t(fullHeight);
    int32_t triedW = 0, triedH = 0;
    bool made = false;
    for (int round = 0;; ++round) {
        if (shrink) {
            const uint64_t size = SectionBytes(w, h);
            if (size > kOffscreenShrinkBytes) {
                const double f = std::sqrt(double(size / kOffscreenShrinkBytes));
                w = std::max(1, TruncToInt32(w / f));
                h = std::max(1, TruncToInt32(h / f));
            } else if (round > 0) {
                w = std::max(1, w / 2);
                h = std::max(1, h / 2);
            }
            // Between 5 and 20 MB the factor above is 1 and nothing
            // shrinks; halving then makes every round ask for less, so
            // the loop ends at 1 x 1 at the latest.
            if (round > 0 && SectionBytes(w, h) >= SectionBytes(triedW, triedH)) {
                if (triedW == 1 && triedH == 1)
                    break;
                w = std::max(1, triedW / 2);
                h = std::max(1, triedH / 2);
            }
        }
        if (makeSection(w, h)) {
            made = true;
            break;
        }
        if (!shrink)
            break;
        triedW = w;
        triedH = h;
    }
    if (!made) {
        release();
        return 1;
    }

    const int32_t dpiX = target_->getDeviceCaps(LOGPIXELSX), dpiY = target_->getDeviceCaps(LOGPIXELSY);
    if (dpiX > 0 && dpiY > 0) {
        section_.setDotsPerMeterX(std::lround(dpiX / 0.0254));
        section_.setDotsPerMeterY(std::lround(dpiY / 0.0254));
    }
    memory_ = Dc::ForImage(&section_);
    if (!memory_) {
        release();
        return 1;
    }
    CopyDrawingState(*target_, memory_.get());
    memory_->setViewportOrg(-left, -top);
    rect_ = IntRect{left, top, right, bottom};
    if (out)
        *out = IntRect{left, top, Add32(left, w), Add32(top, h)};
    memory_->fillRect(IntRect{left, top, Add32(left, w + 1), Add32(top, h + 1)}, Brush::Solid(background));
    state_ = kBitmap;
    return 0;
}

int32_t OffscreenDC::End(DibHandle out)
{
    if (state_ != kBitmap) {
        if (out)
            DibHandleClear(&out);
        return 1;
    }
    if (out) {
        // The section's rows go in bottom-up, as blue, green, red.
        DibRecord* r = DibHandleBlockSlot(dib_);
        const int32_t w = section_.width(), h = section_.height();
        const uint64_t stride = DibRowStride(uint64_t(w), kSectionBits);
        for (int32_t y = 0; y < h; ++y) {
            const auto* src = reinterpret_cast<const uint32_t*>(section_.constScanLine(y));
            uint8_t* dst = r->bits + stride * uint64_t(h - 1 - y);
            for (int32_t x = 0; x < w; ++x) {
                const uint32_t px = src[x];
                dst[3 * x] = uint8_t(px);
                dst[3 * x + 1] = uint8_t(px >> 8);
                dst[3 * x + 2] = uint8_t(px >> 16);
            }
        }
        DibHandleClear(&out);
        DibHandleMove(out, &dib_, true);
    }
    release();
    return 0;
}

int32_t OffscreenDC::BeginMetafile(int32_t left, int32_t top, int32_t right, int32_t bottom, const char* description,
                                   int32_t pixelsPerInch)
{
    if (!target_ || state_ != kIdle)
        return 1;
    const IntRect pixels{left, top, right, bottom};
    const auto frameOf = [pixelsPerInch](int32_t v) { return TruncToInt32(v * 2540.0 / pixelsPerInch); };
    const IntRect frame = pixelsPerInch > 0
                              ? IntRect{frameOf(left), frameOf(top), frameOf(right), frameOf(bottom)}
                              : MetafileFrameOfPixels(*target_, pixels);
    recorder_ = StartMetafileRecorder(*target_, frame, description, pixelsPerInch);
    if (!recorder_)
        return 1;
    const int32_t dpi = target_->getDeviceCaps(LOGPIXELSX);
    memory_ = Dc::ForRecording(recorder_.get(), dpi,
                               IntSize{target_->getDeviceCaps(HORZRES), target_->getDeviceCaps(VERTRES)});
    if (!memory_) {
        release();
        return 1;
    }
    recorder_->attach(memory_.get());
    CopyDrawingState(*target_, memory_.get());
    rect_ = IntRect{left, top, right, bottom};
    state_ = kMetafile;
    return 0;
}

int32_t OffscreenDC::EndMetafile(Handle bits)
{
    if (state_ != kMetafile)
        return 1;
    memory_.reset();
    const std::vector<uint8_t> bytes = recorder_->finish();
    release();
    if (bytes.empty() || bytes.size() > INT32_MAX || !bits)
        return 1;
    if (HandleResize(bits, int32_t(bytes.size())) != 0)
        return 1;
    std::memcpy(HandleData(bits), bytes.data(), bytes.size());
    return 0;
}

Dc* OffscreenDC::GetSafeHdc() const { return state_ != kIdle ? memory_.get() : nullptr; }
