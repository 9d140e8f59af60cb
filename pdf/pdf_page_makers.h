// Threads beside a PDF painter that make its pages' content anew for its
// span filter (pdf_span_filter.h), each page taken by whichever thread is
// free, while the painter goes on with the next page. They only make:
// what the filter passes on it passes in the engine's order itself.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

class PdfPageMakers {
public:
    // Starts `threads` threads, fewer where no more can be started (then
    // perhaps none: size() says).
    explicit PdfPageMakers(int threads);
    // Runs what is still given, then each thread frees what it kept for
    // the next page (its compressors, its heap's free memory) and ends.
    ~PdfPageMakers();
    PdfPageMakers(const PdfPageMakers&) = delete;
    PdfPageMakers& operator=(const PdfPageMakers&) = delete;

    size_t size() const { return threads_.size(); }
    // `task` run on the next free thread; the future says when it is done.
    // Throws as memory fails.
    std::future<void> run(std::function<void()> task);

    // The threads for each of `painters` painters of a job: those of the
    // processors this process may run on (its affinity, as taskset or a
    // container sets it, not the machine's count) beyond the painters' and
    // the one drawing the job, shared among the painters, `most` at most
    // for each. None on two processors or fewer.
    static int ForProcessors(int painters, int most);

private:
    void serve();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::packaged_task<void()>> tasks_;
    bool closing_ = false;
    std::vector<std::thread> threads_;
};
