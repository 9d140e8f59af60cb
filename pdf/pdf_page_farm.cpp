#include "pdf/pdf_page_farm.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>

// The qpdf interface without its deprecated smart pointer.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <qpdf/Pipeline.hh>

#include "foundation/whole_file_writer.h"
#include "foundation/win_error.h"
#include "pdf/pdf_page_makers.h"
#include "pdf/pdf_span_filter.h"
#include "pdf/thread_deflate_level.h"
#include "platform/heap_reuse.h"
#include "platform/sheet_size.h"

namespace {

struct Job {
    int index = 0;  // the page's place in the job
    PageOps ops;
};

// A document a worker painted: the job's pages it holds, in its order.
struct Part {
    QByteArray bytes;
    std::vector<int> pages;
};

// A part opened for joining, and its pages.
struct Source {
    std::unique_ptr<QPDF> document;
    std::vector<QPDFPageObjectHelper> pages;
};

// The joined document's bytes, into the file being written; a failed write
// ends the writing.
class FilePipeline final : public Pipeline {
public:
    explicit FilePipeline(WholeFileWriter* file) : Pipeline("file", nullptr), file_(file) {}
    void write(unsigned char const* data, size_t len) override
    {
        if (file_->Write(data, len) != kErrNone)
            throw std::runtime_error("write");
    }
    void finish() override {}

private:
    WholeFileWriter* file_;
};

// The painter's bytes of a job painted as it goes, into the file being
// written; a failed write stays with the file and fails the job.
class FileDevice final : public QIODevice {
public:
    explicit FileDevice(WholeFileWriter* file) : file_(file) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 n) override
    {
        return file_->Write(data, size_t(n)) == kErrNone ? n : -1;
    }

private:
    WholeFileWriter* file_;
};

// What the painter writes, with its page boxes made the exact sheet on the
// way (see sheet_size.h).
class ExactSheetDevice final : public QIODevice {
public:
    ExactSheetDevice(QIODevice* to, const QPageLayout& layout) : to_(to), layout_(layout)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 n) override
    {
        // Only a page's own objects name its box; the rest (the job's end
        // among it: fonts and a table of every object, held whole) goes on
        // as it is rather than through a copy.
        if (!NamesBox(data, size_t(n)))
            return to_->write(data, n) == n ? n : -1;
        QByteArray bytes(data, n);
        MakePdfMediaBoxExact(layout_, bytes.data(), n);
        return to_->write(bytes) == n ? n : -1;
    }

private:
    // Whether the bytes hold the name of a page's box. Pages' content comes
    // through here uncompressed, full of names and of '/', seldom of 'M':
    // the name is looked for from that letter, faster than memmem.
    static bool NamesBox(const char* data, size_t n)
    {
        static constexpr std::string_view kName = "MediaBox";  // after its '/'
        if (n <= kName.size())
            return false;
        // The places the name's 'M' may be at, with its '/' before it.
        const char* const end = data + n - kName.size() + 1;
        for (const char* p = data + 1; p < end; ++p) {
            p = static_cast<const char*>(memchr(p, 'M', size_t(end - p)));
            if (!p)
                return false;
            if (p[-1] == '/' && memcmp(p, kName.data(), kName.size()) == 0)
                return true;
        }
        return false;
    }

    QIODevice* to_;
    QPageLayout layout_;
};

// How a painter compresses what the engine hands zlib (see
// thread_deflate_level.h): pictures and fonts by libdeflate at the span
// filter's level, smaller than zlib's default, pages' content not at all:
// the span filter compresses each page anew.
constexpr int kWholeDeflateLevel = PdfSpanFilter::kDeflateLevel;
constexpr int kPageContentDeflateLevel = 0;

// A worker that has caught up sleeps until this many more pages than its
// rank wait, then paints until none does: where drawing is the slower half
// the painter would otherwise be woken, and wake the recorder, for every
// page. Three (the queue holds four, so the drawing goes on while the
// painter wakes) took a third of the wakes of one a page, and fewer
// switches between the threads than two.
constexpr size_t kPagesToWakeFor = 3;

// A painter gives its heap's free end back after this many pages: what a
// large page left free is otherwise kept (heap_reuse.h) until the job ends,
// on top of what the job's end then takes. Seldom enough that pages rarely
// take that memory anew from the kernel.
constexpr int kPagesToGiveBackAfter = 64;

// Threads making a painter's pages' content beside it, where processors
// are left for them. Making a page's content costs the painter about half
// of what painting it does, and about half of what drawing it costs the
// thread recording the job: one maker keeps up with the painter wherever
// the drawing does. More only took turns with the first, each holding its
// own heap, compressor and page in flight (1.5 to 3 MiB more at the peak
// for each on a job of card sheets).
constexpr int kMostContentMakers = 1;

int ChooseWorkers(int asked)
{
    // One painter keeps up with the thread that draws the job: painting a
    // page costs less than drawing it.
    return asked > 0 ? std::min(asked, 16) : 1;
}

// Each painter's threads making its pages' content (pdf_span_filter.h).
int ChooseContentMakers(int asked, int workers)
{
    return asked >= 0 ? std::min(asked, 16) : PdfPageMakers::ForProcessors(workers, kMostContentMakers);
}

}  // namespace

struct PdfPageFarmState {
    std::mutex mutex;
    std::condition_variable wake;  // the joiner: a part finished, or the end
    std::condition_variable room;  // the recorder: a free place in the queue
    // Each worker's own: pages enough for its rank, or the end. A new page
    // wakes only the workers it gives something to do, not every thread.
    std::deque<std::condition_variable> ready;
    std::deque<Job> queue;
    size_t capacity = 4;
    int pagesPerPart = 256;
    // One painter writing the file itself, as its pages come, through a
    // file that replaces the named one only when the job ends well.
    bool streamed = false;
    std::unique_ptr<FileDevice> streamFile;
    bool closing = false;
    bool failed = false;
    int added = 0;
    std::vector<PageOps> spent;  // painted pages, for the recorder to free
    std::vector<std::thread> workers;
    // The file the job becomes; it takes the place of the one named only
    // when it is whole.
    std::unique_ptr<WholeFileWriter> file;

    // Finished parts (a deque: the joiner reads a part while workers add
    // more), and where each page of the job is.
    std::deque<Part> parts;
    std::map<int, std::pair<int, int>> where;  // page: part, place in the part
    bool workersDone = false;

    // The joiner appends the pages, in the job's order, to `out` as soon as
    // the part holding the next one is finished. The parts' bytes and
    // documents live until `out` is written, which copies the pages'
    // content from them.
    std::thread joiner;
    int joinedPages = 0;
    std::map<int, Source> sources;
    std::unique_ptr<QPDF> out;
    QPDFObjectHandle info;
    std::string version;

    void work(const PdfPageFarm::Settings& settings, size_t rank);
    void publish(Part part);
    void join();
    bool append(int id, const Part& part, int place);
    void fail();
    void wakeAll();
};

void PdfPageFarmState::wakeAll()
{
    wake.notify_all();
    for (std::condition_variable& worker : ready)
        worker.notify_all();
}

void PdfPageFarmState::fail()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        failed = true;
    }
    room.notify_all();
    wakeAll();
}

void PdfPageFarmState::publish(Part part)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        const int id = int(parts.size());
        for (size_t i = 0; i < part.pages.size(); ++i)
            where[part.pages[i]] = {id, int(i)};
        parts.push_back(std::move(part));
    }
    wake.notify_all();
}

void PdfPageFarmState::work(const PdfPageFarm::Settings& settings, size_t rank)
{
    const int contentMakers = ChooseContentMakers(settings.contentMakers, int(ready.size()));
    const ThreadDeflateLevel deflateLevels(kWholeDeflateLevel, kPageContentDeflateLevel);
    Part part;
    std::unique_ptr<QBuffer> buffer;
    std::unique_ptr<ExactSheetDevice> exact;
    std::unique_ptr<PdfSpanFilter> spans;
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
    PagePainter player(&painter, true);
    // The texts of the aslant runs of the page being painted; the engine
    // writes the page when the next one begins or the part ends.
    std::vector<std::string> aslant;
    player.keepAslantText(&aslant);
    // And the widths of its runs of glyphs, to write each as one string.
    GlyphRunWidths runWidths;
    player.keepRunWidths(&runWidths);
    // Ends the part being painted and hands it to the joiner.
    auto endPart = [&] {
        bool ended = true;
        if (painter.isActive()) {
            spans->holdPage(std::move(aslant), std::move(runWidths));
            ended = painter.end();
            spans->releasePage();
        }
        ended = (!spans || spans->finish()) && ended;
        aslant.clear();
        runWidths.clear();
        writer.reset();
        exact.reset();
        spans.reset();
        buffer.reset();
        if (!ended)
            fail();
        else if (!part.pages.empty() && !streamed)
            publish(std::move(part));
        part = Part();
    };
    bool awake = false;
    int painted = 0;
    std::vector<PageOps> drawn;
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex);
            // The first worker takes every page it can; the others help only
            // while pages pile up. A job that one thread keeps up with is
            // painted as one part, and needs no joining.
            awake = awake && queue.size() > rank;
            const size_t more = awake ? 0 : kPagesToWakeFor - 1;
            ready[rank].wait(lock, [&] { return queue.size() > rank + more || closing; });
            awake = true;
            if (queue.empty()) {
                spent.swap(drawn);
                break;
            }
            job = std::move(queue.front());
            queue.pop_front();
        }
        room.notify_one();
        bool ok = true;
        if (!writer) {
            QIODevice* device = nullptr;
            if (streamed) {
                streamFile = std::make_unique<FileDevice>(file.get());
                ok = streamFile->isOpen();
                device = streamFile.get();
            } else {
                buffer = std::make_unique<QBuffer>(&part.bytes);
                ok = buffer->open(QIODevice::WriteOnly);
                device = buffer.get();
            }
            // The boxes are made exact before the span filter, which packs
            // the pages' dictionaries into compressed object streams.
            spans = std::make_unique<PdfSpanFilter>(device, contentMakers);
            exact = std::make_unique<ExactSheetDevice>(spans.get(), settings.layout);
            writer = std::make_unique<QPdfWriter>(exact.get());
            writer->setResolution(settings.resolution);
            writer->setPageLayout(settings.layout);
            writer->setTitle(settings.title);
            writer->setCreator(settings.creator);
            ok = ok && painter.begin(writer.get());
            player.forgetState();
        } else {
            spans->holdPage(std::move(aslant), std::move(runWidths));
            aslant.clear();
            runWidths.clear();
            ok = writer->newPage();
            spans->releasePage();
        }
        if (ok) {
            player.playPage(job.ops);
            part.pages.push_back(job.index);
        }
        {
            // The page goes back to be freed by the thread that made it:
            // freeing another thread's memory makes the two wait for each
            // other.
            std::lock_guard<std::mutex> lock(mutex);
            spent.push_back(std::move(job.ops));
        }
        if (!ok)
            fail();
        else if (!streamed && int(part.pages.size()) >= pagesPerPart)
            endPart();
        if (++painted % kPagesToGiveBackAfter == 0)
            GiveBackThreadHeapTop();
    }
    // The job's end. The last pages painted are freed here (the thread
    // that drew them only waits now), and what the drawing left free given
    // back, before the file's end (its fonts and the table of every object)
    // is made: that is when the job holds the most.
    drawn.clear();
    GiveBackFreedHeapMemory();
    endPart();
    // What this thread's heap holds free would otherwise stay until the
    // process ends, of use only to the next job's painter.
    FreeThreadCompressors();
    GiveBackFreedHeapMemory();
}

bool PdfPageFarmState::append(int id, const Part& part, int place)
{
    try {
        auto it = sources.find(id);
        if (it == sources.end()) {
            Source source;
            source.document = std::make_unique<QPDF>();
            source.document->setSuppressWarnings(true);
            source.document->processMemoryFile("part", part.bytes.constData(), size_t(part.bytes.size()));
            source.pages = QPDFPageDocumentHelper(*source.document).getAllPages();
            if (source.pages.size() != part.pages.size())
                return false;
            if (!out) {
                out = std::make_unique<QPDF>();
                out->emptyPDF();
                version = source.document->getPDFVersion();
                // The title and the program that made it, as every part has
                // them.
                QPDFObjectHandle partInfo = source.document->getTrailer().getKey("/Info");
                if (partInfo.isIndirect() && partInfo.isDictionary())
                    info = out->copyForeignObject(partInfo);
            }
            it = sources.emplace(id, std::move(source)).first;
        }
        QPDFPageDocumentHelper(*out).addPage(it->second.pages[size_t(place)], false);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void PdfPageFarmState::join()
{
    for (;;) {
        int id = 0, place = 0;
        const Part* part = nullptr;
        {
            std::unique_lock<std::mutex> lock(mutex);
            // Nothing is joined while the job may turn out to be one part,
            // which is written as it is.
            auto next = [&] { return parts.size() > 1 && where.count(joinedPages) > 0; };
            auto done = [&] { return failed || (workersDone && (parts.size() <= 1 || joinedPages >= added)); };
            wake.wait(lock, [&] { return next() || done(); });
            if (failed || !next())
                return;
            std::tie(id, place) = where[joinedPages];
            // Taken under the lock: the deque's own bookkeeping changes as
            // workers add parts, the parts themselves stay where they are.
            part = &parts[size_t(id)];
        }
        const bool ok = append(id, *part, place);
        {
            std::lock_guard<std::mutex> lock(mutex);
            ++joinedPages;
        }
        if (!ok) {
            fail();
            return;
        }
    }
}

PdfPageFarm::PdfPageFarm(Settings settings) : settings_(std::move(settings)) {}

PdfPageFarm::~PdfPageFarm()
{
    if (!state_)
        return;
    PdfPageFarmState& s = *state_;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.queue.clear();
        s.closing = true;
        s.failed = true;
    }
    s.wakeAll();
    s.room.notify_all();
    for (std::thread& t : s.workers)
        t.join();
    s.joiner.join();
}

bool PdfPageFarm::begin()
{
    if (state_)
        return true;
    // Whether the file can be written is known before the first page.
    auto file = std::make_unique<WholeFileWriter>(QFile::encodeName(settings_.path).toStdString());
    if ((error_ = file->Open()) != kErrNone)
        return false;
    state_ = std::make_unique<PdfPageFarmState>();
    PdfPageFarmState& s = *state_;
    s.file = std::move(file);
    if (settings_.pagesPerPart > 0)
        s.pagesPerPart = settings_.pagesPerPart;
    const int workers = ChooseWorkers(settings_.workers);
    s.streamed = workers == 1 && settings_.pagesPerPart <= 0;
    // A recorded page waiting for its painter holds every operation of its
    // sheet (hundreds of kilobytes on a card of many frames), and where
    // painting is the slower half the queue stays full: a few pages keep
    // each painter busy, more only cost memory.
    s.capacity = size_t(std::max(4, 2 * workers));
    for (int w = 0; w < workers; ++w)
        s.ready.emplace_back();
    for (int w = 0; w < workers; ++w)
        s.workers.emplace_back([this, w] { state_->work(settings_, size_t(w)); });
    s.joiner = std::thread([this] { state_->join(); });
    return true;
}

bool PdfPageFarm::addPage(PageOps page)
{
    if (!state_ && !begin())
        return false;
    PdfPageFarmState& s = *state_;
    std::vector<PageOps> spent;
    size_t waiting = 0;
    {
        std::unique_lock<std::mutex> lock(s.mutex);
        s.room.wait(lock, [&s] { return s.queue.size() < s.capacity || s.failed; });
        if (s.failed)
            return false;
        s.queue.push_back(Job{s.added++, std::move(page)});
        waiting = s.queue.size();
        spent.swap(s.spent);
    }
    // Only a worker the pages are enough for is woken (kPagesToWakeFor).
    for (size_t rank = 0; rank < s.ready.size() && waiting > rank + kPagesToWakeFor - 1; ++rank)
        s.ready[rank].notify_one();
    return true;
}

int PdfPageFarm::pagesAdded() const { return state_ ? state_->added : 0; }

bool PdfPageFarm::finish()
{
    if (!state_)
        return false;
    PdfPageFarmState& s = *state_;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.closing = true;
    }
    s.wakeAll();
    for (std::thread& t : s.workers)
        t.join();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.workersDone = true;
    }
    s.wake.notify_all();
    s.joiner.join();
    bool ok = !s.failed && s.added > 0;
    if (s.streamed) {
        // Painted straight into the file; its writes are checked below.
        ok = ok && s.streamFile;
    } else if (ok && s.parts.size() == 1) {
        const QByteArray& bytes = s.parts.front().bytes;
        ok = s.file->Write(bytes.constData(), size_t(bytes.size())) == kErrNone;
    } else if (ok) {
        ok = s.joinedPages == s.added && s.out;
        try {
            if (ok && s.info.isInitialized())
                s.out->getTrailer().replaceKey("/Info", s.info);
            if (ok) {
                FilePipeline pipeline(s.file.get());
                QPDFWriter writer(*s.out);
                writer.setOutputPipeline(&pipeline);
                writer.setDecodeLevel(qpdf_dl_none);
                writer.setObjectStreamMode(qpdf_o_disable);
                writer.setMinimumPDFVersion(s.version);
                writer.write();
            }
        } catch (const std::exception&) {
            ok = false;
        }
    }
    // Every byte, the flush and the close are checked before the file
    // takes the place of the one named; otherwise that one stays.
    if (ok)
        error_ = s.file->Commit();
    else
        error_ = s.file->Error();
    ok = ok && error_ == kErrNone;
    state_.reset();
    // And what the job left free on this thread's side.
    GiveBackFreedHeapMemory();
    return ok;
}

int32_t PdfPageFarm::fileError() const { return error_; }

std::unique_ptr<PageFile> PdfPageFarm::Make(const PageFileSettings& settings)
{
    return std::make_unique<PdfPageFarm>(settings);
}
