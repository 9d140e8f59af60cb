#include "foundation/alert_sink.h"

#include <cstdio>

const char* const kAppMessageCaption = "Tessaline";

namespace {

class StderrAlertSink final : public AlertSink {
public:
    int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t style) override
    {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        switch (style & 0x0F) {
        case kMbOkCancel: return kIdCancel;
        case kMbYesNo: return kIdNo;
        default: return kIdOk;
        }
    }
    void Beep(uint32_t) override {}
};

StderrAlertSink g_stderrSink;
AlertSink* g_sink = nullptr;

}  // namespace

AlertSink* SetAlertSink(AlertSink* sink)
{
    AlertSink* previous = CurrentAlertSink();
    g_sink = sink;
    return previous;
}

AlertSink* CurrentAlertSink() { return g_sink ? g_sink : &g_stderrSink; }

int32_t ShowMessageBox(const std::string& text, uint32_t style)
{
    return CurrentAlertSink()->MessageBox(text, kAppMessageCaption, style);
}

int32_t ShowMessageBox(const std::string& text, const std::string& caption, uint32_t style)
{
    return CurrentAlertSink()->MessageBox(text, caption, style);
}

void MessageBeep(uint32_t kind) { CurrentAlertSink()->Beep(kind); }
