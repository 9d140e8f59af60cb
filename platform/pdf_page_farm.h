// A PDF file made by several threads. The thread that draws the job records
// each page's operations (page_ops.h) and hands the finished page over;
// worker threads paint the pages into PDF documents of their own, in
// memory, each taking the next page as soon as it is free and beginning a
// new document (part) after a few hundred pages. A joining thread appends
// the pages, in the job's order, to the file's document as soon as the part
// holding the next one is finished (with qpdf, which copies the pages as
// they are); the file is written when the job ends. A job painted as one
// part is written as that part.
//
// Turning drawing into PDF (formatting every number, compressing every
// page) costs less than the drawing itself, so one painter keeps up and a
// job goes about as fast as its drawing alone. That painter (the usual
// case) writes the file as its pages come, into a temporary file beside it
// that takes the file's place when the job ends well: a job of any length
// holds a few pages of drawing in memory, not all of them, and the file
// carries each font's glyphs once. Several painters make parts in memory,
// each carrying the glyphs its pages use, joined at the end.
#pragma once

#include <memory>

#include <QPageLayout>
#include <QString>

#include "platform/page_ops.h"

struct PdfPageFarmState;

class PdfPageFarm {
public:
    struct Settings {
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
    };

    explicit PdfPageFarm(Settings settings);
    // Without a successful finish() nothing is written.
    ~PdfPageFarm();
    PdfPageFarm(const PdfPageFarm&) = delete;
    PdfPageFarm& operator=(const PdfPageFarm&) = delete;

    // Whether the file can be written (it is made, empty, now).
    bool begin();
    // The job's next page, taken over. Waits while the workers are behind;
    // false once a page could not be painted.
    bool addPage(PageOps page);
    // Waits for every page and writes the file; false when any page or the
    // file failed (what was written is then incomplete).
    bool finish();
    int pagesAdded() const;

private:
    Settings settings_;
    std::unique_ptr<PdfPageFarmState> state_;
};
