// The file choosers of the wizard set-up pages. Each stands on its own so
// that a test or a tool can answer in place of the user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct OpenPictureSettings;
class QWidget;

// Asks for template files (".tp"). folder is where the dialog starts (empty
// for the dialog's choice); multiple allows several files. True with the
// chosen paths (host paths) on OK.
bool ChooseTemplateFiles(QWidget* parent, const char* title, const std::string& folder, bool multiple,
                         std::vector<std::string>* paths);
// Asks for one picture file through the picture open dialog, on the
// caller's settings block. True with the chosen path on OK.
bool ChooseSetupPicture(QWidget* parent, OpenPictureSettings* settings, std::string* path);

// What answers in place of the dialogs; null restores them. The template
// chooser's hook sees the title it was asked with.
using TemplateChooserHook = bool (*)(const char* title, bool multiple, std::vector<std::string>* paths);
using PictureChooserHook = bool (*)(std::string* path);
TemplateChooserHook SetTemplateChooserHook(TemplateChooserHook hook);
PictureChooserHook SetPictureChooserHook(PictureChooserHook hook);
