#include "carddoc/typed_left_out_note.h"

#include <QTimer>

#include "foundation/alerts.h"
#include "foundation/cp1252.h"

namespace {

// A pause this long ends a burst of typing.
constexpr int kQuietMilliseconds = 700;

}  // namespace

TypedLeftOutNote::TypedLeftOutNote(QObject* parent) : QObject(parent), quiet_(new QTimer(this))
{
    quiet_->setSingleShot(true);
    quiet_->setInterval(kQuietMilliseconds);
    connect(quiet_, &QTimer::timeout, this, [this] { Say(); });
}

void TypedLeftOutNote::KeyPressed(int32_t leftOut)
{
    count_ += leftOut;
    if (count_ > 0)
        quiet_->start();
}

void TypedLeftOutNote::Say()
{
    const int32_t count = count_;
    count_ = 0;
    if (count > 0)
        AlertNote(CharactersLeftOutText(count, true, "the card's").c_str(), 0);
}
