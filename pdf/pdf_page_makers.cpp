#include "pdf/pdf_page_makers.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include <sched.h>

#include "pdf/thread_deflate_level.h"
#include "platform/heap_reuse.h"

PdfPageMakers::PdfPageMakers(int threads)
{
    try {
        for (int i = 0; i < threads; ++i)
            threads_.emplace_back([this] { serve(); });
    } catch (const std::system_error&) {
    }
}

PdfPageMakers::~PdfPageMakers()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

std::future<void> PdfPageMakers::run(std::function<void()> task)
{
    std::packaged_task<void()> packaged(std::move(task));
    std::future<void> done = packaged.get_future();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(packaged));
    }
    wake_.notify_one();
    return done;
}

void PdfPageMakers::serve()
{
    for (;;) {
        std::packaged_task<void()> task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return !tasks_.empty() || closing_; });
            if (tasks_.empty())
                break;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
    // A thread's heap is its own: what it kept free would serve only the
    // next job's makers, and the compressors (650 KB each) none.
    FreeThreadCompressors();
    GiveBackFreedHeapMemory();
}

int PdfPageMakers::ForProcessors(int painters, int most)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (painters <= 0 || sched_getaffinity(0, sizeof set, &set) != 0)
        return 0;
    // With no processor beyond the painters and the drawing the makers
    // would only take turns with them, and wake them for every page.
    const int spare = CPU_COUNT(&set) - painters - 1;
    return std::clamp(spare / painters, 0, most);
}
