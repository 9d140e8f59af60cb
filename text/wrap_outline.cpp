#include "text/wrap_outline.h"

#include <algorithm>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "frames/frame_block_format.h"
#include "frames/frame_obj_text.h"
#include "text/layout_context.h"
#include "text/text_host.h"

void BuildTextWrapOutline(FrameObjText* frame, TextHost* host)
{
    if (!frame)
        return;
    std::vector<IntPoint> points(kWrapPointLimit);
    int32_t count = 0;
    host->CollectWrapOutlines(frame, points.data(), &count, kWrapPointLimit);
    count = std::clamp(count, 0, kWrapPointLimit);
    if (count == 0) {
        frame->SetWrapOutline(nullptr);
        return;
    }
    Handle h = HandleNew(uint32_t(kWrapOutlineHeaderSize + kWrapPointSize * size_t(count)));
    if (!h) {
        frame->SetWrapOutline(nullptr);
        return;
    }
    uint8_t* p = HandleData(h);
    PutU16LE(p, uint16_t(count));
    for (int32_t i = 0; i < count; ++i) {
        PutI32LE(p + kWrapOutlineHeaderSize + kWrapPointSize * size_t(i), points[size_t(i)].x);
        PutI32LE(p + kWrapOutlineHeaderSize + kWrapPointSize * size_t(i) + 4, points[size_t(i)].y);
    }
    frame->SetWrapOutline(h);
}

void LoadWrapOutline(const FrameObj* frame, LayoutContext* ctx)
{
    ctx->wrapCount = 0;
    Handle h = frame ? frame->WrapOutline() : nullptr;
    const uint32_t size = HandleGetSize(h);
    if (!h || size < kWrapOutlineHeaderSize)
        return;
    const uint8_t* p = HandleData(h);
    // Only the points the outline really holds count.
    const uint32_t held = (size - kWrapOutlineHeaderSize) / kWrapPointSize;
    const int32_t count = int32_t(std::min<uint32_t>({GetU16LE(p), held, uint32_t(kWrapPointLimit)}));
    for (int32_t i = 0; i < count; ++i) {
        ctx->wrapPoints[size_t(i)].x = GetI32LE(p + kWrapOutlineHeaderSize + kWrapPointSize * size_t(i));
        ctx->wrapPoints[size_t(i)].y = GetI32LE(p + kWrapOutlineHeaderSize + kWrapPointSize * size_t(i) + 4);
    }
    ctx->wrapCount = count;
}
