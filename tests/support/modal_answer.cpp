#include "support/modal_answer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <set>

namespace {

constexpr int kRetryMs = 10;

// The answers that own themselves and are still there.
std::set<ModalAnswer*>& OwnAnswers()
{
    static std::set<ModalAnswer*> answers;
    return answers;
}

std::string RunningTest()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test ? std::string(test->test_suite_name()) + "." + test->name() : std::string();
}

}  // namespace

ModalAnswer::ModalAnswer(std::function<void(QWidget*)> act) : act_(std::move(act)), test_(RunningTest())
{
    // At once when the event loop runs (the window's own, as it opens),
    // then every few milliseconds.
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
}

ModalAnswer::~ModalAnswer() { OwnAnswers().erase(this); }

void ModalAnswer::Tick()
{
    timer_.setInterval(kRetryMs);
    if ((tries_ > 0 && (!window_ || !window_->isVisible())) || (ownsItself_ && RunningTest() != test_)) {
        done_ = true;
        timer_.stop();
        if (ownsItself_)
            QTimer::singleShot(0, [this] {
                if (OwnAnswers().count(this))
                    delete this;
            });
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (tries_ > 0 && modal != window_.data())
        return;  // a window over the one answered (a message it raised) waits for its own answer
    window_ = modal;
    ++tries_;
    act_(modal);
}

void AnswerNextModal(std::function<void(QWidget*)> act)
{
    auto* answer = new ModalAnswer(std::move(act));
    answer->ownsItself_ = true;
    OwnAnswers().insert(answer);
}

void EndModalAnswers()
{
    while (!OwnAnswers().empty())
        delete *OwnAnswers().begin();
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
