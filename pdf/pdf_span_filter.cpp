#include "pdf/pdf_span_filter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <memory>
#include <mutex>
#include <string_view>

#include <libdeflate.h>
#include <zlib.h>

#include "pdf/pdf_content_spans.h"
#include "pdf/pdf_content_trim.h"
#include "pdf/pdf_local_origins.h"
#include "pdf/pdf_page_objects.h"
#include "pdf/pdf_space_glyphs.h"
#include "pdf/zlib_inflate.h"

namespace {

// The whole number written at `at` and where it ends; -1 for none.
qint64 NumberAt(std::string_view s, size_t at, size_t* end)
{
    size_t i = at;
    qint64 v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && i - at < 18)
        v = v * 10 + (s[i++] - '0');
    *end = i;
    return i == at ? -1 : v;
}

// The text expected at `at`, and where it ends.
bool Expect(std::string_view s, size_t at, std::string_view what, size_t* end)
{
    if (s.substr(at, what.size()) != what)
        return false;
    *end = at + what.size();
    return true;
}

struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// The compressed stream from `at` inflated; `used` the bytes it took. The
// painter stores the content, which then comes out no larger than it went
// in: it is taken at once into memory of that size (libdeflate copies
// stored blocks whole); a stream that would not fit is inflated by zlib,
// piece by piece.
bool Inflate(std::string_view s, size_t at, QByteArray* out, size_t* used)
{
    thread_local std::unique_ptr<libdeflate_decompressor, DecompressorFree> unpacker(libdeflate_alloc_decompressor());
    const size_t available = s.size() - at;
    if (unpacker) {
        out->resize(qsizetype(available));
        size_t taken = 0, made = 0;
        const libdeflate_result r = libdeflate_zlib_decompress_ex(unpacker.get(), s.data() + at, available,
                                                                  out->data(), available, &taken, &made);
        if (r == LIBDEFLATE_SUCCESS) {
            out->resize(qsizetype(made));
            *used = taken;
            return true;
        }
        if (r != LIBDEFLATE_INSUFFICIENT_SPACE)
            return false;
    }
    return ZlibInflate(s.data() + at, available, out, used);
}

// libdeflate's compressors, kept for the next page once a page is made:
// making one (megabytes, at the stronger levels) costs about what
// compressing a small page does, and each job is painted by a new thread.
class KeptCompressors {
public:
    ~KeptCompressors()
    {
        for (auto& [level, packer] : kept_)
            libdeflate_free_compressor(packer);
    }
    libdeflate_compressor* take(int level)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto it = kept_.begin(); it != kept_.end(); ++it)
                if (it->first == level) {
                    libdeflate_compressor* packer = it->second;
                    kept_.erase(it);
                    return packer;
                }
        }
        return libdeflate_alloc_compressor(level);
    }
    void give(int level, libdeflate_compressor* packer)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        kept_.emplace_back(level, packer);
    }

private:
    std::mutex mutex_;
    std::vector<std::pair<int, libdeflate_compressor*>> kept_;
};

// The room a compressor asks for, the most it could write, is the size of
// the page itself: the result is copied into memory of its own size, as
// the page waits in it to be written.
QByteArray Fitted(const QByteArray& room, size_t used)
{
    return QByteArray(room.constData(), qsizetype(used));
}

QByteArray Libdeflated(const QByteArray& in, int level)
{
    static KeptCompressors kept;
    QByteArray out;
    if (libdeflate_compressor* packer = kept.take(level)) {
        QByteArray room(qsizetype(libdeflate_zlib_compress_bound(packer, size_t(in.size()))), Qt::Uninitialized);
        out = Fitted(room, libdeflate_zlib_compress(packer, in.constData(), size_t(in.size()), room.data(),
                                                    size_t(room.size())));
        kept.give(level, packer);
    }
    return out;
}

// A page's content compressed for the PDF's FlateDecode, by libdeflate's
// level 4. Drawn from its parts' own origins, the labels of a sheet repeat
// one another in long runs that the fastest level finds too; what is left
// to compress is mostly each label's own text, which level 4 makes a sixth
// smaller than the fastest level does on a page of small labels (a
// shipping label's a fourteenth) for a few microseconds a page more:
// pages come out smaller than zlib's default level made them of the
// content as the engine wrote it, in about the time zlib's fastest takes.
bool PackPageContent(const QByteArray& in, QByteArray* out)
{
    constexpr int kPackLevel = 4;
    *out = Libdeflated(in, kPackLevel);
    return !out->isEmpty();
}

// An offset or an object's number as the cross-reference table writes it.
QByteArray TenDigits(long long v)
{
    char ten[16];
    std::snprintf(ten, sizeof ten, "%010lld", v);
    return QByteArray(ten);
}

}  // namespace

PdfSpanFilter::PdfSpanFilter(QIODevice* to) : to_(to) { open(QIODevice::WriteOnly); }

PdfSpanFilter::~PdfSpanFilter() { finish(); }

void PdfSpanFilter::holdPage(std::vector<std::string> texts, GlyphRunWidths widths)
{
    holding_ = true;
    texts_ = std::move(texts);
    widths_ = std::move(widths);
    held_.clear();
}

qint64 PdfSpanFilter::writeData(const char* data, qint64 n)
{
    if (holding_)
        held_.append(data, n);
    else
        failed_ = failed_ || !pass(data, n);
    written_ += n;
    return n;
}

void PdfSpanFilter::releasePage()
{
    holding_ = false;
    const QByteArray held = std::move(held_);
    held_ = QByteArray();
    // After a failed write nothing more is passed on: the output is lost.
    if (!failed_)
        failed_ = !passPage(held, written_ - held.size(), texts_, widths_);
    texts_.clear();
    widths_.clear();
}

bool PdfSpanFilter::finish() { return !failed_; }

bool PdfSpanFilter::pass(const char* data, qint64 n) { return n == 0 || to_->write(data, n) == n; }

qint64 PdfSpanFilter::moved(qint64 at) const
{
    // The shifts come in the engine's order: the last one from at or
    // before `at` holds.
    const auto after = std::upper_bound(shifts_.begin(), shifts_.end(), at,
                                        [](qint64 v, const std::pair<qint64, qint64>& s) { return v < s.first; });
    return after == shifts_.begin() ? at : at + std::prev(after)->second;
}

bool PdfSpanFilter::passPage(const QByteArray& held, qint64 heldAt, const std::vector<std::string>& texts,
                             const GlyphRunWidths& widths)
{
    std::vector<Edit> edits;
    // A page that could not be made anew (no memory) goes as drawn.
    Content made;
    try {
        made = makeContent(held, texts, widths);
    } catch (const std::exception&) {
        made.made = false;
    }
    if (made.made)
        replaceContent(made, &edits);
    shortenPageObjects(held, &edits);
    followEdits(held, &edits, heldAt);
    if (!shifts_.empty() || !objects_.freed().empty())
        followXref(held, heldAt, &edits);
    // The fonts come with the document's end, held as a page is.
    for (const size_t tab : TabsForSpaceInToUnicodeMaps(std::string_view(held.constData(), size_t(held.size()))))
        edits.push_back({qsizetype(tab), qsizetype(tab + 6), QByteArrayLiteral("<0020>")});
    if (edits.empty())
        return pass(held.constData(), held.size());
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.from < b.from; });
    QByteArray out;
    qsizetype size = held.size();
    for (const Edit& e : edits)
        size += e.with.size() - (e.to - e.from);
    out.reserve(size);
    qsizetype from = 0;
    for (const Edit& e : edits) {
        out.append(held.constData() + from, e.from - from);
        out.append(e.with);
        from = e.to;
    }
    out.append(held.constData() + from, held.size() - from);
    return pass(out.constData(), out.size());
}

PdfSpanFilter::Content PdfSpanFilter::makeContent(const QByteArray& held, const std::vector<std::string>& texts,
                                                  const GlyphRunWidths& widths)
{
    Content made;
    const std::string_view s(held.constData(), size_t(held.size()));
    // The page names its content; the content's object follows it.
    size_t at = s.find("/Contents ");
    size_t end = 0;
    const qint64 id = at == std::string_view::npos ? -1 : NumberAt(s, at + 10, &end);
    if (id < 0)
        return made;
    const QByteArray head = "\n" + QByteArray::number(id) + " 0 obj\n<<\n/Length ";
    at = s.find(std::string_view(head.constData(), size_t(head.size())), end);
    if (at == std::string_view::npos)
        return made;
    made.lengthRefAt = at + size_t(head.size());
    made.lengthId = NumberAt(s, made.lengthRefAt, &end);
    made.lengthRefEnd = end + 4;
    if (made.lengthId < 0 || !Expect(s, end, " 0 R\n/Filter /FlateDecode\n>>\nstream\n", &made.dataAt))
        return made;
    QByteArray content;
    if (!Inflate(s, made.dataAt, &content, &made.used))
        return made;
    constexpr std::string_view kStreamEnd = "\nendstream\nendobj\n";
    const QByteArray tail = kStreamEnd.data() + QByteArray::number(made.lengthId) + " 0 obj\n";
    const std::string_view tailText(tail.constData(), size_t(tail.size()));
    made.lengthObjectAt = made.dataAt + made.used + kStreamEnd.size();
    size_t lengthAt = 0, lengthEnd = 0;
    if (!Expect(s, made.dataAt + made.used, tailText, &lengthAt) ||
        NumberAt(s, lengthAt, &lengthEnd) != qint64(made.used) ||
        !Expect(s, lengthEnd, "\nendobj\n", &made.lengthObjectEnd))
        return made;
    // A page whose runs do not match its texts keeps its content as drawn.
    QByteArray spanned;
    if (texts.empty() || !SpanAslantText(content, texts, &spanned))
        spanned = std::move(content);
    spanned = DrawFromLocalOrigins(TrimPageContent(spanned, &widths));
    made.made = PackPageContent(spanned, &made.packed);
    return made;
}

void PdfSpanFilter::replaceContent(const Content& content, std::vector<Edit>* edits)
{
    edits->push_back({qsizetype(content.dataAt), qsizetype(content.dataAt + content.used), content.packed});
    // The content's length is written where the content names it rather
    // than as an object of its own, which then becomes a free entry.
    edits->push_back({qsizetype(content.lengthRefAt), qsizetype(content.lengthRefEnd),
                      QByteArray::number(content.packed.size())});
    edits->push_back({qsizetype(content.lengthObjectAt), qsizetype(content.lengthObjectEnd), QByteArray()});
    objects_.leaveOut(content.lengthId);
}

void PdfSpanFilter::shortenPageObjects(const QByteArray& held, std::vector<Edit>* edits)
{
    std::vector<PdfPageObjects::Edit> shorter;
    objects_.shorten(std::string_view(held.constData(), size_t(held.size())), &shorter);
    for (PdfPageObjects::Edit& e : shorter)
        edits->push_back({e.from, e.to, std::move(e.with)});
}

void PdfSpanFilter::followEdits(const QByteArray& held, std::vector<Edit>* edits, qint64 heldAt)
{
    // From the end of each edit on, the engine's bytes land as much further
    // as the edits up to it added. Only the offsets of objects are asked
    // for: where no object begins before the next edit, the next one's
    // shift is the one to note (a document's shifts are kept to its end).
    std::sort(edits->begin(), edits->end(), [](const Edit& a, const Edit& b) { return a.from < b.from; });
    const std::string_view s(held.constData(), size_t(held.size()));
    qint64 shift = shifts_.empty() ? 0 : shifts_.back().second;
    for (size_t i = 0; i < edits->size(); ++i) {
        const Edit& e = (*edits)[i];
        shift += e.with.size() - (e.to - e.from);
        const size_t gapEnd = i + 1 < edits->size() ? size_t((*edits)[i + 1].from) : s.size();
        const bool objectAhead = i + 1 == edits->size() ||
                                 s.substr(size_t(e.to), gapEnd - size_t(e.to)).find(" 0 obj\n") != std::string_view::npos;
        if (objectAhead && (shifts_.empty() || shifts_.back().second != shift))
            shifts_.emplace_back(heldAt + e.to, shift);
    }
}

void PdfSpanFilter::followXref(const QByteArray& held, qint64 heldAt, std::vector<Edit>* edits) const
{
    // The table the trailer points to, when it is among what was held: the
    // offsets of the objects, ten digits each, and the table's own.
    const std::string_view s(held.constData(), size_t(held.size()));
    // The mark is among the file's last bytes ("startxref", the offset,
    // "%%EOF"): only those are looked through, not each page held.
    constexpr size_t kTail = 64;
    const size_t mark = s.find("startxref\n", s.size() > kTail ? s.size() - kTail : 0);
    size_t markEnd = 0, end = 0;
    const qint64 xref = mark == std::string_view::npos ? -1 : NumberAt(s, mark + 10, &markEnd);
    if (xref < heldAt || xref >= heldAt + held.size())
        return;
    size_t at = size_t(xref - heldAt), first = 0;
    if (!Expect(s, at, "xref\n", &at) || NumberAt(s, at, &end) != 0 || !Expect(s, end, " ", &at))
        return;
    const qint64 count = NumberAt(s, at, &end);
    if (count < 0 || !Expect(s, end, "\n", &first))
        return;
    // An object left out is a free entry, each naming the next one left
    // out and the last none; the entry of object 0 heads the list.
    std::vector<long long> freed = objects_.freed();
    std::sort(freed.begin(), freed.end());
    // (A table not written as the engine writes it keeps its entries.)
    if (!freed.empty() && (freed.back() >= count || s.substr(first, 20) != "0000000000 65535 f \n"))
        freed.clear();
    if (!freed.empty())
        edits->push_back({qsizetype(first), qsizetype(first + 10), TenDigits(freed.front())});
    for (size_t i = 0; i < freed.size(); ++i) {
        const size_t entry = first + size_t(freed[i]) * 20;
        const long long next = i + 1 < freed.size() ? freed[i + 1] : 0;
        edits->push_back({qsizetype(entry), qsizetype(entry + 18), TenDigits(next) + " 00001 f"});
    }
    for (qint64 k = 0; k < count; ++k) {
        const size_t entry = first + size_t(k) * 20;
        if (entry + 20 > s.size())
            return;
        if (s.substr(entry + 10, 9) != " 00000 n " || std::binary_search(freed.begin(), freed.end(), k))
            continue;
        size_t digitsEnd = 0;
        const qint64 offset = NumberAt(s, entry, &digitsEnd);
        if (offset < 0 || digitsEnd != entry + 10)
            continue;
        edits->push_back({qsizetype(entry), qsizetype(entry + 10), TenDigits(moved(offset))});
    }
    edits->push_back({qsizetype(mark + 10), qsizetype(markEnd), QByteArray::number(moved(xref))});
}
