#include "foundation/alerts.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "foundation/alert_sink.h"
#include "foundation/string_table.h"

namespace {

AbortHandler g_abortHandler = nullptr;

uint32_t StyleOfKind(int16_t kind)
{
    switch (kind) {
    case kAlertKindNote: return kMbIconInformation;
    case kAlertKindConfirm: return kMbOkCancel | kMbIconQuestion;
    default: return kMbIconStop;
    }
}

// A box with a single OK button can only be answered OK.
int16_t Answer(int16_t kind, int32_t result)
{
    if (StyleOfKind(kind) & kMbOkCancel)
        return result == kIdOk ? 1 : 0;
    return 1;
}

int16_t Show(int16_t kind, const std::string& text)
{
    return Answer(kind, ShowMessageBox(text, StyleOfKind(kind)));
}

std::string WithCode(const char* text, int32_t code)
{
    std::string s = text ? text : "";
    if (code != 0) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "[%ld]", long(code));
        s += " ";
        s += buf;
    }
    return s;
}

}  // namespace

int16_t AlertShow(int16_t kind, const char* p1, const char* p2, const char* p3, const char* p4)
{
    std::string text;
    for (const char* part : {p1, p2, p3}) {
        text += part ? part : "";
        text += " ";
    }
    text += p4 ? p4 : "";
    return Show(kind, text);
}

int16_t AlertShowText(int16_t kind, const char* text, int32_t code) { return Show(kind, WithCode(text, code)); }

int16_t AlertShowString(int16_t kind, int32_t base, int32_t index, int32_t code)
{
    // A group's base string is the title of its messages ("FILE MNG ERROR"
    // over the text of 450 + index); groups without one use the program's.
    char buffer[256];
    LoadStringByIndex(base, index, buffer);
    const char* title = LookupString(base);
    return Answer(kind, ShowMessageBox(WithCode(buffer, code), title ? title : kAppMessageCaption,
                                       StyleOfKind(kind)));
}

int16_t AlertNote(const char* text, int32_t code) { return AlertShowText(kAlertKindNote, text, code); }
int16_t AlertConfirm(const char* text, int32_t code) { return AlertShowText(kAlertKindConfirm, text, code); }
int16_t AlertStop(const char* text, int32_t code) { return AlertShowText(kAlertKindStop, text, code); }

int16_t AlertNoteById(int32_t base, int32_t index, int32_t code)
{
    return AlertShowString(kAlertKindNote, base, index, code);
}
int16_t AlertConfirmById(int32_t base, int32_t index, int32_t code)
{
    return AlertShowString(kAlertKindConfirm, base, index, code);
}
int16_t AlertStopById(int32_t base, int32_t index, int32_t code)
{
    return AlertShowString(kAlertKindStop, base, index, code);
}

AbortHandler SetAbortHandler(AbortHandler handler) { return std::exchange(g_abortHandler, handler); }

void AlertStopAndAbort(const char* text)
{
    AlertShowText(kAlertKindStop, text, 0);
    if (g_abortHandler)
        g_abortHandler();
    std::exit(3);
}
