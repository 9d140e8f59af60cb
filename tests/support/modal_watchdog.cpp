#include "support/modal_watchdog.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

std::string RunningTest()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test ? std::string(test->test_suite_name()) + "." + test->name() : std::string("(between tests)");
}

}  // namespace

double ModalWatchdog::Limit()
{
    if (const char* text = std::getenv("TESSALINE_MODAL_TIMEOUT"); text && *text) {
        const double seconds = std::atof(text);
        if (seconds > 0)
            return seconds;
    }
    return 30;
}

ModalWatchdog::ModalWatchdog() : limitMs_(qint64(Limit() * 1000))
{
    timer_.setInterval(std::min<qint64>(250, std::max<qint64>(limitMs_ / 4, 10)));
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
}

void ModalWatchdog::Tick()
{
    QWidget* open = QApplication::activePopupWidget();
    if (!open)
        open = QApplication::activeModalWidget();
    if (open != window_.data() || !open) {
        window_ = open;
        closing_ = false;
        since_.start();
        return;
    }
    if (since_.elapsed() < limitMs_)
        return;
    if (!closing_) {
        ADD_FAILURE() << "The modal window \"" << open->windowTitle().toStdString() << "\" ("
                      << open->metaObject()->className() << ") stayed open for more than " << limitMs_ / 1000.0
                      << " s in " << RunningTest() << "; nobody answered it, and the watchdog closed it";
        closing_ = true;
        since_.start();
        if (auto* dialog = qobject_cast<QDialog*>(open))
            dialog->reject();
        else
            open->close();
        return;
    }
    // It refused to close (a dialog that keeps itself open on Cancel):
    // hidden, its event loop ends all the same.
    if (since_.elapsed() >= std::min<qint64>(limitMs_, 1000)) {
        open->hide();
        since_.start();
    }
}
