// The clipboard as the text side sees it: a text buffer of its own that
// holds the paragraphs copied last (with their formats, runs and fields),
// the kind of content it holds, and the Edit commands of the text tool that
// go through it. The application's clipboard store implements it and also
// exchanges the text with other programs as plain text; the defaults serve a
// clipboard that lives only inside the program.
#pragma once

#include <cstdint>
#include <map>

#include "graphics/font_spec.h"

class TextBuffer;
class ToolDocument;

// The fonts of the copied text as the document it came from stores them:
// by the numbers its runs name, and by the style whose base format gives a
// paragraph's text its font where no run sets one. Another document numbers
// its fonts its own way, and its styles may give other fonts.
struct CopiedFonts {
    std::map<int16_t, FontSpec> runs;
    std::map<uint32_t, FontSpec> styles;

    void clear()
    {
        runs.clear();
        styles.clear();
    }
};

class TextClipboard {
public:
    // The content kind of text copied from a text frame.
    static constexpr int16_t kContentText = 2;

    virtual ~TextClipboard() = default;

    // The clipboard's paragraphs; copying replaces them, pasting reads them.
    virtual TextBuffer* Paragraphs() = 0;
    virtual int16_t ContentKind() const = 0;
    virtual void SetContentKind(int16_t kind) = 0;
    // Whether the paragraphs are text to paste: copied from a text frame,
    // or plain text taken in from another program.
    virtual bool HoldsText() const { return ContentKind() == kContentText; }
    // A paste has read the paragraphs: the data it loaded may go back to the
    // clipboard's store.
    virtual void ReleaseLoaded() {}

    // Mode 1 (into text): whether there is text to paste. Mode 0 (as
    // frames) is the selection tool's.
    virtual bool CanPaste(int16_t mode) { return mode == 1 && HoldsText(); }
    // The selection of the document's frame in edit becomes the clipboard's
    // content; 0, or 1 when nothing was copied.
    virtual int32_t CopyText(ToolDocument* document);
    // The clipboard's text goes in at the caret of the document's text tool;
    // 0, or 1 when the text tool is not current.
    virtual int32_t PasteText(ToolDocument* document);
    // The most lines a paste into the text of the document's text tool can
    // have.
    int32_t PasteRoom(ToolDocument* document);

    // Empty for text taken in from another program: it takes the fonts of
    // the place it goes to.
    CopiedFonts& Fonts() { return copiedFonts_; }

private:
    CopiedFonts copiedFonts_;
};
