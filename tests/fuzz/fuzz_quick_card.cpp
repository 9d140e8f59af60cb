// Reads arbitrary bytes as a Quick Card block, as a document hands one over.
// Whatever the bytes, walking, reading pieces, converting, changing,
// measuring and drawing must stay inside the block; an operation that is
// refused must leave the block as it was, and one that succeeds must leave a
// block that can be walked to its end.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "graphics/field_text_provider.h"
#include "graphics/quick_card_block.h"
#include "graphics/quick_card_draw.h"
#include "graphics/quick_card_format.h"
#include "graphics/quick_card_text.h"
#include "offscreen_gui.h"
#include "platform/dc.h"

namespace {

// Empty values for some fields, so that pieces vanish as well as show.
class Fields : public FieldTextProvider {
public:
    std::string MergeFieldText(int32_t fieldId, bool) override
    {
        return fieldId % 3 == 0 ? std::string() : std::string(size_t(fieldId % 300), 'v');
    }
    std::string BracketedFieldName(int32_t fieldId) override { return "[" + std::to_string(fieldId) + "]"; }
};

std::vector<uint8_t> Bytes(Handle h) { return {HandleData(h), HandleData(h) + HandleGetSize(h)}; }

int32_t Count(Handle block)
{
    return HandleGetSize(block) >= kQuickCardHeaderSize ? GetI32LE(HandleData(block) + kQcHeaderCount) : 0;
}

bool Walkable(Handle block)
{
    uint32_t end = 0;
    return QuickCardBlockIsValid(block) && QuickCardItemOffset(block, Count(block), &end);
}

// A refused change leaves the bytes alone; an accepted one leaves a block
// that can be walked.
void Check(Handle block, int32_t result, const std::vector<uint8_t>& before)
{
    if (result != 0 ? Bytes(block) != before : !Walkable(block))
        std::abort();
}

void ReadEveryItem(Handle block)
{
    if (!QuickCardBlockIsValid(block))
        return;
    char text[kQuickCardPieceMaxText + 1];
    HandleOwner copy(HandleNew(0));
    for (int32_t n = 0; n < Count(block) && n < 200; ++n) {
        const uint8_t* item = QuickCardBlockGetItem(block, n);
        if (!item)
            break;
        if (!QuickCardBlockItemValid(block, item))
            std::abort();
        for (int32_t mode = 0; mode < 3; ++mode) {
            const int32_t length = QuickCardItemText(item, mode & 1, text, kQuickCardPieceMaxText, mode >> 1);
            if (length < 0 || length > kQuickCardPieceMaxText || std::strlen(text) != size_t(length))
                std::abort();
        }
        if (QuickCardBlockCopyItem(block, copy.get(), n) != 0 ||
            HandleGetSize(copy.get()) != GetU32LE(HandleData(copy.get())))
            std::abort();
    }
}

void MeasureAndDraw(Handle block)
{
    static std::unique_ptr<Dc> ruler = Dc::ForMeasuring();
    LogFont font;
    std::strcpy(font.faceName, "Liberation Sans");
    font.height = -12;
    ruler->selectFont(font);
    int32_t width = 0, height = 0;
    const int32_t measured = QuickCardBlockMeasure(ruler.get(), 1, 1.5, 1.0, block, &width, &height, 0);
    if (width < 0 || height < 0 || (measured != 0 && !QuickCardBlockIsValid(block) && (width || height)))
        std::abort();
    if (ruler->font() != font)
        std::abort();

    // Small sizes keep the glyphs that are rasterised small.
    QImage image(48, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    std::unique_ptr<Dc> dc = Dc::ForImage(&image);
    dc->selectFont(font);
    QuickCardBlockDraw(dc.get(), IntRect{-4, -2, 44, 22}, 0, 0.5, 1.0 / 128, block, 1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartOffscreenGui(argc, argv);
    static Fields fields;
    SetFieldTextProvider(&fields);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Handle raw = nullptr;
    if (HandleFromBytes(data, &raw, uint32_t(size)) != 0)
        return 0;
    HandleOwner block(raw);

    ReadEveryItem(block.get());
    MeasureAndDraw(block.get());

    std::vector<uint8_t> before = Bytes(block.get());
    const bool wasValid = QuickCardBlockIsValid(block.get());
    const int32_t converted = QuickCardBlockConvertOld(block.get());
    if (converted != 0 || wasValid) {
        if (Bytes(block.get()) != before)
            std::abort();
    } else if (!Walkable(block.get())) {
        std::abort();
    }
    ReadEveryItem(block.get());

    HandleOwner item(QuickCardItemNew());
    const int32_t textLength = size > 0 ? data[0] % 70 : 0;
    QuickCardItemSetText(item.get(), reinterpret_cast<const char*>(data), std::min<int32_t>(textLength, int32_t(size)));
    PutI32LE(HandleData(item.get()) + kQcItemField, size > 1 ? int8_t(data[1]) : -1);
    PutU16LE(HandleData(item.get()) + kQcItemNewLine, 1);

    before = Bytes(block.get());
    Check(block.get(), QuickCardBlockInsertItem(block.get(), item.get(), 1), before);
    before = Bytes(block.get());
    const int32_t count = Count(block.get());
    Check(block.get(), QuickCardBlockMoveItem(block.get(), 0, count > 0 ? count - 1 : 0), before);
    before = Bytes(block.get());
    Check(block.get(), QuickCardBlockReplaceItem(block.get(), item.get(), 0), before);
    before = Bytes(block.get());
    Check(block.get(), QuickCardBlockSetItemFlags(block.get(), 5, 1), before);
    before = Bytes(block.get());
    Check(block.get(), QuickCardBlockDeleteItem(block.get(), 0), before);

    ReadEveryItem(block.get());
    MeasureAndDraw(block.get());
    return 0;
}
