// The Object tool's commands on the whole selection: attributes from the
// Graphics and Text menus, numeric placement, the combined attributes the
// menus and bars show, grouping, deletion, the Edit menu, alignment, and
// the groups and anchors of copied frames.
#include <algorithm>
#include <vector>

#include "carddoc/frame_clipboard.h"
#include "carddoc/selection_tool.h"
#include "database/field_table.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_group.h"
#include "frames/frame_store.h"

namespace {

// The question before several frames are deleted, and its group.
constexpr int32_t kFrameMngGroup = 600;
constexpr int32_t kMsgDeleteSeveral = 11;

// Bars the combined attributes switch.
constexpr int16_t kBarFonts = 131;
constexpr int16_t kBarAlignment = 134;

constexpr float kMixedAngle = -1.0f;
constexpr float kMixedLineAngle = -1111.0f;

bool IsBarcodeType(int16_t type)
{
    return type == kFrameBarcode || type == kFrameCounterBarcode || type == kFrameBarcode13 ||
           type == kFrameBarcode18 || type == kFrameFieldBarcode;
}

}  // namespace

// ---- attribute setters ----

template <typename Op>
void SelectionTool::ChangeEach(Op op, bool publishText)
{
    ToggleHandles(false);
    for (int16_t i = 0; i < count_; ++i)
        op(selected_[i]);
    MarkChangedAndRedraw(true, true);
    ToggleHandles(true);
    PublishGraphicAttrs();
    if (publishText)
        PublishTextAttrs();
    SaveUndo(kUndoChangeFrame);
}

void SelectionTool::SetColor(int16_t value, int16_t target)
{
    ChangeEach([&](FrameObj* f) { f->SetColour(uint8_t(value), uint8_t(target)); }, true);
}

void SelectionTool::SetShade(int16_t value, int16_t target)
{
    ChangeEach([&](FrameObj* f) { f->SetTint(uint8_t(value), uint8_t(target)); }, true);
}

void SelectionTool::SetPattern(int16_t value, int16_t target)
{
    ChangeEach([&](FrameObj* f) { f->SetPattern(uint8_t(value), uint8_t(target)); }, false);
}

void SelectionTool::SetBorderStyle(int16_t value)
{
    ChangeEach([&](FrameObj* f) { f->SetBorderStyle(value); }, false);
}

void SelectionTool::SetLineWidth(int16_t value)
{
    ChangeEach([&](FrameObj* f) { f->SetBorderWidth(value); }, false);
}

void SelectionTool::SetFont(int16_t id)
{
    ChangeEach([&](FrameObj* f) { f->SetFont(id); }, true);
}

void SelectionTool::SetFontSize(int16_t size)
{
    ChangeEach([&](FrameObj* f) { f->SetFontSize(size); }, true);
}

void SelectionTool::SetFontStyle(int16_t bits, int16_t on, int16_t mask)
{
    ChangeEach([&](FrameObj* f) { f->SetFontStyle(bits, on, mask); }, true);
}

void SelectionTool::SetAlignment(int16_t /*value*/)
{
    // No frame of the model carries a caption alignment of its own, so
    // there is nothing to change; the bars still hear of the choice.
    PublishGraphicAttrs();
    PublishTextAttrs();
}

void SelectionTool::SetDatabaseField(int16_t index)
{
    const int16_t id = int16_t(FieldIdAtIndex(index, 0));
    ToggleHandles(false);
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->SetDataField(id);
    MarkChangedAndRedraw(true, true);
    PublishTextAttrs();
}

void SelectionTool::ToggleBarcodeMark()
{
    ToggleHandles(false);
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->SetBarcodeOption(selected_[i]->Block().barcodeOption ? 0 : 1);
    MarkChangedAndRedraw(true, true);
    SaveUndo(kUndoChangeFrame);
}

bool SelectionTool::AllBarcodeMarked()
{
    for (int16_t i = 0; i < count_; ++i) {
        if (!selected_[i]->Block().barcodeOption)
            return false;
    }
    return true;
}

int16_t SelectionTool::BarcodeTypeOfSelection()
{
    for (int16_t i = 0; i < count_; ++i) {
        if (IsBarcodeType(selected_[i]->GetType()))
            return selected_[i]->GetType();
    }
    return 0;
}

void SelectionTool::SetFramePlacement(int16_t field, int32_t value, int32_t showHandles, bool redraw)
{
    const bool handles = showHandles != 0 && redraw;
    if (handles)
        ToggleHandles(false);
    if (count_ == 1 || (count_ > 1 && field <= 1)) {
        if (field <= 1) {
            int32_t from = 0;
            if (count_ == 1) {
                const FrameGeometry& g = selected_[0]->Geometry();
                from = field == 0 ? g.x : g.y;
            } else {
                ComputeSelectionBounds();
                from = field == 0 ? bounds_.x : bounds_.y;
            }
            IntPoint offset{field == 0 ? value - from : 0, field == 1 ? value - from : 0};
            ClampOffsetToPage(&offset, 0, 1);
            MoveSelectionBy(offset, 0, 1);
            RecomputeSelection(true);
        } else {
            selected_[0]->SetGeometryField(field, int16_t(value));
        }
    } else if (count_ > 1) {
        ComputeSelectionBounds();
        for (int16_t i = 0; i < count_; ++i)
            selected_[i]->SetGeometryField(field, int16_t(value));
        for (int16_t i = 0; i < groupCount_; ++i) {
            if (groups_[i]->GetType() == kFrameGroup)
                static_cast<FrameObjGroup*>(groups_[i])->UpdateGroup();
        }
    }
    if (redraw) {
        MarkChangedAndRedraw(true, true);
        if (handles)
            ToggleHandles(true);
        PublishGraphicAttrs();
    }
    SaveUndo(kUndoChangeFrame);
}

// ---- combined attributes ----

int16_t SelectionTool::GetCommonAttrs(FrameAttributes* out, uint32_t* mask)
{
    *mask = 0xFFFFFFFFu;
    if (count_ == 0) {
        *out = defaults_;
        return 0;
    }
    const int16_t reference = std::min<int16_t>(lastInsert_, int16_t(count_ - 1));
    const int16_t type = GetFrameType();
    FrameAttributes& b = *out;
    b = selected_[reference]->Attributes();
    if (count_ == 1)
        return type;
    ComputeSelectionBounds();
    b.geometry.x = bounds_.x;
    b.geometry.y = bounds_.y;
    const FrameAttributes r = b;
    auto differs = [&](auto FrameAttributes::*field) {
        for (int16_t i = 0; i < count_; ++i) {
            if (selected_[i]->Attributes().*field != r.*field)
                return true;
        }
        return false;
    };
    auto geometryDiffers = [&](auto field) {
        for (int16_t i = 0; i < count_; ++i) {
            if (selected_[i]->Geometry().*field != r.geometry.*field)
                return true;
        }
        return false;
    };
    auto byteField = [&](uint8_t FrameAttributes::*field, uint32_t bit, uint8_t mixed) {
        if (differs(field)) {
            b.*field = mixed;
            *mask &= ~bit;
        }
    };
    if (geometryDiffers(&FrameGeometry::height)) {
        b.geometry.height = kAttrNotSet;
        *mask &= ~kSameHeight;
    }
    if (geometryDiffers(&FrameGeometry::width)) {
        b.geometry.width = kAttrNotSet;
        *mask &= ~kSameWidth;
    }
    if (geometryDiffers(&FrameGeometry::angle)) {
        b.geometry.angle = type == kFrameLine ? kMixedLineAngle : kMixedAngle;
        *mask &= ~kSameAngle;
    }
    if (geometryDiffers(&FrameGeometry::lineWidth)) {
        b.geometry.lineWidth = -1;
        *mask &= ~kSameLineWidth;
    }
    if (geometryDiffers(&FrameGeometry::lineStyle)) {
        b.geometry.lineStyle = -1;
        *mask &= ~kSameBorderStyle;
    }
    if (geometryDiffers(&FrameGeometry::sides)) {
        b.geometry.sides = 0;
        *mask &= ~kSameSides;
    }
    byteField(&FrameAttributes::borderColour, kSameLineColour, 255);
    byteField(&FrameAttributes::borderTint, kSameLineShade, 255);
    byteField(&FrameAttributes::fillColour, kSameFillColour, 255);
    byteField(&FrameAttributes::fillTint, kSameFillShade, 255);
    byteField(&FrameAttributes::background, kSameBackground, 255);
    byteField(&FrameAttributes::borderPattern, kSameLinePattern, 255);
    byteField(&FrameAttributes::fillPattern, kSameFillPattern, 255);
    byteField(&FrameAttributes::shown, kSameShown, 1);
    byteField(&FrameAttributes::locked, kSameLocked, 1);
    byteField(&FrameAttributes::printable, kSamePrintable, 1);
    for (int16_t i = 0; i < count_; ++i) {
        if ((selected_[i]->Attributes().attrByte & 0x0F) != (r.attrByte & 0x0F)) {
            b.attrByte = defaults_.attrByte;
            break;
        }
    }
    // These have no bit of their own: the placeholder says they differ.
    for (auto field : {&FrameAttributes::textColour, &FrameAttributes::textTint, &FrameAttributes::fontId,
                       &FrameAttributes::fontSize, &FrameAttributes::fontStyle, &FrameAttributes::dataField}) {
        if (differs(field))
            b.*field = kAttrNotSet;
    }
    return type;
}

bool SelectionTool::GetCommonCaptionAlignment(int16_t* out)
{
    // No frame of the model has a caption alignment word to report.
    *out = 0;
    return false;
}

void SelectionTool::GetGraphicAttrs(GraphicAttrs* out)
{
    if (count_ == 0) {
        FrameTool::GetGraphicAttrs(out);
        return;
    }
    FrameAttributes b;
    uint32_t mask = 0;
    GetCommonAttrs(&b, &mask);
    *out = GraphicAttrs{};
    out->textColour = b.textColour;
    out->textShade = b.textTint;
    out->lineColour = b.borderColour;
    out->lineShade = b.borderTint;
    out->linePattern = b.borderPattern;
    out->borderStyle = b.geometry.lineStyle;
    out->lineWidth = b.geometry.lineWidth;
    out->fillColour = b.fillColour;
    out->fillShade = b.fillTint;
    out->fillPattern = b.fillPattern;
    out->background = b.background;
    out->x = float(b.geometry.x);
    out->y = float(b.geometry.y);
    out->width = float(b.geometry.width);
    out->height = float(b.geometry.height);
    out->kind = 0;
    out->dataFieldIndex = b.dataField == kAttrNotSet ? kAttrNotSet : int16_t(FieldIndexOfId(b.dataField, 0));
}

void SelectionTool::GetTextAttrs(TextAttrs* out)
{
    FrameTool::GetTextAttrs(out);
    if (count_ == 0) {
        SetBarItemState(kBarFonts, false);
        SetBarItemState(kBarAlignment, false);
        return;
    }
    FrameAttributes b;
    uint32_t mask = 0;
    const int16_t type = GetCommonAttrs(&b, &mask);
    out->fontId = b.fontId;
    out->size = b.fontSize;
    out->style = b.fontStyle;
    int16_t alignment = 0;
    const bool aligned = GetCommonCaptionAlignment(&alignment);
    out->alignment = aligned ? uint8_t(alignment) : 0;
    SetBarItemState(kBarFonts, IsBarcodeType(type));
    SetBarItemState(kBarAlignment, aligned);
}

// ---- grouping ----

bool SelectionTool::CanGroup()
{
    if (count_ < 2)
        return false;
    if (groupCount_ != 1)
        return true;
    const uint32_t id = groups_[0]->FrameId();
    for (int16_t i = 0; i < count_; ++i) {
        if (selected_[i]->GetId(-1) != id)
            return true;
    }
    return false;
}

bool SelectionTool::CanUngroup()
{
    if (count_ < 2 || groupCount_ != 1)
        return false;
    const uint32_t id = groups_[0]->FrameId();
    for (int16_t i = 0; i < count_; ++i) {
        if (selected_[i]->GetId(-1) != id)
            return false;
    }
    return true;
}

void SelectionTool::GroupSelection(uint32_t groupId)
{
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->AppendId(groupId);
    for (int16_t i = 0; i < groupCount_; ++i)
        groups_[i]->SetSelected(0);
    groupCount_ = 0;
}

FrameObj* SelectionTool::UngroupSelection()
{
    FrameObj* group = groupCount_ > 0 ? groups_[0] : nullptr;
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->RemoveLastId();
    for (int16_t i = 0; i < groupCount_; ++i)
        groups_[i]->SetSelected(0);
    groupCount_ = 0;
    CurrPageMng* pages = document_->PageManager();
    for (int16_t i = 0; pages && i < count_; ++i) {
        const uint32_t outer = selected_[i]->GetId(-1);
        FrameObj* inner = outer ? pages->FindGroupFrame(outer) : nullptr;
        if (inner && inner->GetType() == kFrameGroup) {
            static_cast<FrameObjGroup*>(inner)->UpdateGroup();
            SelectGroup(inner, false);
        }
    }
    return group;
}

// ---- deletion ----

void SelectionTool::DeleteSelection()
{
    if (count_ == 0)
        return;
    if (count_ > 1 && !AlertConfirmById(kFrameMngGroup, kMsgDeleteSeveral, 0)) {
        RefreshView();
        return;
    }
    for (int16_t i = 0; i < count_; ++i) {
        if (selected_[i]->Block().undeletable)
            return;
    }
    CurrPageMng* pages = document_->PageManager();
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->MarkChanged(1, 0);
    if (pages)
        pages->InvalidateChanged(kInvalidateVacated);
    for (int16_t i = 0; pages && i < count_; ++i) {
        FrameObj* f = selected_[i];
        while (const uint32_t outer = f->GetId(-1)) {
            SelectGroup(pages->FindGroupFrame(outer), false);
            f->RemoveLastId();
        }
    }
    document_->SetUndoOwner(nullptr);
    if (count_ == 1) {
        FrameObj* f = selected_[0];
        SaveUndo(kUndoDeleteFrame);
        DeselectAll(true);
        TakeOff(f);
        MarkChangedAndRedraw(true, true);
    } else {
        DeleteDeselected(std::vector<FrameObj*>(selected_, selected_ + count_),
                         std::vector<FrameObj*>(groups_, groups_ + groupCount_));
    }
    PublishGraphicAttrs();
    PublishTextAttrs();
}

// ---- the Edit menu ----

bool SelectionTool::CanDoEditCommand(int16_t command)
{
    switch (command) {
    case 1:
    case 2:
    case 3: return count_ > 0;
    case 4: return ProgramClipboard() && ProgramClipboard()->CanPaste(0);
    case 5: return document_->PageManager() && document_->PageManager()->FrameCount() > 0;
    default: return false;
    }
}

bool SelectionTool::DoEditCommand(int16_t command)
{
    FrameClipboard* store = ProgramClipboard();
    switch (command) {
    case 1:
        // The copy goes first: the deletion of several frames cannot be
        // undone, and a copy that failed must leave the frames in place.
        if (count_ > 0 && store && store->CopyFrames(document_, selected_, count_) == 0)
            DeleteSelection();
        break;
    case 2:
        if (count_ > 0 && store)
            store->CopyFrames(document_, selected_, count_);
        break;
    case 3: DeleteSelection(); break;
    case 4:
        if (store)
            store->Paste(document_);
        break;
    case 5: {
        CurrPageMng* pages = document_->PageManager();
        if (!pages)
            break;
        DeselectAll(true);
        const int16_t n = std::min(pages->FrameCount(), kCapacity);
        for (int16_t i = 0; i < n; ++i)
            SelectWithGroup(pages->FrameAt(i), false);
        InvalidateSelection(false);
        PublishGraphicAttrs();
        break;
    }
    default: break;
    }
    return false;
}

int16_t SelectionTool::ContextMenuId() { return int16_t(ContextMenuForSelection(count_, GetFrameType())); }

// ---- alignment ----

IntRect SelectionTool::GetFrameBounds(FrameObj* frame)
{
    IntRect r;
    const uint32_t outer = frame->GetId(-1);
    for (int16_t i = 0; outer && i < groupCount_; ++i) {
        if (groups_[i]->FrameId() == outer) {
            groups_[i]->GetBounds(&r, 0, kGeometryCurrent);
            return r;
        }
    }
    frame->GetBounds(&r, 0, kGeometryCurrent);
    return r;
}

void SelectionTool::FindLeftTopFrames(int16_t* horizontal, int16_t* vertical)
{
    *horizontal = *vertical = 0;
    const IntRect start = GetFrameBounds(selected_[0]);
    int16_t left = int16_t(start.left);
    int16_t top = int16_t(start.top);
    for (int16_t i = 0; i < count_; ++i) {
        IntRect r;
        selected_[i]->GetBounds(&r, 0, kGeometryCurrent);
        if (int16_t(r.left) < left) {
            left = int16_t(r.left);
            *horizontal = i;
        }
        if (int16_t(r.top) < top) {
            top = int16_t(r.top);
            *vertical = i;
        }
    }
}

void SelectionTool::AlignOne(int16_t reference, int16_t i, int16_t axis, int16_t mode)
{
    const IntRect ref = GetFrameBounds(selected_[reference]);
    const IntRect own = GetFrameBounds(selected_[i]);
    const int16_t refLead = int16_t(axis == 1 ? ref.left : ref.top);
    const int16_t refTrail = int16_t(axis == 1 ? ref.right : ref.bottom);
    const int16_t lead = int16_t(axis == 1 ? own.left : own.top);
    const int16_t trail = int16_t(axis == 1 ? own.right : own.bottom);
    int16_t offset = 0;
    switch (mode) {
    case 1: offset = int16_t(refLead - lead); break;
    case 2: offset = int16_t((refLead + refTrail) / 2 - (lead + trail) / 2); break;
    case 3: offset = int16_t(refTrail - trail); break;
    default: return;
    }
    selected_[i]->MoveBy(axis == 1 ? IntPoint{offset, 0} : IntPoint{0, offset}, 0, 0);
}

void SelectionTool::AlignSelection(int16_t horizontal, int16_t vertical, bool relativeToFirst)
{
    if (count_ == 0)
        return;
    SaveUndo(kUndoMoveFrame);
    MarkChangedAndRedraw(true, true);
    int16_t refH = 0, refV = 0;
    if (relativeToFirst)
        refH = refV = CurrentIndex();
    else
        FindLeftTopFrames(&refH, &refV);
    const uint16_t idH = selected_[refH]->FrameId();
    const uint16_t idV = selected_[refV]->FrameId();
    for (int16_t i = 0; i < count_; ++i) {
        AlignOne(refH, i, 1, horizontal);
        AlignOne(refV, i, 2, vertical);
        selected_[i]->SetAlignment(idH, idV, horizontal, vertical);
    }
    for (int16_t i = 0; i < groupCount_; ++i) {
        if (groups_[i]->GetType() == kFrameGroup)
            static_cast<FrameObjGroup*>(groups_[i])->UpdateGroup();
    }
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->Invalidate(1);
    ComputeSelectionBounds();
    ToggleHandles(true);
    PublishGraphicAttrs();
}

// ---- copies of frames ----

void SelectionTool::RebuildGroups()
{
    std::vector<uint32_t> old;
    for (int16_t i = 0; i < count_; ++i) {
        for (int16_t k = 0; k < selected_[i]->IdCount(); ++k) {
            const uint32_t id = selected_[i]->GetId(k);
            if (id != 0 && std::find(old.begin(), old.end(), id) == old.end())
                old.push_back(id);
        }
    }
    if (old.empty())
        return;
    std::vector<uint32_t> replacement(old.size(), 0);
    for (size_t k = 0; k < old.size(); ++k) {
        FrameObj* group = document_->NewFrame(kFrameGroup);
        if (!group)
            continue;
        SelectGroup(group, false);
        replacement[k] = group->FrameId();
    }
    // A group whose frame could not be made is dropped from its members:
    // they stay on the page, only not grouped.
    // Each list is rewritten whole: a new id may equal an old one still to
    // be replaced.
    for (int16_t i = 0; i < count_; ++i) {
        FrameObj* f = selected_[i];
        std::vector<uint32_t> ids;
        while (f->IdCount() > 0) {
            ids.insert(ids.begin(), f->GetId(-1));
            f->RemoveLastId();
        }
        for (uint32_t id : ids) {
            const size_t k = size_t(std::find(old.begin(), old.end(), id) - old.begin());
            if (k < old.size() && replacement[k] != 0)
                f->AppendId(replacement[k]);
        }
    }
    for (int16_t i = 0; i < groupCount_; ++i) {
        if (groups_[i]->GetType() == kFrameGroup)
            static_cast<FrameObjGroup*>(groups_[i])->UpdateGroup();
    }
}

void SelectionTool::RemapAnchors(Handle pairs)
{
    if (!pairs)
        return;
    const uint32_t n = std::min<uint32_t>(HandleGetSize(pairs) / 4, uint32_t(count_));
    auto lookUp = [&](uint16_t id) -> uint16_t {
        for (uint32_t k = 0; k < n; ++k) {
            const uint32_t pair = GetU32LE(HandleData(pairs) + 4 * k);
            if (uint16_t(pair & 0xFFFF) == id)
                return uint16_t(pair >> 16);
        }
        return 0;
    };
    for (int16_t i = 0; i < count_; ++i) {
        uint16_t h = 0, v = 0;
        int16_t modeH = 0, modeV = 0;
        selected_[i]->GetAlignment(&h, &v, &modeH, &modeV);
        if (h == 0 || v == 0)
            continue;
        const uint16_t newH = lookUp(h);
        const uint16_t newV = lookUp(v);
        if (newH && newV)
            selected_[i]->SetAlignment(newH, newV, modeH, modeV);
        else
            selected_[i]->SetAlignment(0, 0, 0, 0);
    }
}
