#include "card_builder.h"

#include <array>
#include <cstring>

#include "barcode/barcode_record.h"
#include "carddoc/labels_doc.h"
#include "database/field_table.h"
#include "foundation/byte_order.h"
#include "foundation/path_record.h"
#include "foundation/pstr.h"
#include "graphics/font_spec.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_obj_power_text.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/paragraph_storage.h"
#include "frames/story_store.h"
#include "frames/style_run_format.h"
#include "frames/style_runs.h"
#include "frames/text_buffer.h"
#include "text/frame_flow.h"
#include "text/paragraph_commands.h"
#include "text/text_context.h"
#include "typography/font_list.h"
#include "typography/font_table.h"
#include "typography/glyph_effect_format.h"

std::string FieldText(int32_t id)
{
    char name[kFieldTypeNameSize] = {};
    FieldTypeName(id, name, true, true);
    return name;
}

IntRect OnCard(const IntRect& page, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return IntRect{page.left + left, page.top + top, page.left + right, page.top + bottom};
}

FrameObj* CardStroke(CLabelsDoc& doc, int16_t type, const IntRect& r, uint8_t colour, int16_t width)
{
    FrameObj* f = doc.NewFrame(type);
    if (!f)
        return nullptr;
    f->SetFromRect(r);
    f->SetColour(colour, 0);
    f->SetBorderWidth(width);
    return f;
}

FrameObj* CardShape(CLabelsDoc& doc, int16_t type, const IntRect& r, uint8_t fill, uint8_t border)
{
    FrameObj* f = CardStroke(doc, type, r, border, 0);
    // Opaque, so that the star keeps its own colour over the disc.
    if (f) {
        f->SetColour(fill, 1);
        f->SetColour(fill, 2);
    }
    return f;
}

FrameObj* CardPicture(CLabelsDoc& doc, const IntRect& r, const std::string& file)
{
    auto* f = dynamic_cast<FrameObjImage*>(doc.NewFrame(kFrameImage));
    PathRecord path{};
    if (!f || PathRecordFromPosix(file, &path) != 0)
        return nullptr;
    f->SetFromRect(r);
    f->SetColour(kNoBackground, 1);
    f->SetColour(kNoBackground, 2);
    f->SetBorderWidth(0);
    return f->LoadFromFile(path, 0) == 0 && !f->PictureUnreadable() ? f : nullptr;
}

FrameObj* CardBarcode(CLabelsDoc& doc, const IntRect& r, int16_t type, const std::string& data, double barHeight,
                      int16_t frame)
{
    auto* barcode = dynamic_cast<FrameObjBarcode*>(doc.NewFrame(frame));
    if (!barcode)
        return nullptr;
    barcode->SetFromRect(r);
    BarcodeRecord rec;
    BarcodeRecordRead(barcode->Record(), &rec);
    PStrFromCStr(rec.data, data.c_str());
    rec.type = type;
    rec.barHeight = barHeight;
    rec.module = 0.5;
    rec.space = 0.5;
    rec.charGap = 0.5;
    uint8_t bytes[kBarcodeRecordSize];
    BarcodeRecordWrite(rec, bytes);
    barcode->SetBarcodeRecord(bytes);
    barcode->SetFontSize(6);
    barcode->SetColour(kCardWhite, 1);
    barcode->SetColour(kNoBackground, 2);
    barcode->SetColour(kCardBlack, 0);
    return barcode;
}

FrameObj* CardFieldBarcode(CLabelsDoc& doc, const IntRect& r, int16_t type, int16_t field)
{
    auto* barcode = static_cast<FrameObjBarcode*>(CardBarcode(doc, r, type, "", 12.0, kFrameFieldBarcode));
    if (!barcode)
        return nullptr;
    // The designs it is compared with encode the field without a check
    // character.
    BarcodeRecord rec;
    BarcodeRecordRead(barcode->Record(), &rec);
    rec.addCheckDigit = 0;
    uint8_t bytes[kBarcodeRecordSize];
    BarcodeRecordWrite(rec, bytes);
    barcode->SetBarcodeRecord(bytes);
    barcode->SetDataField(field);
    // A field starts shown as its name; only the mark makes it print bars.
    barcode->SetBarcodeOption(1);
    return barcode;
}

void SetCardBarcodeModule(FrameObj* frame, double module)
{
    auto* barcode = static_cast<FrameObjBarcode*>(frame);
    BarcodeRecord rec;
    BarcodeRecordRead(barcode->Record(), &rec);
    rec.module = module;
    uint8_t bytes[kBarcodeRecordSize];
    BarcodeRecordWrite(rec, bytes);
    barcode->SetBarcodeRecord(bytes);
}

// The id of a TrueType face in the document's font table, entered there
// when new. An installed face is entered as the font list describes it, as
// the font menus do; a family guessed here would not match the installed
// face when the card is opened again, and the face would be offered as a
// replacement for itself.
static int16_t FaceId(CLabelsDoc& doc, const std::string& face)
{
    FontSpec font;
    FontList* list = GetGlobalFontList();
    if (list->GetCount() == 0) {
        LogFont all;
        all.charSet = DEFAULT_CHARSET;
        list->Build(&all);
    }
    const int32_t index = list->FindFont(face.c_str(), kFontTypeTrueType);
    if (index < 0 || !list->GetFontSpec(index, ANSI_CHARSET, &font)) {
        font = FontSpec{};
        font.type = kFontTypeTrueType;
        font.pitchAndFamily = 0x22;
        std::strncpy(font.faceName, face.c_str(), sizeof font.faceName - 1);
    }
    const int32_t id = doc.Fonts().GetFontId(&font);
    // Text finds its font through the substitute the check records.
    doc.Fonts().CheckInstalledFonts();
    return int16_t(id);
}

FrameObj* CardTextBox(CLabelsDoc& doc, const IntRect& r, const std::vector<CardLine>& lines)
{
    FrameObj* f = doc.NewFrame(kFrameText);
    if (!f)
        return nullptr;
    f->SetFromRect(r);
    f->SetColour(kNoBackground, 1);
    f->SetColour(kNoBackground, 2);
    f->SetBorderWidth(0);
    doc.Frames()->NewStory(f, true);
    const uint16_t story = uint16_t(f->Block().storyId);

    if (doc.Stories()->BindStory(story) != 0)
        return nullptr;
    TextBuffer& buffer = doc.Stories()->Buffer();
    buffer.DeleteRange(0, buffer.Count());
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string text;
        for (const auto& [piece, field] : lines[i].pieces)
            text += piece.empty() ? FieldText(field) : piece;
        Handle h = NewParagraph();
        if (!h || ParagraphInsertBytes(h, 0, 0, reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size())) != 0)
            return nullptr;
        buffer.InsertRecord(int32_t(i), h, false);
    }

    TextContext& ctx = doc.Text();
    BindFrame(&ctx, static_cast<FrameObjText*>(f));
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!ctx.SelectParagraph(int32_t(i)))
            return nullptr;
        ParagraphText para = ctx.Current();
        std::array<int16_t, kAttributeCount> values = kRunDefaults;
        values[kRankSize] = lines[i].size;
        values[kRankStyle] = lines[i].style;
        values[kRankColour] = lines[i].colour;
        uint16_t set = kRunSize | kRunStyle | kRunColour;
        if (!lines[i].face.empty()) {
            values[kRankFont] = FaceId(doc, lines[i].face);
            if (values[kRankFont] < 0)
                return nullptr;
            set = uint16_t(set | kRunFont);
        }
        SetRunAttributes(&para, 0, para.Length(), set, values, true);
        int32_t at = 0;
        for (const auto& [text, field] : lines[i].pieces) {
            const int32_t length = int32_t(text.empty() ? FieldText(field).size() : text.size());
            if (text.empty())
                MarkFieldRun(&para, at, int16_t(field), int16_t(length));
            at += length;
        }
        ctx.StoreFlags(para);
        if (lines[i].alignment != kAlignLeft) {
            if (!ctx.SelectParagraph(int32_t(i)))
                return nullptr;
            SetAlignment(&ctx, lines[i].alignment);
        }
    }
    return f;
}

FrameObj* CardCounter(CLabelsDoc& doc, const IntRect& r)
{
    FrameObj* f = doc.NewFrame(kFrameCounterBarcode);
    if (!f)
        return nullptr;
    f->SetFromRect(r);
    f->SetFontSize(6);
    f->SetColour(kCardWhite, 1);
    f->SetColour(kNoBackground, 2);
    f->SetColour(kCardBlack, 0);
    return f;
}

FrameObj* CardGroup(CLabelsDoc& doc, const IntRect& r, FrameObj* first, FrameObj* second)
{
    FrameObj* group = first && second ? doc.NewFrame(kFrameGroup) : nullptr;
    if (!group)
        return nullptr;
    group->SetFromRect(r);
    first->AppendId(group->FrameId());
    second->AppendId(group->FrameId());
    return group;
}

FrameObj* CardDisplayText(CLabelsDoc& doc, const IntRect& r, const char* line)
{
    auto* power = dynamic_cast<FrameObjPowerText*>(doc.NewFrame(kFramePowerText));
    if (!power)
        return nullptr;
    power->SetFromRect(r);
    power->SetColour(kNoBackground, 1);
    power->SetColour(kNoBackground, 2);
    power->SetBorderWidth(0);
    uint8_t effect[kGlyphRecordSize];
    std::memcpy(effect, power->Effect(), sizeof effect);
    PStrFromCStr(effect + kGlyphLine1Offset, line);
    // Words at their byte offsets: one line across, centred, outlined,
    // filled with a blend from dark blue to cyan, with a grey drop shadow
    // (the style's choices count from 1).
    const struct {
        size_t offset;
        uint16_t value;
    } kEffect[] = {{kGlyphShapeOffset, 1}, {kGlyphAlignmentOffset, 2}, {kGlyphOrientationOffset, 1},
                   {142, 1}, {144, kCardBlack}, {146, 100}, {148, 2}, {150, kCardDarkBlue}, {152, 100},
                   {154, kCardCyan}, {156, 100}, {158, 2}, {160, 1}, {162, 1}, {164, kCardLightGray},
                   {166, 100}, {168, 1}, {170, 100}};
    for (const auto& e : kEffect)
        PutU16LE(effect + e.offset, e.value);
    power->SetEffect(effect);
    return power;
}
