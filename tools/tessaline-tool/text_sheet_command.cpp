// text-sheet OUT.png: one sheet of laid-out text, for looking at: paragraphs
// in Liberation Sans and Serif with every alignment, tab stops, runs of
// other styles, a narrow hyphenated column, a story flowing through a chain
// of two frames, text wrapped around an overlapping ellipse and a selection
// highlight. Layout measures with the installed fonts; the sheet shows the
// text at twice its size.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include "foundation/path_record.h"
#include "frames/ctfile_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_record_format.h"
#include "frames/frame_store.h"
#include "frames/page_table2.h"
#include "frames/paragraph_storage.h"
#include "frames/shared_frame_list.h"
#include "frames/story_store.h"
#include "frames/style_runs.h"
#include "frames/style_sheet.h"
#include "frames/tab_stops.h"
#include "frames/text_buffer.h"
#include "graphics/font_spec.h"
#include "platform/dc.h"
#include "text/dc_text_measurer.h"
#include "text/frame_flow.h"
#include "text/para_format.h"
#include "text/selection_highlight.h"
#include "text/text_context.h"
#include "text/text_draw.h"
#include "text/wrap_outline.h"
#include "offscreen_application.h"
#include "text_sheet_document.h"
#include "tool_command.h"
#include "tools/stand_ins/stand_in_hosts.h"

namespace {

constexpr int32_t kZoom = 2;
constexpr int32_t kSheetWidth = 620;
constexpr int32_t kSheetHeight = 520;
constexpr ColorRef kGuide = MakeRgb(170, 170, 170);

enum : uint32_t {
    kStyleHeading = 1,
    kStyleSerif = 2,
};

// The ellipse the wrapped text flows around, in document units.
constexpr IntRect kEllipse{470, 250, 560, 320};

// Its outline as text wrap takes it: 24 edges grown by a margin of 4,
// clockwise on the page, as point pairs.
std::vector<IntPoint> EllipseOutline()
{
    const double cx = (kEllipse.left + kEllipse.right) / 2.0;
    const double cy = (kEllipse.top + kEllipse.bottom) / 2.0;
    const double rx = (kEllipse.right - kEllipse.left) / 2.0 + 4;
    const double ry = (kEllipse.bottom - kEllipse.top) / 2.0 + 4;
    std::vector<IntPoint> corners;
    for (int i = 0; i < 24; ++i) {
        const double a = 2 * M_PI * i / 24;
        corners.push_back({int32_t(std::lround(cx + rx * std::cos(a))), int32_t(std::lround(cy + ry * std::sin(a)))});
    }
    std::vector<IntPoint> edges;
    for (size_t i = 0; i < corners.size(); ++i) {
        edges.push_back(corners[i]);
        edges.push_back(corners[(i + 1) % corners.size()]);
    }
    return edges;
}

class SheetHost : public StandInTextHost {
public:
    TextPreferences Preferences() override { return prefs; }
    bool GetFontSpec(int16_t font, FontSpec* out) override { return LiberationFontSpec(font, out); }
    void Zoom(int32_t* n, int32_t* d) override
    {
        *n = kZoom;
        *d = 1;
    }
    Dc* ViewDc() override { return dc; }
    bool IsTextToolCurrent() override { return true; }
    void CollectWrapOutlines(FrameObjText* frame, IntPoint* points, int32_t* count, int32_t limit) override
    {
        if (frame != wrapped)
            return;
        for (const IntPoint& p : EllipseOutline()) {
            if (*count < limit)
                points[(*count)++] = p;
        }
    }

    TextPreferences prefs;
    Dc* dc = nullptr;
    FrameObjText* wrapped = nullptr;
};

void AddStyle(StyleSheet* styles, uint32_t id, const char* name, int16_t font, int16_t size, int16_t style,
              int16_t spaceAfter)
{
    uint8_t record[kStyleRecordSize];
    StyleSheet::MakeNormalStyle(record);
    std::memset(record + kStyleNameOffset, 0, kStyleNameSize);
    std::memcpy(record + kStyleNameOffset, name, std::strlen(name));
    PutU32LE(record + kStyleIdOffset, id);
    uint8_t* base = record + kStyleBaseFormatOffset;
    PutI16LE(base + 2 * kRankFont, font);
    PutI16LE(base + 2 * kRankSize, size);
    PutI16LE(base + 2 * kRankStyle, style);
    ParaFormat f = GetParaFormat(record + kStyleParaFormatOffset);
    f.spaceAfter = spaceAfter;
    PutParaFormat(record + kStyleParaFormatOffset, f);
    styles->InsertRecords(1, styles->Count() + 1, record);
}

// One paragraph to come: its text, style and alignment, and what else.
struct ParagraphSpec {
    std::string text;
    uint32_t style = 0;
    int16_t alignment = 1;
};

class Sheet {
public:
    Sheet(SwapTextDocument* doc, TextContext* ctx) : doc_(doc), ctx_(ctx) {}

    FrameObjText* AddFrame(const IntRect& text)
    {
        FrameObj* f = doc_->frames.CreateFrameObject(kFrameText, 1);
        doc_->frames.SetFramePage(f, 0, kResidencePasteboard);
        f->SetFromRect(IntRect{text.left - 3, text.top - 3, text.right + 3, text.bottom + 3});
        return static_cast<FrameObjText*>(f);
    }

    void SetStory(FrameObjText* frame, const std::vector<ParagraphSpec>& paragraphs)
    {
        doc_->frames.NewStory(frame, true);
        doc_->stories.BindStory(uint16_t(frame->Block().storyId));
        TextBuffer& buffer = doc_->stories.Buffer();
        buffer.DeleteRange(0, buffer.Count());
        for (size_t i = 0; i < paragraphs.size(); ++i) {
            Handle h = NewParagraph();
            const std::string& s = paragraphs[i].text;
            ParagraphInsertBytes(h, 0, 0, reinterpret_cast<const uint8_t*>(s.data()), uint32_t(s.size()));
            PutU32LE(HandleData(h), paragraphs[i].style);
            buffer.InsertRecord(int32_t(i), h, false);
        }
        BindFrame(ctx_, frame);
        for (size_t i = 0; i < paragraphs.size(); ++i) {
            if (paragraphs[i].alignment != 1)
                Override(int32_t(i), kOverAlignment, paragraphs[i].alignment);
        }
    }

    void Override(int32_t paragraph, uint16_t bit, int16_t value)
    {
        ctx_->SelectParagraph(paragraph);
        ParagraphText p = ctx_->Current();
        SetOverrideField(&p, bit, value);
        ctx_->StoreFlags(p);
    }

    void Run(int32_t paragraph, const std::string& word, uint16_t bit, int16_t value)
    {
        ctx_->SelectParagraph(paragraph);
        ParagraphText p = ctx_->Current();
        const std::string text(reinterpret_cast<const char*>(p.Chars()), p.Length());
        const size_t at = text.find(word);
        if (at == std::string::npos)
            return;
        std::array<int16_t, kAttributeCount> values = kRunDefaults;
        values[size_t(9 - __builtin_ctz(bit))] = value;
        SetRunAttributes(&p, int32_t(at), int32_t(at + word.size()), bit, values, true);
        ctx_->StoreFlags(p);
    }

    void Tabs(int32_t paragraph, const std::vector<std::pair<uint16_t, uint8_t>>& stops)
    {
        ctx_->SelectParagraph(paragraph);
        ParagraphText p = ctx_->Current();
        p.AddTabBlock();
        SetTabsSetWord(p.TabBlock(), 1);
        for (size_t i = 0; i < stops.size(); ++i) {
            SetTabPosition(p.TabBlock(), int(i), stops[i].first);
            SetTabKind(p.TabBlock(), int(i), stops[i].second);
        }
        ctx_->StoreFlags(p);
    }

    void Flow(FrameObjText* frame)
    {
        doc_->frames.FlowFrame(frame->FrameId(), false);
        BindFrame(ctx_, frame);
    }

    void Draw(Dc& dc, FrameObjText* frame)
    {
        BindFrame(ctx_, frame);
        const IntRect r = ctx_->ToView(ctx_->TextRect());
        dc.selectPen(Pen{PS_DOT, 1, kGuide});
        dc.selectBrush(Brush::Hollow());
        dc.rectangle(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1);
        DrawTextBlock(ctx_, &dc, 1, ctx_->Lines().Count(), false);
    }

    void Select(FrameObjText* frame, TextPosition a, TextPosition b)
    {
        doc_->frames.SetTextRef(frame->FrameId(), 0, a.paragraph, a.character);
        doc_->frames.SetTextRef(frame->FrameId(), 1, b.paragraph, b.character);
        doc_->frames.SetEditFlag(frame, true);
    }

private:
    SwapTextDocument* doc_;
    TextContext* ctx_;
};

void Label(Dc& dc, int32_t x, int32_t y, const char* text)
{
    LogFont f;
    std::strcpy(f.faceName, "Liberation Sans");
    f.height = -11 * kZoom;
    f.italic = 1;
    const LogFont old = dc.selectFont(f);
    dc.setTextColor(MakeRgb(90, 90, 90));
    dc.setBkMode(TRANSPARENT);
    dc.setTextAlign(TA_BASELINE);
    dc.textOut(x * kZoom, y * kZoom, text);
    dc.selectFont(old);
}

bool DrawSheet(const std::string& out, const PathRecord& folder)
{
    SheetHost host;
    host.prefs.defaultTab = 36;
    host.prefs.superscriptPercent = 33;
    host.prefs.smallCapsPercent = 75;
    // "Justify alignment": a justified paragraph's last line stays flush left.
    host.prefs.justify = true;
    SwapTextDocument doc(folder);
    if (!doc.ok)
        return false;
    StyleSheet styles;
    AddStyle(&styles, kStyleHeading, "Heading", 1, 18, 1, 6);
    AddStyle(&styles, kStyleSerif, "Body Serif", 1, 11, 0, 4);
    DcTextMeasurer measurer([&host](int16_t font, FontSpec* fontSpec) { return host.GetFontSpec(font, fontSpec); });
    TextContext ctx(&doc, &styles, &host, &measurer);
    doc.ctx = &ctx;
    Sheet sheet(&doc, &ctx);

    QImage image(kSheetWidth * kZoom, kSheetHeight * kZoom, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto dc = Dc::ForImage(&image);
    host.dc = dc.get();

    // Paragraphs in both faces and every alignment, with runs and tabs.
    FrameObjText* main = sheet.AddFrame(IntRect{20, 30, 300, 500});
    sheet.SetStory(main, {
        {"Laid-out text", kStyleHeading, 2},
        {"Left aligned in Liberation Sans: the lines break after their last space, and each keeps to "
         "the frame's text rectangle.", 0, 1},
        {"Right aligned in Liberation Serif, the slack goes in front of each line.", kStyleSerif, 3},
        {"Centred text shares the room on both sides of every line.", 0, 2},
        {"Justified text spreads the slack over the spaces of each line but the paragraph's last one, "
         "which stays flush left.", kStyleSerif, 4},
        {"Runs: bold, italic, underlined, red, E = mc2, H2O, Small Caps and a raised word.", 0, 1},
        {"Item\tQty\tPrice", 0, 1},
        {"Pencils\t12\t3.50", 0, 1},
        {"Notebooks\t4\t12.95", 0, 1},
    });
    sheet.Run(5, "bold", kRunStyle, 1);
    sheet.Run(5, "italic", kRunStyle, 2);
    sheet.Run(5, "underlined", kRunStyle, 4);
    sheet.Run(5, "red", kRunColour, 3);
    sheet.Run(5, "2,", kRunSuperSub, -1);
    sheet.Run(5, "2O", kRunSuperSub, 1);
    sheet.Run(5, "Small Caps", kRunCaps, 1);
    sheet.Run(5, "raised", kRunBaselineShift, 4);
    sheet.Run(5, "raised", kRunColour, 6);
    for (int32_t p = 6; p <= 8; ++p)
        sheet.Tabs(p, {{130, kTabCentre}, {230, kTabRight}});
    sheet.Run(6, "Item\tQty\tPrice", kRunStyle, 1);
    sheet.Override(0, kOverSpaceAfter, 8);
    sheet.Flow(main);

    // A narrow column: hyphenation and no text wrap, as the preferences
    // allow the two.
    host.prefs.hyphenation = true;
    host.prefs.textWrap = false;
    FrameObjText* narrow = sheet.AddFrame(IntRect{330, 30, 410, 235});
    sheet.SetStory(narrow, {{"Hyphenation breaks an overflowing word at its last permitted point: "
                             "international collaboration demonstrates considerable understanding.",
                             kStyleSerif, 1}});
    sheet.Flow(narrow);
    host.prefs.hyphenation = false;
    host.prefs.textWrap = true;

    // A chain: the story begins in the first frame and goes on in the second.
    FrameObjText* first = sheet.AddFrame(IntRect{440, 30, 600, 110});
    FrameObjText* second = sheet.AddFrame(IntRect{440, 150, 600, 230});
    sheet.SetStory(first, {{"A story can flow through a chain of frames. When the first frame is full the "
                            "text goes on in the next one, and the end of each frame is where the next "
                            "begins.",
                            0, 1},
                           {"This paragraph follows on in the second frame of the chain.", kStyleSerif, 1}});
    doc.frames.LinkAfter(first->FrameId(), second);
    sheet.Flow(first);
    sheet.Flow(second);

    // Text around an ellipse lying over its frame.
    FrameObjText* wrapped = sheet.AddFrame(IntRect{330, 260, 600, 500});
    host.wrapped = wrapped;
    BuildTextWrapOutline(wrapped, &host);
    sheet.SetStory(wrapped, {{"Text flows around the frames that lie over its frame. Each line takes the widest "
                              "piece of its band that no outline covers, so the words keep to one side of "
                              "the ellipse and never run into both sides of it on the same line. Below the "
                              "ellipse the lines take the whole width of the frame again, as this last "
                              "sentence shows once the ellipse is passed.",
                              0, 4}});
    sheet.Flow(wrapped);

    for (FrameObjText* frame : {main, narrow, first, second, wrapped})
        sheet.Draw(*dc, frame);
    dc->selectPen(Pen{PS_SOLID, 2, MakeRgb(20, 90, 170)});
    dc->selectBrush(Brush::Solid(MakeRgb(200, 225, 250)));
    dc->ellipse(kEllipse.left * kZoom, kEllipse.top * kZoom, kEllipse.right * kZoom, kEllipse.bottom * kZoom);
    // The chain's order, and a selection in the first frame.
    dc->selectPen(Pen{PS_DASH, 1, kGuide});
    dc->moveTo(520 * kZoom, 113 * kZoom);
    dc->lineTo(520 * kZoom, 147 * kZoom);
    BindFrame(&ctx, main);
    sheet.Select(main, TextPosition{1, 20}, TextPosition{2, 14});
    ToggleSelectionHighlight(&ctx, dc.get());

    Label(*dc, 20, 22, "Paragraphs, runs, tabs and a selection");
    Label(*dc, 330, 22, "Hyphenated column");
    Label(*dc, 440, 22, "Chain, first frame");
    Label(*dc, 440, 142, "Chain, second frame");
    Label(*dc, 330, 252, "Wrap around an ellipse");
    dc->flush();
    return image.save(QString::fromLocal8Bit(out.c_str()));
}

int RunTextSheet(const ToolArgs& args)
{
    if (args.size() != 1)
        return ToolFail("usage: text-sheet OUT.png");
    const std::unique_ptr<QGuiApplication> app = StartOffscreenGuiApplication();
    QTemporaryDir folder;
    PathRecord record{};
    if (!folder.isValid() || PathRecordFromPosix(folder.path().toStdString() + "/", &record) != 0)
        return ToolFail("cannot make a temporary folder");
    if (!DrawSheet(args[0], record))
        return ToolFail("cannot write " + args[0]);
    return 0;
}

}  // namespace

TESSALINE_TOOL_COMMAND("text-sheet", "text-sheet OUT.png", RunTextSheet);
