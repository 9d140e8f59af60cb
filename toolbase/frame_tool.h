// The base of the card editor's tools, one object per tool kind in every
// card document: the attributes a new frame receives, the gesture of
// dragging a rectangle to make a frame, the publication of the tool's
// current attributes (GraphicAttrs, TextAttrs) to the document and the bars,
// and the single-level undo record.
//
// The virtual operations are the tools' slots and keep their order; the
// document, its view and its commands reach a tool only through them.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "frames/frame_block_format.h"
#include "frames/frame_document.h"

class CaretManager;
class CTracker;
class FrameObj;
class FrameTool;
class TextContext;
class TrackerView;
struct KeyEvent;

// The current drawing attributes, as the menus and the database bar show
// them. 16-bit values of -1111 are not set (or mixed).
struct GraphicAttrs {
    int16_t textColour = 0;
    int16_t textShade = 0;
    int16_t lineColour = 0;
    int16_t lineShade = 0;
    int16_t linePattern = 0;
    int16_t borderStyle = 0;
    int16_t lineWidth = 0;
    int16_t fillColour = 0;
    int16_t fillShade = 0;
    int16_t fillPattern = 0;
    int16_t background = 0;
    int16_t dataFieldIndex = 0;  // position in the field list
    int16_t reserved[2] = {};
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    uint8_t kind = 0;  // 0 frame values, 1 a line's raw values, 2 the Zoom tool's
};

// The current text attributes, as the text bar and the Text menu show them.
struct TextAttrs {
    int16_t fontId = 0;
    char text[64] = {};
    int16_t size = 0;
    int16_t style = 0;  // 1 bold, 2 italic, 4 underline
    uint8_t alignment = 0;
    int16_t lineSpacing = 0;
    int16_t toolWordA = 0;  // the text tool: leading
    int16_t toolWordB = 0;  // the text tool: pair or range spacing
    int32_t styleEntry = -1;
    uint8_t byteAfterEntry = 0;
    uint8_t reserved[2] = {};
    uint8_t caseStyle = 0;
    uint8_t baselineStyle = 0;
};

// Undo actions; string kUndoNameBase + action names each.
enum : int16_t {
    kUndoNewFrame = 1,
    kUndoResizeFrame = 2,
    kUndoMoveFrame = 3,
    kUndoChangeText = 4,
    kUndoRotateFrame = 5,
    kUndoChangeFrame = 6,
    kUndoDeleteFrame = 7,
    kUndoMovePicture = 8,
    kUndoImportPicture = 9,
};
constexpr int32_t kUndoNameBase = 521;  // "Can't Undo"

// The single-level undo record every tool keeps. The frames keep their own
// saved state; the record only names them (32-bit frame ids) and the
// action.
struct FrameUndo {
    Handle saved = nullptr;
    int16_t action = 0;
    uint8_t redo = 0;
    int16_t word = 0;
};

// The kinds of the tools the others refer to.
enum : int16_t {
    kToolObject = 0,
    kToolText = 1,
    kToolFrameText = 2,
};

// Application cursors the tools show.
enum : int32_t {
    kCursorArrow = 0,
    kCursorHandle = 5,
    kCursorText = 7,
    kCursorHidden = -1,
};

// What the tools need of the card document and its view. The card document
// implements all of it.
class ToolDocument : public FrameDocument {
public:
    // ---- the view ----
    // Null while the document has no view.
    virtual TrackerView* CardView() = 0;
    // The page area in document units, (0, 0, page width, page height).
    // Frames carry their page slot's offset, so a frame is kept within this
    // whole area, never within one slot's size. Without a page of its own a
    // document reaches from the origin to the far corner of its slots.
    virtual void GetPageRect(IntRect* out) const = 0;
    // The view's click state for the mouse-down being handled: 1 a click, 2
    // a double click, 3 and 4 the third and fourth click at the same point.
    virtual uint8_t ViewClickState() = 0;
    // An application cursor over the view; kCursorHidden hides the pointer.
    virtual void SetViewCursor(int32_t cursor) = 0;
    // The document's context menu for what lies at a view point, shown at
    // that point; its choice is carried out as the menu command.
    virtual void ShowContextMenu(const IntPoint& viewPoint) = 0;

    // ---- the tools ----
    virtual int16_t CurrentToolIndex() = 0;
    virtual FrameTool* ToolOfKind(int16_t kind) = 0;
    virtual void SelectTool(int16_t kind) = 0;
    // The Object tool's selected frames.
    virtual int16_t SelectionCount() = 0;
    virtual FrameObj* SelectedFrame(int16_t i) = 0;
    // The Frame Text tool's current text format (a 288-byte style record);
    // false when it has none.
    virtual bool FrameTextFormat(uint8_t* record288) = 0;
    // A new frame of the type on the current page, or null.
    virtual FrameObj* NewFrame(int16_t type) = 0;
    // The document's text engine: its text context.
    virtual TextContext* DocumentTextContext() = 0;
    // The document's text caret.
    virtual CaretManager* Caret() = 0;

    // ---- attributes and bars ----
    virtual void SetGraphicAttrs(const GraphicAttrs& attrs) = 0;
    virtual void SetTextAttrs(const TextAttrs& attrs) = 0;
    virtual void SetBarItemState(int16_t bar, bool on) = 0;
    // The Ctrl key: a tool that made a frame then stays current.
    virtual bool ControlDown();

    // ---- undo: the one owner of the document's undo level ----
    // A different owner first forgets its record.
    void SetUndoOwner(FrameTool* tool);
    FrameTool* UndoOwner() const { return undoOwner_; }
    // A tool saved an undo state: Edit > Undo becomes available.
    virtual void UndoAvailable() = 0;

private:
    FrameTool* undoOwner_ = nullptr;
};

class FrameTool {
public:
    explicit FrameTool(ToolDocument* document);
    virtual ~FrameTool();
    FrameTool(const FrameTool&) = delete;
    FrameTool& operator=(const FrameTool&) = delete;

    // ---- slots 1-17 ----
    virtual int16_t GetKind();
    virtual int16_t GetFrameType();
    virtual void Activate(FrameTool* previous, int16_t kind);
    virtual void Deactivate();
    virtual void PagesClosing();
    virtual void PagesLoaded();
    // True when the key was handled.
    virtual uint8_t KeyDown(const KeyEvent& key);
    // The standard gesture; nonzero when a frame was made.
    virtual int32_t MouseDown(const IntPoint& viewPoint);
    virtual int32_t RightButtonUp(const IntPoint& viewPoint);
    // Edit commands: 1 Cut, 2 Copy, 3 Clear, 4 Paste, 5 Select All.
    virtual bool CanDoEditCommand(int16_t command);
    virtual bool DoEditCommand(int16_t command);
    virtual FrameObj* CreateFrame(const IntRect& viewRect);
    virtual bool CanCreateIn(const IntRect& viewRect);
    virtual void ApplyDefaults();
    virtual void FinishFrame();
    virtual void DeleteFrame(FrameObj* frame);
    // Owned by the caller; null when none can be made.
    virtual CTracker* CreateTracker(int16_t mode);

    // ---- slots 18-35: the Graphics and Text menus ----
    // Targets: 0 line, 1 fill, 2 background, 3 text.
    virtual void SetColor(int16_t value, int16_t target);
    virtual void SetShade(int16_t value, int16_t target);
    virtual void SetPattern(int16_t value, int16_t target);
    virtual void SetBorderStyle(int16_t value);
    virtual void SetLineWidth(int16_t value);
    // Field 0 x, 1 y, 2 and 3 the sizes, 4 the angle.
    virtual void SetFramePlacement(int16_t field, int32_t value, int32_t unused, bool redraw);
    virtual void SetTextStyle(int32_t entry);
    virtual void SetFont(int16_t id);
    virtual void SetFontSize(int16_t size);
    virtual void SetFontStyle(int16_t bits, int16_t on, int16_t mask);
    virtual void SetAlignment(int16_t value);
    virtual void SetTextToolAttrA(int16_t value);
    virtual void SetTextToolAttrB(int16_t value);
    virtual void SetLineSpacing(int16_t value);
    // The position of a field in the field list.
    virtual void SetDatabaseField(int16_t index);
    virtual void SetCaseStyle(int16_t value);
    // 0 superscript, 1 subscript.
    virtual void SetBaselineStyle(int16_t value);
    virtual void SetTextToolAttrC(int16_t value);

    // ---- slots 36-44 ----
    virtual void GetGraphicAttrs(GraphicAttrs* out);
    virtual void GetTextAttrs(TextAttrs* out);
    virtual void ReturnToObjectTool();
    // The application cursor for the view's mouse-move at the point.
    virtual int32_t GetCursor(const IntPoint& viewPoint);
    // Inverts the frame's outline until the left button is let go.
    virtual void HighlightUntilRelease(FrameObj* frame);
    // The Edit menu's Undo item; false when there is nothing to undo.
    virtual bool GetUndoMenuText(std::string* out);
    virtual void UndoRedo();
    // True when recorded.
    virtual bool SaveUndo(int16_t action);
    virtual void ClearUndo();

    // ---- services of the base ----
    ToolDocument* Document() const { return document_; }
    FrameObj* CurrentFrame() const { return frame_; }
    int16_t RememberedId() const { return rememberedId_; }
    const FrameAttributes& Defaults() const { return defaults_; }
    const FrameUndo& Undo() const { return undo_; }

    void RedrawPage(uint8_t eraseHandles, uint8_t defer);
    void ClearChangedMarks();
    // The document's page area (ToolDocument::GetPageRect).
    void GetPageRect(IntRect* out);
    uint8_t GetClickState();
    void NotifyViewChanged();
    void RefreshView();
    void ViewToDocPoint(IntPoint* p);
    void ViewToDocRect(IntRect* r);
    void DocToViewRect(IntRect* r);
    void GetZoom(int16_t* numerator, int16_t* denominator);
    void SetBarItemState(int16_t bar, bool on);
    void PublishGraphicAttrs();
    void PublishTextAttrs();

protected:
    ToolDocument* document_;
    FrameObj* frame_ = nullptr;
    int16_t rememberedId_ = 0;
    FrameAttributes defaults_;
    FrameUndo undo_;
};
