#include "text/text_clipboard.h"

#include "frames/text_buffer.h"
#include "text/text_tool.h"
#include "toolbase/frame_tool.h"

int32_t TextClipboard::CopyText(ToolDocument* document)
{
    auto* tool = static_cast<TextTool*>(document->ToolOfKind(kToolText));
    return tool && tool->CopySelectionToStore() ? 0 : 1;
}

int32_t TextClipboard::PasteRoom(ToolDocument* document)
{
    auto* tool = static_cast<TextTool*>(document->ToolOfKind(kToolText));
    return tool ? tool->PasteRoom() : TextBuffer::kMostParagraphs;
}

int32_t TextClipboard::PasteText(ToolDocument* document)
{
    if (document->CurrentToolIndex() != kToolText)
        return 1;
    auto* tool = static_cast<TextTool*>(document->ToolOfKind(kToolText));
    if (!tool)
        return 1;
    tool->PasteIntoFrame();
    return 0;
}
