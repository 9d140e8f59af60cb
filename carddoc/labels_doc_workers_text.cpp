// The Text menu's information workers: Character Info, Paragraph Info and
// Tabs. With the Text tool the answer goes into the tool's current format
// and the tool applies it to the text in edit; Character Info with the
// Object tool writes the changed fields into the selected frames.
#include <array>
#include <cstring>

#include "carddoc/labels_doc.h"
#include "carddoc/selection_tool.h"
#include "carddoc/worker_dialog.h"
#include "dialogs/char_info_dialog.h"
#include "dialogs/paragraph_info_dialog.h"
#include "dialogs/tab_record.h"
#include "dialogs/tabs_dialog.h"
#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_text.h"
#include "frames/style_record_format.h"
#include "frames/style_run_format.h"
#include "text/para_format.h"
#include "text/paragraph_commands.h"
#include "text/text_context.h"
#include "text/text_tool.h"
#include "typography/color_table.h"

namespace {

// The seven style switches in the order of their bits 1 to 64.
constexpr int kStyleSwitches = 7;

std::array<uint8_t*, kStyleSwitches> StyleFlags(CharInfoRecord& r)
{
    return {&r.bold, &r.italic, &r.underlined, &r.outlined, &r.shadowed, &r.condensed, &r.extended};
}

int16_t FormatWord(const uint8_t* format, int rank) { return GetI16LE(format + kStyleBaseFormatOffset + 2 * rank); }

void PutFormatWord(uint8_t* format, int rank, int16_t value)
{
    PutI16LE(format + kStyleBaseFormatOffset + 2 * rank, value);
}

bool IsMixedStyle(int16_t style) { return style == kAttrNotSet || style == -1; }

// The record the dialog opens with. Raised text is -1 and lowered text 1
// in the runs, as the Superscript and Subscript items set them; -100 is
// the "not one value" marker of that word.
CharInfoRecord CharRecord(int16_t baseline, int16_t caps, int16_t font, int16_t size, int16_t colour, int16_t shade,
                          int16_t style)
{
    CharInfoRecord r;
    r.font = font;
    r.size = size;
    r.colour = colour;
    r.shade = shade;
    r.superscript = baseline < 0 && baseline != -100 ? 1 : 0;
    r.subscript = baseline > 0 ? 1 : 0;
    r.smallCaps = caps > 0 ? 1 : 0;
    if (!IsMixedStyle(style)) {
        auto flags = StyleFlags(r);
        for (int i = 0; i < kStyleSwitches; ++i)
            *flags[size_t(i)] = (style & (1 << i)) != 0 ? 1 : 0;
    }
    r.plain = style == 0 && baseline == 0 && r.smallCaps == 0 ? 1 : 0;
    return r;
}

int16_t StyleOf(CharInfoRecord& r)
{
    int16_t style = 0;
    auto flags = StyleFlags(r);
    for (int i = 0; i < kStyleSwitches; ++i) {
        if (*flags[size_t(i)])
            style = int16_t(style | (1 << i));
    }
    return style;
}

CharInfoDocument DocumentFor(CLabelsDoc* doc)
{
    CharInfoDocument d;
    d.fonts = &doc->Fonts();
    d.colors = &doc->Colours();
    d.smallCapsPercent = int32_t(doc->GeneralPref(kPrefSmallCaps));
    d.superscriptPercent = int32_t(doc->GeneralPref(kPrefSuperscript));
    d.subscriptPercent = int32_t(doc->GeneralPref(kPrefSubscript));
    return d;
}

}  // namespace

void CLabelsDoc::DoCharacterInfo()
{
    TextTool* text = currentTool_ == kToolText ? Tool() : nullptr;
    SelectionTool* selection = text ? nullptr : ObjectSelection();
    if (!text && !selection)
        return;
    std::array<uint8_t, kStyleRecordSize> format{};
    CharInfoRecord before;
    if (text) {
        std::memcpy(format.data(), text->CurrentFormat(), kStyleRecordSize);
        const uint8_t* f = format.data();
        before = CharRecord(FormatWord(f, kRankSuperSub), FormatWord(f, kRankCaps), FormatWord(f, kRankFont),
                            FormatWord(f, kRankSize), FormatWord(f, kRankColour), FormatWord(f, kRankShade),
                            FormatWord(f, kRankStyle));
        before.extendedStylesAllowed = 1;
    } else {
        FrameAttributes image;
        uint32_t same = 0;
        selection->GetCommonAttrs(&image, &same);
        before = CharRecord(0, 0, image.fontId, image.fontSize, image.textColour, image.textTint, image.fontStyle);
    }
    CDlgCharInfo dialog;
    dialog.SetDocument(DocumentFor(this));
    dialog.SetRecord(before);
    if (RunWorkerDialog(dialog) != 1)
        return;
    CharInfoRecord r = dialog.Record();
    const uint32_t changed = r.flags;
    const int16_t style = StyleOf(r);

    if (text) {
        uint8_t* f = format.data();
        if (changed & kCharFont)
            PutFormatWord(f, kRankFont, r.font);
        if (changed & kCharSize)
            PutFormatWord(f, kRankSize, r.size);
        if (changed & kCharColour)
            PutFormatWord(f, kRankColour, r.colour);
        if (changed & kCharShade)
            PutFormatWord(f, kRankShade, r.shade);
        if (changed & kCharScript)
            PutFormatWord(f, kRankSuperSub, int16_t(r.superscript ? -1 : r.subscript ? 1 : 0));
        if (changed & kCharSmallCaps)
            PutFormatWord(f, kRankCaps, int16_t(r.smallCaps ? GeneralPref(kPrefSmallCaps) : 0));
        // Only the switches the user turned over change in the text: a
        // style the selection mixes keeps its other bits character by
        // character.
        int16_t turned = 0;
        if (changed & kCharStyle) {
            PutFormatWord(f, kRankStyle, style);
            turned = int16_t((style ^ StyleOf(before)) & 0x7F);
        }
        text->SetCurrentFormat(f, text->DatabaseField());
        text->ApplyCharacterInfo(int16_t(changed & kRunValueBits), turned);
        return;
    }

    selection->ToggleHandles(false);
    for (int16_t i = 0; i < selection->GetSelCount(); ++i) {
        FrameObj* frame = selection->GetSelFrame(i);
        frame->MarkChanged(1, 0);
        if (changed & kCharFont)
            frame->SetFont(r.font);
        if (changed & kCharSize)
            frame->SetFontSize(r.size);
        if (changed & kCharColour)
            frame->SetColour(uint8_t(r.colour), 3);
        if (changed & kCharShade)
            frame->SetTint(uint8_t(r.shade), 3);
        if (changed & kCharStyle)
            frame->SetFontStyle(style, 0, 0);
    }
    selection->MarkChangedAndRedraw(true, true);
    selection->ToggleHandles(true);
    selection->PublishGraphicAttrs();
    selection->PublishTextAttrs();
    selection->SaveUndo(kUndoChangeFrame);
}

void CLabelsDoc::DoParagraphInfo()
{
    TextTool* text = currentTool_ == kToolText ? Tool() : nullptr;
    if (!text)
        return;
    std::array<uint8_t, kStyleRecordSize> format{};
    std::memcpy(format.data(), text->CurrentFormat(), kStyleRecordSize);
    ParaFormat para = GetParaFormat(format.data() + kStyleParaFormatOffset);
    // In a frame the caret's paragraph speaks for itself; without one the
    // tool's format is what the next text will get.
    if (text->EditFrame() && textContext_) {
        text->BindEditor();
        const ParagraphText paragraph = textContext_->Current();
        if (paragraph.valid())
            para = EffectiveParaFormat(textContext_->Styles(), paragraph, false);
    }
    ParagraphInfoRecord r;
    r.leftIndent = para.leftIndent;
    r.rightIndent = para.rightIndent;
    r.firstLine = para.firstLineIndent;
    r.leading = para.leading;
    r.spaceBefore = para.spaceBefore;
    r.spaceAfter = para.spaceAfter;
    r.keepWithNext = para.keepWithNext;
    r.keepLinesTogether = para.keepTogether;
    r.units = int32_t(GeneralPref(kPrefHorizontalUnit));
    r.alignment = para.alignment;
    CDlgParagraphInfo dialog;
    dialog.SetRecord(r);
    if (RunWorkerDialog(dialog) != 1)
        return;
    r = dialog.Record();
    auto points = [](double v) { return int16_t(TruncToInt32(v)); };
    para.leftIndent = points(r.leftIndent);
    para.rightIndent = points(r.rightIndent);
    para.firstLineIndent = points(r.firstLine);
    para.leading = points(r.leading);
    para.spaceBefore = points(r.spaceBefore);
    para.spaceAfter = points(r.spaceAfter);
    para.keepWithNext = r.keepWithNext != 0 ? 1 : 0;
    para.keepTogether = r.keepLinesTogether != 0 ? 1 : 0;
    para.alignment = int16_t(r.alignment);
    PutParaFormat(format.data() + kStyleParaFormatOffset, para);
    text->SetCurrentFormat(format.data(), text->DatabaseField());
    text->ApplyParagraphInfo();
}

void CLabelsDoc::DoTabs()
{
    TextTool* text = currentTool_ == kToolText ? Tool() : nullptr;
    FrameObjText* frame = text ? text->EditFrame() : nullptr;
    if (!frame || !textContext_)
        return;
    text->BindEditor();
    const ParagraphText paragraph = textContext_->Current();
    if (!paragraph.valid())
        return;
    IntRect area;
    frame->GetTextRect(&area);
    const int32_t width = area.right - area.left;
    const ParaFormat para = EffectiveParaFormat(textContext_->Styles(), paragraph, false);
    TabRecord record;
    EffectiveTabs(textContext_->Styles(), paragraph, width, record.bytes);
    TabStops tail(record.bytes);
    tail.SetMaxWidth(int16_t(width));
    tail.SetFirstLine(para.firstLineIndent);
    tail.SetLeftMargin(para.leftIndent);
    tail.SetRightMargin(int16_t(width - para.rightIndent));
    CDlgTabs dialog;
    dialog.Init(int32_t(GeneralPref(kPrefHorizontalUnit)), record);
    if (RunWorkerDialog(dialog) != 1)
        return;
    record = dialog.Record();
    const TabStops answer(record.bytes);
    const int16_t rightIndent = int16_t(width - answer.GetRightMargin());
    if (answer.GetLeftMargin() != para.leftIndent || rightIndent != para.rightIndent ||
        answer.GetFirstLine() != para.firstLineIndent) {
        std::array<uint8_t, kStyleRecordSize> format{};
        std::memcpy(format.data(), text->CurrentFormat(), kStyleRecordSize);
        ParaFormat wanted = para;
        wanted.leftIndent = answer.GetLeftMargin();
        wanted.rightIndent = rightIndent;
        wanted.firstLineIndent = answer.GetFirstLine();
        PutParaFormat(format.data() + kStyleParaFormatOffset, wanted);
        text->SetCurrentFormat(format.data(), text->DatabaseField());
        text->ApplyParagraphInfo();
        text->BindEditor();
    }
    SetTabs(textContext_.get(), record.bytes);
}
