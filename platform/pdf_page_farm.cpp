#include "platform/pdf_page_farm.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
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

namespace {

struct Job {
    int index = 0;
    PageOps ops;
};

// One worker's document: the job's pages it painted, in its own order.
struct Part {
    QByteArray bytes;
    std::vector<int> pages;
};

int ChooseWorkers(int asked)
{
    if (asked > 0)
        return std::min(asked, 16);
    // The recording thread is kept busy by the drawing; a few painters keep
    // up with it, and more would only repeat the fonts in more parts.
    const int processors = int(std::thread::hardware_concurrency());
    return std::clamp(processors - 1, 1, 4);
}

// The parts' pages, in the job's order, into one file. The pages' content
// is copied as it is, neither decoded nor compressed again.
bool JoinParts(const std::vector<Part>& parts, int pageCount, const QString& path)
{
    try {
        std::vector<std::unique_ptr<QPDF>> sources(parts.size());
        std::vector<std::vector<QPDFPageObjectHelper>> pages(parts.size());
        std::vector<std::pair<size_t, size_t>> order(size_t(pageCount), {SIZE_MAX, 0});
        size_t first = SIZE_MAX;
        for (size_t p = 0; p < parts.size(); ++p) {
            if (parts[p].pages.empty())
                continue;
            sources[p] = std::make_unique<QPDF>();
            sources[p]->setSuppressWarnings(true);
            sources[p]->processMemoryFile("part", parts[p].bytes.constData(), size_t(parts[p].bytes.size()));
            pages[p] = QPDFPageDocumentHelper(*sources[p]).getAllPages();
            if (pages[p].size() != parts[p].pages.size())
                return false;
            for (size_t i = 0; i < parts[p].pages.size(); ++i)
                order[size_t(parts[p].pages[i])] = {p, i};
            first = std::min(first, p);
        }
        QPDF out;
        out.emptyPDF();
        QPDFPageDocumentHelper outPages(out);
        for (const auto& [p, i] : order) {
            if (p == SIZE_MAX)
                return false;
            outPages.addPage(pages[p][i], false);
        }
        // The title and the program that made it, as every part has them.
        QPDFObjectHandle info = sources[first]->getTrailer().getKey("/Info");
        if (info.isIndirect() && info.isDictionary())
            out.getTrailer().replaceKey("/Info", out.copyForeignObject(info));
        // The writer keeps the name and opens the file only as it writes.
        const QByteArray file = QFile::encodeName(path);
        QPDFWriter writer(out, file.constData());
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setObjectStreamMode(qpdf_o_disable);
        writer.write();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

struct PdfPageFarmState {
    std::mutex mutex;
    std::condition_variable wake;  // for the workers: a page, or the end
    std::condition_variable room;  // for the recorder: a free place
    std::deque<Job> queue;
    std::vector<PageOps> spent;  // painted pages, for the recorder to free
    size_t capacity = 2;
    bool closing = false;
    bool failed = false;
    int added = 0;
    std::vector<Part> parts;
    std::vector<std::thread> threads;

    void work(const PdfPageFarm::Settings& settings, Part& part);
    void fail();
    void stop();
};

void PdfPageFarmState::work(const PdfPageFarm::Settings& settings, Part& part)
{
    QBuffer buffer(&part.bytes);
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
    PagePainter player(&painter, true);
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return !queue.empty() || closing; });
            if (queue.empty())
                break;
            job = std::move(queue.front());
            queue.pop_front();
        }
        room.notify_one();
        bool ok = true;
        if (!writer) {
            ok = buffer.open(QIODevice::WriteOnly);
            writer = std::make_unique<QPdfWriter>(&buffer);
            writer->setResolution(settings.resolution);
            writer->setPageLayout(settings.layout);
            writer->setTitle(settings.title);
            writer->setCreator(settings.creator);
            ok = ok && painter.begin(writer.get());
        } else {
            ok = writer->newPage();
        }
        if (ok) {
            for (const PageOp& op : job.ops)
                player.play(op);
            part.pages.push_back(job.index);
        } else {
            fail();
        }
        // The page goes back to be freed by the thread that made it: freeing
        // another thread's memory would make the two wait for each other.
        std::lock_guard<std::mutex> lock(mutex);
        spent.push_back(std::move(job.ops));
    }
    if (painter.isActive() && !painter.end())
        fail();
}

void PdfPageFarmState::fail()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        failed = true;
    }
    room.notify_all();
}

void PdfPageFarmState::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        closing = true;
    }
    wake.notify_all();
    for (std::thread& t : threads)
        t.join();
    threads.clear();
}

PdfPageFarm::PdfPageFarm(Settings settings) : settings_(std::move(settings)) {}

PdfPageFarm::~PdfPageFarm()
{
    if (!state_)
        return;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->queue.clear();
    }
    state_->stop();
}

bool PdfPageFarm::begin()
{
    if (state_)
        return true;
    QFile file(settings_.path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.close();
    state_ = std::make_unique<PdfPageFarmState>();
    const int workers = ChooseWorkers(settings_.workers);
    state_->capacity = size_t(2 * workers);
    state_->parts.resize(size_t(workers));
    for (int w = 0; w < workers; ++w)
        state_->threads.emplace_back([this, w] { state_->work(settings_, state_->parts[size_t(w)]); });
    return true;
}

bool PdfPageFarm::addPage(PageOps page)
{
    if (!state_ && !begin())
        return false;
    PdfPageFarmState& s = *state_;
    std::vector<PageOps> spent;
    {
        std::unique_lock<std::mutex> lock(s.mutex);
        s.room.wait(lock, [&s] { return s.queue.size() < s.capacity || s.failed; });
        if (s.failed || s.closing)
            return false;
        s.queue.push_back(Job{s.added++, std::move(page)});
        spent.swap(s.spent);
    }
    s.wake.notify_one();
    return true;
}

int PdfPageFarm::pagesAdded() const { return state_ ? state_->added : 0; }

bool PdfPageFarm::finish()
{
    if (!state_)
        return false;
    PdfPageFarmState& s = *state_;
    s.stop();
    const bool ok = !s.failed && s.added > 0;
    std::vector<Part> parts = std::move(s.parts);
    const int pages = s.added;
    state_.reset();
    if (!ok)
        return false;
    // A job that one worker painted alone is that worker's document.
    const auto used = std::count_if(parts.begin(), parts.end(), [](const Part& p) { return !p.pages.empty(); });
    if (used == 1) {
        for (const Part& p : parts) {
            if (p.pages.empty())
                continue;
            QFile file(settings_.path);
            return file.open(QIODevice::WriteOnly) && file.write(p.bytes) == p.bytes.size() && file.flush();
        }
    }
    return JoinParts(parts, pages, settings_.path);
}
