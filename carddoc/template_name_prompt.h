// "Template Name": the name a template gets in the wizard's stock.
#pragma once

#include <string>

class QWidget;

// Offers *name for editing; false when the user cancelled (*name is then
// as it was).
bool AskTemplateName(QWidget* parent, std::string* name);

// How the name is asked; tests answer it themselves. Null restores the
// dialog. Returns the previous one.
using TemplateNameAsker = bool (*)(QWidget* parent, std::string* name);
TemplateNameAsker SetTemplateNameAsker(TemplateNameAsker asker);
