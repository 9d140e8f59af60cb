// What the text engine asks of the card document, its view and its text
// tool. The card document implements it; the defaults stand for a document
// without a view or tool (layout and drawing still work), and tests replace
// what they watch.
#pragma once

#include <array>
#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/style_record_format.h"
#include "platform/gdi_types.h"
#include "text/style_run_format.h"

class Dc;
class FrameObj;
class QWidget;
class FrameObjText;
class TextClipboard;
struct FontSpec;

// The text settings of the document's preferences.
struct TextPreferences {
    bool hyphenation = false;
    bool textWrap = true;
    bool justify = false;
    int32_t smallCapsPercent = 80;
    int32_t superscriptPercent = 33;
    int32_t subscriptPercent = 33;
    bool smartQuotes = false;
    int32_t quoteStyle = 0;
    int16_t defaultTab = 36;
};

class TextHost {
public:
    virtual ~TextHost() = default;

    // ---- the document ----
    virtual TextPreferences Preferences() { return {}; }
    // A font number of the document's font table; false when unknown.
    virtual bool GetFontSpec(int16_t font, FontSpec* out);
    // The colour of a colour-table index at a shade percentage.
    virtual ColorRef TintColour(int16_t index, int16_t shade);
    // The page number shown under a frame and whether its page is a real
    // page (the pasteboard is not).
    virtual void PageNumberFor(FrameObj* /*frame*/, int32_t* number, bool* realPage)
    {
        *number = 1;
        *realPage = true;
    }
    // Whether merge fields show their names rather than the current card.
    virtual bool ShowsFieldNames() { return false; }
    // The two continuation switches and the continuation count of the
    // document's settings.
    virtual void ContinuationSettings(bool* first, bool* second, int16_t* count)
    {
        *first = false;
        *second = false;
        *count = 0;
    }
    // While raised, pages that open or close do not notify the tools.
    virtual void SetPageChangeQuiet(bool /*on*/) {}
    virtual void SetModified() {}

    // ---- the view ----
    // The zoom of the view: view units = document units x numerator /
    // denominator.
    virtual void Zoom(int32_t* numerator, int32_t* denominator)
    {
        *numerator = 1;
        *denominator = 1;
    }
    // The context the view draws into; null when there is no view.
    virtual Dc* ViewDc() { return nullptr; }
    // True while no print or export target is pushed.
    virtual bool IsScreenTarget() { return true; }
    // Scrolls the view until the point shows; whether it scrolled.
    virtual bool ScrollToShowPoint(const IntPoint& /*viewPoint*/) { return false; }
    // The card view's window: the parent of the spelling dialog. Null
    // without a view.
    virtual QWidget* ViewWidget() { return nullptr; }
    // Whether the card view has the keyboard focus; the caret draws only
    // then.
    virtual bool ViewHasFocus();

    // ---- the text tool ----
    virtual bool IsTextToolCurrent() { return false; }
    // The frame the tool edits, null when none.
    virtual FrameObjText* EditFrame() { return nullptr; }
    // Editing goes on in this frame of the chain: when it is not the frame
    // in edit, the tool leaves that one and enters it.
    virtual void BindEditor(FrameObjText* /*frame*/) {}
    virtual void SaveUndo() {}
    virtual void HideCaret() {}
    // The caret shows at the caret point.
    virtual void ShowCaret() {}
    // The tool's ten typing attributes, in the order of the run bits.
    virtual std::array<int16_t, kAttributeCount> TypingAttributes();
    // The format at the caret or of the selection, as a 288-byte style
    // record, and the column of the merge field there (-1 for none).
    virtual void SetCurrentFormat(const uint8_t* /*record288*/, int32_t /*mergeFieldColumn*/) {}
    // The view's click state of the last mouse-down (4: the click selected
    // a whole paragraph).
    virtual uint8_t ClickState() { return 0; }

    // ---- editing through the text tool ----
    // Forgets the tool's undo record, so that the next change saves a new
    // one.
    virtual void ClearUndo() {}
    // The caret shows at the caret point and blinks anew (ShowCaret only
    // shows it).
    virtual void RestartCaret() {}
    // Selects (or deselects) the whole story in every frame of the chain,
    // with its highlight when redraw is set.
    virtual void SelectAll(bool /*on*/, bool /*redraw*/) {}
    // One of the ten typing attributes changes (by rank).
    virtual void SetTypingAttribute(int /*rank*/, int16_t /*value*/) {}
    // The tool shows its attributes on the tool bars again.
    virtual void PublishTextAttributes() {}
    // The tool's paragraph attributes: what Paragraph Info applies.
    virtual ParaFormat ParagraphAttributes() { return {}; }
    // Where copied text goes and pasted text comes from; null without one.
    virtual TextClipboard* Clipboard() { return nullptr; }

    // ---- the page ----
    // The outlines of the frames lying over the text frame, each a closed
    // polygon given edge by edge as point pairs, appended to points while
    // fewer than limit are there (count in and out): those of the frames
    // above it on the page its document shows.
    virtual void CollectWrapOutlines(FrameObjText* frame, IntPoint* points, int32_t* count, int32_t limit);

    // ---- redrawing ----
    // Lines first..last of the frame changed on the screen (after a local
    // re-layout). Like FrameTextChanged, it asks for a repaint: the engine
    // goes on working on the frame while the view catches up.
    virtual void LinesChanged(FrameObjText* /*frame*/, int32_t /*first*/, int32_t /*last*/) {}
    // The frame's text was flowed anew: its whole text rectangle is to be
    // painted again (text, rules and the area below the last line).
    virtual void FrameTextChanged(FrameObjText* /*frame*/) {}
    // The text of the frame changed in a way other frames of the page may
    // depend on: their states are reset and the page is drawn again.
    virtual void RedrawPage() {}
};
