#include "platform/locale_paper.h"

#include <langinfo.h>

#include <cstdint>

QPageSize LocalePaper()
{
    // The C library keeps the sizes, in millimetres, as the words it
    // answers with; A4 where it keeps none.
    const auto millimetres = [](nl_item item) { return int(reinterpret_cast<intptr_t>(nl_langinfo(item))); };
    const int width = millimetres(_NL_PAPER_WIDTH);
    const int height = millimetres(_NL_PAPER_HEIGHT);
    if (width <= 0 || height <= 0 || width > 10000 || height > 10000)
        return QPageSize(QPageSize::A4);
    return QPageSize(QSizeF(width, height), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
}
