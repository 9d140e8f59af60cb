#include "text/alignment.h"

#include <algorithm>

#include "foundation/int_math.h"
#include "text/text_context.h"

namespace {

constexpr uint8_t kSpace = 32;

int32_t ZoomedWidth(TextContext* ctx, int32_t width, double factor)
{
    int32_t numerator = 1;
    int32_t denominator = 1;
    ctx->Host().Zoom(&numerator, &denominator);
    if (numerator < denominator)
        return TruncToInt32(width * factor);
    return width;
}

}  // namespace

void ComputeAlignment(TextContext* ctx, const TextLineRecord& line, int16_t alignment, bool lastLine)
{
    LineJustification& j = ctx->justification;
    j = LineJustification{};
    const int32_t slotWidth = line.rect.right - line.rect.left;
    const int32_t hyphen = line.hyphen ? 4 : 0;
    switch (alignment) {
    case 2: {
        const int32_t width = ZoomedWidth(ctx, line.width, 0.96);
        j.offset = (slotWidth - width - hyphen) / 2;
        break;
    }
    case 3: {
        const int32_t width = ZoomedWidth(ctx, line.width, 0.92);
        j.offset = slotWidth - width - hyphen;
        break;
    }
    case 4:
    case 5: {
        if (alignment == 5 && lastLine)
            break;
        const int32_t width = ZoomedWidth(ctx, line.width, 0.92);
        const int32_t slack = slotWidth - width - hyphen;
        if (slack <= 0)
            break;
        if (line.spaces > 0) {
            j.perSpace = slack / line.spaces;
            j.remainder = slack % line.spaces;
            j.oneUnit = slack < line.spaces;
        } else {
            const int32_t gaps = std::max(line.count - 2, 1);
            j.perChar = slack / gaps;
            j.remainder = slack % gaps;
            j.oneUnit = slack < gaps;
        }
        break;
    }
    default: break;
    }
}

int32_t JustifyExtraAfter(const TextContext& ctx, const TextLineRecord& line, const uint8_t* text, int32_t i,
                          int32_t* spaceIndex)
{
    const LineJustification& j = ctx.justification;
    if (j.perSpace == 0 && j.perChar == 0 && j.remainder == 0)
        return 0;
    if (line.spaces > 0) {
        if (text[line.first + i] != kSpace || *spaceIndex >= line.spaces)
            return 0;
        const int32_t extra = j.perSpace + (*spaceIndex < j.remainder ? 1 : 0);
        ++*spaceIndex;
        return extra;
    }
    const int32_t gaps = std::max(line.count - 2, 1);
    if (i >= gaps)
        return 0;
    return j.perChar + (i < j.remainder ? 1 : 0);
}
