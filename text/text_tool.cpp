#include "text/text_tool.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstring>
#include <optional>

#include "foundation/byte_order.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_record_format.h"
#include "frames/frame_store.h"
#include "frames/record_header_format.h"
#include "frames/story_store.h"
#include "frames/style_sheet.h"
#include "frames/text_buffer.h"
#include "platform/dc.h"
#include "text/caret_manager.h"
#include "text/edit_primitives.h"
#include "text/format_commands.h"
#include "text/format_publish.h"
#include "text/frame_flow.h"
#include "text/paragraph_commands.h"
#include "text/selection_highlight.h"
#include "text/text_context.h"
#include "text/text_draw.h"
#include "text/text_positions.h"
#include "toolbase/tracker.h"

namespace {

// The paragraph-format words of a style record.
constexpr size_t kParaLeading = kStyleParaFormatOffset + 6;
constexpr size_t kParaLineSpacing = kStyleParaFormatOffset + 8;
constexpr size_t kParaAlignment = kStyleParaFormatOffset + 16;

int16_t BaseWord(const uint8_t* record, int rank) { return GetI16LE(record + kStyleBaseFormatOffset + 2 * rank); }

}  // namespace

TextTool::TextTool(ToolDocument* document) : FrameTool(document)
{
    // New text starts out in the plain default format: 12 points, black,
    // full shade.
    PutI16LE(format_.data() + kStyleBaseFormatOffset + 2 * kRankSize, 12);
    PutI16LE(format_.data() + kStyleBaseFormatOffset + 2 * kRankColour, 15);
    PutI16LE(format_.data() + kStyleBaseFormatOffset + 2 * kRankShade, 100);
    if (QCoreApplication::instance()) {
        reflowTimer_ = std::make_unique<QTimer>();
        reflowTimer_->setSingleShot(true);
        reflowTimer_->setInterval(0);
        QObject::connect(reflowTimer_.get(), &QTimer::timeout, [this] { RunReflow(); });
    }
}

TextTool::~TextTool()
{
    if (reflowTimer_)
        reflowTimer_->stop();
    ClearUndo();
}

TextContext* TextTool::Text() const { return document_->DocumentTextContext(); }

FrameStore* TextTool::Frames() const { return document_->Frames(); }

Dc* TextTool::ViewDc() const
{
    if (FrameView* view = document_->View())
        return view->GetViewDC();
    TextContext* ctx = Text();
    return ctx ? ctx->Host().ViewDc() : nullptr;
}

int16_t TextTool::GetKind() { return kToolText; }

// ---- activation ----

void TextTool::Activate(FrameTool* /*previous*/, int16_t kind)
{
    FrameObjText* frame = nullptr;
    if (kind == kToolObject && document_->SelectionCount() == 1) {
        FrameObj* selected = document_->SelectedFrame(0);
        if (selected && selected->GetType() == kFrameText)
            frame = static_cast<FrameObjText*>(selected);
    } else if (kind == kToolFrameText) {
        FrameTool* frameText = document_->ToolOfKind(kToolFrameText);
        FrameObj* made = frameText && frameText->RememberedId() != 0 && Frames()
                             ? Frames()->GetLoadedFrame(uint16_t(frameText->RememberedId()))
                             : nullptr;
        if (made && made->GetType() == kFrameText)
            frame = static_cast<FrameObjText*>(made);
        document_->FrameTextFormat(format_.data());
    }
    SetEditFrame(frame, 1);
    BindEditor();
    SetBarItemState(kTextBarId, true);
    FrameTool::Activate(nullptr, kind);
}

void TextTool::Deactivate()
{
    HideCaret();
    if (EditFrame()) {
        rememberedId_ = int16_t(EditFrame()->FrameId());
        RefreshBars();
        ClearUndo();
        EndEdit(1);
    }
    frame_ = nullptr;
    SetBarItemState(kTextBarId, false);
}

void TextTool::PagesClosing()
{
    Deactivate();
    rememberedId_ = 0;
}

void TextTool::PagesLoaded()
{
    if (document_->CurrentToolIndex() != kToolText || !Frames())
        return;
    FrameObj* found = rememberedId_ != 0 ? Frames()->FindShownStoryFrame(uint16_t(rememberedId_)) : nullptr;
    if (found && found->GetType() == kFrameText)
        SetEditFrame(static_cast<FrameObjText*>(found), 1);
    if (EditFrame() && StoryAllSelected())
        SelectAll(EditFrame(), true, false);
    SetBarItemState(kTextBarId, true);
}

// ---- editing a frame ----

void TextTool::SetEditFrame(FrameObjText* frame, uint8_t /*flag*/)
{
    TextContext* ctx = Text();
    FrameStore* frames = Frames();
    if (EditFrame() && frame != EditFrame())
        EndEdit(1);
    frame_ = frame;
    if (!frame || !ctx || !frames)
        return;
    FrameObj* first = frames->GetStoryStart(frame);
    if (first && first != frame && first->GetType() == kFrameText) {
        EndEdit(1);
        SetEditFrame(static_cast<FrameObjText*>(first), 1);
        return;
    }
    RefreshBars();
    BindEditor();
    frame->StraightenForEdit();
    BindEditor();
    frame->SetSelected(1);
    Dc* dc = ViewDc();
    const bool selection = frames->IsInEdit(frame);
    if (dc) {
        dc->setBkColor(kWhite);
        frame->DrawHandlesPass(dc, 0);
        const FrameAttributes& a = frame->Attributes();
        const uint8_t fill = a.fillPattern == 2 ? a.background : a.fillColour;
        if (fill != 1) {
            // The frame draws its selection with its text.
            PaintEditFrame(dc);
        } else if (selection) {
            Region region;
            const TextPosition caret = CaretNow();
            BuildSelectionRegion(ctx, &region);
            BindEditor();
            PutCaret(caret);
            PublishSelectionFormat(ctx, nullptr);
        }
        frame->DrawFrameEdge(dc, 1, 1, 1);
    }
    if (!selection)
        ShowCaret();
    PublishGraphicAttrs();
    RefreshBars();
}

void TextTool::EndEdit(uint8_t /*flag*/)
{
    if (!EditFrame())
        return;
    FlushReflow();
    FrameObjText* frame = EditFrame();
    clickState_ = 0;
    RefreshBars();
    HideCaret();
    Dc* dc = ViewDc();
    if (ShowsSelection() && !StoryAllSelected())
        ToggleHighlight();
    if (dc)
        frame->DrawHandlesPass(dc, 1);
    frame->SetSelected(0);
    if (dc)
        frame->DrawFrameEdge(dc, 0, 1, 1);
    if (CurrPageMng* pages = document_->PageManager())
        pages->InvalidateFrame(frame, 0);
    // Keys and commands that come after the end of editing must not reach
    // the frame that was left; and the frame shows as a frame not in edit
    // when it turns back.
    frame_ = nullptr;
    frame->RestoreRotation();
}

void TextTool::BindEditor()
{
    TextContext* ctx = Text();
    if (!EditFrame() || !ctx)
        return;
    const TextPosition caret = ctx->CaretPosition();
    BindFrame(ctx, EditFrame());
    const int32_t count = ctx->ParagraphCount();
    if (count <= 0)
        return;
    const int32_t paragraph = int32_t(caret.paragraph) < count ? int32_t(caret.paragraph) : count - 1;
    if (!ctx->SelectParagraph(paragraph))
        return;
    const int32_t length = ctx->Current().Length();
    ctx->SetCaretCharacter(uint16_t(caret.character < length ? caret.character : length - 1));
}

void TextTool::RestoreEditPlace(const TextPosition& caret)
{
    if (!EditFrame() || !Text())
        return;
    BindFrame(Text(), EditFrame());
    PutCaret(caret);
}

bool TextTool::ShowsSelection() { return EditFrame() && Frames() && Frames()->IsInEdit(EditFrame()); }

bool TextTool::StoryAllSelected()
{
    StoryStore* stories = document_->Stories();
    if (!EditFrame() || !stories || EditFrame()->Block().storyId <= 0)
        return false;
    if (stories->BindStory(uint16_t(EditFrame()->Block().storyId)) != 0)
        return false;
    return stories->IsAllSelected();
}

void TextTool::ToggleHighlight()
{
    TextContext* ctx = Text();
    if (!ctx || !EditFrame())
        return;
    const TextPosition caret = CaretNow();
    ToggleSelectionHighlight(ctx, ViewDc());
    BindEditor();
    PutCaret(caret);
}

void TextTool::PaintEditFrame(Dc* dc)
{
    const TextPosition caret = CaretNow();
    std::optional<Region> saved;
    EditFrame()->GetClipRegion(dc, &saved);
    EditFrame()->DrawFill(dc);
    EditFrame()->DrawText(dc);
    dc->selectClipRgn(saved ? &*saved : nullptr);
    BindEditor();
    PutCaret(caret);
}

void TextTool::RepaintEditFrame()
{
    Dc* dc = ViewDc();
    if (!Text() || !dc || !EditFrame())
        return;
    const bool visible = CaretVisible();
    HideCaret();
    PaintEditFrame(dc);
    if (visible)
        ShowCaret();
}

TextPosition TextTool::CaretNow() const
{
    TextContext* ctx = Text();
    return ctx ? ctx->CaretPosition() : TextPosition{};
}

void TextTool::PutCaret(const TextPosition& position)
{
    TextContext* ctx = Text();
    if (!ctx || ctx->ParagraphCount() <= 0)
        return;
    const int32_t last = ctx->ParagraphCount() - 1;
    if (!ctx->SelectParagraph(int32_t(position.paragraph) < last ? int32_t(position.paragraph) : last))
        return;
    const int32_t length = ctx->Current().Length();
    ctx->SetCaretCharacter(uint16_t(position.character < length ? position.character : length - 1));
}

bool TextTool::FlowEditFrame()
{
    FrameStore* frames = Frames();
    if (!frames || !EditFrame())
        return false;
    const TextPosition caret = CaretNow();
    const bool changed = frames->FlowFrame(EditFrame()->FrameId(), true);
    BindEditor();
    PutCaret(caret);
    return changed;
}

void TextTool::RepaintPage()
{
    const TextPosition caret = CaretNow();
    const bool visible = CaretVisible();
    HideCaret();
    RedrawPage(0, 0);
    BindEditor();
    PutCaret(caret);
    if (visible)
        ShowCaret();
}

// ---- the caret ----

CaretManager* TextTool::Caret() const { return document_->Caret(); }

bool TextTool::CaretVisible() const { return Caret() && Caret()->IsVisible(); }

void TextTool::HideCaret()
{
    if (CaretManager* caret = Caret())
        caret->Hide(true);
}

void TextTool::ShowCaret()
{
    CaretManager* caret = Caret();
    if (!caret || caret->IsVisible() || !EditFrame() || ShowsSelection())
        return;
    caret->Show(true);
    // The line is on the screen at once, not a blink later: a click, a key
    // or a repaint shows where the text goes before the timer's first tick.
    caret->Update(nullptr);
}

void TextTool::RestartCaret()
{
    HideCaret();
    ShowCaret();
}

void TextTool::BlinkCaret()
{
    if (CaretManager* caret = Caret())
        caret->Update(nullptr);
}

bool TextTool::CaretPoint(IntPoint* point, int32_t* height)
{
    TextContext* ctx = Text();
    *height = 0;
    if (!ctx)
        return false;
    const TextPosition p = ctx->CaretPosition();
    return PositionToPoint(ctx, point, p.character, int32_t(p.paragraph), height);
}

// ---- the current format ----

std::array<int16_t, kAttributeCount> TextTool::TypingAttributes() const
{
    std::array<int16_t, kAttributeCount> out{};
    for (int rank = 0; rank < kAttributeCount; ++rank)
        out[size_t(rank)] = BaseWord(format_.data(), rank);
    return out;
}

void TextTool::SetTypingAttribute(int rank, int16_t value)
{
    if (rank >= 0 && rank < kAttributeCount)
        StoreFormatWord(rank, value);
}

ParaFormat TextTool::ParagraphAttributes() const { return GetParaFormat(format_.data() + kStyleParaFormatOffset); }

uint8_t TextTool::ClickState()
{
    if (clickState_ != 4)
        return uint8_t(clickState_);
    FrameStore* frames = Frames();
    if (!ShowsSelection() || !frames)
        return 0;
    TextPosition start;
    TextPosition end;
    frames->GetTextRef(EditFrame()->FrameId(), 0, &start.paragraph, &start.character);
    frames->GetTextRef(EditFrame()->FrameId(), 1, &end.paragraph, &end.character);
    return start == fourthStart_ && end == fourthEnd_ ? 4 : 0;
}

void TextTool::SetCurrentFormat(const uint8_t* record288, int32_t mergeFieldColumn)
{
    std::memcpy(format_.data(), record288, kStyleRecordSize);
    databaseField_ = mergeFieldColumn >= 0 ? int16_t(mergeFieldColumn) : kAttrNotSet;
    PublishGraphicAttrs();
    PublishTextAttrs();
}

void TextTool::StoreFormatWord(int rank, int16_t value)
{
    PutI16LE(format_.data() + kStyleBaseFormatOffset + 2 * rank, value);
}

void TextTool::StoreParaWord(size_t offset, int16_t value) { PutI16LE(format_.data() + offset, value); }

bool TextTool::Edits()
{
    if (!EditFrame() || !Text())
        return false;
    // Painting and flowing bind the engine to other frames on the way.
    BindEditor();
    return true;
}

// The commands below store their value in the current format first: the
// engine reads the typing attributes back (Character Info, Plain, the
// caret's height in an empty paragraph), and may set one back itself.
void TextTool::SetColor(int16_t value, int16_t target)
{
    if (target == kTargetText)
        StoreFormatWord(kRankColour, value);
    if (Edits())
        ::SetColor(Text(), value, uint8_t(target));
    FrameTool::SetColor(value, target);
    document_->SetModified(true);
}

void TextTool::SetShade(int16_t value, int16_t target)
{
    if (target == kTargetText)
        StoreFormatWord(kRankShade, value);
    if (Edits())
        ::SetShade(Text(), value, uint8_t(target));
    FrameTool::SetShade(value, target);
    document_->SetModified(true);
}

void TextTool::SetTextStyle(int32_t entry)
{
    if (Edits())
        ::SetParagraphStyle(Text(), uint32_t(entry));
    TextContext* ctx = Text();
    std::array<uint8_t, kStyleRecordSize> record{};
    if (ctx && ctx->Styles() && ctx->Styles()->GetStyleById(uint32_t(entry), record.data()))
        format_ = record;
    PutU32LE(format_.data() + kStyleIdOffset, uint32_t(entry));
    FrameTool::SetTextStyle(entry);
}

void TextTool::SetFont(int16_t id)
{
    StoreFormatWord(kRankFont, id);
    if (Edits())
        ::SetFont(Text(), id);
    FrameTool::SetFont(id);
}

void TextTool::SetFontSize(int16_t size)
{
    StoreFormatWord(kRankSize, size);
    if (Edits())
        ::SetSize(Text(), size);
    FrameTool::SetFontSize(size);
}

void TextTool::SetFontStyle(int16_t bits, int16_t on, int16_t mask)
{
    // bits is the whole new style, mask the change (a bit with 0x4000 turns
    // it on, alone turns it off, 0 is plain) and on the plain flag.
    StoreFormatWord(kRankStyle, bits);
    if (Edits())
        ::SetStyle(Text(), mask, on != 0);
    FrameTool::SetFontStyle(bits, on, mask);
}

void TextTool::SetAlignment(int16_t value)
{
    StoreParaWord(kParaAlignment, value);
    if (Edits())
        ::SetAlignment(Text(), value);
    FrameTool::SetAlignment(value);
}

void TextTool::SetTextToolAttrA(int16_t value)
{
    TextContext* ctx = Text();
    int16_t leading = value;
    if (EditFrame() && ctx && value < 0) {
        BindEditor();
        const TextPosition caret = ctx->CaretPosition();
        TextLineRecord line;
        const int32_t ascent =
            ctx->Lines().Get(FindLineOfPosition(ctx, caret.character, int32_t(caret.paragraph)), &line) ? line.ascent
                                                                                                         : 0;
        leading = int16_t(value == -1 ? ascent + 1 : ascent - 1);
    }
    StoreParaWord(kParaLeading, leading);
    if (Edits())
        ::SetLeading(ctx, leading);
    FrameTool::SetTextToolAttrA(leading);
}

void TextTool::SetTextToolAttrB(int16_t value)
{
    StoreFormatWord(ShowsSelection() ? kRankRangeSpacing : kRankPairSpacing, value);
    if (Edits())
        ::SetPairOrRangeValue(Text(), value);
    FrameTool::SetTextToolAttrB(value);
}

void TextTool::SetLineSpacing(int16_t value)
{
    if (EditFrame() && Text()) {
        BindEditor();
        ::SetLineSpacing(Text(), value);
        BindEditor();
    }
    StoreParaWord(kParaLineSpacing, value);
    FrameTool::SetLineSpacing(value);
}

void TextTool::SetCaseStyle(int16_t value)
{
    StoreFormatWord(kRankCaps, value);
    if (Edits())
        ::SetCaps(Text(), value);
    FrameTool::SetCaseStyle(value);
}

void TextTool::SetBaselineStyle(int16_t value)
{
    // The card document hands -1 for raised text, 1 for lowered text and 0
    // to go back to the baseline: the values the runs keep.
    StoreFormatWord(kRankSuperSub, value);
    if (Edits())
        ::SetSuperSubscript(Text(), value);
    FrameTool::SetBaselineStyle(value);
}

void TextTool::SetTextToolAttrC(int16_t value)
{
    StoreFormatWord(kRankBaselineShift, value);
    if (Edits())
        ::SetAttribute01(Text(), value);
    FrameTool::SetTextToolAttrC(value);
}

void TextTool::ApplyParagraphInfo()
{
    if (Edits()) {
        ::ApplyParagraphInfo(Text(), 1);
    }
}

void TextTool::ApplyCharacterInfo(int16_t mask, int16_t bits)
{
    if (Edits()) {
        ::ApplyCharacterInfo(Text(), uint16_t(mask), uint16_t(bits));
    }
}

void TextTool::RefreshBars() { NotifyViewChanged(); }

void TextTool::GetGraphicAttrs(GraphicAttrs* out)
{
    if (EditFrame())
        defaults_ = EditFrame()->Attributes();
    FrameTool::GetGraphicAttrs(out);
    out->textColour = BaseWord(format_.data(), kRankColour);
    out->textShade = BaseWord(format_.data(), kRankShade);
    out->dataFieldIndex = databaseField_;
}

void TextTool::GetTextAttrs(TextAttrs* out)
{
    *out = TextAttrs{};
    const uint8_t* f = format_.data();
    out->fontId = BaseWord(f, kRankFont);
    out->size = BaseWord(f, kRankSize);
    out->style = BaseWord(f, kRankStyle);
    out->alignment = uint8_t(GetI16LE(f + kParaAlignment));
    out->styleEntry = int32_t(GetU32LE(f + kStyleIdOffset));
    out->lineSpacing = GetI16LE(f + kParaLineSpacing);
    out->toolWordA = GetI16LE(f + kParaLeading);
    out->toolWordB = BaseWord(f, ShowsSelection() ? kRankRangeSpacing : kRankPairSpacing);
    out->caseStyle = uint8_t(BaseWord(f, kRankCaps));
    out->baselineStyle = uint8_t(BaseWord(f, kRankSuperSub));
}

void TextTool::SetFramePlacement(int16_t field, int32_t value, int32_t /*unused*/, bool redraw)
{
    if (!EditFrame())
        return;
    if (redraw) {
        if (ShowsSelection() && !StoryAllSelected())
            ToggleHighlight();
        HideCaret();
    }
    if (field == 0 || field == 1) {
        const FrameGeometry& g = EditFrame()->Geometry();
        IntPoint delta{field == 0 ? value - g.x : 0, field == 1 ? value - g.y : 0};
        IntRect page;
        GetPageRect(&page);
        EditFrame()->ClampMove(&delta, page, kGeometryCurrent, 0);
        EditFrame()->MoveBy(delta, 0, 0);
        EditFrame()->Recompute(1);
    } else {
        EditFrame()->SetGeometryField(field, int16_t(value));
    }
    if (redraw) {
        EditFrame()->MarkChanged(1, 0);
        EditFrame()->Invalidate(1);
        RepaintPage();
        RepaintEditFrame();
        PublishGraphicAttrs();
        ShowCaret();
    }
}

// ---- deferred re-flow ----

bool TextTool::NeedsReflow() const
{
    FrameStore* frames = Frames();
    uint8_t record[kFrameRecordSize];
    if (!EditFrame() || !frames || frames->GetFrameRecord(EditFrame()->FrameId(), record) != 0)
        return false;
    return (HeaderFlags(record) & kFrameNeedsReflow) != 0;
}

void TextTool::ScheduleReflow()
{
    if (reflowTimer_)
        reflowTimer_->start();
    else
        RunReflow();
}

bool TextTool::ReflowPending() const { return reflowTimer_ && reflowTimer_->isActive(); }

void TextTool::FlushReflow()
{
    if (!ReflowPending())
        return;
    reflowTimer_->stop();
    RunReflow();
}

void TextTool::RunReflow()
{
    TextContext* ctx = Text();
    if (!ctx || !EditFrame() || !(ctx->edit.reflowPending || NeedsReflow()))
        return;
    const bool visible = CaretVisible();
    HideCaret();
    BindEditor();
    const bool changed = FlowEditFrame();
    ctx->edit.reflowPending = false;
    RepaintEditFrame();
    if (changed)
        Frames()->InvalidateChain(EditFrame()->FrameId());
    BindEditor();
    if (visible)
        ShowCaret();
}
