#include "pdf/pdf_space_glyphs.h"

#include <cstring>

namespace {

// `what` in `s` from `from` on: glibc's memmem, as the map's long opening
// is looked for through each page's whole content, whose '/' are many.
size_t Find(std::string_view s, std::string_view what, size_t from = 0)
{
    if (from > s.size())
        return std::string_view::npos;
    const void* at = memmem(s.data() + from, s.size() - from, what.data(), what.size());
    return at ? size_t(static_cast<const char*>(at) - s.data()) : std::string_view::npos;
}

constexpr std::string_view kTabTarget = "<0009>";

// The tokens of a map's section: hex strings and the brackets of arrays.
class CMapTokens {
public:
    CMapTokens(std::string_view s, size_t from, size_t to) : s_(s), at_(from), end_(to) {}

    // The next token and its offset; empty at the section's end or at
    // anything else.
    std::string_view next(size_t* where)
    {
        while (at_ < end_ && (s_[at_] == ' ' || s_[at_] == '\n' || s_[at_] == '\r' || s_[at_] == '\t'))
            ++at_;
        *where = at_;
        if (at_ >= end_)
            return {};
        if (s_[at_] == '[' || s_[at_] == ']')
            return s_.substr(at_++, 1);
        if (s_[at_] != '<')
            return {};
        const size_t close = s_.find('>', at_);
        if (close == std::string_view::npos || close >= end_)
            return {};
        const std::string_view token = s_.substr(at_, close + 1 - at_);
        at_ = close + 1;
        return token;
    }

private:
    std::string_view s_;
    size_t at_, end_;
};

// The single-glyph tabs of the sections between `open` and `close` of one map.
void ScanCMapSections(std::string_view s, size_t from, size_t to, std::string_view open, std::string_view close,
                      bool ranges, std::vector<size_t>* out)
{
    for (size_t at = s.find(open, from); at < to; at = s.find(open, at)) {
        const size_t end = s.find(close, at);
        if (end == std::string_view::npos || end > to)
            return;
        CMapTokens tokens(s, at + open.size(), end);
        size_t where = 0;
        for (;;) {
            const std::string_view first = tokens.next(&where);
            if (first.empty() || first[0] != '<')
                break;
            std::string_view second = first;
            if (ranges && (second = tokens.next(&where)).empty())
                break;
            const std::string_view target = tokens.next(&where);
            if (target == "[") {
                for (std::string_view item = tokens.next(&where); !item.empty() && item != "]";
                     item = tokens.next(&where)) {
                    if (item == kTabTarget)
                        out->push_back(where);
                }
            } else if (target == kTabTarget && first == second) {
                out->push_back(where);
            } else if (target.empty()) {
                break;
            }
        }
        at = end + close.size();
    }
}

}  // namespace

std::vector<size_t> TabsForSpaceInToUnicodeMaps(std::string_view bytes)
{
    std::vector<size_t> tabs;
    // A map is a stream of its own, which the engine writes as it is.
    constexpr std::string_view kMap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n";
    constexpr std::string_view kEnd = "endcmap\n";
    for (size_t at = Find(bytes, kMap); at != std::string_view::npos; at = Find(bytes, kMap, at)) {
        const size_t end = Find(bytes, kEnd, at);
        if (end == std::string_view::npos)
            break;
        ScanCMapSections(bytes, at, end, "beginbfrange", "endbfrange", true, &tabs);
        ScanCMapSections(bytes, at, end, "beginbfchar", "endbfchar", false, &tabs);
        at = end;
    }
    return tabs;
}
