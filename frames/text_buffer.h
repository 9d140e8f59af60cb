// The paragraphs of one story at a time: a swappable store of 20-byte
// paragraph records whose data is the paragraph's Handle
// (frames/paragraph_storage.h). Its record array is borrowed from the story
// being worked on (the story store binds it); flag bits 5-7 of a record say
// which blocks the paragraph's Handle carries.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "frames/paragraph_storage.h"
#include "frames/swap_store.h"
#include "frames/text_position.h"

class FrameDocument;

class TextBuffer : public SwapStore {
public:
    static constexpr uint32_t kParagraphRecordSize = 20;
    // Paragraphs have ids of 16 bits, 0 meaning none: a story holds at most
    // this many.
    static constexpr int32_t kMostParagraphs = 65535;

    TextBuffer(FrameDocument* document, CTFileMng* swap);
    // The borrowed array stays with its story.
    ~TextBuffer() override;

    // Keeps the story's header.
    void SetTemplate(const uint8_t* header) override;
    // Loads the current paragraph and lays it out.
    int32_t LoadCurrent(uint8_t mode) override;
    // Marks the current paragraph changed and writes it out.
    int32_t UnloadCurrent() override;
    // A new paragraph holds only its mark.
    uint16_t NewRecord(bool keep) override;
    uint16_t InsertRecord(int32_t index, Handle data, bool keep) override;
    // Writes the story's paragraphs at the file's position (each
    // paragraph's used bytes), then their record array. Nonzero when a
    // paragraph could not be loaded or written; the records in memory keep
    // their swap places.
    int32_t WriteStore(FileHandle file, int32_t offset) override;

    // Gives every paragraph a fresh swap stretch; the index of the first
    // that failed, or -1.
    int32_t RewriteAll();
    // count paragraphs in the transfer format, appended.
    int32_t ReadParagraphs(FileHandle file, uint16_t count);
    int32_t WriteParagraphs(FileHandle file);
    bool QueryStory() const { return true; }

    bool SelectParagraph(int32_t index);
    const ParagraphLayout& Layout() const { return layout_; }
    // The current paragraph's Handle, null when it is not loaded.
    Handle CurrentParagraph() const { return DataHandle(current_); }
    // The text engine changed which blocks the current paragraph's Handle
    // carries: its record takes the new bits (5-7) and is marked changed.
    void SetParagraphFlags(uint8_t layoutBits);

    // Paragraphs made from plain text: a CR ends one, a LF becomes a space
    // (in text too), a piece longer than 65000 characters is cut back in
    // steps of 2000. With append they go behind the current paragraph,
    // otherwise the current paragraph is split at the caret and they go
    // between its halves. 0, kStoreFull when the story would hold more than
    // kMostParagraphs, or the first failing unload's code.
    int32_t SetPlainText(Handle text, bool append);
    // Every paragraph's characters with its mark, the last mark left out;
    // 1 when memory runs out.
    int32_t GetPlainText(Handle* out);
    int32_t WriteText(FileHandle file);

    void SetCaret(const TextPosition& caret) { caret_ = caret; }
    const TextPosition& Caret() const { return caret_; }
    const uint8_t* StoryHeader() const { return template_; }
    // The document whose stories the buffer edits.
    FrameDocument* Document() const { return document_; }

private:
    int32_t SplitAtCaret();

    FrameDocument* document_;
    ParagraphLayout layout_;
    uint16_t textOffset_ = 8;
    TextPosition caret_;
};
