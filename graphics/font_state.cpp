#include "graphics/font_state.h"

#include <cstring>

#include "foundation/int_math.h"
#include "graphics/font_spec.h"
#include "platform/dc.h"

void ApplyFontStyle(LogFont* font, uint32_t style)
{
    font->weight = (style & kFontStyleBold) ? FW_BOLD : FW_NORMAL;
    font->italic = (style & kFontStyleItalic) ? 1 : 0;
    font->underline = (style & kFontStyleUnderline) ? 1 : 0;
    font->strikeOut = 0;
}

FontState::FontState(Dc* dc) : dc_(dc)
{
    if (!dc_)
        return;
    savedColour_ = dc_->textColor();
    saved_ = dc_->font();
    dc_->selectFont(saved_);
}

FontState::~FontState()
{
    if (!dc_)
        return;
    dc_->selectFont(saved_);
    dc_->setTextColor(savedColour_);
}

void FontState::SetHeight(int32_t n)
{
    if (!dc_)
        return;
    LogFont f = dc_->font();
    f.height = -n;
    f.width = 0;
    dc_->selectFont(f);
}

int32_t FontState::GetSavedHeight() const { return -saved_.height; }

void FontState::SetFont(const FontSpec* record, int32_t height, uint32_t style, ColorRef colour, int32_t angle,
                        uint32_t mask)
{
    if (!dc_)
        return;
    LogFont f = dc_->font();
    if ((mask & kFontSetFace) && record) {
        std::memset(f.faceName, 0, sizeof(f.faceName));
        std::memcpy(f.faceName, record->faceName, strnlen(record->faceName, sizeof(f.faceName) - 1));
        f.charSet = record->charSet;
        f.pitchAndFamily = record->pitchAndFamily;
        f.clipPrecision = 0;
        f.quality = 0;
        f.outPrecision = (record->type & kFontTypeTrueType) ? OUT_TT_ONLY_PRECIS
                         : (record->type & kFontTypeDevice) ? OUT_DEVICE_PRECIS
                                                          : OUT_DEFAULT_PRECIS;
    }
    if (mask & kFontSetHeight) {
        f.height = -height;
        f.width = 0;
    }
    if (mask & kFontSetStyle)
        ApplyFontStyle(&f, style);
    if (mask & kFontSetAngle) {
        f.escapement = int32_t(uint32_t(int64_t(angle) * 10));
        f.orientation = f.escapement;
    }
    dc_->selectFont(f);
    if (mask & kFontSetColour)
        dc_->setTextColor(colour);
}

void FontState::SetHeightAndAngle(int32_t height, double angle)
{
    SetFont(nullptr, height, 0, kBlack, TruncToInt32(angle), kFontSetHeight | kFontSetAngle);
}

void FontState::SetFaceHeightStyle(const FontSpec* record, int32_t height, uint32_t style)
{
    SetFont(record, height, style, kBlack, 0, kFontSetFace | kFontSetHeight | kFontSetStyle);
}
