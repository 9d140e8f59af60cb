#include "app/doc_template.h"

#include <algorithm>
#include <cctype>

DocTemplate::DocTemplate(int32_t resourceId, const char* fields, ChildFrameKind frameKind)
    : resourceId_(resourceId), frameKind_(frameKind)
{
    std::string text = fields ? fields : "";
    size_t start = 0;
    for (int32_t i = 0; i < kStringCount && start <= text.size(); ++i) {
        const size_t end = std::min(text.find('\n', start), text.size());
        strings_[i] = text.substr(start, end - start);
        start = end + 1;
    }
}

bool DocTemplate::MatchesFile(const std::string& path) const
{
    const std::string& ext = strings_[kFilterExt];
    if (ext.empty() || path.size() <= ext.size())
        return false;
    return std::equal(ext.begin(), ext.end(), path.end() - ptrdiff_t(ext.size()), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

std::string DocTemplate::QtFilter() const
{
    const std::string& name = strings_[kFilterName];
    if (name.find('(') != std::string::npos)
        return name;
    return name + " (*" + strings_[kFilterExt] + ")";
}
