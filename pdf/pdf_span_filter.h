// What Qt's PDF engine writes, on its way to another device, with each
// page's content compressed anew and its aslant runs of text spanned
// (pdf_content_spans.h) and its runs of glyphs written as strings
// (pdf_content_trim.h). The engine writes a page's objects (the page, its
// resources, its compressed content and that content's length) when the
// next page begins or the document ends; the painter holds what it writes
// around those calls, naming the texts of the page's aslant runs and the
// widths of the glyphs of all its runs, in the order it drew them. The
// content is made anew, its length written into its dictionary (the object
// the engine wrote it in left out). A page's objects beside its content are
// shortened (pdf_page_objects.h), and its dictionary and the resources it
// keeps go, with the tree of pages at the end, into compressed object
// streams (pdf_object_stream.h), each written as soon as it is full and
// named by a number an object left out freed. The engine's table at the end
// is written anew as a compressed stream (pdf_xref_stream.h) that follows
// every object that moved, what was left out its free entries; the file
// says version 1.5, which reads both kinds of stream.
// The fonts, written with the document's end, have their space glyphs read
// as spaces (pdf_space_glyphs.h). All else passes as it comes.
//
// Making a page's content anew (inflating, trimming, spanning, drawing
// from local origins, compressing) costs about as much as the rest of
// painting it, and the two together about what drawing it costs the
// thread recording the job. Where only two processors are free for the
// job the painter makes each page itself as it releases it: a thread more
// would only take turns with those two and wake them for every page.
// Given makers (pdf_page_makers.h), the content of each page released is
// made on one of them while the painter paints the next; everything else
// (what the engine wrote between pages, the edits of the page's objects,
// the offsets, the object streams, the table) is passed on by the painter
// in the engine's order as each page is made, so the file is byte for byte
// the one the painter alone writes. The painter can have the content
// stored rather than compressed (thread_deflate_level.h).
#pragma once

#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QIODevice>

#include "pdf/pdf_object_stream.h"
#include "pdf/pdf_page_makers.h"
#include "pdf/pdf_page_objects.h"
#include "platform/glyph_run_widths.h"

class PdfSpanFilter final : public QIODevice {
public:
    // libdeflate's level for each page's content, and for the pictures and
    // fonts the painter beside it compresses (pdf_page_farm.cpp), so that
    // one compressor of the thread's (650 KB) does both. Drawn from its
    // parts' own origins, a sheet's labels repeat one another in long runs
    // any level finds; what is left is mostly each label's own text, which
    // level 6 makes a twentieth smaller than level 4 on a page of small
    // labels (a shipping label's a fiftieth) for a few percent more of a
    // job's time; pictures come out about as small as at level 8.
    static constexpr int kDeflateLevel = 6;

    // With `makers` threads of its own (PdfPageMakers::ForProcessors) each
    // page's content is made on one of them, a few pages at most in hand
    // (the painter waits beyond).
    explicit PdfSpanFilter(QIODevice* to, int makers = 0);
    // Waits for the pages still being made.
    ~PdfSpanFilter() override;

    // What the engine writes from now on is held: the objects of the page
    // whose aslant runs say `texts` (none for a page without) and whose
    // runs of glyphs have `widths` (none for runs placed as drawn).
    void holdPage(std::vector<std::string> texts, GlyphRunWidths widths = {});
    // Passes on what was held, that page spanned.
    void releasePage();
    // Passes on the pages still being made; false when anything written
    // did not reach the device behind.
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
        size_t dataAt = 0, used = 0;
        // Where the content names its length's object, and that object.
        qint64 lengthId = -1;
        size_t lengthRefAt = 0, lengthRefEnd = 0, lengthObjectAt = 0, lengthObjectEnd = 0;
        QByteArray packed;
    };
    // The content of the page among `held`; not made where memory ran out.
    static Content makeContent(const QByteArray& held, const std::vector<std::string>& texts,
                               const GlyphRunWidths& widths);
    static Content makeContentOrThrow(const QByteArray& held, const std::vector<std::string>& texts,
                                      const GlyphRunWidths& widths);
    // Where a byte the engine wrote at `at` lands in the output.
    qint64 moved(qint64 at) const;
    void replaceContent(const Content& content, std::vector<Edit>* edits);
    void shortenPageObjects(const QByteArray& held, std::vector<Edit>* edits);
    // Sorts the edits of what was held at `heldAt` and notes where the
    // bytes after each land.
    void followEdits(const QByteArray& held, std::vector<Edit>* edits, qint64 heldAt);
    // The engine's table at the document's end, and its trailer's entries.
    struct Table {
        bool marked = false;  // the document's end, whether its table reads or not
        size_t at = 0, first = 0;
        qint64 count = 0;
        std::string_view trailer;
    };
    bool findTable(const QByteArray& held, qint64 heldAt, Table* table) const;
    // The tree of pages before the table goes into the last object stream.
    void packPageTree(const QByteArray& held, size_t before, std::vector<Edit>* edits);
    // The objects waiting, as the stream object `id`; `room` bytes from
    // `scratch` on, passed on already, may be written over.
    bool writeObjectStream(long long id, char* scratch, size_t room);
    // The last object stream and the table as a stream, in place of the
    // engine's table and trailer.
    bool writeEnd(QByteArray& held, const Table& table);
    // A page's objects, with its content `made` anew, or bytes as they came.
    bool passPage(QByteArray& held, qint64 heldAt, const Content& made);
    bool pass(const char* data, qint64 n);
    // Room for the engine's whole table when `data` begins it.
    void reserveForTable(const char* data, qint64 n);

    QIODevice* to_;
    bool holding_ = false;
    std::vector<std::string> texts_;
    GlyphRunWidths widths_;
    QByteArray held_;
    qint64 written_ = 0;  // the bytes the engine wrote so far
    bool failed_ = false;
    // From the engine's offset on, how much further its bytes land.
    std::vector<std::pair<qint64, qint64>> shifts_;
    PdfPageObjects objects_;
    qint64 passed_ = 0;  // the bytes passed on so far
    // The small objects waiting for their stream, and those written: each
    // one's stream and place in it; and where each stream was written.
    PdfObjectStream pending_;
    struct PackedEntry {
        uint32_t id, stream, place;
    };
    std::vector<PackedEntry> packed_;
    std::vector<std::pair<long long, qint64>> streams_;

    // A page released while makers make its content, and what the engine
    // wrote after it until the next was held (the pictures drawn on that
    // one), to be passed on after it.
    struct Making {
        QByteArray held;
        qint64 heldAt = 0;
        std::vector<std::string> texts;
        GlyphRunWidths widths;
        Content made;
        std::future<void> done;
        QByteArray after;
    };
    // Hands the page over to the makers; false where memory ran out.
    bool make(QByteArray& held, qint64 heldAt);
    // Passes on the pages made, in the engine's order, up to the first
    // still being made; with `wait`, up to `most` pages left.
    void passMade(bool wait, size_t most);
    // Oldest first; only the painter's thread touches the queue, each
    // maker the page it was given. The painter frees each page, all of it
    // its own but the content made anew (one block a page); the blocks a
    // maker takes while making a page it frees itself.
    std::deque<std::unique_ptr<Making>> making_;
    size_t mostMaking_ = 0;
    // Last: ends (and waits for its threads) before the pages they make.
    std::unique_ptr<PdfPageMakers> makers_;
};
