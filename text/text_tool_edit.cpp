// The text tool's keys, Edit commands, undo, and the insertion of page
// numbers and merge fields.
#include <cctype>
#include <cstring>

#include "database/field_table.h"
#include "database/merge_text.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/counters.h"
#include "foundation/cursors.h"
#include "foundation/pstr.h"
#include "foundation/scoped_wait_cursor.h"
#include "foundation/string_table.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/story_store.h"
#include "frames/style_runs.h"
#include "frames/text_buffer.h"
#include "graphics/beep.h"
#include "platform/key_event.h"
#include "text/clipboard_text.h"
#include "text/edit_primitives.h"
#include "text/format_publish.h"
#include "text/frame_flow.h"
#include "text/keyboard_editing.h"
#include "text/smart_quotes.h"
#include "text/text_clipboard.h"
#include "text/text_context.h"
#include "text/text_draw.h"
#include "text/text_tool.h"

namespace {

// Undo-record offsets.
constexpr size_t kUndoEditedStory = 0;
constexpr size_t kUndoCopyStory = 2;
constexpr size_t kUndoParagraph = 4;
constexpr size_t kUndoCharacter = 8;

}  // namespace

// ---- keys ----

uint8_t TextTool::KeyDown(const KeyEvent& key)
{
    TextContext* ctx = Text();
    if (!EditFrame() || !ctx)
        return 0;
    document_->SetViewCursor(kCursorHidden);
    if (!IsCaretKey(key))
        SaveUndo(kUndoChangeText);
    BindEditor();
    const uint8_t result = HandleKey(ctx, key);
    if (!EditFrame())
        return result;
    IntPoint at;
    int32_t height = 0;
    if (CaretVisible() && CaretPoint(&at, &height) && (at.x != 0 || at.y != 0)) {
        EditFrame()->SetDrawState(kDrawDone);
        if (ctx->Host().ScrollToShowPoint(IntPoint{at.x, at.y - (height >> 1)})) {
            RefreshBars();
            BindEditor();
        }
    }
    // Typing ahead puts the re-flow off until the keys stop.
    if (ctx->edit.reflowPending || NeedsReflow())
        ScheduleReflow();
    return result;
}

// ---- Edit commands ----

bool TextTool::CanDoEditCommand(int16_t command)
{
    if (!EditFrame())
        return false;
    switch (command) {
    case 1:
    case 2:
    case 3: return ShowsSelection();
    case 4: return Clipboard() && Clipboard()->CanPaste(1);
    case 5: return true;
    default: return false;
    }
}

bool TextTool::DoEditCommand(int16_t command)
{
    TextContext* ctx = Text();
    if (!EditFrame() || !ctx || command < 1 || command > 5)
        return false;
    ScopedWaitCursor busy;
    TextClipboard* clipboard = Clipboard();
    switch (command) {
    case 1:
    case 2:
        // A cut whose copy failed would lose the text: it stays.
        if (!clipboard || clipboard->CopyText(document_) != 0 || command == 2)
            break;
        [[fallthrough]];
    case 3:
        ClearUndo();
        SaveUndo(kUndoChangeText);
        // Backspace as the view hands it on: a typed character.
        KeyDown(TypedKey(kKeyBackspace));
        break;
    case 4:
        if (!clipboard)
            break;
        BindEditor();
        ClearUndo();
        SaveUndo(kUndoChangeText);
        clipboard->PasteText(document_);
        break;
    case 5:
        if (StoryAllSelected()) {
            SelectAll(EditFrame(), false, true);
            ShowCaret();
        } else {
            if (ShowsSelection())
                ToggleHighlight();
            SelectAll(EditFrame(), true, true);
        }
        break;
    default: break;
    }
    return true;
}

void TextTool::PasteIntoFrame()
{
    TextContext* ctx = Text();
    if (!EditFrame() || !ctx)
        return;
    HideCaret();
    BindEditor();
    ::PasteText(ctx);
    if (!EditFrame())
        return;
    EditFrame()->MarkChanged(1, 0);
    EditFrame()->Invalidate(0);
    ShowCaret();
    IntPoint at;
    int32_t height = 0;
    if (CaretVisible() && CaretPoint(&at, &height) && (at.x != 0 || at.y != 0)) {
        RepaintPage();
        RepaintEditFrame();
        EditFrame()->SetDrawState(kDrawNeeded);
        if (ctx->Host().ScrollToShowPoint(IntPoint{at.x, at.y - height / 2})) {
            RefreshBars();
            BindEditor();
        }
    }
    ContinueOverflowEditing(ctx, false);
}

int32_t TextTool::PasteRoom()
{
    TextContext* ctx = Text();
    if (!EditFrame() || !ctx)
        return TextBuffer::kMostParagraphs;
    BindEditor();
    return ::PasteRoom(ctx);
}

uint8_t TextTool::CopySelectionToStore()
{
    TextContext* ctx = Text();
    if (!EditFrame() || !ctx)
        return 0;
    BindEditor();
    const uint8_t copied = CopySelectionToClipboard(ctx);
    BindEditor();
    return copied;
}

TextClipboard* TextTool::Clipboard() const
{
    TextContext* ctx = Text();
    return ctx ? ctx->Host().Clipboard() : nullptr;
}

// ---- undo ----

bool TextTool::SaveUndo(int16_t action)
{
    if (undo_.saved && undo_.action != action)
        ClearUndo();
    // A run of typing keeps the state from before its first key.
    if (undo_.saved)
        return false;
    TextContext* ctx = Text();
    StoryStore* stories = document_->Stories();
    if (!EditFrame() || !ctx || !stories)
        return false;
    if (action == kUndoResizeFrame) {
        Handle h = HandleNew(4);
        if (!h)
            return false;
        PutU32LE(HandleData(h), EditFrame()->FrameId());
        undo_.saved = h;
        undo_.action = action;
        document_->SetUndoOwner(this);
        document_->UndoAvailable();
        return true;
    }
    if (action != kUndoChangeText)
        return false;
    BindEditor();
    if (ctx->ParagraphCount() > kUndoParagraphLimit)
        return false;
    // Where the caret stands before the run's first key (a click may have
    // put it there since the last key).
    const TextPosition last = CaretNow();
    const uint16_t story = uint16_t(EditFrame()->Block().storyId);
    uint16_t copy = 0;
    {
        ScopedWaitCursor busy;
        copy = stories->CopyStory(story, 0, -1);
        BindEditor();
    }
    Handle h = copy ? HandleNewClear(kTextUndoSize) : nullptr;
    if (!h) {
        if (copy) {
            stories->DeleteStory(copy);
            BindEditor();
        }
        if (undoWarningArmed_) {
            AlertNote(LookupString(kStringCantUndo), 0);
            undoWarningArmed_ = 0;
        }
        return false;
    }
    uint8_t* r = HandleData(h);
    PutU16LE(r + kUndoEditedStory, story);
    PutU16LE(r + kUndoCopyStory, copy);
    PutU32LE(r + kUndoParagraph, last.paragraph);
    PutU16LE(r + kUndoCharacter, last.character);
    undo_.saved = h;
    undo_.action = action;
    undoWarningArmed_ = 1;
    document_->SetUndoOwner(this);
    document_->UndoAvailable();
    return true;
}

void TextTool::ClearUndo()
{
    if (undo_.saved && undo_.action == kUndoChangeText) {
        StoryStore* stories = document_->Stories();
        const uint8_t* r = HandleData(undo_.saved);
        const uint16_t edited = GetU16LE(r + kUndoEditedStory);
        const uint16_t copy = GetU16LE(r + kUndoCopyStory);
        if (stories) {
            stories->DeleteStory(copy);
            stories->BindStory(edited);
        }
        HandleFree(undo_.saved);
        undo_ = FrameUndo{};
        BindEditor();
        return;
    }
    FrameTool::ClearUndo();
}

void TextTool::UndoRedo()
{
    TextContext* ctx = Text();
    FrameStore* frames = Frames();
    StoryStore* stories = document_->Stories();
    if (!undo_.saved || !ctx || !frames || !stories)
        return;
    HideCaret();
    if (undo_.action == kUndoResizeFrame) {
        const uint16_t id = uint16_t(GetU32LE(HandleData(undo_.saved)));
        if (FrameObj* frame = frames->GetLoadedFrame(id))
            frame->ToggleSaved();
    } else if (undo_.action == kUndoChangeText) {
        ScopedWaitCursor busy;
        uint8_t* r = HandleData(undo_.saved);
        const uint16_t edited = GetU16LE(r + kUndoEditedStory);
        const uint16_t copy = GetU16LE(r + kUndoCopyStory);
        const TextPosition saved{GetU32LE(r + kUndoParagraph), GetU16LE(r + kUndoCharacter)};
        const TextPosition last = CaretNow();
        PutU16LE(r + kUndoEditedStory, copy);
        PutU16LE(r + kUndoCopyStory, edited);
        PutU32LE(r + kUndoParagraph, last.paragraph);
        PutU16LE(r + kUndoCharacter, last.character);
        // A selection of the other text means nothing in this one.
        if (EditFrame()) {
            frames->SetEditFlagAll(EditFrame(), false);
            frames->SetTextRef(EditFrame()->FrameId(), 0, 0, 0);
            frames->SetTextRef(EditFrame()->FrameId(), 1, 0, 0);
        }
        frames->ReplaceStoryId(int16_t(edited), int16_t(copy));
        stories->BindStory(copy);
        if (EditFrame()) {
            uint16_t at = frames->ChainHead(EditFrame()->FrameId(), false, 0);
            for (int32_t guard = 0; at != 0 && guard < 0x10000; ++guard) {
                frames->FlowFrame(at, true);
                at = frames->ChainStep(1, at, 0);
            }
            BindEditor();
            PutCaret(saved);
            ctx->edit.lastCaret = CaretNow();
        }
    }
    RepaintPage();
    RepaintEditFrame();
    PublishGraphicAttrs();
    PublishTextAttrs();
    undo_.redo = undo_.redo ? 0 : 1;
    ShowCaret();
}

void TextTool::StoryReplaced()
{
    TextContext* ctx = Text();
    FrameStore* frames = Frames();
    StoryStore* stories = document_->Stories();
    if (!ctx || !frames || !stories || !EditFrame())
        return;
    HideCaret();
    frames->SetEditFlagAll(EditFrame(), false);
    frames->SetTextRef(EditFrame()->FrameId(), 0, 0, 0);
    frames->SetTextRef(EditFrame()->FrameId(), 1, 0, 0);
    if (stories->BindStory(uint16_t(EditFrame()->Block().storyId)) == 0)
        stories->SetAllSelected(false);
    uint16_t at = frames->ChainHead(EditFrame()->FrameId(), false, 0);
    for (int32_t guard = 0; at != 0 && guard < 0x10000; ++guard) {
        frames->FlowFrame(at, true);
        at = frames->ChainStep(1, at, 0);
    }
    BindEditor();
    PutCaret(TextPosition{});
    ctx->edit.lastCaret = CaretNow();
    RepaintPage();
    RepaintEditFrame();
    PublishTextAttrs();
    ShowCaret();
}

// ---- page numbers and merge fields ----

void TextTool::DeleteSelectionForInsert()
{
    if (ShowsSelection())
        KeyDown(TypedKey(kKeyBackspace));
}

bool TextTool::InsertAtCaret(const uint8_t* text, uint32_t n, uint16_t* at)
{
    TextContext* ctx = Text();
    BindEditor();
    const uint16_t c = ctx->Caret();
    *at = c;
    std::array<int16_t, kAttributeCount> values{};
    const uint16_t flags = BuildTypingRun(ctx, c, TypingAttributes(), &values);
    if (!InsertBytes(ctx, c, text, n))
        return false;
    ParagraphText para = ctx->Current();
    AdjustRunsForInsert(&para, c, n);
    if (flags & kRunValueBits)
        SetRunAttributes(&para, c, int32_t(c + n), flags, values, true);
    ctx->StoreFlags(para);
    return true;
}

void TextTool::InsertPageNumber(int16_t style)
{
    TextContext* ctx = Text();
    FrameStore* frames = Frames();
    if (!EditFrame() || !ctx || !frames)
        return;
    IntRect bounds;
    EditFrame()->GetBounds(&bounds, 0, kGeometryCurrent);
    uint8_t residence = kOnPasteboard;
    CurrPageMng* pages = document_->PageManager();
    const uint32_t page = pages ? pages->PageAtRect(bounds, &residence) : 0;
    uint8_t text[256] = {};
    if (residence == kOnPasteboard) {
        PStrFromCStr(text, "-");
    } else {
        const int16_t number = pages->GetPageNumber(page);
        if (style == 1 || style == 2)
            FormatRoman(number, text);
        else if (style == 3 || style == 4)
            FormatLetters(number, text);
        else
            PStrFromInt(number, text);
        if (style == 2 || style == 4) {
            for (int i = 1; i <= text[0]; ++i)
                text[i] = uint8_t(std::tolower(text[i]));
        }
    }
    if (text[0] < 255)
        text[++text[0]] = ' ';
    HideCaret();
    DeleteSelectionForInsert();
    // Characters put inside a merge field's text would be overwritten, and
    // the text after them mangled, the next time the field shows its text.
    BindEditor();
    int32_t fieldStart = -1;
    const int32_t fieldLength = GetFieldRunAt(ctx->Current(), ctx->Caret(), &fieldStart);
    if (fieldStart >= 0 && fieldStart < ctx->Caret() && ctx->Caret() < fieldStart + fieldLength) {
        PlayBeep(5);
        ShowCaret();
        return;
    }
    uint16_t c = 0;
    if (!InsertAtCaret(text + 1, text[0], &c)) {
        ShowCaret();
        return;
    }
    CanInsertPageNumber(ctx, style, c);
    ctx->pageNumberRefresh = 0;
    const bool changed = FlowEditFrame();
    ctx->pageNumberRefresh = 1;
    RepaintEditFrame();
    if (changed)
        frames->InvalidateChain(EditFrame()->FrameId());
    ShowCaret();
}

void TextTool::SetDatabaseField(int16_t index)
{
    TextContext* ctx = Text();
    FrameStore* frames = Frames();
    if (!EditFrame() || !ctx || !frames) {
        FrameTool::SetDatabaseField(index);
        return;
    }
    BindEditor();
    int32_t fieldStart = -1;
    const int32_t fieldLength = GetFieldRunAt(ctx->Current(), ctx->Caret(), &fieldStart);
    if (fieldStart >= 0 && fieldStart < ctx->Caret() && ctx->Caret() < fieldStart + fieldLength) {
        PlayBeep(11);
        return;
    }
    const int32_t id = FieldIdAtIndex(index, 0);
    if (id < 0)
        return;
    HideCaret();
    ClearUndo();
    SaveUndo(kUndoChangeText);
    char value[256] = {};
    if (ctx->Host().ShowsFieldNames())
        FieldTypeName(id, value, true, true);
    else
        GetMergeFieldText(id, value, false);
    uint8_t text[256] = {};
    PStrFromCStr(text, value);
    if (text[0] == 0) {
        text[0] = 1;
        text[1] = ' ';
    }
    DeleteSelectionForInsert();
    uint16_t c = 0;
    if (InsertAtCaret(text + 1, text[0], &c)) {
        ParagraphText para = ctx->Current();
        MarkFieldRun(&para, c, int16_t(id), int16_t(text[0]));
        ctx->StoreFlags(para);
        RefreshBars();
        const bool changed = FlowEditFrame();
        RepaintEditFrame();
        if (changed)
            frames->InvalidateChain(EditFrame()->FrameId());
    }
    ShowCaret();
    PublishCaretFormat(ctx, 0xFFFF);
    FrameTool::SetDatabaseField(index);
}
