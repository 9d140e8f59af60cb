// Jobs handed to the system's print service (CUPS). A job for a printer is
// first made whole as a PDF file of its own; only a finished job reaches
// the printer's queue, so one the user stopped, or one that failed, never
// prints a page.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct PrintQueueJob {
    std::string printer;  // the print service's name for the queue
    std::string file;     // the finished PDF file
    std::string title;    // what the queue shows for the job
    std::vector<std::pair<std::string, std::string>> options;
};

// Hands the job to the print service: 0 when the queue took it, else 1
// (the service's own words go to standard error).
int32_t SubmitPrintQueueJob(const PrintQueueJob& job);

// What takes the jobs instead of the print service (tests); empty restores
// the service. Returns the one it replaces.
using PrintQueueSubmitter = std::function<int32_t(const PrintQueueJob& job)>;
PrintQueueSubmitter SetPrintQueueSubmitter(PrintQueueSubmitter submitter);
