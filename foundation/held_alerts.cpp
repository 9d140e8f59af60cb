#include "foundation/held_alerts.h"

HeldAlerts::HeldAlerts() : previous_(SetAlertSink(this)) {}

HeldAlerts::~HeldAlerts() { SetAlertSink(previous_); }

int32_t HeldAlerts::MessageBox(const std::string& text, const std::string& caption, uint32_t style)
{
    held_.push_back({text, caption, style});
    switch (style & 0x0F) {
    case kMbOkCancel: return kIdCancel;
    case kMbYesNo: return kIdNo;
    default: return kIdOk;
    }
}

// A beep opens no loop: it is heard at once.
void HeldAlerts::Beep(uint32_t kind) { previous_->Beep(kind); }

void ShowHeld(const std::vector<HeldAlerts::Box>& boxes)
{
    for (const HeldAlerts::Box& box : boxes)
        ShowMessageBox(box.text, box.caption, box.style & ~uint32_t(0x0F));
}
