// The document's stories: a swappable store of 20-byte story records whose
// data is the story's paragraph array (the records of its paragraphs). The
// story store owns the text buffer and binds it to the story an operation
// concerns, so that the buffer works on that story's paragraphs.
//
// In the document the story section holds, story after story, each
// paragraph's used bytes followed by that story's paragraph array, and then
// the story array; a story record names its paragraph array, a paragraph
// record its bytes.
#pragma once

#include <cstdint>
#include <functional>

#include "foundation/file_io.h"
#include "frames/swap_store.h"
#include "frames/text_buffer.h"

class FrameDocument;

class StoryStore : public SwapStore {
public:
    static constexpr uint32_t kStoryRecordSize = 20;

    // The document goes to the text buffer, which works for it.
    StoryStore(FrameDocument* document, CTFileMng* swap);
    ~StoryStore() override;

    TextBuffer& Buffer() { return buffer_; }

    // Loads the current story and binds its paragraphs.
    int32_t LoadCurrent(uint8_t mode) override;
    // Writes the story's paragraphs out, then (when they all went) its
    // paragraph array; the paragraphs' code.
    int32_t UnloadCurrent() override;
    int32_t UnloadAll(uint8_t keepMask) override;
    void ClearKeepFlags() override;
    // The story's paragraphs and its array leave memory and the swap file.
    void DropCurrent() override;
    void FreeData(uint8_t* header) override;
    // A new story with one empty paragraph; its id.
    uint16_t NewRecord(bool keep) override;
    int32_t ReadData(FileHandle file, uint32_t position) override;
    // Every story into the document. Nonzero when a story or paragraph
    // could not be written; the records in memory keep their swap places.
    int32_t WriteStore(FileHandle file, int32_t offset) override;

    // A story in the transfer form: u16 paragraph count, then each
    // paragraph as a transfer record. A story that cannot be loaded writes
    // the count 0 and answers 1.
    int32_t WriteStory(FileHandle file, uint16_t id);
    // A new kept story from the transfer form (one empty paragraph when the
    // count is 0); id 0 and nothing added when the file is short.
    int32_t ReadStory(FileHandle file, uint16_t* id);

    // A new story holding the paragraphs first..last of story id (last <
    // first: to the end), with swap copies of its own; 0 on failure, and
    // then nothing of the source is touched.
    uint16_t CopyStory(uint16_t id, int32_t first, int32_t last);
    // Loads the story (or makes a new kept one for id 0) and puts the plain
    // text into it at the caret.
    int32_t SetStoryText(Handle text, uint16_t id);
    // The story's paragraphs give way to the plain text (paragraphs made as
    // SetPlainText makes them); the caret goes to the start. When the new
    // paragraphs cannot all be made, the story keeps its old text. 0, 1 when
    // the story cannot be loaded, or the failing unload's code.
    int32_t ReplaceStoryText(Handle text, uint16_t id);
    int32_t WriteStoryText(uint16_t id, FileHandle file);
    bool QueryStory(uint16_t id);
    // Loads the story and binds it; 0, or 1 when it cannot be loaded.
    int32_t BindStory(uint16_t id);
    int32_t DeleteStory(uint16_t id) { return DeleteById(id); }

    bool IsAllSelected() const;
    void SetAllSelected(bool on);

private:
    // The buffer takes the current story's paragraph array (none when the
    // story is not in memory).
    void BindBuffer();
    // Runs each (with the story's index) on every story in memory, the
    // story current and its paragraphs bound to the buffer.
    void ForEachLoadedStory(const std::function<void(int32_t)>& each);

    TextBuffer buffer_;
};
