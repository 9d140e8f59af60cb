// What Qt's PDF engine writes, on its way to another device, with each
// page's aslant runs of text spanned (pdf_content_spans.h). The engine
// writes a page's objects (the page, its resources, its compressed content
// and that content's length) when the next page begins or the document
// ends; the painter holds what it writes around those calls, naming the
// texts of the page's aslant runs in the order it drew them. The content
// is made anew, its length after it, and the cross-reference table at the
// end follows every object that moved. All else passes as it comes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QIODevice>

class PdfSpanFilter final : public QIODevice {
public:
    explicit PdfSpanFilter(QIODevice* to);

    // What the engine writes from now on is held: the objects of the page
    // whose aslant runs say `texts` (none for a page without).
    void holdPage(std::vector<std::string> texts);
    // Passes on what was held, that page spanned; false when the device
    // behind did not take it.
    bool releasePage();

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 n) override;

private:
    struct Edit {
        qsizetype from, to;
        QByteArray with;
    };
    // Where a byte the engine wrote at `at` lands in the output.
    qint64 moved(qint64 at) const;
    void spanContent(const QByteArray& held, qint64 heldAt, std::vector<Edit>* edits);
    void followXref(const QByteArray& held, qint64 heldAt, std::vector<Edit>* edits) const;
    bool pass(const char* data, qint64 n);

    QIODevice* to_;
    bool holding_ = false;
    std::vector<std::string> texts_;
    QByteArray held_;
    qint64 written_ = 0;  // the bytes the engine wrote so far
    // From the engine's offset on, its bytes land this much further.
    std::vector<std::pair<qint64, qint64>> shifts_;
};
