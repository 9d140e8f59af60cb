#include <cstring>
#include <string>

#include "card_builder.h"
#include "card_sample.h"
#include "carddoc/labels_doc.h"
#include "foundation/byte_order.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_power_text.h"
#include "frames/frame_obj_star.h"
#include "graphics/border_stripes.h"
#include "typography/glyph_effect.h"

namespace {

// One display text: its outline, fill and shadow, and the turn of its frame.
struct EffectCell {
    int16_t outline;
    int16_t fill;
    int16_t shadow;
    int16_t position;
    int16_t angle;
};

FrameObj* DisplayText(CLabelsDoc& doc, const IntRect& r, const EffectCell& cell)
{
    // The card's own display text, in the cell's outline, fill and shadow.
    auto* power = static_cast<FrameObjPowerText*>(CardDisplayText(doc, r, "VISITOR"));
    if (!power)
        return nullptr;
    uint8_t record[kGlyphRecordSize];
    std::memcpy(record, power->Effect(), sizeof record);
    GlyphEffect effect = GetGlyphEffect(record);
    effect.style = GlyphStyle{cell.outline, kCardBlack,   100, cell.fill,      kCardDarkBlue,  100, kCardCyan,     100,
                              cell.shadow,  cell.position, 1,  kCardLightGray, 100,            kCardGray, 100};
    PutGlyphEffect(record, effect);
    power->SetEffect(record);
    if (cell.angle != 0)
        power->SetGeometryField(4, cell.angle);
    return power;
}

// A shape with a fill pattern, a border pattern and a border of the style
// and width (points), turned as asked.
FrameObj* StyledShape(CLabelsDoc& doc, int16_t type, const IntRect& r, uint8_t fillPattern, uint8_t borderPattern,
                      int16_t lineStyle, int16_t width, int16_t angle)
{
    FrameObj* f = CardShape(doc, type, r, kCardYellow, kCardDarkBlue);
    if (!f)
        return nullptr;
    f->SetColour(kNoBackground, 2);
    f->SetPattern(fillPattern, 1);
    f->SetPattern(borderPattern, 2);
    f->SetBorderStyle(lineStyle);
    f->SetBorderWidth(width);
    if (angle != 0)
        f->SetGeometryField(4, angle);
    return f;
}

}  // namespace

bool BuildEffectsCard(CLabelsDoc& doc)
{
    const IntRect page = doc.PageGeometry().slots[0];
    // Every outline, fill and shadow, alone and together, two of them
    // turned.
    const EffectCell kCells[] = {
        {kOutlineNone, kFillSolid, kShadowDrop, kShadowLowerRight, 0},
        {kOutlineThin, kFillBlendAcross, kShadowNone, kShadowLowerRight, 0},
        {kOutlineThick, kFillBlendDown, kShadowBlock, kShadowLowerRight, 0},
        {kOutlineHilited, kFillDoubleBlendAcross, kShadowSilhouette, kShadowTopLeft, 0},
        {kOutlineThin, kFillDoubleBlendDown, kShadowDrop, kShadowTopRight, 0},
        {kOutlineThick, kFillRadiant, kShadowSilhouette, kShadowLowerLeft, 0},
        {kOutlineHilited, kFillSolid, kShadowBlock, kShadowLowerLeft, 20},
        {kOutlineThin, kFillRadiant, kShadowBlock, kShadowTopRight, 330},
    };
    int i = 0;
    for (const EffectCell& cell : kCells) {
        const int32_t x = 4 + (i % 4) * 62, y = 4 + (i / 4) * 34;
        if (!DisplayText(doc, OnCard(page, x, y, x + 58, y + 30), cell))
            return false;
        ++i;
    }
    // Each shape with a hatch or a pattern inside and a border of another
    // style, some turned; a group of two.
    const struct {
        int16_t type;
        IntRect at;
        uint8_t fill, border;
        int16_t style, width, angle;
    } kShapes[] = {
        {kFrameStar, {4, 74, 44, 106}, 2, 0, kLineDouble, 4, 0},
        {kFrameRoundRect, {48, 74, 92, 106}, 3, 4, kLineThinThick, 5, 0},
        {kFrameEllipse, {96, 74, 140, 106}, 5, 0, kLineDots, 2, 0},
        {kFrameRect, {144, 74, 188, 106}, 6, 7, kLineThickThinThick, 6, 0},
        {kFrameArc, {192, 74, 248, 106}, 0, 0, kLineShortDashes, 3, 0},
        {kFrameStar, {4, 110, 44, 140}, 7, 0, kLineSingle, 3, 30},
        {kFrameRoundRect, {48, 110, 92, 140}, 0, 2, kLineDouble, 4, 15},
        {kFrameEllipse, {96, 110, 140, 140}, 4, 0, kLineLongDashes, 2, 40},
        {kFrameRect, {144, 110, 188, 140}, 3, 0, kLineThinThickThin, 5, 25},
    };
    for (const auto& s : kShapes) {
        FrameObj* f = StyledShape(doc, s.type, OnCard(page, s.at.left, s.at.top, s.at.right, s.at.bottom), s.fill,
                                  s.border, s.style, s.width, s.angle);
        if (!f)
            return false;
        if (s.type == kFrameStar)
            static_cast<FrameObjStar*>(f)->SetStarParams(StarParams{6, 0, 0.45});
    }
    FrameObj* a = StyledShape(doc, kFrameRect, OnCard(page, 194, 110, 226, 134), 2, 0, kLineDouble, 3, 0);
    FrameObj* b = StyledShape(doc, kFrameEllipse, OnCard(page, 214, 116, 248, 140), 5, 0, kLineSingle, 2, 0);
    FrameObj* group = doc.NewFrame(kFrameGroup);
    if (!a || !b || !group)
        return false;
    group->SetFromRect(OnCard(page, 194, 110, 248, 140));
    a->AppendId(group->FrameId());
    b->AppendId(group->FrameId());
    doc.PageManager()->UpdateGroups();
    return true;
}
