// The Text tool (tool kind 1). While it is the current tool a click on a
// text frame puts the frame's story into editing: the document's text
// engine is bound to the frame, keys go to the text, drags and repeated
// clicks select, the Edit commands copy, paste and clear, and the Text
// menu's format commands apply to the selection. The tool keeps the format
// at the caret (or the one new text gets) as a style record and publishes
// it to the bars.
//
// Undo holds one state: a resized frame, or a copy of the story taken
// before the first key of a run of typing. Undo and redo swap the story
// and its copy.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "frames/frame_obj_text.h"
#include "frames/style_record_format.h"
#include "frames/style_run_format.h"
#include "frames/text_position.h"
#include "toolbase/frame_tool.h"

class CaretManager;
class Dc;
class FrameObjText;
class FrameStore;
class QTimer;
class TextClipboard;
class TextContext;

// The bar the tool enables while it edits.
constexpr int16_t kTextBarId = 132;
// Stories of more paragraphs are not copied for undo.
constexpr int32_t kUndoParagraphLimit = 1000;
// "Can't undo operation."
constexpr int32_t kStringCantUndo = 502;
// The undo record of a text change (12 bytes): u16 edited story, u16 its
// copy, u32 paragraph and u16 character of the last caret position.
constexpr uint32_t kTextUndoSize = 12;

class TextTool : public FrameTool {
public:
    explicit TextTool(ToolDocument* document);
    ~TextTool() override;

    // ---- slots of the tool base ----
    int16_t GetKind() override;
    void Activate(FrameTool* previous, int16_t kind) override;
    void Deactivate() override;
    // Deactivates and forgets the frame it edited.
    void PagesClosing() override;
    // Resumes editing when the text tool is the current tool.
    void PagesLoaded() override;
    uint8_t KeyDown(const KeyEvent& key) override;
    int32_t MouseDown(const IntPoint& viewPoint) override;
    // The document's context menu.
    int32_t RightButtonUp(const IntPoint& viewPoint) override;
    bool CanDoEditCommand(int16_t command) override;
    bool DoEditCommand(int16_t command) override;
    CTracker* CreateTracker(int16_t mode) override;
    void SetColor(int16_t value, int16_t target) override;
    void SetShade(int16_t value, int16_t target) override;
    // Kind 0 moves the frame in edit to a left edge, 1 to a top edge.
    void SetFramePlacement(int16_t field, int32_t value, int32_t unused, bool redraw) override;
    void SetTextStyle(int32_t entry) override;
    void SetFont(int16_t id) override;
    void SetFontSize(int16_t size) override;
    void SetFontStyle(int16_t bits, int16_t on, int16_t mask) override;
    void SetAlignment(int16_t value) override;
    // Leading: a value, or with a frame in edit -1 for one more and any other
    // negative value for one less than the caret line's ascent.
    void SetTextToolAttrA(int16_t value) override;
    // Range spacing over a selection, pair spacing at the caret.
    void SetTextToolAttrB(int16_t value) override;
    void SetLineSpacing(int16_t value) override;
    // Inserts a merge field at the caret.
    void SetDatabaseField(int16_t index) override;
    void SetCaseStyle(int16_t value) override;
    void SetBaselineStyle(int16_t value) override;
    void SetTextToolAttrC(int16_t value) override;
    void GetGraphicAttrs(GraphicAttrs* out) override;
    void GetTextAttrs(TextAttrs* out) override;
    int32_t GetCursor(const IntPoint& viewPoint) override;
    void UndoRedo() override;
    bool SaveUndo(int16_t action) override;
    void ClearUndo() override;

    // ---- slots of its own ----
    // The frame's story goes into editing (the flag has no effect).
    virtual void SetEditFrame(FrameObjText* frame, uint8_t flag);
    virtual void EndEdit(uint8_t flag);
    virtual void HideCaret();
    virtual void ShowCaret();
    virtual void ApplyParagraphInfo();
    virtual void ApplyCharacterInfo(int16_t mask, int16_t bits);
    virtual void RefreshBars();

    // ---- other operations ----
    // Binds the text engine to the frame in edit again (after anything that
    // may have moved the text).
    void BindEditor();
    // The story of the frame in edit was given new text as a whole: no
    // selection of the old text stays, the chain flows again and the caret
    // goes to the start.
    void StoryReplaced();
    // The format at the caret or of the selection (a style record), and the
    // column of the merge field there (-1 none).
    void SetCurrentFormat(const uint8_t* record288, int32_t mergeFieldColumn);
    void SelectAll(FrameObjText* frame, bool on, bool redraw);
    // The clipboard's text pasted at the caret.
    void PasteIntoFrame();
    // The most lines a paste into the frame in edit can have.
    int32_t PasteRoom();
    // The selection (or the whole story) copied into the clipboard's
    // paragraphs; 1 when something was copied.
    uint8_t CopySelectionToStore();
    // Text > Insert Page Number: 0 decimal, 1 upper-case roman, 2 lower-case
    // roman, 3 upper-case letters, 4 lower-case letters.
    void InsertPageNumber(int16_t style);
    // One blink of the caret.
    void BlinkCaret();
    // Runs the re-flow that typing put off, when one is waiting.
    void FlushReflow();

    // ---- what the text engine reads through the document ----
    // The base's current frame: the tool keeps only text frames there.
    FrameObjText* EditFrame() const { return static_cast<FrameObjText*>(frame_); }
    std::array<int16_t, kAttributeCount> TypingAttributes() const;
    // One typing attribute (by rank) set by the engine, as when a pair
    // spacing asked for at a paragraph's start goes back to 0.
    void SetTypingAttribute(int rank, int16_t value);
    // The paragraph words of the current format: what Paragraph Info
    // applies.
    ParaFormat ParagraphAttributes() const;
    // The caret shows at the caret point and blinks anew.
    void RestartCaret();
    // The click state of the last mouse-down. A fourth click's paragraph
    // selection counts only while the selection is still the one it made.
    uint8_t ClickState();
    const uint8_t* CurrentFormat() const { return format_.data(); }
    // Drawing the page binds the engine to every text frame it draws: the
    // caret's place is taken before and the frame in edit bound again at
    // it afterwards.
    TextPosition EditPlace() const { return CaretNow(); }
    void RestoreEditPlace(const TextPosition& caret);
    int16_t DatabaseField() const { return databaseField_; }
    // The document's caret; null without one.
    CaretManager* Caret() const;
    bool ReflowPending() const;

private:
    TextContext* Text() const;
    // A frame is in edit and the document has its text engine, bound to it.
    bool Edits();
    // The program's clipboard store, as the document's text engine reaches
    // it; null without one.
    TextClipboard* Clipboard() const;
    bool CaretVisible() const;
    // The caret's place in view units (x, and its line's baseline as y)
    // and its line's height; false when no laid-out line holds it.
    bool CaretPoint(IntPoint* point, int32_t* height);
    Dc* ViewDc() const;
    FrameStore* Frames() const;
    bool ShowsSelection();
    bool StoryAllSelected();
    // Inverts the selection's area on the view (on or off).
    void ToggleHighlight();
    // The frame in edit painted again: its inside, its text, and its
    // selection when it shows one; the caret is taken off first.
    void RepaintEditFrame();
    void PaintEditFrame(Dc* dc);
    // Layout walks the story's paragraphs, and the caret's paragraph follows
    // the paragraph at hand: work that flows or draws keeps the caret with
    // these.
    TextPosition CaretNow() const;
    void PutCaret(const TextPosition& position);
    // Flows the frame in edit again; true when its end moved.
    bool FlowEditFrame();
    // The current page redrawn.
    void RepaintPage();
    void ScheduleReflow();
    void RunReflow();
    bool NeedsReflow() const;
    // Inserts text at the caret with the typing format, as page numbers and
    // merge fields are; false when nothing went in. The caret moves past it.
    bool InsertAtCaret(const uint8_t* text, uint32_t n, uint16_t* at);
    void StoreFormatWord(int rank, int16_t value);
    void StoreParaWord(size_t offset, int16_t value);
    void DeleteSelectionForInsert();

    std::array<uint8_t, kStyleRecordSize> format_{};
    int16_t clickState_ = 0;
    int16_t databaseField_ = kAttrNotSet;
    uint8_t undoWarningArmed_ = 1;
    // The selection the last fourth click made.
    TextPosition fourthStart_;
    TextPosition fourthEnd_;
    std::unique_ptr<QTimer> reflowTimer_;
};
