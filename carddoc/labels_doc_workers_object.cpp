// The Object menu's information workers: the selection's common attributes
// go into the dialog that fits the kind of the selected frames, and only
// what the user changed (the record's change mask) comes back to the
// frames, as one "Change Frame" undo step.
#include <algorithm>
#include <cmath>

#include "carddoc/labels_doc.h"
#include "carddoc/selection_tool.h"
#include "carddoc/worker_dialog.h"
#include "dialogs/alignment_dialog.h"
#include "dialogs/fill_info_dialog.h"
#include "dialogs/frame_info_dialog.h"
#include "dialogs/group_info_dialog.h"
#include "dialogs/line_info_dialog.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/object_info_dialog.h"
#include "dialogs/picture_info_dialog.h"
#include "dialogs/star_info_dialog.h"
#include "dialogs/text_box_info_dialog.h"
#include "dialogs/text_runaround_dialog.h"
#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_image.h"
#include "graphics/line_forms.h"
#include "typography/color_table.h"

namespace {

// A fill colour of 255: the frame is clear.
constexpr uint8_t kClear = 255;
constexpr uint32_t kAllFields = 0xFFFFFFFFu;

bool Has(uint32_t mask, uint32_t bit) { return (mask & bit) != 0; }

bool IsBarcodeKind(int16_t type)
{
    return type == kFrameBarcode || type == kFrameCounterBarcode || type == kFrameBarcode13 ||
           type == kFrameFieldBarcode || type == kFrameBarcode18;
}

// The shown, locked, printable and units fields the user changed.
void WriteCommonBytes(FrameObj* f, uint32_t mask, int32_t visible, int32_t locked, int32_t printable, int32_t units)
{
    if (Has(mask, kFieldVisible))
        f->SetShown(uint8_t(visible));
    if (Has(mask, kFieldLocked))
        f->SetLocked(uint8_t(locked));
    if (Has(mask, kFieldPrintable))
        f->SetPrintable(uint8_t(printable));
    if (Has(mask, kFieldUnitsChanged))
        f->SetAttrLowNibble(uint8_t(units));
}

// The placement fields the user changed, in the order x, y, height, width,
// angle; the origin is given from the ruler origin.
void WritePlacement(SelectionTool* tool, uint32_t mask, uint32_t which, double x, double y, double height, double width,
                    double angle, double originX, double originY)
{
    which &= mask;
    if (Has(which, kFieldOriginAcross))
        tool->SetFramePlacement(0, Add32(TruncToInt32(x), TruncToInt32(originX)), 0, false);
    if (Has(which, kFieldOriginDown))
        tool->SetFramePlacement(1, Add32(TruncToInt32(y), TruncToInt32(originY)), 0, false);
    if (Has(which, kFieldHeight))
        tool->SetFramePlacement(3, TruncToInt32(height), 0, false);
    if (Has(which, kFieldWidth))
        tool->SetFramePlacement(2, TruncToInt32(width), 0, false);
    if (Has(which, kFieldBoxAngle))
        tool->SetFramePlacement(4, TruncToInt32(angle), 0, false);
}

// The end of every worker that changed the selection: handles back, the
// bars told, the undo step kept and the page drawn.
void FinishChange(SelectionTool* tool)
{
    tool->MarkChangedAndRedraw(true, true);
    tool->ToggleHandles(true);
    tool->PublishGraphicAttrs();
    tool->SaveUndo(kUndoChangeFrame);
}

}  // namespace

SelectionTool* CLabelsDoc::ObjectSelection()
{
    if (currentTool_ != kToolObject)
        return nullptr;
    SelectionTool* tool = SelectionToolOf(this);
    return tool && tool->GetSelCount() > 0 ? tool : nullptr;
}

double CLabelsDoc::GetRulerOriginX()
{
    if (!view_)
        return 0.0;
    uint8_t ruler[12] = {};
    view_->GetRulerState(0, ruler);
    return GetF64LE(ruler);
}

double CLabelsDoc::GetRulerOriginY()
{
    if (!view_)
        return 0.0;
    uint8_t ruler[12] = {};
    view_->GetRulerState(1, ruler);
    return GetF64LE(ruler);
}

void CLabelsDoc::DoObjectInfo()
{
    SelectionTool* tool = ObjectSelection();
    if (!tool)
        return;
    switch (tool->GetFrameType()) {
    case kFrameImage:
    case 8:
    case kFramePicture: DoPictureInfo(); break;
    case kFrameLine: DoLineInfo(); break;
    case kFrameText: DoTextBoxInfo(); break;
    case kFramePlain: DoGroupInfo(); break;
    default: DoObjectInfoDialog(); break;
    }
}

void CLabelsDoc::DoObjectInfoDialog()
{
    SelectionTool* tool = ObjectSelection();
    if (!tool)
        return;
    FrameAttributes image;
    uint32_t same = 0;
    tool->GetCommonAttrs(&image, &same);
    const double originX = GetRulerOriginX();
    const double originY = GetRulerOriginY();
    ObjectInfoRecord r;
    r.originAcross = image.geometry.x - originX;
    r.originDown = image.geometry.y - originY;
    r.boxAngle = image.geometry.angle;
    r.height = image.geometry.height;
    r.width = image.geometry.width;
    r.printable = image.printable;
    r.locked = image.locked;
    r.visible = image.shown;
    r.units = int16_t(image.attrByte & 0x0F);
    r.flags = same;
    for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
        if (IsBarcodeKind(tool->GetSelFrame(i)->GetType()))
            r.sizeFixed = 1;
    }
    CDlgObjectInfo dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    tool->ToggleHandles(false);
    for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
        FrameObj* f = tool->GetSelFrame(i);
        f->MarkChanged(1, 0);
        WriteCommonBytes(f, r.flags, r.visible, r.locked, r.printable, r.units);
    }
    WritePlacement(tool, r.flags, kAllFields, r.originAcross, r.originDown, r.height, r.width, r.boxAngle, originX,
                   originY);
    FinishChange(tool);
}

void CLabelsDoc::DoTextBoxInfo()
{
    SelectionTool* tool = ObjectSelection();
    if (!tool)
        return;
    FrameAttributes image;
    uint32_t same = 0;
    tool->GetCommonAttrs(&image, &same);
    const FrameObj* first = tool->GetSelFrame(0);
    const double originX = GetRulerOriginX();
    const double originY = GetRulerOriginY();
    TextBoxInfoRecord r;
    r.originAcross = image.geometry.x - originX;
    r.originDown = image.geometry.y - originY;
    r.boxAngle = image.geometry.angle;
    r.height = image.geometry.height;
    r.width = image.geometry.width;
    r.textInset = first->Block().textInset;
    r.printable = image.printable;
    r.locked = image.locked;
    r.visible = image.shown;
    r.textRunaround = first->Block().outlineKind == 0 ? 0 : 1;
    r.units = image.attrByte & 0x0F;
    r.mask = same;
    CDlgTextBoxInfo dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    // The dialog shows every field of a text box, so all of them go back.
    r.mask = kAllFields;
    tool->ToggleHandles(false);
    for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
        FrameObj* f = tool->GetSelFrame(i);
        f->MarkChanged(1, 0);
        f->Invalidate(1);
        WriteCommonBytes(f, r.mask, r.visible, r.locked, r.printable, r.units);
        f->SetTextInset(int16_t(TruncToInt32(r.textInset)));
        f->SetOutline(r.textRunaround == 0 ? 0 : std::max<uint8_t>(f->Block().outlineKind, 1),
                      f->Block().outlineInset);
    }
    WritePlacement(tool, r.mask, kAllFields, r.originAcross, r.originDown, r.height, r.width, r.boxAngle, originX,
                   originY);
    FinishChange(tool);
}

void CLabelsDoc::DoGroupInfo()
{
    SelectionTool* tool = ObjectSelection();
    if (!tool)
        return;
    FrameAttributes image;
    uint32_t same = 0;
    tool->GetCommonAttrs(&image, &same);
    const double originX = GetRulerOriginX();
    const double originY = GetRulerOriginY();
    GroupInfoRecord r;
    r.originAcross = image.geometry.x - originX;
    r.originDown = image.geometry.y - originY;
    r.boxAngle = image.geometry.angle;
    r.printable = image.printable;
    r.locked = image.locked;
    r.visible = image.shown;
    r.units = int16_t(image.attrByte & 0x0F);
    r.flags = same;
    CDlgGroupInfo dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    tool->ToggleHandles(false);
    for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
        FrameObj* f = tool->GetSelFrame(i);
        f->MarkChanged(1, 0);
        f->Invalidate(1);
        WriteCommonBytes(f, r.flags, r.visible, r.locked, r.printable, r.units);
    }
    WritePlacement(tool, r.flags, kFieldOriginAcross | kFieldOriginDown | kFieldBoxAngle, r.originAcross, r.originDown,
                   0, 0, r.boxAngle, originX, originY);
    FinishChange(tool);
}

void CLabelsDoc::DoPictureInfo()
{
    SelectionTool* tool = ObjectSelection();
    if (!tool)
        return;
    FrameAttributes image;
    uint32_t same = 0;
    tool->GetCommonAttrs(&image, &same);
    const double originX = GetRulerOriginX();
    const double originY = GetRulerOriginY();
    PictureInfoRecord r;
    r.originAcross = image.geometry.x - originX;
    r.originDown = image.geometry.y - originY;
    r.width = image.geometry.width;
    r.height = image.geometry.height;
    r.boxAngle = image.geometry.angle;
    r.printable = image.printable;
    r.locked = image.locked;
    r.visible = image.shown;
    r.units = image.attrByte & 0x0F;
    r.carried3[0] = 1;
    FrameObj* first = tool->GetSelFrame(0);
    if (first->GetType() == kFrameImage) {
        const ImageBlockA& a = static_cast<FrameObjImage*>(first)->BlockA();
        r.offsetAcross = a.pan.x;
        r.offsetDown = a.pan.y;
        r.pictureAngle = a.pictureAngle;
        r.scaleAcross = a.hScale;
        r.scaleDown = a.vScale;
        r.scaleWithBox = a.fit;
        r.display = a.displayPicture;
        r.printout = a.printPicture;
    }
    r.mask = same;
    CDlgPictureInfo dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    tool->ToggleHandles(false);
    for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
        FrameObj* f = tool->GetSelFrame(i);
        f->MarkChanged(1, 0);
        WriteCommonBytes(f, r.mask, r.visible, r.locked, r.printable, r.units);
        if (f->GetType() != kFrameImage)
            continue;
        auto* picture = static_cast<FrameObjImage*>(f);
        const ImageBlockA& a = picture->BlockA();
        if (r.mask & (kPictureOffsetAcross | kPictureOffsetDown))
            picture->SetPan(IntPoint{Has(r.mask, kPictureOffsetAcross) ? TruncToInt32(r.offsetAcross) : a.pan.x,
                                     Has(r.mask, kPictureOffsetDown) ? TruncToInt32(r.offsetDown) : a.pan.y});
        if (Has(r.mask, kPictureAngle))
            picture->SetPictureAngle(int16_t(TruncToInt32(r.pictureAngle)));
        if (r.mask & (kPictureScaleAcross | kPictureScaleDown))
            picture->SetScales(Has(r.mask, kPictureScaleAcross) ? float(r.scaleAcross) : a.hScale,
                               Has(r.mask, kPictureScaleDown) ? float(r.scaleDown) : a.vScale);
        if (Has(r.mask, kPictureScaleWithBox))
            picture->SetFitToFrame(uint8_t(r.scaleWithBox != 0));
        if (r.mask & (kPictureDisplay | kPicturePrintout))
            picture->SetDisplayAndPrint(
                uint8_t(Has(r.mask, kPictureDisplay) ? r.display != 0 : a.displayPicture),
                uint8_t(Has(r.mask, kPicturePrintout) ? r.printout != 0 : a.printPicture));
    }
    WritePlacement(tool, r.mask, kAllFields, r.originAcross, r.originDown, r.height, r.width, r.boxAngle, originX,
                   originY);
    FinishChange(tool);
}

void CLabelsDoc::DoLineInfo()
{
    SelectionTool* tool = ObjectSelection();
    if (!tool)
        return;
    FrameAttributes image;
    uint32_t same = 0;
    tool->GetCommonAttrs(&image, &same);
    const double originX = GetRulerOriginX();
    const double originY = GetRulerOriginY();
    LineRecord ends;
    LinePlacementToRecord(tool->GetSelFrame(0)->Geometry(), &ends);
    LineInfoRecord r;
    r.borderStyle = image.geometry.lineStyle;
    r.pattern = image.borderPattern;
    r.leftCap = image.geometry.sides >> 4;
    r.rightCap = image.geometry.sides & 0x0F;
    r.colour = image.borderColour;
    r.shade = image.borderTint;
    r.width = image.geometry.lineWidth;
    r.printable = image.printable;
    r.locked = image.locked;
    r.visible = image.shown;
    r.leftAcross = ends.start.x - originX;
    r.leftDown = ends.start.y - originY;
    r.rightAcross = ends.end.x - originX;
    r.rightDown = ends.end.y - originY;
    r.units = image.attrByte & 0x0F;
    r.endPointLock = tool->GetSelCount();
    r.flags = same;
    CDlgLineInfo dialog;
    dialog.SetColorTable(*colours_);
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    tool->ToggleHandles(false);
    for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
        FrameObj* f = tool->GetSelFrame(i);
        f->MarkChanged(1, 0);
        FrameGeometry g = f->Geometry();
        if (Has(r.flags, kFieldRightSide))
            g.sides = uint8_t((g.sides & 0xF0) | (r.rightCap & 0x0F));
        if (Has(r.flags, kFieldLeftSide))
            g.sides = uint8_t((g.sides & 0x0F) | ((r.leftCap & 0x0F) << 4));
        f->SetGeometry(g);
        if (Has(r.flags, kFieldLineWidth))
            f->SetBorderWidth(int16_t(r.width));
        if (Has(r.flags, kFieldBorderStyle))
            f->SetBorderStyle(int16_t(r.borderStyle));
        for (uint8_t selector : {uint8_t(0), uint8_t(1)}) {
            if (Has(r.flags, kFieldLineColour))
                f->SetColour(uint8_t(r.colour), selector);
            if (Has(r.flags, kFieldLineShade))
                f->SetTint(uint8_t(r.shade), selector);
            if (Has(r.flags, kFieldBorderPattern))
                f->SetPattern(uint8_t(r.pattern), selector);
        }
        WriteCommonBytes(f, r.flags, r.visible, r.locked, r.printable, r.units);
    }
    // End points belong to one line; with several selected only the
    // origin moves them together.
    const uint32_t endBits = kFieldOriginAcross | kFieldOriginDown | kFieldHeight | kFieldWidth;
    if (tool->GetSelCount() == 1 && (r.flags & endBits)) {
        FrameObj* f = tool->GetSelFrame(0);
        LineRecord moved;
        LinePlacementToRecord(f->Geometry(), &moved);
        moved.start = IntPoint{Add32(TruncToInt32(r.leftAcross), TruncToInt32(originX)),
                               Add32(TruncToInt32(r.leftDown), TruncToInt32(originY))};
        moved.end = IntPoint{Add32(TruncToInt32(r.rightAcross), TruncToInt32(originX)),
                             Add32(TruncToInt32(r.rightDown), TruncToInt32(originY))};
        FrameGeometry g = f->Geometry();
        LineRecordToPlacement(moved, &g);
        f->SetGeometry(g);
        f->Recompute(1);
    } else if (tool->GetSelCount() > 1) {
        WritePlacement(tool, r.flags, kFieldOriginAcross | kFieldOriginDown, r.leftAcross, r.leftDown, 0, 0, 0,
                       originX, originY);
    }
    FinishChange(tool);
}

void CLabelsDoc::DoFrameInfo()
{
    SelectionTool* tool = ObjectSelection();
    if (!tool)
        return;
    FrameAttributes image;
    uint32_t same = 0;
    const int16_t type = tool->GetCommonAttrs(&image, &same);
    FrameInfoRecord r;
    r.borderStyle = image.geometry.lineStyle;
    r.colour = image.borderColour;
    r.width = image.geometry.lineWidth;
    r.shade = image.borderTint;
    r.above = (image.geometry.sides & kSideTop) != 0;
    r.below = (image.geometry.sides & kSideBottom) != 0;
    r.left = (image.geometry.sides & kSideLeft) != 0;
    r.right = (image.geometry.sides & kSideRight) != 0;
    r.borderPattern = image.borderPattern;
    r.fillColour = image.fillColour;
    r.background = image.background;
    r.fillShade = image.fillTint;
    r.fillPattern = image.fillPattern;
    r.opaque = image.background != kClear && Has(same, kFieldBackground);
    switch (type) {
    case kFrameRect:
    case kFrameText:
    case kFrameImage:
    case 8:
    case kFrameBarcode:
    case kFrameCounterBarcode:
    case kFrameBarcode13:
    case kFrameFieldBarcode:
    case kFramePicture:
    case kFrameBarcode18: r.sidesAllowed = 1; break;
    default: break;
    }
    r.flags = same;
    r.colorTable = colours_.get();
    CDlgFrameInfo dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    tool->ToggleHandles(false);
    struct Side {
        uint32_t bit;
        uint8_t side;
        uint8_t on;
    };
    const Side sides[] = {{kFieldLeftSide, kSideLeft, r.left},
                          {kFieldBelow, kSideBottom, r.below},
                          {kFieldRightSide, kSideRight, r.right},
                          {kFieldAbove, kSideTop, r.above}};
    for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
        FrameObj* f = tool->GetSelFrame(i);
        f->MarkChanged(1, 0);
        if (Has(r.flags, kFieldLineWidth))
            f->SetBorderWidth(r.width);
        if (Has(r.flags, kFieldBorderStyle))
            f->SetBorderStyle(r.borderStyle);
        FrameGeometry g = f->Geometry();
        bool sidesChanged = false;
        for (const Side& s : sides) {
            if (Has(r.flags, s.bit)) {
                g.sides = uint8_t(s.on ? (g.sides | s.side) : (g.sides & ~s.side));
                sidesChanged = true;
            }
        }
        if (sidesChanged)
            f->SetGeometry(g);
        if (Has(r.flags, kFieldLineColour))
            f->SetColour(uint8_t(r.colour), 0);
        if (Has(r.flags, kFieldLineShade))
            f->SetTint(uint8_t(r.shade), 0);
        if (Has(r.flags, kFieldBorderPattern))
            f->SetPattern(uint8_t(r.borderPattern), 0);
        f->Recompute(1);
    }
    FinishChange(tool);
}

void CLabelsDoc::DoFillInfo()
{
    SelectionTool* tool = ObjectSelection();
    if (!tool)
        return;
    FrameAttributes image;
    uint32_t same = 0;
    tool->GetCommonAttrs(&image, &same);
    FillInfoRecord r;
    r.pattern = image.fillPattern;
    r.colour = image.fillColour;
    r.background = image.background;
    r.shade = image.fillTint;
    const bool oneBackground = Has(same, kFieldBackground);
    r.opaque = oneBackground && image.background != kClear ? 1 : 0;
    if (!r.opaque)
        r.background = 1;
    r.flags = same & ~kFieldOpaque;
    if (oneBackground)
        r.flags |= kFieldOpaque;
    if (!oneBackground) {
        bool anyClear = false;
        for (int16_t i = 0; i < tool->GetSelCount(); ++i)
            anyClear = anyClear || tool->GetSelFrame(i)->Attributes().background == kClear;
        if (!anyClear) {
            r.opaque = 1;
            r.flags |= kFieldOpaque;
        }
    }
    r.colorTable = colours_.get();
    CDlgFillInfo dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    tool->ToggleHandles(false);
    for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
        FrameObj* f = tool->GetSelFrame(i);
        f->MarkChanged(1, 0);
        const int16_t type = f->GetType();
        // Lines and arcs draw with their first colour set too.
        if (type == kFrameLine || type == kFrameArc) {
            if (Has(r.flags, kFieldFillColour))
                f->SetColour(uint8_t(r.colour), 0);
            if (Has(r.flags, kFieldFillShade))
                f->SetTint(uint8_t(r.shade), 0);
            if (Has(r.flags, kFieldFillPattern))
                f->SetPattern(uint8_t(r.pattern), 0);
        }
        if (Has(r.flags, kFieldFillPattern))
            f->SetPattern(uint8_t(r.pattern), 1);
        if (Has(r.flags, kFieldFillColour))
            f->SetColour(uint8_t(r.colour), 1);
        if (Has(r.flags, kFieldFillShade))
            f->SetTint(uint8_t(r.shade), 1);
        const bool clear = f->Attributes().background == kClear;
        if (Has(r.flags, kFieldOpaque)) {
            if (!r.opaque)
                f->SetColour(kClear, 2);
            else if (Has(r.flags, kFieldBackground))
                f->SetColour(uint8_t(r.background), 2);
            else if (clear)
                f->SetColour(1, 2);
        } else if (Has(r.flags, kFieldBackground) && !clear) {
            f->SetColour(uint8_t(r.background), 2);
        }
    }
    FinishChange(tool);
}

void CLabelsDoc::DoTextRunaround()
{
    FrameObj* source = nullptr;
    SelectionTool* tool = ObjectSelection();
    if (tool)
        source = tool->GetSelFrame(0);
    else if (currentTool_ == kToolText)
        source = TextToolFrame();
    if (!source)
        return;
    TextRunaroundRecord r;
    r.margin = source->Block().outlineInset;
    r.mode = source->Block().outlineKind;
    CDlgTextRunaround dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    auto change = [&](FrameObj* f) {
        f->MarkChanged(1, 0);
        f->SetOutline(uint8_t(r.mode), int16_t(r.margin));
        // A picture that text follows by its shape shows what is behind
        // it.
        if (f->GetType() == kFrameImage && r.mode == 2) {
            f->SetColour(kClear, 2);
            f->SetPattern(2, 1);
        }
    };
    FrameObj* last = source;
    if (tool) {
        for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
            last = tool->GetSelFrame(i);
            change(last);
        }
    } else {
        change(source);
    }
    SetUndoOwner(nullptr);
    manager_->InvalidateOverlaps(last, 0, 1);
    manager_->RedrawCurrentPage(0, 0, 0);
}

void CLabelsDoc::DoAlignObjects()
{
    SelectionTool* tool = ObjectSelection();
    if (!tool || tool->GetSelCount() < 2)
        return;
    AlignSelection selection;
    // The preview draws the card the frames stand on, not the whole page
    // area around both page slots.
    selection.pageRect = pageBlock_.slots[0];
    selection.pageOrigin = IntPoint{pageBlock_.slots[0].left, pageBlock_.slots[0].top};
    selection.currentIndex = std::max<int16_t>(tool->CurrentIndex(), 0);
    int32_t left = 0;
    int32_t top = 0;
    for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
        FrameObj* f = tool->GetSelFrame(i);
        AlignFrame entry;
        entry.type = f->GetType();
        entry.grouped = f->IdCount() > 0;
        f->GetBounds(&entry.bounds, kGeometryCurrent);
        entry.lineStyle = f->Geometry().lineStyle;
        if (entry.type == kFrameLine) {
            const FrameGeometry& g = f->Geometry();
            if (g.height == 0)
                entry.slope = AlignLineSlope::kHorizontal;
            else if (g.width == 0)
                entry.slope = AlignLineSlope::kVertical;
            else
                entry.slope = (g.height > 0) == (g.width > 0) ? AlignLineSlope::kFalls : AlignLineSlope::kRises;
        }
        if (i == 0 || entry.bounds.left < left) {
            left = entry.bounds.left;
            selection.leftIndex = i;
        }
        if (i == 0 || entry.bounds.top < top) {
            top = entry.bounds.top;
            selection.topIndex = i;
        }
        selection.frames.push_back(entry);
    }
    CDlgAlignment dialog(selection);
    dialog.SetModes(0, 0, false);
    if (RunWorkerDialog(dialog) != 1)
        return;
    tool->AlignSelection(int16_t(dialog.HorizontalMode()), int16_t(dialog.VerticalMode()), dialog.ToFirstSelected());
    tool->PublishGraphicAttrs();
    tool->SaveUndo(kUndoChangeFrame);
    tool->RedrawPage(0, 0);
}

bool CLabelsDoc::CanOpenStarInfo()
{
    SelectionTool* tool = ObjectSelection();
    return tool && tool->GetFrameType() == kFrameStar;
}

bool CLabelsDoc::CanOpenPowerTextInfo()
{
    SelectionTool* tool = ObjectSelection();
    return tool && tool->GetFrameType() == kFramePowerText;
}

void CLabelsDoc::OnStarInfo()
{
    if (CanOpenStarInfo())
        ObjectSelection()->GetSelFrame(0)->EditInfo(0);
}

bool CLabelsDoc::RunStarInfo(StarParams* star, const FrameGeometry& view)
{
    CDlgStarInfo dialog(ViewWidget());
    dialog.SetStar(*star, view);
    if (RunWorkerDialog(dialog) != 1)
        return false;
    dialog.GetStar(star);
    return true;
}

void CLabelsDoc::OnPowerTextInfo()
{
    if (CanOpenPowerTextInfo())
        ObjectSelection()->GetSelFrame(0)->EditInfo(0);
}
