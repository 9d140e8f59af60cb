// Reads arbitrary bytes as a PDF page's content, as the printing writes it
// anew: its numbers shortened, its aslant runs spanned, its fonts' maps
// read. Nothing may crash or hang, and the shortened page stays within a
// bound of the page it came from.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>

#include "platform/pdf_content_spans.h"
#include "platform/pdf_path_numbers.h"
#include "platform/pdf_space_glyphs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray page(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray shortened = ShortenPathNumbers(page);
    // Each number may gain the space that parts it from what follows.
    if (shortened.size() > 2 * page.size() + 16)
        std::abort();
    QByteArray spanned;
    SpanAslantText(shortened, {"A", "runs"}, &spanned);
    for (const size_t tab : TabsForSpaceInToUnicodeMaps(std::string_view(page.constData(), size_t(page.size()))))
        if (tab + 6 > size_t(page.size()))
            std::abort();
    return 0;
}
