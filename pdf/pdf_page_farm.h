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
// page) costs up to about what the drawing itself does, so one painter
// keeps up, and a job goes about as fast as its drawing alone, the more so
// where a processor beyond those two makes the painter's pages' content
// beside it (pdf_span_filter.h). That painter (the usual case) writes the
// file as its pages come, into a temporary file beside it that takes the
// file's place when the job ends well: a job of any length holds a few
// pages of drawing in memory, not all of them, and the file carries each
// font's glyphs once. Several painters make parts in memory, each carrying
// the glyphs its pages use, joined at the end.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/page_file.h"

struct PdfPageFarmState;

class PdfPageFarm final : public PageFile {
public:
    using Settings = PageFileSettings;

    explicit PdfPageFarm(Settings settings);
    // Without a successful finish() nothing is written.
    ~PdfPageFarm() override;
    PdfPageFarm(const PdfPageFarm&) = delete;
    PdfPageFarm& operator=(const PdfPageFarm&) = delete;

    // The workers wait for pages.
    bool begin() override;
    // Waits while the workers are behind.
    bool addPage(PageOps page) override;
    bool finish() override;
    int pagesAdded() const;
    int32_t fileError() const override;

    // The farm as the maker of a print job's file (Dc::ForPrintJob).
    static std::unique_ptr<PageFile> Make(const PageFileSettings& settings);

private:
    Settings settings_;
    std::unique_ptr<PdfPageFarmState> state_;
    int32_t error_ = 0;
};
