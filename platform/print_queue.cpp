#include "platform/print_queue.h"

#include <cstdio>

#include <cups/cups.h>

namespace {

PrintQueueSubmitter& Submitter()
{
    static PrintQueueSubmitter submitter;
    return submitter;
}

}  // namespace

PrintQueueSubmitter SetPrintQueueSubmitter(PrintQueueSubmitter submitter)
{
    PrintQueueSubmitter previous = std::move(Submitter());
    Submitter() = std::move(submitter);
    return previous;
}

int32_t SubmitPrintQueueJob(const PrintQueueJob& job)
{
    if (Submitter())
        return Submitter()(job);
    cups_option_t* options = nullptr;
    int count = 0;
    for (const auto& [name, value] : job.options)
        count = cupsAddOption(name.c_str(), value.c_str(), count, &options);
    // A queue's instance ("queue/instance") prints on the queue itself.
    const std::string queue = job.printer.substr(0, job.printer.find('/'));
    const int id = cupsPrintFile(queue.c_str(), job.file.c_str(), job.title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (id > 0)
        return 0;
    std::fprintf(stderr, "%s: %s\n", queue.c_str(), cupsLastErrorString());
    return 1;
}
