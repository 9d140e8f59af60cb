// What the text engine asks of the card document, its view and its text
// tool. The card document implements all of it; the two bodies given here
// follow from the rest and hold for every host.
#pragma once

#include <array>
#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/style_record_format.h"
#include "frames/style_run_format.h"
#include "platform/gdi_types.h"

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

// The typing attributes of a text tool that has never been used: font 0,
// 12 points, plain, black at 100%.
std::array<int16_t, kAttributeCount> DefaultTypingAttributes();

class TextHost {
public:
    virtual ~TextHost() = default;

    // ---- the document ----
    virtual TextPreferences Preferences() = 0;
    // A font number of the document's font table; false when unknown.
    virtual bool GetFontSpec(int16_t font, FontSpec* out) = 0;
    // The document's own font under a number, never its substitute: what
    // copied text names so that another document can find it.
    virtual bool StoredFontSpec(int16_t font, FontSpec* out) { return GetFontSpec(font, out); }
    // The number of an equal font, added when the table lacks it; -1 when
    // the document has no table of its own.
    virtual int32_t FontIdFor(const FontSpec&) { return -1; }
    // The colour of a colour-table index at a shade percentage.
    virtual ColorRef TintColour(int16_t index, int16_t shade) = 0;
    // The page number shown under a frame and whether its page is a real
    // page (the pasteboard is not).
    virtual void PageNumberFor(FrameObj* frame, int32_t* number, bool* realPage) = 0;
    // Whether merge fields show their names rather than the current card.
    virtual bool ShowsFieldNames() = 0;
    // The two continuation switches and the continuation count of the
    // document's settings.
    virtual void ContinuationSettings(bool* first, bool* second, int16_t* count) = 0;
    // While raised, pages that open or close do not notify the tools.
    virtual void SetPageChangeQuiet(bool on) = 0;
    virtual void SetModified() = 0;

    // ---- the view ----
    // The zoom of the view: view units = document units x numerator /
    // denominator.
    virtual void Zoom(int32_t* numerator, int32_t* denominator) = 0;
    // The context the view draws into; null when there is no view.
    virtual Dc* ViewDc() = 0;
    // True while no print or export target is pushed.
    virtual bool IsScreenTarget() = 0;
    // Scrolls the view until the point (view units) shows; whether it
    // scrolled.
    virtual bool ScrollToShowPoint(const IntPoint& viewPoint) = 0;
    // The card view's window: the parent of the spelling dialog. Null
    // without a view.
    virtual QWidget* ViewWidget() = 0;
    // Whether the card view has the keyboard focus; the caret draws only
    // then.
    virtual bool ViewHasFocus();

    // ---- the text tool ----
    virtual bool IsTextToolCurrent() = 0;
    // The frame the tool edits, null when none.
    virtual FrameObjText* EditFrame() = 0;
    // Editing goes on in this frame of the chain: when it is not the frame
    // in edit, the tool leaves that one and enters it.
    virtual void BindEditor(FrameObjText* frame) = 0;
    virtual void SaveUndo() = 0;
    virtual void HideCaret() = 0;
    // The caret shows at the caret point.
    virtual void ShowCaret() = 0;
    // The tool's ten typing attributes, in the order of the run bits.
    virtual std::array<int16_t, kAttributeCount> TypingAttributes() = 0;
    // The format at the caret or of the selection, as a 288-byte style
    // record, and the column of the merge field there (-1 for none).
    virtual void SetCurrentFormat(const uint8_t* record288, int32_t mergeFieldColumn) = 0;
    // The view's click state of the last mouse-down (4: the click selected
    // a whole paragraph).
    virtual uint8_t ClickState() = 0;

    // ---- editing through the text tool ----
    // Forgets the tool's undo record, so that the next change saves a new
    // one.
    virtual void ClearUndo() = 0;
    // The caret shows at the caret point and blinks anew (ShowCaret only
    // shows it).
    virtual void RestartCaret() = 0;
    // Selects (or deselects) the whole story in every frame of the chain,
    // with its highlight when redraw is set.
    virtual void SelectAll(bool on, bool redraw) = 0;
    // One of the ten typing attributes changes (by rank).
    virtual void SetTypingAttribute(int rank, int16_t value) = 0;
    // The tool shows its attributes on the tool bars again.
    virtual void PublishTextAttributes() = 0;
    // The tool's paragraph attributes: what Paragraph Info applies.
    virtual ParaFormat ParagraphAttributes() = 0;
    // Where copied text goes and pasted text comes from; null without one.
    virtual TextClipboard* Clipboard() = 0;

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
    virtual void LinesChanged(FrameObjText* frame, int32_t first, int32_t last) = 0;
    // The frame's text was flowed anew: its whole text rectangle is to be
    // painted again (text, rules and the area below the last line).
    virtual void FrameTextChanged(FrameObjText* frame) = 0;
    // The text of the frame changed in a way other frames of the page may
    // depend on: their states are reset and the page is drawn again.
    virtual void RedrawPage() = 0;
};
