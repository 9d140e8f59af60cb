// A card document as far as the text engine needs one: the stores in a test
// folder, a style sheet, a host whose preferences and hooks the tests set,
// and a measurer whose results are exact: every character of size s is s/2
// wide, with descent s/4, so a 12-point line is 15 high and each character
// 6 wide.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/path_record.h"
#include "frames/ctfile_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_record_format.h"
#include "frames/frame_store.h"
#include "frames/own_stores.h"
#include "frames/page_table2.h"
#include "frames/paragraph_storage.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"
#include "frames/style_runs.h"
#include "frames/style_sheet.h"
#include "frames/text_buffer.h"
#include "support/temp_dir.h"
#include "text/frame_flow.h"
#include "text/line_table.h"
#include "text/text_context.h"
#include "text/text_host.h"
#include "text/text_measurer.h"
#include "tools/stand_ins/stand_in_hosts.h"

class FixedMeasurer : public TextMeasurer {
public:
    bool SelectFont(int16_t font, int32_t size, int16_t /*style*/) override
    {
        if (font < 0 || font > 3)
            return false;
        size_ = size < 0 ? 0 : size;
        return true;
    }
    int32_t Ascent() override { return size_ * 3 / 4; }
    int32_t Descent() override { return size_ / 4; }
    int32_t CharWidth(uint8_t ch) override { return ch == 0 || ch == 13 ? 0 : size_ / 2; }
    int32_t LeftOverhang(uint8_t) override { return 0; }

private:
    int32_t size_ = 12;
};

// What the tests watch and set of the document, view and tool.
class TestTextHost : public StandInTextHost {
public:
    TextPreferences Preferences() override { return prefs; }
    bool IsTextToolCurrent() override { return toolCurrent; }
    void Zoom(int32_t* n, int32_t* d) override
    {
        *n = zoomNumerator;
        *d = zoomDenominator;
    }
    Dc* ViewDc() override { return dc; }
    bool IsScreenTarget() override { return screen; }
    uint8_t ClickState() override { return clickState; }
    void LinesChanged(FrameObjText*, int32_t first, int32_t last) override { changed.push_back({first, last}); }
    void SaveUndo() override { ++undoSaves; }
    void CollectWrapOutlines(FrameObjText*, IntPoint* points, int32_t* count, int32_t limit) override
    {
        for (const IntPoint& p : outlines) {
            if (*count < limit)
                points[(*count)++] = p;
        }
    }
    void PageNumberFor(FrameObj*, int32_t* number, bool* realPage) override
    {
        *number = pageNumber;
        *realPage = realPage_;
    }
    std::array<int16_t, kAttributeCount> TypingAttributes() override { return typing; }
    void SetCurrentFormat(const uint8_t* record, int32_t column) override
    {
        published.assign(record, record + kStyleRecordSize);
        mergeColumn = column;
    }

    TextPreferences prefs;
    bool toolCurrent = true;
    int32_t zoomNumerator = 1;
    int32_t zoomDenominator = 1;
    Dc* dc = nullptr;
    bool screen = true;
    uint8_t clickState = 0;
    int32_t undoSaves = 0;
    int32_t pageNumber = 1;
    bool realPage_ = true;
    std::vector<IntPoint> outlines;
    std::vector<std::pair<int32_t, int32_t>> changed;
    std::array<int16_t, kAttributeCount> typing = {0, 0, 0, 12, 0, 15, 100, 0, 0, 0};
    std::vector<uint8_t> published;
    int32_t mergeColumn = 0;
};

inline PathRecord TextFolderRecord(const std::string& folder)
{
    PathRecord r{};
    EXPECT_EQ(PathRecordFromPosix(folder + "/", &r), 0);
    return r;
}

// The document: its flow hook lays the story out through the engine.
class TextTestDocument : public WithOwnStores<StandInFrameDocument> {
public:
    explicit TextTestDocument(const std::string& folder)
    {
        EXPECT_EQ(swap.CreateSwapFile(TextFolderRecord(folder)), 0);
    }
    void LayOutIntoFrame(FrameObj* frame, const IntRect& rect, TextPosition start, TextPosition* end) override
    {
        *end = ::LayOutIntoFrame(ctx, static_cast<FrameObjText*>(frame), rect, start);
    }

    TextContext* ctx = nullptr;
};

// The document, the engine over it and the folder its stores live in, for
// a host of the test's kind.
template <class Host>
class TextDocumentTest : public ::testing::Test {
protected:
    TextDocumentTest() { doc.ctx = &ctx; }
    void SetUp() override { ASSERT_TRUE(dir.ok()); }

    // A text frame on the pasteboard whose text rectangle is rect.
    FrameObjText* AddFrame(const IntRect& rect)
    {
        FrameObj* f = doc.frames.CreateFrameObject(kFrameText, 1);
        EXPECT_NE(f, nullptr);
        doc.frames.SetFramePage(f, 0, kResidencePasteboard);
        f->SetFromRect(IntRect{rect.left - 3, rect.top - 3, rect.right + 3, rect.bottom + 3});
        return static_cast<FrameObjText*>(f);
    }
    // Gives the frame a new story holding the paragraphs (each without its
    // mark), the story bound in the stores.
    void FillStory(FrameObjText* frame, const std::vector<std::string>& paragraphs)
    {
        doc.frames.NewStory(frame, true);
        ASSERT_EQ(doc.stories.BindStory(uint16_t(frame->Block().storyId)), 0);
        TextBuffer& buffer = doc.stories.Buffer();
        buffer.DeleteRange(0, buffer.Count());
        for (size_t i = 0; i < paragraphs.size(); ++i) {
            Handle h = NewParagraph();
            const std::string& s = paragraphs[i];
            ASSERT_EQ(ParagraphInsertBytes(h, 0, 0, reinterpret_cast<const uint8_t*>(s.data()), uint32_t(s.size())), 0);
            ASSERT_NE(buffer.InsertRecord(int32_t(i), h, false), 0);
        }
    }

    // Selects a..b in the frame, as the text tool leaves a selection.
    void SelectIn(FrameObjText* frame, TextPosition a, TextPosition b)
    {
        doc.frames.SetTextRef(frame->FrameId(), 0, a.paragraph, a.character);
        doc.frames.SetTextRef(frame->FrameId(), 1, b.paragraph, b.character);
        doc.frames.SetEditFlag(frame, true);
    }

    TempDir dir;
    Host host;
    FixedMeasurer measurer;
    StyleSheet styles;
    TextTestDocument doc{dir.path()};
    TextContext ctx{&doc, &styles, &host, &measurer};
};

// Sets the run attribute bit (to value, when the bit is one that carries a
// value) over the characters [s, e) of the paragraph.
inline void SetRunBit(TextContext* ctx, int32_t paragraph, int32_t s, int32_t e, uint16_t bit, int16_t value,
                      const RunExtras& extras = {})
{
    ctx->SelectParagraph(paragraph);
    ParagraphText p = ctx->Current();
    std::array<int16_t, kAttributeCount> values = kRunDefaults;
    if (bit & kRunValueBits)
        values[size_t(9 - __builtin_ctz(bit))] = value;
    ASSERT_TRUE(SetRunAttributes(&p, s, e, bit, values, false, extras));
    ctx->StoreFlags(p);
}

class TextTest : public TextDocumentTest<TestTextHost> {
protected:
    // Makes `frame` over the text rectangle, with the paragraphs as its
    // story, flowed; the story's end position in it.
    TextPosition FlowStory(const std::vector<std::string>& paragraphs, const IntRect& rect)
    {
        frame = AddFrame(rect);
        SetStory(frame, paragraphs);
        return Flow(frame);
    }
    // Sets the attribute of the rank to value over the characters [s, e)
    // of the paragraph, as a format command does.
    void Run(int32_t paragraph, int32_t s, int32_t e, int rank, int16_t value)
    {
        ctx.SelectParagraph(paragraph);
        ParagraphText p = ctx.Current();
        std::array<int16_t, kAttributeCount> values = kRunDefaults;
        values[size_t(rank)] = value;
        ASSERT_TRUE(SetRunAttributes(&p, s, e, RankBit(rank), values, true));
        ctx.StoreFlags(p);
    }
    // Gives the frame a new story holding the paragraphs (each without its
    // mark) and binds the engine to it.
    void SetStory(FrameObjText* frame, const std::vector<std::string>& paragraphs)
    {
        ASSERT_NO_FATAL_FAILURE(FillStory(frame, paragraphs));
        ASSERT_TRUE(BindFrame(&ctx, frame));
        ctx.SelectParagraph(0);
        ctx.SetCaretCharacter(0);
    }
    // Flows the frame as the chain operations do; its end position.
    TextPosition Flow(FrameObjText* frame)
    {
        doc.frames.FlowFrame(frame->FrameId(), false);
        BindFrame(&ctx, frame);
        TextPosition start, end;
        doc.frames.GetFrameStart(frame->FrameId(), &start, &end);
        return end;
    }
    std::vector<TextLineRecord> Lines() const
    {
        std::vector<TextLineRecord> out;
        const LineTable table = ctx.Lines();
        for (int32_t i = 1; i <= table.Count(); ++i)
            out.push_back(table.At(i));
        return out;
    }
    std::string Paragraph(int32_t index)
    {
        ctx.SelectParagraph(index);
        const ParagraphText p = ctx.Current();
        return std::string(reinterpret_cast<const char*>(p.Chars()), p.Length());
    }
    std::string LineText(const TextLineRecord& line)
    {
        const std::string p = Paragraph(line.paragraph);
        return p.substr(line.first, size_t(line.count));
    }
    void Select(TextPosition a, TextPosition b) { SelectIn(frame, a, b); }

    FrameObjText* frame = nullptr;
};
