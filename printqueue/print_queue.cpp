#include "printqueue/print_queue.h"

#include <cstdio>
#include <utility>

#include "printqueue/cups_queue.h"

namespace {

PrintQueueSubmitter& Submitter()
{
    static PrintQueueSubmitter submitter;
    return submitter;
}

}  // namespace

PrintQueueSubmitter SetPrintQueueSubmitter(PrintQueueSubmitter submitter)
{
    return std::exchange(Submitter(), std::move(submitter));
}

int32_t SubmitPrintQueueJob(const PrintQueueJob& job)
{
    if (Submitter())
        return Submitter()(job);
    // A queue's instance ("queue/instance") prints on the queue itself.
    const std::string queue = job.printer.substr(0, job.printer.find('/'));
    if (CupsPrintFile(queue, job.file, job.title, job.options) > 0)
        return 0;
    std::fprintf(stderr, "%s: %s\n", queue.c_str(), CupsLastError());
    return 1;
}
