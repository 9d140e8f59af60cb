#include "carddoc/template_name_prompt.h"

#include <QInputDialog>

#include "foundation/cp1252.h"

namespace {

bool AskInDialog(QWidget* parent, std::string* name)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, "Template Name", "Name:", QLineEdit::Normal,
                                               Cp1252ToQString(*name), &ok);
    if (!ok)
        return false;
    *name = QStringToCp1252(text);
    return true;
}

TemplateNameAsker g_asker = &AskInDialog;

}  // namespace

bool AskTemplateName(QWidget* parent, std::string* name) { return g_asker(parent, name); }

TemplateNameAsker SetTemplateNameAsker(TemplateNameAsker asker)
{
    TemplateNameAsker previous = g_asker;
    g_asker = asker ? asker : &AskInDialog;
    return previous;
}
