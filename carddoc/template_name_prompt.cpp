#include "carddoc/template_name_prompt.h"

#include <utility>

#include "dialogs/dlg_template_name.h"

namespace {

bool AskInDialog(QWidget* parent, std::string* name)
{
    CDlgTemplateName dialog(parent);
    dialog.SetName(name->c_str());
    if (dialog.DoModal() != 1)
        return false;
    char typed[256] = {};
    dialog.GetName(typed, int32_t(sizeof typed));
    *name = typed;
    return true;
}

TemplateNameAsker g_asker = &AskInDialog;

}  // namespace

bool AskTemplateName(QWidget* parent, std::string* name) { return g_asker(parent, name); }

TemplateNameAsker SetTemplateNameAsker(TemplateNameAsker asker)
{
    return std::exchange(g_asker, asker ? asker : &AskInDialog);
}
