#include "graphics/quick_card_draw.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/font_state.h"
#include "graphics/quick_card_block.h"
#include "graphics/quick_card_format.h"
#include "graphics/quick_card_text.h"
#include "platform/dc.h"

namespace {

// Far beyond any card, and small enough that sums of a few of these stay
// well inside 32 bits.
constexpr double kMaxCoordinate = 1 << 26;
constexpr double kMaxFontHeight = 1 << 16;

int32_t ToCoordinate(double v)
{
    if (!(v > -kMaxCoordinate))
        return int32_t(-kMaxCoordinate);
    return int32_t(std::min(v, kMaxCoordinate));
}

// A stored spacing in device units; damaged or negative values count as 0.
double Spacing(float stored, double scale)
{
    const double v = double(stored) * scale;
    return v > 0 ? std::min(v, kMaxCoordinate) : 0.0;
}

// A piece's character height; 0 for the font in use.
int32_t PieceHeight(int16_t fontSize, double scaleY)
{
    if (fontSize < 1)
        return 0;
    const double h = double(fontSize) * scaleY;
    // A size that the zoom makes vanish still shows as the smallest font.
    return h >= 1 ? int32_t(std::min(h, kMaxFontHeight)) : 1;
}

struct BlockContext {
    Dc* dc;
    FontState* font;
    Handle block;
    bool useRecord;
    bool previewMode;
    double scaleX;
    double scaleY;
    bool keepEmptyPieces;
    bool keepEmptyLines;
};

// The item offsets of each line, as far as the items can be read.
struct Lines {
    std::vector<uint32_t> items;
    std::vector<size_t> starts;  // index into items of each line's first item
    bool damaged = false;

    size_t count() const { return starts.size(); }
    size_t begin(size_t line) const { return starts[line]; }
    size_t end(size_t line) const { return line + 1 < starts.size() ? starts[line + 1] : items.size(); }
};

Lines CollectLines(Handle block)
{
    Lines lines;
    const int32_t count = GetI32LE(HandleData(block) + kQcHeaderCount);
    uint32_t at = kQuickCardHeaderSize;
    for (int32_t i = 0; i < count; ++i) {
        if (at >= HandleGetSize(block) || !QuickCardBlockItemValid(block, HandleData(block) + at)) {
            // Where the last line ends cannot be known: leave it out.
            lines.damaged = true;
            if (!lines.starts.empty()) {
                lines.items.resize(lines.starts.back());
                lines.starts.pop_back();
            }
            break;
        }
        const uint8_t* item = HandleData(block) + at;
        if (i == 0 || GetU16LE(item + kQcItemNewLine) != 0)
            lines.starts.push_back(lines.items.size());
        lines.items.push_back(at);
        at += GetU32LE(item + kQcItemSize);
    }
    return lines;
}

struct LineLayout {
    double x = 0;          // advance of the line's pieces
    int32_t ascent = 0;    // greatest of the pieces' fonts
    int32_t width = 0;     // with the margin
    int32_t height = 0;
    bool blank = false;    // takes no height and is not drawn
    double spaceAbove = 0;
    uint16_t align = 0;
};

// Lays out one line from x = startX; draws its pieces on the baseline when
// `draw` is set.
LineLayout LayOutLine(const BlockContext& c, const Lines& lines, size_t line, double startX, bool draw,
                      int32_t baseline)
{
    LineLayout m;
    const uint8_t* data = HandleData(c.block);
    const QuickCardItemFields first = GetQuickCardItem(data + lines.items[lines.begin(line)]);
    m.spaceAbove = Spacing(first.spaceAbove, c.scaleY);
    m.align = first.align;

    double x = startX;
    int32_t lineHeight = 0;
    bool spaceTaken = false;
    char text[kQuickCardPieceMaxText + 1];
    for (size_t i = lines.begin(line); i < lines.end(line); ++i) {
        const uint8_t* item = data + lines.items[i];
        const QuickCardItemFields f = GetQuickCardItem(item);
        const int32_t length = QuickCardItemText(item, c.useRecord, text, kQuickCardPieceMaxText, c.previewMode);
        // A size below 1 keeps the height of the font the block started with.
        const int32_t height = PieceHeight(f.fontSize, c.scaleY);
        c.font->SetFont(nullptr, height >= 1 ? height : c.font->GetSavedHeight(), f.style, kBlack, 0,
                        kFontSetHeight | kFontSetStyle);
        const TextMetrics tm = c.dc->getTextMetrics();
        lineHeight = std::max(lineHeight, tm.height + tm.ascent - tm.descent);
        m.ascent = std::max(m.ascent, tm.ascent);
        if (length == 0 && !c.keepEmptyPieces)
            continue;
        // The space goes between pieces: not before the first piece that
        // shows on the line, even when empty pieces before it vanished.
        if (f.separator != 0)
            x += spaceTaken ? c.dc->getTextExtent(" ").width : 0;
        else
            x += Spacing(f.gap, c.scaleX);
        const std::string_view piece(text, size_t(length));
        if (draw && length > 0)
            c.dc->textOut(ToCoordinate(x), baseline, piece);
        x += length > 0 ? c.dc->getTextExtent(piece).width : 0;
        x = std::min(x, kMaxCoordinate);
        spaceTaken = true;
    }
    m.x = x - startX;
    m.blank = !c.keepEmptyLines && m.x < 1;
    m.width = ToCoordinate(m.x + 2.0);
    m.height = m.blank ? 0 : ToCoordinate(m.spaceAbove + lineHeight);
    return m;
}

BlockContext Context(Dc* dc, FontState* font, Handle block, int32_t useRecord, double scaleX, double scaleY,
                     int32_t previewMode)
{
    const uint8_t* d = HandleData(block);
    return BlockContext{dc,     font,   block, useRecord != 0, previewMode != 0, scaleX, scaleY,
                        d[kQcHeaderKeepEmptyPieces] != 0, d[kQcHeaderKeepEmptyLines] != 0};
}

}  // namespace

int32_t QuickCardBlockMeasure(Dc* dc, int32_t useRecord, double scaleX, double scaleY, Handle block, int32_t* width,
                              int32_t* height, int32_t previewMode)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    if (!dc || !QuickCardBlockIsValid(block))
        return 1;
    const Lines lines = CollectLines(block);
    int32_t w = 0;
    int64_t h = 0;
    {
        FontState font(dc);
        const BlockContext c = Context(dc, &font, block, useRecord, scaleX, scaleY, previewMode);
        for (size_t line = 0; line < lines.count(); ++line) {
            const LineLayout m = LayOutLine(c, lines, line, 0, false, 0);
            w = std::max(w, m.width);
            h = std::min<int64_t>(h + m.height, int64_t(kMaxCoordinate));
        }
    }
    if (width)
        *width = w;
    if (height)
        *height = int32_t(h);
    return lines.damaged ? 1 : 0;
}

int32_t QuickCardBlockDraw(Dc* dc, const IntRect& rect, int32_t useRecord, double scaleX, double scaleY, Handle block,
                           int32_t previewMode)
{
    if (!dc || !QuickCardBlockIsValid(block))
        return 1;
    const Lines lines = CollectLines(block);
    const uint16_t defaultAlign = GetU16LE(HandleData(block) + kQcHeaderAlign);
    const uint32_t oldAlign = dc->setTextAlign(TA_BASELINE);
    const int32_t oldMode = dc->setBkMode(TRANSPARENT);
    {
        FontState font(dc);
        const BlockContext c = Context(dc, &font, block, useRecord, scaleX, scaleY, previewMode);
        int64_t y = rect.top;
        for (size_t line = 0; line < lines.count() && y < rect.bottom; ++line) {
            const LineLayout m = LayOutLine(c, lines, line, 0, false, 0);
            if (m.blank)
                continue;
            double x = rect.left;
            switch (m.align ? m.align : defaultAlign) {
            case kQcAlignCentre:
                x += (double(rect.right) - rect.left - m.width) / 2;
                break;
            case kQcAlignRight:
                x = double(rect.right) - m.width;
                break;
            default:
                break;
            }
            x += 2.0;
            const int32_t baseline = ToCoordinate(double(y) + m.spaceAbove) + m.ascent;
            LayOutLine(c, lines, line, x, true, baseline);
            y += m.height;
        }
    }
    dc->setBkMode(oldMode);
    dc->setTextAlign(oldAlign);
    return lines.damaged ? 1 : 0;
}
