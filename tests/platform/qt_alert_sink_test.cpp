#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "support/modal_answer.h"
#include "platform/qt_alert_sink.h"

namespace {

TEST(QtAlertSink, EachStyleGetsItsIconAndButtons)
{
    struct Case {
        uint32_t style;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };
    const Case cases[] = {
        {kMbIconInformation, QMessageBox::Information, QMessageBox::Ok},
        {kMbOkCancel | kMbIconQuestion, QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel},
        {kMbYesNo | kMbIconQuestion, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No},
        {kMbIconStop, QMessageBox::Critical, QMessageBox::Ok},
        {kMbIconExclamation, QMessageBox::Warning, QMessageBox::Ok},
    };
    for (const Case& c : cases) {
        auto box = QtAlertSink::MakeBox("File is Locked. [5]", "IO FILE ERROR", c.style, nullptr);
        EXPECT_EQ(box->icon(), c.icon) << c.style;
        EXPECT_EQ(box->standardButtons(), c.buttons) << c.style;
    }
    // Texts are Windows-1252 and never markup.
    auto box = QtAlertSink::MakeBox("<b>M\xFCller</b>", "Caf\xE9", kMbIconStop, nullptr);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), QString::fromUtf8("<b>M\u00fcller</b>"));
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8("Caf\u00e9"));
}

// Shows a box through the sink; act gets it once it is up.
int32_t RunBox(uint32_t style, std::function<void(QMessageBox*)> act)
{
    AnswerNextModal([act](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        ASSERT_NE(box, nullptr);
        act(box);
    });
    QtAlertSink sink;
    return sink.MessageBox("text", "caption", style);
}

TEST(QtAlertSink, ClosingAConfirmationCountsAsCancel)
{
    const uint32_t confirm = kMbOkCancel | kMbIconQuestion;
    EXPECT_EQ(RunBox(confirm, [](QMessageBox* b) { b->button(QMessageBox::Ok)->click(); }), kIdOk);
    EXPECT_EQ(RunBox(confirm, [](QMessageBox* b) { b->button(QMessageBox::Cancel)->click(); }), kIdCancel);
    EXPECT_EQ(RunBox(confirm, [](QMessageBox* b) { b->close(); }), kIdCancel);
    EXPECT_EQ(RunBox(kMbIconStop, [](QMessageBox* b) { b->close(); }), kIdOk);
    // A Yes/No question: closing it is No.
    const uint32_t ask = kMbYesNo | kMbIconQuestion;
    EXPECT_EQ(RunBox(ask, [](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); }), kIdYes);
    EXPECT_EQ(RunBox(ask, [](QMessageBox* b) { b->button(QMessageBox::No)->click(); }), kIdNo);
    EXPECT_EQ(RunBox(ask, [](QMessageBox* b) { b->close(); }), kIdNo);
}

}  // namespace
