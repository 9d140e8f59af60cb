#include "support/alert_capture.h"

AlertCapture::AlertCapture() : previous_(SetAlertSink(this)) {}

AlertCapture::~AlertCapture() { SetAlertSink(previous_); }

int32_t AlertCapture::MessageBox(const std::string& text, const std::string& caption, uint32_t style)
{
    boxes_.push_back({text, caption, style});
    return answer_;
}

void AlertCapture::Beep(uint32_t kind) { beeps_.push_back(kind); }
