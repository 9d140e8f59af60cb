#include "dialogs/spin_steps.h"

#include <QToolButton>
#include <QVBoxLayout>

SpinSteps::SpinSteps(QWidget* parent) : QWidget(parent)
{
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setObjectName(QStringLiteral("up"));
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setObjectName(QStringLiteral("down"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { Press(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Press(-1); });
}

void SpinSteps::Press(int32_t delta)
{
    if (isEnabled() && handler_)
        handler_(delta);
}
