// The sample page's cells for the frames that show content. The page has
// no text engine and no card database: its text frames show three fixed
// lines, and record-fed frames show what they show off a record (field
// names, "[Counter]", the Postnet sample).
#include "tools/stand_ins/sample_page.h"

#include <cstring>

#include "barcode/barcode_record.h"
#include "foundation/byte_order.h"
#include "frames/content_frame_host.h"
#include "frames/frame_obj_barcode13.h"
#include "frames/frame_obj_barcode18.h"
#include "frames/frame_obj_counter_barcode.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_obj_power_text.h"
#include "frames/frame_obj_text.h"
#include "frames/text_frame_engine.h"
#include "graphics/dib_pixels.h"
#include "graphics/quick_card_block.h"
#include "graphics/quick_card_format.h"
#include "tools/stand_ins/stand_in_hosts.h"

namespace {

// Three lines in Arial from the top of the text rectangle.
class SampleTextEngine : public TextFrameEngine {
public:
    bool SelectStory(int16_t) override { return true; }
    void ClearCaretDrawn() override {}
    void LoadWrapOutline(FrameObjText*) override {}
    void BuildTextWrapOutline(FrameObjText*, Dc*) override {}
    void SetTextRect(const IntRect& rect) override { rect_ = rect; }
    void DrawText(Dc* dc, FrameObjText* frame) override
    {
        IntRect r = rect_;
        frame->DocToViewRect(&r);
        LogFont f;
        std::strncpy(f.faceName, "Arial", sizeof f.faceName - 1);
        f.height = -frame->DocToViewLength(14);
        const LogFont old = dc->selectFont(f);
        const uint32_t align = dc->setTextAlign(TA_TOP | TA_LEFT);
        const ColorRef colour = dc->setTextColor(SampleColour(kSampleNavy));
        const char* lines[] = {"Text frame", "laid out in", "its text rectangle"};
        for (int i = 0; i < 3; ++i)
            dc->textOut(r.left, r.top + i * frame->DocToViewLength(17), lines[i]);
        dc->setTextColor(colour);
        dc->setTextAlign(align);
        dc->selectFont(old);
    }
    void DrawEditSelection(Dc*, FrameObjText*) override {}

private:
    IntRect rect_;
};

class SampleHost : public StandInContentHost {
public:
    TextFrameEngine* TextEngine() override { return &engine_; }

private:
    SampleTextEngine engine_;
};

SampleHost gHost;

IntRect At(const IntRect& cell, int32_t left, int32_t top, int32_t width, int32_t height)
{
    return IntRect{cell.left + left, cell.top + top, cell.left + left + width, cell.top + top + height};
}

void Colours(FrameObj* f, uint8_t fill, uint8_t background, uint8_t border, int16_t width)
{
    f->SetColour(fill, 1);
    f->SetColour(background, 2);
    f->SetColour(border, 0);
    f->SetBorderWidth(width);
}

void TextCell(SamplePageDocument& doc, const IntRect& cell)
{
    SetFallbackContentHost(&gHost);
    if (FrameObj* f = doc.AddFrame(kFrameText, At(cell, 12, 12, 156, 62)))
        Colours(f, kSampleLightGray, kSampleLightGray, kSampleBlack, 1);
    // Turned by itself: drawn from its rotated-text image.
    if (FrameObj* f = doc.AddFrame(kFrameText, At(cell, 25, 92, 130, 58))) {
        Colours(f, kSampleWhite, kNoBackground, kSampleNavy, 1);
        f->SetGeometryField(4, 15);
    }
}

void BarcodeCell(SamplePageDocument& doc, const IntRect& cell)
{
    FrameObj* f = doc.AddFrame(kFrameBarcode, At(cell, 20, 20, 140, 100));
    if (!f)
        return;
    auto* barcode = static_cast<FrameObjBarcode*>(f);
    BarcodeRecord rec;
    BarcodeRecordRead(barcode->Record(), &rec);
    PStrFromCStr(rec.data, "03600029145");
    uint8_t bytes[kBarcodeRecordSize];
    BarcodeRecordWrite(rec, bytes);
    barcode->SetBarcodeRecord(bytes);
    Colours(f, kSampleWhite, kSampleWhite, kSampleBlack, 0);
    // Selected: its four handles show.
    f->SetSelected(1);
}

// The counter off a record shows its name as text; the field barcode shows
// its field's name where its bars will be.
void CounterAndFieldCell(SamplePageDocument& doc, const IntRect& cell)
{
    if (FrameObj* counter = doc.AddFrame(kFrameCounterBarcode, At(cell, 15, 20, 150, 30))) {
        counter->SetColour(kSampleYellow, 1);
        counter->SetColour(kSampleYellow, 2);
        counter->SetFontSize(16);
    }
    if (FrameObj* field = doc.AddFrame(kFrameFieldBarcode, At(cell, 15, 90, 150, 30))) {
        field->SetDataField(10);
        field->SetBarcodeOption(1);
        field->SetColour(kSampleCyan, 1);
        field->SetColour(kSampleCyan, 2);
    }
}

void QuickCardCell(SamplePageDocument& doc, const IntRect& cell)
{
    // Its Postnet sample is wider than the cell: it grows to the right.
    if (FrameObj* f = doc.AddFrame(kFrameBarcode13, At(cell, 2, 10, 160, 140)))
        Colours(f, kSampleWhite, kSampleWhite, kSampleBlack, 1);
}

void QuickCardBlockCell(SamplePageDocument& doc, const IntRect& cell)
{
    FrameObj* f = doc.AddFrame(kFrameBarcode18, At(cell, 2, 10, 160, 140));
    if (!f)
        return;
    Colours(f, kSamplePink, kSamplePink, kSampleBlack, 1);
    Handle block = QuickCardBlockNew();
    const struct {
        const char* text;
        int32_t field;
        int16_t newLine;
    } kPieces[] = {{"Dear ", -1, 0}, {"customer,", -1, 0}, {"a Quick Card block", -1, 1}, {"under its bars", -1, 1}};
    for (const auto& piece : kPieces) {
        Handle item = QuickCardItemNew();
        QuickCardItemSetText(item, piece.text, int32_t(std::strlen(piece.text)));
        PutI32LE(HandleData(item) + kQcItemField, piece.field);
        PutI16LE(HandleData(item) + kQcItemNewLine, piece.newLine);
        QuickCardBlockAppendItem(block, item);
        HandleFree(item);
    }
    static_cast<FrameObjBarcode18*>(f)->SetQuickCardBlock(block);
    HandleFree(block);
}

void PowerTextCell(SamplePageDocument& doc, const IntRect& cell)
{
    FrameObj* f = doc.AddFrame(kFramePowerText, At(cell, 15, 35, 150, 90));
    if (!f)
        return;
    Colours(f, kSampleOrange, kSampleOrange, kSampleBrown, 2);
    auto* power = static_cast<FrameObjPowerText*>(f);
    uint8_t effect[kGlyphRecordSize];
    std::memcpy(effect, power->Effect(), sizeof effect);
    effect[kGlyphLine1Offset] = 5;
    std::memcpy(effect + kGlyphLine1Offset + 1, "Power", 5);
    PutU16LE(effect + kGlyphFontIdOffset, 0);
    power->SetEffect(effect);
}

// A red disc and a blue square on white.
DibHandle SamplePicture()
{
    DibHandle h = DibHandleNew();
    if (!h || DibHandleCreate(h, 100, 70, 24) != 0) {
        DibHandleFree(&h);
        return nullptr;
    }
    for (int32_t y = 0; y < 70; ++y) {
        for (int32_t x = 0; x < 100; ++x) {
            const int32_t dx = x - 35, dy = y - 35;
            ColorRef c = kWhite;
            if (dx * dx + dy * dy < 28 * 28)
                c = SampleColour(kSampleRed);
            else if (x >= 68 && x < 94 && y >= 20 && y < 46)
                c = SampleColour(kSampleBlue);
            DibHandleSetPixel(h, x, y, c);
        }
    }
    return h;
}

// Over a green bar: without a background the picture's white lets the bar
// show; with one it does not.
void ImageCell(SamplePageDocument& doc, const IntRect& cell)
{
    if (FrameObj* bar = doc.AddFrame(kFrameRect, At(cell, 75, 10, 30, 140)))
        Colours(bar, kSampleGreen, kSampleGreen, kSampleGreen, 0);
    if (FrameObj* f = doc.AddFrame(kFrameImage, At(cell, 10, 10, 160, 65))) {
        Colours(f, kSampleWhite, kNoBackground, kSampleBlack, 1);
        static_cast<FrameObjImage*>(f)->SetImage(SamplePicture(), true);
        static_cast<FrameObjImage*>(f)->SetFitToFrame(1);
    }
    if (FrameObj* f = doc.AddFrame(kFrameImage, At(cell, 10, 85, 160, 65))) {
        Colours(f, kSampleWhite, kSampleWhite, kSampleBlack, 1);
        static_cast<FrameObjImage*>(f)->SetImage(SamplePicture(), true);
        static_cast<FrameObjImage*>(f)->SetFitToFrame(1);
    }
}

// A picture turned within its frame, at its own size.
void TurnedImageCell(SamplePageDocument& doc, const IntRect& cell)
{
    FrameObj* f = doc.AddFrame(kFrameImage, At(cell, 20, 20, 140, 120));
    if (!f)
        return;
    Colours(f, kSampleWhite, kNoBackground, kSampleBlack, 1);
    auto* image = static_cast<FrameObjImage*>(f);
    image->SetImage(SamplePicture(), true);
    image->PanBy(20, 25);
    image->SetPictureAngle(30);
}

void PictureFrameCell(SamplePageDocument& doc, const IntRect& cell)
{
    if (FrameObj* f = doc.AddFrame(kFramePicture, At(cell, 20, 30, 140, 100)))
        Colours(f, kSampleWhite, kSampleWhite, kSampleBlack, 1);
}

}  // namespace

const std::vector<SampleCell>& ContentSampleCells()
{
    static const std::vector<SampleCell> cells = {
        {"text", TextCell},
        {"barcode", BarcodeCell},
        {"Quick Card", QuickCardCell},
        {"counter and field barcodes", CounterAndFieldCell},
        {"Quick Card block", QuickCardBlockCell},
        {"power text", PowerTextCell},
        {"see-through and opaque pictures", ImageCell},
        {"turned picture", TurnedImageCell},
        {"picture frame", PictureFrameCell},
    };
    return cells;
}
