#include "graphics/brush_state.h"

#include "graphics/fill_patterns.h"
#include "graphics/pattern_bitmaps.h"
#include "platform/dc.h"

BrushState::BrushState(Dc* dc) : dc_(dc)
{
    if (!dc_)
        return;
    saved_ = dc_->brush();
    savedText_ = dc_->textColor();
    savedBackground_ = dc_->bkColor();
    dc_->selectBrush(saved_);
}

BrushState::~BrushState()
{
    if (!dc_)
        return;
    dc_->selectBrush(saved_);
    dc_->setTextColor(savedText_);
    dc_->setBkColor(savedBackground_);
}

int32_t BrushState::Set(ColorRef text, ColorRef background, int32_t n, uint32_t flags)
{
    if (!dc_)
        return 1;
    if (flags & kSetText)
        dc_->setTextColor(text);
    if (flags & kSetBackground)
        dc_->setBkColor(background);
    std::optional<Brush> brush;
    if (flags & kHollow)
        brush = Brush::Hollow();
    else if (flags & (kSparsePattern | kCheckerboardPattern)) {
        // Without its bitmap the brush stays as it was.
        const int32_t id = (flags & kSparsePattern) ? kPatternBitmapSparse : kPatternBitmapCheckerboard;
        if (const MonoPattern* pattern = PatternBitmapResource(id))
            brush = Brush::Pattern(*pattern);
    } else
        brush = MakePatternBrush(n);
    if (brush)
        dc_->selectBrush(*brush);
    return 1;
}

std::optional<Brush> BrushState::MakePatternBrush(int32_t n) const
{
    if (!dc_)
        return std::nullopt;
    return MakeFillPatternBrush(n, dc_->textColor(), dc_->bkColor());
}

int32_t BrushState::SetPattern(int32_t n)
{
    const std::optional<Brush> brush = MakePatternBrush(n);
    if (!brush)
        return 0;
    dc_->selectBrush(*brush);
    return 1;
}

void BrushState::SetSolid(ColorRef colour)
{
    if (dc_)
        dc_->selectBrush(Brush::Solid(colour));
}

void BrushState::SetColours(ColorRef text, ColorRef background)
{
    if (!dc_)
        return;
    dc_->setTextColor(text);
    dc_->setBkColor(background);
}

void BrushState::GetColours(ColorRef* text, ColorRef* background) const
{
    if (!dc_)
        return;
    if (text)
        *text = dc_->textColor();
    if (background)
        *background = dc_->bkColor();
}
