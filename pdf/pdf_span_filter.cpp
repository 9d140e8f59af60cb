#include "pdf/pdf_span_filter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
#include "pdf/pdf_object_stream.h"
#include "pdf/pdf_page_objects.h"
#include "pdf/pdf_space_glyphs.h"
#include "pdf/pdf_xref_stream.h"
#include "pdf/thread_deflate_level.h"
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

// The room a compressor asks for, the most it could write, is the size of
// the page itself: the result is copied into memory of its own size, as
// the page waits in it to be written.
QByteArray Fitted(const QByteArray& room, size_t used)
{
    return QByteArray(room.constData(), qsizetype(used));
}

// `n` bytes from `in` compressed into the `room` bytes at `out`: the bytes
// written, 0 when they do not fit.
size_t DeflateInto(const char* in, size_t n, char* out, size_t room, int level)
{
    libdeflate_compressor* packer = ThreadCompressor(level);
    return packer ? libdeflate_zlib_compress(packer, in, n, out, room) : 0;
}

QByteArray Libdeflated(const QByteArray& in, int level)
{
    QByteArray out;
    if (libdeflate_compressor* packer = ThreadCompressor(level)) {
        QByteArray room(qsizetype(libdeflate_zlib_compress_bound(packer, size_t(in.size()))), Qt::Uninitialized);
        out = Fitted(room, DeflateInto(in.constData(), size_t(in.size()), room.data(), size_t(room.size()), level));
    }
    return out;
}

// A page's content compressed for the PDF's FlateDecode (see kDeflateLevel).
bool PackPageContent(const QByteArray& in, QByteArray* out)
{
    *out = Libdeflated(in, PdfSpanFilter::kDeflateLevel);
    return !out->isEmpty();
}

// The head of the object `id`, a stream whose dictionary says `dictionary`
// besides its filter and its `length` compressed as a page's content is.
QByteArray StreamHead(long long id, const QByteArray& dictionary, qsizetype length)
{
    return QByteArray::number(id) + " 0 obj\n<<\n" + dictionary + "\n/Filter /FlateDecode\n/Length " +
           QByteArray::number(length) + "\n>>\nstream\n";
}

constexpr std::string_view kStreamTail = "\nendstream\nendobj\n";

}  // namespace

PdfSpanFilter::PdfSpanFilter(QIODevice* to, int makers) : to_(to)
{
    open(QIODevice::WriteOnly);
    if (makers > 0) {
        makers_ = std::make_unique<PdfPageMakers>(makers);
        if (makers_->size() == 0)
            makers_.reset();
        // Each page held waits as the painter stored its content: enough
        // for every maker to have one and the next ready, no more, so that
        // a job of any length holds a few pages.
        else
            mostMaking_ = 2 * makers_->size();
    }
}

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
    // The file says the version that reads object and table streams.
    static constexpr std::string_view kVersion = "%PDF-1.", kFrom = "234";
    if (written_ == 0 && !holding_ && n > qint64(kVersion.size()) &&
        std::string_view(data, kVersion.size()) == kVersion && kFrom.find(data[kVersion.size()]) != kFrom.npos) {
        QByteArray head(data, n);
        head[qsizetype(kVersion.size())] = '5';
        failed_ = failed_ || !pass(head.constData(), n);
    } else if (holding_) {
        reserveForTable(data, n);
        held_.append(data, n);
    } else if (!making_.empty()) {
        // Comes after the pages still being made.
        try {
            if (!failed_)
                making_.back()->after.append(data, n);
        } catch (const std::exception&) {
            failed_ = true;
        }
    } else {
        failed_ = failed_ || !pass(data, n);
    }
    written_ += n;
    return n;
}

void PdfSpanFilter::releasePage()
{
    holding_ = false;
    QByteArray held = std::move(held_);
    held_ = QByteArray();
    const qint64 heldAt = written_ - held.size();
    // After a failed write nothing more is passed on: the output is lost.
    if (!failed_ && !(makers_ && make(held, heldAt))) {
        // Made here where no maker could take it: after those before it.
        passMade(true, 0);
        failed_ = failed_ || !passPage(held, heldAt, makeContent(held, texts_, widths_));
    }
    texts_.clear();
    widths_.clear();
}

bool PdfSpanFilter::make(QByteArray& held, qint64 heldAt)
{
    try {
        making_.push_back(std::make_unique<Making>());
    } catch (const std::exception&) {
        return false;
    }
    Making* p = making_.back().get();
    p->held = std::move(held);
    p->heldAt = heldAt;
    p->texts = std::move(texts_);
    p->widths = std::move(widths_);
    try {
        p->done = makers_->run([p] { p->made = makeContent(p->held, p->texts, p->widths); });
    } catch (const std::exception&) {
        held = std::move(p->held);
        texts_ = std::move(p->texts);
        widths_ = std::move(p->widths);
        making_.pop_back();
        return false;
    }
    // The pages made meanwhile go on now, the painter waiting only while
    // as many as the makers can hold are not.
    passMade(false, 0);
    passMade(true, mostMaking_);
    return true;
}

void PdfSpanFilter::passMade(bool wait, size_t most)
{
    while (making_.size() > most) {
        Making& page = *making_.front();
        if (!wait && page.done.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return;
        page.done.wait();
        if (!failed_)
            failed_ = !passPage(page.held, page.heldAt, page.made) || !pass(page.after.constData(), page.after.size());
        making_.pop_front();
    }
}

bool PdfSpanFilter::finish()
{
    passMade(true, 0);
    makers_.reset();
    return !failed_;
}

void PdfSpanFilter::reserveForTable(const char* data, qint64 n)
{
    // The engine's table, a line of twenty bytes for every object, comes
    // last and is the largest part of what the document's end holds: its
    // head says how many lines follow, so the memory for them all (and the
    // trailer after) is taken once, as much as that, rather than grown by
    // doubling while they come.
    constexpr std::string_view kHead = "xref\n0 ";
    constexpr qint64 kLine = 20, kTrailerRoom = 1024, kMostLines = 100'000'000;
    const std::string_view s(data, size_t(n));
    size_t end = 0;
    const qint64 lines = s.substr(0, kHead.size()) == kHead ? NumberAt(s, kHead.size(), &end) : -1;
    if (lines <= 0 || lines > kMostLines || end >= s.size() || s[end] != '\n')
        return;
    held_.reserve(held_.size() + qsizetype(end + 1 + lines * kLine + kTrailerRoom));
}

bool PdfSpanFilter::pass(const char* data, qint64 n)
{
    passed_ += n;
    return n == 0 || to_->write(data, n) == n;
}

qint64 PdfSpanFilter::moved(qint64 at) const
{
    // The shifts come in the engine's order: the last one from at or
    // before `at` holds.
    const auto after = std::upper_bound(shifts_.begin(), shifts_.end(), at,
                                        [](qint64 v, const std::pair<qint64, qint64>& s) { return v < s.first; });
    return after == shifts_.begin() ? at : at + std::prev(after)->second;
}

bool PdfSpanFilter::passPage(QByteArray& held, qint64 heldAt, const Content& made)
{
    std::vector<Edit> edits;
    if (made.made)
        replaceContent(made, &edits);
    shortenPageObjects(held, &edits);
    // The document's end: its table and what follows are written anew.
    Table table;
    const bool end = findTable(held, heldAt, &table);
    // The pages' dictionaries are in streams only a table written anew
    // names: a file whose table cannot be read is not written as whole.
    if (table.marked && !end)
        return false;
    if (end)
        packPageTree(held, table.at, &edits);
    followEdits(held, &edits, heldAt);
    // The fonts come with the document's end, held as a page is.
    for (const size_t tab : TabsForSpaceInToUnicodeMaps(std::string_view(held.constData(), size_t(held.size()))))
        edits.push_back({qsizetype(tab), qsizetype(tab + 6), QByteArrayLiteral("<0020>")});
    const qsizetype kept = end ? qsizetype(table.at) : held.size();
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.from < b.from; });
    // Passed on piece by piece rather than copied whole first: what the
    // job's end holds (its fonts and the table of every object) would be
    // in memory twice over as the file ends.
    qsizetype from = 0;
    bool ok = true;
    for (const Edit& e : edits) {
        ok = ok && pass(held.constData() + from, e.from - from) && pass(e.with.constData(), e.with.size());
        from = e.to;
    }
    ok = ok && pass(held.constData() + from, kept - from);
    if (end)
        return ok && writeEnd(held, table);
    // The objects taken out wait for a number left free to name their
    // stream by; the bytes after it land that much further.
    if (ok && pending_.full()) {
        const long long id = objects_.takeFreed();
        if (id > 0) {
            const qint64 at = passed_;
            ok = writeObjectStream(id, held.data(), size_t(held.size()));
            shifts_.emplace_back(heldAt + held.size(), (shifts_.empty() ? 0 : shifts_.back().second) + passed_ - at);
        }
    }
    return ok;
}

bool PdfSpanFilter::writeObjectStream(long long id, char* scratch, size_t room)
{
    QByteArray data;
    std::vector<long long> ids;
    const QByteArray dictionary = pending_.take(&data, &ids);
    // Compressed into what was held and is passed on already, rather than
    // into memory of its own, where it fits.
    const size_t made = DeflateInto(data.constData(), size_t(data.size()), scratch, room, kDeflateLevel);
    const QByteArray packed = made > 0 ? QByteArray::fromRawData(scratch, qsizetype(made))
                                       : Libdeflated(data, kDeflateLevel);
    if (packed.isEmpty())
        return false;
    for (size_t i = 0; i < ids.size(); ++i)
        packed_.push_back({uint32_t(ids[i]), uint32_t(id), uint32_t(i)});
    streams_.emplace_back(id, passed_);
    const QByteArray head = StreamHead(id, dictionary, packed.size());
    return pass(head.constData(), head.size()) && pass(packed.constData(), packed.size()) &&
           pass(kStreamTail.data(), qint64(kStreamTail.size()));
}

PdfSpanFilter::Content PdfSpanFilter::makeContent(const QByteArray& held, const std::vector<std::string>& texts,
                                                  const GlyphRunWidths& widths)
{
    // A page that could not be made anew (no memory) goes as drawn.
    try {
        return makeContentOrThrow(held, texts, widths);
    } catch (const std::exception&) {
        return Content();
    }
}

PdfSpanFilter::Content PdfSpanFilter::makeContentOrThrow(const QByteArray& held,
                                                         const std::vector<std::string>& texts,
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
    const QByteArray tail = kStreamTail.data() + QByteArray::number(made.lengthId) + " 0 obj\n";
    const std::string_view tailText(tail.constData(), size_t(tail.size()));
    made.lengthObjectAt = made.dataAt + made.used + kStreamTail.size();
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
    std::vector<PdfPageObjects::Packed> packed;
    objects_.shorten(std::string_view(held.constData(), size_t(held.size())), &shorter, &packed);
    for (PdfPageObjects::Edit& e : shorter)
        edits->push_back({e.from, e.to, std::move(e.with)});
    for (const PdfPageObjects::Packed& p : packed)
        pending_.add(p.id, p.body);
}

void PdfSpanFilter::packPageTree(const QByteArray& held, size_t before, std::vector<Edit>* edits)
{
    // The engine writes the tree of pages last before its table.
    const std::string_view s(held.constData(), before);
    const size_t type = s.rfind("\n<<\n/Type /Pages\n");
    const size_t close = type == std::string_view::npos ? type : s.find("\n>>\nendobj\n", type);
    if (close == std::string_view::npos)
        return;
    const size_t lineBreak = s.rfind('\n', type - 1);
    const size_t head = lineBreak == std::string_view::npos ? 0 : lineBreak + 1;
    size_t idEnd = 0;
    const long long id = NumberAt(s, head, &idEnd);
    if (id <= 0 || s.substr(idEnd, type - idEnd) != " 0 obj")
        return;
    pending_.add(id, s.substr(type + 1, close + 3 - (type + 1)));
    edits->push_back({qsizetype(head), qsizetype(close + 11), QByteArray()});
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

bool PdfSpanFilter::findTable(const QByteArray& held, qint64 heldAt, Table* table) const
{
    // The table the trailer points to, when it is among what was held: the
    // offsets of the objects, ten digits each, then the trailer.
    const std::string_view s(held.constData(), size_t(held.size()));
    // The mark is among the file's last bytes ("startxref", the offset,
    // "%%EOF"): only those are looked through, not each page held.
    constexpr size_t kTail = 64;
    const size_t mark = s.find("startxref\n", s.size() > kTail ? s.size() - kTail : 0);
    size_t end = 0, at = 0;
    const qint64 xref = mark == std::string_view::npos ? -1 : NumberAt(s, mark + 10, &end);
    table->marked = mark != std::string_view::npos;
    if (xref < heldAt || xref >= heldAt + held.size())
        return false;
    table->at = size_t(xref - heldAt);
    if (!Expect(s, table->at, "xref\n", &at) || NumberAt(s, at, &end) != 0 || !Expect(s, end, " ", &at))
        return false;
    table->count = NumberAt(s, at, &end);
    if (table->count <= 0 || !Expect(s, end, "\n", &table->first) ||
        table->first + size_t(table->count) * 20 > mark)
        return false;
    // The trailer's entries but its size (the table's stream says its own).
    constexpr std::string_view kTrailer = "trailer\n<<\n";
    const size_t trailer = s.find(kTrailer, table->first + size_t(table->count) * 20);
    const size_t close = trailer == std::string_view::npos ? trailer : s.find(">>", trailer);
    if (close == std::string_view::npos || close > mark)
        return false;
    const size_t entries = trailer + kTrailer.size();
    const size_t sizeEnd = s.substr(entries, 6) == "/Size " ? s.find('\n', entries) : entries - 1;
    table->trailer = s.substr(sizeEnd + 1, close - (sizeEnd + 1));
    return true;
}

bool PdfSpanFilter::writeEnd(QByteArray& held, const Table& table)
{
    // What waits for a stream goes into the last, numbered after the
    // engine's objects, as the table's own stream is.
    long long next = table.count;
    if (!pending_.empty() && !writeObjectStream(next++, held.data(), table.at))
        return false;
    const long long xrefId = next++;
    const qint64 xrefAt = passed_;
    std::sort(packed_.begin(), packed_.end(), [](const PackedEntry& a, const PackedEntry& b) { return a.id < b.id; });
    std::sort(streams_.begin(), streams_.end());
    const std::vector<long long>& freed = objects_.freed();
    // The rows are written over the engine's table as it is read, rather
    // than beside it: a long job's table is of tens of thousands of lines,
    // held as the file ends, at its largest.
    const std::string_view s(held.data(), size_t(held.size()));
    PdfXrefStream rows(std::max<long long>(xrefAt, next), held.data() + table.first);
    // An object left out is a free entry, each naming the next one left
    // out and the last none; the entry of object 0 heads the list.
    auto freeAfter = [&](long long id) {
        const auto it = std::upper_bound(freed.begin(), freed.end(), id);
        return it == freed.end() ? 0 : *it;
    };
    auto packedAt = packed_.begin();
    auto streamAt = streams_.begin();
    for (long long id = 0; id < next; ++id) {
        while (packedAt != packed_.end() && packedAt->id < id)
            ++packedAt;
        while (streamAt != streams_.end() && streamAt->first < id)
            ++streamAt;
        if (id == 0) {
            rows.free(freeAfter(0), 65535);
        } else if (packedAt != packed_.end() && packedAt->id == id) {
            rows.in(packedAt->stream, int(packedAt->place));
        } else if (streamAt != streams_.end() && streamAt->first == id) {
            rows.at(streamAt->second);
        } else if (id == xrefId) {
            rows.at(xrefAt);
        } else if (std::binary_search(freed.begin(), freed.end(), id) || id >= table.count) {
            rows.free(freeAfter(id), 1);
        } else {
            const size_t entry = table.first + size_t(id) * 20;
            size_t digitsEnd = 0;
            const qint64 offset = NumberAt(s, entry, &digitsEnd);
            if (offset < 0 || digitsEnd != entry + 10)
                return false;
            if (s.substr(entry + 10, 9) == " 00000 n ")
                rows.at(moved(offset));
            else
                rows.free(freeAfter(id), 1);
        }
    }
    const QByteArray dictionary = "/Type /XRef\n/Size " + QByteArray::number(next) + "\n" + rows.widths() + "\n" +
                                  QByteArray(table.trailer.data(), qsizetype(table.trailer.size()));
    // Compressed into the rest of the table and the trailer (their entries
    // copied above) rather than into memory of its own, where it fits.
    const size_t rowsEnd = table.first + rows.size();
    const size_t made = DeflateInto(held.constData() + table.first, rows.size(), held.data() + rowsEnd,
                                    size_t(held.size()) - rowsEnd, kDeflateLevel);
    QByteArray packed = made > 0 ? QByteArray::fromRawData(held.constData() + rowsEnd, qsizetype(made))
                                 : Libdeflated(QByteArray::fromRawData(held.constData() + table.first,
                                                                       qsizetype(rows.size())),
                                               kDeflateLevel);
    if (packed.isEmpty())
        return false;
    const QByteArray head = StreamHead(xrefId, dictionary.trimmed(), packed.size());
    const QByteArray end = kStreamTail.data() + ("startxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n");
    return pass(head.constData(), head.size()) && pass(packed.constData(), packed.size()) &&
           pass(end.constData(), end.size());
}
