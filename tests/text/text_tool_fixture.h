// A card document with its view and its Text tool, as far as the tool
// needs one: the stores in a test folder, pages with the current-page
// manager showing one of them, a style sheet, the text engine with a
// measurer of the test's choice (the text frames draw through it), and a
// view whose picture is an image.
#pragma once

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "carddoc/surface_view.h"
#include "frames/content_frame_host.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj_text.h"
#include "frames/record_header_format.h"
#include "graphics/font_spec.h"
#include "support/alert_capture.h"
#include "text/caret_manager.h"
#include "text/key_event_qt.h"
#include "text/text_context_engine.h"
#include "text/text_draw.h"
#include "text/text_positions.h"
#include "text/text_tool.h"
#include "text_fixture.h"
#include "tools/stand_ins/stand_in_hosts.h"

class ToolTextDocument;

// Key presses on the view go to the current tool as the card view hands
// them on: the seven key-downs and the typed characters.
class ViewKeyRouter : public QObject {
public:
    explicit ViewKeyRouter(FrameTool* tool) : tool_(tool) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        for (const KeyEvent& key : KeyEventsFromQt(*static_cast<QKeyEvent*>(event)))
            tool_->KeyDown(key);
        return true;
    }

private:
    FrameTool* tool_;
};

// The document's services to the text engine; the tool's part goes to the
// tool.
class ToolTextHost : public StandInTextHost {
public:
    explicit ToolTextHost(ToolTextDocument* doc) : doc_(doc) {}

    TextPreferences Preferences() override { return prefs; }
    bool GetFontSpec(int16_t font, FontSpec* out) override { return LiberationFontSpec(font, out); }
    void PageNumberFor(FrameObj* frame, int32_t* number, bool* realPage) override;
    bool ShowsFieldNames() override { return showFieldNames; }
    void SetModified() override { modified = true; }
    void Zoom(int32_t* numerator, int32_t* denominator) override;
    Dc* ViewDc() override;
    bool IsScreenTarget() override { return true; }
    QWidget* ViewWidget() override;
    // The offscreen platform gives no window the focus.
    bool ViewHasFocus() override { return true; }
    bool IsTextToolCurrent() override;
    FrameObjText* EditFrame() override;
    void BindEditor(FrameObjText* frame) override;
    void SaveUndo() override;
    void HideCaret() override;
    void ShowCaret() override;
    std::array<int16_t, kAttributeCount> TypingAttributes() override;
    void SetCurrentFormat(const uint8_t* record288, int32_t column) override;
    uint8_t ClickState() override;
    void ClearUndo() override;
    void RestartCaret() override;
    void SelectAll(bool on, bool redraw) override;
    void SetTypingAttribute(int rank, int16_t value) override;
    void PublishTextAttributes() override;
    ParaFormat ParagraphAttributes() override;
    TextClipboard* Clipboard() override { return clipboard; }
    void LinesChanged(FrameObjText*, int32_t, int32_t) override { ++repaints; }
    void FrameTextChanged(FrameObjText*) override { ++repaints; }
    void CollectWrapOutlines(FrameObjText*, IntPoint*, int32_t*, int32_t) override {}

    TextPreferences prefs;
    bool showFieldNames = false;
    bool modified = false;
    TextClipboard* clipboard = nullptr;
    // Repaints the engine asked for; the view catches up on its next paint.
    int32_t repaints = 0;

private:
    ToolTextDocument* doc_;
};

class ToolTextDocument : public WithOwnStores<StandInToolDocument>, public StandInContentHost {
public:
    // pageCount pages, page shown shown; the view zoomed by zoomPercent.
    ToolTextDocument(const std::string& folder, TextMeasurer* measurer, int16_t pageCount, int16_t shown,
                     int32_t zoomPercent = 100)
        : ctx(this, &styles, &host, measurer),
          view(kPageWidth * zoomPercent / 100 + 2 * kMargin, kPageHeight * zoomPercent / 100 + 2 * kMargin, kMargin)
    {
        EXPECT_EQ(swap.CreateSwapFile(TextFolderRecord(folder)), 0);
        view.pageRect = IntRect{0, 0, kPageWidth * zoomPercent / 100, kPageHeight * zoomPercent / 100};
        view.onPaint = [this] { Paint(); };
        view.onPress = [this](const IntPoint& p) { tool.MouseDown(p); };
        view.installEventFilter(&keys);
        view.show();
        pages.InsertPages(0, pageCount, 0, 0);
        manager.SetZoom(uint16_t(zoomPercent), 100, 4, 0);
        manager.CopyPageRects();
        manager.SetPageNumbers(shown, kNoPageNumber);
        manager.LoadCurrentPages(1);
    }
    ~ToolTextDocument() override { tool.EndEdit(1); }

    static constexpr int32_t kPageWidth = 360;
    static constexpr int32_t kPageHeight = 260;
    static constexpr int32_t kMargin = 20;

    // A text frame whose text rectangle is rect (document units), on the
    // shown page (or the pasteboard when it lies outside the page), with a
    // story of the paragraphs laid out in it.
    FrameObjText* AddTextFrame(const IntRect& rect, const std::vector<std::string>& paragraphs)
    {
        auto* frame = static_cast<FrameObjText*>(frames.CreateFrameObject(kFrameText, 1));
        EXPECT_NE(frame, nullptr);
        frame->SetFromRect(IntRect{rect.left - 3, rect.top - 3, rect.right + 3, rect.bottom + 3});
        manager.AppendFrame(frame);
        if (!paragraphs.empty())
            SetStory(frame, paragraphs);
        return frame;
    }
    void SetStory(FrameObjText* frame, const std::vector<std::string>& paragraphs)
    {
        frames.NewStory(frame, true);
        ASSERT_EQ(stories.BindStory(uint16_t(frame->Block().storyId)), 0);
        TextBuffer& buffer = stories.Buffer();
        buffer.DeleteRange(0, buffer.Count());
        for (size_t i = 0; i < paragraphs.size(); ++i) {
            Handle h = NewParagraph();
            const std::string& s = paragraphs[i];
            ASSERT_EQ(ParagraphInsertBytes(h, 0, 0, reinterpret_cast<const uint8_t*>(s.data()), uint32_t(s.size())),
                      0);
            ASSERT_NE(buffer.InsertRecord(int32_t(i), h, false), 0);
        }
        Flow(frame);
    }
    void Flow(FrameObjText* frame)
    {
        frames.FlowFrame(frame->FrameId(), false);
        BindFrame(&ctx, frame);
    }
    std::string Paragraph(FrameObjText* frame, int32_t index)
    {
        stories.BindStory(uint16_t(frame->Block().storyId));
        if (!ctx.SelectParagraph(index))
            return "<none>";
        const ParagraphText p = ctx.Current();
        return std::string(reinterpret_cast<const char*>(p.Chars()), size_t(p.Length() - 1));
    }
    int32_t ParagraphCount(FrameObjText* frame)
    {
        stories.BindStory(uint16_t(frame->Block().storyId));
        return ctx.ParagraphCount();
    }
    // A view point inside the character at the position, left of its
    // middle (the caret goes before it).
    IntPoint At(FrameObjText* frame, int32_t paragraph, int32_t character)
    {
        BindFrame(&ctx, frame);
        IntPoint p;
        int32_t height = 0;
        EXPECT_TRUE(PositionToPoint(&ctx, &p, character, paragraph, &height)) << paragraph << ":" << character;
        if (tool.EditFrame())
            tool.BindEditor();
        return IntPoint{p.x + 1, p.y - height / 3};
    }
    void Click(const IntPoint& p, uint8_t clicks)
    {
        clickState = clicks;
        tool.MouseDown(p);
    }
    TextPosition Ref(FrameObjText* frame, int16_t which)
    {
        TextPosition p;
        frames.GetTextRef(frame->FrameId(), which, &p.paragraph, &p.character);
        return p;
    }
    bool NeedsReflow(FrameObjText* frame)
    {
        uint8_t record[kFrameRecordSize];
        return frames.GetFrameRecord(frame->FrameId(), record) == 0 && (HeaderFlags(record) & kFrameNeedsReflow);
    }

    // The view's paint: pasteboard, page, frames.
    void Paint()
    {
        Dc* dc = view.GetViewDC();
        IntRect client;
        view.GetClientRectLogical(&client);
        dc->fillRect(client, Brush::Solid(MakeRgb(214, 214, 214)));
        dc->fillRect(view.pageRect, Brush::Solid(kWhite));
        manager.ResetFrameStates(kDrawNeeded);
        manager.DrawAllFiltered(dc, 1, 1);
        manager.DrawAllFiltered(dc, 1, 0);
        tool.BindEditor();
    }

    // ---- FrameDocument ----
    void LayOutIntoFrame(FrameObj* frame, const IntRect& rect, TextPosition start, TextPosition* end) override
    {
        ++layouts;
        *end = ::LayOutIntoFrame(&ctx, static_cast<FrameObjText*>(frame), rect, start);
    }
    FrameView* View() override { return &view; }
    CurrPageMng* PageManager() override { return &manager; }
    void GetPageSlotRect(int16_t slot, IntRect* r) override
    {
        *r = slot == 0 ? IntRect{0, 0, kPageWidth, kPageHeight} : IntRect{};
    }
    ColorRef GetTint(uint8_t index, uint8_t percent) override { return host.TintColour(index, percent); }
    void SetModified(bool on) override { host.modified = on; }

    // ---- ToolDocument ----
    TrackerView* CardView() override { return &view; }
    uint8_t ViewClickState() override { return clickState; }
    void SetViewCursor(int32_t cursor) override { this->cursor = cursor; }
    int16_t CurrentToolIndex() override { return currentTool; }
    FrameTool* ToolOfKind(int16_t kind) override { return kind == kToolText ? &tool : nullptr; }
    int16_t SelectionCount() override { return int16_t(selection.size()); }
    FrameObj* SelectedFrame(int16_t i) override { return selection[size_t(i)]; }
    TextContext* DocumentTextContext() override { return &ctx; }
    CaretManager* Caret() override { return &caret; }
    void SetGraphicAttrs(const GraphicAttrs& attrs) override { graphic = attrs; }
    void SetTextAttrs(const TextAttrs& attrs) override { text = attrs; }
    void SetBarItemState(int16_t bar, bool on) override { bars[bar] = on; }

    // ---- ContentFrameHost ----
    FrameObj* TextToolFrame() override { return currentTool == kToolText ? tool.EditFrame() : nullptr; }
    TextFrameEngine* TextEngine() override { return &engine; }

    CurrPageMng manager{this};
    StyleSheet styles;
    ToolTextHost host{this};
    TextContext ctx;
    TextContextEngine engine{&ctx};
    CaretManager caret{&ctx};
    SurfaceView view;
    TextTool tool{this};
    ViewKeyRouter keys{&tool};

    uint8_t clickState = 1;
    int16_t currentTool = kToolText;
    int32_t cursor = 0;
    int32_t layouts = 0;
    std::vector<FrameObj*> selection;
    GraphicAttrs graphic;
    TextAttrs text;
    std::map<int16_t, bool> bars;
};

inline void ToolTextHost::PageNumberFor(FrameObj* frame, int32_t* number, bool* realPage)
{
    IntRect bounds;
    frame->GetBounds(&bounds, 0, kGeometryCurrent);
    uint8_t residence = kOnPasteboard;
    const uint32_t page = doc_->manager.PageAtRect(bounds, &residence);
    *realPage = residence != kOnPasteboard;
    *number = *realPage ? doc_->manager.GetPageNumber(page) : 1;
}

inline void ToolTextHost::Zoom(int32_t* numerator, int32_t* denominator)
{
    int16_t n = 1, d = 1, mode = 0;
    doc_->manager.GetZoom(&n, &d, &mode);
    *numerator = n;
    *denominator = d;
}

inline Dc* ToolTextHost::ViewDc() { return doc_->view.GetViewDC(); }
inline QWidget* ToolTextHost::ViewWidget() { return &doc_->view; }
inline bool ToolTextHost::IsTextToolCurrent() { return doc_->currentTool == kToolText; }
inline FrameObjText* ToolTextHost::EditFrame() { return doc_->tool.EditFrame(); }
inline void ToolTextHost::BindEditor(FrameObjText* frame)
{
    if (frame == doc_->tool.EditFrame())
        return;
    doc_->tool.EndEdit(1);
    doc_->tool.SetEditFrame(frame, 1);
}
inline void ToolTextHost::SaveUndo() { doc_->tool.SaveUndo(kUndoChangeText); }
inline void ToolTextHost::HideCaret() { doc_->tool.HideCaret(); }
inline void ToolTextHost::ShowCaret() { doc_->tool.ShowCaret(); }
inline std::array<int16_t, kAttributeCount> ToolTextHost::TypingAttributes() { return doc_->tool.TypingAttributes(); }
inline void ToolTextHost::SetCurrentFormat(const uint8_t* record288, int32_t column)
{
    doc_->tool.SetCurrentFormat(record288, column);
}
inline uint8_t ToolTextHost::ClickState() { return doc_->tool.ClickState(); }
inline void ToolTextHost::ClearUndo() { doc_->tool.ClearUndo(); }
inline void ToolTextHost::RestartCaret() { doc_->tool.RestartCaret(); }
inline void ToolTextHost::SelectAll(bool on, bool redraw)
{
    if (FrameObjText* frame = doc_->tool.EditFrame())
        doc_->tool.SelectAll(frame, on, redraw);
}
inline void ToolTextHost::SetTypingAttribute(int rank, int16_t value) { doc_->tool.SetTypingAttribute(rank, value); }
inline void ToolTextHost::PublishTextAttributes() { doc_->tool.PublishTextAttrs(); }
inline ParaFormat ToolTextHost::ParagraphAttributes() { return doc_->tool.ParagraphAttributes(); }
