#include "database/database_messages.h"

#include <string>

#include "foundation/alert_sink.h"
#include "foundation/alerts.h"
#include "foundation/string_table.h"

namespace {

std::string Caption()
{
    const char* caption = LookupString(kDatabaseMessageBase);
    return caption ? caption : kAppMessageCaption;
}

}  // namespace

void DatabaseErrorBox(const char* extra, int32_t code)
{
    std::string text = extra ? extra : "";
    if (code != 0) {
        char message[256];
        LoadStringByIndex(kDatabaseMessageBase, code, message);
        text += message;
    }
    MessageBeep(kMbIconInformation);
    ShowMessageBox(text, Caption(), kMbIconStop);
}

void DatabaseNote(int32_t code)
{
    AlertNoteById(kDatabaseMessageBase, code, 0);
}

bool DatabaseConfirm(int32_t code, const char* extra)
{
    if (!extra || !*extra)
        return AlertConfirmById(kDatabaseMessageBase, code, 0) == 1;
    char message[256];
    LoadStringByIndex(kDatabaseMessageBase, code, message);
    return ShowMessageBox(std::string(extra) + message, Caption(), kMbOkCancel | kMbIconQuestion) == kIdOk;
}

std::string AboutFile(const std::string& fileName) { return fileName.empty() ? std::string() : fileName + ": "; }
