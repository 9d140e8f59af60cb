// The clipboard as the text engine sees it: a text buffer of its own that
// holds the paragraphs copied last (with their formats, runs and fields),
// and the kind of content the clipboard holds. The application's clipboard
// window implements it and, when the kind becomes text, also offers the
// paragraphs to other programs as plain text.
#pragma once

#include <cstdint>

class TextBuffer;

class TextClipboard {
public:
    // The content kind of text copied from a text frame.
    static constexpr int16_t kContentText = 2;

    virtual ~TextClipboard() = default;

    // The clipboard's paragraphs; copying replaces them, pasting reads them.
    virtual TextBuffer* Paragraphs() = 0;
    virtual int16_t ContentKind() const = 0;
    virtual void SetContentKind(int16_t kind) = 0;
    // A paste has read the paragraphs: the data it loaded may go back to the
    // clipboard's store.
    virtual void ReleaseLoaded() {}
};
