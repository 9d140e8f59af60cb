#include "app/shell_prompts.h"

#include <QApplication>
#include <QMessageBox>

#include "foundation/cp1252.h"
#include "foundation/string_table.h"
#include "records/command_ids.h"

namespace {

class BoxPrompts : public ShellPrompts {
public:
    Answer AskSaveChanges(const std::string& title) override
    {
        // Without a screen to ask on, nothing may be thrown away unasked.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return kCancel;
        const char* caption = LookupString(kStringAppTitle);
        QMessageBox box(QMessageBox::Warning, Cp1252ToQString(caption ? caption : ""),
                        Cp1252ToQString(SaveChangesText(title)),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return kYes;
        case QMessageBox::No:
            return kNo;
        default:
            return kCancel;
        }
    }
};

BoxPrompts g_boxPrompts;
ShellPrompts* g_prompts = nullptr;

}  // namespace

ShellPrompts* SetShellPrompts(ShellPrompts* prompts)
{
    ShellPrompts* previous = g_prompts;
    g_prompts = prompts;
    return previous;
}

ShellPrompts& CurrentShellPrompts()
{
    return g_prompts ? *g_prompts : g_boxPrompts;
}

std::string SaveChangesText(const std::string& title)
{
    return "Save changes to " + title + "?";
}
