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

// What an information worker starts from: the attributes the selected
// frames share (the bits of `same` name those equal in all of them), the
// kind the selection reports, the ruler origin the dialogs measure
// positions from and the document's colours.
struct InfoSelection {
    SelectionTool* tool = nullptr;
    FrameAttributes image;
    uint32_t same = 0;
    int16_t type = 0;
    double originX = 0.0;
    double originY = 0.0;
    ColorTable* colours = nullptr;
};

// One row of the information workers' table: how the dialog's record is
// filled from the selection, what the dialog needs before it opens, how
// the answer goes into each selected frame, and what is then done once
// for the whole selection. RunInfoWorker does the steps around them the
// same way for every row.
template <class Dialog, class Record>
struct InfoWorker {
    void (*collect)(const InfoSelection& s, Record* r) = nullptr;
    void (*writeFrame)(FrameObj* f, const Record& r) = nullptr;
    void (*writeSelection)(const InfoSelection& s, const Record& r) = nullptr;
    void (*prepare)(Dialog* dialog, const InfoSelection& s) = nullptr;
};

// The origin a ruler keeps (0 across, 1 down), from the card's corner; 0
// without a view.
double RulerOrigin(CardViewServices* view, int axis)
{
    if (!view)
        return 0.0;
    uint8_t ruler[12] = {};
    view->GetRulerState(axis, ruler);
    return GetF64LE(ruler);
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

// Collect, ask, write back: nothing changes unless the dialog ends with
// OK, and then every selected frame is marked changed before its fields
// are written, and the whole change is one "Change Frame" undo step.
template <class Dialog, class Record>
void RunInfoWorker(const InfoWorker<Dialog, Record>& worker, SelectionTool* tool, CLabelsDoc* doc)
{
    if (!tool)
        return;
    InfoSelection s;
    s.tool = tool;
    s.type = tool->GetCommonAttrs(&s.image, &s.same);
    s.originX = doc->GetRulerOriginX();
    s.originY = doc->GetRulerOriginY();
    s.colours = &doc->Colours();
    Record r;
    worker.collect(s, &r);
    Dialog dialog;
    if (worker.prepare)
        worker.prepare(&dialog, s);
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    tool->ToggleHandles(false);
    for (int16_t i = 0; i < tool->GetSelCount(); ++i) {
        FrameObj* f = tool->GetSelFrame(i);
        f->MarkChanged(1, 0);
        worker.writeFrame(f, r);
    }
    if (worker.writeSelection)
        worker.writeSelection(s, r);
    FinishChange(tool);
}

// The position from the ruler origin, the angle, the size where the
// record has one, the three flags and the unit: what every placement
// record carries.
template <class Record>
void CollectPlacement(const InfoSelection& s, Record* r)
{
    const FrameGeometry& g = s.image.geometry;
    r->originAcross = g.x - s.originX;
    r->originDown = g.y - s.originY;
    r->boxAngle = g.angle;
    if constexpr (requires { r->height; }) {
        r->height = g.height;
        r->width = g.width;
    }
    r->printable = s.image.printable;
    r->locked = s.image.locked;
    r->visible = s.image.shown;
    r->units = decltype(r->units)(s.image.attrByte & 0x0F);
}

// The shown, locked, printable and units fields the user changed.
template <class Record>
void WriteFlags(FrameObj* f, uint32_t mask, const Record& r)
{
    if (Has(mask, kFieldVisible))
        f->SetShown(uint8_t(r.visible));
    if (Has(mask, kFieldLocked))
        f->SetLocked(uint8_t(r.locked));
    if (Has(mask, kFieldPrintable))
        f->SetPrintable(uint8_t(r.printable));
    if (Has(mask, kFieldUnitsChanged))
        f->SetAttrLowNibble(uint8_t(r.units));
}

// The placement fields the user changed, in the order x, y, height, width,
// angle; the origin is given from the ruler origin.
void WritePlacement(const InfoSelection& s, uint32_t which, double x, double y, double height, double width,
                    double angle)
{
    SelectionTool* tool = s.tool;
    if (Has(which, kFieldOriginAcross))
        tool->SetFramePlacement(0, Add32(TruncToInt32(x), TruncToInt32(s.originX)), 0, false);
    if (Has(which, kFieldOriginDown))
        tool->SetFramePlacement(1, Add32(TruncToInt32(y), TruncToInt32(s.originY)), 0, false);
    if (Has(which, kFieldHeight))
        tool->SetFramePlacement(3, TruncToInt32(height), 0, false);
    if (Has(which, kFieldWidth))
        tool->SetFramePlacement(2, TruncToInt32(width), 0, false);
    if (Has(which, kFieldBoxAngle))
        tool->SetFramePlacement(4, TruncToInt32(angle), 0, false);
}

// The bits of a colour set's colour, shade and pattern.
struct ColourBits {
    uint32_t colour;
    uint32_t shade;
    uint32_t pattern;
};
constexpr ColourBits kBorderBits{kFieldLineColour, kFieldLineShade, kFieldBorderPattern};
constexpr ColourBits kFillBits{kFieldFillColour, kFieldFillShade, kFieldFillPattern};

// The colour, shade and pattern of one colour set of a frame (0 the
// border's, 1 the fill's) that the user changed, in that order.
void WriteColourSet(FrameObj* f, uint32_t mask, const ColourBits& bits, int32_t colour, int32_t shade,
                    int32_t pattern, uint8_t selector)
{
    if (Has(mask, bits.colour))
        f->SetColour(uint8_t(colour), selector);
    if (Has(mask, bits.shade))
        f->SetTint(uint8_t(shade), selector);
    if (Has(mask, bits.pattern))
        f->SetPattern(uint8_t(pattern), selector);
}

// A placement record's fields among `which` that the user changed.
template <class Record>
void WriteRecordPlacement(const InfoSelection& s, uint32_t mask, uint32_t which, const Record& r)
{
    if constexpr (requires { r.height; })
        WritePlacement(s, which & mask, r.originAcross, r.originDown, r.height, r.width, r.boxAngle);
    else
        WritePlacement(s, which & mask, r.originAcross, r.originDown, 0, 0, r.boxAngle);
}

// Object Info: frames of a kind without a dialog of their own.
constexpr InfoWorker<CDlgObjectInfo, ObjectInfoRecord> kObjectInfo{
    .collect =
        [](const InfoSelection& s, ObjectInfoRecord* r) {
            CollectPlacement(s, r);
            r->flags = s.same;
            for (int16_t i = 0; i < s.tool->GetSelCount(); ++i) {
                if (IsBarcodeKind(s.tool->GetSelFrame(i)->GetType()))
                    r->sizeFixed = 1;
            }
        },
    .writeFrame = [](FrameObj* f, const ObjectInfoRecord& r) { WriteFlags(f, r.flags, r); },
    .writeSelection = [](const InfoSelection& s, const ObjectInfoRecord& r) {
        WriteRecordPlacement(s, r.flags, kAllFields, r);
    },
};

// The placement fields of a text box record that go back: every one,
// except one the selected frames have no single value for that still
// holds the stand-in it was shown with (a blank edit), which would give
// every frame a size of -1111 or turn it by -1 degree.
uint32_t TextBoxPlacementWritten(const InfoSelection& s, const TextBoxInfoRecord& r)
{
    TextBoxInfoRecord shown;
    CollectPlacement(s, &shown);
    uint32_t which = kAllFields;
    const auto leaveOut = [&](uint32_t bit, double TextBoxInfoRecord::*field) {
        if (!Has(s.same, bit) && r.*field == shown.*field)
            which &= ~bit;
    };
    leaveOut(kFieldOriginAcross, &TextBoxInfoRecord::originAcross);
    leaveOut(kFieldOriginDown, &TextBoxInfoRecord::originDown);
    leaveOut(kFieldHeight, &TextBoxInfoRecord::height);
    leaveOut(kFieldWidth, &TextBoxInfoRecord::width);
    leaveOut(kFieldBoxAngle, &TextBoxInfoRecord::boxAngle);
    return which;
}

// Text Box Information. The dialog shows every field of a text box, so
// all of them go back whatever its mask says, but for the placement
// fields the frames differ in and the user left blank.
constexpr InfoWorker<CDlgTextBoxInfo, TextBoxInfoRecord> kTextBoxInfo{
    .collect =
        [](const InfoSelection& s, TextBoxInfoRecord* r) {
            CollectPlacement(s, r);
            const FrameObj* first = s.tool->GetSelFrame(0);
            r->textInset = first->Block().textInset;
            r->textRunaround = first->Block().outlineKind == 0 ? 0 : 1;
            r->mask = s.same;
        },
    .writeFrame =
        [](FrameObj* f, const TextBoxInfoRecord& r) {
            f->Invalidate(1);
            WriteFlags(f, kAllFields, r);
            f->SetTextInset(int16_t(TruncToInt32(r.textInset)));
            f->SetOutline(r.textRunaround == 0 ? 0 : std::max<uint8_t>(f->Block().outlineKind, 1),
                          f->Block().outlineInset);
        },
    .writeSelection = [](const InfoSelection& s, const TextBoxInfoRecord& r) {
        WriteRecordPlacement(s, kAllFields, TextBoxPlacementWritten(s, r), r);
    },
};

// Group Information: a group moves and turns, its size follows its frames.
constexpr InfoWorker<CDlgGroupInfo, GroupInfoRecord> kGroupInfo{
    .collect =
        [](const InfoSelection& s, GroupInfoRecord* r) {
            CollectPlacement(s, r);
            r->flags = s.same;
        },
    .writeFrame =
        [](FrameObj* f, const GroupInfoRecord& r) {
            f->Invalidate(1);
            WriteFlags(f, r.flags, r);
        },
    .writeSelection = [](const InfoSelection& s, const GroupInfoRecord& r) {
        WriteRecordPlacement(s, r.flags, kFieldOriginAcross | kFieldOriginDown | kFieldBoxAngle, r);
    },
};

// Picture Information: the box as for any frame, and the picture inside it
// for the selected pictures.
constexpr InfoWorker<CDlgPictureInfo, PictureInfoRecord> kPictureInfo{
    .collect =
        [](const InfoSelection& s, PictureInfoRecord* r) {
            CollectPlacement(s, r);
            r->carried3[0] = 1;
            FrameObj* first = s.tool->GetSelFrame(0);
            if (first->GetType() == kFrameImage) {
                const ImageBlockA& a = static_cast<FrameObjImage*>(first)->BlockA();
                r->offsetAcross = a.pan.x;
                r->offsetDown = a.pan.y;
                r->pictureAngle = a.pictureAngle;
                r->scaleAcross = a.hScale;
                r->scaleDown = a.vScale;
                r->scaleWithBox = a.fit;
                r->display = a.displayPicture;
                r->printout = a.printPicture;
            }
            r->mask = s.same;
        },
    .writeFrame =
        [](FrameObj* f, const PictureInfoRecord& r) {
            WriteFlags(f, r.mask, r);
            if (f->GetType() != kFrameImage)
                return;
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
        },
    .writeSelection = [](const InfoSelection& s, const PictureInfoRecord& r) {
        WriteRecordPlacement(s, r.mask, kAllFields, r);
    },
};

// Line Information: caps, width, style and colours of every selected line;
// the end points of a single line.
constexpr InfoWorker<CDlgLineInfo, LineInfoRecord> kLineInfo{
    .collect =
        [](const InfoSelection& s, LineInfoRecord* r) {
            LineRecord ends;
            LinePlacementToRecord(s.tool->GetSelFrame(0)->Geometry(), &ends);
            r->borderStyle = s.image.geometry.lineStyle;
            r->pattern = s.image.borderPattern;
            r->leftCap = s.image.geometry.sides >> 4;
            r->rightCap = s.image.geometry.sides & 0x0F;
            r->colour = s.image.borderColour;
            r->shade = s.image.borderTint;
            r->width = s.image.geometry.lineWidth;
            r->printable = s.image.printable;
            r->locked = s.image.locked;
            r->visible = s.image.shown;
            r->leftAcross = ends.start.x - s.originX;
            r->leftDown = ends.start.y - s.originY;
            r->rightAcross = ends.end.x - s.originX;
            r->rightDown = ends.end.y - s.originY;
            r->units = s.image.attrByte & 0x0F;
            r->endPointLock = s.tool->GetSelCount();
            r->flags = s.same;
        },
    .writeFrame =
        [](FrameObj* f, const LineInfoRecord& r) {
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
            for (uint8_t selector : {uint8_t(0), uint8_t(1)})
                WriteColourSet(f, r.flags, kBorderBits, r.colour, r.shade, r.pattern, selector);
            WriteFlags(f, r.flags, r);
        },
    .writeSelection =
        [](const InfoSelection& s, const LineInfoRecord& r) {
            // End points belong to one line; with several selected only the
            // origin moves them together.
            const uint32_t endBits = kFieldOriginAcross | kFieldOriginDown | kFieldHeight | kFieldWidth;
            if (s.tool->GetSelCount() == 1 && (r.flags & endBits)) {
                FrameObj* f = s.tool->GetSelFrame(0);
                LineRecord moved;
                LinePlacementToRecord(f->Geometry(), &moved);
                moved.start = IntPoint{Add32(TruncToInt32(r.leftAcross), TruncToInt32(s.originX)),
                                       Add32(TruncToInt32(r.leftDown), TruncToInt32(s.originY))};
                moved.end = IntPoint{Add32(TruncToInt32(r.rightAcross), TruncToInt32(s.originX)),
                                     Add32(TruncToInt32(r.rightDown), TruncToInt32(s.originY))};
                FrameGeometry g = f->Geometry();
                LineRecordToPlacement(moved, &g);
                f->SetGeometry(g);
                f->Recompute(1);
            } else if (s.tool->GetSelCount() > 1) {
                WritePlacement(s, r.flags & (kFieldOriginAcross | kFieldOriginDown), r.leftAcross, r.leftDown, 0, 0,
                               0);
            }
        },
    .prepare = [](CDlgLineInfo* dialog, const InfoSelection& s) { dialog->SetColorTable(*s.colours); },
};

// Frame Information: the border's width, style, sides and colour.
constexpr InfoWorker<CDlgFrameInfo, FrameInfoRecord> kFrameInfo{
    .collect =
        [](const InfoSelection& s, FrameInfoRecord* r) {
            const FrameAttributes& image = s.image;
            r->borderStyle = image.geometry.lineStyle;
            r->colour = image.borderColour;
            r->width = image.geometry.lineWidth;
            r->shade = image.borderTint;
            r->above = (image.geometry.sides & kSideTop) != 0;
            r->below = (image.geometry.sides & kSideBottom) != 0;
            r->left = (image.geometry.sides & kSideLeft) != 0;
            r->right = (image.geometry.sides & kSideRight) != 0;
            r->borderPattern = image.borderPattern;
            r->fillColour = image.fillColour;
            r->background = image.background;
            r->fillShade = image.fillTint;
            r->fillPattern = image.fillPattern;
            r->opaque = image.background != kClear && Has(s.same, kFieldBackground);
            switch (s.type) {
            case kFrameRect:
            case kFrameText:
            case kFrameImage:
            case 8:
            case kFrameBarcode:
            case kFrameCounterBarcode:
            case kFrameBarcode13:
            case kFrameFieldBarcode:
            case kFramePicture:
            case kFrameBarcode18: r->sidesAllowed = 1; break;
            default: break;
            }
            r->flags = s.same;
            r->colorTable = s.colours;
        },
    .writeFrame =
        [](FrameObj* f, const FrameInfoRecord& r) {
            struct Side {
                uint32_t bit;
                uint8_t side;
                uint8_t on;
            };
            const Side sides[] = {{kFieldLeftSide, kSideLeft, r.left},
                                  {kFieldBelow, kSideBottom, r.below},
                                  {kFieldRightSide, kSideRight, r.right},
                                  {kFieldAbove, kSideTop, r.above}};
            if (Has(r.flags, kFieldLineWidth))
                f->SetBorderWidth(r.width);
            if (Has(r.flags, kFieldBorderStyle))
                f->SetBorderStyle(r.borderStyle);
            FrameGeometry g = f->Geometry();
            bool sidesChanged = false;
            for (const Side& side : sides) {
                if (Has(r.flags, side.bit)) {
                    g.sides = uint8_t(side.on ? (g.sides | side.side) : (g.sides & ~side.side));
                    sidesChanged = true;
                }
            }
            if (sidesChanged)
                f->SetGeometry(g);
            WriteColourSet(f, r.flags, kBorderBits, r.colour, r.shade, r.borderPattern, 0);
            f->Recompute(1);
        },
};

// Fill Information: the fill's colour, shade and pattern and whether the
// frames are opaque.
constexpr InfoWorker<CDlgFillInfo, FillInfoRecord> kFillInfo{
    .collect =
        [](const InfoSelection& s, FillInfoRecord* r) {
            r->pattern = s.image.fillPattern;
            r->colour = s.image.fillColour;
            r->background = s.image.background;
            r->shade = s.image.fillTint;
            const bool oneBackground = Has(s.same, kFieldBackground);
            r->opaque = oneBackground && s.image.background != kClear ? 1 : 0;
            if (!r->opaque)
                r->background = 1;
            r->flags = s.same & ~kFieldOpaque;
            if (oneBackground)
                r->flags |= kFieldOpaque;
            if (!oneBackground) {
                bool anyClear = false;
                for (int16_t i = 0; i < s.tool->GetSelCount(); ++i)
                    anyClear = anyClear || s.tool->GetSelFrame(i)->Attributes().background == kClear;
                if (!anyClear) {
                    r->opaque = 1;
                    r->flags |= kFieldOpaque;
                }
            }
            r->colorTable = s.colours;
        },
    .writeFrame =
        [](FrameObj* f, const FillInfoRecord& r) {
            const int16_t type = f->GetType();
            // Lines and arcs draw with their first colour set too.
            if (type == kFrameLine || type == kFrameArc)
                WriteColourSet(f, r.flags, kFillBits, r.colour, r.shade, r.pattern, 0);
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
        },
};

}  // namespace

SelectionTool* CLabelsDoc::ObjectSelection()
{
    if (currentTool_ != kToolObject)
        return nullptr;
    SelectionTool* tool = SelectionToolOf(this);
    return tool && tool->GetSelCount() > 0 ? tool : nullptr;
}

double CLabelsDoc::GetRulerOriginX() { return CardCorner().x + RulerOrigin(view_, 0); }

double CLabelsDoc::GetRulerOriginY() { return CardCorner().y + RulerOrigin(view_, 1); }

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

void CLabelsDoc::DoObjectInfoDialog() { RunInfoWorker(kObjectInfo, ObjectSelection(), this); }
void CLabelsDoc::DoTextBoxInfo() { RunInfoWorker(kTextBoxInfo, ObjectSelection(), this); }
void CLabelsDoc::DoGroupInfo() { RunInfoWorker(kGroupInfo, ObjectSelection(), this); }
void CLabelsDoc::DoPictureInfo() { RunInfoWorker(kPictureInfo, ObjectSelection(), this); }
void CLabelsDoc::DoLineInfo() { RunInfoWorker(kLineInfo, ObjectSelection(), this); }
void CLabelsDoc::DoFrameInfo() { RunInfoWorker(kFrameInfo, ObjectSelection(), this); }
void CLabelsDoc::DoFillInfo() { RunInfoWorker(kFillInfo, ObjectSelection(), this); }

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
