#include "pdf/pdf_object_stream.h"

#include <algorithm>

namespace {

// The room kept at the front of the objects' text for the stream's head:
// each object's number and place, a few digits each.
constexpr qsizetype kHeadRoom = qsizetype(PdfObjectStream::kMostObjects) * 20;

}  // namespace

void PdfObjectStream::add(long long id, std::string_view body)
{
    if (bodies_.isEmpty())
        bodies_ = QByteArray(kHeadRoom, ' ');
    ids_.push_back(id);
    places_.push_back(size_t(bodies_.size() - kHeadRoom));
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
    // The head goes in the room before the objects rather than the whole
    // copied after it.
    if (head.size() <= kHeadRoom) {
        std::copy(head.cbegin(), head.cend(), bodies_.begin() + (kHeadRoom - head.size()));
        bodies_.remove(0, kHeadRoom - head.size());
        *data = std::move(bodies_);
    } else {
        *data = head + bodies_.mid(kHeadRoom);
    }
    *ids = std::move(ids_);
    ids_.clear();
    places_.clear();
    bodies_ = QByteArray();
    return dictionary;
}
