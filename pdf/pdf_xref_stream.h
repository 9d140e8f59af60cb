// The file's table of objects written as a stream of rows, one an object in
// the order of their numbers: each a kind (free, at an offset, or in an
// object stream) and two numbers, each as few bytes as the largest takes.
// Compressed, an entry costs a byte or less where a line of the table
// costs twenty, free entries (the objects a sheet's pages leave out) among
// them.
#pragma once

#include <QByteArray>

class PdfXrefStream {
public:
    // Rows whose second number is below `most` (offsets, numbers of
    // objects), their third at most 65535, written from `to` on: a row takes
    // at most 11 bytes, so that the rows fit where the lines of a table of
    // the same objects were, each row written over lines already read.
    PdfXrefStream(long long most, char* to);

    // An object free, naming the next free one.
    void free(long long next, int generation);
    void at(long long offset);
    void in(long long stream, int place);
    // "/W [...]": the widths of the rows' fields.
    QByteArray widths() const;
    // The bytes of the rows written so far.
    size_t size() const { return size_; }

private:
    void row(int kind, long long second, int third);

    int second_ = 1;
    char* to_;
    size_t size_ = 0;
};
