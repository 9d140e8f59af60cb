#include "typography/font_item_painter.h"

#include <algorithm>
#include <cstring>

#include <QFontInfo>

#include "foundation/cp1252.h"
#include "graphics/font_spec.h"
#include "platform/dc.h"
#include "typography/menu_bitmaps.h"

bool FontMarkBitmaps::Load(int32_t trueTypeFirstId, int32_t trueTypeSecondId, int32_t deviceFirstId,
                           int32_t deviceSecondId)
{
    trueTypeFirst = LoadMenuBitmap(trueTypeFirstId);
    trueTypeSecond = LoadMenuBitmap(trueTypeSecondId);
    deviceFirst = LoadMenuBitmap(deviceFirstId);
    deviceSecond = LoadMenuBitmap(deviceSecondId);
    if (trueTypeFirst.isNull() || trueTypeSecond.isNull() || deviceFirst.isNull() || deviceSecond.isNull()) {
        *this = FontMarkBitmaps{};
        return false;
    }
    return true;
}

QSize FontMarkBitmaps::Size() const
{
    return QSize(std::max(trueTypeFirst.width(), deviceFirst.width()),
                 std::max(trueTypeFirst.height(), deviceFirst.height()));
}

void DrawFontMark(Dc* dc, const FontMarkBitmaps& marks, uint32_t type, int32_t x, int32_t top, int32_t bottom,
                  int32_t width, int32_t height)
{
    const QImage* first = nullptr;
    const QImage* second = nullptr;
    if (type == kFontTypeTrueType) {
        first = &marks.trueTypeFirst;
        second = &marks.trueTypeSecond;
    } else if (type == kFontTypeDevice) {
        first = &marks.deviceFirst;
        second = &marks.deviceSecond;
    }
    if (!first || first->isNull())
        return;
    const int32_t h = std::min(height, int32_t(first->height()));
    DrawMarkPair(dc, x, top + (bottom - top - h) / 2, width, height, *first, *second);
}

void DrawCentredText(Dc* dc, int32_t x, int32_t top, int32_t bottom, std::string_view text)
{
    const TextMetrics m = dc->getTextMetrics();
    const int32_t oldMode = dc->setBkMode(TRANSPARENT);
    const uint32_t oldAlign = dc->setTextAlign(TA_LEFT | TA_TOP);
    dc->textOut(x, top + (bottom - top - m.height) / 2, text);
    dc->setTextAlign(oldAlign);
    dc->setBkMode(oldMode);
}

LogFont LogFontOfWidget(const QFont& font)
{
    LogFont f;
    const QFontInfo info(font);
    f.height = -std::max(1, info.pixelSize());
    f.weight = info.bold() ? FW_BOLD : FW_NORMAL;
    f.italic = info.italic() ? 1 : 0;
    const std::string face = QStringToCp1252(info.family());
    std::memcpy(f.faceName, face.data(), std::min(face.size(), sizeof(f.faceName) - 1));
    return f;
}
