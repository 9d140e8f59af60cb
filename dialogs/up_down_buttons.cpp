#include "dialogs/up_down_buttons.h"

#include <algorithm>

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/filtered_edit.h"

UpDownButtons::UpDownButtons(QLineEdit* buddy, QWidget* parent) : QWidget(parent), buddy_(buddy)
{
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    up_->setObjectName(QStringLiteral("up"));
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    down_->setObjectName(QStringLiteral("down"));
    for (QToolButton* b : {up_, down_}) {
        b->setFixedSize(16, 11);
        b->setFocusPolicy(Qt::NoFocus);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, [this] { Press(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Press(-1); });
}

void UpDownButtons::SetRange(int32_t minimum, int32_t maximum)
{
    minimum_ = std::min(minimum, maximum);
    maximum_ = std::max(minimum, maximum);
}

void UpDownButtons::Press(int32_t direction)
{
    const int64_t now = LeadingInteger(buddy_->text());
    const int64_t next = std::clamp<int64_t>(now + int64_t(direction) * increment_, minimum_, maximum_);
    buddy_->setText(QString::number(next));
    buddy_->setModified(true);
}
