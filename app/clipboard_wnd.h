// The program's clipboard store and its viewer window. Frames and styled
// text are copied and pasted through a store the program keeps itself: the
// system clipboard carries only a small marker under "Veltrane Text" or
// "Veltrane Frame" saying that the store holds text or frames, plus plain
// text or a picture for other programs. The window, hidden unless the user
// asks for it, shows what the system clipboard holds.
//
// One store and one window exist for the whole program, made at start-up and
// destroyed at exit. The text tool copies and pastes text through it (as its
// TextClipboard), the selection tool frames (through ClipboardFrameHost).
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "carddoc/frame_clipboard.h"
#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "foundation/path_record.h"

class CTFileMng;
class FrameObj;
class TextBuffer;
class ToolDocument;

// The names of the two formats of the program's own.
extern const char kClipFormatText[];
extern const char kClipFormatFrame[];

// What the store holds.
enum : int16_t {
    kHeldNothing = 0,
    kHeldFrames = 1,
    kHeldText = 2,
};

// One record of a copied frame (20 bytes, in copy order): u32 0, u16 the
// frame's id, u32 unused, u32 where its data lies in the store's swap file,
// u8 its type.
constexpr uint32_t kClipFrameRecordSize = 20;
constexpr size_t kClipRecordFrameId = 4;
constexpr size_t kClipRecordPosition = 10;
constexpr size_t kClipRecordType = 14;

class CClipboardWnd : public QWidget, public FrameClipboard {
public:
    // The store keeps its data in swap; the window starts hidden.
    CClipboardWnd(CTFileMng* swap, QWidget* owner);
    ~CClipboardWnd() override;

    // ---- copying and pasting; 0, or 1 on failure ----
    // The frames' data and a picture of them: fails on no frames or when the
    // swap file is not open.
    int32_t CopyFrames(ToolDocument* document, FrameObj* const* frames, int16_t count) override;
    int32_t CopyText(ToolDocument* document) override;
    // By what the system clipboard offers first: the program's text or
    // plain text to PasteText, frames to PasteFrames, a picture to
    // PastePicture.
    void Paste(ToolDocument* document) override;
    int32_t PasteText(ToolDocument* document) override;
    int32_t PasteFrames(ToolDocument* document);
    int32_t PastePicture(ToolDocument* document);
    // Mode 0: as frames (the Object tool); 1: into text.
    bool CanPaste(int16_t mode) override;

    // ---- the store's state ----
    // Reads again what the system clipboard holds.
    void RefreshClipboardState();
    // Empties the store, with emptyClipboard the system clipboard too.
    void ClearStore(bool emptyClipboard);
    // Takes the program's marker off the system clipboard: it is worthless
    // without the store behind it.
    void ReleaseClipboard();
    // The plain text taken from the clipboard becomes the store's text; 1
    // when there is none.
    int32_t ImportPlainText();

    int16_t HeldKind() const { return heldKind_; }
    int32_t ForeignFormat() const { return foreignFormat_; }
    int32_t DisplayFormat() const { return displayFormat_; }
    int32_t FrameRecordCount() const { return int32_t(frameRecords_.size()); }
    const std::array<uint8_t, kClipFrameRecordSize>& FrameRecord(int32_t i) const { return frameRecords_[size_t(i)]; }
    // The plain text about to be taken in (without its end zero).
    void SetTextHandle(Handle text);

    // ---- TextClipboard ----
    TextBuffer* Paragraphs() override { return store_.get(); }
    int16_t ContentKind() const override { return heldKind_; }
    void SetContentKind(int16_t kind) override { heldKind_ = kind; }
    bool HoldsText() const override;
    void ReleaseLoaded() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Closing only hides the window.
    void closeEvent(QCloseEvent* event) override;

private:
    void ClipboardChanged();
    void FreeTextHandle();
    // Reads the clipboard's plain text into the text handle; false when it
    // holds none.
    bool ReadClipboardText();
    int32_t PasteTextAsFrame(ToolDocument* document);

    CTFileMng* swap_;
    Handle array_ = nullptr;
    std::unique_ptr<TextBuffer> store_;
    std::vector<std::array<uint8_t, kClipFrameRecordSize>> frameRecords_;
    Handle text_ = nullptr;
    // Characters of the text read last that the code page lacks.
    int32_t leftOut_ = 0;
    int16_t heldKind_ = kHeldNothing;
    int32_t foreignFormat_ = 0;
    uint8_t created_ = 0;
    int32_t displayFormat_ = 0;
    ToolDocument* document_ = nullptr;
};

// ---- the program's one store ----
// Makes the swap file in the folder and the hidden window; 0, or 1 when the
// swap file could not be made (nothing is made then).
int32_t CreateClipboardStore(const PathRecord& folder, QWidget* owner = nullptr);
void DestroyClipboardStore();
CClipboardWnd* ClipboardWindow();
// View > Show Clipboard: hides the window when it shows, else shows it and
// gives it the focus.
void ToggleClipboardWindow();
bool IsClipboardWindowVisible();

// The size of a text frame made for pasted plain text: the longest line in
// widths of "W" by 12 units a line, counting a line at every CR and at every
// LF (a CR LF pair counts twice).
IntPoint PlainTextFrameSize(const uint8_t* text, uint32_t n, int32_t widthOfW);
