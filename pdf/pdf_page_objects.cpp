#include "pdf/pdf_page_objects.h"

#include <algorithm>

#include "pdf/pdf_decimal.h"

namespace {

// The most resources dictionaries kept to compare with.
constexpr size_t kMostResources = 16;

// The object `id` as the engine writes it ("\nN 0 obj\n" ... "\nendobj\n"):
// where it starts (after the line break before it), where what it says
// starts and ends, and where it ends. False when it is not among `s`.
bool FindObject(std::string_view s, long long id, size_t* start, size_t* bodyFrom, size_t* bodyTo, size_t* end)
{
    std::string head(1, '\n');
    head.append(std::to_string(id)).append(" 0 obj\n");
    const size_t at = s.find(head);
    if (at == std::string_view::npos)
        return false;
    *start = at + 1;
    *bodyFrom = at + head.size();
    constexpr std::string_view kTail = "\nendobj\n";
    const size_t tail = s.find(kTail, *bodyFrom);
    if (tail == std::string_view::npos)
        return false;
    *bodyTo = tail;
    *end = tail + kTail.size();
    return true;
}

// The object named by the entry `key` ("/Annots ") of the dictionary from
// `from` to `to`: its number, and where the entry's line starts and ends
// (the line break after it included). -1 for none.
long long EntryAt(std::string_view s, size_t from, size_t to, std::string_view key, size_t* lineFrom, size_t* lineTo)
{
    std::string line(1, '\n');
    line.append(key);
    const size_t at = s.substr(0, to).find(line, from);
    if (at == std::string_view::npos)
        return -1;
    size_t end = 0;
    const long long id = PdfWholeAt(s, at + line.size(), &end);
    constexpr std::string_view kReference = " 0 R\n";
    if (id <= 0 || s.substr(end, kReference.size()) != kReference)
        return -1;
    *lineFrom = at + 1;
    *lineTo = end + kReference.size();
    return id;
}

}  // namespace

void PdfPageObjects::leaveOut(long long id)
{
    freed_.insert(std::upper_bound(freed_.begin(), freed_.end(), id), id);
}

long long PdfPageObjects::takeFreed()
{
    if (freed_.empty())
        return -1;
    const long long id = freed_.back();
    freed_.pop_back();
    return id;
}

void PdfPageObjects::shorten(std::string_view s, std::vector<Edit>* edits, std::vector<Packed>* packed)
{
    // The page's dictionary; the objects it names follow it.
    const size_t type = s.find("\n<<\n/Type /Page\n");
    if (type == std::string_view::npos)
        return;
    const size_t close = s.find("\n>>\nendobj\n", type);
    if (close == std::string_view::npos)
        return;
    // Only what comes before the page's content is looked through: the
    // engine writes the objects the page names first, and the compressed
    // content could hold anything.
    const size_t stream = s.find(">>\nstream\n", close);
    const std::string_view ahead = s.substr(close, stream == std::string_view::npos ? 0 : stream - close);
    // The page's own lines edited, kept apart when the page goes whole.
    std::vector<Edit> lines;
    size_t from = 0, to = 0, start = 0, bodyFrom = 0, bodyTo = 0, end = 0;
    const long long annots = EntryAt(s, type, close, "/Annots ", &from, &to);
    if (annots > 0 && FindObject(ahead, annots, &start, &bodyFrom, &bodyTo, &end) &&
        s.substr(close + bodyFrom, bodyTo - bodyFrom) == "[ ]") {
        lines.push_back({qsizetype(from), qsizetype(to), QByteArray()});
        edits->push_back({qsizetype(close + start), qsizetype(close + end), QByteArray()});
        leaveOut(annots);
    }
    const long long resources = EntryAt(s, type, close, "/Resources ", &from, &to);
    if (resources > 0 && FindObject(ahead, resources, &start, &bodyFrom, &bodyTo, &end)) {
        const std::string_view says = s.substr(close + bodyFrom, bodyTo - bodyFrom);
        const auto same = std::find_if(resources_.begin(), resources_.end(),
                                       [&](const std::pair<long long, std::string>& r) { return r.second == says; });
        if (same != resources_.end()) {
            lines.push_back({qsizetype(from), qsizetype(to),
                             "/Resources " + QByteArray::number(same->first) + " 0 R\n"});
            edits->push_back({qsizetype(close + start), qsizetype(close + end), QByteArray()});
            leaveOut(resources);
        } else {
            if (resources_.size() < kMostResources)
                resources_.emplace_back(resources, std::string(says));
            if (packed) {
                packed->push_back({resources, std::string(says)});
                edits->push_back({qsizetype(close + start), qsizetype(close + end), QByteArray()});
            }
        }
    }
    // The page itself goes whole, "N 0 obj" to "endobj", its lines edited.
    const size_t lineBreak = type == 0 ? std::string_view::npos : s.rfind('\n', type - 1);
    const size_t head = lineBreak == std::string_view::npos ? 0 : lineBreak + 1;
    size_t idEnd = 0;
    const long long page = PdfWholeAt(s, head, &idEnd);
    if (packed && page > 0 && s.substr(idEnd, type - idEnd) == " 0 obj") {
        std::sort(lines.begin(), lines.end(), [](const Edit& a, const Edit& b) { return a.from < b.from; });
        std::string body;
        size_t at = type + 1;
        for (const Edit& e : lines) {
            body.append(s.substr(at, size_t(e.from) - at)).append(e.with.constData(), size_t(e.with.size()));
            at = size_t(e.to);
        }
        body.append(s.substr(at, close + 3 - at));
        packed->push_back({page, std::move(body)});
        edits->push_back({qsizetype(head), qsizetype(close + 11), QByteArray()});
        return;
    }
    for (Edit& e : lines)
        edits->push_back(std::move(e));
}
