// A text frame laid out and drawn by the text engine itself, straight and
// turned.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "content_test_document.h"
#include "foundation/byte_order.h"
#include "frames/frame_obj_text.h"
#include "frames/paragraph_storage.h"
#include "frames/style_sheet.h"
#include "frames/text_buffer.h"
#include "text/dc_text_measurer.h"
#include "text/frame_flow.h"
#include "text/text_context.h"
#include "text/text_context_engine.h"
#include "text/text_host.h"
#include "tools/stand_ins/stand_in_hosts.h"

namespace {

class EngineHost : public StandInTextHost {
public:
    explicit EngineHost(ContentTestDocument* doc) : doc_(doc) {}
    bool GetFontSpec(int16_t font, FontSpec* out) override { return doc_->LookupFont(font, out); }
    void Zoom(int32_t* n, int32_t* d) override
    {
        int16_t num = 1, den = 1, mode = 0;
        doc_->manager.GetZoom(&num, &den, &mode);
        *n = num;
        *d = den;
    }
    Dc* ViewDc() override { return doc_->view.GetViewDC(); }
    bool IsScreenTarget() override { return doc_->view.IsScreenTarget(); }

private:
    ContentTestDocument* doc_;
};

class EngineDocument : public ContentTestDocument {
public:
    explicit EngineDocument(const std::string& folder) : ContentTestDocument(folder) {}
    void LayOutIntoFrame(FrameObj* frame, const IntRect& rect, TextPosition start, TextPosition* end) override
    {
        *end = ::LayOutIntoFrame(context, static_cast<FrameObjText*>(frame), rect, start);
    }
    TextFrameEngine* TextEngine() override { return &adapter; }

    EngineHost host{this};
    StyleSheet styles;
    DcTextMeasurer measurer{[this](int16_t font, FontSpec* out) { return LookupFont(font, out); }};
    TextContext* context = nullptr;
    TextContextEngine adapter{nullptr};
};

class TextEngineFrames : public SwapTest {
protected:
    void SetUp() override
    {
        SwapTest::SetUp();
        doc_ = std::make_unique<EngineDocument>(dir_.path());
        context_ = std::make_unique<TextContext>(doc_.get(), &doc_->styles, &doc_->host, &doc_->measurer);
        doc_->context = context_.get();
        doc_->adapter = TextContextEngine(context_.get());
    }
    void TearDown() override
    {
        context_.reset();
        doc_.reset();
        SwapTest::TearDown();
    }

    FrameObjText* FrameWithText(const IntRect& rect, const std::string& text)
    {
        auto* frame = static_cast<FrameObjText*>(doc_->frames.CreateFrameObject(kFrameText, 1));
        frame->SetFromRect(rect);
        doc_->frames.NewStory(frame, true);
        doc_->stories.BindStory(uint16_t(frame->Block().storyId));
        TextBuffer& buffer = doc_->stories.Buffer();
        buffer.DeleteRange(0, buffer.Count());
        Handle h = NewParagraph();
        ParagraphInsertBytes(h, 0, 0, reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()));
        buffer.InsertRecord(0, h, false);
        BindFrame(context_.get(), frame);
        doc_->frames.FlowFrame(frame->FrameId(), false);
        return frame;
    }

    int Ink(const IntRect& r)
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += qGray(doc_->view.image.pixel(x, y)) < 128;
        return n;
    }

    std::unique_ptr<EngineDocument> doc_;
    std::unique_ptr<TextContext> context_;
};

TEST_F(TextEngineFrames, TheEnginesLinesShowStraightAndTurned)
{
    FrameObjText* frame = FrameWithText(IntRect{100, 60, 260, 140}, "Laid out by the text engine itself");
    ASSERT_GT(frame->LineTable().Count(), 0);
    Dc* dc = doc_->view.dc.get();
    frame->DrawContent(dc);
    EXPECT_GT(Ink(IntRect{100, 60, 260, 140}), 150);
    EXPECT_EQ(Ink(IntRect{0, 0, 400, 55}), 0);

    doc_->view.image.fill(Qt::white);
    frame->SetGeometryField(4, 30);
    frame->DrawContent(dc);
    ASSERT_NE(frame->RotatedImage(), nullptr);
    // The first line now climbs along the turned top edge: ink above the
    // straight frame, none in its lower right corner.
    EXPECT_GT(Ink(IntRect{100, 0, 260, 60}), 50);
    EXPECT_EQ(Ink(IntRect{230, 110, 260, 140}), 0);
}

}  // namespace
