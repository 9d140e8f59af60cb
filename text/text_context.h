// One document's text engine state: the stores it works on (the story store's
// text buffer, the frame store, the style sheet), the services of the
// document (TextHost) and the measurer, the frame and text rectangle being
// laid out, drawn or edited, the effective formats of the paragraph at hand,
// the current-run cache, the justification of the line at hand, the
// find-and-replace match and the layout work buffers.
//
// The paragraph at hand is the text buffer's current paragraph; the caret is
// the text buffer's caret (its paragraph follows the current paragraph).
#pragma once

#include <array>
#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/paragraph_text.h"
#include "frames/style_record_format.h"
#include "frames/style_runs.h"
#include "frames/text_position.h"
#include "text/edit_state.h"
#include "text/layout_context.h"
#include "text/line_table.h"
#include "text/para_format.h"
#include "text/text_host.h"

class FrameDocument;
class FrameObjText;
class FrameStore;
class StyleSheet;
class TextBuffer;
class TextMeasurer;

// How a line's characters are spread out, from its alignment.
struct LineJustification {
    int32_t offset = 0;     // added to the slot's left edge
    int32_t perSpace = 0;   // extra advance of each space inside the line
    int32_t perChar = 0;    // extra advance after each character gap
    int32_t remainder = 0;  // so many first gaps get one unit more
    bool oneUnit = false;   // the slack was smaller than the gaps
};

// The last search's result.
struct FindMatch {
    uint16_t start = 0;
    uint16_t end = 0;
    int32_t paragraph = -1;  // -1: the last search found nothing
    bool selected = false;   // the selection is a match Replace may replace
};

class TextContext {
public:
    TextContext(FrameDocument* document, StyleSheet* styles, TextHost* host, TextMeasurer* measurer);

    FrameDocument* Document() const { return document_; }
    TextBuffer& Buffer() const;
    FrameStore* Frames() const;
    StyleSheet* Styles() const { return styles_; }
    TextHost& Host() const { return *host_; }
    TextMeasurer& Measurer() const { return *measurer_; }
    // The document's text preferences, read again by every layout.
    const TextPreferences& Prefs() const { return prefs_; }
    void RefreshPreferences() { prefs_ = host_->Preferences(); }

    // The frame laid out, drawn or edited, and its line table.
    void SetFrame(FrameObjText* frame);
    FrameObjText* Frame() const { return frame_; }
    LineTable Lines() const;
    void SetTextRect(const IntRect& rect) { textRect_ = rect; }
    const IntRect& TextRect() const { return textRect_; }

    // ---- the paragraph at hand ----
    int32_t ParagraphCount() const;
    int32_t ParagraphIndex() const;
    // Makes a paragraph current (and the caret's paragraph); false when it
    // cannot be loaded.
    bool SelectParagraph(int32_t index);
    ParagraphText Current() const;
    // The blocks a ParagraphText changed go back into the paragraph's record.
    void StoreFlags(const ParagraphText& para);
    uint16_t Caret() const;
    void SetCaretCharacter(uint16_t character);
    TextPosition CaretPosition() const;

    // The paragraph's format, tabs and its style's base format, for the
    // lines about to be laid out or drawn.
    void LoadFormats();
    ParaFormat format;
    std::array<uint8_t, 130> tabs{};
    BaseFormat base{};

    RunCache run;
    LineJustification justification;
    FindMatch match;
    EditState edit;
    LayoutContext work;
    // 1 from construction; the page-number insertion clears it for the one
    // re-flow that follows it.
    uint8_t pageNumberRefresh = 1;
    // The negative baseline shift met last on the line drawn last.
    int32_t lastLoweredShift = 0;

    // Document units to the view's and back, by the view's zoom.
    int32_t ToView(int32_t v) const;
    int32_t FromView(int32_t v) const;
    IntPoint ToView(IntPoint p) const { return {ToView(p.x), ToView(p.y)}; }
    IntPoint FromView(IntPoint p) const { return {FromView(p.x), FromView(p.y)}; }
    IntRect ToView(const IntRect& r) const { return {ToView(r.left), ToView(r.top), ToView(r.right), ToView(r.bottom)}; }

    // A font number missing from the font table beeps; the font selected
    // before stays.
    void SelectFont(int16_t font, int32_t size, int16_t style);

private:
    // v scaled by the view's zoom; back from the view when back.
    int32_t Zoomed(int32_t v, bool back) const;
    FrameDocument* document_;
    StyleSheet* styles_;
    TextHost* host_;
    TextMeasurer* measurer_;
    TextPreferences prefs_;
    FrameObjText* frame_ = nullptr;
    IntRect textRect_;
};
