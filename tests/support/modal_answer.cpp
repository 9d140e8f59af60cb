#include "support/modal_answer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLineEdit>

namespace {

constexpr int kRetryMs = 20;

}  // namespace

ModalAnswer::ModalAnswer(std::function<void(QWidget*)> act) : act_(std::move(act))
{
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
}

ModalAnswer::~ModalAnswer() = default;

void ModalAnswer::Tick()
{
    if (tries_ > 0 && (!window_ || !window_->isVisible())) {
        done_ = true;
        timer_.stop();
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (tries_ > 0 && modal != window_.data())
        return;  // a window over the one answered (a message it raised) waits for its own answer
    window_ = modal;
    ++tries_;
    timer_.setInterval(kRetryMs);
    act_(modal);
}

void AnswerFileDialog(QFileDialog* dialog, const QString& path)
{
    if (!dialog || !dialog->isVisible())
        return;
    for (QAbstractItemView* view : dialog->findChildren<QAbstractItemView*>())
        if (view->selectionModel())
            view->selectionModel()->clear();
    if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        edit->setText(path);
    else
        dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
}
