// The file a vector device's pages become when a print job is made whole
// before it goes out: the device records each page's operations
// (page_ops.h) and hands the finished page over. What writes the file
// lives above this layer (the PDF output's page farm, pdf/pdf_page_farm.h),
// so the device is given a maker of it (Dc::ForPrintJob).
#pragma once

#include <cstdint>
#include <memory>

#include <QPageLayout>
#include <QString>

#include "platform/page_ops.h"

struct PageFileSettings {
    QString path;  // the file written by finish()
    QPageLayout layout;
    int resolution = 600;
    QString title;
    QString creator;
    // Worker threads; 0 for one, which writes the file as it goes.
    int workers = 0;
    // The pages a worker paints into one part before it begins the next;
    // 0 for the usual number (one worker then makes no parts).
    int pagesPerPart = 0;
    // Threads beside each worker that make its pages' content anew; -1 for
    // the usual number: one where the processors this process may run on
    // leave one beside the workers and the thread drawing the job.
    int contentMakers = -1;
};

class PageFile {
public:
    virtual ~PageFile() = default;
    // Whether the file can be written (a new file is made beside it now;
    // the one named is replaced only by a successful finish()).
    virtual bool begin() = 0;
    // The job's next page, taken over. Waits while the writing is behind;
    // false once a page could not be painted.
    virtual bool addPage(PageOps page) = 0;
    // Waits for every page and writes the file; false when any page or the
    // file failed (a file already under the name then stays as it was).
    virtual bool finish() = 0;
    // The file layer's code of the write that failed; 0 when none did.
    virtual int32_t fileError() const = 0;
};

// Makes the file of a job's settings; nothing is written before begin().
using PageFileMaker = std::unique_ptr<PageFile> (*)(const PageFileSettings& settings);
