#include "pdf/pdf_object_stream.h"

void PdfObjectStream::add(long long id, std::string_view body)
{
    ids_.push_back(id);
    places_.push_back(size_t(bodies_.size()));
    bodies_.append(body.data(), qsizetype(body.size()));
    bodies_.append('\n');
}

QByteArray PdfObjectStream::take(QByteArray* data, std::vector<long long>* ids)
{
    QByteArray head;
    for (size_t i = 0; i < ids_.size(); ++i)
        head += QByteArray::number(ids_[i]) + ' ' + QByteArray::number(qsizetype(places_[i])) + ' ';
    head[head.size() - 1] = '\n';
    const QByteArray dictionary =
        "/Type /ObjStm\n/N " + QByteArray::number(qsizetype(ids_.size())) + "\n/First " + QByteArray::number(head.size());
    *data = head + bodies_;
    *ids = std::move(ids_);
    ids_.clear();
    places_.clear();
    bodies_.clear();
    return dictionary;
}
