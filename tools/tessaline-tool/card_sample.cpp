#include "card_sample.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "barcode/barcode_record.h"
#include "carddoc/labels_doc.h"
#include "database/field_table.h"
#include "foundation/pstr.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_star.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/story_store.h"
#include "frames/text_buffer.h"
#include "text/frame_flow.h"
#include "text/paragraph_storage.h"
#include "text/style_run_format.h"
#include "text/style_runs.h"
#include "text/text_context.h"

namespace {

// Colours of the document's colour table.
enum : uint8_t {
    kCardWhite = 0,
    kCardOrange = 2,
    kCardDarkBlue = 5,
    kCardDarkGray = 14,
    kCardBlack = 15,
};

constexpr int16_t kStyleBold = 1;
constexpr int16_t kStyleItalic = 2;

// One paragraph: its text with fields as "{id}", its size and style.
struct Line {
    std::vector<std::pair<std::string, int32_t>> pieces;  // text, or "" and a field id
    int16_t size;
    int16_t style;
    int16_t colour;
};

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

FrameObj* Shape(CLabelsDoc& doc, int16_t type, const IntRect& r, uint8_t fill, uint8_t border)
{
    FrameObj* f = doc.NewFrame(type);
    if (!f)
        return nullptr;
    f->SetFromRect(r);
    // Opaque, so that the star keeps its own colour over the disc.
    f->SetColour(fill, 1);
    f->SetColour(fill, 2);
    f->SetColour(border, 0);
    f->SetBorderWidth(0);
    return f;
}

// A text frame whose story holds the lines, with the fields marked as
// merge fields and each line's size, style and colour set.
bool TextBox(CLabelsDoc& doc, const IntRect& r, const std::vector<Line>& lines)
{
    FrameObj* f = doc.NewFrame(kFrameText);
    if (!f)
        return false;
    f->SetFromRect(r);
    f->SetColour(kNoBackground, 1);
    f->SetColour(kNoBackground, 2);
    f->SetBorderWidth(0);
    doc.Frames()->NewStory(f, true);
    const uint16_t story = uint16_t(f->Block().storyId);

    if (doc.Stories()->BindStory(story) != 0)
        return false;
    TextBuffer& buffer = doc.Stories()->Buffer();
    buffer.DeleteRange(0, buffer.Count());
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string text;
        for (const auto& [piece, field] : lines[i].pieces)
            text += piece.empty() ? FieldText(field) : piece;
        Handle h = NewParagraph();
        if (!h || ParagraphInsertBytes(h, 0, 0, reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size())) != 0)
            return false;
        buffer.InsertRecord(int32_t(i), h, false);
    }

    TextContext& ctx = doc.Text();
    BindFrame(&ctx, static_cast<FrameObjText*>(f));
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!ctx.SelectParagraph(int32_t(i)))
            return false;
        ParagraphText para = ctx.Current();
        std::array<int16_t, kAttributeCount> values = kRunDefaults;
        values[kRankSize] = lines[i].size;
        values[kRankStyle] = lines[i].style;
        values[kRankColour] = lines[i].colour;
        SetRunAttributes(&para, 0, para.Length(), kRunSize | kRunStyle | kRunColour, values, true);
        int32_t at = 0;
        for (const auto& [text, field] : lines[i].pieces) {
            const int32_t length = int32_t(text.empty() ? FieldText(field).size() : text.size());
            if (text.empty())
                MarkFieldRun(&para, at, int16_t(field), int16_t(length));
            at += length;
        }
        ctx.StoreFlags(para);
    }
    return true;
}

}  // namespace

bool BuildSampleCard(CLabelsDoc& doc)
{
    const IntRect page = doc.PageGeometry().slots[0];

    // The logo: a dark blue disc with an orange star on it.
    if (!Shape(doc, kFrameEllipse, OnCard(page, 14, 14, 54, 54), kCardDarkBlue, kCardDarkBlue))
        return false;
    FrameObj* star = Shape(doc, kFrameStar, OnCard(page, 20, 20, 48, 48), kCardOrange, kCardOrange);
    if (!star)
        return false;
    static_cast<FrameObjStar*>(star)->SetStarParams(StarParams{5, 0, 0.5});
    // A rule under the company line.
    if (!Shape(doc, kFrameRect, OnCard(page, 62, 42, 238, 45), kCardOrange, kCardOrange))
        return false;

    const bool text =
        TextBox(doc, OnCard(page, 62, 16, 240, 40), {{{{"", kFieldCompany}}, 14, kStyleBold, kCardDarkBlue}}) &&
        TextBox(doc, OnCard(page, 14, 62, 180, 94),
                {{{{"", kFieldFirstName}, {" ", 0}, {"", kFieldLastName}}, 11, kStyleBold, kCardBlack},
                 {{{"", kFieldTitle}}, 8, kStyleItalic, kCardDarkGray}}) &&
        TextBox(doc, OnCard(page, 14, 96, 168, 136),
                {{{{"", kFieldAddress1}}, 7, 0, kCardBlack},
                 {{{"", kFieldCity}, {", ", 0}, {"", kFieldState}, {" ", 0}, {"", kFieldZipCode}}, 7, 0, kCardBlack},
                 {{{"Tel. ", 0}, {"", kFieldPhone1}, {"  ", 0}, {"", kFieldEMail}}, 7, 0, kCardBlack}});
    if (!text)
        return false;

    FrameObj* bars = doc.NewFrame(kFrameBarcode);
    if (!bars)
        return false;
    bars->SetFromRect(OnCard(page, 172, 104, 240, 132));
    auto* barcode = static_cast<FrameObjBarcode*>(bars);
    BarcodeRecord rec;
    BarcodeRecordRead(barcode->Record(), &rec);
    PStrFromCStr(rec.data, "TS-0042");
    rec.type = kBarcodeCode39;
    rec.barHeight = 20.0;
    rec.module = 0.5;
    rec.space = 0.5;
    rec.charGap = 0.5;
    uint8_t bytes[kBarcodeRecordSize];
    BarcodeRecordWrite(rec, bytes);
    barcode->SetBarcodeRecord(bytes);
    bars->SetFontSize(6);
    bars->SetColour(kCardWhite, 1);
    bars->SetColour(kNoBackground, 2);
    bars->SetColour(kCardBlack, 0);
    return true;
}
