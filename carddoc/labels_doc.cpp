#include "carddoc/labels_doc.h"

#include <cstring>

#include "carddoc/auto_save.h"
#include "carddoc/card_context_menus.h"
#include "carddoc/card_view_services.h"
#include "carddoc/engine_services.h"
#include "carddoc/frame_clipboard.h"
#include "carddoc/labels_doc_registry.h"
#include "carddoc/selection_tool.h"
#include "database/field_table.h"
#include "foundation/byte_order.h"
#include "frames/ctfile_mng.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_record_format.h"
#include "frames/frame_store.h"
#include "frames/page_table2.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"
#include "frames/style_sheet.h"
#include "records/preferences.h"
#include "text/caret_manager.h"
#include "text/dc_text_measurer.h"
#include "text/frame_flow.h"
#include "text/text_context.h"
#include "text/text_context_engine.h"
#include "text/text_tool.h"
#include "typography/color_table.h"
#include "typography/font_table.h"

namespace {

constexpr int16_t kFirstBarId = 129;
constexpr int16_t kBarCount = 6;

}  // namespace

CLabelsDoc::CLabelsDoc()
{
    // What the current tool publishes first: nothing set.
    graphicAttrs_.textColour = graphicAttrs_.lineColour = graphicAttrs_.linePattern = -1;
    graphicAttrs_.fillColour = graphicAttrs_.fillPattern = graphicAttrs_.background = -1;
    graphicAttrs_.textShade = graphicAttrs_.lineShade = graphicAttrs_.fillShade = 100;
    textAttrs_.fontId = kAttrNotSet;
    textAttrs_.size = kAttrNotSet;
    textAttrs_.toolWordA = kAttrNotSet;
    textAttrs_.toolWordB = kAttrNotSet;
    textAttrs_.styleEntry = -1;
    InstallCardEngineServices();
    ReadDefPrefGeneral(general_);
    tools_[kToolText] = std::make_unique<TextTool>(this);
    tools_[kToolObject] = std::make_unique<SelectionTool>(this);
    MakeDrawingTools();
    swap_ = std::make_unique<CTFileMng>();
    manager_ = std::make_unique<CurrPageMng>(this);
    pages_ = std::make_unique<PageTable2>(this);
    shared_ = std::make_unique<SharedFrameList>();
    colours_ = std::make_unique<ColorTable>();
    styles_ = std::make_unique<StyleSheet>();
    frames_ = std::make_unique<FrameStore>(this, swap_.get());
    stories_ = std::make_unique<StoryStore>(this, swap_.get());
    fonts_ = std::make_unique<FontTable>();
    PrintSettingsDefaults(&printSettings_);
    measurer_ = std::make_unique<DcTextMeasurer>([this](int16_t font, FontSpec* out) { return LookupFont(font, out); });
    textContext_ = std::make_unique<TextContext>(this, styles_.get(), this, measurer_.get());
    textEngine_ = std::make_unique<TextContextEngine>(textContext_.get());
    caret_ = std::make_unique<CaretManager>(textContext_.get());
    display_[7] = 0;
    RegisterOpenDocument(this);
}

CLabelsDoc::~CLabelsDoc()
{
    // A document that goes without its close (a failed open) must not be
    // left in the auto-save table.
    AutoSaveStop(this);
    SetUndoOwner(nullptr);
    if (file_ != kNoFile)
        FileClose(file_);
    StoreGlobalDefPrefs();
    // The tools and the text engine work on the stores, and the stores'
    // frames and stories on the swap file: they go in that order.
    if (TextTool* text = Tool())
        text->EndEdit(1);
    for (auto& tool : tools_)
        tool.reset();
    caret_.reset();
    textEngine_.reset();
    textContext_.reset();
    measurer_.reset();
    stories_.reset();
    frames_.reset();
    fonts_.reset();
    styles_.reset();
    colours_.reset();
    shared_.reset();
    pages_.reset();
    manager_.reset();
    swap_.reset();
    UnregisterOpenDocument(this);
}

std::string CLabelsDoc::Title() const
{
    if (!HasPath())
        return "Untitled";
    char name[kPathTextSize] = {};
    PathRecordGetFileName(&path_, name, 0);
    return name;
}

void CLabelsDoc::SetPathName(const PathRecord& path) { path_ = path; }

uint32_t CLabelsDoc::GeneralPref(size_t offset) const { return GetU32LE(general_ + offset); }

void CLabelsDoc::SetView(CardViewServices* view) { view_ = view; }

PageTable* CLabelsDoc::Pages() { return pages_.get(); }

FrameView* CLabelsDoc::View() { return view_; }

void CLabelsDoc::GetPageZoom(int16_t* mode, int16_t* numerator, int16_t* denominator)
{
    manager_->GetZoom(numerator, denominator, mode);
}

void CLabelsDoc::LayOutIntoFrame(FrameObj* frame, const IntRect& rect, TextPosition start, TextPosition* end)
{
    if (frame && frame->GetType() == kFrameText)
        *end = ::LayOutIntoFrame(textContext_.get(), static_cast<FrameObjText*>(frame), rect, start);
    else
        *end = start;
}

void CLabelsDoc::GetPageSlotRect(int16_t slot, IntRect* r)
{
    *r = slot == 0 || slot == 1 ? pageBlock_.slots[slot] : IntRect{};
}

ColorRef CLabelsDoc::GetTint(uint8_t index, uint8_t percent)
{
    ColorRef c = 0;
    colours_->GetTint(&c, index, percent);
    return c;
}

bool CLabelsDoc::LookupFont(int16_t fontId, FontSpec* out) { return fonts_->Lookup(fontId, out); }

int32_t CLabelsDoc::FontIdFor(const FontSpec& face) { return fonts_->GetFontId(&face); }

TextFrameEngine* CLabelsDoc::TextEngine() { return textEngine_.get(); }

FrameObj* CLabelsDoc::TextToolFrame() { return currentTool_ == kToolText && Tool() ? Tool()->EditFrame() : nullptr; }

TextTool* CLabelsDoc::Tool() const { return static_cast<TextTool*>(tools_[kToolText].get()); }

void CLabelsDoc::PagesOpened()
{
    for (auto& tool : tools_) {
        if (tool)
            tool->PagesLoaded();
    }
}

void CLabelsDoc::PagesClosing()
{
    for (auto& tool : tools_) {
        if (tool)
            tool->PagesClosing();
    }
}

uint8_t CLabelsDoc::ViewClickState() { return view_ ? view_->ClickState() : 1; }

void CLabelsDoc::SetViewCursor(int32_t cursor)
{
    if (view_)
        view_->SetCursorShape(cursor);
}

FrameTool* CLabelsDoc::ToolOfKind(int16_t kind)
{
    return kind >= 0 && kind < kToolCount ? tools_[size_t(kind)].get() : nullptr;
}

// A tool handing over to another: the new tool hears which kind came before
// it (the text tool takes the frame the object or frame text tool left it),
// and the tool bar follows.
void CLabelsDoc::SelectTool(int16_t kind)
{
    if (kind == currentTool_)
        return;
    SetTool(kind, uint16_t(currentTool_ < 0 ? int16_t(kToolObject) : currentTool_));
}

void CLabelsDoc::SetBarItemState(int16_t bar, bool on)
{
    if (bar >= kFirstBarId && bar < kFirstBarId + kBarCount)
        barStates_[bar - kFirstBarId] = on ? 1 : 0;
}

bool CLabelsDoc::BarItemState(int16_t bar) const
{
    return bar >= kFirstBarId && bar < kFirstBarId + kBarCount && barStates_[bar - kFirstBarId] != 0;
}

TextPreferences CLabelsDoc::Preferences()
{
    TextPreferences p;
    p.hyphenation = GeneralPref(kPrefHyphenation) != 0;
    p.textWrap = GeneralPref(kPrefTextWrap) != 0;
    p.justify = GeneralPref(kPrefJustify) != 0;
    p.smallCapsPercent = int32_t(GeneralPref(kPrefSmallCaps));
    p.superscriptPercent = int32_t(GeneralPref(kPrefSuperscript));
    p.subscriptPercent = int32_t(GeneralPref(kPrefSubscript));
    p.smartQuotes = GeneralPref(kPrefSmartQuotes) != 0;
    p.quoteStyle = int32_t(GeneralPref(kPrefQuoteStyle));
    p.defaultTab = int16_t(GeneralPref(kPrefTabWidth));
    return p;
}

bool CLabelsDoc::GetFontSpec(int16_t font, FontSpec* out) { return fonts_->Lookup(font, out); }

bool CLabelsDoc::StoredFontSpec(int16_t font, FontSpec* out) { return fonts_->LookupIn(font, out, true); }

ColorRef CLabelsDoc::TintColour(int16_t index, int16_t shade)
{
    ColorRef c = 0;
    colours_->GetTint(&c, index, shade);
    return c;
}

void CLabelsDoc::PageNumberFor(FrameObj* frame, int32_t* number, bool* realPage)
{
    *number = 0;
    *realPage = false;
    uint8_t record[kFrameRecordSize] = {};
    if (!frame || frames_->GetFrameRecord(frame->FrameId(), record) < 0 ||
        FrameResidence(record) != kResidencePage)
        return;
    int16_t page = kNoPageNumber;
    if (pages_->NumberOfHandle(FramePage(record), &page) < 0)
        return;
    *number = page;
    *realPage = true;
}

void CLabelsDoc::ContinuationSettings(bool* first, bool* second, int16_t* count)
{
    *first = pageBlock_.continuationFirst != 0;
    *second = pageBlock_.continuationSecond != 0;
    *count = pageBlock_.continuationCount;
}

void CLabelsDoc::Zoom(int32_t* numerator, int32_t* denominator)
{
    int16_t n = 1, d = 1, mode = 0;
    manager_->GetZoom(&n, &d, &mode);
    *numerator = n;
    *denominator = d;
}

Dc* CLabelsDoc::ViewDc() { return view_ ? view_->GetViewDC() : nullptr; }

bool CLabelsDoc::IsScreenTarget() { return !view_ || view_->IsScreenTarget(); }

QWidget* CLabelsDoc::ViewWidget() { return view_ ? view_->CaptureWidget() : nullptr; }

bool CLabelsDoc::ScrollToShowPoint(const IntPoint& viewPoint)
{
    // Printing and export draw into other targets, which never scroll.
    return view_ && view_->IsScreenTarget() && view_->ScrollToShowPoint(viewPoint);
}

bool CLabelsDoc::ShowsFieldNames() { return IsShowFieldNames(); }

void CLabelsDoc::LinesChanged(FrameObjText* frame, int32_t /*first*/, int32_t /*last*/) { FrameTextChanged(frame); }

void CLabelsDoc::FrameTextChanged(FrameObjText* frame)
{
    if (!frame || !view_ || !view_->IsScreenTarget())
        return;
    // The frame's rectangle with its border and the caret's reach: the
    // paint draws whatever lies there again, the frames above included.
    IntRect r = frame->ViewRect();
    r = IntRect{r.left - 3, r.top - 3, r.right + 3, r.bottom + 3};
    frame->SetDrawState(kDrawNeeded);
    view_->LPtoDPRect(&r);
    view_->InvalidateRect(r, false);
}

FrameObjText* CLabelsDoc::EditFrame() { return Tool() ? Tool()->EditFrame() : nullptr; }

void CLabelsDoc::BindEditor(FrameObjText* frame)
{
    TextTool* tool = Tool();
    if (!tool || frame == tool->EditFrame())
        return;
    tool->EndEdit(1);
    tool->SetEditFrame(frame, 1);
}

void CLabelsDoc::SaveUndo()
{
    if (TextTool* tool = Tool())
        tool->SaveUndo(kUndoChangeText);
}

void CLabelsDoc::HideCaret()
{
    if (TextTool* tool = Tool())
        tool->HideCaret();
}

void CLabelsDoc::ShowCaret()
{
    if (TextTool* tool = Tool())
        tool->ShowCaret();
}

std::array<int16_t, kAttributeCount> CLabelsDoc::TypingAttributes()
{
    return Tool() ? Tool()->TypingAttributes() : DefaultTypingAttributes();
}

void CLabelsDoc::SetCurrentFormat(const uint8_t* record288, int32_t mergeFieldColumn)
{
    if (TextTool* tool = Tool())
        tool->SetCurrentFormat(record288, mergeFieldColumn);
}

uint8_t CLabelsDoc::ClickState() { return Tool() ? Tool()->ClickState() : 0; }

void CLabelsDoc::ClearUndo()
{
    if (TextTool* tool = Tool())
        tool->ClearUndo();
}

void CLabelsDoc::RestartCaret()
{
    if (TextTool* tool = Tool())
        tool->RestartCaret();
}

void CLabelsDoc::SelectAll(bool on, bool redraw)
{
    TextTool* tool = Tool();
    if (FrameObjText* frame = tool ? tool->EditFrame() : nullptr)
        tool->SelectAll(frame, on, redraw);
}

void CLabelsDoc::SetTypingAttribute(int rank, int16_t value)
{
    if (TextTool* tool = Tool())
        tool->SetTypingAttribute(rank, value);
}

void CLabelsDoc::PublishTextAttributes()
{
    if (TextTool* tool = Tool())
        tool->PublishTextAttrs();
}

ParaFormat CLabelsDoc::ParagraphAttributes() { return Tool() ? Tool()->ParagraphAttributes() : ParaFormat{}; }

// The program's one clipboard store; tests and tools that make documents
// without the application get none, and paste is then simply unavailable.
TextClipboard* CLabelsDoc::Clipboard() { return ProgramClipboard(); }
