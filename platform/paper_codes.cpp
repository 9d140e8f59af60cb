#include "platform/paper_codes.h"

#include <cstdlib>

#include <QSize>

#include "foundation/paper_table.h"

namespace {

// Qt rounds its sizes to whole points and the paper table truncates them.
constexpr int kPointTolerance = 1;

// Page sizes without a code of their own are custom (256) to Qt.
constexpr int kPaperCodeUser = 256;

const PaperEntry* TableEntryForCode(int32_t code)
{
    if (code <= 0)
        return nullptr;
    for (const PaperEntry& e : PaperTable) {
        if (int32_t(e.code) == code)
            return &e;
    }
    return nullptr;
}

bool SameSize(const QPageSize& page, const PaperEntry& e)
{
    const QSize s = page.sizePoints();
    return std::abs(s.width() - int(e.width)) <= kPointTolerance &&
           std::abs(s.height() - int(e.height)) <= kPointTolerance;
}

}  // namespace

int32_t PaperCodeForPageSize(const QPageSize& page)
{
    if (!page.isValid())
        return 0;
    const int code = page.windowsId();
    if (code > 0 && code != kPaperCodeUser) {
        const PaperEntry* e = TableEntryForCode(code);
        if (!e || SameSize(page, *e))
            return code;
    }
    for (const PaperEntry& e : PaperTable) {
        if (e.code != 0 && SameSize(page, e))
            return int32_t(e.code);
    }
    return 0;
}

QPageSize PageSizeForPaperCode(int32_t code)
{
    if (code <= 0 || code == kPaperCodeUser)
        return QPageSize();
    QPageSize page(QPageSize::id(code));
    const PaperEntry* e = TableEntryForCode(code);
    if (!e || (page.isValid() && SameSize(page, *e)))
        return page;
    return QPageSize(QSize(int(e->width), int(e->height)), QString(), QPageSize::ExactMatch);
}
