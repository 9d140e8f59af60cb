// Small objects gathered into one compressed stream object: the objects a
// sheet writes for each page beside its content (its dictionary, and the
// resources and page tree it names) read alike from page to page, and
// compress to a few bytes each together where each written alone would
// cost a hundred and more with its entry in the file's table.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include <QByteArray>

class PdfObjectStream {
public:
    // The objects a stream holds before it is written, while they wait in
    // memory: enough that a stream's head and the first of its objects,
    // which compress the least, cost little beside the rest.
    static constexpr size_t kMostObjects = 255;

    // The object numbered `id` saying `body` ("<< ... >>") goes in.
    void add(long long id, std::string_view body);
    size_t size() const { return ids_.size(); }
    bool empty() const { return ids_.empty(); }
    // Written when full, as a number left free names it (see PdfSpanFilter).
    bool full() const { return ids_.size() >= kMostObjects; }
    // The stream's dictionary entries and its data as it reads uncompressed
    // (each object's number and place, then the objects); the objects it
    // held, in their order, are handed out and the stream is empty again.
    QByteArray take(QByteArray* data, std::vector<long long>* ids);

private:
    std::vector<long long> ids_;
    std::vector<size_t> places_;
    QByteArray bodies_;
};
