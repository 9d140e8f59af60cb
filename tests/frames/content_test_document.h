// A card document for the content frames' tests: the storage document of
// test_document.h with a zoom that can be set, a colour table, a font table
// of Arial, a view that draws into an image, and the content frames' host
// services recorded. Also a field-text provider with chosen texts and a
// text engine that counts what it is asked to do.
#pragma once

#include <cstring>
#include <map>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "frames/content_frame_host.h"
#include "frames/curr_page_mng.h"
#include "frames/draws_into_image.h"
#include "frames/frame_view_services.h"
#include "frames/text_frame_engine.h"
#include "graphics/field_text_provider.h"
#include "platform/dc.h"
#include "test_document.h"
#include "tools/stand_ins/stand_in_hosts.h"

// Draws into an image; targets pushed for off-screen drawing are counted.
class ImageView : public DrawsIntoImage<FrameViewStandIn<FrameView>> {
public:
    ImageView(int width, int height) : DrawsIntoImage(width, height) {}
    void PushDrawTarget(Dc* target, uint32_t flags) override
    {
        DrawsIntoImage::PushDrawTarget(target, flags);
        ++pushes;
    }
    FrameTracker* NewTracker(TrackerKind, FrameObj*, int16_t) override { return new FrameTracker; }

    int pushes = 0;
};

// Counts the story drawings and draws one black bar per laid-out line in
// the text rectangle, so that an image of the text can be checked.
class CountingTextEngine : public TextFrameEngine {
public:
    bool SelectStory(int16_t) override { return selectable; }
    void ClearCaretDrawn() override {}
    void LoadWrapOutline(FrameObjText*) override {}
    void BuildTextWrapOutline(FrameObjText*, Dc*) override { ++outlines; }
    void SetTextRect(const IntRect& rect) override { textRect = rect; }
    void DrawText(Dc* dc, FrameObjText* frame) override;
    void DrawEditSelection(Dc*, FrameObjText*) override { ++selections; }

    bool selectable = true;
    IntRect textRect;
    int draws = 0;
    int outlines = 0;
    int selections = 0;
};

class FakeFieldTexts : public FieldTextProvider {
public:
    FakeFieldTexts() : previous_(SetFieldTextProvider(this)) {}
    ~FakeFieldTexts() override { SetFieldTextProvider(previous_); }
    std::string MergeFieldText(int32_t fieldId, bool previewMode) override
    {
        asked.push_back({fieldId, previewMode});
        auto it = texts.find(fieldId);
        return it == texts.end() ? std::string() : it->second;
    }
    std::string BracketedFieldName(int32_t fieldId) override { return "[F" + std::to_string(fieldId) + "]"; }

    std::map<int32_t, std::string> texts;
    std::vector<std::pair<int32_t, bool>> asked;

private:
    FieldTextProvider* previous_;
};

class ContentTestDocument : public TestDocument, public StandInContentHost {
public:
    explicit ContentTestDocument(const std::string& folder, int width = 400, int height = 300)
        : TestDocument(folder), view(width, height)
    {
    }

    // ---- FrameDocument ----
    FrameView* View() override { return &view; }
    CurrPageMng* PageManager() override { return &manager; }
    void GetPageSlotRect(int16_t slot, IntRect* r) override { *r = slot == 0 ? pageSlot : IntRect{}; }
    ColorRef GetTint(uint8_t index, uint8_t) override
    {
        static const ColorRef kTable[16] = {0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF,
                                            0xFFFF00, 0x808080, 0xC0C0C0, 0x000080, 0x008000, 0x800000,
                                            0x008080, 0x800080, 0x808000, 0x000000};
        return kTable[index & 15];
    }
    void DoObjectInfo() override { commands.push_back("object"); }

    // ---- ContentFrameHost ----
    bool LookupFont(int16_t fontId, FontSpec* out) override
    {
        if (fontId != 0)
            return false;
        *out = FontSpec{};
        out->type = kFontTypeTrueType;
        std::strncpy(out->faceName, "Arial", sizeof out->faceName - 1);
        return true;
    }
    int32_t FontIdFor(const FontSpec&) override { return -1; }
    bool InPrintPreview() override { return printPreview; }
    bool PrintPlaceholders() override { return printPlaceholders; }
    bool PlaceholderText() override { return placeholderText; }
    FrameObj* TextToolFrame() override { return toolFrame; }
    TextFrameEngine* TextEngine() override { return &engine; }
    void DoBarcodeInfo() override { commands.push_back("barcode"); }
    void DoCounterInfo() override { commands.push_back("counter"); }
    void DoQuickCardSpec() override { commands.push_back("fields"); }
    void DoQuickCardInfo() override { commands.push_back("block"); }

    void Zoom(uint16_t numerator, uint16_t denominator) { manager.SetZoom(numerator, denominator, 4, 0); }

    ImageView view;
    CountingTextEngine engine;
    CurrPageMng manager{this};
    bool printPreview = false;
    bool printPlaceholders = false;
    bool placeholderText = false;
    FrameObj* toolFrame = nullptr;
    std::vector<std::string> commands;
    // The card's place on the page (none: the page is not known).
    IntRect pageSlot;
};

inline void CountingTextEngine::DrawText(Dc* dc, FrameObjText*)
{
    ++draws;
    dc->fillRect(IntRect{textRect.left, textRect.top, textRect.right, textRect.top + 6}, Brush::Solid(kBlack));
}

inline bool operator==(const IntPoint& a, const IntPoint& b) { return a.x == b.x && a.y == b.y; }
inline bool operator==(const IntRect& a, const IntRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& os, const IntPoint& p) { return os << "(" << p.x << ", " << p.y << ")"; }
inline std::ostream& operator<<(std::ostream& os, const IntRect& r)
{
    return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

// Whether a pixel of the image is (nearly) the colour.
inline bool PixelIs(const QImage& image, int x, int y, ColorRef c)
{
    const QRgb p = image.pixel(x, y);
    return qRed(p) == RedOf(c) && qGreen(p) == GreenOf(c) && qBlue(p) == BlueOf(c);
}
