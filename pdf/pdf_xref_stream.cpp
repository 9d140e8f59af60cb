#include "pdf/pdf_xref_stream.h"

PdfXrefStream::PdfXrefStream(long long most)
{
    while (second_ < 8 && (most >> (8 * second_)) > 0)
        ++second_;
}

void PdfXrefStream::row(int kind, long long second, int third)
{
    rows_.append(char(kind));
    for (int i = second_ - 1; i >= 0; --i)
        rows_.append(char((second >> (8 * i)) & 0xff));
    rows_.append(char((third >> 8) & 0xff));
    rows_.append(char(third & 0xff));
}

void PdfXrefStream::free(long long next, int generation) { row(0, next, generation); }

void PdfXrefStream::at(long long offset) { row(1, offset, 0); }

void PdfXrefStream::in(long long stream, int place) { row(2, stream, place); }

QByteArray PdfXrefStream::widths() const { return "/W [1 " + QByteArray::number(second_) + " 2]"; }
