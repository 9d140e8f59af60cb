// Reads arbitrary bytes as a PDF page's content, as the printing writes it
// anew: trimmed, drawn from its parts' origins, its aslant runs spanned,
// its fonts' maps read. Nothing may crash or hang, and the page written anew stays
// within a bound of the page it came from.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>

#include "pdf/pdf_content_spans.h"
#include "pdf/pdf_content_trim.h"
#include "pdf/pdf_local_origins.h"
#include "pdf/pdf_space_glyphs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray page(reinterpret_cast<const char*>(data), qsizetype(size));
    // A clip made a rectangle is the only text the trim makes longer than
    // what it replaces, and by no more than its four numbers.
    if (TrimPageContent(page).size() > page.size() + 64)
        std::abort();
    const QByteArray local = DrawFromLocalOrigins(page);
    // A number may grow by its origin's digits, and a part by its origin.
    if (local.size() > 16 * page.size() + 256)
        std::abort();
    QByteArray spanned;
    SpanAslantText(local, {"A", "runs"}, &spanned);
    for (const size_t tab : TabsForSpaceInToUnicodeMaps(std::string_view(page.constData(), size_t(page.size()))))
        if (tab + 6 > size_t(page.size()))
            std::abort();
    return 0;
}
