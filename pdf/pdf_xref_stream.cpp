#include "pdf/pdf_xref_stream.h"

PdfXrefStream::PdfXrefStream(long long most, char* to) : to_(to)
{
    while (second_ < 8 && (most >> (8 * second_)) > 0)
        ++second_;
}

void PdfXrefStream::row(int kind, long long second, int third)
{
    char* at = to_ + size_;
    *at++ = char(kind);
    for (int i = second_ - 1; i >= 0; --i)
        *at++ = char((second >> (8 * i)) & 0xff);
    *at++ = char((third >> 8) & 0xff);
    *at++ = char(third & 0xff);
    size_ = size_t(at - to_);
}

void PdfXrefStream::free(long long next, int generation) { row(0, next, generation); }

void PdfXrefStream::at(long long offset) { row(1, offset, 0); }

void PdfXrefStream::in(long long stream, int place) { row(2, stream, place); }

QByteArray PdfXrefStream::widths() const { return "/W [1 " + QByteArray::number(second_) + " 2]"; }
