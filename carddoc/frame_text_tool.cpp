#include "carddoc/frame_text_tool.h"

#include "carddoc/labels_doc.h"
#include "foundation/byte_order.h"
#include "frames/frame_obj.h"
#include "frames/frame_store.h"
#include "frames/story_store.h"
#include "frames/style_run_format.h"
#include "frames/style_sheet.h"
#include "graphics/fill_patterns.h"
#include "text/text_context.h"

namespace {

constexpr int16_t kDefaultTextColour = 15;
constexpr size_t kLeading = kStyleParaFormatOffset + 6;
constexpr size_t kAlignment = kStyleParaFormatOffset + 16;

int16_t BaseWord(const uint8_t* style, int rank) { return GetI16LE(style + kStyleBaseFormatOffset + 2 * rank); }

}  // namespace

FrameTextTool::FrameTextTool(ToolDocument* document) : RectTool(document)
{
    defaults_.geometry.lineWidth = 0;
    // Like the text frames of the wizard's layouts, a new frame is clear:
    // a backdrop or picture beneath shows around its text.
    defaults_.background = kNoBackground;
    defaults_.fillPattern = kFillHollow;
    PutI16LE(style_.data() + kStyleBaseFormatOffset + 2 * kRankColour, kDefaultTextColour);
}

int16_t FrameTextTool::GetFrameType() { return kFrameText; }

void FrameTextTool::ReloadStyle()
{
    TextContext* text = document_->DocumentTextContext();
    if (text && text->Styles())
        text->Styles()->GetStyleById(0, style_.data());
}

void FrameTextTool::Activate(FrameTool* previous, int16_t kind)
{
    ReloadStyle();
    FrameTool::Activate(previous, kind);
    frame_ = nullptr;
}

FrameObj* FrameTextTool::CreateFrame(const IntRect& viewRect)
{
    FrameObj* frame = FrameTool::CreateFrame(viewRect);
    FrameStore* frames = document_->Frames();
    if (!frame || !frames)
        return frame;
    frames->NewStory(frame, true);
    if (StoryStore* stories = document_->Stories())
        stories->BindStory(uint16_t(frame->Block().storyId));
    frames->FlowFrame(frame->FrameId(), false);
    return frame;
}

void FrameTextTool::GetGraphicAttrs(GraphicAttrs* out)
{
    ReloadStyle();
    FrameTool::GetGraphicAttrs(out);
    out->textColour = BaseWord(style_.data(), kRankColour);
    out->textShade = BaseWord(style_.data(), kRankShade);
    out->lineColour = 0;
    out->lineShade = 0;
    out->linePattern = 1;
    out->borderStyle = 1;
    out->lineWidth = 0;
    out->fillColour = 0;
    out->background = defaults_.background;
    out->x = out->y = out->width = out->height = 0;
    out->dataFieldIndex = kAttrNotSet;
    out->reserved[0] = out->reserved[1] = kAttrNotSet;
    out->kind = 0;
}

void FrameTextTool::GetTextAttrs(TextAttrs* out)
{
    ReloadStyle();
    const uint8_t* s = style_.data();
    *out = TextAttrs{};
    out->fontId = BaseWord(s, kRankFont);
    out->size = BaseWord(s, kRankSize);
    out->style = BaseWord(s, kRankStyle);
    out->alignment = uint8_t(GetI16LE(s + kAlignment));
    out->styleEntry = int32_t(GetU32LE(s + kStyleIdOffset));
    out->toolWordA = GetI16LE(s + kLeading);
    out->toolWordB = BaseWord(s, kRankPairSpacing);
}

void FrameTextTool::ReturnToObjectTool()
{
    if (document_->ControlDown())
        return;
    // The Text tool takes the frame this tool made when it hears that the
    // Frame Text tool came before it.
    if (auto* doc = dynamic_cast<CLabelsDoc*>(document_))
        doc->SetTool(kToolText, uint16_t(kToolFrameText));
    else
        document_->SelectTool(kToolText);
}
