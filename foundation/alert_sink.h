// Where alerts, message boxes and beeps reach the user.
//
// The engines never talk to a window directly: they show their boxes through
// the current AlertSink. The application installs one that shows QMessageBox;
// tests and tessaline-tool install their own. Without any, boxes are written
// to stderr and answered OK (question boxes: Cancel or No, so nothing
// happens unattended that nobody asked for).
#pragma once

#include <cstdint>
#include <string>

// Message box styles and results, with the values the callers use.
enum : uint32_t {
    kMbOk = 0x00,
    kMbOkCancel = 0x01,
    kMbYesNo = 0x04,
    kMbIconStop = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,
    kMbIconInformation = 0x40,
};
enum : int32_t {
    kIdOk = 1,
    kIdCancel = 2,
    kIdYes = 6,
    kIdNo = 7,
};

// Beep kinds: 0 default, 0x10 hand, 0x20 question, 0x30 exclamation,
// 0x40 asterisk, 0xFFFFFFFF simple beep.
class AlertSink {
public:
    virtual ~AlertSink() = default;
    // text and caption are Windows-1252 bytes; returns kIdOk or kIdCancel,
    // or for a Yes/No box kIdYes or kIdNo.
    virtual int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t style) = 0;
    virtual void Beep(uint32_t kind) = 0;
};

// Installs a sink (null restores the default) and returns the previous one.
AlertSink* SetAlertSink(AlertSink* sink);
AlertSink* CurrentAlertSink();

// The caption of the program's own boxes.
extern const char* const kAppMessageCaption;

int32_t ShowMessageBox(const std::string& text, uint32_t style);
int32_t ShowMessageBox(const std::string& text, const std::string& caption, uint32_t style);
void MessageBeep(uint32_t kind);
