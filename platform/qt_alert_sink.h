// The alert sink of the application: message boxes on the screen.
#pragma once

#include <QPointer>
#include <memory>

#include "foundation/alert_sink.h"

class QMessageBox;
class QWidget;

class QtAlertSink final : public AlertSink {
public:
    // Boxes are centred over the owner (the main window) when there is one,
    // else over the active window.
    void SetOwner(QWidget* owner) { owner_ = owner; }

    int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t style) override;
    void Beep(uint32_t kind) override;

    // The box for a style, not yet shown: the icon of the style's icon bits
    // (stop, question, exclamation, information), OK, OK and Cancel, or Yes
    // and No; plain
    // text, since the texts are never markup.
    static std::unique_ptr<QMessageBox> MakeBox(const std::string& text, const std::string& caption,
                                                uint32_t style, QWidget* parent);
    // The answer of a finished box: kIdOk, or kIdCancel when an OK/Cancel box
    // was cancelled or closed; kIdYes, or kIdNo when a Yes/No box was
    // answered No or closed.
    static int32_t Answer(const QMessageBox& box, uint32_t style);

private:
    QPointer<QWidget> owner_;
};
