// Stand-ins for the card document, its view and the application, for the
// review commands of tessaline-tool and the tests: they answer as a document
// without a view, tools, text engine or application would. The program
// itself never uses them; its CLabelsDoc, CLabelsView and CCardApp answer
// every question themselves.
//
// Each template puts the stand-in answers of one interface over a base
// class (the interface itself, or a class that already derives from it),
// so that a stand-in document can be both a ToolDocument and a
// ContentFrameHost and override only what it watches.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "carddoc/card_document_host.h"
#include "carddoc/card_view_services.h"
#include "carddoc/windowless_view.h"
#include "frames/content_frame_host.h"
#include "frames/detached_content_host.h"
#include "frames/frame_document.h"
#include "frames/frame_view_services.h"
#include "frames/text_position.h"
#include "text/text_host.h"
#include "toolbase/frame_tool.h"

// ---- the frame model's document ----
template <class Base>
class FrameDocumentStandIn : public Base {
public:
    int16_t FirstPageNumber() override { return 1; }
    void GetPageZoom(int16_t* mode, int16_t* numerator, int16_t* denominator) override
    {
        *mode = 4;
        *numerator = 1;
        *denominator = 1;
    }
    bool SwitchToPage(int16_t) override { return false; }
    // Without a text engine a frame takes no text.
    void LayOutIntoFrame(FrameObj*, const IntRect&, TextPosition start, TextPosition* end) override { *end = start; }
    void RedrawAfterChainChange() override {}
    FrameView* View() override { return nullptr; }
    CurrPageMng* PageManager() override { return nullptr; }
    void GetPageSlotRect(int16_t, IntRect* r) override { *r = IntRect{}; }
    void PagesOpened() override {}
    void PagesClosing() override {}
    ColorRef GetTint(uint8_t, uint8_t) override { return kBlack; }
    bool ShowGuides() override { return true; }
    uint8_t PageSetByte() override { return 0; }
    bool GuidesBehindFrames() override { return false; }
    bool ImmediateRedraw() override { return true; }
    bool PageZoomFlag() override { return false; }
    bool IsModified() override { return false; }
    void SetModified(bool) override {}
    void DoObjectInfo() override {}
    bool RunStarInfo(StarParams*, const FrameGeometry&) override { return false; }
};

using StandInFrameDocument = FrameDocumentStandIn<FrameDocument>;

// ---- the tools' document: no view, tools, bars or selection ----
template <class Base>
class ToolDocumentStandIn : public FrameDocumentStandIn<Base> {
public:
    TrackerView* CardView() override { return nullptr; }
    // From the origin to the far corner of the page slots.
    void GetPageRect(IntRect* out) const override;
    uint8_t ViewClickState() override { return 1; }
    void SetViewCursor(int32_t) override {}
    void ShowContextMenu(const IntPoint&) override {}
    int16_t CurrentToolIndex() override { return -1; }
    FrameTool* ToolOfKind(int16_t) override { return nullptr; }
    void SelectTool(int16_t) override {}
    int16_t SelectionCount() override { return 0; }
    FrameObj* SelectedFrame(int16_t) override { return nullptr; }
    bool FrameTextFormat(uint8_t*) override { return false; }
    FrameObj* NewFrame(int16_t) override { return nullptr; }
    TextContext* DocumentTextContext() override { return nullptr; }
    CaretManager* Caret() override { return nullptr; }
    void SetGraphicAttrs(const GraphicAttrs&) override {}
    void SetTextAttrs(const TextAttrs&) override {}
    void SetBarItemState(int16_t, bool) override {}
    void UndoAvailable() override {}
};

template <class Base>
void ToolDocumentStandIn<Base>::GetPageRect(IntRect* out) const
{
    auto* self = const_cast<ToolDocumentStandIn*>(this);
    *out = IntRect{};
    for (int16_t slot = 0; slot < 2; ++slot) {
        IntRect r;
        self->GetPageSlotRect(slot, &r);
        out->right = std::max(out->right, r.right);
        out->bottom = std::max(out->bottom, r.bottom);
    }
}

using StandInToolDocument = ToolDocumentStandIn<ToolDocument>;

// ---- the content frames' host: no fonts, preview, tool or commands ----
template <class Base>
using ContentHostStandIn = DetachedContentHostOf<Base>;

using StandInContentHost = ContentHostStandIn<ContentFrameHost>;

// ---- the text engine's host: a document without view or text tool ----
// Font 0 is Arial; the colours are those a new document starts with.
bool StandInFontSpec(int16_t font, FontSpec* out);
// Fonts 0 and 1 are Liberation Sans and Liberation Serif, which every
// machine that draws the sheets and runs the tests has.
bool LiberationFontSpec(int16_t font, FontSpec* out);
ColorRef StandInTint(int16_t index, int16_t shade);

template <class Base>
class TextHostStandIn : public Base {
public:
    TextPreferences Preferences() override { return {}; }
    bool GetFontSpec(int16_t font, FontSpec* out) override { return StandInFontSpec(font, out); }
    ColorRef TintColour(int16_t index, int16_t shade) override { return StandInTint(index, shade); }
    void PageNumberFor(FrameObj*, int32_t* number, bool* realPage) override
    {
        *number = 1;
        *realPage = true;
    }
    bool ShowsFieldNames() override { return false; }
    void ContinuationSettings(bool* first, bool* second, int16_t* count) override
    {
        *first = false;
        *second = false;
        *count = 0;
    }
    void SetPageChangeQuiet(bool) override {}
    void SetModified() override {}
    void Zoom(int32_t* numerator, int32_t* denominator) override
    {
        *numerator = 1;
        *denominator = 1;
    }
    Dc* ViewDc() override { return nullptr; }
    bool IsScreenTarget() override { return true; }
    bool ScrollToShowPoint(const IntPoint&) override { return false; }
    QWidget* ViewWidget() override { return nullptr; }
    bool IsTextToolCurrent() override { return false; }
    FrameObjText* EditFrame() override { return nullptr; }
    void BindEditor(FrameObjText*) override {}
    void SaveUndo() override {}
    void HideCaret() override {}
    void ShowCaret() override {}
    std::array<int16_t, kAttributeCount> TypingAttributes() override { return DefaultTypingAttributes(); }
    void SetCurrentFormat(const uint8_t*, int32_t) override {}
    uint8_t ClickState() override { return 0; }
    void ClearUndo() override {}
    void RestartCaret() override {}
    void SelectAll(bool, bool) override {}
    void SetTypingAttribute(int, int16_t) override {}
    void PublishTextAttributes() override {}
    ParaFormat ParagraphAttributes() override { return {}; }
    TextClipboard* Clipboard() override { return nullptr; }
    void LinesChanged(FrameObjText*, int32_t, int32_t) override {}
    void FrameTextChanged(FrameObjText*) override {}
    void RedrawPage() override {}
};

using StandInTextHost = TextHostStandIn<TextHost>;

// ---- views: no window, rulers, bars or scrolling ----
template <class Base>
using FrameViewStandIn = WindowlessFrameView<Base>;
template <class Base>
using TrackerViewStandIn = WindowlessTrackerView<Base>;
template <class Base>
using CardViewStandIn = WindowlessCardView<Base>;

using StandInCardView = CardViewStandIn<CardViewServices>;

// ---- the application: nobody to ask, no printer, no recent files ----
class StandInCardDocumentHost : public CardDocumentHost {
public:
    SaveAnswer AskSaveChanges(const std::string&) override { return kSaveCancel; }
    bool ChooseSavePath(const std::string&, PathRecord*) override { return false; }
    // The program folder.
    int32_t ApplicationFolder(PathRecord* out) override;
    void AddToRecentFiles(const PathRecord&) override {}
    void ChooseFontReplacements(FontTable*, QWidget*) override {}
    // No status bar to show it on.
    void ShowPrompt(const std::string&) override {}
};

// Installs a StandInCardDocumentHost for as long as it lives.
class ScopedStandInCardDocumentHost {
public:
    ScopedStandInCardDocumentHost();
    ~ScopedStandInCardDocumentHost();
    ScopedStandInCardDocumentHost(const ScopedStandInCardDocumentHost&) = delete;
    ScopedStandInCardDocumentHost& operator=(const ScopedStandInCardDocumentHost&) = delete;

private:
    StandInCardDocumentHost host_;
    CardDocumentHost* previous_ = nullptr;
};
