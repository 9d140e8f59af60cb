// What Qt's PDF engine writes, on its way to another device, with each
// page's content compressed anew and its aslant runs of text spanned
// (pdf_content_spans.h). The engine writes a page's objects (the page, its
// resources, its compressed content and that content's length) when the
// next page begins or the document ends; the painter holds what it writes
// around those calls, naming the texts of the page's aslant runs in the
// order it drew them. The content is made anew, its length after it, and
// the cross-reference table at the end follows every object that moved.
// The fonts, written with the document's end, have their space glyphs read
// as spaces (pdf_space_glyphs.h). All else passes as it comes.
//
// Making a page's content anew (inflating, trimming, spanning, drawing
// from local origins, compressing) costs a good part of what painting it
// did, so where this process may use more than two processors each held
// page is made by one of the filter's makers (a thread for each processor
// beside the painter's, three at most) as soon as it is released, while
// the painter goes on with the next page; the bytes reach the device
// behind in the order the engine wrote them, from the filter's thread. On
// two processors or one (the painter's and the one drawing the job) the
// painter makes and passes on each page itself: threads of the filter's
// own would only wake one another for every page. Either way the painter
// can have the content stored rather than compressed
// (thread_deflate_level.h).
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QIODevice>

class PdfSpanFilter final : public QIODevice {
public:
    explicit PdfSpanFilter(QIODevice* to);
    // Waits for what is still on its way.
    ~PdfSpanFilter() override;

    // What the engine writes from now on is held: the objects of the page
    // whose aslant runs say `texts` (none for a page without).
    void holdPage(std::vector<std::string> texts);
    // Passes on what was held, that page spanned.
    void releasePage();
    // Waits until everything written has reached the device behind;
    // false when any of it did not.
    bool finish();

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 n) override;

private:
    struct Edit {
        qsizetype from, to;
        QByteArray with;
    };
    // A page's content made anew, where it and its length were.
    struct Content {
        bool made = false;
        size_t dataAt = 0, used = 0, lengthAt = 0, lengthEnd = 0;
        QByteArray packed;
    };
    // On a maker's thread: the content of the page among `held`.
    Content makeContent(const QByteArray& held, const std::vector<std::string>& texts);
    // Where a byte the engine wrote at `at` lands in the output.
    qint64 moved(qint64 at) const;
    void replaceContent(const Content& content, qint64 heldAt, std::vector<Edit>* edits);
    void followXref(const QByteArray& held, qint64 heldAt, std::vector<Edit>* edits) const;
    // On the filter's thread: a page's objects, or bytes as they came.
    bool passPage(const QByteArray& held, qint64 heldAt, std::future<Content>* content);
    bool pass(const char* data, qint64 n);

    struct Batch {
        QByteArray bytes;
        qint64 at = 0;  // the engine's offset of the first byte
        bool page = false;
        std::future<Content> content;  // of a page
    };
    void queue(Batch batch);
    bool passBatch(Batch* batch);
    // A thread's loop, the filter's and each maker's: the next item of
    // `items` as `wake` says there is one, until the filter closes.
    template <class Item, class Work>
    void serve(std::deque<Item>* items, std::condition_variable* wake, Work work);

    QIODevice* to_;
    bool holding_ = false;
    std::vector<std::string> texts_;
    QByteArray held_;
    qint64 written_ = 0;  // the bytes the engine wrote so far

    std::mutex mutex_;
    std::condition_variable wake_;  // the filter's thread: a batch, or the end
    std::condition_variable room_;  // the writer: room in the queue, or all done
    std::deque<Batch> batches_;
    bool busy_ = false;  // the thread is passing a batch on
    bool closing_ = false;
    bool failed_ = false;
    std::thread thread_;

    // The makers: pages waiting to be made, and the threads that make them.
    std::deque<std::packaged_task<Content()>> making_;
    std::condition_variable makeWake_;
    std::vector<std::thread> makers_;
    // The thread's own: from the engine's offset on, how much further its
    // bytes land.
    std::vector<std::pair<qint64, qint64>> shifts_;
};
