#include "platform/qt_alert_sink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include "foundation/cp1252.h"

namespace {

bool HasCancel(uint32_t style) { return (style & 0x0F) == kMbOkCancel; }

QMessageBox::Icon IconOf(uint32_t style)
{
    switch (style & 0xF0) {
    case kMbIconStop: return QMessageBox::Critical;
    case kMbIconQuestion: return QMessageBox::Question;
    case kMbIconExclamation: return QMessageBox::Warning;
    case kMbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

}  // namespace

std::unique_ptr<QMessageBox> QtAlertSink::MakeBox(const std::string& text, const std::string& caption,
                                                  uint32_t style, QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(IconOf(style));
    box->setWindowTitle(Cp1252ToQString(caption));
    box->setTextFormat(Qt::PlainText);
    box->setText(Cp1252ToQString(text));
    if ((style & 0x0F) == kMbYesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
    } else if (HasCancel(style)) {
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Cancel);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
    }
    return box;
}

int32_t QtAlertSink::Answer(const QMessageBox& box, uint32_t style)
{
    if ((style & 0x0F) == kMbYesNo)
        return box.clickedButton() && box.clickedButton() == box.button(QMessageBox::Yes) ? kIdYes : kIdNo;
    if (!HasCancel(style))
        return kIdOk;
    return box.clickedButton() && box.clickedButton() == box.button(QMessageBox::Ok) ? kIdOk : kIdCancel;
}

int32_t QtAlertSink::MessageBox(const std::string& text, const std::string& caption, uint32_t style)
{
    QWidget* parent = owner_ ? owner_.data() : QApplication::activeWindow();
    std::unique_ptr<QMessageBox> box = MakeBox(text, caption, style, parent);
    QPointer<QMessageBox> alive(box.get());
    box->exec();
    if (!alive) {
        // The owner went away while the box was up and took the box with it.
        (void)box.release();
        return kIdCancel;
    }
    return Answer(*box, style);
}

void QtAlertSink::Beep(uint32_t) { QApplication::beep(); }
