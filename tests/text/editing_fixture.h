// A text tool as far as editing needs one: the frame in edit follows the
// engine along the chain, select-all marks every frame of the chain, the
// caret, undo and modified calls are counted, and a clipboard keeps its
// paragraphs in a store of its own. Keys go in as the card view's records.
#pragma once

#include <memory>

#include "frames/frame_store.h"
#include "platform/key_event.h"
#include "text/keyboard_editing.h"
#include "text/text_clipboard.h"
#include "text_fixture.h"

class MemoryClipboard : public TextClipboard {
public:
    explicit MemoryClipboard(const std::string& folder)
    {
        EXPECT_EQ(swap_.CreateSwapFile(TextFolderRecord(folder)), 0);
        array_ = HandleNew(0);
        buffer_ = std::make_unique<TextBuffer>(nullptr, &swap_);
        buffer_->AdoptArray(array_, TextBuffer::kParagraphRecordSize);
    }
    ~MemoryClipboard() override
    {
        buffer_->DeleteRange(0, buffer_->Count());
        buffer_.reset();
        HandleFree(array_);
    }
    TextBuffer* Paragraphs() override { return buffer_.get(); }
    int16_t ContentKind() const override { return kind_; }
    void SetContentKind(int16_t kind) override { kind_ = kind; }

private:
    CTFileMng swap_;
    Handle array_ = nullptr;
    std::unique_ptr<TextBuffer> buffer_;
    int16_t kind_ = 0;
};

class EditingHost : public TestTextHost {
public:
    FrameObjText* EditFrame() override { return editFrame; }
    void BindEditor(FrameObjText* frame) override { editFrame = frame; }
    void ClearUndo() override { ++undoClears; }
    void HideCaret() override { caretShown = false; }
    void ShowCaret() override { caretShown = true; }
    void RestartCaret() override { caretShown = true; }
    void SetModified() override { ++modified; }
    void FrameTextChanged(FrameObjText*) override { ++framePaints; }
    void SetTypingAttribute(int rank, int16_t value) override { typing[size_t(rank)] = value; }
    void PublishTextAttributes() override { ++attributePublishes; }
    ParaFormat ParagraphAttributes() override { return paragraph; }
    TextClipboard* Clipboard() override { return clipboard; }
    void SelectAll(bool on, bool) override
    {
        ++selectAlls;
        FrameStore& frames = doc->frames;
        doc->stories.SetAllSelected(on);
        frames.SetEditFlagAll(editFrame, on);
        if (!on)
            return;
        uint16_t id = frames.ChainHead(editFrame->FrameId(), false, 0);
        while (id != 0) {
            TextPosition start, end;
            frames.GetFrameStart(id, &start, &end);
            frames.SetTextRef(id, 0, start.paragraph, start.character);
            frames.SetTextRef(id, 1, end.paragraph, end.character);
            id = frames.ChainStep(1, id, 0);
        }
    }

    TextTestDocument* doc = nullptr;
    FrameObjText* editFrame = nullptr;
    TextClipboard* clipboard = nullptr;
    ParaFormat paragraph;
    bool caretShown = false;
    int32_t undoClears = 0;
    int32_t modified = 0;
    int32_t framePaints = 0;
    int32_t attributePublishes = 0;
    int32_t selectAlls = 0;
};

class EditingTest : public TextDocumentTest<EditingHost> {
protected:
    EditingTest() { host.doc = &doc; }
    void SetUp() override
    {
        ASSERT_TRUE(dir.ok());
        clipboard = std::make_unique<MemoryClipboard>(dir.path());
        host.clipboard = clipboard.get();
    }

    // A new story of the paragraphs (each without its mark) in the frame,
    // flowed, in edit, the caret at its start.
    void Edit(FrameObjText* frame, const std::vector<std::string>& paragraphs)
    {
        ASSERT_NO_FATAL_FAILURE(FillStory(frame, paragraphs));
        Flow(frame);
        host.editFrame = frame;
        ctx.SelectParagraph(0);
        ctx.SetCaretCharacter(0);
    }
    // One frame of the given width (10 characters of 6 units a line) with
    // the story.
    FrameObjText* Story(const std::vector<std::string>& paragraphs, int32_t width = 60, int32_t height = 400)
    {
        FrameObjText* frame = AddFrame(IntRect{0, 0, width, height});
        Edit(frame, paragraphs);
        return frame;
    }
    // Two chained frames, with one line in the first by default.
    void Chain(const std::vector<std::string>& paragraphs, int32_t firstHeight = 16, int32_t secondHeight = 400)
    {
        first = AddFrame(IntRect{0, 0, 60, firstHeight});
        second = AddFrame(IntRect{100, 0, 160, secondHeight});
        Edit(first, paragraphs);
        doc.frames.LinkAfter(first->FrameId(), second);
        Flow(first);
        Flow(second);
        BindFrame(&ctx, first);
        Caret(0, 0);
    }
    void Flow(FrameObjText* frame)
    {
        doc.frames.FlowFrame(frame->FrameId(), false);
        BindFrame(&ctx, frame);
    }

    ReflowLevel Press(uint32_t virtualKey, bool shift = false)
    {
        ReflowLevel level = ReflowLevel::kNone;
        EXPECT_EQ(HandleKey(&ctx, DownKey(virtualKey, shift), &level), 1);
        return level;
    }
    ReflowLevel Type(const std::string& text, bool shift = false)
    {
        ReflowLevel level = ReflowLevel::kNone;
        for (char c : text)
            EXPECT_EQ(HandleKey(&ctx, TypedKey(uint8_t(c), shift), &level), 1);
        return level;
    }
    void Caret(uint32_t paragraph, uint16_t character)
    {
        ctx.SelectParagraph(int32_t(paragraph));
        ctx.SetCaretCharacter(character);
    }
    TextPosition CaretAt() const { return ctx.CaretPosition(); }
    void Select(TextPosition a, TextPosition b) { SelectIn(host.editFrame, a, b); }
    // The selection shown by the frame in edit, or nothing.
    std::pair<TextPosition, TextPosition> Selection()
    {
        FrameObjText* frame = host.editFrame;
        if (!doc.frames.IsInEdit(frame))
            return {};
        std::pair<TextPosition, TextPosition> s;
        doc.frames.GetTextRef(frame->FrameId(), 0, &s.first.paragraph, &s.first.character);
        doc.frames.GetTextRef(frame->FrameId(), 1, &s.second.paragraph, &s.second.character);
        return s;
    }
    bool Selected() { return doc.frames.IsInEdit(host.editFrame); }
    // Every paragraph's text with its mark; the caret stays.
    std::vector<std::string> Texts()
    {
        const TextPosition caret = ctx.CaretPosition();
        std::vector<std::string> out;
        for (int32_t i = 0; i < ctx.ParagraphCount(); ++i) {
            ctx.SelectParagraph(i);
            const ParagraphText p = ctx.Current();
            out.emplace_back(reinterpret_cast<const char*>(p.Chars()), p.Length());
        }
        Caret(caret.paragraph, caret.character);
        return out;
    }

    std::unique_ptr<MemoryClipboard> clipboard;
    FrameObjText* first = nullptr;
    FrameObjText* second = nullptr;
};

using Paras = std::vector<std::string>;
