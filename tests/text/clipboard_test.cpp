#include <gtest/gtest.h>

#include <memory>

#include "support/alert_capture.h"
#include "text/clipboard_text.h"
#include "text/format_commands.h"
#include "text/paragraph_commands.h"
#include "text/style_runs.h"
#include "editing_fixture.h"

namespace {

using Paras = std::vector<std::string>;

// The clipboard window's paragraphs, in a store of their own.
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
    void ReleaseLoaded() override { ++releases; }

    int32_t releases = 0;

private:
    CTFileMng swap_;
    Handle array_ = nullptr;
    std::unique_ptr<TextBuffer> buffer_;
    int16_t kind_ = 0;
};

class ClipboardTest : public EditingTest {
protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        clipboard = std::make_unique<MemoryClipboard>(dir.path());
        host.clipboard = clipboard.get();
    }
    void Bold(int32_t paragraph, int32_t s, int32_t e)
    {
        ctx.SelectParagraph(paragraph);
        ParagraphText p = ctx.Current();
        std::array<int16_t, kAttributeCount> values = kRunDefaults;
        values[kRankStyle] = 1;
        ASSERT_TRUE(SetRunAttributes(&p, s, e, kRunStyle, values, false));
        ctx.StoreFlags(p);
    }
    int16_t StyleAt(int32_t paragraph, int32_t i)
    {
        ctx.SelectParagraph(paragraph);
        RunCache run;
        return LoadRunAt(ctx.Current(), i, &run) ? run.Value(kRankStyle) : -1;
    }
    void Copy(TextPosition a, TextPosition b)
    {
        Select(a, b);
        ASSERT_EQ(CopySelectionToClipboard(&ctx), 1);
        doc.frames.SetEditFlag(host.editFrame, false);
    }

    std::unique_ptr<MemoryClipboard> clipboard;
    AlertCapture alerts;
};

TEST_F(ClipboardTest, CopiedTextKeepsItsRunsAndGoesInAtTheCaret)
{
    EXPECT_EQ(CopySelectionToClipboard(&ctx), 0);
    Story({"abcdef"});
    Bold(0, 2, 4);
    EXPECT_FALSE(CanPasteText(&ctx));
    Copy({0, 1}, {0, 4});
    EXPECT_TRUE(CanPasteText(&ctx));
    EXPECT_EQ(clipboard->ContentKind(), TextClipboard::kContentText);
    Caret(0, 6);
    EXPECT_EQ(PasteText(&ctx), 1);
    EXPECT_EQ(Texts(), (Paras{"abcdefbcd\r"}));
    EXPECT_EQ(CaretAt(), (TextPosition{0, 9}));
    EXPECT_EQ(StyleAt(0, 6), -1);
    EXPECT_EQ(StyleAt(0, 7), 1);
    EXPECT_EQ(StyleAt(0, 8), 1);
    EXPECT_EQ(host.modified, 1);
    // Over a selection: the selection goes.
    Select({0, 0}, {0, 6});
    EXPECT_EQ(PasteText(&ctx), 1);
    EXPECT_EQ(Texts(), (Paras{"bcdbcd\r"}));
    EXPECT_FALSE(Selected());
}

TEST_F(ClipboardTest, SeveralParagraphsJoinTheTextAroundTheCaret)
{
    Story({"one", "two", "three"});
    Copy({0, 1}, {2, 2});
    EXPECT_EQ(clipboard->Paragraphs()->Count(), 3);
    Story({"[]"});
    Caret(0, 1);
    EXPECT_EQ(PasteText(&ctx), 1);
    EXPECT_EQ(Texts(), (Paras{"[ne\r", "two\r", "th]\r"}));
    EXPECT_EQ(CaretAt(), (TextPosition{2, 2}));
    // A selection ending at a paragraph's start copies its break.
    Copy({1, 1}, {2, 0});
    Caret(2, 3);
    PasteText(&ctx);
    EXPECT_EQ(Texts(), (Paras{"[ne\r", "two\r", "th]wo\r", "\r"}));
    // The whole story.
    host.SelectAll(true, false);
    ASSERT_EQ(CopySelectionToClipboard(&ctx), 1);
    EXPECT_EQ(clipboard->Paragraphs()->Count(), 4);
}

TEST_F(ClipboardTest, APasteThatWouldOverfillAParagraphChangesNothing)
{
    Story({"ab", std::string(40000, 'y')});
    Copy({0, 1}, {1, 40000});
    // The first pasted paragraph fits; the last, joined to the 30000
    // characters after the caret, would not.
    Story({std::string(30000, 'x')});
    Caret(0, 10);
    EXPECT_EQ(PasteText(&ctx), 0);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(), "Can't paste text because paragraph is too large.");
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].size(), 30001u);
    // Before the last 20000 it fits.
    Caret(0, 10000);
    EXPECT_EQ(PasteText(&ctx), 1);
    EXPECT_EQ(Texts()[1].size(), 60001u);
}

TEST_F(ClipboardTest, FieldsTravelWholeOrAsPlainText)
{
    // Field 5 shows its column's name, "Company".
    Story({"abCompanycd", "next"});
    ctx.SelectParagraph(0);
    ParagraphText p = ctx.Current();
    ASSERT_TRUE(MarkFieldRun(&p, 2, 5, 7));
    ctx.StoreFlags(p);
    Copy({0, 1}, {0, 10});
    Story({"", "z"});
    PasteText(&ctx);
    ctx.SelectParagraph(0);
    int32_t start = -1;
    EXPECT_EQ(GetFieldRunAt(ctx.Current(), 3, &start), 7);
    EXPECT_EQ(start, 1);
    // Cut inside the field: its characters come as text.
    Story({"abCompanycd", "next"});
    ctx.SelectParagraph(0);
    p = ctx.Current();
    ASSERT_TRUE(MarkFieldRun(&p, 2, 5, 7));
    ctx.StoreFlags(p);
    Copy({0, 0}, {1, 0});
    Copy({0, 0}, {0, 5});
    Story({"", "z"});
    Caret(1, 1);
    PasteText(&ctx);
    EXPECT_EQ(Texts(), (Paras{"\r", "zabCom\r"}));
    ctx.SelectParagraph(1);
    EXPECT_EQ(GetFieldRunAt(ctx.Current(), 3, &start), 0);
}

}  // namespace

namespace {

class RandomEdits : public ClipboardTest, public ::testing::WithParamInterface<uint32_t> {};

// Keys, copies, pastes and formatting mixed at random: the story stays
// sound (one end mark a paragraph, runs inside their paragraph).
TEST_P(RandomEdits, KeepTheStorySound)
{
    FrameObjText* first = AddFrame(IntRect{0, 0, 60, 31});
    FrameObjText* second = AddFrame(IntRect{100, 0, 160, 400});
    Edit(first, {"aaaa bbbb cccc dddd", "ee", "ffff gggg"});
    doc.frames.LinkAfter(first->FrameId(), second);
    Flow(first);
    Flow(second);
    BindFrame(&ctx, first);
    uint32_t seed = GetParam();
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    const uint32_t keys[] = {kVkLeft, kVkRight, kVkUp, kVkDown, kVkHome, kVkEnd, kVkDelete};
    const char typed[] = {'x', ' ', '\r', '\b'};
    for (int i = 0; i < 800; ++i) {
        switch (next(12)) {
        case 0: CopySelectionToClipboard(&ctx); break;
        case 1: PasteText(&ctx); break;
        case 2: SetStyle(&ctx, int16_t(next(2) ? 0x4001 : 1), false); break;
        case 3: SetSize(&ctx, int16_t(8 + next(20))); break;
        case 4: SetAlignment(&ctx, int16_t(1 + next(4))); break;
        case 5:
        case 6: {
            const char ch = typed[next(sizeof typed)];
            HandleKey(&ctx, TypedCharEvent(uint8_t(ch), next(5) == 0));
            break;
        }
        default: {
            const uint32_t key = keys[next(7)];
            HandleKey(&ctx, KeyDownEvent(key, next(2) == 0));
            break;
        }
        }
        ASSERT_EQ(ctx.Frame(), host.editFrame);
        const TextPosition caret = CaretAt();
        const std::vector<std::string> texts = Texts();
        ASSERT_LT(caret.paragraph, texts.size());
        ASSERT_LT(caret.character, texts[caret.paragraph].size());
        for (size_t p = 0; p < texts.size(); ++p) {
            ASSERT_EQ(texts[p].find('\r'), texts[p].size() - 1);
            ctx.SelectParagraph(int32_t(p));
            for (const RunEntry& r : ReadRunTable(ctx.Current()))
                ASSERT_LE(r.end, texts[p].size()) << "step " << i;
        }
        Caret(caret.paragraph, caret.character);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEdits, ::testing::Range(1u, 7u));

}  // namespace
